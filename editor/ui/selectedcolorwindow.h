#pragma once
// TFrmSelectedColor: copying or cutting the selection by colour. The user picks colours in
// the pattern (the window puts the grid on the colour-pick tool); the selection is then
// copied, or cut, keeping only the picked colours, or every colour but them, and a cut
// floats at once as a piece to be moved.

#include "core/settings/uitexts.h"

#include <QWidget>

#include <cstdint>
#include <vector>

class QAction;
class QListWidget;
class QPushButton;
class TPatternGrid;

class TFrmSelectedColor : public QWidget {
    Q_OBJECT
public:
    enum class TMode : std::uint8_t { Copy = 0, Cut = 1 };
    // The window for grid (which takes the colour-pick tool), over owner at the top left of
    // the screen; it deletes itself when closed.
    static TFrmSelectedColor *CreateWithGrid(TPatternGrid *grid, TMode mode, QWidget *owner);
    TPatternGrid *Grid() const { return m_grid; }
    TMode Mode() const { return m_mode; }

    // A colour picked in the pattern: appended; one picked before moves to the end.
    void Pick(int index);
    const std::vector<std::uint8_t> &Chosen() const { return m_chosen; }
    // Down: the picked colours are the ones left out.
    bool SelectedDown() const;
    void SetSelectedDown(bool down);
    // The list emptied.
    void Reset();
    // The rows show the grid's palette again (after a palette change).
    void RefreshColors() { refreshList(); }
    // The colours the next apply keeps.
    std::vector<std::uint8_t> KeptColors() const;
    // Copies (or cuts) the selection keeping KeptColors and closes; false, with message
    // saying why and the window left open, when nothing is kept or nothing is selected.
    bool Apply(QString *message = nullptr);
    // Every colour of the selection.
    bool ApplyAll(QString *message = nullptr);
    void ApplyLanguage();

Q_SIGNALS:
    // After a successful apply: the grid changed (a cut) or the clipboard did.
    void applied();

protected:
    void changeEvent(QEvent *event) override;

private:
    TFrmSelectedColor(TPatternGrid *grid, TMode mode, QWidget *owner);
    void refreshList();
    void applyFromWindow(bool all);

    TPatternGrid *m_grid;
    TMode m_mode;
    std::vector<std::uint8_t> m_chosen;
    QListWidget *m_list = nullptr;
    QPushButton *m_selected = nullptr, *m_reset = nullptr, *m_execute = nullptr, *m_copyAll = nullptr;
    QAction *m_apply = nullptr;
};
