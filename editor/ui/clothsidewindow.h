#pragma once
// TFrmAddClothSide: the add-selvedge (增加布边) window.
// A tool window made for one document: per side a colour (the side whose colour was clicked
// last takes the next colour picked), a warp count and a weave (the side whose weave panel
// was clicked last takes the next weave handed in from the library). OK widens the pattern
// by both strips as one undo step and closes; a refusal is shown and the window stays.

#include "editor/selvedges.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <functional>

class QLabel;
class QPushButton;
class QSpinBox;
class TColorSwatch;
class TPatternGrid;

class TFrmAddClothSide : public QWidget {
    Q_OBJECT
public:
    enum TSideId : int { Left = 0, Right = 1 };

    // gridOwner: the object whose end ends the grid (the document window); the window
    // closes with it.
    TFrmAddClothSide(TPatternGrid *grid, QObject *gridOwner, QWidget *parent = nullptr);

    TPatternGrid *Grid() const;
    // The side as OK would take it (the warp count from its box).
    TClothSide Side(TSideId side) const;
    // The name shown for the side's weave (empty: none).
    QString WeaveName(TSideId side) const;
    void SetWarps(TSideId side, int warps);

    // The colour and weave targets, as a click on the side's colour or weave panel sets them.
    void ChooseColorTarget(TSideId side);
    void ChooseWeaveTarget(TSideId side);
    // A colour picked in the palette bar or the pattern (0 .. 255; others are ignored).
    void ColorPicked(int index);
    // A weave file handed in from the library: read into the weave target's side. A file
    // the reader refuses leaves the weave and its name as they were, with the message.
    bool TakeWeaveFile(const QString &fileName);

    // The buttons: OK is false when refused (the window stays open).
    bool Ok();

    void ApplyLanguage();
    void SetMessageHandler(std::function<void(const QString &)> handler)
    {
        m_showMessage = std::move(handler);
    }

Q_SIGNALS:
    // The pattern was widened: the document window follows.
    void applied();

protected:
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    struct TSideControls {
        QLabel *Caption = nullptr;
        QLabel *ColorLabel = nullptr, *WarpLabel = nullptr, *WeaveLabel = nullptr;
        TColorSwatch *Swatch = nullptr;
        QSpinBox *Warps = nullptr;
        QPushButton *WeavePanel = nullptr;
        TClothSide Side;
        QString WeaveName;
    };
    QWidget *buildSide(TSideId side);
    void showSide(TSideId side);

    TPatternGrid *m_grid = nullptr;
    QPointer<QObject> m_gridOwner;
    bool m_hasOwner = false;
    std::array<TSideControls, 2> m_sides;
    TSideId m_colorTarget = Left;
    int m_weaveTarget = -1; // none until a weave panel is clicked
    QPushButton *m_ok = nullptr, *m_cancel = nullptr;
    std::function<void(const QString &)> m_showMessage;
};
