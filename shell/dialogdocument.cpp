#include "shell/dialogdocument.h"

#include "core/base/error.h"
#include "core/palette/palette.h"
#include "core/picture/picturelimits.h"
#include "core/settings/uitexts.h"

#include <algorithm>

namespace {
// The palette first, so that the display copy built with the picture shows its colours.
void takePicture(TPatternGrid &grid, const QImage &picture)
{
    TPalette256 palette {};
    GetBitmapPalette(picture, palette);
    grid.SetPalette(palette);
    // A new picture in a new document records no undo step; it marks the document modified.
    grid.SetPictureAndRefresh(picture, false);
    grid.ResetRepeatSize();
}
} // namespace

QString DialogDocumentCaption(int number)
{
    return GetUiMessage(UiKey::String::UnilitedName) + QString::number(number) + QLatin1Char('*');
}

QString SplitPartCaption(const TDocument &source, int part)
{
    return source.CaptionWithoutExtension() + QStringLiteral("_X") + QString::number(part);
}

bool CheckDialogPicture(const QImage &picture, QString *error)
{
    if (picture.isNull() || picture.width() > MaxPictureSide || picture.height() > MaxPictureSide)
        return Fail(error, GetUiMessage(UiKey::String::PictureNoSize));
    if (picture.format() != QImage::Format_Indexed8 || picture.colorCount() != 256)
        return Fail(error, GetUiMessage(UiKey::String::ResultPictureNot8Bit));
    return true;
}

bool TakeDialogPicture(TDocument &document, const QImage &picture, QString *error)
{
    if (!CheckDialogPicture(picture, error))
        return false;
    takePicture(document.Grid(), picture);
    document.InitDocument();
    return true;
}

bool TakeSplitPart(TDocument &document, const QImage &part, const TSplitPieces &pieces,
    std::int32_t sourceGap, QString *error)
{
    if (!CheckDialogPicture(part, error))
        return false;
    TPatternGrid &grid = document.Grid();
    takePicture(grid, part);
    // The layer count is the piece count, as for File > New, so that both survive a save.
    document.InitDocument(std::max(pieces.PieceCount, 1));
    grid.SetRepeatDisplayValues(
        { pieces.PieceHeight, pieces.PieceWidth, std::max(pieces.PieceCount, 1), sourceGap });
    grid.SetModified();
    return true;
}
