#include "card/projectfile.h"

#include "core/base/error.h"
#include "core/base/filetext.h"
#include "core/base/filewrite.h"
#include "core/decode/pictureconvert.h"
#include "core/palette/palette.h"
#include "core/picture/bmpfile.h"
#include "core/picture/lowbitpicture.h"
#include "core/picture/qtdecode.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "weave/weavefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <cmath>
#include <cstring>

namespace {

constexpr int HeaderSize = 8;
constexpr int BlockSize = 48;
constexpr qint64 LegacyTablesOffset = 132;

// Counts are kept through their low 16 bits.
qint64 count16(TByteReader &in)
{
    return in.u32le() & 0xFFFF;
}

bool damaged(const TByteReader &, QString *error)
{
    return Fail(error, GetUiMessage(UiKey::String::ProjectFileDamaged));
}

// A picture the file reader decoded straight from the file: the bytes handed to the
// layout readers then lack its image, which stood at Offset.
struct TStreamedPicture {
    qint64 Offset = -1;
    QImage Picture;
};

bool takePicture(TByteReader &in, QImage &picture, QString *error, const TStreamedPicture *streamed)
{
    if (streamed && in.pos() == streamed->Offset) {
        picture = streamed->Picture;
        return true;
    }
    return ReadProjectPicture(in, picture, error);
}

void putBlock(QByteArray &out, const TMesh &m)
{
    for (std::int32_t v :
        { m.Warps, m.Wefts, m.Reserved3, m.Reserved4, m.WeftRepeat, m.WarpRepeat, m.Reserved7, m.Reserved8 })
        PutU32le(out, std::uint32_t(v));
    for (double d : { m.WarpDensity, m.WeftDensity }) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &d, sizeof bits);
        PutU32le(out, std::uint32_t(bits));
        PutU32le(out, std::uint32_t(bits >> 32));
    }
}

void takeBlock(TByteReader &in, TMesh &m)
{
    for (std::int32_t *v : { &m.Warps, &m.Wefts, &m.Reserved3, &m.Reserved4, &m.WeftRepeat, &m.WarpRepeat,
             &m.Reserved7, &m.Reserved8 })
        *v = in.i32le();
    for (double *d : { &m.WarpDensity, &m.WeftDensity }) {
        const std::uint64_t low = in.u32le();
        const std::uint64_t bits = low | (std::uint64_t(in.u32le()) << 32);
        std::memcpy(d, &bits, sizeof *d);
    }
}

QByteArray view(const std::uint8_t *p, qint64 n)
{
    return QByteArray::fromRawData(reinterpret_cast<const char *>(p), qsizetype(n));
}

