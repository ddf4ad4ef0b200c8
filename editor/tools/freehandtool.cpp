#include "editor/tools/freehandtool.h"

#include <cstdlib>

void TFreeLine::AddPoint(TPoint p)
{
    const TPoint cell = ScreenToCell(p);
    if (!m_hasLast) {
        m_hasLast = true;
        m_last = cell;
        fire(m_onRefresh);
        return;
    }
    m_segment.clear();
    RasterizeLine(m_last, cell, 1, m_segment);
    m_last = cell;
    if (m_filled) {
        m_cellPath.insert(m_cellPath.end(), m_segment.begin(), m_segment.end());
    } else if (shifts()) {
        for (const TPoint &c : m_segment) {
            const int key = m_binding.Horizontal ? c.Y : c.X;
            if (!m_kept.insert(key).second)
                continue;
            const bool odd = ((c.X + c.Y) & 1) != 0;
            TPoint kept = c;
            if ((m_binding.EvenShift && !odd) || (m_binding.OddShift && odd)) {
                if (m_binding.Horizontal)
                    ++kept.X;
                else
                    ++kept.Y;
            }
            m_cellPath.push_back(kept);
        }
    } else {
        for (const TPoint &c : m_segment)
            StampBlock(c, m_horzWidth, m_vertWidth, m_cellPath);
    }
    Changed();
    fire(m_onRefresh);
}

void TFreeLine::OffsetPoints(int dx, int dy)
{
    for (TPoint &c : m_cellPath)
        c = { c.X + dx, c.Y + dy };
    m_last = { m_last.X + dx, m_last.Y + dy };
    Changed();
}

void TFreeLine::Changed()
{
    if (!m_cellPath.empty())
        TDrawObject::Changed();
}

void TFreeLine::Clear()
{
    TCustomLine::Clear();
    m_hasLast = false;
    m_segment.clear();
    m_kept.clear();
}

void TFreeLine::Finish()
{
    TCustomLine::Finish();
    m_penMode = TPenMode::Copy;
}

void TFreeLine::fillGaps()
{
    TCellList filled;
    filled.reserve(m_cellPath.size());
    for (std::size_t i = 0; i < m_cellPath.size(); ++i) {
        filled.push_back(m_cellPath[i]);
        if (i + 1 == m_cellPath.size())
            break;
        const TPoint a = m_cellPath[i], b = m_cellPath[i + 1];
        const int missing = std::abs(b.X - a.X) - 1;
        if (missing < 1)
            continue;
        const int step = b.X > a.X ? 1 : -1;
        const int firstHalf = (missing + 1) / 2;
        for (int k = 1; k <= missing; ++k)
            filled.push_back({ a.X + step * k, k <= firstHalf ? a.Y : b.Y });
    }
    m_cellPath = std::move(filled);
}

void TFreeLine::ApplyGapFill()
{
    if (shifts() && m_binding.GapFill)
        fillGaps();
}

void TFreeLine::commit(QImage &picture)
{
    ApplyGapFill();
    if (!m_filled)
        paintCells(picture, m_cellPath);
}

void TFreeLine::PaintShape(QImage &screen)
{
    previewCells(screen, m_cellPath);
}

void TFreeLine::assignShape(const TCustomLine &source)
{
    const auto *line = dynamic_cast<const TFreeLine *>(&source);
    if (!line)
        return;
    m_cellPath = line->m_cellPath;
    m_hasLast = line->m_hasLast;
    m_last = line->m_last;
    m_segment = line->m_segment;
    m_kept = line->m_kept;
}
