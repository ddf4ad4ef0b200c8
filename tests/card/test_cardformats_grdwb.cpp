// GRD and WB: header, mark area of the positioning holes, rows from 2 x ColCount.
#include "cardfmt_helpers.h"

namespace {

std::vector<std::uint8_t> Counting(int n)
{
    std::vector<std::uint8_t> row(n);
    for (int i = 0; i < n; ++i)
        row[i] = std::uint8_t(0x11 * (i % 15) + 1);
    return row;
}

QByteArray Reversed(const std::vector<std::uint8_t> &row, bool zeroAfterEach = false)
{
    QByteArray out;
    for (std::uint8_t b : row) {
        out += char(RevBits(b));
        if (zeroAfterEach)
            out += '\0';
    }
    return out;
}

} // namespace

TEST(GRDCard, SmallCardBytesByHand)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("G.GRD");
    TWenBanIO io = MakeCard({ Counting(12) }, 8, 12);
    io.Holes = TPosArray { { 1, 0 }, { 3, 5 } };
    ASSERT_TRUE(WriteGRDCard(io, path));
    const QByteArray expected = Hex("00 00 00 00 01 00 01 00 01 00 00 00 01 00") + Hex("08 00 0C 00 01 00")
        + Hex("00 01 00 01") + Reversed(Counting(12));
    EXPECT_EQ(ReadAll(path), expected);

    TWenBanIO back;
    ASSERT_TRUE(ReadCardFile(path, back));
    EXPECT_EQ(CardRows(back), CardRows(io));
    EXPECT_EQ(back.RowCount, 8);
    EXPECT_EQ(back.ColCount, 12);
}

TEST(GRDCard, RoundTripWithAnyRowCount)
{
    QTemporaryDir dir;
    const TWenBanIO io16 = MakeCard(PatternRows(30, 50, 3), 16, 25);
    ASSERT_TRUE(WriteGRDCard(io16, dir.filePath("a.grd")));
    TWenBanIO back;
    ASSERT_TRUE(ReadCardFile(dir.filePath("a.grd"), back));
    EXPECT_EQ(CardRows(back), CardRows(io16));

    // 12 needles a column: written with 15-byte rows and read back with 15-byte rows, not
    // with the 10 bytes of ColCount x (RowCount div 8), which would put every row after the
    // first out of place.
    const Rows rows = PatternRows(3, 15);
    ASSERT_TRUE(WriteGRDCard(MakeCard(rows, 12, 10), dir.filePath("b.grd")));
    ASSERT_TRUE(ReadCardFile(dir.filePath("b.grd"), back));
    EXPECT_EQ(CardRows(back), rows);
    EXPECT_EQ(back.RowCount, 12);
    EXPECT_EQ(back.ColCount, 10);

    // Under 8 needles a column the card still reads (ColCount x (RowCount div 8) is 0).
    const Rows narrow = PatternRows(4, 7, 2);
    ASSERT_TRUE(WriteGRDCard(MakeCard(narrow, 5, 11), dir.filePath("c.grd")));
    ASSERT_TRUE(ReadCardFile(dir.filePath("c.grd"), back));
    EXPECT_EQ(CardRows(back), narrow);
}

TEST(WBCard, EightRowCardUsesEveryOtherByte)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("W.WB");
    TWenBanIO io = MakeCard({ Counting(20) }, 8, 20);
    io.Holes = TPosArray { { 0, 0 }, { 19, 0 } };
    ASSERT_TRUE(WriteWBCard(io, path));
    QByteArray marks = Zeros(20);
    marks[0] = 1;
    marks[19] = 1;
    const QByteArray expected = Hex("00 00 01 00 00 00 01 00 01 00 01 00 01 00 08 00 14 00 00 00") + marks
        + Reversed(Counting(20), true);
    EXPECT_EQ(ReadAll(path), expected);

    TWenBanIO back;
    ASSERT_TRUE(ReadCardFile(path, back));
    EXPECT_EQ(CardRows(back), CardRows(io));
    EXPECT_EQ(back.RowCount, 8);
    EXPECT_EQ(back.ColCount, 20);
}

TEST(WBCard, SixteenRowCard)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("S.wb");
    const TWenBanIO io = MakeCard({ Counting(20), Counting(20) }, 16, 10);
    ASSERT_TRUE(WriteWBCard(io, path));
    const QByteArray expected = Hex("00 00 02 00 01 00 01 00 01 00 02 00 01 00 10 00 0A 00 00 00")
        + Reversed(Counting(20)) + Reversed(Counting(20));
    EXPECT_EQ(ReadAll(path), expected);
    TWenBanIO back;
    ASSERT_TRUE(ReadCardFile(path, back));
    EXPECT_EQ(CardRows(back), CardRows(io));

    TWenBanIO bad;
    bad.Extension = ".WB";
    QByteArray twelve = expected;
    twelve[14] = 12;
    EXPECT_FALSE(ReadControllerCard(bad, twelve));
    EXPECT_FALSE(ReadControllerCard(bad, expected.left(expected.size() - 1)));
    EXPECT_FALSE(ReadControllerCard(bad, expected.left(19)));
}

