#include "core/ui/uitextsetters.h"

#include "core/settings/uitexts.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QToolButton>
#include <QVariant>
#include <QWidget>

namespace {
QString textFor(const QObject *object, const QString &section, const QString &key)
{
    return GetUiString(section, key.isEmpty() ? object->objectName() : key);
}

void setTextAndHint(QAbstractButton *button, const QString &section)
{
    if (!button)
        return;
    const QString text = textFor(button, section, QString());
    button->setText(text);
    button->setToolTip(text);
}
} // namespace

void SetActionUiText(QAction *action, const QString &section, const QString &key)
{
    if (!action)
        return;
    const QString text = textFor(action, section, key);
    action->setText(text);
    action->setToolTip(text);
}

void SetControlUiText(QWidget *control, const QString &section, const QString &key)
{
    if (!control)
        return;
    const QString text = textFor(control, section, key);
    if (control->isWindow())
        control->setWindowTitle(text);
    else if (auto *box = qobject_cast<QGroupBox *>(control))
        box->setTitle(text);
    else if (control->metaObject()->indexOfProperty("text") >= 0)
        control->setProperty("text", text);
    else
        control->setWindowTitle(text);
}

void SetLabelUiText(QLabel *label, const QString &section)
{
    if (label)
        label->setText(textFor(label, section, QString()));
}

void SetButtonUiText(QAbstractButton *button, const QString &section)
{
    if (button)
        button->setText(textFor(button, section, QString()));
}

void SetBitBtnUiText(QAbstractButton *button, const QString &section)
{
    SetButtonUiText(button, section);
}

void SetBitBtnUiHint(QAbstractButton *button, const QString &section)
{
    if (button)
        button->setToolTip(textFor(button, section, QString()));
}

void SetGroupBoxUiText(QGroupBox *box, const QString &section)
{
    if (box)
        box->setTitle(textFor(box, section, QString()));
}

void SetCheckBoxUiText(QCheckBox *box, const QString &section)
{
    SetButtonUiText(box, section);
}

void SetRadioButtonUiText(QRadioButton *button, const QString &section)
{
    SetButtonUiText(button, section);
}

void SetRadioGroupUiText(QGroupBox *group, const QString &section)
{
    SetGroupBoxUiText(group, section);
}

void SetToolButtonUiText(QToolButton *button, const QString &section)
{
    setTextAndHint(button, section);
}

void SetSpeedButtonUiText(QAbstractButton *button, const QString &section)
{
    setTextAndHint(button, section);
}
