// GRD and WB: a 20-byte header of 16-bit numbers, a mark area with a 1 for the column of
// every positioning hole, and the card rows from offset 2 x ColCount, bit-reversed.
// WB keeps 16 needles a column: an 8-needle card takes every other byte of a row.
#include "card/cardformats.h"
#include "card/cardformats_p.h"
#include "core/settings/uitexts.h"

using namespace CardBytes;

// The header and mark area of a file whose rows start at 2 x ColCount. The rows must not
// start inside the 20-byte header, and every hole's mark must fall between the header and
// the rows; a card that breaks either is refused rather than written garbled.
static bool MakeMarkedHeader(const TWenBanIO &io, const TCardShape &s, qint64 rowSpan, const char *format,
    QByteArray &buf, QString *error)
{
    const qint64 start = 2 * qint64(io.ColCount);
    if (start < 20)
        return Fail(error,
            GetUiMessage(UiKey::String::MarkedCardTooNarrow).arg(QLatin1String(format)).arg(io.ColCount));
    for (const TPoint &hole : io.Holes)
        if (hole.X < 0 || 20 + qint64(hole.X) >= start)
            return Fail(error,
                GetUiMessage(UiKey::String::MarkedHoleNoPlace)
                    .arg(hole.X)
                    .arg(QLatin1String(format))
                    .arg(io.ColCount));
    buf = QByteArray(start + rowSpan * s.CardCount, '\0');
    for (const TPoint &hole : io.Holes)
        buf[20 + hole.X] = 1;
    return true;
}

// The positioning holes marked in the mark area between the header and the rows.
void ReadHoleMarks(const QByteArray &bytes, qint64 start, TCardRead &out)
{
    out.HasHoles = true;
    const qint64 end = std::min<qint64>(start, bytes.size());
    qsizetype count = 0;
    for (qint64 at = 20; at < end; ++at)
        count += GetU8(bytes, at) == 1;
    out.Holes = TPosArray(count);
    qsizetype k = 0;
    for (qint64 at = 20; at < end; ++at)
        if (GetU8(bytes, at) == 1)
            out.Holes[k++] = TPoint { std::int32_t(at - 20), 0 };
}

// Layout: 0, 0, 1, 1, 1, 0, 1, RowCount, ColCount, N (16-bit each), mark area, rows.
bool WriteGRDCard(const TWenBanIO &io, const QString &fileName, QString *error)
{
    TCardShape s;
    QByteArray buf;
    if (!CheckCardShape(io, s, error) || !CheckRowLength(io, s, "GRD", error)
        || !MakeMarkedHeader(io, s, s.RowBytes, "GRD", buf, error))
        return false;
    static const unsigned lead[7] = { 0, 0, 1, 1, 1, 0, 1 };
    for (int i = 0; i < 7; ++i)
        PutLE16(buf, 2 * i, lead[i]);
    PutLE16(buf, 14, io.RowCount);
    PutLE16(buf, 16, io.ColCount);
    PutLE16(buf, 18, unsigned(s.CardCount));
    char *p = buf.data() + 2 * qint64(io.ColCount);
    for (int r = 0; r < s.CardCount; ++r)
        for (std::uint8_t b : io.Card[r])
            *p++ = char(Rev(b));
    return SaveBytes(fileName, buf, error);
}

// RowCount, ColCount and N at 14, 16 and 18; rows from 2 x ColCount, of the length the
// writer gives them: (RowCount x ColCount + 7) div 8 bytes. Taking ColCount x (RowCount div
// 8) bytes instead would agree only when RowCount is a multiple of 8; for any other it read
// every row after the first from the wrong place, dropped needles and refused cards of
// fewer than 8 needles a column.
bool ReadGRDFile(const QByteArray &bytes, TCardRead &out, QString *error)
{
    if (bytes.size() < 20)
        return Fail(error, GetUiMessage(UiKey::String::CardHeaderShort).arg(QLatin1String("GRD")));
    const int rows = int(GetLE16(bytes, 14));
    const int cols = int(GetLE16(bytes, 16));
    const int n = int(GetLE16(bytes, 18));
    const qint64 len = (qint64(cols) * rows + 7) / 8;
    const qint64 start = 2 * qint64(cols);
    if (!PrepareCardRows(out, bytes.size(), start, n, len, len, "GRD", error))
        return false;
    const char *p = bytes.constData() + start;
    for (int r = 0; r < n; ++r)
        for (std::uint8_t &b : out.Card[r])
            b = Rev(std::uint8_t(*p++));
    ReadHoleMarks(bytes, start, out);
    out.RowCount = rows;
    out.ColCount = cols;
    return true;
}

// Layout: 0, N, 0 or 1 (RowCount 8 or 16), 1, 1, N, 1, RowCount, ColCount, 0 (16-bit each),
// mark area, rows of 2 x ColCount bytes (RowCount 8: each card byte followed by a zero).
bool WriteWBCard(const TWenBanIO &io, const QString &fileName, QString *error)
{
    if (io.RowCount != 8 && io.RowCount != 16)
        return Fail(error, GetUiMessage(UiKey::String::WBNeedlesPerColumn).arg(io.RowCount));
    TCardShape s;
    QByteArray buf;
    if (!CheckCardShape(io, s, error) || !CheckRowLength(io, s, "WB", error)
        || !MakeMarkedHeader(io, s, 2 * qint64(io.ColCount), "WB", buf, error))
        return false;
    PutLE16(buf, 2, unsigned(s.CardCount));
    PutLE16(buf, 4, io.RowCount == 16 ? 1 : 0);
    PutLE16(buf, 6, 1);
    PutLE16(buf, 8, 1);
    PutLE16(buf, 10, unsigned(s.CardCount));
    PutLE16(buf, 12, 1);
    PutLE16(buf, 14, io.RowCount);
    PutLE16(buf, 16, io.ColCount);
    const int step = io.RowCount == 16 ? 1 : 2;
    char *p = buf.data() + 2 * qint64(io.ColCount);
    for (int r = 0; r < s.CardCount; ++r)
        for (std::uint8_t b : io.Card[r]) {
            *p = char(Rev(b));
            p += step;
        }
    return SaveBytes(fileName, buf, error);
}

// N at 2, RowCount (8 or 16) at 14, ColCount at 16; rows of 2 x ColCount bytes from
// 2 x ColCount; an 8-row card takes the even-numbered bytes of each.
bool ReadWBFile(const QByteArray &bytes, TCardRead &out, QString *error)
{
    if (bytes.size() < 20)
        return Fail(error, GetUiMessage(UiKey::String::CardHeaderShort).arg(QLatin1String("WB")));
    const int n = int(GetLE16(bytes, 2));
    const int rows = int(GetLE16(bytes, 14));
    const int cols = int(GetLE16(bytes, 16));
    if (rows != 8 && rows != 16)
        return Fail(error, GetUiMessage(UiKey::String::WBFileNeedlesPerColumn).arg(rows));
    const qint64 span = 2 * qint64(cols);
    const int step = rows == 16 ? 1 : 2;
    if (!PrepareCardRows(out, bytes.size(), span, n, span, span, "WB", error, span / step))
        return false;
    for (int r = 0; r < n; ++r) {
        const char *p = bytes.constData() + span * (r + 1);
        for (std::uint8_t &b : out.Card[r]) {
            b = Rev(std::uint8_t(*p));
            p += step;
        }
    }
    ReadHoleMarks(bytes, span, out);
    out.RowCount = rows;
    out.ColCount = cols;
    return true;
}
