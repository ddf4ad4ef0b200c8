// The sample-card and row-table commands of the main window, as a new user takes them:
// open a pattern, design its card, fill its row tables, save the project, open it again.
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"

#include "card/samplecardcheck.h"
#include "card/ui/needletabledialog.h"
#include "card/ui/ruleinputdialog.h"
#include "card/ui/samplecardwindow.h"
#include "core/base/messages.h"
#include "core/picture/bmpfile.h"
#include "core/settings/recentfiles.h"
#include "core/settings/sharedstate.h"
#include "mainwindowfixture.h"
#include "shell/pictureformats.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>

namespace {

// The first visible top-level window of type T, or null.
template <class T> T *Shown()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *t = qobject_cast<T *>(w); t && t->isVisible())
            return t;
    return nullptr;
}

// Runs work on the modal window of type T once it is shown by the command that follows.
template <class T> void WhenShown(std::function<void(T &)> work)
{
    QTimer::singleShot(0, [work] {
        if (T *t = Shown<T>())
            work(*t);
    });
}

struct SampleCardCommands : TMainWindowFixture {
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartFreshSettings());
        RegisterPictureFormats();
        // 18 warps by 6 wefts: the default card's 144 jacquard needles are 8 repeats.
        std::vector<int> row(18, 1);
        row[3] = 2;
        ASSERT_TRUE(SavePicture("ribbon.bmp", MakePicture({ row, row, row, row, row, row })));
        ShowMainWindow();
    }
};

} // namespace

