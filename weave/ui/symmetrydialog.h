#pragma once
// TFrmSymmParam: symmetry axes (对称轴变换) of a weave.
// Along warps or along wefts, 1 to 50 axes; the grid's first row holds each axis's
// position, the second how many lines are copied across it.

#include "core/base/document.h"

#include <QDialog>

class QSpinBox;
class QTableWidget;
class TWeaveRadioGroup;

class TFrmSymmParam : public QDialog {
    Q_OBJECT
public:
    explicit TFrmSymmParam(QWidget *parent = nullptr);

    // Valid after OK.
    const TIntegerArray &Positions() const { return m_positions; }
    const TIntegerArray &Amounts() const { return m_amounts; }
    bool AlongWarps() const { return m_alongWarps; }

    void accept() override;

    TWeaveRadioGroup *RadioGroup1 = nullptr; // 经纬向
    QSpinBox *SpinEdit1 = nullptr; // 对称轴个数
    QTableWidget *StringGrid1 = nullptr;

private:
    QString cellText(int row, int column) const;

    TIntegerArray m_positions;
    TIntegerArray m_amounts;
    bool m_alongWarps = true;
};
