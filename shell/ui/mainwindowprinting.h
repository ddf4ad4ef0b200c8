#pragma once
// TMainWindowPrinting: the main window's printing commands: page setup, the print preview
// of the active document and printing it through the print dialog.

#include <QObject>

class TMainForm;

class TMainWindowPrinting : public QObject {
    Q_OBJECT
public:
    explicit TMainWindowPrinting(TMainForm &form);

private:
    void setupPage();
    void printDocument();

    TMainForm &m_form;
};
