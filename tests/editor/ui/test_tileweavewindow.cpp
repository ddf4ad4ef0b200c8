// The tile-weave window on its own: settings in and out, the colour list, the stored
// settings, refusals shown without a change, Reset and the end of its document.
#include "editor/ui/tileweavewindow.h"

#include "core/base/messages.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSignalSpy>

namespace {
struct TileWindowFixture : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(InitSharedState());
        QFile::remove(Folders().ConfigIniPath);
        grid.SetClientSize(100, 100);
        grid.SetPicture(MakePicture({ { 3, 3 }, { 3, 1 } }));
        grid.ReadPaletteFromPicture();
        grid.RebuildDisplayBitmap();
    }
    TPatternGrid grid;
};
} // namespace

TEST_F(TileWindowFixture, SettingsGoInAndOutAndAreStored)
{
    QObject mainWindow;
    auto *window = new TFrmTileWeave(&mainWindow);
    TTileWeaveParam p;
    p.IsLeftLeft = p.IsBottomLeft = true;
    p.LeftLength = 3;
    p.BottomLength = 2;
    p.FloatLength = 5;
    p.ChangeColorHint = true;
    p.FindHigh = false;
    window->SetParam(p);
    EXPECT_EQ(window->Param(), p);
    window->SetFloatRule(TTileFloatRule::EqualTo);
    EXPECT_EQ(window->FloatRule(), TTileFloatRule::EqualTo);

    window->SetGrid(&grid, nullptr);
    QSignalSpy stored(window, &TFrmTileWeave::settingsStored);
    window->SaveParameter();
    EXPECT_EQ(stored.size(), 1);
    EXPECT_EQ(StartSettings().TileWeaveParam, p);
    EXPECT_EQ(grid.TileWeaveParam(), p);
    TTileWeaveParam read;
    ReadTileWeaveParam(read);
    TTileWeaveParam expected = p;
    expected.FloatLength = 0;
    expected.ChangeColorHint = false;
    EXPECT_EQ(read, expected) << "the float length and the hint are not read back";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // closed: deleted
}

TEST_F(TileWindowFixture, ColoursFromPicksRefusalsAndReset)
{
    QObject mainWindow;
    QObject document;
    TFrmTileWeave window(&mainWindow);
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    window.SetGrid(&grid, &document);
    QStringList messages;
    window.SetMessageHandler([&](const QString &text) { messages << text; });

    TColorPickInfo pick { 0, 3, 3 };
    TMessageEvent event(WM_COLORPICKED, 0, reinterpret_cast<qintptr>(&pick));
    QCoreApplication::sendEvent(&mainWindow, &event);
    pick.Index = 1;
    QCoreApplication::sendEvent(&mainWindow, &event);
    QCoreApplication::sendEvent(&mainWindow, &event);
    ASSERT_EQ(window.Colors().size(), 2);
    EXPECT_EQ(window.Colors()[1].Index, 1);

    window.SetWeave(MakeWeaveArray(1, 1, 1), "all");
    window.SetFloatRule(TTileFloatRule::EqualTo);
    window.SetFloatText(1, "2,x");
    EXPECT_FALSE(window.Tile());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("2,x"));
    EXPECT_EQ(PictureRows(grid.Picture()), (std::vector<std::vector<int>> { { 3, 3 }, { 3, 1 } }));

    QSignalSpy toolWanted(&window, &TFrmTileWeave::colorPickToolWanted);
    window.Reset();
    EXPECT_TRUE(window.Colors().isEmpty());
    EXPECT_EQ(toolWanted.size(), 1);
    EXPECT_FALSE(window.Tile());
    EXPECT_EQ(messages.last(), GetUiMessage(UiKey::String::TileNoColorChosen));

    window.AddColor(3);
    ASSERT_TRUE(window.Tile());
    EXPECT_EQ(PictureRows(grid.Picture()), (std::vector<std::vector<int>> { { 0, 0 }, { 0, 1 } }));
}
