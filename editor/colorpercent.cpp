#include "editor/colorpercent.h"

#include <algorithm>

void TColorPercentTable::Count(const QImage &picture)
{
    m_total = std::int64_t(picture.width()) * picture.height();
    m_rows.clear();
    if (picture.isNull() || picture.format() != QImage::Format_Indexed8)
        return;
    TColorCounts counts;
    CountColorUse(picture, counts);
    for (const auto &c : counts)
        if (c.Count > 0)
            m_rows.append({ int(c.Index), c.Count });
    SortByIndex();
}

// A stable sort of the rows of their own: the library's count sort does not keep the
// order of equal counts.
void TColorPercentTable::SortByCount()
{
    std::stable_sort(
        m_rows.begin(), m_rows.end(), [](const TRow &a, const TRow &b) { return a.Count > b.Count; });
}

void TColorPercentTable::SortByIndex()
{
    std::sort(m_rows.begin(), m_rows.end(), [](const TRow &a, const TRow &b) { return a.Index < b.Index; });
}

QString TColorPercentTable::CountText(const TRow &row)
{
    return QString::asprintf("%lld", static_cast<long long>(row.Count));
}

QString TColorPercentTable::FractionText(const TRow &row) const
{
    const double fraction = m_total > 0 ? double(row.Count) / double(m_total) : 0.0;
    return QString::asprintf("%2.4f", fraction);
}
