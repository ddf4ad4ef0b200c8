// DAT and P32: the four controller variants.
#include "cardfmt_helpers.h"

namespace {

const int FileSize = 131072;

QByteArray Text(const char *t)
{
    return QByteArray(t);
}

struct Variant {
    int v;
    int R, D, S, T;
    qint64 page[3];
};
const Variant Variants[4] = {
    { 0, 16, 80, 16, 130928, { 32848, 65616, 98384 } },
    { 1, 20, 32, 32, 130896, { 32800, 65568, 98336 } },
    { 2, 20, 32, 32, 130896, { 32800, 65568, 98336 } },
    { 3, 40, 48, 48, 130736, { 32816, 65584, 98352 } },
};

QByteArray Header(int v, int n)
{
    QByteArray h = Bytes({ n & 0xFF, n >> 8 });
    switch (v) {
    case 0:
        return h + Text("ABCDEF") + Zeros(2) + Text("KY128") + char((n + 237) % 256) + Zeros(2)
            + char((n + 113) % 256) + Zeros(13) + Text("CAD-TRONIX_CO.") + Zeros(34);
    case 1:
        return h + Text("CAD-TRONIX") + Hex("FF") + Zeros(7) + Text("CEJ.SYSTEM") + Zeros(2);
    case 2:
        return h + Text("CAD-TRONIX") + Hex("FF") + Text("4p9CADrCEJ.SYSTEM..");
    default:
        return h + Zeros(13) + Text("9CAD-TRONIX_CO...PEJ320=") + Zeros(4) + Hex("DB 00 44 BD 00");
    }
}

QByteArray Trailer(int v, int needlesOfCard, int h)
{
    const QByteArray ones = Fill(80, 1);
    switch (v) {
    case 0:
        return Zeros(8) + Fill(5, 0x85) + Hex("01") + char(needlesOfCard % 256) + Zeros(1) + ones + Zeros(48);
    case 1:
    case 2:
        return Zeros(8) + Fill(5, 0x85) + Hex("01") + char(h % 256) + char((160 - h) % 256) + ones
            + Zeros(80);
    default:
        return Zeros(4) + Fill(5, 0x86) + Hex("01") + char(h >> 8) + char(h & 0xFF) + char((320 - h) >> 8)
            + char((320 - h) & 0xFF) + ones + Zeros(242);
    }
}

QByteArray FileRow(const std::vector<std::uint8_t> &row)
{
    QByteArray out;
    for (std::uint8_t b : row)
        out += char(RevBits(b));
    return out;
}

const int Needles[4] = { 128, 160, 160, 320 };

} // namespace

// A three-card card in every variant, with every jacquard needle driven (no row reordering):
// header, the rows in slots 0 to 2, a copy in slots 3 to 5, copies on the three pages, the
// trailer, zeros everywhere else.
TEST(DatCard, ThreeCardsInEveryVariantByHand)
{
    QTemporaryDir dir;
    for (const Variant &v : Variants) {
        const Rows rows = PatternRows(3, v.R, v.v + 1);
        const TWenBanIO io = MakeCard(rows, 8, v.R, Needles[v.v]);
        const QString path = dir.filePath(v.v == 3 ? "ABCDEFGH.P32" : "ABCDEFGH.DAT");
        QString err;
        ASSERT_TRUE(WriteDatCard(io, v.v, path, &err)) << err.toStdString();
        QByteArray expected = Zeros(FileSize);
        const QByteArray header = Header(v.v, 3);
        ASSERT_EQ(header.size(), v.D);
        expected.replace(0, header.size(), header);
        for (int s = 0; s < 6; ++s)
            expected.replace(v.D + v.S * s, v.R, FileRow(rows[s % 3]));
        for (qint64 page : v.page)
            for (int j = 0; j < 3; ++j)
                expected.replace(page + v.S * j, v.R, FileRow(rows[j]));
        const QByteArray trailer = Trailer(v.v, 8 * v.R, Needles[v.v]);
        ASSERT_EQ(v.T + trailer.size(), FileSize);
        expected.replace(v.T, trailer.size(), trailer);
        const QByteArray bytes = ReadAll(path);
        ASSERT_EQ(bytes.size(), FileSize) << v.v;
        EXPECT_EQ(bytes, expected) << "variant " << v.v;

        // Read back: the same card.
        TWenBanIO back;
        QString why;
        ASSERT_TRUE(ReadCardFile(path, back, &why)) << why.toStdString();
        EXPECT_EQ(CardRows(back), rows) << v.v;
        EXPECT_EQ(back.ColCount, v.R);
        EXPECT_EQ(back.RowCount, 8);
    }
}

