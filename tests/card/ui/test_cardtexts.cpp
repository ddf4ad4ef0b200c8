// The card windows in the language the user chose: every caption, label, button, menu and
// list entry comes from the interface texts, and a language switch re-texts the windows
// that stay open.
#include "card/ui/cardgeneratedialog.h"
#include "card/ui/cardmakingdialog.h"
#include "card/ui/cardsplitdialog.h"
#include "card/ui/cardviewerwindow.h"
#include "card/ui/divisiondialog.h"
#include "card/ui/needletabledialog.h"
#include "card/ui/ruleinputdialog.h"
#include "card/ui/samplecardwindow.h"
#include "card/ui/shuttlebycolorwindow.h"
#include "core/settings/sharedstate.h"

#include "shippedlanguage.h"
#include "testutil.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

// Everything a user reads in the window: its title, labels, buttons, group titles, menus
// with their entries and list entries (texts without a letter left out).
QStringList shownTexts(const QWidget &window)
{
    QStringList out { window.windowTitle() };
    for (const QLabel *l : window.findChildren<QLabel *>())
        out << l->text();
    for (const QAbstractButton *b : window.findChildren<QAbstractButton *>())
        out << b->text();
    for (const QGroupBox *g : window.findChildren<QGroupBox *>())
        out << g->title();
    for (const QMenu *m : window.findChildren<QMenu *>()) {
        out << m->title();
        for (const QAction *a : m->actions())
            out << a->text();
    }
    for (const QComboBox *c : window.findChildren<QComboBox *>())
        for (int i = 0; i < c->count(); ++i)
            out << c->itemText(i);
    // Numbers and marks such as "..." are no language's words.
    out.removeIf([](const QString &t) {
        return std::none_of(t.begin(), t.end(), [](QChar c) { return c.isLetter(); });
    });
    return out;
}

bool isChinese(const QString &text)
{
    for (const QChar c : text)
        if ((c.unicode() >= 0x2E80 && c.unicode() <= 0x9FFF)
            || (c.unicode() >= 0xFF00 && c.unicode() <= 0xFFEF))
            return true;
    return false;
}

QImage smallPicture()
{
    QImage pic(8, 4, QImage::Format_Indexed8);
    pic.setColorTable({ qRgb(0, 0, 0), qRgb(255, 255, 255) });
    for (int y = 0; y < pic.height(); ++y)
        for (int x = 0; x < pic.width(); ++x)
            pic.setPixel(x, y, (x + y) % 2);
    return pic;
}

struct WindowCase {
    const char *name;
    std::function<std::unique_ptr<QWidget>()> make;
    const char *simplifiedTitle; // the window's title in Simplified Chinese
};

const std::vector<WindowCase> &windows()
{
    static const std::vector<WindowCase> cases = {
        { "sample-card editor", [] { return std::make_unique<TFrmYangKa>(TYangkaImage(), 10, 1); },
            "样卡设置 - " },
        { "card viewer", [] { return std::make_unique<TFrmWenBan>(); }, "纹板显示" },
        { "card generation", [] { return std::make_unique<TfrmPutOut>(nullptr, smallPicture()); },
            "生成纹板" },
        { "card making", [] { return std::make_unique<TFrmSetYangKa>(nullptr, 100); }, "生成纹板" },
        { "card splitting", [] { return std::make_unique<TFrmSplit>(); }, "拆分纹板" },
        { "division", [] { return std::make_unique<TFrmDivide>(QStringLiteral("1A1B")); }, "纹板分造" },
        { "rule input", [] { return std::make_unique<TFrmInput>(); }, "规律输入" },
        { "shuttle table", [] { return std::make_unique<TFrmPickWeftDensTable>(nullptr, 0, CardTables()); },
            "投梭表" },
        { "weft-density table",
            [] { return std::make_unique<TFrmPickWeftDensTable>(nullptr, 1, CardTables()); }, "纬密表" },
        { "shuttles by colour", [] { return std::make_unique<TFrmSetPickWithColor>(); }, "设置投梭" },
    };
    return cases;
}

