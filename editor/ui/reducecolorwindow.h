#pragma once
// TFrmReduceColor: the colour reduction (降色) window.
// A tool window beside the pattern: it shows the group heads, each group's colours and the
// colours in no group of its document, lets the user choose them automatically or by hand
// (picks in the pattern arrive through ColorPicked) and OK reduces the picture to the heads
// in one undoable step. It follows the document it is given and closes with it.

#include "editor/colorreduction.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class TColorCellGrid;

class TFrmReduceColor : public QWidget {
    Q_OBJECT
public:
    static constexpr int CollapsedHeight = 169;
    static constexpr int ExpandedHeight = 393;

    // Not started yet: the difference box takes the stored "ColorLeft".
    explicit TFrmReduceColor(QWidget *parent = nullptr);
    // A new window (freed on close) on grid, whose end (gridOwner's) closes it.
    static TFrmReduceColor *CreateWithGrid(TPatternGrid *grid, QObject *gridOwner, QWidget *parent);

    // Another document: its colours are read and the automatic mode entered.
    void SetGrid(TPatternGrid *grid, QObject *gridOwner);
    TPatternGrid *Grid() const { return m_model.Grid(); }
    const TColorReduction &Model() const { return m_model; }

    // A colour picked in the pattern or on the palette bar (manual modes): a new head.
    void ColorPicked(int index);
    // The document's palette came to the palette bar: the colours are read again when the
    // palette is not the one they were read with (an undo, another change).
    void SyncPalette();
    // 确定: true when the picture was reduced.
    bool Ok();
    void ApplyLanguage();
    bool Expanded() const { return m_expanded; }

    // Who answers the unassigned question and shows a refusal (message boxes unless
    // replaced, as tests do).
    void SetQuestionHandler(std::function<bool()> ask) { m_ask = std::move(ask); }
    void SetMessageHandler(std::function<void(const QString &)> show) { m_show = std::move(show); }

Q_SIGNALS:
    // Manual combining asks for the colour-pick tool in the grid.
    void colorPickToolWanted();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *buildModes();
    QWidget *buildHeads();
    QWidget *buildLower();
    QWidget *buildButtons();
    QPushButton *button(const char *name, QWidget *parent);
    void connectModes();
    void connectGrids();
    void connectMoves();
    void refresh();
    void setExpanded(bool expanded);
    void drawHead(int col, int row, const QRect &rect);
    void drawGroup(int col, int row, const QRect &rect);
    void drawUnassigned(int col, int row, const QRect &rect);
    void moved(bool changed);

    TColorReduction m_model;
    QPointer<QObject> m_gridOwner;
    bool m_expanded = false;
    bool m_refreshing = false;
    std::function<bool()> m_ask;
    std::function<void(const QString &)> m_show;

    QGroupBox *m_reduceBox = nullptr, *m_combineBox = nullptr, *m_paramBox = nullptr;
    QRadioButton *m_reduceAuto = nullptr, *m_reduceManual = nullptr;
    QRadioButton *m_combineAuto = nullptr, *m_combineManual = nullptr;
    QLabel *m_countLabel = nullptr, *m_leftLabel = nullptr, *m_headsLabel = nullptr;
    QSpinBox *m_colorCount = nullptr, *m_colorLeft = nullptr;
    TColorCellGrid *m_heads = nullptr, *m_groups = nullptr, *m_unassigned = nullptr;
    QWidget *m_lower = nullptr;
    QPushButton *m_moveLeft = nullptr, *m_moveRight = nullptr, *m_moveAllLeft = nullptr;
    QPushButton *m_moveAllRight = nullptr, *m_auto = nullptr, *m_clearAll = nullptr;
    QPushButton *m_ok = nullptr, *m_cancel = nullptr, *m_expanding = nullptr;
    QLabel *m_usedText = nullptr, *m_hintText = nullptr;
};
