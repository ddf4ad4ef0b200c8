// The weave parameter dialogs as a user meets them: opened, filled, confirmed or cancelled,
// and what they give back; a refused input keeps the dialog open.
#include "core/ui/numberedit.h"
#include "shippedlanguage.h"
#include "weave/ui/addrowcoldialog.h"
#include "weave/ui/newweavedialog.h"
#include "weave/ui/radiogroup.h"
#include "weave/ui/rotateangledialog.h"
#include "weave/ui/swapparamdialog.h"
#include "weave/ui/symmetrydialog.h"
#include "weave/ui/warpweftdialog.h"
#include "weave/ui/weavecombinedialog.h"
#include "weave/ui/weavelayersdialog.h"
#include "weave/weave.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

void ClickButton(QDialog &dialog, QDialogButtonBox::StandardButton which)
{
    auto *box = dialog.findChild<QDialogButtonBox *>();
    ASSERT_NE(box, nullptr);
    QTest::mouseClick(box->button(which), Qt::LeftButton);
}

// Types into a box as a user does: everything selected, then the keys.
void Type(QLineEdit *box, const QString &text)
{
    box->setFocus();
    box->selectAll();
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Delete);
    else
        QTest::keyClicks(box, text);
}

// Clicks a choice on its indicator, where a user aims.
void Choose(QRadioButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

bool StaysOpen(const QDialog &dialog)
{
    return dialog.isVisible() && dialog.result() == QDialog::Rejected;
}

bool Accepted(const QDialog &dialog)
{
    return !dialog.isVisible() && dialog.result() == QDialog::Accepted;
}

} // namespace

TEST(WeaveDialogs, NewWeaveMakesAnEmptyWeaveOfTheSizeTyped)
{
    TShippedLanguageScope language(TShippedLanguage::English);
    struct Case {
        const char *warps, *wefts;
        bool ok;
    };
    const std::vector<Case> cases = {
        { "12", "5", true },
        { "1", "1500", true },
        { "0", "8", false },
        { "8", "1501", false },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.warps) + "x" + c.wefts);
        TFrmNewWeave dialog;
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("New Weave..."));
        EXPECT_EQ(dialog.Weave().WarpCount(), 8);
        EXPECT_EQ(dialog.EdtPWWarp->text(), QStringLiteral("8"));
        dialog.show();
        Type(dialog.EdtPWWarp, QString::fromUtf8(c.warps));
        Type(dialog.EdtPWWeft, QString::fromUtf8(c.wefts));
        ClickButton(dialog, QDialogButtonBox::Ok);
        if (c.ok) {
            EXPECT_TRUE(Accepted(dialog));
            EXPECT_EQ(dialog.Weave().WarpCount(), QString::fromUtf8(c.warps).toInt());
            EXPECT_EQ(dialog.Weave().WeftCount(), QString::fromUtf8(c.wefts).toInt());
            EXPECT_EQ(dialog.Weave().Cells(),
                MakeWeaveArray(dialog.Weave().WarpCount(), dialog.Weave().WeftCount()));
        } else {
            EXPECT_TRUE(StaysOpen(dialog));
            EXPECT_EQ(dialog.Weave().WarpCount(), 8);
            ClickButton(dialog, QDialogButtonBox::Cancel);
            EXPECT_FALSE(dialog.isVisible());
        }
    }

    // Text the program puts in without the key filter: blank and not a number.
    for (const char *text : { "", "1e3", "-3" }) {
        TFrmNewWeave dialog;
        dialog.show();
        dialog.EdtPWWeft->setText(QString::fromUtf8(text));
        dialog.accept();
        EXPECT_TRUE(StaysOpen(dialog)) << text;
    }
}

TEST(WeaveDialogs, WarpWeftRefusesWithTheMessage)
{
    TShippedLanguageScope language(TShippedLanguage::SimplifiedChinese);
    struct Case {
        const char *warps, *wefts;
        bool ok;
    };
    const std::vector<Case> cases = {
        { "2", "1500", true },
        { "1", "8", false },
        { "8", "1501", false },
        { "0", "0", false },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.warps) + "x" + c.wefts);
        TFrmWarpWeft dialog;
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("经线纬线设置"));
        // The tile command's longer caption still fits.
        const int narrow = dialog.minimumWidth();
        dialog.setWindowTitle(QStringLiteral("组织平铺经纬线设置"));
        EXPECT_GT(dialog.minimumWidth(), narrow);
        QStringList shown;
        dialog.ShowMessage = [&shown](const QString &text) { shown << text; };
        dialog.show();
        Type(dialog.EdtWarp, QString::fromUtf8(c.warps));
        Type(dialog.EdtWeft, QString::fromUtf8(c.wefts));
        ClickButton(dialog, QDialogButtonBox::Ok);
        if (c.ok) {
            EXPECT_TRUE(Accepted(dialog));
            EXPECT_TRUE(shown.isEmpty());
            EXPECT_EQ(dialog.Warps(), 2);
            EXPECT_EQ(dialog.Wefts(), 1500);
        } else {
            EXPECT_TRUE(StaysOpen(dialog));
            EXPECT_EQ(shown, QStringList { QStringLiteral("经线纬线数必须在2-1500以内!") });
        }
    }
}

