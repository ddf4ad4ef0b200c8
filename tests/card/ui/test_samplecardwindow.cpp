#include "card/divisionrule.h"
#include "card/samplecardcheck.h"
#include "card/samplecardpicture.h"
#include "card/ui/divisiondialog.h"
#include "card/ui/ruleinputdialog.h"
#include "card/ui/samplecardview.h"
#include "card/ui/samplecardwindow.h"
#include "core/settings/recentfiles.h"
#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "shippedlanguage.h"

#include "testutil.h"

#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Settings in a fresh folder; every question answered by the test.
class SampleCardWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        Folders().SettingsDir = m_dir.path() + "/";
        Folders().ConfigIniPath = m_dir.filePath(QStringLiteral("Config.Ini"));
        // The texts these tests read are the Simplified Chinese ones the loom's people know.
        ChooseShippedLanguage(TShippedLanguage::SimplifiedChinese);
    }
    void Quiet(TFrmYangKa &editor)
    {
        editor.ShowMessage = [this](const QString &text) { m_messages << text; };
        editor.ShowRefusal = [this](const QString &text) { m_refusals << text; };
    }
    QPoint CellCentre(const TYangkaImage &card, int col, int row)
    {
        const TRect r = card.CellRect(col, row);
        return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    QTemporaryDir m_dir;
    QStringList m_messages, m_refusals;
};

} // namespace

// A new user lays out a card: a rubber band of shuttle needles across a lacing-hole
// column, a lacing hole and a positioning hole by click, the start corner; saves it as an
// .OVYK file and opens it again in a second editor.
TEST_F(SampleCardWindow, EditSaveAndReopen)
{
    TYangkaImage document;
    document.SetYKStyle(ys1200);
    TFrmYangKa editor(document, 100, 1);
    Quiet(editor);
    editor.show();
    TYangkaImage &card = editor.Card();
    EXPECT_EQ(card.ColCount(), 85);
    EXPECT_EQ(editor.FileName(), QStringLiteral("Untitled*"));
    EXPECT_EQ(editor.StatusTexts().at(0), QStringLiteral("总针数：1360 针"));

    // Drag from column 26 to 30 over rows 0 to 15 with the shuttle kind.
    editor.SetNeedleKind(TNeedleKind::Shuttle);
    SampleCardView *view = editor.View();
    QTest::mousePress(view, Qt::LeftButton, {}, CellCentre(card, 26, 0));
    QTest::mouseMove(view, CellCentre(card, 30, 15));
    EXPECT_TRUE(view->HasBand());
    QTest::mouseRelease(view, Qt::LeftButton, {}, CellCentre(card, 30, 15));
    EXPECT_FALSE(view->HasBand());
    EXPECT_EQ(card.Cell(26, 0), Needle::Shuttle);
    EXPECT_EQ(card.Cell(30, 15), Needle::Shuttle);
    EXPECT_EQ(card.Cell(28, 2), Needle::LacingHole) << "holes are never overwritten";
    EXPECT_EQ(card.Cell(28, 0), Needle::MarkerColumn);
    EXPECT_EQ(card.Cell(27, 7), Needle::PositionHole);
    EXPECT_EQ(card.Cell(31, 0), Needle::Jacquard);
    EXPECT_EQ(view->Picture(), DrawSampleCard(card, QRect(QPoint(), view->size()))) << "redrawn";

    // Holes by click: left adds, right removes (anywhere on a positioning hole's block).
    editor.SetNeedleKind(TNeedleKind::PositionHole);
    QTest::mouseClick(view, Qt::LeftButton, {}, CellCentre(card, 40, 3));
    EXPECT_EQ(card.Cell(41, 4), Needle::PositionHole);
    QTest::mouseClick(view, Qt::RightButton, {}, CellCentre(card, 41, 4));
    EXPECT_EQ(card.Cell(40, 3), Needle::Empty);
    QTest::mouseClick(view, Qt::LeftButton, {}, CellCentre(card, 40, 3));
    editor.SetNeedleKind(TNeedleKind::LacingHole);
    QTest::mouseClick(view, Qt::LeftButton, {}, CellCentre(card, 50, 5));
    EXPECT_EQ(card.Cell(50, 5), Needle::LacingHole);
    EXPECT_EQ(card.Cell(50, 0), Needle::MarkerColumn);

    editor.RbRightBottom->click();
    EXPECT_EQ(card.StartFlag(), 1);
    editor.CheckBoxTiQianSuo->setChecked(true);
    editor.RunDivideDialog = [](QString &rule) {
        rule = QStringLiteral("1A1B");
        return true;
    };
    editor.DivideData();
    EXPECT_EQ(card.Rules, QStringLiteral("1A1B"));

    // Save asks for a name while the card has none.
    const QString file = m_dir.filePath(QStringLiteral("harness.OVYK"));
    editor.ChooseSaveFile = [&] { return file; };
    ASSERT_TRUE(editor.FileSave());
    EXPECT_EQ(editor.FileName(), file);
    EXPECT_TRUE(editor.windowTitle().contains(file));
    EXPECT_EQ(ReadRecentList(QLatin1String(CardFormRecentSection)).value(0), file);
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();

    TFrmYangKa again(TYangkaImage(), 100, 1);
    Quiet(again);
    again.ChooseOpenFile = [&] { return file; };
    ASSERT_TRUE(again.FileOpen());
    EXPECT_EQ(again.Card().Cells, card.Cells);
    EXPECT_EQ(again.Card().StartFlag(), 1);
    EXPECT_EQ(again.Card().Rules, QStringLiteral("1A1B"));
    EXPECT_TRUE(again.CheckBoxTiQianSuo->isChecked());
    EXPECT_TRUE(again.RbRightBottom->isChecked());
    EXPECT_EQ(again.FileName(), file);

    // A file that does not load leaves the working card and its name as they were.
    const QString junk = m_dir.filePath(QStringLiteral("junk.OVYK"));
    ASSERT_TRUE(WriteAll(junk, QByteArray("\xD0\x07\x01\x00", 4)));
    again.ChooseOpenFile = [&] { return junk; };
    EXPECT_FALSE(again.FileOpen());
    EXPECT_EQ(m_messages.size(), 1);
    EXPECT_EQ(again.Card().Cells, card.Cells);
    EXPECT_EQ(again.FileName(), file);
}

