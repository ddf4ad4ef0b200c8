// A controller card file read back and written again in its own format and variant gives
// the file it was read from, byte for byte: what a designer does when opening a loom's card
// file and saving it. (DAT and P32 have their own table with the DAT tests.)
#include "cardfmt_helpers.h"

TEST(ControllerCardReread, WrittenAgainGivesTheSameFile)
{
    struct Case {
        const char *ext;
        int filter; // the save dialog's filter index: picks the JC5 variant
        int rowCount, colCount, cards;
    };
    const Case cases[] = {
        { "EP", 1, 8, 30, 40 }, // rows of 30 bytes
        { "EP", 1, 8, 3, 7 }, // rows of 3 bytes: no extra four in the header's needle count
        { "EP", 1, 16, 25, 1 },
        { "JC5", 3, 8, 18, 12 }, // variant B: the last card first, each row back to front
        { "JC5", 3, 11, 9, 5 }, // 99 needles: a partly filled last byte
        { "QS", 1, 6, 24, 9 }, // the controller's 144 needles
        { "QS", 1, 8, 21, 3 }, // 168 needles, a multiple of 6
        { "WB", 1, 8, 12, 6 }, // every other byte of a row
        { "WB", 1, 16, 20, 4 }, { "GRD", 1, 16, 25, 30 }, { "GRD", 1, 12, 10, 3 }, // rows of 15 bytes
        { "GRD", 1, 5, 11, 4 }, // fewer than 8 needles a column
    };
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("again"));
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message()
            << c.ext << ' ' << c.filter << ' ' << c.rowCount << 'x' << c.colCount << " cards " << c.cards);
        const int len = (c.rowCount * c.colCount + 7) / 8;
        const TWenBanIO io = MakeCard(
            PatternRows(c.cards, len, c.cards + len), c.rowCount, c.colCount, c.rowCount * c.colCount - 3);
        // The same name in two folders: EP, JC5 and QS headers hold the name.
        const QString name = QStringLiteral("card.") + QLatin1String(c.ext);
        const QString first = dir.filePath(name), again = dir.filePath("again/" + name);
        QString err;
        ASSERT_TRUE(WriteControllerCard(io, first, c.filter, &err)) << err.toStdString();
        TWenBanIO back;
        ASSERT_TRUE(ReadCardFile(first, back, &err)) << err.toStdString();
        ASSERT_TRUE(WriteControllerCard(back, again, c.filter, &err)) << err.toStdString();
        EXPECT_EQ(ReadAll(again), ReadAll(first));
    }
}
