#include "core/base/numparse.h"

#include <cmath>

namespace {
bool isHexDigit(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
        || (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
        || (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}
} // namespace

bool TryStrToInt(const QString &text, std::int32_t &value)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+'))) {
        negative = t[i] == QLatin1Char('-');
        ++i;
    }
    bool hex = false;
    if (i < t.size() && t[i] == QLatin1Char('$')) {
        hex = true;
        ++i;
    } else if (i + 1 < t.size() && t[i] == QLatin1Char('0')
        && (t[i + 1] == QLatin1Char('x') || t[i + 1] == QLatin1Char('X'))) {
        hex = true;
        i += 2;
    }
    if (i >= t.size())
        return false;
    // Hexadecimal covers the whole 32-bit pattern ($FFFFFFFF is -1); decimal must fit.
    const std::uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    std::uint64_t n = 0;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        int digit;
        if (hex) {
            if (!isHexDigit(c))
                return false;
            digit = c.isDigit() ? c.unicode() - '0' : (c.toLower().unicode() - 'a' + 10);
        } else {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
            digit = c.unicode() - '0';
        }
        n = n * (hex ? 16 : 10) + std::uint64_t(digit);
        if (n > limit)
            return false;
    }
    const std::uint32_t bits = std::uint32_t(n);
    value = std::int32_t(negative ? 0u - bits : bits);
    return true;
}

bool TryStrToFloat(const QString &text, double &value)
{
    QString t = text.trimmed();
    if (t.contains(QLatin1Char(',')) && t.contains(QLatin1Char('.')))
        return false;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    // Only plain decimal notation with an optional exponent; no "inf" or "nan".
    for (QChar c : t)
        if (!(c.isDigit() || c == QLatin1Char('.') || c == QLatin1Char('-') || c == QLatin1Char('+')
                || c == QLatin1Char('e') || c == QLatin1Char('E')))
            return false;
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    value = v;
    return true;
}
