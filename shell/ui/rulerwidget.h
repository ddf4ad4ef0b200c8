#pragma once
// TRuler: the top and left rulers of a document window.
// A ruler shows the numbers of the visible columns (top ruler) or wefts (left ruler,
// counted from the bottom) of a pattern grid at its compartment steps, thinned so that
// numbers never overlap when the cells are narrow. The font is a CJK-capable one found
// through fontconfig, so that the rulers look like the rest of the Chinese interface.

#include <QWidget>

class TPatternGrid;

class TRuler : public QWidget {
    Q_OBJECT
public:
    TRuler(Qt::Orientation orientation, TPatternGrid &grid, QWidget *parent = nullptr);

    // The cell numbers (from 1: columns from the left, wefts from the bottom) labelled for
    // the current scroll position and size, and the pixel of each label's mark.
    QList<int> VisibleLabels() const;
    QList<int> VisibleMarks() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct TLabel {
        int Number;
        int Position; // pixels from the start of the ruler
    };
    QList<TLabel> labels() const;

    Qt::Orientation m_orientation;
    TPatternGrid &m_grid;
};
