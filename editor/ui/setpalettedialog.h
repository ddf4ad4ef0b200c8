#pragma once
// TFrmSetPalette: the palette choice dialog (调色板处理): join both palettes, or keep one
// picture's palette, the captions of the two single-palette buttons naming the pictures
// of the kind asked about. TDialogPaletteChoice answers the logic's question with it.

#include "editor/palettechoice.h"

#include <QDialog>

class QPushButton;
class QRadioButton;

class TFrmSetPalette : public QDialog {
    Q_OBJECT
public:
    TFrmSetPalette(QWidget *owner, TPaletteChoiceKind kind);
    TPaletteChoiceKind Kind() const { return m_kind; }
    // The checked button's choice (Combine at the start).
    TPaletteChoice Choice() const;
    void SetChoice(TPaletteChoice choice);
    // Sets the caption and the buttons from the interface texts of the language now chosen.
    void ApplyLanguage();

protected:
    void changeEvent(QEvent *event) override;

private:
    TPaletteChoiceKind m_kind;
    QRadioButton *m_combine = nullptr, *m_left = nullptr, *m_right = nullptr;
    QPushButton *m_ok = nullptr, *m_cancel = nullptr;
};

// Shows the dialog modally over owner; OK gives its choice.
class TDialogPaletteChoice : public TPaletteChoiceAsker {
public:
    explicit TDialogPaletteChoice(QWidget *owner)
        : m_owner(owner)
    {
    }
    bool AskPaletteChoice(TPaletteChoiceKind kind, TPaletteChoice &choice) override;

private:
    QWidget *m_owner;
};
