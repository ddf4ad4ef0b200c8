// The floating text: its angle, frame and handles, the pointer on it (hits, moves, turns and
// stretches), what it draws and stamps, and its clipboard block.
#include "core/picture/clipboardpicture.h"
#include "core/settings/sharedstate.h"
#include "editor/insertword.h"
#include "testutil.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>

namespace {

constexpr double Pi = std::numbers::pi;

// An unturned ten-character text whose frame runs from (0, 0) to (79, 15) with characters
// 8 cells wide, as a block makes it.
void tenCharacters(TInsertWord &w)
{
    TWordBlock b;
    b.Text = QStringLiteral("ABCDEFGHIJ");
    b.Font.Height = 16;
    b.Font.Width = 8;
    b.Font.FaceName = TInsertWord::DefaultFamily();
    b.TextHeight = 16;
    b.TextWidth = 80;
    b.TextBox = { 0, 0, 79, 15 };
    b.Frame = { 0, 0, 79, 15 };
    b.Centre = { 39, 7 };
    w.FromBlock(b);
}

// A new text as the text tool makes it.
void newText(TInsertWord &w, const QString &text, int pixelSize = 20)
{
    QFont font(TInsertWord::DefaultFamily());
    font.setPixelSize(pixelSize);
    w.SetFont(font);
    w.SetText(text);
    w.SetFirstFrame();
    w.Rebuild();
}

std::set<std::pair<int, int>> cellsOf(const QImage &image, const std::function<bool(int, int)> &set)
{
    std::set<std::pair<int, int>> cells;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (set(x, y))
                cells.insert({ x, y });
    return cells;
}

QImage picture(int width, int height, std::uint8_t fill)
{
    QImage img(width, height, QImage::Format_Indexed8);
    QList<QRgb> table(256);
    for (int i = 0; i < 256; ++i)
        table[i] = qRgb(i, 255 - i, i / 2);
    img.setColorTable(table);
    img.fill(fill);
    return img;
}

} // namespace

TEST(InsertWord, AngleIsKeptWithinOneTurn)
{
    const struct {
        double set, stored;
    } cases[] = { { -Pi / 2, 3 * Pi / 2 }, { 2 * Pi, 0 }, { 13.0, 13.0 - 2 * Pi }, { Pi, Pi }, { 0, 0 },
        { -0.25, 2 * Pi - 0.25 } };
    for (const auto &c : cases) {
        TInsertWord w;
        w.SetAngle(c.set);
        EXPECT_NEAR(w.Angle(), c.stored, 1e-12) << c.set;
    }
}

TEST(InsertWord, HandlesOfTheFrame)
{
    TInsertWord w;
    w.SetFrame({ 0, 0, 79, 15 });
    const std::array<TPoint, 9> expected { { { 0, 0 }, { 39, 0 }, { 79, 0 }, { 79, 7 }, { 79, 15 },
        { 39, 15 }, { 0, 15 }, { 0, 7 }, { 89, 7 } } };
    EXPECT_EQ(w.HandlePoints(), expected);
    EXPECT_EQ(w.RotatedHandles(), expected);
    // Turned a half turn about (39, 7), the rotation handle lies left of the frame.
    tenCharacters(w);
    w.SetAngle(Pi);
    EXPECT_EQ(w.RotatedHandles()[8], (TPoint { -11, 7 }));
    EXPECT_EQ(w.RotatedHandles()[0], (TPoint { 78, 14 }));
}

