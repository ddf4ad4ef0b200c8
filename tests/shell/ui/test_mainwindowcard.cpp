// The main window's card commands, run as a new user would in one offscreen session: open
// a picture, generate its card, save it from the viewer as a card file, open that file in
// the viewer and save it again; make a card file for a one-row harness. Every file holds
// exactly the bytes of the built card written by the format's own writer.
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"

#include "card/builtcard.h"
#include "card/cardbuild.h"
#include "card/cardformats.h"
#include "card/cardmaking.h"
#include "card/samplecardcheck.h"
#include "card/ui/cardgeneratedialog.h"
#include "card/ui/cardmakingdialog.h"
#include "card/ui/cardviewerwindow.h"
#include "core/picture/bmpfile.h"
#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"
#include "mainwindowfixture.h"
#include "modalscript.h"
#include "shell/pictureformats.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

struct CardCommands : TMainWindowFixture {
    void SetUp() override
    {
        ASSERT_TRUE(InitSharedState());
        Folders().SettingsDir = dir.path() + "/";
        Folders().ConfigIniPath = dir.filePath("Config.Ini");
        RegisterPictureFormats();
        QDir().mkpath(dir.filePath("ref"));
        ASSERT_TRUE(SavePicture("pattern.bmp",
            MakePicture({ { 1, 0, 0, 1, 1, 0, 1, 0 }, { 0, 1, 1, 0, 0, 1, 0, 1 }, { 1, 1, 0, 0, 1, 1, 0, 0 },
                            { 0, 0, 0, 1, 1, 1, 1, 0 }, { 1, 0, 1, 0, 1, 0, 1, 1 } },
                GreyPalette())));
        ShowMainWindow();
    }
    QString path(const QString &name) const { return dir.filePath(name); }
};

} // namespace

TEST_F(CardCommands, GenerateSaveFromTheViewerReopenAndSaveAgain)
{
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    QDir().mkpath(path("gen"));
    QDir().mkpath(path("again"));
    const QString generated = path("gen/card.EP");
    const QString again = path("again/card.EP");
    TModalScript script({
        On<TfrmPutOut>([](TfrmPutOut *d) { d->BitBtnGenerateWenBan->click(); }),
        // The new card is shown in the viewer: save it as EP.
        On<TFrmWenBan>([](TFrmWenBan *v) {
            EXPECT_EQ(v->FileName(), "Untitled*");
            EXPECT_FALSE(v->Saved());
            v->Action("ActSaveAs")->trigger();
        }),
        SaveAs(generated, "EP Files (*.EP)"),
        // Open the saved file in the viewer and save it again elsewhere.
        On<TFrmWenBan>([generated](TFrmWenBan *v) {
            if (!v->Saved())
                return;
            EXPECT_TRUE(v->LoadCardFile(generated));
            v->Action("ActSaveAs")->trigger();
        }),
        SaveAs(again, "EP Files (*.EP)"),
        On<TFrmWenBan>([](TFrmWenBan *v) {
            if (v->FileName().endsWith("again/card.EP"))
                v->close();
        }),
    });
    form->Action("ActBuildPick")->trigger();
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(ask.Messages.isEmpty())
        << ask.Messages.join("\n").toStdString() << script.Unexpected().join(",").toStdString();

    // The card as the builder makes it, written by the EP writer.
    TDocument &doc = child->Document();
    TMultiByteArray built;
    TCardBuildResult result;
    ASSERT_TRUE(BuildCardData(doc.Record(), doc.SampleCard(), ReadScanStartSetting(), built, result));
    EXPECT_EQ(form->CardData().size(), 5);
    EXPECT_EQ(form->CardData().size(), built.size());
    TWenBanIO io;
    SetBuiltCard(io, built, doc.SampleCard());
    QDir().mkpath(path("ref/gen"));
    ASSERT_TRUE(WriteEPCard(io, path("ref/gen/card.EP")));
    EXPECT_EQ(ReadAll(generated), ReadAll(path("ref/gen/card.EP")));
    EXPECT_EQ(ReadAll(again), ReadAll(generated));
}

