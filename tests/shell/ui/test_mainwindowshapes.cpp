// The cross-hair, start-point, numeric-shape and picture repair commands of the main window,
// tried as a new user would: open a picture, open the window from its command, type the
// numbers, confirm, undo, save and open the file again.
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"

#include "core/settings/settings.h"
#include "editor/floatingpicture.h"
#include "editor/patterngrid.h"
#include "editor/tools/customline.h"
#include "editor/ui/cursorsizedialog.h"
#include "editor/ui/numericshapewindows.h"
#include "editor/ui/patterngridview.h"
#include "editor/ui/pointstyledialog.h"
#include "editor/ui/repairpicwindow.h"
#include "mainwindowfixture.h"
#include "modalscript.h"
#include "shell/pictureformats.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

namespace {

using TRows = std::vector<std::vector<int>>;
constexpr int F = 7; // fore
constexpr int B = 200; // back

struct ShapesFixture : TMainWindowFixture {
    int opened = 0;
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartFreshSettings());
        RegisterPictureFormats();
        QImage ground = NewPicture(12, 10, GreyPalette());
        ground.fill(B);
        ASSERT_TRUE(SavePicture("ground.bmp", ground));
        ShowMainWindow();
    }
    // A document of its own file: the same file twice would only come to the front.
    TMDIChild *open()
    {
        if (opened++ > 0) {
            QImage ground = NewPicture(12, 10, GreyPalette());
            ground.fill(B);
            EXPECT_TRUE(SavePicture(QStringLiteral("ground%1.bmp").arg(opened), ground));
        }
        TMDIChild *child = form->OpenChild(picture);
        EXPECT_NE(child, nullptr);
        if (child) {
            child->PatternGrid().SetForeColorIndex(F);
            child->PatternGrid().SetBackColorIndex(B);
        }
        return child;
    }
    // Types the number into the box as a user does: everything selected, then the digits.
    static void type(QWidget *window, const char *name, int value)
    {
        auto *box = window->findChild<QSpinBox *>(name);
        ASSERT_NE(box, nullptr) << name;
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, QString::number(value));
        EXPECT_EQ(box->value(), value) << name;
    }
    // A push button in its middle, a check box or radio button on its mark.
    static void click(QWidget *window, const char *name)
    {
        auto *w = window->findChild<QWidget *>(name);
        ASSERT_NE(w, nullptr) << name;
        const bool marked = qobject_cast<QCheckBox *>(w) || qobject_cast<QRadioButton *>(w);
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(marked ? 8 : w->width() / 2, w->height() / 2));
    }
    static void deleteClosed() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    TMDIChild *reopen(TMDIChild *child)
    {
        EXPECT_TRUE(child->SaveDocument(TSaveCommand::Save));
        child->PatternGrid().ClearModified();
        child->close();
        deleteClosed();
        return form->OpenChild(picture);
    }
};

} // namespace

