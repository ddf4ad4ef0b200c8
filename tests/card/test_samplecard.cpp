#include "card/samplecard.h"

#include "testutil.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

// The codes of a card as one text per row, for readable failures.
std::vector<int> Column(const TYangkaImage &y, int col)
{
    return std::vector<int>(y.Cells[col].begin(), y.Cells[col].end());
}

TYangkaImage SmallCard()
{
    TYangkaImage y;
    TMultiByteArray cells(2);
    cells[0] = TDynamicByteArray { 255, 255, 2 };
    cells[1] = TDynamicByteArray { 255, 255, 240 };
    EXPECT_TRUE(y.SetCells(cells));
    y.SetStartFlag(1);
    y.TiQianSuo = true;
    y.Rules = QStringLiteral("1A1B");
    return y;
}

} // namespace

TEST(YangKa, DefaultState)
{
    TYangkaImage y;
    EXPECT_EQ(y.YKStyle(), ys144);
    EXPECT_EQ(y.ColCount(), 18);
    EXPECT_EQ(y.RowCount(), 8);
    EXPECT_EQ(y.JacquardCount(), 144);
    EXPECT_EQ(y.MinRad(), 7);
    EXPECT_EQ(y.StartFlag(), 0);
    EXPECT_FALSE(y.TiQianSuo);
    EXPECT_EQ(y.CardFileName, QStringLiteral("Untitled*"));
    EXPECT_EQ(y.Width, 103);
    EXPECT_EQ(y.Height, 142);
}

TEST(YangKa, StyleTable)
{
    // rows, columns, jacquard needles (the columns that are not markers, less the
    // positioning holes: 4 per marker, 2 + 2 on the outer ones).
    const struct {
        TYKStyle style;
        int rows, cols, jacquard;
    } cases[] = {
        { ys1200, 16, 85, 1272 },
        { ys144, 8, 18, 144 },
        { ys1300, 16, 88, 1320 },
        { ys1400, 16, 98, 1480 },
        { ys1600, 16, 106, 1608 },
        { ys1700, 16, 116, 1768 },
        { ys1800, 16, 121, 1824 },
        { ys1900, 16, 129, 1952 },
        { ys2100, 16, 141, 2144 },
        { ys2200, 16, 147, 2240 },
        { ys2300, 16, 153, 2336 },
        { ys2400, 16, 159, 2432 },
        { ys2600, 16, 171, 2624 },
        { ysContinuous, 8, 176, 1344 },
        { ysOther, 16, 98, 1480 },
    };
    for (const auto &c : cases) {
        const TMultiByteArray cells = TYangkaImage::StyleCells(c.style);
        TYangkaImage y;
        ASSERT_TRUE(y.SetCells(cells));
        EXPECT_EQ(y.RowCount(), c.rows) << int(c.style);
        EXPECT_EQ(y.ColCount(), c.cols) << int(c.style);
        EXPECT_EQ(y.JacquardCount(), c.jacquard) << int(c.style);
    }
}

TEST(YangKa, MarkersAndHoles)
{
    TYangkaImage y;
    y.SetYKStyle(ys1200);
    const std::vector<int> marker
        = { 252, 252, 253, 252, 252, 252, 252, 252, 252, 252, 252, 252, 252, 253, 252, 252 };
    for (int c : { 0, 28, 56, 84 })
        EXPECT_EQ(Column(y, c), marker) << c;
    // Positioning holes at rows 7 and 8 beside the markers, not outside the outer ones.
    for (int c : { 1, 2, 26, 27, 29, 30, 82, 83 }) {
        EXPECT_EQ(y.Cell(c, 7), 255) << c;
        EXPECT_EQ(y.Cell(c, 8), 255) << c;
        EXPECT_EQ(y.Cell(c, 6), 2) << c;
    }
    EXPECT_EQ(y.Cell(3, 7), 2);
    EXPECT_EQ(y.Holes.length(), 6);
    EXPECT_EQ(y.Holes[0], (TPoint { 1, 7 }));

    y.SetYKStyle(ysContinuous);
    EXPECT_EQ(Column(y, 59), (std::vector<int> { 255, 255, 252, 255, 255, 252, 255, 255 }));
    EXPECT_EQ(Column(y, 2), std::vector<int>(8, 2));
    EXPECT_EQ(y.Holes.length(), 12);
}

