// Saving and opening the card, sample-card and weave files: saves on a full disk, readers
// given FIFOs, devices and files larger than their format holds, and names whose bytes
// are not UTF-8.
#include "card/cardfilelimits.h"
#include "card/fmt_ovwb.h"
#include "card/picturetocard.h"
#include "card/samplecard.h"
#include "cardfmt_helpers.h"
#include "cardtestutil.h"
#include "weave/weavefile.h"

#include <QDir>
#include <QFile>

#include <functional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray OldBytes = "the old file, which a failed save must leave whole\n";

struct WriterCase {
    const char *name;
    const char *file;
    std::function<bool(const QString &fileName, QString *error)> save;
};

TWenBanIO SmallCardIO()
{
    return MakeCard(PatternRows(4, 2), 8, 2);
}

} // namespace

TEST(CardSaveOnAFullDisk, EveryWriterKeepsTheOldFileAndReportsTheFailure)
{
    const WriterCase cases[] = {
        { "EP card", "t.EP",
            [](const QString &f, QString *e) { return WriteControllerCard(SmallCardIO(), f, 1, e); } },
        { "JC5 card", "t.JC5",
            [](const QString &f, QString *e) { return WriteJC5Card(SmallCardIO(), f, TJC5Variant::A, e); } },
        { "QS card", "t.QS", [](const QString &f, QString *e) { return WriteQSCard(SmallCardIO(), f, e); } },
        { "OVWB card", "t.OVWB",
            [](const QString &f, QString *e) { return WriteOVWBCard(SmallCardIO(), f, e); } },
        { "JC5 part files", "t.J01",
            [](const QString &f, QString *e) {
                return WriteJC5PartFiles(SmallCardIO(), f.chopped(3) + "JC5", 2, nullptr, e);
            } },
        { "sample card", "t.OVYK",
            [](const QString &f, QString *e) {
                TYangkaImage card = ColumnCard({ 1, 2, 3 });
                const bool ok = card.SaveToFile(f, e);
                return ok;
            } },
        { "weave file", "t.OVW",
            [](const QString &f, QString *e) { return WriteWeaveFile(f, MakeWeaveArray(3, 2), e); } },
        { "pattern saved as a card", "t.EP",
            [](const QString &f, QString *e) {
                return SaveCardByExtension(MakePicture({ { 0, 1, 0 }, { 1, 0, 1 } }), 0, f, nullptr, e);
            } },
    };
    for (const WriterCase &c : cases) {
        TSmallDisk disk;
        if (!disk.IsMounted())
            GTEST_SKIP() << disk.Why().toStdString();
        const QString target = disk.FilePath(c.file);
        ASSERT_TRUE(WriteAll(target, OldBytes));
        ASSERT_TRUE(disk.Fill()) << c.name;
        QString error;
        EXPECT_FALSE(c.save(target, &error)) << c.name << ": a save on a full disk reported success";
        EXPECT_EQ(ReadAll(target), OldBytes) << c.name;
        EXPECT_EQ(disk.Entries(), (QStringList { "filler", c.file })) << c.name << ": file left";
        EXPECT_TRUE(error.contains("No space left")) << c.name << ": " << error.toStdString();
    }
}

namespace {

struct ReaderCase {
    const char *ext;
    qint64 bound;
    std::function<bool(const QString &fileName, QString *error)> read;
};

bool ReadThroughWenBanIO(const QString &f, QString *e)
{
    TWenBanIO io;
    const bool ok = io.LoadFromFile(f, e);
    return ok;
}

std::vector<ReaderCase> Readers()
{
    std::vector<ReaderCase> out = {
        { ".OVYK", 16 + 4 + 255 + 4 + qint64(65535) * 65535 + 4 + 8 * 65535,
            [](const QString &f, QString *e) {
                TYangkaImage card;
                const bool ok = card.LoadFromFile(f, e);
                return ok;
            } },
        { ".OVW", MaxWeaveFileSize,
            [](const QString &f, QString *e) {
                TWeaveArray weave;
                return LoadWeaveFile(f, weave, e);
            } },
    };
    for (const char *ext :
        { ".OVWB", ".EP", ".JC5", ".J01", ".QS", ".UPT", ".WB", ".GRD", ".DAT", ".P32", ".OVW" })
        out.push_back({ ext, MaxCardFileSize(ext), ReadThroughWenBanIO });
    return out;
}

} // namespace

