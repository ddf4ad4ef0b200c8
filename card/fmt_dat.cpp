// DAT and P32: a 131072-byte memory image for one of four controllers (VBJ128, CEJ160,
// PEJ160, PEJ320). The card rows go into fixed slots after the header, followed by copies
// of the card's first rows (up to the next page boundary, and on three page offsets), and
// the image ends with a trailer that states the needle count.
//
// The image never grows past 131072 bytes and no row ever overlaps the trailer: a card with
// more rows than the slots before the trailer hold is refused, and the copies stop at the
// trailer. The trailer is therefore always written.
#include "card/cardformats.h"
#include "card/cardformats_p.h"
#include "core/settings/uitexts.h"

#include <cstring>
#include <vector>

using namespace CardBytes;

namespace {

const qint64 DatFileSize = 131072;

struct TDatLayout {
    const char *Name;
    int H; // needles
    int R; // bytes of a row
    qint64 D; // first slot
    qint64 S; // slot size
    qint64 Page[3]; // offsets of the three page copies
    qint64 T; // trailer
    int K1, K2; // row limits of the first slots and of the copies
};

const TDatLayout Layouts[4] = {
    { "VBJ128", 128, 16, 80, 16, { 32848, 65616, 98384 }, 130928, 8178, 8178 },
    { "CEJ160", 160, 20, 32, 32, { 32800, 65568, 98336 }, 130896, 8178, 8179 },
    { "PEJ160", 160, 20, 32, 32, { 32800, 65568, 98336 }, 130896, 8178, 8179 },
    { "PEJ320", 320, 40, 48, 48, { 32816, 65584, 98352 }, 130736, 8189, 8188 },
};

void PutText(QByteArray &buf, qsizetype at, const char *text)
{
    PutBytes(buf, at, QByteArray(text));
}

void WriteHeader(QByteArray &buf, int variant, int n, const QByteArray &name6)
{
    PutLE16(buf, 0, unsigned(n));
    switch (variant) {
    case DatVBJ128:
        PutBytes(buf, 2, name6);
        PutText(buf, 10, "KY128");
        buf[15] = char((n + 237) % 256);
        buf[18] = char((n + 113) % 256);
        PutText(buf, 32, "CAD-TRONIX_CO.");
        break;
    case DatCEJ160:
        PutText(buf, 2, "CAD-TRONIX");
        buf[12] = char(0xFF);
        PutText(buf, 20, "CEJ.SYSTEM");
        break;
    case DatPEJ160:
        PutText(buf, 2, "CAD-TRONIX");
        buf[12] = char(0xFF);
        PutText(buf, 13, "4p9CADrCEJ.SYSTEM..");
        break;
    default:
        PutText(buf, 15, "9CAD-TRONIX_CO...PEJ320=");
        PutBytes(buf, 43, QByteArray("\xDB\x00\x44\xBD\x00", 5));
        break;
    }
}

void WriteTrailer(QByteArray &buf, int variant, const TDatLayout &v, int needlesOfCard, int h)
{
    qsizetype at = v.T + (variant == DatPEJ320 ? 4 : 8);
    for (int i = 0; i < 5; ++i)
        buf[at++] = char(variant == DatPEJ320 ? 0x86 : 0x85);
    buf[at++] = 1;
    if (variant == DatVBJ128) {
        buf[at++] = char(needlesOfCard % 256);
        buf[at++] = 0;
    } else if (variant == DatPEJ320) {
        PutBE16(buf, at, unsigned(h));
        PutBE16(buf, at + 2, unsigned(320 - h));
        at += 4;
    } else {
        buf[at++] = char(h % 256);
        buf[at++] = char((160 - h) % 256);
    }
    for (int i = 0; i < 80; ++i)
        buf[at++] = 1;
}

} // namespace

int DatCardCapacity(int variant)
{
    if (variant < 0 || variant > 3)
        return 0;
    const TDatLayout &v = Layouts[variant];
    return int(std::min<qint64>(v.K1, (v.T - v.D - v.R) / v.S + 1));
}

