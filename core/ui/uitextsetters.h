#pragma once
// Put an interface text (see core/uitexts.h) on a control. Each setter looks the text up in
// Section under the control's object name, unless a key is given.

#include <QString>

class QAction;
class QWidget;
class QLabel;
class QAbstractButton;
class QGroupBox;
class QCheckBox;
class QRadioButton;
class QToolButton;

// Text := the text; tool tip := the new text.
void SetActionUiText(QAction *action, const QString &section, const QString &key = QString());
// A window's title, or the text of another control (a "text" or "title" property).
void SetControlUiText(QWidget *control, const QString &section, const QString &key = QString());
void SetLabelUiText(QLabel *label, const QString &section);
void SetButtonUiText(QAbstractButton *button, const QString &section);
void SetBitBtnUiText(QAbstractButton *button, const QString &section);
// Tool tip := the text; the caption stays.
void SetBitBtnUiHint(QAbstractButton *button, const QString &section);
void SetGroupBoxUiText(QGroupBox *box, const QString &section);
void SetCheckBoxUiText(QCheckBox *box, const QString &section);
void SetRadioButtonUiText(QRadioButton *button, const QString &section);
// A radio group is a group box holding radio buttons: its title.
void SetRadioGroupUiText(QGroupBox *group, const QString &section);
// Text := the text; tool tip := the new text.
void SetToolButtonUiText(QToolButton *button, const QString &section);
void SetSpeedButtonUiText(QAbstractButton *button, const QString &section);
