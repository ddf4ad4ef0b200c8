#include "core/settings/recentfiles.h"
#include "core/settings/sharedstate.h"
#include "core/ui/recentmenu.h"

#include <QMenu>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
struct RecentMenuFixture : ::testing::Test {
    QTemporaryDir dir;
    QMenu menu;
    void SetUp() override
    {
        Folders().SettingsDir = dir.path() + "/";
        for (const char *text : { "New", "Open", "Save", "Close" })
            menu.addAction(text);
        menu.addSeparator();
        menu.addAction("Exit");
    }
    QStringList texts() const
    {
        QStringList out;
        for (QAction *a : menu.actions())
            out << (a->isSeparator() ? QString("-") : a->text());
        return out;
    }
};
} // namespace

TEST_F(RecentMenuFixture, EmptyListGivesNoEntriesAndNoSeparator)
{
    const QString first = RefreshRecentMenu(QString(), &menu, WenBanRecentSection, true, nullptr, 4);
    EXPECT_TRUE(first.isEmpty());
    EXPECT_EQ(texts(), (QStringList { "New", "Open", "Save", "Close", "-", "Exit" }));
}

TEST_F(RecentMenuFixture, EntriesRebuiltAtPositionAndClickable)
{
    QString clicked;
    auto onClick = [&](const QString &path) { clicked = path; };
    RefreshRecentMenu("/a/one.ovw", &menu, WeaveRecentSection, false, onClick, 4);
    const QString longPath = "/home/designer/weaves/library/satin/s&t-5.ovw";
    const QString first = RefreshRecentMenu(longPath, &menu, WeaveRecentSection, false, onClick, 4);
    EXPECT_EQ(first, longPath);
    EXPECT_EQ(texts(),
        (QStringList { "New", "Open", "Save", "Close", "&1 //designer/weaves/library/satin/s&&t-5.ovw",
            "&2 /a/one.ovw", "-", "-", "Exit" }));
    // Re-adding the older file moves it to the top; old entries are replaced, not doubled.
    RefreshRecentMenu("/a/one.ovw", &menu, WeaveRecentSection, false, onClick, 4);
    RefreshRecentMenu(QString(), &menu, WeaveRecentSection, true, onClick, 4);
    EXPECT_EQ(texts(),
        (QStringList { "New", "Open", "Save", "Close", "&1 /a/one.ovw",
            "&2 //designer/weaves/library/satin/s&&t-5.ovw", "-", "-", "Exit" }));
    QAction *second = menu.actions().at(5);
    EXPECT_EQ(second->data().toString(), longPath);
    second->trigger();
    EXPECT_EQ(clicked, longPath);
}
