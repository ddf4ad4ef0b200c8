// Ellipses and polygon areas as cells, held to their rules: an ellipse is symmetric, stays
// in its box, reaches every side and has one run per row; its outline is exactly its
// border; a polygon area is its outline plus what it encloses by the even-odd rule.
#include "editor/tools/scanconvert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>
#include <utility>

namespace {

using TCellSet = std::set<std::pair<int, int>>;

TCellSet asSet(const TCellList &cells)
{
    TCellSet s;
    for (const TPoint &p : cells)
        s.insert({ p.X, p.Y });
    return s;
}

struct TBox {
    int l, t, r, b;
};

// Boxes from a single cell up to long thin ones and odd and even sizes.
const TBox boxes[] = { { 0, 0, 0, 0 }, { 2, 3, 2, 7 }, { 0, 0, 1, 8 }, { 0, 0, 8, 1 }, { -3, -3, 3, 3 },
    { 0, 0, 7, 7 }, { 5, 1, 14, 3 }, { 0, 0, 30, 16 }, { 10, 20, 109, 56 }, { 0, 0, 1, 1 }, { 0, 0, 2, 40 } };

} // namespace

TEST(ScanConvert, EllipseStaysSymmetricInItsBoxAndReachesEverySide)
{
    for (const TBox &box : boxes) {
        SCOPED_TRACE(testing::Message() << box.l << ',' << box.t << ' ' << box.r << ',' << box.b);
        // The corners may come in any order.
        const TCellMask mask = EllipseMask({ box.r, box.t }, { box.l, box.b });
        EXPECT_EQ(mask, EllipseMask({ box.l, box.t }, { box.r, box.b }));
        const TRect bounds = mask.Bounds();
        EXPECT_EQ(bounds, (TRect { box.l, box.t, box.r, box.b })); // inside, touching every side
        int lastRow = box.t - 1;
        for (const TCellSpan &s : mask.Spans()) {
            EXPECT_EQ(s.Y, lastRow + 1); // one run per row, no row left out
            lastRow = s.Y;
            EXPECT_EQ(s.Left - box.l, box.r - s.Right); // mirror image across
        }
        for (const TPoint &c : mask.Cells())
            EXPECT_TRUE(mask.Contains({ c.X, box.t + box.b - c.Y })); // mirror image down
        // Rows widen towards the middle and narrow after it.
        const auto &spans = mask.Spans();
        for (std::size_t i = 1; i < spans.size(); ++i) {
            const bool upperHalf = 2 * spans[i].Y <= box.t + box.b;
            if (upperHalf)
                EXPECT_LE(spans[i].Left, spans[i - 1].Left);
            else
                EXPECT_GE(spans[i].Left, spans[i - 1].Left);
        }
    }
}

TEST(ScanConvert, EllipseOutlineIsExactlyTheBorder)
{
    for (const TBox &box : boxes) {
        SCOPED_TRACE(testing::Message() << box.l << ',' << box.t << ' ' << box.r << ',' << box.b);
        const TCellMask mask = EllipseMask({ box.l, box.t }, { box.r, box.b });
        TCellList outline;
        EllipseOutline({ box.l, box.t }, { box.r, box.b }, outline);
        const TCellSet got = asSet(outline);
        EXPECT_EQ(got.size(), outline.size()); // each cell once
        TCellSet border;
        for (const TPoint &c : mask.Cells())
            if (!mask.Contains({ c.X - 1, c.Y }) || !mask.Contains({ c.X + 1, c.Y })
                || !mask.Contains({ c.X, c.Y - 1 }) || !mask.Contains({ c.X, c.Y + 1 }))
                border.insert({ c.X, c.Y });
        EXPECT_EQ(got, border);
    }
}

TEST(ScanConvert, PolygonAreaByTheEvenOddRule)
{
    // A square: every cell; a right triangle: the cells with x + y <= 10.
    EXPECT_EQ(PolygonMask({ { 0, 0 }, { 10, 0 }, { 10, 10 }, { 0, 10 } }).CellCount(), 121);
    const TCellMask triangle = PolygonMask({ { 0, 0 }, { 10, 0 }, { 0, 10 } });
    EXPECT_EQ(triangle.CellCount(), 66);
    for (const TPoint &c : triangle.Cells())
        EXPECT_LE(c.X + c.Y, 10);

    // A five-pointed star drawn in one stroke: its middle is enclosed twice, so even-odd
    // leaves it out, while the points stay in.
    std::vector<TPoint> star;
    for (int k = 0; k < 5; ++k) {
        const double a = (-90.0 + 144.0 * k) * std::numbers::pi / 180.0;
        star.push_back({ int(std::lround(40 + 30 * std::cos(a))), int(std::lround(40 + 30 * std::sin(a))) });
    }
    const TCellMask area = PolygonMask(star);
    EXPECT_FALSE(area.Contains({ 40, 40 }));
    EXPECT_TRUE(area.Contains({ 40, 15 })); // inside the top point
    TCellList outline;
    for (std::size_t i = 0; i < star.size(); ++i)
        RasterizeLine(star[i], star[(i + 1) % star.size()], 1, outline);
    for (const TPoint &c : outline)
        EXPECT_TRUE(area.Contains(c)); // the outline belongs to the area

    // Two points or one: just the line or the cell; none: nothing.
    EXPECT_EQ(PolygonMask({ { 0, 0 }, { 4, 0 } }).CellCount(), 5);
    EXPECT_EQ(PolygonMask({ { 3, 3 } }).CellCount(), 1);
    EXPECT_TRUE(PolygonMask({}).IsEmpty());
}

TEST(ScanConvert, CellMaskJoinsSpansAndBecomesARegion)
{
    const TCellMask mask
        = TCellMask::FromSpans({ { 1, 5, 7 }, { 0, 0, 2 }, { 1, 0, 3 }, { 1, 4, 4 }, { 0, 9, 8 } });
    EXPECT_EQ(mask.Spans(), (std::vector<TCellSpan> { { 0, 0, 2 }, { 1, 0, 7 } }));
    EXPECT_EQ(mask.CellCount(), 11);
    const QRegion region = mask.ToRegion();
    EXPECT_EQ(region.boundingRect(), QRect(0, 0, 8, 2));
    EXPECT_TRUE(region.contains(QPoint(7, 1)));
    EXPECT_FALSE(region.contains(QPoint(3, 0)));
    EXPECT_TRUE(TCellMask().ToRegion().isEmpty());
}
