// The main window's drawing tools as a user meets them: tools chosen from the tool bar,
// shapes drawn with the mouse on a document and committed with Enter, undone, saved and
// opened again; the tool buttons following the grid's tool; the spray settings; the pen
// widths; and keys typed into another window's edit box staying there.
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"

#include "core/base/messages.h"
#include "core/picture/bmpfile.h"
#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"
#include "editor/tools/customline.h"
#include "editor/ui/patterngridview.h"
#include "editor/ui/spraydialog.h"
#include "mainwindowfixture.h"
#include "shell/pictureformats.h"
#include "shell/ui/palettebarpanel.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
struct ToolWindowFixture : TMainWindowFixture {
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartFreshSettings());
        StartSettings().MaxUndoCount = 20;
        RunState().CurrentToolId = TToolId::Move;
        RunState().HorzWidth = RunState().VertWidth = 1;
        RegisterPictureFormats();
        QImage blank = NewPicture(40, 30, GreyPalette());
        blank.fill(0);
        ASSERT_TRUE(SavePicture("blank.bmp", blank));
        ShowMainWindow(QSize(900, 700));
    }
};
} // namespace

TEST_F(ToolWindowFixture, UserDrawsFromTheToolBarUndoesSavesAndReopens)
{
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    child->showMaximized();
    TPatternGrid &grid = child->PatternGrid();
    grid.SetForeColorIndex(9); // the palette bar's choice
    QWidget *surface = child->GridView()->viewport();

    // The rectangle from its fly-out button: the button's face is the row's first tool.
    auto *shapes = form->findChild<QToolButton *>("BtnShape");
    ASSERT_NE(shapes, nullptr);
    QTest::mouseClick(shapes, Qt::LeftButton, {}, QPoint(5, shapes->height() / 2));
    EXPECT_EQ(grid.ToolId(), TToolId::Rectangle);
    EXPECT_TRUE(action("ActRectangle")->isChecked());

    QTest::mousePress(surface, Qt::LeftButton, {}, at(child, 2, 3));
    QTest::mouseMove(surface, at(child, 6, 5));
    QTest::mouseRelease(surface, Qt::LeftButton, {}, at(child, 6, 5));
    QTest::keyClick(child->GridView(), Qt::Key_Return);
    const auto row = [&](int y) {
        std::string s;
        for (int x = 0; x < 9; ++x)
            s += grid.Picture().constScanLine(y)[x] == 9 ? '#' : '.';
        return s;
    };
    EXPECT_EQ(row(3), "..#####..");
    EXPECT_EQ(row(4), "..#...#..");
    EXPECT_EQ(row(5), "..#####..");
    ASSERT_EQ(grid.UndoStore().UndoCount(), 1);

    // A fill from the single-tool bar, then undone.
    action("ActFillColor")->trigger();
    EXPECT_EQ(grid.ToolId(), TToolId::FillColor);
    QTest::mouseClick(surface, Qt::LeftButton, {}, at(child, 4, 4));
    EXPECT_EQ(row(4), "..#####..");
    ASSERT_TRUE(grid.Undo());
    EXPECT_EQ(row(4), "..#...#..");
    EXPECT_TRUE(form->StatusModel().UndoEnabled); // the main window heard the undo counts

    // Saved in place, closed and opened again: the rectangle is in the file.
    action("ActFileSave")->trigger();
    EXPECT_EQ(ask.DialogsShown, 0);
    action("ActFileClose")->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(form->Children().isEmpty());
    TMDIChild *again = form->OpenChild(picture);
    ASSERT_NE(again, nullptr);
    const QImage &reopened = again->PatternGrid().Picture();
    EXPECT_EQ(reopened.constScanLine(3)[2], 9);
    EXPECT_EQ(reopened.constScanLine(4)[4], 0);
    // The new document's grid took the current tool.
    EXPECT_EQ(again->PatternGrid().ToolId(), TToolId::FillColor);
}

// WM_TOOLCHANGED presses the button of the grid's tool; the circle of the clear-mottle
// pair shows on the rectangle's button, whose fly-out shows it.
TEST_F(ToolWindowFixture, ToolButtonFollowsTheGridsTool)
{
    // Without a document the button and the palette bar's cursor follow the chosen tool.
    ASSERT_NE(form->PaletteBar(), nullptr);
    QWidget *bar = form->PaletteBar()->Grid()->viewport();
    action("ActAbsorbColor")->trigger();
    EXPECT_TRUE(action("ActAbsorbColor")->isChecked());
    EXPECT_EQ(bar->cursor().shape(), Qt::CrossCursor);
    action("ActFillColor")->trigger();
    EXPECT_EQ(bar->cursor().shape(), Qt::ArrowCursor);

    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    child->PatternGrid().SetDrawTool(TToolId::Sprayer);
    EXPECT_TRUE(action("ActSprayer")->isChecked());
    child->PatternGrid().SetDrawTool(TToolId::ClearMottleByCircle);
    EXPECT_TRUE(action("ActClearMottleByRect")->isChecked());
    EXPECT_FALSE(action("ActSprayer")->isChecked());
    auto *colors = form->findChild<QToolButton *>("BtnColor");
    ASSERT_NE(colors, nullptr);
    EXPECT_EQ(colors->defaultAction(), action("ActClearMottleByRect"));
    child->PatternGrid().SetDrawTool(TToolId::Arc);
    EXPECT_EQ(form->findChild<QToolButton *>("BtnLine")->defaultAction(), action("ActArc"));
    EXPECT_FALSE(action("ActClearMottleByRect")->isChecked());
}

