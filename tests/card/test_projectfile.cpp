#include "card/fmt_pictures.h"
#include "card/projectfile.h"
#include "core/base/bytereader.h"
#include "core/picture/bmpfile.h"
#include "core/settings/sharedstate.h"
#include "readercases.h"
#include "testutil.h"
#include "weave/weavefile.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

std::vector<int> Bytes(const TDynamicByteArray &row)
{
    return std::vector<int>(row.begin(), row.end());
}

std::vector<std::vector<int>> Table(const TWeaveArray &t)
{
    std::vector<std::vector<int>> out;
    for (const auto &row : t)
        out.push_back(Bytes(row));
    return out;
}

// A palette whose first entries are distinct colours and the rest black.
TPalette256 SmallPalette()
{
    TPalette256 p {};
    p[0] = { 10, 20, 30, 0 };
    p[1] = { 200, 100, 50, 0 };
    p[2] = { 255, 255, 255, 0 };
    return p;
}

// The small document of the byte-exact test: 3 x 2 cells, one weft entry, two colours.
struct SmallDocument {
    QImage picture = MakePicture({ { 0, 1, 0 }, { 1, 1, 0 } }, SmallPalette());
    TMesh mesh;
    TPieceLayout tail { 2, 5, 3, 6 };
    SmallDocument()
    {
        mesh.Warps = 3;
        mesh.Wefts = 2;
        mesh.Reserved3 = 7;
        mesh.Reserved4 = 8;
        mesh.Reserved7 = 9;
        mesh.Reserved8 = 10;
        mesh.WarpDensity = 40.0;
        mesh.WeftDensity = 30.5;
        mesh.SampleCardFile = QStringLiteral("样卡.ovyk");
        mesh.Colors = { 0x001E140A, 0x003264C8 };
        mesh.PickRows = MakeWeaveArray(1, 2, 1);
        mesh.RegulatorRows = MakeWeaveArray(1, 2, 0);
        mesh.RegulatorRows[0][0] = 1;
        mesh.ColorWeaves.setLength(2);
        mesh.ColorWeaves[0] = MakeWeaveArray(2, 2, 0);
        mesh.ColorWeaves[0][0][0] = mesh.ColorWeaves[0][1][1] = 1;
        mesh.TechWeaves.setLength(3);
        mesh.TechWeaves[0] = MakeWeaveArray(2, 2, 0);
        mesh.TechWeaves[1] = MakeWeaveArray(1, 3, 1);
        mesh.TechWeaves[1][0][2] = 0;
        mesh.TechWeaves[2] = MakeWeaveArray(2, 2, 0);
        mesh.WeftDensRows = MakeWeaveArray(1, 2, 1);
        mesh.ColorWeaveNames = std::make_shared<QStringList>(QStringList { "C:\\W\\a.ovw", "" });
        mesh.TechWeaveNames = std::make_shared<QStringList>(QStringList { "", "边.ovw", "" });
    }
};

// The expected file, laid out field by field.
struct ExpectedFile {
    QByteArray body; // header to the weft-density table (version byte 2)
    QByteArray tail; // piece layout
    QByteArray names;
    qint64 pictureOffset = 0;
    QByteArray v2() const { return body + tail + names; }
    QByteArray withVersion(int v) const
    {
        QByteArray b = body;
        b[3] = char(v);
        return v == 2 ? b + tail + names : v == 1 ? b + names : b;
    }
};

