#include "editor/ui/autobindingdialog.h"

#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"
#include "weave/ui/radiogroup.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

TFrmAutoJianSi::TFrmAutoJianSi(TPatternGrid &grid, QWidget *parent)
    : QDialog(parent)
    , m_grid(grid)
{
    setObjectName(QStringLiteral("FrmAutoJianSi"));
    setWindowTitle(GetUiMessage(UiKey::String::AutoJianSiCaption));
    m_style = new TRadioGroup("RadioGroup1", 2, this);
    m_way = new TRadioGroup("RadioGroup2", 2, this);
    m_style->SetTexts(GetUiString(UiKey::JianSi::RgpJiansiStyle),
        { GetUiString(UiKey::JianSi::Single), GetUiString(UiKey::JianSi::Double) });
    m_way->SetTexts(GetUiString(UiKey::JianSi::RgpJianSiWay),
        { GetUiString(UiKey::JianSi::Warp), GetUiString(UiKey::JianSi::Weft) });
    m_floatLabel = new QLabel(GetUiString(UiKey::JianSi::RseFloat), this);
    m_float = new QSpinBox(this);
    m_float->setObjectName(QStringLiteral("RseFloat"));
    m_float->setRange(MinFloatLimit, 65535);
    auto *form = new QFormLayout;
    form->addRow(m_floatLabel, m_float);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("BtnOk"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("BtnCancel"));
    buttons->button(QDialogButtonBox::Ok)->setText(GetUiString(UiKey::General::BtnOK));
    buttons->button(QDialogButtonBox::Cancel)->setText(GetUiString(UiKey::General::BtnCancel));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_style);
    layout->addWidget(m_way);
    layout->addLayout(form);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (Run())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    SetValues(TBindingStyle::Single, TBindingWay::Warp, DefaultFloatLimit);
}

TBindingStyle TFrmAutoJianSi::Style() const
{
    return m_style->ItemIndex() == 1 ? TBindingStyle::Double : TBindingStyle::Single;
}

TBindingWay TFrmAutoJianSi::Way() const
{
    return m_way->ItemIndex() == 1 ? TBindingWay::Weft : TBindingWay::Warp;
}

int TFrmAutoJianSi::FloatLimit() const
{
    return m_float->value();
}

void TFrmAutoJianSi::SetValues(TBindingStyle style, TBindingWay way, int floatLimit)
{
    m_style->SetItemIndex(style == TBindingStyle::Double ? 1 : 0);
    m_way->SetItemIndex(way == TBindingWay::Weft ? 1 : 0);
    m_float->setValue(floatLimit);
}

bool TFrmAutoJianSi::Run()
{
    QString error;
    if (RunAutoBinding(
            m_grid, m_grid.GetForeColor(), m_grid.BackIndex(), Style(), Way(), FloatLimit(), &error))
        return true;
    QMessageBox::critical(this, windowTitle(), error);
    return false;
}