// A filled rectangle typed by width and height, Enter in the number box places it, Enter on
// the pattern confirms it, Undo takes it back, Redo brings it again and it is saved.
TEST_F(ShapesFixture, NewUserTypesARectangleConfirmsUndoesSavesAndReopens)
{
    TMDIChild *child = open();
    ASSERT_NE(child, nullptr);
    TPatternGrid &grid = child->PatternGrid();
    const TRows before = PictureRows(grid.Picture());
    action("ActDigitalRectangle")->trigger();
    auto *window = form->findChild<TFrmDigitalRectangle *>();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_LT((window->geometry().center() - form->geometry().center()).manhattanLength(), 40) << "centred";

    click(window, "CbxWdAndHi");
    click(window, "CbxFilledRectangle");
    type(window, "RdtLeftX", 3);
    type(window, "RdtLeftY", 2);
    type(window, "RdtWidth", 4);
    type(window, "RdtHeight", 3);
    QTest::keyClick(window->findChild<QSpinBox *>("RdtHeight"), Qt::Key_Return);
    deleteClosed();
    EXPECT_EQ(form->findChild<TFrmDigitalRectangle *>(), nullptr) << "closes after placing";
    EXPECT_EQ(grid.ToolId(), TToolId::FilledRectangle);
    EXPECT_EQ(PictureRows(grid.Picture()), before) << "waiting to be confirmed";
    EXPECT_TRUE(action("ActFilledRectangle")->isChecked()) << "the tool bar shows the tool";

    QTest::keyClick(child->GridView(), Qt::Key_Return);
    TRows after = before;
    for (int y = 6; y <= 8; ++y)
        for (int x = 2; x <= 5; ++x)
            after[std::size_t(y)][std::size_t(x)] = F;
    EXPECT_EQ(PictureRows(grid.Picture()), after);
    action("ActUndo")->trigger();
    EXPECT_EQ(PictureRows(grid.Picture()), before);
    action("ActRedo")->trigger();
    EXPECT_EQ(PictureRows(grid.Picture()), after);
    TRectangleInfo stored;
    ReadRectangleInfo(stored);
    EXPECT_TRUE(stored.IsSetWidthAndHeight && stored.IsFilled);
    EXPECT_EQ(stored.Width, 4);

    TMDIChild *again = reopen(child);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(PictureRows(again->PatternGrid().Picture()), after);
    action("ActDigitalRectangle")->trigger();
    window = form->findChild<TFrmDigitalRectangle *>();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Info(), stored) << "the window opens with what was typed last";
    QTest::keyClick(window, Qt::Key_Escape);
    deleteClosed();
}

// The line and circle windows follow the document in front and leave the one that closed.
TEST_F(ShapesFixture, LineAndCircleWindowsFollowTheDocumentInFront)
{
    TMDIChild *first = open();
    ASSERT_NE(first, nullptr);
    action("ActDigitalBeeLine")->trigger();
    action("ActDigitalCircle")->trigger();
    auto *line = form->findChild<TFrmDigitalBeeLine *>();
    auto *circle = form->findChild<TFrmDigitalCircle *>();
    ASSERT_NE(line, nullptr);
    ASSERT_NE(circle, nullptr);
    EXPECT_EQ(line->Grid(), &first->PatternGrid());
    TMDIChild *second = open();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(line->Grid(), &second->PatternGrid());
    EXPECT_EQ(circle->Grid(), &second->PatternGrid());

    // A circle by centre and radius on the document in front.
    click(circle, "RbnCircel");
    type(circle, "RdtCircleX", 6);
    type(circle, "RdtCircleY", 5);
    type(circle, "RdtRadius", 2);
    click(circle, "BtnOK");
    EXPECT_EQ(second->PatternGrid().ToolId(), TToolId::Circle);
    const TCustomLine *shape = second->PatternGrid().DrawObject();
    ASSERT_NE(shape, nullptr);
    ASSERT_EQ(shape->GetPointCount(), 2);
    EXPECT_EQ(shape->Vertex(0).Point(), (TPoint { 3, 3 }));
    EXPECT_EQ(shape->Vertex(1).Point(), (TPoint { 7, 7 }));

    second->PatternGrid().ClearModified();
    second->close();
    deleteClosed();
    EXPECT_EQ(line->Grid(), &first->PatternGrid());
    first->PatternGrid().ClearModified();
    first->close();
    deleteClosed();
    EXPECT_EQ(line->Grid(), nullptr);
    EXPECT_FALSE(line->Ok()) << "no closed document is worked on";
    line->close();
    deleteClosed();
}

