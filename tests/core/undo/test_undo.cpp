// The undo store against a fake grid: recording, replay in both directions, the limit,
// the redo side, the temporary files and the backup-size check.
#include "core/settings/sharedstate.h"
#include "core/undo/undo.h"
#include "testutil.h"
#include "undo_fakegrid.h"

#include <QDir>
#include <QFile>

#include <set>

#include <gtest/gtest.h>

namespace {

class UndoStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(InitSharedState());
        StartSettings().MaxUndoCount = 20;
        StartSettings().MaxBakDataSize = 100;
        Hooks().UndoSizeWarning
            = [this](const QString &text, const QString &caption) { warnings << caption + text; };
    }

    // A grid with a picture of the given rows; RefBitmap equal to it.
    static void setPicture(FakeGrid &g, std::initializer_list<std::vector<int>> rows)
    {
        g.pic = MakePicture(rows);
        g.ref = g.pic.copy();
        g.pal = g.displayPal = GreyPalette();
    }
    // Paints cells and records them as a cell-list step.
    static void paint(FakeGrid &g, TUndo &u, const std::vector<std::pair<int, int>> &cells, int value)
    {
        TLineArray list(qsizetype(cells.size()));
        for (qsizetype i = 0; i < list.size(); ++i) {
            list[i] = { cells[i].first, cells[i].second };
            g.pic.scanLine(cells[i].second)[cells[i].first] = std::uint8_t(value);
        }
        g.changed = list;
        u.SaveRegionStep();
    }

    QStringList warnings;
};

std::vector<QRgb> colorTable(const QImage &img)
{
    const QList<QRgb> t = img.colorTable();
    return std::vector<QRgb>(t.begin(), t.end());
}

} // namespace

TEST_F(UndoStore, CellStepRecordsUndoesAndRedoes)
{
    FakeGrid g;
    setPicture(g, { { 0, 0, 0 }, { 0, 0, 0 } });
    TUndo u(g);
    g.fore = 4;
    paint(g, u, { { 1, 0 }, { 2, 1 } }, 9);
    ASSERT_EQ(u.UndoCount(), 1);
    EXPECT_EQ(PictureRows(g.ref), PictureRows(g.pic)); // RefBitmap follows the recorded cells
    EXPECT_TRUE(g.modified);
    EXPECT_EQ(g.log, QStringList({ "main", "repaint", "refresh 1" }));
    EXPECT_EQ(u.GetTopStep()->Before.ForeIndex, 4);

    g.fore = 7;
    g.log.clear();
    ASSERT_TRUE(u.Undo());
    EXPECT_EQ(PictureRows(g.pic), PictureRows(MakePicture({ { 0, 0, 0 }, { 0, 0, 0 } })));
    EXPECT_EQ(PictureRows(g.ref), PictureRows(g.pic));
    EXPECT_EQ(g.fore, 4);
    EXPECT_EQ(u.UndoCount(), 0);
    EXPECT_EQ(u.RedoCount(), 1);
    EXPECT_EQ(g.log, QStringList({ "floating 2", "pen", "settings view=1", "floating 0", "main", "zoom" }));

    ASSERT_TRUE(u.Redo());
    EXPECT_EQ(PictureRows(g.pic), PictureRows(MakePicture({ { 0, 9, 0 }, { 0, 0, 9 } })));
    EXPECT_EQ(u.UndoCount(), 1);
    EXPECT_EQ(u.RedoCount(), 0);
}

