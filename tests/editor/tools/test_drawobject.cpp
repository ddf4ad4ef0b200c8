// The drawing-tool framework: classes by name, screen and cell conversion, vertex editing
// and hit tests, the end of a shape with its events, update rectangles, copies for the
// undo store, and the screen preview and markers.
#include "editor/tools/areatool.h"
#include "editor/tools/bandtool.h"
#include "editor/tools/curvetool.h"
#include "editor/tools/drawtoolregistry.h"
#include "editor/tools/ellipsetool.h"
#include "editor/tools/polylinetool.h"
#include "editor/tools/rectangletool.h"

#include "core/picture/picturecells.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <cmath>

namespace {

std::vector<TPoint> points(const TCustomLine &tool)
{
    std::vector<TPoint> p;
    tool.GetPoints(p);
    return p;
}

// Counts a tool's events, in the order they came.
struct TEventLog {
    QStringList events;
    void attach(TDrawObject &tool)
    {
        tool.SetOnChange([this](TDrawObject &) { events << "change"; });
        tool.SetOnFinish([this](TDrawObject &) { events << "finish"; });
        tool.SetOnRefresh([this](TDrawObject &) { events << "refresh"; });
    }
};

QImage whitePicture(int w, int h)
{
    TPalette256 pal {};
    for (int i = 0; i < 256; ++i)
        pal[i] = { 255, 255, 255, 0 };
    QImage img = NewPicture(w, h, pal);
    img.fill(0);
    return img;
}

} // namespace

TEST(DrawObject, ClassesByNameAndByTool)
{
    const QStringList names { "TDrawObject", "TCustomPoint", "TCustomLine", "TCurveLine", "TRectangleLine",
        "TFreeLine", "TBreakLine", "TCircleLine", "TFullLine", "TBeeLine", "TDefineArea", "TRevise",
        "TConcentricCircle", "TConcentricRectangle" };
    EXPECT_EQ(RegisteredDrawObjectClasses(), names);
    for (const QString &name : names) {
        const auto tool = CreateDrawObjectOfClass(name);
        ASSERT_TRUE(tool) << name.toStdString();
        EXPECT_EQ(QString::fromLatin1(tool->ClassName()), name);
    }
    EXPECT_FALSE(CreateDrawObjectOfClass("TBmp"));

    const QString byTool[] = { "TRectangleLine", "TCircleLine", "TFullLine", "TFullLine", "TFreeLine",
        "TBreakLine", "TCurveLine", "TRectangleLine", "", "TCurveLine", "TBeeLine", "TFreeLine", "", "", "",
        "", "", "TRectangleLine", "TRectangleLine", "TCircleLine", "TCircleLine", "TBreakLine", "TCurveLine",
        "", "", "TFreeLine", "TCurveLine", "TCurveLine", "TBreakLine", "", "", "", "", "TBreakLine",
        "TRectangleLine", "TCircleLine", "TFreeLine", "TFreeLine", "TConcentricCircle", "", "", "", "", "",
        "", "" };
    static_assert(std::size(byTool) == MaxToolId + 1);
    for (int id = 0; id <= MaxToolId; ++id)
        EXPECT_EQ(DrawObjectClassForTool(TToolId(id)), byTool[id]) << id;
}

TEST(DrawObject, ScreenPointsBecomeCellsHalvesToEven)
{
    struct Case {
        double scale;
        int screen, cell;
    } cases[] = {
        { 0.4, 1, 2 }, // 2.5 -> 2
        { 0.4, 3, 8 }, // 7.5 -> 8
        { 0.4, 5, 12 }, // 12.5 -> 12
        { 0.5, 1, 2 },
        { 0.5, 3, 6 },
        { 1.0, 7, 7 },
    };
    for (const Case &c : cases) {
        TBreakLine tool;
        tool.SetScaleX(c.scale);
        tool.SetScaleY(c.scale);
        tool.AddPoint({ c.screen, c.screen });
        EXPECT_EQ(points(tool), (std::vector<TPoint> { { c.cell, c.cell } })) << c.scale << ' ' << c.screen;
        // And back, for the preview: 2 x 0.4 = 0.8 -> 1.
        EXPECT_EQ(tool.CellToScreen({ c.cell, 0 }).X, int(std::nearbyint(c.cell * c.scale)));
    }
}

