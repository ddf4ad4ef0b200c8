#pragma once
// TFrmAbout: the about box.
// Two pages: the program (name, version, what it is for, a link to its home page) and how
// to reach its makers (an e-mail address). Escape closes it, Ctrl+Alt+Home turns the page;
// the box frees itself when it closes. The home page and the address are set when the
// program is configured.

#include <QDialog>

class QStackedWidget;

class TFrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFrmAbout(QWidget *parent = nullptr);

    static QString HomePageUrl();
    static QString ContactAddress();
    static QString Version();

    // The page shown: 0 the program, 1 the contact.
    int CurrentPage() const;

private:
    QWidget *programPage();
    QWidget *contactPage();

    QStackedWidget *m_pages = nullptr;
};