// The rules are applied on recording: a cell of a protected colour is put back and not
// recorded; with the repeat view on, the change is copied into every repeat.
TEST_F(UndoStore, CellStepAppliesRulesAndRepeats)
{
    FakeGrid g;
    setPicture(g, { { 0, 0, 0, 0 }, { 0, 0, 0, 3 } });
    g.protectedSet.set(3);
    g.repeat.UnitWidth = 2;
    g.repeat.UnitHeight = 2;
    g.repeat.HorzCount = 2;
    g.repeat.VertCount = 1;
    g.repeat.Value1 = 1;
    g.repeat.Flags[0] = g.repeat.Flags[1] = 1;
    TUndo u(g);
    paint(g, u, { { 0, 0 }, { 3, 1 } }, 5);
    EXPECT_EQ(PictureRows(g.pic), PictureRows(MakePicture({ { 5, 0, 5, 0 }, { 0, 0, 0, 3 } })));
    ASSERT_EQ(u.GetTopStep()->Data.size(), 2u);
    ASSERT_TRUE(u.Undo());
    EXPECT_EQ(PictureRows(g.pic), PictureRows(MakePicture({ { 0, 0, 0, 0 }, { 0, 0, 0, 3 } })));
}

TEST_F(UndoStore, LimitOfOneKeepsTheNewerStepAndFreesTheOlder)
{
    StartSettings().MaxUndoCount = 1;
    FakeGrid g;
    setPicture(g, { { 0, 0 } });
    TUndo u(g);
    u.MemoryStepBytes = 0; // the file form
    ASSERT_TRUE(u.SaveImageStep());
    const QString oldFile = u.GetTopStep()->BeforeFile;
    ASSERT_TRUE(QFile::exists(oldFile));
    paint(g, u, { { 0, 0 } }, 1);
    paint(g, u, { { 1, 0 } }, 2);
    EXPECT_EQ(u.UndoCount(), 1);
    EXPECT_FALSE(QFile::exists(oldFile));
    ASSERT_TRUE(u.Undo());
    EXPECT_EQ(PictureRows(g.pic), PictureRows(MakePicture({ { 1, 0 } })));
    ASSERT_TRUE(u.Undo()); // nothing left
    EXPECT_EQ(PictureRows(g.pic), PictureRows(MakePicture({ { 1, 0 } })));
}

TEST_F(UndoStore, NewStepClearsRedoAndDeletesItsFiles)
{
    FakeGrid g;
    setPicture(g, { { 0, 1 }, { 2, 3 } });
    TUndo u(g);
    u.MemoryStepBytes = 0; // the file form
    ASSERT_TRUE(u.SaveImageStep());
    ASSERT_TRUE(u.SaveLayerStep());
    const QStringList files = { u.UndoSteps[0]->AfterFile, u.UndoSteps[0]->BeforeFile,
        u.UndoSteps[1]->AfterFile, u.UndoSteps[1]->BeforeFile };
    for (const QString &f : files) {
        EXPECT_TRUE(f.startsWith(Folders().ScanImgPath)) << qPrintable(f);
        EXPECT_TRUE(QFile::exists(f)) << qPrintable(f);
    }
    EXPECT_EQ(QSet<QString>(files.begin(), files.end()).size(), 4);
    ASSERT_TRUE(u.Undo());
    ASSERT_TRUE(u.Undo());
    EXPECT_EQ(u.RedoCount(), 2);
    paint(g, u, { { 0, 0 } }, 7);
    EXPECT_EQ(u.RedoCount(), 0);
    for (const QString &f : files)
        EXPECT_FALSE(QFile::exists(f)) << qPrintable(f);
}

// Stores never share a file name, and a store's names stay apart across its steps.
TEST_F(UndoStore, TemporaryNamesAreUniquePerDocument)
{
    std::vector<std::unique_ptr<FakeGrid>> grids;
    std::vector<std::unique_ptr<TUndo>> stores;
    QSet<QString> names;
    for (int i = 0; i < 3; ++i) {
        grids.push_back(std::make_unique<FakeGrid>());
        setPicture(*grids.back(), { { 0 } });
        stores.push_back(std::make_unique<TUndo>(*grids.back()));
        stores.back()->MemoryStepBytes = 0; // the file form
        for (int k = 0; k < 4; ++k) {
            ASSERT_TRUE(stores.back()->SaveImageStep());
            names.insert(stores.back()->GetTopStep()->AfterFile);
        }
    }
    EXPECT_EQ(names.size(), 12);
    EXPECT_EQ(QFileInfo(*names.begin()).absolutePath() + "/", Folders().TempDir);
}

