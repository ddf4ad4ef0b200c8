// The clipboard commands of the main window tried as a new user would, on the real
// (offscreen) clipboard: select a square, Edit > Copy, copy all colours, open a second
// document, paste (answering the palette question), drag the piece, save and reopen.
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"

#include "core/base/messages.h"
#include "core/palette/palette.h"
#include "core/picture/clipboardpicture.h"
#include "core/settings/sharedstate.h"
#include "editor/floatingpicture.h"
#include "editor/patterngrid.h"
#include "editor/ui/patterngridview.h"
#include "editor/ui/selectedcolorwindow.h"
#include "editor/ui/setpalettedialog.h"
#include "mainwindowfixture.h"
#include "modalscript.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

struct EditFixture : TMainWindowFixture {
    QString second;
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartFreshSettings());
        RegisterPictureFormats();
        // The second document first: its palette has colours the first one lacks.
        TPalette256 warm {};
        for (int i = 0; i < 256; ++i)
            warm[i] = { std::uint8_t(255 - i), std::uint8_t(i / 2), 40, 0 };
        QImage ground = NewPicture(12, 10, warm);
        ground.fill(2);
        ASSERT_TRUE(SavePicture("ground.bmp", ground));
        second = picture;
        QImage source = NewPicture(6, 6, GreyPalette());
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 6; ++x)
                source.scanLine(y)[x] = std::uint8_t(10 + x + 6 * y);
        ASSERT_TRUE(SavePicture("source.bmp", source));
        ShowMainWindow(QSize(900, 700));
    }
    // A drag with the left button from one cell to another, as the mouse makes it.
    static void drag(TMDIChild *child, TPoint from, TPoint to)
    {
        QWidget *view = child->GridView()->viewport();
        const QPoint a = at(child, from.X, from.Y), b = at(child, to.X, to.Y);
        QTest::mousePress(view, Qt::LeftButton, {}, a);
        QMouseEvent move(
            QEvent::MouseMove, b, view->mapToGlobal(b), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view, &move);
        QTest::mouseRelease(view, Qt::LeftButton, {}, b);
    }
};

} // namespace

TEST_F(EditFixture, NewUserCopiesAllColoursPastesIntoAnotherDocumentDragsSavesAndReopens)
{
    TMDIChild *source = form->OpenChild(picture);
    ASSERT_NE(source, nullptr);
    source->PatternGrid().SetZoom(20);
    const QImage original = source->PatternGrid().Picture().copy();

    // A square of five by five cells with the rectangle selection.
    action("ActDefineRectangle")->trigger();
    drag(source, { 0, 0 }, { 4, 4 });
    ASSERT_EQ(source->PatternGrid().GetRegionHandle().boundingRect(), QRect(0, 0, 5, 5));
    EXPECT_TRUE(action("ActCopy")->isEnabled());

    // Edit > Copy opens the selected-colours window; copy all takes every colour.
    action("ActCopy")->trigger();
    auto *window = form->findChild<TFrmSelectedColor *>();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->isVisible());
    QTest::mouseClick(window->findChild<QPushButton *>("BtnCopyAll"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const QMimeData *clip = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(clip, nullptr);
    EXPECT_TRUE(clip->hasFormat(ClipboardMimeType(CF_BMP)));
    EXPECT_TRUE(action("ActPaste")->isEnabled());

    // The second document; the paste asks about the palettes: both joined.
    TMDIChild *target = form->OpenChild(second);
    ASSERT_NE(target, nullptr);
    TPatternGrid &grid = target->PatternGrid();
    grid.SetZoom(20);
    TModalScript script({ On<TFrmSetPalette>([](TFrmSetPalette *d) {
        d->findChild<QRadioButton *>("RbnCombinePalette")->click();
        d->accept();
    }) });
    action("ActPaste")->trigger();
    EXPECT_TRUE(script.Done()) << script.Unexpected().join(',').toStdString();
    ASSERT_TRUE(grid.HasFloatingBitmap());
    EXPECT_EQ(grid.PasteMode(), 3);
    EXPECT_EQ(grid.ToolId(), TToolId::Move);

    // Dragged by its middle two cells right and one down, to the top-left corner first.
    const TPoint p = grid.FloatingBitmap()->Position();
    const TPoint dropAt { 3, 2 };
    drag(target, { p.X + 2, p.Y + 2 }, { dropAt.X + 2, dropAt.Y + 2 });
    ASSERT_TRUE(grid.HasFloatingBitmap());
    EXPECT_EQ(grid.FloatingBitmap()->Position(), dropAt);

    // Saving stamps the piece; the file holds it.
    ASSERT_TRUE(target->SaveDocument(TSaveCommand::Save));
    EXPECT_FALSE(grid.HasFloatingBitmap());
    grid.ClearModified();
    target->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    TMDIChild *reopened = form->OpenChild(second);
    ASSERT_NE(reopened, nullptr);
    const TPatternGrid &back = reopened->PatternGrid();
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) {
            const TColor want = GetPaletteColor(GreyPalette(), original.pixelIndex(x, y));
            EXPECT_EQ(
                GetPaletteColor(back.Palette(), back.Picture().pixelIndex(dropAt.X + x, dropAt.Y + y)), want)
                << x << "," << y;
        }
    // Outside the piece the ground stays.
    EXPECT_EQ(back.Picture().pixelIndex(0, 0), back.Picture().pixelIndex(11, 9));
}