TEST(WeaveDialogs, SwapMovesOnEnterAndConfirmsInTheSecondBox)
{
    TShippedLanguageScope language(TShippedLanguage::SimplifiedChinese);
    TFrmSwapParam dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("设置转换参数"));
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    Type(dialog.Edit1, QStringLiteral("0"));
    QTest::keyClick(dialog.Edit1, Qt::Key_Return);
    EXPECT_TRUE(dialog.Edit2->hasFocus());
    EXPECT_TRUE(dialog.isVisible());
    Type(dialog.Edit2, QStringLiteral("5"));
    QTest::keyClick(dialog.Edit2, Qt::Key_Return);
    EXPECT_TRUE(StaysOpen(dialog)); // the first line may not be 0

    Type(dialog.Edit1, QString());
    ClickButton(dialog, QDialogButtonBox::Ok);
    EXPECT_TRUE(StaysOpen(dialog)); // nor blank

    Type(dialog.Edit1, QStringLiteral("3"));
    QTest::keyClick(dialog.Edit1, Qt::Key_Enter);
    EXPECT_TRUE(dialog.isVisible());
    QTest::keyClick(dialog.Edit2, Qt::Key_Enter);
    EXPECT_TRUE(Accepted(dialog));
    EXPECT_EQ(dialog.First(), 3);
    EXPECT_EQ(dialog.Second(), 5);
}

TEST(WeaveDialogs, RowsAndColumnsAgainstTheDesignWeave)
{
    TShippedLanguageScope language(TShippedLanguage::SimplifiedChinese);
    TWeave weave;
    weave.SetCells(MakeWeaveArray(4, 3), false);
    struct Case {
        TRowColEdit edit;
        const char *start, *count;
        const TWeave *weave;
        bool ok;
    };
    const std::vector<Case> cases = {
        { ColumnsDelete, "0", "1", &weave, false },
        { ColumnsDelete, "3", "2", &weave, true },
        { ColumnsDelete, "4", "2", &weave, false },
        { RowsAdd, "9", "1", &weave, false },
        { RowsAdd, "9", "1", nullptr, true },
        { ColumnsAdd, "0", "0", nullptr, false },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.edit) + ":" + c.start + "+" + c.count);
        TFrmAddDelRowCol dialog(c.weave);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("添加/删除行(列)"));
        EXPECT_EQ(dialog.RadGrpAddDel->ItemIndex(), RowsAdd);
        EXPECT_EQ(dialog.RadGrpAddDel->Item(ColumnsDelete)->text(), QStringLiteral("列删除"));
        EXPECT_EQ(dialog.EdtStart->text(), QStringLiteral("1"));
        EXPECT_EQ(dialog.EdtNum->text(), QStringLiteral("1"));
        dialog.show();
        Choose(dialog.RadGrpAddDel->Item(c.edit));
        Type(dialog.EdtStart, QString::fromUtf8(c.start));
        Type(dialog.EdtNum, QString::fromUtf8(c.count));
        ClickButton(dialog, QDialogButtonBox::Ok);
        EXPECT_EQ(Accepted(dialog), c.ok);
        EXPECT_EQ(StaysOpen(dialog), !c.ok);
        if (c.ok) {
            EXPECT_EQ(dialog.Edit(), c.edit);
            EXPECT_EQ(dialog.Start(), QString::fromUtf8(c.start).toInt());
            EXPECT_EQ(dialog.Count(), QString::fromUtf8(c.count).toInt());
        }
    }
}

TEST(WeaveDialogs, SymmetryAxesFromTheGrid)
{
    TShippedLanguageScope language(TShippedLanguage::SimplifiedChinese);
    TFrmSymmParam dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("指定对称轴变换设置"));
    EXPECT_EQ(dialog.RadioGroup1->Item(1)->text(), QStringLiteral("纬向"));
    EXPECT_EQ(dialog.SpinEdit1->value(), 1);
    EXPECT_EQ(dialog.SpinEdit1->maximum(), 50);
    dialog.show();
    dialog.SpinEdit1->setValue(2);
    ASSERT_EQ(dialog.StringGrid1->columnCount(), 2);
    Choose(dialog.RadioGroup1->Item(1));
    auto put = [&](int row, int column, const char *text) {
        dialog.StringGrid1->setItem(row, column, new QTableWidgetItem(QString::fromUtf8(text)));
    };
    put(0, 0, "3");
    put(1, 0, "2");
    put(0, 1, "6");
    ClickButton(dialog, QDialogButtonBox::Ok);
    EXPECT_TRUE(StaysOpen(dialog)); // the second amount is blank
    put(1, 1, "x");
    ClickButton(dialog, QDialogButtonBox::Ok);
    EXPECT_TRUE(StaysOpen(dialog));
    put(1, 1, "1");
    ClickButton(dialog, QDialogButtonBox::Ok);
    EXPECT_TRUE(Accepted(dialog));
    EXPECT_EQ(dialog.Positions(), (TIntegerArray { 3, 6 }));
    EXPECT_EQ(dialog.Amounts(), (TIntegerArray { 2, 1 }));
    EXPECT_FALSE(dialog.AlongWarps());
}