TEST(DatCard, TrailerNeedleCounts)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("t.DAT");
    // Variant 0 states RowCount x ColCount, the others the jacquard count.
    ASSERT_TRUE(WriteDatCard(MakeCard(PatternRows(2, 13), 8, 13, 90), 0, path));
    EXPECT_EQ(ReadAll(path).mid(130928), Trailer(0, 104, 90));
    EXPECT_EQ(ReadAll(path).mid(130942, 2), Hex("68 00"));
    ASSERT_TRUE(WriteDatCard(MakeCard(PatternRows(2, 13), 8, 13, 100), 1, path));
    EXPECT_EQ(ReadAll(path).mid(130910, 2), Hex("64 3C"));
    EXPECT_EQ(ReadAll(path).mid(130896), Trailer(1, 104, 100));
    ASSERT_TRUE(WriteDatCard(MakeCard(PatternRows(2, 38), 8, 38, 300), 3, path));
    EXPECT_EQ(ReadAll(path).mid(130736), Trailer(3, 304, 300));
}

// With fewer jacquard needles than the controller has, the trailing bytes without jacquard
// needles go first, last byte first; the reader keeps the file order.
TEST(DatCard, RowEncodingWithFewerJacquardNeedles)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("e.DAT");
    std::vector<std::uint8_t> row(16);
    for (int i = 0; i < 16; ++i)
        row[i] = std::uint8_t(i + 1);
    ASSERT_TRUE(WriteDatCard(MakeCard({ row }, 8, 16, 100), 0, path));
    const std::vector<std::uint8_t> order = { 16, 15, 14, 13, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12 };
    EXPECT_EQ(ReadAll(path).mid(80, 16), FileRow(order));
    TWenBanIO back;
    ASSERT_TRUE(ReadCardFile(path, back));
    EXPECT_EQ(CardRows(back), Rows { order });

    // A row shorter than the controller's is padded with zero bytes.
    ASSERT_TRUE(WriteDatCard(MakeCard({ { 0x80, 0x01 } }, 8, 2, 16), 1, path));
    EXPECT_EQ(ReadAll(path).mid(32, 20), Zeros(18) + Hex("01 80"));
}

// The copies never reach the trailer, the trailer is always written and the file is always
// 131072 bytes.
TEST(DatCard, CopiesStopAtTheTrailer)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("c.DAT");
    struct Case {
        int variant, n, lastCopySlot, lastCopyRow;
    };
    // Variant 0, 2047 rows: the copy at slot 6144 ends in slot 8177 with row 2033.
    // Variant 1, 1020 rows: the copy at slot 3072 ends in slot 4088 with row 1016.
    for (const Case c : { Case { 0, 2047, 8177, 2033 }, Case { 1, 1020, 4088, 1016 } }) {
        const Variant &v = Variants[c.variant];
        const Rows rows = PatternRows(c.n, v.R, c.n);
        ASSERT_TRUE(WriteDatCard(MakeCard(rows, 8, v.R, Needles[c.variant]), c.variant, path));
        const QByteArray bytes = ReadAll(path);
        ASSERT_EQ(bytes.size(), FileSize);
        EXPECT_EQ(bytes.mid(v.T), Trailer(c.variant, 8 * v.R, Needles[c.variant]));
        EXPECT_EQ(bytes.mid(v.D + v.S * c.lastCopySlot, v.R), FileRow(rows[c.lastCopyRow]));
    }
    // Variant 0 fills slots 0 to 2047 for 1024 to 2047 rows and leaves the first page empty.
    const Rows rows = PatternRows(1500, 16);
    ASSERT_TRUE(WriteDatCard(MakeCard(rows, 8, 16, 128), 0, path));
    const QByteArray bytes = ReadAll(path);
    EXPECT_EQ(bytes.mid(80 + 16 * 2047, 16), FileRow(rows[547]));
    EXPECT_EQ(bytes.mid(32848, 16 * 2048), Zeros(16 * 2048));
    EXPECT_EQ(bytes.mid(65616, 16), FileRow(rows[0]));
}

