#pragma once
// TCardShape: byte-level helpers shared by the controller card (纹板) codecs.
// Byte-level helpers shared by the controller card codecs: bit reversal, fixed-width
// numbers, the checks every writer makes on the card it is given, the GBK name fields
// and the all-or-nothing file write.

#include "card/cardfile.h"
#include "core/base/error.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

namespace CardBytes {

// Byte b with its bit order reversed (bit 7 becomes bit 0). The card data keeps the first
// needle of a byte in the most significant bit; the controller files keep it in the least.
extern const std::array<std::uint8_t, 256> BitReversed;
inline std::uint8_t Rev(std::uint8_t b)
{
    return BitReversed[b];
}

// Fixed-width numbers at a given offset of a buffer the caller has sized.
void PutLE16(QByteArray &buf, qsizetype at, unsigned value);
void PutBE16(QByteArray &buf, qsizetype at, unsigned value);
void PutBE32(QByteArray &buf, qsizetype at, std::uint32_t value);
void PutBytes(QByteArray &buf, qsizetype at, const QByteArray &bytes);
// Readers check the offset against the buffer size before calling these.
unsigned GetLE16(const QByteArray &buf, qsizetype at);
unsigned GetBE16(const QByteArray &buf, qsizetype at);
std::uint32_t GetBE32(const QByteArray &buf, qsizetype at);
inline std::uint8_t GetU8(const QByteArray &buf, qsizetype at)
{
    return std::uint8_t(buf[at]);
}

// Appends big-endian 32-bit numbers (the record fields of JC5 files).
void AppendBE32(QByteArray &buf, std::uint32_t value);

// The card as a writer sees it: CardCount rows of RowBytes bytes.
struct TCardShape {
    int CardCount = 0;
    int RowBytes = 0;
};

// Checks that the card count matches the rows, that there are at most 65,535 of them and
// that every row has the same length; an empty card takes its row length from the counts.
bool CheckCardShape(const TWenBanIO &io, TCardShape &shape, QString *error);

// Checks that the rows are exactly as long as RowCount x ColCount needles need.
bool CheckRowLength(const TWenBanIO &io, const TCardShape &shape, const char *format, QString *error);
// Checks, for formats whose header states the needle count as RowCount x ColCount in 16
// bits, that the count fits and that the rows are exactly as long as it says.
bool CheckNeedleHeader(const TWenBanIO &io, const TCardShape &shape, const char *format, QString *error);

// The GBK bytes of a name for a fixed-size field of maxBytes bytes (-1: no limit). A name
// is cut at a whole character, never inside a double-byte one. A name GBK cannot encode
// is refused.
bool GbkNameField(const QString &name, int maxBytes, QByteArray &out, QString *error);

// File name without folder and extension, and file name without folder.
QString BaseNameOf(const QString &fileName);
QString FileNameOf(const QString &fileName);

// Writes bytes to fileName through a temporary file renamed over the target only when
// complete; on failure the old file stays as it was.
bool SaveBytes(const QString &fileName, const QByteArray &bytes, QString *error);

} // namespace CardBytes