ExpectedFile SmallDocumentFile()
{
    ExpectedFile f;
    QByteArray &b = f.body;
    b += Hex("D0 07 01 02 00 00 00 00");
    b += Hex(
        "03 00 00 00 02 00 00 00 07 00 00 00 08 00 00 00 01 00 00 00 01 00 00 00 09 00 00 00 0A 00 00 00");
    b += Hex("00 00 00 00 00 00 44 40 00 00 00 00 00 80 3E 40"); // 40.0, 30.5
    b += Hex("09 00 00 00 D1 F9 BF A8") + QByteArray(".ovyk"); // 样卡 in GBK
    f.pictureOffset = b.size();
    // BMP: file header, info header, 256 colours (blue, green, red, 0), rows bottom-up.
    b += Hex("42 4D 3E 04 00 00 00 00 00 00 36 04 00 00");
    b += Hex("28 00 00 00 03 00 00 00 02 00 00 00 01 00 08 00 00 00 00 00 08 00 00 00");
    b += Hex("00 00 00 00 00 00 00 00 00 01 00 00 00 00 00 00");
    b += Hex("1E 14 0A 00 32 64 C8 00 FF FF FF 00") + QByteArray(253 * 4, '\0');
    b += Hex("01 01 00 00 00 01 00 00");
    b += Hex("02 00 00 00 0A 14 1E 00 C8 64 32 00"); // colours
    b += Hex("02 00 00 00 02 00 00 00 01 01 01 00"); // 2 x E, W, PickRows, RegulatorRows
    b += Hex("02 00 00 00 02 00 00 00 02 00 00 00 01 00 00 01 00 00 00 00 00 00 00 00"); // colour weaves
    b += Hex("03 00 00 00 02 00 00 00 02 00 00 00 00 00 00 00"); // technical weaves
    b += Hex("01 00 00 00 03 00 00 00 01 01 00 02 00 00 00 02 00 00 00 00 00 00 00");
    b += Hex("01 00 00 00 02 00 00 00 01 01"); // weft-density rows
    f.tail = Hex("02 00 00 00 05 00 00 00 03 00 00 00 06 00 00 00");
    f.names = QByteArray("C:\\W\\a.ovw\r\n\r\n\r\n") + Hex("B1 DF") + QByteArray(".ovw\r\n\r\n");
    return f;
}

void ExpectSameDocument(const TProjectRecord &r, const SmallDocument &d)
{
    const TMesh &m = r.Mesh;
    EXPECT_EQ(m.Warps, 3);
    EXPECT_EQ(m.Wefts, 2);
    EXPECT_EQ(std::vector<int>({ m.Reserved3, m.Reserved4, m.Reserved7, m.Reserved8 }),
        std::vector<int>({ 7, 8, 9, 10 }));
    EXPECT_EQ(m.WeftRepeat, 1);
    EXPECT_EQ(m.WarpRepeat, 1);
    EXPECT_EQ(m.WarpDensity, 40.0);
    EXPECT_EQ(m.WeftDensity, 30.5);
    EXPECT_EQ(m.SampleCardFile, d.mesh.SampleCardFile);
    EXPECT_EQ(PictureRows(r.Picture), PictureRows(d.picture));
    EXPECT_EQ(r.Picture.colorTable(), d.picture.colorTable());
    EXPECT_EQ(m.Colors, d.mesh.Colors);
    EXPECT_EQ(Table(m.PickRows), Table(d.mesh.PickRows));
    EXPECT_EQ(Table(m.RegulatorRows), Table(d.mesh.RegulatorRows));
    EXPECT_EQ(Table(m.WeftDensRows), Table(d.mesh.WeftDensRows));
    ASSERT_EQ(m.ColorWeaves.length(), 2);
    EXPECT_EQ(Table(m.ColorWeaves[0]), Table(d.mesh.ColorWeaves[0]));
    EXPECT_TRUE(m.ColorWeaves[1].isEmpty());
    ASSERT_EQ(m.TechWeaves.length(), 3);
    for (int s = 0; s < 3; ++s)
        EXPECT_EQ(Table(m.TechWeaves[s]), Table(d.mesh.TechWeaves[s])) << s;
}

bool Read(const QByteArray &bytes, TProjectRecord &record, QString *error = nullptr,
    const QStringList &folders = {})
{
    return ReadProjectBytes(bytes, folders, record, error);
}

