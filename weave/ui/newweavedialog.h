#pragma once
// TFrmNewWeave: the new weave (新建组织) dialog.
// Asks for the numbers of warps and wefts and, on OK, makes its own weave of that size with
// every cell empty; the caller copies the cells. The caption is that of a new weave; the
// design window gives it another when the weave is to be added to the one it shows.

#include "weave/weave.h"

#include <QDialog>

class TNumricEdit;

class TFrmNewWeave : public QDialog {
    Q_OBJECT
public:
    explicit TFrmNewWeave(QWidget *parent = nullptr);

    // 8 x 8 while the dialog is open; warps x wefts of zeros after OK.
    const TWeave &Weave() const { return m_weave; }

    void accept() override;

    TNumricEdit *EdtPWWarp = nullptr; // 经数
    TNumricEdit *EdtPWWeft = nullptr; // 纬数

private:
    TWeave m_weave;
};
