#pragma once
// TFrmSetCursorSize: the cross-hair (光标大小) dialog.
// Whether the grid shows a cross-hair over the cell under the pointer, large or small, and
// its size. The dialog opens with the "CursorStyle" settings and, on OK, writes them back;
// the caller then gives every open grid the cross-hair.

#include "core/settings/settings.h"

#include <QDialog>

class QRadioButton;
class QSpinBox;

class TFrmSetCursorSize : public QDialog {
    Q_OBJECT
public:
    static constexpr int MaxCursorSize = 9999;

    // Reads the settings into the controls.
    explicit TFrmSetCursorSize(QWidget *parent = nullptr);

    // A size outside 1 .. 9999 is brought within it; with no flag set the cross-hair is
    // hidden.
    void SetValues(const TCursorStyleOption &option);
    TCursorStyleOption Values() const;
    // OK: the values are written to the settings and the dialog is accepted.
    void accept() override;

private:
    QRadioButton *m_hide = nullptr, *m_large = nullptr, *m_small = nullptr;
    QSpinBox *m_size = nullptr;
};
