#include "card/fmt_pictures.h"

#include "card/cardbytes.h"
#include "card/projectfile.h"
#include "core/base/bytereader.h"
#include "core/base/error.h"
#include "core/picture/bmpfile.h"
#include "core/picture/picturelimits.h"
#include "core/picture/qtdecode.h"
#include "core/settings/uitexts.h"

#include <algorithm>

bool ReadXYPicture(const QByteArray &bytes, QImage &picture, QString *error)
{
    constexpr int PixelOffset = 800;
    if (bytes.size() < PixelOffset)
        return Fail(error, GetUiMessage(UiKey::String::LoomPictureTooShort).arg(QLatin1String("XY")));
    const auto *b = reinterpret_cast<const std::uint8_t *>(bytes.constData());
    const int width = b[0] * 256 + b[780];
    const int height = b[1] * 256 + b[781];
    if (width == 0 || height == 0)
        return Fail(error, GetUiMessage(UiKey::String::LoomPictureEmpty).arg(QLatin1String("XY")));
    if (bytes.size() - PixelOffset < qint64(width) * height)
        return Fail(error,
            GetUiMessage(UiKey::String::LoomPictureClaimsTooShort)
                .arg(QLatin1String("XY"))
                .arg(width)
                .arg(height));
    QImage out(width, height, QImage::Format_Indexed8);
    if (out.isNull())
        return Fail(error, GetUiMessage(UiKey::String::LoomPictureTooLarge).arg(QLatin1String("XY")));
    QList<QRgb> table(256);
    for (int i = 0; i < 256; ++i) {
        const std::uint8_t *p = b + 8 + 3 * i;
        table[i] = qRgb(std::min(p[0] * 4, 255), std::min(p[1] * 4, 255), std::min(p[2] * 4, 255));
    }
    out.setColorTable(table);
    for (int y = 0; y < height; ++y)
        std::copy_n(b + PixelOffset + qsizetype(y) * width, width, out.scanLine(y));
    picture = out;
    return true;
}

bool ReadWVPicture(const QByteArray &bytes, QImage &picture, QString *error)
{
    constexpr int PixelOffset = 32;
    TByteReader in(bytes);
    const int width = in.u16le();
    const int height = in.u16le();
    if (!in.ok() || bytes.size() < PixelOffset)
        return Fail(error, GetUiMessage(UiKey::String::LoomPictureTooShort).arg(QLatin1String("WV")));
    if (width == 0 || height == 0)
        return Fail(error, GetUiMessage(UiKey::String::LoomPictureEmpty).arg(QLatin1String("WV")));
    const int rowBytes = width / 8;
    if (bytes.size() - PixelOffset < qint64(rowBytes) * height)
        return Fail(error,
            GetUiMessage(UiKey::String::LoomPictureClaimsTooShort)
                .arg(QLatin1String("WV"))
                .arg(width)
                .arg(height));
    QImage out(width, height, QImage::Format_Mono);
    if (out.isNull())
        return Fail(error, GetUiMessage(UiKey::String::LoomPictureTooLarge).arg(QLatin1String("WV")));
    out.setColorTable({ qRgb(255, 255, 255), qRgb(0, 0, 0) });
    out.fill(0);
    const auto *src = reinterpret_cast<const std::uint8_t *>(bytes.constData()) + PixelOffset;
    for (int y = 0; y < height; ++y, src += rowBytes) {
        std::uint8_t *dst = out.scanLine(y);
        for (int i = 0; i < rowBytes; ++i)
            dst[i] = CardBytes::Rev(src[rowBytes - 1 - i]);
    }
    picture = out;
    return true;
}

bool ReadProjectPreview(const QByteArray &bytes, QImage &picture, QString *error)
{
    // The full project reader finds the picture at the same byte.
    qint64 start = -1;
    if (!ProjectPictureOffset(bytes, start))
        start = -1;
    if (start < 0)
        return Fail(error, GetUiMessage(UiKey::String::PatternFileNoPicture));
    const QByteArray bmp = bytes.mid(start);
    QImage out;
    QString why;
    if (!DecodeBmp8(bmp, out, &why)) {
        // Legacy files may hold pictures of other depths, read by Qt with the checks of any
        // bitmap. A bitmap of our own reader's kind that it found damaged or cut short is
        // refused: another reader would make up its missing rows.
        if (IsBmp8(bmp) || !DecodeWithQt(bmp, "BMP", out, &why) || out.isNull())
            return Fail(error, GetUiMessage(UiKey::String::PatternFilePictureUnreadable).arg(why));
    }
    if (out.width() > MaxPictureSide || out.height() > MaxPictureSide)
        return Fail(error, GetUiMessage(UiKey::String::PatternFilePictureTooLarge));
    picture = out;
    return true;
}
