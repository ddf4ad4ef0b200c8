#pragma once
// TFrmBordure: the border (包边) window.
// A tool window that follows the active document: three colours picked in turn (the border
// colour, the colour it may be painted on, the colour whose areas are bordered: the image
// clicked last takes the next colour picked), the sides and their lengths. OK lays the
// border as one undo step and the window stays; closing stores the sides and lengths.

#include "core/settings/settings.h"
#include "editor/borders.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <cstdint>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;
class TColorSwatch;
class TPatternGrid;

class TFrmBordure : public QWidget {
    Q_OBJECT
public:
    // The colour images' tags: which colour the next picked colour sets.
    enum TColorTarget : int { BorderTarget = 0, BackgroundTarget = 1, ForegroundTarget = 2 };

    explicit TFrmBordure(QWidget *parent = nullptr);

    void SetGrid(TPatternGrid *grid, QObject *gridOwner);
    TPatternGrid *Grid() const;

    // A click on a colour image.
    void ImgBorderColorClick(TColorTarget target);
    TColorTarget ColorTarget() const { return m_colorTarget; }
    // A colour picked in the palette bar or the pattern: its low byte is the index.
    void ColorPicked(int index);
    TBordureColors Colors() const { return m_colors; }
    // The settings record with the sides and lengths of the controls.
    TBordureOption Option() const;

    // The buttons.
    void Reset(); // 重设
    void Ok(); // 确定: the window stays open

    void ApplyLanguage();

Q_SIGNALS:
    void applied();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    struct TSideControls {
        QCheckBox *Check = nullptr;
        QSpinBox *Length = nullptr;
    };
    QGroupBox *buildSides();
    QWidget *buildColors();
    void showColors();
    TColorSwatch *swatch(TColorTarget target) const { return m_swatches[target]; }

    TPatternGrid *m_grid = nullptr;
    QPointer<QObject> m_gridOwner;
    bool m_hasOwner = false;
    TBordureOption m_option; // as read; the three values without a control are written back so
    TBordureColors m_colors;
    TColorTarget m_colorTarget = BorderTarget;
    QGroupBox *m_style = nullptr;
    std::array<TSideControls, 4> m_sides {}; // left, right, top, bottom
    std::array<TColorSwatch *, 3> m_swatches {};
    std::array<QLabel *, 3> m_labels {};
    QPushButton *m_reset = nullptr, *m_ok = nullptr, *m_cancel = nullptr;
};
