#include "card/ui/rulevalidator.h"

#include "card/divisionrule.h"

TRuleValidator::TRuleValidator(QChar lastLetter, QObject *parent)
    : QValidator(parent)
    , m_lastLetter(lastLetter)
{
}

QValidator::State TRuleValidator::validate(QString &input, int &) const
{
    QString fixed;
    if (!RuleFieldAccepts(input, m_lastLetter, &fixed))
        return Invalid;
    // Upper case in place: the length does not change, so the cursor stays.
    input = fixed;
    return Acceptable;
}
