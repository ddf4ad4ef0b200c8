// A document without its window: saving by type, the close decision, and the record
// prepared for card work.
#include "shell/document.h"

#include "card/projectfile.h"
#include "core/settings/recentfiles.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "fakequestions.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {
struct DocumentFixture : ::testing::Test {
    QTemporaryDir dir;
    TPatternGrid grid;
    TDocument doc { grid };
    TFakeQuestions ask;

    void SetUp() override
    {
        ASSERT_TRUE(InitSharedState());
        QFile::remove(Folders().ConfigIniPath);
        grid.SetPalette(GreyPalette());
        grid.SetPicture(MakePicture({ { 1, 1, 2 }, { 2, 1, 3 } }, GreyPalette()));
        grid.RebuildDisplayBitmap();
        doc.InitDocument();
        grid.ClearModified();
    }
    QString path(const QString &name) const { return dir.filePath(name); }
    // An existing bitmap the document is (its caption).
    void beExistingBitmap(const QString &name)
    {
        ASSERT_TRUE(grid.SaveToFile(path(name)));
        doc.SetCaption(path(name));
    }
};
} // namespace

// Where each save goes and what it does to the caption, the recent-file list and the
// modified mark: only a bitmap or project becomes the document; an export leaves the
// document marked modified, since its caption still names the old file.
TEST_F(DocumentFixture, SaveRoutingByType)
{
    struct Case {
        const char *what;
        const char *caption; // "" = untitled, else an existing file of that name
        TSaveCommand command;
        bool dialogAccepts;
        TSaveFileType type;
        const char *chosen; // relative to the folder
        const char *written; // expected file, "" = none
        bool dialogShown, captionBecomesFile, modifiedAfter;
    } cases[] = {
        { "save of an existing bitmap writes it without a dialog", "a.bmp", TSaveCommand::Save, false,
            TSaveFileType::Bitmap, "", "a.bmp", false, true, false },
        { "save of an existing lower-case .Bmp too", "b.Bmp", TSaveCommand::Save, false,
            TSaveFileType::Bitmap, "", "b.Bmp", false, true, false },
        { "save of an untitled document asks", "", TSaveCommand::Save, true, TSaveFileType::Bitmap, "new.png",
            "new.BMP", true, true, false },
        { "save of an existing PCX asks", "c.pcx", TSaveCommand::Save, true, TSaveFileType::Bitmap, "c",
            "c.BMP", true, true, false },
        { "save as on a bitmap asks", "d.bmp", TSaveCommand::SaveAs, true, TSaveFileType::Bitmap, "e.bmp",
            "e.BMP", true, true, false },
        { "export as PCX", "f.bmp", TSaveCommand::SaveAs, true, TSaveFileType::Pcx, "f.bmp", "f.PCX", true,
            false, true },
        { "export as a QS card", "g.bmp", TSaveCommand::SaveAs, true, TSaveFileType::Qs, "g", "g.QS", true,
            false, true },
        { "export as an OVWB card", "h.bmp", TSaveCommand::SaveAs, true, TSaveFileType::Ovwb, "h", "h.Ovwb",
            true, false, true },
        { "export as a weave", "i.bmp", TSaveCommand::SaveAs, true, TSaveFileType::Weave, "i.x.y", "i.x.Ovw",
            true, false, true },
        { "cancelled dialog", "", TSaveCommand::SaveAs, false, TSaveFileType::Bitmap, "", "", true, false,
            true },
        { "failed write", "", TSaveCommand::SaveAs, true, TSaveFileType::Bitmap, "no-such-folder/x", "", true,
            false, true },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(Folders().ConfigIniPath);
        if (*c.caption)
            beExistingBitmap(QString::fromUtf8(c.caption));
        else
            doc.SetCaption(GetUiMessage(UiKey::String::UnilitedName) + "1");
        const QString before = doc.Caption();
        grid.SetModified();
        ask = TFakeQuestions();
        ask.DialogAccepts = c.dialogAccepts;
        ask.DialogType = c.type;
        ask.DialogFile = path(QString::fromUtf8(c.chosen));

        const bool saved = doc.SaveDocument(c.command, ask);

        const QString written = *c.written ? path(QString::fromUtf8(c.written)) : QString();
        EXPECT_EQ(saved, !written.isEmpty());
        EXPECT_EQ(ask.DialogsShown, c.dialogShown ? 1 : 0);
        if (!written.isEmpty()) {
            EXPECT_TRUE(QFileInfo(written).isFile()) << written.toStdString();
            EXPECT_EQ(ReadMostRecentFile(), written);
        } else {
            EXPECT_TRUE(ReadRecentFileList().isEmpty());
        }
        EXPECT_EQ(doc.Caption(), c.captionBecomesFile ? written : before);
        EXPECT_EQ(doc.Modified(), c.modifiedAfter);
        if (c.type == TSaveFileType::Qs) {
            EXPECT_EQ(ask.Messages.size(), 1) << "a QS card of other than 144 needles is pointed out";
        }
        if (std::string(c.what) == "failed write") {
            EXPECT_EQ(ask.Messages.size(), 1) << "a failed save says so";
        }
        if (c.dialogShown && *c.caption == 0) {
            EXPECT_EQ(ask.DialogProposed, before);
        }
    }
    EXPECT_EQ(ask.DialogFolder, Folders().PictureDir);
}