TEST(DatCard, CapacityAndRefusals)
{
    EXPECT_EQ(DatCardCapacity(0), 8178);
    EXPECT_EQ(DatCardCapacity(1), 4089);
    EXPECT_EQ(DatCardCapacity(2), 4089);
    EXPECT_EQ(DatCardCapacity(3), 2722);

    QTemporaryDir dir;
    const QString path = dir.filePath("x.DAT");
    ASSERT_TRUE(WriteAll(path, "old"));
    QString err;
    const int needles[4] = { 128, 160, 160, 320 };
    for (int v = 0; v < 4; ++v) {
        const int r = needles[v] / 8;
        const int cap = DatCardCapacity(v);
        EXPECT_FALSE(WriteDatCard(
            MakeCard(Rows(cap + 1, std::vector<std::uint8_t>(r)), 8, r, needles[v]), v, path, &err))
            << v;
        EXPECT_TRUE(err.contains(QString::number(cap))) << err.toStdString();
        EXPECT_FALSE(WriteDatCard(
            MakeCard({ std::vector<std::uint8_t>(r + 1) }, 8, r + 1, needles[v]), v, path, &err));
        EXPECT_FALSE(
            WriteDatCard(MakeCard({ std::vector<std::uint8_t>(r) }, 8, r, needles[v] + 1), v, path, &err));
        EXPECT_EQ(ReadAll(path), QByteArray("old"));
        // A full card fills every slot up to the trailer.
        const QString full = dir.filePath(QStringLiteral("full%1.DAT").arg(v));
        ASSERT_TRUE(WriteDatCard(MakeCard(PatternRows(cap, r), 8, r, needles[v]), v, full, &err)) << v;
        EXPECT_EQ(ReadAll(full).size(), FileSize);
    }
    // An unknown controller variant writes nothing.
    EXPECT_FALSE(WriteDatCard(MakeCard({ { 1 } }, 8, 1), 4, dir.filePath("v.DAT"), &err));
    EXPECT_FALSE(WriteDatCard(MakeCard({ { 1 } }, 8, 1), -3, dir.filePath("v.DAT"), &err));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("v.DAT")));
    // Variant 0 writes the first six characters of the name, extension included, in GBK.
    ASSERT_TRUE(WriteDatCard(MakeCard({ { 1 } }, 8, 1), 0, dir.filePath("ab.DAT")));
    EXPECT_EQ(ReadAll(dir.filePath("ab.DAT")).mid(2, 6), Text("ab.DAT"));
    EXPECT_FALSE(
        WriteDatCard(MakeCard({ { 1 } }, 8, 1), 0, dir.filePath(QString::fromUtf8("\U0001F600.DAT")), &err));
}

TEST(DatCard, ReaderChecksTheFile)
{
    TWenBanIO io;
    io.Extension = ".P32";
    // No signature: 40-byte rows at 48 + 48 i.
    QByteArray plain = Zeros(48 + 48 + 40);
    plain[0] = 2;
    plain[48] = 0x01;
    plain[96 + 39] = char(0x80);
    ASSERT_TRUE(ReadControllerCard(io, plain));
    ASSERT_EQ(io.Card.size(), 2u);
    EXPECT_EQ(io.Card[0][0], 0x80);
    EXPECT_EQ(io.Card[1][39], 0x01);
    EXPECT_EQ(io.ColCount, 40);
    EXPECT_FALSE(ReadControllerCard(io, plain.left(plain.size() - 1)));
    EXPECT_FALSE(ReadControllerCard(io, plain.left(1)));
    EXPECT_EQ(io.Card.size(), 2u);

    // A signed file must reach its trailer; a zero needle count means the controller's own.
    QByteArray ky = Zeros(130944);
    ky[0] = 1;
    ky.replace(10, 5, "KY128");
    io.Extension = ".DAT";
    ASSERT_TRUE(ReadControllerCard(io, ky));
    EXPECT_EQ(io.ColCount, 16);
    EXPECT_FALSE(ReadControllerCard(io, ky.left(130943)));
    QByteArray cad = Zeros(130912);
    cad[0] = 1;
    cad.replace(2, 10, "CAD-TRONIX");
    cad[130910] = 40;
    ASSERT_TRUE(ReadControllerCard(io, cad));
    EXPECT_EQ(io.ColCount, 5);
    cad[0] = char(0xFF);
    cad[1] = char(0x10); // 4351 rows at 32-byte slots run past the end
    EXPECT_FALSE(ReadControllerCard(io, cad));
}

