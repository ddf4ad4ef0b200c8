#include "editor/crepe.h"

#include "core/base/numutils.h"

#include <algorithm>

namespace {
int randomBelow(std::mt19937 &random, int n)
{
    if (n <= 0)
        return 0;
    return std::uniform_int_distribution<int>(0, n - 1)(random);
}

std::uint8_t cellAt(const QImage &picture, int x, int y)
{
    return picture.constScanLine(y)[x];
}
} // namespace

int CountCrepeNeighbours(const QImage &picture, TPoint p, bool alongRow, std::uint8_t color, int limit)
{
    const int length = alongRow ? picture.width() : picture.height();
    const int at = alongRow ? p.X : p.Y;
    auto colorAt = [&](int i) {
        return alongRow ? cellAt(picture, i, p.Y) == color : cellAt(picture, p.X, i) == color;
    };
    // The other cells of the line, at most once each: forward first, then back over what
    // is left of the turn.
    const int others = length - 1;
    int count = 0;
    int forward = 0;
    while (forward < others && count < limit && colorAt((at + forward + 1) % length)) {
        ++forward;
        ++count;
    }
    int back = 0;
    while (
        forward + back < others && count < limit && colorAt(((at - back - 1) % length + length) % length)) {
        ++back;
        ++count;
    }
    return count;
}

void CrepeBurst(QImage &picture, const TCrepeBurst &burst, std::mt19937 &random, std::vector<TPoint> &cells)
{
    if (picture.isNull() || picture.format() != QImage::Format_Indexed8)
        return;
    const TCrepeWeaveOption &o = burst.Option;
    const int w = picture.width(), h = picture.height();
    const TPoint c = burst.Center;
    const int left = std::max(0, c.X - int(Trunc(o.Width / 2.0)));
    const int right = std::min(w - 1, c.X + int(Round(o.Width / 2.0 + 0.5)));
    const int top = std::max(0, c.Y - int(Trunc(o.Height / 2.0)));
    const int bottom = std::min(h - 1, c.Y + int(Round(o.Height / 2.0 + 0.5)));
    const bool selection = !burst.Selection.isEmpty();
    for (int i = 0; i < o.TotalSize; ++i) {
        const TPoint p { randomBelow(random, right - left) + left, randomBelow(random, bottom - top) + top };
        if (p.X < 0 || p.Y < 0 || p.X >= w || p.Y >= h)
            continue;
        uchar &cell = picture.scanLine(p.Y)[p.X];
        if (burst.Protected.test(cell) || (selection && !burst.Selection.contains(QPoint(p.X, p.Y))))
            continue;
        // Its neighbours of the colour must stay below the limit, so that with the point
        // the run is at most the limit long.
        if (CountCrepeNeighbours(picture, p, true, burst.Color, o.Horz) >= o.Horz
            || CountCrepeNeighbours(picture, p, false, burst.Color, o.Vert) >= o.Vert)
            continue;
        if (cell == burst.Color)
            continue;
        cell = burst.Color;
        cells.push_back(p);
    }
}
