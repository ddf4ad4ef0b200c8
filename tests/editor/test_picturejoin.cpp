// Whole pictures joined in a row or a column, their previews, and the guide lines drawn over
// two pictures before they are linked.
#include "editor/picturejoin.h"

#include "testutil.h"

#include <gtest/gtest.h>

#include <QColor>

namespace {

using TRows = std::vector<std::vector<int>>;

QImage filled(int w, int h, const TPalette256 &palette, int value)
{
    QImage img = NewPicture(w, h, palette);
    img.fill(std::uint8_t(value));
    return img;
}

QColor colourAt(const QImage &img, int x, int y)
{
    return QColor(img.color(img.pixelIndex(x, y)));
}

} // namespace

// A 10 x 20 and a 5 x 30 picture: side by side 15 x 30 with the first picture's bottom 10
// rows black; one under another 10 x 50 with the second's right 5 columns black. Two
// palettes keep every colour exactly; one palette holding black keeps its indexes.
TEST(DirectMerge, JoinsInListOrderPaddingWithBlack)
{
    TPalette256 reds {}, blues {};
    reds[3] = { 250, 1, 2, 0 };
    blues[3] = { 3, 4, 251, 0 };
    blues[7] = { 255, 255, 255, 0 };
    const QImage first = filled(10, 20, reds, 3), second = filled(5, 30, blues, 3);
    struct Case {
        bool horizontal;
        QSize size;
        QPoint secondAt, paddedCell;
    };
    for (const Case c : { Case { true, QSize(15, 30), QPoint(10, 0), QPoint(0, 25) },
             Case { false, QSize(10, 50), QPoint(0, 20), QPoint(7, 40) } }) {
        QImage merged;
        QString error;
        ASSERT_TRUE(DirectMergePictures({ first, second }, c.horizontal, merged, &error))
            << error.toStdString();
        ASSERT_EQ(merged.size(), c.size);
        EXPECT_EQ(colourAt(merged, 0, 0), QColor(250, 1, 2));
        EXPECT_EQ(colourAt(merged, 9, 19), QColor(250, 1, 2));
        EXPECT_EQ(colourAt(merged, c.secondAt.x(), c.secondAt.y()), QColor(3, 4, 251));
        EXPECT_EQ(colourAt(merged, c.secondAt.x() + 4, c.secondAt.y() + 29), QColor(3, 4, 251));
        EXPECT_EQ(colourAt(merged, c.paddedCell.x(), c.paddedCell.y()), QColor(0, 0, 0));
    }

    // One palette with black at 0: indexes and palette stay.
    const QImage grey1 = filled(2, 1, GreyPalette(), 9), grey2 = filled(1, 2, GreyPalette(), 200);
    QImage merged;
    ASSERT_TRUE(DirectMergePictures({ grey1, grey2 }, true, merged));
    EXPECT_EQ(merged.colorTable(), grey1.colorTable());
    EXPECT_EQ(PictureRows(merged), (TRows { { 9, 9, 200 }, { 0, 0, 200 } }));

    // One palette without black: kept as it is when nothing is padded; black is made for
    // the padding otherwise, every other colour staying exact.
    TPalette256 noBlack {};
    for (int i = 0; i < 256; ++i)
        noBlack[std::size_t(i)] = { std::uint8_t(255 - i / 2), 100, 50, 0 };
    const QImage row1 = filled(2, 1, noBlack, 5), row2 = filled(3, 1, noBlack, 6);
    ASSERT_TRUE(DirectMergePictures({ row1, row2 }, true, merged));
    EXPECT_EQ(merged.colorTable(), row1.colorTable());
    EXPECT_EQ(PictureRows(merged), (TRows { { 5, 5, 6, 6, 6 } }));
    ASSERT_TRUE(DirectMergePictures({ row1, row2 }, false, merged));
    EXPECT_EQ(colourAt(merged, 1, 0), QColor(253, 100, 50));
    EXPECT_EQ(colourAt(merged, 2, 0), QColor(0, 0, 0));
    EXPECT_EQ(colourAt(merged, 2, 1), QColor(252, 100, 50));
}

// Joins large enough to go to several threads: every cell where it belongs, in both
// directions, the colours of two palettes kept and the padding black.
TEST(DirectMerge, LargeJoinsPlaceEveryCell)
{
    TPalette256 warm = GreyPalette(), cold = GreyPalette();
    for (int i = 0; i < 256; ++i)
        cold[std::size_t(i)] = { std::uint8_t(i), std::uint8_t(255 - i), 77, 0 };
    const auto picture = [](int w, int h, const TPalette256 &palette, int salt) {
        QImage img = NewPicture(w, h, palette);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                img.scanLine(y)[x] = std::uint8_t((x * 3 + y * 5 + salt) % 40);
        return img;
    };
    const QImage a = picture(1500, 900, warm, 0), b = picture(1300, 1000, cold, 7);
    for (const bool horizontal : { true, false }) {
        SCOPED_TRACE(horizontal ? "left to right" : "top to bottom");
        QImage merged;
        ASSERT_TRUE(DirectMergePictures({ a, b }, horizontal, merged));
        const QPoint bAt = horizontal ? QPoint(1500, 0) : QPoint(0, 900);
        int wrong = 0;
        for (int y = 0; y < merged.height(); ++y)
            for (int x = 0; x < merged.width(); ++x) {
                const QPoint inB = QPoint(x, y) - bAt;
                const bool fromA = x < a.width() && y < a.height() && (horizontal ? x < 1500 : y < 900);
                const bool fromB
                    = inB.x() >= 0 && inB.y() >= 0 && inB.x() < b.width() && inB.y() < b.height();
                const QRgb want = fromA ? a.pixel(x, y) : fromB ? b.pixel(inB) : qRgb(0, 0, 0);
                wrong += merged.pixel(x, y) != want;
            }
        EXPECT_EQ(wrong, 0);
    }
}

