// The palette choice dialog: the captions of each kind in the chosen language, the choice
// of each button, and the asker that shows it (OK gives the choice, Escape cancels).
#include "editor/ui/setpalettedialog.h"

#include "core/ui/titlewidth.h"
#include "shippedlanguage.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace {
QString buttonText(const TFrmSetPalette &d, const char *name)
{
    auto *b = d.findChild<QRadioButton *>(QString::fromLatin1(name));
    return b ? b->text() : QStringLiteral("<missing>");
}

// Answers the next modal palette dialog from a zero timer: clicks the named radio button
// (none: leaves it) then presses OK, or Escape when ok is false.
void answerNextDialog(const char *radio, bool ok)
{
    QTimer::singleShot(0, [radio, ok] {
        auto *d = qobject_cast<TFrmSetPalette *>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        if (radio)
            d->findChild<QRadioButton *>(QString::fromLatin1(radio))->click();
        if (ok)
            d->findChild<QPushButton *>(QStringLiteral("BtnOK"))->click();
        else
            QTest::keyClick(d, Qt::Key_Escape);
    });
}
} // namespace

TEST(SetPaletteDialog, CaptionsFollowKindAndLanguage)
{
    struct Case {
        TShippedLanguage Language;
        TPaletteChoiceKind Kind;
        const char *Title, *Combine, *First, *Second;
    };
    const Case cases[] = {
        { TShippedLanguage::English, TPaletteChoiceKind::LeftRight, "Treat Color Palette",
            "Merge Two Palettes", "Left Palette", "Right Palette" },
        { TShippedLanguage::English, TPaletteChoiceKind::TopBottom, "Treat Color Palette",
            "Merge Two Palettes", "Top Palette", "Bottom Palette" },
        { TShippedLanguage::English, TPaletteChoiceKind::Paste, "Treat Color Palette", "Merge Two Palettes",
            "Palette of the Original Picture", "Palette of the Cut Picture" },
        { TShippedLanguage::SimplifiedChinese, TPaletteChoiceKind::Paste, "调色板处理", nullptr, nullptr,
            nullptr },
    };
    for (const Case &c : cases) {
        TShippedLanguageScope language(c.Language);
        TFrmSetPalette d(nullptr, c.Kind);
        SCOPED_TRACE(int(c.Kind));
        EXPECT_EQ(d.windowTitle(), QString::fromUtf8(c.Title));
        if (c.Combine) {
            EXPECT_EQ(buttonText(d, "RbnCombinePalette"), QString::fromUtf8(c.Combine));
            EXPECT_EQ(buttonText(d, "RbnLeftPalette"), QString::fromUtf8(c.First));
            EXPECT_EQ(buttonText(d, "RbnRightPalette"), QString::fromUtf8(c.Second));
        } else {
            EXPECT_FALSE(buttonText(d, "RbnLeftPalette").isEmpty());
            EXPECT_NE(buttonText(d, "RbnLeftPalette"), QStringLiteral("Palette of the Original Picture"));
        }
    }
}

TEST(SetPaletteDialog, EachButtonGivesItsChoice)
{
    TFrmSetPalette d(nullptr, TPaletteChoiceKind::LeftRight);
    EXPECT_EQ(d.Choice(), TPaletteChoice::Combine) << "joining is checked at the start";
    const std::pair<const char *, TPaletteChoice> rows[] = {
        { "RbnLeftPalette", TPaletteChoice::First },
        { "RbnRightPalette", TPaletteChoice::Second },
        { "RbnCombinePalette", TPaletteChoice::Combine },
    };
    for (const auto &[name, choice] : rows) {
        d.findChild<QRadioButton *>(QString::fromLatin1(name))->click();
        EXPECT_EQ(d.Choice(), choice) << name;
        EXPECT_EQ(int(d.Choice()), int(choice));
    }
    EXPECT_EQ(int(TPaletteChoice::Combine), 3);
    EXPECT_EQ(int(TPaletteChoice::First), 4);
    EXPECT_EQ(int(TPaletteChoice::Second), 5);
}

TEST(SetPaletteDialog, AskerGivesTheChoiceOnOkAndNothingOnEscape)
{
    TDialogPaletteChoice asker(nullptr);
    TPaletteChoice choice = TPaletteChoice::Combine;
    answerNextDialog("RbnRightPalette", true);
    ASSERT_TRUE(asker.AskPaletteChoice(TPaletteChoiceKind::Paste, choice));
    EXPECT_EQ(choice, TPaletteChoice::Second);

    answerNextDialog(nullptr, true);
    ASSERT_TRUE(asker.AskPaletteChoice(TPaletteChoiceKind::Paste, choice));
    EXPECT_EQ(choice, TPaletteChoice::Combine) << "a new dialog starts at joining";

    choice = TPaletteChoice::First;
    answerNextDialog("RbnRightPalette", false);
    EXPECT_FALSE(asker.AskPaletteChoice(TPaletteChoiceKind::TopBottom, choice));
    EXPECT_EQ(choice, TPaletteChoice::First) << "a cancelled question changes nothing";
}

TEST(SetPaletteDialog, WindowIsWideEnoughForItsWholeCaption)
{
    // The three short radio captions alone make a window narrower than its title, which the
    // title bar then cuts short; in every language the shown window holds the whole caption.
    for (TShippedLanguage language : { TShippedLanguage::English, TShippedLanguage::SimplifiedChinese }) {
        TShippedLanguageScope scope(language);
        TFrmSetPalette d(nullptr, TPaletteChoiceKind::LeftRight);
        d.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
        const int captionWidth = QFontMetrics(d.font()).horizontalAdvance(d.windowTitle());
        EXPECT_GT(TitleFitWidth(&d), captionWidth + 60) << "room for the title bar's buttons";
        EXPECT_GE(d.width(), TitleFitWidth(&d)) << d.windowTitle().toStdString();
    }
}
