// The sample-card file (.OVYK), little-endian.
//
// Current layout (written):
//   0  u16 2000, u8 1, u8 0, u32 0     layout mark (bytes 2 and 3 = 1, 0)
//   8  8 bytes reserved, 0
//   16 u8 style, u8 StartFlag, u8 TiQianSuo, u8 n, n bytes of Rules (GBK)
//   .. u16 ColCount, u16 RowCount, ColCount x RowCount cells column by column
//   .. i32 m, m x (i32 column, i32 row) positioning holes, each on the card
// Bytes after the holes are ignored.
// Older layout (read only): a length-prefixed text of 129 bytes that must name the
// format, then style, flags, sizes, margins, drawing values, the cells and the holes.

#include "card/samplecard.h"

#include "core/base/bytereader.h"
#include "core/base/error.h"
#include "core/base/filetext.h"
#include "core/base/filewrite.h"
#include "core/settings/uitexts.h"

namespace {

constexpr int OldHeaderSize = 129;
// The longest header (the current one with 255 bytes of rules), 65535 x 65535 cells and the
// positioning holes a card can carry (its hole count is 16-bit).
constexpr qint64 MaxSampleCardFile = 16 + 4 + 255 + 4 + qint64(65535) * 65535 + 4 + 8 * 65535;

// What a file gives; applied to the card only when the whole file was sound.
struct TLoaded {
    bool current = true;
    std::uint8_t style = 0;
    std::uint8_t startFlag = 0;
    bool tiQianSuo = false;
    bool multiple = false;
    bool hasRules = false;
    QString rules;
    std::int32_t margins[4] = { 20, 20, 20, 10 };
    std::uint8_t orient = 0;
    std::uint8_t minRad = 7;
    std::uint8_t holeDiameter = 14;
    TMultiByteArray cells;
    TPosArray holes;
};

bool ReadCellsAndHoles(TByteReader &in, int cols, int rows, TLoaded &out, QString *error)
{
    if (cols < 1 || rows < 1)
        return Fail(error, GetUiMessage(UiKey::String::SampleCardNoNeedles).arg(cols).arg(rows));
    if (!in.has(qint64(cols) * rows))
        return Fail(error, GetUiMessage(UiKey::String::SampleCardCellsShort).arg(cols).arg(rows));
    out.cells = MakeWeaveArray(cols, rows);
    for (int c = 0; c < cols; ++c) {
        const std::uint8_t *p = in.take(rows);
        std::copy_n(p, rows, out.cells[c].begin());
    }
    const std::int32_t m = in.i32le();
    // Bytes after the holes are ignored: other tools pad sample-card files.
    if (!in.ok() || m < 0 || !in.has(qint64(m) * 8))
        return Fail(error, GetUiMessage(UiKey::String::SampleCardHolesDamaged));
    TPosArray holes(m);
    for (auto &h : holes) {
        h.X = in.i32le();
        h.Y = in.i32le();
        // A hole names a needle of the card: the card writers mark its column.
        if (h.X < 0 || h.X >= cols || h.Y < 0 || h.Y >= rows)
            return Fail(error,
                GetUiMessage(UiKey::String::SampleCardHoleOutside)
                    .arg(qint64(h.X) + 1)
                    .arg(qint64(h.Y) + 1)
                    .arg(cols)
                    .arg(rows));
    }
    out.holes = holes;
    return true;
}

bool ReadCurrent(TByteReader &in, TLoaded &out, QString *error)
{
    in.seek(16);
    out.style = in.u8();
    out.startFlag = in.u8();
    out.tiQianSuo = in.u8() != 0;
    const int n = in.u8();
    const std::uint8_t *rules = in.take(n);
    const int cols = in.u16le();
    const int rows = in.u16le();
    if (!in.ok())
        return Fail(error, GetUiMessage(UiKey::String::SampleCardTooShort));
    out.hasRules = true;
    out.rules = DecodeFileText(QByteArray(reinterpret_cast<const char *>(rules), n));
    return ReadCellsAndHoles(in, cols, rows, out, error);
}

bool ReadOld(TByteReader &in, TLoaded &out, QString *error)
{
    out.current = false;
    in.seek(0);
    const int length = std::min<int>(in.u8(), OldHeaderSize - 1);
    const std::uint8_t *text = in.take(OldHeaderSize - 1);
    if (!in.ok())
        return Fail(error, GetUiMessage(UiKey::String::SampleCardHeaderShort));
    const QByteArray header(reinterpret_cast<const char *>(text), length);
    for (const char *marker : { ".OVYK ", "KDV", "PNH", "Tirlomax", "Beta 1.02" })
        if (!header.contains(marker))
            return Fail(error, GetUiMessage(UiKey::String::SampleCardUnknownVersion));
    out.style = in.u8();
    out.tiQianSuo = in.i32le() != 0;
    out.multiple = in.i32le() != 0;
    in.skip(32);
    const int colCount = in.u16le();
    const int rowCount = in.u16le();
    for (auto &m : out.margins)
        m = in.i32le();
    out.orient = in.u8();
    out.minRad = in.u8();
    out.holeDiameter = in.u8();
    out.startFlag = in.u8();
    const std::int32_t cols = in.i32le();
    const std::int32_t rows = in.i32le();
    if (!in.ok())
        return Fail(error, GetUiMessage(UiKey::String::SampleCardTooShort));
    if (cols != colCount || rows != rowCount)
        return Fail(error,
            GetUiMessage(UiKey::String::SampleCardSizesDiffer)
                .arg(colCount)
                .arg(rowCount)
                .arg(cols)
                .arg(rows));
    if (out.orient > ioVertical)
        return Fail(error, GetUiMessage(UiKey::String::SampleCardOrientUnknown).arg(out.orient));
    return ReadCellsAndHoles(in, cols, rows, out, error);
}

} // namespace

