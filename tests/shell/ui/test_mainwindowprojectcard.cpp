// A project keeps its sample card: designed in the editor and never saved on its own, it is
// written beside the project in the same save and comes back with it, wherever the pair is
// moved; a card the project names but that cannot be read is reported, never replaced by
// another.
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"

#include "card/projectfile.h"
#include "card/ui/samplecardwindow.h"
#include "core/settings/recentfiles.h"
#include "core/settings/uitexts.h"
#include "mainwindowfixture.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTimer>

namespace {

struct ProjectCard : TMainWindowFixture {
    QString otherCard; // the editor's most recent card: another harness

    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartFreshSettings());
        RegisterPictureFormats();
        // 18 warps by 6 wefts: 144 needles are 8 repeats, 72 are 4.
        std::vector<int> row(18, 1);
        row[3] = 2;
        ASSERT_TRUE(SavePicture("ribbon.bmp", MakePicture({ row, row, row, row, row, row })));
        TYangkaImage other;
        other.SetJacquardCount(36);
        otherCard = dir.filePath("other.OVYK");
        ASSERT_TRUE(other.SaveToFile(otherCard));
        AddToRecentList(otherCard, QLatin1String(CardFormRecentSection));
        ShowMainWindow();
    }
    QString path(const QString &name) const { return dir.filePath(name); }

    // Opens the picture and designs a card of `jacquard` needles in the editor; OK without
    // saving the card unless saveTo is given.
    TMDIChild *designed(int jacquard, const QString &saveTo = QString())
    {
        TMDIChild *child = form->OpenChild(picture);
        if (!child)
            return nullptr;
        QTimer::singleShot(0, [jacquard, saveTo] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *editor = qobject_cast<TFrmYangKa *>(w); editor && editor->isVisible()) {
                    editor->EditJacquard->setText(QString::number(jacquard));
                    editor->ApplyJacquardCount();
                    if (!saveTo.isEmpty())
                        editor->SaveCardFile(saveTo);
                    editor->accept();
                }
        });
        action("ActDesignCard")->trigger();
        return child;
    }
    bool saveProject(TMDIChild *child, const QString &file)
    {
        ask.DialogAccepts = true;
        ask.DialogType = TSaveFileType::Project;
        ask.DialogFile = file;
        return child->SaveDocument(TSaveCommand::SaveAs);
    }
    static QString storedCardName(const QString &project)
    {
        TProjectRecord record;
        EXPECT_TRUE(LoadProjectFile(project, record));
        return record.Mesh.SampleCardFile;
    }
    TDocument *reopened(TMDIChild *child, const QString &project)
    {
        child->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        TMDIChild *again = form->OpenChild(project);
        return again ? &again->Document() : nullptr;
    }
};

} // namespace

// The card of the project, unsaved in the editor, is saved beside it and comes back with it;
// a later card command keeps the record on that card, not on the file it was started from.
TEST_F(ProjectCard, UnsavedCardIsSavedWithTheProject)
{
    TMDIChild *child = designed(72);
    ASSERT_NE(child, nullptr);
    TDocument &doc = child->Document();
    ASSERT_EQ(doc.SampleCard().JacquardCount(), 72);
    // The card command of card output confirms the card without the editor.
    ASSERT_TRUE(form->DesignSampleCard(*child, false));
    EXPECT_NE(doc.Record().SampleCardFile, otherCard) << "the card left that file when it was designed";

    ASSERT_TRUE(saveProject(child, path("ribbon"))) << ask.Messages.join('\n').toStdString();
    const QString card = path("ribbon.OVYK");
    EXPECT_TRUE(QFileInfo(card).isFile());
    EXPECT_EQ(doc.Record().SampleCardFile, card);
    EXPECT_EQ(storedCardName(path("ribbon.Ovy")), "ribbon.OVYK") << "named from the project's folder";
    EXPECT_TRUE(ask.Messages.isEmpty()) << ask.Messages.join('\n').toStdString();

    TDocument *again = reopened(child, path("ribbon.Ovy"));
    ASSERT_NE(again, nullptr) << ask.Messages.join('\n').toStdString();
    EXPECT_EQ(again->SampleCard().JacquardCount(), 72) << "the project's card, not the most recent one";
    EXPECT_EQ(again->Record().SampleCardFile, card);
    EXPECT_TRUE(ask.Messages.isEmpty()) << ask.Messages.join('\n').toStdString();
}