// Cards these formats cannot carry are refused and the old file stays.
TEST(GRDWBCard, Refusals)
{
    QTemporaryDir dir;
    const QString wb = dir.filePath("old.WB");
    const QString grd = dir.filePath("old.GRD");
    ASSERT_TRUE(WriteAll(wb, "old"));
    ASSERT_TRUE(WriteAll(grd, "old"));
    QString err;
    // WB only for 8 or 16 needles a column.
    EXPECT_FALSE(WriteWBCard(MakeCard(PatternRows(2, 30), 12, 20), wb, &err));
    EXPECT_TRUE(err.contains("12"));
    // Rows would start inside the 20-byte header.
    EXPECT_FALSE(WriteGRDCard(MakeCard(PatternRows(2, 9), 8, 9), grd, &err));
    EXPECT_FALSE(WriteWBCard(MakeCard(PatternRows(2, 9), 8, 9), wb, &err));
    // A hole whose mark would fall among the rows (column 2 x 12 - 20 = 4), or before the area.
    TWenBanIO io = MakeCard(PatternRows(2, 12), 8, 12);
    io.Holes = TPosArray { { 4, 0 } };
    EXPECT_FALSE(WriteGRDCard(io, grd, &err));
    EXPECT_TRUE(err.contains("column 4"));
    io.Holes = TPosArray { { -1, 0 } };
    EXPECT_FALSE(WriteWBCard(io, wb, &err));
    io.Holes = TPosArray { { 3, 0 } };
    EXPECT_TRUE(WriteGRDCard(io, dir.filePath("ok.GRD")));
    EXPECT_EQ(ReadAll(wb), QByteArray("old"));
    EXPECT_EQ(ReadAll(grd), QByteArray("old"));
}

TEST(GRDCard, ShortAndOversizedFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(WriteGRDCard(MakeCard(PatternRows(4, 12), 8, 12), dir.filePath("a.GRD")));
    const QByteArray good = ReadAll(dir.filePath("a.GRD"));
    TWenBanIO io;
    io.Extension = ".GRD";
    EXPECT_TRUE(ReadControllerCard(io, good + Zeros(100)));
    EXPECT_FALSE(ReadControllerCard(io, good.left(good.size() - 1)));
    EXPECT_FALSE(ReadControllerCard(io, good.left(19)));
    QByteArray many = good;
    many[18] = char(0xFF);
    many[19] = char(0xFF);
    EXPECT_FALSE(ReadControllerCard(io, many));
    EXPECT_EQ(io.Card.size(), 4u);
}

// GRD and WB headers state RowCount and ColCount, not the needle count, so cards of more
// than 65535 needles are written like any other.
TEST(GRDWBCard, CardsOfMoreThan65535Needles)
{
    QTemporaryDir dir;
    // GRD: 8 x 8192 needles, two cards of 8192 bytes from offset 16384.
    const TWenBanIO grd
        = MakeCard({ std::vector<std::uint8_t>(8192, 0x01), std::vector<std::uint8_t>(8192, 0xF0) }, 8, 8192);
    const QString g = dir.filePath("big.GRD");
    QString err;
    ASSERT_TRUE(WriteGRDCard(grd, g, &err)) << err.toStdString();
    const QByteArray gExpected = Hex("00 00 00 00 01 00 01 00 01 00 00 00 01 00 08 00 00 20 02 00")
        + Zeros(16384 - 20) + Fill(8192, 0x80) + Fill(8192, 0x0F);
    EXPECT_EQ(ReadAll(g), gExpected);
    TWenBanIO back;
    QString why;
    ASSERT_TRUE(ReadCardFile(g, back, &why)) << why.toStdString();
    EXPECT_EQ(CardRows(back), CardRows(grd));

    // WB: 16 x 4097 needles, one card of 8194 bytes from offset 8194.
    std::vector<std::uint8_t> row(8194, 0);
    row[0] = 0x80;
    row[8193] = 0x03;
    const TWenBanIO wb = MakeCard({ row }, 16, 4097);
    const QString w = dir.filePath("big.WB");
    ASSERT_TRUE(WriteWBCard(wb, w, &err)) << err.toStdString();
    const QByteArray wExpected = Hex("00 00 01 00 01 00 01 00 01 00 01 00 01 00 10 00 01 10 00 00")
        + Zeros(8194 - 20) + Hex("01") + Zeros(8192) + Hex("C0");
    EXPECT_EQ(ReadAll(w), wExpected);
    ASSERT_TRUE(ReadCardFile(w, back, &why)) << why.toStdString();
    EXPECT_EQ(CardRows(back), CardRows(wb));
}