TEST(DrawObject, VertexHitsWithinThreeCells)
{
    TBreakLine tool;
    tool.AddPoint({ 5, 5 });
    tool.AddPoint({ 20, 5 });
    // 2 columns and 2 rows away: 2.83 cells, a hit that takes the vertex.
    EXPECT_TRUE(tool.HitVertex({ 7, 7 }, true));
    EXPECT_EQ(tool.HitState(), THitState::Vertex);
    EXPECT_TRUE(tool.Vertex(0).Selected());
    EXPECT_FALSE(tool.Vertex(1).Selected());
    tool.MoveToPoint({ 9, 6 });
    EXPECT_EQ(points(tool), (std::vector<TPoint> { { 9, 6 }, { 20, 5 } }));
    // 3 columns away in the same row: 3.0 cells, a miss that lets the vertex go.
    EXPECT_FALSE(tool.HitVertex({ 23, 5 }, true));
    EXPECT_EQ(tool.HitState(), THitState::Nothing);
    EXPECT_FALSE(tool.Vertex(0).Selected());
}

TEST(DrawObject, ShapesArePickedUpAndDragged)
{
    TRectangleLine rect;
    rect.AddPoint({ 2, 2 });
    rect.AddPoint({ 6, 5 });
    EXPECT_FALSE(rect.HitTest({ 7, 5 }, true));
    EXPECT_EQ(rect.HitState(), THitState::Nothing);
    EXPECT_TRUE(rect.HitTest({ 6, 5 }, true)); // the corner cells are part of it
    EXPECT_EQ(rect.HitState(), THitState::Shape);
    EXPECT_TRUE(rect.Selected());
    rect.MoveToPoint({ 8, 4 });
    EXPECT_EQ(points(rect), (std::vector<TPoint> { { 4, 1 }, { 8, 4 } }));

    // An ellipse is hit inside the ellipse, not in the corners of its box.
    TCircleLine ellipse;
    ellipse.AddPoint({ 0, 0 });
    ellipse.AddPoint({ 10, 6 });
    EXPECT_TRUE(ellipse.HitTest({ 5, 3 }, true));
    EXPECT_FALSE(ellipse.HitTest({ 0, 0 }, true));
    EXPECT_FALSE(ellipse.Selected());

    // A vertical band keeps to moving across.
    TFullLine band;
    band.SetVertical(true);
    band.AddPoint({ 3, 0 });
    band.AddPoint({ 3, 9 });
    EXPECT_TRUE(band.HitTest({ 3, 40 }, true));
    EXPECT_FALSE(band.HitTest({ 4, 4 }, false));
    band.HitTest({ 3, 4 }, true);
    band.MoveToPoint({ 6, 8 });
    EXPECT_EQ(points(band), (std::vector<TPoint> { { 6, 0 }, { 6, 9 } }));
}

TEST(DrawObject, InsertPointPositionsAndRefusals)
{
    TBreakLine tool;
    for (TPoint p : { TPoint { 0, 0 }, TPoint { 5, 0 }, TPoint { 10, 0 } })
        tool.AddPoint(p);
    tool.InsertPoint(100, { 3, 3 }); // past the end: before the last vertex
    EXPECT_EQ(points(tool), (std::vector<TPoint> { { 0, 0 }, { 5, 0 }, { 3, 3 }, { 10, 0 } }));
    tool.InsertPoint(1, { 5, 0 }); // already a vertex
    tool.InsertPoint(-1, { 7, 7 }); // no such place
    EXPECT_EQ(tool.GetPointCount(), 4);
    tool.InsertPoint(0, { 1, 1 });
    EXPECT_EQ(points(tool).front(), (TPoint { 1, 1 }));

    // The curve inserts the middle of its first two vertices, whatever point it is given,
    // and shows its marker; with fewer than two vertices it does nothing.
    TCurveLine curve;
    curve.InsertPoint(0, { 4, 4 });
    curve.AddPoint({ 0, 0 });
    curve.InsertPoint(0, { 4, 4 });
    EXPECT_EQ(curve.GetPointCount(), 1);
    curve.AddPoint({ 10, 5 });
    curve.InsertPoint(1, { 99, 99 });
    EXPECT_EQ(points(curve), (std::vector<TPoint> { { 0, 0 }, { 5, 2 }, { 10, 5 } })); // 2.5 -> 2
    EXPECT_TRUE(curve.Vertex(1).ShowMarker());
}

TEST(DrawObject, RectangleKeepsTwoVertices)
{
    TRectangleLine rect;
    TEventLog log;
    log.attach(rect);
    rect.AddPoint({ 0, 0 });
    rect.AddPoint({ 0, 0 }); // equal vertices: no shape yet, no change reported
    EXPECT_TRUE(log.events.isEmpty());
    rect.AddPoint({ 5, 5 });
    rect.AddPoint({ 7, 3 });
    EXPECT_EQ(points(rect), (std::vector<TPoint> { { 0, 0 }, { 7, 3 } }));
    EXPECT_EQ(log.events, (QStringList { "change", "change" }));
}