// A VBJ128 card of one row, the whole image worked out byte by byte: the row at slots 0 and
// 1 and at the three pages, header values from N = 1 (238 at 15, 114 at 18), the name with
// its extension, the trailer stating 128 needles.
TEST(DatCard, VBJ128OneRowWholeImage)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("k.DAT");
    std::vector<std::uint8_t> row(16, 0);
    row[0] = 0x80;
    row[1] = 0x03;
    row[15] = 0x01;
    ASSERT_TRUE(WriteDatCard(MakeCard({ row }, 8, 16, 128), DatVBJ128, path));
    QByteArray expected = Zeros(131072);
    expected.replace(0, 80,
        Hex("01 00") + Text("k.DAT") + Zeros(1) + Zeros(2) + Text("KY128") + Hex("EE 00 00 72") + Zeros(13)
            + Text("CAD-TRONIX_CO.") + Zeros(34));
    const QByteArray fileRow = Hex("01 C0") + Zeros(13) + Hex("80");
    for (int at : { 80, 96, 32848, 65616, 98384 })
        expected.replace(at, 16, fileRow);
    expected.replace(130928, 144, Zeros(8) + Hex("85 85 85 85 85 01 80 00") + Fill(80, 1) + Zeros(48));
    EXPECT_EQ(ReadAll(path), expected);
}

TEST(DatCard, VBJ128CountBytesAndCopySlots)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("s.DAT");
    // 20 rows: (20 + 237) mod 256 = 1 at 15, 20 + 113 = 133 at 18.
    ASSERT_TRUE(WriteDatCard(MakeCard(PatternRows(20, 16), 8, 16, 128), DatVBJ128, path));
    const QByteArray twenty = ReadAll(path);
    EXPECT_EQ(twenty.mid(0, 2), Hex("14 00"));
    EXPECT_EQ(twenty.mid(15, 4), Hex("01 00 00 85"));

    // 100 rows: the card at slot 0, its copies at slots 100, 2048, 4096 and 6144 (offsets
    // 1680, 32848, 65616, 98384), slot 200 and the slot after each page copy empty.
    const Rows rows = PatternRows(100, 16, 5);
    ASSERT_TRUE(WriteDatCard(MakeCard(rows, 8, 16, 128), DatVBJ128, path));
    const QByteArray bytes = ReadAll(path);
    for (int first : { 80, 1680, 32848, 65616, 98384 }) {
        EXPECT_EQ(bytes.mid(first, 16), FileRow(rows[0])) << first;
        EXPECT_EQ(bytes.mid(first + 99 * 16, 16), FileRow(rows[99])) << first;
    }
    for (int empty : { 3280, 32848 + 1600, 65616 + 1600, 98384 + 1600 })
        EXPECT_EQ(bytes.mid(empty, 16), Zeros(16)) << empty;
}

// A CEJ160 file whose trailer holds 0 and 0 reads as 160 needles, rows at 32 + 32 i.
TEST(DatCard, CEJ160ZeroNeedleCountReadsAs160)
{
    QByteArray file = Zeros(131072);
    file[0] = 2;
    file.replace(2, 10, "CAD-TRONIX");
    file[32] = char(0x01);
    file[64 + 19] = char(0x80);
    TWenBanIO io;
    io.Extension = ".DAT";
    QString why;
    ASSERT_TRUE(ReadControllerCard(io, file, &why)) << why.toStdString();
    EXPECT_EQ(io.ColCount, 20);
    EXPECT_EQ(io.RowCount, 8);
    ASSERT_EQ(io.Card.size(), 2u);
    std::vector<std::uint8_t> first(20, 0), second(20, 0);
    first[0] = 0x80;
    second[19] = 0x01;
    EXPECT_EQ(CardRows(io), (Rows { first, second }));
}

// Only the first six characters of the name go into the VBJ128 header, so a character
// GBK cannot encode after them does not stop the write.
TEST(DatCard, NameBeyondTheFieldIsNotEncoded)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromUtf8("abcdef\U0001F600.DAT"));
    QString err;
    ASSERT_TRUE(WriteDatCard(MakeCard({ { 1 } }, 8, 1), DatVBJ128, path, &err)) << err.toStdString();
    EXPECT_EQ(ReadAll(path).mid(2, 6), Text("abcdef"));
}

