#pragma once
// TFrmCrepeWeave: the crepe-ground (泥地) settings dialog: the brush box, the longest runs
// along a warp and a weft, and the points per burst, each 1 to 99.

#include "core/settings/uitexts.h"
#include "editor/crepe.h"

#include <QDialog>

#include <functional>

class QDialogButtonBox;
class QFormLayout;
class QPushButton;
class QSpinBox;

class TFrmCrepeWeave : public QDialog {
    Q_OBJECT
public:
    explicit TFrmCrepeWeave(QWidget *parent = nullptr);
    void SetOption(const TCrepeWeaveOption &option);
    TCrepeWeaveOption Option() const;
    // Sets the caption, labels and buttons from the interface texts of the language now chosen.
    void ApplyLanguage();

protected:
    void changeEvent(QEvent *event) override;

private:
    // Calls visit with each spin box, its object name and the key of its label, in order.
    void forEachRow(const std::function<void(QSpinBox *&, const char *, TUiMessageKey)> &visit);

    QFormLayout *m_form = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
    QPushButton *m_ok = nullptr, *m_cancel = nullptr;
    QSpinBox *m_width = nullptr, *m_height = nullptr, *m_horz = nullptr, *m_vert = nullptr,
             *m_total = nullptr;
};
