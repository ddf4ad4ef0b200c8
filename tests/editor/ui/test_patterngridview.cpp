// The pattern grid window: what it shows is the model's painting, its scroll bars cover
// the whole pattern, and pointer positions become picture cells.
#include "editor/ui/patterngridview.h"

#include "../notificationrecorder.h"
#include "core/palette/palette.h"
#include "editor/patterngrid.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

namespace {

QImage Tall(int w, int h)
{
    QImage img = NewPicture(w, h, GreyPalette());
    for (int y = 0; y < h; ++y)
        std::memset(img.scanLine(y), y % 200, w);
    return img;
}

} // namespace

TEST(PatternGridView, ShowsTheModelAndScrollsTheWholePattern)
{
    TPatternGridView view;
    view.setFrameStyle(QFrame::NoFrame);
    view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    view.resize(120, 100);
    view.show();
    TPatternGrid &g = view.Model();
    g.SetWarpDensity(1);
    g.SetWeftDensity(1);
    g.SetPictureAndRefresh(Tall(10, 20000), false);
    g.ReadPaletteFromPicture();
    g.SetZoom(12); // pitch 4

    EXPECT_TRUE(view.verticalScrollBar()->hasTracking()) << "the pattern follows a dragged thumb";
    const int visibleRows = view.viewport()->height() / 4;
    EXPECT_EQ(view.verticalScrollBar()->maximum(), 20000 - visibleRows);
    view.verticalScrollBar()->setValue(19000);
    EXPECT_EQ(g.TopRow(), 19000);

    const QImage shown = view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QImage painted;
    g.Paint(painted);
    ASSERT_EQ(shown.size(), painted.size());
    EXPECT_EQ(shown, painted);
    EXPECT_EQ(shown.pixel(0, 0), qRgb(19000 % 200, 19000 % 200, 19000 % 200));

    EXPECT_EQ(view.CellAt(QPoint(5, 9)), (TPoint { 1, 19002 }));
    EXPECT_EQ(view.CellAt(QPoint(60, 9)).X, -1);
}

namespace {

struct ShownView {
    TPatternGridView view;
    ShownView(const QImage &picture, int level, int width, int height)
    {
        view.setFrameStyle(QFrame::NoFrame);
        view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.resize(width, height);
        view.show();
        TPatternGrid &g = view.Model();
        g.SetWarpDensity(1);
        g.SetWeftDensity(1);
        g.SetPictureAndRefresh(picture, false);
        g.ReadPaletteFromPicture();
        g.SetZoom(level);
    }
    void Send(QEvent &e) { QCoreApplication::sendEvent(view.viewport(), &e); }
    void Click(int x, int y)
    {
        const QPointF at(x, y);
        QMouseEvent press(QEvent::MouseButtonPress, at, view.viewport()->mapToGlobal(at), Qt::LeftButton,
            Qt::LeftButton, Qt::NoModifier);
        Send(press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, view.viewport()->mapToGlobal(at), Qt::LeftButton,
            Qt::NoButton, Qt::NoModifier);
        Send(release);
    }
    void Wheel(int delta)
    {
        const QPointF at(5, 5);
        QWheelEvent e(at, view.viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
            Qt::NoModifier, Qt::NoScrollPhase, false);
        Send(e);
    }
    void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QKeyEvent e(QEvent::KeyPress, key, mods);
        QCoreApplication::sendEvent(&view, &e);
    }
    bool CurrentCellInside() const
    {
        return view.Col() >= 0 && view.Col() < std::max(1, view.ColCount()) && view.Row() >= 0
            && view.Row() < std::max(1, view.RowCount());
    }
};

} // namespace

// A cell picked far right at a large zoom lies outside the grid once zoomed out to the
// reduced view; the wheel and the keys then move from a cell inside it.
TEST(PatternGridView, WheelAndKeysAfterZoomingOutStayInsideTheGrid)
{
    ShownView s(Tall(200, 50), 12, 900, 300); // pitch 4: all 200 columns in view
    s.Click(150 * 4 + 1, 10 * 4 + 1);
    ASSERT_EQ(s.view.Col(), 150);
    ASSERT_EQ(s.view.Row(), 10);
    s.view.Model().SetZoom(0); // 20 x 5 cells
    ASSERT_EQ(s.view.ColCount(), 20);
    ASSERT_EQ(s.view.RowCount(), 5);
    EXPECT_EQ(s.view.Col(), 19);
    EXPECT_EQ(s.view.Row(), 4);

    // The wheel scrolls the view (here all in view already) and leaves the current cell.
    EXPECT_NO_THROW(s.Wheel(-120));
    EXPECT_EQ(s.view.Row(), 4);
    EXPECT_NO_THROW(s.Wheel(120));
    EXPECT_EQ(s.view.Row(), 4);
    EXPECT_EQ(s.view.TopRow(), 0);
    EXPECT_EQ(s.view.Col(), 19);
    for (int key : { Qt::Key_Down, Qt::Key_Right, Qt::Key_PageDown, Qt::Key_End, Qt::Key_Left, Qt::Key_Up }) {
        EXPECT_NO_THROW(s.Key(key)) << key;
        EXPECT_TRUE(s.CurrentCellInside()) << key;
    }
    EXPECT_NO_THROW(s.Key(Qt::Key_End, Qt::ControlModifier));
    EXPECT_EQ(s.view.Col(), 19);
    EXPECT_EQ(s.view.Row(), 4);

    // A picture taken away leaves a grid without cells: the wheel and keys do nothing.
    s.view.Model().SetPicture(QImage());
    EXPECT_NO_THROW(s.Wheel(-120));
    EXPECT_NO_THROW(s.Key(Qt::Key_End, Qt::ControlModifier));
    EXPECT_EQ(s.view.Col(), 0);
    EXPECT_EQ(s.view.Row(), 0);
}

