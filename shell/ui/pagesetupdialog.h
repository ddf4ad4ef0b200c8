#pragma once
// TFrmSetPage: the page setup (页面设置) dialog: the four page margins in millimetres.
// The caller fills it and reads the margins back; OK refuses margins that leave too little
// of the page and keeps the dialog open.

#include "core/settings/settings.h"

#include <QDialog>

class QDoubleSpinBox;

class TFrmSetPage : public QDialog {
    Q_OBJECT
public:
    explicit TFrmSetPage(QWidget *parent = nullptr);

    void SetMargins(const TPageOption &margins);
    TPageOption Margins() const;

    void accept() override;

private:
    QDoubleSpinBox *m_top = nullptr;
    QDoubleSpinBox *m_bottom = nullptr;
    QDoubleSpinBox *m_left = nullptr;
    QDoubleSpinBox *m_right = nullptr;
};
