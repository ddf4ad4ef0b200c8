#pragma once
// TColorPercentTable: the colour statistics (显示颜色比例): how many cells each used colour
// has and its share of the pattern, in index order or by count.

#include "core/palette/palette.h"

#include <QString>
#include <QVector>

#include <cstdint>

class TColorPercentTable {
public:
    struct TRow {
        int Index = 0;
        std::int64_t Count = 0;
    };
    // Counts the cells of picture per colour; one row per used colour, in index order.
    void Count(const QImage &picture);
    std::int64_t Total() const { return m_total; }
    const QVector<TRow> &Rows() const { return m_rows; }
    // Largest count first; equal counts keep index order.
    void SortByCount();
    // The index order the rows were counted in.
    void SortByIndex();
    // The count as "%d" and its share of the total as "%2.4f" (a fraction of 1).
    static QString CountText(const TRow &row);
    QString FractionText(const TRow &row) const;

private:
    std::int64_t m_total = 0;
    QVector<TRow> m_rows;
};