// Lines end at CR LF, a lone CR or a lone LF; a final line break adds no empty line.
QStringList splitNameLines(const std::uint8_t *p, qint64 n)
{
    QStringList lines;
    qint64 start = 0;
    for (qint64 i = 0; i < n; ++i) {
        if (p[i] != '\r' && p[i] != '\n')
            continue;
        lines.append(DecodeFileText(view(p + start, i - start)));
        if (p[i] == '\r' && i + 1 < n && p[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(DecodeFileText(view(p + start, n - start)));
    return lines;
}

} // namespace

bool ReadProjectPicture(TByteReader &in, QImage &picture, QString *error)
{
    const QByteArray rest
        = view(reinterpret_cast<const std::uint8_t *>(in.bytes().constData()) + in.pos(), in.remaining());
    const auto refuse = [&](const QString &why) {
        return Fail(error, GetUiMessage(UiKey::String::ProjectPictureDamaged).arg(why));
    };
    qint64 length = 0;
    QString why;
    if (!BmpImageLength(rest, length, &why))
        return refuse(why);
    const QByteArray bmp = view(reinterpret_cast<const std::uint8_t *>(rest.constData()), length);
    QImage out;
    if (IsBmp8(bmp)) {
        if (!DecodeBmp8(bmp, out, &why))
            return refuse(why);
    } else {
        TLowBitPicture low;
        if (DecodeBmpLowBit(bmp, low, nullptr)) {
            ConvertLowBitTo8Bit(low, out);
        } else {
            QImage deep;
            if (!DecodeWithQt(bmp, "BMP", deep, &why) || deep.isNull())
                return refuse(why);
            if (deep.format() == QImage::Format_Indexed8)
                out = deep;
            else
                ConvertPictureTo8Bit(deep, out);
        }
        if (out.format() != QImage::Format_Indexed8)
            return refuse(QString());
        QList<QRgb> table = out.colorTable();
        table.resize(256, qRgb(0, 0, 0));
        out.setColorTable(table);
    }
    in.skip(length);
    picture = out;
    return true;
}

namespace {

// The repeat counts and sizes a document needs; densities that cannot give a cell shape
// become 32.0 both, as the legacy layout's missing densities do.
bool settleRecord(TProjectRecord &rec, QString *error)
{
    TMesh &m = rec.Mesh;
    m.Warps = rec.Picture.width();
    m.Wefts = rec.Picture.height();
    const auto usable = [](double d) { return std::isfinite(d) && d > 0; };
    if (!usable(m.WarpDensity) || !usable(m.WeftDensity))
        m.WarpDensity = m.WeftDensity = 32.0;
    return CheckMeshRepeats(m, error);
}

// True when the table holds rows of the picture's height.
bool rowsFitPicture(const TWeaveArray &table, int height)
{
    return !table.isEmpty() && std::all_of(table.begin(), table.end(), [&](const TDynamicByteArray &r) {
        return r.length() == height;
    });
}

bool readVersion(TByteReader &in, int version, TProjectRecord &record, QString *error,
    const TStreamedPicture *streamed = nullptr)
{
    TProjectRecord rec;
    rec.Version = version;
    TMesh &m = rec.Mesh;
    in.seek(HeaderSize);
    takeBlock(in, m);
    const qint64 nameLength = count16(in);
    const std::uint8_t *name = in.take(nameLength);
    if (!in.ok())
        return damaged(in, error);
    m.SampleCardFile = DecodeFileText(view(name, nameLength));
    if (!takePicture(in, rec.Picture, error, streamed))
        return false;

    const qint64 colours = count16(in);
    if (!in.has(4 * colours))
        return damaged(in, error);
    m.Colors.setLength(colours);
    for (TColor &c : m.Colors)
        c = in.i32le();

    const qint64 entries = count16(in) / 2;
    const qint64 rowLength = count16(in);
    const bool pickTables = entries > 0 && rowLength > 0;
    if (!in.ok() || (pickTables && !in.has(2 * entries * rowLength)))
        return damaged(in, error);
    if (pickTables) {
        for (TWeaveArray *t : { &m.PickRows, &m.RegulatorRows }) {
            *t = MakeWeaveArray(int(entries), int(rowLength));
            for (auto &row : *t)
                std::memcpy(row.data(), in.take(rowLength), size_t(rowLength));
        }
    }

    for (TWeaveList *slots : { &m.ColorWeaves, &m.TechWeaves }) {
        const qint64 n = count16(in);
        // Every byte table takes at least its 8 bytes of counts.
        if (!in.ok() || !in.has(8 * n))
            return damaged(in, error);
        slots->setLength(n);
        for (TWeaveArray &weave : *slots)
            if (!ReadByteTable(in, weave))
                return damaged(in, error);
    }

    const qint64 layers = count16(in);
    const qint64 layerLength = count16(in);
    if (!in.ok() || !in.has(layers * layerLength))
        return damaged(in, error);
    const bool layerTable = layers > 0 && layerLength > 0 && layers == m.WeftRepeat;
    if (layerTable) {
        m.WeftDensRows = MakeWeaveArray(int(layers), int(layerLength));
        for (auto &row : m.WeftDensRows)
            std::memcpy(row.data(), in.take(layerLength), size_t(layerLength));
    } else {
        in.skip(layers * layerLength);
    }

    if (version == 2) {
        if (!ReadProjectTail(in, rec.PieceLayout))
            return damaged(in, error);
        rec.HasPieceLayout = true;
    }

    const qsizetype colourSlots = m.ColorWeaves.length(), techSlots = m.TechWeaves.length();
    m.ColorWeaveNames = std::make_shared<QStringList>();
    m.TechWeaveNames = std::make_shared<QStringList>();
    if (version == 0) {
        for (qsizetype i = 0; i < colourSlots; ++i)
            m.ColorWeaveNames->append(QString());
    } else {
        // Nothing of the names is optional: every slot has its line, each ended by a line
        // break (CR LF as written; a lone LF or CR inside is taken too). Text that stops
        // inside a line or its CR LF, or before the last slot's line, was cut; lines beyond
        // the slots are not read.
        const qint64 left = in.remaining();
        const std::uint8_t *text = in.take(left);
        QStringList lines = splitNameLines(text, left);
        if (lines.size() < colourSlots)
            return Fail(
                error, GetUiMessage(UiKey::String::ProjectNamesMissing).arg(lines.size()).arg(colourSlots));
        if (lines.size() < colourSlots + techSlots || (left > 0 && text[left - 1] != '\n'))
            return damaged(in, error);
        *m.ColorWeaveNames = lines.mid(0, colourSlots);
        *m.TechWeaveNames = lines.mid(colourSlots, techSlots);
    }
    // One name per technical slot, as the technical-weave window shows them.
    while (m.TechWeaveNames->size() < techSlots)
        m.TechWeaveNames->append(QString());

    if (!settleRecord(rec, error))
        return false;
    // Tables that do not fit the picture (or are missing) take their defaults.
    const int height = rec.Picture.height();
    if (!pickTables || !rowsFitPicture(m.PickRows, height) || !rowsFitPicture(m.RegulatorRows, height))
        InitPickRowTables(m);
    if (!layerTable || !rowsFitPicture(m.WeftDensRows, height))
        InitLayerRowTable(m);
    record = std::move(rec);
    return true;
}

// Looks weave files up by base name, letter case ignored, folder by folder.
class TWeaveFinder {
public:
    explicit TWeaveFinder(const QStringList &folders)
        : m_folders(folders)
    {
    }

    // The weave of a file name as the legacy layout gives it (a Windows path); false when
    // no folder holds a readable weave file of that base name.
    bool load(const QString &name, TWeaveArray &weave)
    {
        const QString base = name.section(QLatin1Char('\\'), -1).section(QLatin1Char('/'), -1).trimmed();
        if (base.isEmpty())
            return false;
        for (const QString &folder : m_folders) {
            auto listed = m_listings.find(folder);
            if (listed == m_listings.end())
                listed = m_listings.insert(folder, QDir(folder).entryList(QDir::Files | QDir::Readable));
            for (const QString &file : *listed)
                if (file.compare(base, Qt::CaseInsensitive) == 0
                    && LoadWeaveFile(QDir(folder).filePath(file), weave, nullptr))
                    return true;
        }
        return false;
    }

private:
    QStringList m_folders;
    QHash<QString, QStringList> m_listings;
};

} // namespace

bool ProjectPictureOffset(const QByteArray &bytes, qint64 &offset, bool *legacy)
{
    TByteReader in(bytes);
    in.skip(2);
    const std::uint8_t mark = in.u8();
    const std::uint8_t version = in.u8();
    const bool old = !(in.ok() && mark == 1 && version <= 2);
    if (legacy)
        *legacy = old;
    if (!old) {
        in.seek(HeaderSize + BlockSize);
        in.skip(count16(in));
    } else {
        // The row tables take A x B bytes whatever A is: an odd A leaves B bytes unread.
        in.seek(LegacyTablesOffset);
        const qint64 a = count16(in);
        const qint64 b = count16(in);
        in.skip(a * b);
        in.skip(4 * count16(in));
        in.skip(4 + BlockSize + 4);
    }
    if (!in.ok())
        return false;
    offset = in.pos();
    return true;
}

void WriteByteTable(QByteArray &out, const TWeaveArray &table)
{
    const qint64 rows = table.length();
    const qint64 length = rows > 0 ? table[0].length() : 0;
    if (rows == 0 || length == 0) {
        PutU32le(out, 0);
        PutU32le(out, 0);
        return;
    }
    PutU32le(out, std::uint32_t(rows));
    PutU32le(out, std::uint32_t(length));
    for (const auto &row : table) {
        const qint64 n = std::min<qint64>(row.length(), length);
        out.append(reinterpret_cast<const char *>(row.data()), qsizetype(n));
        out.append(qsizetype(length - n), '\0');
    }
}

bool ReadByteTable(TByteReader &in, TWeaveArray &table)
{
    const qint64 rows = count16(in);
    const qint64 length = count16(in);
    if (!in.ok() || !in.has(rows * length))
        return false;
    if (rows == 0 || length == 0) {
        table = TWeaveArray();
        return true;
    }
    TWeaveArray out = MakeWeaveArray(int(rows), int(length));
    for (auto &row : out)
        std::memcpy(row.data(), in.take(length), size_t(length));
    table = out;
    return true;
}

void WriteProjectTail(QByteArray &out, const TPieceLayout &values)
{
    for (std::int32_t v : values)
        PutU32le(out, std::uint32_t(v));
}

bool ReadProjectTail(TByteReader &in, TPieceLayout &values)
{
    if (!in.has(4 * qint64(values.size())))
        return false;
    for (std::int32_t &v : values)
        v = in.i32le();
    return true;
}

bool WriteProjectContent(const TMesh &mesh, const QImage &picture, const TPieceLayout &pieceLayout,
    const TFileSink &sink, QString *error)
{
    if (picture.isNull() || picture.format() != QImage::Format_Indexed8)
        return Fail(error, GetUiMessage(UiKey::String::ProjectNoPicture));
    // Every count the file holds, checked before anything is built.
    const qint64 entries = mesh.PickRows.length();
    const qint64 rowLength = entries > 0 ? mesh.PickRows[0].length() : 0;
    std::vector<qint64> counts { mesh.Colors.length(), 2 * entries, rowLength, mesh.ColorWeaves.length(),
        mesh.TechWeaves.length(), mesh.WeftDensRows.length() };
    if (!mesh.WeftDensRows.isEmpty())
        counts.push_back(mesh.WeftDensRows[0].length());
    for (const TWeaveList *slots : { &mesh.ColorWeaves, &mesh.TechWeaves })
        for (const TWeaveArray &w : *slots) {
            counts.push_back(w.length());
            if (!w.isEmpty())
                counts.push_back(w[0].length());
        }
    QByteArray cardName;
    QList<QByteArray> names;
    const auto encodeName = [&](const QString &text, QByteArray &out) {
        if (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')))
            return Fail(error, GetUiMessage(UiKey::String::ProjectNameRefused).arg(text.simplified()));
        return EncodeFileText(text, out, error);
    };
    if (!encodeName(mesh.SampleCardFile, cardName))
        return false;
    counts.push_back(cardName.size());
    for (const auto &[list, slots] : { std::pair { mesh.ColorWeaveNames.get(), mesh.ColorWeaves.length() },
             std::pair { mesh.TechWeaveNames.get(), mesh.TechWeaves.length() } })
        for (qsizetype i = 0; i < slots; ++i) {
            QByteArray line;
            if (!encodeName(list && i < list->size() ? list->at(i) : QString(), line))
                return false;
            names.append(line);
        }
    for (qint64 c : counts)
        if (c > MaxProjectCount)
            return Fail(error, GetUiMessage(UiKey::String::ProjectCountTooLarge).arg(c));

    QByteArray out;
    PutU16le(out, 2000);
    out.append(char(1));
    out.append(char(2));
    PutU32le(out, 0);
    putBlock(out, mesh);
    PutU32le(out, std::uint32_t(cardName.size()));
    out.append(cardName);
    // The picture goes to the sink straight from its rows, between the fields before and after.
    if (!sink(out.constData(), out.size()) || !WriteBmp8(picture, sink))
        return Fail(error, GetUiMessage(UiKey::String::ProjectNoPicture));
    out.clear();
    PutU32le(out, std::uint32_t(mesh.Colors.length()));
    for (TColor c : mesh.Colors)
        PutU32le(out, std::uint32_t(c));
    PutU32le(out, std::uint32_t(2 * entries));
    PutU32le(out, std::uint32_t(rowLength));
    // Both tables are written with E entries of W bytes, so that the reader finds the
    // fields after them where they are.
    for (const TWeaveArray *t : { &mesh.PickRows, &mesh.RegulatorRows })
        for (qint64 e = 0; e < entries; ++e) {
            const qint64 n = e < t->length() ? std::min<qint64>((*t)[e].length(), rowLength) : 0;
            if (n > 0)
                out.append(reinterpret_cast<const char *>((*t)[e].data()), qsizetype(n));
            out.append(qsizetype(rowLength - n), '\0');
        }
    for (const TWeaveList *slots : { &mesh.ColorWeaves, &mesh.TechWeaves }) {
        PutU32le(out, std::uint32_t(slots->length()));
        for (const TWeaveArray &w : *slots)
            WriteByteTable(out, w);
    }
    WriteByteTable(out, mesh.WeftDensRows);
    WriteProjectTail(out, pieceLayout);
    for (const QByteArray &line : names) {
        out.append(line);
        out.append("\r\n", 2);
    }
    return sink(out.constData(), out.size());
}

bool EncodeProjectFile(const TMesh &mesh, const QImage &picture, const TPieceLayout &pieceLayout,
    QByteArray &bytes, QString *error)
{
    QByteArray out;
    if (!WriteProjectContent(
            mesh, picture, pieceLayout,
            [&out](const char *data, qint64 size) {
                out.append(data, qsizetype(size));
                return true;
            },
            error))
        return false;
    bytes = out;
    return true;
}

bool ReadProjectFileV0(TByteReader &in, TProjectRecord &record, QString *error)
{
    return readVersion(in, 0, record, error);
}

bool ReadProjectFileV1(TByteReader &in, TProjectRecord &record, QString *error)
{
    return readVersion(in, 1, record, error);
}

bool ReadProjectFileV2(TByteReader &in, TProjectRecord &record, QString *error)
{
    return readVersion(in, 2, record, error);
}

namespace {

bool readLegacy(TByteReader &in, const QStringList &weaveFolders, TProjectRecord &record, QString *error,
    const TStreamedPicture *streamed)
{
    TProjectRecord rec;
    TMesh &m = rec.Mesh;
    in.seek(LegacyTablesOffset);
    const qint64 a = count16(in);
    const qint64 b = count16(in);
    const qint64 entries = a / 2;
    if (!in.ok() || !in.has(a * b))
        return damaged(in, error);
    const qint64 tablesEnd = in.pos() + a * b;
    if (entries >= 1 && b >= 1) {
        for (TWeaveArray *t : { &m.PickRows, &m.RegulatorRows }) {
            *t = MakeWeaveArray(int(entries), int(b));
            for (auto &row : *t)
                std::memcpy(row.data(), in.take(b), size_t(b));
        }
    }
    in.seek(tablesEnd);
    // The colour list is replaced by the picture's own below.
    in.skip(4 * count16(in));
    in.skip(4);
    takeBlock(in, m);
    in.skip(4);
    if (!in.ok())
        return damaged(in, error);
    if (!takePicture(in, rec.Picture, error, streamed))
        return false;

    QStringList names[2];
    qint64 slots[2] = { 0, 0 };
    for (int list = 0; list < 2; ++list) {
        slots[list] = count16(in);
        if (slots[list] == 0)
            continue;
        const qint64 length = count16(in);
        const std::uint8_t *text = in.take(length);
        if (!in.ok())
            return damaged(in, error);
        names[list] = splitNameLines(text, length);
    }
    if (!in.ok())
        return damaged(in, error);

    TPalette256 palette {};
    GetGraphicPalette(rec.Picture, palette);
    GetUsedColorsByFrequency(rec.Picture, palette, m.Colors);
    if (m.WeftRepeat == 0 || m.WarpRepeat == 0)
        m.WeftRepeat = m.WarpRepeat = 1;
    if (!settleRecord(rec, error))
        return false;

    // A weave file that cannot be found leaves its slot with the default weave; the
    // names are listed for the caller to show.
    TWeaveFinder finder(weaveFolders);
    m.ColorWeaveNames = std::make_shared<QStringList>();
    m.TechWeaveNames = std::make_shared<QStringList>();
    TWeaveList *lists[2] = { &m.ColorWeaves, &m.TechWeaves };
    QStringList *nameLists[2] = { m.ColorWeaveNames.get(), m.TechWeaveNames.get() };
    const qint64 perEntry = m.Colors.length() * qint64(m.WarpRepeat);
    for (int list = 0; list < 2; ++list) {
        lists[list]->setLength(slots[list]);
        for (qint64 s = 0; s < slots[list]; ++s) {
            const QString name = s < names[list].size() ? names[list][s] : QString();
            TWeaveArray &weave = (*lists[list])[s];
            if (finder.load(name, weave)) {
                nameLists[list]->append(name);
                continue;
            }
            if (!name.trimmed().isEmpty() && !rec.MissingWeaves.contains(name))
                rec.MissingWeaves.append(name);
            nameLists[list]->append(QString());
            if (list == 1 || perEntry == 0)
                weave = MakeWeaveArray(2, 2, 0);
            else
                weave = DefaultColorWeave(m.Colors[(s % perEntry) / m.WarpRepeat]);
        }
    }

    if (m.PickRows.isEmpty() || m.RegulatorRows.isEmpty() || !rowsFitPicture(m.PickRows, m.Wefts)
        || !rowsFitPicture(m.RegulatorRows, m.Wefts))
        InitPickRowTables(m);
    // Technical slots for every weft entry, as every document holds them.
    InitWeaveSlots(m);
    InitLayerRowTable(m);
    if (m.TechWeaves.isEmpty() || m.ColorWeaves.isEmpty() || m.Colors.isEmpty())
        return Fail(error, GetUiMessage(UiKey::String::ProjectLegacyIncomplete));
    record = std::move(rec);
    return true;
}

bool readProject(const QByteArray &bytes, const QStringList &weaveFolders, TProjectRecord &record,
    QString *error, const TStreamedPicture *streamed)
{
    TByteReader in(bytes);
    in.skip(2);
    const std::uint8_t mark = in.u8();
    const std::uint8_t version = in.u8();
    in.skip(4);
    if (!in.ok())
        return damaged(in, error);
    if (mark == 1 && version <= 2)
        return readVersion(in, version, record, error, streamed);
    in.seek(0);
    return readLegacy(in, weaveFolders, record, error, streamed);
}

// Reads count bytes (fewer at the end of the file) and appends them.
bool appendFromFile(QFile &file, qint64 count, QByteArray &bytes)
{
    const qsizetype old = bytes.size();
    bytes.resize(old + qsizetype(count));
    const qint64 got = count > 0 ? file.read(bytes.data() + old, count) : 0;
    bytes.resize(old + qsizetype(std::max<qint64>(got, 0)));
    return got >= 0;
}

} // namespace

bool ReadProjectFileLegacy(
    TByteReader &in, const QStringList &weaveFolders, TProjectRecord &record, QString *error)
{
    return readLegacy(in, weaveFolders, record, error, nullptr);
}

bool ReadProjectBytes(
    const QByteArray &bytes, const QStringList &weaveFolders, TProjectRecord &record, QString *error)
{
    return readProject(bytes, weaveFolders, record, error, nullptr);
}

QStringList ProjectWeaveFolders(const QString &projectFileName)
{
    QStringList folders { QFileInfo(projectFileName).absolutePath() };
    const QString weaveDir = Folders().WeaveDir;
    if (!weaveDir.isEmpty()) {
        folders.append(weaveDir);
        const QDir root(weaveDir);
        for (const QString &library : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
            folders.append(root.filePath(library));
    }
    return folders;
}

bool LoadProjectFile(const QString &fileName, TProjectRecord &record, QString *error)
{
    // The fields before the picture and those after it are read into memory; an 8-bit
    // picture goes row by row from the file into the picture, so that the file's copy of
    // it is never held. Other pictures (legacy files) are read with the whole file.
    QFile file;
    if (!OpenFileForReading(file, fileName, MaxProjectFileSize, error))
        return false;
    const qint64 size = file.size();
    const QStringList folders = ProjectWeaveFolders(fileName);
    const auto cannotRead = [&] {
        return Fail(error, GetUiMessage(UiKey::String::FileCannotRead).arg(fileName, file.errorString()));
    };
    QByteArray front;
    qint64 offset = -1;
    for (qint64 want = 1 << 16; offset < 0 && front.size() < size; want *= 4) {
        if (!appendFromFile(file, std::min(want, size) - front.size(), front))
            return cannotRead();
        if (!ProjectPictureOffset(front, offset))
            offset = -1;
    }
    QByteArray head;
    if (offset >= 0 && file.seek(offset))
        head = file.peek(54);
    if (offset < 0 || !IsBmp8(head)) {
        QByteArray bytes;
        if (!ReadWholeFile(fileName, MaxProjectFileSize, bytes, error))
            return false;
        return readProject(bytes, folders, record, error, nullptr);
    }
    TStreamedPicture streamed;
    streamed.Offset = offset;
    qint64 consumed = 0;
    QString why;
    if (!ReadBmp8Image(file, size - offset, streamed.Picture, consumed, &why)) {
        if (file.error() != QFileDevice::NoError)
            return cannotRead();
        return Fail(error, GetUiMessage(UiKey::String::ProjectPictureDamaged).arg(why));
    }
    front.truncate(offset);
    if (!file.seek(offset + consumed) || !appendFromFile(file, size - offset - consumed, front))
        return cannotRead();
    return readProject(front, folders, record, error, &streamed);
}

QString MissingWeavesMessage(const QStringList &names)
{
    return GetUiMessage(UiKey::String::ProjectWeavesMissing).arg(names.join(QStringLiteral(", ")));
}
