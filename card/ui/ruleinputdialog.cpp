#include "card/ui/ruleinputdialog.h"
#include "core/settings/uitexts.h"

#include "card/ui/rulevalidator.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

TFrmInput::TFrmInput(QWidget *parent)
    : QWidget(parent, Qt::Tool)
{
    setWindowTitle(GetUiString(UiKey::RuleInput::Caption));
    ShowMessage = [this](const QString &text) { QMessageBox::warning(this, windowTitle(), text); };

    EditStartRow = new QSpinBox(this);
    EditEndRow = new QSpinBox(this);
    EditStartPick = new QSpinBox(this);
    EditEndPick = new QSpinBox(this);
    EditRule = new QLineEdit(QStringLiteral("1A1B"), this);
    // Letters A to Q: the values 1 to 16 and 0 (no pick); nothing beyond can be typed or
    // pasted.
    EditRule->setValidator(new TRuleValidator(QLatin1Char(LastRowRuleLetter), EditRule));
    RbPick = new QRadioButton(GetUiString(UiKey::RuleInput::Set_Shuttle), this);
    RbRegulator = new QRadioButton(GetUiString(UiKey::RuleInput::Set_Regulator), this);
    RbWeftDens = new QRadioButton(GetUiString(UiKey::RuleInput::Set_Weft_Density), this);
    RbPick->setChecked(true);
    BtnApply = new QPushButton(GetUiString(UiKey::RuleInput::Apply), this);
    BtnClose = new QPushButton(GetUiString(UiKey::General::BtnClose), this);

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(GetUiString(UiKey::RuleInput::Start_Position), this), 0, 0);
    grid->addWidget(EditStartRow, 0, 1);
    grid->addWidget(new QLabel(GetUiString(UiKey::RuleInput::End_Position), this), 0, 2);
    grid->addWidget(EditEndRow, 0, 3);
    grid->addWidget(new QLabel(GetUiString(UiKey::RuleInput::Start_Shuttle), this), 1, 0);
    grid->addWidget(EditStartPick, 1, 1);
    grid->addWidget(new QLabel(GetUiString(UiKey::RuleInput::End_Shuttle), this), 1, 2);
    grid->addWidget(EditEndPick, 1, 3);
    auto *targets = new QHBoxLayout;
    targets->addWidget(RbPick);
    targets->addWidget(RbRegulator);
    targets->addWidget(RbWeftDens);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnApply);
    buttons->addWidget(BtnClose);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(new QLabel(GetUiString(UiKey::RuleInput::Rule_Hint), this));
    layout->addWidget(EditRule);
    layout->addLayout(targets);
    layout->addLayout(buttons);

    connect(BtnApply, &QPushButton::clicked, this, &TFrmInput::Apply);
    connect(BtnClose, &QPushButton::clicked, this, &QWidget::close);
    limitRanges();
}

void TFrmInput::SetTarget(const TRuleInputTarget &target)
{
    m_target = target;
    m_guarded = !target.Owner.isNull();
    limitRanges();
}

void TFrmInput::limitRanges()
{
    const int rows = m_target.Mesh ? RowRuleRowLimit(*m_target.Mesh) : 0;
    const int entries = m_target.Mesh ? RowRuleEntryLimit(*m_target.Mesh) : 0;
    for (QSpinBox *box : { EditStartRow, EditEndRow })
        box->setRange(rows > 0 ? 1 : 0, rows);
    for (QSpinBox *box : { EditStartPick, EditEndPick })
        box->setRange(entries > 0 ? 1 : 0, entries);
    EditStartRow->setValue(EditStartRow->minimum());
    EditEndRow->setValue(rows);
    EditStartPick->setValue(EditStartPick->minimum());
    EditEndPick->setValue(EditStartPick->minimum());
}

TRowRuleTarget TFrmInput::Target() const
{
    if (RbRegulator->isChecked())
        return TRowRuleTarget::StopMotion;
    if (RbWeftDens->isChecked())
        return TRowRuleTarget::WeftDensity;
    return TRowRuleTarget::Shuttle;
}

void TFrmInput::SetTargetTable(TRowRuleTarget table)
{
    (table == TRowRuleTarget::StopMotion           ? RbRegulator
            : table == TRowRuleTarget::WeftDensity ? RbWeftDens
                                                   : RbPick)
        ->setChecked(true);
}

TRowRuleRange TFrmInput::Range() const
{
    return { EditStartRow->value(), EditEndRow->value(), EditStartPick->value(), EditEndPick->value() };
}

bool TFrmInput::Apply()
{
    // A record whose document has closed is never written.
    if (!m_target.Mesh || (m_guarded && m_target.Owner.isNull()))
        return false;
    QString error;
    if (!ApplyRowRule(*m_target.Mesh, Target(), Range(), EditRule->text(), &error)) {
        ShowMessage(error);
        return false;
    }
    if (m_target.Changed)
        m_target.Changed();
    return true;
}
