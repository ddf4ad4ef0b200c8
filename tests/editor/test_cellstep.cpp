// The step every area operation of the technique menu ends with: short lists are recorded
// cell by cell, long ones (scattered thinly or filling their box) as a packed box, and each
// is undone and redone exactly, with protected colours and cells beyond the edge handled as
// for any stroke.
#include "editor/cellstep.h"

#include "core/undo/undo.h"
#include "editor/patterngrid.h"
#include "patterngridfixture.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

class CellStep : public TPatternGridFixture { };

constexpr int Painted = 9;
constexpr int ProtectedIndex = 3;

// Indexes 0 .. 4 in a pattern that changes along both directions; every cell filled.
QImage ground(int w, int h)
{
    QImage img = NewPicture(w, h, GreyPalette());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.scanLine(y)[x] = std::uint8_t((x * 7 + y * 3) % 5);
    return img;
}

// The cells (x, y) of a w x h picture for which keep(x, y) holds, and two beyond its edge.
TLineArray cellsWhere(int w, int h, const std::function<bool(int, int)> &keep)
{
    std::vector<TPoint> found { { -1, 2 }, { w, 0 } };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (keep(x, y))
                found.push_back({ x, y });
    TLineArray out(qsizetype(found.size()));
    std::copy(found.begin(), found.end(), out.begin());
    return out;
}

// The picture as the step must leave it: listed cells inside it painted, unless protected.
QImage expectedAfter(const QImage &start, const TLineArray &cells)
{
    QImage out = start.copy();
    for (const TPoint &c : cells)
        if (c.X >= 0 && c.Y >= 0 && c.X < out.width() && c.Y < out.height()
            && out.scanLine(c.Y)[c.X] != ProtectedIndex)
            out.scanLine(c.Y)[c.X] = Painted;
    return out;
}

} // namespace

TEST_F(CellStep, EveryListFormIsUndoneAndRedoneExactly)
{
    const struct {
        const char *name;
        int w, h;
        std::function<bool(int, int)> keep;
        bool points; // painted through the multi-needle entry, one index a point
        bool packed;
    } cases[] = {
        { "short list", 60, 40, [](int x, int y) { return (x + y) % 9 == 0; }, false, false },
        // 5,000 cells over a box of about 192,000.
        { "scattered long list", 1000, 200, [](int x, int) { return x % 40 == 0; }, false, true },
        { "scattered long list of points", 1000, 200, [](int x, int) { return x % 40 == 0; }, true, true },
        // An 80 x 80 block.
        { "block", 100, 100, [](int x, int y) { return x >= 10 && x < 90 && y >= 5 && y < 85; }, false,
            true },
        { "block of points", 100, 100, [](int x, int y) { return x >= 10 && x < 90 && y >= 5 && y < 85; },
            true, true },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TPatternGrid g;
        const QImage start = ground(c.w, c.h);
        show(g, start);
        g.IncludeColorIndex(ProtectedIndex);
        const TLineArray cells = cellsWhere(c.w, c.h, c.keep);
        if (c.points) {
            TMultiSketchArray points(cells.size());
            for (qsizetype i = 0; i < cells.size(); ++i)
                points[i] = { cells[i].X, cells[i].Y, std::uint8_t(Painted) };
            PaintPointsAsStep(g, points);
        } else {
            PaintCellsAsStep(g, cells, std::uint8_t(Painted));
        }
        const QImage after = expectedAfter(start, cells);
        ASSERT_NE(after, start);
        EXPECT_EQ(g.Picture(), after);
        EXPECT_EQ(g.RefBitmap(), after);
        ASSERT_EQ(g.UndoStore().UndoCount(), 1);
        const TUndoData *step = g.UndoStore().GetTopStep();
        ASSERT_NE(step, nullptr);
        EXPECT_EQ(step->Packed != nullptr, c.packed);

        ASSERT_TRUE(g.Undo());
        EXPECT_EQ(g.Picture(), start);
        EXPECT_EQ(g.RefBitmap(), start);
        ASSERT_TRUE(g.Redo());
        EXPECT_EQ(g.Picture(), after);
        EXPECT_EQ(g.RefBitmap(), after);
    }
}
