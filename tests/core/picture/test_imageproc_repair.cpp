// The repairs: thorns, gaps and mottle, with cascades and duplicate palette colours.
#include "core/base/progress.h"
#include "core/picture/imageproc.h"
#include "core/settings/sharedstate.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <random>

using Rows = std::vector<std::vector<int>>;

namespace {
// Index 1 and 2 show colour A, 5 and 6 colour B, 3 and 4 colour C; the rest are greys.
TPalette256 repairPalette()
{
    TPalette256 p = GreyPalette();
    p[1] = p[2] = { 50, 50, 50, 0 };
    p[5] = p[6] = { 200, 200, 200, 0 };
    p[3] = p[4] = { 90, 90, 90, 0 };
    return p;
}
constexpr TColor ColorA = 0x02323232;
constexpr TColor ColorB = 0x02C8C8C8;
constexpr TColor ColorC = 0x025A5A5A;

QImage picture(const Rows &rows)
{
    QImage img = NewPicture(int(rows[0].size()), int(rows.size()), repairPalette());
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.scanLine(y)[x] = std::uint8_t(rows[y][x]);
    return img;
}

std::vector<TPoint> points(const TLineArray &list)
{
    return { list.begin(), list.end() };
}

// Gap closing exactly as worded: every step k from 2 to Distance that reaches a cell of the
// colour draws the line to it, cell by cell, on the picture as it is at that moment.
void literalRepair(
    QImage &bmp, const std::array<bool, 256> &isC, int index, int distance, std::vector<TPoint> &out)
{
    const int dx[8] = { 1, 1, 0, -1, -1, -1, 0, 1 }, dy[8] = { 0, -1, -1, -1, 0, 1, 1, 1 };
    auto inside = [&](int x, int y) { return x >= 0 && y >= 0 && x < bmp.width() && y < bmp.height(); };
    std::uint8_t *bits = bmp.bits();
    const qsizetype stride = bmp.bytesPerLine();
    auto cell = [&](int x, int y) -> std::uint8_t & { return bits[y * stride + x]; };
    for (int y = 0; y < bmp.height(); ++y)
        for (int x = 0; x < bmp.width(); ++x) {
            if (!isC[cell(x, y)])
                continue;
            for (int d = 0; d < 8; ++d)
                for (int k = 2; k <= distance; ++k) {
                    const int tx = x + k * dx[d], ty = y + k * dy[d];
                    if (!inside(tx, ty) || !isC[cell(tx, ty)])
                        continue;
                    for (int i = 1; i < k; ++i) {
                        const int cx = x + i * dx[d], cy = y + i * dy[d];
                        if (!isC[cell(cx, cy)]) {
                            cell(cx, cy) = std::uint8_t(index);
                            out.push_back({ cx, cy });
                        }
                    }
                }
        }
}

// Counts gauge calls during a repair.
struct GaugeWatch {
    int shown = 0;
    int last = -1;
    GaugeWatch()
    {
        Hooks().ProgressGaugeShow = [this] { ++shown; };
        Hooks().ProgressEvent = [this](std::uint8_t p) { last = p; };
    }
    ~GaugeWatch()
    {
        Hooks().ProgressGaugeShow = nullptr;
        Hooks().ProgressEvent = nullptr;
    }
};
} // namespace

TEST(PictureRepair, ClearThorns)
{
    struct Case {
        const char *name;
        Rows before, after;
        std::vector<TPoint> changed;
    };
    const Case cases[] = {
        { "four of B stays", { { 5, 5, 5 }, { 5, 1, 5 }, { 5, 5, 5 } },
            { { 5, 5, 5 }, { 5, 1, 5 }, { 5, 5, 5 } }, {} },
        { "three of B becomes B", { { 5, 5, 5 }, { 5, 1, 0 }, { 5, 5, 5 } },
            { { 5, 5, 5 }, { 5, 5, 0 }, { 5, 5, 5 } }, { { 1, 1 } } },
        { "outside neighbours do not count", { { 5, 1, 5 }, { 5, 5, 5 } }, { { 5, 5, 5 }, { 5, 5, 5 } },
            { { 1, 0 } } },
        { "corner with two of B stays", { { 1, 5 }, { 5, 5 } }, { { 1, 5 }, { 5, 5 } }, {} },
        // The left cell turns first; the right one then has four neighbours of B and stays.
        { "cascade", { { 5, 5, 5, 5 }, { 5, 1, 1, 5 }, { 5, 5, 5, 5 } },
            { { 5, 5, 5, 5 }, { 5, 5, 1, 5 }, { 5, 5, 5, 5 } }, { { 1, 1 } } },
        // Indexes 2 and 6 show A and B too; the new cell takes the first entry of B.
        { "duplicate colours", { { 0, 6, 0 }, { 6, 2, 0 }, { 0, 6, 0 } },
            { { 0, 6, 0 }, { 6, 5, 0 }, { 0, 6, 0 } }, { { 1, 1 } } },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QImage img = picture(c.before);
        TLineArray changed { { 9, 9 } };
        ClearThorns(img, ColorB, ColorA, changed);
        EXPECT_EQ(PictureRows(img), c.after);
        std::vector<TPoint> expected { { 9, 9 } };
        expected.insert(expected.end(), c.changed.begin(), c.changed.end());
        EXPECT_EQ(points(changed), expected); // appended after what the list held
    }
}

