// JC5: both written variants, the single-file reader and the part files of a split card.
#include "card/cardmessages.h"
#include "cardfmt_helpers.h"

#include "core/base/document.h"
#include "core/settings/uitexts.h"

#include <QDir>
#include <QFile>

namespace {

QByteArray BE(std::uint32_t v)
{
    return QByteArray::fromHex(QByteArray::number(v, 16).rightJustified(8, '0'));
}

} // namespace

TEST(JC5Card, VariantABytesByHand)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("CD.JC5");
    const TWenBanIO io = MakeCard({ { 0x80, 0x01 }, { 0x12, 0x34 } }, 8, 2);
    ASSERT_TRUE(WriteJC5Card(io, path, TJC5Variant::A));
    const QByteArray expected = Hex("81 FE 01 01") + BE(2) + BE(1) + BE(2) + QByteArray("CD") + BE(2) + BE(4)
        + BE(2) + BE(1) + BE(100) + BE(8) + BE(1) + BE(16) + Hex("01 80 48 2C");
    EXPECT_EQ(ReadAll(path), expected);

    // Read back as written: the file's own name and 8-byte needle record tell variant A.
    TWenBanIO back;
    QString why;
    ASSERT_TRUE(ReadCardFile(path, back, &why)) << why.toStdString();
    EXPECT_EQ(CardRows(back), (Rows { { 0x80, 0x01 }, { 0x12, 0x34 } }));
    EXPECT_EQ(back.RowCount, 8);
    EXPECT_EQ(back.ColCount, 2);
}

TEST(JC5Card, VariantBBytesByHand)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("CD.JC5");
    const TWenBanIO io = MakeCard({ { 0x01, 0x02 }, { 0x03, 0x04 } }, 8, 2);
    ASSERT_TRUE(WriteJC5Card(io, path, TJC5Variant::B));
    const QByteArray expected = Hex("81 FE 01 01") + BE(2) + BE(1) + BE(9) + QByteArray("Noname1_1") + BE(2)
        + BE(4) + BE(2) + BE(1) + BE(100) + BE(9) + BE(1) + BE(16) + Hex("00") + Hex("04 03 02 01");
    EXPECT_EQ(ReadAll(path), expected);
}

TEST(JC5Card, RoundTrips)
{
    QTemporaryDir dir;
    const TWenBanIO io = MakeCard(PatternRows(37, 13), 8, 13);
    const QString b = dir.filePath("b.jc5");
    ASSERT_TRUE(WriteJC5Card(io, b, TJC5Variant::B));
    TWenBanIO backB;
    ASSERT_TRUE(ReadCardFile(b, backB));
    EXPECT_EQ(CardRows(backB), CardRows(io));

    const QString a = dir.filePath(QString::fromUtf8("纹板.JC5"));
    ASSERT_TRUE(WriteJC5Card(io, a, TJC5Variant::A));
    EXPECT_EQ(ReadAll(a).mid(12, 8), BE(4) + Hex("CE C6 B0 E5"));
    TWenBanIO backA;
    ASSERT_TRUE(ReadCardFile(a, backA));
    EXPECT_EQ(CardRows(backA), CardRows(io));

    // Trailing bytes beyond the stated rows are ignored.
    QByteArray longer = ReadAll(b) + Hex("AA BB CC");
    TWenBanIO io2;
    io2.Extension = ".JC5";
    ASSERT_TRUE(ReadControllerCard(io2, longer));
    EXPECT_EQ(CardRows(io2), CardRows(io));
}

