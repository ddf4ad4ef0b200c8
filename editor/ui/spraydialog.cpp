#include "editor/ui/spraydialog.h"

#include "core/settings/uitexts.h"
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
    RdtPointNum = numberBox(this, "RdtPointNum", MaxPointCount, 80);
    RdtRadium = numberBox(this, "RdtRadium", MaxRadius, 25);
    auto *form = new QFormLayout;
    form->addRow(GetUiString(UiKey::SetSpray::Spray_Point_Count), RdtPointNum);
    form->addRow(GetUiString(UiKey::SetSpray::Spray_Radius), RdtRadium);
    auto *buttons = NewOkCancelButtons(this);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void TFrmSetSpray::SetValues(const TSprayOption &option)
{
    RdtPointNum->setValue(std::clamp(option.PointCount, 1, MaxPointCount));
    RdtRadium->setValue(std::clamp(option.Radius, 1, MaxRadius));
}

TSprayOption TFrmSetSpray::Values() const
{
    TSprayOption option;
    option.PointCount = RdtPointNum->value();
    option.Radius = RdtRadium->value();
    return option;
}
