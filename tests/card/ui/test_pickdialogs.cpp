#include "card/ui/needletabledialog.h"
#include "card/ui/shuttlebycolorwindow.h"
#include "shippedlanguage.h"

#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"
#include "weave/weavefile.h"

#include "testutil.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>

namespace {

// Points the settings at a fresh "Config.Ini" for one test.
class PickDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        Folders().ConfigIniPath = m_dir.filePath(QStringLiteral("Config.Ini"));
        // The texts these tests read are the Simplified Chinese ones the loom's people know.
        ChooseShippedLanguage(TShippedLanguage::SimplifiedChinese);
    }
    QTemporaryDir m_dir;
};

// The caller's side of the table dialog: the program's tables take the dialog's result
// on OK only.
bool RunTableDialog(TFrmPickWeftDensTable &dlg, bool ok)
{
    ok ? dlg.accept() : dlg.reject();
    if (dlg.result() != QDialog::Accepted)
        return false;
    CardTables() = dlg.Tables();
    return true;
}

} // namespace

TEST_F(PickDialogs, TableDialogOkStoresAndCancelRestores)
{
    TNeedleMaskTable masks;
    ResetNeedleTable(masks, 3);
    WriteNeedleTable(masks, 3, QStringLiteral("Pick"));
    CardTables().PickTable.fill(9);
    const TNeedleMaskTable nines = CardTables().PickTable;

    {
        TFrmPickWeftDensTable dlg(nullptr, 0, CardTables());
        dlg.show();
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("投梭表"));
        EXPECT_EQ(dlg.Tables().PickTable, masks); // loaded from the settings
        EXPECT_EQ(dlg.RSEditPickNum->value(), 3);
        EXPECT_EQ(dlg.DGridPickTable->columnCount(), 3);
        // The bottom row is entry 0: its first cell is black.
        EXPECT_EQ(dlg.DGridPickTable->item(15, 0)->background().color(), QColor(Qt::black));
        Q_EMIT dlg.DGridPickTable->cellClicked(15, 2); // entry 0, needle 2
        EXPECT_EQ(dlg.Tables().PickTable[0], 0b101u);
        EXPECT_EQ(CardTables().PickTable, nines) << "the dialog edits its own copy";
        EXPECT_FALSE(RunTableDialog(dlg, false));
    }
    EXPECT_EQ(CardTables().PickTable, nines);
    EXPECT_EQ(CardTables().PickNeedleCount, 0) << "Cancel keeps no needle count either";

    {
        TFrmPickWeftDensTable dlg(nullptr, 0, CardTables());
        dlg.RSEditPickNum->setValue(2); // a new count resets the table to the diagonal
        EXPECT_EQ(dlg.Tables().PickTable[2], 0u);
        Q_EMIT dlg.DGridPickTable->cellClicked(14, 0); // entry 1, needle 0
        EXPECT_TRUE(RunTableDialog(dlg, true));
    }
    TNeedleMaskTable stored;
    EXPECT_EQ(ReadNeedleTable(stored, QStringLiteral("Pick")), 2);
    EXPECT_EQ(stored[1], 0b11u);
    EXPECT_EQ(stored, CardTables().PickTable);
    EXPECT_EQ(CardTables().PickNeedleCount, 2);

    // The count last shown stays for the running program, over the settings' one.
    WriteNeedleTable(masks, 3, QStringLiteral("Pick"));
    TFrmPickWeftDensTable again(nullptr, 0, CardTables());
    EXPECT_EQ(again.NeedleCount(), 2);
}

TEST_F(PickDialogs, TableDialogLoadsAWeave)
{
    CardTables().WeftDensTable.fill(6);
    TFrmPickWeftDensTable dlg(nullptr, 1, CardTables());
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("纬密表"));
    TWeaveArray w = MakeWeaveArray(4, 2);
    w[0][1] = 1; // bottom weft, warp 0
    w[3][0] = 1; // top weft, warp 3
    const QString path = m_dir.filePath(QStringLiteral("w.OVW"));
    ASSERT_TRUE(WriteWeaveFile(path, w));
    dlg.ChooseWeaveFile = [&] { return path; };
    dlg.BtnLoadWeave->click();
    EXPECT_EQ(dlg.NeedleCount(), 4);
    EXPECT_EQ(dlg.RSEditPickNum->value(), 4);
    EXPECT_EQ(dlg.Tables().WeftDensTable[0], 1u);
    EXPECT_EQ(dlg.Tables().WeftDensTable[1], 8u);
    EXPECT_EQ(dlg.Tables().WeftDensTable[2], 0u);
    EXPECT_EQ(dlg.Tables().WeftDensNeedleCount, 4);
    EXPECT_FALSE(RunTableDialog(dlg, false));
    EXPECT_EQ(CardTables().WeftDensTable[1], 6u); // the table the program had is unchanged
}

TEST_F(PickDialogs, ShuttleByColourWindow)
{
    QImage pic = MakePicture({ { 5, 1 }, { 1, 1 } });
    TMesh mesh;
    InitNewDocument(mesh, &pic, 0, 0, 1, TColorArray {});
    int changes = 0;
    TFrmSetPickWithColor win;
    win.show();
    EXPECT_EQ(win.windowTitle(), QStringLiteral("设置投梭"));

    TPickWithColorTarget target { &mesh, &pic, -1, QColor(), 3, false, [&] { ++changes; } };
    win.SetTarget(target);
    win.SetEntry(2);
    EXPECT_FALSE(win.Apply()); // no colour picked yet: nothing happens
    EXPECT_EQ(mesh.WeftRepeat, 1);

    target.PickedIndex = 5;
    target.PickedColor = QColor(5, 5, 5);
    win.SetTarget(target);
    win.BtnApply->click();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(mesh.WeftRepeat, 3);
    EXPECT_EQ(mesh.PickRows[2][0], 3);
    EXPECT_EQ(mesh.PickRows[2][1], 0);

    target.WeftDensMode = true;
    win.SetTarget(target);
    EXPECT_EQ(win.windowTitle(), QStringLiteral("设置纬密"));
    win.BtnClose->click();
    EXPECT_FALSE(win.isVisible());
}

TEST_F(PickDialogs, ShuttleSwatchShowsTheCurrentShuttleNumber)
{
    CardTables().ColorTable[1] = 0x0000FF; // red
    CardTables().ColorTable[3] = 0xFF0000; // blue
    QImage pic = MakePicture({ { 5 } });
    TMesh mesh;
    InitNewDocument(mesh, &pic, 0, 0, 1, TColorArray {});
    TFrmSetPickWithColor win;
    win.SetEntry(0);
    win.SetTarget(TPickWithColorTarget { &mesh, &pic, 5, QColor(5, 5, 5), 3, false, {} });
    // Shuttle number 3 is shown in colour 3, whichever weft entry is selected.
    EXPECT_TRUE(win.ShuttleSwatch->styleSheet().contains(QStringLiteral("#0000ff")));
    win.SetTarget(TPickWithColorTarget { &mesh, &pic, 5, QColor(5, 5, 5), 17, false, {} });
    EXPECT_FALSE(win.ShuttleSwatch->styleSheet().contains(QStringLiteral("background")));
}
