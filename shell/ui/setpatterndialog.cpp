#include "shell/ui/setpatterndialog.h"

#include "core/picture/picturelimits.h"
#include "core/settings/uitexts.h"
#include "core/ui/okcancelbuttons.h"
#include "editor/ui/picturesizegroup.h"
#include "shell/document.h"
#include "shell/newpattern.h"
#include "shell/ui/linecolorbox.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
QSpinBox *spin(const char *name, int min, int max, QWidget *parent)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(min, max);
    return box;
}

QDoubleSpinBox *densityBox(const char *name, QWidget *parent)
{
    auto *box = new QDoubleSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setDecimals(2);
    box->setRange(0.0, 100000.0);
    return box;
}
} // namespace

TFrmSetPattern::TFrmSetPattern(TDocument &document, QWidget *parent)
    : QDialog(parent)
    , m_document(document)
    , m_start(GridSettingsStartValues(document))
{
    setObjectName(QStringLiteral("TFrmSetPattern"));
    m_showMessage = [this](const QString &text) {
        QMessageBox::critical(this, GetUiMessage(UiKey::String::ErrorCaption), text);
    };
    m_size = new TPicSizeGroup(m_start.Warps, m_start.Wefts, false, false, this);
    m_colCompart = spin("RdtColCount", 0, MaxPictureSide, this);
    m_rowCompart = spin("RdtRowCount", 0, MaxPictureSide, this);
    m_layerCount = spin("RxLayerCount", 0, MaxNewPatternLayers, this);
    m_warpDensity = densityBox("RdtHorzSize", this);
    m_weftDensity = densityBox("RdtVertSize", this);
    m_compartLineColor = NewLineColorBox("CcbxCompartLine");
    m_gridLineColor = NewLineColorBox("CcbxGeneralLine");
    // Carried through unseen: the record's repeat counts.
    m_warpRepeat = spin("RxWarpRepeat", 0, 65535, this);
    m_weftRepeat = spin("RxWeftRepeat", 0, 65535, this);
    m_warpRepeat->hide();
    m_weftRepeat->hide();

    auto *cells = new QGroupBox(this);
    cells->setObjectName(QStringLiteral("Pattern_Cell_Size"));
    auto *cellForm = new QFormLayout(cells);
    cellForm->addRow(QStringLiteral("Cols"), m_colCompart);
    cellForm->addRow(QStringLiteral("Rows"), m_rowCompart);
    cellForm->addRow(QStringLiteral("Layer_Count"), m_layerCount);
    auto *property = new QGroupBox(this);
    property->setObjectName(QStringLiteral("Pattern_Property"));
    auto *propertyForm = new QFormLayout(property);
    propertyForm->addRow(QStringLiteral("Warp_Density"), m_warpDensity);
    propertyForm->addRow(QStringLiteral("Weft_Density"), m_weftDensity);
    propertyForm->addRow(QStringLiteral("Separation_Line"), m_compartLineColor);
    propertyForm->addRow(QStringLiteral("General_Line"), m_gridLineColor);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_size);
    layout->addWidget(cells);
    layout->addWidget(property);
    auto *buttons = NewOkCancelButtons(this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("BtnOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("BtnCancel"));
    layout->addWidget(buttons);

    m_colCompart->setValue(m_start.ColCompart);
    m_rowCompart->setValue(m_start.RowCompart);
    m_layerCount->setValue(m_start.LayerCount);
    m_warpDensity->setValue(m_start.WarpDensity);
    m_weftDensity->setValue(m_start.WeftDensity);
    SelectLineColor(m_compartLineColor, m_start.CompartLineColor);
    SelectLineColor(m_gridLineColor, m_start.GridLineColor);
    m_warpRepeat->setValue(m_start.WarpRepeat);
    m_weftRepeat->setValue(m_start.WeftRepeat);
    applyTexts();
}

void TFrmSetPattern::applyTexts()
{
    setWindowTitle(GetUiString(UiKey::Set_Pattern::Set_Pattern_Caption));
    for (auto *box : findChildren<QGroupBox *>())
        if (box != m_size)
            box->setTitle(GetUiString(QStringLiteral("Set_Pattern"), box->objectName()));
    for (auto *form : findChildren<QFormLayout *>()) {
        if (form->parentWidget() == m_size)
            continue;
        for (int row = 0; row < form->rowCount(); ++row)
            if (auto *item = form->itemAt(row, QFormLayout::LabelRole))
                if (auto *label = qobject_cast<QLabel *>(item->widget()))
                    label->setText(GetUiString(QStringLiteral("Set_Pattern"), label->text()));
    }
}

TGridSettings TFrmSetPattern::Values() const
{
    TGridSettings v = m_start;
    int w = 0, h = 0;
    if (m_size->BoxSize(w, h)) {
        v.Warps = w;
        v.Wefts = h;
    } else {
        v.Warps = v.Wefts = 0; // refused by the check
    }
    v.Stretch = m_size->Stretch();
    v.ColCompart = m_colCompart->value();
    v.RowCompart = m_rowCompart->value();
    v.LayerCount = m_layerCount->value();
    v.WarpDensity = m_warpDensity->value();
    v.WeftDensity = m_weftDensity->value();
    v.CompartLineColor = LineColorOf(m_compartLineColor);
    v.GridLineColor = LineColorOf(m_gridLineColor);
    v.WarpRepeat = m_warpRepeat->value();
    v.WeftRepeat = m_weftRepeat->value();
    return v;
}

void TFrmSetPattern::accept()
{
    QString error;
    if (!ApplyGridSettings(m_document, m_start, Values(), &error)) {
        m_showMessage(error);
        return;
    }
    QDialog::accept();
}