// A legacy file: 132 bytes not read, the row tables, colours, the 48-byte block, a BMP
// image and the weave-name blocks.
struct LegacyFile {
    QByteArray head = QByteArray(132, 'x');
    int a = 2, b = 2;
    QByteArray tables = Hex("01 01 01 00");
    QByteArray block;
    QByteArray bmp;
    QByteArray colourNames, techNames;
    int colourCount = 0, techCount = 0;

    QByteArray bytes() const
    {
        QByteArray out = head;
        PutU32le(out, std::uint32_t(a));
        PutU32le(out, std::uint32_t(b));
        out += tables;
        out += Hex("02 00 00 00 01 02 03 00 04 05 06 00"); // colours, replaced on reading
        out += Hex("00 00 00 00") + block + Hex("00 00 00 00") + bmp;
        for (const auto &[count, text] :
            { std::pair { colourCount, colourNames }, std::pair { techCount, techNames } }) {
            PutU32le(out, std::uint32_t(count));
            if (count != 0) {
                PutU32le(out, std::uint32_t(text.size()));
                out += text;
            }
        }
        return out;
    }
};

// The 48-byte block with the given repeats and densities (of a 3 x 2 pattern).
QByteArray Block(int weftRepeat, int warpRepeat, double warpDensity, double weftDensity)
{
    TMesh m;
    m.Warps = 3;
    m.Wefts = 2;
    m.WeftRepeat = weftRepeat;
    m.WarpRepeat = warpRepeat;
    m.WarpDensity = warpDensity;
    m.WeftDensity = weftDensity;
    QByteArray file;
    EXPECT_TRUE(EncodeProjectFile(m, MakePicture({ { 0 } }), {}, file));
    return file.mid(8, 48);
}

LegacyFile SmallLegacy()
{
    LegacyFile f;
    f.block = Block(1, 1, 40.0, 30.0);
    f.bmp = EncodeBmp8(MakePicture({ { 0, 1, 0 }, { 1, 1, 2 } }, SmallPalette()));
    f.colourCount = 2;
    f.colourNames = "D:\\Weaves\\A.OVW\r\nD:\\Weaves\\b.ovw\r\n";
    f.techCount = 1;
    f.techNames = "E:\\old\\Tech.ovw";
    return f;
}

} // namespace

TEST(ProjectFile, VersionTwoIsWrittenByteForByteAndReadsBack)
{
    const SmallDocument d;
    const ExpectedFile expected = SmallDocumentFile();
    QByteArray bytes;
    QString error;
    ASSERT_TRUE(EncodeProjectFile(d.mesh, d.picture, d.tail, bytes, &error)) << error.toStdString();
    ASSERT_EQ(bytes.toHex(' ').toStdString(), expected.v2().toHex(' ').toStdString());

    TProjectRecord r;
    ASSERT_TRUE(Read(bytes, r, &error)) << error.toStdString();
    EXPECT_EQ(r.Version, 2);
    ExpectSameDocument(r, d);
    EXPECT_TRUE(r.HasPieceLayout);
    EXPECT_EQ(r.PieceLayout, d.tail);
    EXPECT_EQ(*r.Mesh.ColorWeaveNames, *d.mesh.ColorWeaveNames);
    EXPECT_EQ(*r.Mesh.TechWeaveNames, *d.mesh.TechWeaveNames);

    // What was read writes the same bytes again.
    QByteArray again;
    ASSERT_TRUE(EncodeProjectFile(r.Mesh, r.Picture, r.PieceLayout, again));
    EXPECT_EQ(again, bytes);
}

