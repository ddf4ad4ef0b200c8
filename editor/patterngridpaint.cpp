// Painting of the pattern grid. Only the visible cells are read: they are converted at one
// pixel per cell into the view image, the drawing objects' shapes are drawn on it in cells,
// it is stretched once into the paint buffer (each cell becomes a block of one pitch), and
// the grid lines, compartment lines and the navigator frame are drawn over them. The cost
// follows the client size, not the picture size.
#include "editor/patterngrid.h"

#include "editor/tools/customline.h"
#include "editor/tools/rectangletool.h"

#include <QPainter>

#include <algorithm>
#include <cstring>

namespace {

// Fills the rectangle [x0, x1) x [y0, y1), clipped to the image.
void fillRect(QImage &img, int x0, int y0, int x1, int y1, QRgb color)
{
    x0 = std::max(0, x0);
    y0 = std::max(0, y0);
    x1 = std::min(img.width(), x1);
    y1 = std::min(img.height(), y1);
    for (int y = y0; y < y1; ++y) {
        auto *row = reinterpret_cast<QRgb *>(img.scanLine(y));
        std::fill(row + x0, row + std::max(x0, x1), color);
    }
}

void setPixel(QImage &img, int x, int y, QRgb color)
{
    if (x >= 0 && y >= 0 && x < img.width() && y < img.height())
        reinterpret_cast<QRgb *>(img.scanLine(y))[x] = color;
}

} // namespace

int TPatternGrid::PaintColCount() const
{
    if (ColCount() == 0)
        return 0;
    const TGridAxisInfo a = m_grid.CalcDrawInfo().Horz;
    return std::max(0, std::min(ColCount(), a.LastFullVisibleCell + 2) - LeftCol());
}

int TPatternGrid::PaintRowCount() const
{
    if (RowCount() == 0)
        return 0;
    const TGridAxisInfo a = m_grid.CalcDrawInfo().Vert;
    return std::max(0, std::min(RowCount(), a.LastFullVisibleCell + 2) - TopRow());
}

// How one paint lays the visible cells out in the client area.
struct TPatternGrid::TPaintLayout {
    int Cols = 0; // visible cells
    int Rows = 0;
    int ColW = 0; // a cell's pixels
    int RowH = 0;
    int LineH = 0; // grid line widths after a column, after a row
    int LineV = 0;
    int PitchX = 1; // a cell with its line
    int PitchY = 1;
    int Width = 0; // the stretched cells, clipped to the client
    int Height = 0;
    bool Reduced = false; // below the base zoom level
    QRgb Line = 0;
};

void TPatternGrid::Paint(QImage &buffer) const
{
    const int cw = m_grid.ClientWidth, ch = m_grid.ClientHeight;
    if (buffer.width() != cw || buffer.height() != ch || buffer.format() != QImage::Format_RGB32)
        buffer = QImage(cw, ch, QImage::Format_RGB32);
    if (buffer.isNull())
        return;
    const QImage &picture = shownPicture();
    const TPaintLayout layout
        = picture.isNull() || picture.format() != QImage::Format_Indexed8 ? TPaintLayout {} : paintLayout();
    if (layout.Cols == 0 || layout.Rows == 0 || !paintVisibleCells(picture, layout)) {
        buffer.fill(qRgb(0, 0, 0));
        return;
    }
    // The cells cover their part of the buffer whole; only what lies right of and below
    // them is cleared, so that the client area is written once per paint.
    fillRect(buffer, layout.Width, 0, cw, layout.Height, qRgb(0, 0, 0));
    fillRect(buffer, 0, layout.Height, cw, ch, qRgb(0, 0, 0));
    paintFloatingBitmap();
    paintFloatingText();
    paintRepeatOutline();
    paintShapes();
    prepareGridLines(layout);
    stretchCells(buffer, layout);
    paintCompartLines(buffer, layout);
    paintVertexMarkers(buffer);
    paintNavigatorFrame(buffer);
    paintCrossHair(buffer, layout);
}

