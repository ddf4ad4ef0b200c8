#include "editor/ui/rotateangledialog.h"

#include "core/settings/settings.h"
#include "core/settings/uitexts.h"
#include "core/ui/okcancelbuttons.h"
#include "editor/picturerotation.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

TFrmSetRotateAngle::TFrmSetRotateAngle(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TFrmSetRotateAngle"));
    m_showMessage = [this](const QString &text) {
        QMessageBox::critical(this, GetUiMessage(UiKey::String::ErrorCaption), text);
    };
    m_angle = new QLineEdit(this);
    m_angle->setObjectName(QStringLiteral("RdtRotateAngle"));
    m_angle->setMaxLength(6);
    // A decimal number; what it is worth is checked on OK.
    m_angle->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]*[.,]?[0-9]*")), m_angle));
    m_clockwise = new QRadioButton(this);
    m_clockwise->setObjectName(QStringLiteral("Clockwise"));
    m_antiClockwise = new QRadioButton(this);
    m_antiClockwise->setObjectName(QStringLiteral("Anti_Clockwise"));

    auto *layout = new QVBoxLayout(this);
    auto *row = new QHBoxLayout;
    auto *label = new QLabel(this);
    label->setObjectName(QStringLiteral("Rotate_Picture_Angle"));
    label->setBuddy(m_angle);
    row->addWidget(label);
    row->addWidget(m_angle);
    layout->addLayout(row);
    layout->addWidget(m_clockwise);
    layout->addWidget(m_antiClockwise);
    auto *buttons = NewOkCancelButtons(this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("BtnOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("BtnCancel"));
    layout->addWidget(buttons);

    TRotateOption option;
    ReadRotateOption(option);
    m_angle->setText(QString::number(option.RotateAngle));
    // Anticlockwise (逆时针) is the reversed direction.
    (option.IsReverse ? m_antiClockwise : m_clockwise)->setChecked(true);
    ApplyLanguage();
}

void TFrmSetRotateAngle::ApplyLanguage()
{
    setWindowTitle(GetUiString(UiKey::RotatePicture::Rotate_Picture));
    if (auto *label = findChild<QLabel *>(QStringLiteral("Rotate_Picture_Angle")))
        label->setText(GetUiString(UiKey::RotatePicture::Rotate_Picture_Angle));
    m_clockwise->setText(GetUiString(UiKey::RotatePicture::Clockwise));
    m_antiClockwise->setText(GetUiString(UiKey::RotatePicture::Anti_Clockwise));
}

void TFrmSetRotateAngle::accept()
{
    double degrees = 0;
    QString error;
    if (!ParseRotateAngle(m_angle->text(), degrees, &error)) {
        m_showMessage(error);
        return;
    }
    const bool clockwise = m_clockwise->isChecked();
    if (m_apply && !m_apply(SignedRotateAngle(degrees, clockwise), &error)) {
        m_showMessage(error);
        return;
    }
    TRotateOption option;
    option.RotateAngle = degrees;
    option.IsReverse = !clockwise;
    WriteRotateOption(option);
    QDialog::accept();
}
