#pragma once
// The main window's ways into the weave design window: Technology > Design Weave, and the
// weave library's "new weave" and double click on a weave.

#include <QObject>
#include <QString>

class TMainForm;

class TMainWindowWeaveDesign : public QObject {
    Q_OBJECT
public:
    // Gives ActDesignWeave its command.
    explicit TMainWindowWeaveDesign(TMainForm &form);

private:
    TMainForm &m_form;
};

// Opens the weave design window over the main window, modally, on a weave file (empty: a
// new weave). Called after the event that asked for it has been handled, so that a double
// click or a menu is done before the window runs.
void DesignWeaveLater(TMainForm &form, const QString &fileName);
