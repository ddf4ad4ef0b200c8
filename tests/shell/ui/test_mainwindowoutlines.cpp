// The outline, shading and binding-point commands of the main window, tried as a new user
// would: select an area and shade it, outline a colour area, set up the manual binding
// points and draw a stroke, bind long floats automatically; each undone, saved and opened
// again; and the tool windows following the document in front.
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"

#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "editor/bindingpoints.h"
#include "editor/patterngrid.h"
#include "editor/ui/autobindingdialog.h"
#include "editor/ui/manualbindingdialog.h"
#include "editor/ui/patterngridview.h"
#include "editor/ui/shadowwindow.h"
#include "editor/ui/sketchwindows.h"
#include "mainwindowfixture.h"
#include "shell/pictureformats.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <set>

namespace {

struct OutlinesFixture : TMainWindowFixture {
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartFreshSettings());
        StartSettings().MaxUndoCount = 20;
        RunState().CurrentToolId = TToolId::Move;
        RunState().HorzWidth = RunState().VertWidth = 1;
        RegisterPictureFormats();
        ShowMainWindow(QSize(900, 700));
    }
    // Opens the picture maximised, fore index 9 and back index 3 chosen.
    TMDIChild *open(const QImage &image, const char *name = "pattern.bmp")
    {
        if (!SavePicture(name, image))
            return nullptr;
        TMDIChild *child = form->OpenChild(picture);
        if (!child)
            return nullptr;
        child->showMaximized();
        child->PatternGrid().SetForeColorIndex(9);
        child->PatternGrid().SetBackColorIndex(3);
        return child;
    }
    void drag(TMDIChild *child, TPoint from, TPoint to)
    {
        QWidget *surface = child->GridView()->viewport();
        QTest::mousePress(surface, Qt::LeftButton, {}, at(child, from.X, from.Y));
        QTest::mouseMove(surface, at(child, to.X, to.Y));
        QTest::mouseRelease(surface, Qt::LeftButton, {}, at(child, to.X, to.Y));
    }
    // Saves the active document in place and closes it; true when none is left.
    bool saveAndClose()
    {
        action("ActFileSave")->trigger();
        action("ActFileClose")->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return form->Children().isEmpty();
    }
    TMDIChild *saveCloseReopen() { return saveAndClose() ? form->OpenChild(picture) : nullptr; }
    // Answers the next modal dialog of type T with act, from the event loop.
    template <class T> static void answer(std::function<void(T &)> act)
    {
        QTimer::singleShot(0, [act] {
            auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            act(*dialog);
        });
    }
    static void click(QWidget &parent, const char *name)
    {
        auto *button = parent.findChild<QAbstractButton *>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        button->click();
    }
};

QImage blank(int w, int h, int index)
{
    QImage img = NewPicture(w, h, GreyPalette());
    img.fill(index);
    return img;
}

int countIndex(const QImage &img, int index)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += img.constScanLine(y)[x] == index;
    return n;
}

} // namespace

TEST_F(OutlinesFixture, NewUserShadesASelectionUndoesSavesAndReopens)
{
    TMDIChild *child = open(blank(24, 24, 3));
    ASSERT_NE(child, nullptr);
    TPatternGrid &grid = child->PatternGrid();
    ASSERT_TRUE(action("ActShadow")->isEnabled());
    action("ActShadow")->trigger();
    auto *window = form->findChild<TFrmShadow *>();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    QStringList shown;
    window->SetMessageHandler([&](const QString &text, const QString &caption) { shown << text << caption; });

    // No area selected yet: the message, and nothing changes.
    click(*window, "BtnOk");
    EXPECT_EQ(shown,
        (QStringList { GetUiMessage(UiKey::String::ShadowNoRegion),
            GetUiMessage(UiKey::String::ShadowNoRegionCaption) }));
    EXPECT_EQ(grid.UndoStore().UndoCount(), 0);

    // A rectangle area of 20 x 20 from the tool bar, then 直丝 from weft to warp face, N 5.
    action("ActDefineRectangle")->trigger();
    drag(child, { 2, 2 }, { 21, 21 });
    ASSERT_FALSE(grid.SelectionRegion().isEmpty());
    window->findChild<QRadioButton *>("RgShadowMethodItem1")->click();
    window->findChild<QSpinBox *>("RdtDWWarpWeft")->setValue(5);
    click(*window, "BtnOk");
    ASSERT_EQ(grid.UndoStore().UndoCount(), 1);
    const QImage shaded = grid.Picture();
    // 20 rows are not above (5 - 1) x 5: bands of 5 rows, with k + 1 points in every 5
    // cells of a row: 5 x 4 x (1 + 2 + 3 + 4) = 200 points, all inside the area.
    EXPECT_EQ(countIndex(shaded, 9), 200);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x)
            if (shaded.constScanLine(y)[x] == 9) {
                EXPECT_TRUE(x >= 2 && x < 22 && y >= 2 && y < 22) << x << ',' << y;
            }

    action("ActUndo")->trigger();
    EXPECT_EQ(countIndex(grid.Picture(), 9), 0);
    action("ActRedo")->trigger();
    EXPECT_EQ(grid.Picture(), shaded);

    ASSERT_TRUE(saveAndClose());
    EXPECT_EQ(window->Grid(), nullptr) << "the window lets go of the closed document";
    EXPECT_FALSE(window->Run());
    TMDIChild *again = form->OpenChild(picture);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(window->Grid(), &again->PatternGrid()) << "and takes the document in front";
    EXPECT_EQ(PictureRows(again->PatternGrid().Picture()), PictureRows(shaded));
}

