// The card file dispatcher shared by the card-making dialog and the card viewer: every
// file it writes is exactly what the format's own writer writes, the JC5 and DAT/P32
// variants follow the position of the chosen filter in each dialog's list, and a DAT/P32
// name under a filter that names no controller writes nothing.
#include "card/cardformats.h"
#include "card/cardwrite.h"
#include "card/fmt_ovwb.h"
#include "core/picture/bmpfile.h"

#include "cardfmt_helpers.h"

#include <QFile>
#include <QTemporaryDir>

#include <functional>

namespace {

// 20 cards of a 16 x 8 needle sample card with 100 jacquard needles: fits every format,
// the 128-needle controller included.
TWenBanIO SmallCard()
{
    Rows rows;
    for (int r = 0; r < 20; ++r) {
        std::vector<std::uint8_t> row(16);
        for (int b = 0; b < 16; ++b)
            row[b] = std::uint8_t((r * 37 + b * 11 + 5) & 0xFF);
        rows.push_back(row);
    }
    TWenBanIO io = MakeCard(rows, 8, 16, 100);
    io.Holes = { TPoint { 3, 2 } };
    return io;
}

using Writer = std::function<bool(const TWenBanIO &, const QString &)>;

struct DispatchCase {
    const char *dialog; // which dialog's filter list the index is taken from
    const char *name;
    int filterIndex;
    Writer reference; // the format's own writer
};

} // namespace

TEST(WriteCardFile, WritesExactlyWhatEachFormatsWriterWrites)
{
    const auto jc5 = [](TJC5Variant v) {
        return [v](const TWenBanIO &io, const QString &f) { return WriteJC5Card(io, f, v); };
    };
    const auto dat
        = [](int v) { return [v](const TWenBanIO &io, const QString &f) { return WriteDatCard(io, v, f); }; };
    const auto one = [](bool (*w)(const TWenBanIO &, const QString &, QString *)) {
        return [w](const TWenBanIO &io, const QString &f) { return w(io, f, nullptr); };
    };
    const DispatchCase cases[] = {
        { "making", "card.EP", 1, one(WriteEPCard) },
        { "making", "card.JC5", 2, jc5(TJC5Variant::A) },
        { "making", "card.jc5", 2, jc5(TJC5Variant::A) },
        { "making", "card.UPT", 3, one(WriteUPTCard) },
        { "making", "card.DAT", 4, dat(DatVBJ128) },
        { "making", "card.DAT", 5, dat(DatCEJ160) },
        { "making", "card.DAT", 6, dat(DatPEJ160) },
        { "making", "card.EP", 4, one(WriteEPCard) }, // the extension decides the type
        { "viewer", "card.JC5", 2, jc5(TJC5Variant::A) },
        { "viewer", "card.JC5", 3, jc5(TJC5Variant::B) },
        { "viewer", "card.JC5", 1, jc5(TJC5Variant::B) },
        { "viewer", "card.dat", 4, dat(DatVBJ128) },
        { "viewer", "card.P32", 7, dat(DatPEJ320) },
        { "viewer", "card.UPT", 7, one(WriteUPTCard) },
        { "viewer", "card.QS", 1, one(WriteQSCard) },
        { "viewer", "card.JC4", 1, one(WriteJC4Card) },
        { "viewer", "card.WB", 1, one(WriteWBCard) },
        { "viewer", "card.GRD", 1, one(WriteGRDCard) },
        { "viewer", "card.OVWB", 1, one(WriteOVWBCard) },
        { "viewer", "card.TXT", 1, one(WriteOVWBCard) },
        { "viewer", "card", 1, one(WriteOVWBCard) },
    };
    const TWenBanIO io = SmallCard();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    int n = 0;
    for (const DispatchCase &c : cases) {
        SCOPED_TRACE(std::string(c.dialog) + " " + c.name + " filter " + std::to_string(c.filterIndex));
        // Each case in its own folder: the name is part of some formats' bytes.
        const QString sub = dir.filePath(QString::number(n++));
        QDir().mkpath(sub + "/w");
        QDir().mkpath(sub + "/r");
        const QString written = sub + "/w/" + c.name;
        const QString expected = sub + "/r/" + c.name;
        QString err;
        ASSERT_TRUE(WriteCardFile(io, QImage(), written, c.filterIndex, &err)) << err.toStdString();
        ASSERT_TRUE(c.reference(io, expected));
        const QByteArray bytes = ReadAll(written);
        EXPECT_FALSE(bytes.isEmpty());
        EXPECT_EQ(bytes, ReadAll(expected));
    }
}

