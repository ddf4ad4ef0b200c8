#pragma once
// TFrmSetPara: the new-pattern (新建意匠) dialog.
// The dialog of File > New: size, layer count, compartment intervals, densities and the
// two line colours of the new pattern. The caller fills it and reads it back; OK refuses
// values a pattern cannot have and keeps the dialog open.

#include "shell/newpattern.h"

#include <QDialog>

class QComboBox;
class QDoubleSpinBox;
class QSpinBox;

class TFrmSetPara : public QDialog {
    Q_OBJECT
public:
    explicit TFrmSetPara(QWidget *parent = nullptr);

    void SetValues(const TNewPatternValues &values);
    TNewPatternValues Values() const;

    void accept() override;

    QSpinBox *NdtWarpCount = nullptr;
    QSpinBox *NdtWeftCount = nullptr;
    QSpinBox *RxLayerCount = nullptr;
    QSpinBox *RdtColCount = nullptr;
    QSpinBox *RdtRowCount = nullptr;
    QDoubleSpinBox *NdtWarpDensity = nullptr;
    QDoubleSpinBox *NdtWeftDensity = nullptr;
    QComboBox *CcbxCompartLine = nullptr;
    QComboBox *CcbxGeneralLine = nullptr;
    QSpinBox *RxSpaceCount = nullptr; // hidden: carried through unchanged

private:
    void applyTexts();
};
