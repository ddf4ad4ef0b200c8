#include "shell/ui/newpatterndialog.h"

#include "core/picture/picturelimits.h"
#include "core/settings/uitexts.h"
#include "core/ui/okcancelbuttons.h"
#include "shell/ui/linecolorbox.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
const QString kSection = QStringLiteral("Set_Pattern");

QString text(const char *key)
{
    return GetUiString(kSection, QLatin1String(key));
}

QSpinBox *spin(const char *name, int min, int max)
{
    auto *box = new QSpinBox;
    box->setObjectName(QLatin1String(name));
    box->setRange(min, max);
    return box;
}

QDoubleSpinBox *densityBox(const char *name)
{
    auto *box = new QDoubleSpinBox;
    box->setObjectName(QLatin1String(name));
    box->setDecimals(2);
    box->setRange(0.0, 100000.0);
    return box;
}
} // namespace

TFrmSetPara::TFrmSetPara(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TFrmSetPara"));
    m_warpCount = spin("NdtWarpCount", 1, MaxPictureSide);
    m_weftCount = spin("NdtWeftCount", 1, MaxPictureSide);
    m_layerCount = spin("RxLayerCount", 1, MaxNewPatternLayers);
    m_colCompart = spin("RdtColCount", 1, MaxPictureSide);
    m_rowCompart = spin("RdtRowCount", 1, MaxPictureSide);
    m_warpDensity = densityBox("NdtWarpDensity");
    m_weftDensity = densityBox("NdtWeftDensity");
    m_compartLineColor = NewLineColorBox("CcbxCompartLine");
    m_gridLineColor = NewLineColorBox("CcbxGeneralLine");
    m_spaceCount = spin("RxSpaceCount", 0, MaxPictureSide);
    // Hidden and in no layout: owned by the dialog all the same.
    m_spaceCount->setParent(this);
    m_spaceCount->hide();

    auto group = [this](const char *name, std::initializer_list<std::pair<const char *, QWidget *>> rows) {
        auto *box = new QGroupBox(this);
        box->setObjectName(QLatin1String(name));
        auto *form = new QFormLayout(box);
        for (const auto &[label, widget] : rows)
            form->addRow(text(label), widget);
        return box;
    };
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group("Pattern_Size",
        { { "Warps", m_warpCount }, { "Wefts", m_weftCount }, { "Layer_Count", m_layerCount } }));
    layout->addWidget(group("Pattern_Cell_Size", { { "Cols", m_colCompart }, { "Rows", m_rowCompart } }));
    layout->addWidget(
        group("Warp_Weft_Density", { { "Warp_Density", m_warpDensity }, { "Weft_Density", m_weftDensity } }));
    layout->addWidget(group(
        "Line_Color", { { "Separation_Line", m_compartLineColor }, { "General_Line", m_gridLineColor } }));
    auto *buttons = NewOkCancelButtons(this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("BtnOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("BtnCancel"));
    layout->addWidget(buttons);
    applyTexts();
    SetValues(TNewPatternValues());
}

void TFrmSetPara::applyTexts()
{
    setWindowTitle(GetUiString(UiKey::Set_Pattern::Set_Pattern_Caption));
    for (const char *name : { "Pattern_Size", "Pattern_Cell_Size", "Warp_Weft_Density", "Line_Color" })
        if (auto *box = findChild<QGroupBox *>(QLatin1String(name)))
            box->setTitle(text(name));
}

void TFrmSetPara::SetValues(const TNewPatternValues &v)
{
    m_warpCount->setValue(v.Warps);
    m_weftCount->setValue(v.Wefts);
    m_layerCount->setValue(v.LayerCount);
    m_colCompart->setValue(v.ColCount);
    m_rowCompart->setValue(v.RowCount);
    m_warpDensity->setValue(v.WarpDensity);
    m_weftDensity->setValue(v.WeftDensity);
    SelectLineColor(m_compartLineColor, v.CompartLineColor);
    SelectLineColor(m_gridLineColor, v.GridLineColor);
    m_spaceCount->setValue(v.SpaceCount);
}

TNewPatternValues TFrmSetPara::Values() const
{
    TNewPatternValues v;
    v.Warps = m_warpCount->value();
    v.Wefts = m_weftCount->value();
    v.LayerCount = m_layerCount->value();
    v.ColCount = m_colCompart->value();
    v.RowCount = m_rowCompart->value();
    v.WarpDensity = m_warpDensity->value();
    v.WeftDensity = m_weftDensity->value();
    v.CompartLineColor = LineColorOf(m_compartLineColor);
    v.GridLineColor = LineColorOf(m_gridLineColor);
    v.SpaceCount = m_spaceCount->value();
    return v;
}

void TFrmSetPara::accept()
{
    QString error;
    if (!CheckNewPatternValues(Values(), &error)) {
        QMessageBox::critical(this, GetUiMessage(UiKey::String::ErrorCaption), error);
        return;
    }
    QDialog::accept();
}