bool WriteDatCard(const TWenBanIO &io, int variant, const QString &fileName, QString *error)
{
    if (variant < 0 || variant > 3)
        return Fail(error, GetUiMessage(UiKey::String::DatVariantUnknown).arg(variant));
    const TDatLayout &v = Layouts[variant];
    TCardShape s;
    if (!CheckCardShape(io, s, error))
        return false;
    const int h = io.JacquardCount;
    if (s.RowBytes > v.R)
        return Fail(error,
            GetUiMessage(UiKey::String::DatRowTooLong)
                .arg(s.RowBytes)
                .arg(QLatin1String(v.Name))
                .arg(v.H)
                .arg(v.R));
    if (h > v.H)
        return Fail(
            error, GetUiMessage(UiKey::String::DatJacquardOver).arg(h).arg(QLatin1String(v.Name)).arg(v.H));
    const int capacity = DatCardCapacity(variant);
    if (s.CardCount > capacity)
        return Fail(error,
            GetUiMessage(UiKey::String::DatCardsOver)
                .arg(s.CardCount)
                .arg(QLatin1String(v.Name))
                .arg(capacity));
    QByteArray name6;
    if (variant == DatVBJ128 && !GbkNameField(FileNameOf(fileName), 6, name6, error))
        return false;

    // Every row once in file form: the E trailing bytes without jacquard needles from the
    // last to the first, then the first F bytes in order, every byte bit-reversed. Rows
    // shorter than the controller's are padded with zero bytes (no needle raised).
    const int e = h == v.H ? 0 : (v.H - h - 1) / 8 + 1;
    const int f = v.R - e;
    QByteArray rows(qint64(s.CardCount) * v.R, '\0');
    for (int r = 0; r < s.CardCount; ++r) {
        std::uint8_t padded[40] = {};
        std::copy(io.Card[r].begin(), io.Card[r].end(), padded);
        char *out = rows.data() + qint64(r) * v.R;
        for (int i = 0; i < e; ++i)
            *out++ = char(Rev(padded[v.R - 1 - i]));
        for (int i = 0; i < f; ++i)
            *out++ = char(Rev(padded[i]));
    }

    QByteArray buf(DatFileSize, '\0');
    WriteHeader(buf, variant, s.CardCount, name6);
    qint64 end = v.D;
    // Writes file row `row` at `at`; refuses (false) a row that would reach the trailer.
    auto putRow = [&](qint64 at, int row) {
        if (at + v.R > v.T)
            return false;
        std::memcpy(buf.data() + at, rows.constData() + qint64(row) * v.R, size_t(v.R));
        end = at + v.R;
        return true;
    };
    for (int r = 0; r < std::min(s.CardCount, v.K1); ++r)
        putRow(v.D + v.S * r, r);
    const int x = std::min(s.CardCount, v.K2);
    const int g = x < 2048 ? 2048 : x < 4096 ? 4096 : x < 6144 ? 6144 : 8178;
    if (s.CardCount < v.K2) {
        const int c = std::min(g - s.CardCount, s.CardCount);
        for (int j = 0; j < c && putRow(v.D + v.S * (s.CardCount + j), j); ++j) { }
    }
    for (int p = 0; p < 3; ++p) {
        const bool pageFree = p == 1 ? v.Page[p] >= end : v.Page[p] > end;
        if (!pageFree)
            continue;
        const int c = std::max(0, std::min(v.K2 - g, s.CardCount));
        for (int j = 0; j < c && putRow(v.Page[p] + v.S * j, j); ++j) { }
    }
    // A narrow card read from a VBJ128 file as 16-byte rows states the needle count it was
    // read with; any other card its own.
    const bool readNarrow
        = variant == DatVBJ128 && io.StatedNeedles > 0 && io.StatedNeedles < v.H && s.RowBytes == v.R;
    WriteTrailer(
        buf, variant, v, readNarrow ? int(io.StatedNeedles) : int(io.RowCount) * int(io.ColCount), h);
    return SaveBytes(fileName, buf, error);
}

