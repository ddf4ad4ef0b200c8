#include "core/picture/lowbitpicture.h"

#include "core/palette/palette.h"

#include <cstring>

bool TLowBitPicture::isValid() const
{
    if (Width < 1 || Height < 1 || (Bits != 1 && Bits != 2 && Bits != 4))
        return false;
    const qint64 minLine = (qint64(Width) * Bits + 7) / 8;
    return BytesPerLine >= minLine && qint64(Rows.size()) >= qint64(BytesPerLine) * Height;
}

void ConvertLowBitTo8Bit(const TLowBitPicture &src, QImage &dest)
{
    if (src.Width < 1 || src.Height < 1) {
        dest = QImage();
        return;
    }
    QImage out(src.Width, src.Height, QImage::Format_Indexed8);
    if (out.isNull()) {
        dest = QImage();
        return;
    }
    QList<QRgb> table(256, qRgb(0, 0, 0));
    if (!src.isValid()) {
        out.setColorTable(table);
        out.fill(0);
        dest = out;
        return;
    }
    const int colors = 1 << src.Bits;
    for (int i = 0; i < colors && i < src.Colors.size(); ++i)
        table[i] = src.Colors[i] | 0xFF000000u;
    out.setColorTable(table);

    const int perByte = 8 / src.Bits;
    const int mask = colors - 1;
    for (int y = 0; y < src.Height; ++y) {
        const auto *row
            = reinterpret_cast<const std::uint8_t *>(src.Rows.constData()) + qint64(y) * src.BytesPerLine;
        std::uint8_t *d = out.scanLine(y);
        for (int x = 0; x < src.Width; ++x) {
            // Pixel x sits in byte x / perByte; the first pixel of a byte in its top bits.
            const int shift = 8 - src.Bits * (x % perByte + 1);
            d[x] = std::uint8_t((row[x / perByte] >> shift) & mask);
        }
    }
    dest = out;
}

bool PackLowBitPicture(const QImage &image, int bits, TLowBitPicture &out)
{
    if (image.isNull() || (bits != 1 && bits != 2 && bits != 4))
        return false;
    TLowBitPicture p;
    p.Width = image.width();
    p.Height = image.height();
    p.Bits = bits;
    p.BytesPerLine = int((qint64(p.Width) * bits + 7) / 8);
    p.Colors = image.colorTable();
    if (p.Colors.size() > (1 << bits))
        p.Colors.resize(1 << bits);
    p.Rows = QByteArray(qint64(p.BytesPerLine) * p.Height, '\0');
    auto *rows = reinterpret_cast<std::uint8_t *>(p.Rows.data());
    if (image.format() == QImage::Format_Mono || image.format() == QImage::Format_MonoLSB) {
        if (bits != 1)
            return false;
        const QImage mono = image.convertToFormat(QImage::Format_Mono);
        for (int y = 0; y < p.Height; ++y) {
            std::memcpy(rows + qint64(y) * p.BytesPerLine, mono.constScanLine(y), size_t(p.BytesPerLine));
            // Bits past the last pixel are cleared so that equal pictures pack equally.
            if (p.Width % 8)
                rows[qint64(y) * p.BytesPerLine + p.BytesPerLine - 1]
                    &= std::uint8_t(0xFF << (8 - p.Width % 8));
        }
    } else if (image.format() == QImage::Format_Indexed8) {
        const int perByte = 8 / bits;
        const int limit = 1 << bits;
        for (int y = 0; y < p.Height; ++y) {
            const std::uint8_t *s = image.constScanLine(y);
            std::uint8_t *d = rows + qint64(y) * p.BytesPerLine;
            for (int x = 0; x < p.Width; ++x) {
                if (s[x] >= limit)
                    return false;
                d[x / perByte] |= std::uint8_t(s[x] << (8 - bits * (x % perByte + 1)));
            }
        }
    } else {
        return false;
    }
    out = p;
    return true;
}
