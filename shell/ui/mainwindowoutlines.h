#pragma once
// TMainWindowOutlines: the main window's outline, shading and binding-point commands: the
// plain-weave outline, multi-needle outline and shading tool windows, which follow the
// document in front, and the manual and automatic binding-point dialogs.

#include <QObject>
#include <QPointer>

class TFrmMultiSketch;
class TFrmShadow;
class TFrmTabbySketch;
class TGridToolWindow;
class TMDIChild;
class TMainForm;

class TMainWindowOutlines : public QObject {
    Q_OBJECT
public:
    // Gives the five actions their commands.
    explicit TMainWindowOutlines(TMainForm &form);
    // The open windows' texts, after a language switch.
    void ApplyTexts();

private:
    template <class W> void showWindow(QPointer<W> &window, TMDIChild &child);
    void manualBinding(TMDIChild &child);
    void autoBinding(TMDIChild &child);
    // The open windows work on child's document (none when null).
    void follow(TMDIChild *child);

    TMainForm &m_form;
    QPointer<TFrmTabbySketch> m_tabby;
    QPointer<TFrmMultiSketch> m_multi;
    QPointer<TFrmShadow> m_shadow;
};
