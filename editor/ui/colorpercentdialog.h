#pragma once
// TFrmShowColorPercent: the colour statistics dialog (显示颜色比例).
// A modal dialog: the pattern's cell count, and per used colour its swatch, index, cell
// count and share of the pattern; a click on the count's header sorts by count, largest
// first, a click on the index's header puts the index order back.

#include "editor/colorpercent.h"

#include <QDialog>

class QLabel;
class QTableWidget;
class TPatternGrid;

class TFrmShowColorPercent : public QDialog {
    Q_OBJECT
public:
    enum TColumn { ColName = 0, ColIndex = 1, ColCount = 2, ColPercent = 3 };

    // Counts the cells of grid's pattern (the wait cursor meanwhile).
    TFrmShowColorPercent(const TPatternGrid &grid, QWidget *parent = nullptr);
    static TFrmShowColorPercent *CreateWithChild(const TPatternGrid &grid, QWidget *parent);

    const TColorPercentTable &Table() const { return m_table; }
    // As a click on that column's header.
    void SortByColumn(int column);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void fill();

    const TPalette256 m_palette;
    TColorPercentTable m_table;
    QLabel *m_countLabel = nullptr;
    QTableWidget *m_rows = nullptr;
};