TEST_F(OutlinesFixture, OutlineWindowsFollowTheDocumentInFront)
{
    // A block of fore colour 9 on back 3 in each of two documents.
    QImage block = blank(8, 6, 3);
    for (int y = 1; y < 5; ++y)
        for (int x = 2; x < 6; ++x)
            block.scanLine(y)[x] = 9;
    TMDIChild *first = open(block, "first.bmp");
    ASSERT_NE(first, nullptr);
    action("ActTabbySketch")->trigger();
    auto *tabby = form->findChild<TFrmTabbySketch *>();
    ASSERT_NE(tabby, nullptr);
    EXPECT_EQ(tabby->Grid(), &first->PatternGrid());

    TMDIChild *second = open(block, "second.bmp");
    ASSERT_NE(second, nullptr);
    form->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(second->parentWidget()));
    EXPECT_EQ(tabby->Grid(), &second->PatternGrid()) << "follows the document in front";

    // Double start: the block's edge cells with column + row even take the back index.
    tabby->findChild<QRadioButton *>("RgpSketchStyleItem1")->click();
    click(*tabby, "BtnOk");
    EXPECT_EQ(PictureRows(first->PatternGrid().Picture()), PictureRows(block));
    const std::vector<std::vector<int>> outlined { { 3, 3, 3, 3, 3, 3, 3, 3 }, { 3, 3, 9, 3, 9, 3, 3, 3 },
        { 3, 3, 3, 9, 9, 9, 3, 3 }, { 3, 3, 9, 9, 9, 3, 3, 3 }, { 3, 3, 3, 9, 3, 9, 3, 3 },
        { 3, 3, 3, 3, 3, 3, 3, 3 } };
    EXPECT_EQ(PictureRows(second->PatternGrid().Picture()), outlined);

    // The multi-needle window: blocks of 2 x 2 become one colour each, one more step.
    action("ActMultiSketch")->trigger();
    auto *multi = form->findChild<TFrmMultiSketch *>();
    ASSERT_NE(multi, nullptr);
    EXPECT_EQ(multi->findChild<QSpinBox *>("RseNeedleNum")->minimum(), 1);
    EXPECT_EQ(multi->findChild<QSpinBox *>("RseShuttleNum")->maximum(), 99);
    click(*multi, "BtnOk");
    EXPECT_EQ(second->PatternGrid().UndoStore().UndoCount(), 2);
    action("ActUndo")->trigger();
    EXPECT_EQ(PictureRows(second->PatternGrid().Picture()), outlined);

    // Escape closes a window; closing every document leaves the other with no grid.
    QTest::keyClick(tabby, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form->findChild<TFrmTabbySketch *>(), nullptr);
    for (TMDIChild *c : form->Children())
        c->PatternGrid().ClearModified();
    ASSERT_TRUE(form->CloseAllDocuments());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(multi->Grid(), nullptr);
    EXPECT_FALSE(multi->Run());
    EXPECT_FALSE(action("ActMultiSketch")->isEnabled());
}

