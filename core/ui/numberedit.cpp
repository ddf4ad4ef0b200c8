#include "core/ui/numberedit.h"

#include "core/base/numparse.h"
#include "core/base/numutils.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

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
    const int selStart = hasSelectedText() ? selectionStart() : cursorPosition();
    const int selEnd = hasSelectedText() ? selectionEnd() : selStart;
    return acceptsCharAt(text(), selStart, selEnd, c);
}

bool TNumricEdit::acceptsCharAt(const QString &t, int selStart, int selEnd, QChar c) const
{
    const bool selection = selEnd > selStart;
    if (c == QLatin1Char('\b'))
        return true;
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
        if (m_numStyle == TNumStyle::nsFloat && !selection) {
            const qsizetype dot = t.indexOf(QLatin1Char('.'));
            if (dot >= 0 && dot < selStart && t.size() - dot - 1 >= m_dotLength)
                return false;
        }
        if (m_numStyle == TNumStyle::nsInt && maxLength() < kNoMaxLength && !selection
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

QString TNumricEdit::filterTyping(QString t, int selStart, int selEnd, const QString &typed) const
{
    QString kept;
    for (const QChar c : typed) {
        // A backspace is a key, not text: inside inserted text it is left out.
        if (c == QLatin1Char('\b') || !acceptsCharAt(t, selStart, selEnd, c))
            continue;
        t.replace(selStart, selEnd - selStart, c);
        selEnd = ++selStart;
        kept += c;
    }
    return kept;
}

QString TNumricEdit::acceptedAtCaret(const QString &typed) const
{
    const int selStart = hasSelectedText() ? selectionStart() : cursorPosition();
    const int selEnd = hasSelectedText() ? selectionEnd() : selStart;
    return filterTyping(text(), selStart, selEnd, typed);
}

bool TNumricEdit::insertFiltered(const QString &typed, bool validate)
{
    const QString kept = acceptedAtCaret(typed);
    if (kept.isEmpty())
        return false;
    QLineEdit::insert(kept);
    if (validate)
        Validate(false);
    return true;
}

void TNumricEdit::insert(const QString &text)
{
    insertFiltered(text, false);
}

bool TNumricEdit::insertsText(const QKeyEvent *event)
{
    // As the line edit itself decides: printable text, not under Ctrl or Ctrl+Shift.
    const QString t = event->text();
    if (t.isEmpty() || t[0].category() == QChar::Other_Control)
        return false;
    const Qt::KeyboardModifiers mods = event->modifiers();
    return mods != Qt::ControlModifier && mods != (Qt::ControlModifier | Qt::ShiftModifier);
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
    if (hasLimits()) {
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
        if (v < m_minValue)
            setText(QString::number(m_minValue));
        else if (hasUpperLimit() && v > m_maxValue)
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
    if (hasUpperLimit())
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
    // Pasting and typed text go through the filter; keys without text (navigation,
    // shortcuts, backspace, Enter and Escape for the dialog) take the usual path.
    if (!isReadOnly() && event->matches(QKeySequence::Paste)) {
        insertFiltered(QGuiApplication::clipboard()->text(), false); // the key release validates
        event->accept();
        return;
    }
    if (!isReadOnly() && insertsText(event)) {
        const QString kept = acceptedAtCaret(event->text());
        if (kept != event->text()) {
            if (!kept.isEmpty())
                QLineEdit::insert(kept);
            event->accept();
            return;
        }
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
    insertFiltered(event->commitString(), true);
    event->accept();
}

void TNumricEdit::contextMenuEvent(QContextMenuEvent *event)
{
    // The line edit's own menu, with Paste going through the filter. Its entries carry no
    // names; Paste is found by the line edit's own (translated) text for it.
    QMenu *menu = createStandardContextMenu();
    if (!menu)
        return;
    const QString pasteText = QLineEdit::tr("&Paste");
    for (QAction *action : menu->actions()) {
        if (action->text().section(QLatin1Char('\t'), 0, 0) != pasteText)
            continue;
        QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
        connect(action, &QAction::triggered, this, [this] {
            if (!isReadOnly())
                insertFiltered(QGuiApplication::clipboard()->text(), true);
        });
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
    event->accept();
}

void TNumricEdit::mouseReleaseEvent(QMouseEvent *event)
{
    // The middle button pastes the selection clipboard where the press put the caret.
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (event->button() == Qt::MiddleButton && !isReadOnly() && clipboard->supportsSelection()) {
        deselect();
        insertFiltered(clipboard->text(QClipboard::Selection), true);
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void TNumricEdit::dropEvent(QDropEvent *event)
{
    // Text dropped from elsewhere goes in at the drop point as if typed there. Text dragged
    // within the box is refused: moving it could put a sign or a separator where no key
    // could, and a number box has nothing worth rearranging.
    const QMimeData *mime = event->mimeData();
    QString kept;
    if (!isReadOnly() && mime && mime->hasText() && event->source() != this) {
        const int pos = cursorPositionAt(event->position().toPoint());
        kept = filterTyping(text(), pos, pos, mime->text());
    }
    if (kept.isEmpty()) {
        QDragLeaveEvent leave; // the drop caret goes away as when the drag leaves
        QLineEdit::dragLeaveEvent(&leave);
        event->ignore();
        return;
    }
    QMimeData filtered;
    filtered.setText(kept);
    QDropEvent forwarded(
        event->position(), event->possibleActions(), &filtered, event->buttons(), event->modifiers());
    forwarded.setDropAction(event->dropAction());
    QLineEdit::dropEvent(&forwarded);
    event->setDropAction(forwarded.dropAction());
    event->setAccepted(forwarded.isAccepted());
    if (forwarded.isAccepted())
        Validate(false);
}

void TNumricEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    Validate(true);
}