// Save writes a project or bitmap the document is again as that type, so that a project
// keeps its row tables and weaves; the dialog starts at the document's own type and folder.
TEST_F(DocumentFixture, SaveStartsFromTheDocumentsOwnTypeAndFolder)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
    ASSERT_TRUE(grid.SaveToFile(path("sub/pic.pcx")));
    doc.SetCaption(path("own.Ovy"));
    ask = TFakeQuestions();
    ask.DialogAccepts = true;
    ask.DialogType = TSaveFileType::Project;
    ask.DialogFile = path("own");
    ASSERT_TRUE(doc.SaveDocument(TSaveCommand::SaveAs, ask));
    const struct {
        const char *what;
        QString caption;
        TSaveCommand command;
        bool dialogShown;
        TSaveFileType offered;
        QString folder;
    } cases[] = {
        { "save of an existing project writes it without a dialog", path("own.Ovy"), TSaveCommand::Save,
            false, TSaveFileType::Bitmap, QString() },
        { "save as of a project offers a project in its folder", path("own.Ovy"), TSaveCommand::SaveAs, true,
            TSaveFileType::Project, dir.path() },
        { "save of a project whose file is gone asks, as a project", path("sub/gone.OVY"), TSaveCommand::Save,
            true, TSaveFileType::Project, path("sub") },
        { "save of a PCX asks for a bitmap in its folder", path("sub/pic.pcx"), TSaveCommand::Save, true,
            TSaveFileType::Bitmap, path("sub") },
        { "an untitled document starts in the picture folder",
            GetUiMessage(UiKey::String::UnilitedName) + "1", TSaveCommand::Save, true, TSaveFileType::Bitmap,
            Folders().PictureDir },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        doc.SetCaption(c.caption);
        grid.SetModified();
        ask = TFakeQuestions(); // the dialog, when shown, is cancelled
        const bool saved = doc.SaveDocument(c.command, ask);
        EXPECT_EQ(ask.DialogsShown, c.dialogShown ? 1 : 0);
        EXPECT_EQ(saved, !c.dialogShown);
        if (c.dialogShown) {
            EXPECT_EQ(ask.DialogOfferedType, c.offered);
            EXPECT_EQ(ask.DialogFolder, c.folder);
        } else {
            TProjectRecord record;
            EXPECT_TRUE(LoadProjectFile(c.caption, record)) << "written as the project it is";
            EXPECT_FALSE(doc.Modified());
        }
    }
}