TPatternGrid::TPaintLayout TPatternGrid::paintLayout() const
{
    const TGridDrawInfo info = m_grid.CalcDrawInfo();
    TPaintLayout l;
    l.Cols = PaintColCount();
    l.Rows = PaintRowCount();
    l.ColW = m_grid.DefaultColWidth;
    l.RowH = m_grid.DefaultRowHeight;
    l.LineH = info.Horz.EffectiveLineWidth;
    l.LineV = info.Vert.EffectiveLineWidth;
    l.PitchX = std::max(1, l.ColW + l.LineH);
    l.PitchY = std::max(1, l.RowH + l.LineV);
    l.Width = std::min(m_grid.ClientWidth, l.PitchX * l.Cols);
    l.Height = std::min(m_grid.ClientHeight, l.PitchY * l.Rows);
    l.Reduced = m_zoomLevel < BaseZoomLevel;
    l.Line = ToQColor(m_grid.LineColor()).rgb();
    return l;
}

// The visible cells at one pixel per cell into the view image, with one more column than
// cells for the stretch. False when the image cannot be made.
bool TPatternGrid::paintVisibleCells(const QImage &picture, const TPaintLayout &l) const
{
    QRgb lut[256];
    const TPalette256 &palette = shownPalette();
    for (int i = 0; i < 256; ++i)
        lut[i] = qRgb(palette[i].Red, palette[i].Green, palette[i].Blue);
    if (m_flash.Active)
        lut[m_flash.Index] = m_flash.Shown;
    if (m_viewBitmap.width() != l.Cols + 1 || m_viewBitmap.height() != l.Rows) {
        // The view image lives in memory kept from earlier paints, grown only when a view
        // has more cells than any before: a zoom step then writes into pages the process
        // already has, where fresh pages would cost more than the paint itself.
        const std::size_t cells = std::size_t(l.Cols + 1) * std::size_t(l.Rows);
        if (m_viewStore.size() < cells) {
            m_viewBitmap = QImage();
            m_viewStore = std::vector<QRgb>();
            m_viewStore.resize(cells);
        }
        m_viewBitmap = QImage(reinterpret_cast<uchar *>(m_viewStore.data()), l.Cols + 1, l.Rows,
            qsizetype(l.Cols + 1) * qsizetype(sizeof(QRgb)), QImage::Format_RGB32);
    }
    if (m_viewBitmap.isNull())
        return false;
    const int nc = l.Cols, pw = picture.width(), ph = picture.height();
    for (int y = 0; y < l.Rows; ++y) {
        const int sy = l.Reduced ? ReducedSourceRow(TopRow() + y) : TopRow() + y;
        auto *dst = reinterpret_cast<QRgb *>(m_viewBitmap.scanLine(y));
        if (sy < 0 || sy >= ph) {
            std::fill(dst, dst + nc, qRgb(0, 0, 0));
            continue;
        }
        const uchar *src = picture.constScanLine(sy);
        if (l.Reduced) {
            for (int x = 0; x < nc; ++x) {
                const int sx = ReducedSourceCol(LeftCol() + x);
                dst[x] = sx < pw ? lut[src[sx]] : qRgb(0, 0, 0);
            }
        } else {
            const int n = std::max(0, std::min(nc, pw - LeftCol()));
            for (int x = 0; x < n; ++x)
                dst[x] = lut[src[LeftCol() + x]];
            std::fill(dst + n, dst + nc, qRgb(0, 0, 0));
        }
    }
    return true;
}

// The shapes go in the view's cells, before the stretch, so that they take the blocks'
// size at every zoom level. The object's canvas is the view image (set once); where cell
// (0, 0) lands is scratch state of this paint, not a state of the grid. A cleared outline
// costs this one test.
void TPatternGrid::paintRepeatOutline() const
{
    if (m_repeatFrameObject->GetPointCount() > 0) {
        m_repeatFrameObject->SetPreviewOrigin({ -LeftCol(), -TopRow() });
        m_repeatFrameObject->Draw();
    }
}