TEST(JC5Card, ReaderRefusals)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("G.JC5");
    ASSERT_TRUE(WriteJC5Card(MakeCard(PatternRows(3, 2), 8, 2), path, TJC5Variant::A));
    const QByteArray good = ReadAll(path);
    const int header = good.size() - 6;

    auto read = [](const QByteArray &bytes, const char *ext = ".JC5") {
        TWenBanIO io;
        io.Extension = ext;
        io.Card = TMultiByteArray(1);
        io.CardCount = 1;
        QString why;
        const bool ok = ReadControllerCard(io, bytes, &why);
        EXPECT_EQ(io.Card.size(), ok ? 3u : 1u); // a failed read leaves the card alone
        return ok ? QString() : why;
    };
    EXPECT_EQ(read(good), QString());
    // Any part file but the first is refused with the first-part message.
    EXPECT_EQ(read(good, ".J02"), GetUiMessage(CardMsg::ChooseFirstPart));
    EXPECT_EQ(read(good, ".J01"), QString());
    // A layout value other than 1 or 2.
    QByteArray layout3 = good;
    layout3[header - 8 + 3] = 3;
    EXPECT_EQ(read(layout3), GetUiMessage(CardMsg::UnknownFormat));
    // Short of the stated rows, and cut inside the records.
    EXPECT_FALSE(read(good.left(good.size() - 1)).isEmpty());
    for (int cut : { 0, 4, 7, 10, 17, header - 1 })
        EXPECT_FALSE(read(good.left(cut)).isEmpty()) << cut;
    // A record length beyond the end of the file.
    QByteArray longName = good;
    longName[15] = char(0x7F);
    EXPECT_FALSE(read(longName).isEmpty());
    // A card count the rows cannot hold, and one above 65535.
    QByteArray many = good;
    many[27] = char(0xFF);
    many[28] = char(0xFF);
    EXPECT_FALSE(read(many).isEmpty());
    many[26] = 1;
    EXPECT_FALSE(read(many).isEmpty());
    // A needle record shorter than its two numbers.
    QByteArray shortRecord = good;
    shortRecord[header - 12 + 3] = 4;
    EXPECT_FALSE(read(shortRecord).isEmpty());
}

namespace {

// A 250-card card split into parts of 100 cards.
struct SplitCard : ::testing::Test {
    QTemporaryDir dir;
    TWenBanIO io = MakeCard(PatternRows(250, 3, 7), 8, 3);
    QString jc5 = dir.filePath("CARD.JC5");
};

} // namespace

TEST_F(SplitCard, ThreePartsWithTheirHeaders)
{
    int parts = 0;
    QString err;
    ASSERT_TRUE(WriteJC5PartFiles(io, jc5, 100, &parts, &err)) << err.toStdString();
    EXPECT_EQ(parts, 3);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("CARD.J04")));
    const int firstCard[3] = { 1, 101, 201 };
    const int cards[3] = { 100, 100, 50 };
    for (int k = 1; k <= 3; ++k) {
        const QString name = QStringLiteral("CARD.J0%1").arg(k);
        const QByteArray bytes = ReadAll(dir.filePath(name));
        const QByteArray header = Hex("81 FE 01 01") + BE(4) + BE(1) + BE(8) + name.toLatin1() + BE(2) + BE(4)
            + BE(250) + BE(3) + BE(4) + Hex("00") + char(k) + Hex("00 03") + BE(4) + BE(4)
            + BE(firstCard[k - 1]) + BE(1) + BE(100) + BE(8) + BE(1) + BE(24);
        ASSERT_EQ(header.size(), 72 + 8);
        EXPECT_EQ(bytes.left(80), header) << k;
        ASSERT_EQ(bytes.size(), 80 + 3 * cards[k - 1]) << k;
        // First card of the part first, every byte bit-reversed.
        const auto &row = io.Card[firstCard[k - 1] - 1];
        EXPECT_EQ(bytes.mid(80, 3), Bytes({ RevBits(row[0]), RevBits(row[1]), RevBits(row[2]) }));
    }
}

