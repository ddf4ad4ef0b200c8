#pragma once
// TMainWindowNavigator: the main window's navigator panel, shown and hidden from the Window
// menu, following the document in front, its scrolling and its picture.

#include <QObject>

class TMainForm;
class TNavigatorPanel;

class TMainWindowNavigator : public QObject {
    Q_OBJECT
public:
    // Docks the panel in the window and gives ActDisplayInfo its command.
    explicit TMainWindowNavigator(TMainForm &form);

    TNavigatorPanel *Panel() const { return m_panel; }
    // Whether the person wants the navigator shown (the Window menu's check mark).
    bool Shown() const;

private:
    TMainForm &m_form;
    TNavigatorPanel *m_panel = nullptr;
};
