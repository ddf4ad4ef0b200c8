#pragma once
// TFrmManualJianSi: the manual binding points (手动间丝) dialog.
// The style (合单 / 合双), the direction (经向 / 纬向) and the fill box (自动补足点, which
// only means something along rows and is enabled only with 纬向) of the binding-point tools.
// It takes the grid's settings in and gives the chosen ones out; the caller sets them on
// the grid and chooses tool 36 (合单) or 37 (合双).

#include "editor/bindingpoints.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class TRadioGroup;

class TFrmManualJianSi : public QDialog {
    Q_OBJECT
public:
    explicit TFrmManualJianSi(QWidget *parent = nullptr);
    void SetValues(TBindingStyle style, TBindingWay way, bool autoFill);
    TBindingStyle Style() const;
    TBindingWay Way() const;
    // Checked and enabled.
    bool AutoFill() const;

private:
    void applyLanguage();
    TRadioGroup *m_style = nullptr, *m_way = nullptr;
    QCheckBox *m_autoFill = nullptr;
};

// The choice made on the grid: its style, direction and fill flag, then the tool of the
// style, through chooseTool (the main window's tool command), so that the tool buttons
// follow.
void ApplyManualBinding(
    TPatternGrid &grid, const TFrmManualJianSi &dialog, const std::function<void(int)> &chooseTool);
