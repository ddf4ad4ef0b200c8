// Shapes typed as numbers: the cells each typed value names, and the shape placed in the
// grid's tool, waiting to be confirmed, as if it had been drawn.
#include "editor/numericshapes.h"

#include "editor/floatingpicture.h"
#include "editor/gridclipboard.h"
#include "editor/tools/customline.h"
#include "editor/tools/tooltable.h"
#include "patterngridfixture.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QMimeData>
#include <QRegion>

#include <functional>

namespace {

using T = TToolId;

TRectangleInfo corners(int lx, int ly, int rx, int ry)
{
    TRectangleInfo r;
    r.LeftBottomX = lx;
    r.LeftBottomY = ly;
    r.RightTopX = rx;
    r.RightTopY = ry;
    return r;
}

TRectangleInfo sized(int lx, int ly, int w, int h)
{
    TRectangleInfo r = corners(lx, ly, 1, 1);
    r.IsSetWidthAndHeight = true;
    r.Width = w;
    r.Height = h;
    return r;
}

class NumericShapes : public TPatternGridFixture {
protected:
    TPatternGrid grid;
    void SetUp() override
    {
        TPatternGridFixture::SetUp();
        QImage picture = NewPicture(20, 100, GreyPalette());
        picture.fill(200);
        show(grid, picture);
        grid.SetForeColorIndex(7);
        grid.SetBackColorIndex(200);
    }
    std::vector<TPoint> vertices(const TCustomLine &shape) const
    {
        std::vector<TPoint> points;
        for (int i = 0; i < shape.GetPointCount(); ++i)
            points.push_back(shape.Vertex(i).Point());
        return points;
    }
};

} // namespace

TEST(NumericShapeCells, TypedValuesNameTheseCells)
{
    struct Case {
        const char *what;
        TCellPair got, want;
    };
    TCircleInfo centre;
    centre.IsSetOutRectangle = false;
    centre.CenterPointX = 10;
    centre.CenterPointY = 10;
    centre.Radius = 3;
    TCircleInfo outRect;
    outRect.IsSetOutRectangle = true;
    outRect.LeftBottomX = 12;
    outRect.LeftBottomY = 8;
    outRect.RightTopX = 5;
    outRect.RightTopY = 1;
    TBeeLineInfo line { 1, 1, 1, 200 };
    const Case cases[] = {
        { "line bottom to top of 200 rows", BeeLineCells(line, 200), { { 0, 199 }, { 0, 0 } } },
        { "rectangle by width and height", RectangleCells(sized(5, 1, 8, 8), 100),
            { { 4, 92 }, { 11, 99 } } },
        { "rectangle by corners", RectangleCells(corners(5, 1, 12, 8), 100), { { 4, 92 }, { 11, 99 } } },
        { "rectangle by swapped corners", RectangleCells(corners(12, 8, 5, 1), 100),
            { { 4, 92 }, { 11, 99 } } },
        { "rectangle by crossed corners", RectangleCells(corners(5, 8, 12, 1), 100),
            { { 4, 92 }, { 11, 99 } } },
        { "one-cell rectangle", RectangleCells(corners(3, 3, 3, 3), 10), { { 2, 7 }, { 2, 7 } } },
        { "circle by centre and radius", CircleCells(centre, 50), { { 6, 37 }, { 12, 43 } } },
        { "circle in swapped corners", CircleCells(outRect, 100), { { 4, 92 }, { 11, 99 } } },
        // Beyond the picture: left to the tool's cell collector, which clips on commit.
        { "rectangle past the top", RectangleCells(sized(1, 5, 2, 10), 8), { { 0, -6 }, { 1, 3 } } },
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.got, c.want) << c.what;

    TCircleInfo filled = centre;
    filled.IsFilled = true;
    TCircleInfo area = filled;
    area.IsDefineArea = true;
    EXPECT_EQ(CircleToolOf(centre), T::Circle);
    EXPECT_EQ(CircleToolOf(filled), T::FilledCircle);
    EXPECT_EQ(CircleToolOf(area), T::DefineCircle);
    TRectangleInfo rect = corners(1, 1, 2, 2);
    EXPECT_EQ(RectangleToolOf(rect), T::Rectangle);
    rect.IsFilled = true;
    EXPECT_EQ(RectangleToolOf(rect), T::FilledRectangle);
    rect.IsDefineArea = true;
    EXPECT_EQ(RectangleToolOf(rect), T::DefineRectangle);
}

