#pragma once
// TLowBitPicture: pictures of 1, 2 or 4 bits per pixel.
// Pictures of fewer than 8 bits per pixel (1, 2 or 4) as the file stores them: rows of
// packed indexes, the first pixel in the most significant bits of its byte, and the
// file's own colour table. The loader turns them into 8-bit pictures.

#include <QByteArray>
#include <QImage>
#include <QList>

struct TLowBitPicture {
    int Width = 0;
    int Height = 0;
    int Bits = 0; // 1, 2 or 4
    int BytesPerLine = 0; // at least (Width x Bits + 7) / 8
    QByteArray Rows; // Height x BytesPerLine bytes, top row first
    QList<QRgb> Colors; // the file's colour table (at most 2^Bits entries are used)

    bool isValid() const;
};

// Dest becomes an 8-bit picture of Src's size: the colour table holds Src's 2, 4 or 16
// colours in the first entries and black in all others, and each cell takes Src's index.
// An invalid Src gives an 8-bit picture of Src's size (or nothing when it has no size)
// with an all-black colour table.
void ConvertLowBitTo8Bit(const TLowBitPicture &src, QImage &dest);

// Packs a decoded picture whose file declared 1, 2 or 4 bits per pixel: a 1-bit picture
// (QImage::Format_Mono or Format_MonoLSB) or an 8-bit one whose indexes fit the depth.
// False when the picture does not fit the declared depth.
bool PackLowBitPicture(const QImage &image, int bits, TLowBitPicture &out);
