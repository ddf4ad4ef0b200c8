#include "card/rowrule.h"

#include "core/base/error.h"
#include "core/base/rulenotation.h"
#include "core/settings/uitexts.h"

#include <algorithm>

namespace {

TWeaveArray &TableOf(TMesh &mesh, TRowRuleTarget target)
{
    switch (target) {
    case TRowRuleTarget::StopMotion:
        return mesh.RegulatorRows;
    case TRowRuleTarget::WeftDensity:
        return mesh.WeftDensRows;
    case TRowRuleTarget::Shuttle:
        break;
    }
    return mesh.PickRows;
}

} // namespace

int RowRuleRowLimit(const TMesh &mesh)
{
    return mesh.PickRows.isEmpty() ? 0 : int(mesh.PickRows[0].length());
}

int RowRuleEntryLimit(const TMesh &mesh)
{
    return std::max(0, std::min({ 17, mesh.WeftRepeat, int(mesh.PickRows.length()) }));
}

int RowRuleValue(int letterIndex)
{
    return (letterIndex + 1) % 17;
}

bool ApplyRowRule(
    TMesh &mesh, TRowRuleTarget target, const TRowRuleRange &range, const QString &rule, QString *error)
{
    const QString text = rule.trimmed().toUpper();
    for (QChar c : text)
        if (c > QLatin1Char(LastRowRuleLetter) && c <= QLatin1Char('Z'))
            return Fail(error, GetUiMessage(UiKey::String::RuleInputLetterBeyond).arg(text).arg(c));
    TWeaveArray &table = TableOf(mesh, target);
    const int entries = std::min(RowRuleEntryLimit(mesh), int(table.length()));
    const int firstEntry = std::max(range.FirstEntry, 1), lastEntry = std::min(range.LastEntry, entries);
    const int firstRow = std::max(range.FirstRow, 1);
    int lastRow = std::min(range.LastRow, RowRuleRowLimit(mesh));
    for (int e = firstEntry - 1; e < lastEntry; ++e)
        lastRow = std::min(lastRow, int(table[e].length()));
    if (firstEntry > lastEntry || firstRow > lastRow)
        return Fail(error, GetUiMessage(UiKey::String::RuleInputEmptyRange));
    TIntegerArray values(lastRow - firstRow + 1);
    QString why;
    if (!CheckRuleText(text, &why))
        return Fail(error, why);
    if (!ExpandRuleToIndexes(text, values))
        return Fail(error, GetUiMessage(UiKey::String::RuleInputNoValues).arg(text));
    for (int e = firstEntry - 1; e < lastEntry; ++e) {
        auto &rows = table[e];
        const int height = int(rows.length());
        for (int k = firstRow; k <= lastRow; ++k)
            rows[height - k] = std::uint8_t(RowRuleValue(values[k - firstRow]));
    }
    return true;
}