// The tools keep picture cells (scale 1); only while they paint do they take the view's
// scales, so that below level 9 their shapes land on the reduced cells.
void TPatternGrid::paintShapes() const
{
    for (TCustomLine *tool : { m_regionObject.get(), m_drawObject.get() }) {
        if (!tool || tool->GetPointCount() == 0 || tool->Mode() == TDrawMode::Idle)
            continue;
        tool->SetPreviewCanvas(&m_viewBitmap);
        tool->SetPreviewOrigin({ -LeftCol(), -TopRow() });
        tool->SetScaleX(m_scaleX);
        tool->SetScaleY(m_scaleY);
        tool->PaintShape(m_viewBitmap);
        tool->SetScaleX(1.0);
        tool->SetScaleY(1.0);
    }
}

// The grid lines are drawn by the stretch: the pixels of a vertical line take the extra
// column of the view row, which holds the line colour, and the map sends them there.
void TPatternGrid::prepareGridLines(const TPaintLayout &l) const
{
    m_stretchMap.resize(std::size_t(l.Width));
    for (int px = 0; px < l.Width; ++px)
        m_stretchMap[std::size_t(px)] = l.LineH > 0 && px % l.PitchX >= l.ColW ? l.Cols : px / l.PitchX;
    for (int y = 0; y < l.Rows; ++y)
        reinterpret_cast<QRgb *>(m_viewBitmap.scanLine(y))[l.Cols] = l.Line;
}

// Every cell becomes a block of one pitch; the line after a cell covers the line width's
// pixels after it, and the rows of a horizontal line are the line colour across.
void TPatternGrid::stretchCells(QImage &buffer, const TPaintLayout &l) const
{
    uchar *bits = buffer.bits();
    const qsizetype stride = buffer.bytesPerLine();
    const std::size_t rowBytes = std::size_t(l.Width) * sizeof(QRgb);
    int lastRow = -1;
    for (int py = 0; py < l.Height; ++py) {
        const int vy = py / l.PitchY;
        auto *dst = reinterpret_cast<QRgb *>(bits + py * stride);
        if (l.LineV > 0 && py % l.PitchY >= l.RowH) {
            std::fill(dst, dst + l.Width, l.Line);
            lastRow = -1;
            continue;
        }
        if (vy == lastRow) {
            std::memcpy(dst, bits + (py - 1) * stride, rowBytes);
            continue;
        }
        lastRow = vy;
        const auto *src = reinterpret_cast<const QRgb *>(m_viewBitmap.constScanLine(vy));
        if (l.PitchX == 1 && l.LineH == 0) {
            std::memcpy(dst, src, rowBytes);
        } else {
            const int *map = m_stretchMap.data();
            for (int px = 0; px < l.Width; ++px)
                dst[px] = src[map[px]];
        }
    }
}

// Compartment lines: a 1-pixel line along the grid line with a dot of the grid line colour
// at the middle of every cell edge it passes. Rows are numbered from the bottom or from
// the top as the grid shows them.
void TPatternGrid::paintCompartLines(QImage &buffer, const TPaintLayout &l) const
{
    if ((l.LineH <= 0 && l.LineV <= 0) || !m_grid.DefaultCompartLine)
        return;
    const QRgb compart = ToQColor(m_grid.CompartLineColor()).rgb();
    if (l.LineH > 0) {
        for (int i = 0; i < l.Cols; ++i) {
            if (!m_grid.IsColCompartLine(LeftCol() + i))
                continue;
            const int x = i * l.PitchX + l.ColW + l.LineH / 2;
            fillRect(buffer, x, 0, x + 1, l.Height, compart);
            for (int y = l.RowH / 2; y < l.Height; y += l.PitchY)
                setPixel(buffer, x, y, l.Line);
        }
    }
    if (l.LineV > 0) {
        const bool fromTop = m_grid.StartPos == TStartPos::spLeftTop;
        for (int j = 0; j < l.Rows; ++j) {
            const int r = TopRow() + j;
            // Counted from the bottom, the line below the bottom row starts the numbering
            // and is no compartment line.
            if (!m_grid.IsRowCompartLine(r, fromTop) || (!fromTop && r == RowCount() - 1))
                continue;
            const int y = j * l.PitchY + l.RowH + l.LineV / 2;
            fillRect(buffer, -1, y, l.Width - 1, y + 1, compart);
            for (int x = l.ColW / 2; x < l.Width; x += l.PitchX)
                setPixel(buffer, x, y, l.Line);
        }
    }
}

