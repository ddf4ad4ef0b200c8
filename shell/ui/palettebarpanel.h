#pragma once
// TFramPalette: the palette bar at the main window's edge.
// The palette bar: the active document's 256 colours as a strip of cells (a left click
// picks the foreground colour, a right click the background colour, a double click edits
// a colour), the two swatches, the exchange button, the protect button and two arrows
// that scroll the strip (held down, every 180 ms; with Ctrl by pages).

#include "editor/ui/cellgrid.h"
#include "shell/palettebar.h"

#include <QDockWidget>

#include <functional>

class QToolButton;
class TFramPalette;

// The strip of colour cells.
class TPaletteGrid : public TIDrawGrid {
    Q_OBJECT
public:
    explicit TPaletteGrid(TFramPalette &bar, QWidget *parent = nullptr);

protected:
    void DrawCell(int col, int row, const QRect &rect, unsigned state) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    TFramPalette &m_bar;
};

class TFramPalette : public QDockWidget {
    Q_OBJECT
public:
    explicit TFramPalette(QWidget *parent = nullptr);

    TPaletteBarModel &Model() { return m_model; }
    TPaletteGrid *Grid() const { return m_grid; }
    QToolButton *ForeSwatch() const { return m_fore; }
    QToolButton *BackSwatch() const { return m_back; }
    QToolButton *ExchangeButton() const { return m_exchange; }
    QToolButton *LockButton() const { return m_lock; }
    QToolButton *LeftArrow() const { return m_left; }
    QToolButton *RightArrow() const { return m_right; }

    // Who chooses a new colour on a double click (the colour dialog unless replaced);
    // false when cancelled.
    std::function<bool(TColor &color)> ChooseColor;

    // Redraws the cells, the swatches and the lock button from the model.
    void Refresh();
    void ApplyLanguage();
    // One scroll step (right or left; with ctrl a page).
    void Scroll(bool right, bool ctrl);
    // Absorb colour (14) shows its cursor over the bar.
    void SetTool(int toolId);
    int ToolId() const { return m_toolId; }
    // The first colour of the strip becomes the current one and is sent as a pick.
    void SelectFirstColour();

Q_SIGNALS:
    // A pick to send to the main window.
    void ColorPicked(const TColorPickInfo &info);
    // The pointer is over colour index.
    void PointerOver(int index);
    // A colour was edited (a double click that changed it).
    void ColorEdited(int index);
    // The exchange button swapped the current and the background colour.
    void Exchanged();
    // A swatch was clicked: picks go to the background (back) or the foreground colour.
    void TargetChosen(bool back);

private:
    friend class TPaletteGrid;
    void showSwatch(QToolButton *swatch, int index);

    TPaletteBarModel m_model;
    TPaletteGrid *m_grid = nullptr;
    QToolButton *m_fore = nullptr;
    QToolButton *m_back = nullptr;
    QToolButton *m_exchange = nullptr;
    QToolButton *m_lock = nullptr;
    QToolButton *m_left = nullptr;
    QToolButton *m_right = nullptr;
    int m_toolId = 8;
};
