// Every reader against truncated, oversized and over-counted files: a file one byte short
// of its stated rows is refused and leaves the caller's card alone; bytes after the rows do
// not matter.
#include "cardfmt_helpers.h"

namespace {

struct ReaderCase {
    const char *file;
    int filterIndex; // for WriteControllerCard
    int rowCount, colCount, jacquard;
    int (*minSize)(int n, int len);
    int countAt; // offset of the card count, -1 when the case does not patch it
    bool bigEndian;
    bool sameCard; // the format reads its own card back unchanged
};

const int N = 5;

const ReaderCase Cases[] = {
    { "r.EP", 1, 8, 12, 0, [](int n, int l) { return 34 + n * l; }, 3, false, true },
    { "r.JC5", 3, 8, 12, 0, [](int n, int l) { return 58 + n * l; }, -1, true, true },
    { "r.QS", 1, 8, 12, 0, [](int n, int l) { return 32 + n * (l + 4) - 4; }, 18, false, true },
    { "r.UPT", 1, 8, 12, 0, [](int n, int l) { return 236 + n * l; }, 18, true, true },
    { "r.GRD", 1, 8, 12, 0, [](int n, int l) { return 24 + n * l; }, 18, false, true },
    { "r.WB", 1, 8, 12, 0, [](int n, int l) { return 24 + n * 2 * l; }, 2, false, true },
    { "r.DAT", 4, 8, 16, 128, [](int, int) { return 130944; }, 0, false, true },
    { "r.DAT", 5, 8, 20, 160, [](int, int) { return 130912; }, 0, false, true },
    { "r.P32", 7, 8, 40, 320, [](int n, int) { return 48 + 48 * (n - 1) + 40; }, 0, false, true },
};

} // namespace

TEST(CardReaders, TruncatedOversizedAndOverCountedFiles)
{
    QTemporaryDir dir;
    for (const ReaderCase &c : Cases) {
        SCOPED_TRACE(std::string(c.file) + " filter " + std::to_string(c.filterIndex));
        const int len = c.rowCount * c.colCount / 8;
        const TWenBanIO card
            = MakeCard(PatternRows(N, len, c.filterIndex), c.rowCount, c.colCount, c.jacquard);
        const QString path = dir.filePath(c.file);
        QString err;
        ASSERT_TRUE(WriteControllerCard(card, path, c.filterIndex, &err)) << err.toStdString();
        const QByteArray bytes = ReadAll(path);
        const int min = c.minSize(N, len);
        ASSERT_LE(min, bytes.size());

        TWenBanIO io;
        io.FileName = path;
        io.Extension = QLatin1Char('.') + QFileInfo(path).suffix().toUpper();
        QString why;
        ASSERT_TRUE(ReadControllerCard(io, bytes.left(min), &why)) << why.toStdString();
        const Rows whole = CardRows(io);
        if (c.sameCard) {
            EXPECT_EQ(whole, CardRows(card));
        }
        ASSERT_TRUE(ReadControllerCard(io, bytes + Fill(1000, 0x5A)));
        EXPECT_EQ(CardRows(io), whole);

        for (int cut : { min - 1, min / 2, 33, 19, 10, 1, 0 }) {
            if (cut < 0 || cut >= min)
                continue;
            QString cutWhy;
            EXPECT_FALSE(ReadControllerCard(io, bytes.left(cut), &cutWhy)) << cut;
            EXPECT_FALSE(cutWhy.isEmpty());
            EXPECT_EQ(CardRows(io), whole) << "a failed read changed the card, cut " << cut;
        }
        if (c.countAt >= 0) {
            QByteArray many = bytes;
            many[c.countAt] = char(0xFF);
            many[c.countAt + 1] = char(0xFF);
            EXPECT_FALSE(ReadControllerCard(io, many));
            EXPECT_EQ(io.CardCount, N);
        }
    }
}

