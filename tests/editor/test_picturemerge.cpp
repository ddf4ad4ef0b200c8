// The multi-layer merge: layers interleaved column by column, their colours kept exactly,
// and what it refuses.
#include "editor/picturemerge.h"

#include "core/picture/picturelimits.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <set>

namespace {

class PictureMerge : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(InitSharedState()); }
};

TPaletteEntry entry(int r, int g, int b)
{
    return { std::uint8_t(r), std::uint8_t(g), std::uint8_t(b), 0 };
}

// The colour (red, green, blue) each cell of an 8-bit picture shows.
std::vector<std::vector<std::uint32_t>> shownColors(const QImage &img)
{
    TPalette256 pal;
    GetBitmapPalette(img, pal);
    std::vector<std::vector<std::uint32_t>> out;
    for (const auto &row : PictureRows(img)) {
        out.emplace_back();
        for (int v : row) {
            const TPaletteEntry &e = pal[std::size_t(v)];
            out.back().push_back((std::uint32_t(e.Red) << 16) | (std::uint32_t(e.Green) << 8) | e.Blue);
        }
    }
    return out;
}

} // namespace

TEST_F(PictureMerge, LayersSharingAPaletteAreInterleavedIndexForIndex)
{
    TPalette256 pal = GreyPalette();
    pal[7] = entry(1, 2, 3); // not a grey: the palette is kept as it is
    const QImage a = MakePicture({ { 10, 11, 12 }, { 13, 14, 15 } }, pal);
    const QImage b = MakePicture({ { 20, 21, 22 }, { 23, 24, 7 } }, pal);
    const QImage c = MakePicture({ { 30, 31, 32 }, { 33, 34, 35 } }, pal);
    struct Case {
        const char *name;
        QList<QImage> layers;
        std::vector<std::vector<int>> expected;
    } cases[] = {
        { "one layer: a copy", { a }, { { 10, 11, 12 }, { 13, 14, 15 } } },
        { "A0 B0 A1 B1 A2 B2", { a, b }, { { 10, 20, 11, 21, 12, 22 }, { 13, 23, 14, 24, 15, 7 } } },
        { "in the order chosen", { b, a }, { { 20, 10, 21, 11, 22, 12 }, { 23, 13, 24, 14, 7, 15 } } },
        { "three layers", { a, b, c },
            { { 10, 20, 30, 11, 21, 31, 12, 22, 32 }, { 13, 23, 33, 14, 24, 34, 15, 7, 35 } } },
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        QImage merged;
        QString error;
        ASSERT_TRUE(MergeLayerPictures(k.layers, merged, &error)) << error.toStdString();
        EXPECT_EQ(PictureRows(merged), k.expected);
        TPalette256 got;
        GetBitmapPalette(merged, got);
        EXPECT_EQ(got, pal);
    }
}

TEST_F(PictureMerge, LayersWithTheirOwnPalettesKeepTheirExactColours)
{
    // Colours a 4-bit route would merge or move: (255, 0, 0) beside (250, 0, 0), pure black.
    TPalette256 pa = GreyPalette(), pb = GreyPalette();
    pa[1] = entry(255, 0, 0);
    pa[2] = entry(0, 0, 0);
    pa[3] = entry(17, 200, 33);
    pb[1] = entry(250, 0, 0);
    pb[2] = entry(255, 0, 0);
    pb[5] = entry(0, 0, 0);
    const QImage a = MakePicture({ { 1, 2 }, { 3, 1 } }, pa);
    const QImage b = MakePicture({ { 1, 2 }, { 5, 5 } }, pb);
    QImage merged;
    ASSERT_TRUE(MergeLayerPictures({ a, b }, merged));
    const std::vector<std::vector<std::uint32_t>> expected {
        { 0xFF0000, 0xFA0000, 0x000000, 0xFF0000 },
        { 0x11C821, 0x000000, 0xFF0000, 0x000000 },
    };
    EXPECT_EQ(shownColors(merged), expected);
    // A colour used by both layers takes one entry.
    std::set<int> indexes;
    for (const auto &row : PictureRows(merged))
        indexes.insert(row.begin(), row.end());
    EXPECT_EQ(indexes.size(), 4u);
}

