// The text tool's dialog: its lists, what typing into it accepts, the text box's font
// following the choices, the values in and out, and the angle taken within one turn.
#include "core/settings/sharedstate.h"
#include "core/ui/numberedit.h"
#include "editor/insertword.h"
#include "editor/ui/insertworddialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <numbers>

namespace {

template <class T> T *child(const QWidget &w, const char *name)
{
    T *c = w.findChild<T *>(QLatin1String(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

} // namespace

TEST(InsertWordDialog, ListsAndStartValues)
{
    TFrmInsertWord d;
    auto *names = child<QComboBox>(d, "ComboFontName");
    QStringList listed;
    for (int i = 0; i < names->count(); ++i)
        listed << names->itemText(i);
    QStringList sorted = listed;
    sorted.sort();
    EXPECT_EQ(listed, sorted);
    for (const QString &family : QFontDatabase::families())
        EXPECT_TRUE(listed.contains(family)) << family.toStdString();
    EXPECT_EQ(names->currentText(), TInsertWord::DefaultFamily());

    auto *sizes = child<QComboBox>(d, "ComboFontSize");
    QStringList offered;
    for (int i = 0; i < sizes->count(); ++i)
        offered << sizes->itemText(i);
    EXPECT_EQ(offered,
        QStringList({ "8", "9", "10", "11", "12", "14", "16", "18", "20", "22", "24", "26", "28", "36", "48",
            "72" }));
    EXPECT_EQ(sizes->currentText(), "12");
    for (const char *name : { "NdtInterCSpacing", "NdtAngle", "NdtCoordinateX", "NdtCoordinateY" })
        EXPECT_EQ(child<TNumricEdit>(d, name)->text(), "0") << name;
    EXPECT_FALSE(child<QCheckBox>(d, "Italic")->isVisibleTo(&d));
    EXPECT_TRUE(child<QCheckBox>(d, "Bold")->isVisibleTo(&d));
    EXPECT_EQ(d.MemoFont().family(), TInsertWord::DefaultFamily());
    EXPECT_EQ(d.MemoFont().pointSize(), 12);
    EXPECT_NE(child<QPushButton>(d, "BtnOk"), nullptr);
}

TEST(InsertWordDialog, TextBoxFontFollowsTheChoices)
{
    TFrmInsertWord d;
    auto *sizes = child<QComboBox>(d, "ComboFontSize");
    auto *memo = child<QPlainTextEdit>(d, "MemoText");
    // Only digits go into the size, three at most.
    sizes->lineEdit()->clear();
    QTest::keyClicks(sizes->lineEdit(), "2a-4.5x");
    EXPECT_EQ(sizes->currentText(), "245");
    EXPECT_EQ(memo->font().pointSize(), 245);
    // An empty size leaves the font as it was.
    sizes->lineEdit()->clear();
    EXPECT_EQ(memo->font().pointSize(), 245);
    EXPECT_TRUE(d.CheckValues());
    sizes->setCurrentIndex(sizes->findText("36"));
    EXPECT_EQ(memo->font().pointSize(), 36);
    // A size of 0 is refused with a message.
    sizes->setEditText("0");
    QString error;
    EXPECT_FALSE(d.CheckValues(&error));
    EXPECT_FALSE(error.isEmpty());

    child<QCheckBox>(d, "Bold")->setChecked(true);
    child<QCheckBox>(d, "UnderLine")->setChecked(true);
    child<QCheckBox>(d, "StrikeOut")->setChecked(true);
    EXPECT_TRUE(memo->font().bold());
    EXPECT_TRUE(memo->font().underline());
    EXPECT_TRUE(memo->font().strikeOut());
    child<QCheckBox>(d, "UnderLine")->setChecked(false);
    EXPECT_FALSE(memo->font().underline());
    auto *names = child<QComboBox>(d, "ComboFontName");
    const QString other = names->itemText(names->count() - 1);
    names->setCurrentText(other);
    EXPECT_EQ(memo->font().family(), other);
}

TEST(InsertWordDialog, ValuesInAndOut)
{
    TFrmInsertWord d;
    TInsertWordValues v;
    v.Family = TInsertWord::DefaultFamily();
    v.Size = -20; // a font's size may come negative: its absolute value is shown
    v.Spacing = -3;
    v.Angle = 45;
    v.X = 120;
    v.Y = -7;
    v.Bold = true;
    v.StrikeOut = true;
    v.Text = QStringLiteral("  AB 花样 \nsecond line");
    d.SetValues(v);
    const TInsertWordValues out = d.Values();
    EXPECT_EQ(out.Family, v.Family);
    EXPECT_EQ(out.Size, 20);
    EXPECT_EQ(out.Spacing, -3);
    EXPECT_EQ(out.Angle, 45);
    EXPECT_EQ(out.X, 120);
    EXPECT_EQ(out.Y, -7);
    EXPECT_TRUE(out.Bold);
    EXPECT_FALSE(out.Underline);
    EXPECT_TRUE(out.StrikeOut);
    EXPECT_EQ(d.FirstLine(), QStringLiteral("  AB 花样 "));
    EXPECT_EQ(d.MemoFont().pointSize(), 20);

    // The angle is taken within one turn before it becomes radians.
    const struct {
        int degrees;
        double radians;
    } angles[] = { { 0, 0 }, { 90, std::numbers::pi / 2 }, { 450, std::numbers::pi / 2 },
        { 999, 279 * std::numbers::pi / 180 }, { 360, 0 } };
    for (const auto &a : angles) {
        v.Angle = a.degrees;
        d.SetValues(v);
        EXPECT_NEAR(d.AngleRadians(), a.radians, 1e-12) << a.degrees;
    }
    // Typed numbers keep within their limits.
    auto *x = child<TNumricEdit>(d, "NdtCoordinateX");
    x->clear();
    QTest::keyClicks(x, "99999");
    x->Validate(true);
    EXPECT_EQ(d.Values().X, 65535);
}

TEST(InsertWordDialog, OkAndEscape)
{
    TFrmInsertWord d;
    d.show();
    QTest::keyClick(&d, Qt::Key_Escape);
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_FALSE(d.isVisible());

    TFrmInsertWord ok;
    ok.show();
    child<QPushButton>(ok, "BtnOk")->click();
    EXPECT_EQ(ok.result(), QDialog::Accepted);
}

TEST(InsertWordDialog, AskerShowsTheValuesAndTakesTheAnswer)
{
    // The dialog answers from a timer, as a person would, while it runs modally.
    const auto answer = [](bool ok) {
        QTimer::singleShot(0, [ok] {
            auto *d = qobject_cast<TFrmInsertWord *>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            EXPECT_EQ(d->Values().X, 17);
            d->findChild<QPlainTextEdit *>("MemoText")->setPlainText(QStringLiteral("AB 花样"));
            d->findChild<TNumricEdit *>("NdtAngle")->SetIntValue(90);
            d->findChild<QPushButton *>(ok ? "BtnOk" : "BtnCancel")->click();
        });
    };
    TInsertWordDialogAsker asker(nullptr);
    TInsertWordValues v;
    v.X = 17;
    answer(false);
    EXPECT_FALSE(asker.AskInsertWord(v));
    EXPECT_TRUE(v.Text.isEmpty());
    answer(true);
    ASSERT_TRUE(asker.AskInsertWord(v));
    EXPECT_EQ(v.Text, QStringLiteral("AB 花样"));
    EXPECT_EQ(v.Angle, 90);
    EXPECT_EQ(v.X, 17);
}
