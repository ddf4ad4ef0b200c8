// The navigator as the user meets it: it shows the document in front, its frame follows
// the document's scrolling, dragging the frame scrolls the document, and it lets go of a
// document that closes.
#include "shell/ui/navigatorpanel.h"

#include "../fakequestions.h"
#include "core/settings/sharedstate.h"
#include "editor/patterngrid.h"
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QMdiArea>
#include <QTest>

namespace {
struct NavigatorFixture : ::testing::Test {
    TFakeQuestions ask;
    std::unique_ptr<TMainForm> form;
    TMDIChild *child = nullptr;
    void SetUp() override
    {
        ResetSharedState();
        ASSERT_TRUE(InitSharedState());
        form = std::make_unique<TMainForm>();
        form->SetQuestions(&ask);
        form->resize(900, 700);
        form->show();
        QImage picture(400, 300, QImage::Format_Indexed8);
        picture.setColorCount(256);
        for (int i = 0; i < 256; ++i)
            picture.setColor(i, qRgb(i, i, i));
        picture.fill(7);
        child = form->NewChildFromPicture(picture);
        ASSERT_NE(child, nullptr);
        child->resize(300, 250);
        child->PatternGrid().SetZoom(12);
        child->GridView()->LayoutChanged();
        QCoreApplication::processEvents();
    }
    void TearDown() override
    {
        if (child) {
            child->PatternGrid().ClearModified();
            child->close();
            QCoreApplication::sendPostedEvents();
        }
    }
    TNavigatorView *view() const { return form->Navigator()->View(); }
    TRect frame() const { return view()->Model().NavigatorFrame(); }
};
} // namespace

TEST_F(NavigatorFixture, FrameFollowsTheDocumentsView)
{
    TPatternGrid &grid = child->PatternGrid();
    ASSERT_EQ(view()->Source(), &grid);
    EXPECT_TRUE(form->Navigator()->isVisible());
    EXPECT_EQ(view()->Model().ColCount(), 400);
    const TRect visible = grid.GetVisibleCellRect();
    EXPECT_EQ(frame(), (TRect { 0, 0, visible.Right + 1, visible.Bottom + 1 }));
    grid.SetLeftCol(50);
    grid.SetTopRow(20);
    EXPECT_EQ(frame().Left, 50);
    EXPECT_EQ(frame().Top, 20);
    EXPECT_EQ(frame().Width(), visible.Right + 1);
}

TEST_F(NavigatorFixture, DraggingTheFrameScrollsTheDocument)
{
    TPatternGrid &grid = child->PatternGrid();
    const TRect before = frame();
    ASSERT_GT(before.Width(), 2);
    QWidget *surface = view()->viewport();
    const TPatternGrid &nav = view()->Model();
    const QPoint inside(before.Left + 2 - nav.LeftCol(), before.Top + 2 - nav.TopRow());
    QTest::mousePress(surface, Qt::LeftButton, {}, inside);
    EXPECT_TRUE(view()->Dragging());
    QTest::mouseMove(surface, inside + QPoint(30, 12));
    EXPECT_EQ(frame().Left, before.Left + 30);
    EXPECT_EQ(frame().Top, before.Top + 12);
    EXPECT_EQ(grid.LeftCol(), 0) << "the document scrolls when the frame is let go";
    QTest::mouseRelease(surface, Qt::LeftButton, {}, inside + QPoint(30, 12));
    EXPECT_FALSE(view()->Dragging());
    EXPECT_EQ(grid.LeftCol(), 30);
    EXPECT_EQ(grid.TopRow(), 12);

    // Dragged far beyond the picture, the frame stops at its edge and the document shows
    // its last cells.
    const QPoint again(frame().Left + 1 - nav.LeftCol(), frame().Top + 1 - nav.TopRow());
    QTest::mousePress(surface, Qt::LeftButton, {}, again);
    QTest::mouseMove(surface, again + QPoint(5000, 5000));
    EXPECT_EQ(frame().Right, 400);
    EXPECT_EQ(frame().Bottom, 300);
    QTest::mouseRelease(surface, Qt::LeftButton, {}, again + QPoint(5000, 5000));
    EXPECT_EQ(grid.LeftCol(), grid.Grid().MaxLeftCol());
    EXPECT_EQ(grid.TopRow(), grid.Grid().MaxTopRow());

    // The right button drags nothing.
    QTest::mousePress(surface, Qt::RightButton, {}, again);
    EXPECT_FALSE(view()->Dragging());
}

TEST_F(NavigatorFixture, DisplayToggleAndClosingDocument)
{
    QAction *display = form->Action("ActDisplayInfo");
    ASSERT_TRUE(display->isEnabled());
    ASSERT_TRUE(display->isChecked());
    display->trigger();
    EXPECT_FALSE(form->Navigator()->isVisible());
    EXPECT_EQ(view()->Source(), nullptr);
    display->trigger();
    EXPECT_TRUE(form->Navigator()->isVisible());
    EXPECT_EQ(view()->Source(), &child->PatternGrid());

    child->PatternGrid().ClearModified();
    child->close();
    QCoreApplication::sendPostedEvents();
    child = nullptr;
    EXPECT_EQ(view()->Source(), nullptr);
    EXPECT_FALSE(form->Navigator()->isVisible());
    EXPECT_TRUE(display->isChecked()) << "the next document shows it again";
}

// A double click on the navigator's title folds it to a thin strip and another one gives
// it its height back; the panel stays docked.
TEST_F(NavigatorFixture, TitleDoubleClickFoldsThePanel)
{
    TNavigatorPanel *panel = form->Navigator();
    QCoreApplication::processEvents();
    const int height = view()->height();
    ASSERT_GT(view()->geometry().top(), 2) << "the title lies above the picture";
    const QPoint title(view()->geometry().left() + 20, view()->geometry().top() / 2);
    QTest::mouseDClick(panel, Qt::LeftButton, {}, title);
    QCoreApplication::processEvents();
    EXPECT_TRUE(panel->Collapsed());
    EXPECT_FALSE(panel->isFloating());
    EXPECT_EQ(view()->height(), TNavigatorPanel::CollapsedHeight);
    QTest::mouseDClick(panel, Qt::LeftButton, {}, title);
    QCoreApplication::processEvents();
    EXPECT_FALSE(panel->Collapsed());
    EXPECT_GE(view()->height(), std::min(height, 160));
    // A double click on the picture itself folds nothing.
    QTest::mouseDClick(view()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(panel->Collapsed());
}
