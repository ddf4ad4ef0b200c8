// JC5: a magic, two groups of big-endian (tag, length, value) records and the card rows.
// Written as one file in two variants; read from one file or from a set of part files
// (.J01, .J02, ...) written by the splitter.
#include "card/cardformats.h"
#include "card/cardformats_p.h"
#include "card/cardmessages.h"
#include "core/settings/uitexts.h"

#include "card/cardfilelimits.h"
#include "core/base/document.h"
#include "core/base/filewrite.h"

#include <QDir>
#include <QFileInfo>

#include <vector>

using namespace CardBytes;

namespace {

const char Magic[] = "\x81\xFE\x01\x01";
const std::uint32_t TagName = 1, TagCount = 2, TagPart = 3, TagFirstCard = 4, TagNeedles = 100;

void AppendRecord(QByteArray &buf, std::uint32_t tag, const QByteArray &value)
{
    AppendBE32(buf, tag);
    AppendBE32(buf, std::uint32_t(value.size()));
    buf += value;
}

QByteArray BE32Bytes(std::uint32_t v)
{
    QByteArray b;
    AppendBE32(b, v);
    return b;
}

// What the record groups of a JC5 file or part file say.
struct TJC5Head {
    qint64 DataStart = 0;
    bool HasCount = false;
    std::uint32_t N = 0;
    bool IsPart = false; // a part file of a split card (tag 3)
    unsigned Part = 0;
    unsigned Parts = 0;
    bool HasLayout = false;
    std::uint32_t Layout = 0; // of the last tag-100 record
    std::uint64_t Needles = 0;
    std::uint32_t LayoutLength = 0; // of the last tag-100 record: 8 in variant A, 9 in B
    QByteArray Name; // tag 1
};

// Walks both record groups, checking every record against the bytes there. Only the low
// byte of a group's record count is used; unknown tags are skipped by their length.
bool ParseHead(const QByteArray &b, const QString &what, TJC5Head &h, QString *error)
{
    const QString damaged = GetUiMessage(UiKey::String::JC5EndsInRecords).arg(what);
    qint64 pos = 4;
    for (int group = 0; group < 2; ++group) {
        if (b.size() < pos + 4)
            return Fail(error, damaged);
        const int count = GetU8(b, pos + 3);
        pos += 4;
        for (int i = 0; i < count; ++i) {
            if (b.size() < pos + 8)
                return Fail(error, damaged);
            const std::uint32_t tag = GetBE32(b, pos);
            const std::uint32_t len = GetBE32(b, pos + 4);
            pos += 8;
            if (len > b.size() - pos)
                return Fail(error, damaged);
            const bool shortValue = (group == 0 && (tag == TagCount || tag == TagPart) && len < 4)
                || (group == 1 && tag == TagNeedles && len < 8);
            if (shortValue)
                return Fail(error, GetUiMessage(UiKey::String::JC5RecordShort).arg(what).arg(tag));
            if (group == 0 && tag == TagCount) {
                h.HasCount = true;
                h.N = GetBE32(b, pos);
            } else if (group == 0 && tag == TagPart) {
                h.IsPart = true;
                h.Part = GetBE16(b, pos);
                h.Parts = GetBE16(b, pos + 2);
            } else if (group == 0 && tag == TagName) {
                h.Name = b.mid(pos, len);
            } else if (group == 1 && tag == TagNeedles) {
                h.HasLayout = true;
                h.LayoutLength = len;
                h.Layout = GetBE32(b, pos);
                h.Needles = (h.Needles + GetBE32(b, pos + 4) + 7) / 8 * 8;
            }
            pos += len;
        }
    }
    h.DataStart = pos;
    if (!h.HasLayout || (h.Layout != 1 && h.Layout != 2))
        return Fail(error, GetUiMessage(CardMsg::UnknownFormat));
    if (!h.HasCount)
        return Fail(error, GetUiMessage(UiKey::String::JC5NoCardCount).arg(what));
    if (h.N > 65535)
        return Fail(error, GetUiMessage(UiKey::String::JC5TooManyCards).arg(what).arg(h.N));
    if (h.Needles / 8 > 65535)
        return Fail(error, GetUiMessage(UiKey::String::JC5TooManyNeedles).arg(what).arg(h.Needles));
    return true;
}

// The existing file for part `part` of the card whose first part is firstName: the exact
// name first, else a name in the same folder that differs only in letter case.
QString FindPartFile(const QString &firstName, int part)
{
    const QString wanted = JC5PartFileName(firstName, part);
    const QFileInfo info(wanted);
    if (info.isFile())
        return wanted;
    const QDir dir = info.dir();
    for (const QString &entry : dir.entryList(QDir::Files | QDir::Hidden))
        if (entry.compare(info.fileName(), Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    return QString();
}

// Reads parts 2 to h.Parts and appends their row bytes to `data`. Every part must belong to
// the same card: same card count, row length and number of parts, and its own part number.
bool AppendFurtherParts(const QString &firstName, const TJC5Head &first, QByteArray &data, QString *error)
{
    if (first.Parts >= 2 && firstName.isEmpty())
        return Fail(error, GetUiMessage(UiKey::String::JC5PartsNeedFirstName).arg(first.Parts));
    for (unsigned k = 2; k <= first.Parts; ++k) {
        const QString name = FindPartFile(firstName, int(k));
        if (name.isEmpty())
            return Fail(
                error, GetUiMessage(UiKey::String::JC5PartMissing).arg(JC5PartFileName(firstName, int(k))));
        QByteArray bytes;
        if (!ReadWholeFile(name, MaxCardFileSize(QStringLiteral(".J01")), bytes, error))
            return false;
        TJC5Head h;
        if (!ParseHead(bytes, FileNameOf(name), h, error))
            return false;
        if (h.N != first.N || h.Needles != first.Needles
            || (h.IsPart && (h.Part != k || h.Parts != first.Parts)))
            return Fail(error, GetUiMessage(UiKey::String::JC5PartForeign).arg(name).arg(k).arg(first.Parts));
        data += bytes.mid(h.DataStart);
    }
    return true;
}

// The parts of an earlier, longer split of the same name (any letter case): the new set
// replaces the whole set, or a controller reading on would take cards of another design.
void addStaleParts(const QString &fileName, int parts, std::vector<TFileToSave> &files)
{
    const QFileInfo first(JC5PartFileName(fileName, 1));
    const QString stem = first.fileName().chopped(2);
    const QDir dir = first.dir();
    for (const QString &entry : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (entry.size() != stem.size() + 2 || !entry.startsWith(stem, Qt::CaseInsensitive))
            continue;
        const QString number = entry.right(2);
        if (number[0].isDigit() && number[1].isDigit() && number.toInt() > parts)
            files.push_back({ dir.filePath(entry), QByteArray(), true });
    }
}

} // namespace

QString JC5PartFileName(const QString &fileName, int part)
{
    return fileName.chopped(std::min<qsizetype>(2, fileName.size()))
        + QStringLiteral("%1").arg(part, 2, 10, QLatin1Char('0'));
}

int JC5CardsPerPart(qint64 pieceSize, int nameBytes, int rowBytes)
{
    if (rowBytes <= 0)
        return 0;
    const qint64 cards = (pieceSize - (nameBytes + 72)) / rowBytes;
    return int(std::clamp<qint64>(cards, 0, 65535));
}

// A variant B file holds the last card first with each row's byte order reversed, bits as
// stored; a variant A file and the part files hold the first card first, every byte
// bit-reversed: both read back as written, the parts one after another (a row may run on
// into the next part).
// Row bytes beyond the N rows the header states are ignored.
bool ReadJC5File(
    const QByteArray &bytes, const QString &fileName, const QString &ext, TCardRead &out, QString *error)
{
    if (ext != QLatin1String(".JC5") && ext != QLatin1String(".J01"))
        return Fail(error, GetUiMessage(CardMsg::ChooseFirstPart));
    TJC5Head h;
    if (!ParseHead(bytes, FileNameOf(fileName), h, error))
        return false;
    if (h.IsPart && h.Part != 1)
        return Fail(error, GetUiMessage(CardMsg::ChooseFirstPart));
    const int n = int(h.N);
    const int len = int(h.Needles / 8);
    QByteArray data = bytes.mid(h.DataStart);
    if (h.IsPart && !AppendFurtherParts(fileName, h, data, error))
        return false;
    if (!PrepareCardRows(out, data.size(), 0, n, len, len, "JC5", error))
        return false;
    // A single file written as variant A (a tag-100 record of 8 bytes and the file's own
    // name) holds the cards first to last, each byte bit-reversed, like a part file; read
    // the single-file way it came back reversed and mirrored, and saved again it stayed so.
    const bool firstCardFirst = h.IsPart || (h.LayoutLength == 8 && h.Name != QByteArrayLiteral("Noname1_1"));
    const char *p = data.constData();
    for (int r = 0; r < n; ++r) {
        if (firstCardFirst) {
            for (std::uint8_t &b : out.Card[r])
                b = Rev(std::uint8_t(*p++));
        } else {
            std::uint8_t *row = out.Card[n - 1 - r].data();
            for (int i = len - 1; i >= 0; --i)
                row[i] = std::uint8_t(*p++);
        }
    }
    out.RowCount = 8;
    out.ColCount = len;
    return true;
}

bool WriteJC5Card(const TWenBanIO &io, const QString &fileName, TJC5Variant variant, QString *error)
{
    TCardShape s;
    if (!CheckCardShape(io, s, error))
        return false;
    if (s.RowBytes > 65535)
        return Fail(error, GetUiMessage(UiKey::String::JC5RowTooLong).arg(s.RowBytes));
    QByteArray name;
    if (variant == TJC5Variant::A) {
        if (!GbkNameField(BaseNameOf(fileName), -1, name, error))
            return false;
    } else {
        name = QByteArray("Noname1_1");
    }
    QByteArray buf(Magic, 4);
    buf.reserve(64 + name.size() + qint64(s.RowBytes) * s.CardCount);
    AppendBE32(buf, 2);
    AppendRecord(buf, TagName, name);
    AppendRecord(buf, TagCount, BE32Bytes(std::uint32_t(s.CardCount)));
    AppendBE32(buf, 1);
    QByteArray needles = BE32Bytes(1) + BE32Bytes(std::uint32_t(s.RowBytes) * 8);
    if (variant == TJC5Variant::B)
        needles += '\0';
    AppendRecord(buf, TagNeedles, needles);
    const qsizetype start = buf.size();
    buf.resize(start + qint64(s.RowBytes) * s.CardCount);
    char *p = buf.data() + start;
    if (variant == TJC5Variant::A) {
        for (int r = 0; r < s.CardCount; ++r)
            for (std::uint8_t b : io.Card[r])
                *p++ = char(Rev(b));
    } else {
        for (int r = s.CardCount - 1; r >= 0; --r)
            for (int i = s.RowBytes - 1; i >= 0; --i)
                *p++ = char(io.Card[r][i]);
    }
    return SaveBytes(fileName, buf, error);
}

bool WriteJC5PartFiles(
    const TWenBanIO &io, const QString &fileName, int cardsPerPart, int *partCount, QString *error)
{
    TCardShape s;
    if (!CheckCardShape(io, s, error))
        return false;
    if (s.RowBytes > 65535)
        return Fail(error, GetUiMessage(UiKey::String::JC5RowTooLong).arg(s.RowBytes));
    if (s.CardCount == 0)
        return Fail(error, GetUiMessage(UiKey::String::JC5NothingToSplit));
    if (cardsPerPart < 1)
        return Fail(error, GetUiMessage(UiKey::String::JC5PartNeedsCard));
    const int parts = (s.CardCount + cardsPerPart - 1) / cardsPerPart;
    if (parts > 99)
        return Fail(error, GetUiMessage(UiKey::String::JC5TooManyParts).arg(parts));

    // Every part is written in full before any is put in place, and all are or none.
    std::vector<TFileToSave> files;
    for (int k = 1; k <= parts; ++k) {
        const QString partName = JC5PartFileName(fileName, k);
        QByteArray name;
        if (!GbkNameField(FileNameOf(partName), -1, name, error))
            return false;
        const int first = (k - 1) * cardsPerPart;
        const int last = std::min(k * cardsPerPart, s.CardCount);
        QByteArray buf(Magic, 4);
        AppendBE32(buf, 4);
        AppendRecord(buf, TagName, name);
        AppendRecord(buf, TagCount, BE32Bytes(std::uint32_t(s.CardCount)));
        AppendRecord(buf, TagPart, BE32Bytes(std::uint32_t(k) << 16 | std::uint32_t(parts)));
        AppendRecord(buf, TagFirstCard, BE32Bytes(std::uint32_t(first + 1)));
        AppendBE32(buf, 1);
        AppendRecord(buf, TagNeedles, BE32Bytes(1) + BE32Bytes(std::uint32_t(s.RowBytes) * 8));
        const qsizetype start = buf.size();
        buf.resize(start + qint64(s.RowBytes) * (last - first));
        char *p = buf.data() + start;
        for (int r = first; r < last; ++r)
            for (std::uint8_t b : io.Card[r])
                *p++ = char(Rev(b));
        files.push_back({ partName, buf });
    }
    addStaleParts(fileName, parts, files);
    if (!WriteFilesAtomically(files, error))
        return false;
    if (partCount)
        *partCount = parts;
    return true;
}
