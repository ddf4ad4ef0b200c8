// The table of card file types, and the jacquard count a card brings from its file or its
// build, which orders the rows of the DAT/P32 files.
#include "card/builtcard.h"
#include "card/cardbuild.h"
#include "card/fmt_ovwb.h"

#include "cardfmt_helpers.h"
#include "cardtestutil.h"
#include "shippedlanguage.h"

#include <QDir>

#include <set>

namespace {

// A card built for a sample card of 8 x cols needles with `jacquard` jacquard needles and
// the other needles empty, from a small two-colour pattern.
TWenBanIO BuiltCard(int cols, int jacquard)
{
    const TPalette256 blackWhite = PaletteOf({ qRgb(0, 0, 0), qRgb(255, 255, 255) });
    QImage pic = MakePicture(
        { { 1, 0, 1, 1, 0 }, { 0, 0, 1, 0, 1 }, { 1, 1, 0, 0, 0 }, { 0, 1, 1, 1, 1 } }, blackWhite);
    const TMesh mesh = CardDoc(pic);
    TYangkaImage sample;
    sample.SetColCount(cols);
    sample.SetJacquardCount(jacquard);
    TMultiByteArray rows;
    TCardBuildResult result;
    EXPECT_TRUE(BuildCardData(mesh, sample, ScanBottomLeft, rows, result)) << result.Error.toStdString();
    TWenBanIO io;
    SetBuiltCard(io, rows, sample);
    return io;
}

QByteArray DatBytes(const TWenBanIO &io, const QString &dir, int filterIndex)
{
    QDir().mkpath(dir);
    const QString path = dir + "/card.DAT";
    QString err;
    EXPECT_TRUE(WriteControllerCard(io, path, filterIndex, &err)) << err.toStdString();
    return ReadAll(path);
}

} // namespace

// Every extension a card is read or written by, and the flags that drive the rest.
TEST(CardFormats, OneTableDrivesEveryDispatch)
{
    const TShippedLanguageScope chinese(TShippedLanguage::SimplifiedChinese); // the texts read below
    std::set<QString> seen;
    for (const TCardFormat &f : CardFormats()) {
        const QString ext = QString::fromLatin1(f.Extension);
        SCOPED_TRACE(ext.toStdString());
        EXPECT_TRUE(seen.insert(ext).second) << "listed twice";
        EXPECT_EQ(ext, ext.toUpper());
        EXPECT_EQ(FindCardFormat(ext.toLower()), &f);
        EXPECT_EQ(FindCardFormat(ext.mid(1)), &f);
        const bool own = f.Flags & CardOwnFormat;
        EXPECT_EQ(IsControllerCardExtension(ext), f.Read && !own);
        EXPECT_EQ(IsControllerCardWriteExtension(ext), f.Write && !own);
    }
    const std::set<QString> all
        = { ".EP", ".JC5", ".JC4", ".QS", ".UPT", ".WB", ".GRD", ".DAT", ".P32", ".OVWB" };
    EXPECT_EQ(seen, all);
    EXPECT_EQ(FindCardFormat(".J01"), nullptr);
    EXPECT_EQ(FindCardReadFormat(".j03"), FindCardFormat(".JC5"));
    EXPECT_EQ(FindCardReadFormat(".JX1"), nullptr);
    EXPECT_EQ(FindCardFormat(".BMP"), nullptr);
    EXPECT_FALSE(IsControllerCardWriteExtension(".J01"));

    // The card save dialog's filter, whose indexes choose the JC5 and DAT variants.
    EXPECT_EQ(CardSaveFilter(),
        QStringLiteral("EP Files (*.EP)|*.EP|Korvane_JC5 Files(*.JC5)|*.JC5|JC5 Files(*.JC5)|*.JC5|"
                       "VBJ128 Files(*.DAT)|*.DAT|CEJ160 Files(*.DAT)|*.DAT|PEJ160 Files(*.DAT)|*.DAT|"
                       "UPT Files(*.UPT)|*.UPT"));

    // Only QS warns, when its needle count is not 144.
    const TWenBanIO sixteen = MakeCard({ { 1, 2 } }, 8, 2);
    for (const TCardFormat &f : CardFormats())
        EXPECT_EQ(f.Warning != nullptr, QLatin1String(f.Extension) == QLatin1String(".QS")) << f.Extension;
    const TCardFormat *qs = FindCardFormat("qs");
    ASSERT_TRUE(qs && qs->Warning);
    EXPECT_EQ(qs->Warning(sixteen), QString::fromUtf8("纹针数不等于 144 ! "));
    EXPECT_EQ(qs->Warning(MakeCard({ Rows::value_type(18) }, 8, 18)), QString());
}