TEST(YangKa, SettersKeepOrWipeEdits)
{
    TYangkaImage y;
    int bulk = 0;
    y.OnYKChange = [&](int c, int r) { bulk += (c == -1 && r == -1); };
    y.SetYKStyle(ys1400);
    y.Cells[5][5] = 4;
    y.SetYKStyle(ys1400); // the same style keeps hand edits
    EXPECT_EQ(y.Cell(5, 5), 4);
    y.SetColCount(0); // ignored
    EXPECT_EQ(y.ColCount(), 98);
    EXPECT_EQ(y.Cell(5, 5), 4);
    y.SetColCount(50); // wipes: every cell jacquard
    EXPECT_EQ(y.ColCount(), 50);
    EXPECT_EQ(y.JacquardCount(), 50 * 16);
    EXPECT_EQ(bulk, 2);

    const struct {
        int in, out;
    } rad[] = { { 0, 1 }, { 200, 14 }, { 15, 14 }, { 5, 5 } };
    for (const auto &c : rad) {
        y.SetMinRad(c.in);
        EXPECT_EQ(y.MinRad(), c.out) << c.in;
    }
}

TEST(YangKa, HoleRules)
{
    TYangkaImage y; // 18 x 8, all jacquard
    EXPECT_FALSE(y.AddPositionHole(17, 0)); // last column: the block would not fit
    EXPECT_FALSE(y.AddPositionHole(0, 7)); // last row
    ASSERT_TRUE(y.AddPositionHole(3, 2));
    EXPECT_EQ(y.Holes.length(), 1);
    EXPECT_FALSE(y.AddPositionHole(4, 3)); // overlaps a hole
    EXPECT_FALSE(y.AddLacingHole(3, 6)); // a column with a positioning hole
    EXPECT_FALSE(y.RemovePositionHole(4, 2));
    ASSERT_TRUE(y.RemovePositionHole(3, 2));
    EXPECT_EQ(y.Cell(3, 2), 240);
    EXPECT_EQ(y.Cell(4, 3), 240);

    ASSERT_TRUE(y.AddLacingHole(6, 1));
    EXPECT_EQ(Column(y, 6), (std::vector<int> { 252, 253, 252, 252, 252, 252, 252, 252 }));
    ASSERT_TRUE(y.AddLacingHole(6, 5));
    ASSERT_TRUE(y.RemoveLacingHole(6, 1));
    EXPECT_EQ(y.Cell(6, 1), 252); // another lacing hole remains
    EXPECT_FALSE(y.RemoveLacingHole(6, 1));
    ASSERT_TRUE(y.RemoveLacingHole(6, 5));
    EXPECT_EQ(Column(y, 6), std::vector<int>(8, 240));

    y.SetJacquardCount(10);
    EXPECT_EQ(y.JacquardCount(), 10);
    EXPECT_EQ(y.Cell(1, 1), 2); // needle 9
    EXPECT_EQ(y.Cell(1, 2), 240);
}

TEST(YangKa, LayoutByStartFlagAndCardRow)
{
    TYangkaImage y; // 18 x 8, MinRad 7, margins 20, 20, 20, 10
    EXPECT_EQ(y.CellRect(0, 0), (TRect { 20, 20, 27, 27 }));
    y.SetStartFlag(1);
    EXPECT_EQ(y.CellRect(0, 0), (TRect { 20 + 17 * 7, 20 + 7 * 7, 27 + 17 * 7, 27 + 7 * 7 }));
    y.SetStartFlag(2);
    EXPECT_EQ(y.CellRect(1, 0).Left, 27);
    EXPECT_EQ(y.CellRect(1, 0).Top, 20 + 7 * 7);
    int col = -1, row = -1;
    ASSERT_TRUE(y.CellAtPixel(28, 20 + 7 * 7, col, row));
    EXPECT_EQ(col, 1);
    EXPECT_EQ(row, 0);
    EXPECT_FALSE(y.CellAtPixel(19, 30, col, row));
    y.SetStartFlag(9);
    EXPECT_EQ(y.StartFlag(), 2);

    y.Cells[0][2] = 253;
    TDynamicByteArray row0(18);
    row0[0] = 0xA0; // needles 0 and 2 raised
    y.ShowCardRow(row0);
    EXPECT_EQ(Column(y, 0), (std::vector<int> { 1, 0, 253, 0, 0, 0, 0, 0 }));
}

