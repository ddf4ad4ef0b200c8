#pragma once
// TNumricEdit: a one-line edit box for numbers. It filters the characters typed into it,
// validates its text after every key release and when it loses the focus, steps its value
// with the up and down arrow keys, and reads and writes its value as an integer or a
// floating number.
//
// Limits: MinValue and MaxValue of 0 mean "not set"; each limit that is set applies on
// validation. A text that does not convert to a number (a lone "-", a scale such as "1:2"
// in a box with limits) never raises: it counts as empty.

#include <QLineEdit>

#include <cstdint>

enum class TNumStyle { nsInt, nsFloat, nsScale };

class TNumricEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TNumricEdit(QWidget *parent = nullptr);

    TNumStyle NumStyle() const { return m_numStyle; }
    void SetNumStyle(TNumStyle style) { m_numStyle = style; }
    // The value an empty box takes on validation.
    int NumForEmpty() const { return m_numForEmpty; }
    void SetNumForEmpty(int value) { m_numForEmpty = value; }
    int MinValue() const { return m_minValue; }
    void SetMinValue(int value) { m_minValue = value; }
    int MaxValue() const { return m_maxValue; }
    void SetMaxValue(int value) { m_maxValue = value; }
    // Decimals of an nsFloat box.
    int DotLength() const { return m_dotLength; }
    void SetDotLength(int value) { m_dotLength = value; }

    // Validates as on focus loss, then the text as an integer (NumForEmpty when it does
    // not convert).
    int GetIntValue();
    // The text as an integer without validation; false (and value NumForEmpty) when it
    // does not convert.
    bool GetTextAsInt(int &value) const;
    // The value in decimal, held to MaxValue when that is set.
    void SetIntValue(int value);
    // The text as a floating number; an empty text, and one that does not convert, count
    // as 0.
    double GetFloatValue() const;
    // nsFloat: with DotLength decimals; otherwise the nearest integer (halves to even).
    void SetFloatValue(double value);

    // The key filter: whether the typed character is accepted into the current text.
    bool AcceptsChar(QChar c) const;
    // Validation: an empty text becomes NumForEmpty; a number outside a set limit becomes
    // that limit; on focus loss also one trailing ":" of a scale is removed and a text that
    // does not convert counts as empty. Emits Exit afterwards.
    void Validate(bool focusLoss);

Q_SIGNALS:
    // After every validation: focus loss and every key release.
    void Exit();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;

private:
    bool toNumber(const QString &text, double &value) const;

    TNumStyle m_numStyle = TNumStyle::nsInt;
    int m_numForEmpty = 0;
    int m_minValue = 0;
    int m_maxValue = 0;
    int m_dotLength = 2;
    bool m_inExit = false;
};
