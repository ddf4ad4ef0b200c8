// Saving documents from the main window with the real save dialog and message boxes, as a
// user at the screen answers them: Save As never replaces a file without asking about
// exactly that file, and a project document is saved again as the project it is.
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"

#include "card/cardwrite.h"
#include "card/projectfile.h"
#include "card/ui/cardsavedialog.h"
#include "card/ui/samplecardwindow.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "mainwindowfixture.h"
#include "modalscript.h"
#include "shell/savetypes.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

namespace {

struct SaveDialogs : TMainWindowFixture {
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartFreshSettings());
        RegisterPictureFormats();
        std::vector<int> row(6, 1);
        row[2] = 2;
        ASSERT_TRUE(SavePicture("pattern.bmp", MakePicture({ row, row, row, row })));
        ShowMainWindow();
        form->SetQuestions(nullptr); // the program's own boxes and dialog
    }
    QString path(const QString &name) const { return dir.filePath(name); }
    static QString filterOf(TSaveFileType type) { return SaveTypeFilters().value(int(type) - 1); }
    static QByteArray contents(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Clicks the button of the message box and keeps its text.
    static TModalScript::Step answer(QMessageBox::StandardButton button, QStringList &texts)
    {
        return On<QMessageBox>([button, &texts](QMessageBox *box) {
            texts << box->text();
            box->button(button)->click();
        });
    }
    static TModalScript::Step cancelDialog()
    {
        return On<QFileDialog>([](QFileDialog *d) { d->reject(); });
    }
    // Runs the script while work runs, then lets the last windows go.
    static void run(TModalScript &script, const std::function<void()> &work)
    {
        work();
        QCoreApplication::processEvents();
        EXPECT_TRUE(script.Done()) << script.Unexpected().join(',').toStdString();
    }
};

} // namespace

// A name typed without extension: the question names the file the type's extension gives
// (".Ovy", ".BMP", ... in their own letter case), No goes back to the dialog and leaves the
// file as it was, Yes replaces it.
TEST_F(SaveDialogs, SaveAsAsksAboutTheFileItWrites)
{
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    const struct {
        TSaveFileType type;
        const char *typed;
        const char *written;
        bool keepsDocument;
    } cases[] = {
        { TSaveFileType::Project, "kept", "kept.Ovy", true },
        { TSaveFileType::Bitmap, "picture", "picture.BMP", true },
        { TSaveFileType::Ovwb, "card", "card.Ovwb", false },
        { TSaveFileType::Weave, "weave", "weave.Ovw", false },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.written);
        const QString written = path(QString::fromUtf8(c.written));
        ASSERT_TRUE(WriteAll(written, "old bytes"));

        QStringList questions;
        {
            TModalScript script({ SaveAs(QString::fromUtf8(c.typed), filterOf(c.type)),
                answer(QMessageBox::No, questions), cancelDialog() });
            run(script, [&] { EXPECT_FALSE(child->SaveDocument(TSaveCommand::SaveAs)); });
        }
        EXPECT_EQ(questions, QStringList { GetUiMessage(UiKey::String::SaveReplaceQuestion).arg(written) });
        EXPECT_EQ(contents(written), "old bytes") << "No leaves the file as it was";

        questions.clear();
        {
            TModalScript script({ SaveAs(QString::fromUtf8(c.typed), filterOf(c.type)),
                answer(QMessageBox::Yes, questions) });
            run(script, [&] { EXPECT_TRUE(child->SaveDocument(TSaveCommand::SaveAs)); });
        }
        EXPECT_EQ(questions.size(), 1);
        EXPECT_NE(contents(written), "old bytes") << "Yes replaces it";
        EXPECT_EQ(child->Caption() == written, c.keepsDocument);
    }
    // Only the files asked about were written: no second file in another letter case.
    EXPECT_FALSE(QFileInfo::exists(path("kept.ovy")));
    EXPECT_FALSE(QFileInfo::exists(path("picture.bmp")));
}