TEST(ProjectFile, OlderVersionsReadWithoutTailOrNames)
{
    const SmallDocument d;
    const ExpectedFile f = SmallDocumentFile();
    for (int v : { 0, 1 }) {
        TProjectRecord r;
        QString error;
        ASSERT_TRUE(Read(f.withVersion(v), r, &error)) << v << error.toStdString();
        EXPECT_EQ(r.Version, v);
        ExpectSameDocument(r, d);
        EXPECT_FALSE(r.HasPieceLayout);
        EXPECT_EQ(r.PieceLayout, (TPieceLayout { 1, 4, 0, 0 }));
        if (v == 1) {
            EXPECT_EQ(*r.Mesh.ColorWeaveNames, *d.mesh.ColorWeaveNames);
            EXPECT_EQ(*r.Mesh.TechWeaveNames, *d.mesh.TechWeaveNames);
        } else {
            EXPECT_EQ(*r.Mesh.ColorWeaveNames, QStringList({ "", "" }));
            EXPECT_EQ(*r.Mesh.TechWeaveNames, QStringList({ "", "", "" }));
        }
    }
}

TEST(ProjectFile, HeaderChoosesTheReader)
{
    const ExpectedFile f = SmallDocumentFile();
    QTemporaryDir dir;
    LegacyFile legacy = SmallLegacy();
    for (const char *name : { "a.ovw", "b.ovw", "tech.ovw" })
        ASSERT_TRUE(WriteWeaveFile(dir.filePath(name), MakeWeaveArray(2, 2, 1)));
    struct Case {
        const char *header; // bytes 0-7
        int version; // -1: legacy
    } cases[] = {
        { "D0 07 01 00 00 00 00 00", 0 },
        { "00 00 01 01 FF FF FF FF", 1 },
        { "12 34 01 02 01 00 00 00", 2 },
        { "D0 07 01 03 00 00 00 00", -1 },
        { "D0 07 00 02 00 00 00 00", -1 },
        { "D0 07 02 01 00 00 00 00", -1 },
        { "FF FF FF FF FF FF FF FF", -1 },
    };
    for (const Case &c : cases) {
        QByteArray bytes = c.version < 0 ? legacy.bytes() : f.withVersion(c.version);
        bytes.replace(0, 8, Hex(c.header));
        TProjectRecord r;
        QString error;
        EXPECT_TRUE(Read(bytes, r, &error, { dir.path() })) << c.header << " " << error.toStdString();
        EXPECT_EQ(r.Version, c.version) << c.header;
    }
}

TEST(ProjectFile, TablesThatDoNotFitTakeTheirDefaults)
{
    SmallDocument d;
    d.mesh.WeftRepeat = 2;
    d.mesh.TechWeaves.setLength(6);
    d.mesh.PickRows = TWeaveArray(); // 2 x E = 0
    struct Case {
        const char *name;
        TWeaveArray weftDensRows;
        TWeaveArray pickRows;
    } cases[] = {
        { "weft-density rows for another repeat, no pick rows", MakeWeaveArray(3, 2, 9), TWeaveArray() },
        { "empty weft-density table, pick rows of another height", TWeaveArray(), MakeWeaveArray(2, 5, 9) },
    };
    for (const Case &c : cases) {
        d.mesh.WeftDensRows = c.weftDensRows;
        d.mesh.PickRows = c.pickRows;
        d.mesh.RegulatorRows = c.pickRows;
        QByteArray bytes;
        ASSERT_TRUE(EncodeProjectFile(d.mesh, d.picture, d.tail, bytes));
        TProjectRecord r;
        QString error;
        ASSERT_TRUE(Read(bytes, r, &error)) << c.name << error.toStdString();
        EXPECT_EQ(Table(r.Mesh.PickRows), (std::vector<std::vector<int>> { { 1, 1 }, { 2, 2 } })) << c.name;
        EXPECT_EQ(Table(r.Mesh.RegulatorRows), (std::vector<std::vector<int>> { { 1, 1 }, { 0, 0 } }))
            << c.name;
        EXPECT_EQ(Table(r.Mesh.WeftDensRows), (std::vector<std::vector<int>> { { 1, 1 }, { 2, 2 } }))
            << c.name;
        // The fields after the table are still in place.
        EXPECT_EQ(r.PieceLayout, d.tail) << c.name;
        EXPECT_EQ(r.Mesh.TechWeaveNames->size(), 6) << c.name;
        EXPECT_EQ(r.Mesh.TechWeaveNames->at(1), QStringLiteral("边.ovw")) << c.name;
    }
}

