#pragma once
// TFrmSetYangKa: the card-making (制版) dialog.
// The card-making dialog: the hook count (针数) and reading direction (方向) of a simple
// harness of one row of needles, and whether the jacquard needles sit at its right-hand
// end (靠向右边). OK first checks the hook count against the pattern's warps: too few
// shows "HooksError" and keeps the dialog open with nothing changed; otherwise the count
// is kept as "DefaultWarps" and, when a build is given, the card is built while the gauge
// moves (Cancel or Escape stops it, leaving Card() empty) and the dialog closes with
// result 1 only when the card was built.

#include "card/samplecard.h"
#include "card/ui/cardbuildpanel.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QToolButton;

class TFrmSetYangKa : public QDialog {
    Q_OBJECT
public:
    enum { ResultOK = 1, ResultCancel = 2 };

    // warps: the pattern's warp count, the fewest hooks a card can be made with.
    TFrmSetYangKa(QWidget *owner, int warps);

    // Builds the card for the one-row sample card and scan start of this dialog; without
    // it OK only checks and keeps the hook count.
    std::function<bool(const TYangkaImage &sampleCard, int scanStart, TMultiByteArray &card,
        TCardBuildResult &result, const TCardProgress &progress)>
        Build;
    // Shows a message (text, caption, information rather than error icon); a message box
    // unless replaced (tests).
    TCardMessageFunction ShowMessage;

    QLabel *Hooks = nullptr;
    QSpinBox *EdtWarps = nullptr;
    QLabel *Direction = nullptr;
    QToolButton *TbnUp = nullptr;
    QToolButton *TbnDown = nullptr;
    QCheckBox *Shift_To_Right = nullptr;
    QPushButton *BtnOK = nullptr;
    QPushButton *BtnCancel = nullptr;
    TCardBuildPanel *PanelGuage = nullptr;

    // 0 when TbnUp is down (rows read bottom-up from the bottom-left corner), else 2
    // (top-down from the top-left corner).
    int GetScanStart() const;
    // The one-row sample card of the last accepted OK.
    const TYangkaImage &SampleCard() const { return m_sampleCard; }
    const TMultiByteArray &Card() const { return m_card; }

    void accept() override;
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    int m_warps = 0;
    TYangkaImage m_sampleCard;
    TMultiByteArray m_card;
};
