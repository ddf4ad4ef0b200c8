// The selvedge, warp-removal, crepe-ground and border commands of the main window, tried as a
// new user would: open a picture, open the window from its command, pick colours in the
// palette, take a weave from the library, apply, undo, save and open the file again.
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"

#include "core/base/messages.h"
#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"
#include "editor/patterngrid.h"
#include "editor/ui/bordurewindow.h"
#include "editor/ui/clothsidewindow.h"
#include "editor/ui/colorswatch.h"
#include "editor/ui/crepeweavedialog.h"
#include "editor/ui/patterngridview.h"
#include "editor/ui/removewarpwindow.h"
#include "mainwindowfixture.h"
#include "modalscript.h"
#include "shell/pictureformats.h"
#include "shell/ui/libraryframe.h"
#include "shippedlanguage.h"
#include "testutil.h"
#include "weave/weavefile.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDesktopServices>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

namespace {
// Takes the addresses the desktop would have opened.
class THelpCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> Urls;
public Q_SLOTS:
    void open(const QUrl &url) { Urls.append(url); }
};

using TRows = std::vector<std::vector<int>>;

struct SelvedgeFixture : TMainWindowFixture {
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartFreshSettings());
        RegisterPictureFormats();
        ASSERT_TRUE(
            SavePicture("ground.bmp", MakePicture({ { 3, 4, 5, 6 }, { 7, 8, 9, 10 }, { 3, 3, 3, 3 } })));
        ShowMainWindow();
    }
    // A colour picked in the palette bar.
    static void pick(int index) { SendColorPicked(0, TColorPickInfo { 0, index, 3 }); }
    static void click(QWidget *window, const char *name)
    {
        auto *w = window->findChild<QWidget *>(name);
        ASSERT_NE(w, nullptr) << name;
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() / 2, w->height() / 2));
    }
    // Saves, closes and opens the document again.
    TMDIChild *reopen(TMDIChild *child)
    {
        EXPECT_TRUE(child->SaveDocument(TSaveCommand::Save));
        child->PatternGrid().ClearModified();
        child->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return form->OpenChild(picture);
    }
};
} // namespace

TEST_F(SelvedgeFixture, NewUserAddsSelvedgesWithALibraryWeaveUndoesSavesAndReopens)
{
    TWeaveArray twill = MakeWeaveArray(2, 2);
    twill[0][0] = twill[1][1] = 1;
    const QString weaveFile = dir.filePath("twill.ovw");
    ASSERT_TRUE(WriteWeaveFile(weaveFile, twill));
    const QString badFile = dir.filePath("broken.ovw");
    ASSERT_TRUE(WriteAll(badFile, QByteArray("not a weave")));

    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    TPatternGrid &grid = child->PatternGrid();
    const TRows before = PictureRows(grid.Picture());
    action("ActAddClothSide")->trigger();
    auto *window = form->findChild<TFrmAddClothSide *>();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(RunState().CurrentToolId, TToolId::AbsorbColor) << "ready to pick colours";
    QStringList messages;
    window->SetMessageHandler([&](const QString &text) { messages << text; });

    // Two warps on the left before a colour was chosen for it: refused, nothing changed.
    window->findChild<QSpinBox *>("RdtWarpLeft")->setValue(2);
    click(window, "BtnOk");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(PictureRows(grid.Picture()), before);

    // The right colour first, then the left; the weave from the library goes to the panel
    // clicked last; a file the reader refuses changes nothing.
    click(window, "ImgColorRight");
    pick(9);
    click(window, "ImgColorLeft");
    pick(4);
    window->findChild<QSpinBox *>("RdtWarpRight")->setValue(1);
    click(window, "PalWeaveLeft");
    TFrameBrowse *browser = form->LibraryBrowser();
    ASSERT_NE(browser, nullptr);
    Q_EMIT browser->WeavePicked(weaveFile);
    EXPECT_EQ(window->WeaveName(TFrmAddClothSide::Left), "twill");
    Q_EMIT browser->WeavePicked(badFile);
    EXPECT_EQ(messages.size(), 2);
    EXPECT_EQ(window->WeaveName(TFrmAddClothSide::Left), "twill");
    EXPECT_EQ(window->Side(TFrmAddClothSide::Left).Weave, twill);
    EXPECT_TRUE(window->Side(TFrmAddClothSide::Right).Weave.isEmpty());

    click(window, "BtnOk");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form->findChild<TFrmAddClothSide *>(), nullptr) << "OK closes the window";
    // Black is entry 0 of the grey picture; the twill is anchored at the strip's bottom-left
    // cell, as weave tiling anchors it.
    const TRows widened { { 4, 0, 3, 4, 5, 6, 9 }, { 0, 4, 7, 8, 9, 10, 9 }, { 4, 0, 3, 3, 3, 3, 9 } };
    EXPECT_EQ(PictureRows(grid.Picture()), widened);
    EXPECT_EQ(grid.ColCount(), 7);

    action("ActUndo")->trigger();
    EXPECT_EQ(PictureRows(grid.Picture()), before);
    action("ActRedo")->trigger();
    EXPECT_EQ(PictureRows(grid.Picture()), widened);
    TMDIChild *again = reopen(child);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(PictureRows(again->PatternGrid().Picture()), widened);
}