// The card file and sample-card save dialogs ask through the same routine, about the file
// they return (the typed name with the dialog's extension).
TEST_F(SaveDialogs, CardDialogsAskAboutTheFileTheyReturn)
{
    TFrmYangKa editor(TYangkaImage(), 6, 1, form.get());
    Folders().YangKaDir = dir.path();
    const struct {
        const char *written;
        QString filter; // empty: the dialog's first
        std::function<QString()> choose;
    } cases[] = {
        { "loom.EP", CardDialogNameFilters(CardMakingSaveFilter()).value(0),
            [this] {
                QString chosen;
                int filterIndex = 0;
                ChooseCardSaveFile(form.get(), CardMakingSaveFilter(), dir.path(), chosen, filterIndex);
                return chosen;
            } },
        { "harness.OVYK", QString(), [&editor] { return editor.ChooseSaveFile(); } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.written);
        const QString written = path(QString::fromUtf8(c.written));
        ASSERT_TRUE(WriteAll(written, "old"));
        const QString typed = QFileInfo(written).completeBaseName();
        QStringList questions;
        QString chosen = "not run";
        {
            TModalScript script(
                { SaveAs(typed, c.filter), answer(QMessageBox::No, questions), cancelDialog() });
            run(script, [&] { chosen = c.choose(); });
        }
        EXPECT_EQ(chosen, QString());
        EXPECT_EQ(questions, QStringList { GetUiMessage(UiKey::String::SaveReplaceQuestion).arg(written) });
        {
            TModalScript script({ SaveAs(typed, c.filter), answer(QMessageBox::Yes, questions) });
            run(script, [&] { chosen = c.choose(); });
        }
        EXPECT_EQ(chosen, written);
        EXPECT_EQ(ReadAll(written), "old") << "the dialog only chooses";
    }
}

// A name whose file, once the type's extension is put on, is a folder: refused with a
// message naming it, and the dialog comes back.
TEST_F(SaveDialogs, SaveAsRefusesAFolder)
{
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.Ovy"));
    QStringList messages;
    TModalScript script({ SaveAs("folder.txt", filterOf(TSaveFileType::Project)),
        answer(QMessageBox::Ok, messages), cancelDialog() });
    run(script, [&] { EXPECT_FALSE(child->SaveDocument(TSaveCommand::SaveAs)); });
    EXPECT_EQ(
        messages, QStringList { GetUiMessage(UiKey::String::FileNotReplaceable).arg(path("folder.Ovy")) });
    EXPECT_TRUE(QFileInfo(path("folder.Ovy")).isDir());
}

// A project document: Save writes the project again without a dialog, so its row tables
// stay; the close question's Yes does the same; Save As starts at the project's own type
// and folder.
TEST_F(SaveDialogs, ProjectDocumentSavesAsItsOwnProject)
{
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    TDocument &doc = child->Document();
    ASSERT_TRUE(doc.PrepareDocumentRecord(TPrepareMode::KeepColorWeaves));
    doc.Record().PickRows[0][1] = 7; // entered in a row-table window
    const QString project = path("ribbon.Ovy");
    {
        TModalScript script({ SaveAs("ribbon", filterOf(TSaveFileType::Project)) });
        run(script, [&] { ASSERT_TRUE(child->SaveDocument(TSaveCommand::SaveAs)); });
    }
    ASSERT_EQ(child->Caption(), project);
    auto storedPick = [&] {
        TProjectRecord record;
        QString error;
        EXPECT_TRUE(LoadProjectFile(project, record, &error)) << error.toStdString();
        return record.Mesh.PickRows.isEmpty() ? -1 : int(record.Mesh.PickRows[0][1]);
    };
    EXPECT_EQ(storedPick(), 7);

    // Save: no dialog at all, the project rewritten.
    doc.Record().PickRows[0][1] = 9;
    child->PatternGrid().SetModified();
    {
        TModalScript script({});
        run(script, [&] { action("ActFileSave")->trigger(); });
    }
    EXPECT_EQ(storedPick(), 9);
    EXPECT_FALSE(doc.Modified());
    EXPECT_FALSE(QFileInfo::exists(path("ribbon.BMP")));

    // Save As: the dialog starts at the project type in the project's folder.
    QString shownFilter, shownFolder;
    {
        TModalScript script({ On<QFileDialog>([&](QFileDialog *d) {
            shownFilter = d->selectedNameFilter();
            shownFolder = d->directory().absolutePath();
            d->reject();
        }) });
        run(script, [&] { EXPECT_FALSE(child->SaveDocument(TSaveCommand::SaveAs)); });
    }
    EXPECT_EQ(shownFilter, filterOf(TSaveFileType::Project));
    EXPECT_EQ(shownFolder, QDir(dir.path()).absolutePath());

    // Closing with changes: Yes writes the project and the window goes.
    doc.Record().PickRows[0][1] = 11;
    child->PatternGrid().SetModified();
    QStringList questions;
    {
        TModalScript script({ answer(QMessageBox::Yes, questions) });
        run(script, [&] { EXPECT_TRUE(child->close()); });
    }
    EXPECT_EQ(questions.size(), 1);
    EXPECT_EQ(storedPick(), 11);
    EXPECT_FALSE(QFileInfo::exists(path("ribbon.BMP")));
}
