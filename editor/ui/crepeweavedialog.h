#pragma once
// TFrmCrepeWeave: the crepe-ground (泥地) settings dialog: the brush box, the longest runs
// along a warp and a weft, and the points per burst, each 1 to 99.

#include "editor/crepe.h"

#include <QDialog>

class QSpinBox;

class TFrmCrepeWeave : public QDialog {
    Q_OBJECT
public:
    explicit TFrmCrepeWeave(QWidget *parent = nullptr);
    void SetOption(const TCrepeWeaveOption &option);
    TCrepeWeaveOption Option() const;

private:
    QSpinBox *m_width = nullptr, *m_height = nullptr, *m_horz = nullptr, *m_vert = nullptr,
             *m_total = nullptr;
};
