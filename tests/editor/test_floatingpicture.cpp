// The floating picture, headless: angles, frame and handles, hit testing and dragging,
// rendering, stamping, transparent and kept colours, its clipboard block, flips and turns.
#include "editor/floatingpicture.h"

#include "core/picture/bmpfile.h"
#include "core/picture/clipboardpicture.h"
#include "core/picture/imageproc.h"
#include "core/settings/sharedstate.h"
#include "testutil.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>

namespace {

constexpr double Pi = std::numbers::pi;

// A w x h picture on the grey palette whose cell (x, y) has index (x + 3y) mod 200 + 1.
QImage Numbered(int w, int h)
{
    QImage img = NewPicture(w, h, GreyPalette());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.scanLine(y)[x] = uchar((x + 3 * y) % 200 + 1);
    return img;
}

// A picture of one index.
QImage Plain(int w, int h, int index, const TPalette256 &palette = GreyPalette())
{
    QImage img = NewPicture(w, h, palette);
    img.fill(uint(index));
    return img;
}

// A piece taken from a 10 x 6 picture at (0, 0).
struct Piece {
    TBmp bmp;
    std::vector<int> handles;
    explicit Piece(const QImage &picture = Numbered(10, 6))
    {
        EXPECT_TRUE(bmp.Assign(picture));
        bmp.SetAngle(0);
        bmp.SetOnHandleChange([this](TBmp &, int i) { handles.push_back(i); });
    }
};

} // namespace

TEST(FloatingPicture, SetAngleAddsOrTakesOneTurnOnce)
{
    const struct {
        double in, stored;
    } cases[] = { { -0.1, 2 * Pi - 0.1 }, { 2 * Pi, 0.0 }, { 7.0, 7.0 - 2 * Pi }, { 13.0, 13.0 - 2 * Pi },
        { 1.0, 1.0 } };
    for (const auto &c : cases) {
        TBmp bmp;
        bmp.SetAngle(c.in);
        EXPECT_DOUBLE_EQ(bmp.Angle(), c.stored) << c.in;
    }
}

