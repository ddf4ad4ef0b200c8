// The pattern-size, grid-settings, rotation, insert/delete and repeat-layout commands of the
// main window, tried as a new user would: open a picture, open each window from its
// command, change the pattern, undo, save and open the file again.
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"

#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"
#include "editor/patterngrid.h"
#include "editor/ui/editgrosswindow.h"
#include "editor/ui/mergepicdialog.h"
#include "editor/ui/patterngridview.h"
#include "editor/ui/picsizedialog.h"
#include "editor/ui/rotateangledialog.h"
#include "mainwindowfixture.h"
#include "modalscript.h"
#include "shell/pictureformats.h"
#include "shell/ui/setpatterndialog.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

namespace {
using Rows = std::vector<std::vector<int>>;

struct GeometryFixture : TMainWindowFixture {
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartFreshSettings());
        RegisterPictureFormats();
        ASSERT_TRUE(
            SavePicture("ground.bmp", MakePicture({ { 1, 2, 3, 4 }, { 5, 6, 7, 8 }, { 9, 10, 11, 12 } })));
        ShowMainWindow();
    }
    // Typed into a box as a user does.
    static void type(QWidget *w, const char *name, const QString &text)
    {
        auto *box = w->findChild<QLineEdit *>(QLatin1String(name));
        ASSERT_NE(box, nullptr) << name;
        box->selectAll();
        QTest::keyClicks(box, text);
    }
    static void ok(QWidget *w)
    {
        auto *button = w->findChild<QPushButton *>(QStringLiteral("BtnOK"));
        ASSERT_NE(button, nullptr);
        button->click();
    }
    TMDIChild *reopen(TMDIChild *child, const QString &file)
    {
        ask.DialogAccepts = true;
        ask.DialogFile = file;
        ask.DialogType = TSaveFileType::Bitmap;
        EXPECT_TRUE(child->SaveDocument(TSaveCommand::SaveAs));
        EXPECT_FALSE(child->Document().Modified());
        const QString saved = child->Caption(); // the type's extension is added
        child->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return form->OpenChild(saved);
    }
};
} // namespace

TEST_F(GeometryFixture, EachCommandOpensItsWindowAndCancelChangesNothing)
{
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    TPatternGrid &grid = child->PatternGrid();
    const Rows before = PictureRows(grid.Picture());
    for (const char *name : { "ActSetPicSize", "ActSetGrid", "ActRotateRandom", "ActMergePic" })
        EXPECT_TRUE(action(name)->isEnabled()) << name;
    const QByteArray settingsBefore = ReadAll(Folders().ConfigIniPath);

    std::vector<const char *> shown;
    auto escape = [&shown](QWidget *d) {
        shown.push_back(d->metaObject()->className());
        QTest::keyClick(d, Qt::Key_Escape);
    };
    TModalScript script({ On<TFrmSetPicSize>([&](TFrmSetPicSize *d) {
                             type(d, "RdtPicWidth", "9");
                             escape(d);
                         }),
        On<TFrmSetPattern>([&](TFrmSetPattern *d) {
            d->findChild<QDoubleSpinBox *>("RdtHorzSize")->setValue(33);
            d->findChild<QPushButton *>("BtnCancel")->click();
            shown.push_back("TFrmSetPattern");
        }),
        On<TFrmSetRotateAngle>([&](TFrmSetRotateAngle *d) {
            type(d, "RdtRotateAngle", "45");
            escape(d);
        }),
        On<TFrmMergePic>([&](TFrmMergePic *d) {
            type(d, "RdtHNum", "3");
            escape(d);
        }) });
    for (const char *name : { "ActSetPicSize", "ActSetGrid", "ActRotateRandom", "ActMergePic" })
        action(name)->trigger();
    EXPECT_TRUE(script.Done()) << script.Unexpected().join(",").toStdString();
    EXPECT_EQ(shown.size(), 4u);
    EXPECT_EQ(PictureRows(grid.Picture()), before);
    EXPECT_EQ(grid.UndoStore().UndoCount(), 0);
    EXPECT_EQ(form->Children().size(), 1);
    EXPECT_EQ(ReadAll(Folders().ConfigIniPath), settingsBefore) << "nothing written";

    // The insert/delete window is a tool window: Escape closes it.
    action("ActEditGross")->trigger();
    auto *window = form->findChild<TFrmEditGross *>();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(grid.ToolId(), TToolId::Move);
    QTest::keyClick(window, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form->findChild<TFrmEditGross *>(), nullptr);
    EXPECT_EQ(PictureRows(grid.Picture()), before);
}

