#include "editor/ui/sketchwindows.h"

#include "core/settings/uitexts.h"
#include "weave/ui/radiogroup.h"

#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

TFrmTabbySketch::TFrmTabbySketch(QWidget *parent)
    : TGridToolWindow("FrmTabbySketch", parent)
{
    m_style = new TRadioGroup("RgpSketchStyle", 2, this);
    body()->addWidget(m_style);
    finishLayout();
}

void TFrmTabbySketch::ApplyLanguage()
{
    TGridToolWindow::ApplyLanguage();
    m_style->SetTexts(GetUiString(UiKey::TabbySketch::RgpSketchStyle),
        { GetUiString(UiKey::TabbySketch::Single_Start), GetUiString(UiKey::TabbySketch::Double_Start) });
}

TSketchStart TFrmTabbySketch::Start() const
{
    return m_style->ItemIndex() == 1 ? TSketchStart::Double : TSketchStart::Single;
}

void TFrmTabbySketch::SetStart(TSketchStart start)
{
    m_style->SetItemIndex(start == TSketchStart::Double ? 1 : 0);
}

bool TFrmTabbySketch::runOn(TPatternGrid &grid, QString &, QString &)
{
    RunTabbySketch(grid, Start());
    return true;
}

QString TFrmTabbySketch::caption() const
{
    return GetUiMessage(UiKey::String::TabbySketchCaption);
}

namespace {
QSpinBox *blockBox(QWidget *parent, const char *name)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(MinSketchBlock, MaxSketchBlock);
    box->setValue(2);
    return box;
}
} // namespace

TFrmMultiSketch::TFrmMultiSketch(QWidget *parent)
    : TGridToolWindow("FrmMultiSketch", parent)
{
    auto *form = new QFormLayout;
    m_needleLabel = new QLabel(this);
    m_shuttleLabel = new QLabel(this);
    m_needles = blockBox(this, "RseNeedleNum");
    m_shuttles = blockBox(this, "RseShuttleNum");
    form->addRow(m_needleLabel, m_needles);
    form->addRow(m_shuttleLabel, m_shuttles);
    body()->addLayout(form);
    finishLayout();
}

void TFrmMultiSketch::ApplyLanguage()
{
    TGridToolWindow::ApplyLanguage();
    m_needleLabel->setText(GetUiString(UiKey::MultiSketch::RseNeedleNum));
    m_shuttleLabel->setText(GetUiString(UiKey::MultiSketch::RseShuttleNum));
}

void TFrmMultiSketch::SetBlock(int needles, int shuttles)
{
    m_needles->setValue(needles);
    m_shuttles->setValue(shuttles);
}

int TFrmMultiSketch::Needles() const
{
    return m_needles->value();
}

int TFrmMultiSketch::Shuttles() const
{
    return m_shuttles->value();
}

bool TFrmMultiSketch::runOn(TPatternGrid &grid, QString &error, QString &)
{
    return RunMultiSketch(grid, Needles(), Shuttles(), &error);
}

QString TFrmMultiSketch::caption() const
{
    return GetUiMessage(UiKey::String::MultiSketchCaption);
}