class CardTexts : public ::testing::Test {
protected:
    void SetUp() override
    {
        Folders().SettingsDir = m_dir.path() + "/";
        Folders().ConfigIniPath = m_dir.filePath("Config.Ini");
    }
    QTemporaryDir m_dir;
};

} // namespace

// A new user on an English system sees English in every card window, with no Chinese
// word left; the Chinese user of the shipped file sees Chinese.
TEST_F(CardTexts, EnglishUserReadsEnglish)
{
    for (const TShippedLanguage language :
        { TShippedLanguage::English, TShippedLanguage::TraditionalChinese }) {
        ChooseShippedLanguage(language);
        for (const WindowCase &c : windows()) {
            const auto window = c.make();
            window->show();
            const QStringList texts = shownTexts(*window);
            EXPECT_GE(texts.size(), 2) << c.name;
            for (const QString &text : texts)
                EXPECT_EQ(isChinese(text), language != TShippedLanguage::English)
                    << c.name << ": " << text.toStdString();
        }
    }
    ChooseShippedLanguage(TShippedLanguage::SimplifiedChinese);
    for (const WindowCase &c : windows()) {
        const auto window = c.make();
        EXPECT_TRUE(window->windowTitle().startsWith(QString::fromUtf8(c.simplifiedTitle))) << c.name;
    }
}

// With no language file at all (a folder without one) the built-in English shows.
TEST_F(CardTexts, WithoutALanguageFileTheBuiltInEnglishShows)
{
    QTemporaryDir empty;
    Folders().LanguageDir = empty.path() + "/";
    WriteLanguageIndex(0);
    OpenLanguageFile();
    ASSERT_TRUE(Folders().LanguageFileName.isEmpty());
    for (const WindowCase &c : windows()) {
        const auto window = c.make();
        for (const QString &text : shownTexts(*window))
            EXPECT_FALSE(isChinese(text)) << c.name << ": " << text.toStdString();
    }
    TFrmWenBan viewer;
    EXPECT_EQ(viewer.windowTitle(), "Card Viewer");
    EXPECT_EQ(viewer.Action("ActLoad")->text(), "Open Card");
}

// The viewer and the sample-card editor stay open while the main window switches the
// language: both take the new texts at once, status included.
TEST_F(CardTexts, LanguageSwitchReTextsOpenWindows)
{
    ChooseShippedLanguage(TShippedLanguage::English);
    TFrmWenBan viewer;
    TYangkaImage card;
    card.SetColCount(4);
    card.SetRowCount(2);
    TFrmYangKa editor(card, 8, 1);
    const QString englishStatus = editor.StatusTexts().at(0);
    ASSERT_EQ(viewer.windowTitle(), "Card Viewer");
    ASSERT_TRUE(englishStatus.startsWith("Needles: ")) << englishStatus.toStdString();

    ChooseShippedLanguage(TShippedLanguage::SimplifiedChinese);
    QEvent change(QEvent::LanguageChange);
    QCoreApplication::sendEvent(&viewer, &change);
    QCoreApplication::sendEvent(&editor, &change);
    EXPECT_EQ(viewer.windowTitle(), QString::fromUtf8("纹板显示"));
    EXPECT_EQ(viewer.Action("ActZoomIn")->text(), QString::fromUtf8("放大"));
    EXPECT_TRUE(editor.windowTitle().startsWith(QString::fromUtf8("样卡设置 - ")))
        << editor.windowTitle().toStdString();
    EXPECT_TRUE(editor.StatusTexts().at(0).startsWith(QString::fromUtf8("总针数：")))
        << editor.StatusTexts().at(0).toStdString();
    for (const QWidget *window : { static_cast<QWidget *>(&viewer), static_cast<QWidget *>(&editor) })
        for (const QString &text : shownTexts(*window))
            EXPECT_FALSE(text.startsWith("Open") || text.startsWith("Zoom")) << text.toStdString();

    ChooseShippedLanguage(TShippedLanguage::English);
    QCoreApplication::sendEvent(&editor, &change);
    EXPECT_EQ(editor.StatusTexts().at(0), englishStatus);
}
