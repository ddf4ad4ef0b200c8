#pragma once
// TMainForm: the main window.
// The main window: one frame around the documents of the program.

#include "shell/mainstatus.h"

#include <QMainWindow>

#include <array>
#include <cstdint>

class QLabel;
class QMdiArea;
class QProgressBar;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(QWidget *parent = nullptr);
    ~TMainForm() override;

    QMdiArea *mdiArea() const { return m_mdi; }

    // The status bar's seven panels (0 to 6) and the shared progress gauge, which is shown
    // over the last panel while a long operation runs.
    QLabel *StatusPanel(int index) const { return m_panels.at(index); }
    QProgressBar *Gauge() const { return m_gauge; }
    const TMainStatusModel &StatusModel() const { return m_status; }

    // Sets every caption and hint of the window from the interface texts.
    void ApplyLanguage();
    // The language menu: stores the choice, opens that language file and applies it.
    void SetLanguage(int index);

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setupStatusBar();
    void placeGauge();
    void showGauge();
    void setProgress(std::uint8_t percent);
    void handleNotification(const TMessageEvent &message);

    QMdiArea *m_mdi = nullptr;
    std::array<QLabel *, TMainStatusModel::PanelCount> m_panels {};
    QProgressBar *m_gauge = nullptr;
    TMainStatusModel m_status;
};