TEST_F(SampleCardCommands, DesignFillSaveAndReopen)
{
    for (const char *name : { "ActDesignCard", "ActSetPick", "ActSetWeftDensity", "ActSetPicTable",
             "ActSetWeftDensityTable", "ActRegulatorInput", "ActSelColorPick" })
        EXPECT_FALSE(action(name)->isEnabled()) << name << ": no document, no command";
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    TDocument &doc = child->Document();
    for (const char *name : { "ActDesignCard", "ActSetPick", "ActRegulatorInput" })
        EXPECT_TRUE(action(name)->isEnabled()) << name;

    // Output > sample card: the editor opens on the document's card; the user leaves 72
    // jacquard needles (4 repeats of 18), saves the card and presses OK.
    const QString cardFile = dir.filePath("ribbon.OVYK");
    bool editorShown = false;
    WhenShown<TFrmYangKa>([&](TFrmYangKa &editor) {
        editorShown = true;
        EXPECT_EQ(editor.FileName(), QStringLiteral("Untitled*"));
        editor.EditJacquard->setText(QStringLiteral("72"));
        editor.ApplyJacquardCount();
        editor.ChooseSaveFile = [&] { return cardFile; };
        editor.ShowMessage = [](const QString &) { ADD_FAILURE() << "no message expected"; };
        EXPECT_TRUE(editor.FileSave());
        editor.accept();
    });
    action("ActDesignCard")->trigger();
    EXPECT_TRUE(editorShown);
    EXPECT_EQ(doc.SampleCard().JacquardCount(), 72);
    EXPECT_EQ(doc.Record().SampleCardFile, cardFile);
    EXPECT_TRUE(ask.Messages.isEmpty()) << ask.Messages.join('\n').toStdString();

    // The card command of card output: the card is confirmed without showing the editor.
    WhenShown<TFrmYangKa>([&](TFrmYangKa &) { ADD_FAILURE() << "the editor is not shown"; });
    EXPECT_TRUE(form->DesignSampleCard(*child, false));
    EXPECT_EQ(doc.Record().SampleCardFile, cardFile) << "confirmed before the editor is renamed";

    // The rule input: shuttle 1 and no pick in turn, from the bottom row up.
    action("ActRegulatorInput")->trigger();
    TFrmInput *input = Shown<TFrmInput>();
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(input->EditEndRow->maximum(), 6);
    input->EditRule->setText(QStringLiteral("2(1A1Q)"));
    input->BtnApply->click();
    const std::vector<int> entered { 0, 1, 0, 1, 0, 1 }; // top row first
    EXPECT_EQ(std::vector<int>(doc.Record().PickRows[0].begin(), doc.Record().PickRows[0].end()), entered);
    EXPECT_TRUE(doc.Modified());
    input->close();

    // The pick table: three shuttle needles.
    WhenShown<TFrmPickWeftDensTable>([](TFrmPickWeftDensTable &table) {
        table.RSEditPickNum->setValue(3);
        table.accept();
    });
    action("ActSetPicTable")->trigger();
    EXPECT_EQ(CardTables().PickTable[2], 4u);
    EXPECT_EQ(CardTables().PickTable[3], 0u);

    // The row-table mode: one check mark at a time.
    action("ActSetWeftDensity")->trigger();
    EXPECT_EQ(doc.RowTableMode(), TRowTableMode::WeftDensity);
    action("ActSetPick")->trigger();
    EXPECT_EQ(doc.RowTableMode(), TRowTableMode::Shuttle);
    EXPECT_TRUE(action("ActSetPick")->isChecked());
    EXPECT_FALSE(action("ActSetWeftDensity")->isChecked());
    action("ActSelColorPick")->trigger();
    ASSERT_NE(child->PickWithColorWindow(), nullptr);
    EXPECT_TRUE(child->PickWithColorWindow()->isVisible());
    // A colour picked in the pattern is the one the window applies; a background pick is not.
    SendColorPicked(0x0000FF, TColorPickInfo { 0x0000FF, 2, 2 });
    EXPECT_EQ(doc.LastPickedIndex(), 2);
    EXPECT_EQ(child->PickWithColorWindow()->Target().PickedIndex, 2);
    SendColorPicked(0, TColorPickInfo { 0, 7, 4 });
    EXPECT_EQ(doc.LastPickedIndex(), 2);

    // The next preparation keeps what was entered.
    ASSERT_TRUE(doc.PrepareDocumentRecord(TPrepareMode::KeepColorWeaves));
    EXPECT_EQ(std::vector<int>(doc.Record().PickRows[0].begin(), doc.Record().PickRows[0].end()), entered);

    // Save the project; another card becomes the editor's most recent one meanwhile.
    ask.DialogAccepts = true;
    ask.DialogType = TSaveFileType::Project;
    ask.DialogFile = dir.filePath("ribbon");
    ASSERT_TRUE(child->SaveDocument(TSaveCommand::SaveAs));
    const QString project = dir.filePath("ribbon.Ovy");
    child->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    TYangkaImage other;
    const QString otherFile = dir.filePath("other.OVYK");
    ASSERT_TRUE(other.SaveToFile(otherFile));
    AddToRecentList(otherFile, QLatin1String(CardFormRecentSection));

    TMDIChild *again = form->OpenChild(project);
    ASSERT_NE(again, nullptr) << ask.Messages.join('\n').toStdString();
    TDocument &reopened = again->Document();
    EXPECT_EQ(reopened.Record().SampleCardFile, cardFile);
    EXPECT_EQ(reopened.SampleCard().JacquardCount(), 72) << "the project's own card, not the most recent one";
    EXPECT_EQ(std::vector<int>(reopened.Record().PickRows[0].begin(), reopened.Record().PickRows[0].end()),
        entered);
    EXPECT_EQ(CardTables().PickTable[2], 4u);
}

// A card that does not fit: without the editor the refusal is shown and the document keeps
// its card; with the editor, OK stays refused until the card fits.
TEST_F(SampleCardCommands, CardThatDoesNotFit)
{
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    TDocument &doc = child->Document();
    doc.Record().WarpRepeat = 3; // 144 is no multiple of 18 x 3
    const int before = doc.SampleCard().JacquardCount();
    EXPECT_FALSE(form->DesignSampleCard(*child, false));
    QString expected;
    CheckCardForDesign(18, 3, 144, &expected);
    EXPECT_EQ(ask.Messages, QStringList { expected });
    EXPECT_EQ(doc.SampleCard().JacquardCount(), before);

    QStringList refusals;
    WhenShown<TFrmYangKa>([&](TFrmYangKa &editor) {
        editor.ShowRefusal = [&](const QString &text) { refusals << text; };
        editor.accept();
        EXPECT_TRUE(editor.isVisible());
        editor.EditJacquard->setText(QStringLiteral("108"));
        editor.ApplyJacquardCount();
        editor.accept();
    });
    action("ActDesignCard")->trigger();
    EXPECT_EQ(refusals, QStringList { expected });
    EXPECT_EQ(doc.SampleCard().JacquardCount(), 108);
}
