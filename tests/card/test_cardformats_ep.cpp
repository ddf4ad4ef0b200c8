// EP (read and write) and JC4 (write only).
#include "cardfmt_helpers.h"

TEST(EPCard, SmallCardBytesByHand)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("AB.EP");
    const TWenBanIO io = MakeCard({ { 0x80, 0x01 }, { 0xC0, 0x03 } }, 8, 2);
    QString err;
    ASSERT_TRUE(WriteEPCard(io, path, &err)) << err.toStdString();
    QByteArray expected = Hex("01 00 00 02 00 00") + QByteArray("AB") + Zeros(6) + Hex("00 00") + Zeros(15)
        + Hex("88 10 00") + Hex("01 80 03 C0") + Fill(4096 - 36, 0xFF) + Zeros(1022);
    EXPECT_EQ(ReadAll(path), expected);

    TWenBanIO back;
    QString why;
    ASSERT_TRUE(ReadCardFile(path, back, &why)) << why.toStdString();
    EXPECT_EQ(CardRows(back), CardRows(io));
    EXPECT_EQ(back.RowCount, 8);
    EXPECT_EQ(back.ColCount, 2);
    EXPECT_EQ(back.CardCount, 2);
}

TEST(EPCard, HeaderCases)
{
    QTemporaryDir dir;
    // An empty card: one block, 4064 bytes of 255, 4096 + 1024 bytes in all.
    const QString empty = dir.filePath("E.EP");
    ASSERT_TRUE(WriteEPCard(MakeCard({}, 8, 2), empty));
    const QByteArray e = ReadAll(empty);
    ASSERT_EQ(e.size(), 4096 + 1024);
    EXPECT_EQ(e.mid(0, 2), Hex("01 00"));
    EXPECT_EQ(e.mid(34, 4064), Fill(4064, 0xFF));
    EXPECT_EQ(e.mid(34 + 4064), Zeros(1022));

    // Rows of 3 bytes: k = 0 and 24 needles.
    const QString three = dir.filePath("T.EP");
    ASSERT_TRUE(WriteEPCard(MakeCard(PatternRows(2, 3), 8, 3), three));
    const QByteArray t = ReadAll(three);
    EXPECT_EQ(t[15], 0);
    EXPECT_EQ(t.mid(32, 2), Hex("18 00"));

    // Rows of 8 bytes: k = 4, (8 - 4) x 8 = 32 needles, and the reader adds the 4 back.
    const QString eight = dir.filePath("H.EP");
    const TWenBanIO io8 = MakeCard(PatternRows(5, 8), 8, 8);
    ASSERT_TRUE(WriteEPCard(io8, eight));
    const QByteArray h = ReadAll(eight);
    EXPECT_EQ(h[15], 4);
    EXPECT_EQ(h.mid(32, 2), Hex("20 00"));
    TWenBanIO back;
    ASSERT_TRUE(ReadCardFile(eight, back));
    EXPECT_EQ(CardRows(back), CardRows(io8));

    // A card that ends exactly on a block boundary still gets a full block of 255s.
    const QString full = dir.filePath("F.EP");
    ASSERT_TRUE(WriteEPCard(MakeCard(PatternRows(4064, 1), 8, 1), full));
    const QByteArray f = ReadAll(full);
    EXPECT_EQ(f.mid(0, 2), Hex("02 00"));
    EXPECT_EQ(f.size(), 2 * 4096 + 1024);
}

// The EP header cannot describe rows of 4 to 7 bytes (the reader would take a 5-byte row
// as 5 rows of 1 byte): such a card is refused with a message and nothing is written.
// Rows of 3 and of 8 bytes read back as written.
TEST(EPCard, RowsOfFourToSevenBytesAreRefused)
{
    QTemporaryDir dir;
    for (int len = 1; len <= 9; ++len) {
        const QString path = dir.filePath(QStringLiteral("R%1.EP").arg(len));
        const TWenBanIO io = MakeCard(PatternRows(3, len, len), 8, len);
        QString err;
        const bool refused = len >= 4 && len <= 7;
        EXPECT_EQ(WriteEPCard(io, path, &err), !refused) << len;
        EXPECT_EQ(QFileInfo::exists(path), !refused) << len;
        if (refused) {
            EXPECT_TRUE(err.contains(QString::number(len))) << err.toStdString();
            continue;
        }
        TWenBanIO back;
        ASSERT_TRUE(ReadCardFile(path, back)) << len;
        EXPECT_EQ(CardRows(back), CardRows(io)) << len;
    }
}

