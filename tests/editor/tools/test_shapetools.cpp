// The shape tools' cells and commits: each commit writes exactly the pen index and only
// where its cells say, the curve follows its control points by the settled rule, the
// concentric rings follow the cloth's densities, the quadrilateral orders its corners,
// and the binding-point stroke keeps one cell per column.
#include "editor/tools/concentrictool.h"
#include "editor/tools/curvetool.h"
#include "editor/tools/ellipsetool.h"
#include "editor/tools/freehandtool.h"
#include "editor/tools/polylinetool.h"
#include "editor/tools/rectangletool.h"
#include "editor/tools/scanconvert.h"
#include "editor/tools/straightlinetool.h"

#include "core/picture/picturecells.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <utility>

namespace {

constexpr std::uint8_t RedFirst = 3, RedAgain = 9;

// Every entry white but 3 and 9, which are the same red: a commit in index 9 must write 9,
// not the first red.
QImage pictureWithDuplicateRed(int w, int h)
{
    TPalette256 pal {};
    for (int i = 0; i < 256; ++i)
        pal[i] = { 255, 255, 255, 0 };
    pal[RedFirst] = { 255, 0, 0, 0 };
    pal[RedAgain] = { 255, 0, 0, 0 };
    QImage img = NewPicture(w, h, pal);
    img.fill(0);
    return img;
}

std::set<std::pair<int, int>> changedCells(const QImage &img)
{
    std::set<std::pair<int, int>> cells;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelIndex(x, y) != 0)
                cells.insert({ x, y });
    return cells;
}

std::set<std::pair<int, int>> asSet(const TCellList &cells)
{
    std::set<std::pair<int, int>> s;
    for (const TPoint &p : cells)
        s.insert({ p.X, p.Y });
    return s;
}

void prepare(TCustomLine &tool, QImage &picture, int horz, int vert, TBrushStyle brush)
{
    tool.SetPictureCanvas(&picture);
    tool.SetPenIndex(RedAgain);
    tool.SetPenStyle(0x0000FF, 0x0000FF, vert, horz, 1, brush, TPenStyle::Solid, TPenMode::Copy);
    tool.SetMode(TDrawMode::Selected);
    tool.SetAutoClear(false);
}

} // namespace

TEST(ShapeTools, CommitsWriteExactlyThePenIndex)
{
    struct Case {
        const char *what;
        std::function<std::unique_ptr<TCustomLine>()> make;
        std::vector<TPoint> points;
        int horz, vert;
        TBrushStyle brush;
        // The cells the commit must write (clipped to the picture), from the tool itself.
        std::function<TCellList(const TCustomLine &)> expected;
    };
    const auto ownCells = [](const TCustomLine &t) { return t.Cells(); };
    const Case cases[] = {
        { "rectangle", [] { return std::make_unique<TRectangleLine>(); }, { { 2, 3 }, { 20, 12 } }, 3, 2,
            TBrushStyle::Clear,
            [](const TCustomLine &t) {
                TCellList c;
                std::vector<TPoint> p;
                t.GetPoints(p);
                RasterizeRectangle(p[0], p[1], 3, 2, c, false);
                return c;
            } },
        { "filled rectangle", [] { return std::make_unique<TRectangleLine>(); }, { { 20, 12 }, { 2, 3 } }, 1,
            1, TBrushStyle::Solid, [](const TCustomLine &t) { return t.CreateRegion().Cells(); } },
        { "ellipse", [] { return std::make_unique<TCircleLine>(); }, { { 1, 1 }, { 25, 14 } }, 2, 3,
            TBrushStyle::Clear, ownCells },
        { "filled ellipse", [] { return std::make_unique<TCircleLine>(); }, { { 1, 1 }, { 25, 14 } }, 1, 1,
            TBrushStyle::Solid,
            [](const TCustomLine &) {
                return EllipseMask({ 1, 1 }, { 25, 14 }).Cells();
            } },
        { "straight line", [] { return std::make_unique<TBeeLine>(); }, { { 0, 0 }, { 18, 13 } }, 2, 3,
            TBrushStyle::Clear,
            [](const TCustomLine &) {
                TCellList c;
                ThickLine({ 0, 0 }, { 18, 13 }, 2, 3, c, false);
                return c;
            } },
        { "polyline", [] { return std::make_unique<TBreakLine>(); }, { { 2, 2 }, { 12, 2 }, { 12, 9 } }, 3, 1,
            TBrushStyle::Clear,
            [](const TCustomLine &t) {
                TCellList c;
                for (const TPoint &p : t.Cells())
                    StampBlock(p, 3, 1, c);
                return c;
            } },
        { "concentric rings", [] { return std::make_unique<TConcentricCircle>(); },
            { { 14, 9 }, { 20, 9 }, { 14, 12 } }, 1, 1, TBrushStyle::Clear, ownCells },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QImage picture = pictureWithDuplicateRed(30, 20);
        auto tool = c.make();
        prepare(*tool, picture, c.horz, c.vert, c.brush);
        for (TPoint p : c.points)
            tool->AddPoint(p);
        TRect update;
        ASSERT_TRUE(tool->GetUpdateRect(update));
        std::set<std::pair<int, int>> expected;
        for (const TPoint &p : c.expected(*tool))
            if (p.X >= 0 && p.Y >= 0 && p.X < 30 && p.Y < 20)
                expected.insert({ p.X, p.Y });
        tool->Finish();
        const auto changed = changedCells(picture);
        EXPECT_FALSE(changed.empty());
        EXPECT_EQ(changed, expected);
        for (const auto &[x, y] : changed) {
            EXPECT_EQ(picture.pixelIndex(x, y), RedAgain);
            EXPECT_TRUE(x >= update.Left && x <= update.Right && y >= update.Top && y <= update.Bottom);
        }
    }
}