// The typed sizes: rows held to 8..32 and columns to 1..2000; the jacquard count makes the
// first N cells jacquard.
TEST_F(SampleCardWindow, TypedSizes)
{
    TFrmYangKa editor(TYangkaImage(), 10, 1);
    Quiet(editor);
    editor.show();
    editor.EditRows->setText(QStringLiteral("40"));
    editor.EditCols->setText(QStringLiteral("0"));
    QTest::keyClick(editor.EditCols, Qt::Key_Return);
    EXPECT_EQ(editor.Card().RowCount(), 32);
    EXPECT_EQ(editor.Card().ColCount(), 1);
    EXPECT_EQ(editor.EditRows->text(), QStringLiteral("32"));
    EXPECT_EQ(editor.View()->size(), QSize(editor.Card().Width, editor.Card().Height));
    EXPECT_TRUE(editor.isVisible() && m_refusals.isEmpty()) << "Enter does not press OK";

    editor.EditJacquard->setText(QStringLiteral("20"));
    QTest::keyClick(editor.EditJacquard, Qt::Key_Return);
    EXPECT_EQ(editor.Card().JacquardCount(), 20);
    EXPECT_EQ(editor.Card().Cell(0, 19), Needle::Jacquard);
    EXPECT_EQ(editor.Card().Cell(0, 20), Needle::Empty);
    EXPECT_EQ(editor.StatusTexts().at(1), QStringLiteral("纹针数：20 针"));
    EXPECT_EQ(editor.StatusTexts().at(2), QStringLiteral("空针数：12 针"));
}

// OK keeps the editor open with the message while the card does not fit the design.
TEST_F(SampleCardWindow, OkRuleKeepsTheEditorOpen)
{
    TYangkaImage card;
    card.SetCells(MakeWeaveArray(30, 10, Needle::Jacquard)); // 300 jacquard needles
    TFrmYangKa editor(card, 100, 2);
    Quiet(editor);
    editor.show();
    editor.accept();
    EXPECT_TRUE(editor.isVisible());
    ASSERT_EQ(m_refusals.size(), 1);
    QString expected;
    CheckCardForDesign(100, 2, 300, &expected);
    EXPECT_EQ(m_refusals[0], expected);

    editor.EditJacquard->setText(QStringLiteral("200"));
    editor.ApplyJacquardCount();
    editor.CheckBoxTiQianSuo->setChecked(true);
    editor.accept();
    EXPECT_EQ(editor.result(), QDialog::Accepted);
    EXPECT_TRUE(editor.Card().TiQianSuo);
}

