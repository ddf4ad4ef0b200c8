// EP (read and written) and JC4 (written only): a fixed header, then the card rows first
// card first with every byte bit-reversed.
#include "card/cardformats.h"
#include "card/cardformats_p.h"

#include "core/settings/uitexts.h"

using namespace CardBytes;

// EP layout: block count B at 0, N at 3, the name at 6 (8 bytes), k at 15, 136 at 31, the
// needle count (L - k) x 8 at 32, rows from 34, then 255-bytes up to the next 4096-byte
// boundary (counted from offset 2) and 1022 zero bytes. k is 4 for rows of 8 bytes or more;
// rows of 4 to 7 bytes are refused.
bool WriteEPCard(const TWenBanIO &io, const QString &fileName, QString *error)
{
    TCardShape s;
    if (!CheckCardShape(io, s, error))
        return false;
    // The reader adds 4 bytes back to every row stated with at least 32 needles, so a row
    // of 4 to 7 bytes (stated with 0 to 24 needles) would read back as rows of 0 to 3
    // bytes: the header cannot describe it.
    if (s.RowBytes >= 4 && s.RowBytes < 8)
        return Fail(error, GetUiMessage(UiKey::String::EPRowLengthRefused).arg(s.RowBytes));
    const int k = s.RowBytes >= 4 ? 4 : 0;
    const qint64 needles = qint64(s.RowBytes - k) * 8;
    if (needles > 65535)
        return Fail(error, GetUiMessage(UiKey::String::EPNeedlesOver).arg(needles));
    const qint64 dataBytes = qint64(s.RowBytes) * s.CardCount;
    const qint64 blocks = (dataBytes + 32) / 4096 + 1;
    if (blocks > 65535)
        return Fail(error, GetUiMessage(UiKey::String::EPCardTooLarge).arg(blocks));
    QByteArray name;
    if (!GbkNameField(BaseNameOf(fileName), 8, name, error))
        return false;

    const qint64 pad = 4096 - (dataBytes + 32) % 4096;
    QByteArray buf(34 + dataBytes + pad + 1022, '\0');
    PutLE16(buf, 0, unsigned(blocks));
    PutLE16(buf, 3, unsigned(s.CardCount));
    PutBytes(buf, 6, name);
    buf[15] = char(k);
    buf[31] = char(136);
    PutLE16(buf, 32, unsigned(needles));
    char *p = buf.data() + 34;
    for (int r = 0; r < s.CardCount; ++r)
        for (std::uint8_t b : io.Card[r])
            *p++ = char(Rev(b));
    std::fill(p, p + pad, char(0xFF));
    return SaveBytes(fileName, buf, error);
}

// N at 3, the needle count at 32; rows of ColCount bytes from 34, where ColCount is
// needles div 8, plus 4 when that is at least 4 (which is why the writer refuses rows of
// 4 to 7 bytes).
bool ReadEPFile(const QByteArray &bytes, TCardRead &out, QString *error)
{
    if (bytes.size() < 34)
        return Fail(error, GetUiMessage(UiKey::String::CardHeaderShort).arg(QLatin1String("EP")));
    const int n = int(GetLE16(bytes, 3));
    const int byNeedles = int(GetLE16(bytes, 32)) / 8;
    const int cols = byNeedles >= 4 ? byNeedles + 4 : byNeedles;
    if (!PrepareCardRows(out, bytes.size(), 34, n, cols, cols, "EP", error))
        return false;
    const char *p = bytes.constData() + 34;
    for (int r = 0; r < n; ++r)
        for (std::uint8_t &b : out.Card[r])
            b = Rev(std::uint8_t(*p++));
    out.RowCount = 8;
    out.ColCount = cols;
    return true;
}

// JC4 layout: N at 3, 15 at 30, the needle count L x 8 - 32 at 32, rows from 34.
bool WriteJC4Card(const TWenBanIO &io, const QString &fileName, QString *error)
{
    TCardShape s;
    if (!CheckCardShape(io, s, error))
        return false;
    const qint64 needles = qint64(s.RowBytes) * 8 - 32;
    if (needles < 0 || needles > 65535)
        return Fail(error, GetUiMessage(UiKey::String::JC4RowRefused).arg(s.RowBytes));
    QByteArray buf(34 + qint64(s.RowBytes) * s.CardCount, '\0');
    PutLE16(buf, 3, unsigned(s.CardCount));
    PutLE16(buf, 30, 15);
    PutLE16(buf, 32, unsigned(needles));
    char *p = buf.data() + 34;
    for (int r = 0; r < s.CardCount; ++r)
        for (std::uint8_t b : io.Card[r])
            *p++ = char(Rev(b));
    return SaveBytes(fileName, buf, error);
}
