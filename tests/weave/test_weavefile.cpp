#include "weave/weavefile.h"

#include "testutil.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QTemporaryDir>

namespace {

// A 3-warp, 2-weft weave: warp 0 = (1, 0), warp 1 = (0, 1), warp 2 = (1, 1).
TWeaveArray SmallWeave()
{
    TWeaveArray w(3);
    w[0] = TDynamicByteArray { 1, 0 };
    w[1] = TDynamicByteArray { 0, 1 };
    w[2] = TDynamicByteArray { 1, 1 };
    return w;
}

} // namespace

TEST(WeaveFile, ExactBytes)
{
    const QByteArray b = WeaveFileBytes(SmallWeave());
    ASSERT_EQ(b.size(), 254);
    EXPECT_EQ(quint8(b[0]), 240);
    EXPECT_EQ(b.mid(1, 107),
        QByteArray(".OVW Version Beta 1.01; Format is designed by KDV&PNH. Notice that the format is only "
                   "with OVCAD software !"));
    EXPECT_TRUE(b.mid(108, 22).endsWith('.'));
    EXPECT_EQ(b.mid(130, 110), QByteArray(110, ' '));
    EXPECT_EQ(b.mid(240), Hex("03 00 00 00 02 00 00 00 01 00 00 01 01 01"));
}

TEST(WeaveFile, RoundTripThroughFileKeepsStoredValues)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("w.OVW"));
    ASSERT_TRUE(WriteWeaveFile(path, SmallWeave()));
    TWeaveArray back;
    ASSERT_TRUE(LoadWeaveFile(path, back));
    EXPECT_EQ(back, SmallWeave());

    // A stored 2 is read as 2 and written again as 0.
    QByteArray bytes = WeaveFileBytes(SmallWeave());
    bytes[248] = 2;
    ASSERT_TRUE(ReadWeaveBytes(bytes, back));
    EXPECT_EQ(back[0][0], 2);
    EXPECT_EQ(quint8(WeaveFileBytes(back)[248]), 0);

    // An empty weave writes no file.
    const QString emptyPath = dir.filePath(QStringLiteral("e.OVW"));
    EXPECT_FALSE(WriteWeaveFile(emptyPath, TWeaveArray()));
    EXPECT_FALSE(QFile::exists(emptyPath));
}

TEST(WeaveFile, ZeroSizesGiveAnEmptyWeave)
{
    QByteArray bytes = WeaveFileBytes(SmallWeave()).left(248);
    bytes.replace(240, 8, Hex("03 00 00 00 00 00 00 00"));
    TWeaveArray cells = SmallWeave();
    ASSERT_TRUE(ReadWeaveBytes(bytes, cells));
    EXPECT_TRUE(cells.isEmpty());
}

TEST(WeaveFile, DamagedFilesAreRefusedAndChangeNothing)
{
    const QByteArray good = WeaveFileBytes(SmallWeave());
    auto withVersion = [&](const char *from, const char *to) {
        QByteArray b = good;
        b.replace(b.indexOf(from), int(strlen(to)), to);
        return b;
    };
    auto withSizes = [&](const char *hex) {
        QByteArray b = good;
        b.replace(240, 8, Hex(hex));
        return b;
    };
    QByteArray shortText = good;
    shortText[0] = 10; // the text length hides the markers
    const struct {
        const char *name;
        QByteArray bytes;
    } cases[] = {
        { "empty", QByteArray() },
        { "header only", good.left(200) },
        { "no sizes", good.left(244) },
        { "one cell short", good.left(253) },
        { "version 1.02", withVersion("Beta 1.01", "Beta 1.02") },
        { "maker marker", withVersion("by KDV&PNH", "by KDV&PNX") },
        { "text length", shortText },
        { "negative width", withSizes("FF FF FF FF 02 00 00 00") },
        { "huge sizes", withSizes("FF FF 00 00 FF FF 00 00") },
        { "too wide", withSizes("00 00 01 00 01 00 00 00") },
        { "claims more", withSizes("04 00 00 00 02 00 00 00") },
    };
    for (const auto &c : cases) {
        TWeaveArray cells = MakeWeaveArray(1, 1, 7);
        QString error;
        EXPECT_FALSE(ReadWeaveBytes(c.bytes, cells, &error)) << c.name;
        EXPECT_FALSE(error.isEmpty()) << c.name;
        EXPECT_EQ(cells, MakeWeaveArray(1, 1, 7)) << c.name;
        QBuffer buffer;
        buffer.setData(c.bytes);
        buffer.open(QIODevice::ReadOnly);
        EXPECT_FALSE(ReadWeaveStream(buffer, cells)) << c.name;
    }
    TWeaveArray cells;
    EXPECT_FALSE(LoadWeaveFile(QStringLiteral("/nonexistent/x.OVW"), cells));
}

// Files padded by other tools: bytes after the cells are ignored, from bytes and from a
// device alike.
TEST(WeaveFile, BytesAfterTheCellsAreIgnored)
{
    const QByteArray good = WeaveFileBytes(SmallWeave());
    for (const QByteArray &padding : { QByteArray(1, '\0'), QByteArray(4096, char(0x5A)) }) {
        TWeaveArray cells;
        ASSERT_TRUE(ReadWeaveBytes(good + padding, cells));
        EXPECT_EQ(cells, SmallWeave());
        QBuffer buffer;
        buffer.setData(good + padding);
        buffer.open(QIODevice::ReadOnly);
        TWeaveArray fromDevice;
        ASSERT_TRUE(ReadWeaveStream(buffer, fromDevice));
        EXPECT_EQ(fromDevice, SmallWeave());
    }
}
