// Flood fill and index change over 8-bit cells, eight cells at a time where it counts.
#include "core/picture/floodfill.h"

#include <bit>
#include <cstring>
#include <vector>

namespace {

constexpr std::uint64_t Ones = 0x0101010101010101ull;
constexpr std::uint64_t Highs = 0x8080808080808080ull;

std::uint64_t load8(const std::uint8_t *p)
{
    std::uint64_t w;
    std::memcpy(&w, p, 8);
    return w;
}

// The first x in [x, end) whose cell is not v, or end.
int skipRun(const std::uint8_t *row, int x, int end, std::uint8_t v)
{
    const std::uint64_t pattern = Ones * v;
    for (; x + 8 <= end; x += 8) {
        const std::uint64_t d = load8(row + x) ^ pattern;
        if (d)
            return x + std::countr_zero(d) / 8;
    }
    while (x < end && row[x] == v)
        ++x;
    return x;
}

// The first x in [x, end) whose cell is v, or end. The lowest byte the zero test marks is
// always a true zero byte, so the first hit is exact.
int findCell(const std::uint8_t *row, int x, int end, std::uint8_t v)
{
    const std::uint64_t pattern = Ones * v;
    for (; x + 8 <= end; x += 8) {
        const std::uint64_t d = load8(row + x) ^ pattern;
        const std::uint64_t zero = (d - Ones) & ~d & Highs;
        if (zero)
            return x + std::countr_zero(zero) / 8;
    }
    while (x < end && row[x] != v)
        ++x;
    return x;
}

// The first x of the run of v that ends at x (row[x] == v), going left.
int runStart(const std::uint8_t *row, int x, std::uint8_t v)
{
    const std::uint64_t pattern = Ones * v;
    while (x >= 8) {
        const std::uint64_t d = load8(row + x - 8) ^ pattern;
        if (d)
            return x - 8 + (63 - std::countl_zero(d)) / 8 + 1;
        x -= 8;
    }
    while (x > 0 && row[x - 1] == v)
        --x;
    return x;
}

} // namespace

TFillResult FloodFillIndex(QImage &picture, QPoint start, std::uint8_t to)
{
    TFillResult result;
    if (picture.format() != QImage::Format_Indexed8 || !picture.rect().contains(start))
        return result;
    const int w = picture.width(), h = picture.height();
    std::uint8_t *bits = picture.bits(); // detached once: the rows are written below
    const qsizetype stride = picture.bytesPerLine();
    const std::uint8_t from = bits[start.y() * stride + start.x()];
    if (from == to)
        return result;
    int left = start.x(), right = start.x(), top = start.y(), bottom = start.y();
    std::vector<QPoint> seeds { start };
    while (!seeds.empty()) {
        const QPoint p = seeds.back();
        seeds.pop_back();
        std::uint8_t *row = bits + p.y() * stride;
        if (row[p.x()] != from)
            continue;
        const int l = runStart(row, p.x(), from);
        const int r = skipRun(row, p.x(), w, from); // exclusive
        std::memset(row + l, to, std::size_t(r - l));
        result.Changed += r - l;
        left = std::min(left, l);
        right = std::max(right, r - 1);
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
        for (const int ny : { p.y() - 1, p.y() + 1 }) {
            if (ny < 0 || ny >= h)
                continue;
            const std::uint8_t *n = bits + ny * stride;
            // One seed per run of from that touches [l, r).
            for (int x = findCell(n, l, r, from); x < r; x = findCell(n, skipRun(n, x, r, from), r, from))
                seeds.push_back({ x, ny });
        }
    }
    result.Box = QRect(QPoint(left, top), QPoint(right, bottom));
    return result;
}

TFillResult ReplaceIndexInBox(QImage &picture, const QRect &box, std::uint8_t from, std::uint8_t to)
{
    TFillResult result;
    const QRect area = box & picture.rect();
    if (picture.format() != QImage::Format_Indexed8 || area.isEmpty() || from == to)
        return result;
    int top = -1, bottom = -1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        std::uint8_t *row = picture.scanLine(y) + area.left();
        long long changed = 0;
        // Branch-free, so that the compiler turns it into vector compares and blends.
        for (int x = 0, n = area.width(); x < n; ++x) {
            const bool hit = row[x] == from;
            changed += hit;
            row[x] = hit ? to : row[x];
        }
        if (changed) {
            result.Changed += changed;
            top = top < 0 ? y : top;
            bottom = y;
        }
    }
    if (result.Changed)
        result.Box = QRect(area.left(), top, area.width(), bottom - top + 1);
    return result;
}
