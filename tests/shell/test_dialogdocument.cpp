// What a dialog's result becomes in a new document: captions, the picture with its own
// palette, the record made from it, the split's piece layout, and refused pictures that
// change nothing.
#include "shell/dialogdocument.h"

#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "testutil.h"

#include <gtest/gtest.h>

namespace {
// A palette unlike the grid's start palette, so that taking it shows.
TPalette256 redPalette()
{
    TPalette256 palette {};
    for (int i = 0; i < 256; ++i)
        palette[i] = TPaletteEntry { std::uint8_t(i), 0, 0, 0 }; // a red ramp
    return palette;
}

struct DialogDocumentFixture : ::testing::Test {
    TPatternGrid grid;
    TDocument doc { grid };
    QImage result = MakePicture({ { 3, 3, 7 }, { 7, 3, 9 } }, redPalette());

    void SetUp() override { ASSERT_TRUE(InitSharedState()); }
};
} // namespace

TEST(DialogDocumentCaptions, NumberStarAndSplitNames)
{
    ResetSharedState();
    EXPECT_EQ(DialogDocumentCaption(3), GetUiMessage(UiKey::String::UnilitedName) + "3*");

    TPatternGrid grid;
    TDocument source { grid };
    const struct {
        const char *caption, *part2;
    } cases[] = {
        { "/p/stripes.bmp", "/p/stripes_X2" },
        { "/p.d/stripes", "/p.d/stripes_X2" }, // a dot in the folder is no extension
        { "/p/a.b.ovy", "/p/a.b_X2" },
        { "Untiled-1", "Untiled-1_X2" },
    };
    for (const auto &c : cases) {
        source.SetCaption(QString::fromUtf8(c.caption));
        EXPECT_EQ(SplitPartCaption(source, 2), QString::fromUtf8(c.part2)) << c.caption;
    }
}

TEST_F(DialogDocumentFixture, ResultPictureBecomesTheDocumentWithItsPaletteAndRecord)
{
    grid.SetPicture(MakePicture({ { 1 } }, GreyPalette()));
    grid.SetRepeatInfo([] {
        TRepeatPic r;
        r.UnitWidth = 1;
        r.UnitHeight = 1;
        r.HorzCount = 4;
        r.VertCount = 4;
        return r;
    }());
    ASSERT_TRUE(TakeDialogPicture(doc, result));

    EXPECT_EQ(grid.Picture(), result);
    EXPECT_EQ(grid.Palette(), redPalette());
    EXPECT_EQ(grid.DisplayPalette(), redPalette());
    EXPECT_EQ(grid.RefBitmap().pixelColor(2, 1), QColor::fromRgb(QRgb(result.color(9))));
    EXPECT_EQ(grid.ColCount(), 3);
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_TRUE(grid.Modified()) << "closing an unsaved result must ask";
    EXPECT_EQ(grid.UndoStore().UndoCount(), 0) << "a new document starts with no undo step";
    // The repeat display size is the whole new picture, once.
    EXPECT_EQ(grid.RepeatInfo().UnitWidth, 3);
    EXPECT_EQ(grid.RepeatInfo().UnitHeight, 2);
    EXPECT_EQ(grid.RepeatInfo().HorzCount, 1);
    EXPECT_EQ(grid.RepeatInfo().VertCount, 1);
    // The record is the result's: its size, its colours most frequent first, one layer.
    const TMesh &record = doc.Record();
    EXPECT_EQ(record.Warps, 3);
    EXPECT_EQ(record.Wefts, 2);
    EXPECT_EQ(record.Picture, &grid.Picture());
    ASSERT_EQ(record.Colors.size(), 3u);
    EXPECT_EQ(record.Colors[0], 3);
    EXPECT_EQ(record.LayerCount, 1);
}

TEST_F(DialogDocumentFixture, SplitPartTakesThePieceLayoutAndTheSourceGap)
{
    ASSERT_TRUE(TakeSplitPart(doc, result, TSplitPieces { 12, 5, 3 }, 7));
    EXPECT_EQ(grid.Picture(), result);
    EXPECT_EQ(grid.Palette(), redPalette());
    EXPECT_EQ(grid.RepeatDisplayValues(), (std::array<std::int32_t, 4> { 12, 5, 3, 7 }));
    EXPECT_EQ(doc.Record().LayerCount, 3) << "the piece count is the layer count, as in File > New";
    EXPECT_EQ(doc.Record().Warps, 3);
    EXPECT_TRUE(grid.Modified());
}

// A result that cannot be a document is refused with a message and changes nothing.
TEST_F(DialogDocumentFixture, RefusedPicturesChangeNothing)
{
    QImage rgb(4, 4, QImage::Format_RGB32);
    rgb.fill(Qt::white);
    QImage fewColors = result;
    fewColors.setColorCount(16);
    QImage tooWide(65536, 1, QImage::Format_Indexed8);
    tooWide.setColorTable(result.colorTable());
    tooWide.fill(0);
    const struct {
        const char *what;
        QImage picture;
        TUiMessageKey message;
    } cases[] = {
        { "empty", QImage(), UiKey::String::PictureNoSize },
        { "not indexed", rgb, UiKey::String::ResultPictureNot8Bit },
        { "16 colours", fewColors, UiKey::String::ResultPictureNot8Bit },
        { "wider than a document", tooWide, UiKey::String::PictureNoSize },
    };
    const QImage before = MakePicture({ { 1, 2 } }, GreyPalette());
    for (const auto &c : cases) {
        grid.SetPalette(GreyPalette());
        grid.SetPicture(before);
        grid.ClearModified();
        doc.InitDocument();
        QString error;
        EXPECT_FALSE(TakeDialogPicture(doc, c.picture, &error)) << c.what;
        EXPECT_EQ(error, GetUiMessage(c.message)) << c.what;
        error.clear();
        EXPECT_FALSE(TakeSplitPart(doc, c.picture, TSplitPieces {}, 0, &error)) << c.what;
        EXPECT_EQ(error, GetUiMessage(c.message)) << c.what;
        EXPECT_EQ(grid.Picture(), before) << c.what;
        EXPECT_EQ(grid.Palette(), GreyPalette()) << c.what;
        EXPECT_FALSE(grid.Modified()) << c.what;
        EXPECT_EQ(doc.Record().Warps, 2) << c.what;
    }
}