// The cross-hair reaches every open document; the start-point filter of the document in
// front is set through its dialog and its action shows it.
TEST_F(ShapesFixture, CrossHairReachesEveryGridAndPointStyleShowsOnItsAction)
{
    TMDIChild *first = open();
    TMDIChild *second = open();
    ASSERT_TRUE(first && second);
    TModalScript script({ On<TFrmSetCursorSize>([](TFrmSetCursorSize *d) {
        d->findChild<QRadioButton *>("Display_Large_Cursor")->click();
        d->findChild<QSpinBox *>("RdtSize")->setValue(5);
        d->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    }) });
    action("ActSetCursorSize")->trigger();
    EXPECT_TRUE(script.Done()) << script.Unexpected().join(',').toStdString();
    const TCursorStyleOption large { 5, true, false, false };
    EXPECT_EQ(first->PatternGrid().CrossHair(), large);
    EXPECT_EQ(second->PatternGrid().CrossHair(), large);
    TMDIChild *third = open();
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third->PatternGrid().CrossHair(), large) << "a new document reads it";

    TModalScript points({ On<TFrmSetPointStyle>([](TFrmSetPointStyle *d) {
        d->findChild<QRadioButton *>("Single_Starting_Point_Valid")->click();
        d->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    }) });
    action("ActSetSingleDoublePoint")->trigger();
    EXPECT_TRUE(points.Done());
    EXPECT_EQ(third->PatternGrid().PointStyle(), (std::array<std::uint8_t, 3> { 1, 0, 0 }));
    EXPECT_EQ(first->PatternGrid().PointStyle(), (std::array<std::uint8_t, 3> { 0, 0, 1 }));
    EXPECT_TRUE(action("ActSetSingleDoublePoint")->isChecked());
    form->mdiArea()->setActiveSubWindow(first);
    ASSERT_EQ(form->ActiveChild(), first);
    EXPECT_FALSE(action("ActSetSingleDoublePoint")->isChecked()) << "follows the document in front";
}

// The repair window closes a gap in the fore colour with one step that Undo takes back; it
// works on the picture the grid holds after a whole-picture undo and closes with its document.
TEST_F(ShapesFixture, NewUserRepairsAGapUndoesSavesAndTheWindowClosesWithItsDocument)
{
    QImage gapped = NewPicture(12, 10, GreyPalette());
    gapped.fill(B);
    for (int x : { 1, 2, 4, 5 })
        gapped.setPixel(x, 4, F);
    ASSERT_TRUE(SavePicture("gapped.bmp", gapped));
    TMDIChild *child = open();
    ASSERT_NE(child, nullptr);
    TPatternGrid &grid = child->PatternGrid();
    const TRows before = PictureRows(grid.Picture());
    action("ActRotate90")->trigger();
    action("ActUndo")->trigger();

    action("ActRepairPic")->trigger();
    auto *window = form->findChild<TFrmRepairPic *>();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    click(window, "RgpFunctionItem1");
    click(window, "BtnOK");
    TRows after = before;
    after[4][3] = F;
    EXPECT_EQ(PictureRows(grid.Picture()), after);
    EXPECT_TRUE(window->isVisible()) << "stays for the next run";
    action("ActUndo")->trigger();
    EXPECT_EQ(PictureRows(grid.Picture()), before);
    action("ActRedo")->trigger();
    EXPECT_EQ(PictureRows(grid.Picture()), after);

    TMDIChild *again = reopen(child);
    deleteClosed();
    EXPECT_EQ(form->findChild<TFrmRepairPic *>(), nullptr) << "closed with its document";
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(PictureRows(again->PatternGrid().Picture()), after);
}