TEST_F(GeometryFixture, NewUserResizesSetsTheGridRotatesInsertsAndLaysOutARepeat)
{
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    child->showMaximized();
    TPatternGrid &grid = child->PatternGrid();
    const Rows start = PictureRows(grid.Picture());

    // Twice the width with the ratio kept, stretched: every cell doubled.
    TModalScript resize({ On<TFrmSetPicSize>([](TFrmSetPicSize *d) {
        type(d, "RdtPicWidth", "8");
        EXPECT_EQ(d->findChild<QLineEdit *>("RdtPicHeight")->text(), "6");
        ok(d);
    }) });
    action("ActSetPicSize")->trigger();
    EXPECT_TRUE(resize.Done()) << resize.Unexpected().join(",").toStdString();
    ASSERT_EQ(grid.Picture().size(), QSize(8, 6));
    EXPECT_EQ(grid.Picture().pixelIndex(7, 5), 12);
    EXPECT_EQ(child->Document().Record().Wefts, 6) << "the row tables follow the height";
    action("ActUndo")->trigger();
    EXPECT_EQ(PictureRows(grid.Picture()), start);

    // The grid settings: a density and the layer count, one settings step.
    TModalScript settings({ On<TFrmSetPattern>([](TFrmSetPattern *d) {
        d->findChild<QDoubleSpinBox *>("RdtVertSize")->setValue(45);
        d->findChild<QSpinBox *>("RxLayerCount")->setValue(2);
        ok(d);
    }) });
    action("ActSetGrid")->trigger();
    EXPECT_TRUE(settings.Done()) << settings.Unexpected().join(",").toStdString();
    EXPECT_EQ(grid.WeftDensity(), 45);
    EXPECT_EQ(grid.RepeatDisplayValues()[2], 2);
    TGrossOption gross;
    ReadGrossOption(gross);
    EXPECT_EQ(gross.WeftDensity, 45);

    // A quarter turn clockwise, typed.
    TModalScript rotate({ On<TFrmSetRotateAngle>([](TFrmSetRotateAngle *d) {
        type(d, "RdtRotateAngle", "90");
        d->findChild<QRadioButton *>("Clockwise")->click();
        ok(d);
    }) });
    action("ActRotateRandom")->trigger();
    EXPECT_TRUE(rotate.Done()) << rotate.Unexpected().join(",").toStdString();
    EXPECT_EQ(PictureRows(grid.Picture()), (Rows { { 9, 5, 1 }, { 10, 6, 2 }, { 11, 7, 3 }, { 12, 8, 4 } }));
    TRotateOption turn;
    ReadRotateOption(turn);
    EXPECT_EQ(turn.RotateAngle, 90);
    EXPECT_FALSE(turn.IsReverse);
    action("ActUndo")->trigger();
    EXPECT_EQ(PictureRows(grid.Picture()), start);

    // Insert two warps before the clicked column with the window open; a start past the
    // pattern is refused first and leaves the window open.
    action("ActEditGross")->trigger();
    auto *window = form->findChild<TFrmEditGross *>();
    ASSERT_NE(window, nullptr);
    QStringList messages;
    window->SetMessageHandler([&](const QString &text) { messages << text; });
    window->findChild<QSpinBox *>("NdtFrom")->setValue(9);
    window->findChild<QSpinBox *>("NdtOffSet")->setValue(2);
    ok(window);
    EXPECT_EQ(messages.size(), 1);
    EXPECT_TRUE(window->isVisible());
    QTest::mouseClick(child->GridView()->viewport(), Qt::LeftButton, {}, at(child, 2, 1));
    EXPECT_EQ(window->findChild<QSpinBox *>("NdtFrom")->value(), 2);
    ok(window);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form->findChild<TFrmEditGross *>(), nullptr) << "closes once done";
    EXPECT_EQ(grid.Picture().width(), 6);
    EXPECT_EQ(grid.Picture().pixelIndex(4, 0), 3);
    TModiGrossOption modi;
    ReadModiGrossOption(modi);
    EXPECT_EQ(modi.StartPos, 2);
    EXPECT_EQ(modi.OffSet, 2);
    action("ActUndo")->trigger();
    EXPECT_EQ(PictureRows(grid.Picture()), start);

    // A repeat of 2 x 1 into a new document with this grid's piece count.
    TModalScript repeat({ On<TFrmMergePic>([](TFrmMergePic *d) {
        type(d, "RdtHNum", "2");
        ok(d);
    }) });
    action("ActMergePic")->trigger();
    EXPECT_TRUE(repeat.Done()) << repeat.Unexpected().join(",").toStdString();
    ASSERT_EQ(form->Children().size(), 2);
    TMDIChild *made = form->ActiveChild();
    ASSERT_NE(made, child);
    const Rows twice { { 1, 2, 3, 4, 1, 2, 3, 4 }, { 5, 6, 7, 8, 5, 6, 7, 8 },
        { 9, 10, 11, 12, 9, 10, 11, 12 } };
    EXPECT_EQ(PictureRows(made->PatternGrid().Picture()), twice);
    EXPECT_EQ(made->PatternGrid().RepeatDisplayValues()[2], 2);
    EXPECT_EQ(made->PatternGrid().RepeatDisplayValues()[1], 4);
    EXPECT_EQ(made->PatternGrid().RepeatDisplayValues()[3], 0);
    EXPECT_TRUE(made->Document().Modified());

    // Saved and opened again.
    TMDIChild *again = reopen(made, dir.filePath("twice.bmp"));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(PictureRows(again->PatternGrid().Picture()), twice);
}

TEST_F(GeometryFixture, RepeatInPlaceShowsTheLayoutAndUndoTakesItBack)
{
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    TPatternGrid &grid = child->PatternGrid();
    const Rows start = PictureRows(grid.Picture());
    TModalScript repeat({ On<TFrmMergePic>([](TFrmMergePic *d) {
        type(d, "RdtVNum", "2");
        d->findChild<QCheckBox *>("CbxCreateNewPic")->setChecked(false);
        ok(d);
    }) });
    action("ActMergePic")->trigger();
    EXPECT_TRUE(repeat.Done()) << repeat.Unexpected().join(",").toStdString();
    EXPECT_EQ(form->Children().size(), 1);
    EXPECT_EQ(grid.Picture().size(), QSize(4, 6));
    EXPECT_EQ(child->Document().Record().Wefts, 6);
    EXPECT_TRUE(action("ActRepeatDispPic")->isEnabled());
    EXPECT_EQ(grid.RepeatInfo().VertCount, 2);
    action("ActUndo")->trigger();
    EXPECT_EQ(PictureRows(grid.Picture()), start);
}
