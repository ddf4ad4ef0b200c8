#include "shell/ui/newpatterndialog.h"

#include "core/picture/picturelimits.h"
#include "core/settings/uitexts.h"
#include "core/ui/okcancelbuttons.h"

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

// The sixteen basic colours a line colour is chosen from (TColor: red in the low byte).
const TColor kLineColors[] = { 0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
    0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF };

QColor toQColor(TColor c)
{
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

QComboBox *colorBox(const char *name)
{
    auto *box = new QComboBox;
    box->setObjectName(QLatin1String(name));
    for (TColor c : kLineColors) {
        QPixmap swatch(24, 12);
        swatch.fill(toQColor(c));
        box->addItem(QIcon(swatch), toQColor(c).name(), int(c));
    }
    return box;
}

void selectColor(QComboBox *box, TColor c)
{
    int i = box->findData(int(c));
    if (i < 0) {
        QPixmap swatch(24, 12);
        swatch.fill(toQColor(c));
        box->addItem(QIcon(swatch), toQColor(c).name(), int(c));
        i = box->count() - 1;
    }
    box->setCurrentIndex(i);
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
    NdtWarpCount = spin("NdtWarpCount", 1, MaxPictureSide);
    NdtWeftCount = spin("NdtWeftCount", 1, MaxPictureSide);
    RxLayerCount = spin("RxLayerCount", 1, MaxNewPatternLayers);
    RdtColCount = spin("RdtColCount", 1, MaxPictureSide);
    RdtRowCount = spin("RdtRowCount", 1, MaxPictureSide);
    NdtWarpDensity = densityBox("NdtWarpDensity");
    NdtWeftDensity = densityBox("NdtWeftDensity");
    CcbxCompartLine = colorBox("CcbxCompartLine");
    CcbxGeneralLine = colorBox("CcbxGeneralLine");
    RxSpaceCount = spin("RxSpaceCount", 0, MaxPictureSide);
    // Hidden and in no layout: owned by the dialog all the same.
    RxSpaceCount->setParent(this);
    RxSpaceCount->hide();

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
        { { "Warps", NdtWarpCount }, { "Wefts", NdtWeftCount }, { "Layer_Count", RxLayerCount } }));
    layout->addWidget(group("Pattern_Cell_Size", { { "Cols", RdtColCount }, { "Rows", RdtRowCount } }));
    layout->addWidget(group(
        "Warp_Weft_Density", { { "Warp_Density", NdtWarpDensity }, { "Weft_Density", NdtWeftDensity } }));
    layout->addWidget(
        group("Line_Color", { { "Separation_Line", CcbxCompartLine }, { "General_Line", CcbxGeneralLine } }));
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
    NdtWarpCount->setValue(v.Warps);
    NdtWeftCount->setValue(v.Wefts);
    RxLayerCount->setValue(v.LayerCount);
    RdtColCount->setValue(v.ColCount);
    RdtRowCount->setValue(v.RowCount);
    NdtWarpDensity->setValue(v.WarpDensity);
    NdtWeftDensity->setValue(v.WeftDensity);
    selectColor(CcbxCompartLine, v.CompartLineColor);
    selectColor(CcbxGeneralLine, v.GridLineColor);
    RxSpaceCount->setValue(v.SpaceCount);
}

TNewPatternValues TFrmSetPara::Values() const
{
    TNewPatternValues v;
    v.Warps = NdtWarpCount->value();
    v.Wefts = NdtWeftCount->value();
    v.LayerCount = RxLayerCount->value();
    v.ColCount = RdtColCount->value();
    v.RowCount = RdtRowCount->value();
    v.WarpDensity = NdtWarpDensity->value();
    v.WeftDensity = NdtWeftDensity->value();
    v.CompartLineColor = TColor(CcbxCompartLine->currentData().toInt());
    v.GridLineColor = TColor(CcbxGeneralLine->currentData().toInt());
    v.SpaceCount = RxSpaceCount->value();
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
