#include "editor/ui/shadowwindow.h"

#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"
#include "weave/ui/radiogroup.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

TFrmShadow::TFrmShadow(QWidget *parent)
    : TGridToolWindow("FrmShadow", parent)
{
    m_method = new TRadioGroup("RgShadowMethod", 2, this);
    m_direction = new TRadioGroup("RgShadowDirection", 2, this);
    m_sizeLabel = new QLabel(this);
    m_stepLabel = new QLabel(this);
    m_size = new QSpinBox(this);
    m_size->setObjectName(QStringLiteral("RdtDWWarpWeft"));
    m_size->setRange(MinSatinSize, MaxSatinSize);
    m_step = new QComboBox(this);
    m_step->setObjectName(QStringLiteral("CboDWFeiShu"));
    m_step->addItems({ QStringLiteral("3"), QStringLiteral("5") });
    auto *form = new QFormLayout;
    form->addRow(m_sizeLabel, m_size);
    form->addRow(m_stepLabel, m_step);
    body()->addWidget(m_method);
    body()->addLayout(form);
    body()->addWidget(m_direction);
    SetParam(TShadowParam {});
    finishLayout();
}

void TFrmShadow::ApplyLanguage()
{
    TGridToolWindow::ApplyLanguage();
    m_method->SetTexts(GetUiString(UiKey::Shadow::RgShadowMethod),
        { GetUiString(UiKey::Shadow::Weft_Shadow), GetUiString(UiKey::Shadow::Warp_Shadow) });
    m_direction->SetTexts(GetUiString(UiKey::Shadow::RgShadowDirection),
        { GetUiString(UiKey::Shadow::Weft_To_Warp), GetUiString(UiKey::Shadow::Warp_To_Weft) });
    m_sizeLabel->setText(GetUiString(UiKey::Shadow::RdtDWWarpWeft));
    m_stepLabel->setText(GetUiString(UiKey::Shadow::CboDWFeiShu));
}

TShadowParam TFrmShadow::Param() const
{
    TShadowParam p;
    p.Method = m_method->ItemIndex() == 1 ? TShadowMethod::Warp : TShadowMethod::Weft;
    p.SatinSize = m_size->value();
    p.Step = m_step->currentIndex() == 1 ? 5 : 3;
    p.Direction = m_direction->ItemIndex() == 1 ? TShadowDirection::WarpToWeft : TShadowDirection::WeftToWarp;
    return p;
}

void TFrmShadow::SetParam(const TShadowParam &p)
{
    m_method->SetItemIndex(p.Method == TShadowMethod::Warp ? 1 : 0);
    m_size->setValue(p.SatinSize);
    m_step->setCurrentIndex(p.Step == 5 ? 1 : 0);
    m_direction->SetItemIndex(p.Direction == TShadowDirection::WarpToWeft ? 1 : 0);
}

bool TFrmShadow::runOn(TPatternGrid &grid, QString &error, QString &caption)
{
    if (grid.SelectionRegion().isEmpty())
        caption = GetUiMessage(UiKey::String::ShadowNoRegionCaption);
    return RunShadow(grid, Param(), &error);
}

QString TFrmShadow::caption() const
{
    return GetUiMessage(UiKey::String::ShadowCaption);
}