// Closing never loses work: Yes closes only once the document itself is saved.
TEST_F(DocumentFixture, CloseDecision)
{
    struct Case {
        const char *what;
        bool modified;
        TSaveAnswer answer;
        bool dialogAccepts;
        TSaveFileType type;
        const char *chosen;
        bool closes;
    } cases[] = {
        { "unmodified closes without a question", false, TSaveAnswer::Cancel, false, TSaveFileType::Bitmap,
            "", true },
        { "No closes without saving", true, TSaveAnswer::No, false, TSaveFileType::Bitmap, "", true },
        { "Cancel keeps the window", true, TSaveAnswer::Cancel, false, TSaveFileType::Bitmap, "", false },
        { "Yes with the dialog cancelled keeps it", true, TSaveAnswer::Yes, false, TSaveFileType::Bitmap, "",
            false },
        { "Yes with a failed write keeps it", true, TSaveAnswer::Yes, true, TSaveFileType::Bitmap,
            "none/x.bmp", false },
        { "Yes with an export keeps it", true, TSaveAnswer::Yes, true, TSaveFileType::Pcx, "x", false },
        { "Yes with a saved bitmap closes", true, TSaveAnswer::Yes, true, TSaveFileType::Bitmap, "y", true },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        doc.SetCaption(path("doc.png"));
        if (c.modified)
            grid.SetModified();
        else
            grid.ClearModified();
        ask = TFakeQuestions();
        ask.SaveAnswer = c.answer;
        ask.DialogAccepts = c.dialogAccepts;
        ask.DialogType = c.type;
        ask.DialogFile = path(QString::fromUtf8(c.chosen));
        EXPECT_EQ(doc.CloseQuery(ask), c.closes);
        if (c.modified) {
            ASSERT_FALSE(ask.Asked.isEmpty());
            EXPECT_EQ(ask.Asked.first(), path("doc") + GetUiMessage(UiKey::String::FileHasModified));
        } else {
            EXPECT_TRUE(ask.Asked.isEmpty());
        }
        if (!c.closes) {
            EXPECT_TRUE(doc.Modified()) << "the work is still marked unsaved";
        }
    }
}

TEST_F(DocumentFixture, GrowPickTables)
{
    TMesh &m = doc.Record();
    ASSERT_EQ(m.WeftRepeat, 1);
    // Removing the only entry changes nothing.
    doc.GrowPickTables(false, -1);
    EXPECT_EQ(m.WeftRepeat, 1);
    EXPECT_EQ(m.PickRows.length(), 1);
    EXPECT_TRUE(doc.RowTablesUnchanged() == false);

    // Growing by 2 with the no-pick flag: shuttle 0, stop-motion 1, density step e + 1.
    doc.GrowPickTables(true, 2);
    EXPECT_EQ(m.WeftRepeat, 3);
    ASSERT_EQ(m.PickRows.length(), 3);
    for (int e = 1; e < 3; ++e)
        for (int r = 0; r < m.Wefts; ++r) {
            EXPECT_EQ(m.PickRows[e][r], 0);
            EXPECT_EQ(m.RegulatorRows[e][r], 1);
            EXPECT_EQ(m.WeftDensRows[e][r], e + 1);
        }
    EXPECT_EQ(m.TechWeaves.length(), 9);
    // Entries beyond the 16 table entries cycle through 1..16, never above.
    doc.GrowPickTables(false, 20);
    for (int e = 0; e < m.PickRows.length(); ++e) {
        EXPECT_LE(m.PickRows[e][0], 16);
        EXPECT_LE(m.WeftDensRows[e][0], 16);
    }
}

