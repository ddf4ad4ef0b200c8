#pragma once
// The rule input (规律输入): row tables filled from a repeat rule.
// Writes shuttle numbers, stop-motion values or weft-density steps into a document's row
// tables from a rule such as "2(1A1B)3(1A2B)": the rule's letters, taken in turn and
// repeated as often as needed, give the selected rows their values, A to P the values 1 to
// 16 and Q the value 0 (no pick).
//
// Rows are counted from 1 at the bottom row of the pattern, as the grid, the status bar and
// the numeric dialogs count wefts; entries from 1.

#include "core/base/document.h"

#include <QString>

enum class TRowRuleTarget { Shuttle, StopMotion, WeftDensity };

struct TRowRuleRange {
    int FirstRow = 1, LastRow = 1; // 1 = the bottom row
    int FirstEntry = 1, LastEntry = 1;
};

// The largest letter a rule may hold: Q, the value 0.
constexpr char LastRowRuleLetter = 'Q';

// The rows and entries the dialog offers: the rows of PickRows, and Min(17, WeftRepeat)
// entries (no more than the table holds).
int RowRuleRowLimit(const TMesh &mesh);
int RowRuleEntryLimit(const TMesh &mesh);

// The value a letter gives: (letter index + 1) mod 17.
int RowRuleValue(int letterIndex);

// Applies the rule to the chosen table over the range (held to the table's size). The
// stop-motion target writes its values whatever the shuttle numbers of those rows are.
// False with a message, changing nothing, for an empty range, a rule the notation refuses,
// a rule with a letter beyond Q (it would wrap round to another shuttle) or one that gives
// no values.
bool ApplyRowRule(TMesh &mesh, TRowRuleTarget target, const TRowRuleRange &range, const QString &rule,
    QString *error = nullptr);
