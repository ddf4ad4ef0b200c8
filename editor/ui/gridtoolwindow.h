#pragma once
// TGridToolWindow: a tool window that works on the picture of one document.
// The outline and shading windows stay on top beside the pattern, free themselves when
// closed, close on Escape and on their cancel button, and follow the document that comes
// to the front (SetGrid). The grid is held weakly: once its owner (the document window) is
// gone, Grid() is null and OK does nothing, so a closed document is never written to.

#include <QPointer>
#include <QWidget>

#include <functional>

class QPushButton;
class QVBoxLayout;
class TPatternGrid;

class TGridToolWindow : public QWidget {
    Q_OBJECT
public:
    // The document worked on; gridOwner is the object whose end ends the grid. Null: none.
    void SetGrid(TPatternGrid *grid, QObject *gridOwner);
    TPatternGrid *Grid() const;

    // Who shows a refusal (a message box unless replaced, as tests do): text and caption.
    using TMessageHandler = std::function<void(const QString &text, const QString &caption)>;
    void SetMessageHandler(TMessageHandler handler) { m_showMessage = std::move(handler); }

    // The interface texts again (at creation and after a language switch).
    virtual void ApplyLanguage();
    // OK: the window's work on the grid with the grid's indexes as they are now; false
    // when refused (shown) or when there is no grid.
    bool Run();

protected:
    TGridToolWindow(const char *objectName, QWidget *parent);
    // The window's controls go in here, above the buttons; call finishLayout once they are.
    QVBoxLayout *body() const { return m_body; }
    void finishLayout();
    // The work of OK on a live grid; a refusal sets error and caption.
    virtual bool runOn(TPatternGrid &grid, QString &error, QString &caption) = 0;
    virtual QString caption() const = 0;
    void keyPressEvent(QKeyEvent *event) override;

private:
    TPatternGrid *m_grid = nullptr;
    QPointer<QObject> m_gridOwner;
    bool m_hasOwner = false;
    TMessageHandler m_showMessage;
    QVBoxLayout *m_body = nullptr;
    QPushButton *m_ok = nullptr, *m_cancel = nullptr;
};
