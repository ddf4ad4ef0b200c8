// RepairPicture: closing gaps between cells of one colour along rows, columns and diagonals.
//
// For every cell of the colour, in visiting order, and each direction, every step k from 2
// to Distance that reaches a cell of the colour draws the line to it. Along one direction
// those lines only touch cells nearer than their end, so together they fill every cell up
// to the farthest cell of the colour within reach, and nothing beyond it. The colour set
// only grows, so the run keeps one bit set per cell and line orientation (rows, columns
// and both diagonals); finding the farthest cell of the colour and the cells still to fill
// then reads whole 64-cell words, which keeps the work near one pass over the picture even
// at the largest distance.

#include "core/base/progress.h"
#include "core/picture/imageproc_internal.h"

#include <algorithm>
#include <bit>
#include <vector>

using namespace imageproc;

namespace {

// One bit per cell along every line of one orientation; each line starts on a word.
class LineBits {
public:
    void addLine(int length)
    {
        m_offset.push_back(m_words);
        m_words += (std::size_t(length) + 63) / 64;
    }
    void allocate() { m_bits.assign(m_words, 0); }

    void set(int line, int pos) { word(line, pos) |= bit(pos); }

    // The largest set position in [lo, hi], or -1.
    int lastSet(int line, int lo, int hi) const
    {
        for (int w = hi >> 6; lo <= hi; --w) {
            const int wordStart = w << 6;
            std::uint64_t bits = m_bits[m_offset[line] + std::size_t(w)]
                & rangeMask(std::max(lo, wordStart) - wordStart, hi - wordStart);
            if (bits)
                return wordStart + 63 - std::countl_zero(bits);
            hi = wordStart - 1;
        }
        return -1;
    }
    // The smallest set position in [lo, hi], or -1.
    int firstSet(int line, int lo, int hi) const
    {
        for (int w = lo >> 6; lo <= hi; ++w) {
            const int wordStart = w << 6;
            std::uint64_t bits = m_bits[m_offset[line] + std::size_t(w)]
                & rangeMask(lo - wordStart, std::min(hi, wordStart + 63) - wordStart);
            if (bits)
                return wordStart + std::countr_zero(bits);
            lo = wordStart + 64;
        }
        return -1;
    }
    // The smallest clear position in [lo, hi], or -1.
    int firstClear(int line, int lo, int hi) const
    {
        for (int w = lo >> 6; lo <= hi; ++w) {
            const int wordStart = w << 6;
            std::uint64_t bits = ~m_bits[m_offset[line] + std::size_t(w)]
                & rangeMask(lo - wordStart, std::min(hi, wordStart + 63) - wordStart);
            if (bits)
                return wordStart + std::countr_zero(bits);
            lo = wordStart + 64;
        }
        return -1;
    }
    // The largest clear position in [lo, hi], or -1.
    int lastClear(int line, int lo, int hi) const
    {
        for (int w = hi >> 6; lo <= hi; --w) {
            const int wordStart = w << 6;
            std::uint64_t bits = ~m_bits[m_offset[line] + std::size_t(w)]
                & rangeMask(std::max(lo, wordStart) - wordStart, hi - wordStart);
            if (bits)
                return wordStart + 63 - std::countl_zero(bits);
            hi = wordStart - 1;
        }
        return -1;
    }

private:
    static std::uint64_t bit(int pos) { return std::uint64_t(1) << (pos & 63); }
    // Bits a..b of a word (0 <= a <= b <= 63).
    static std::uint64_t rangeMask(int a, int b)
    {
        const std::uint64_t upTo = b == 63 ? ~std::uint64_t(0) : (std::uint64_t(1) << (b + 1)) - 1;
        return upTo & ~((std::uint64_t(1) << a) - 1);
    }
    std::uint64_t &word(int line, int pos) { return m_bits[m_offset[line] + std::size_t(pos >> 6)]; }

    std::vector<std::size_t> m_offset;
    std::size_t m_words = 0;
    std::vector<std::uint64_t> m_bits;
};

// Orientations: 0 rows, 1 columns, 2 diagonals down-right, 3 diagonals up-right.
struct Place {
    int line, pos, length;
};

class ColourLines {
public:
    ColourLines(int w, int h)
        : m_w(w)
        , m_h(h)
    {
        for (int y = 0; y < h; ++y)
            m_lines[0].addLine(w);
        for (int x = 0; x < w; ++x)
            m_lines[1].addLine(h);
        for (int line = 0; line < w + h - 1; ++line) {
            m_lines[2].addLine(diagonalLength(line));
            m_lines[3].addLine(antiLength(line));
        }
        for (LineBits &l : m_lines)
            l.allocate();
    }

