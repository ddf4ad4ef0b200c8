#pragma once
// TFrmWeaveCombine: where an added weave joins the weave (加入组织的位置).
// The items follow TCombineMode; the caller may remove items before showing the dialog
// (those that need a block when there is none) and maps the chosen index back itself.

#include <QDialog>

class TWeaveRadioGroup;

class TFrmWeaveCombine : public QDialog {
    Q_OBJECT
public:
    explicit TFrmWeaveCombine(QWidget *parent = nullptr);

    int ItemIndex() const;

    TWeaveRadioGroup *RadGrpPos = nullptr;
};
