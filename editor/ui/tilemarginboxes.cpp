#include "editor/ui/tilemarginboxes.h"

#include <QCheckBox>
#include <QSpinBox>

void TTileMarginBoxes::Show(const TTilePatternParam &p) const
{
    Left->setChecked(p.IsLeftLeft);
    Right->setChecked(p.IsRightLeft);
    Top->setChecked(p.IsTopLeft);
    Bottom->setChecked(p.IsBottomLeft);
    LeftLength->setValue(p.LeftLength);
    RightLength->setValue(p.RightLength);
    TopLength->setValue(p.TopLength);
    BottomLength->setValue(p.BottomLength);
    Float->setValue(p.FloatLength);
}

void TTileMarginBoxes::ReadInto(TTilePatternParam &p) const
{
    p.IsLeftLeft = Left->isChecked();
    p.IsRightLeft = Right->isChecked();
    p.IsTopLeft = Top->isChecked();
    p.IsBottomLeft = Bottom->isChecked();
    p.LeftLength = LeftLength->value();
    p.RightLength = RightLength->value();
    p.TopLength = TopLength->value();
    p.BottomLength = BottomLength->value();
    p.FloatLength = Float->value();
}
