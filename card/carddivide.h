#pragma once
// The card division rule of a sample card (样卡).
// The card division rule: reorders the needle values of the driven jacquard run on every
// card so that all needles of division A come first (in needle order), then those of B,
// and so on. The i-th needle of the run belongs to the division named by letter
// i mod L of the expanded rule (L letters), so "1A1B" sends the even needles of the run
// to its first half and the odd ones to its second half.

#include "core/base/document.h"

#include <QString>

#include <vector>

// The order in which the run's needle values are written: order[w] is the run index whose
// value goes to the w-th needle of the run. False with a message when the rule cannot be
// used: characters a rule cannot hold, no item at all (a rule without counts such as
// "AB"), or letters that do not run from A without a gap (a needle of a later letter
// would be lost).
bool PlanCardDivision(const QString &rule, int runLength, std::vector<int> &order, QString *error = nullptr);

// Applies an order made by PlanCardDivision to every card row.
void ApplyCardDivision(
    TMultiByteArray &card, const TDynamicWordArray &needles, const std::vector<int> &order);

// Both steps; the card is unchanged when the rule is refused.
bool DivideCardNeedles(
    TMultiByteArray &card, const TDynamicWordArray &needles, const QString &rule, QString *error = nullptr);