TEST(FloatingPicture, AssignSetsFrameCentreAndHandles)
{
    Piece p;
    EXPECT_EQ(p.bmp.SelRect(), (TRect { 0, 0, 9, 5 }));
    EXPECT_EQ(p.bmp.Bounds(), (TRect { 0, 0, 9, 5 }));
    EXPECT_EQ(p.bmp.Centre(), (TPoint { 4, 2 }));
    EXPECT_EQ(p.bmp.Position(), (TPoint { 0, 0 }));
    const std::array<TPoint, 9> handles
        = { { { 0, 0 }, { 4, 0 }, { 9, 0 }, { 9, 2 }, { 9, 5 }, { 4, 5 }, { 0, 5 }, { 0, 2 }, { 29, 2 } } };
    EXPECT_EQ(p.bmp.HandlePoints(), handles);
    EXPECT_EQ(p.bmp.FramePoints(), handles);

    // An empty picture changes nothing and says so.
    QString error;
    EXPECT_FALSE(p.bmp.Assign(QImage(), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(p.bmp.Companion().size(), QSize(10, 6));
    EXPECT_EQ(p.bmp.SelRect(), (TRect { 0, 0, 9, 5 }));
}

TEST(FloatingPicture, FramePointsTruncateAfterAddingAHalf)
{
    Piece p;
    p.bmp.SetAngle(Pi / 2);
    // (dx, dy) = handle - (4, 2) turned a quarter clockwise on screen; -1.5 truncates to -1.
    const std::array<TPoint, 9> expected = { { { 6, -1 }, { 6, 2 }, { 6, 7 }, { 4, 7 }, { 1, 7 }, { 1, 2 },
        { 1, -1 }, { 4, -1 }, { 4, 27 } } };
    EXPECT_EQ(p.bmp.FramePoints(), expected);
}

TEST(FloatingPicture, HitTestTable)
{
    const struct {
        const char *name;
        double angle;
        TPoint at;
        bool hit;
        int event; // what OnHandleChange is told
        int handle;
    } cases[] = {
        { "two handles in reach: the lower wins", 0, { 9, 1 }, true, 2, 2 },
        { "exactly 2.0 away is out of reach", 0, { 2, 0 }, false, -1, -1 },
        { "just inside reach", 0, { 1, 1 }, true, 0, 0 },
        { "rotation handle", 0, { 28, 2 }, true, 8, 8 },
        { "at pi/4 the hint is two handles on", Pi / 4, {}, true, 2, 0 },
        { "at 3pi/4 as well", 3 * Pi / 4, {}, true, 2, 0 },
        { "below pi/4 the handle itself", Pi / 4 - 0.01, {}, true, 0, 0 },
        { "beyond 3pi/4 the handle itself", 3 * Pi / 4 + 0.01, {}, true, 0, 0 },
    };
    for (const auto &c : cases) {
        Piece p;
        p.bmp.SetAngle(c.angle);
        const TPoint at = c.angle == 0 ? c.at : p.bmp.FramePoints()[0];
        EXPECT_EQ(p.bmp.HitTestHandle(at, true), c.hit) << c.name;
        ASSERT_EQ(p.handles.size(), 1u) << c.name;
        EXPECT_EQ(p.handles[0], c.event) << c.name;
        EXPECT_EQ(p.bmp.HandleIndex(), c.handle) << c.name;
        const TFloatDragMode mode = !c.hit
            ? TFloatDragMode::None
            : (c.handle == 8 ? TFloatDragMode::Rotate : TFloatDragMode::Resize);
        EXPECT_EQ(p.bmp.DragMode(), mode) << c.name;
    }
}

TEST(FloatingPicture, ResizeDragRepeatsTheHandleAndAnswersFalse)
{
    Piece p;
    ASSERT_TRUE(p.bmp.HitTestHandle({ 9, 5 }, true));
    EXPECT_FALSE(p.bmp.HitTestHandle({ 0, 0 }, true));
    EXPECT_EQ(p.handles, (std::vector<int> { 4, 4 }));
}

TEST(FloatingPicture, CornerDragKeepsTheOppositeCornerAndARectangle)
{
    Piece p;
    ASSERT_EQ(p.bmp.SelectAt({ 9, 5 }), &p.bmp);
    ASSERT_EQ(p.bmp.DragMode(), TFloatDragMode::Resize);
    p.bmp.SetShowFrame(false);
    p.bmp.DragHandleTo(6, 4, { 15, 9 });
    EXPECT_EQ(p.bmp.FramePoints()[0], (TPoint { 0, 0 }));
    EXPECT_EQ(p.bmp.FramePoints()[2], (TPoint { 15, 0 }));
    EXPECT_EQ(p.bmp.FramePoints()[6], (TPoint { 0, 9 }));
    p.bmp.SetShowFrame(true);
    EXPECT_EQ(p.bmp.DragMode(), TFloatDragMode::None);
    EXPECT_EQ(p.bmp.SelRect(), (TRect { 0, 0, 15, 9 }));
    EXPECT_EQ(p.bmp.Image().size(), QSize(16, 10));
}

TEST(FloatingPicture, EdgeDragChangesOnlyTheWidth)
{
    Piece p;
    ASSERT_EQ(p.bmp.SelectAt({ 9, 2 }), &p.bmp);
    p.bmp.SetShowFrame(false);
    p.bmp.DragHandleTo(5, 1, { 14, 3 });
    p.bmp.SetShowFrame(true);
    EXPECT_EQ(p.bmp.SelRect(), (TRect { 0, 0, 14, 5 }));
    EXPECT_EQ(p.bmp.Image().size(), QSize(15, 6));
}

TEST(FloatingPicture, MoveReleaseKeepsTheRenderedPicture)
{
    Piece p(Numbered(40, 30));
    ASSERT_TRUE(p.bmp.TurnBy(Pi / 6));
    const QImage before = p.bmp.Image();
    const TRect bounds = p.bmp.Bounds();
    ASSERT_EQ(p.bmp.SelectAt({ 20, 15 }), &p.bmp);
    ASSERT_EQ(p.bmp.DragMode(), TFloatDragMode::Move);
    p.bmp.DragHandleTo(3, 4, { 23, 19 });
    EXPECT_FALSE(p.bmp.ShowFrame());
    p.bmp.SetShowFrame(true);
    EXPECT_EQ(p.bmp.Image().constBits(), before.constBits());
    EXPECT_EQ(p.bmp.Position(), (TPoint { bounds.Left + 3, bounds.Top + 4 }));
    EXPECT_EQ(p.bmp.Centre(), (TPoint { 22, 18 }));
}

TEST(FloatingPicture, SelectOutsideDeactivates)
{
    Piece p;
    int activated = 0, deactivated = 0;
    p.bmp.SetOnActivate([&](TBmp &) { ++activated; });
    p.bmp.SetOnDeactivate([&](TBmp &) { ++deactivated; });
    EXPECT_EQ(p.bmp.SelectAt({ 50, 50 }), nullptr);
    EXPECT_FALSE(p.bmp.Active());
    EXPECT_EQ(p.bmp.SelectAt({ 5, 3 }), &p.bmp);
    EXPECT_TRUE(p.bmp.Active());
    EXPECT_EQ(activated, 1);
    EXPECT_EQ(deactivated, 1);
}

// The one-pass turn gives exactly the cells of the picture procedure's turn.
TEST(FloatingPicture, RenderedTurnMatchesThePictureTurn)
{
    const QImage picture = Numbered(23, 11);
    for (double angle : { 0.3, Pi / 6, 1.0, 2.0, Pi / 2, Pi, 4.0, 5.5 }) {
        QImage expected, image, mask;
        ASSERT_TRUE(RotatePictureByAngle(expected, picture, 0, angle));
        ASSERT_TRUE(RenderFloatingPicture(picture, QImage(), 23, 11, angle, 0, 1.0, 1.0, image, mask));
        EXPECT_EQ(PictureRows(image), PictureRows(expected)) << angle;
        // The mask leaves out exactly the uncovered corners.
        QImage ones = NewOpaqueMask(23, 11), turnedOnes;
        ASSERT_TRUE(RotatePictureByAngle(turnedOnes, ones, 0, angle));
        if (mask.isNull())
            EXPECT_EQ(PictureRows(turnedOnes), PictureRows(NewOpaqueMask(image.width(), image.height())));
        else
            EXPECT_EQ(PictureRows(mask), PictureRows(turnedOnes)) << angle;
    }
    // A large piece is turned in bands on several threads, with the same cells.
    const QImage large = Numbered(1500, 3000);
    for (double angle : { 0.3, 2.0 }) {
        QImage expected, image, mask;
        ASSERT_TRUE(RotatePictureByAngle(expected, large, 0, angle));
        ASSERT_TRUE(RenderFloatingPicture(large, QImage(), 1500, 3000, angle, 0, 1.0, 1.0, image, mask));
        ASSERT_EQ(image.size(), expected.size());
        for (int y = 0; y < image.height(); ++y)
            ASSERT_EQ(
                std::memcmp(image.constScanLine(y), expected.constScanLine(y), std::size_t(image.width())), 0)
                << angle << " row " << y;
    }
}

TEST(FloatingPicture, TransparentFromUsageAndTheKeyStays)
{
    Piece p(MakePicture({ { 1, 2, 5 }, { 5, 2, 1 } }, GreyPalette()));
    p.bmp.UpdateColorKey();
    const int key = p.bmp.KeyIndex();
    ASSERT_EQ(key, 0); // the first entry no cell uses
    p.bmp.IncludeKeptColor(2);
    p.bmp.UpdateTransparentFromUsage();
    TColorSet expected;
    expected.set(1);
    expected.set(5);
    EXPECT_EQ(p.bmp.TransparentColors(), expected);

    p.bmp.AddTransparentColor(std::uint8_t(key));
    p.bmp.RemoveTransparentColor(std::uint8_t(key));
    EXPECT_TRUE(p.bmp.TransparentColors()[std::size_t(key)]);
    p.bmp.RemoveTransparentColor(5);
    EXPECT_FALSE(p.bmp.TransparentColors()[5]);
    // Rendered anew: the cells of 5 show 5 again.
    EXPECT_EQ(PictureRows(p.bmp.Image()), (std::vector<std::vector<int>> { { key, 2, 5 }, { 5, 2, key } }));
}

// A piece cut as an ellipse stamps its own cells only, whether or not a palette entry is
// free for the key.
TEST(FloatingPicture, EllipsePieceStampsOnlyItsCells)
{
    const struct {
        const char *name;
        QImage picture;
    } cases[] = { { "a free entry", Numbered(16, 16) }, { "all 256 indexes in use", [] {
                                                             QImage all = NewPicture(16, 16, GreyPalette());
                                                             for (int i = 0; i < 256; ++i)
                                                                 all.scanLine(i / 16)[i % 16] = uchar(i);
                                                             return all;
                                                         }() } };
    for (const auto &c : cases) {
        TBmp bmp;
        ASSERT_TRUE(bmp.Assign(c.picture));
        // The ellipse with its top cells, so that its box is the piece's 16 x 16.
        const QRegion ellipse = QRegion(QRect(5, 7, 16, 16), QRegion::Ellipse).united(QRect(12, 7, 2, 1));
        ASSERT_EQ(ellipse.boundingRect(), QRect(5, 7, 16, 16));
        ASSERT_TRUE(bmp.UpdateRegion(ellipse)) << c.name;
        bmp.UpdateFrame({ 2, 3 });
        QImage pattern = Plain(24, 24, 250);
        bmp.SetPictureCanvas(&pattern);
        ASSERT_TRUE(bmp.StampOntoPicture()) << c.name;
        const QRegion placed = ellipse.translated(2 - 5, 3 - 7);
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 24; ++x) {
                const bool in = placed.contains(QPoint(x, y));
                const int expected = in ? c.picture.pixelIndex(x - 2, y - 3) : 250;
                ASSERT_EQ(pattern.pixelIndex(x, y), expected) << c.name << " at " << x << "," << y;
            }
    }
}

TEST(FloatingPicture, StampKeepsIndexesOfDuplicateColours)
{
    TPalette256 pal = GreyPalette();
    pal[9] = pal[5];
    const QImage piece = MakePicture({ { 9, 5 }, { 5, 9 } }, pal);
    Piece p(piece);
    QImage pattern = Plain(4, 4, 1, pal);
    p.bmp.SetPictureCanvas(&pattern);
    p.bmp.UpdateFrame({ 1, 1 });
    ASSERT_TRUE(p.bmp.StampOntoPicture());
    EXPECT_EQ(PictureRows(pattern),
        (std::vector<std::vector<int>> { { 1, 1, 1, 1 }, { 1, 9, 5, 1 }, { 1, 5, 9, 1 }, { 1, 1, 1, 1 } }));

    // Into another palette each cell takes the nearest colour there.
    TPalette256 other = GreyPalette();
    other[5] = { 200, 0, 0, 0 };
    QImage elsewhere = Plain(4, 4, 1, other);
    p.bmp.SetPictureCanvas(&elsewhere);
    ASSERT_TRUE(p.bmp.StampOntoPicture());
    EXPECT_EQ(elsewhere.pixelIndex(1, 1), 4);
}

TEST(FloatingPicture, StampAfterReducedScalesLandsOneToOne)
{
    const struct {
        double horz, vert;
        QSize shown;
    } cases[] = { { 0.5, 1.0, { 4, 6 } }, { 1.0, 0.5, { 8, 3 } }, { 0.5, 0.5, { 4, 3 } } };
    for (const auto &c : cases) {
        Piece p(Numbered(8, 6));
        // Either scale renders the shown picture anew.
        ASSERT_TRUE(p.bmp.SetHorzScale(c.horz));
        ASSERT_TRUE(p.bmp.SetVertScale(c.vert));
        EXPECT_EQ(p.bmp.Image().size(), c.shown) << c.horz << " " << c.vert;
        const QImage shown = p.bmp.Image();
        QImage pattern = Plain(10, 8, 250);
        p.bmp.SetPictureCanvas(&pattern);
        ASSERT_TRUE(p.bmp.StampOntoPicture());
        EXPECT_EQ(PictureRows(pattern.copy(0, 0, 8, 6)), PictureRows(Numbered(8, 6)))
            << c.horz << " " << c.vert;
        EXPECT_EQ(pattern.pixelIndex(8, 0), 250);
        EXPECT_EQ(pattern.pixelIndex(0, 6), 250);
        EXPECT_EQ(PictureRows(p.bmp.Image()), PictureRows(shown));
        EXPECT_EQ(p.bmp.HorzScale(), c.horz);
        EXPECT_EQ(p.bmp.VertScale(), c.vert);
    }
}

TEST(FloatingPicture, DrawingCostsTheViewAndSkipsTransparentCells)
{
    Piece p(MakePicture({ { 3, 4, 5 }, { 6, 7, 8 } }, GreyPalette()));
    p.bmp.UpdateFrame({ 2, 3 });
    p.bmp.AddTransparentColor(4);
    p.bmp.SetActive(false);
    QImage view(6, 5, QImage::Format_RGB32);
    view.fill(qRgb(255, 0, 0));
    p.bmp.SetFrameCanvas(&view);
    p.bmp.SetViewMapping(-1, 0);
    p.bmp.DrawWithFrame();
    EXPECT_EQ(p.bmp.ViewportOrigin(), (TPoint { 0, 0 }));
    EXPECT_EQ(view.pixel(1, 3), qRgb(3, 3, 3));
    EXPECT_EQ(view.pixel(2, 3), qRgb(255, 0, 0));
    EXPECT_EQ(view.pixel(3, 4), qRgb(8, 8, 8));
    EXPECT_EQ(view.pixel(0, 3), qRgb(255, 0, 0));
    EXPECT_EQ(view.pixel(4, 4), qRgb(255, 0, 0));

    // Far off the view nothing is drawn and nothing is read outside the piece.
    p.bmp.UpdateFrame({ -100000, 100000 });
    p.bmp.DrawWithFrame();
    EXPECT_EQ(view.pixel(1, 3), qRgb(3, 3, 3));

    // Active with its frame shown: the handles are black squares of 3 x 3 around each.
    QImage framed(12, 12, QImage::Format_RGB32);
    framed.fill(qRgb(255, 0, 0));
    p.bmp.UpdateFrame({ 3, 4 });
    p.bmp.SetActive(true);
    p.bmp.SetFrameCanvas(&framed);
    p.bmp.DrawWithFrame();
    EXPECT_EQ(framed.pixel(2, 3), qRgb(0, 0, 0)); // round handle 0 at (3, 4)
    EXPECT_EQ(framed.pixel(6, 6), qRgb(0, 0, 0)); // round handle 4 at (5, 5)
}

TEST(FloatingPicture, PictureFromTheClipboardOrAFile)
{
    const QImage picture = Numbered(5, 3);
    auto *data = new QMimeData;
    data->setData(ClipboardMimeType(CF_256Bitmap), EncodeBmp8(picture));
    QGuiApplication::clipboard()->setMimeData(data);
    TBmp bmp;
    QString error;
    ASSERT_TRUE(bmp.ResetBounds(&error)) << error.toStdString();
    EXPECT_EQ(PictureRows(bmp.Companion()), PictureRows(picture));
    EXPECT_EQ(bmp.Bounds(), (TRect { 0, 0, 4, 2 }));
    EXPECT_EQ(bmp.Image().size(), QSize(5, 3));
    EXPECT_EQ(bmp.KeyIndex(), 0);

    // A damaged clipboard picture changes nothing and says so.
    auto *bad = new QMimeData;
    bad->setData(ClipboardMimeType(CF_256Bitmap), EncodeBmp8(Numbered(7, 7)).left(100));
    QGuiApplication::clipboard()->setMimeData(bad);
    error.clear();
    EXPECT_FALSE(bmp.ResetBounds(&error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(PictureRows(bmp.Companion()), PictureRows(picture));

    QTemporaryDir dir;
    const QString name = dir.filePath("piece.bmp");
    ASSERT_TRUE(SaveBmp8File(Numbered(4, 2), name));
    ASSERT_TRUE(bmp.LoadFromFile(name, &error)) << error.toStdString();
    EXPECT_EQ(PictureRows(bmp.Companion()), PictureRows(Numbered(4, 2)));
    EXPECT_FALSE(bmp.LoadFromFile(dir.filePath("missing.bmp"), &error));
    EXPECT_EQ(bmp.Companion().size(), QSize(4, 2));
}

TEST(FloatingPicture, BlockCarriesKeptColoursAndRoundTrips)
{
    Piece p(MakePicture({ { 3, 7, 9 }, { 7, 3, 9 } }, GreyPalette()));
    p.bmp.UpdateColorKey();
    p.bmp.SetColorFilter(true);
    p.bmp.IncludeKeptColor(7);
    p.bmp.IncludeKeptColor(3);
    p.bmp.TurnBy(0.25);
    QByteArray block, shape;
    p.bmp.WriteBlock(block, shape);
    EXPECT_TRUE(shape.isEmpty());
    EXPECT_EQ(block.right(19), Hex("01 02 00 00 00 03 07 02 00 00 00 03 03 03 02 07 07 07 02"));
    EXPECT_EQ(p.bmp.KeptColorValues().size(), 2);

    TBmp copy;
    ASSERT_TRUE(copy.ReadBlock(block, nullptr));
    ASSERT_TRUE(copy.RebuildAll());
    EXPECT_DOUBLE_EQ(copy.Angle(), p.bmp.Angle());
    EXPECT_EQ(copy.SelRect(), p.bmp.SelRect());
    EXPECT_EQ(copy.Bounds(), p.bmp.Bounds());
    EXPECT_EQ(copy.KeyIndex(), p.bmp.KeyIndex());
    EXPECT_EQ(copy.KeptColors(), p.bmp.KeptColors());
    EXPECT_EQ(PictureRows(copy.Image()), PictureRows(p.bmp.Image()));
    QByteArray again, againShape;
    copy.WriteBlock(again, againShape);
    EXPECT_EQ(again, block);

    // A damaged block changes nothing.
    QString error;
    EXPECT_FALSE(copy.ReadBlock(block.left(block.size() - 3), nullptr, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(copy.KeptColors(), p.bmp.KeptColors());
}

TEST(FloatingPicture, ShapeTravelsThroughTheClipboard)
{
    TBmp bmp;
    QImage all = NewPicture(16, 16, GreyPalette());
    for (int i = 0; i < 256; ++i)
        all.scanLine(i / 16)[i % 16] = uchar(i);
    ASSERT_TRUE(bmp.Assign(all));
    ASSERT_TRUE(bmp.UpdateRegion(QRegion(QRect(0, 0, 16, 16), QRegion::Ellipse)));
    ASSERT_EQ(bmp.KeyIndex(), -1);
    ASSERT_TRUE(bmp.CopyToClipboard());
    TBmp pasted;
    QString error;
    ASSERT_TRUE(pasted.PasteFromClipboard(&error)) << error.toStdString();
    ASSERT_TRUE(pasted.RebuildAll());
    EXPECT_EQ(PictureRows(pasted.CompanionMask()), PictureRows(bmp.CompanionMask()));
    // The corner cell (index 0) lies outside the ellipse and stays untouched.
    QImage pattern = Plain(16, 16, 250);
    pasted.SetPictureCanvas(&pattern);
    ASSERT_TRUE(pasted.StampOntoPicture());
    EXPECT_EQ(pattern.pixelIndex(0, 0), 250);
    EXPECT_EQ(pattern.pixelIndex(8, 8), 8 * 16 + 8);

    QGuiApplication::clipboard()->setMimeData(new QMimeData);
    EXPECT_FALSE(pasted.PasteFromClipboard(&error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(pasted.ResetBounds(&error));
    EXPECT_EQ(pasted.Companion().size(), QSize(16, 16));
}

// A block that comes without its shape entry takes its shape from the key colour, which
// the cells outside the selection carry.
TEST(FloatingPicture, BlockWithoutShapeTakesItFromTheKey)
{
    TBmp bmp;
    ASSERT_TRUE(bmp.Assign(Numbered(9, 7)));
    ASSERT_TRUE(bmp.UpdateRegion(QRegion(QRect(0, 0, 9, 7), QRegion::Ellipse)));
    ASSERT_GE(bmp.KeyIndex(), 0);
    ASSERT_FALSE(bmp.CompanionMask().isNull());
    QByteArray block, shape;
    bmp.WriteBlock(block, shape);
    ASSERT_FALSE(shape.isEmpty());
    TBmp pasted;
    ASSERT_TRUE(pasted.ReadBlock(block, nullptr));
    ASSERT_TRUE(pasted.RebuildAll());
    EXPECT_EQ(pasted.KeyIndex(), bmp.KeyIndex());
    EXPECT_EQ(PictureRows(pasted.CompanionMask()), PictureRows(bmp.CompanionMask()));

    // A shape entry of another size is refused and changes nothing.
    const QByteArray wrong = EncodeFloatingShape(NewOpaqueMask(4, 4));
    QString error;
    EXPECT_FALSE(pasted.ReadBlock(block, &wrong, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(PictureRows(pasted.CompanionMask()), PictureRows(bmp.CompanionMask()));
}

TEST(FloatingPicture, FilteredBlockInAnotherPaletteKeepsTheNearestColours)
{
    TPalette256 source = GreyPalette();
    source[3] = { 200, 10, 10, 0 };
    source[7] = { 10, 200, 10, 0 };
    Piece p(MakePicture({ { 3, 7 }, { 7, 3 } }, source));
    p.bmp.UpdateColorKey();
    p.bmp.SetColorFilter(true);
    p.bmp.IncludeKeptColor(3);
    QByteArray block, shape;
    p.bmp.WriteBlock(block, shape);

    TPalette256 target = GreyPalette();
    target[40] = { 198, 12, 9, 0 }; // nearest to the kept red
    target[41] = { 12, 198, 9, 0 };
    TBmp pasted;
    ASSERT_TRUE(pasted.ReadBlock(block, nullptr));
    ASSERT_TRUE(pasted.RebuildAll());
    ASSERT_TRUE(pasted.MapToPalette(target));
    TColorSet kept;
    kept.set(40);
    EXPECT_EQ(pasted.KeptColors(), kept);
    QImage pattern = Plain(2, 2, 250, target);
    pasted.SetPictureCanvas(&pattern);
    ASSERT_TRUE(pasted.StampOntoPicture());
    EXPECT_EQ(PictureRows(pattern), (std::vector<std::vector<int>> { { 40, 250 }, { 250, 40 } }));
}

TEST(FloatingPicture, FlipsAndTurnsOfThePiece)
{
    Piece p(MakePicture({ { 1, 2, 3 }, { 4, 5, 6 } }, GreyPalette()));
    ASSERT_TRUE(p.bmp.FlipHorizontal());
    EXPECT_EQ(PictureRows(p.bmp.Image()), (std::vector<std::vector<int>> { { 3, 2, 1 }, { 6, 5, 4 } }));
    ASSERT_TRUE(p.bmp.FlipVertical());
    EXPECT_EQ(PictureRows(p.bmp.Companion()), (std::vector<std::vector<int>> { { 6, 5, 4 }, { 3, 2, 1 } }));
    ASSERT_TRUE(p.bmp.FlipHorizontal());
    ASSERT_TRUE(p.bmp.FlipVertical());

    // A quarter turn clockwise on screen; the grid's 90 and 270 commands pass -pi/2 and pi/2.
    ASSERT_TRUE(p.bmp.TurnBy(Pi / 2));
    EXPECT_DOUBLE_EQ(p.bmp.Angle(), Pi / 2);
    EXPECT_EQ(PictureRows(p.bmp.Image()), (std::vector<std::vector<int>> { { 4, 1 }, { 5, 2 }, { 6, 3 } }));
    ASSERT_TRUE(p.bmp.TurnBy(-Pi));
    EXPECT_DOUBLE_EQ(p.bmp.Angle(), 3 * Pi / 2);
    EXPECT_EQ(PictureRows(p.bmp.Image()), (std::vector<std::vector<int>> { { 3, 6 }, { 2, 5 }, { 1, 4 } }));
    ASSERT_TRUE(p.bmp.TurnBy(Pi / 2));
    EXPECT_NEAR(std::remainder(p.bmp.Angle(), 2 * Pi), 0, 1e-12);
    EXPECT_EQ(PictureRows(p.bmp.Image()), (std::vector<std::vector<int>> { { 1, 2, 3 }, { 4, 5, 6 } }));
}

TEST(FloatingPicture, TooLargeTurnOrStretchIsRefusedAndChangesNothing)
{
    Piece p(Plain(60000, 2, 9));
    const QImage image = p.bmp.Image();
    QString error;
    EXPECT_FALSE(p.bmp.TurnBy(Pi / 6, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(p.bmp.Angle(), 0);
    EXPECT_EQ(p.bmp.SelRect(), (TRect { 0, 0, 59999, 1 }));
    EXPECT_EQ(p.bmp.Bounds(), (TRect { 0, 0, 59999, 1 }));
    EXPECT_EQ(p.bmp.Image().constBits(), image.constBits());

    // Stretching the right edge past the largest side.
    ASSERT_EQ(p.bmp.SelectAt({ 59999, 0 }), &p.bmp);
    p.bmp.SetShowFrame(false);
    p.bmp.DragHandleTo(10000, 0, { 69999, 0 });
    error.clear();
    EXPECT_FALSE(p.bmp.ApplyDrag(&error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(p.bmp.SelRect(), (TRect { 0, 0, 59999, 1 }));
    EXPECT_EQ(p.bmp.Image().constBits(), image.constBits());
}
