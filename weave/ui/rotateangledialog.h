#pragma once
// TFrmRotateAngle: the rotation angle (旋转角度) of a weave's block.
// Item 0 is no rotation; items 1 to 3 are 90, 180 and 270 degrees clockwise.

#include <QDialog>

class QComboBox;

class TFrmRotateAngle : public QDialog {
    Q_OBJECT
public:
    explicit TFrmRotateAngle(QWidget *parent = nullptr);

    int ItemIndex() const;

    QComboBox *ComboBox1 = nullptr;
};
