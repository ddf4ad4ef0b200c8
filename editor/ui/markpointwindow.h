#pragma once
// TFrmMarkPoint: the point window (找或补点).
// A tool window over the pattern: the user chooses a mode (delete isolated single points,
// mark isolated runs, mark runs of a float length, add points to runs), the run length and
// the number of cells to add with their warps and direction, and OK runs the mode on the
// window's document; the window stays open for the next run. Cancel hides it. It takes its
// document in and never looks for one itself.

#include "editor/pointmarking.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class TPatternGrid;

class TFrmMarkPoint : public QWidget {
    Q_OBJECT
public:
    explicit TFrmMarkPoint(QWidget *parent = nullptr);
    ~TFrmMarkPoint() override;

    // The document worked on; gridOwner is the object whose end ends the grid (the document
    // window). Null: none, and OK does nothing.
    void SetGrid(TPatternGrid *grid, QObject *gridOwner);
    TPatternGrid *Grid() const;

    // The choices of the window as the marking takes them, and the window set to options.
    TMarkPointOptions Options() const;
    void SetOptions(const TMarkPointOptions &options);

    // OK: the chosen mode on the document; false when refused (the reason is shown) or
    // when there is no document.
    bool Run();
    // The interface texts again, after a language switch.
    void ApplyLanguage();
    // Who shows a refusal (a message box unless replaced, as tests do).
    void SetMessageHandler(std::function<void(const QString &)> handler)
    {
        m_showMessage = std::move(handler);
    }

Q_SIGNALS:
    // A run of OK changed the document.
    void pointsMarked();

protected:
    void changeEvent(QEvent *event) override;

private:
    QWidget *buildModes();
    QGroupBox *buildCounts();
    QGroupBox *buildRadioGroup(const char *name, int items, std::array<QRadioButton *, 3> &buttons);
    void modeClicked(TMarkPointMode mode);
    void applyModeState();
    void applyPointLabel();
    TMarkPointMode mode() const;
    static int checkedItem(const std::array<QRadioButton *, 3> &buttons);

    TPatternGrid *m_grid = nullptr;
    QPointer<QObject> m_gridOwner;
    bool m_hasOwner = false;
    bool m_modeClicked = false;
    std::function<void(const QString &)> m_showMessage;

    std::array<QRadioButton *, 4> m_modes {};
    QGroupBox *m_pointOption = nullptr;
    QLabel *m_pointLabel = nullptr, *m_fillLabel = nullptr;
    QSpinBox *m_pointCount = nullptr, *m_fillCount = nullptr;
    QGroupBox *m_floatWay = nullptr, *m_addWarps = nullptr, *m_addWay = nullptr;
    std::array<QRadioButton *, 3> m_floatWayItems {}, m_addWarpsItems {}, m_addWayItems {};
    QCheckBox *m_priorityUp = nullptr;
    QPushButton *m_ok = nullptr, *m_cancel = nullptr;
};
