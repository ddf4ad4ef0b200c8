#pragma once
// The rule notation in which the user types shuttle, stop-motion, weft-density and card
// division sequences, for example "2(1A1B)3(1A2B)" = A B A B A B B A B B A B B.
//
// A letter names an item (A = 0, B = 1, ...). A count is a run of at most five digits and
// applies to every following letter up to the next count; a letter before any count has
// count 0 and disappears. A count before a group in round brackets repeats the group's
// text; groups do not nest and a group without ")" runs to the end of the text.
//
// Expansion is done in two passes (groups, then counts), streamed so that a caller that
// needs only the first N items never builds more: "99999(99999A)" costs no more than "1A".

#include "core/base/document.h"

#include <QString>

#include <cstdint>
#include <vector>

// Upper bound on the length of the texts ExpandRepeatText and ExpandLetterCounts return.
constexpr int RuleTextLimit = 1 << 20;

bool IsDigitChar(QChar c);

// True when the text (trimmed) holds only digits, the letters "A" to "Z" and brackets in
// their places: no "(" inside a group and no ")" outside one. Otherwise false with a
// message in *error.
bool CheckRuleText(const QString &text, QString *error = nullptr);

// First pass: groups expanded (a count before other characters is written again before
// every following character). Stops at a count of more than five digits, and after
// maxChars characters.
QString ExpandRepeatText(const QString &text, int maxChars = RuleTextLimit);

// Second pass: every character that is not a digit is written as many times as the last
// count (0 at the start). Stops after maxChars characters.
QString ExpandLetterCounts(const QString &text, int maxChars = RuleTextLimit);

// Both passes over the trimmed text: the item numbers (letter - "A") of the first
// maxItems letters of the expansion, in order. False with a message when the text fails
// CheckRuleText; an empty expansion is not a failure here.
bool ExpandRuleItems(
    const QString &text, int maxItems, std::vector<std::uint8_t> &items, QString *error = nullptr);

// Fills every element of target (sized by the caller) with the items of the expansion
// taken cyclically: element k gets item k mod the expansion's length. Returns false,
// leaving target unchanged, when the text is refused or expands to nothing.
bool ExpandRuleToIndexes(const QString &text, TIntegerArray &target);

// The number of different letters "A" to "Z" in a text; other characters do not count.
int CountDistinctLetters(const QString &text);
