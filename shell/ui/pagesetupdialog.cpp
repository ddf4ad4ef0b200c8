#include "shell/ui/pagesetupdialog.h"

#include "core/settings/uitexts.h"
#include "core/ui/okcancelbuttons.h"
#include "shell/printlayout.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QMessageBox>
#include <QVBoxLayout>

namespace {
QDoubleSpinBox *marginBox(const char *name)
{
    auto *box = new QDoubleSpinBox;
    box->setObjectName(QLatin1String(name));
    box->setDecimals(1);
    box->setRange(0.0, 100.0);
    return box;
}
} // namespace

TFrmSetPage::TFrmSetPage(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TFrmSetPage"));
    setWindowTitle(GetUiString(UiKey::MainMenu::Page_Option));
    m_top = marginBox("RdtTopMargins");
    m_bottom = marginBox("RdtBottomMargins");
    m_left = marginBox("RdtLeftMargins");
    m_right = marginBox("RdtRightMargins");
    auto *group = new QGroupBox(GetUiString(UiKey::PageOption::Set_Page_Unit));
    auto *form = new QFormLayout(group);
    form->addRow(GetUiString(UiKey::PageOption::Top_Margin), m_top);
    form->addRow(GetUiString(UiKey::PageOption::Bottom_Margin), m_bottom);
    form->addRow(GetUiString(UiKey::PageOption::Left_Margin), m_left);
    form->addRow(GetUiString(UiKey::PageOption::Right_Margin), m_right);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(NewOkCancelButtons(this));
}

void TFrmSetPage::SetMargins(const TPageOption &margins)
{
    m_left->setValue(margins.LeftMargin);
    m_right->setValue(margins.RightMargin);
    m_top->setValue(margins.TopMargin);
    m_bottom->setValue(margins.BottomMargin);
}

TPageOption TFrmSetPage::Margins() const
{
    TPageOption margins;
    margins.LeftMargin = m_left->value();
    margins.RightMargin = m_right->value();
    margins.TopMargin = m_top->value();
    margins.BottomMargin = m_bottom->value();
    return margins;
}

void TFrmSetPage::accept()
{
    QString error;
    if (!CheckPageMargins(Margins(), &error)) {
        QMessageBox::warning(this, windowTitle(), error);
        return;
    }
    QDialog::accept();
}