// A card whose count disagrees with its rows, or whose rows differ in length, is refused by
// every writer; so is an extension that is not a controller format.
TEST(CardWriters, RefuseInconsistentCards)
{
    QTemporaryDir dir;
    TWenBanIO uneven = MakeCard({ { 1, 2 }, { 3 } }, 8, 2);
    TWenBanIO miscounted = MakeCard({ { 1, 2 }, { 3, 4 } }, 8, 2);
    miscounted.CardCount = 3;
    for (const char *name :
        { "a.EP", "a.JC5", "a.JC4", "a.QS", "a.UPT", "a.WB", "a.GRD", "a.DAT", "a.P32" }) {
        const QString path = dir.filePath(name);
        QString err;
        EXPECT_FALSE(WriteControllerCard(uneven, path, 4, &err)) << name;
        EXPECT_FALSE(err.isEmpty());
        EXPECT_FALSE(WriteControllerCard(miscounted, path, 4, &err)) << name;
        EXPECT_FALSE(QFileInfo::exists(path)) << name;
    }
    QString err;
    EXPECT_FALSE(WriteControllerCard(miscounted, dir.filePath("a.TXT"), 1, &err));
    EXPECT_FALSE(IsControllerCardWriteExtension(".OVWB"));
    EXPECT_TRUE(IsControllerCardWriteExtension(".jc4"));
    EXPECT_FALSE(IsControllerCardExtension(".JC4"));
    EXPECT_TRUE(IsControllerCardExtension(".j07"));
    EXPECT_TRUE(IsControllerCardExtension(".p32"));
}

// The save dialogs' filter index picks the JC5 variant and the DAT controller.
TEST(CardWriters, FilterIndexChoosesTheVariant)
{
    QTemporaryDir dir;
    const TWenBanIO io = MakeCard({ { 0x01, 0x02 }, { 0x03, 0x04 } }, 8, 2, 16);
    ASSERT_TRUE(WriteControllerCard(io, dir.filePath("a.jc5"), 2));
    EXPECT_TRUE(ReadAll(dir.filePath("a.jc5")).endsWith(Hex("80 40 C0 20")));
    ASSERT_TRUE(WriteControllerCard(io, dir.filePath("b.JC5"), 3));
    EXPECT_TRUE(ReadAll(dir.filePath("b.JC5")).endsWith(Hex("04 03 02 01")));
    for (int filter = 4; filter <= 7; ++filter) {
        const QString path = dir.filePath(QStringLiteral("v%1.dat").arg(filter));
        ASSERT_TRUE(WriteControllerCard(io, path, filter));
        const QByteArray bytes = ReadAll(path);
        EXPECT_EQ(bytes.mid(10, 5) == "KY128", filter == 4);
        EXPECT_EQ(bytes.mid(2, 10) == "CAD-TRONIX" && bytes.mid(13, 7) == Zeros(7), filter == 5);
        EXPECT_EQ(bytes.mid(13, 3) == "4p9", filter == 6);
        EXPECT_EQ(bytes.mid(15, 24) == "9CAD-TRONIX_CO...PEJ320=", filter == 7);
    }
    EXPECT_FALSE(WriteControllerCard(io, dir.filePath("x.DAT"), 1));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("x.DAT")));
}

// Damaged headers: random bytes in the first 64 bytes (and the DAT trailer) and random
// lengths. A reader may accept or refuse such a file, but every card it accepts has as
// many rows as its count, all equally long, and nothing reads outside the bytes (the
// sanitizers watch).
TEST(CardReaders, DamagedHeadersStayInBounds)
{
    QTemporaryDir dir;
    std::uint32_t seed = 99;
    auto next = [&seed](std::uint32_t range) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % range;
    };
    for (const ReaderCase &c : Cases) {
        const int len = c.rowCount * c.colCount / 8;
        const QString path = dir.filePath(c.file);
        ASSERT_TRUE(WriteControllerCard(
            MakeCard(PatternRows(N, len), c.rowCount, c.colCount, c.jacquard), path, c.filterIndex));
        const QByteArray good = ReadAll(path);
        for (int round = 0; round < 200; ++round) {
            QByteArray bad = good;
            for (int k = 0; k < 3; ++k) {
                const int at = next(4) == 0 && bad.size() > 131000 ? int(130700 + next(372)) : int(next(64));
                bad[at] = char(next(256));
            }
            if (next(3) == 0)
                bad.truncate(next(std::uint32_t(bad.size()) + 1));
            TWenBanIO io;
            io.FileName = path;
            io.Extension = QLatin1Char('.') + QFileInfo(path).suffix().toUpper();
            if (ReadControllerCard(io, bad)) {
                ASSERT_EQ(io.Card.size(), io.CardCount);
                for (const auto &row : io.Card)
                    ASSERT_EQ(row.size(), io.Card[0].size());
            }
        }
    }
}
