#include "card/cardbytes.h"

#include "core/base/filetext.h"
#include "core/base/filewrite.h"
#include "core/settings/uitexts.h"

#include <QFileInfo>

namespace CardBytes {

static constexpr std::array<std::uint8_t, 256> MakeBitReversed()
{
    std::array<std::uint8_t, 256> t {};
    for (int b = 0; b < 256; ++b) {
        int r = 0;
        for (int i = 0; i < 8; ++i)
            if (b & (1 << i))
                r |= 0x80 >> i;
        t[b] = std::uint8_t(r);
    }
    return t;
}

const std::array<std::uint8_t, 256> BitReversed = MakeBitReversed();

void PutLE16(QByteArray &buf, qsizetype at, unsigned value)
{
    buf[at] = char(value & 0xFF);
    buf[at + 1] = char((value >> 8) & 0xFF);
}

void PutBE16(QByteArray &buf, qsizetype at, unsigned value)
{
    buf[at] = char((value >> 8) & 0xFF);
    buf[at + 1] = char(value & 0xFF);
}

void PutBE32(QByteArray &buf, qsizetype at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        buf[at + i] = char((value >> (24 - 8 * i)) & 0xFF);
}

void PutBytes(QByteArray &buf, qsizetype at, const QByteArray &bytes)
{
    std::copy(bytes.cbegin(), bytes.cend(), buf.begin() + at);
}

unsigned GetLE16(const QByteArray &buf, qsizetype at)
{
    return unsigned(GetU8(buf, at)) | unsigned(GetU8(buf, at + 1)) << 8;
}

unsigned GetBE16(const QByteArray &buf, qsizetype at)
{
    return unsigned(GetU8(buf, at)) << 8 | unsigned(GetU8(buf, at + 1));
}

std::uint32_t GetBE32(const QByteArray &buf, qsizetype at)
{
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v = v << 8 | GetU8(buf, at + i);
    return v;
}

void AppendBE32(QByteArray &buf, std::uint32_t value)
{
    const qsizetype at = buf.size();
    buf.resize(at + 4);
    PutBE32(buf, at, value);
}

bool CheckCardShape(const TWenBanIO &io, TCardShape &shape, QString *error)
{
    const int n = io.Card.length();
    if (io.Card.size() > 65535)
        return Fail(error, GetUiMessage(UiKey::String::CardTooManyRows).arg(io.Card.size()));
    if (n != int(io.CardCount))
        return Fail(error, GetUiMessage(UiKey::String::CardCountMismatch).arg(io.CardCount).arg(n));
    const int len = n > 0 ? io.Card[0].length() : io.RowBytes();
    for (int i = 1; i < n; ++i)
        if (io.Card[i].length() != len)
            return Fail(error,
                GetUiMessage(UiKey::String::CardRowsUnequal).arg(i + 1).arg(io.Card[i].length()).arg(len));
    shape.CardCount = n;
    shape.RowBytes = len;
    return true;
}

bool CheckRowLength(const TWenBanIO &io, const TCardShape &shape, const char *format, QString *error)
{
    const long long needles = (long long)io.RowCount * io.ColCount;
    if ((needles + 7) / 8 != shape.RowBytes)
        return Fail(error,
            GetUiMessage(UiKey::String::CardRowsNotHeader)
                .arg(shape.RowBytes)
                .arg(io.RowCount)
                .arg(io.ColCount)
                .arg((needles + 7) / 8)
                .arg(QLatin1String(format)));
    return true;
}

bool CheckNeedleHeader(const TWenBanIO &io, const TCardShape &shape, const char *format, QString *error)
{
    const long long needles = (long long)io.RowCount * io.ColCount;
    if (needles > 65535)
        return Fail(error,
            GetUiMessage(UiKey::String::CardNeedlesOverHeader).arg(QLatin1String(format)).arg(needles));
    return CheckRowLength(io, shape, format, error);
}

bool GbkNameField(const QString &name, int maxBytes, QByteArray &out, QString *error)
{
    out.clear();
    // Encode character by character so that a cut never splits a double-byte character.
    for (qsizetype i = 0; i < name.size();) {
        // Characters beyond a full field are not written, so they need no encoding.
        if (maxBytes >= 0 && out.size() >= maxBytes)
            break;
        const qsizetype len = name.at(i).isHighSurrogate() && i + 1 < name.size() ? 2 : 1;
        QByteArray bytes;
        if (!EncodeFileText(name.mid(i, len), bytes) || bytes.isEmpty())
            return Fail(error, GetUiMessage(UiKey::String::CardNameNotGbk).arg(name));
        if (maxBytes >= 0 && out.size() + bytes.size() > maxBytes)
            break;
        out += bytes;
        i += len;
    }
    return true;
}

QString BaseNameOf(const QString &fileName)
{
    return QFileInfo(fileName).completeBaseName();
}

QString FileNameOf(const QString &fileName)
{
    return QFileInfo(fileName).fileName();
}

bool SaveBytes(const QString &fileName, const QByteArray &bytes, QString *error)
{
    return WriteFileAtomically(fileName, bytes, error);
}

} // namespace CardBytes