TEST_F(OutlinesFixture, ManualBindingPointsAlongAStroke)
{
    TMDIChild *child = open(blank(16, 11, 3));
    ASSERT_NE(child, nullptr);
    TPatternGrid &grid = child->PatternGrid();
    // 合双, 经向: the fill box is disabled along the warp.
    answer<TFrmManualJianSi>([](TFrmManualJianSi &d) {
        click(d, "RgpJiansiStyleItem1");
        click(d, "RgpJianSiWayItem0");
        EXPECT_FALSE(d.findChild<QCheckBox *>("CbxAutoFillPoint")->isEnabled());
        d.findChild<QCheckBox *>("CbxAutoFillPoint")->setChecked(true);
        click(d, "BtnOk");
    });
    action("ActManualJianSi")->trigger();
    EXPECT_EQ(grid.ToolId(), TToolId::BindingPointsDouble);
    EXPECT_FALSE(grid.JianSiStyle()[0]);
    EXPECT_FALSE(grid.JianSiWay()[0]);
    EXPECT_EQ(grid.AutoFillPoint(), 0) << "checked but disabled";

    drag(child, { 1, 3 }, { 14, 8 });
    std::set<int> columns;
    int marked = 0;
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 16; ++x)
            if (grid.Picture().constScanLine(y)[x] == 9) {
                ++marked;
                columns.insert(x);
                EXPECT_TRUE(MeetsBindingParity(x, y, 11, TBindingStyle::Double)) << x << ',' << y;
            }
    EXPECT_EQ(marked, 14);
    EXPECT_EQ(int(columns.size()), marked);
    const QImage drawn = grid.Picture();
    action("ActUndo")->trigger();
    EXPECT_EQ(countIndex(grid.Picture(), 9), 0);
    action("ActRedo")->trigger();

    // The dialog opens on the grid's settings; Cancel changes nothing.
    answer<TFrmManualJianSi>([](TFrmManualJianSi &d) {
        EXPECT_EQ(d.Style(), TBindingStyle::Double);
        EXPECT_EQ(d.Way(), TBindingWay::Warp);
        click(d, "BtnCancel");
    });
    action("ActManualJianSi")->trigger();
    EXPECT_EQ(grid.ToolId(), TToolId::BindingPointsDouble);

    TMDIChild *again = saveCloseReopen();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(PictureRows(again->PatternGrid().Picture()), PictureRows(drawn));
}

TEST_F(OutlinesFixture, AutomaticBindingOnLongFloats)
{
    // Fore colour 9 in columns 1 and 4: a float of 30 and one of 8; ground 3.
    QImage floats = blank(6, 30, 3);
    for (int y = 0; y < 30; ++y)
        floats.scanLine(y)[1] = 9;
    for (int y = 10; y < 18; ++y)
        floats.scanLine(y)[4] = 9;
    TMDIChild *child = open(floats);
    ASSERT_NE(child, nullptr);
    TPatternGrid &grid = child->PatternGrid();
    grid.SetBackColorIndex(200);

    answer<TFrmAutoJianSi>([](TFrmAutoJianSi &d) {
        auto *limit = d.findChild<QSpinBox *>("RseFloat");
        EXPECT_EQ(limit->value(), 16);
        EXPECT_EQ(limit->minimum(), 1) << "a limit of 0 cannot be typed";
        limit->setValue(7);
        click(d, "BtnOk");
    });
    action("ActAutoJianSi")->trigger();
    // Column 1 (X = 2): the whole column, 30 cells, middle row 15: X + Y = 17 is odd, so 合单
    // takes row 14.
    // Column 4 (X = 5): rows 10..17, middle row 13, X + Y = 22 even: kept.
    std::vector<TPoint> points;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 6; ++x)
            if (grid.Picture().constScanLine(y)[x] == 200)
                points.push_back({ x, y });
    EXPECT_EQ(points, (std::vector<TPoint> { { 4, 13 }, { 1, 14 } }));
    ASSERT_EQ(grid.UndoStore().UndoCount(), 1);
    const QImage bound = grid.Picture();
    action("ActUndo")->trigger();
    EXPECT_EQ(PictureRows(grid.Picture()), PictureRows(floats));
    action("ActRedo")->trigger();

    // Cancel binds nothing.
    answer<TFrmAutoJianSi>([](TFrmAutoJianSi &d) { click(d, "BtnCancel"); });
    action("ActAutoJianSi")->trigger();
    EXPECT_EQ(grid.UndoStore().UndoCount(), 1);

    TMDIChild *again = saveCloseReopen();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(PictureRows(again->PatternGrid().Picture()), PictureRows(bound));
}