TEST(ShapeTools, EllipseRingIsTwoOutlines)
{
    TCircleLine ring;
    ring.SetRing(true);
    ring.SetPenStyle(0, 0, 1, 2, 1, TBrushStyle::Clear, TPenStyle::Solid, TPenMode::Copy);
    ring.AddPoint({ 0, 0 });
    ring.AddPoint({ 20, 12 });
    // Inset by the extents plus one: 3 across, 2 down.
    TCellList expect;
    EllipseOutline({ 0, 0 }, { 20, 12 }, expect);
    EllipseOutline({ 3, 2 }, { 17, 10 }, expect);
    EXPECT_EQ(ring.Cells(), expect);
    // Too small for an inner ellipse: the outer one alone.
    ring.AddPoint({ 4, 12 });
    expect.clear();
    EllipseOutline({ 0, 0 }, { 4, 12 }, expect);
    EXPECT_EQ(ring.Cells(), expect);
}

TEST(ShapeTools, FilledShapesPaintTheirArea)
{
    // A filled polyline: the cells of the closed polygon, outline included.
    QImage picture = pictureWithDuplicateRed(20, 20);
    TBreakLine poly;
    prepare(poly, picture, 1, 1, TBrushStyle::Solid);
    poly.SetFilled(true);
    for (TPoint p : { TPoint { 1, 1 }, TPoint { 15, 1 }, TPoint { 1, 15 } })
        poly.AddPoint(p);
    poly.Finish();
    EXPECT_EQ(changedCells(picture), asSet(PolygonMask({ { 1, 1 }, { 15, 1 }, { 1, 15 } }).Cells()));

    // A quadrilateral takes four corners in any order and fills them.
    QImage quadPicture = pictureWithDuplicateRed(20, 20);
    TBreakLine quad;
    prepare(quad, quadPicture, 1, 1, TBrushStyle::Solid);
    quad.SetQuadrilateral(true);
    for (TPoint p :
        { TPoint { 12, 2 }, TPoint { 2, 12 }, TPoint { 12, 12 }, TPoint { 2, 2 }, TPoint { 19, 19 } })
        quad.AddPoint(p);
    std::vector<TPoint> corners;
    quad.GetPoints(corners);
    EXPECT_EQ(corners, (std::vector<TPoint> { { 2, 2 }, { 12, 2 }, { 12, 12 }, { 2, 12 } })); // fifth refused
    quad.Finish();
    EXPECT_EQ(changedCells(quadPicture).size(), 121u);
}

