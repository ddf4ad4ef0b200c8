#include "editor/ui/spraydialog.h"

#include "core/settings/uitexts.h"
#include "core/ui/helpkey.h"
#include "core/ui/okcancelbuttons.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
QSpinBox *numberBox(QWidget *parent, const char *name, int max, int value)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(1, max);
    box->setValue(value);
    // Three digits, as many as the largest value has.
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 40);
    return box;
}
} // namespace

TFrmSetSpray::TFrmSetSpray(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmSetSpray"));
    setWindowTitle(GetUiString(UiKey::SetSpray::Spray_Caption));
    m_pointCount = numberBox(this, "RdtPointNum", MaxPointCount, 80);
    m_radius = numberBox(this, "RdtRadium", MaxRadius, 25);
    auto *form = new QFormLayout;
    form->addRow(GetUiString(UiKey::SetSpray::Spray_Point_Count), m_pointCount);
    form->addRow(GetUiString(UiKey::SetSpray::Spray_Radius), m_radius);
    auto *buttons = NewOkCancelButtons(this);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    SetHelpKey(this, THelpContext::Spray);
}

void TFrmSetSpray::SetValues(const TSprayOption &option)
{
    m_pointCount->setValue(std::clamp(option.PointCount, 1, MaxPointCount));
    m_radius->setValue(std::clamp(option.Radius, 1, MaxRadius));
}

TSprayOption TFrmSetSpray::Values() const
{
    TSprayOption option;
    option.PointCount = m_pointCount->value();
    option.Radius = m_radius->value();
    return option;
}