bool TYangkaImage::LoadFromBytes(const QByteArray &bytes, QString *error)
{
    TByteReader in(bytes);
    TLoaded got;
    const bool current = bytes.size() >= 4 && bytes[2] == 1 && bytes[3] == 0;
    if (!(current ? ReadCurrent(in, got, error) : ReadOld(in, got, error)))
        return false;
    if (got.style >= YKStyleCount)
        return Fail(error, GetUiMessage(UiKey::String::SampleCardStyleUnknown).arg(got.style));
    if (got.startFlag > 3)
        return Fail(error, GetUiMessage(UiKey::String::SampleCardCornerUnknown).arg(got.startFlag));
    // The style is stored as read; the grid comes from the file, never rebuilt.
    m_style = TYKStyle(got.style);
    m_startFlag = got.startFlag;
    TiQianSuo = got.tiQianSuo;
    if (got.hasRules)
        Rules = got.rules;
    if (!got.current) {
        Multiple = got.multiple;
        MarginLeft = got.margins[0];
        MarginRight = got.margins[1];
        MarginTop = got.margins[2];
        MarginBottom = got.margins[3];
        Orient = TImageOrient(got.orient);
        SetMinRad(got.minRad);
        HoleDiameter = got.holeDiameter;
    }
    Cells = got.cells;
    m_colCount = std::uint16_t(got.cells.length());
    m_rowCount = std::uint16_t(got.cells[0].length());
    if (got.current)
        Resize();
    Changed(-1, -1);
    Holes = got.holes;
    return true;
}

bool TYangkaImage::LoadFromFile(const QString &fileName, QString *error)
{
    QByteArray bytes;
    if (!ReadWholeFile(fileName, MaxSampleCardFile, bytes, error) || !LoadFromBytes(bytes, error))
        return false;
    CardFileName = fileName;
    return true;
}

bool TYangkaImage::SaveToBytes(QByteArray &bytes, QString *error) const
{
    QByteArray rules;
    if (!EncodeFileText(Rules, rules, error))
        return false;
    if (rules.size() > 255)
        return Fail(error, GetUiMessage(UiKey::String::SampleCardRuleTooLong));
    QByteArray out;
    out.reserve(32 + rules.size() + qsizetype(m_colCount) * m_rowCount + 8 * Holes.length());
    PutU16le(out, 2000);
    out.append(char(1));
    out.append(char(0));
    PutU32le(out, 0);
    out.append(8, '\0');
    out.append(char(m_style));
    out.append(char(m_startFlag));
    out.append(char(TiQianSuo ? 1 : 0));
    out.append(char(rules.size()));
    out.append(rules);
    PutU16le(out, m_colCount);
    PutU16le(out, m_rowCount);
    for (const auto &column : Cells)
        out.append(reinterpret_cast<const char *>(column.data()), column.length());
    PutU32le(out, std::uint32_t(Holes.length()));
    for (const TPoint &h : Holes) {
        PutU32le(out, std::uint32_t(h.X));
        PutU32le(out, std::uint32_t(h.Y));
    }
    bytes = out;
    return true;
}

bool TYangkaImage::SaveToFile(const QString &fileName, QString *error)
{
    QByteArray bytes;
    if (!SaveToBytes(bytes, error) || !WriteFileAtomically(fileName, bytes, error))
        return false;
    CardFileName = fileName;
    return true;
}