// Layers large enough to be woven on several threads: column c of layer i lands in column
// N * c + i of every row, its colour kept.
TEST_F(PictureMerge, LargeLayersAreInterleavedCellForCell)
{
    QList<QImage> layers;
    for (int i = 0; i < 3; ++i) {
        TPalette256 palette = GreyPalette();
        for (int k = 0; k < 40; ++k)
            palette[std::size_t(k)] = entry(k * 6, i * 80, 255 - k * 6);
        QImage layer = NewPicture(1000, 900, palette);
        for (int y = 0; y < 900; ++y)
            for (int x = 0; x < 1000; ++x)
                layer.scanLine(y)[x] = std::uint8_t((x + 3 * y + 7 * i) % 40);
        layers << layer;
    }
    QImage merged;
    ASSERT_TRUE(MergeLayerPictures(layers, merged));
    ASSERT_EQ(merged.size(), QSize(3000, 900));
    int wrong = 0;
    for (int y = 0; y < 900; ++y)
        for (int x = 0; x < 3000; ++x)
            wrong += merged.pixel(x, y) != layers[x % 3].pixel(x / 3, y);
    EXPECT_EQ(wrong, 0);
}

TEST_F(PictureMerge, MoreThan256ColoursKeepTheMostUsedWithBlackAndWhite)
{
    // Two layers of 200 colours each, none shared: 400 colours. Layer A's colours are used
    // twice as often as B's, and B's first colour is pure white.
    TPalette256 pa {}, pb {};
    for (int i = 0; i < 200; ++i) {
        pa[std::size_t(i)] = entry(i, 0, 1);
        pb[std::size_t(i)] = i == 0 ? entry(255, 255, 255) : entry(i, 0, 200);
    }
    QImage a = NewPicture(400, 1, pa), b = NewPicture(400, 1, pb);
    for (int x = 0; x < 400; ++x) {
        a.scanLine(0)[x] = std::uint8_t(x / 2); // every colour of A twice
        b.scanLine(0)[x] = std::uint8_t(x < 200 ? x : 199); // B's last colour most used
    }
    TUnitedColors united;
    UnitePictureColors({ a, b }, united);
    EXPECT_EQ(united.UsedColors, 400);
    EXPECT_TRUE(united.Reduced);
    EXPECT_EQ(united.Palette[254], BlackQuad);
    EXPECT_EQ(united.Palette[255], WhiteQuad);
    // B's most used colour first, then A's 200 (used twice), then 53 of B's, first met first.
    EXPECT_EQ(united.Palette[0], entry(199, 0, 200));
    EXPECT_EQ(united.Palette[1], entry(0, 0, 1));
    EXPECT_EQ(united.Palette[200], entry(199, 0, 1));
    EXPECT_EQ(united.Palette[201], entry(1, 0, 200));
    EXPECT_EQ(united.Palette[253], entry(53, 0, 200));

    QImage merged;
    ASSERT_TRUE(MergeLayerPictures({ a, b }, merged));
    const auto colors = shownColors(merged);
    // Every cell of A keeps its colour; white stays white; a dropped colour of B moves to
    // the nearest kept one.
    for (int x = 0; x < 400; ++x)
        EXPECT_EQ(colors[0][std::size_t(2 * x)], std::uint32_t((x / 2) << 16 | 1));
    EXPECT_EQ(colors[0][1], 0xFFFFFFu);
    EXPECT_EQ(colors[0][2 * 100 + 1], 0x3500C8u) << "(100, 0, 200) moves to (53, 0, 200)";
}

TEST_F(PictureMerge, RefusesNothingUnequalSizesAndTooWideAResult)
{
    const QImage small = MakePicture({ { 1, 2 } });
    const QImage taller = MakePicture({ { 1, 2 }, { 3, 4 } });
    QImage wide = NewPicture(MaxPictureSide / 2 + 1, 1, GreyPalette());
    wide.fill(0);
    const QString refused = GetUiMessage(UiKey::String::SelectedNoPictureOrSizeNoSame);
    struct Case {
        const char *name;
        QList<QImage> layers;
        QString message;
    } cases[] = {
        { "no layer", {}, refused },
        { "sizes differ", { small, taller }, refused },
        { "not 8-bit", { small, small.convertToFormat(QImage::Format_RGB32) }, refused },
        { "wider than 65,535", { wide, wide }, GetUiMessage(UiKey::String::MergeTooWide) },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QImage merged = MakePicture({ { 9 } });
        QString error;
        EXPECT_FALSE(MergeLayerPictures(c.layers, merged, &error));
        EXPECT_EQ(error, c.message);
        EXPECT_EQ(PictureRows(merged), (std::vector<std::vector<int>> { { 9 } }));
    }
}