TEST(DirectMerge, RefusesBeforeBuilding)
{
    const QImage one = filled(2, 2, GreyPalette(), 1);
    QImage merged = one;
    QString error;
    EXPECT_FALSE(DirectMergePictures({ one }, true, merged, &error));
    EXPECT_FALSE(error.isEmpty());
    error.clear();
    const QImage wide = filled(40000, 1, GreyPalette(), 1);
    EXPECT_FALSE(DirectMergePictures({ wide, wide }, true, merged, &error));
    EXPECT_TRUE(error.contains("80000")) << error.toStdString();
    EXPECT_TRUE(DirectMergePictures({ wide, wide }, false, merged, &error));
    EXPECT_EQ(merged.size(), QSize(40000, 2));
    merged = one;
    EXPECT_FALSE(
        DirectMergePictures({ one, one.convertToFormat(QImage::Format_RGB32) }, true, merged, &error));
    EXPECT_EQ(merged, one);
}

TEST(DirectMerge, PreviewSizeFitsTheBox)
{
    struct Case {
        QSize picture, shown;
    };
    for (const Case c : { Case { QSize(262, 161), QSize(131, 80) }, Case { QSize(131, 161), QSize(131, 161) },
             Case { QSize(10, 20), QSize(80, 161) }, Case { QSize(2000, 10000), QSize(32, 161) },
             Case { QSize(65535, 1), QSize(131, 1) } }) {
        EXPECT_EQ(PicturePreviewSize(c.picture), c.shown) << c.picture.width() << " x " << c.picture.height();
        EXPECT_EQ(PicturePreviewImage(filled(c.picture.width(), c.picture.height(), GreyPalette(), 5)).size(),
            c.shown);
    }
    EXPECT_TRUE(PicturePreviewImage(QImage()).isNull());
}

// The guide lines over a top picture (0, 0) - (100, 50) and a bottom one (0, 50) - (80, 110).
TEST(GuideLines, LinesAreTakenTwoPointsAtATimeOnePerPicture)
{
    TGuideLines lines;
    EXPECT_FALSE(lines.Press({ 5, 5 })) << "nothing to draw on before both pictures are there";
    lines.SetPictures(TRect { 0, 0, 100, 50 }, TRect { 0, 50, 80, 110 });
    EXPECT_FALSE(lines.Press({ 90, 80 })) << "outside both pictures";
    EXPECT_EQ(lines.Accept(), TGuideLines::TAccept::NoLine);

    // A line across both pictures is refused and stays to be mended.
    ASSERT_TRUE(lines.Press({ 10, 40 }));
    lines.Move({ 60, 60 });
    lines.Release();
    EXPECT_EQ(lines.Accept(), TGuideLines::TAccept::AcrossPictures);
    EXPECT_TRUE(lines.Points().empty());
    // Its end is grabbed and moved back into the top picture.
    ASSERT_TRUE(lines.Press({ 60, 60 }));
    lines.Move({ 60, 45 });
    lines.Release();
    EXPECT_EQ(lines.LinePoints(), (std::vector<TPoint> { { 10, 40 }, { 60, 45 } }));
    EXPECT_EQ(lines.Accept(), TGuideLines::TAccept::Accepted);
    EXPECT_EQ(lines.Points().size(), 2u);
    EXPECT_FALSE(lines.CanMerge());

    // A second line on the same picture leaves nothing to align.
    ASSERT_TRUE(lines.Press({ 20, 10 }));
    lines.Move({ 70, 12 });
    EXPECT_EQ(lines.Accept(), TGuideLines::TAccept::SamePicture);
    lines.DropLine();
    EXPECT_FALSE(lines.Drawing());

    ASSERT_TRUE(lines.Press({ 15, 55 }));
    lines.Move({ 65, 58 });
    lines.Release();
    EXPECT_EQ(lines.Accept(), TGuideLines::TAccept::Accepted);
    EXPECT_TRUE(lines.CanMerge());
    EXPECT_FALSE(lines.Press({ 30, 30 })) << "two lines are all there is";
    EXPECT_EQ(lines.PicturePoints(), (std::vector<TPoint> { { 10, 40 }, { 60, 45 }, { 15, 5 }, { 65, 8 } }));

    // Drawn again: the last line comes back to be edited; then the first.
    EXPECT_TRUE(lines.ReDefine());
    EXPECT_FALSE(lines.CanMerge());
    EXPECT_EQ(lines.LinePoints(), (std::vector<TPoint> { { 15, 55 }, { 65, 58 } }));
    EXPECT_FALSE(lines.CanReDefine()) << "not while a line is being drawn";
    lines.DropLine();
    EXPECT_TRUE(lines.ReDefine());
    EXPECT_TRUE(lines.Points().empty());
    lines.DropLine();
    EXPECT_FALSE(lines.ReDefine());

    // Lines drawn bottom first still give A's line first.
    lines.SetPictures(TRect { 0, 0, 100, 50 }, TRect { 0, 50, 80, 110 });
    for (const auto &[from, to] :
        { std::pair(TPoint { 1, 70 }, TPoint { 50, 71 }), std::pair(TPoint { 2, 20 }, TPoint { 40, 21 }) }) {
        ASSERT_TRUE(lines.Press(from));
        lines.Move(to);
        lines.Release();
        ASSERT_EQ(lines.Accept(), TGuideLines::TAccept::Accepted);
    }
    EXPECT_EQ(lines.PicturePoints(), (std::vector<TPoint> { { 2, 20 }, { 40, 21 }, { 1, 20 }, { 50, 21 } }));
}
