// The pattern-size and rotation dialogs on their own: the size boxes and the percentage as
// a user types them, an unchanged size, refusals that keep the dialog open, and the
// rotation settings read at the start and written only after a turn.
#include "editor/ui/picsizedialog.h"
#include "editor/ui/picturesizegroup.h"
#include "editor/ui/rotateangledialog.h"

#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

namespace {
struct GeometryDialogFixture : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(InitSharedState());
        QFile::remove(Folders().ConfigIniPath);
    }
    static QLineEdit *box(QWidget *w, const char *name)
    {
        return w->findChild<QLineEdit *>(QLatin1String(name));
    }
    static void type(QWidget *w, const char *name, const QString &text)
    {
        QLineEdit *b = box(w, name);
        ASSERT_NE(b, nullptr) << name;
        b->selectAll();
        QTest::keyClicks(b, text);
    }
};

struct TApplied {
    int calls = 0;
    int width = 0, height = 0;
    bool stretch = false;
};
} // namespace

TEST_F(GeometryDialogFixture, SizeDialogPercentRatioAndOk)
{
    TFrmSetPicSize dialog(100, 50);
    TApplied applied;
    bool refuse = false;
    dialog.SetApply([&](int w, int h, bool stretch, QString *error) {
        ++applied.calls;
        applied = { applied.calls, w, h, stretch };
        if (refuse && error)
            *error = QStringLiteral("refused");
        return !refuse;
    });
    QStringList messages;
    dialog.SetMessageHandler([&](const QString &text) { messages << text; });
    dialog.show();
    EXPECT_TRUE(dialog.findChild<QCheckBox *>("Repress_Width_Hight_Ratio")->isChecked());
    EXPECT_TRUE(dialog.findChild<QCheckBox *>("Enlarging_Reducing_Picture")->isChecked());
    EXPECT_FALSE(box(&dialog, "RdtPrecent")->isEnabled());

    // Percent: the boxes are the dialog's, the percentage the user's.
    dialog.findChild<QCheckBox *>("Percent")->click();
    EXPECT_FALSE(box(&dialog, "RdtPicWidth")->isEnabled());
    EXPECT_FALSE(dialog.findChild<QCheckBox *>("Repress_Width_Hight_Ratio")->isEnabled());
    type(&dialog, "RdtPrecent", "25");
    EXPECT_EQ(box(&dialog, "RdtPicWidth")->text(), "25");
    EXPECT_EQ(box(&dialog, "RdtPicHeight")->text(), "12");

    // The grid refuses: shown, the dialog stays open.
    refuse = true;
    dialog.accept();
    EXPECT_EQ(messages, QStringList { "refused" });
    EXPECT_TRUE(dialog.isVisible());
    refuse = false;
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(applied.calls, 2);
    EXPECT_EQ(applied.width, 25);
    EXPECT_EQ(applied.height, 12);
    EXPECT_TRUE(applied.stretch);
    EXPECT_EQ(dialog.NewWidth(), 25);
}

TEST_F(GeometryDialogFixture, SizeDialogUnchangedIsCancelledAndAnEmptyBoxRefused)
{
    TFrmSetPicSize dialog(100, 50);
    int calls = 0;
    dialog.SetApply([&](int, int, bool, QString *) { return ++calls > 0; });
    QStringList messages;
    dialog.SetMessageHandler([&](const QString &text) { messages << text; });
    dialog.show();
    box(&dialog, "RdtPicWidth")->clear();
    dialog.accept();
    EXPECT_EQ(messages.size(), 1) << "an empty box";
    EXPECT_TRUE(dialog.isVisible());
    type(&dialog, "RdtPicWidth", "30");
    EXPECT_EQ(box(&dialog, "RdtPicHeight")->text(), "15");
    type(&dialog, "RdtPicWidth", "100");
    EXPECT_EQ(box(&dialog, "RdtPicHeight")->text(), "50");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected) << "unchanged: as cancelled";
    EXPECT_EQ(calls, 0);
}

TEST_F(GeometryDialogFixture, RotationStartsFromItsSettingsAndWritesThemOnlyAfterATurn)
{
    WriteRotateOption(TRotateOption { 12.5, true });
    TFrmSetRotateAngle dialog;
    EXPECT_EQ(box(&dialog, "RdtRotateAngle")->text(), "12.5");
    EXPECT_EQ(box(&dialog, "RdtRotateAngle")->maxLength(), 6);
    EXPECT_TRUE(dialog.findChild<QRadioButton *>("Anti_Clockwise")->isChecked());
    std::vector<double> turned;
    bool refuse = false;
    dialog.SetApply([&](double a, QString *error) {
        turned.push_back(a);
        if (refuse && error)
            *error = QStringLiteral("too large");
        return !refuse;
    });
    QStringList messages;
    dialog.SetMessageHandler([&](const QString &text) { messages << text; });
    dialog.show();

    struct Case {
        const char *text;
        bool clockwise, refused;
        int messages;
        std::size_t turns;
    } cases[] = {
        { "400", true, false, 1, 0 }, // beyond a full turn
        { "-", true, false, 2, 0 }, { "30", true, true, 3, 1 }, // the picture refuses
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        type(&dialog, "RdtRotateAngle", c.text);
        dialog.findChild<QRadioButton *>(c.clockwise ? "Clockwise" : "Anti_Clockwise")->click();
        refuse = c.refused;
        dialog.accept();
        EXPECT_EQ(messages.size(), c.messages);
        EXPECT_EQ(turned.size(), c.turns);
        EXPECT_TRUE(dialog.isVisible());
        TRotateOption stored;
        ReadRotateOption(stored);
        EXPECT_EQ(stored, (TRotateOption { 12.5, true })) << "nothing written";
    }
    refuse = false;
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(turned.back(), -30) << "clockwise is negative";
    TRotateOption stored;
    ReadRotateOption(stored);
    EXPECT_EQ(stored, (TRotateOption { 30, false }));
}