TEST_F(UndoStore, WithoutTemporaryFolderNothingIsRecorded)
{
    FakeGrid g;
    setPicture(g, { { 0 } });
    TUndo u(g);
    u.MemoryStepBytes = 0; // the file form
    Folders().ScanImgPath.clear();
    QString error;
    EXPECT_FALSE(u.SaveImageStep(&error));
    EXPECT_FALSE(u.SaveLayerStep());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(u.UndoCount(), 0);
}

// Whole-picture steps come back exactly, kept in memory or in files: every index and every
// colour-table entry, and a palette without pure white or black stays without them.
TEST_F(UndoStore, WholePictureStepRoundTripsExactly)
{
    for (const std::size_t limit : { TUndo::DefaultMemoryStepBytes, std::size_t(0) }) {
        SCOPED_TRACE(limit ? "memory" : "files");
        TPalette256 pal;
        for (int i = 0; i < 256; ++i)
            pal[i] = { std::uint8_t(1 + i % 200), std::uint8_t(3 + i % 97), std::uint8_t(2 + i % 151), 0 };
        FakeGrid g;
        g.pic = NewPicture(301, 7, pal); // odd width: rows are padded in the file
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 301; ++x)
                g.pic.scanLine(y)[x] = std::uint8_t(x * 7 + y);
        g.ref = g.pic.copy();
        const QImage before = g.ref.copy();
        // The transform: the picture is mirrored, RefBitmap still holds the old one.
        g.pic = g.pic.mirrored(true, false);
        const QImage after = g.pic.copy();
        TUndo u(g);
        u.MemoryStepBytes = limit;
        ASSERT_TRUE(u.SaveImageStep());
        EXPECT_EQ(u.GetTopStep()->AfterPicture != nullptr, limit != 0);
        EXPECT_EQ(u.GetTopStep()->AfterFile.isEmpty(), limit != 0);
        g.ref = g.pic.copy();

        ASSERT_TRUE(u.Undo());
        EXPECT_EQ(PictureRows(g.pic), PictureRows(before));
        EXPECT_EQ(colorTable(g.pic), colorTable(before));
        EXPECT_EQ(g.log.count("settings view=0"), 1); // the repeat view is only stored
        ASSERT_TRUE(u.Redo());
        EXPECT_EQ(PictureRows(g.pic), PictureRows(after));
        EXPECT_EQ(colorTable(g.pic), colorTable(after));
    }
}

// A whole-picture step kept in memory counts towards the backup size; one whose pictures
// pack larger than the store's limit goes to files and counts nothing in memory.
TEST_F(UndoStore, MemoryStepsCountTowardsTheBackupSizeAndLargeOnesGoToFiles)
{
    FakeGrid g;
    g.pic = NewPicture(500, 400, GreyPalette());
    std::uint32_t seed = 7;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 500; ++x) {
            seed = seed * 1664525u + 1013904223u;
            g.pic.scanLine(y)[x] = std::uint8_t(seed >> 24); // noise: packs to about its size
        }
    g.ref = g.pic.copy();
    TUndo u(g);
    ASSERT_TRUE(u.SaveImageStep());
    const TUndoData &kept = *u.GetTopStep();
    ASSERT_TRUE(kept.BeforePicture && kept.AfterPicture);
    EXPECT_EQ(u.PackedByteCount(), kept.BeforePicture->PackedBytes() + kept.AfterPicture->PackedBytes());
    EXPECT_GT(u.PackedByteCount(), std::size_t(2 * 500 * 400 * 9 / 10));

    u.MemoryStepBytes = u.PackedByteCount() - 1;
    ASSERT_TRUE(u.SaveImageStep());
    EXPECT_FALSE(u.GetTopStep()->AfterPicture);
    EXPECT_TRUE(QFile::exists(u.GetTopStep()->AfterFile));
    EXPECT_EQ(u.PackedByteCount(), kept.BeforePicture->PackedBytes() + kept.AfterPicture->PackedBytes());
}

