#include "core/ui/numberedit.h"

#include "core/base/numparse.h"
#include "core/base/numutils.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
// QLineEdit's own default maximum length, which means "no limit" here.
constexpr int kNoMaxLength = 32767;

int clampToInt(long long v)
{
    return int(std::clamp<long long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}
} // namespace

TNumricEdit::TNumricEdit(QWidget *parent)
    : QLineEdit(parent)
{
    // Keys reach the box as key presses, so that every typed character meets the filter;
    // an input method would otherwise commit text (full-width digits, letters) past it.
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

bool TNumricEdit::AcceptsChar(QChar c) const
{
    const QString t = text();
    const int selStart = hasSelectedText() ? selectionStart() : cursorPosition();
    if (c == QLatin1Char('\b'))
        return true;
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
        if (m_numStyle == TNumStyle::nsFloat && !hasSelectedText()) {
            const qsizetype dot = t.indexOf(QLatin1Char('.'));
            if (dot >= 0 && dot < cursorPosition() && t.size() - dot - 1 >= m_dotLength)
                return false;
        }
        if (m_numStyle == TNumStyle::nsInt && maxLength() < kNoMaxLength && !hasSelectedText()
            && t.size() >= maxLength())
            return false;
        return true;
    }
    if (c == QLatin1Char('.'))
        return m_numStyle == TNumStyle::nsFloat && !t.isEmpty() && !t.contains(QLatin1Char('.'));
    if (c == QLatin1Char(':')) {
        if (m_numStyle != TNumStyle::nsScale || selStart == 0)
            return false;
        return !(t.contains(QLatin1Char(':')) && t.endsWith(QLatin1Char(':')));
    }
    if (c == QLatin1Char('-'))
        return m_minValue < 0 && selStart == 0 && !t.contains(QLatin1Char('-'));
    return false;
}

bool TNumricEdit::toNumber(const QString &t, double &value) const
{
    if (m_numStyle == TNumStyle::nsFloat)
        return TryStrToFloat(t, value);
    std::int32_t v = 0;
    if (!TryStrToInt(t, v))
        return false;
    value = v;
    return true;
}

void TNumricEdit::Validate(bool focusLoss)
{
    if (text().isEmpty())
        setText(QString::number(m_numForEmpty));
    if (m_minValue != 0 || m_maxValue != 0) {
        double v = 0;
        if (!toNumber(text(), v)) {
            // Text being typed (a lone "-") is left alone until the focus leaves.
            if (focusLoss) {
                setText(QString::number(m_numForEmpty));
                v = m_numForEmpty;
            } else {
                v = std::numeric_limits<double>::quiet_NaN();
            }
        }
        if (m_minValue != 0 && v < m_minValue)
            setText(QString::number(m_minValue));
        else if (m_maxValue != 0 && v > m_maxValue)
            setText(QString::number(m_maxValue));
    }
    // A trailing ":" is part of a scale being typed; it goes when the focus leaves.
    if (focusLoss && m_numStyle == TNumStyle::nsScale && text().endsWith(QLatin1Char(':')))
        setText(text().chopped(1));
    // A handler of Exit that reads the value validates again; that does not re-emit.
    if (!m_inExit) {
        m_inExit = true;
        Q_EMIT Exit();
        m_inExit = false;
    }
}

int TNumricEdit::GetIntValue()
{
    Validate(true);
    int v = 0;
    GetTextAsInt(v);
    return v;
}

bool TNumricEdit::GetTextAsInt(int &value) const
{
    std::int32_t v = 0;
    if (TryStrToInt(text(), v)) {
        value = v;
        return true;
    }
    value = m_numForEmpty;
    return false;
}

void TNumricEdit::SetIntValue(int value)
{
    if (m_maxValue != 0)
        value = std::min(value, m_maxValue);
    setText(QString::number(value));
}

double TNumricEdit::GetFloatValue() const
{
    double v = 0;
    return TryStrToFloat(text().isEmpty() ? QStringLiteral("0") : text(), v) ? v : 0.0;
}

void TNumricEdit::SetFloatValue(double value)
{
    if (!std::isfinite(value))
        value = 0;
    if (m_numStyle == TNumStyle::nsFloat)
        setText(QString::asprintf("%.*f", std::clamp(m_dotLength, 0, 20), value));
    else
        setText(QString::number(clampToInt(Round(value))));
}

void TNumricEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        const int step = event->key() == Qt::Key_Up ? 1 : -1;
        if (m_numStyle == TNumStyle::nsInt)
            SetIntValue(clampToInt(static_cast<long long>(GetIntValue()) + step));
        else if (m_numStyle == TNumStyle::nsFloat)
            SetFloatValue(GetFloatValue() + step);
        event->accept();
        return;
    }
    // Typed characters go through the filter; keys without a character (navigation,
    // shortcuts, Enter and Escape for the dialog) take the usual path.
    const QString typed = event->text();
    if (typed.size() == 1 && (typed[0].isPrint() || typed[0] == QLatin1Char('\b'))
        && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && !AcceptsChar(typed[0])) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TNumricEdit::keyReleaseEvent(QKeyEvent *event)
{
    QLineEdit::keyReleaseEvent(event);
    Validate(false);
}

void TNumricEdit::inputMethodEvent(QInputMethodEvent *event)
{
    // Text committed by an input method passes the same filter as typed characters and is
    // validated as after a key release; nothing is composed inside the box.
    bool inserted = false;
    for (const QChar c : event->commitString()) {
        if (c != QLatin1Char('\b') && AcceptsChar(c)) {
            insert(QString(c));
            inserted = true;
        }
    }
    event->accept();
    if (inserted)
        Validate(false);
}

void TNumricEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    Validate(true);
}