TEST(ProjectFile, NameLinesAndSlotCounts)
{
    // Fewer names than slots are written as empty lines; more are not written.
    SmallDocument d;
    d.mesh.ColorWeaveNames = std::make_shared<QStringList>(QStringList { "one" });
    d.mesh.TechWeaveNames.reset();
    d.mesh.TechWeaves.setLength(4);
    QByteArray bytes;
    ASSERT_TRUE(EncodeProjectFile(d.mesh, d.picture, d.tail, bytes));
    EXPECT_TRUE(bytes.endsWith("one\r\n\r\n\r\n\r\n\r\n\r\n"));
    TProjectRecord r;
    ASSERT_TRUE(Read(bytes, r));
    EXPECT_EQ(*r.Mesh.ColorWeaveNames, QStringList({ "one", "" }));
    EXPECT_EQ(*r.Mesh.TechWeaveNames, QStringList({ "", "", "", "" }));

    // Lines split at CR LF, a lone CR or a lone LF; the last line ends with its break.
    const ExpectedFile f = SmallDocumentFile();
    const QByteArray body = f.withVersion(1).left(f.body.size());
    ASSERT_TRUE(Read(body + "a\rb\nc\r\nd\n\r\n", r));
    EXPECT_EQ(*r.Mesh.ColorWeaveNames, QStringList({ "a", "b" }));
    EXPECT_EQ(*r.Mesh.TechWeaveNames, QStringList({ "c", "d", "" }));
    // Fewer lines than colour weaves: the file is damaged.
    QString error;
    EXPECT_FALSE(Read(body + "a\r\n", r, &error));
    EXPECT_TRUE(error.contains("1") && error.contains("2")) << error.toStdString();

    // Names that cannot be stored, counts above 65,535 and a missing picture write nothing.
    struct Refused {
        const char *name;
        std::function<void(SmallDocument &)> change;
    } refused[] = {
        { "line break", [](SmallDocument &s) { (*s.mesh.TechWeaveNames)[0] = "a\nb"; } },
        { "not GBK",
            [](SmallDocument &s) { s.mesh.SampleCardFile = QString::fromUtf8("\xF0\x9F\x98\x80"); } },
        { "too many colours", [](SmallDocument &s) { s.mesh.Colors.setLength(65536); } },
        { "no picture", [](SmallDocument &s) { s.picture = QImage(); } },
    };
    for (const Refused &c : refused) {
        SmallDocument s;
        s.mesh.TechWeaveNames = std::make_shared<QStringList>(*s.mesh.TechWeaveNames);
        c.change(s);
        QByteArray out = "kept";
        QString why;
        EXPECT_FALSE(EncodeProjectFile(s.mesh, s.picture, s.tail, out, &why)) << c.name;
        EXPECT_FALSE(why.isEmpty()) << c.name;
        EXPECT_EQ(out, "kept") << c.name;
    }
}

