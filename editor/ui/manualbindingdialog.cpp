#include "editor/ui/manualbindingdialog.h"

#include "core/base/toolid.h"
#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"
#include "weave/ui/radiogroup.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

TFrmManualJianSi::TFrmManualJianSi(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmManualJianSi"));
    m_style = new TRadioGroup("RgpJiansiStyle", 2, this);
    m_way = new TRadioGroup("RgpJianSiWay", 2, this);
    m_autoFill = new QCheckBox(this);
    m_autoFill->setObjectName(QStringLiteral("CbxAutoFillPoint"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("BtnOk"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("BtnCancel"));
    buttons->button(QDialogButtonBox::Ok)->setText(GetUiString(UiKey::General::BtnOK));
    buttons->button(QDialogButtonBox::Cancel)->setText(GetUiString(UiKey::General::BtnCancel));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_style);
    layout->addWidget(m_way);
    layout->addWidget(m_autoFill);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_way, &TRadioGroup::itemChosen, this, [this](int index) { m_autoFill->setEnabled(index == 1); });
    applyLanguage();
    SetValues(TBindingStyle::Single, TBindingWay::Warp, false);
}

void TFrmManualJianSi::applyLanguage()
{
    setWindowTitle(GetUiMessage(UiKey::String::ManualJianSiCaption));
    m_style->SetTexts(GetUiString(UiKey::JianSi::RgpJiansiStyle),
        { GetUiString(UiKey::JianSi::Single), GetUiString(UiKey::JianSi::Double) });
    m_way->SetTexts(GetUiString(UiKey::JianSi::RgpJianSiWay),
        { GetUiString(UiKey::JianSi::Warp), GetUiString(UiKey::JianSi::Weft) });
    m_autoFill->setText(GetUiString(UiKey::JianSi::CbxAutoFillPoint));
}

void TFrmManualJianSi::SetValues(TBindingStyle style, TBindingWay way, bool autoFill)
{
    m_style->SetItemIndex(style == TBindingStyle::Double ? 1 : 0);
    m_way->SetItemIndex(way == TBindingWay::Weft ? 1 : 0);
    m_autoFill->setChecked(autoFill);
    m_autoFill->setEnabled(way == TBindingWay::Weft);
}

TBindingStyle TFrmManualJianSi::Style() const
{
    return m_style->ItemIndex() == 1 ? TBindingStyle::Double : TBindingStyle::Single;
}

TBindingWay TFrmManualJianSi::Way() const
{
    return m_way->ItemIndex() == 1 ? TBindingWay::Weft : TBindingWay::Warp;
}

bool TFrmManualJianSi::AutoFill() const
{
    return m_autoFill->isChecked() && m_autoFill->isEnabled();
}

void ApplyManualBinding(
    TPatternGrid &grid, const TFrmManualJianSi &dialog, const std::function<void(int)> &chooseTool)
{
    grid.SetJianSiStyle(dialog.Style() == TBindingStyle::Single);
    grid.SetJianSiWay(dialog.Way() == TBindingWay::Weft);
    grid.SetAutoFillPoint(dialog.AutoFill() ? 1 : 0);
    const TToolId tool = dialog.Style() == TBindingStyle::Single ? TToolId::BindingPointsSingle
                                                                 : TToolId::BindingPointsDouble;
    if (chooseTool)
        chooseTool(ToolIdValue(tool));
    else
        grid.SetDrawTool(tool);
}
