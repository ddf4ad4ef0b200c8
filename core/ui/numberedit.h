#pragma once
// TNumricEdit: a one-line edit box for numbers. It filters the characters typed into it,
// validates its text after every key release and when it loses the focus, steps its value
// with the up and down arrow keys, and reads and writes its value as an integer or a
// floating number.
//
// Limits: with MinValue and MaxValue both 0 the box has no limits. Otherwise MinValue is
// the lower limit, and MaxValue the upper limit except when MaxValue is 0 and MinValue is
// above 0: a range from a positive MinValue up to 0 would hold nothing, so there 0 means
// "no upper limit". So MinValue -10 with MaxValue 0 is the range -10..0, MinValue 0 with
// MaxValue 100 is 0..100, and MinValue 10 with MaxValue 0 is 10 and above. A text that
// does not convert to a number (a lone "-", a scale such as "1:2" in a box with limits)
// never raises: it counts as empty.
//
// Every way text gets in meets the key filter: typed keys, input-method text, pasting
// (shortcut, context menu, middle button), dropping and insert(). Inserted text counts as
// its characters typed one after another at the caret (the first replacing the selection);
// the refused ones are left out, and nothing happens when all are refused. Text dragged
// within the box itself is not dropped back into it. setText() is not filtered: it is the
// program's own text.

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
    // The value in decimal, held to the upper limit when there is one (the lower limit is
    // left to validation).
    void SetIntValue(int value);
    // The text as a floating number; an empty text, and one that does not convert, count
    // as 0.
    double GetFloatValue() const;
    // nsFloat: with DotLength decimals; otherwise the nearest integer (halves to even).
    void SetFloatValue(double value);

    // The key filter: whether the typed character is accepted into the current text.
    bool AcceptsChar(QChar c) const;
    // Inserts text at the caret (replacing the selection) as if its characters were typed
    // one by one: only those the key filter accepts go in. Hides QLineEdit::insert.
    void insert(const QString &text);
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
    void contextMenuEvent(QContextMenuEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    bool toNumber(const QString &text, double &value) const;
    bool hasLimits() const { return m_minValue != 0 || m_maxValue != 0; }
    bool hasUpperLimit() const { return hasLimits() && !(m_maxValue == 0 && m_minValue > 0); }
    // The key filter over a text whose selection is selStart..selEnd (the caret when equal).
    bool acceptsCharAt(const QString &text, int selStart, int selEnd, QChar c) const;
    // The characters of `typed` that the key filter accepts, typed one after another into
    // `text` with that selection.
    QString filterTyping(QString text, int selStart, int selEnd, const QString &typed) const;
    // The same at the caret (or over the selection) of the box's own text.
    QString acceptedAtCaret(const QString &typed) const;
    // Inserts the accepted part of `typed` at the caret; validates afterwards when asked.
    // Returns whether anything went in.
    bool insertFiltered(const QString &typed, bool validate);
    // Whether the key event inserts text in a line edit (printable text, no shortcut).
    static bool insertsText(const QKeyEvent *event);

    TNumStyle m_numStyle = TNumStyle::nsInt;
    int m_numForEmpty = 0;
    int m_minValue = 0;
    int m_maxValue = 0;
    int m_dotLength = 2;
    bool m_inExit = false;
};
