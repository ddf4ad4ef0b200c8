#include "core/base/rulenotation.h"

#include "core/base/error.h"
#include "core/settings/uitexts.h"

#include <algorithm>

namespace {

constexpr int MaxCountDigits = 5;
// Counts of the second pass are digit runs of any length; they saturate here, which is
// far beyond any number of items a caller asks for.
constexpr std::int64_t CountCeiling = std::int64_t(1) << 40;

bool IsRuleLetter(QChar c)
{
    return c >= QLatin1Char('A') && c <= QLatin1Char('Z');
}

// Collects the first pass's output as text.
struct TextSink {
    QString out;
    int limit;
    void put(QChar c)
    {
        if (out.size() < limit)
            out.append(c);
    }
    bool full() const { return out.size() >= limit; }
    // Progress marker for the repetition shortcut: a repetition that leaves it unchanged
    // will leave it unchanged every time.
    qsizetype mark() const { return out.size(); }
    bool sameState(qsizetype m) const { return m == out.size(); }
};

// The second pass as a stream: digit runs set the count, every other character is
// emitted count times.
template <class Emit> struct CountPass {
    Emit emit;
    std::int64_t count = 0;
    bool inRun = false;

    void put(QChar c)
    {
        if (IsDigitChar(c)) {
            if (!inRun) {
                count = 0;
                inRun = true;
            }
            count = std::min(count * 10 + (c.unicode() - '0'), CountCeiling);
            return;
        }
        inRun = false;
        emit(c, count);
    }
};

struct ItemEmit {
    std::vector<std::uint8_t> *items;
    std::size_t limit;
    void operator()(QChar c, std::int64_t count)
    {
        const std::size_t room = limit - std::min(limit, items->size());
        const std::size_t n = std::size_t(std::min<std::int64_t>(count, std::int64_t(room)));
        items->insert(items->end(), n, std::uint8_t(c.unicode() - 'A'));
    }
};

struct ItemSink {
    CountPass<ItemEmit> pass;
    bool full() const { return pass.emit.items->size() >= pass.emit.limit; }
    void put(QChar c) { pass.put(c); }
    struct Mark {
        std::size_t size;
        std::int64_t count;
        bool inRun;
    };
    Mark mark() const { return { pass.emit.items->size(), pass.count, pass.inRun }; }
    bool sameState(const Mark &m) const
    {
        return m.size == pass.emit.items->size() && m.count == pass.count && m.inRun == pass.inRun;
    }
};

// The first pass, feeding its output character by character into sink.
template <class Sink> void RunRepeatPass(const QString &text, Sink &sink)
{
    const qsizetype n = text.size();
    int count = 0;
    QString digits;
    qsizetype i = 0;
    while (i < n && !sink.full()) {
        if (IsDigitChar(text[i])) {
            qsizetype j = i;
            while (j < n && IsDigitChar(text[j]))
                ++j;
            if (j - i > MaxCountDigits)
                return;
            digits = text.mid(i, j - i);
            count = digits.toInt();
            i = j;
            if (i >= n)
                return;
        }
        const QChar c = text[i];
        if (c == QLatin1Char('(')) {
            qsizetype close = text.indexOf(QLatin1Char(')'), i + 1);
            if (close < 0)
                close = n;
            const QString group = text.mid(i + 1, close - i - 1);
            for (int r = 0; r < count && !sink.full(); ++r) {
                const auto before = sink.mark();
                for (QChar g : group)
                    sink.put(g);
                // A repetition that changed nothing changes nothing when repeated.
                if (sink.sameState(before))
                    break;
            }
            i = close + 1;
        } else {
            for (QChar d : digits)
                sink.put(d);
            sink.put(c);
            ++i;
        }
    }
}

} // namespace

bool IsDigitChar(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool CheckRuleText(const QString &text, QString *error)
{
    const QString t = text.trimmed();
    bool inGroup = false;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t[i];
        QString why;
        if (c == QLatin1Char('(')) {
            if (inGroup)
                why = GetUiMessage(UiKey::String::RuleNestedBrackets);
            inGroup = true;
        } else if (c == QLatin1Char(')')) {
            if (!inGroup)
                why = GetUiMessage(UiKey::String::RuleUnopenedBracket);
            inGroup = false;
        } else if (!IsDigitChar(c) && !IsRuleLetter(c)) {
            why = GetUiMessage(UiKey::String::RuleBadCharacter);
        }
        if (!why.isEmpty())
            return Fail(error, GetUiMessage(UiKey::String::RuleUnusable).arg(t).arg(i + 1).arg(why));
    }
    return true;
}

QString ExpandRepeatText(const QString &text, int maxChars)
{
    TextSink sink { QString(), std::max(maxChars, 0) };
    RunRepeatPass(text, sink);
    return sink.out;
}

QString ExpandLetterCounts(const QString &text, int maxChars)
{
    QString out;
    const qsizetype limit = std::max(maxChars, 0);
    auto emit = [&](QChar c, std::int64_t count) {
        const qsizetype n = qsizetype(std::min<std::int64_t>(count, limit - out.size()));
        out.append(QString(n, c));
    };
    CountPass<decltype(emit)> pass { emit };
    for (QChar c : text) {
        if (out.size() >= limit)
            break;
        pass.put(c);
    }
    return out;
}

bool ExpandRuleItems(const QString &text, int maxItems, std::vector<std::uint8_t> &items, QString *error)
{
    if (!CheckRuleText(text, error))
        return false;
    std::vector<std::uint8_t> out;
    ItemSink sink { CountPass<ItemEmit> { ItemEmit { &out, std::size_t(std::max(maxItems, 0)) } } };
    RunRepeatPass(text.trimmed(), sink);
    items = std::move(out);
    return true;
}

bool ExpandRuleToIndexes(const QString &text, TIntegerArray &target)
{
    std::vector<std::uint8_t> items;
    if (!ExpandRuleItems(text, int(std::max<qsizetype>(target.length(), 1)), items) || items.empty())
        return false;
    for (int k = 0; k < target.length(); ++k)
        target[k] = items[std::size_t(k) % items.size()];
    return true;
}

int CountDistinctLetters(const QString &text)
{
    bool seen[26] = {};
    int n = 0;
    for (QChar c : text)
        if (IsRuleLetter(c) && !seen[c.unicode() - 'A']) {
            seen[c.unicode() - 'A'] = true;
            ++n;
        }
    return n;
}
