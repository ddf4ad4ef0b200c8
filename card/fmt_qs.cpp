// QS: a 32-byte header, then every card row bit-reversed and followed by four zero bytes.
#include "card/cardformats.h"
#include "card/cardformats_p.h"
#include "card/cardmessages.h"
#include "core/settings/uitexts.h"

#include "core/base/document.h"

using namespace CardBytes;

QString QSNeedleWarning(const TWenBanIO &io)
{
    return int(io.RowCount) * int(io.ColCount) == 144 ? QString() : GetUiMessage(CardMsg::NeedleCountNot144);
}

// Layout: "(u" at 0, the name at 6 (8 bytes), N at 18, the needle count ColCount x
// RowCount at 30, rows of L + 4 bytes from 32.
bool WriteQSCard(const TWenBanIO &io, const QString &fileName, QString *error)
{
    TCardShape s;
    if (!CheckCardShape(io, s, error) || !CheckNeedleHeader(io, s, "QS", error))
        return false;
    QByteArray name;
    if (!GbkNameField(BaseNameOf(fileName), 8, name, error))
        return false;
    QByteArray buf(32 + qint64(s.RowBytes + 4) * s.CardCount, '\0');
    buf[0] = 0x28;
    buf[1] = 0x75;
    PutBytes(buf, 6, name);
    PutLE16(buf, 18, unsigned(s.CardCount));
    PutLE16(buf, 30, unsigned(io.ColCount) * io.RowCount);
    char *p = buf.data() + 32;
    for (int r = 0; r < s.CardCount; ++r) {
        for (std::uint8_t b : io.Card[r])
            *p++ = char(Rev(b));
        p += 4;
    }
    return SaveBytes(fileName, buf, error);
}

// N at 18, needles at 30; the card is taken as 6 rows of needles div 6 columns; rows of
// Ceil(needles / 8) bytes, 4 bytes skipped after each (the last row's 4 may be missing).
bool ReadQSFile(const QByteArray &bytes, TCardRead &out, QString *error)
{
    if (bytes.size() < 32)
        return Fail(error, GetUiMessage(UiKey::String::CardHeaderShort).arg(QLatin1String("QS")));
    const int n = int(GetLE16(bytes, 18));
    const int needles = int(GetLE16(bytes, 30));
    const int len = (needles + 7) / 8;
    if (!PrepareCardRows(out, bytes.size(), 32, n, len + 4, len, "QS", error))
        return false;
    const char *p = bytes.constData() + 32;
    for (int r = 0; r < n; ++r) {
        for (std::uint8_t &b : out.Card[r])
            b = Rev(std::uint8_t(*p++));
        p += 4;
    }
    out.RowCount = 6;
    out.ColCount = needles / 6;
    out.JacquardCount = needles; // 6 x (needles div 6) may fall short of the stated count
    return true;
}