TEST_F(UndoStore, PaletteStepRoundTripsExactly)
{
    FakeGrid g;
    setPicture(g, { { 0 } });
    TPalette256 oldPal, newPal;
    for (int i = 0; i < 256; ++i) {
        oldPal[i] = { std::uint8_t(i / 2), std::uint8_t(254 - i / 3), std::uint8_t(i), std::uint8_t(i & 3) };
        newPal[i] = { std::uint8_t(255 - i), 0, std::uint8_t(i % 17), 0 };
    }
    g.displayPal = oldPal;
    g.pal = newPal;
    TUndo u(g);
    ASSERT_TRUE(u.SaveLayerStep());
    ASSERT_TRUE(u.Undo());
    EXPECT_EQ(g.pal, oldPal);
    EXPECT_FALSE(PaletteHasColor(g.pal, WhiteQuad));
    ASSERT_TRUE(u.Redo());
    EXPECT_EQ(g.pal, newPal);
}

// A temporary file that is missing or damaged changes nothing: the picture, the palette
// and both lists stay, nothing is sent, and the failure is reported.
TEST_F(UndoStore, MissingOrDamagedFileChangesNothing)
{
    struct Case {
        const char *name;
        bool palette;
        QByteArray content; // empty: the file is removed
    };
    const std::vector<Case> cases
        = { { "picture missing", false, {} }, { "picture truncated", false, QByteArray("BM\x10\0", 4) },
              { "palette missing", true, {} }, { "palette truncated", true, QByteArray(600, '\0') },
              { "palette too long", true, EncodePaletteFile(TPalette256 {}) + "x" } };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        FakeGrid g;
        setPicture(g, { { 1, 2 } });
        TUndo u(g);
        u.MemoryStepBytes = 0; // the file form
        ASSERT_TRUE(c.palette ? u.SaveLayerStep() : u.SaveImageStep());
        const QString file = u.GetTopStep()->BeforeFile;
        if (c.content.isEmpty())
            ASSERT_TRUE(QFile::remove(file));
        else
            ASSERT_TRUE(WriteAll(file, c.content));
        g.log.clear();
        const TPalette256 pal = g.pal;
        QString error;
        EXPECT_FALSE(u.Undo(&error));
        EXPECT_TRUE(error.contains(file)) << qPrintable(error);
        EXPECT_TRUE(g.log.isEmpty()) << qPrintable(g.log.join(", "));
        EXPECT_EQ(PictureRows(g.pic), PictureRows(MakePicture({ { 1, 2 } })));
        EXPECT_EQ(g.pal, pal);
        EXPECT_EQ(u.UndoCount(), 1);
        EXPECT_EQ(u.RedoCount(), 0);
    }
}

// Shifts are undone by the picture's own side, not the repeat unit's, and replaying a
// shift records nothing.
TEST_F(UndoStore, ShiftStepsUndoAndRedo)
{
    for (const bool rows : { true, false }) {
        SCOPED_TRACE(rows ? "rows" : "columns");
        FakeGrid g;
        setPicture(
            g, { { 0, 1, 2, 3, 4 }, { 5, 6, 7, 8, 9 }, { 10, 11, 12, 13, 14 }, { 15, 16, 17, 18, 19 } });
        g.repeat.UnitWidth = g.repeat.UnitHeight = 2;
        TUndo u(g);
        g.store = &u;
        const QImage original = g.pic.copy();
        rows ? g.ShiftPictureVert(3) : g.ShiftPictureHorz(3);
        const QImage shifted = g.pic.copy();
        ASSERT_EQ(u.UndoCount(), 1);
        EXPECT_EQ(u.GetTopStep()->Kind, rows ? TUndoKind::ShiftVert : TUndoKind::ShiftHorz);

        ASSERT_TRUE(u.Undo());
        EXPECT_EQ(PictureRows(g.pic), PictureRows(original));
        EXPECT_EQ(u.UndoCount(), 0);
        EXPECT_EQ(u.RedoCount(), 1);
        EXPECT_EQ(g.mode, UndoModeRecord);
        ASSERT_TRUE(u.Redo());
        EXPECT_EQ(PictureRows(g.pic), PictureRows(shifted));
        EXPECT_EQ(u.UndoCount(), 1);
        EXPECT_EQ(u.RedoCount(), 0);
    }
}