TEST_F(SplitCard, ReadsBackWholeFromTheFirstPart)
{
    ASSERT_TRUE(WriteJC5PartFiles(io, jc5, 100));
    TWenBanIO back;
    QString why;
    ASSERT_TRUE(ReadCardFile(dir.filePath("CARD.J01"), back, &why)) << why.toStdString();
    EXPECT_EQ(CardRows(back), CardRows(io));
    EXPECT_EQ(back.CardCount, 250);

    // Part-file extensions are found in any letter case.
    ASSERT_TRUE(QFile::rename(dir.filePath("CARD.J01"), dir.filePath("CARD.j01")));
    ASSERT_TRUE(QFile::rename(dir.filePath("CARD.J03"), dir.filePath("CARD.j03")));
    TWenBanIO lower;
    ASSERT_TRUE(ReadCardFile(dir.filePath("CARD.j01"), lower, &why)) << why.toStdString();
    EXPECT_EQ(CardRows(lower), CardRows(io));

    // Without the first part's name the others cannot be found.
    TWenBanIO nameless;
    nameless.Extension = ".J01";
    QString namelessWhy;
    EXPECT_FALSE(ReadControllerCard(nameless, ReadAll(dir.filePath("CARD.j01")), &namelessWhy));
    EXPECT_EQ(namelessWhy, GetUiMessage(UiKey::String::JC5PartsNeedFirstName).arg(3));

    // Opening a later part is refused with the first-part message.
    TWenBanIO second;
    QString secondWhy;
    EXPECT_FALSE(ReadCardFile(dir.filePath("CARD.J02"), second, &secondWhy));
    EXPECT_EQ(secondWhy, GetUiMessage(CardMsg::ChooseFirstPart));
}

TEST_F(SplitCard, ALaterPartThatCannotBeReplacedLeavesTheOldPartsWhole)
{
    // An older split of another card in the same three part files.
    ASSERT_TRUE(WriteJC5PartFiles(MakeCard(PatternRows(250, 3, 9), 8, 3), jc5, 100));
    const QString part[3] = { dir.filePath("CARD.J01"), dir.filePath("CARD.J02"), dir.filePath("CARD.J03") };
    const QByteArray old[3] = { ReadAll(part[0]), ReadAll(part[1]), ReadAll(part[2]) };
    const QStringList names
        = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    // The third part is a file mounted over its name: it cannot be moved or replaced,
    // which shows only once the first two parts are in place.
    QTemporaryDir other;
    ASSERT_TRUE(WriteAll(other.filePath("mounted"), old[2]));
    if (!BindMountFile(other.filePath("mounted"), part[2]))
        GTEST_SKIP() << "cannot bind-mount a file; run the tests as root";
    QString err;
    const bool saved = WriteJC5PartFiles(io, jc5, 100, nullptr, &err);
    UnmountFile(part[2]);
    EXPECT_FALSE(saved);
    EXPECT_TRUE(err.contains("CARD.J03")) << err.toStdString();
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(ReadAll(part[k]), old[k]) << "part " << k + 1;
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), names);

    // A non-empty folder in the second part's place.
    ASSERT_TRUE(QFile::remove(part[1]));
    ASSERT_TRUE(QDir().mkpath(part[1] + "/inside"));
    EXPECT_FALSE(WriteJC5PartFiles(io, jc5, 100, nullptr, &err));
    EXPECT_TRUE(err.contains("CARD.J02")) << err.toStdString();
    EXPECT_EQ(ReadAll(part[0]), old[0]);
    EXPECT_EQ(ReadAll(part[2]), old[2]);
    EXPECT_TRUE(QFileInfo(part[1] + "/inside").isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), names);
}

