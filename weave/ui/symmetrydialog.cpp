#include "weave/ui/symmetrydialog.h"

#include "core/settings/uitexts.h"
#include "core/ui/okcancelbuttons.h"
#include "weave/ui/captionwidth.h"
#include "weave/ui/radiogroup.h"
#include "weave/weavedialogrules.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum TAxisRow { PositionRow = 0, AmountRow = 1 };

} // namespace

TFrmSymmParam::TFrmSymmParam(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(GetUiString(UiKey::WeaveSymmetry::Caption));
    RadioGroup1 = new TWeaveRadioGroup(GetUiString(UiKey::WeaveSymmetry::Direction),
        { GetUiString(UiKey::WeaveSymmetry::Along_Warps), GetUiString(UiKey::WeaveSymmetry::Along_Wefts) },
        this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1->SetItemIndex(0);
    SpinEdit1 = new QSpinBox(this);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setRange(1, MaxSymmetryAxes);
    SpinEdit1->setValue(1);
    StringGrid1 = new QTableWidget(2, 1, this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setVerticalHeaderLabels(
        { GetUiString(UiKey::WeaveSymmetry::Positions), GetUiString(UiKey::WeaveSymmetry::Amounts) });
    StringGrid1->horizontalHeader()->setDefaultSectionSize(48);
    // Two rows and room for the scroll bar that many axes bring.
    StringGrid1->setFixedHeight(StringGrid1->horizontalHeader()->sizeHint().height()
        + 2 * StringGrid1->verticalHeader()->defaultSectionSize()
        + StringGrid1->horizontalScrollBar()->sizeHint().height() + 2 * StringGrid1->frameWidth());
    connect(SpinEdit1, &QSpinBox::valueChanged, StringGrid1, &QTableWidget::setColumnCount);

    auto *form = new QFormLayout;
    form->addRow(GetUiString(UiKey::WeaveSymmetry::Axis_Count), SpinEdit1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(RadioGroup1);
    layout->addLayout(form);
    layout->addWidget(StringGrid1);
    layout->addWidget(NewOkCancelButtons(this));
    WidenForCaption(this);
    resize(420, sizeHint().height());
}

QString TFrmSymmParam::cellText(int row, int column) const
{
    const QTableWidgetItem *item = StringGrid1->item(row, column);
    return item ? item->text() : QString();
}

// Every used cell must hold a whole number; otherwise the dialog stays open.
void TFrmSymmParam::accept()
{
    QStringList positions, amounts;
    for (int column = 0; column < SpinEdit1->value(); ++column) {
        positions << cellText(PositionRow, column);
        amounts << cellText(AmountRow, column);
    }
    if (!ReadSymmetryAxes(positions, amounts, m_positions, m_amounts))
        return;
    m_alongWarps = RadioGroup1->ItemIndex() == 0;
    QDialog::accept();
}