namespace {

// The jacquard count a CEJ160, PEJ160 or PEJ320 trailer states: the count and the
// controller's needles minus it, after the run of 0x85 (0x86) bytes and a 1. -1 when the
// file ends before the trailer or does not hold one (VBJ128 states its needle count).
int TrailerJacquardCount(const QByteArray &bytes, int variant)
{
    const TDatLayout &v = Layouts[variant];
    const bool wide = variant == DatPEJ320;
    const qint64 at = v.T + (wide ? 4 : 8);
    if (bytes.size() < at + 6 + (wide ? 4 : 2))
        return -1;
    for (int i = 0; i < 5; ++i)
        if (GetU8(bytes, at + i) != (wide ? 0x86 : 0x85))
            return -1;
    if (GetU8(bytes, at + 5) != 1)
        return -1;
    const int h = wide ? int(GetBE16(bytes, at + 6)) : GetU8(bytes, at + 6);
    const int rest = wide ? int(GetBE16(bytes, at + 8)) : GetU8(bytes, at + 7);
    return h + rest == v.H ? h : -1;
}

// Puts back a row the writer stored with its e trailing bytes (those without jacquard
// needles) first, last byte first.
void RestoreRowOrder(TDynamicByteArray &row, int e)
{
    const int r = row.length();
    std::vector<std::uint8_t> file(row.begin(), row.end());
    for (int i = 0; i < e; ++i)
        row[std::size_t(r - 1 - i)] = file[std::size_t(i)];
    for (int j = 0; j < r - e; ++j)
        row[std::size_t(j)] = file[std::size_t(e + j)];
}

} // namespace

// By signature: "KY128" at 10 (rows one after another from 80, needles from the trailer at
// 130942, never fewer than the 128 of the slots the writer fills), "CAD-TRONIX" at 2 (row i at 32 + 32 i,
// needles from 130910), else 40-byte rows at 48 + 48 i. Bytes are bit-reversed back. A trailer that states a
// jacquard count (the 160- and 320-needle controllers) gives the card's JacquardCount, and rows the writer
// turned round for it are put back in card order, so that the card writes again as it
// was; a VBJ128 file states none, so its rows stay in file order and its every needle
// counts as a jacquard needle.
bool ReadDatFile(const QByteArray &bytes, TCardRead &out, QString *error)
{
    if (bytes.size() < 2)
        return Fail(error, GetUiMessage(UiKey::String::CardHeaderShort).arg(QLatin1String("DAT/P32")));
    const int n = int(GetLE16(bytes, 0));
    // The needle count lies in the trailer as two bytes whose sum is the count.
    int stated = 0;
    auto trailerCols = [&](qint64 at, int fallback, int &cols) {
        if (bytes.size() < at + 2)
            return Fail(error, GetUiMessage(UiKey::String::DatTrailerMissing));
        int a = GetU8(bytes, at);
        const int b = GetU8(bytes, at + 1);
        stated = a + b;
        if (a + b == 0)
            a = fallback;
        cols = (a + b) / 8;
        return true;
    };
    int cols = 40;
    qint64 start = 48, stride = 48;
    int variant = DatPEJ320;
    if (bytes.size() >= 15 && bytes.mid(10, 5) == "KY128") {
        variant = DatVBJ128;
        if (!trailerCols(130942, 128, cols))
            return false;
        start = 80;
        // The writer puts every row, padded to the controller's 16 bytes, into a slot of 16
        // bytes, and states the card's own needle count. A card of fewer needles is read as
        // the 16-byte rows the loom gets: reading fewer bytes a row, one row after another,
        // would take every row after the first from the wrong place and drop the needles
        // of a last, partly filled byte (or, under 8 needles, every needle).
        // The count stated stays with the card, so that the card written again states it
        // and not the 128 needles of the rows it is read as.
        if (cols < Layouts[DatVBJ128].R) {
            cols = Layouts[DatVBJ128].R;
            if (stated > 0 && stated < Layouts[DatVBJ128].H)
                out.StatedNeedles = stated;
        }
        stride = cols;
    } else if (bytes.size() >= 12 && bytes.mid(2, 10) == "CAD-TRONIX") {
        variant = DatCEJ160;
        if (!trailerCols(130910, 160, cols))
            return false;
        start = 32;
        stride = 32;
    }
    if (!PrepareCardRows(out, bytes.size(), start, n, stride, cols, "DAT/P32", error))
        return false;
    for (int r = 0; r < n; ++r) {
        const char *p = bytes.constData() + start + stride * r;
        for (std::uint8_t &b : out.Card[r])
            b = Rev(std::uint8_t(*p++));
    }
    const int h = variant == DatVBJ128 ? -1 : TrailerJacquardCount(bytes, variant);
    if (h >= 0 && cols == Layouts[variant].R) {
        const int e = h == Layouts[variant].H ? 0 : (Layouts[variant].H - h - 1) / 8 + 1;
        for (auto &row : out.Card)
            RestoreRowOrder(row, e);
        out.JacquardCount = h;
    }
    out.RowCount = 8;
    out.ColCount = cols;
    return true;
}
