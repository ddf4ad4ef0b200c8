#pragma once
// The main window: one frame around the documents of the program.

#include <QMainWindow>

class QMdiArea;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(QWidget *parent = nullptr);
    ~TMainForm() override;

    QMdiArea *mdiArea() const { return m_mdi; }

private:
    QMdiArea *m_mdi = nullptr;
};
