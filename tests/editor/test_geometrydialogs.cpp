// The rules behind the geometry dialogs, without windows: how the size boxes follow each
// other, what the insert/delete window suggests, accepts and does, turning by an angle,
// and the repeat preview's direction glyph.
#include "editor/floatingpicture.h"
#include "editor/patterngrid.h"
#include "editor/picturerotation.h"
#include "editor/picturesizerules.h"
#include "editor/repeatcomposer.h"
#include "editor/warpweftedit.h"
#include "editor/wayglyph.h"

#include "core/picture/imageproc.h"
#include "core/settings/sharedstate.h"
#include "patterngridfixture.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <numbers>

namespace {
using Rows = std::vector<std::vector<int>>;

class GeometryRules : public TPatternGridFixture { };

// w x h cells numbered 1, 2, ... row by row (wrapping past 255).
QImage numbered(int w, int h)
{
    QImage img = NewPicture(w, h, GreyPalette());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.scanLine(y)[x] = std::uint8_t(1 + (y * w + x) % 250);
    return img;
}
} // namespace

TEST(PicSizeRules, BoxesFollowByRatioAndPercentFromTheStartingSize)
{
    struct Case {
        const char *name;
        std::function<void(TPicSizeRules &)> act;
        int width, height;
        bool changed;
    } cases[] = {
        { "ratio kept, width 30", [](TPicSizeRules &r) { r.WidthTyped("30"); }, 30, 15, true },
        { "ratio kept, height 20", [](TPicSizeRules &r) { r.HeightTyped("20"); }, 40, 20, true },
        { "ratio off, width only",
            [](TPicSizeRules &r) {
                r.SetKeepRatio(false);
                r.WidthTyped("30");
            },
            30, 50, true },
        { "ticking the ratio applies it from the width",
            [](TPicSizeRules &r) {
                r.SetKeepRatio(false);
                r.WidthTyped("60");
                r.SetKeepRatio(true);
            },
            60, 30, true },
        { "25 %: 12.5 rounds to even", [](TPicSizeRules &r) { r.SetPercentMode(true, 25); }, 25, 12, true },
        { "1 % never 0", [](TPicSizeRules &r) { r.SetPercentMode(true, 1); }, 1, 1, true },
        { "3 %", [](TPicSizeRules &r) { r.SetPercentMode(true, 3); }, 3, 2, true },
        { "5 %", [](TPicSizeRules &r) { r.SetPercentMode(true, 5); }, 5, 2, true },
        { "percent typed from the start, not the last size",
            [](TPicSizeRules &r) {
                r.SetPercentMode(true, 50);
                r.PercentTyped("200");
            },
            200, 100, true },
        { "percent typed while percent is off", [](TPicSizeRules &r) { EXPECT_FALSE(r.PercentTyped("50")); },
            100, 50, false },
        { "empty, 0 and letters trigger nothing",
            [](TPicSizeRules &r) {
                EXPECT_FALSE(r.WidthTyped(""));
                EXPECT_FALSE(r.WidthTyped("0"));
                EXPECT_FALSE(r.HeightTyped("x"));
                EXPECT_FALSE(r.PercentTyped("0"));
            },
            100, 50, false },
        { "typed back to the start: unchanged",
            [](TPicSizeRules &r) {
                r.WidthTyped("30");
                r.WidthTyped("100");
            },
            100, 50, false },
        { "beyond the largest side held to it", [](TPicSizeRules &r) { r.SetPercentMode(true, 99999); },
            65535, 50000, true },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TPicSizeRules rules;
        rules.Start(100, 50);
        rules.SetKeepRatio(true);
        c.act(rules);
        EXPECT_EQ(rules.Width(), c.width);
        EXPECT_EQ(rules.Height(), c.height);
        EXPECT_EQ(rules.Changed(), c.changed);
    }
}

