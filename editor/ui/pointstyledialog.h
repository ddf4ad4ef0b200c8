#pragma once
// TFrmSetPointStyle: the single and double starting-point (单起双起点) dialog.
// Which cells an edit may change: all, only the single-start cells or only the double-start
// cells; the undo recorder of the grid puts the others back. The dialog shows the grid's
// three flags (single-start, double-start, all valid) and, on OK, gives them back to it.

#include <QDialog>

#include <array>
#include <cstdint>

class QRadioButton;
class TPatternGrid;

class TFrmSetPointStyle : public QDialog {
    Q_OBJECT
public:
    enum TStyle : int { AllValid = 0, SingleValid = 1, DoubleValid = 2 };

    explicit TFrmSetPointStyle(TPatternGrid &grid, QWidget *parent = nullptr);

    TStyle Style() const;
    void SetStyle(TStyle style);
    // The grid's flags for a style, and the style flags show.
    static std::array<std::uint8_t, 3> FlagsOf(TStyle style);
    static TStyle StyleOf(const std::array<std::uint8_t, 3> &flags);
    // OK: the grid takes the chosen flags and the dialog is accepted.
    void accept() override;

private:
    TPatternGrid &m_grid;
    std::array<QRadioButton *, 3> m_buttons {};
};
