// The weave design window as a new user reaches it from the real main window: a new weave
// from the weave library's menu, drawn and saved into the library, where it shows at once;
// opened again by a double click, changed and saved again; Technology > Design Weave; and
// the refusal of a new weave without a library.
#include "shell/ui/browseview.h"
#include "shell/ui/libraryframe.h"
#include "shell/ui/mainwindow.h"

#include "core/settings/sharedstate.h"
#include "mainwindowfixture.h"
#include "modalscript.h"
#include "shell/pictureformats.h"
#include "testutil.h"
#include "weave/ui/weavedesignwindow.h"
#include "weave/ui/weavegrid.h"
#include "weave/weavearray.h"
#include "weave/weavefile.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QTest>

namespace {

// A fresh home: the data folder is new, as for a user starting the program the first time.
struct TFreshHome {
    QTemporaryDir home;
    QByteArray oldData = qgetenv("XDG_DATA_HOME");
    TFreshHome()
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath("data")));
        QString error;
        EXPECT_TRUE(InitSharedState(QString(), &error)) << error.toStdString();
        QFile::remove(Folders().ConfigIniPath);
    }
    ~TFreshHome() { qputenv("XDG_DATA_HOME", oldData); }
};

struct WeaveDesignCommands : TMainWindowFixture {
    TFreshHome fresh;

    void SetUp() override
    {
        RegisterPictureFormats();
        ShowMainWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    TFrameBrowse &frame() const { return *form->LibraryBrowser(); }
    // Lets the queued commands and the script run until the script is done.
    static void RunUntilDone(const TModalScript &script)
    {
        for (int i = 0; i < 400 && !script.Done() && script.Unexpected().isEmpty(); ++i)
            QTest::qWait(20);
    }
    // Right-clicks the weave browser and chooses an item of the menu that comes up.
    void ChooseFromWeaveMenu(QAction *item)
    {
        TBrowseAll *browse = frame().BrowseWeave;
        QContextMenuEvent event(
            QContextMenuEvent::Mouse, QPoint(10, 10), browse->mapToGlobal(QPoint(10, 10)));
        QApplication::sendEvent(browse, &event);
        QMenu *menu = frame().PopupMenuWeave;
        ASSERT_TRUE(menu->isVisible());
        ASSERT_TRUE(item->isEnabled());
        menu->setActiveAction(item);
        QTest::keyClick(menu, Qt::Key_Return);
    }
    TDrawImage *thumbnailOf(const QString &path) const
    {
        for (TDrawImage *image : frame().BrowseWeave->Thumbnails())
            if (image->FileName() == path)
                return image;
        return nullptr;
    }
};

QPoint CellCentre(TfrmWeaveDesign *w, int col, int row)
{
    return w->GrdWeave->CellRect(col, row).center();
}

} // namespace

TEST_F(WeaveDesignCommands, NewWeaveDrawnSavedShownReopenedAndSavedAgain)
{
    const QString library = frame().CurrentWeaveLibrary();
    ASSERT_FALSE(library.isEmpty());
    const QString path = QDir(library).filePath("mine.OVW");
    TWeaveArray drawn;
    QString startFolder;
    TModalScript script({
        On<TfrmWeaveDesign>([&](TfrmWeaveDesign *w) {
            EXPECT_TRUE(w->windowTitle().endsWith("-Untitled.OVW"));
            EXPECT_EQ(w->StatusWarps->text(), "Warps:8");
            // Clear it, draw a twill line, save.
            w->Action("ActClearAll")->trigger();
            for (int k = 1; k <= 8; ++k)
                QTest::mouseClick(w->GrdWeave->viewport(), Qt::LeftButton, {}, CellCentre(w, k, 9 - k));
            drawn = w->Design().Weave().Cells();
            w->Action("ActFileSave")->trigger();
        }),
        // The save dialog starts in the library the weave browser shows.
        [&, saveAs = SaveAs(path, "OVW Files (*.OVW)")](QWidget *w) {
            if (auto *d = qobject_cast<QFileDialog *>(w))
                startFolder = d->directory().absolutePath();
            return saveAs(w);
        },
        On<TfrmWeaveDesign>([&](TfrmWeaveDesign *w) {
            EXPECT_EQ(w->windowTitle(), "Design Weave-" + path);
            w->close();
        }),
    });
    ChooseFromWeaveMenu(frame().MnuNewWeave);
    RunUntilDone(script);
    ASSERT_TRUE(script.Done()) << script.Unexpected().join(",").toStdString();
    EXPECT_TRUE(ask.Messages.isEmpty()) << ask.Messages.join("\n").toStdString();
    EXPECT_EQ(startFolder, QDir(library).absolutePath());
    TWeaveArray saved;
    ASSERT_TRUE(LoadWeaveFile(path, saved));
    EXPECT_EQ(saved, drawn);
    EXPECT_EQ(saved[0][7], 1); // warp 1 at the bottom weft
    // The weave browser shows the new weave at once, chosen.
    EXPECT_TRUE(frame().BrowseWeave->Files().contains(path));
    TDrawImage *thumb = thumbnailOf(path);
    ASSERT_NE(thumb, nullptr);
    EXPECT_EQ(frame().BrowseWeave->Selected(), thumb);

    // A double click opens it; a change is saved under its name.
    TModalScript again({
        On<TfrmWeaveDesign>([&](TfrmWeaveDesign *w) {
            EXPECT_EQ(w->windowTitle(), "Design Weave-" + path);
            EXPECT_EQ(w->Design().Weave().Cells(), drawn);
            QTest::mouseClick(w->GrdWeave->viewport(), Qt::LeftButton, {}, CellCentre(w, 1, 1));
            QTest::keyClick(w, Qt::Key_S, Qt::ControlModifier);
            EXPECT_FALSE(w->Design().Weave().Modified());
            QTest::keyClick(w, Qt::Key_Escape);
        }),
    });
    QTest::mouseDClick(thumb, Qt::LeftButton, {}, QPoint(5, 5));
    RunUntilDone(again);
    ASSERT_TRUE(again.Done()) << again.Unexpected().join(",").toStdString();
    ASSERT_TRUE(LoadWeaveFile(path, saved));
    EXPECT_EQ(saved[0][0], 1);
    EXPECT_EQ(saved[0][7], 1);
    EXPECT_TRUE(ask.Messages.isEmpty()) << ask.Messages.join("\n").toStdString();
}

TEST_F(WeaveDesignCommands, DesignWeaveOpensTheWindowAndAWeaveNeedsALibrary)
{
    QAction *design = action("ActDesignWeave");
    ASSERT_TRUE(design->isEnabled());
    bool seen = false;
    TModalScript script({
        On<TfrmWeaveDesign>([&](TfrmWeaveDesign *w) {
            seen = w->isModal() && w->Design().Weave().WarpCount() == 8;
            QTest::keyClick(w, Qt::Key_Escape);
        }),
    });
    design->trigger();
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(seen);

    // Without a weave library a new weave is refused with a message.
    ask.OkAnswer = true;
    frame().DeleteWeaveLibrary();
    ASSERT_TRUE(frame().CurrentWeaveLibrary().isEmpty());
    frame().MnuNewWeave->trigger();
    QTest::qWait(50);
    ASSERT_EQ(ask.Messages.size(), 1);
    EXPECT_EQ(ask.Messages.first(), "No new weave: no weave library is chosen.");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