TEST(PictureRepair, RepairPictureClosesGaps)
{
    struct Case {
        const char *name;
        int distance;
        Rows before, after;
    };
    const Case cases[] = {
        { "row gap of two", 3, { { 3, 0, 0, 3 } }, { { 3, 3, 3, 3 } } },
        { "gap longer than reach", 2, { { 3, 0, 0, 3 } }, { { 3, 0, 0, 3 } } },
        { "distance 1 does nothing", 1, { { 3, 0, 3 } }, { { 3, 0, 3 } } },
        { "column", 2, { { 3 }, { 0 }, { 3 } }, { { 3 }, { 3 }, { 3 } } },
        { "diagonal", 2, { { 3, 0, 0 }, { 0, 0, 0 }, { 0, 0, 3 } },
            { { 3, 0, 0 }, { 0, 3, 0 }, { 0, 0, 3 } } },
        { "anti-diagonal", 3, { { 0, 0, 0, 3 }, { 0, 0, 0, 0 }, { 0, 0, 0, 0 }, { 3, 0, 0, 0 } },
            { { 0, 0, 0, 3 }, { 0, 0, 3, 0 }, { 0, 3, 0, 0 }, { 3, 0, 0, 0 } } },
        { "farthest cell within reach fills all between", 4, { { 3, 0, 3, 0, 3 } }, { { 3, 3, 3, 3, 3 } } },
        // Index 4 shows the colour too: it counts and keeps its index; new cells take 3.
        { "duplicate colours", 2, { { 4, 0, 3 } }, { { 4, 3, 3 } } },
        // The cell filled in the top row links down to the bottom one.
        { "cascade", 2, { { 3, 0, 3 }, { 0, 0, 0 }, { 0, 3, 0 } },
            { { 3, 3, 3 }, { 0, 3, 0 }, { 0, 3, 0 } } },
        { "no cell of the colour", 5, { { 0, 1, 0 } }, { { 0, 1, 0 } } },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QImage img = picture(c.before);
        RepairPicture(img, ColorC, c.distance);
        EXPECT_EQ(PictureRows(img), c.after);
    }

    // The word-wise search matches the literal reading, cells and order, on random pictures
    // long enough to cross 64-cell words.
    std::mt19937 random(7);
    std::array<bool, 256> isC {};
    isC[3] = isC[4] = true;
    for (int round = 0; round < 25; ++round) {
        SCOPED_TRACE(round);
        const int w = 1 + int(random() % 150), h = 1 + int(random() % 40), distance = int(random() % 80);
        const int density = 2 + int(random() % 30);
        QImage img = NewPicture(w, h, repairPalette());
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                img.scanLine(y)[x]
                    = random() % density == 0 ? std::uint8_t(3 + random() % 2) : std::uint8_t(random() % 3);
        QImage expected = img.copy();
        std::vector<TPoint> expectedPoints;
        literalRepair(expected, isC, 3, distance, expectedPoints);
        TLineArray changed;
        RepairPicture(img, ColorC, distance, &changed);
        ASSERT_EQ(PictureRows(img), PictureRows(expected));
        ASSERT_EQ(points(changed), expectedPoints);
    }
}

