// The weave design window as a user meets it offscreen: what it shows, the mouse on its
// grid, its actions and their dialogs, saving and the question before the weave is lost.
#include "weave/ui/weavedesignwindow.h"

#include "core/settings/recentfiles.h"
#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"
#include "shell/ui/modalscript.h"
#include "shippedlanguage.h"
#include "testutil.h"
#include "weave/ui/newweavedialog.h"
#include "weave/ui/radiogroup.h"
#include "weave/ui/warpweftdialog.h"
#include "weave/ui/weavecombinedialog.h"
#include "weave/ui/weavegrid.h"
#include "weave/ui/weavelayersdialog.h"
#include "weave/weavearray.h"
#include "weave/weavefile.h"

#include "core/ui/numberedit.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// The recent list ("Zedariva.ini") in a folder of the test's own.
struct TSettingsFolder {
    QTemporaryDir dir;
    TSettingsFolder() { Folders().SettingsDir = dir.path() + QLatin1Char('/'); }
};

// A window shown as the user sees it, with every question answered by the test.
struct TWindow : TSettingsFolder {
    TfrmWeaveDesign w;
    std::vector<TWeaveSaveAnswer> answers; // the save question's answers, in order
    QStringList asked;
    QStringList saveNames; // what the save dialog gives, in order (empty: cancelled)
    QStringList openNames;
    QStringList messages;
    std::function<int(QDialog &)> dialogs = [](QDialog &) { return int(QDialog::Rejected); };

    TWindow()
    {
        w.AskSave = [this] {
            asked << QStringLiteral("save?");
            if (answers.empty())
                return TWeaveSaveAnswer::Cancel;
            const TWeaveSaveAnswer a = answers.front();
            answers.erase(answers.begin());
            return a;
        };
        w.ChooseSaveFile = [this] { return saveNames.isEmpty() ? QString() : saveNames.takeFirst(); };
        w.ChooseOpenFile = [this] { return openNames.isEmpty() ? QString() : openNames.takeFirst(); };
        w.ShowMessage = [this](const QString &text, const QString &) { messages << text; };
        w.RunDialog = [this](QDialog &d) { return dialogs(d); };
        w.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
    }

    void Trigger(const char *name)
    {
        QAction *a = w.Action(QLatin1String(name));
        ASSERT_NE(a, nullptr) << name;
        a->trigger();
    }
    QPoint Centre(int col, int row) const { return w.GrdWeave->CellRect(col, row).center(); }
    void ClickCell(int col, int row, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers keys = {})
    {
        QTest::mouseClick(w.GrdWeave->viewport(), button, keys, Centre(col, row));
    }
    // Presses on one cell and drags to the other as a hand does: moves, then the release.
    void DragCells(
        int col1, int row1, int col2, int row2, Qt::KeyboardModifiers keys = {}, bool release = true)
    {
        QWidget *vp = w.GrdWeave->viewport();
        QTest::mousePress(vp, Qt::LeftButton, keys, Centre(col1, row1));
        QMouseEvent move(QEvent::MouseMove, Centre(col2, row2), vp->mapToGlobal(Centre(col2, row2)),
            Qt::NoButton, Qt::LeftButton, keys);
        QApplication::sendEvent(vp, &move);
        if (release)
            QTest::mouseRelease(vp, Qt::LeftButton, keys, Centre(col2, row2));
    }
    const TWeave &Weave() { return w.Design().Weave(); }
};

// Fills a number box as a user does.
void Type(QLineEdit *box, const QString &text)
{
    box->selectAll();
    QTest::keyClicks(box, text);
}

QRgb PixelAt(const QImage &image, QPoint p)
{
    return image.pixel(p) & 0xffffff;
}

} // namespace