// The fly-out rows are drawn as menus; all but the filled shapes' row get a white line
// along their top edge.
TEST_F(ToolWindowFixture, FlyOutRowsDrawTheirTopLine)
{
    const struct {
        const char *Name;
        bool TopLine;
    } rows[] = { { "TbrDefineArea1", true }, { "TbrDefineArea2", true }, { "TbrLine", true },
        { "TbrShape", true }, { "TbrColor", true }, { "TbrFilledShape", false } };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.Name);
        auto *menu = form->findChild<QMenu *>(row.Name);
        ASSERT_NE(menu, nullptr);
        menu->ensurePolished();
        menu->resize(menu->sizeHint());
        const QImage drawn = menu->grab().toImage();
        // The same row drawn by a plain menu.
        QMenu plain;
        plain.addActions(menu->actions());
        plain.ensurePolished();
        plain.resize(menu->size());
        const QImage bare = plain.grab().toImage();
        ASSERT_EQ(drawn.size(), bare.size());
        for (int x = 0; x < drawn.width(); ++x) {
            if (row.TopLine)
                ASSERT_EQ(drawn.pixel(x, 0), qRgb(255, 255, 255)) << x;
            else
                ASSERT_EQ(drawn.pixel(x, 0), bare.pixel(x, 0)) << x;
            ASSERT_EQ(drawn.pixel(x, 1), bare.pixel(x, 1)) << "only the top line is ours, " << x;
        }
    }
}

// Choosing the spray again opens its settings; OK stores them, writes them and gives them
// to every document; Cancel changes nothing.
TEST_F(ToolWindowFixture, SprayChosenAgainOpensItsSettings)
{
    TMDIChild *a = form->OpenChild(picture);
    TMDIChild *b = form->OpenChild(QString(), true);
    ASSERT_TRUE(a && b);
    int asked = 0;
    TSprayOption answer { 7, 12 };
    bool accept = true;
    form->SetSprayOptionAsker([&](TSprayOption &option) {
        ++asked;
        EXPECT_EQ(option, StartSettings().SprayOption);
        option = answer;
        return accept;
    });
    action("ActSprayer")->trigger();
    EXPECT_EQ(asked, 0);
    action("ActSprayer")->trigger();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(StartSettings().SprayOption, answer);
    TSprayOption stored;
    ReadSprayOption(stored);
    EXPECT_EQ(stored, answer);
    EXPECT_EQ(a->PatternGrid().SprayOption(), answer);
    EXPECT_EQ(b->PatternGrid().SprayOption(), answer);
    accept = false;
    answer = { 9, 9 };
    action("ActSprayer")->trigger();
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(StartSettings().SprayOption, (TSprayOption { 7, 12 }));
}

// The spin edits set every grid's pen widths; WM_PENWIDTH sets the spin edits back.
TEST_F(ToolWindowFixture, PenWidthSpinEdits)
{
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    child->PatternGrid().SetDrawTool(TToolId::Rectangle);
    auto *horz = form->findChild<QSpinBox *>("RdtHorzWidth");
    auto *vert = form->findChild<QSpinBox *>("RdtVertWidth");
    ASSERT_TRUE(horz && vert);
    horz->setValue(3);
    vert->setValue(2);
    EXPECT_EQ(RunState().HorzWidth, 3);
    EXPECT_EQ(child->PatternGrid().DrawObject()->HorzWidth(), 3);
    EXPECT_EQ(child->PatternGrid().DrawObject()->VertWidth(), 2);
    RunState().HorzWidth = 5;
    RunState().VertWidth = 4;
    SendPenWidth();
    EXPECT_EQ(horz->value(), 5);
    EXPECT_EQ(vert->value(), 4);
}