TEST(WarpWeftEdit, SuggestionsAndClicksCountInsertFromZeroAndDeleteFromOne)
{
    const TRect box { 4, 2, 9, 6 };
    struct Case {
        bool isDelete, isWeft;
        int start, count, click;
    } cases[] = {
        { false, false, 4, 5, 12 },
        { true, false, 5, 5, 13 },
        { false, true, 2, 4, 30 },
        { true, true, 3, 4, 31 },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "delete " << c.isDelete << " weft " << c.isWeft);
        TModiGrossOption edit;
        edit.IsDelete = c.isDelete;
        edit.IsWeft = c.isWeft;
        SuggestWarpWeftEdit(edit, box);
        EXPECT_EQ(edit.StartPos, c.start);
        EXPECT_EQ(edit.OffSet, c.count);
        EXPECT_EQ(WarpWeftClickStart(edit, 12, 30), c.click);
    }
    // A box starting left of the picture still suggests a position inside it.
    TModiGrossOption edge;
    edge.IsDelete = true;
    SuggestWarpWeftEdit(edge, TRect { -3, 0, 2, 1 });
    EXPECT_EQ(edge.StartPos, 1);
}

TEST_F(GeometryRules, InsertDeleteIsCheckedAgainstTheLinesAndRefusalsChangeNothing)
{
    struct Case {
        const char *name;
        bool isDelete, isWeft;
        int start, count;
        bool valid;
        int cols, rows;
    } cases[] = {
        { "delete 8 + 3 ends at the last warp", true, false, 8, 3, true, 7, 4 },
        { "delete 9 + 3 passes it", true, false, 9, 3, false, 10, 4 },
        { "delete at 0", true, false, 0, 1, false, 10, 4 },
        { "delete every warp", true, false, 1, 10, false, 10, 4 },
        { "insert at 0", false, false, 0, 2, true, 12, 4 },
        { "insert at 10 appends", false, false, 10, 2, true, 12, 4 },
        { "insert at 11", false, false, 11, 1, false, 10, 4 },
        { "count 0", false, false, 3, 0, false, 10, 4 },
        { "past the largest side", false, false, 0, 65535 - 9, false, 10, 4 },
        { "insert wefts", false, true, 4, 3, true, 10, 7 },
        { "delete wefts past the rows", true, true, 3, 3, false, 10, 4 },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TPatternGrid g;
        show(g, numbered(10, 4));
        const Rows before = PictureRows(g.Picture());
        const int steps = g.UndoStore().UndoCount();
        TModiGrossOption edit { c.isDelete, c.isWeft, c.start, c.count };
        QString error;
        EXPECT_EQ(ApplyWarpWeftEdit(g, edit, &error), c.valid) << error.toStdString();
        EXPECT_EQ(g.Picture().width(), c.cols);
        EXPECT_EQ(g.Picture().height(), c.rows);
        if (c.valid) {
            EXPECT_EQ(g.UndoStore().UndoCount(), steps + 1);
            ASSERT_TRUE(g.Undo());
            EXPECT_EQ(PictureRows(g.Picture()), before);
        } else {
            EXPECT_FALSE(error.isEmpty());
            EXPECT_EQ(PictureRows(g.Picture()), before);
            EXPECT_EQ(g.UndoStore().UndoCount(), steps);
        }
    }
}

TEST(PictureRotation, AngleBoxSignAndTarget)
{
    struct Case {
        const char *text;
        bool ok;
        double value;
    } cases[] = { { "30", true, 30 }, { "-12.5", true, -12.5 }, { "7,25", true, 7.25 }, { "360", true, 360 },
        { "360.1", false, 0 }, { "", false, 0 }, { "abc", false, 0 }, { "nan", false, 0 },
        { "inf", false, 0 } };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        double degrees = -1;
        QString error;
        EXPECT_EQ(ParseRotateAngle(c.text, degrees, &error), c.ok);
        if (c.ok)
            EXPECT_DOUBLE_EQ(degrees, c.value);
        else
            EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_EQ(SignedRotateAngle(90, true), -90);
    EXPECT_EQ(SignedRotateAngle(90, false), 90);
    EXPECT_EQ(ChooseRotateTarget(true, true), TRotateTarget::FloatingPicture);
    EXPECT_EQ(ChooseRotateTarget(false, true), TRotateTarget::FloatingText);
    EXPECT_EQ(ChooseRotateTarget(false, false), TRotateTarget::Picture);
}