TEST(WeaveDialogs, RotationAndCombineGiveTheChosenItem)
{
    TShippedLanguageScope language(TShippedLanguage::SimplifiedChinese);
    {
        TFrmRotateAngle dialog;
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("设置旋转角度"));
        EXPECT_EQ(dialog.ItemIndex(), 0);
        EXPECT_EQ(dialog.ComboBox1->itemText(3), QStringLiteral("270度"));
        dialog.show();
        dialog.ComboBox1->setCurrentIndex(2);
        ClickButton(dialog, QDialogButtonBox::Ok);
        EXPECT_TRUE(Accepted(dialog));
        EXPECT_EQ(dialog.ItemIndex(), 2);
    }
    {
        TFrmRotateAngle dialog;
        dialog.show();
        ClickButton(dialog, QDialogButtonBox::Cancel);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_FALSE(dialog.isVisible());
    }
    {
        // Without a block the caller removes the last two places.
        TFrmWeaveCombine dialog;
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("加入组织的位置"));
        ASSERT_EQ(dialog.RadGrpPos->Count(), 7);
        EXPECT_EQ(dialog.ItemIndex(), 0);
        dialog.RadGrpPos->DeleteItem(6);
        dialog.RadGrpPos->DeleteItem(5);
        EXPECT_EQ(dialog.RadGrpPos->Count(), 5);
        dialog.show();
        Choose(dialog.RadGrpPos->Item(4));
        EXPECT_EQ(dialog.RadGrpPos->Item(4)->text(), QStringLiteral("现有组织中平铺"));
        ClickButton(dialog, QDialogButtonBox::Ok);
        EXPECT_TRUE(Accepted(dialog));
        EXPECT_EQ(dialog.ItemIndex(), CombineTileAll);
    }
    {
        // While layers are edited the first four go: the items left renumber from 0.
        TFrmWeaveCombine dialog;
        dialog.RadGrpPos->SetItemIndex(5);
        for (int k = 0; k < 4; ++k)
            dialog.RadGrpPos->DeleteItem(0);
        EXPECT_EQ(dialog.ItemIndex(), 1);
        EXPECT_EQ(dialog.RadGrpPos->Item(1)->text(), QStringLiteral("块所在位置"));
        dialog.RadGrpPos->DeleteItem(1);
        EXPECT_EQ(dialog.ItemIndex(), -1);
    }
}

TEST(WeaveDialogs, LayersAreStoredIntoTheWeaveOnlyWhenBothAreValid)
{
    TShippedLanguageScope language(TShippedLanguage::SimplifiedChinese);
    TWeave weave;
    ASSERT_TRUE(weave.SetLayers(TIntegerArray { 1, 2, 1, 2 }, true));
    TFrmLayers dialog(weave);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("多层组织设置"));
    EXPECT_EQ(dialog.EdtWarp->text(), QStringLiteral("2(1,2)"));
    EXPECT_EQ(dialog.EdtWeft->text(), QStringLiteral("1"));
    dialog.show();
    for (const char *bad : { "1,3", "0,1", "1,2,3,4,5,6,7,8,9,10", "2(1,2", "" }) {
        SCOPED_TRACE(bad);
        Type(dialog.EdtWeft, QString::fromUtf8(bad));
        ClickButton(dialog, QDialogButtonBox::Ok);
        EXPECT_TRUE(StaysOpen(dialog));
        EXPECT_EQ(weave.WeftLayers(), TIntegerArray { 1 });
    }
    Type(dialog.EdtWarp, QStringLiteral("2(1,2),3"));
    Type(dialog.EdtWeft, QStringLiteral("1,2,3,4,5,6,7,8,9"));
    ClickButton(dialog, QDialogButtonBox::Ok);
    EXPECT_TRUE(Accepted(dialog));
    EXPECT_EQ(weave.WarpLayers(), (TIntegerArray { 1, 2, 1, 2, 3 }));
    EXPECT_EQ(weave.WarpLayerMax(), 3);
    EXPECT_EQ(weave.WeftLayerMax(), 9);
}
