#pragma once
// TFrmEditGross: the insert/delete warps-and-wefts window (插删经纬).
// A tool window over the main window: insert or delete, warps or wefts, the start and the
// count. It starts from the "ModiGrossOption" settings, and a selection on the pattern
// suggests start and count (again whenever insert/delete or warps/wefts changes); a click
// on the pattern puts the clicked column or row into the start. OK checks the values,
// writes them to "ModiGrossOption" and inserts or deletes the lines as one undo step,
// then closes; a refusal is shown and the window stays open. Cancel and Escape close it.

#include "core/settings/settings.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QSpinBox;
class TPatternGrid;
class TRadioGroup;

class TFrmEditGross : public QWidget {
    Q_OBJECT
public:
    // owner: the object whose end ends the grid (the document window); null: none.
    TFrmEditGross(TPatternGrid *grid, QObject *owner, QWidget *parent = nullptr);

    // Works on another document's grid from now on.
    void SetGrid(TPatternGrid *grid, QObject *owner);
    TPatternGrid *Grid() const;
    void SetMessageHandler(std::function<void(const QString &)> handler)
    {
        m_showMessage = std::move(handler);
    }
    void ApplyLanguage();
    // The values the window shows.
    TModiGrossOption Values() const;
    // A click on the pattern's cell (col, row).
    void CellClicked(int col, int row);
    // OK: false (shown, window open) when refused.
    bool Apply();

Q_SIGNALS:
    // The lines were inserted or deleted; the pattern had oldHeight rows before.
    void linesChanged(int oldHeight);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void suggest();

    TPatternGrid *m_grid = nullptr;
    QPointer<QObject> m_owner;
    bool m_hasOwner = false;
    TRadioGroup *m_mode = nullptr;
    TRadioGroup *m_content = nullptr;
    QSpinBox *m_from = nullptr;
    QSpinBox *m_count = nullptr;
    std::function<void(const QString &)> m_showMessage;
};