TEST(NumericShapeCells, CopyAreaIsClippedAndPastePositionMustLieInThePicture)
{
    struct CopyCase {
        TCopyAreaInfo typed;
        bool ok;
        QRect want;
    };
    // A 20 x 10 picture.
    const CopyCase copies[] = {
        { { 1, 1, 8, 8 }, true, QRect(0, 0, 8, 8) },
        { { 15, 5, 10, 10 }, true, QRect(14, 4, 6, 6) }, // clipped at the right and bottom
        { { 20, 10, 1, 1 }, true, QRect(19, 9, 1, 1) },
        { { 21, 1, 5, 5 }, false, {} }, // wholly right of the picture
        { { 1, 11, 5, 5 }, false, {} }, // wholly below
        { { 65535, 65535, 65535, 65535 }, false, {} },
    };
    for (const CopyCase &c : copies) {
        QRect area(-7, -7, 1, 1);
        QString error;
        EXPECT_EQ(CopyAreaCells(c.typed, 20, 10, area, &error), c.ok) << c.typed.LeftBottomX;
        if (c.ok) {
            EXPECT_EQ(area, c.want);
        } else {
            EXPECT_FALSE(error.isEmpty());
            EXPECT_EQ(area, QRect(-7, -7, 1, 1)) << "left as it was";
        }
    }
    struct PasteCase {
        TPasteInfo typed;
        bool ok;
        TPoint want;
    };
    const PasteCase pastes[] = {
        { { 3, 2 }, true, { 2, 1 } },
        { { 1, 1 }, true, { 0, 0 } },
        { { 20, 10 }, true, { 19, 9 } },
        { { 21, 1 }, false, {} },
        { { 1, 11 }, false, {} },
        { { 0, 1 }, false, {} },
    };
    for (const PasteCase &c : pastes) {
        TPoint cell { -9, -9 };
        QString error;
        EXPECT_EQ(PasteToCell(c.typed, 20, 10, cell, &error), c.ok)
            << c.typed.LeftTopX << "," << c.typed.LeftTopY;
        EXPECT_EQ(cell, (c.ok ? c.want : TPoint { -9, -9 }));
        EXPECT_EQ(error.isEmpty(), c.ok);
    }
}

// Each shape lands in its tool with its two corners, waiting in the mode of a shape placed
// by a dialog; the selection tools make the selection at once and write nothing.
TEST_F(NumericShapes, ShapesArePlacedInTheirToolsAsFreshObjects)
{
    TCircleInfo circle;
    circle.IsSetOutRectangle = false;
    circle.CenterPointX = 10;
    circle.CenterPointY = 10;
    circle.Radius = 3;
    TCircleInfo circleArea = circle;
    circleArea.IsDefineArea = true;
    TRectangleInfo filled = sized(5, 1, 8, 8);
    filled.IsFilled = true;
    TRectangleInfo area = corners(12, 8, 5, 1);
    area.IsDefineArea = true;
    struct Case {
        const char *what;
        std::function<void()> place;
        T tool;
        std::vector<TPoint> corners;
    };
    const Case cases[] = {
        { "line",
            [&] {
                PlaceBeeLine(grid, { 1, 1, 1, 100 });
            },
            T::BeeLine, { { 0, 99 }, { 0, 0 } } },
        { "rectangle", [&] { PlaceRectangle(grid, corners(5, 1, 12, 8)); }, T::Rectangle,
            { { 4, 92 }, { 11, 99 } } },
        { "filled rectangle", [&] { PlaceRectangle(grid, filled); }, T::FilledRectangle,
            { { 4, 92 }, { 11, 99 } } },
        { "circle", [&] { PlaceCircle(grid, circle); }, T::Circle, { { 6, 87 }, { 12, 93 } } },
        { "rectangle area", [&] { PlaceRectangle(grid, area); }, T::DefineRectangle,
            { { 4, 92 }, { 11, 99 } } },
        { "circle area", [&] { PlaceCircle(grid, circleArea); }, T::DefineCircle, { { 6, 87 }, { 12, 93 } } },
    };
    const auto before = PictureRows(grid.Picture());
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        // Each shape on the picture as it was: the next tool choice commits a pending one.
        grid.SetDrawTool(T::Move);
        while (grid.UndoStore().UndoCount() > 0)
            ASSERT_TRUE(grid.Undo());
        ASSERT_TRUE(PictureRows(grid.Picture()) == before);
        grid.ClearSelectionRegion();
        // The same tool with a pending shape of its own: the dialog's shape is a new object.
        grid.SetDrawTool(c.tool);
        const TCustomLine *old = ToolRow(c.tool).MakesSelection ? grid.RegionObject() : grid.DrawObject();
        c.place();
        EXPECT_EQ(grid.ToolId(), c.tool);
        const bool selection = ToolRow(c.tool).MakesSelection;
        const TCustomLine *shape = selection ? grid.RegionObject() : grid.DrawObject();
        ASSERT_NE(shape, nullptr);
        EXPECT_NE(shape, old);
        EXPECT_EQ(vertices(*shape), c.corners);
        EXPECT_EQ(shape->Mode(), TDrawMode::Selected);
        if (selection) {
            const QRect box(c.corners[0].X, c.corners[0].Y, c.corners[1].X - c.corners[0].X + 1,
                c.corners[1].Y - c.corners[0].Y + 1);
            EXPECT_EQ(grid.SelectionRegion().boundingRect(), box);
        }
        EXPECT_TRUE(PictureRows(grid.Picture()) == before) << "nothing written before it is confirmed";
    }
}

