#include "weave/weavefile.h"

#include "core/base/bytereader.h"
#include "core/base/error.h"
#include "core/base/filewrite.h"
#include "core/picture/picturelimits.h"
#include "core/settings/uitexts.h"

#include <QFile>

#include <algorithm>

namespace {

const char FormatSentence[] = ".OVW Version Beta 1.01; Format is designed by KDV&PNH. Notice that the format "
                              "is only with OVCAD software !";
const char MakerNotice[] = "Written by Dorwen CAD.";
static_assert(sizeof(FormatSentence) - 1 == 107 && sizeof(MakerNotice) - 1 == 22);

} // namespace

QByteArray WeaveFileBytes(const TWeaveArray &cells)
{
    const int w = cells.length();
    const int h = w ? cells[0].length() : 0;
    QByteArray out;
    out.reserve(WeaveFileDataOffset + qsizetype(w) * h);
    out.append(char(WeaveFileHeaderSize));
    QByteArray text = QByteArray(FormatSentence) + MakerNotice;
    text.append(WeaveFileHeaderSize - 1 - text.size(), ' ');
    out.append(text);
    PutU32le(out, std::uint32_t(w));
    PutU32le(out, std::uint32_t(h));
    for (int i = 0; i < w; ++i)
        for (int j = 0; j < h; ++j)
            out.append(char(j < cells[i].length() && cells[i][j] == 1 ? 1 : 0));
    return out;
}

bool WriteWeaveFile(const QString &fileName, const TWeaveArray &cells, QString *error)
{
    if (cells.isEmpty())
        return Fail(error, GetUiMessage(UiKey::String::WeaveEmptyNotWritten));
    return WriteFileAtomically(fileName, WeaveFileBytes(cells), error);
}

namespace {

// Checks the 248 bytes before the cells; w and h are the sizes they give.
bool ReadWeaveHeader(const QByteArray &bytes, std::int32_t &w, std::int32_t &h, QString *error)
{
    TByteReader in(bytes);
    const int textLength = std::min<int>(in.u8(), WeaveFileHeaderSize - 1);
    const std::uint8_t *header = in.take(WeaveFileHeaderSize - 1);
    w = in.i32le();
    h = in.i32le();
    if (!in.ok())
        return Fail(error, GetUiMessage(UiKey::String::WeaveFileTooShort));
    const QByteArray text(reinterpret_cast<const char *>(header), textLength);
    if (!text.contains(".OVW ") || !text.contains("by KDV&PNH") || !text.contains("Beta 1.01"))
        return Fail(error, GetUiMessage(UiKey::String::WeaveFileUnknownVersion));
    if (w < 0 || h < 0 || w > MaxPictureSide || h > MaxPictureSide)
        return Fail(error, GetUiMessage(UiKey::String::WeaveFileImpossibleSize).arg(w).arg(h));
    return true;
}

} // namespace

bool ReadWeaveBytes(const QByteArray &bytes, TWeaveArray &cells, QString *error)
{
    std::int32_t w = 0, h = 0;
    if (!ReadWeaveHeader(bytes.left(WeaveFileDataOffset), w, h, error))
        return false;
    const qint64 cellBytes = qint64(w) * h;
    const qint64 held = bytes.size() - WeaveFileDataOffset;
    // Bytes after the cells are ignored: other tools pad weave files.
    if (held < cellBytes)
        return Fail(error, GetUiMessage(UiKey::String::WeaveFileCellsShort).arg(cellBytes).arg(held));
    TWeaveArray out;
    if (cellBytes > 0) {
        out = MakeWeaveArray(w, h);
        const char *p = bytes.constData() + WeaveFileDataOffset;
        for (int i = 0; i < w; ++i, p += h)
            std::copy_n(p, h, out[i].begin());
    }
    cells = out;
    return true;
}

bool ReadWeaveStream(QIODevice &stream, TWeaveArray &cells, QString *error)
{
    if (!stream.seek(0))
        return Fail(error, GetUiMessage(UiKey::String::WeaveFileUnreadable));
    QByteArray bytes = stream.read(WeaveFileDataOffset);
    std::int32_t w = 0, h = 0;
    if (!ReadWeaveHeader(bytes, w, h, error))
        return false;
    const qint64 wanted = qint64(w) * h;
    if (!stream.isSequential() && stream.size() - WeaveFileDataOffset < wanted)
        return Fail(error,
            GetUiMessage(UiKey::String::WeaveFileCellsShort)
                .arg(wanted)
                .arg(stream.size() - WeaveFileDataOffset));
    // Read in pieces up to what the sizes ask for, so that a short stream never makes us
    // allocate what it claims; bytes after the cells are not read.
    while (bytes.size() < WeaveFileDataOffset + wanted) {
        const QByteArray piece
            = stream.read(std::min<qint64>(1 << 16, WeaveFileDataOffset + wanted - bytes.size()));
        if (piece.isEmpty())
            break;
        bytes.append(piece);
    }
    return ReadWeaveBytes(bytes, cells, error);
}

bool LoadWeaveFile(const QString &fileName, TWeaveArray &cells, QString *error)
{
    QFile f;
    if (!OpenFileForReading(f, fileName, MaxWeaveFileSize, error))
        return false;
    return ReadWeaveStream(f, cells, error);
}
