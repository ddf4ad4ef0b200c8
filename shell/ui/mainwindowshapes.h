#pragma once
// TMainWindowShapes: the main window's cross-hair and start-point commands, the windows that
// place shapes typed as numbers, and the picture repair window.

#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;
class TFrmDigitalBeeLine;
class TFrmDigitalCopy;
class TFrmPasteTo;
class TFrmDigitalCircle;
class TFrmDigitalRectangle;
class TFrmRepairPic;
class TMDIChild;
class TMainForm;
class TNumericShapeWindow;

class TMainWindowShapes : public QObject {
    Q_OBJECT
public:
    // Gives ActSetCursorSize, ActSetSingleDoublePoint, ActDigitalBeeLine,
    // ActDigitalRectangle, ActDigitalCircle, ActDigitalCopy, ActPasteTo and ActRepairPic
    // their commands.
    explicit TMainWindowShapes(TMainForm &form);

private:
    void setCursorSize();
    void setPointStyle(TMDIChild &child);
    // The start-point action names the style of the document in front.
    void showPointStyle(TMDIChild *child);
    template <class T> void showShapeWindow(QPointer<T> &slot, TMDIChild &child);
    void repairPicture(TMDIChild &child);
    void follow(TMDIChild *child);
    // Centred on the main window, wholly on screen.
    void centre(QWidget *window) const;

    TMainForm &m_form;
    // The open windows; one that closed (and waits to be deleted) counts as none.
    QPointer<TFrmDigitalBeeLine> m_line;
    QPointer<TFrmDigitalRectangle> m_rectangle;
    QPointer<TFrmDigitalCircle> m_circle;
    QPointer<TFrmDigitalCopy> m_copy;
    QPointer<TFrmPasteTo> m_paste;
    QPointer<TFrmRepairPic> m_repair;
};