TEST(EPCard, NameField)
{
    QTemporaryDir dir;
    const TWenBanIO io = MakeCard({ { 1 } }, 8, 1);
    // GBK, cut at a whole character: "a" and three two-byte characters fill 7 of 8 bytes.
    const QString chinese = dir.filePath(QString::fromUtf8("a纹板纹板.EP"));
    ASSERT_TRUE(WriteEPCard(io, chinese));
    EXPECT_EQ(ReadAll(chinese).mid(6, 8), Hex("61 CE C6 B0 E5 CE C6 00"));
    // A name longer than 8 characters keeps its first 8.
    const QString longName = dir.filePath("ABCDEFGHIJ.EP");
    ASSERT_TRUE(WriteEPCard(io, longName));
    EXPECT_EQ(ReadAll(longName).mid(6, 8), QByteArray("ABCDEFGH"));
    // Characters after the eighth byte are not written, so they need no GBK form.
    const QString tail = dir.filePath(QString::fromUtf8("ABCDEFGH\U0001F600.EP"));
    ASSERT_TRUE(WriteEPCard(io, tail));
    EXPECT_EQ(ReadAll(tail).mid(6, 8), QByteArray("ABCDEFGH"));
    // A name GBK cannot encode is refused and nothing is written.
    const QString bad = dir.filePath(QString::fromUtf8("x\U0001F600.EP"));
    QString err;
    EXPECT_FALSE(WriteEPCard(io, bad, &err));
    EXPECT_TRUE(err.contains("GBK"));
    EXPECT_FALSE(QFileInfo::exists(bad));
}

TEST(EPCard, RefusesCardsItsHeaderCannotState)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("X.EP");
    ASSERT_TRUE(WriteAll(path, "old"));
    QString err;
    // (8196 - 4) x 8 needles do not fit the 16-bit needle field.
    EXPECT_FALSE(WriteEPCard(MakeCard(PatternRows(1, 8196), 8, 8196), path, &err));
    EXPECT_FALSE(err.isEmpty());
    EXPECT_TRUE(WriteEPCard(MakeCard(PatternRows(1, 8195), 8, 8195), dir.filePath("Y.EP")));
    EXPECT_EQ(ReadAll(path), QByteArray("old"));
}

TEST(JC4Card, SmallCardBytesByHand)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("A.JC4");
    const TWenBanIO io = MakeCard({ { 0x80, 0x40, 0x20, 0x10, 0x01 }, { 0xF0, 0, 0, 0, 0x0F } }, 8, 5);
    ASSERT_TRUE(WriteJC4Card(io, path));
    const QByteArray expected = Zeros(3) + Hex("02 00") + Zeros(25) + Hex("0F 00 08 00")
        + Hex("01 02 04 08 80") + Hex("0F 00 00 00 F0");
    EXPECT_EQ(ReadAll(path), expected);
}

TEST(JC4Card, RefusesRowsItsHeaderCannotState)
{
    QTemporaryDir dir;
    QString err;
    EXPECT_FALSE(WriteJC4Card(MakeCard(PatternRows(2, 3), 8, 3), dir.filePath("A.JC4"), &err));
    EXPECT_FALSE(err.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("A.JC4")));
    EXPECT_TRUE(WriteJC4Card(MakeCard(PatternRows(2, 4), 8, 4), dir.filePath("B.JC4")));
    EXPECT_EQ(ReadAll(dir.filePath("B.JC4")).mid(32, 2), Hex("00 00"));
}