    // Where cell (x, y) lies on its line of orientation o. Positions grow with x, except
    // for columns, where they grow with y.
    Place place(int o, int x, int y) const
    {
        switch (o) {
        case 0:
            return { y, x, m_w };
        case 1:
            return { x, y, m_h };
        case 2: {
            const int line = x - y + m_h - 1;
            return { line, std::min(x, y), diagonalLength(line) };
        }
        default: {
            const int line = x + y;
            return { line, x - std::max(0, line - (m_h - 1)), antiLength(line) };
        }
        }
    }

    void set(int x, int y)
    {
        for (int o = 0; o < 4; ++o) {
            const Place p = place(o, x, y);
            m_lines[size_t(o)].set(p.line, p.pos);
        }
    }
    const LineBits &lines(int o) const { return m_lines[size_t(o)]; }

private:
    // Diagonal line x - y = line - (H - 1); anti-diagonal line x + y = line.
    int diagonalLength(int line) const
    {
        const int c = line - (m_h - 1);
        return std::min(m_w - std::max(c, 0), m_h - std::max(-c, 0));
    }
    int antiLength(int line) const
    {
        const int xStart = std::max(0, line - (m_h - 1));
        return std::min(line, m_w - 1) - xStart + 1;
    }

    int m_w, m_h;
    std::array<LineBits, 4> m_lines;
};

// Orientation of each direction and whether positions grow along it.
constexpr int DirOrientation[8] = { 0, 3, 1, 2, 0, 3, 1, 2 };
constexpr int DirSign[8] = { 1, 1, -1, -1, -1, -1, 1, 1 };

} // namespace

void RepairPicture(QImage &Bmp, TColor Color, int Distance, TLineArray *Points)
{
    if (!IsPicture8(Bmp))
        return;
    ShowProgressGauge();
    const int w = Bmp.width(), h = Bmp.height();
    TProgressSteps progress(h);
    TPalette256 pal;
    GetBitmapPalette(Bmp, pal);
    const auto isColour = IndexesShowing(pal, Color);
    const std::uint8_t index = std::uint8_t(IndexOfColor(pal, Color));
    if (Distance < 2 || std::none_of(isColour.begin(), isColour.end(), [](bool b) { return b; })) {
        progress.finish();
        return;
    }

    std::uint8_t *bits = Bmp.bits();
    const qsizetype stride = Bmp.bytesPerLine();
    ColourLines colour(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (isColour[bits[qsizetype(y) * stride + x]])
                colour.set(x, y);

    std::vector<TPoint> changed;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (!isColour[bits[qsizetype(y) * stride + x]])
                continue;
            for (int d = 0; d < 8; ++d) {
                const int o = DirOrientation[d], sign = DirSign[d];
                const Place p = colour.place(o, x, y);
                const LineBits &line = colour.lines(o);
                // The farthest cell of the colour 2..Distance steps away, inside the picture.
                const int reach
                    = sign > 0 ? std::min(Distance, p.length - 1 - p.pos) : std::min(Distance, p.pos);
                if (reach < 2)
                    continue;
                const int end = sign > 0 ? line.lastSet(p.line, p.pos + 2, p.pos + reach)
                                         : line.firstSet(p.line, p.pos - reach, p.pos - 2);
                if (end < 0)
                    continue;
                // Fill the cells between that do not show the colour yet, nearest first.
                const int steps = sign > 0 ? end - p.pos : p.pos - end;
                for (int k = 1; k < steps;) {
                    const int pos = sign > 0 ? line.firstClear(p.line, p.pos + k, end - 1)
                                             : line.lastClear(p.line, end + 1, p.pos - k);
                    if (pos < 0)
                        break;
                    k = sign > 0 ? pos - p.pos : p.pos - pos;
                    const int cx = x + k * DirX[d], cy = y + k * DirY[d];
                    bits[qsizetype(cy) * stride + cx] = index;
                    colour.set(cx, cy);
                    changed.push_back({ cx, cy });
                    ++k;
                }
            }
        }
        progress.step(y + 1);
    }
    progress.finish();
    if (Points)
        AppendPoints(*Points, changed);
}