TEST_F(SelvedgeFixture, RemoveWarpOnASelectionFollowsTheDocumentAndKeepsItsChoice)
{
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    TPatternGrid &grid = child->PatternGrid();
    grid.SetSelectionRegion(QRegion(0, 0, 2, 3)); // warps 1 and 2
    action("ActRemoveWarp")->trigger();
    auto *window = form->findChild<TFrmRemovewarp *>();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->findChild<QRadioButton *>("Remove_Odd_Warp_In_Area")->isChecked()) << "odd at first";
    QTest::keyClick(window, Qt::Key_Return); // Enter is OK, as in a dialog
    EXPECT_EQ(PictureRows(grid.Picture()), (TRows { { 4, 5, 6 }, { 8, 9, 10 }, { 3, 3, 3 } }));
    EXPECT_EQ(grid.UndoStore().UndoCount(), 1);
    action("ActUndo")->trigger();
    EXPECT_EQ(grid.ColCount(), 4);

    // Even warps of the whole picture, once the selection is gone; a picture of one warp
    // is left alone with the reason.
    grid.ClearSelectionRegion();
    window->findChild<QRadioButton *>("Remove_Even_Warp_In_Area")->click();
    click(window, "BtnOK");
    EXPECT_EQ(PictureRows(grid.Picture()), (TRows { { 3, 5 }, { 7, 9 }, { 3, 3 } }));

    // A second document comes to the front: the window works on it.
    ASSERT_TRUE(SavePicture("narrow.bmp", MakePicture({ { 1 } })));
    TMDIChild *second = form->OpenChild(picture);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(window->Grid(), &second->PatternGrid());
    QStringList messages;
    window->SetMessageHandler([&](const QString &text) { messages << text; });
    window->findChild<QRadioButton *>("Remove_Odd_Warp_In_Area")->click();
    click(window, "BtnOK");
    EXPECT_EQ(messages.size(), 1);
    EXPECT_EQ(second->PatternGrid().ColCount(), 1);

    // Documents closing: the window goes back to the one left, then lets go of it.
    for (TMDIChild *closing : { second, child }) {
        closing->PatternGrid().ClearModified();
        closing->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (closing == second) {
            EXPECT_EQ(window->Grid(), &grid);
        }
    }
    EXPECT_EQ(window->Grid(), nullptr);
    EXPECT_FALSE(window->Ok());

    window->findChild<QRadioButton *>("Remove_Even_Warp_In_Area")->click();
    window->close();
    EXPECT_FALSE(ReadRemoveOddWarp()) << "the choice is written on close";
}

TEST_F(SelvedgeFixture, CrepeWeaveOkSelectsTheCrepeToolAndAStrokePaints)
{
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    child->showMaximized();
    TPatternGrid &grid = child->PatternGrid();
    grid.SetForeColorIndex(1);
    TModalScript script({ On<TFrmCrepeWeave>([](TFrmCrepeWeave *d) {
        EXPECT_EQ(d->Option(), TCrepeWeaveOption()) << "10, 10, 4, 4, 10 at first";
        d->findChild<QSpinBox *>("RdtCrepeTotalSize")->setValue(30);
        d->findChild<QSpinBox *>("RdtCrepeHorz")->setValue(150); // held at 99
        d->accept();
    }) });
    action("ActCrepeWeave")->trigger();
    EXPECT_TRUE(script.Done()) << script.Unexpected().join(", ").toStdString();
    EXPECT_EQ(grid.CrepeWeaveOption().TotalSize, 30);
    EXPECT_EQ(grid.CrepeWeaveOption().Horz, 99);
    EXPECT_EQ(grid.ToolId(), TToolId::CrepeWeave);
    EXPECT_EQ(RunState().CurrentToolId, TToolId::CrepeWeave);

    QWidget *surface = child->GridView()->viewport();
    QTest::mousePress(surface, Qt::LeftButton, {}, at(child, 1, 1));
    QTest::mouseMove(surface, at(child, 2, 2));
    QTest::mouseRelease(surface, Qt::LeftButton, {}, at(child, 2, 2));
    int painted = 0;
    for (const auto &row : PictureRows(grid.Picture()))
        painted += int(std::count(row.begin(), row.end(), 1));
    EXPECT_GT(painted, 0);
    EXPECT_GE(grid.UndoStore().UndoCount(), 1);

    // The dialog is kept with the document and shows the values it stored.
    TModalScript again({ On<TFrmCrepeWeave>([](TFrmCrepeWeave *d) {
        EXPECT_EQ(d->Option().TotalSize, 30);
        d->reject();
    }) });
    action("ActCrepeWeave")->trigger();
    EXPECT_TRUE(again.Done());
    EXPECT_EQ(child->findChildren<TFrmCrepeWeave *>().size(), 1);
}