// The message in Simplified Chinese is the one the loom's people know, word for word.
TEST_F(SampleCardWindow, OkRuleMessageInChinese)
{
    Folders().LanguageDir = QStringLiteral(DORWEN_SOURCE_RESOURCES) + "/Language/";
    WriteLanguageIndex(2);
    OpenLanguageFile();
    ASSERT_EQ(Folders().LanguageFileName, QStringLiteral("Zhongwen-Jianti.ini"));
    QString error;
    ASSERT_FALSE(CheckCardForDesign(100, 2, 300, &error));
    EXPECT_EQ(error,
        QStringLiteral(
            "《 意匠纹针数为 100 》\n\r《 意匠造数为 2 》\n\r样卡纹针数应为100*2的倍数！请重新设置！"));
    EXPECT_EQ(CardForDesignCaption(), QStringLiteral("设置纹针"));
}

// The division dialog: single stores "1A"; several take a rule the builder accepts; the
// field takes no other characters, typed or pasted.
TEST_F(SampleCardWindow, DivisionDialog)
{
    struct Case {
        const char *start;
        bool multiple; // the mode chosen before OK
        const char *typed;
        bool accepted;
        const char *stored;
    };
    const Case cases[] = {
        { "2(1A1B)", false, nullptr, true, "1A" },
        { "1A", true, "2(1a1b)3(1A2B)", true, "2(1A1B)3(1A2B)" },
        { "1A", true, "AB", false, "" },
        { "1A", true, "1A1C", false, "" },
    };
    for (const Case &k : cases) {
        TFrmDivide dialog(QString::fromUtf8(k.start));
        QStringList shown;
        dialog.ShowMessage = [&](const QString &text) { shown << text; };
        dialog.show();
        EXPECT_EQ(dialog.RbMultiple->isChecked(), DivisionRuleIsMultiple(QString::fromUtf8(k.start)));
        (k.multiple ? dialog.RbMultiple : dialog.RbSingle)->click();
        EXPECT_EQ(dialog.EditRule->isEnabled(), k.multiple);
        if (k.typed) {
            dialog.EditRule->clear();
            QTest::keyClicks(dialog.EditRule, QString::fromUtf8(k.typed));
        }
        dialog.BtnOK->click();
        EXPECT_EQ(dialog.result() == QDialog::Accepted, k.accepted) << k.typed;
        EXPECT_EQ(shown.isEmpty(), k.accepted) << k.typed;
        if (k.accepted) {
            EXPECT_EQ(dialog.Rule(), QString::fromUtf8(k.stored));
        }
    }
    TFrmDivide dialog(QStringLiteral("1A1B"));
    dialog.EditRule->clear();
    QTest::keyClicks(dialog.EditRule, QStringLiteral("1a x1M;1l"));
    EXPECT_EQ(dialog.EditRule->text(), QStringLiteral("1A11L"));
}

// The rule input writes from the bottom row up; letters beyond Q cannot be typed, and a
// document that closed is never written.
TEST_F(SampleCardWindow, RuleInput)
{
    TMesh mesh;
    mesh.Wefts = 6;
    mesh.WeftRepeat = 2;
    mesh.PickRows = MakeWeaveArray(2, 6, 9);
    mesh.RegulatorRows = MakeWeaveArray(2, 6, 9);
    mesh.WeftDensRows = MakeWeaveArray(2, 6, 9);
    auto owner = std::make_unique<QObject>();
    int changed = 0;
    TFrmInput input;
    QStringList shown;
    input.ShowMessage = [&](const QString &text) { shown << text; };
    input.SetTarget({ &mesh, owner.get(), [&] { ++changed; } });
    input.show();
    EXPECT_EQ(input.EditEndRow->maximum(), 6);
    EXPECT_EQ(input.EditEndRow->value(), 6);
    EXPECT_EQ(input.EditEndPick->maximum(), 2);
    input.EditRule->clear();
    QTest::keyClicks(input.EditRule, QStringLiteral("2(1a1q)1R"));
    EXPECT_EQ(input.EditRule->text(), QStringLiteral("2(1A1Q)1"));
    input.EditRule->setText(QStringLiteral("2(1A1Q)"));
    input.BtnApply->click();
    EXPECT_EQ(changed, 1);
    EXPECT_TRUE(shown.isEmpty());
    const std::vector<int> column(mesh.PickRows[0].begin(), mesh.PickRows[0].end());
    EXPECT_EQ(column, (std::vector<int> { 0, 1, 0, 1, 0, 1 })) << "top row first: the bottom row took A";
    EXPECT_TRUE(input.isVisible()) << "stays open for further input";

    input.EditRule->setText(QStringLiteral("1A1R")); // set by code, past the field's check
    input.BtnApply->click();
    EXPECT_EQ(shown.size(), 1);

    owner.reset();
    input.EditRule->setText(QStringLiteral("1B"));
    EXPECT_FALSE(input.Apply());
    EXPECT_EQ(mesh.PickRows[0][5], 1);
}