TEST(YangKa, AssignCopiesEverything)
{
    TYangkaImage a = SmallCard();
    a.CardFileName = QStringLiteral("a.OVYK");
    TYangkaImage b;
    b.Assign(a);
    EXPECT_EQ(b.ColCount(), 2);
    EXPECT_EQ(b.StartFlag(), 1);
    EXPECT_TRUE(b.TiQianSuo);
    EXPECT_EQ(b.Rules, QStringLiteral("1A1B"));
    EXPECT_EQ(b.CardFileName, QStringLiteral("a.OVYK"));
    EXPECT_EQ(b.Holes, a.Holes);
    b.Cells[0][2] = 9;
    EXPECT_EQ(a.Cell(0, 2), 2);
}

TEST(YangKaFile, CurrentLayoutExactBytesAndRoundTrip)
{
    const TYangkaImage card = SmallCard();
    QByteArray bytes;
    ASSERT_TRUE(card.SaveToBytes(bytes));
    EXPECT_EQ(bytes,
        Hex("D0 07 01 00 00 00 00 00  00 00 00 00 00 00 00 00"
            "01 01 01 04 31 41 31 42  02 00 03 00"
            "FF FF 02 FF FF F0  01 00 00 00  00 00 00 00 00 00 00 00"));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("c.OVYK"));
    TYangkaImage saved = SmallCard();
    ASSERT_TRUE(saved.SaveToFile(path));
    EXPECT_EQ(ReadAll(path), bytes);
    TYangkaImage back;
    back.SetMinRad(3);
    ASSERT_TRUE(back.LoadFromFile(path));
    EXPECT_EQ(back.CardFileName, path);
    EXPECT_EQ(back.YKStyle(), ys144);
    EXPECT_EQ(back.StartFlag(), 1);
    EXPECT_TRUE(back.TiQianSuo);
    EXPECT_EQ(back.Rules, QStringLiteral("1A1B"));
    EXPECT_EQ(back.Cells, card.Cells);
    EXPECT_EQ(back.Holes, card.Holes);
    EXPECT_EQ(back.Width, 3 * 2 + 40); // recomputed after reading the current layout

    // An empty rule puts ColCount at offset 20; a Chinese rule text is stored in GBK.
    TYangkaImage plain = SmallCard();
    plain.Rules.clear();
    ASSERT_TRUE(plain.SaveToBytes(bytes));
    EXPECT_EQ(bytes.mid(19, 3), Hex("00 02 00"));
    plain.Rules = QStringLiteral("多造");
    ASSERT_TRUE(plain.SaveToBytes(bytes));
    EXPECT_EQ(bytes.mid(19, 5), Hex("04 B6 E0 D4 EC"));
    ASSERT_TRUE(back.LoadFromBytes(bytes));
    EXPECT_EQ(back.Rules, QStringLiteral("多造"));
    plain.Rules = QString(256, QLatin1Char('A'));
    EXPECT_FALSE(plain.SaveToBytes(bytes));
    plain.Rules = QStringLiteral("\U0001F600"); // no GBK form
    EXPECT_FALSE(plain.SaveToBytes(bytes));
}