// The own format is read and written through the table but is not a controller's.
TEST(CardFormats, TheOwnFormatIsNoController)
{
    QTemporaryDir dir;
    const TWenBanIO card = MakeCard(PatternRows(2, 3), 8, 3, 24);
    QByteArray own;
    ASSERT_TRUE(OVWBCardBytes(card, own));
    const TCardFormat *ovwb = FindCardFormat(".ovwb");
    ASSERT_TRUE(ovwb && ovwb->Read && ovwb->Write);
    TWenBanIO io;
    QString why;
    ASSERT_TRUE(ovwb->Read(io, own, &why)) << why.toStdString();
    EXPECT_EQ(CardRows(io), CardRows(card));
    TWenBanIO controller;
    controller.Extension = ".OVWB";
    QString controllerWhy;
    EXPECT_FALSE(ReadControllerCard(controller, own, &controllerWhy));
    EXPECT_FALSE(controllerWhy.isEmpty());
    EXPECT_TRUE(WriteControllerCard(card, dir.filePath("a.EP"), 1));
    EXPECT_FALSE(WriteControllerCard(card, dir.filePath("a.OVWB"), 1));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("a.OVWB")));
}

TEST(BuiltCard, TakesTheSampleCard)
{
    const TWenBanIO io = BuiltCard(16, 100);
    EXPECT_EQ(io.JacquardCount, 100);
    EXPECT_EQ(io.RowCount, 8);
    EXPECT_EQ(io.ColCount, 16);
    EXPECT_EQ(io.CardCount, 4);
    EXPECT_EQ(io.Card.length(), 4);
    EXPECT_EQ(io.Card[0].length(), 16);
}

// A card read from any format and written as DAT gives the rows the built card gives
// (every needle of the 128-needle sample card being a jacquard needle, as every format but
// DAT assumes of a card it reads): the row order of the DAT file no longer depends on
// where the card came from. Formats that read a card back mirrored or reversed give the
// DAT of that card.
TEST(CardReaders, ReadCardsWriteTheDatOfTheBuiltCard)
{
    QTemporaryDir dir;
    const TWenBanIO built = BuiltCard(16, 128);
    ASSERT_EQ(built.JacquardCount, 128);
    const QByteArray want = DatBytes(built, dir.filePath("built"), 4);
    const Rows rows = CardRows(built);
    const struct {
        const char *file;
        int filterIndex;
        Rows readBack; // empty: the card as built
    } cases[] = {
        { "c.EP", 1, {} },
        { "c.JC5", 3, {} },
        { "k.JC5", 2, {} },
        { "c.QS", 1, {} },
        { "c.UPT", 1, {} },
        { "c.WB", 1, {} },
        { "c.GRD", 1, {} },
        { "c.DAT", 4, {} },
        { "c.OVWB", 1, {} },
    };
    const int trailer = 130928; // the VBJ128 trailer states RowCount x ColCount of the card
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        const QString path = dir.filePath(c.file);
        QString err;
        const bool own = QString(c.file).endsWith(".OVWB");
        ASSERT_TRUE(
            own ? WriteOVWBCard(built, path, &err) : WriteControllerCard(built, path, c.filterIndex, &err))
            << err.toStdString();
        TWenBanIO read;
        QString why;
        ASSERT_TRUE(read.LoadFromFile(path, &why)) << why.toStdString();
        const QByteArray got = DatBytes(read, dir.filePath(QStringLiteral("from_") + c.file), 4);
        if (c.readBack.empty()) {
            EXPECT_EQ(CardRows(read), rows);
            EXPECT_EQ(got.left(trailer), want.left(trailer));
        } else {
            EXPECT_EQ(CardRows(read), c.readBack);
            const QByteArray other
                = DatBytes(MakeCard(c.readBack, 8, 16, 128), dir.filePath(QStringLiteral("x_") + c.file), 4);
            EXPECT_EQ(got.left(trailer), other.left(trailer));
        }
    }
}

// A DAT/P32 file read and written again in its own controller variant is the same file,
// also with fewer jacquard needles than the controller has: the 160- and 320-needle
// controllers state the jacquard count, and the reader puts the rows turned round for it
// back in card order; a VBJ128 file states none and keeps its rows in file order.
TEST(CardReaders, DatFilesWriteBackAsTheyWere)
{
    QTemporaryDir dir;
    const struct {
        int cols, jacquard, filterIndex;
        const char *file;
        int readJacquard;
        bool cardOrder; // the card reads back as built
    } cases[] = {
        { 16, 100, 4, "a.DAT", 128, false },
        { 16, 128, 4, "b.DAT", 128, true },
        { 20, 100, 5, "c.DAT", 100, true },
        { 20, 160, 6, "d.DAT", 160, true },
        { 20, 7, 6, "e.DAT", 7, true },
        { 40, 300, 7, "f.P32", 300, true },
        { 40, 17, 7, "g.DAT", 17, true },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        const TWenBanIO built = BuiltCard(c.cols, c.jacquard);
        const QString path = dir.filePath(c.file);
        QString err;
        ASSERT_TRUE(WriteControllerCard(built, path, c.filterIndex, &err)) << err.toStdString();
        TWenBanIO read;
        QString why;
        ASSERT_TRUE(read.LoadFromFile(path, &why)) << why.toStdString();
        EXPECT_EQ(read.JacquardCount, c.readJacquard);
        EXPECT_EQ(CardRows(read) == CardRows(built), c.cardOrder);
        const QString again = dir.filePath(QStringLiteral("again/") + c.file);
        QDir().mkpath(dir.filePath("again"));
        ASSERT_TRUE(WriteControllerCard(read, again, c.filterIndex, &err)) << err.toStdString();
        EXPECT_EQ(ReadAll(again), ReadAll(path));
    }
}
