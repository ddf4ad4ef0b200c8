// Composing a repeat layout from its unit, and the glyph preview of the layout.
#include "editor/repeatcomposer.h"

#include "core/base/error.h"
#include "core/picture/picturelimits.h"
#include "core/settings/uitexts.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

int flipCode(const TRotateArray &rotations, int row, int col)
{
    if (row < 0 || row >= rotations.length())
        return 0;
    const auto &line = rotations[row];
    if (col < 0 || col >= line.length())
        return 0;
    return ((line[col] % 4) + 4) % 4;
}

// Copies unit row src (w cells, mirrored when mirror) into dst starting at x0, what passes
// the end of the row of rowWidth cells continuing at its start.
void copyRow(std::uint8_t *dst, int rowWidth, int x0, const std::uint8_t *src, int w, bool mirror)
{
    const int first = std::min(w, rowWidth - x0);
    const int rest = w - first;
    if (!mirror) {
        std::memcpy(dst + x0, src, std::size_t(first));
        if (rest > 0)
            std::memcpy(dst, src + first, std::size_t(rest));
    } else {
        std::reverse_copy(src + (w - first), src + w, dst + x0);
        if (rest > 0)
            std::reverse_copy(src, src + rest, dst);
    }
}

} // namespace

TMergePic::TMergePic()
{
    LayoutPreview(true);
}

void TMergePic::SetUnitPicture(const QImage &picture)
{
    if (picture.isNull()) {
        m_unit = QImage();
        m_unitWidth = m_unitHeight = 0;
        return;
    }
    GetBitmapPalette(picture, m_palette);
    BuildDisplayBitmap(m_unit, picture, m_palette);
    m_unitWidth = m_unit.width();
    m_unitHeight = m_unit.height();
}

void TMergePic::SetStyle(int style)
{
    m_style = style == RowsStepped || style == ColumnsStepped ? style : PlainGrid;
}

// Style 2 steps rows by whole multiples of the offset inside the unit's width, style 3
// columns inside its height: an offset of 0 or beyond the unit would give no steps.
int TMergePic::clampedOffset(int style, int offset) const
{
    if (style == RowsStepped)
        return std::clamp(offset, 1, std::max(1, m_unitWidth));
    if (style == ColumnsStepped)
        return std::clamp(offset, 1, std::max(1, m_unitHeight));
    return 0;
}

void TMergePic::SetOffset(int offset)
{
    m_offset = clampedOffset(m_style, offset);
    if (m_style == RowsStepped && m_unitWidth > 0)
        m_glyphOffset = std::max(1, int(std::trunc(double(m_offset) / m_unitWidth * GlyphWidth)));
    else if (m_style == ColumnsStepped && m_unitHeight > 0)
        m_glyphOffset = std::max(1, int(std::trunc(double(m_offset) / m_unitHeight * GlyphHeight)));
    else
        m_glyphOffset = m_style == PlainGrid ? 0 : 1;
    LayoutPreview(true);
}

int TMergePic::OffsetFromRatio(int style, double ratio)
{
    if (style == RowsStepped) {
        m_glyphOffset = std::max(1, int(std::trunc(GlyphWidth * ratio)));
        return clampedOffset(style, int(std::trunc(m_unitWidth * ratio)));
    }
    if (style == ColumnsStepped) {
        m_glyphOffset = std::max(1, int(std::trunc(GlyphHeight * ratio)));
        return clampedOffset(style, int(std::trunc(m_unitHeight * ratio)));
    }
    m_glyphOffset = 0;
    return 0;
}

void TMergePic::SetAcross(int count)
{
    m_across = std::max(1, count);
}

void TMergePic::SetDown(int count)
{
    m_down = std::max(1, count);
}

void TMergePic::SetRepeatInfo(const TRepeatPic &info)
{
    SetAcross(info.HorzCount);
    SetDown(info.VertCount);
    SetStyle(info.Value1);
    m_offsets = info.Offsets.copy();
    SetOffset(info.Value2);
    for (int r = 0; r < m_down; ++r)
        for (int c = 0; c < m_across; ++c)
            m_glyphs[std::size_t(glyphIndex(r, c))].Code = flipCode(info.Rotate, r, c);
    LayoutPreview(false);
}

void TMergePic::GetRepeatInfo(TRepeatPic &info) const
{
    info.UnitWidth = m_unitWidth;
    info.UnitHeight = m_unitHeight;
    info.HorzCount = m_across;
    info.VertCount = m_down;
    info.Rotate = glyphCodes();
    info.Value1 = m_style;
    info.Offsets = m_offsets.copy();
    info.Value2 = m_offset;
}

int TMergePic::glyphIndex(int row, int col) const
{
    return m_style == ColumnsStepped ? m_down * col + row : m_across * row + col;
}

TRotateArray TMergePic::glyphCodes() const
{
    TRotateArray codes(m_down);
    for (int r = 0; r < m_down; ++r) {
        TDynArray<std::int8_t> line(m_across);
        for (int c = 0; c < m_across; ++c) {
            const std::size_t i = std::size_t(glyphIndex(r, c));
            line[c] = std::int8_t(i < m_glyphs.size() ? m_glyphs[i].Code : 0);
        }
        codes[r] = line;
    }
    return codes;
}

