// The repeat composer: tiling, stepped rows and columns, flips, offsets from ratios, glyph
// order and the limits that keep the layout arithmetic sound.
#include "editor/repeatcomposer.h"

#include "core/picture/imageproc.h"
#include "testutil.h"

#include <gtest/gtest.h>

namespace {

// A unit of w x h cells, each with its own index.
QImage unitPicture(int w, int h)
{
    QImage img = NewPicture(w, h, GreyPalette());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.scanLine(y)[x] = std::uint8_t(y * w + x);
    return img;
}

TRotateArray codes(std::initializer_list<std::vector<int>> rows)
{
    TRotateArray out(qsizetype(rows.size()));
    qsizetype r = 0;
    for (const auto &row : rows) {
        TDynArray<std::int8_t> line(qsizetype(row.size()));
        for (std::size_t c = 0; c < row.size(); ++c)
            line[qsizetype(c)] = std::int8_t(row[c]);
        out[r++] = line;
    }
    return out;
}

std::vector<int> offsetsOf(const TMergePic &m)
{
    return std::vector<int>(m.Offsets().begin(), m.Offsets().end());
}

} // namespace

// Style 2 steps every other row by the offset, the last tile's overhang re-entering at
// the left of its row; style 3 steps columns down, wrapping at the bottom.
TEST(RepeatComposer, SteppedRowsAndColumns)
{
    struct Case {
        int style, w, h, across, down, offset;
        std::vector<int> offsets;
    } cases[] = {
        { 2, 10, 2, 3, 4, 5, { 0, 5, 0, 5 } },
        { 3, 3, 12, 5, 2, 4, { 0, 4, 8, 0, 4 } },
        { 1, 3, 2, 2, 3, 7, { 0, 0, 0 } },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.style);
        TMergePic m;
        m.SetUnitPicture(unitPicture(c.w, c.h));
        m.SetAcross(c.across);
        m.SetDown(c.down);
        ASSERT_TRUE(m.Compose(c.style, c.offset, TRotateArray()));
        const QImage &r = m.Result();
        ASSERT_EQ(r.width(), c.w * c.across);
        ASSERT_EQ(r.height(), c.h * c.down);
        EXPECT_EQ(offsetsOf(m), c.offsets);
        // Every result cell shows the unit cell its tile's shift brings there.
        for (int y = 0; y < r.height(); ++y)
            for (int x = 0; x < r.width(); ++x) {
                int ux = x % c.w, uy = y % c.h;
                if (c.style == 2)
                    ux = (x - c.offsets[std::size_t(y / c.h)] + r.width()) % c.w;
                if (c.style == 3)
                    uy = (y - c.offsets[std::size_t(x / c.w)] + r.height()) % c.h;
                ASSERT_EQ(r.pixelIndex(x, y), uy * c.w + ux) << x << "," << y;
            }
    }
    // Rows 1 and 3 of the first case: the third tile's right half starts the row.
    TMergePic m;
    m.SetUnitPicture(unitPicture(10, 1));
    m.SetAcross(3);
    m.SetDown(2);
    ASSERT_TRUE(m.Compose(2, 5, TRotateArray()));
    EXPECT_EQ(m.Result().pixelIndex(0, 1), 5);
    EXPECT_EQ(m.Result().pixelIndex(4, 1), 9);
    EXPECT_EQ(m.Result().pixelIndex(5, 1), 0);
}

// Flip codes 0 to 3: as the unit, top to bottom, left to right, and both, which is a
// half turn. Each tile is flipped whole, wherever its step puts it.
TEST(RepeatComposer, FlipCodes)
{
    const QImage unit = unitPicture(3, 2);
    QImage halfTurn = unit.copy();
    ASSERT_TRUE(RotatePictureQuarter(halfTurn, unit, 180.0));
    const QImage expected[4] = { unit, unit.mirrored(false, true), unit.mirrored(true, false), halfTurn };
    for (int code = 0; code < 4; ++code) {
        SCOPED_TRACE(code);
        TMergePic m;
        m.SetUnitPicture(unit);
        m.SetAcross(2);
        m.SetDown(1);
        ASSERT_TRUE(m.Compose(1, 0, codes({ { 0, code } })));
        EXPECT_EQ(PictureRows(m.Result().copy(0, 0, 3, 2)), PictureRows(unit));
        EXPECT_EQ(PictureRows(m.Result().copy(3, 0, 3, 2)), PictureRows(expected[code]));
    }
    // A flipped tile that wraps keeps its flip: row 1 of a stepped layout.
    TMergePic m;
    m.SetUnitPicture(unitPicture(4, 1));
    m.SetAcross(2);
    m.SetDown(2);
    ASSERT_TRUE(m.Compose(2, 2, codes({ { 0, 0 }, { 0, 2 } })));
    EXPECT_EQ(PictureRows(m.Result()),
        (std::vector<std::vector<int>> { { 0, 1, 2, 3, 0, 1, 2, 3 }, { 1, 0, 0, 1, 2, 3, 3, 2 } }));
}

