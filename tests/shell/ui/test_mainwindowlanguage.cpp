// The main window as a new user starts it, in the shipped languages: eight menus with every
// item captioned in that language, and the language actions re-texting everything at once.
#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "shell/mainactions.h"
#include "shell/ui/mainwindow.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>

namespace {
struct ShippedLanguagesFixture : ::testing::Test {
    QTemporaryDir dir;
    void SetUp() override
    {
        ResetSharedState();
        ASSERT_TRUE(InitSharedState());
        Folders().ConfigIniPath = dir.filePath("Config.Ini");
        Folders().LanguageDir = QStringLiteral(DORWEN_SOURCE_RESOURCES) + "/Language/";
    }
    void TearDown() override
    {
        WriteLanguageIndex(0);
        OpenLanguageFile();
    }
};

QStringList menuTitles(const TMainForm &form)
{
    QStringList titles;
    for (QAction *a : form.menuBar()->actions())
        titles << a->text();
    return titles;
}

// Every caption of every menu item (sub-menus included), by the item's object name.
std::map<QString, QString> itemCaptions(const TMainForm &form)
{
    std::map<QString, QString> captions;
    for (const TMainActionInfo &info : MainActions())
        if (QAction *a = form.Action(info.Name);
            a && info.Menu != TMainMenu::None && info.Menu != TMainMenu::ToolBar)
            captions[QLatin1String(info.Name)] = a->text();
    return captions;
}
} // namespace

// English (index 0 of the sorted files) and Simplified Chinese (index 2): the window starts
// in the chosen language, shows all eight menus, and every item has a caption from that
// language file (no caption made up from a name).
TEST_F(ShippedLanguagesFixture, StartShowsTheEightMenusInEachShippedLanguage)
{
    struct Case {
        int index;
        const char *file;
        QStringList titles;
        std::vector<std::pair<const char *, QString>> items;
    } cases[] = {
        { 0, "English.ini",
            { "File(&F)", "Edit(&E)", "Pattern(&G)", "Picture(&P)", "Technology(&T)", "Output(&O)",
                "Window(&W)", "Help(&H)" },
            { { "ActUndo", "Undo" }, { "ActTabbySketch", "Tabby Sketch" }, { "ActCut", "Cut" },
                { "ActFileNew", "New" }, { "ActChangeColorHint", "Change Color Hint" } } },
        { 2, "Zhongwen-Jianti.ini", {},
            { { "ActTabbySketch", QStringLiteral("平纹勾边") },
                { "ActOldSize", QStringLiteral("上次大小") } } },
    };
    std::map<QString, QString> english;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        WriteLanguageIndex(c.index);
        OpenLanguageFile();
        ASSERT_EQ(Folders().LanguageFileName, QLatin1String(c.file));
        TMainForm form;
        form.show();
        const QStringList titles = menuTitles(form);
        ASSERT_EQ(titles.size(), 8);
        if (!c.titles.isEmpty()) {
            EXPECT_EQ(titles, c.titles);
        }
        for (const QString &t : titles)
            EXPECT_FALSE(t.isEmpty());
        const auto captions = itemCaptions(form);
        for (const auto &[name, caption] : captions)
            EXPECT_FALSE(caption.isEmpty()) << name.toStdString();
        for (const auto &[name, caption] : c.items)
            EXPECT_EQ(form.Action(name)->text(), caption) << name;
        if (c.index == 0) {
            english = captions;
        } else {
            // Every item of the Chinese menus differs from its English caption, except
            // the language names, which each language shows as itself.
            for (const auto &[name, caption] : captions) {
                if (!name.startsWith("ActEnglish")) {
                    EXPECT_NE(caption, english.at(name)) << name.toStdString();
                }
            }
            EXPECT_NE(titles.at(0), "File(&F)");
        }
    }
}

// The four language actions write their tag as the language index, open that file and
// re-text the menus and actions at once.
TEST_F(ShippedLanguagesFixture, LanguageActionsReTextEverything)
{
    WriteLanguageIndex(0);
    OpenLanguageFile();
    TMainForm form;
    const QString englishFile = form.FileMenu()->title();
    const QString englishSketch = form.Action("ActTabbySketch")->text();
    ASSERT_EQ(form.Action("ActSimplified_Chinese")->data().toInt(), 2);
    form.Action("ActSimplified_Chinese")->trigger();
    EXPECT_EQ(Folders().LanguageFileName, "Zhongwen-Jianti.ini");
    EXPECT_TRUE(QFile(Folders().ConfigIniPath).exists());
    EXPECT_NE(form.FileMenu()->title(), englishFile);
    EXPECT_EQ(form.Action("ActTabbySketch")->text(), QStringLiteral("平纹勾边"));
    EXPECT_EQ(form.Action("ActTabbySketch")->toolTip(), QStringLiteral("平纹勾边"));
    form.Action("ActEnglish")->trigger();
    EXPECT_EQ(Folders().LanguageFileName, "English.ini");
    EXPECT_EQ(form.FileMenu()->title(), englishFile);
    EXPECT_EQ(form.Action("ActTabbySketch")->text(), englishSketch);
}