// The pair moved to another folder still opens with its card; the card gone, the project
// opens with a message naming it and a blank card, never the editor's recent one.
TEST_F(ProjectCard, MovedPairAndMissingCard)
{
    TMDIChild *child = designed(72);
    ASSERT_NE(child, nullptr);
    ASSERT_TRUE(saveProject(child, path("ribbon")));
    child->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(QDir(dir.path()).mkdir("moved"));
    for (const char *name : { "ribbon.Ovy", "ribbon.OVYK" })
        ASSERT_TRUE(QFile::rename(path(name), path(QStringLiteral("moved/") + name)));

    TMDIChild *moved = form->OpenChild(path("moved/ribbon.Ovy"));
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(moved->Document().SampleCard().JacquardCount(), 72);
    EXPECT_TRUE(ask.Messages.isEmpty()) << ask.Messages.join('\n').toStdString();
    moved->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    ASSERT_TRUE(QFile::remove(path("moved/ribbon.OVYK")));
    TMDIChild *missing = form->OpenChild(path("moved/ribbon.Ovy"));
    ASSERT_NE(missing, nullptr) << "the project itself opens";
    ASSERT_EQ(ask.Messages.size(), 1);
    EXPECT_TRUE(ask.Messages.first().contains(path("moved/ribbon.OVYK")))
        << ask.Messages.first().toStdString();
    EXPECT_EQ(missing->Document().SampleCard().JacquardCount(), TYangkaImage().JacquardCount())
        << "a blank card, not the recent card of 36 needles";
}

// A card saved in a folder whose name GBK lacks: the project beside it stores the bare name
// and saves; a card unchanged since its file was written is not written again.
TEST_F(ProjectCard, CardInAFolderGbkCannotName)
{
    const QString folder = path(QString::fromUtf8("j\xC3\xB6rg"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString card = folder + "/card.OVYK";
    TMDIChild *child = designed(72, card);
    ASSERT_NE(child, nullptr);
    ASSERT_EQ(child->Document().Record().SampleCardFile, card);
    const QByteArray before = ReadAll(card);

    ASSERT_TRUE(saveProject(child, folder + "/ribbon")) << ask.Messages.join('\n').toStdString();
    EXPECT_TRUE(ask.Messages.isEmpty()) << ask.Messages.join('\n').toStdString();
    EXPECT_EQ(storedCardName(folder + "/ribbon.Ovy"), "card.OVYK");
    EXPECT_FALSE(QFileInfo::exists(folder + "/ribbon.OVYK"));
    EXPECT_EQ(ReadAll(card), before);
}

// A project whose own name GBK lacks: its card is written beside it, but the name cannot be
// stored; the project is saved without it and the person is told.
TEST_F(ProjectCard, CardNameThatCannotBeStored)
{
    TMDIChild *child = designed(72);
    ASSERT_NE(child, nullptr);
    const QString project = path(QString::fromUtf8("j\xC3\xB6rg"));
    ASSERT_TRUE(saveProject(child, project));
    const QString card = project + ".OVYK";
    EXPECT_EQ(ask.Messages, QStringList { GetUiMessage(UiKey::String::ProjectCardNameNotStored).arg(card) });
    EXPECT_TRUE(QFileInfo(card).isFile());
    EXPECT_EQ(storedCardName(project + ".Ovy"), QString());
    EXPECT_EQ(child->Caption(), project + ".Ovy");
}

// The card cannot be written (a folder holds its name): neither file is written and the
// document stays unsaved.
TEST_F(ProjectCard, BothFilesOrNeither)
{
    TMDIChild *child = designed(72);
    ASSERT_NE(child, nullptr);
    ASSERT_TRUE(QDir(dir.path()).mkdir("blocked.OVYK"));
    EXPECT_FALSE(saveProject(child, path("blocked")));
    EXPECT_EQ(ask.Messages.size(), 1);
    EXPECT_FALSE(QFileInfo::exists(path("blocked.Ovy")));
    EXPECT_NE(child->Caption(), path("blocked.Ovy"));
    EXPECT_NE(child->Document().Record().SampleCardFile, path("blocked.OVYK"));
}