// Offsets from a ratio of the unit, with the glyph offset alike; a unit too small for its
// ratio and a typed offset below one glyph pixel are held at 1, an offset beyond the unit
// at the unit's side, so no layout divides by zero.
TEST(RepeatComposer, OffsetsAndTheirLimits)
{
    struct Case {
        int w, h, style;
        double ratio; // < 0: typed offset
        int typed;
        int offset, glyphOffset;
    } cases[] = {
        { 10, 12, 2, 0.5, 0, 5, 50 },
        { 10, 12, 3, 0.25, 0, 3, 7 },
        { 10, 12, 1, 0.5, 0, 0, 0 },
        { 1, 12, 2, 0.5, 0, 1, 50 }, // a unit narrower than its ratio allows
        { 10, 1, 3, 0.1, 0, 1, 3 },
        { 300, 12, 2, -1, 1, 1, 1 }, // under a glyph pixel
        { 300, 12, 2, -1, 0, 1, 1 },
        { 10, 12, 2, -1, 25, 10, 100 }, // beyond the unit
        { 10, 12, 3, -1, 99, 12, 30 },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " style " << c.style << " ratio " << c.ratio);
        TMergePic m;
        m.SetUnitPicture(unitPicture(c.w, c.h));
        m.SetAcross(3);
        m.SetDown(3);
        m.SetStyle(c.style);
        if (c.ratio >= 0) {
            const int offset = m.OffsetFromRatio(c.style, c.ratio);
            EXPECT_EQ(offset, c.offset);
            if (c.style == 1) {
                EXPECT_EQ(m.GlyphOffset(), c.glyphOffset);
            }
            m.SetOffset(offset);
        } else {
            m.SetOffset(c.typed);
        }
        EXPECT_EQ(m.Offset(), c.offset);
        if (c.ratio < 0 || c.style != 1) {
            EXPECT_GE(m.GlyphOffset(), 1);
        }
        ASSERT_TRUE(m.BuildResult());
        EXPECT_EQ(m.Result().width(), c.w * 3);
        EXPECT_EQ(m.PreviewWidth(), 300);
    }
    TMergePic m;
    m.SetUnitPicture(unitPicture(10, 12));
    EXPECT_EQ(m.OffsetFromRatio(2, 0.5), 5);
    EXPECT_EQ(m.GlyphOffset(), 50);
    EXPECT_EQ(m.OffsetFromRatio(3, 0.25), 3);
    EXPECT_EQ(m.GlyphOffset(), 7);
}

// Glyph order: row by row in styles 1 and 2, column by column in style 3; the record
// goes in and comes back with the flip codes where they were.
TEST(RepeatComposer, GlyphOrderAndTheRepeatRecord)
{
    for (const int style : { 1, 2, 3 }) {
        SCOPED_TRACE(style);
        TMergePic m;
        m.SetUnitPicture(unitPicture(6, 4));
        TRepeatPic info;
        info.HorzCount = 3;
        info.VertCount = 2;
        info.Rotate = codes({ { 0, 1, 2 }, { 3, 0, 1 } });
        info.Value1 = style;
        info.Value2 = 2;
        info.Flags[0] = 1;
        m.SetRepeatInfo(info);
        ASSERT_EQ(m.Glyphs().size(), 6u);
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 3; ++c) {
                const std::size_t i = std::size_t(style == 3 ? 2 * c + r : 3 * r + c);
                EXPECT_EQ(m.Glyphs()[i].Code, info.Rotate[r][c]) << r << "," << c;
            }
        ASSERT_TRUE(m.BuildResult());
        TRepeatPic back;
        back.Flags[0] = 9;
        m.GetRepeatInfo(back);
        EXPECT_EQ(back.UnitWidth, 6);
        EXPECT_EQ(back.UnitHeight, 4);
        EXPECT_EQ(back.HorzCount, 3);
        EXPECT_EQ(back.VertCount, 2);
        EXPECT_EQ(back.Value1, style);
        EXPECT_EQ(back.Value2, style == 1 ? 0 : 2);
        EXPECT_EQ(back.Flags[0], 9);
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 3; ++c)
                EXPECT_EQ(back.Rotate[r][c], info.Rotate[r][c]);
        EXPECT_EQ(back.Offsets.size(), style == 3 ? 3 : 2);
    }
}

// The first glyph is the unit itself and never takes a click; others advance their code,
// also where a stepped glyph wraps round to the other side.
TEST(RepeatComposer, ClickingTheGlyphs)
{
    TMergePic m;
    m.SetUnitPicture(unitPicture(10, 10));
    EXPECT_FALSE(m.ClickPreview({ 5, 5 })); // a single repeat
    m.SetAcross(2);
    m.SetDown(2);
    m.SetStyle(2);
    int resized = 0;
    m.OnPreviewResize = [&] { ++resized; };
    m.SetOffset(5); // glyph offset 50: row 1 stepped by half a glyph
    EXPECT_EQ(resized, 1);
    EXPECT_FALSE(m.ClickPreview({ 5, 5 }));
    EXPECT_EQ(m.Glyphs()[0].Code, 0);
    EXPECT_TRUE(m.ClickPreview({ 150, 5 }));
    EXPECT_EQ(m.Glyphs()[1].Code, 1);
    EXPECT_TRUE(m.ClickPreview({ 20, 40 })); // the wrapped half of glyph 3
    EXPECT_EQ(m.Glyphs()[3].Code, 1);
    for (int i = 0; i < 3; ++i)
        m.ClickPreview({ 150, 5 });
    EXPECT_EQ(m.Glyphs()[1].Code, 0);
}

// A layout wider or taller than the largest pattern is refused with a message, and
// leaves the result as it was.
TEST(RepeatComposer, RefusesResultsBeyondTheLargestPattern)
{
    TMergePic m;
    m.SetUnitPicture(unitPicture(40000, 1));
    m.SetAcross(2);
    QString error;
    EXPECT_FALSE(m.Compose(1, 0, TRotateArray(), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("80000"))) << error.toStdString();
    EXPECT_TRUE(m.Result().isNull());
    TMergePic none;
    EXPECT_FALSE(none.BuildResult(&error));
}