TEST(ProjectFile, LegacyLayout)
{
    QTemporaryDir dir;
    ASSERT_TRUE(WriteWeaveFile(dir.filePath("a.ovw"), MakeWeaveArray(3, 1, 1)));
    ASSERT_TRUE(WriteWeaveFile(dir.filePath("TECH.OVW"), MakeWeaveArray(1, 4, 1)));
    LegacyFile f = SmallLegacy();
    f.block = Block(0, 3, 0.0, 25.0); // WeftRepeat 0 and a missing warp density
    TProjectRecord r;
    QString error;
    ASSERT_TRUE(Read(f.bytes(), r, &error, { dir.path() })) << error.toStdString();
    const TMesh &m = r.Mesh;
    EXPECT_EQ(r.Version, -1);
    EXPECT_EQ(m.WeftRepeat, 1);
    EXPECT_EQ(m.WarpRepeat, 1);
    EXPECT_EQ(m.WarpDensity, 32.0);
    EXPECT_EQ(m.WeftDensity, 32.0);
    EXPECT_EQ(m.Warps, 3);
    EXPECT_EQ(m.Wefts, 2);
    EXPECT_TRUE(m.SampleCardFile.isEmpty());
    // The colours are the picture's, most frequent first.
    EXPECT_EQ(m.Colors, TColorArray({ 0x003264C8, 0x001E140A, 0x00FFFFFF }));
    EXPECT_EQ(Table(m.PickRows), (std::vector<std::vector<int>> { { 1, 1 } }));
    EXPECT_EQ(Table(m.RegulatorRows), (std::vector<std::vector<int>> { { 1, 0 } }));
    EXPECT_EQ(Table(m.WeftDensRows), (std::vector<std::vector<int>> { { 1, 1 } }));
    // Weave files are found by base name, letter case ignored; a missing one leaves the
    // default weave of its colour and is reported.
    ASSERT_EQ(m.ColorWeaves.length(), 2);
    EXPECT_EQ(Table(m.ColorWeaves[0]), Table(MakeWeaveArray(3, 1, 1)));
    EXPECT_EQ(Table(m.ColorWeaves[1]), Table(MakeWeaveArray(2, 2, 1)));
    EXPECT_EQ(*m.ColorWeaveNames, QStringList({ "D:\\Weaves\\A.OVW", "" }));
    EXPECT_EQ(r.MissingWeaves, QStringList({ "D:\\Weaves\\b.ovw" }));
    EXPECT_TRUE(MissingWeavesMessage(r.MissingWeaves).contains("b.ovw"));
    ASSERT_EQ(m.TechWeaves.length(), 3); // one read, two added for the weft entry
    EXPECT_EQ(Table(m.TechWeaves[0]), Table(MakeWeaveArray(1, 4, 1)));
    EXPECT_EQ(Table(m.TechWeaves[2]), Table(MakeWeaveArray(2, 2, 0)));

    // A technical weave file that is missing becomes an empty 2 x 2 weave.
    QDir(dir.path()).remove("TECH.OVW");
    ASSERT_TRUE(Read(f.bytes(), r, &error, { dir.path() })) << error.toStdString();
    EXPECT_EQ(Table(r.Mesh.TechWeaves[0]), Table(MakeWeaveArray(2, 2, 0)));
    EXPECT_EQ(r.MissingWeaves.size(), 2);

    // A picture of another depth is reduced to 8 bits.
    QImage deep(3, 2, QImage::Format_RGB32);
    deep.fill(qRgb(90, 10, 200));
    QByteArray bmp;
    {
        QBuffer buffer(&bmp);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(deep.save(&buffer, "BMP"));
    }
    f.bmp = bmp;
    ASSERT_TRUE(Read(f.bytes(), r, &error, { dir.path() })) << error.toStdString();
    EXPECT_EQ(r.Picture.format(), QImage::Format_Indexed8);
    EXPECT_EQ(r.Picture.colorCount(), 256);
    ASSERT_EQ(r.Mesh.Colors.length(), 1);
    // The reduction keeps each colour within its colour cell (the top four bits).
    EXPECT_EQ(r.Mesh.Colors[0] & 0xF0F0F0, 0x00C00050) << std::hex << r.Mesh.Colors[0];

    // Without colour weaves the file holds nothing a document can use.
    f.colourCount = 0;
    EXPECT_FALSE(Read(f.bytes(), r, &error, { dir.path() }));
    EXPECT_FALSE(error.isEmpty());
}