TEST(ShapeTools, CurveFollowsTheSettledRule)
{
    // Two control points: one knot span of 30 steps, 31 points 2 cells apart.
    TCurveLine line;
    line.AddPoint({ 0, 0 });
    line.AddPoint({ 60, 0 });
    TCellList cells = line.Cells();
    ASSERT_EQ(cells.size(), 31u);
    for (std::size_t i = 0; i < cells.size(); ++i)
        EXPECT_EQ(cells[i], (TPoint { int(2 * i), 0 }));
    // Five: a cubic over two spans, 61 points from the first to the last control point.
    TCurveLine cubic;
    for (int i = 0; i < 5; ++i)
        cubic.AddPoint({ 60 * i, 0 });
    cells = cubic.Cells();
    ASSERT_EQ(cells.size(), 61u);
    EXPECT_EQ(cells.front(), (TPoint { 0, 0 }));
    EXPECT_EQ(cells.back(), (TPoint { 240, 0 }));
    for (std::size_t i = 1; i < cells.size(); ++i)
        EXPECT_GT(cells[i].X, cells[i - 1].X);

    // A corner between curve vertices ends one curve and starts the next on itself.
    TCurveLine cornered;
    cornered.AddPoint({ 0, 0 });
    cornered.AddPoint({ 10, 10 });
    cornered.SetVisible(true); // the last vertex is a corner
    cornered.AddPoint({ 20, 0 });
    cells = cornered.Cells();
    EXPECT_EQ(cells.front(), (TPoint { 0, 0 }));
    EXPECT_EQ(cells.back(), (TPoint { 20, 0 }));
    EXPECT_NE(std::find(cells.begin(), cells.end(), TPoint { 10, 10 }), cells.end());
    for (std::size_t i = 1; i < cells.size(); ++i)
        EXPECT_NE(cells[i], cells[i - 1]);

    // A point on the last vertex's cell is taken back; no vertices, no cells.
    cornered.AddPoint({ 20, 0 });
    EXPECT_EQ(cornered.GetPointCount(), 3);
    EXPECT_TRUE(TCurveLine().Cells().empty());

    // The commit joins the cells and stamps them: a gap-free stroke.
    QImage picture = pictureWithDuplicateRed(70, 5);
    prepare(line, picture, 1, 2, TBrushStyle::Clear);
    line.Finish();
    EXPECT_EQ(changedCells(picture).size(), 61u * 2);
}

TEST(ShapeTools, ConcentricRingsFollowTheDensities)
{
    struct Case {
        double warp, weft;
        TPoint vertex;
        int rx, ry;
    } cases[] = {
        { 120, 60, { 14, 10 }, 4, 2 }, // ry = Trunc(2 + 0.5), rx = Trunc(4 + 0.5)
        { 120, 60, { 10, 13 }, 6, 3 },
        { 120, 60, { 13, 14 }, 8, 4 }, // ry = Trunc(sqrt(9 / 4 + 16) + 0.5) = 4, rx = Trunc(8.5)
        { 120, 0, { 14, 10 }, 4, 4 }, // no weft density: a square cloth
        { 0, 60, { 13, 14 }, 5, 5 },
    };
    for (const Case &c : cases) {
        TConcentricCircle tool;
        tool.SetDensities(c.warp, c.weft);
        tool.AddPoint({ 10, 10 });
        tool.AddPoint(c.vertex);
        int rx = 0, ry = 0;
        tool.RingRadii(1, false, rx, ry);
        EXPECT_EQ(rx, c.rx) << c.warp << '/' << c.weft;
        EXPECT_EQ(ry, c.ry) << c.warp << '/' << c.weft;
        EXPECT_EQ(tool.RingBox(1), (TRect { 10 - c.rx, 10 - c.ry, 10 + c.rx, 10 + c.ry }));
        EXPECT_EQ(tool.CreateRegion().Bounds(), tool.RingBox(1));
    }
}

