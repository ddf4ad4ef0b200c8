#pragma once
// TFrmSetSpray: the spray settings (喷雾器) dialog.
// How many points one spray burst sets and how far from the pointer they may fall. The
// caller fills it from its spray settings and, on OK, stores what it reads back.

#include "core/settings/settings.h"

#include <QDialog>

class QSpinBox;

class TFrmSetSpray : public QDialog {
    Q_OBJECT
public:
    static constexpr int MaxPointCount = TSprayOption::MaxPointCount;
    static constexpr int MaxRadius = TSprayOption::MaxRadius;

    explicit TFrmSetSpray(QWidget *parent = nullptr);

    // Values outside 1 .. 900 points and 1 .. 500 cells are brought within them.
    void SetValues(const TSprayOption &option);
    TSprayOption Values() const;

private:
    QSpinBox *m_pointCount = nullptr;
    QSpinBox *m_radius = nullptr;
};
