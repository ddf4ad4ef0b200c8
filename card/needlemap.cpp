#include "card/needlemap.h"

#include "core/base/error.h"
#include "core/settings/uitexts.h"

#include <algorithm>
#include <vector>

namespace {

TDynamicWordArray ToArray(const std::vector<std::uint16_t> &v)
{
    TDynamicWordArray a(qsizetype(v.size()));
    std::copy(v.begin(), v.end(), a.begin());
    return a;
}

} // namespace

bool BuildNeedleMap(const TYangkaImage &card, TNeedleMap &map, QString *error)
{
    const int rows = card.RowCount(), cols = card.ColCount();
    const qint64 total = qint64(rows) * cols;
    if (total > MaxCardNeedles)
        return Fail(
            error, GetUiMessage(UiKey::String::SampleCardNeedlesOverCard).arg(total).arg(MaxCardNeedles));
    // Needle-order codes; positions the cells do not cover stay marker cells.
    std::vector<std::uint8_t> codes(std::size_t(total), Needle::MarkerColumn);
    for (int c = 0; c < cols && c < card.Cells.length(); ++c)
        for (int r = 0; r < rows && r < card.Cells[c].length(); ++r)
            codes[std::size_t(c) * rows + r] = card.Cells[c][r];
    if (card.StartFlag() == 1)
        std::reverse(codes.begin(), codes.end());

    std::vector<std::uint16_t> lacing;
    std::vector<std::vector<std::uint16_t>> runs;
    std::vector<std::vector<std::uint16_t>> kinds(NeedleKindCount);
    std::uint8_t runCode = 0;
    for (std::size_t p = 0; p < codes.size(); ++p) {
        const std::uint8_t code = codes[p];
        if (code == Needle::LacingHole) {
            lacing.push_back(std::uint16_t(p));
        } else if (code == Needle::Jacquard || code == Needle::Jacquard2) {
            if (runs.empty() || code != runCode) {
                runs.emplace_back();
                runCode = code;
            }
            runs.back().push_back(std::uint16_t(p));
        } else if (code >= 4 && code <= 14) {
            kinds[code - 4].push_back(std::uint16_t(p));
        }
    }
    std::reverse(runs.begin(), runs.end());

    TNeedleMap out;
    out.NeedleCount = int(total);
    out.LacingHoles = ToArray(lacing);
    out.JacquardRuns = TMultiWordArray(qsizetype(runs.size()));
    for (qsizetype i = 0; i < out.JacquardRuns.size(); ++i)
        out.JacquardRuns[i] = ToArray(runs[i]);
    out.Kinds = TMultiWordArray(NeedleKindCount);
    for (int k = 0; k < NeedleKindCount; ++k)
        out.Kinds[k] = ToArray(kinds[k]);
    map = out;
    return true;
}