TEST(InsertWord, HitTestReportsHandlesForTheCursor)
{
    // Frame handles report their own index unless the text stands about a quarter turn;
    // the rotation handle reports 8, the inside -1 and a grab to move.
    const struct {
        double angle;
        int shift;
    } angles[] = { { 0, 0 }, { Pi / 2, 2 }, { Pi, 0 }, { 3 * Pi / 2, 2 } };
    for (const auto &a : angles) {
        for (int i = 0; i <= 8; ++i) {
            TInsertWord w;
            tenCharacters(w);
            w.SetAngle(a.angle);
            w.SetPosition({ 100, 100 });
            int reported = -2;
            w.SetOnHandleHit([&](TInsertWord &, int index) { reported = index; });
            const TPoint p = w.RotatedHandles()[std::size_t(i)];
            EXPECT_EQ(w.HandleAt({ p.X + 1, p.Y }), i == 8 ? 8 : (i + a.shift) % 8);
            ASSERT_EQ(w.HitTest({ p.X + 1, p.Y }), &w) << a.angle << " " << i;
            EXPECT_EQ(reported, i == 8 ? 8 : (i + a.shift) % 8) << a.angle << " " << i;
            EXPECT_EQ(w.DragMode(), i == 8 ? TWordDragMode::Rotate : TWordDragMode::Resize);
            EXPECT_EQ(w.GrabbedHandle(), p);
        }
    }
    TInsertWord w;
    tenCharacters(w);
    w.SetPosition({ 100, 100 });
    int reported = -2, stateChanges = 0;
    w.SetOnHandleHit([&](TInsertWord &, int index) { reported = index; });
    w.SetOnStateChange([&](TInsertWord &) { ++stateChanges; });
    // Two cells from a handle is a miss of the handle.
    EXPECT_EQ(w.HandleAt({ 102, 101 }), -1);
    EXPECT_TRUE(w.Contains({ 102, 101 }));
    EXPECT_FALSE(w.Contains({ 300, 300 }));
    EXPECT_EQ(w.HitTest({ 102, 101 }), &w);
    EXPECT_EQ(reported, -1);
    EXPECT_EQ(w.DragMode(), TWordDragMode::Move);
    EXPECT_EQ(stateChanges, 0);
    EXPECT_EQ(w.HitTest({ 300, 300 }), nullptr);
    EXPECT_FALSE(w.Active());
    EXPECT_EQ(w.DragMode(), TWordDragMode::None);
    EXPECT_EQ(stateChanges, 1);
}

TEST(InsertWord, SideHandlesStretchAndCornersDoNothing)
{
    const struct {
        const char *name;
        TPoint handle;
        int dx, dy;
        TRect box;
        int charWidth, textHeight;
    } cases[] = {
        // 105 cells for ten characters: 10 each.
        { "right-middle 25 right", { 79, 7 }, 25, 0, { 0, 0, 104, 15 }, 10, 16 },
        // 85 cells: still 8 each.
        { "right-middle 5 right", { 79, 7 }, 5, 0, { 0, 0, 84, 15 }, 8, 16 },
        { "bottom-right corner", { 79, 15 }, 10, 10, { 0, 0, 79, 15 }, 8, 16 },
        { "bottom-middle 6 down", { 39, 15 }, 0, 6, { 0, 0, 79, 21 }, 8, 22 },
        { "top-middle 4 up", { 39, 0 }, 0, -4, { 0, -4, 79, 15 }, 8, 20 },
    };
    for (const auto &c : cases) {
        TInsertWord w;
        tenCharacters(w);
        ASSERT_EQ(w.HitTest(c.handle), &w) << c.name;
        TPoint pointer = c.handle;
        w.Drag(c.dx, c.dy, pointer);
        EXPECT_EQ(w.ShowHandles(), 0) << c.name;
        EXPECT_EQ(w.CornerBox(), c.box) << c.name;
        EXPECT_EQ(w.CharWidth(), c.charWidth) << c.name;
        EXPECT_EQ(w.TextHeight(), c.textHeight) << c.name;
        EXPECT_EQ(w.Position(), (TPoint { 0, c.box.Top })) << c.name;
        w.SetShowHandles(1);
        EXPECT_EQ(w.Frame(), c.box) << c.name;
        EXPECT_EQ(w.TextBox(), c.box) << c.name;
        EXPECT_EQ(w.AverageCharWidth(), c.charWidth) << c.name;
        EXPECT_EQ(w.DragMode(), TWordDragMode::None) << c.name;
    }
}

