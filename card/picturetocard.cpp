#include "card/picturetocard.h"

#include "card/cardbuild.h"
#include "card/cardformats.h"
#include "card/fmt_ovwb.h"
#include "core/base/error.h"
#include "core/settings/uitexts.h"
#include "weave/weavefile.h"

#include <QFileInfo>

namespace {

// For each palette entry: does its colour differ from the back colour? A back colour
// naming a system colour matches nothing.
bool DiffersTable(const QImage &picture, TColor backColor, bool (&differs)[256])
{
    const QList<QRgb> table = picture.colorTable();
    const int high = (backColor >> 24) & 0xFF;
    const bool comparable = high == 0 || high == 2;
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < table.size() ? table[i] : qRgb(0, 0, 0);
        const TColor colour = qRed(c) | (qGreen(c) << 8) | (qBlue(c) << 16);
        differs[i] = !comparable || colour != (backColor & 0xFFFFFF);
    }
    return true;
}

bool CheckPicture(const QImage &picture, QString *error)
{
    if (picture.isNull() || picture.format() != QImage::Format_Indexed8)
        return Fail(error, GetUiMessage(UiKey::String::PictureNot8BitForCard));
    return true;
}

} // namespace

bool PictureToCard(const QImage &picture, TColor backColor, TWenBanIO &io, QString *error)
{
    if (!CheckPicture(picture, error))
        return false;
    const int w = picture.width(), h = picture.height();
    if (h > MaxCardRows)
        return Fail(error, GetUiMessage(UiKey::String::PictureRowsOverCard).arg(h).arg(MaxCardRows));
    const int rowBytes = (w + 7) / 8;
    if (rowBytes > 65535)
        return Fail(error, GetUiMessage(UiKey::String::PictureTooWideForCard));
    bool differs[256];
    DiffersTable(picture, backColor, differs);
    TMultiByteArray card(h);
    for (int r = 0; r < h; ++r) {
        TDynamicByteArray &row = card[r];
        row.setLength(rowBytes);
        const uchar *line = picture.constScanLine(h - 1 - r);
        for (int x = 0; x < w; ++x)
            if (differs[line[x]])
                row[x / 8] |= std::uint8_t(0x80 >> (x % 8));
    }
    io.Card = card;
    io.CardCount = std::uint16_t(h);
    io.ColCount = std::uint16_t(rowBytes);
    io.RowCount = 8;
    io.YKStyle = 1;
    io.YKWidth = w;
    io.YKHeight = h;
    io.Holes = TPosArray();
    io.JacquardCount = std::uint16_t(std::min(w, 65535)); // every cell drives a needle
    return true;
}

bool PictureToWeave(const QImage &picture, TColor backColor, TWeaveArray &weave, QString *error)
{
    if (!CheckPicture(picture, error))
        return false;
    bool differs[256];
    DiffersTable(picture, backColor, differs);
    TWeaveArray out = MakeWeaveArray(picture.width(), picture.height());
    for (int y = 0; y < picture.height(); ++y) {
        const uchar *line = picture.constScanLine(y);
        for (int x = 0; x < picture.width(); ++x)
            out[x][y] = differs[line[x]] ? 1 : 0;
    }
    weave = out;
    return true;
}

bool SaveCardByExtension(
    const QImage &picture, TColor backColor, const QString &fileName, QStringList *warnings, QString *error)
{
    const QString ext = QLatin1Char('.') + QFileInfo(fileName).suffix().toUpper();
    if (ext == QLatin1String(".OVW")) {
        TWeaveArray weave;
        return PictureToWeave(picture, backColor, weave, error) && WriteWeaveFile(fileName, weave, error);
    }
    const TCardFormat *format = FindCardFormat(ext);
    if (!format || !format->Write || !(format->Flags & CardFromPattern))
        return Fail(error, GetUiMessage(UiKey::String::PictureCardTypeRefused).arg(ext));
    TWenBanIO io;
    if (!PictureToCard(picture, backColor, io, error))
        return false;
    if (format->Warning && warnings) {
        const QString warning = format->Warning(io);
        if (!warning.isEmpty())
            warnings->append(warning);
    }
    // Saving from the pattern is never the JC5 save dialog's second filter: variant B.
    return format->Write(io, fileName, 0, error);
}
