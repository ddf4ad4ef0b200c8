#pragma once
// TFrmAutoJianSi: the automatic binding points (自动间丝) dialog.
// Style, direction and float limit (浮长, from 1; 16 at first); OK binds every run of the
// grid's fore colour longer than the limit with a point in its back index
// (editor/bindingpoints.h), reading the grid's picture and colours at that moment, and
// closes the dialog.

#include "editor/bindingpoints.h"

#include <QDialog>

class QLabel;
class QSpinBox;
class TRadioGroup;

class TFrmAutoJianSi : public QDialog {
    Q_OBJECT
public:
    explicit TFrmAutoJianSi(TPatternGrid &grid, QWidget *parent = nullptr);
    TBindingStyle Style() const;
    TBindingWay Way() const;
    int FloatLimit() const;
    void SetValues(TBindingStyle style, TBindingWay way, int floatLimit);
    // OK: the binding on the grid; true when done.
    bool Run();

private:
    TPatternGrid &m_grid;
    TRadioGroup *m_style = nullptr, *m_way = nullptr;
    QLabel *m_floatLabel = nullptr;
    QSpinBox *m_float = nullptr;
};