TEST_F(EditFixture, SelectionCommandsAndTheNeedleMove)
{
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    TPatternGrid &grid = child->PatternGrid();
    action("ActSelectAll")->trigger();
    EXPECT_EQ(grid.GetRegionHandle(), QRegion(0, 0, 6, 6));
    action("ActCancelSelected")->trigger();
    EXPECT_TRUE(grid.GetRegionHandle().isEmpty());

    grid.SetSelectionRegion(QRegion(1, 1, 2, 1));
    grid.SetForeColorIndex(3);
    action("ActFilledRGN")->trigger();
    EXPECT_EQ(grid.Picture().pixelIndex(1, 1), 3);
    EXPECT_EQ(grid.Picture().pixelIndex(2, 1), 3);
    const int row1Col3 = grid.Picture().pixelIndex(3, 1);

    // The needle move: its check mark is the document's; the arrows shift the selection.
    QAction *moveWarp = action("ActMoveWarp");
    ASSERT_TRUE(moveWarp->isCheckable());
    moveWarp->trigger();
    EXPECT_TRUE(moveWarp->isChecked());
    EXPECT_TRUE(grid.MoveWarp());
    grid.SetSelectionRegion(QRegion(1, 1, 3, 1));
    QTest::keyClick(child->GridView(), Qt::Key_Left);
    EXPECT_EQ(grid.Picture().pixelIndex(1, 1), 3);
    EXPECT_EQ(grid.Picture().pixelIndex(2, 1), row1Col3);
    EXPECT_EQ(grid.Picture().pixelIndex(3, 1), 3);
    moveWarp->trigger();
    EXPECT_FALSE(grid.MoveWarp());
}

TEST_F(EditFixture, CutByColourPickedInThePatternAppliedWithSpace)
{
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    TPatternGrid &grid = child->PatternGrid();
    grid.SetBackColorIndex(0);
    grid.SetZoom(20);
    action("ActDefineRectangle")->trigger();
    drag(child, { 0, 0 }, { 2, 1 });
    ASSERT_EQ(grid.GetRegionHandle().boundingRect(), QRect(0, 0, 3, 2));
    ASSERT_TRUE(action("ActCut")->isEnabled());
    action("ActCut")->trigger();
    auto *window = form->findChild<TFrmSelectedColor *>();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Mode(), TFrmSelectedColor::TMode::Cut);
    EXPECT_EQ(grid.ToolId(), TToolId::AbsorbColor);
    // The colours of cells (1, 0) and (2, 1), picked in the pattern.
    for (TPoint cell : { TPoint { 1, 0 }, TPoint { 2, 1 } })
        SendColorPicked(0, TColorPickInfo { 0, grid.Picture().pixelIndex(cell.X, cell.Y), 3 });
    ASSERT_EQ(window->Chosen().size(), 2u);
    const int steps = grid.UndoStore().UndoCount();
    QTest::keyClick(child->GridView(), Qt::Key_Space);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form->findChild<TFrmSelectedColor *>(), nullptr) << "closed after applying";
    EXPECT_EQ(grid.Picture().pixelIndex(1, 0), 0);
    EXPECT_EQ(grid.Picture().pixelIndex(2, 1), 0);
    EXPECT_NE(grid.Picture().pixelIndex(0, 0), 0);
    EXPECT_EQ(grid.UndoStore().UndoCount(), steps + 2) << "the cut cells and the floating piece";
    EXPECT_TRUE(grid.HasFloatingBitmap());
}

TEST_F(EditFixture, DraggingTheSelectionWithTheMoveToolCarriesItsCells)
{
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    TPatternGrid &grid = child->PatternGrid();
    grid.SetZoom(20);
    const QImage before = grid.Picture().copy();
    action("ActDefineRectangle")->trigger();
    drag(child, { 0, 0 }, { 1, 1 });
    action("ActMove")->trigger();
    drag(child, { 0, 0 }, { 3, 2 });
    EXPECT_EQ(grid.ToolId(), TToolId::Move);
    EXPECT_TRUE(action("ActMove")->isChecked());
    ASSERT_TRUE(grid.HasFloatingBitmap());
    // Undo twice: the piece goes, then the cut cells come back.
    action("ActUndo")->trigger();
    EXPECT_FALSE(grid.HasFloatingBitmap());
    action("ActUndo")->trigger();
    EXPECT_EQ(PictureRows(grid.Picture()), PictureRows(before));
    action("ActRedo")->trigger();
    action("ActRedo")->trigger();
    ASSERT_TRUE(grid.HasFloatingBitmap());
    EXPECT_EQ(grid.FloatingBitmap()->Position(), (TPoint { 3, 2 }));
    action("ActDefineRectangle")->trigger();
    drag(child, { 5, 5 }, { 5, 5 }); // a press with another tool stamps the piece
    EXPECT_FALSE(grid.HasFloatingBitmap());
    EXPECT_EQ(grid.Picture().pixelIndex(3, 2), before.pixelIndex(0, 0));
    EXPECT_EQ(grid.Picture().pixelIndex(4, 3), before.pixelIndex(1, 1));
}