// The record before card work: what the designer entered is kept, what no longer fits is
// rebuilt, and the colour weaves follow the colours.
TEST_F(DocumentFixture, PrepareDocumentRecord)
{
    struct Case {
        const char *what;
        TPrepareMode mode;
        bool wrongRowLength; // the row tables were made for another pattern height
    } cases[] = {
        { "mode 0 keeps entered tables", TPrepareMode::KeepColorWeaves, false },
        { "mode 1 keeps entered tables", TPrepareMode::ResetColorWeaves, false },
        { "mode 0 rebuilds mismatched tables", TPrepareMode::KeepColorWeaves, true },
        { "mode 1 rebuilds mismatched tables", TPrepareMode::ResetColorWeaves, true },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        doc.InitDocument();
        TMesh &m = doc.Record();
        m.PickRows[0][1] = 5; // entered in a row-table window
        if (c.wrongRowLength)
            m.PickRows[0].setLength(7);
        // Technical slots beyond 3 x WeftRepeat with a name are kept.
        m.TechWeaves.setLength(5);
        m.TechWeaves[4] = MakeWeaveArray(3, 3, 1);
        m.TechWeaveNames->append({ "", "heald" });
        m.ColorWeaves[0] = MakeWeaveArray(4, 4, 1); // a colour weave assigned by the designer

        ASSERT_TRUE(doc.PrepareDocumentRecord(c.mode));
        // Colours 1 (three cells), 2 (two) and 3 (one), most frequent first.
        ASSERT_EQ(m.Colors.length(), 3);
        EXPECT_EQ(m.Colors[0], 0x010101);
        EXPECT_EQ(m.Colors[2], 0x030303);
        EXPECT_EQ(m.Warps, 3);
        EXPECT_EQ(m.Wefts, 2);
        EXPECT_EQ(m.Picture, &grid.Picture());
        ASSERT_EQ(m.PickRows[0].length(), 2);
        EXPECT_EQ(m.PickRows[0][1], c.wrongRowLength ? 1 : 5);
        EXPECT_EQ(m.TechWeaves.length(), 5);
        EXPECT_EQ(m.TechWeaveNames->value(4), "heald");
        EXPECT_EQ(m.ColorWeaves.length(), 3);
        EXPECT_EQ(m.ColorWeaves[0].length(), c.mode == TPrepareMode::KeepColorWeaves ? 4 : 2);
    }

    // A record that asks for more than a document holds changes nothing.
    doc.Record().WarpRepeat = 0;
    const qsizetype slots = doc.Record().ColorWeaves.length();
    QString error;
    EXPECT_FALSE(doc.PrepareDocumentRecord(TPrepareMode::KeepColorWeaves, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(doc.Record().ColorWeaves.length(), slots);
}

// Weaves assigned for two layers (rows of C x R slots beyond the one weft entry) survive the
// next card command; slots that no longer make whole rows of the colours are reset.
TEST_F(DocumentFixture, PrepareKeepsColourWeavesOfWholeLayerRows)
{
    struct Case {
        const char *what;
        qsizetype slots; // colour slots the record holds; the picture has 3 colours
        bool kept;
    } cases[] = {
        { "one row", 3, true },
        { "two layer rows", 6, true },
        { "fewer than one row", 2, false },
        { "not whole rows", 7, false },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        doc.InitDocument();
        TMesh &m = doc.Record();
        m.ColorWeaves.setLength(c.slots);
        for (qsizetype s = 0; s < c.slots; ++s)
            m.ColorWeaves[s] = MakeWeaveArray(5, 5, 1);
        m.ColorWeaveNames = std::make_shared<QStringList>();
        ASSERT_TRUE(doc.PrepareDocumentRecord(TPrepareMode::KeepColorWeaves));
        if (c.kept) {
            EXPECT_EQ(m.ColorWeaves.length(), c.slots);
            EXPECT_EQ(m.ColorWeaves[c.slots - 1].length(), 5);
            EXPECT_EQ(m.ColorWeaveNames->size(), c.slots);
        } else {
            EXPECT_EQ(m.ColorWeaves.length(), 3);
            EXPECT_EQ(m.ColorWeaves[0].length(), 2);
        }
    }
}

// A new document takes the dialog's layer count both as the grid's piece count and as the
// record's LayerCount, and keeps its values as the new-pattern defaults.
TEST_F(DocumentFixture, NewDocumentParameters)
{
    TNewPatternValues v;
    v.Warps = 40;
    v.Wefts = 30;
    v.LayerCount = 3;
    v.ColCount = 4;
    v.RowCount = 6;
    v.WarpDensity = 80;
    v.WeftDensity = 40;
    doc.ApplyNewDocumentParameters(v);
    doc.InitDocument(v.LayerCount);
    EXPECT_EQ(grid.ColCount(), 40);
    EXPECT_EQ(grid.RowCount(), 30);
    EXPECT_EQ(grid.ZoomLevel(), 12);
    EXPECT_EQ(grid.RepeatDisplayValues()[2], 3);
    EXPECT_EQ(doc.Record().LayerCount, 3);
    EXPECT_EQ(doc.Record().Warps, 40);
    EXPECT_EQ(doc.Record().PickRows[0].length(), 30);
    EXPECT_EQ(StartSettings().GrossOption.Warp, 40);
    EXPECT_EQ(StartSettings().GrossOption.GridColCount, 4);
    TGrossOption stored;
    ReadGrossOption(stored);
    EXPECT_EQ(stored.Weft, 30) << "the values are written back as the defaults";
    EXPECT_EQ(stored.WarpDensity, 80);
}