TEST_F(CardCommands, CancelledGenerateKeepsTheCardAndShowsNothing)
{
    ASSERT_NE(form->OpenChild(picture), nullptr);
    ask.SaveAnswer = TSaveAnswer::No; // the viewer closes without saving the first card
    TModalScript script({
        On<TfrmPutOut>([](TfrmPutOut *d) { d->BitBtnGenerateWenBan->click(); }),
        On<TFrmWenBan>([](TFrmWenBan *v) { v->close(); }),
        On<TfrmPutOut>([](TfrmPutOut *d) {
            // Escape as soon as the build starts.
            QCoreApplication::postEvent(d, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
            d->BitBtnGenerateWenBan->click();
        }),
    });
    form->Action("ActBuildPick")->trigger();
    const TMultiByteArray first = form->CardData();
    ASSERT_EQ(first.size(), 5);
    form->Action("ActBuildPick")->trigger();
    EXPECT_TRUE(script.Done());
    // The second build was stopped: the first card stays, and no viewer came up for it.
    EXPECT_EQ(form->CardData().size(), first.size());
    EXPECT_EQ(form->CardData()[0].size(), first[0].size());
}

TEST_F(CardCommands, GenerateStopsOnASampleCardThatDoesNotFit)
{
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    TDocument &doc = child->Document();
    // Eight warps repeated five times: the sample card's 144 jacquard needles hold no
    // whole number of them.
    doc.Record().WarpRepeat = 5;
    QString expected;
    ASSERT_FALSE(CheckCardForDesign(8, 5, doc.SampleCard().JacquardCount(), &expected));
    TModalScript script({}); // the generate dialog must not come up
    form->Action("ActBuildPick")->trigger();
    EXPECT_TRUE(script.Done()) << script.Unexpected().join(",").toStdString();
    EXPECT_EQ(ask.Messages, QStringList { expected });
    EXPECT_TRUE(form->CardData().isEmpty());

    // A card that fits again: the build goes on to the generate dialog.
    doc.Record().WarpRepeat = 2;
    ask.Messages.clear();
    bool shown = false;
    TModalScript again({ On<TfrmPutOut>([&shown](TfrmPutOut *d) {
        shown = true;
        d->close();
    }) });
    form->Action("ActBuildPick")->trigger();
    EXPECT_TRUE(again.Done()) << again.Unexpected().join(",").toStdString();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(ask.Messages.isEmpty()) << ask.Messages.join("\n").toStdString();
}

TEST_F(CardCommands, MakeACardFileForAOneRowHarness)
{
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    const QString file = path("made.DAT");
    TModalScript script({
        On<TFrmSetYangKa>([](TFrmSetYangKa *d) {
            d->EdtWarps->setValue(100);
            d->Shift_To_Right->setChecked(true);
            d->BtnOK->click();
        }),
        SaveAs(file, "CEJ160 Files(*.DAT)"),
    });
    form->Action("ActSaveYarn")->trigger();
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(ask.Messages.isEmpty())
        << ask.Messages.join("\n").toStdString() << script.Unexpected().join(",").toStdString();
    EXPECT_EQ(ReadDefaultWarps(), 100);

    TYangkaImage oneRow;
    ASSERT_TRUE(OneRowSampleCard(100, 8, true, oneRow));
    TMultiByteArray built;
    TCardBuildResult result;
    ASSERT_TRUE(BuildCardData(child->Document().Record(), oneRow, ScanTopLeft, built, result));
    TWenBanIO io;
    SetBuiltCard(io, built, oneRow);
    ASSERT_TRUE(WriteDatCard(io, DatCEJ160, path("ref/made.DAT")));
    EXPECT_EQ(ReadAll(file), ReadAll(path("ref/made.DAT")));
    // The document keeps the sample card laid out for it.
    EXPECT_EQ(child->Document().SampleCard().ColCount(), 18);
}
