#pragma once
// TFrmDivide: the card division dialog (纹板分造).
// Chooses between one division ("单造", stored as "1A") and several ("多造", the typed
// rule). OK keeps the dialog open, with a message, while the rule is one the card builder
// would refuse.

#include <QDialog>

#include <functional>

class QLineEdit;
class QPushButton;
class QRadioButton;

class TFrmDivide : public QDialog {
    Q_OBJECT
public:
    // rule: the sample card's division rule.
    explicit TFrmDivide(const QString &rule, QWidget *parent = nullptr);

    // The rule to store, valid after OK.
    const QString &Rule() const { return m_rule; }

    // Shows a refusal; a message box unless replaced (tests).
    std::function<void(const QString &)> ShowMessage;

    void accept() override;

    QLineEdit *EditRule = nullptr;
    QRadioButton *RbSingle = nullptr; // 单造
    QRadioButton *RbMultiple = nullptr; // 多造
    QPushButton *BtnOK = nullptr;
    QPushButton *BtnCancel = nullptr;

private:
    QString m_rule;
};