TEST_F(UndoStore, SettingsStepWithAndWithoutUpdateTopState)
{
    FakeGrid g;
    setPicture(g, { { 0 } });
    g.repeat.UnitWidth = 6;
    g.repeat.UnitHeight = 4;
    g.repeat.Offsets = TPicOffSetArray { 1, 2 };
    TUndo u(g);
    RunState().HorzWidth = 2;
    u.SaveStateStep();
    EXPECT_FALSE(g.modified);
    // Settings change without UpdateTopState: redo brings back what Before holds.
    g.weft = 11;
    g.repeat.Offsets[0] = 9; // an edit of the grid's own array does not reach the step
    RunState().HorzWidth = 5;
    ASSERT_TRUE(u.Undo());
    EXPECT_EQ(g.weft, 30);
    EXPECT_EQ(RunState().HorzWidth, 2);
    EXPECT_EQ(g.repeat.Offsets[0], 1);
    g.weft = 12;
    ASSERT_TRUE(u.Redo());
    EXPECT_EQ(g.weft, 30);

    // With UpdateTopState, redo gives the new settings.
    g.weft = 44;
    g.log.clear();
    u.UpdateTopState();
    EXPECT_EQ(g.log, QStringList({ "main", "size 6x4" }));
    ASSERT_TRUE(u.Undo());
    EXPECT_EQ(g.weft, 30);
    ASSERT_TRUE(u.Redo());
    EXPECT_EQ(g.weft, 44);
}

TEST_F(UndoStore, EmptyUndoAndSuspendedRecordingDoNothing)
{
    FakeGrid g;
    setPicture(g, { { 0, 0 } });
    TUndo u(g);
    EXPECT_TRUE(u.Undo());
    EXPECT_TRUE(u.Redo());
    EXPECT_TRUE(g.log.isEmpty());

    g.mode = UndoModeSuspended;
    paint(g, u, { { 0, 0 } }, 3);
    EXPECT_TRUE(u.SaveImageStep());
    u.SaveStateStep();
    u.SaveShiftStep(1, TUndoKind::ShiftVert);
    EXPECT_EQ(u.UndoCount(), 0);
    EXPECT_EQ(g.ref.pixelIndex(0, 0), 0);
    // Floating objects are recorded regardless.
    u.PushObjectStep(TUndoKind::Bitmap, std::make_unique<FakeFloating>("a"));
    EXPECT_EQ(u.UndoCount(), 1);
    u.Clear();
    EXPECT_EQ(g.mode, UndoModeRecord);
    EXPECT_EQ(u.UndoCount(), 0);
    EXPECT_TRUE(u.UndoBitmaps.empty());
}

// Floating objects and drawing-object copies travel with their steps and leave with them.
TEST_F(UndoStore, ObjectsAndShapeCopiesFollowTheirSteps)
{
    StartSettings().MaxUndoCount = 2;
    FakeGrid g;
    setPicture(g, { { 0, 0 } });
    TUndo u(g);
    u.PushObjectStep(TUndoKind::Bitmap, std::make_unique<FakeFloating>("one"));
    u.PushObjectStep(TUndoKind::Text, std::make_unique<FakeFloating>("text"));
    u.PushObjectStep(TUndoKind::Bitmap, std::make_unique<FakeFloating>("two"));
    // The oldest step left with its object.
    ASSERT_EQ(u.UndoBitmaps.size(), 1u);
    EXPECT_EQ(static_cast<FakeFloating *>(u.GetTopBitmapObject())->name, "two");
    EXPECT_EQ(u.GetTopTextObject(), nullptr);
    ASSERT_TRUE(u.Undo());
    EXPECT_EQ(u.RedoBitmaps.size(), 1u);
    EXPECT_EQ(static_cast<FakeFloating *>(u.GetTopTextObject())->name, "text");
    ASSERT_TRUE(u.Redo());
    EXPECT_EQ(static_cast<FakeFloating *>(u.GetTopBitmapObject())->name, "two");

    // A rectangle being drawn (with three vertices) is kept with the step; undoing the
    // step brings it back with the step's tool.
    u.Clear();
    g.tool = TToolId::Rectangle;
    g.shapeVertices = 3;
    paint(g, u, { { 0, 0 } }, 1);
    ASSERT_NE(u.GetTopStep()->ShapeCopy, nullptr);
    EXPECT_EQ(u.UndoShapes.size(), 1u);
    g.tool = TToolId::NoTool;
    g.shapeVertices = 0;
    ASSERT_TRUE(u.Undo());
    EXPECT_EQ(g.shapeVertices, 3);
    EXPECT_EQ(g.tool, TToolId::Rectangle);
    EXPECT_EQ(u.RedoShapes.size(), 1u);
    ASSERT_TRUE(u.Redo());
    EXPECT_EQ(g.shapeVertices, 0); // redo resets the drawing object
    EXPECT_EQ(u.UndoShapes.size(), 1u);
    // The copy leaves with its step when the limit drops it.
    g.tool = TToolId::NoTool;
    paint(g, u, { { 1, 0 } }, 2);
    paint(g, u, { { 1, 0 } }, 3);
    EXPECT_TRUE(u.UndoShapes.empty());
}

