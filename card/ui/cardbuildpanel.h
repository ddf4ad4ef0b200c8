#pragma once
// TCardBuildPanel: the progress of a card (纹板) computation inside a dialog.
// The gauge of the card dialogs: runs a card computation with this panel as its progress
// target, so that WM_CARDCOUNT and WM_CARDPROGRESS move the gauge and the pending events
// (repaints, the Cancel button, Escape) are processed while the cards are built. A
// cancelled or failed build leaves the caller's card as it was.

#include "card/cardbuild.h"

#include <QWidget>

#include <functional>

class QLabel;
class QProgressBar;

// Builds a card into `card` with the progress given; the same contract as BuildCardData.
using TCardBuildFunction
    = std::function<bool(TMultiByteArray &card, TCardBuildResult &result, const TCardProgress &progress)>;

// Shows a message box: the text, its caption, and whether it informs rather than warns.
using TCardMessageFunction
    = std::function<void(const QString &text, const QString &caption, bool information)>;

class TCardBuildPanel : public QWidget {
    Q_OBJECT
public:
    explicit TCardBuildPanel(QWidget *parent = nullptr);

    QLabel *Label4 = nullptr; // the number of cards
    QLabel *Label5 = nullptr; // the card being built, "%d 块"
    QProgressBar *Gauge1 = nullptr;

    // Runs build; true when it built the card, which then replaces `card`. While it runs,
    // Running() is true and RequestCancel() stops it at the next card.
    bool Run(const TCardBuildFunction &build, TMultiByteArray &card, TCardBuildResult &result);
    bool Running() const { return m_running; }
    void RequestCancel() { m_cancel = true; }
    // Asks a running build to stop; true when one was running, so the dialog stays open
    // until Run returns and closes it.
    bool CancelIfRunning();

    // Tells the user what came of a build through showMessage (may be empty): the error of a
    // failed one, the warnings of one that built the card.
    static void Report(const TCardBuildResult &result, bool built, const TCardMessageFunction &showMessage);

protected:
    bool event(QEvent *event) override;

private:
    bool m_running = false;
    bool m_cancel = false;
};
