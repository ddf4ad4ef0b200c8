#include "card/carddivide.h"

#include "core/base/error.h"
#include "core/base/rulenotation.h"
#include "core/settings/uitexts.h"

#include <algorithm>

bool PlanCardDivision(const QString &rule, int runLength, std::vector<int> &order, QString *error)
{
    const int divisions = CountDistinctLetters(rule);
    std::vector<std::uint8_t> letters;
    QString why;
    if (!ExpandRuleItems(rule, std::max(runLength, 1), letters, &why))
        return Fail(error, why);
    if (letters.empty())
        return Fail(error, GetUiMessage(UiKey::String::DivisionRuleNoNeedles).arg(rule));
    for (std::uint8_t l : letters)
        if (l >= divisions)
            return Fail(error,
                GetUiMessage(UiKey::String::DivisionRuleLetters)
                    .arg(rule)
                    .arg(divisions)
                    .arg(QChar('A' + divisions - 1)));
    std::vector<int> out(std::size_t(std::max(runLength, 0)));
    for (int i = 0; i < runLength; ++i)
        out[i] = i;
    std::stable_sort(out.begin(), out.end(), [&](int a, int b) {
        return letters[std::size_t(a) % letters.size()] < letters[std::size_t(b) % letters.size()];
    });
    order = std::move(out);
    return true;
}

void ApplyCardDivision(TMultiByteArray &card, const TDynamicWordArray &needles, const std::vector<int> &order)
{
    const qsizetype n = std::min(qsizetype(order.size()), needles.size());
    for (auto &row : card) {
        std::uint8_t *bytes = row.data();
        const std::size_t length = row.size();
        auto bit = [&](int pos) { return (bytes[pos >> 3] >> (7 - (pos & 7))) & 1; };
        std::vector<std::uint8_t> values(n);
        for (qsizetype w = 0; w < n; ++w)
            if (std::size_t(needles[order[w]] >> 3) < length)
                values[w] = std::uint8_t(bit(needles[order[w]]));
        for (qsizetype w = 0; w < n; ++w) {
            const int pos = needles[w];
            if (std::size_t(pos >> 3) >= length)
                continue;
            const std::uint8_t mask = std::uint8_t(0x80 >> (pos & 7));
            bytes[pos >> 3] = values[w] ? (bytes[pos >> 3] | mask) : (bytes[pos >> 3] & ~mask);
        }
    }
}

bool DivideCardNeedles(
    TMultiByteArray &card, const TDynamicWordArray &needles, const QString &rule, QString *error)
{
    std::vector<int> order;
    if (!PlanCardDivision(rule, needles.length(), order, error))
        return false;
    ApplyCardDivision(card, needles, order);
    return true;
}