TEST(DrawObject, DeletingTheLastVertexEndsTheShapeWithoutDrawing)
{
    QImage picture = whitePicture(8, 8);
    const QImage before = picture.copy();
    TBreakLine tool;
    tool.SetPictureCanvas(&picture);
    tool.SetPenIndex(5);
    tool.SetMode(TDrawMode::New);
    tool.AddPoint({ 2, 2 });
    TEventLog log;
    log.attach(tool);
    tool.DeleteLastPoint();
    EXPECT_EQ(tool.Mode(), TDrawMode::Ready);
    EXPECT_EQ(tool.GetPointCount(), 0);
    EXPECT_EQ(log.events, (QStringList { "refresh", "finish" }));
    EXPECT_EQ(picture, before);

    // A locked tool (a selection) also stops showing markers and counts as started.
    TBreakLine selection;
    selection.SetLocked(true);
    selection.AddPoint({ 1, 1 });
    selection.DeleteLastPoint();
    EXPECT_EQ(selection.Started(), 1);
    EXPECT_FALSE(selection.ShowMarker());
}

TEST(DrawObject, FinishCommitsThenEndsTheShape)
{
    QImage picture = whitePicture(10, 10);
    TBreakLine tool;
    tool.SetPictureCanvas(&picture);
    tool.SetPenIndex(3);
    TEventLog log;
    TLineArray reported;
    tool.AddPoint({ 1, 1 });
    tool.AddPoint({ 4, 1 });
    log.attach(tool);
    // The grid reads the cells when the shape ends, before they are cleared.
    tool.SetOnFinish([&](TDrawObject &t) {
        log.events << "finish";
        t.GetCellPath(reported);
    });
    tool.Finish();
    EXPECT_EQ(log.events, (QStringList { "change", "finish", "refresh" }));
    EXPECT_EQ(reported.size(), 4);
    EXPECT_EQ(picture.pixelIndex(1, 1), 3);
    EXPECT_EQ(picture.pixelIndex(4, 1), 3);
    EXPECT_EQ(tool.GetPointCount(), 0); // AutoClear
    EXPECT_EQ(tool.Mode(), TDrawMode::Idle);
    EXPECT_TRUE(tool.ShowMarker());

    // Without AutoClear the shape stays; a locked tool writes nothing into the picture.
    QImage untouched = whitePicture(10, 10);
    TBreakLine selection;
    selection.SetPictureCanvas(&untouched);
    selection.SetLocked(true);
    selection.SetAutoClear(false);
    selection.AddPoint({ 1, 1 });
    selection.AddPoint({ 4, 4 });
    selection.Finish();
    EXPECT_EQ(selection.GetPointCount(), 2);
    EXPECT_EQ(untouched, whitePicture(10, 10));

    // A selection made ready (mode 6, as the grid leaves it) still commits nothing, while
    // an unlocked ready shape (the clear-mottle tools) does.
    TRectangleLine region, ready;
    for (TRectangleLine *r : { &region, &ready }) {
        r->SetPictureCanvas(&untouched);
        r->SetPenIndex(4);
        r->AddPoint({ 1, 1 });
        r->AddPoint({ 3, 3 });
        r->SetMode(TDrawMode::Ready);
    }
    region.SetLocked(true);
    region.Finish();
    EXPECT_EQ(untouched, whitePicture(10, 10));
    ready.Finish();
    EXPECT_EQ(untouched.pixelIndex(2, 2), 4);
}

TEST(DrawObject, UpdateRectGrowsByThePenAndStopsAtZero)
{
    TBreakLine tool;
    tool.SetHorzWidth(5);
    tool.SetVertWidth(3);
    tool.AddPoint({ 1, 1 });
    tool.AddPoint({ 10, 6 });
    TRect r;
    ASSERT_TRUE(tool.GetUpdateRect(r));
    // 5 div 2 + 2 = 4 across, 3 div 2 + 2 = 3 down; the left and top stop at 0.
    EXPECT_EQ(r, (TRect { 0, 0, 14, 9 }));
    TRect bounds;
    tool.GetBounds(bounds);
    EXPECT_EQ(bounds, (TRect { 1, 1, 10, 6 }));
    EXPECT_EQ(tool.GetOrigin(), (TPoint { 1, 1 }));
    TBreakLine empty;
    EXPECT_FALSE(empty.GetUpdateRect(r));
    EXPECT_EQ(empty.GetOrigin(), (TPoint { -1, -1 }));
}