TEST(ProjectFile, PreviewFindsThePictureWhereTheReaderDoes)
{
    const ExpectedFile f = SmallDocumentFile();
    QTemporaryDir dir;
    LegacyFile legacy = SmallLegacy();
    legacy.a = 3; // an odd count: the tables still take A x B bytes
    legacy.tables = Hex("01 01 01 00 07 07");
    const qint64 legacyOffset = 132 + 8 + 6 + 12 + 4 + 48 + 4;
    struct Case {
        QByteArray bytes;
        qint64 offset;
    } cases[] = {
        { f.withVersion(0), f.pictureOffset },
        { f.withVersion(1), f.pictureOffset },
        { f.withVersion(2), f.pictureOffset },
        { legacy.bytes(), legacyOffset },
    };
    for (const Case &c : cases) {
        qint64 offset = -1;
        ASSERT_TRUE(ProjectPictureOffset(c.bytes, offset));
        EXPECT_EQ(offset, c.offset);
        QImage preview;
        QString error;
        ASSERT_TRUE(ReadProjectPreview(c.bytes, preview, &error)) << error.toStdString();
        TProjectRecord r;
        ASSERT_TRUE(Read(c.bytes, r, &error, { dir.path() })) << error.toStdString();
        EXPECT_EQ(PictureRows(preview), PictureRows(r.Picture));
    }
}

TEST(ProjectFile, DamagedFilesAreRefusedAndChangeNothing)
{
    const ExpectedFile f = SmallDocumentFile();
    const QByteArray good = f.v2();
    TProjectRecord sentinel;
    sentinel.Version = 99;
    // Cut at every byte, the name lines included, in both versions that have names: each
    // is refused with a message, through the file reader as well.
    QTemporaryDir dir;
    const QString path = dir.filePath("cut.ovy");
    for (const QByteArray &whole : { good, f.withVersion(1) }) {
        for (qsizetype cut = 0; cut < whole.size(); ++cut) {
            TProjectRecord r = sentinel;
            QString error;
            EXPECT_FALSE(Read(whole.left(cut), r, &error)) << cut;
            EXPECT_FALSE(error.isEmpty()) << cut;
            EXPECT_EQ(r.Version, 99) << cut;
            if (cut < whole.size() - 40)
                continue; // the file reader is tried on the cuts among the names
            ASSERT_TRUE(WriteAll(path, whole.left(cut)));
            EXPECT_FALSE(LoadProjectFile(path, r)) << cut;
            EXPECT_EQ(r.Version, 99) << cut;
        }
    }
    // A name section with every slot's line is whole, even with lines to spare.
    TProjectRecord spare;
    ASSERT_TRUE(Read(good + "more\r\n", spare));
    EXPECT_EQ(*spare.Mesh.TechWeaveNames, QStringList({ "", "边.ovw", "" }));
    // Hostile counts: each asks for far more than the file holds.
    const qint64 bmp = f.pictureOffset;
    const qint64 colours = bmp + 1086;
    const qint64 tables = colours + 12;
    struct Case {
        const char *name;
        qint64 at;
        const char *bytes;
    } cases[] = {
        { "name length", 56, "FF FF 00 00" },
        { "picture file size", bmp + 2, "FF FF FF 7F" },
        { "picture height", bmp + 22, "FF FF 00 00" },
        { "picture pixel offset", bmp + 10, "00 00 00 00" },
        { "colour count", colours, "FF FF 00 00" },
        { "row-table entries", tables, "FE FF 00 00" },
        { "row length", tables + 4, "FF FF 00 00" },
        { "colour weave slots", tables + 12, "FF FF 00 00" },
        { "weave rows", tables + 16, "FF FF 00 00" },
        { "weave row length", tables + 20, "FF FF 00 00" },
        { "repeat", 24, "00 00 00 00" },
    };
    for (const Case &c : cases) {
        QByteArray bytes = good;
        bytes.replace(c.at, 4, Hex(c.bytes));
        TProjectRecord r = sentinel;
        QString error;
        RunWithin(10, c.name, [&] { EXPECT_FALSE(Read(bytes, r, &error)) << c.name; });
        EXPECT_FALSE(error.isEmpty()) << c.name;
        EXPECT_EQ(r.Version, 99) << c.name;
    }
    // A legacy file cut short anywhere is refused too.
    const QByteArray legacy = SmallLegacy().bytes();
    for (qsizetype cut = 0; cut < legacy.size(); cut += 7) {
        TProjectRecord r = sentinel;
        EXPECT_FALSE(Read(legacy.left(cut), r)) << cut;
        EXPECT_EQ(r.Version, 99) << cut;
    }
}