TEST_F(SplitCard, AShorterSplitReplacesTheWholeSet)
{
    // Five parts of another card first, one of them in another letter case.
    const TWenBanIO longer = MakeCard(PatternRows(450, 3, 9), 8, 3);
    ASSERT_TRUE(WriteJC5PartFiles(longer, jc5, 100));
    ASSERT_TRUE(QFile::rename(dir.filePath("CARD.J05"), dir.filePath("CARD.j05")));
    ASSERT_TRUE(WriteAll(dir.filePath("CARD.J5X"), "not a part"));
    const auto files = [&] { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); };
    const QStringList fiveParts = files();

    // A split failing half-way, at a stale part that cannot be taken away: nothing changes.
    QTemporaryDir other;
    ASSERT_TRUE(WriteAll(other.filePath("mounted"), ReadAll(dir.filePath("CARD.J04"))));
    if (BindMountFile(other.filePath("mounted"), dir.filePath("CARD.J04"))) {
        QString err;
        const bool split = WriteJC5PartFiles(io, jc5, 100, nullptr, &err);
        UnmountFile(dir.filePath("CARD.J04"));
        EXPECT_FALSE(split);
        EXPECT_TRUE(err.contains("CARD.J04")) << err.toStdString();
        EXPECT_EQ(files(), fiveParts);
        TWenBanIO back;
        ASSERT_TRUE(ReadCardFile(dir.filePath("CARD.J01"), back));
        EXPECT_EQ(CardRows(back), CardRows(longer));
    }

    // Three parts now: the old fourth and fifth go with the same step.
    int parts = 0;
    ASSERT_TRUE(WriteJC5PartFiles(io, jc5, 100, &parts));
    EXPECT_EQ(parts, 3);
    EXPECT_EQ(files(), (QStringList { "CARD.J01", "CARD.J02", "CARD.J03", "CARD.J5X" }));
    TWenBanIO back;
    ASSERT_TRUE(ReadCardFile(dir.filePath("CARD.J01"), back));
    EXPECT_EQ(CardRows(back), CardRows(io));
}

TEST_F(SplitCard, MissingOrForeignPartsAreRefused)
{
    ASSERT_TRUE(WriteJC5PartFiles(io, jc5, 100));
    const QString third = dir.filePath("CARD.J03");
    const QByteArray saved = ReadAll(third);
    ASSERT_TRUE(QFile::remove(third));
    TWenBanIO back;
    QString why;
    EXPECT_FALSE(ReadCardFile(dir.filePath("CARD.J01"), back, &why));
    EXPECT_TRUE(why.contains("CARD.J03")) << why.toStdString();
    EXPECT_TRUE(back.Card.isEmpty());

    // A part of another card, or the wrong part, in its place.
    ASSERT_TRUE(QFile::copy(dir.filePath("CARD.J02"), third));
    EXPECT_FALSE(ReadCardFile(dir.filePath("CARD.J01"), back));
    ASSERT_TRUE(QFile::remove(third));
    QByteArray cut = saved.left(saved.size() - 1);
    ASSERT_TRUE(WriteAll(third, cut));
    EXPECT_FALSE(ReadCardFile(dir.filePath("CARD.J01"), back));
    ASSERT_TRUE(QFile::remove(third));
    ASSERT_TRUE(WriteAll(third, saved));
    EXPECT_TRUE(ReadCardFile(dir.filePath("CARD.J01"), back));
}

TEST_F(SplitCard, PartSizesAndRefusals)
{
    // A 1,228,800-byte piece, an 8-character name and 300-byte rows: 4095 cards a part.
    EXPECT_EQ(JC5CardsPerPart(1228800, 8, 300), 4095);
    EXPECT_EQ(JC5CardsPerPart(50, 8, 300), 0);
    EXPECT_EQ(JC5PartFileName("/a/b/card.jc5", 3), QString("/a/b/card.j03"));
    EXPECT_EQ(JC5PartFileName("/a/b/card.JC5", 12), QString("/a/b/card.J12"));

    QString err;
    EXPECT_FALSE(WriteJC5PartFiles(io, jc5, 0, nullptr, &err));
    EXPECT_FALSE(WriteJC5PartFiles(io, jc5, 2, nullptr, &err)); // 125 parts
    EXPECT_TRUE(err.contains("99"));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("CARD.J01")));
    EXPECT_TRUE(WriteJC5PartFiles(io, jc5, 3)); // 84 parts
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("CARD.J84")));
}
