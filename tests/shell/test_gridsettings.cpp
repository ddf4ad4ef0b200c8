// The grid settings' OK without its window: which undo step it takes, what goes into the
// document and the new-pattern defaults, and what Undo brings back. Also the piece layout
// of a document made from a repeat layout.
#include "shell/gridsettings.h"

#include "core/settings/sharedstate.h"
#include "shell/document.h"
#include "shell/repeatlayout.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QFile>

namespace {
struct GridSettingsFixture : ::testing::Test {
    TPatternGrid grid;
    TDocument doc { grid };

    void SetUp() override
    {
        ASSERT_TRUE(InitSharedState());
        QFile::remove(Folders().ConfigIniPath);
        StartSettings().MaxUndoCount = 20;
        grid.SetClientSize(200, 200);
        grid.SetPalette(GreyPalette());
        grid.SetPicture(MakePicture({ { 1, 2, 3, 4 }, { 5, 6, 7, 8 } }, GreyPalette()));
        grid.RebuildDisplayBitmap();
        grid.SetWarpDensity(120);
        grid.SetWeftDensity(60);
        doc.InitDocument();
        grid.ClearModified();
    }
};
} // namespace

TEST_F(GridSettingsFixture, DensitiesAloneAreASettingsStepAndSizeAResizeStepBothUndone)
{
    struct Case {
        const char *name;
        int warps, wefts;
        double warpDensity;
        TUndoKind kind;
        bool stepped;
    } cases[] = {
        { "density only", 4, 2, 100, TUndoKind::State, true },
        { "size and density", 6, 3, 90, TUndoKind::Image, true },
        { "nothing changed", 4, 2, 120, TUndoKind::State, false },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        grid.UndoStore().Clear();
        const auto before = PictureRows(grid.Picture());
        const TGridSettings start = GridSettingsStartValues(doc);
        EXPECT_EQ(start.Warps, 4);
        EXPECT_EQ(start.Wefts, 2);
        EXPECT_EQ(start.WarpDensity, 120);
        TGridSettings v = start;
        v.Warps = c.warps;
        v.Wefts = c.wefts;
        v.WarpDensity = c.warpDensity;
        v.LayerCount = 3;
        v.ColCompart = 5;
        QString error;
        ASSERT_TRUE(ApplyGridSettings(doc, start, v, &error)) << error.toStdString();
        EXPECT_EQ(grid.UndoStore().UndoCount(), c.stepped ? 1 : 0);
        if (c.stepped) {
            EXPECT_EQ(grid.UndoStore().GetTopStep()->Kind, c.kind);
        }
        EXPECT_EQ(grid.ColCount(), c.warps);
        EXPECT_EQ(grid.RowCount(), c.wefts);
        EXPECT_EQ(grid.WarpDensity(), c.warpDensity);
        EXPECT_EQ(grid.RepeatDisplayValues()[2], 3);
        EXPECT_EQ(doc.Record().LayerCount, 3);
        EXPECT_EQ(grid.Grid().DefaultColCompart, 5);
        TGrossOption stored;
        ReadGrossOption(stored);
        EXPECT_EQ(stored.WarpDensity, c.warpDensity) << "the defaults are written";
        EXPECT_EQ(stored.GridColCount, 5);
        if (c.stepped) {
            ASSERT_TRUE(grid.Undo());
            EXPECT_EQ(PictureRows(grid.Picture()), before);
            EXPECT_EQ(grid.WarpDensity(), 120);
            ASSERT_TRUE(grid.Redo());
            EXPECT_EQ(grid.ColCount(), c.warps);
            EXPECT_EQ(grid.WarpDensity(), c.warpDensity);
        }
    }
}

TEST_F(GridSettingsFixture, BadValuesAreRefusedAndChangeNothing)
{
    struct Case {
        const char *name;
        std::function<void(TGridSettings &)> spoil;
    } cases[] = {
        { "density 0", [](TGridSettings &v) { v.WeftDensity = 0; } },
        { "compartment 0", [](TGridSettings &v) { v.RowCompart = 0; } },
        { "layers 10", [](TGridSettings &v) { v.LayerCount = 10; } },
        { "layers 0", [](TGridSettings &v) { v.LayerCount = 0; } },
        { "width 0", [](TGridSettings &v) { v.Warps = 0; } },
        { "height past the largest side", [](TGridSettings &v) { v.Wefts = 65536; } },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const TGridSettings start = GridSettingsStartValues(doc);
        TGridSettings v = start;
        v.WarpDensity = 99;
        c.spoil(v);
        const int steps = grid.UndoStore().UndoCount();
        QString error;
        EXPECT_FALSE(ApplyGridSettings(doc, start, v, &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(grid.UndoStore().UndoCount(), steps);
        EXPECT_EQ(grid.WarpDensity(), 120);
        EXPECT_EQ(grid.ColCount(), 4);
    }
}

// A document from an old project keeps no piece layout (count 0): the dialog starts at one
// layer, so that changing only a density is not refused.
TEST_F(GridSettingsFixture, NoPieceLayoutStartsAtOneLayer)
{
    grid.SetRepeatDisplayValues({ 0, 0, 0, 0 });
    const TGridSettings start = GridSettingsStartValues(doc);
    EXPECT_EQ(start.LayerCount, 1);
    TGridSettings v = start;
    v.WarpDensity = 90;
    QString error;
    EXPECT_TRUE(ApplyGridSettings(doc, start, v, &error)) << error.toStdString();
    EXPECT_EQ(grid.WarpDensity(), 90);
}

TEST(RepeatLayoutPieces, CountAtLeastOneHeightKeptNoGap)
{
    using A = std::array<std::int32_t, 4>;
    EXPECT_EQ(RepeatLayoutPieces(A { 7, 3, 4, 2 }, 111), (A { 7, 27, 4, 0 }));
    EXPECT_EQ(RepeatLayoutPieces(A { 1, 4, 0, 0 }, 111), (A { 1, 111, 1, 0 }));
    EXPECT_EQ(RepeatLayoutPieces(A { 1, 4, -3, 0 }, 50), (A { 1, 50, 1, 0 }));
}