TEST(CardReadFile, FifosAndDevicesAreRefusedAtOnce)
{
    QTemporaryDir dir;
    for (const ReaderCase &c : Readers()) {
        const QString fifo = dir.filePath(QStringLiteral("fifo") + c.ext);
        const QString zero = dir.filePath(QStringLiteral("zero") + c.ext);
        if (!QFileInfo::exists(fifo)) {
            ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
            ASSERT_TRUE(QFile::link("/dev/zero", zero));
        }
        for (const QString &path : { fifo, zero }) {
            QString error;
            bool ok = true;
            RunWithin(20, c.ext, [&] { ok = c.read(path, &error); });
            EXPECT_FALSE(ok) << c.ext << " " << path.toStdString();
            EXPECT_TRUE(error.contains("not a regular file")) << c.ext << ": " << error.toStdString();
        }
    }
}

TEST(CardReadFile, FilesLargerThanTheFormatHoldsAreRefusedUnread)
{
    QTemporaryDir dir;
    for (const ReaderCase &c : Readers()) {
        const QString path = dir.filePath(QStringLiteral("big") + c.ext);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.resize(c.bound + 1)); // sparse: no space used
        f.close();
        QString error;
        bool ok = true;
        RunWithin(20, c.ext, [&] { ok = c.read(path, &error); });
        EXPECT_FALSE(ok) << c.ext;
        EXPECT_TRUE(error.contains(QString::number(c.bound + 1)) && error.contains(QString::number(c.bound)))
            << c.ext << ": " << error.toStdString();
        QFile::remove(path);
    }
    // The bounds follow the formats' own limits where those are smaller.
    EXPECT_EQ(MaxCardFileSize(".ep"), 34 + qint64(65535) * 8195);
    EXPECT_EQ(MaxCardFileSize(".Dat"), 48 + qint64(48) * 65535);
    EXPECT_EQ(MaxCardFileSize(".OVW"), 248 + qint64(65535) * 65535);
}

TEST(CardReadFile, GbkNamedSampleCardOpens)
{
    QTemporaryDir dir;
    TYangkaImage card = ColumnCard({ 1, 2, 3 });
    const QString plain = dir.filePath("plain.OVYK");
    ASSERT_TRUE(card.SaveToFile(plain));
    // "样卡" in GBK: the name a Windows program gives the file.
    const QByteArray raw = QFile::encodeName(dir.path()) + "/\xD1\xF9\xBF\xA8.OVYK";
    ASSERT_EQ(::rename(QFile::encodeName(plain).constData(), raw.constData()), 0);

    for (const QString &name : { QFile::decodeName(raw), dir.path() + QString::fromUtf8("/样卡.OVYK") }) {
        TYangkaImage back;
        QString why;
        EXPECT_TRUE(back.LoadFromFile(name, &why)) << why.toStdString();
        EXPECT_EQ(back.ColCount(), card.ColCount());
        EXPECT_EQ(back.RowCount(), card.RowCount());
    }
    ::unlink(raw.constData());
    TYangkaImage missing;
    QString missingWhy;
    EXPECT_FALSE(missing.LoadFromFile(
        QFile::decodeName(QFile::encodeName(dir.path()) + "/\xC1\xC1.OVYK"), &missingWhy));
    EXPECT_TRUE(missingWhy.contains("not valid UTF-8")) << missingWhy.toStdString();
}