TEST(ShapeTools, BindingPointStrokeKeepsOneCellPerColumn)
{
    // Even shift: one cell per column, those with even X + Y moved down.
    TFreeLine even;
    even.SetBindingPoints({ false, true, false, false, true });
    for (TPoint p : { TPoint { 0, 0 }, TPoint { 4, 0 }, TPoint { 0, 0 } })
        even.AddPoint(p);
    EXPECT_EQ(even.Cells(), (TCellList { { 0, 1 }, { 1, 0 }, { 2, 1 }, { 3, 0 }, { 4, 1 } }));

    // Horizontal: one cell per row, moved right.
    TFreeLine rows;
    rows.SetBindingPoints({ false, true, false, true, false });
    rows.AddPoint({ 0, 0 });
    rows.AddPoint({ 0, 3 });
    EXPECT_EQ(rows.Cells(), (TCellList { { 1, 0 }, { 0, 1 }, { 1, 2 }, { 0, 3 } }));

    // Odd shift with gap fill: columns skipped on the way back are filled, the first half
    // on the first cell's row, the rest on the second's; each cell is set on its own.
    QImage picture = pictureWithDuplicateRed(10, 10);
    TFreeLine odd;
    prepare(odd, picture, 1, 1, TBrushStyle::Clear);
    odd.SetBindingPoints({ true, false, true, false, true });
    for (TPoint p : { TPoint { 3, 0 }, TPoint { 5, 0 }, TPoint { 0, 4 } })
        odd.AddPoint(p);
    odd.Finish();
    const TCellList expect { { 3, 1 }, { 4, 0 }, { 5, 1 }, { 4, 1 }, { 3, 4 }, { 2, 4 }, { 1, 5 }, { 0, 4 } };
    EXPECT_EQ(odd.Cells(), expect);
    EXPECT_EQ(changedCells(picture), asSet(expect));
    EXPECT_EQ(odd.PenMode(), TPenMode::Copy);

    // Without the flags every cell is stamped with the pen block.
    TFreeLine plain;
    plain.SetHorzWidth(3);
    plain.AddPoint({ 5, 5 });
    plain.AddPoint({ 6, 5 });
    EXPECT_EQ(plain.Cells(), (TCellList { { 4, 5 }, { 5, 5 }, { 6, 5 }, { 5, 5 }, { 6, 5 }, { 7, 5 } }));
}

TEST(ShapeTools, StraightLineKeepsCancelledSegments)
{
    TBeeLine line;
    line.SetMode(TDrawMode::New);
    line.AddPoint({ 1, 2 });
    line.AddPoint({ 8, 4 });
    EXPECT_EQ(line.Cells().size(), 8u);
    line.Cancel();
    ASSERT_EQ(line.SegmentCount(), 1);
    EXPECT_EQ(line.Segments()[0], std::make_pair(TPoint { 1, 2 }, TPoint { 8, 4 }));
    EXPECT_EQ(line.GetPointCount(), 0);
    line.Cancel(); // nothing to keep
    EXPECT_EQ(line.SegmentCount(), 1);
}

// A locked rectangle (a selection, a repeat unit's outline) works out only the part of its
// outline that reaches the screen; the screen must come out as if the whole outline had
// been painted, at reduced scales too, whatever part of the shape is in view.
TEST(RectangleTool, LockedOutlinePaintsAsTheWholeOutline)
{
    struct Case {
        double scale;
        TPoint origin;
    } cases[] = { { 1.0, { 0, 0 } }, { 1.0, { -3, -4 } }, { 1.0, { -990, -2 } }, { 0.5, { 2, 1 } },
        { 0.3, { -290, -3 } }, { 0.1, { -95, -95 } }, { 0.1, { 0, -10 } }, { 0.7, { -500, -500 } },
        { 0.3, { -1, -1 } } };
    const TPoint a { 2, 2 }, b { 1000, 1200 };
    for (const Case &c : cases) {
        SCOPED_TRACE(
            testing::Message() << "scale " << c.scale << " origin " << c.origin.X << "," << c.origin.Y);
        TRectangleLine tool;
        tool.SetLocked(true);
        tool.SetScaleX(1.0);
        tool.SetScaleY(1.0);
        tool.AddPoint(a);
        tool.AddPoint(b);
        tool.SetScaleX(c.scale);
        tool.SetScaleY(c.scale);
        tool.SetMode(TDrawMode::Ready);
        tool.SetPreviewOrigin(c.origin);

        QImage painted(40, 30, QImage::Format_RGB32);
        painted.fill(qRgb(90, 90, 90));
        QImage whole = painted;
        tool.PaintShape(painted);
        TCellList outline;
        RectangleOutline(a, b, outline, false);
        PaintDottedCells(whole, TCellMask::FromCells(outline), { c.scale, c.scale, c.origin });
        EXPECT_EQ(painted, whole);
    }
}