// Enter confirms the typed rectangle into the picture in the fore colour; one Undo takes it
// back. A shape reaching past the picture is clipped when it is committed.
TEST_F(NumericShapes, ConfirmedShapeIsOneUndoStepAndClipsAtTheEdge)
{
    const auto before = PictureRows(grid.Picture());
    TRectangleInfo solid = sized(18, 3, 6, 2); // columns 17 .. 22 of 20, rows 96 .. 97
    solid.IsFilled = true;
    PlaceRectangle(grid, solid);
    grid.HandleToolKey(TToolKey::Enter);
    auto after = before;
    for (int y = 96; y <= 97; ++y)
        for (int x = 17; x < 20; ++x)
            after[std::size_t(y)][std::size_t(x)] = 7;
    EXPECT_EQ(PictureRows(grid.Picture()), after);
    EXPECT_EQ(PictureRows(grid.RefBitmap()), after);
    ASSERT_EQ(grid.UndoStore().UndoCount(), 1);
    ASSERT_TRUE(grid.Undo());
    EXPECT_EQ(PictureRows(grid.Picture()), before);

    // A line, typed and confirmed.
    PlaceBeeLine(grid, { 2, 1, 2, 4 });
    grid.HandleToolKey(TToolKey::Enter);
    for (int y = 96; y <= 99; ++y)
        EXPECT_EQ(grid.Picture().constScanLine(y)[1], 7) << y;
    EXPECT_EQ(grid.Picture().constScanLine(95)[1], 200);
}

namespace {
struct TOwnClipboard : TGridClipboard {
    std::unique_ptr<QMimeData> Data;
    const QMimeData *MimeData() const override { return Data.get(); }
    void SetMimeData(QMimeData *data) override { Data.reset(data); }
};
} // namespace

// The typed copy area (1, 1, 8, 8) selects the top-left 8 x 8 cells and copies them; the
// piece pasted at (3, 2) floats with its top-left at cell (2, 1).
TEST_F(NumericShapes, CopiedAreaIsTheSelectionAndPastedPieceFloatsAtTheTypedCell)
{
    TOwnClipboard clipboard;
    grid.SetClipboard(&clipboard);
    for (int y = 0; y < 8; ++y)
        grid.Picture().scanLine(y)[y] = 7;
    grid.RebuildDisplayBitmap();
    QRect area;
    ASSERT_TRUE(CopyAreaCells({ 1, 1, 8, 8 }, grid.Picture().width(), grid.Picture().height(), area));
    ASSERT_TRUE(CopyNumericArea(grid, area));
    EXPECT_EQ(grid.SelectionRegion().boundingRect(), QRect(0, 0, 8, 8));
    EXPECT_TRUE((grid.SelectionRegion() ^ QRegion(0, 0, 8, 8)).isEmpty());
    ASSERT_NE(clipboard.MimeData(), nullptr);

    TPoint cell;
    ASSERT_TRUE(PasteToCell({ 3, 2 }, grid.Picture().width(), grid.Picture().height(), cell));
    QString error;
    ASSERT_TRUE(PasteNumericAt(grid, cell, &error)) << error.toStdString();
    ASSERT_TRUE(grid.HasFloatingBitmap());
    EXPECT_EQ(grid.FloatingBitmap()->Position(), (TPoint { 2, 1 }));
    grid.SetClipboard(nullptr);
}
