#include "card/cardfile.h"

#include "card/cardbytes.h"
#include "card/cardfilelimits.h"
#include "card/cardformats.h"
#include "card/fmt_ovwb.h"
#include "card/fmt_pictures.h"
#include "core/base/error.h"
#include "core/base/fileext.h"
#include "core/base/filewrite.h"
#include "core/settings/uitexts.h"
#include "weave/weavefile.h"

#include <QFileInfo>

namespace {

// Largest rendering: one pixel per needle and one line per card.
constexpr qint64 MaxRenderWidth = qint64(1) << 24;
constexpr qint64 MaxRenderBytes = MaxShownCardBytes;

QImage MonoPicture(int width, int height)
{
    QImage img(width, height, QImage::Format_Mono);
    if (!img.isNull()) {
        img.setColorTable({ qRgb(0, 0, 0), qRgb(255, 255, 255) });
        img.fill(0);
    }
    return img;
}

} // namespace

int CardExtensionIndex(const QString &ext)
{
    for (int i = 0; i < FileExtensionCount; ++i)
        if (ext.compare(QLatin1String(FileExtensions[std::size_t(i)]), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool TWenBanIO::LoadFromFile(const QString &fileName, QString *error)
{
    Extension = QLatin1Char('.') + QFileInfo(fileName).suffix().toUpper();
    FileName = fileName;
    QByteArray bytes;
    if (!ReadWholeFile(fileName, MaxCardFileSize(Extension), bytes, error)) {
        Bitmap = QImage();
        return false;
    }
    return LoadFromBytes(bytes, error);
}

bool TWenBanIO::LoadFromStream(QIODevice &stream, QString *error)
{
    if (!stream.isSequential() && !stream.seek(0)) {
        Bitmap = QImage();
        return Fail(error, GetUiMessage(UiKey::String::CardFileUnreadable));
    }
    // Read in pieces: a device's claimed size never decides what is allocated up front.
    QByteArray bytes;
    for (;;) {
        const QByteArray piece = stream.read(1 << 20);
        bytes.append(piece);
        if (piece.isEmpty() || bytes.size() > MaxPictureFileSize)
            break;
    }
    if (bytes.size() > MaxPictureFileSize) {
        Bitmap = QImage();
        return Fail(error, GetUiMessage(UiKey::String::CardFileTooLarge));
    }
    return LoadFromBytes(bytes, error);
}

bool TWenBanIO::LoadFromBytes(const QByteArray &bytes, QString *error)
{
    const QString ext = Extension.toUpper();
    Bitmap = QImage();
    bool ok = false;
    TContent content = NoContent;
    QImage picture;
    const TWenBanIO before = *this; // put back when a card reads but cannot be shown
    const TCardFormat *cardFormat = FindCardReadFormat(ext);
    if (cardFormat && cardFormat->Read) {
        ok = cardFormat->Read(*this, bytes, error);
        content = CardContent;
    } else if (ext == QLatin1String(".OVW")) {
        TWeaveArray weave;
        ok = ReadWeaveBytes(bytes, weave, error);
        if (ok) {
            // A weave shows its points black on white, warp across, weft 0 on top.
            const int w = weave.length(), h = w ? weave[0].length() : 0;
            if (w > 0 && h > 0) {
                picture = MonoPicture(w, h);
                for (int x = 0; x < w; ++x)
                    for (int y = 0; y < h; ++y)
                        picture.setPixel(x, y, weave[x][y] == 1 ? 0 : 1);
            }
            Card = weave;
            content = WeaveContent;
        }
    } else if (ext == QLatin1String(".XY")) {
        ok = ReadXYPicture(bytes, picture, error);
        content = PictureContent;
    } else if (ext == QLatin1String(".WV")) {
        ok = ReadWVPicture(bytes, picture, error);
        content = PictureContent;
    } else if (ext == QLatin1String(".OVY")) {
        ok = ReadProjectPreview(bytes, picture, error);
        content = PictureContent;
    } else {
        return Fail(error,
            GetUiMessage(UiKey::String::CardFileTypeNotOpened)
                .arg(ext.isEmpty() ? GetUiMessage(UiKey::String::NoExtension) : ext));
    }
    if (!ok)
        return false;
    Content = content;
    if (content == CardContent && !RenderCard(error)) {
        *this = before;
        Bitmap = QImage();
        return false;
    }
    if (content == CardContent)
        return true;
    Bitmap = picture;
    return true;
}

bool TWenBanIO::RenderCard(QString *error)
{
    const qint64 width = qint64(RowCount) * ColCount;
    const int height = std::min<int>(CardCount, Card.length());
    Bitmap = QImage();
    if (width == 0 || height == 0)
        return true;
    if (width > MaxRenderWidth || (width + 7) / 8 * height > MaxRenderBytes) {
        return Fail(error, GetUiMessage(UiKey::String::CardTooLargeToShow).arg(width).arg(height));
    }
    QImage img = MonoPicture(int(width), height);
    if (img.isNull()) {
        return Fail(error, GetUiMessage(UiKey::String::CardNoMemoryToShow));
    }
    // By the exact extension: the part files of a split JC5 card show like any other.
    const TCardFormat *format = Extension.isEmpty() ? nullptr : FindCardFormat(Extension);
    const unsigned flags = format ? format->Flags : 0;
    const bool firstOnTop = flags & CardFirstOnTop;
    const bool mirrored = flags & CardMirrored;
    const int lineBytes = int((width + 7) / 8);
    const int last = int((width - 1) / 8);
    for (int y = 0; y < height; ++y) {
        const TDynamicByteArray &row = Card[firstOnTop ? y : height - 1 - y];
        const int n = std::min(int(row.length()), lineBytes);
        uchar *dst = img.scanLine(y);
        for (int i = 0; i < n; ++i) {
            if (mirrored)
                dst[last - i] = CardBytes::Rev(row[i]);
            else
                dst[i] = row[i];
        }
    }
    Bitmap = img;
    return true;
}
