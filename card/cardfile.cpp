#include "card/cardfile.h"

#include "card/cardbytes.h"
#include "card/cardfilelimits.h"
#include "card/cardformats.h"
#include "card/fmt_ovwb.h"
#include "card/fmt_pictures.h"
#include "core/base/fileext.h"
#include "core/base/filewrite.h"
#include "weave/weavefile.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("WenBanIO", text);
}

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

bool TWenBanIO::LoadFromFile(const QString &fileName)
{
    Extension = QLatin1Char('.') + QFileInfo(fileName).suffix().toUpper();
    FileName = fileName;
    QByteArray bytes;
    QString error;
    if (!ReadWholeFile(fileName, MaxCardFileSize(Extension), bytes, &error)) {
        ErrorText = error;
        Bitmap = QImage();
        return false;
    }
    return LoadFromBytes(bytes);
}

bool TWenBanIO::LoadFromStream(QIODevice &stream)
{
    if (!stream.isSequential() && !stream.seek(0)) {
        ErrorText = Tr("The file cannot be read.");
        Bitmap = QImage();
        return false;
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
        ErrorText = Tr("The file is too large.");
        Bitmap = QImage();
        return false;
    }
    return LoadFromBytes(bytes);
}

bool TWenBanIO::LoadFromBytes(const QByteArray &bytes)
{
    const QString ext = Extension.toUpper();
    Bitmap = QImage();
    bool ok = false;
    TContent content = NoContent;
    QImage picture;
    QString error;
    const TWenBanIO before = *this; // put back when a card reads but cannot be shown
    const TCardFormat *cardFormat = FindCardReadFormat(ext);
    if (cardFormat && cardFormat->Read) {
        ok = cardFormat->Read(*this, bytes);
        content = CardContent;
    } else if (ext == QLatin1String(".OVW")) {
        TWeaveArray weave;
        ok = ReadWeaveBytes(bytes, weave, &error);
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
        ok = ReadXYPicture(bytes, picture, &error);
        content = PictureContent;
    } else if (ext == QLatin1String(".WV")) {
        ok = ReadWVPicture(bytes, picture, &error);
        content = PictureContent;
    } else if (ext == QLatin1String(".OVY")) {
        ok = ReadProjectPreview(bytes, picture, &error);
        content = PictureContent;
    } else {
        error = Tr("Files of type %1 cannot be opened as a card or picture.")
                    .arg(ext.isEmpty() ? Tr("(none)") : ext);
    }
    if (!ok) {
        if (!error.isEmpty())
            ErrorText = error;
        return false;
    }
    Content = content;
    if (content == CardContent && !RenderCard()) {
        const QString why = ErrorText;
        *this = before;
        Bitmap = QImage();
        ErrorText = why;
        return false;
    }
    if (content == CardContent)
        return true;
    Bitmap = picture;
    ErrorText.clear();
    return true;
}

bool TWenBanIO::RenderCard()
{
    const qint64 width = qint64(RowCount) * ColCount;
    const int height = std::min<int>(CardCount, Card.length());
    Bitmap = QImage();
    if (width == 0 || height == 0)
        return true;
    if (width > MaxRenderWidth || (width + 7) / 8 * height > MaxRenderBytes) {
        ErrorText = Tr("The card is too large to be shown (%1 needles by %2 cards).").arg(width).arg(height);
        return false;
    }
    QImage img = MonoPicture(int(width), height);
    if (img.isNull()) {
        ErrorText = Tr("There is not enough memory to show the card.");
        return false;
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
    ErrorText.clear();
    return true;
}