TEST(WeaveDesignWindow, OpensOnAnUntitledPlainWeaveWithEveryAction)
{
    TShippedLanguageScope language(TShippedLanguage::SimplifiedChinese);
    TWindow t;
    EXPECT_EQ(t.w.StatusWarps->text(), QStringLiteral("经:8"));
    EXPECT_EQ(t.w.StatusWefts->text(), QStringLiteral("纬:8"));
    EXPECT_EQ(t.w.windowTitle(), QStringLiteral("组织设计-Untitled.OVW"));
    EXPECT_EQ(t.w.GrdWeave->ColCount(), 9);
    EXPECT_EQ(t.w.GrdWeave->RowCount(), 9);
    const QStringList names = { "ActFileNew", "ActFileOpen", "ActFileSave", "ActFileSaveAs", "ActFileAdd",
        "ActAddNew", "ActSaveBlock", "ActFileQuit", "ActFileBrowser", "ActUndo", "ActRedo", "ActFillAll",
        "ActClearAll", "ActFillBlock", "ActClearBlock", "ActInvert", "ActBlockDefine", "ActSwapWarp",
        "ActSwapWeft", "ActSwapUpDown", "ActUpToDown", "ActDownToUp", "ActSwapLeftRight", "ActLeftToRight",
        "ActRightToLeft", "ActSwapUpleftDownright", "ActUpleftToDownright", "ActDownrightToUpleft",
        "ActSwapUprightDownleft", "ActUprightToDownleft", "ActDownleftToUpright", "ActRotate",
        "ActSymmetrize", "ActLeftToRightInvertOut", "ActUpToDownInvertOut", "ActLeftToRightInvertIn",
        "ActUpToDownInvertIn", "ActWarpHillOut", "ActWeftHillOut", "ActWarpHillIn", "ActWeftHillIn",
        "ActShiftUp1", "ActShiftUp8", "ActShiftDown1", "ActShiftDown8", "ActShiftLeft1", "ActShiftLeft8",
        "ActShiftRight1", "ActShiftRight8", "ActBackWeave", "ActTileWeave", "ActAddDelRowCol", "ActZoomIn",
        "ActZoomOut", "ActWarpWeftLayers", "ActEditLayers" };
    QStringList sorted = names;
    sorted.sort();
    EXPECT_EQ(t.w.ActionNames(), sorted);
    for (const QString &name : names)
        EXPECT_FALSE(t.w.Action(name)->text().isEmpty()) << qPrintable(name);
    EXPECT_EQ(t.w.Action(QStringLiteral("ActFileNew"))->text(), QStringLiteral("新建"));
    EXPECT_EQ(t.w.Action(QStringLiteral("ActInvert"))->text(), QStringLiteral("经纬浮点互换"));
    EXPECT_EQ(
        t.w.Action(QStringLiteral("ActInvert"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+Alt+C")));
    EXPECT_EQ(t.w.Action(QStringLiteral("ActFileNew"))->shortcut(), QKeySequence(QKeySequence::New));
    EXPECT_TRUE(t.w.Action(QStringLiteral("ActZoomIn"))
                    ->shortcuts()
                    .contains(QKeySequence(QStringLiteral("Ctrl+="))));
    EXPECT_FALSE(t.w.Action(QStringLiteral("ActUndo"))->isEnabled());
    EXPECT_FALSE(t.w.Action(QStringLiteral("ActFillBlock"))->isEnabled());
    EXPECT_FALSE(t.w.Action(QStringLiteral("ActSaveBlock"))->isEnabled());
    const QRect screen = t.w.screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(t.w.frameGeometry().topLeft()));
}

TEST(WeaveDesignWindow, TheGridPaintsCellsLinesAndHeadersAndTakesTheMouse)
{
    TShippedLanguageScope language(TShippedLanguage::SimplifiedChinese);
    TWindow t;
    TWeaveDesign::SetCellSize(14);
    t.w.Design().Weave().SetCells(MakeWeaveArray(9, 9), false);
    t.ClickCell(1, 1); // warp 0, weft 0
    QImage image = t.w.GrdWeave->Render();
    EXPECT_EQ(PixelAt(image, t.Centre(1, 1)), 0x000000u);
    EXPECT_EQ(PixelAt(image, t.Centre(2, 1)), 0xffffffu);
    // The line right of warp 8 is green, the one right of warp 7 is not; the line above the
    // bottom 8 wefts (below the top row of a 9-weft weave) is green.
    const QRect c8 = t.w.GrdWeave->CellRect(8, 5);
    const QRect c7 = t.w.GrdWeave->CellRect(7, 5);
    EXPECT_EQ(PixelAt(image, QPoint(c8.right() + 1, c8.center().y())), 0x008000u);
    EXPECT_EQ(PixelAt(image, QPoint(c7.right() + 1, c7.center().y())), 0xc0c0c0u);
    const QRect top = t.w.GrdWeave->CellRect(3, 1);
    EXPECT_EQ(PixelAt(image, QPoint(top.center().x(), top.bottom() + 1)), 0x008000u);

    // A header click adds a warp; the status follows.
    t.ClickCell(2, 0);
    EXPECT_EQ(t.w.StatusWarps->text(), QStringLiteral("经:10"));
    t.ClickCell(0, 2, Qt::RightButton);
    EXPECT_EQ(t.w.StatusWefts->text(), QStringLiteral("纬:8"));
    EXPECT_TRUE(t.w.Action(QStringLiteral("ActUndo"))->isEnabled());

    // Below a cell size of 3 the cells touch: no grid lines.
    TWeaveDesign::SetCellSize(4);
    t.w.Action(QStringLiteral("ActZoomOut"))->trigger();
    t.w.Action(QStringLiteral("ActZoomOut"))->trigger();
    EXPECT_EQ(t.w.GrdWeave->CellSize(), 2);
    image = t.w.GrdWeave->Render();
    const QRect a = t.w.GrdWeave->CellRect(1, 1), b = t.w.GrdWeave->CellRect(2, 1);
    EXPECT_EQ(b.left(), a.right() + 1);
    EXPECT_EQ(PixelAt(image, a.topLeft()), 0x000000u);
    EXPECT_EQ(PixelAt(image, b.topLeft()), 0xffffffu);
    TWeaveDesign::SetCellSize(14);
}

TEST(WeaveDesignWindow, BlocksAreDraggedWithAPreviewAndEscapeEndsTheDrag)
{
    TShippedLanguageScope language(TShippedLanguage::English);
    TWindow t;
    TWeaveDesign::SetCellSize(14);
    t.w.Design().Weave().SetCells(MakeWeaveArray(6, 6), true);
    t.Trigger("ActBlockDefine");
    t.DragCells(2, 2, 3, 3);
    ASSERT_TRUE(t.Weave().HasBlock());
    EXPECT_TRUE(t.w.Action(QStringLiteral("ActFillBlock"))->isEnabled());
    t.Trigger("ActFillBlock");
    // A drag shown in blue, then Escape: nothing moved, the window stays.
    t.DragCells(2, 2, 4, 4, {}, false);
    const QImage during = t.w.GrdWeave->Render();
    EXPECT_EQ(t.Weave().GetCell(4, 4), 1);
    const QRect moved = t.w.GrdWeave->CellRect(4, 4);
    EXPECT_EQ(PixelAt(during, moved.topLeft() + QPoint(1, 1)), 0x0000ffu);
    QTest::keyClick(&t.w, Qt::Key_Escape);
    EXPECT_TRUE(t.w.isVisible());
    EXPECT_EQ(t.Weave().GetCell(4, 4), 0);
    EXPECT_EQ(t.Weave().GetCell(1, 1), 1);
    QTest::mouseRelease(t.w.GrdWeave->viewport(), Qt::LeftButton, {}, t.Centre(4, 4));
    EXPECT_EQ(t.Weave().GetCell(4, 4), 0);
    // Ctrl copies: both places set, one undo step.
    t.DragCells(2, 2, 4, 4, Qt::ControlModifier);
    EXPECT_EQ(t.Weave().GetCell(1, 1), 1);
    EXPECT_EQ(t.Weave().GetCell(4, 4), 1);
    t.Trigger("ActUndo");
    EXPECT_EQ(t.Weave().GetCell(4, 4), 0);
    EXPECT_EQ(t.Weave().GetCell(2, 2), 1);
}

TEST(WeaveDesignWindow, DialogActionsChangeTheWeave)
{
    TShippedLanguageScope language(TShippedLanguage::English);
    TWindow t;
    int combineItems = -1;
    QString tileCaption;
    t.dialogs = [&](QDialog &d) {
        if (auto *n = qobject_cast<TFrmNewWeave *>(&d)) {
            Type(n->EdtPWWarp, QStringLiteral("2"));
            Type(n->EdtPWWeft, QStringLiteral("3"));
        } else if (auto *c = qobject_cast<TFrmWeaveCombine *>(&d)) {
            combineItems = c->RadGrpPos->Count();
            c->RadGrpPos->SetItemIndex(3); // right of the weave
        } else if (auto *w = qobject_cast<TFrmWarpWeft *>(&d)) {
            tileCaption = w->windowTitle();
            Type(w->EdtWarp, QStringLiteral("4"));
            Type(w->EdtWeft, QStringLiteral("4"));
        } else if (auto *l = qobject_cast<TFrmLayers *>(&d)) {
            l->EdtWarp->setText(QStringLiteral("1,2"));
            l->EdtWeft->setText(QStringLiteral("1,2"));
        } else {
            return int(QDialog::Rejected);
        }
        d.accept();
        return d.result();
    };
    t.Trigger("ActAddNew");
    EXPECT_EQ(combineItems, 5); // no block: the two block places are gone
    EXPECT_EQ(t.Weave().WarpCount(), 10);
    EXPECT_EQ(t.Weave().WeftCount(), 8);
    EXPECT_EQ(t.w.StatusWarps->text(), QStringLiteral("Warps:10"));
    t.Trigger("ActTileWeave");
    EXPECT_EQ(tileCaption, QStringLiteral("Tiled Weave Warps and Wefts"));
    EXPECT_EQ(t.Weave().WarpCount(), 4);

    // Two layers: the pair boxes reach 2; while the layers are edited nothing resizes.
    t.Trigger("ActWarpWeftLayers");
    EXPECT_EQ(t.w.SpnWarpLayer->maximum(), 2);
    t.w.SpnWarpLayer->setValue(2);
    EXPECT_EQ(t.w.Design().LayerWarps(), (std::vector<int> { 1, 3 }));
    t.Trigger("ActEditLayers");
    EXPECT_FALSE(t.w.Action(QStringLiteral("ActTileWeave"))->isEnabled());
    EXPECT_FALSE(t.w.Action(QStringLiteral("ActWarpHillOut"))->isEnabled());
    t.Trigger("ActAddNew");
    EXPECT_EQ(combineItems, 1); // tiled over the layer only
    t.ClickCell(1, 0);
    EXPECT_EQ(t.Weave().WarpCount(), 4);
    t.Trigger("ActClearAll");
    t.Trigger("ActEditLayers");
    EXPECT_TRUE(t.w.Action(QStringLiteral("ActTileWeave"))->isEnabled());
}

TEST(WeaveDesignWindow, SaveQueryAndFailedSavesKeepTheWeave)
{
    TShippedLanguageScope language(TShippedLanguage::English);
    QTemporaryDir dir;
    struct Case {
        const char *what;
        std::vector<TWeaveSaveAnswer> answers;
        QStringList saveNames;
        bool closes;
        bool saved;
        bool message;
    };
    const QString good = dir.filePath(QStringLiteral("kept.OVW"));
    const QString bad = dir.filePath(QStringLiteral("missing/kept.OVW"));
    const std::vector<Case> cases = {
        { "Cancel", { TWeaveSaveAnswer::Cancel }, {}, false, false, false },
        { "Yes, then the save dialog cancelled", { TWeaveSaveAnswer::Yes }, { QString() }, false, false,
            false },
        { "Yes, then a save that fails", { TWeaveSaveAnswer::Yes }, { bad }, false, false, true },
        { "No", { TWeaveSaveAnswer::No }, {}, true, false, false },
        { "Yes, saved", { TWeaveSaveAnswer::Yes }, { good }, true, true, false },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(good);
        TWindow t;
        t.ClickCell(1, 1);
        const TWeaveArray edited = t.Weave().Cells();
        t.answers = c.answers;
        t.saveNames = c.saveNames;
        t.w.close();
        EXPECT_EQ(t.asked.size(), 1);
        EXPECT_EQ(t.w.isVisible(), !c.closes);
        EXPECT_EQ(t.Weave().Cells(), edited);
        EXPECT_EQ(t.Weave().Modified(), !c.saved);
        EXPECT_EQ(QFile::exists(good), c.saved);
        EXPECT_EQ(!t.messages.isEmpty(), c.message);
        EXPECT_FALSE(QFile::exists(bad));
        if (c.message) {
            EXPECT_TRUE(t.messages.first().startsWith(QStringLiteral("The weave was not saved")));
        }
    }
    // New and Open ask too, and a Cancel keeps the weave.
    TWindow t;
    t.ClickCell(1, 1);
    t.openNames << good;
    t.Trigger("ActFileOpen");
    t.Trigger("ActFileNew");
    EXPECT_EQ(t.asked.size(), 2);
    EXPECT_EQ(t.openNames.size(), 1); // the open dialog never came
    EXPECT_TRUE(t.Weave().Modified());
}

TEST(WeaveDesignWindow, SavingNamesTheWeaveEndsUndoAndListsItAmongTheRecent)
{
    TShippedLanguageScope language(TShippedLanguage::English);
    QTemporaryDir dir;
    TWindow t;
    t.ClickCell(3, 3);
    const QString path = dir.filePath(QStringLiteral("drawn.OVW"));
    t.saveNames << path;
    t.Trigger("ActFileSave");
    EXPECT_EQ(t.w.windowTitle(), QStringLiteral("Design Weave-") + path);
    EXPECT_FALSE(t.w.Action(QStringLiteral("ActUndo"))->isEnabled());
    TWeaveArray back;
    ASSERT_TRUE(LoadWeaveFile(path, back));
    EXPECT_EQ(back, t.Weave().Cells());
    EXPECT_EQ(ReadRecentList(QLatin1String(WeaveRecentSection)).value(0), path);
    bool listed = false;
    for (QAction *a : t.w.FileMenu->actions())
        listed = listed || a->data().toString() == path;
    EXPECT_TRUE(listed);
    // The list keeps as many weaves as the main window's list keeps files.
    WriteMaxRecentFile(2);
    for (const char *name : { "a.OVW", "b.OVW" }) {
        t.saveNames << dir.filePath(QLatin1String(name));
        t.Trigger("ActFileSaveAs");
    }
    EXPECT_EQ(ReadRecentList(QLatin1String(WeaveRecentSection)),
        (QStringList { dir.filePath(QStringLiteral("b.OVW")), dir.filePath(QStringLiteral("a.OVW")) }));
    t.saveNames << path;
    t.Trigger("ActFileSaveAs");
    // A second save goes under the name without a dialog.
    t.ClickCell(3, 3);
    t.Trigger("ActFileSave");
    EXPECT_TRUE(t.saveNames.isEmpty());
    ASSERT_TRUE(LoadWeaveFile(path, back));
    EXPECT_EQ(back, t.Weave().Cells());

    // A file that cannot be read leaves the weave as it was with the reader's message; an
    // added one that cannot be read says the file cannot be opened.
    const QString broken = dir.filePath(QStringLiteral("broken.OVW"));
    ASSERT_TRUE(WriteAll(broken, WeaveFileBytes(MakeWeaveArray(4, 4)).left(200)));
    const TWeaveArray before = t.Weave().Cells();
    t.openNames << broken << broken;
    t.Trigger("ActFileOpen");
    t.Trigger("ActFileAdd");
    EXPECT_EQ(t.Weave().Cells(), before);
    ASSERT_EQ(t.messages.size(), 2);
    EXPECT_FALSE(t.messages[0].isEmpty());
    EXPECT_EQ(t.messages[1], QStringLiteral("The file cannot be opened"));
    EXPECT_EQ(t.w.windowTitle(), QStringLiteral("Design Weave-") + path);
}

TEST(WeaveDesignWindow, OneRoutineOpensItModalOrNotAndRefusesAFileItCannotRead)
{
    TShippedLanguageScope language(TShippedLanguage::English);
    TSettingsFolder settings;
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("good.OVW"));
    TWeaveArray cells = MakeWeaveArray(5, 3);
    cells[4][2] = 1;
    ASSERT_TRUE(WriteWeaveFile(good, cells));
    const QString bad = dir.filePath(QStringLiteral("bad.OVW"));
    ASSERT_TRUE(WriteAll(bad, WeaveFileBytes(cells).left(250)));

    // Not modal: the window is shown and handed back, and freed when it closes.
    QPointer<TfrmWeaveDesign> window = OpenWeaveDesign(nullptr, good, false);
    ASSERT_FALSE(window.isNull());
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->Design().Weave().Cells(), cells);
    EXPECT_EQ(window->Design().FileName(), good);
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());

    // Modal: runs until closed; a file it cannot read is reported and no window stays.
    QString title;
    TModalScript script({
        On<TfrmWeaveDesign>([&](TfrmWeaveDesign *w) {
            title = w->windowTitle();
            w->close();
        }),
        On<QMessageBox>([](QMessageBox *m) { m->accept(); }),
    });
    EXPECT_EQ(OpenWeaveDesign(nullptr, good, true), nullptr);
    EXPECT_EQ(title, QStringLiteral("Design Weave-") + good);
    EXPECT_EQ(OpenWeaveDesign(nullptr, bad, true), nullptr);
    EXPECT_TRUE(script.Done()) << qPrintable(script.Unexpected().join(QLatin1Char(',')));
    for (QWidget *w : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<TfrmWeaveDesign *>(w), nullptr);
}