namespace {

// An older-layout file: 129-byte header, then the fields.
QByteArray OldLayout(
    const QByteArray &text, int cols, int rows, const QByteArray &cells, int holes, int colsAgain = -1)
{
    QByteArray b;
    b.append(char(text.size()));
    b.append(text);
    b.append(128 - text.size(), ' ');
    b.append(char(ys1400));
    b += Hex("01 00 00 00  00 00 00 00"); // TiQianSuo, Multiple
    b.append(32, '\0');
    b += QByteArray::fromRawData("\0\0\0\0", 4); // ColCount, RowCount placeholders
    b[b.size() - 4] = char(cols);
    b[b.size() - 2] = char(rows);
    b += Hex("05 00 00 00 06 00 00 00 07 00 00 00 08 00 00 00"); // margins
    b += Hex("01 09 12 03"); // orient, MinRad, diameter, start
    b += QByteArray(1, char(colsAgain < 0 ? cols : colsAgain)) + QByteArray(3, '\0');
    b += QByteArray(1, char(rows)) + QByteArray(3, '\0');
    b += cells;
    b += QByteArray(1, char(holes)) + QByteArray(3, '\0');
    for (int i = 0; i < holes; ++i)
        b += Hex("00 00 00 00 00 00 00 00");
    return b;
}

const QByteArray OldText = ".OVYK Beta 1.02 by KDV&PNH for Tirlomax";

} // namespace

TEST(YangKaFile, OlderLayout)
{
    TYangkaImage y;
    QString why;
    ASSERT_TRUE(y.LoadFromBytes(OldLayout(OldText, 2, 2, Hex("FF FF FF FF"), 1), &why)) << why.toStdString();
    EXPECT_EQ(y.YKStyle(), ys1400); // stored as read, grid not rebuilt
    EXPECT_EQ(y.ColCount(), 2);
    EXPECT_TRUE(y.TiQianSuo);
    EXPECT_FALSE(y.Multiple);
    EXPECT_EQ(y.MarginLeft, 5);
    EXPECT_EQ(y.MarginBottom, 8);
    EXPECT_EQ(y.Orient, ioVertical);
    EXPECT_EQ(y.MinRad(), 9);
    EXPECT_EQ(y.HoleDiameter, 0x12);
    EXPECT_EQ(y.StartFlag(), 3);
    EXPECT_EQ(y.Holes.length(), 1);

    // Written again in the current layout and read back, it keeps what the card model holds.
    QByteArray current;
    ASSERT_TRUE(y.SaveToBytes(current));
    EXPECT_EQ(current.mid(16, 4), Hex("03 03 01 00"));
    TYangkaImage back;
    ASSERT_TRUE(back.LoadFromBytes(current));
    EXPECT_EQ(back.Cells, y.Cells);
    EXPECT_EQ(back.Holes, y.Holes);
    EXPECT_EQ(back.YKStyle(), ys1400);
    EXPECT_EQ(back.StartFlag(), 3);
    EXPECT_TRUE(back.TiQianSuo);
}

