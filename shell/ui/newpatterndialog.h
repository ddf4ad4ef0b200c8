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

private:
    void applyTexts();

    QSpinBox *m_warpCount = nullptr;
    QSpinBox *m_weftCount = nullptr;
    QSpinBox *m_layerCount = nullptr;
    QSpinBox *m_colCompart = nullptr;
    QSpinBox *m_rowCompart = nullptr;
    QDoubleSpinBox *m_warpDensity = nullptr;
    QDoubleSpinBox *m_weftDensity = nullptr;
    QComboBox *m_compartLineColor = nullptr;
    QComboBox *m_gridLineColor = nullptr;
    QSpinBox *m_spaceCount = nullptr; // hidden: carried through unchanged
};
