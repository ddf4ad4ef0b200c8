#include "weave/layersequence.h"

#include "core/base/strutils.h"

#include <vector>

namespace {

bool SameBlock(const TIntegerArray &s, int a, int b, int q)
{
    for (int i = 0; i < q; ++i)
        if (s[a + i] != s[b + i])
            return false;
    return true;
}

bool StrictInt(const QString &text, int &value)
{
    bool ok = false;
    value = text.toInt(&ok, 10);
    return ok;
}

} // namespace

QString LayerSequenceToText(const TIntegerArray &sequence)
{
    const int length = sequence.length();
    QString text;
    int p = 0;
    while (p < length) {
        const int rest = length - p;
        int period = 0, repeats = 0;
        for (int q = 1; q <= rest / 2 && !period; ++q) {
            int k = 1;
            while (k < rest / q && SameBlock(sequence, p, p + k * q, q))
                ++k;
            if (k > 2 || (k == 2 && q > 1)) {
                period = q;
                repeats = k;
            }
        }
        if (!period) {
            for (int i = p; i < length; ++i)
                text += QString::number(sequence[i]) + QLatin1Char(',');
            break;
        }
        QStringList items;
        for (int i = 0; i < period; ++i)
            items << QString::number(sequence[p + i]);
        text += QStringLiteral("%1(%2),").arg(repeats).arg(items.join(QLatin1Char(',')));
        p += repeats * period;
    }
    if (text.endsWith(QLatin1Char(',')))
        text.chop(1);
    return text;
}

bool ParseLayerSequence(const QString &text, TIntegerArray &sequence)
{
    // Commas inside groups become semicolons, so that the text splits into items at commas.
    QString work = text;
    qsizetype pos = 0;
    for (;;) {
        const qsizetype open = work.indexOf(QLatin1Char('('), pos);
        if (open < 0)
            break;
        const qsizetype close = work.indexOf(QLatin1Char(')'), pos);
        if (close < open)
            return false;
        for (qsizetype i = open; i < close; ++i)
            if (work[i] == QLatin1Char(','))
                work[i] = QLatin1Char(';');
        pos = close + 1;
    }
    std::vector<std::int32_t> out;
    for (const QString &item : SplitString(work, QStringLiteral(","))) {
        const qsizetype open = item.indexOf(QLatin1Char('('));
        if (open < 0) {
            int v = 0;
            if (!StrictInt(item, v))
                return false;
            out.push_back(v);
            continue;
        }
        int count = 0;
        if (!item.endsWith(QLatin1Char(')')) || !StrictInt(item.left(open), count) || count < 1)
            return false;
        std::vector<std::int32_t> group;
        for (const QString &piece :
            SplitString(item.mid(open + 1, item.size() - open - 2), QStringLiteral(";"))) {
            int v = 0;
            if (!StrictInt(piece, v))
                return false;
            group.push_back(v);
        }
        if (qint64(out.size()) + qint64(count) * qint64(group.size()) > MaxLayerSequenceLength)
            return false;
        for (int r = 0; r < count; ++r)
            out.insert(out.end(), group.begin(), group.end());
    }
    if (out.size() > std::size_t(MaxLayerSequenceLength))
        return false;
    TIntegerArray result(qsizetype(out.size()));
    std::copy(out.begin(), out.end(), result.begin());
    sequence = result;
    return true;
}

QStringList SplitLayerText(const QString &text, const QString &delimiter)
{
    return SplitString(text, delimiter);
}
