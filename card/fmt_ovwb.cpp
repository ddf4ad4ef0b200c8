#include "card/fmt_ovwb.h"

#include "card/cardbytes.h"
#include "core/base/bytereader.h"
#include "core/settings/uitexts.h"

namespace {

constexpr int HeaderBlock = 128;
constexpr int FixedPart = 183; // bytes before the holes
const char HeaderText[]
    = ".OVWB version Beta 1.03;FileFormat Created by KDV&PNH for Tirlomax, written by Dorwen CAD.";
static_assert(sizeof(HeaderText) - 1 <= HeaderBlock - 1);

// A Beta 1.02 row: every needle column padded to whole bytes, needle bits most
// significant first; every eight real needles form one card byte, least significant first.
void UnpadRow(const std::uint8_t *src, int length, int rowCount, TDynamicByteArray &out)
{
    const int period = (rowCount + 7) / 8 * 8;
    int real = 0;
    for (int bit = 0; bit < length * 8; ++bit) {
        if (bit % period >= rowCount)
            continue;
        if ((src[bit / 8] >> (7 - bit % 8)) & 1)
            out[real / 8] |= std::uint8_t(1 << (real % 8));
        ++real;
    }
}

} // namespace

bool OVWBCardBytes(const TWenBanIO &io, QByteArray &bytes, QString *error)
{
    CardBytes::TCardShape shape;
    if (!CardBytes::CheckCardShape(io, shape, error))
        return false;
    if (shape.CardCount > 0 && shape.RowBytes != io.RowBytes())
        return Fail(error,
            GetUiMessage(UiKey::String::OVWBRowsHold)
                .arg(shape.RowBytes)
                .arg(io.RowCount)
                .arg(io.ColCount)
                .arg(io.RowBytes()));
    if (io.Holes.length() > 65535)
        return Fail(error, GetUiMessage(UiKey::String::OVWBTooManyHoles));
    const int l = io.RowBytes();
    QByteArray out;
    out.reserve(FixedPart + 8 * io.Holes.length() + 8 + qsizetype(shape.CardCount) * l);
    out.append(char(HeaderBlock));
    QByteArray text(HeaderText);
    text.append(HeaderBlock - 1 - text.size(), ' ');
    out.append(text);
    out.append(36, '\0');
    PutU16le(out, io.ColCount);
    PutU16le(out, io.RowCount);
    PutU16le(out, io.CardCount);
    out.append(char(io.YKStyle));
    PutU32le(out, std::uint32_t(io.YKHeight));
    PutU32le(out, std::uint32_t(io.YKWidth));
    PutU16le(out, io.Reserved);
    PutU16le(out, std::uint16_t(io.Holes.length()));
    for (const TPoint &h : io.Holes) {
        PutU32le(out, std::uint32_t(h.X));
        PutU32le(out, std::uint32_t(h.Y));
    }
    PutU32le(out, std::uint32_t(shape.CardCount));
    PutU32le(out, std::uint32_t(l));
    for (int r = 0; r < shape.CardCount; ++r)
        out.append(reinterpret_cast<const char *>(io.Card[std::size_t(r)].data()), l);
    bytes = out;
    return true;
}

bool WriteOVWBCard(const TWenBanIO &io, const QString &fileName, QString *error)
{
    QByteArray bytes;
    return OVWBCardBytes(io, bytes, error) && CardBytes::SaveBytes(fileName, bytes, error);
}

bool ReadOVWBCard(TWenBanIO &io, const QByteArray &bytes, QString *error)
{
    TByteReader in(bytes);
    const int textLength = std::min<int>(in.u8(), HeaderBlock - 1);
    const std::uint8_t *textBytes = in.take(HeaderBlock - 1);
    if (!in.ok())
        return Fail(error, GetUiMessage(UiKey::String::OVWBTooShort));
    const QByteArray text(reinterpret_cast<const char *>(textBytes), textLength);
    for (const char *marker : { ".OVWB ", "KDV", "PNH", "Tirlomax" })
        if (!text.contains(marker))
            return Fail(error, GetUiMessage(UiKey::String::OVWBNotOwn));
    const bool padded = !text.contains("Beta 1.03");
    if (padded && !text.contains("Beta 1.02"))
        return Fail(error, GetUiMessage(UiKey::String::OVWBVersion));

    in.seek(164);
    const std::uint16_t colCount = in.u16le();
    const std::uint16_t rowCount = in.u16le();
    const std::uint16_t cardCount = in.u16le();
    const std::uint8_t style = in.u8();
    const std::int32_t ykHeight = in.i32le();
    const std::int32_t ykWidth = in.i32le();
    const std::uint16_t reserved = in.u16le();
    const int holeCount = in.u16le();
    if (!in.ok() || !in.has(qint64(holeCount) * 8 + 8))
        return Fail(error, GetUiMessage(UiKey::String::OVWBTooShort));
    TPosArray holes(holeCount);
    for (TPoint &h : holes) {
        h.X = in.i32le();
        h.Y = in.i32le();
    }
    const std::int32_t rows = in.i32le();
    const std::int32_t length = in.i32le();
    if (rows != cardCount)
        return Fail(error, GetUiMessage(UiKey::String::OVWBTwoCounts).arg(cardCount).arg(rows));
    const qint64 needles = qint64(rowCount) * colCount;
    const qint64 expected = padded ? qint64((rowCount + 7) / 8) * colCount : (needles + 7) / 8;
    if (length != expected)
        return Fail(error,
            GetUiMessage(UiKey::String::OVWBRowLength).arg(length).arg(rowCount).arg(colCount).arg(expected));
    if (rows > 0 && needles == 0)
        return Fail(error, GetUiMessage(UiKey::String::OVWBNoNeedles));
    // Bytes after the rows are ignored: other tools pad card files.
    if (in.remaining() < qint64(rows) * length)
        return Fail(
            error, GetUiMessage(UiKey::String::OVWBDataShort).arg(rows).arg(length).arg(in.remaining()));

    // Both versions give rows of Ceil(needles / 8) bytes. A Beta 1.02 file whose needle
    // count is not a multiple of 8 keeps its last needles in a last, partly used byte
    // rather than dropping them, so that its rows are as long as every card writer expects
    // of RowCount x ColCount needles.
    const qint64 rowBytes = (needles + 7) / 8;
    TMultiByteArray card(rows);
    for (auto &row : card) {
        const std::uint8_t *src = in.take(length);
        row.setLength(rowBytes);
        if (padded)
            UnpadRow(src, length, rowCount, row);
        else
            std::copy_n(src, length, row.begin());
    }
    io.ColCount = colCount;
    io.RowCount = rowCount;
    io.CardCount = cardCount;
    io.YKStyle = style;
    io.YKHeight = ykHeight;
    io.YKWidth = ykWidth;
    io.Reserved = reserved;
    io.Holes = holes;
    io.Card = card;
    // The file keeps no sample card: every needle counts as a jacquard needle.
    io.JacquardCount = std::uint16_t(std::min<qint64>(needles, 65535));
    return true;
}
