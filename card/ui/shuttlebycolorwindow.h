#pragma once
// TFrmSetPickWithColor: the shuttle-by-colour (梭) tool window.
// The shuttle-by-colour tool window: writes the document's current shuttle number (or
// weft-density step) into the chosen weft entry of every pattern row that holds the
// colour last picked in the document.

#include "core/base/document.h"

#include <QColor>
#include <QImage>
#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;
class QTableWidget;

// What the window works on; the document window keeps it up to date.
struct TPickWithColorTarget {
    TMesh *Mesh = nullptr;
    const QImage *Picture = nullptr;
    int PickedIndex = -1; // -1 while no colour has been picked
    QColor PickedColor;
    int Value = 0; // the document's current shuttle number or density step
    bool WeftDensMode = false; // the document shows its weft-density column
    std::function<void()> Changed; // called after the row tables changed
};

class TFrmSetPickWithColor : public QWidget {
    Q_OBJECT
public:
    explicit TFrmSetPickWithColor(QWidget *parent = nullptr);

    void SetTarget(const TPickWithColorTarget &target);
    const TPickWithColorTarget &Target() const { return m_target; }

    // The selected weft entry, 0 to 15.
    int Entry() const;
    void SetEntry(int entry);

    // Applies to the target; false (with a message shown) when it refuses.
    bool Apply();

    QTableWidget *SGridPickNum = nullptr;
    QLabel *ShuttleSwatch = nullptr; // colour of the document's current shuttle number
    QLabel *PickedSwatch = nullptr;
    QPushButton *BtnApply = nullptr;
    QPushButton *BtnClose = nullptr;

private:
    void UpdateView();

    TPickWithColorTarget m_target;
};