TEST_F(UndoStore, RectStepAsReplacesTheNewestStepAndKeepsRedo)
{
    FakeGrid g;
    setPicture(g, { { 0, 0, 0 } });
    TUndo u(g);
    paint(g, u, { { 0, 0 } }, 1);
    paint(g, u, { { 1, 0 } }, 2);
    ASSERT_TRUE(u.Undo());
    g.pic.scanLine(0)[2] = 3;
    const auto unnamedKind = static_cast<TUndoKind>(12);
    u.SaveRectStepAs(TRect { 0, 0, 2, 0 }, unnamedKind);
    EXPECT_EQ(u.UndoCount(), 1);
    EXPECT_EQ(u.RedoCount(), 1);
    EXPECT_EQ(u.GetTopStep()->Kind, unnamedKind);
    ASSERT_EQ(u.GetTopStep()->Data.size(), 1u);
    ASSERT_TRUE(u.Undo()); // replays like a cell step
    EXPECT_EQ(PictureRows(g.pic), PictureRows(MakePicture({ { 1, 0, 0 } })));
}

// SaveRectStep's two flags: ignoring the selection still keeps protected colours;
// ignoring the rules accepts every changed cell.
TEST_F(UndoStore, RectStepFlagsIgnoreTheSelectionOrEveryRule)
{
    struct Case {
        const char *name;
        bool ignoreRules, ignoreRegion;
        std::vector<std::vector<int>> picture; // after recording
    };
    const std::vector<Case> cases = {
        { "rules applied", false, false, { { 7, 3, 0 } } },
        { "selection ignored", false, true, { { 7, 3, 7 } } },
        { "rules ignored", true, false, { { 7, 7, 7 } } },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        FakeGrid g;
        setPicture(g, { { 0, 3, 0 } });
        g.protectedSet.set(3);
        g.selection = QRegion(0, 0, 2, 1); // cells (0, 0) and (1, 0)
        TUndo u(g);
        g.pic.fill(7);
        u.SaveRectStep(TRect { 0, 0, 2, 0 }, c.ignoreRules, c.ignoreRegion);
        EXPECT_EQ(PictureRows(g.pic), c.picture);
        EXPECT_EQ(PictureRows(g.ref), c.picture);
        ASSERT_TRUE(u.Undo());
        EXPECT_EQ(PictureRows(g.pic), PictureRows(MakePicture({ { 0, 3, 0 } })));
    }
}

