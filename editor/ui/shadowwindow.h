#pragma once
// TFrmShadow: the shading (影光) window. OK fills the selection of the window's document
// with a growing satin in the grid's fore index (editor/shading.h); without a selection it
// says so and changes nothing.

#include "editor/shading.h"
#include "editor/ui/gridtoolwindow.h"

class QComboBox;
class QLabel;
class QSpinBox;
class TRadioGroup;

class TFrmShadow : public TGridToolWindow {
    Q_OBJECT
public:
    explicit TFrmShadow(QWidget *parent = nullptr);
    void ApplyLanguage() override;
    TShadowParam Param() const;
    void SetParam(const TShadowParam &param);

protected:
    bool runOn(TPatternGrid &grid, QString &error, QString &caption) override;
    QString caption() const override;

private:
    TRadioGroup *m_method = nullptr, *m_direction = nullptr;
    QLabel *m_sizeLabel = nullptr, *m_stepLabel = nullptr;
    QSpinBox *m_size = nullptr;
    QComboBox *m_step = nullptr;
};