TEST_F(GeometryRules, TurningThePictureIsOneStepAndFloatingPiecesTurnAlone)
{
    // 90 degrees clockwise: the picture turns as the quarter turn does, in one step.
    TPatternGrid g;
    const QImage start = numbered(4, 3);
    show(g, start);
    const int steps = g.UndoStore().UndoCount();
    QString error;
    ASSERT_TRUE(RotateGridPicture(g, SignedRotateAngle(90, true), &error)) << error.toStdString();
    QImage quarter;
    ASSERT_TRUE(RotatePictureQuarter(quarter, start, -90));
    EXPECT_EQ(PictureRows(g.Picture()), PictureRows(quarter));
    EXPECT_EQ(g.UndoStore().UndoCount(), steps + 1);
    EXPECT_EQ(PictureRows(g.RefBitmap()), PictureRows(g.Picture()));
    ASSERT_TRUE(g.Undo());
    EXPECT_EQ(PictureRows(g.Picture()), PictureRows(start));

    // A turn whose result would pass the largest side is refused, nothing changed.
    TPatternGrid wide;
    show(wide, numbered(65535, 1000));
    const int wideSteps = wide.UndoStore().UndoCount();
    EXPECT_FALSE(RotateGridPicture(wide, 1, &error)) << "65,542 cells wide";
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(wide.Picture().width(), 65535);
    EXPECT_EQ(wide.UndoStore().UndoCount(), wideSteps);

    // The floating piece: clockwise adds to its angle; the grid is not touched.
    TBmp piece;
    ASSERT_TRUE(piece.Assign(numbered(6, 2)));
    const double before = piece.Angle();
    ASSERT_TRUE(RotateFloatingPicture(piece, SignedRotateAngle(90, true)));
    EXPECT_NEAR(piece.Angle(), before + std::numbers::pi / 2, 1e-12);
    EXPECT_EQ(piece.Image().width(), 2);
    EXPECT_EQ(piece.Image().height(), 6);
}

TEST(WayStyle, FigurePointsAndClicks)
{
    using P = std::array<TPoint, 5>;
    struct Case {
        int w, h, style;
        P points;
    } cases[] = {
        { 100, 30, 0, { { { 5, 25 }, { 33, 5 }, { 33, 15 }, { 95, 15 }, { 95, 25 } } } },
        { 100, 30, 1, { { { 5, 5 }, { 33, 25 }, { 33, 15 }, { 95, 15 }, { 95, 5 } } } },
        { 100, 30, 2, { { { 95, 25 }, { 67, 5 }, { 67, 15 }, { 5, 15 }, { 5, 25 } } } },
        { 100, 30, 3, { { { 95, 5 }, { 67, 25 }, { 67, 15 }, { 5, 15 }, { 5, 5 } } } },
        { 200, 40, 0, { { { 5, 30 }, { 65, 10 }, { 65, 20 }, { 195, 20 }, { 195, 30 } } } },
        { 200, 40, 3, { { { 195, 10 }, { 135, 30 }, { 135, 20 }, { 5, 20 }, { 5, 10 } } } },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h << " style " << c.style);
        TWayStyle glyph(c.w, c.h);
        glyph.SetStyle(c.style);
        EXPECT_EQ(glyph.Points(), c.points);
    }

    TWayStyle glyph;
    glyph.SetRect({ 100, 30, 200, 60 });
    for (int expected : { 1, 2, 3, 0 }) {
        EXPECT_TRUE(glyph.Click({ 150, 45 }));
        EXPECT_EQ(glyph.Style(), expected);
    }
    EXPECT_FALSE(glyph.Click({ 200, 45 })) << "right edge is outside";
    EXPECT_FALSE(glyph.Click({ 50, 45 }));
    EXPECT_EQ(glyph.Style(), 0);

    // Drawn: white ground, black border, the figure black.
    QImage image(100, 30, QImage::Format_RGB32);
    image.fill(Qt::red);
    QPainter painter(&image);
    TWayStyle(100, 30).Draw(painter, QPoint(0, 0));
    painter.end();
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(99, 29), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(50, 8), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(60, 20), qRgb(0, 0, 0)) << "inside the bar";
    EXPECT_EQ(image.pixel(90, 10), qRgb(255, 255, 255)) << "above the bar";
}

