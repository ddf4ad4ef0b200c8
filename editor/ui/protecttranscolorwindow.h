#pragma once
// TFrmDispProtATransColor: the protected and transparent colours window (显示保护色和透明色).
// A tool window beside the pattern that follows the active document: it lists the
// document's protected and transparent colours, adds the colour picked to the chosen set,
// makes a clicked colour the current one, and its pop-up menus remove colours. Every change
// is told to the palette bar through the palette notification.

#include "editor/protecttranscolors.h"

#include <QPointer>
#include <QWidget>

class QAction;
class QLabel;
class QPushButton;
class QRadioButton;
class TColorCellGrid;

class TFrmDispProtATransColor : public QWidget {
    Q_OBJECT
public:
    static constexpr int CellSize = 15;

    explicit TFrmDispProtATransColor(QWidget *parent = nullptr);
    static TFrmDispProtATransColor *CreateWithGrid(TPatternGrid *grid, QObject *gridOwner, QWidget *parent);

    void SetGrid(TPatternGrid *grid, QObject *gridOwner);
    TPatternGrid *Grid() const { return m_model.Grid(); }
    const TProtectTransColors &Model() const { return m_model; }

    // The set a pick joins, chosen by the radio buttons, the labels or a click in a grid.
    TColorSetKind Chosen() const { return m_chosen; }
    void Choose(TColorSetKind kind);
    // A colour was picked: the grid's text colour joins the chosen set.
    void ColorPicked();
    // The document's colours came to the palette bar: both lists again.
    void SyncPalette();
    // A click on a cell of a set's grid (entry = row * 32 + column).
    void ClickEntry(TColorSetKind kind, int entry);
    // The pop-up actions.
    void RemoveCurrent(TColorSetKind kind);
    void RemoveAll(TColorSetKind kind);
    void ApplyLanguage();

Q_SIGNALS:
    // A clicked colour became the grid's text colour: the palette bar's current colour
    // follows.
    void currentColorChosen(int index);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TColorCellGrid *buildGrid(TColorSetKind kind, const char *name);
    void addMenu(TColorCellGrid *grid, TColorSetKind kind, const char *one, const char *all);
    void drawCell(TColorSetKind kind, int col, int row, const QRect &rect);
    void changed();
    void repaintGrids();

    TProtectTransColors m_model;
    QPointer<QObject> m_gridOwner;
    TColorSetKind m_chosen = TColorSetKind::Protected;
    QRadioButton *m_protectButton = nullptr, *m_transButton = nullptr;
    QLabel *m_protectLabel = nullptr, *m_transLabel = nullptr;
    TColorCellGrid *m_protectGrid = nullptr, *m_transGrid = nullptr;
    QAction *m_removeOneProtect = nullptr, *m_removeAllProtect = nullptr;
    QAction *m_removeOneTrans = nullptr, *m_removeAllTrans = nullptr;
    QPushButton *m_close = nullptr;
};
