// UPT: a 236-byte header of big-endian numbers and fixed values, then the card rows first
// card first, each byte bit-reversed; a card reads back as it was written.
#include "card/cardformats.h"
#include "card/cardformats_p.h"
#include "core/settings/uitexts.h"

using namespace CardBytes;

static const int UptHeaderSize = 236;

bool WriteUPTCard(const TWenBanIO &io, const QString &fileName, QString *error)
{
    TCardShape s;
    if (!CheckCardShape(io, s, error) || !CheckNeedleHeader(io, s, "UPT", error))
        return false;
    const unsigned needles = unsigned(io.RowCount) * io.ColCount;
    QByteArray buf(UptHeaderSize + qint64(s.RowBytes) * s.CardCount, '\0');
    PutBytes(buf, 0, QByteArray("\x00\x00\x00\x3B\x20\xDE\x80", 7));
    PutBE16(buf, 14, needles);
    PutBE16(buf, 18, unsigned(s.CardCount));
    PutBytes(buf, 20, QByteArray("\x00\x18\x00\x1E", 4));
    PutBytes(buf, 33, QByteArray("\x04\x00\x01", 3));
    PutBytes(buf, 52, QByteArray("Noname1_"));
    PutBE16(buf, 76, needles);
    PutBytes(buf, 78, QByteArray("\x00\x00\x00\x01\x00\x00", 6));
    PutBE16(buf, 84, unsigned(s.CardCount));
    PutBytes(buf, 86, QByteArray("\x00\x01\xFF\xFF\xFF", 5));
    buf[136] = char(0xFF);
    PutBE16(buf, 160, io.RowCount);
    PutBE16(buf, 162, 24);
    PutBE16(buf, 180, 1000);
    PutBytes(buf, 182, QByteArray("\x01\x2C\x01\x2C", 4));
    PutBytes(buf, 205, QByteArray("\x01\x00\x2C", 3));
    PutBytes(buf, 208, QByteArray("\x01\x00", 2));
    for (int i = 0; i < 13; ++i)
        buf[210 + 2 * i + 1] = 0x23;
    // The last 0x23 marks a first card whose last byte raises a needle (an empty card: no).
    const bool lastByteSet = s.CardCount > 0 && s.RowBytes > 0 && io.Card[0][s.RowBytes - 1] != 0;
    if (!lastByteSet)
        buf[235] = 0;
    char *p = buf.data() + UptHeaderSize;
    for (int r = 0; r < s.CardCount; ++r)
        for (std::uint8_t b : io.Card[r])
            *p++ = char(Rev(b));
    return SaveBytes(fileName, buf, error);
}

// N (BE) at 18, needles (BE) at 14; rows from 246 when the byte at 34 is non-zero, else
// from 236; each row's byte order reversed, bits as stored. A row takes the bytes the
// writer gives it, Ceil(needles / 8): taking needles div 8 put every row after the first
// out of place whenever the needle count is not a multiple of 8. The card is 8 needles a
// column unless the RowCount the writer stores at 160 divides the needle count, in which
// case the card keeps that shape and writes again with the same header.
bool ReadUPTFile(const QByteArray &bytes, TCardRead &out, QString *error)
{
    if (bytes.size() < 35)
        return Fail(error, GetUiMessage(UiKey::String::CardHeaderShort).arg(QLatin1String("UPT")));
    const int n = int(GetBE16(bytes, 18));
    const int needles = int(GetBE16(bytes, 14));
    const int len = (needles + 7) / 8;
    const qint64 start = GetU8(bytes, 34) != 0 ? 246 : UptHeaderSize;
    if (!PrepareCardRows(out, bytes.size(), start, n, len, len, "UPT", error))
        return false;
    const char *p = bytes.constData() + start;
    // The rows as the writer stores them: each byte bit-reversed back, in order. Reversing
    // the byte order instead gave every row mirrored, and a card saved again came out
    // mirrored on the loom.
    for (int r = 0; r < n; ++r)
        for (std::uint8_t &b : out.Card[r])
            b = Rev(std::uint8_t(*p++));
    const int stated = bytes.size() >= 162 ? int(GetBE16(bytes, 160)) : 0;
    out.RowCount = stated > 0 && needles % stated == 0 ? stated : 8;
    out.ColCount = needles / out.RowCount;
    out.HasReserved = true;
    out.Reserved = std::uint16_t(n);
    return true;
}
