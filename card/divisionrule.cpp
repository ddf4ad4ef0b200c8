#include "card/divisionrule.h"

#include "card/carddivide.h"
#include "core/base/error.h"
#include "core/base/filetext.h"
#include "core/base/rulenotation.h"
#include "core/settings/uitexts.h"

#include <vector>

bool RuleFieldAccepts(const QString &text, QChar lastLetter, QString *fixed)
{
    QString out = text;
    const QChar last = lastLetter.toUpper();
    for (QChar &c : out) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = c.toUpper();
        const bool letter = c >= QLatin1Char('A') && c <= last;
        const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
        if (!letter && !digit && c != QLatin1Char('(') && c != QLatin1Char(')'))
            return false;
    }
    if (fixed)
        *fixed = out;
    return true;
}

bool DivisionRuleIsMultiple(const QString &rule)
{
    return CountDistinctLetters(rule.toUpper()) > 1;
}

bool MakeDivisionRule(const QString &text, bool multiple, QString &rule, QString *error)
{
    if (!multiple) {
        rule = QStringLiteral("1A");
        return true;
    }
    const QString typed = text.trimmed().toUpper();
    // The card builder's own check, over the longest run of jacquard needles a card has.
    std::vector<int> order;
    if (!PlanCardDivision(typed, 65535, order, error))
        return false;
    QByteArray bytes;
    if (!EncodeFileText(typed, bytes, error))
        return false;
    if (bytes.size() > MaxStoredRuleBytes)
        return Fail(error, GetUiMessage(UiKey::String::SampleCardRuleTooLong));
    rule = typed;
    return true;
}
