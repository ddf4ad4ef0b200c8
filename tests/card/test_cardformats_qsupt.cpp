// QS and UPT.
#include "cardfmt_helpers.h"
#include "shippedlanguage.h"

TEST(QSCard, SmallCardBytesByHand)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Q1.QS");
    const TWenBanIO io = MakeCard({ { 0x80, 0x03 }, { 0x10, 0xFE } }, 2, 8);
    ASSERT_TRUE(WriteQSCard(io, path));
    const QByteArray expected = Hex("28 75 00 00 00 00") + QByteArray("Q1") + Zeros(6) + Zeros(4)
        + Hex("02 00") + Zeros(10) + Hex("10 00") + Hex("01 C0 00 00 00 00") + Hex("08 7F 00 00 00 00");
    EXPECT_EQ(ReadAll(path), expected);

    // Read as 6 rows of needles div 6 columns, rows of Ceil(needles / 8) bytes.
    TWenBanIO back;
    QString why;
    ASSERT_TRUE(ReadCardFile(path, back, &why)) << why.toStdString();
    EXPECT_EQ(CardRows(back), CardRows(io));
    EXPECT_EQ(back.RowCount, 6);
    EXPECT_EQ(back.ColCount, 2);
}

TEST(QSCard, NeedleCountWarningAndRoundTrip)
{
    const TShippedLanguageScope chinese(TShippedLanguage::SimplifiedChinese); // the texts read below
    QTemporaryDir dir;
    const TWenBanIO io144 = MakeCard(PatternRows(9, 18), 6, 24);
    EXPECT_TRUE(QSNeedleWarning(io144).isEmpty());
    ASSERT_TRUE(WriteQSCard(io144, dir.filePath("a.qs")));
    TWenBanIO back;
    ASSERT_TRUE(ReadCardFile(dir.filePath("a.qs"), back));
    EXPECT_EQ(CardRows(back), CardRows(io144));
    EXPECT_EQ(back.ColCount, 24);

    // 136 needles (17 bytes a row): warned about, written all the same, and read back.
    const TWenBanIO io136 = MakeCard(PatternRows(4, 17), 8, 17);
    EXPECT_EQ(QSNeedleWarning(io136), QString::fromUtf8("纹针数不等于 144 ! "));
    ASSERT_TRUE(WriteQSCard(io136, dir.filePath("b.QS")));
    ASSERT_TRUE(ReadCardFile(dir.filePath("b.QS"), back));
    EXPECT_EQ(CardRows(back), CardRows(io136));

    // The last row's four trailing bytes may be missing; a byte of the row may not.
    QByteArray bytes = ReadAll(dir.filePath("b.QS"));
    TWenBanIO cut;
    cut.Extension = ".QS";
    EXPECT_TRUE(ReadControllerCard(cut, bytes.left(bytes.size() - 4)));
    EXPECT_FALSE(ReadControllerCard(cut, bytes.left(bytes.size() - 5)));
    EXPECT_FALSE(ReadControllerCard(cut, bytes.left(31)));
}

TEST(QSCard, RefusesRowsItsHeaderCannotState)
{
    QTemporaryDir dir;
    QString err;
    // 2 x 300 x 120 needles exceed the 16-bit field; rows longer than the needles need.
    EXPECT_FALSE(WriteQSCard(MakeCard(PatternRows(1, 9000), 300, 240), dir.filePath("a.QS"), &err));
    EXPECT_FALSE(WriteQSCard(MakeCard(PatternRows(1, 3), 2, 8), dir.filePath("a.QS"), &err));
    EXPECT_TRUE(err.contains("2 x 8"));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("a.QS")));
}

namespace {

QByteArray UptHeader(int needles, int n, int rowCount, bool lastMark)
{
    auto be = [](int v) { return Bytes({ v >> 8, v & 0xFF }); };
    QByteArray h = Hex("00 00 00 3B 20 DE 80") + Zeros(7) + be(needles) + Zeros(2) + be(n)
        + Hex("00 18 00 1E") + Zeros(9) + Hex("04 00 01") + Zeros(16) + QByteArray("Noname1_") + Zeros(16)
        + be(needles) + Hex("00 00 00 01 00 00") + be(n) + Hex("00 01 FF FF FF") + Zeros(45) + Hex("FF")
        + Zeros(23) + be(rowCount) + be(24) + Zeros(16) + be(1000) + Hex("01 2C 01 2C") + Zeros(19)
        + Hex("01 00 2C 01 00");
    for (int i = 0; i < 12; ++i)
        h += Hex("00 23");
    h += lastMark ? Hex("00 23") : Hex("00 00");
    return h;
}

} // namespace