// The tools' vertex markers, on the cells as the grid lays them out; below level 9 the
// view's scales take each vertex to the reduced cell that shows it.
void TPatternGrid::paintVertexMarkers(QImage &buffer) const
{
    for (TCustomLine *tool : { m_regionObject.get(), m_drawObject.get() }) {
        if (!tool || tool->GetPointCount() == 0 || tool->Mode() == TDrawMode::Idle)
            continue;
        tool->SetTarget(&buffer);
        tool->SetScaleX(m_scaleX);
        tool->SetScaleY(m_scaleY);
        tool->DrawMarkers();
        tool->SetScaleX(1.0);
        tool->SetScaleY(1.0);
        tool->SetTarget(nullptr);
    }
}

// The frame is inverted along its outline as a 2-pixel pen draws it, one pixel either side
// of each edge, every pixel once. It is drawn here rather than with a painter: the edges
// run the whole height of the navigator, which a painter would fill line by line through
// its thread pool on every scroll and zoom step.
void TPatternGrid::paintNavigatorFrame(QImage &buffer) const
{
    if (m_navigatorFrame.Width() <= 0 || m_navigatorFrame.Height() <= 0)
        return;
    const int l = m_navigatorFrame.Left - LeftCol(), t = m_navigatorFrame.Top - TopRow();
    const int r = l + m_navigatorFrame.Width(), b = t + m_navigatorFrame.Height();
    // The outline is the outer box [l - 1, r + 1) x [t - 1, b + 1) without the inner box
    // [l + 1, r - 1) x [t + 1, b - 1).
    const bool hollow = l + 1 < r - 1;
    const int y0 = std::max(0, t - 1), y1 = std::min(buffer.height(), b + 1);
    const int w = buffer.width();
    auto invert = [w](QRgb *row, int x0, int x1) {
        for (int x = std::max(0, x0), end = std::min(w, x1); x < end; ++x)
            row[x] ^= 0x00FFFFFF;
    };
    for (int y = y0; y < y1; ++y) {
        auto *row = reinterpret_cast<QRgb *>(buffer.scanLine(y));
        if (hollow && y >= t + 1 && y < b - 1) {
            invert(row, l - 1, l + 1);
            invert(row, r - 1, r + 1);
        } else {
            invert(row, l - 1, r + 1);
        }
    }
}

// The cross-hair over the cell under the pointer: one line along its row and one along its
// column through the cell's middle, not-xor, across the view or a few cells long.
void TPatternGrid::paintCrossHair(QImage &buffer, const TPaintLayout &l) const
{
    if (!(m_crossHair.LargeCursor || m_crossHair.SmallCursor) || m_crossHair.NoCursor || m_lastCell.X < 0)
        return;
    const int vx = l.Reduced ? int(m_lastCell.X * m_scaleX) : m_lastCell.X;
    const int vy = l.Reduced ? int(m_lastCell.Y * m_scaleY) : m_lastCell.Y;
    const int cx = (vx - LeftCol()) * l.PitchX + l.ColW / 2, cy = (vy - TopRow()) * l.PitchY + l.RowH / 2;
    int x0 = 0, x1 = buffer.width(), y0 = 0, y1 = buffer.height();
    if (!m_crossHair.LargeCursor) {
        const int n = std::max(1, m_crossHair.CursorSize);
        x0 = cx - n * l.PitchX;
        x1 = cx + n * l.PitchX + 1;
        y0 = cy - n * l.PitchY;
        y1 = cy + n * l.PitchY + 1;
    }
    QPainter p(&buffer);
    p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(x0, cy, x1 - 1, cy);
    p.drawLine(cx, y0, cx, y1 - 1);
}