TEST(YangKaFile, DamagedFilesAreRefusedAndChangeNothing)
{
    QByteArray current;
    ASSERT_TRUE(SmallCard().SaveToBytes(current));
    auto patched = [&](int at, const char *hex) {
        QByteArray b = current;
        const QByteArray h = Hex(hex);
        b.replace(at, h.size(), h);
        return b;
    };
    const QByteArray old = OldLayout(OldText, 2, 2, Hex("02 02 02 02"), 0);
    QByteArray oldHoleOutside = OldLayout(OldText, 2, 2, Hex("02 02 02 02"), 1);
    oldHoleOutside.replace(oldHoleOutside.size() - 8, 8, Hex("64 00 00 00 64 00 00 00"));
    const struct {
        const char *name;
        QByteArray bytes;
    } cases[] = {
        { "empty", QByteArray() },
        { "current, cut in the header", current.left(18) },
        { "current, cut in the rule", current.left(22) },
        { "current, cut in the cells", current.left(30) },
        { "current, cut in the holes", current.chopped(1) },
        { "current, claims more columns", patched(24, "09 00") },
        { "current, huge sizes", patched(24, "FF FF FF FF") },
        { "current, no needles", patched(24, "00 00") },
        { "current, negative holes", patched(34, "FF FF FF FF") },
        { "current, unknown style", patched(16, "0F") },
        { "current, start corner 4", patched(17, "04") },
        { "current, hole at (100, 100)", patched(38, "64 00 00 00 64 00 00 00") },
        { "current, hole past the last column", patched(38, "02 00 00 00") },
        { "current, hole past the last row", patched(42, "03 00 00 00") },
        { "current, hole at a negative column", patched(38, "FF FF FF FF") },
        { "old, no markers", OldLayout(".OVYK Beta 1.02 by KDV", 2, 2, Hex("02 02 02 02"), 0) },
        { "old, version 1.01",
            OldLayout(".OVYK Beta 1.01 by KDV&PNH for Tirlomax", 2, 2, Hex("02 02 02 02"), 0) },
        { "old, cut", old.left(old.size() - 6) },
        { "old, sizes differ", OldLayout(OldText, 2, 2, Hex("02 02 02 02"), 0, 3) },
        { "old, claims more holes", OldLayout(OldText, 2, 2, Hex("02 02 02 02"), 3).chopped(8) },
        { "old, hole at (100, 100)", oldHoleOutside },
    };
    for (const auto &c : cases) {
        TYangkaImage y;
        y.Rules = QStringLiteral("1A");
        y.Cells[0][0] = 7;
        QString why;
        EXPECT_FALSE(y.LoadFromBytes(c.bytes, &why)) << c.name;
        EXPECT_FALSE(why.isEmpty()) << c.name;
        EXPECT_EQ(y.ColCount(), 18) << c.name;
        EXPECT_EQ(y.Cell(0, 0), 7) << c.name;
        EXPECT_EQ(y.Rules, QStringLiteral("1A")) << c.name;
        EXPECT_FALSE(y.TiQianSuo) << c.name;
    }
    TYangkaImage y;
    EXPECT_FALSE(y.LoadFromFile(QStringLiteral("/nonexistent/a.OVYK")));
    EXPECT_EQ(y.CardFileName, QStringLiteral("Untitled*"));
}

// Files padded by other tools: bytes after the hole list are ignored, in both layouts.
TEST(YangKaFile, BytesAfterTheHolesAreIgnored)
{
    QByteArray current;
    ASSERT_TRUE(SmallCard().SaveToBytes(current));
    const QByteArray old = OldLayout(OldText, 2, 2, Hex("02 FF 02 FF"), 1);
    for (const QByteArray &padding : { QByteArray(1, '\0'), QByteArray(512, char(0xAB)) }) {
        TYangkaImage y;
        QString why;
        ASSERT_TRUE(y.LoadFromBytes(current + padding, &why)) << why.toStdString();
        EXPECT_EQ(y.Cells, SmallCard().Cells);
        EXPECT_EQ(y.Holes, SmallCard().Holes);
        EXPECT_EQ(y.Rules, QStringLiteral("1A1B"));
        TYangkaImage o;
        ASSERT_TRUE(o.LoadFromBytes(old + padding, &why)) << why.toStdString();
        EXPECT_EQ(o.ColCount(), 2);
        EXPECT_EQ(o.Holes.length(), 1);
    }
}

