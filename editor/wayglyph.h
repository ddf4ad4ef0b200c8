#pragma once
// TWayStyle: the direction glyph of one repeat in the repeat-layout preview (回位模式).
// The glyph shows a repeat's flip code as a figure: a slanted point rising from the lower
// left to the top, followed by a bar along the lower half (code 0, the unit as it is),
// mirrored top to bottom (1), left to right (2) or both ways (3). It is drawn on a white
// ground with a black border, the figure filled black. The composer keeps the codes and
// the places of the glyphs (TMergePic::TGlyph); a glyph object draws one of them and
// answers a click inside its rectangle by advancing the code.

#include "core/base/geometry.h"

#include <QRect>

#include <array>

class QPainter;

class TWayStyle {
public:
    static constexpr double Slant = 0.3155; // where the point's top lies along the width

    // A glyph of width x height pixels, style 0, at (0, 0).
    explicit TWayStyle(int width = 100, int height = 30);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int Style() const { return m_style; }
    // Codes outside 0 .. 3 are taken modulo 4.
    void SetStyle(int style);
    // Where the glyph lies on the preview (right and bottom one past the last pixel).
    const TRect &Rect() const { return m_rect; }
    void SetRect(const TRect &rect) { m_rect = rect; }
    // The figure's five points in drawing order, in the glyph's own pixels.
    std::array<TPoint, 5> Points() const;
    // Draws the glyph with its top-left corner at origin (clipped by the painter only).
    void Draw(QPainter &painter, QPoint origin) const;
    // Inside the rectangle: the style advances ((Style + 1) mod 4) and true; else false
    // and nothing changes.
    bool Click(TPoint p);

private:
    int m_width;
    int m_height;
    int m_style = 0;
    TRect m_rect;
};
