#pragma once
// TMainWindowSystem: the main window's commands around the documents: the system settings,
// the about box, the help guide, the desktop calculator and scanning into a new document.

#include <QObject>

class QImage;
class TMainForm;

class TMainWindowSystem : public QObject {
    Q_OBJECT
public:
    // Gives the five actions their commands.
    explicit TMainWindowSystem(TMainForm &form);

    // The calculator action is offered while a desktop calculator is on the PATH.
    void UpdateCalculator();

private:
    void showSettings();
    void scan();
    bool acquire(QImage &picture);
    void openScan(const QImage &picture);
    void showError(const QString &text);

    TMainForm &m_form;
};
