#pragma once
// TFrmCancelPrint: the small window shown while pages go to the printer; its button stops
// the job before the next page.

#include <QDialog>

class QPushButton;

class TFrmCancelPrint : public QDialog {
    Q_OBJECT
public:
    explicit TFrmCancelPrint(QWidget *parent = nullptr);
    bool Cancelled() const { return m_cancelled; }
    QPushButton *CancelButton() const { return m_button; }

private:
    QPushButton *m_button = nullptr;
    bool m_cancelled = false;
};
