#pragma once
// TFrmSetRotateAngle: turning by a typed angle (旋转图象).
// The angle in degrees (a decimal number, at most six characters) and the direction,
// clockwise or anticlockwise, start from the "RotateOption" settings. OK hands the signed
// angle (negated for clockwise) to the caller's routine; a refusal is shown and the dialog
// stays open; after a turn the choice is written back to "RotateOption".

#include <QDialog>

#include <functional>

class QLineEdit;
class QRadioButton;

class TFrmSetRotateAngle : public QDialog {
    Q_OBJECT
public:
    // a: degrees, anticlockwise when positive.
    using TApply = std::function<bool(double a, QString *error)>;
    explicit TFrmSetRotateAngle(QWidget *parent = nullptr);

    void SetApply(TApply apply) { m_apply = std::move(apply); }
    void SetMessageHandler(std::function<void(const QString &)> handler)
    {
        m_showMessage = std::move(handler);
    }
    void ApplyLanguage();

    void accept() override;

private:
    QLineEdit *m_angle = nullptr;
    QRadioButton *m_clockwise = nullptr;
    QRadioButton *m_antiClockwise = nullptr;
    TApply m_apply;
    std::function<void(const QString &)> m_showMessage;
};