// A 2 x 2 area typed by its top-left corner and size is selected and copied; pasted by
// coordinates it floats at the typed place until another tool's press drops it as one step.
TEST_F(ShapesFixture, NewUserCopiesAnAreaAndPastesItElsewhereByCoordinates)
{
    QImage patch = NewPicture(12, 10, GreyPalette());
    patch.fill(B);
    patch.setPixel(0, 0, F);
    patch.setPixel(1, 1, F);
    ASSERT_TRUE(SavePicture("patch.bmp", patch));
    TMDIChild *child = open();
    ASSERT_NE(child, nullptr);
    TPatternGrid &grid = child->PatternGrid();
    const TRows before = PictureRows(grid.Picture());

    action("ActDigitalCopy")->trigger();
    auto *copy = form->findChild<TFrmDigitalCopy *>();
    ASSERT_NE(copy, nullptr);
    type(copy, "RdtStartX", 1);
    type(copy, "RdtStartY", 1);
    type(copy, "RdtWidth", 2);
    type(copy, "RdtHeight", 2);
    click(copy, "BtnOK");
    deleteClosed();
    EXPECT_EQ(form->findChild<TFrmDigitalCopy *>(), nullptr);
    EXPECT_TRUE((grid.SelectionRegion() ^ QRegion(0, 0, 2, 2)).isEmpty())
        << "the typed area is the selection";

    action("ActPasteTo")->trigger();
    auto *paste = form->findChild<TFrmPasteTo *>();
    ASSERT_NE(paste, nullptr);
    QStringList messages;
    paste->SetMessageHandler([&](const QString &text) { messages << text; });
    type(paste, "RdtPasteX", 13);
    click(paste, "BtnOK");
    EXPECT_EQ(messages.size(), 1) << "outside the picture";
    EXPECT_TRUE(paste->isVisible());
    type(paste, "RdtPasteX", 7);
    type(paste, "RdtPasteY", 6);
    click(paste, "BtnOK");
    deleteClosed();
    ASSERT_TRUE(grid.HasFloatingBitmap());
    EXPECT_EQ(grid.FloatingBitmap()->Position(), (TPoint { 6, 5 }));
    EXPECT_EQ(PictureRows(grid.Picture()), before) << "floating, not yet in the picture";

    // Another tool's press drops the piece into the picture.
    action("ActFreeLine")->trigger();
    grid.MouseDown({ { 11, 9 } });
    grid.MouseUp({ { 11, 9 } });
    EXPECT_FALSE(grid.HasFloatingBitmap());
    TRows after = before;
    after[5][6] = F;
    after[6][7] = F;
    after[9][11] = F;
    EXPECT_EQ(PictureRows(grid.Picture()), after);
    action("ActUndo")->trigger(); // the dot
    action("ActUndo")->trigger(); // the drop
    EXPECT_EQ(PictureRows(grid.Picture()), before);
    action("ActRedo")->trigger();
    action("ActRedo")->trigger();
    EXPECT_EQ(PictureRows(grid.Picture()), after);

    TMDIChild *again = reopen(child);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(PictureRows(again->PatternGrid().Picture()), after);
}

// Each numeric window opens in front with its first number box ready for typing, and
// Escape closes it: no click on the window first.
TEST_F(ShapesFixture, NumericWindowsOpenReadyForTheKeyboard)
{
    ASSERT_NE(open(), nullptr);
    const char *const actions[]
        = { "ActDigitalBeeLine", "ActDigitalRectangle", "ActDigitalCircle", "ActDigitalCopy" };
    for (const char *name : actions) {
        SCOPED_TRACE(name);
        QApplication::setActiveWindow(form.get());
        action(name)->trigger();
        TNumericShapeWindow *window = nullptr;
        for (TNumericShapeWindow *w : form->findChildren<TNumericShapeWindow *>())
            if (w->isVisible())
                window = w;
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(QTest::qWaitForWindowActive(window)) << "the window is in front";
        QWidget *focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        EXPECT_EQ(focus->window(), window);
        QSpinBox *box = qobject_cast<QSpinBox *>(focus);
        if (!box && focus->parentWidget())
            box = qobject_cast<QSpinBox *>(focus->parentWidget());
        ASSERT_NE(box, nullptr) << "a number box has the keyboard";
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("3"));
        EXPECT_EQ(box->value(), 3) << "the typed number replaces the shown one";
        QPointer<TNumericShapeWindow> alive(window);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(alive.isNull() || !alive->isVisible());
    }
}
