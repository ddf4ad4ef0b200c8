#pragma once
// The card division rule (分造) as the division dialog takes it from the user.
// The text the division dialog accepts and the rule it stores in the sample card: a
// single division is always "1A"; several divisions take the typed rule, checked exactly
// as the card builder checks it (PlanCardDivision), so no stored rule is refused later.

#include <QChar>
#include <QString>

// The largest rule a sample-card file holds, in bytes of its text encoding.
constexpr int MaxStoredRuleBytes = 255;

// Whether text holds only the characters a rule field takes: digits, "(", ")" and the
// letters A to lastLetter (either case). fixed gets the text with lower-case letters made
// upper case.
bool RuleFieldAccepts(const QString &text, QChar lastLetter, QString *fixed = nullptr);

// Whether the division dialog opens with several divisions: the rule names more than one
// letter.
bool DivisionRuleIsMultiple(const QString &rule);

// The rule to store: "1A" for a single division; otherwise the trimmed text when the card
// builder can use it (counts before the letters, letters from A without a gap) and a
// sample-card file can hold it. False with a message otherwise.
bool MakeDivisionRule(const QString &text, bool multiple, QString &rule, QString *error = nullptr);