// A .DAT or .P32 name under a filter that gives no controller (EP, a JC5 filter, the
// making dialog's UPT filter, or none) used to leave an empty file and report success.
TEST(WriteCardFile, DatUnderAFilterWithoutControllerIsRefusedAndWritesNothing)
{
    const TWenBanIO io = SmallCard();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const struct {
        const char *name;
        int filterIndex;
    } cases[]
        = { { "a.DAT", 1 }, { "a.DAT", 2 }, { "a.dat", 3 }, { "a.P32", 1 }, { "a.P32", 0 }, { "a.DAT", 8 } };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.name) + " filter " + std::to_string(c.filterIndex));
        const QString path = dir.filePath(c.name);
        QString err;
        EXPECT_FALSE(WriteCardFile(io, QImage(), path, c.filterIndex, &err));
        EXPECT_FALSE(err.isEmpty());
        EXPECT_FALSE(QFile::exists(path));
    }
    // An old file under that name stays as it was.
    const QString old = dir.filePath("old.DAT");
    ASSERT_TRUE(WriteCardFile(io, QImage(), old, 5));
    const QByteArray before = ReadAll(old);
    EXPECT_FALSE(WriteCardFile(io, QImage(), old, 2));
    EXPECT_EQ(ReadAll(old), before);
}

// A writer's refusal reaches the caller with its reason and leaves no file.
TEST(WriteCardFile, WriterRefusalIsReported)
{
    TWenBanIO io = SmallCard();
    io.RowCount = 12; // WB takes 8 or 16 needles a column
    io.ColCount = 10;
    QTemporaryDir dir;
    QString err;
    EXPECT_FALSE(WriteCardFile(io, QImage(), dir.filePath("a.WB"), 1, &err));
    EXPECT_FALSE(err.isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath("a.WB")));
}

// ".BMP" writes the picture it is given: an 8-bit pattern picture as it is, a 1-bit card
// picture as the same black and white pixels.
TEST(WriteCardFile, BmpWritesThePicture)
{
    QTemporaryDir dir;
    QImage pattern(5, 3, QImage::Format_Indexed8);
    QList<QRgb> table(256, qRgb(0, 0, 0));
    table[7] = qRgb(10, 200, 30);
    pattern.setColorTable(table);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            pattern.setPixel(x, y, (x + y) % 2 ? 7 : 0);
    ASSERT_TRUE(WriteCardFile(SmallCard(), pattern, dir.filePath("p.bmp"), 1));
    EXPECT_EQ(ReadAll(dir.filePath("p.bmp")), EncodeBmp8(pattern));

    QImage card(9, 2, QImage::Format_Mono);
    card.setColorTable({ qRgb(0, 0, 0), qRgb(255, 255, 255) });
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 9; ++x)
            card.setPixel(x, y, (x * 3 + y) % 4 == 0 ? 1 : 0);
    ASSERT_TRUE(WriteCardFile(SmallCard(), card, dir.filePath("c.BMP"), 1));
    QImage back;
    ASSERT_TRUE(LoadBmp8File(dir.filePath("c.BMP"), back));
    ASSERT_EQ(back.size(), card.size());
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 9; ++x)
            EXPECT_EQ(qGray(back.pixel(x, y)) > 128, card.pixelIndex(x, y) == 1) << x << "," << y;

    QString err;
    EXPECT_FALSE(WriteCardFile(SmallCard(), QImage(), dir.filePath("none.BMP"), 1, &err));
    EXPECT_FALSE(err.isEmpty());
}

// Qt's file dialog reports the chosen filter by its text; its place in the list is the
// index the writers take, in both dialogs.
TEST(WriteCardFile, FilterIndexFromTheChosenNameFilter)
{
    const QStringList making = CardDialogNameFilters(CardMakingSaveFilter());
    ASSERT_EQ(making.size(), 6);
    EXPECT_EQ(making[0], "EP Files (*.EP)");
    EXPECT_EQ(CardFilterIndex(making, "JC5 Files(*.JC5)"), 2);
    EXPECT_EQ(CardFilterIndex(making, "UPT Files(*.UPT)"), 3);
    EXPECT_EQ(CardFilterIndex(making, "PEJ160 Files(*.DAT)"), 6);
    EXPECT_EQ(CardFilterIndex(making, "Other"), 0);

    const QStringList viewer = CardDialogNameFilters(CardSaveFilter());
    ASSERT_EQ(viewer.size(), 7);
    EXPECT_EQ(CardFilterIndex(viewer, "Korvane_JC5 Files(*.JC5)"), 2);
    EXPECT_EQ(CardFilterIndex(viewer, "JC5 Files(*.JC5)"), 3);
    EXPECT_EQ(CardFilterIndex(viewer, "VBJ128 Files(*.DAT)"), 4);
    EXPECT_EQ(CardFilterIndex(viewer, "UPT Files(*.UPT)"), 7);

    EXPECT_EQ(CardDialogNameFilters("Bare|*.A;*.B|Named (*.C)|*.C"),
        QStringList({ "Bare (*.A *.B)", "Named (*.C)" }));
}
