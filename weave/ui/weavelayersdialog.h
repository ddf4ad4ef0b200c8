#pragma once
// TFrmLayers: the layer sequences of a multi-layer weave (多层组织设置).
// Shows the weave's warp and weft sequences in their notation ("3(1,2),4"); OK stores both
// into the weave when both are valid, else the dialog stays open.

#include <QDialog>

class QLineEdit;
class TWeave;

class TFrmLayers : public QDialog {
    Q_OBJECT
public:
    // weave: the design window's weave, which OK changes.
    explicit TFrmLayers(TWeave &weave, QWidget *parent = nullptr);

    void accept() override;

    QLineEdit *EdtWarp = nullptr; // 经向多层描述符
    QLineEdit *EdtWeft = nullptr; // 纬向多层描述符

private:
    TWeave &m_weave;
};
