#include "weave/weavedialogrules.h"

#include "weave/layersequence.h"
#include "weave/weave.h"

#include <algorithm>
#include <vector>

namespace {

bool readSizes(const QString &warpText, const QString &weftText, int low, int &warps, int &wefts)
{
    int w = 0, h = 0;
    if (!ReadDialogInt(warpText, w) || !ReadDialogInt(weftText, h))
        return false;
    if (w < low || w > MaxDialogWeaveSide || h < low || h > MaxDialogWeaveSide)
        return false;
    warps = w;
    wefts = h;
    return true;
}

} // namespace

bool ReadDialogInt(const QString &text, int &value)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (ok)
        value = v;
    return ok;
}

bool ReadNewWeaveSize(const QString &warpText, const QString &weftText, int &warps, int &wefts)
{
    return readSizes(warpText, weftText, MinNewWeaveSide, warps, wefts);
}

bool ReadTileWeaveSize(const QString &warpText, const QString &weftText, int &warps, int &wefts)
{
    return readSizes(warpText, weftText, MinTileWeaveSide, warps, wefts);
}

bool ReadSymmetryAxes(const QStringList &positionTexts, const QStringList &amountTexts,
    TIntegerArray &positions, TIntegerArray &amounts)
{
    if (positionTexts.size() != amountTexts.size() || positionTexts.isEmpty()
        || positionTexts.size() > MaxSymmetryAxes)
        return false;
    TIntegerArray pos(positionTexts.size()), amt(amountTexts.size());
    for (qsizetype k = 0; k < positionTexts.size(); ++k) {
        int p = 0, a = 0;
        if (!ReadDialogInt(positionTexts[k], p) || !ReadDialogInt(amountTexts[k], a))
            return false;
        pos[k] = p;
        amt[k] = a;
    }
    positions = pos;
    amounts = amt;
    return true;
}

bool ReadSwapLines(const QString &firstText, const QString &secondText, int &first, int &second)
{
    int a = 0, b = 0;
    if (!ReadDialogInt(firstText, a) || a == 0 || !ReadDialogInt(secondText, b))
        return false;
    first = a;
    second = b;
    return true;
}

bool ReadRowColEdit(TRowColEdit edit, const QString &startText, const QString &countText, const TWeave *weave,
    int &start, int &count)
{
    int s = 0, n = 0;
    if (!ReadDialogInt(startText, s) || !ReadDialogInt(countText, n) || s < 0 || n <= 0)
        return false;
    if (weave) {
        const bool rows = edit == RowsAdd || edit == RowsDelete;
        const qint64 lines = rows ? weave->WeftCount() : weave->WarpCount();
        const bool deletion = edit == RowsDelete || edit == ColumnsDelete;
        if (s > lines)
            return false;
        if (deletion && (s < 1 || qint64(s) + n - 1 > lines))
            return false;
    }
    start = s;
    count = n;
    return true;
}

bool IsValidLayerSequence(const TIntegerArray &sequence)
{
    if (sequence.isEmpty())
        return false;
    std::vector<bool> present(MaxWeaveLayer + 1, false);
    int largest = 0;
    for (const std::int32_t layer : sequence) {
        if (layer < 1 || layer > MaxWeaveLayer)
            return false;
        present[std::size_t(layer)] = true;
        largest = std::max(largest, int(layer));
    }
    for (int layer = 1; layer <= largest; ++layer)
        if (!present[std::size_t(layer)])
            return false;
    return true;
}

bool ReadLayerSequence(const QString &text, TIntegerArray &sequence)
{
    TIntegerArray read;
    if (!ParseLayerSequence(text, read) || !IsValidLayerSequence(read))
        return false;
    sequence = read;
    return true;
}