TEST_F(GeometryRules, RepeatLayoutInPlaceIsOneStepThatUndoGivesBack)
{
    TPatternGrid g;
    const QImage unit = numbered(37, 25);
    show(g, unit);
    g.UndoStore().Clear();
    TMergePic composer;
    composer.SetUnitPicture(unit);
    composer.SetAcross(3);
    composer.SetDown(4);
    composer.LayoutPreview(true);
    ASSERT_TRUE(composer.ClickPreview({ 150, 15 }));
    ASSERT_TRUE(composer.BuildResult());
    TRepeatPic layout;
    composer.GetRepeatInfo(layout);
    const QImage composed = composer.Result();

    // The picture is the first unit of the layout: a settings step.
    ASSERT_TRUE(g.ApplyRepeatLayout(composed, layout));
    EXPECT_EQ(g.UndoStore().UndoCount(), 1);
    EXPECT_EQ(g.UndoStore().GetTopStep()->Kind, TUndoKind::State);
    EXPECT_EQ(PictureRows(g.Picture()), PictureRows(composed));
    EXPECT_EQ(PictureRows(g.RefBitmap()), PictureRows(composed));
    EXPECT_EQ(g.RepeatInfo().HorzCount, 3);
    EXPECT_EQ(g.RepeatInfo().VertCount, 4);
    EXPECT_EQ(g.RepeatInfo().Rotate[0][1], 1);
    EXPECT_NE(g.RepeatState(), 0) << "the repeat display is on";
    EXPECT_TRUE(g.RepeatViewShown());
    ASSERT_TRUE(g.Undo());
    EXPECT_EQ(PictureRows(g.Picture()), PictureRows(unit));
    ASSERT_TRUE(g.Redo());
    EXPECT_EQ(PictureRows(g.Picture()), PictureRows(composed));

    // An edit outside the first unit, then a new layout from the first unit: the edited
    // picture is kept in a whole-picture step.
    g.Picture().scanLine(60)[80] = 251;
    g.RecordRectUndoStep({ 80, 60, 80, 60 }, true, true);
    const Rows edited = PictureRows(g.Picture());
    TMergePic again;
    again.SetUnitPicture(g.Picture().copy(0, 0, 37, 25));
    again.SetAcross(2);
    again.LayoutPreview(true);
    ASSERT_TRUE(again.BuildResult());
    TRepeatPic twice;
    again.GetRepeatInfo(twice);
    const int steps = g.UndoStore().UndoCount();
    ASSERT_TRUE(g.ApplyRepeatLayout(again.Result(), twice));
    EXPECT_EQ(g.UndoStore().UndoCount(), steps + 1);
    EXPECT_EQ(g.UndoStore().GetTopStep()->Kind, TUndoKind::Image);
    EXPECT_EQ(g.Picture().size(), QSize(74, 25));
    ASSERT_TRUE(g.Undo());
    EXPECT_EQ(PictureRows(g.Picture()), edited);
    EXPECT_EQ(g.RepeatInfo().HorzCount, 3);
}

TEST_F(GeometryRules, TheDialogTurnsAFloatingPieceAloneElseThePicture)
{
    TPatternGrid g;
    const QImage start = numbered(20, 10);
    show(g, start);
    auto piece = std::make_unique<TBmp>();
    ASSERT_TRUE(piece->Assign(numbered(6, 2)));
    g.AttachFloatingBitmap(std::move(piece), { 3, 3 });
    ASSERT_TRUE(g.HasFloatingBitmap());
    const double before = g.FloatingBitmap()->Angle();
    const int steps = g.UndoStore().UndoCount();

    QString error;
    ASSERT_TRUE(RotateByDialogAngle(g, SignedRotateAngle(90, true), &error)) << error.toStdString();
    ASSERT_TRUE(g.HasFloatingBitmap());
    EXPECT_NEAR(g.FloatingBitmap()->Angle(), before + std::numbers::pi / 2, 1e-12);
    EXPECT_EQ(g.FloatingBitmap()->Image().size(), QSize(2, 6));
    EXPECT_EQ(g.UndoStore().UndoCount(), steps) << "steps unchanged";
    EXPECT_EQ(PictureRows(g.Picture()), PictureRows(start)) << "the picture stays";

    // Once the piece is let go, the dialog turns the picture (with the piece stamped).
    g.DropFloatingObjects();
    const Rows stamped = PictureRows(g.Picture());
    ASSERT_TRUE(RotateByDialogAngle(g, 90, &error)) << error.toStdString();
    EXPECT_EQ(g.Picture().size(), QSize(10, 20));
    ASSERT_TRUE(g.Undo());
    EXPECT_EQ(PictureRows(g.Picture()), stamped);
}