TEST(UPTCard, SmallCardBytesByHand)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("U.UPT");
    const TWenBanIO io = MakeCard({ { 0x80, 0x01 }, { 0x12, 0x00 } }, 8, 2);
    ASSERT_TRUE(WriteUPTCard(io, path));
    const QByteArray bytes = ReadAll(path);
    ASSERT_EQ(UptHeader(16, 2, 8, true).size(), 236);
    EXPECT_EQ(bytes, UptHeader(16, 2, 8, true) + Hex("01 80 48 00"));
    EXPECT_EQ(bytes[34], 0);

    // The first row's last byte decides the last 0x23.
    const QString zero = dir.filePath("Z.UPT");
    ASSERT_TRUE(WriteUPTCard(MakeCard({ { 0x80, 0x00 } }, 8, 2), zero));
    EXPECT_EQ(ReadAll(zero), UptHeader(16, 1, 8, false) + Hex("01 00"));
    ASSERT_TRUE(WriteUPTCard(MakeCard({}, 8, 2), zero));
    EXPECT_EQ(ReadAll(zero), UptHeader(16, 0, 8, false));
}

// Read back, every row comes out mirrored.
// A card reads back as written; it used to come back with every row mirrored, and saved
// again it stayed mirrored.
TEST(UPTCard, ReadBackAsWritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("M.upt");
    const Rows rows = PatternRows(20, 7);
    ASSERT_TRUE(WriteUPTCard(MakeCard(rows, 8, 7), path));
    ASSERT_EQ(ReadAll(path).size(), 236 + 20 * 7);
    TWenBanIO back;
    ASSERT_TRUE(ReadCardFile(path, back));
    ASSERT_EQ(back.Card.size(), 20u);
    EXPECT_EQ(CardRows(back), rows);
    EXPECT_EQ(back.Reserved, 20);
    EXPECT_EQ(back.ColCount, 7);
    EXPECT_EQ(back.RowCount, 8);
}

TEST(UPTCard, LayoutFlagAndShortFiles)
{
    QByteArray file = UptHeader(16, 2, 8, true);
    file[34] = 1;
    file += Zeros(10) + Hex("01 02 03 04");
    TWenBanIO io;
    io.Extension = ".UPT";
    ASSERT_TRUE(ReadControllerCard(io, file));
    EXPECT_EQ(CardRows(io), (Rows { { 0x80, 0x40 }, { 0xC0, 0x20 } }));
    EXPECT_FALSE(ReadControllerCard(io, file.left(file.size() - 1)));
    EXPECT_FALSE(ReadControllerCard(io, file.left(34)));
    EXPECT_EQ(io.Card.size(), 2u);
}

TEST(UPTCard, RefusesNeedleCountsItsHeaderCannotState)
{
    QTemporaryDir dir;
    QString err;
    EXPECT_FALSE(WriteUPTCard(MakeCard(PatternRows(1, 8192), 8, 8192), dir.filePath("a.UPT"), &err));
    EXPECT_TRUE(err.contains("65535"));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("a.UPT")));
}

// A card whose needle count is not a multiple of 8 reads back with rows of the length the
// writer gives them (every row in place, as written) and with the RowCount its header
// stores, so it writes again as the same file.
TEST(UPTCard, PartlyFilledLastByteAndStoredRowCount)
{
    QTemporaryDir dir;
    const Rows rows = PatternRows(6, 69, 4); // 13 x 42 = 546 needles
    ASSERT_TRUE(WriteUPTCard(MakeCard(rows, 13, 42), dir.filePath("p.UPT")));
    TWenBanIO back;
    QString err;
    ASSERT_TRUE(ReadCardFile(dir.filePath("p.UPT"), back, &err)) << err.toStdString();
    EXPECT_EQ(back.RowCount, 13);
    EXPECT_EQ(back.ColCount, 42);
    ASSERT_EQ(back.Card.size(), 6u);
    EXPECT_EQ(CardRows(back), rows);

    QDir().mkpath(dir.filePath("again"));
    ASSERT_TRUE(WriteUPTCard(back, dir.filePath("again/p.UPT"), &err)) << err.toStdString();
    EXPECT_EQ(ReadAll(dir.filePath("again/p.UPT")), ReadAll(dir.filePath("p.UPT")));

    // A header whose RowCount does not divide the needle count gives 8 needles a column.
    QByteArray odd = ReadAll(dir.filePath("p.UPT"));
    odd[161] = 5;
    TWenBanIO io;
    io.Extension = ".UPT";
    ASSERT_TRUE(ReadControllerCard(io, odd));
    EXPECT_EQ(io.RowCount, 8);
    EXPECT_EQ(io.ColCount, 68);
    EXPECT_EQ(CardRows(io)[5], rows[5]);
}