// Every tile is copied straight from the unit, mirrored on the way where its code says,
// so the work is one pass over the result whatever the number of tiles.
bool TMergePic::Compose(int style, int offset, const TRotateArray &rotations, QString *error)
{
    const int w = m_unitWidth;
    const int h = m_unitHeight;
    const qint64 resultWidth = qint64(w) * m_across;
    const qint64 resultHeight = qint64(h) * m_down;
    if (m_unit.isNull() || resultWidth < 1 || resultHeight < 1 || resultWidth > MaxPictureSide
        || resultHeight > MaxPictureSide)
        return Fail(error,
            GetUiMessage(UiKey::String::RepeatSizeRefused)
                .arg(resultWidth)
                .arg(resultHeight)
                .arg(MaxPictureSide));
    if (!CheckPictureBudget(resultWidth, resultHeight, 1, error))
        return false;
    // Not cleared first: the tiles of every layout cover each cell of the result once.
    QImage result(int(resultWidth), int(resultHeight), QImage::Format_Indexed8);
    if (!result.isNull())
        SetBitmapPalette(result, m_palette);
    if (result.isNull())
        return Fail(error,
            GetUiMessage(UiKey::String::PictureTooLarge)
                .arg(resultWidth)
                .arg(resultHeight)
                .arg(PictureMemoryBudget >> 20));
    if (style != RowsStepped && style != ColumnsStepped)
        style = PlainGrid;
    offset = clampedOffset(style, offset);
    const int rw = int(resultWidth);
    const int rh = int(resultHeight);

    TPicOffSetArray offsets(style == ColumnsStepped ? m_across : m_down);
    if (style != ColumnsStepped) {
        const int steps = style == RowsStepped ? std::max(1, w / offset) : 1;
        for (int r = 0; r < m_down; ++r) {
            const int shift = style == RowsStepped ? (r % steps) * offset : 0;
            offsets[r] = shift;
            for (int c = 0; c < m_across; ++c) {
                const int code = flipCode(rotations, r, c);
                const int x0 = int((qint64(w) * c + shift) % rw);
                for (int y = 0; y < h; ++y) {
                    const int srcRow = (code & FlipTopBottom) ? h - 1 - y : y;
                    copyRow(result.scanLine(h * r + y), rw, x0, m_unit.constScanLine(srcRow), w,
                        (code & FlipLeftRight) != 0);
                }
            }
        }
    } else {
        const int steps = std::max(1, h / offset);
        for (int c = 0; c < m_across; ++c) {
            const int shift = (c % steps) * offset;
            offsets[c] = shift;
            for (int r = 0; r < m_down; ++r) {
                const int code = flipCode(rotations, r, c);
                for (int y = 0; y < h; ++y) {
                    const int srcRow = (code & FlipTopBottom) ? h - 1 - y : y;
                    const int dstRow = int((qint64(h) * r + y + shift) % rh);
                    copyRow(result.scanLine(dstRow), rw, w * c, m_unit.constScanLine(srcRow), w,
                        (code & FlipLeftRight) != 0);
                }
            }
        }
    }
    m_result = result;
    m_offsets = offsets;
    m_rotations = rotations;
    return true;
}

bool TMergePic::BuildResult(QString *error)
{
    return Compose(m_style, m_offset, glyphCodes(), error);
}

QImage TMergePic::TakeResult()
{
    QImage out = m_result;
    m_result = QImage();
    return out;
}

void TMergePic::LayoutPreview(bool rebuild)
{
    const std::size_t count = std::size_t(m_across) * std::size_t(m_down);
    if (rebuild || m_glyphs.size() != count)
        m_glyphs.assign(count, TGlyph {});
    m_previewWidth = m_across * GlyphWidth;
    m_previewHeight = m_down * GlyphHeight;
    const int step = m_style == RowsStepped ? std::max(1, m_glyphOffset)
        : m_style == ColumnsStepped         ? std::max(1, m_glyphOffset)
                                            : 0;
    for (int r = 0; r < m_down; ++r) {
        for (int c = 0; c < m_across; ++c) {
            TGlyph &g = m_glyphs[std::size_t(glyphIndex(r, c))];
            g.Wrap = TRect {};
            int x = GlyphWidth * c;
            int y = GlyphHeight * r;
            if (m_style == RowsStepped) {
                const int steps = std::max(1, GlyphWidth / step);
                x += (r % steps) * step;
                if (x + GlyphWidth > m_previewWidth)
                    g.Wrap = TRect { 0, y, x + GlyphWidth - m_previewWidth, y + GlyphHeight };
            } else if (m_style == ColumnsStepped) {
                const int steps = std::max(1, GlyphHeight / step);
                y += (c % steps) * step;
                if (y + GlyphHeight > m_previewHeight)
                    g.Wrap = TRect { x, 0, x + GlyphWidth, y + GlyphHeight - m_previewHeight };
            }
            g.Place = TRect { x, y, x + GlyphWidth, y + GlyphHeight };
        }
    }
    if (rebuild && OnPreviewResize)
        OnPreviewResize();
}

bool TMergePic::ClickPreview(TPoint p)
{
    auto inside
        = [p](const TRect &r) { return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom; };
    for (std::size_t i = 1; i < m_glyphs.size(); ++i) {
        TGlyph &g = m_glyphs[i];
        if (inside(g.Place) || inside(g.Wrap)) {
            g.Code = (g.Code + 1) % 4;
            return true;
        }
    }
    return false;
}
