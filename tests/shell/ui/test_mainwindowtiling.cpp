// The tiling commands of the main window, tried as a new user would: open a picture, show
// the tile-weave window, take a weave file, pick a colour in the pattern, tile, undo and
// redo, save, and open the file again; the float-length box, the colour-change hint and the
// tile-pattern dialog with the settings they store.
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"

#include "core/base/messages.h"
#include "core/picture/bmpfile.h"
#include "core/settings/sharedstate.h"
#include "editor/patterngrid.h"
#include "editor/ui/queryfloatwindow.h"
#include "editor/ui/tilepatterndialog.h"
#include "editor/ui/tileweavewindow.h"
#include "mainwindowfixture.h"
#include "shell/pictureformats.h"
#include "testutil.h"
#include "weave/weavefile.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>

namespace {
struct TilingFixture : TMainWindowFixture {
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartFreshSettings());
        RegisterPictureFormats();
        ASSERT_TRUE(
            SavePicture("ground.bmp", MakePicture({ { 3, 3, 3, 3 }, { 3, 3, 3, 3 }, { 5, 5, 3, 3 } })));
        ShowMainWindow();
    }
};
} // namespace

TEST_F(TilingFixture, NewUserTilesAWeaveOverAColourUndoesSavesAndReopens)
{
    // A plain weave in the weave folder, as the library would hold it.
    TWeaveArray plain = MakeWeaveArray(2, 2);
    plain[0][1] = plain[1][0] = 1;
    const QString weaveFile = dir.filePath("plain.ovw");
    ASSERT_TRUE(WriteWeaveFile(weaveFile, plain));

    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    QAction *tileWeave = form->Action("ActTileWeave");
    ASSERT_TRUE(tileWeave->isEnabled());
    tileWeave->trigger();
    auto *window = form->findChild<TFrmTileWeave *>();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    QStringList messages;
    window->SetMessageHandler([&](const QString &text) { messages << text; });

    // OK before choosing anything: the first message, nothing changed.
    EXPECT_FALSE(window->Tile());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(child->PatternGrid().UndoStore().UndoCount(), 0);

    // A colour picked in the pattern reaches the window through the main window.
    SendColorPicked(0, TColorPickInfo { 0, 3, 3 });
    SendColorPicked(0, TColorPickInfo { 0, 3, 3 });
    ASSERT_EQ(window->Colors().size(), 1);
    EXPECT_FALSE(window->Tile()) << "no weave yet";
    ASSERT_EQ(messages.size(), 2);

    QString error;
    ASSERT_TRUE(window->LoadWeave(weaveFile, &error)) << error.toStdString();
    ASSERT_TRUE(window->Tile());
    TPatternGrid &grid = child->PatternGrid();
    // A weave picked in the library becomes the grid's tiling weave, which the window takes
    // when it is shown for the document.
    grid.SelectTableTool(MakeWeaveArray(1, 1, 1));
    tileWeave->trigger();
    EXPECT_EQ(window->Weave(), MakeWeaveArray(1, 1, 1));
    window->SetWeave(plain, "plain.ovw");
    // The weave is anchored at the bottom-left cell: its point falls on even columns there.
    const std::vector<std::vector<int>> tiled { { 0, 3, 0, 3 }, { 3, 0, 3, 0 }, { 5, 5, 0, 3 } };
    EXPECT_EQ(PictureRows(grid.Picture()), tiled);
    ASSERT_TRUE(grid.Undo());
    EXPECT_EQ(PictureRows(grid.Picture()),
        (std::vector<std::vector<int>> { { 3, 3, 3, 3 }, { 3, 3, 3, 3 }, { 5, 5, 3, 3 } }));
    ASSERT_TRUE(grid.Redo());

    ASSERT_TRUE(child->SaveDocument(TSaveCommand::Save));
    grid.ClearModified();
    child->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window->Grid(), nullptr) << "the window lets go of a closed document";
    EXPECT_FALSE(window->Tile());

    TMDIChild *again = form->OpenChild(picture);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(PictureRows(again->PatternGrid().Picture()), tiled);
}