TEST(InsertWord, SidesDraggedOverEachOtherKeepSizesPositive)
{
    const struct {
        TPoint handle;
        int dx, dy;
    } cases[] = { { { 79, 7 }, -90, 0 }, { { 0, 7 }, 85, 0 }, { { 39, 15 }, 0, -30 }, { { 79, 7 }, -79, 0 } };
    for (const auto &c : cases) {
        TInsertWord w;
        tenCharacters(w);
        ASSERT_EQ(w.HitTest(c.handle), &w);
        TPoint pointer = c.handle;
        for (int step = 0; step < 3; ++step)
            w.Drag(c.dx / 3, c.dy / 3, pointer);
        w.SetShowHandles(1);
        EXPECT_GE(w.CharWidth(), 1);
        EXPECT_GE(w.TextHeight(), 1);
        EXPECT_GE(w.Frame().Right - w.Frame().Left, 0);
        EXPECT_GE(w.Frame().Bottom - w.Frame().Top, 0);
    }
    // A text without characters is stretched without dividing by them.
    TInsertWord w;
    tenCharacters(w);
    w.SetText(QString());
    const int before = w.CharWidth();
    ASSERT_EQ(w.HitTest({ 79, 7 }), &w);
    TPoint pointer { 79, 7 };
    w.Drag(20, 0, pointer);
    EXPECT_EQ(w.CharWidth(), before);
}

