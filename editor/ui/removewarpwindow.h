#pragma once
// TFrmRemovewarp: the warp-removal (抽针) window.
// A tool window that follows the active document: odd or even warps (the choice kept in the
// settings) are taken out of the selection, or of the whole picture without one.

#include "editor/warpremoval.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QPushButton;
class QRadioButton;
class TPatternGrid;

class TFrmRemovewarp : public QWidget {
    Q_OBJECT
public:
    explicit TFrmRemovewarp(QWidget *parent = nullptr);

    // The document worked on (null: none, and OK does nothing); gridOwner ends the grid.
    void SetGrid(TPatternGrid *grid, QObject *gridOwner);
    TPatternGrid *Grid() const;
    TRemoveWarpParity Parity() const;
    void SetParity(TRemoveWarpParity parity);
    // 确定: false when refused (the reason is shown).
    bool Ok();
    void ApplyLanguage();
    void SetMessageHandler(std::function<void(const QString &)> handler)
    {
        m_showMessage = std::move(handler);
    }

Q_SIGNALS:
    void applied();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    TPatternGrid *m_grid = nullptr;
    QPointer<QObject> m_gridOwner;
    bool m_hasOwner = false;
    QRadioButton *m_odd = nullptr, *m_even = nullptr;
    QPushButton *m_ok = nullptr, *m_cancel = nullptr;
    std::function<void(const QString &)> m_showMessage;
};