TEST(DrawObject, CopiesForTheUndoStore)
{
    TBreakLine tool;
    tool.SetQuadrilateral(true);
    tool.SetHorzWidth(3);
    tool.SetPenIndex(17);
    tool.SetMode(TDrawMode::Selected);
    tool.AddPoint({ 0, 0 });
    tool.AddPoint({ 6, 2 });
    tool.SetVisible(true);
    const std::unique_ptr<TDrawObject> copy = tool.Clone();
    ASSERT_TRUE(copy);
    auto &line = dynamic_cast<TBreakLine &>(*copy);
    EXPECT_EQ(points(line), points(tool));
    EXPECT_EQ(line.Cells(), tool.Cells());
    EXPECT_EQ(line.HorzWidth(), 3);
    EXPECT_EQ(line.PenIndex(), 17);
    EXPECT_EQ(line.Mode(), TDrawMode::Selected);
    EXPECT_TRUE(line.Quadrilateral());
    EXPECT_TRUE(line.GetVisible());
    line.AddPoint({ 9, 9 });
    EXPECT_EQ(tool.GetPointCount(), 2); // the copy stands on its own

    TDefineArea area;
    area.SetRegion(TCellMask::FromRect({ 1, 1 }, { 2, 2 }));
    EXPECT_EQ(area.Clone()->CreateRegion().CellCount(), 4);
}

TEST(DrawObject, PreviewAndMarkersUndoThemselves)
{
    QImage screen(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x)
            screen.setPixel(x, y, qRgb(x * 6, y * 8, (x * y) & 255));
    const QImage before = screen.copy();
    TRectangleLine rect;
    rect.SetPreviewCanvas(&screen);
    rect.SetTarget(&screen);
    rect.SetScaleX(2.0);
    rect.SetScaleY(2.0);
    rect.SetMode(TDrawMode::New);
    rect.SetPenStyle(0, 0, 1, 1, 1, TBrushStyle::Clear, TPenStyle::Solid, TPenMode::NotXor);
    rect.AddPoint({ 2, 2 });
    rect.AddPoint({ 30, 20 });
    rect.Draw();
    EXPECT_NE(screen, before);
    EXPECT_NE(screen.pixel(2, 2), before.pixel(2, 2)); // cell (1, 1) at scale 2
    rect.Draw();
    EXPECT_EQ(screen, before);

    // Markers alone: a plus sign drawn twice leaves the screen as it was.
    TCustomPoint vertex;
    vertex.SetTarget(&screen);
    vertex.SetPoint({ 10, 10 });
    vertex.Draw();
    EXPECT_NE(screen.pixel(10, 4), before.pixel(10, 4));
    EXPECT_EQ(screen.pixel(10, 10), before.pixel(10, 10)); // the centre is left alone
    vertex.Draw();
    EXPECT_EQ(screen, before);

    // Through the grid the marker sits at the middle of the cell on screen, and a cell out
    // of view gets none. 7-pixel cells and 1-pixel lines: cell 2 starts at pixel 16.
    TIDrawGridLayout grid;
    grid.SetClientSize(40, 30);
    grid.SetColCount(100);
    grid.SetRowCount(100);
    vertex.SetGrid(&grid);
    vertex.SetPoint({ 2, 1 });
    TPoint centre;
    ASSERT_TRUE(vertex.MarkerCentre(centre));
    EXPECT_EQ(centre, (TPoint { 19, 11 }));
    // Below level 9 the grid shows reduced cells: at a quarter scale the vertex at picture
    // cell (8, 4) sits on the grid's cell (2, 1).
    vertex.SetScaleX(0.25);
    vertex.SetScaleY(0.25);
    vertex.SetPoint({ 8, 4 });
    ASSERT_TRUE(vertex.MarkerCentre(centre));
    EXPECT_EQ(centre, (TPoint { 19, 11 }));
    vertex.SetScaleX(1.0);
    vertex.SetScaleY(1.0);
    vertex.SetPoint({ 50, 1 });
    EXPECT_FALSE(vertex.MarkerCentre(centre));
    vertex.Draw();
    EXPECT_EQ(screen, before);

    // In idle mode nothing is previewed.
    rect.SetMode(TDrawMode::Idle);
    rect.SetShowMarker(false);
    rect.Draw();
    EXPECT_EQ(screen, before);
}
