#pragma once
// TMergePic: the repeat composer (回位模式) that tiles one repeat unit into a layout.
// A narrow fabric repeats its design along the web: the composer builds a larger pattern
// from one repeat unit, tiled Across x Down times. Each repeat may be flipped (code 0 as
// the unit, 1 top to bottom, 2 left to right, 3 both ways, which is a half turn), and in
// style 2 the rows of repeats are stepped sideways, in style 3 the columns downwards, by
// a multiple of the offset; what leaves the picture on one side re-enters on the other.
//
// The composer holds no window: the direction glyphs of its preview are a list of flip
// codes with the rectangles LayoutPreview gives them; the layout dialog draws them.
// Glyph order: the glyph of repeat (row r, column c) is item Across x r + c in styles 1
// and 2, and Down x c + r in style 3.
//
// The offset is kept within 1 .. unit width (style 2) or 1 .. unit height (style 3), and
// the glyph offset at least 1, so that the number of steps of a layout is never a
// division by zero; a result wider or taller than the largest pattern is refused.

#include "core/base/gridrecords.h"
#include "core/palette/palette.h"

#include <QImage>
#include <QString>

#include <functional>
#include <vector>

class TMergePic {
public:
    static constexpr int GlyphWidth = 100;
    static constexpr int GlyphHeight = 30;

    // Styles of a layout.
    enum TStyle : int { PlainGrid = 1, RowsStepped = 2, ColumnsStepped = 3 };
    // Flip codes of a repeat: bit 0 flips top to bottom, bit 1 left to right.
    enum TFlipCode : int { AsUnit = 0, FlipTopBottom = 1, FlipLeftRight = 2, HalfTurn = 3 };

    TMergePic();

    // The unit: an 8-bit copy of picture with its colour table (a picture that is not
    // 8-bit is converted with its palette); UnitWidth and UnitHeight follow.
    void SetUnitPicture(const QImage &picture);
    const QImage &Unit() const { return m_unit; }
    int UnitWidth() const { return m_unitWidth; }
    int UnitHeight() const { return m_unitHeight; }

    int Style() const { return m_style; }
    // Stores the style (1 .. 3; other values are taken as 1); no preview is laid out.
    void SetStyle(int style);
    int Offset() const { return m_offset; }
    int GlyphOffset() const { return m_glyphOffset; }
    // Stores the offset (held inside the unit, see above), scales it to glyph pixels and
    // lays the preview out anew, so that every flip code goes back to 0.
    void SetOffset(int offset);
    // The offset a ratio of the unit gives for style, setting GlyphOffset to the same
    // ratio of a glyph; 0 for style 1.
    int OffsetFromRatio(int style, double ratio);

    int Across() const { return m_across; }
    int Down() const { return m_down; }
    // Counts below 1 are taken as 1.
    void SetAcross(int count);
    void SetDown(int count);
    qint64 GetResultWidth() const { return qint64(m_unitWidth) * m_across; }
    qint64 GetResultHeight() const { return qint64(m_unitHeight) * m_down; }

    // Counts, style and offsets from info; the offset through SetOffset (glyphs made
    // anew), then info's flip codes given to the glyphs in glyph order.
    void SetRepeatInfo(const TRepeatPic &info);
    // Unit size, counts, flip codes (from the glyphs), style, offsets and offset; the
    // flags are left as they are.
    void GetRepeatInfo(TRepeatPic &info) const;

    // Builds Result from the unit: style, offset and the flip code of each repeat
    // [row][column] (missing codes are 0). Offsets receives one entry per row (styles 1
    // and 2) or per column (style 3). False, with Result left as it was, when there is no
    // unit or the result would exceed the largest pattern.
    bool Compose(int style, int offset, const TRotateArray &rotations, QString *error = nullptr);
    // Compose with Style, Offset and the glyphs' flip codes.
    bool BuildResult(QString *error = nullptr);
    const QImage &Result() const { return m_result; }
    // Hands the result over (the composer's is emptied).
    QImage TakeResult();
    const TPicOffSetArray &Offsets() const { return m_offsets; }
    const TRotateArray &Rotations() const { return m_rotations; }

    // --- The glyph preview -------------------------------------------------------------
    struct TGlyph {
        int Code = 0; // flip code 0 .. 3
        // Where it lies on the preview; a glyph stepped past the edge continues in Wrap
        // at the other side (empty when it does not).
        TRect Place;
        TRect Wrap;
    };
    const std::vector<TGlyph> &Glyphs() const { return m_glyphs; }
    int PreviewWidth() const { return m_previewWidth; }
    int PreviewHeight() const { return m_previewHeight; }
    // Lays the glyphs out as Compose lays tiles out, at glyph size. With rebuild the list
    // is made anew, all codes 0, and OnPreviewResize is called afterwards.
    void LayoutPreview(bool rebuild);
    // The glyph under p (every glyph but the first, which is the unit itself) advances its
    // code; true when one took the click.
    bool ClickPreview(TPoint p);
    std::function<void()> OnPreviewResize;

private:
    int clampedOffset(int style, int offset) const;
    // The rows of the rotation array in [row][column] order from the glyphs.
    TRotateArray glyphCodes() const;
    int glyphIndex(int row, int col) const;

    QImage m_unit;
    QImage m_result;
    int m_unitHeight = 0;
    int m_unitWidth = 0;
    int m_across = 1;
    int m_style = PlainGrid;
    int m_offset = 0;
    TPalette256 m_palette {};
    TPicOffSetArray m_offsets;
    TRotateArray m_rotations;
    int m_glyphOffset = 0;
    int m_down = 1;
    std::vector<TGlyph> m_glyphs;
    int m_previewWidth = 0;
    int m_previewHeight = 0;
};