TEST(InsertWord, MoveAndTurnFollowThePointer)
{
    TInsertWord w;
    tenCharacters(w);
    ASSERT_EQ(w.HitTest({ 20, 8 }), &w);
    ASSERT_EQ(w.DragMode(), TWordDragMode::Move);
    TPoint pointer { 20, 8 };
    w.Drag(5, -3, pointer);
    EXPECT_EQ(pointer, (TPoint { 25, 5 }));
    EXPECT_EQ(w.Position(), (TPoint { 5, -3 }));
    EXPECT_EQ(w.Frame(), (TRect { 5, -3, 84, 12 }));
    EXPECT_EQ(w.Centre(), (TPoint { 44, 4 }));
    w.SetShowHandles(1);

    // The rotation handle dragged below the centre turns the text clockwise on screen: a
    // positive angle, and the font record's escapement (counter-clockwise) negative.
    TInsertWord t;
    tenCharacters(t);
    ASSERT_EQ(t.HitTest({ 89, 7 }), &t);
    TPoint at { 39, 47 }; // straight below the centre
    t.Drag(0, 0, at);
    EXPECT_NEAR(t.Angle(), Pi / 2, 1e-9);
    EXPECT_EQ(t.ToBlock().Font.Escapement, -900);
    t.SetShowHandles(1);
    EXPECT_EQ(t.Position(), t.RotatedHandles()[0]);
    // The top-left corner went to the top right: a quarter turn clockwise about (39, 7).
    EXPECT_EQ(t.Position(), (TPoint { 46, -32 }));
    QImage mask;
    TPoint origin;
    ASSERT_TRUE(t.RenderMask(1.0, 1.0, mask, origin));
    const auto cells = cellsOf(mask, [&](int x, int y) { return mask.constScanLine(y)[x] != 0; });
    ASSERT_FALSE(cells.empty());
    int minX = 1 << 30, maxX = -1, minY = 1 << 30, maxY = -1;
    for (auto [x, y] : cells) {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    // The line of text runs down the pattern.
    EXPECT_GT(maxY - minY, 3 * (maxX - minX));
}

TEST(InsertWord, StampWritesOnlyTheTextIndexInsideItsBox)
{
    // Index 2 has the same colour as 9: the stamp writes 9, the index it was given.
    QImage pic = picture(160, 60, 3);
    pic.setColor(2, pic.color(9));
    TInsertWord w;
    w.SetPictureCanvas(&pic);
    newText(w, QStringLiteral("AB 花样"));
    w.SetPosition({ 6, 5 });
    w.SetFontColor(FromQColor(QColor(pic.color(9))), 9);
    w.SetAngle(0.3);
    w.Rebuild();
    w.SetShowHandles(0);
    w.SetShowHandles(1);
    ASSERT_TRUE(w.Stamp());
    const TRect box = w.TextBox();
    int changed = 0;
    for (int y = 0; y < pic.height(); ++y)
        for (int x = 0; x < pic.width(); ++x) {
            const int v = pic.constScanLine(y)[x];
            if (v == 3)
                continue;
            ++changed;
            EXPECT_EQ(v, 9) << x << "," << y;
            EXPECT_TRUE(x >= box.Left && x <= box.Right && y >= box.Top && y <= box.Bottom) << x << "," << y;
        }
    EXPECT_GT(changed, 40);

    // Without an index the font colour's first entry is written; cells off the picture are
    // left out.
    QImage small = picture(30, 20, 3);
    small.setColor(2, small.color(9));
    w.SetPictureCanvas(&small);
    w.SetFontColor(FromQColor(QColor(small.color(9))), -1);
    w.SetPosition({ -15, -6 });
    ASSERT_TRUE(w.Stamp());
    const auto written = cellsOf(small, [&](int x, int y) { return small.pixelIndex(x, y) != 3; });
    EXPECT_FALSE(written.empty());
    for (auto [x, y] : written)
        EXPECT_EQ(small.pixelIndex(x, y), 2);

    QString error;
    w.SetPictureCanvas(nullptr);
    EXPECT_FALSE(w.Stamp(&error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(InsertWord, PaintShowsTheCellsTheStampWrites)
{
    for (double angle : { 0.0, 0.7, Pi }) {
        TInsertWord w;
        newText(w, QStringLiteral("Ag花"), 24);
        w.SetPosition({ 30, 30 });
        w.SetAngle(angle);
        w.Rebuild();
        w.SetFontColor(0x0000FF, 5); // red
        w.SetActive(false); // no frame over the text
        QImage pic = picture(120, 100, 0);
        w.SetPictureCanvas(&pic);
        ASSERT_TRUE(w.Stamp());
        QImage view(120, 100, QImage::Format_RGB32);
        view.fill(Qt::white);
        w.SetWorkCanvas(&view);
        w.Paint();
        const auto stamped = cellsOf(pic, [&](int x, int y) { return pic.pixelIndex(x, y) == 5; });
        const auto shown = cellsOf(view, [&](int x, int y) { return view.pixel(x, y) == qRgb(255, 0, 0); });
        EXPECT_FALSE(stamped.empty()) << angle;
        EXPECT_EQ(stamped, shown) << angle;
    }
}

TEST(InsertWord, CharacterWidthAndHeightDriveTheDrawnText)
{
    const auto extent = [](int charWidth, int textHeight) {
        TInsertWord w;
        tenCharacters(w);
        TWordBlock b = w.ToBlock();
        b.Font.Width = charWidth;
        b.TextHeight = textHeight;
        b.Frame = { 0, 0, 10 * charWidth - 1, textHeight - 1 };
        b.TextBox = b.Frame;
        w.FromBlock(b);
        w.Rebuild();
        QImage mask;
        TPoint origin;
        EXPECT_TRUE(w.RenderMask(1.0, 1.0, mask, origin));
        const auto cells = cellsOf(mask, [&](int x, int y) { return mask.constScanLine(y)[x] != 0; });
        int maxX = 0, maxY = 0;
        for (auto [x, y] : cells) {
            maxX = std::max(maxX, x + origin.X);
            maxY = std::max(maxY, y + origin.Y);
        }
        return QSize(maxX, maxY);
    };
    const QSize narrow = extent(8, 16), wide = extent(16, 16), tall = extent(8, 40);
    EXPECT_GT(wide.width(), narrow.width() * 3 / 2);
    EXPECT_GT(tall.height(), narrow.height() * 2);
    EXPECT_LT(tall.width(), narrow.width() + 10);
}

TEST(InsertWord, ClipboardRoundTrip)
{
    TInsertWord w;
    QFont font(TInsertWord::DefaultFamily());
    font.setPixelSize(30);
    font.setBold(true);
    font.setUnderline(true);
    w.SetFont(font);
    w.SetText(QStringLiteral("AB 花样"));
    w.SetCharSpacing(3);
    w.SetFirstFrame();
    w.SetPosition({ 12, 34 });
    w.SetAngle(0.75);
    w.Rebuild();
    w.SetFontColor(0x00336699, 7);
    QString error;
    ASSERT_TRUE(w.CopyToClipboard(&error)) << error.toStdString();
    EXPECT_TRUE(ClipboardHoldsPicture());

    TInsertWord pasted;
    ASSERT_TRUE(pasted.PasteFromClipboard(&error)) << error.toStdString();
    EXPECT_EQ(pasted.Text(), w.Text());
    EXPECT_EQ(pasted.Font().family(), w.Font().family());
    EXPECT_TRUE(pasted.Font().bold());
    EXPECT_TRUE(pasted.Font().underline());
    EXPECT_EQ(pasted.FontColor(), 0x00336699);
    EXPECT_EQ(pasted.ColorIndex(), -1);
    EXPECT_EQ(pasted.CharSpacing(), 3);
    EXPECT_FLOAT_EQ(float(pasted.Angle()), 0.75f);
    EXPECT_EQ(pasted.Frame(), w.Frame());
    EXPECT_EQ(pasted.Position(), w.Position());
    EXPECT_EQ(pasted.Centre(), w.Centre());
    EXPECT_EQ(pasted.TextHeight(), w.TextHeight());
    EXPECT_EQ(pasted.CharWidth(), w.CharWidth());
    pasted.Rebuild();
    EXPECT_EQ(pasted.Position(), w.Position());

    // A text GBK cannot hold is not copied; the clipboard keeps what it had.
    TInsertWord odd;
    newText(odd, QString::fromUtf8("A\xF0\x9F\x98\x80"));
    EXPECT_FALSE(odd.CopyToClipboard(&error));
    EXPECT_FALSE(error.isEmpty());
    ASSERT_TRUE(pasted.PasteFromClipboard());
    EXPECT_EQ(pasted.Text(), w.Text());

    // Nothing to paste: false, nothing changed.
    QGuiApplication::clipboard()->setMimeData(new QMimeData);
    error.clear();
    EXPECT_FALSE(pasted.PasteFromClipboard(&error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(pasted.Text(), w.Text());
    // A damaged block neither.
    auto *data = new QMimeData;
    data->setData(ClipboardMimeType(CF_WORD), QByteArray("\x00\x00\x00\x00", 4));
    QGuiApplication::clipboard()->setMimeData(data);
    EXPECT_FALSE(pasted.PasteFromClipboard());
    EXPECT_EQ(pasted.Frame(), w.Frame());
}

TEST(InsertWord, DialogValuesShowTheText)
{
    for (int size : { 8, 12, 24, 72 }) {
        TInsertWordValues in;
        in.Size = size;
        in.Bold = size == 24;
        in.StrikeOut = true;
        TInsertWord w;
        w.SetFont(InsertWordFont(in));
        w.SetText(QStringLiteral("AB 花样"));
        w.SetCharSpacing(2);
        w.SetFirstFrame();
        w.SetScaleX(0.5);
        w.SetScaleY(0.25);
        w.SetPosition({ 41, 22 });
        w.SetAngle(InsertWordAngle(390));
        w.Rebuild();
        const TInsertWordValues out = InsertWordValuesOf(w);
        EXPECT_EQ(out.Family, TInsertWord::DefaultFamily());
        EXPECT_EQ(out.Size, size);
        EXPECT_EQ(out.Bold, size == 24);
        EXPECT_TRUE(out.StrikeOut);
        EXPECT_EQ(out.Spacing, 2);
        EXPECT_EQ(out.Angle, 30);
        EXPECT_EQ(out.Text, QStringLiteral("AB 花样"));
        EXPECT_EQ(out.X, w.Position().X);
        EXPECT_EQ(out.Y, w.Position().Y);
    }
    EXPECT_EQ(InsertWordFirstLine(QStringLiteral(" a b \nc")), QStringLiteral(" a b "));
}
