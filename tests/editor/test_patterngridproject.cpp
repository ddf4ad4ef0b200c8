// The pattern grid's side of the project file: saving a document as .OVY, and opening
// what a project file gave into a fresh grid and document record.
#include "editor/patterngridproject.h"

#include "core/base/messages.h"
#include "editor/patterngrid.h"
#include "notificationrecorder.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

namespace {

QImage Picture()
{
    TPalette256 palette = GreyPalette();
    palette[1] = { 200, 10, 10, 0 };
    return MakePicture({ { 0, 1, 1, 0 }, { 1, 1, 0, 0 }, { 255, 1, 0, 1 } }, palette);
}

// A grid showing a document created with File > New on Picture(), two weft entries.
void NewDocument(TPatternGrid &g, const TPieceLayout &layout)
{
    g.SetWarpDensity(60.0);
    g.SetWeftDensity(45.0);
    g.SetPicture(Picture());
    g.ReadPaletteFromPicture();
    g.RebuildDisplayBitmap();
    g.SetRepeatDisplayValues(layout);
    TMesh mesh;
    mesh.WeftRepeat = 2;
    InitNewDocument(mesh, &g.Picture(), 60.0, 45.0, 1, TColorArray { 0x000A0AC8, 0x00FFFFFF, 0 });
    (*mesh.TechWeaveNames)[4] = QStringLiteral("边.ovw");
    mesh.SampleCardFile = QStringLiteral("card.ovyk");
    g.SetMesh(mesh);
}

} // namespace

TEST(PatternGridProject, SavedDocumentOpensIntoANewGrid)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("pattern.OVY");
    TPatternGrid g;
    NewDocument(g, { 3, 6, 2, 5 });
    QString error;
    ASSERT_TRUE(g.SaveToFile(file, nullptr, &error)) << error.toStdString();

    TProjectRecord record;
    ASSERT_TRUE(LoadProjectFile(file, record, &error)) << error.toStdString();
    EXPECT_TRUE(record.MissingWeaves.isEmpty());

    MainWindowStandIn main;
    TPatternGrid opened;
    TMesh document;
    ApplyProjectRecord(record, opened, document);
    EXPECT_TRUE(main.recorder.Has(WM_PATTERNMERGESTATE, 2, 0));
    EXPECT_EQ(PictureRows(opened.Picture()), PictureRows(g.Picture()));
    EXPECT_EQ(opened.Palette(), g.Palette());
    EXPECT_EQ(PictureRows(opened.RefBitmap()), PictureRows(g.Picture()));
    EXPECT_EQ(opened.WarpDensity(), 60.0);
    EXPECT_EQ(opened.WeftDensity(), 45.0);
    EXPECT_EQ(opened.RepeatDisplayValues(), (TPieceLayout { 3, 6, 2, 5 }));
    EXPECT_EQ(opened.RepeatInfo().UnitWidth, 4);
    EXPECT_EQ(opened.RepeatInfo().UnitHeight, 3);
    // The layer count is the piece count, so that it survives a save and reopen.
    EXPECT_EQ(document.LayerCount, 2);
    EXPECT_EQ(document.Picture, &opened.Picture());
    EXPECT_EQ(document.WeftRepeat, 2);
    EXPECT_EQ(document.SampleCardFile, "card.ovyk");
    EXPECT_EQ(document.Colors, g.Mesh().Colors);
    EXPECT_EQ(document.ColorWeaves.length(), 6);
    EXPECT_EQ(document.TechWeaves.length(), 6);
    EXPECT_EQ(document.TechWeaveNames->at(4), QStringLiteral("边.ovw"));
    EXPECT_EQ(opened.Mesh().WeftRepeat, 2);

    // Saved again, the opened document gives the same file.
    const QString again = dir.filePath("again.ovy");
    ASSERT_TRUE(opened.SaveToFile(again, nullptr, &error)) << error.toStdString();
    EXPECT_EQ(ReadAll(again), ReadAll(file));

    // A new grid's piece layout (count 0) gives one layer.
    TPatternGrid fresh;
    NewDocument(fresh, { 1, 4, 0, 0 });
    ASSERT_TRUE(fresh.SaveToFile(file, nullptr, &error));
    ASSERT_TRUE(LoadProjectFile(file, record, &error));
    ApplyProjectRecord(record, opened, document);
    EXPECT_EQ(document.LayerCount, 1);
    EXPECT_EQ(opened.RepeatDisplayValues(), (TPieceLayout { 1, 4, 0, 0 }));
}

TEST(PatternGridProject, FailedSavesKeepWhatWasThere)
{
    QTemporaryDir dir;
    // Without a picture nothing is written.
    TPatternGrid empty;
    QString error;
    EXPECT_FALSE(empty.WriteProjectFile(dir.filePath("none.ovy"), &error));
    EXPECT_FALSE(QFile::exists(dir.filePath("none.ovy")));

    // A save that cannot be written keeps the old file: a full disk when the test may
    // mount one, else a read-only folder.
    TPatternGrid g;
    NewDocument(g, { 1, 4, 0, 0 });
    TSmallDisk disk;
    QString target;
    if (disk.IsMounted()) {
        target = disk.FilePath("old.ovy");
        ASSERT_TRUE(WriteAll(target, "old"));
        ASSERT_TRUE(disk.Fill());
    } else if (::geteuid() != 0) {
        target = dir.filePath("old.ovy");
        ASSERT_TRUE(WriteAll(target, "old"));
        ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    } else {
        GTEST_SKIP() << disk.Why().toStdString();
    }
    EXPECT_FALSE(g.SaveToFile(target, nullptr, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(ReadAll(target), "old");
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// The file is written in pieces straight from the picture's rows: a picture whose rows are
// padded and that takes several pieces gives exactly the encoded bytes.
TEST(PatternGridProject, SavedFileIsTheEncodedRecord)
{
    QTemporaryDir dir;
    TPatternGrid g;
    NewDocument(g, { 1, 4, 2, 0 });
    QImage big = NewPicture(1501, 1700, GreyPalette());
    for (int y = 0; y < big.height(); ++y)
        for (int x = 0; x < big.width(); ++x)
            big.scanLine(y)[x] = std::uint8_t(x * 5 + y * 3);
    g.SetPicture(big);
    g.RebuildDisplayBitmap();
    const QString file = dir.filePath("big.ovy");
    QString error;
    ASSERT_TRUE(g.WriteProjectFile(file, &error)) << error.toStdString();
    QByteArray encoded;
    ASSERT_TRUE(EncodeGridProject(g, g.Mesh(), encoded, &error)) << error.toStdString();
    EXPECT_EQ(ReadAll(file), encoded);
    // The pieces a document's save hands to its file set are the same bytes.
    QByteArray streamed;
    int pieces = 0;
    ASSERT_TRUE(WriteGridProject(
        g, g.Mesh(),
        [&](const char *data, qint64 size) {
            streamed.append(data, size);
            ++pieces;
            return true;
        },
        &error))
        << error.toStdString();
    EXPECT_GT(pieces, 1);
    EXPECT_EQ(streamed, encoded);
}