// A card read from a file and written again in its variant gives the same file. Cards of
// the controller's width and narrower ones, every jacquard needle driven or fewer (rows
// turned round in the file), a needle count that leaves a byte part filled. The narrower
// VBJ128 card reads as the 16-byte rows its slots hold and keeps the needle count its
// trailer states, which it states again.
TEST(DatCard, ReadAndWrittenAgainGivesTheSameFile)
{
    struct Case {
        int variant;
        int rowCount, colCount, jacquard, cards;
    };
    const Case cases[] = {
        { DatVBJ128, 8, 16, 128, 20 },
        { DatVBJ128, 8, 16, 100, 300 },
        { DatVBJ128, 10, 10, 97, 7 },
        { DatVBJ128, 1, 5, 5, 3 },
        { DatCEJ160, 8, 20, 160, 40 },
        { DatCEJ160, 9, 11, 90, 500 },
        { DatCEJ160, 8, 20, 0, 2 },
        { DatPEJ160, 8, 20, 150, 1017 },
        { DatPEJ160, 7, 13, 91, 6 },
        { DatPEJ320, 8, 40, 320, 674 },
        { DatPEJ320, 12, 25, 299, 33 },
        { DatPEJ320, 3, 3, 9, 1 },
    };
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("again"));
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.variant << ' ' << c.rowCount << 'x' << c.colCount << " h "
                                        << c.jacquard << " cards " << c.cards);
        const int len = (c.rowCount * c.colCount + 7) / 8;
        const TWenBanIO io = MakeCard(PatternRows(c.cards, len, c.cards), c.rowCount, c.colCount, c.jacquard);
        // The same name in two folders: the VBJ128 header holds the name.
        const QString name = c.variant == DatPEJ320 ? "card.P32" : "card.DAT";
        const QString first = dir.filePath(name), again = dir.filePath("again/" + name);
        QString err;
        ASSERT_TRUE(WriteDatCard(io, c.variant, first, &err)) << err.toStdString();
        TWenBanIO back;
        ASSERT_TRUE(ReadCardFile(first, back, &err)) << err.toStdString();
        ASSERT_EQ(back.CardCount, c.cards);
        ASSERT_TRUE(WriteDatCard(back, c.variant, again, &err)) << err.toStdString();
        EXPECT_EQ(ReadAll(again), ReadAll(first));
    }
}

// A VBJ128 card of fewer than 128 needles reads back from the 16-byte slots its rows were
// written to, every row whole, the partly filled last byte included.
TEST(DatCard, NarrowVBJ128CardReadsFromItsSlots)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("n.DAT");
    const Rows rows = PatternRows(5, 13, 3); // 100 needles
    ASSERT_TRUE(WriteDatCard(MakeCard(rows, 10, 10, 100), DatVBJ128, path));
    EXPECT_EQ(ReadAll(path).mid(130942, 2), Hex("64 00"));
    TWenBanIO back;
    QString err;
    ASSERT_TRUE(ReadCardFile(path, back, &err)) << err.toStdString();
    EXPECT_EQ(back.RowCount, 8);
    EXPECT_EQ(back.ColCount, 16);
    EXPECT_EQ(back.JacquardCount, 128);
    EXPECT_EQ(back.StatedNeedles, 100);
    // h = 100 puts the last four of the 16 padded bytes first: three zero bytes, byte 12.
    Rows expected;
    for (const auto &row : rows) {
        std::vector<std::uint8_t> padded(row);
        padded.resize(16, 0);
        expected.push_back({ padded[15], padded[14], padded[13], padded[12] });
        expected.back().insert(expected.back().end(), padded.begin(), padded.begin() + 12);
    }
    EXPECT_EQ(CardRows(back), expected);

    // Under 8 needles the card still reads, one 16-byte row a card; with 3 jacquard needles
    // every byte goes out last first, so the card's first byte is the row's last.
    ASSERT_TRUE(WriteDatCard(MakeCard({ { 0xA0 }, { 0x40 } }, 1, 3, 3), DatVBJ128, path));
    ASSERT_TRUE(ReadCardFile(path, back, &err)) << err.toStdString();
    ASSERT_EQ(back.Card.size(), 2u);
    EXPECT_EQ(back.Card[1].length(), 16);
    EXPECT_EQ(back.Card[1][15], 0x40);
    EXPECT_EQ(back.StatedNeedles, 3);

    // The stated count belongs to the card read: a wider card, or one of another file,
    // states its own.
    const QString wide = dir.filePath("w.DAT");
    ASSERT_TRUE(WriteDatCard(MakeCard(PatternRows(2, 16, 1), 8, 16, 128), DatVBJ128, wide));
    ASSERT_TRUE(ReadCardFile(wide, back, &err)) << err.toStdString();
    EXPECT_EQ(back.StatedNeedles, 0);
    EXPECT_EQ(ReadAll(wide).mid(130942, 2), Hex("80 00"));
    TWenBanIO narrower = MakeCard(PatternRows(1, 12, 0), 8, 12, 96);
    narrower.StatedNeedles = 40;
    ASSERT_TRUE(WriteDatCard(narrower, DatVBJ128, wide, &err)) << err.toStdString();
    EXPECT_EQ(ReadAll(wide).mid(130942, 2), Hex("60 00")) << "12 bytes of 8 needles, not the count read";
}