TEST_F(SelvedgeFixture, BordureWithThreePickedColoursStaysOpenAndStoresItsSides)
{
    TBordureOption stored;
    stored.TopBordure = stored.BottomBordure = false;
    stored.LeftLength = 0;
    stored.RightLength = 2;
    stored.IsOutBordure = false;
    stored.BordureWeftWidth = 5;
    stored.BordureWarpWidth = 7;
    WriteBordureOption(stored);
    ASSERT_TRUE(SavePicture("areas.bmp", MakePicture({ { 1, 2, 1, 1, 1 }, { 1, 1, 1, 1, 1 } })));
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    TPatternGrid &grid = child->PatternGrid();
    action("ActBaoBian")->trigger();
    auto *window = form->findChild<TFrmBordure *>();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->findChild<QSpinBox *>("RdtRightLength")->value(), 2);
    EXPECT_FALSE(window->findChild<QCheckBox *>("Top_Bordure")->isChecked());
    EXPECT_EQ(window->ColorTarget(), TFrmBordure::BorderTarget);
    EXPECT_EQ(RunState().CurrentToolId, TToolId::AbsorbColor);

    pick(6); // the border colour
    click(window, "ImgBackgroud");
    pick(1);
    click(window, "ImgForeGround");
    pick(2);
    EXPECT_EQ(window->ColorTarget(), TFrmBordure::ForegroundTarget);
    QTest::keyClick(window, Qt::Key_Enter); // Enter is OK, as in a dialog
    const TRows once { { 1, 2, 6, 6, 1 }, { 1, 1, 1, 1, 1 } };
    EXPECT_EQ(PictureRows(grid.Picture()), once);
    EXPECT_TRUE(window->isVisible()) << "the window stays open";
    click(window, "BtnOk");
    EXPECT_EQ(grid.UndoStore().UndoCount(), 1) << "a second OK changes nothing";
    action("ActUndo")->trigger();
    EXPECT_EQ(PictureRows(grid.Picture()), (TRows { { 1, 2, 1, 1, 1 }, { 1, 1, 1, 1, 1 } }));
    action("ActRedo")->trigger();

    click(window, "Reset");
    EXPECT_EQ(window->Colors().Foreground, 0);
    window->findChild<QSpinBox *>("RdtRightLength")->setValue(3);
    QTest::keyClick(window, Qt::Key_Escape);
    TBordureOption read;
    ReadBordureOption(read);
    TBordureOption expected = stored;
    expected.RightLength = 3;
    EXPECT_EQ(read, expected) << "sides and lengths written, the other three kept as read";

    TMDIChild *again = reopen(child);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(PictureRows(again->PatternGrid().Picture()), once);
}

TEST_F(SelvedgeFixture, F1OpensTheGuideAtEachWindowsSection)
{
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    THelpCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "open");
    const auto pressF1 = [](QWidget *window) {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, Qt::Key_F1);
    };
    action("ActBaoBian")->trigger();
    auto *bordure = form->findChild<TFrmBordure *>();
    ASSERT_NE(bordure, nullptr);
    pressF1(bordure);
    bordure->close(); // one tool window at a time takes the keys
    action("ActRemoveWarp")->trigger();
    auto *removeWarp = form->findChild<TFrmRemovewarp *>();
    ASSERT_NE(removeWarp, nullptr);
    pressF1(removeWarp);
    removeWarp->close();
    TModalScript script({ On<TFrmCrepeWeave>([](TFrmCrepeWeave *d) {
        QTest::keyClick(d, Qt::Key_F1);
        d->reject();
    }) });
    action("ActCrepeWeave")->trigger();
    EXPECT_TRUE(script.Done()) << script.Unexpected().join(", ").toStdString();
    QDesktopServices::unsetUrlHandler("file");
    QStringList fragments;
    for (const QUrl &url : catcher.Urls)
        fragments << url.fragment();
    EXPECT_EQ(fragments, (QStringList { "24", "25", "13" }));
    ASSERT_FALSE(catcher.Urls.isEmpty());
    EXPECT_TRUE(catcher.Urls[0].toLocalFile().endsWith("/Help/index.html"));
}

// The crepe dialog is kept with its document, so a language switch must reach it too.
TEST_F(SelvedgeFixture, TheCrepeDialogFollowsALanguageSwitch)
{
    const TShippedLanguageScope english(TShippedLanguage::English);
    TFrmCrepeWeave dialog;
    const auto label = [&](const char *box) {
        auto *form = dialog.findChild<QFormLayout *>();
        auto *text = qobject_cast<QLabel *>(form->labelForField(dialog.findChild<QSpinBox *>(box)));
        return text ? text->text() : QString();
    };
    EXPECT_EQ(dialog.windowTitle(), "Crepe Ground");
    EXPECT_EQ(label("RdtCrepeWeaveWidth"), "Warps");
    ChooseShippedLanguage(TShippedLanguage::SimplifiedChinese);
    QEvent change(QEvent::LanguageChange);
    QCoreApplication::sendEvent(&dialog, &change);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("泥地"));
    EXPECT_EQ(label("RdtCrepeWeaveWidth"), QString::fromUtf8("针数"));
    EXPECT_EQ(dialog.findChild<QPushButton *>("BtnOK")->text(), GetUiString(UiKey::General::BtnOK));
}

#include "test_mainwindowselvedges.moc"