TEST(YangKa, MarkerColumnsOfEveryStyle)
{
    // The columns holding lacing holes (rows 2 and RowCount - 3) and, for the continuous
    // card, the columns of positioning holes with marker cells at rows 2 and 5.
    const struct {
        TYKStyle style;
        std::vector<int> markers;
    } cases[] = {
        { ys1200, { 0, 28, 56, 84 } },
        { ys144, {} },
        { ys1300, { 0, 29, 58, 87 } },
        { ys1400, { 0, 32, 65, 97 } },
        { ys1600, { 0, 35, 70, 105 } },
        { ys1700, { 0, 38, 77, 115 } },
        { ys1800, { 0, 30, 60, 90, 120 } },
        { ys1900, { 0, 32, 64, 96, 128 } },
        { ys2100, { 0, 35, 70, 105, 140 } },
        { ys2200, { 0, 36, 73, 110, 146 } },
        { ys2300, { 0, 38, 76, 114, 152 } },
        { ys2400, { 0, 39, 79, 119, 158 } },
        { ys2600, { 0, 42, 85, 128, 170 } },
        { ysOther, { 0, 32, 65, 97 } },
        { ysContinuous, { 0, 1, 58, 59, 116, 117, 174, 175 } },
    };
    for (const auto &c : cases) {
        const TMultiByteArray cells = TYangkaImage::StyleCells(c.style);
        const int rows = cells[0].length();
        const int lower = c.style == ysContinuous ? 5 : rows - 3;
        const std::uint8_t code = c.style == ysContinuous ? 252 : 253;
        std::vector<int> found;
        for (int col = 0; col < cells.length(); ++col)
            if (cells[col][2] == code && cells[col][lower] == code)
                found.push_back(col);
        EXPECT_EQ(found, c.markers) << int(c.style);
        // The positioning holes of the first and last marker lie inside the card.
        if (!c.markers.empty() && c.style != ysContinuous) {
            EXPECT_EQ(cells[c.markers.front() + 1][7], 255) << int(c.style);
            EXPECT_EQ(cells[c.markers.back() - 1][8], 255) << int(c.style);
            EXPECT_EQ(cells[c.markers.back() - 3][8], 2) << int(c.style);
        }
    }
}

TEST(YangKaFile, OlderLayoutSavedInTheCurrentLayout)
{
    // An older-layout file of a 3 x 2 card, style ys2600, Multiple set, TiQianSuo clear,
    // start corner 1, a positioning hole at column 1.
    const QByteArray text = ".OVYK Beta 1.02; KDV&PNH; Tirlomax";
    QByteArray old;
    old.append(char(text.size()));
    old.append(text);
    old.append(128 - text.size(), ' ');
    old += Hex("0C  00 00 00 00  02 00 00 00");
    old.append(32, '\0');
    old += Hex("03 00 02 00" // ColCount, RowCount
               "01 00 00 00 02 00 00 00 03 00 00 00 04 00 00 00" // margins
               "00 05 0A 01" // orient, MinRad, diameter, start
               "03 00 00 00 02 00 00 00" // columns, rows
               "02 F0 FF FF FF FF" // cells, column by column
               "01 00 00 00  01 00 00 00 00 00 00 00"); // one hole at (1, 0)
    ASSERT_EQ(old.size(), 129 + 1 + 8 + 32 + 4 + 16 + 4 + 8 + 6 + 12);

    TYangkaImage y;
    y.TiQianSuo = true;
    QString why;
    ASSERT_TRUE(y.LoadFromBytes(old, &why)) << why.toStdString();
    EXPECT_EQ(Column(y, 0), (std::vector<int> { 2, 240 }));
    EXPECT_EQ(Column(y, 2), (std::vector<int> { 255, 255 }));
    EXPECT_FALSE(y.TiQianSuo);
    EXPECT_TRUE(y.Multiple);
    EXPECT_EQ(y.MarginTop, 3);
    EXPECT_EQ(y.MinRad(), 5);
    EXPECT_EQ(y.HoleDiameter, 10);
    EXPECT_EQ(y.StartFlag(), 1);
    EXPECT_EQ(y.Width, 103); // the older layout keeps the control size

    QByteArray current;
    ASSERT_TRUE(y.SaveToBytes(current));
    EXPECT_EQ(current,
        Hex("D0 07 01 00 00 00 00 00  00 00 00 00 00 00 00 00"
            "0C 01 00 00  03 00 02 00"
            "02 F0 FF FF FF FF"
            "01 00 00 00  01 00 00 00 00 00 00 00"));
    TYangkaImage back;
    ASSERT_TRUE(back.LoadFromBytes(current));
    EXPECT_EQ(back.Cells, y.Cells);
    EXPECT_EQ(back.YKStyle(), ys2600);
    QByteArray again;
    ASSERT_TRUE(back.SaveToBytes(again));
    EXPECT_EQ(again, current);
}
