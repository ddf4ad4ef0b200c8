#pragma once
// TRuleValidator: the validator of the rule fields (分造 and 规律输入).
// The characters a rule field takes, checked on every edit, typed or pasted: digits, "(",
// ")" and the letters A to a last letter; lower-case letters become upper case.

#include <QValidator>

class TRuleValidator : public QValidator {
    Q_OBJECT
public:
    TRuleValidator(QChar lastLetter, QObject *parent = nullptr);
    State validate(QString &input, int &pos) const override;

private:
    QChar m_lastLetter;
};