TEST(PictureRepair, ClearMottle)
{
    struct Case {
        const char *name;
        int maxSize;
        Rows before, after;
    };
    const Case cases[] = {
        { "single cell", 0, { { 5, 5, 5 }, { 5, 1, 5 }, { 5, 5, 5 } },
            { { 5, 5, 5 }, { 5, 5, 5 }, { 5, 5, 5 } } },
        { "pair kept at 0", 0, { { 5, 5, 5, 5 }, { 5, 1, 1, 5 }, { 5, 5, 5, 5 } },
            { { 5, 5, 5, 5 }, { 5, 1, 1, 5 }, { 5, 5, 5, 5 } } },
        { "pair cleared at 1", 1, { { 5, 5, 5, 5 }, { 5, 1, 1, 5 }, { 5, 5, 5, 5 } },
            { { 5, 5, 5, 5 }, { 5, 5, 5, 5 }, { 5, 5, 5, 5 } } },
        // The middle cell goes first; the right one then has no run and goes too; the left
        // one, visited before, keeps its run of two.
        { "cascade", 1, { { 5, 5, 5, 5, 5 }, { 5, 1, 1, 1, 5 }, { 5, 5, 5, 5, 5 } },
            { { 5, 5, 5, 5, 5 }, { 5, 1, 5, 5, 5 }, { 5, 5, 5, 5, 5 } } },
        { "one cell of B nearby is not enough", 3, { { 0, 0, 0 }, { 0, 1, 5 }, { 0, 0, 0 } },
            { { 0, 0, 0 }, { 0, 1, 5 }, { 0, 0, 0 } } },
        // Index 2 continues the run of index 1's colour; 6 counts as B; new cells take 5.
        { "duplicate colours", 0, { { 6, 6, 6 }, { 6, 1, 2 }, { 6, 6, 6 } },
            { { 6, 6, 6 }, { 6, 1, 2 }, { 6, 6, 6 } } },
        { "duplicate colours cleared", 1, { { 6, 6, 6 }, { 6, 1, 2 }, { 6, 6, 6 } },
            { { 6, 6, 6 }, { 6, 5, 5 }, { 6, 6, 6 } } },
        // Runs are counted up to 6 steps, so 6 lets every cell with enough B go.
        { "runs stop at six steps", 6, { { 5, 5, 5, 5, 5, 5, 5, 5, 5 }, { 1, 1, 1, 1, 1, 1, 1, 1, 1 } },
            { { 5, 5, 5, 5, 5, 5, 5, 5, 5 }, { 5, 5, 5, 5, 5, 5, 5, 5, 5 } } },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QImage img = picture(c.before);
        TLineArray changed;
        ClearMottle(img, ColorA, ColorB, changed, c.maxSize);
        EXPECT_EQ(PictureRows(img), c.after);
        int differing = 0;
        for (size_t y = 0; y < c.before.size(); ++y)
            for (size_t x = 0; x < c.before[y].size(); ++x)
                differing += c.before[y][x] != c.after[y][x];
        EXPECT_EQ(int(changed.size()), differing);
    }

    // IsMottle on its own: B itself, outside cells and the run limit.
    const QImage img = picture({ { 5, 5, 5, 5 }, { 5, 1, 1, 5 }, { 5, 5, 5, 5 } });
    EXPECT_FALSE(IsMottle(img, ColorB, { 0, 0 }, 9));
    EXPECT_FALSE(IsMottle(img, ColorB, { -1, 0 }, 9));
    EXPECT_FALSE(IsMottle(img, ColorB, { 4, 1 }, 9));
    EXPECT_FALSE(IsMottle(img, ColorB, { 1, 1 }, 0));
    EXPECT_TRUE(IsMottle(img, ColorB, { 1, 1 }, 1));
}

TEST(PictureRepair, GaugeAndGuards)
{
    for (int op = 0; op < 3; ++op) {
        SCOPED_TRACE(op);
        GaugeWatch gauge;
        QImage img = picture({ { 5, 1, 5 }, { 5, 5, 5 } });
        TLineArray changed;
        if (op == 0)
            ClearThorns(img, ColorB, ColorA, changed);
        else if (op == 1)
            RepairPicture(img, ColorB, 99, &changed);
        else
            ClearMottle(img, ColorA, ColorB, changed, 2);
        EXPECT_EQ(gauge.shown, 1);
        EXPECT_EQ(gauge.last, 100); // the gauge hides at the end
    }
    // Not an 8-bit picture: nothing happens.
    QImage rgb(2, 2, QImage::Format_RGB32);
    rgb.fill(Qt::white);
    TLineArray changed;
    ClearThorns(rgb, ColorB, ColorA, changed);
    RepairPicture(rgb, ColorB, 5, &changed);
    ClearMottle(rgb, ColorA, ColorB, changed, 2);
    EXPECT_TRUE(changed.isEmpty());
    EXPECT_FALSE(IsMottle(rgb, ColorB, { 0, 0 }, 3));
}