// A "B" typed into a tool window's edit box stays there: the grid's pending shape is not
// committed. Typed with the grid focused, it commits.
TEST_F(ToolWindowFixture, KeysInAnEditBoxStayThere)
{
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    child->showMaximized();
    TPatternGrid &grid = child->PatternGrid();
    grid.SetForeColorIndex(9);
    action("ActRectangle")->trigger();
    QWidget *surface = child->GridView()->viewport();
    QTest::mousePress(surface, Qt::LeftButton, {}, at(child, 1, 1));
    QTest::mouseMove(surface, at(child, 4, 4));
    QTest::mouseRelease(surface, Qt::LeftButton, {}, at(child, 4, 4));
    ASSERT_GT(grid.DrawObject()->GetPointCount(), 0);

    QDialog tool(form.get(), Qt::Tool);
    auto *edit = new QLineEdit(&tool);
    (new QVBoxLayout(&tool))->addWidget(edit);
    tool.show();
    tool.activateWindow();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_B);
    EXPECT_EQ(edit->text(), "b");
    EXPECT_EQ(grid.UndoStore().UndoCount(), 0);
    // The main window's own spin edit keeps its keys too.
    auto *horz = form->findChild<QSpinBox *>("RdtHorzWidth");
    QTest::keyClick(horz, Qt::Key_B);
    EXPECT_EQ(grid.UndoStore().UndoCount(), 0);

    tool.hide();
    QTest::keyClick(child->GridView(), Qt::Key_B);
    EXPECT_EQ(grid.UndoStore().UndoCount(), 1);
    EXPECT_EQ(grid.Picture().constScanLine(1)[1], 9);
}

// The spray settings dialog itself, as a user meets it: it opens with the stored values,
// keeps its numbers within 1 .. 900 points and 1 .. 500 cells, and OK stores what was
// typed, which the next opening shows.
TEST_F(ToolWindowFixture, SprayDialogTypedAndReopened)
{
    StartSettings().SprayOption = { 25, 80 };
    action("ActSprayer")->trigger();
    TSprayOption shown {};
    const auto answer = [&](const char *points, const char *radius, bool ok) {
        QTimer::singleShot(0, [&shown, points, radius, ok] {
            auto *dialog = qobject_cast<TFrmSetSpray *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), "Sprayer");
            shown = dialog->Values();
            for (auto [box, text] : { std::pair { dialog->findChild<QSpinBox *>("RdtPointNum"), points },
                     std::pair { dialog->findChild<QSpinBox *>("RdtRadium"), radius } }) {
                ASSERT_NE(box, nullptr);
                box->selectAll();
                QTest::keyClicks(box, text);
            }
            if (ok)
                dialog->accept();
            else
                dialog->reject();
        });
    };
    answer("950", "12", true); // 950 is more than a burst may have: the box stops at 900
    action("ActSprayer")->trigger();
    EXPECT_EQ(shown, (TSprayOption { 25, 80 }));
    EXPECT_EQ(StartSettings().SprayOption.Radius, 12);
    EXPECT_LE(StartSettings().SprayOption.PointCount, 900);
    EXPECT_GE(StartSettings().SprayOption.PointCount, 1);
    const TSprayOption stored = StartSettings().SprayOption;

    answer("5", "5", false);
    action("ActSprayer")->trigger();
    EXPECT_EQ(shown, stored);
    EXPECT_EQ(StartSettings().SprayOption, stored);
    TSprayOption onDisk;
    ReadSprayOption(onDisk);
    EXPECT_EQ(onDisk, stored);
}

// The palette bar is told the tool chosen before any document is open (the absorb-colour
// tool shows its cursor over the colours), and the document takes the tool when it opens.
// The focus the main window receives goes on to the document's grid.
TEST_F(ToolWindowFixture, PaletteBarKnowsTheToolAndTheGridTakesTheFocus)
{
    TFramPalette *bar = form->PaletteBar();
    ASSERT_NE(bar, nullptr);
    action("ActAbsorbColor")->trigger();
    EXPECT_EQ(bar->ToolId(), 14);
    EXPECT_EQ(bar->Grid()->viewport()->cursor().shape(), Qt::CrossCursor);
    EXPECT_EQ(bar->ForeSwatch()->cursor().shape(), Qt::CrossCursor);
    EXPECT_EQ(bar->BackSwatch()->cursor().shape(), Qt::CrossCursor);
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->PatternGrid().ToolId(), TToolId::AbsorbColor);
    action("ActMove")->trigger();
    EXPECT_EQ(bar->ToolId(), 8);
    EXPECT_EQ(bar->Grid()->viewport()->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(bar->ForeSwatch()->cursor().shape(), Qt::ArrowCursor);

    auto *width = form->findChild<QSpinBox *>("RdtHorzWidth");
    ASSERT_NE(width, nullptr);
    width->setFocus(Qt::OtherFocusReason);
    ASSERT_EQ(form->focusWidget(), width);
    QFocusEvent focusIn(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(form.get(), &focusIn);
    EXPECT_EQ(form->focusWidget(), child->GridView());
}
