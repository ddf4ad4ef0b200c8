#pragma once
// TFrmSwapParam: the two lines to exchange (设置转换参数), numbered from 1 as the user counts.
// Enter in the first box moves to the second; Enter in the second confirms.

#include <QDialog>

class QLineEdit;

class TFrmSwapParam : public QDialog {
    Q_OBJECT
public:
    explicit TFrmSwapParam(QWidget *parent = nullptr);

    // Valid after OK.
    int First() const { return m_first; }
    int Second() const { return m_second; }

    void accept() override;

    QLineEdit *Edit1 = nullptr; // 源位置
    QLineEdit *Edit2 = nullptr; // 目的位置

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int m_first = 0;
    int m_second = 0;
};