// The line colours set on the window are the ones the grid is painted with, and the
// model's setters are seen by the window.
TEST(PatternGridView, LinesArePaintedInTheColourSetOnTheWindow)
{
    ShownView s(Tall(20, 20), 12, 100, 100); // pitch 4: the line after column 0 is x = 3
    s.view.Model().Grid().DefaultCompartLine = false;
    s.view.SetLineColor(0x0000FF); // red
    QImage painted;
    s.view.Model().Paint(painted);
    EXPECT_EQ(painted.pixel(3, 1), qRgb(255, 0, 0)) << "column line";
    EXPECT_EQ(painted.pixel(1, 3), qRgb(255, 0, 0)) << "row line";
    const QImage shown = s.view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.pixel(3, 1), qRgb(255, 0, 0)) << "on screen";

    s.view.Model().SetLineColor(0x00FF00);
    EXPECT_EQ(s.view.LineColor(), 0x00FF00);
    s.view.Model().Paint(painted);
    EXPECT_EQ(painted.pixel(3, 1), qRgb(0, 255, 0));
}

// Painting on screen wipes out whatever was drawn for the last pointer cell.
TEST(PatternGridView, PaintForgetsTheLastPointerCell)
{
    ShownView s(Tall(20, 20), 12, 100, 100);
    s.view.Model().SetLastCell({ 3, 4 });
    s.view.viewport()->grab();
    EXPECT_EQ(s.view.Model().LastCell(), (TPoint { -1, -1 }));
}

// Below level 9 the window turns the pressed reduced cell into the picture cell it shows
// before any tool sees it, so that every tool works on the cell the user sees.
TEST(PatternGridView, PointerBecomesAPictureCellBelowLevelNine)
{
    ShownView s(Tall(200, 100), 4, 400, 300); // half size: one reduced cell per two cells
    TPatternGrid &g = s.view.Model();
    ASSERT_LT(g.ScaleX(), 1.0);
    const int pitch = g.DefaultColWidth() + g.Grid().CalcDrawInfo().Horz.EffectiveLineWidth;
    const int pitchY = g.DefaultRowHeight() + g.Grid().CalcDrawInfo().Vert.EffectiveLineWidth;
    const QPoint at(30 * pitch + pitch / 2, 20 * pitchY + pitchY / 2);
    ASSERT_EQ(s.view.CellAt(at), (TPoint { 30, 20 }));
    const TPoint picture { g.ReducedSourceCol(30), g.ReducedSourceRow(20) };
    ASSERT_NE(picture, (TPoint { 30, 20 }));
    EXPECT_EQ(s.view.PictureCellAt(at), picture);

    // The colour pick takes the picture cell's colour (each row of the picture is one
    // index), and the main window is told the picture cell.
    {
        ASSERT_NE(picture.Y % 200, 20);
        MainWindowStandIn main;
        g.SetDrawTool(TToolId::AbsorbColor);
        s.Click(at.x(), at.y());
        EXPECT_TRUE(main.recorder.Has(WM_EDITGROSSPOS, picture.X, picture.Y));
        std::vector<qintptr> picked;
        for (const auto &m : main.recorder.got)
            if (m[0] == WM_COLORPICKED)
                picked.push_back(m[1]);
        EXPECT_EQ(picked, std::vector<qintptr> { qintptr(PlainColor(g.Palette()[picture.Y % 200])) });
    }

    // The fill lands on the picture cell's row.
    g.SetForeColorIndex(250);
    g.SetDrawTool(TToolId::FillColor);
    s.Click(at.x(), at.y());
    EXPECT_EQ(g.DownCell(), picture);
    EXPECT_EQ(g.Picture().constScanLine(picture.Y)[0], 250);
    EXPECT_EQ(g.Picture().constScanLine(picture.Y + 1)[0], (picture.Y + 1) % 200);

    // The spray's timer runs while its button is held.
    g.SetDrawTool(TToolId::Sprayer);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), s.view.viewport()->mapToGlobal(QPointF(at)),
        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    s.Send(press);
    EXPECT_TRUE(s.view.ToolTimer().isActive());
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), s.view.viewport()->mapToGlobal(QPointF(at)),
        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    s.Send(release);
    EXPECT_FALSE(s.view.ToolTimer().isActive());
}