TEST_F(TilingFixture, FloatBoxHintAndTilePatternStoreTheirSettings)
{
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    auto *floatBox = form->findChild<QSpinBox *>("RxFloat");
    ASSERT_NE(floatBox, nullptr);
    floatBox->setValue(7);
    EXPECT_EQ(StartSettings().TileWeaveParam.FloatLength, 7);
    EXPECT_EQ(child->PatternGrid().TileWeaveParam().FloatLength, 7);
    QAction *hint = form->Action("ActChangeColorHint");
    ASSERT_TRUE(hint->isEnabled());
    hint->trigger();
    EXPECT_TRUE(StartSettings().TileWeaveParam.ChangeColorHint);
    EXPECT_TRUE(child->PatternGrid().TileWeaveParam().ChangeColorHint);
    // Written, but not read back.
    const QByteArray ini = ReadAll(Folders().ConfigIniPath);
    EXPECT_TRUE(ini.contains("FloatLength=7")) << ini.toStdString();
    EXPECT_TRUE(ini.contains("ChangeColorHint=1"));
    TTileWeaveParam read;
    read.FloatLength = 3;
    read.ChangeColorHint = true;
    ReadTileWeaveParam(read);
    EXPECT_EQ(read.FloatLength, 0);
    EXPECT_FALSE(read.ChangeColorHint);

    // The tile-pattern dialog: OK stores its settings and every document takes them.
    TMDIChild *second = form->OpenChild(QString(), true);
    ASSERT_NE(second, nullptr);
    QTimer::singleShot(0, [] {
        auto *dialog = qobject_cast<TFrmTilePattern *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        TTilePatternParam p = dialog->Param();
        p.IsLeftLeft = true;
        p.LeftLength = 4;
        p.FloatLength = 6;
        dialog->SetParam(p);
        dialog->accept();
    });
    form->Action("ActTilePattern")->trigger();
    for (TMDIChild *c : { child, second }) {
        EXPECT_TRUE(c->PatternGrid().TilePatternParam().IsLeftLeft);
        EXPECT_EQ(c->PatternGrid().TilePatternParam().LeftLength, 4);
        EXPECT_EQ(c->PatternGrid().TilePatternParam().FloatLength, 6);
    }
    TTilePatternParam stored;
    ReadTilePatternParam(stored);
    EXPECT_TRUE(stored.IsLeftLeft);
    EXPECT_EQ(stored.LeftLength, 4);
    EXPECT_EQ(stored.FloatLength, 0) << "the float length is written only";
    EXPECT_TRUE(ReadAll(Folders().ConfigIniPath).contains("FloatLength=6"));
}

TEST_F(TilingFixture, PickedWeaveToolInTheGridOpensTheFloatQuery)
{
    // A column of 20 cells: the weave's point on its last weft blackens every fifth row
    // from the bottom; with the hint and float length 5 the runs of four left between are
    // marked and the float query opens on the document.
    const QString column = dir.filePath("column.bmp");
    QImage img = NewPicture(1, 20, GreyPalette());
    img.fill(3);
    ASSERT_TRUE(SaveBmp8File(img, column));
    TMDIChild *child = form->OpenChild(column);
    ASSERT_NE(child, nullptr);
    TPatternGrid &grid = child->PatternGrid();
    grid.SetForeColorIndex(3);
    TTileWeaveParam param;
    param.FloatLength = 5;
    param.ChangeColorHint = true;
    grid.SetTileWeaveParam(param);

    // No weave picked yet: the press is refused with a message.
    grid.SelectTableTool(TWeaveArray());
    grid.MouseDown({ { 0, 19 } });
    ASSERT_EQ(ask.Messages.size(), 1);
    EXPECT_EQ(TFrmQueryFloat::Current(), nullptr);

    TWeaveArray weave = MakeWeaveArray(1, 5);
    weave[0][4] = 1;
    grid.SelectTableTool(weave);
    EXPECT_EQ(grid.ToolId(), TToolId::PickedWeave);
    grid.MouseDown({ { 0, 19 } });
    grid.MouseUp({ { 0, 19 } });
    TFrmQueryFloat *query = TFrmQueryFloat::Current();
    ASSERT_NE(query, nullptr);
    EXPECT_EQ(query->Query().Floats().length(), 3);
    query->SetFloatText("4");
    ASSERT_TRUE(query->Ok());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(TFrmQueryFloat::Current(), nullptr);
    for (int y = 5; y < 19; ++y)
        EXPECT_EQ(grid.Picture().constScanLine(y)[0], y % 5 == 4 ? 0 : grid.ForeIndex()) << y;
}