TEST(ProjectFile, FileReaderRefusesSpecialAndOversizedFiles)
{
    const std::vector<ReaderCase> readers = {
        { "project",
            [](const QString &path, QString *error) {
                TProjectRecord r;
                return LoadProjectFile(path, r, error);
            },
            MaxProjectFileSize },
    };
    ExpectSpecialFilesRefused(readers);
    ExpectOversizedFilesRefused(readers);
}

TEST(ProjectFile, FileReaderGivesWhatTheBytesGive)
{
    // The file reader reads an 8-bit picture straight from the file and the other fields
    // around it; every layout and every cut must come out as from the whole bytes.
    const ExpectedFile f = SmallDocumentFile();
    QTemporaryDir dir;
    ASSERT_TRUE(WriteWeaveFile(dir.filePath("a.ovw"), MakeWeaveArray(3, 1, 1)));
    LegacyFile legacy = SmallLegacy();
    LegacyFile deepLegacy = SmallLegacy();
    {
        QImage deep(5, 3, QImage::Format_RGB32);
        deep.fill(qRgb(20, 200, 20));
        QBuffer buffer(&deepLegacy.bmp);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(deep.save(&buffer, "BMP"));
    }
    QByteArray padded = f.v2();
    padded.insert(f.pictureOffset + 2, Hex("00")); // a picture whose size disagrees with its header
    std::vector<QByteArray> files { f.withVersion(0), f.withVersion(1), f.v2(), legacy.bytes(),
        deepLegacy.bytes(), padded };
    for (qsizetype cut :
        { qsizetype(8), f.pictureOffset + 20, f.pictureOffset + 1080, f.pictureOffset + 1090 })
        files.push_back(f.v2().left(cut));
    const QString path = dir.filePath("p.ovy");
    for (const QByteArray &bytes : files) {
        ASSERT_TRUE(WriteAll(path, bytes));
        TProjectRecord fromBytes, fromFile;
        QString bytesError, fileError;
        const bool bytesOk = Read(bytes, fromBytes, &bytesError, { dir.path() });
        const bool fileOk = LoadProjectFile(path, fromFile, &fileError);
        ASSERT_EQ(fileOk, bytesOk) << bytes.size() << " " << fileError.toStdString();
        EXPECT_EQ(fileError.isEmpty(), bytesError.isEmpty()) << bytes.size();
        if (!fileOk)
            continue;
        EXPECT_EQ(fromFile.Version, fromBytes.Version);
        EXPECT_EQ(fromFile.Picture, fromBytes.Picture);
        EXPECT_EQ(fromFile.Mesh.Colors, fromBytes.Mesh.Colors);
        EXPECT_EQ(Table(fromFile.Mesh.PickRows), Table(fromBytes.Mesh.PickRows));
        EXPECT_EQ(fromFile.Mesh.ColorWeaves.length(), fromBytes.Mesh.ColorWeaves.length());
        EXPECT_EQ(*fromFile.Mesh.TechWeaveNames, *fromBytes.Mesh.TechWeaveNames);
        EXPECT_EQ(fromFile.PieceLayout, fromBytes.PieceLayout);
        EXPECT_EQ(fromFile.MissingWeaves, fromBytes.MissingWeaves);
    }
}
