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

QRgb toRgb(TColor c)
{
    return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

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

void TPatternGrid::Paint(QImage &buffer) const
{
    const int cw = m_grid.ClientWidth, ch = m_grid.ClientHeight;
    if (buffer.width() != cw || buffer.height() != ch || buffer.format() != QImage::Format_RGB32)
        buffer = QImage(cw, ch, QImage::Format_RGB32);
    if (buffer.isNull())
        return;
    buffer.fill(qRgb(0, 0, 0));
    const QImage &picture = shownPicture();
    if (picture.isNull() || picture.format() != QImage::Format_Indexed8)
        return;

    const TGridDrawInfo info = m_grid.CalcDrawInfo();
    const int nc = PaintColCount(), nr = PaintRowCount();
    if (nc == 0 || nr == 0)
        return;
    const int colW = m_grid.DefaultColWidth, rowH = m_grid.DefaultRowHeight;
    const int lwH = info.Horz.EffectiveLineWidth, lwV = info.Vert.EffectiveLineWidth;
    const int pitchX = std::max(1, colW + lwH), pitchY = std::max(1, rowH + lwV);
    const bool reduced = m_zoomLevel < BaseZoomLevel;

    // The visible cells at one pixel per cell.
    QRgb lut[256];
    const TPalette256 &palette = shownPalette();
    for (int i = 0; i < 256; ++i)
        lut[i] = qRgb(palette[i].Red, palette[i].Green, palette[i].Blue);
    if (m_flash.Active)
        lut[m_flash.Index] = m_flash.Shown;
    // One more column than cells: the grid line colour, for the stretch below.
    if (m_viewBitmap.width() != nc + 1 || m_viewBitmap.height() != nr)
        m_viewBitmap = QImage(nc + 1, nr, QImage::Format_RGB32);
    if (m_viewBitmap.isNull())
        return;
    const int pw = picture.width(), ph = picture.height();
    for (int y = 0; y < nr; ++y) {
        const int sy = reduced ? ReducedSourceRow(TopRow() + y) : TopRow() + y;
        auto *dst = reinterpret_cast<QRgb *>(m_viewBitmap.scanLine(y));
        if (sy < 0 || sy >= ph) {
            std::fill(dst, dst + nc, qRgb(0, 0, 0));
            continue;
        }
        const uchar *src = picture.constScanLine(sy);
        if (reduced) {
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

    // The shapes in the view's cells, before the stretch, so that they take the blocks'
    // size at every zoom level. The object's canvas is the view image (set once); where
    // cell (0, 0) lands is scratch state of this paint, not a state of the grid. A cleared
    // outline costs this one test.
    if (m_repeatFrameObject->GetPointCount() > 0) {
        m_repeatFrameObject->SetPreviewOrigin({ -LeftCol(), -TopRow() });
        m_repeatFrameObject->Draw();
    }
    // The tools keep picture cells (scale 1); only while they paint do they take the
    // view's scales, so that below level 9 their shapes land on the reduced cells.
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

    // Stretch: every cell becomes a block of one pitch, and the grid lines are drawn on
    // the way: the line after a cell covers the line width's pixels after the cell.
    // Pixels of a vertical line take the extra column of the view row, which holds the
    // line colour; the rows of a horizontal line are the line colour across.
    const bool lines = lwH > 0 || lwV > 0;
    const QRgb line = toRgb(m_grid.LineColor());
    const int sw = std::min(cw, pitchX * nc), sh = std::min(ch, pitchY * nr);
    m_stretchMap.resize(sw);
    for (int px = 0; px < sw; ++px)
        m_stretchMap[px] = lwH > 0 && px % pitchX >= colW ? nc : px / pitchX;
    for (int y = 0; y < nr; ++y)
        reinterpret_cast<QRgb *>(m_viewBitmap.scanLine(y))[nc] = line;
    uchar *bits = buffer.bits();
    const qsizetype stride = buffer.bytesPerLine();
    int lastRow = -1;
    for (int py = 0; py < sh; ++py) {
        const int vy = py / pitchY;
        auto *dst = reinterpret_cast<QRgb *>(bits + py * stride);
        if (lwV > 0 && py % pitchY >= rowH) {
            std::fill(dst, dst + sw, line);
            lastRow = -1;
            continue;
        }
        if (vy == lastRow) {
            std::memcpy(dst, bits + (py - 1) * stride, size_t(sw) * sizeof(QRgb));
            continue;
        }
        lastRow = vy;
        const auto *src = reinterpret_cast<const QRgb *>(m_viewBitmap.constScanLine(vy));
        if (pitchX == 1 && lwH == 0) {
            std::memcpy(dst, src, size_t(sw) * sizeof(QRgb));
        } else {
            const int *map = m_stretchMap.data();
            for (int px = 0; px < sw; ++px)
                dst[px] = src[map[px]];
        }
    }

    if (lines) {

        // Compartment lines: a 1-pixel line along the grid line with a dot of the grid
        // line colour at the middle of every cell edge it passes. Rows are numbered from
        // the bottom or from the top as the grid shows them.
        if (m_grid.DefaultCompartLine) {
            const QRgb compart = toRgb(m_grid.CompartLineColor());
            if (lwH > 0) {
                for (int i = 0; i < nc; ++i) {
                    if (!m_grid.IsColCompartLine(LeftCol() + i))
                        continue;
                    const int x = i * pitchX + colW + lwH / 2;
                    fillRect(buffer, x, 0, x + 1, sh, compart);
                    for (int y = rowH / 2; y < sh; y += pitchY)
                        setPixel(buffer, x, y, line);
                }
            }
            if (lwV > 0) {
                const bool fromTop = m_grid.StartPos == TStartPos::spLeftTop;
                for (int j = 0; j < nr; ++j) {
                    const int r = TopRow() + j;
                    // Counted from the bottom, the line below the bottom row starts the
                    // numbering and is no compartment line.
                    if (!m_grid.IsRowCompartLine(r, fromTop) || (!fromTop && r == RowCount() - 1))
                        continue;
                    const int y = j * pitchY + rowH + lwV / 2;
                    fillRect(buffer, -1, y, sw - 1, y + 1, compart);
                    for (int x = colW / 2; x < sw; x += pitchX)
                        setPixel(buffer, x, y, line);
                }
            }
        }
    }

    // The tools' vertex markers, on the cells as the grid lays them out; below level 9 the
    // view's scales take each vertex to the reduced cell that shows it.
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

    if (m_navigatorFrame.Width() > 0 && m_navigatorFrame.Height() > 0) {
        QPainter p(&buffer);
        p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
        QPen pen(Qt::black, 2);
        pen.setJoinStyle(Qt::MiterJoin);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(m_navigatorFrame.Left - LeftCol(), m_navigatorFrame.Top - TopRow(),
            m_navigatorFrame.Width(), m_navigatorFrame.Height()));
    }

    // The cross-hair over the cell under the pointer: one line along its row and one along
    // its column through the cell's middle, not-xor, across the view or a few cells long.
    if ((m_crossHair.LargeCursor || m_crossHair.SmallCursor) && !m_crossHair.NoCursor && m_lastCell.X >= 0) {
        const int vx = reduced ? int(m_lastCell.X * m_scaleX) : m_lastCell.X;
        const int vy = reduced ? int(m_lastCell.Y * m_scaleY) : m_lastCell.Y;
        const int cx = (vx - LeftCol()) * pitchX + colW / 2, cy = (vy - TopRow()) * pitchY + rowH / 2;
        int x0 = 0, x1 = cw, y0 = 0, y1 = ch;
        if (!m_crossHair.LargeCursor) {
            const int n = std::max(1, m_crossHair.CursorSize);
            x0 = cx - n * pitchX;
            x1 = cx + n * pitchX + 1;
            y0 = cy - n * pitchY;
            y1 = cy + n * pitchY + 1;
        }
        QPainter p(&buffer);
        p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
        p.setPen(QPen(Qt::black, 1));
        p.drawLine(x0, cy, x1 - 1, cy);
        p.drawLine(cx, y0, cx, y1 - 1);
    }
}
