#include "card/ui/divisiondialog.h"
#include "core/settings/uitexts.h"

#include "card/divisionrule.h"
#include "card/ui/rulevalidator.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TFrmDivide::TFrmDivide(const QString &rule, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(GetUiString(UiKey::Division::Caption));
    ShowMessage = [this](const QString &text) { QMessageBox::warning(this, windowTitle(), text); };

    RbSingle = new QRadioButton(GetUiString(UiKey::Division::Single), this);
    RbMultiple = new QRadioButton(GetUiString(UiKey::Division::Multiple), this);
    EditRule = new QLineEdit(this);
    // Divisions A to L: a field that takes nothing else, typed or pasted.
    EditRule->setValidator(new TRuleValidator(QLatin1Char('L'), EditRule));
    QString shown;
    EditRule->setText(RuleFieldAccepts(rule, QLatin1Char('L'), &shown) ? shown : QStringLiteral("1A"));
    BtnOK = new QPushButton(GetUiString(UiKey::General::BtnOK), this);
    BtnCancel = new QPushButton(GetUiString(UiKey::General::BtnCancel), this);
    BtnOK->setDefault(true);

    const bool multiple = DivisionRuleIsMultiple(rule);
    RbMultiple->setChecked(multiple);
    RbSingle->setChecked(!multiple);
    EditRule->setEnabled(multiple);
    connect(RbMultiple, &QRadioButton::toggled, EditRule, &QLineEdit::setEnabled);

    auto *modes = new QHBoxLayout;
    modes->addWidget(RbSingle);
    modes->addWidget(RbMultiple);
    modes->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(modes);
    layout->addWidget(EditRule);
    layout->addLayout(buttons);
    connect(BtnOK, &QPushButton::clicked, this, &TFrmDivide::accept);
    connect(BtnCancel, &QPushButton::clicked, this, &TFrmDivide::reject);
}

void TFrmDivide::accept()
{
    QString rule, error;
    if (!MakeDivisionRule(EditRule->text(), RbMultiple->isChecked(), rule, &error)) {
        ShowMessage(error);
        return;
    }
    m_rule = rule;
    QDialog::accept();
}
