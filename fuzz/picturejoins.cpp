// Any two small pictures, direction, cut and guide points joined by hand, along lines and
// after turning: every join ends in a picture of the promised size and palette, or is
// refused leaving the caller's picture as it was.
#include "core/palette/palettejoin.h"

#include "core/picture/picturelimits.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

struct TBytes {
    const std::uint8_t *data;
    std::size_t size, at = 0;
    int next() { return at < size ? data[at++] : 0; }
    int signedWord() { return std::int16_t(std::uint16_t(next() << 8 | next())); }
};

QImage picture(TBytes &in)
{
    const int w = 1 + in.next() % 48, h = 1 + in.next() % 48;
    TPalette256 palette {};
    const int colours = 1 + in.next() % 8;
    for (int i = 0; i < colours; ++i)
        palette[std::size_t(i)]
            = { std::uint8_t(in.next()), std::uint8_t(in.next()), std::uint8_t(in.next()), 0 };
    QImage img = NewPicture(w, h, palette);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.scanLine(y)[x] = std::uint8_t(in.next() % colours);
    return img;
}

void check(bool ok, const QImage &dest, const QImage &previous, const QString &error)
{
    if (ok) {
        if (dest.format() != QImage::Format_Indexed8 || dest.colorCount() != 256 || dest.width() < 1
            || dest.height() < 1 || dest.width() > MaxPictureSide || dest.height() > MaxPictureSide)
            std::abort();
    } else if (dest != previous) {
        std::abort();
    } else {
        (void)error;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    TBytes in { data, size };
    const int direction = in.next() & 1;
    const int offset = in.signedWord();
    std::vector<TPoint> points(std::size_t(in.next() % 6));
    for (TPoint &p : points)
        p = { in.signedWord(), in.signedWord() };
    const QImage a = picture(in), b = picture(in);
    const QImage previous = NewPicture(1, 1, TPalette256 {});
    QImage dest = previous;
    QString error;
    check(UnitePicturePalettes(a, b, direction, offset, dest, &error), dest, previous, error);
    dest = previous;
    check(UnitePalettesByChoice(a, b, direction, offset, offset & 1, dest, &error), dest, previous, error);
    dest = previous;
    if (points.size() >= 4) {
        check(JoinPicturesAlongLines(
                  a, b, direction, { points[0], points[1] }, { points[2], points[3] }, dest, &error),
            dest, previous, error);
        dest = previous;
    }
    const bool linked = AutoLinkByLines(a, b, direction, points, dest, &error);
    if (points.size() != 4 && (linked || dest != previous))
        std::abort();
    check(linked, dest, previous, error);
    return 0;
}
