// Selvedges added to a grid: the strips are joined index for index, the weave is tiled black
// from the strip's bottom-left cell, and every refusal leaves the document as it was.
#include "editor/selvedges.h"

#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"
#include "patterngridfixture.h"
#include "testutil.h"

#include <gtest/gtest.h>

namespace {
class Selvedges : public TPatternGridFixture { };

// A grey palette in which entries 10 and 11 hold one colour, as a reduced picture may have.
TPalette256 paletteWithDuplicate()
{
    TPalette256 palette = GreyPalette();
    palette[11] = palette[10];
    return palette;
}

QImage patternPicture(int w, int h, const TPalette256 &palette)
{
    QImage picture = NewPicture(w, h, palette);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            picture.scanLine(y)[x] = uchar(5 + (x * 7 + y * 3) % 9 + ((x + y) % 5 == 0 ? 6 : 0)); // 5 .. 19
    return picture;
}

TWeaveArray plainWeave()
{
    TWeaveArray weave = MakeWeaveArray(2, 2);
    weave[0][1] = weave[1][0] = 1;
    return weave;
}
} // namespace

TEST_F(Selvedges, LeftStripWidensThePatternAndKeepsEveryIndex)
{
    const TPalette256 palette = paletteWithDuplicate();
    const QImage before = patternPicture(100, 50, palette);
    TPatternGrid grid;
    show(grid, before);
    TClothSide left;
    left.ColorIndex = 11; // the duplicate entry: a 24-bit join would turn it into 10
    left.Warps = 4;
    const TClothSide right;
    QString error;
    ASSERT_TRUE(AddClothSides(grid, left, right, &error)) << error.toStdString();

    const QImage &after = grid.Picture();
    ASSERT_EQ(after.size(), QSize(104, 50));
    EXPECT_EQ(grid.ColCount(), 104);
    EXPECT_EQ(grid.Palette(), palette) << "black was there: the palette is untouched";
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 4; ++x)
            ASSERT_EQ(after.constScanLine(y)[x], 11) << x << "," << y;
        for (int x = 0; x < 100; ++x)
            ASSERT_EQ(after.constScanLine(y)[x + 4], before.constScanLine(y)[x]) << x << "," << y;
    }
    EXPECT_EQ(grid.RefBitmap().size(), after.size());
    EXPECT_EQ(grid.UndoStore().UndoCount(), 1) << "one whole-picture step";
    ASSERT_TRUE(grid.Undo());
    EXPECT_EQ(PictureRows(grid.Picture()), PictureRows(before));
    EXPECT_EQ(grid.ColCount(), 100);
}

TEST_F(Selvedges, WeaveIsTiledBlackFromTheStripsBottomLeftAndAnEmptyWeaveGivesAPlainStrip)
{
    const QImage before = MakePicture({ { 7 }, { 7 }, { 7 } });
    TPatternGrid grid;
    show(grid, before);
    TClothSide left;
    left.ColorIndex = 9;
    left.Warps = 3;
    left.Weave = plainWeave();
    TClothSide right;
    right.ColorIndex = 8;
    right.Warps = 2; // no weave: plain
    ASSERT_TRUE(AddClothSides(grid, left, right));
    // Black is entry 0 of the grey palette. The bottom row starts on a weave point.
    const std::vector<std::vector<int>> expected { { 0, 9, 0, 7, 8, 8 }, { 9, 0, 9, 7, 8, 8 },
        { 0, 9, 0, 7, 8, 8 } };
    EXPECT_EQ(PictureRows(grid.Picture()), expected);
}

TEST_F(Selvedges, BlackIsAddedToAPaletteWithoutIt)
{
    TPalette256 palette = GreyPalette();
    palette[0] = { 1, 2, 3, 0 };
    TPatternGrid grid;
    show(grid, MakePicture({ { 5, 5 } }, palette));
    TClothSide right;
    right.ColorIndex = 5;
    right.Warps = 1;
    right.Weave = MakeWeaveArray(1, 1, 1);
    ASSERT_TRUE(AddClothSides(grid, TClothSide(), right));
    const int cell = grid.Picture().constScanLine(0)[2];
    EXPECT_EQ(grid.Palette()[cell], BlackQuad);
    EXPECT_EQ(PictureRows(grid.Picture())[0][0], 5);
}

TEST_F(Selvedges, RefusalsChangeNothingAndSayWhy)
{
    TClothSide noColor;
    noColor.Warps = 2;
    TClothSide blue;
    blue.ColorIndex = 3;
    blue.Warps = 2;
    blue.Weave = plainWeave();
    TClothSide negative = blue;
    negative.Warps = -1;
    TClothSide wide = blue;
    wide.Warps = 65535;
    const struct {
        const char *what;
        TClothSide left, right;
        bool fullPalette;
        QString message;
    } cases[] = {
        { "a side with warps and no colour", TClothSide(), noColor, false,
            GetUiMessage(UiKey::String::ClothSideNoColor).arg(GetUiMessage(UiKey::String::Right_Side)) },
        { "a negative warp count", negative, TClothSide(), false,
            GetUiMessage(UiKey::String::ClothSideBadWarps) },
        { "wider than 65,535", wide, TClothSide(), false,
            GetUiMessage(UiKey::String::ClothSideTooWide).arg(65537).arg(65535) },
        { "no room for black", blue, TClothSide(), true, GetUiMessage(UiKey::String::TileNoEntryForBlack) },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QImage before = c.fullPalette ? EveryEntryPicture(FullPaletteWithoutBlack())
                                            : MakePicture({ { 1, 2 }, { 3, 4 } });
        TPatternGrid grid;
        show(grid, before);
        const TPalette256 palette = grid.Palette();
        QString error;
        EXPECT_FALSE(AddClothSides(grid, c.left, c.right, &error));
        EXPECT_EQ(error, c.message);
        EXPECT_EQ(PictureRows(grid.Picture()), PictureRows(before));
        EXPECT_EQ(grid.Palette(), palette);
        EXPECT_EQ(grid.UndoStore().UndoCount(), 0);
    }
}