// A settings step keeps the redo side; any other new step empties it, objects included.
TEST_F(UndoStore, SettingsStepKeepsRedoOtherStepsEmptyIt)
{
    FakeGrid g;
    setPicture(g, { { 0, 0 } });
    TUndo u(g);
    u.PushObjectStep(TUndoKind::Bitmap, std::make_unique<FakeFloating>("pasted"));
    ASSERT_TRUE(u.Undo());
    ASSERT_EQ(u.RedoBitmaps.size(), 1u);
    u.SaveStateStep();
    EXPECT_EQ(u.RedoCount(), 1);
    EXPECT_EQ(u.RedoBitmaps.size(), 1u);
    paint(g, u, { { 0, 0 } }, 1);
    EXPECT_EQ(u.RedoCount(), 0);
    EXPECT_TRUE(u.RedoBitmaps.empty());
    EXPECT_EQ(u.UndoCount(), 2);
}

// 524,288 entries are exactly 3 MB: the warning comes only above the limit, and counts
// the steps of every store.
TEST_F(UndoStore, SizeCheckOverAllStores)
{
    StartSettings().MaxBakDataSize = 3.0;
    FakeGrid a, b;
    a.pic = NewPicture(1024, 512, GreyPalette());
    a.ref = a.pic.copy();
    a.pic.fill(1);
    b.pic = NewPicture(2, 1, GreyPalette());
    b.ref = b.pic.copy();
    TUndo ua(a), ub(b);
    EXPECT_EQ(UndoObjects().size(), 2u);
    ua.SaveRectStep(TRect { 0, 0, 1023, 511 }, false, false);
    EXPECT_DOUBLE_EQ(RunState().UndoDataSize, 3.0);
    EXPECT_TRUE(warnings.isEmpty());
    b.pic.fill(1);
    ub.SaveRectStep(TRect { 0, 0, 0, 0 }, false, false);
    EXPECT_EQ(warnings, QStringList({ UndoSizeWarningCaption() + UndoSizeWarningText() }));
    EXPECT_EQ(UndoSizeWarningText(),
        QStringLiteral("备份的数据已经超过设定的最大值\r\n"
                       "请保存图片并清空备份数据，否则可能引起操作速度变慢！"));
    EXPECT_EQ(UndoSizeWarningCaption(), QStringLiteral("备份数据提示"));
    EXPECT_EQ(ub.UndoCount(), 1); // the step is kept
    // Undone steps still count.
    ASSERT_TRUE(ua.Undo());
    EXPECT_TRUE(CheckUndoDataSize());
    ua.Clear();
    EXPECT_FALSE(CheckUndoDataSize());
}

// The shape being drawn is kept with a step for the shape tools only; every tool number
// is tried, so a tool given the wrong number shows here.
TEST_F(UndoStore, ShapeCopiesAreKeptForTheShapeToolsOnly)
{
    const std::set<int> shapeTools { 9, 10, 17, 18, 19, 20, 21, 22, 26, 27, 28, 34, 35, 38 };
    for (int id = 0; id <= MaxToolId; ++id) {
        FakeGrid g;
        setPicture(g, { { 0, 0 } });
        TUndo u(g);
        g.tool = static_cast<TToolId>(id);
        g.shapeVertices = 2;
        paint(g, u, { { 0, 0 } }, 1);
        EXPECT_EQ(u.GetTopStep()->ShapeCopy != nullptr, shapeTools.count(id) == 1) << "tool " << id;
    }
}

// Redo resets the drawing object, except for the clear-mottle pair, whose ready shape
// keeps following the pointer.
TEST_F(UndoStore, RedoKeepsTheShapeOfTheClearMottleTools)
{
    struct Case {
        TToolId tool;
        int verticesAfterRedo;
    } cases[] = {
        { TToolId::ClearMottleByRect, 2 },
        { TToolId::ClearMottleByCircle, 2 },
        { TToolId::Rectangle, 0 },
        { TToolId::Move, 0 },
    };
    for (const Case &c : cases) {
        FakeGrid g;
        setPicture(g, { { 0, 0 } });
        TUndo u(g);
        paint(g, u, { { 0, 0 } }, 1);
        ASSERT_TRUE(u.Undo());
        g.tool = c.tool;
        g.shapeVertices = 2;
        ASSERT_TRUE(u.Redo());
        EXPECT_EQ(g.shapeVertices, c.verticesAfterRedo) << "tool " << ToolIdValue(c.tool);
    }
}
