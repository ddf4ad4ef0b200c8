// The main window as someone used to desktop programs meets it: the usual keys run the menu
// commands (one action each, the key shown in the menu), the tool bars show icons with the
// caption as tooltip and offer only tools that work, and the window's layout is sensible on
// a first start and remembered across starts.
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"

#include "core/settings/sharedstate.h"
#include "editor/ui/patterngridview.h"
#include "editor/ui/tileweavewindow.h"
#include "mainwindowfixture.h"
#include "shell/mainactions.h"
#include "shell/pictureformats.h"
#include "shell/ui/browseview.h"
#include "shell/ui/explorerwindow.h"
#include "shell/ui/libraryframe.h"
#include "shell/ui/navigatorpanel.h"
#include "shell/ui/palettebarpanel.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QWidgetAction>

#include <map>
#include <set>

namespace {
struct DesktopFixture : TMainWindowFixture {
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartFreshSettings());
        StartSettings().MaxUndoCount = 20;
        RegisterPictureFormats();
        QImage blank = NewPicture(40, 30, GreyPalette());
        blank.fill(0);
        ASSERT_TRUE(SavePicture("blank.bmp", blank));
    }
    // Every action a tool bar offers, the fly-out buttons' rows included.
    QList<QAction *> toolBarActions() const
    {
        QList<QAction *> actions;
        for (QToolBar *bar : form->findChildren<QToolBar *>())
            for (QAction *a : bar->actions())
                if (!a->isSeparator() && !qobject_cast<QWidgetAction *>(a))
                    actions.append(a);
        for (QToolButton *button : form->findChildren<QToolButton *>())
            if (button->menu() && qobject_cast<QToolBar *>(button->parentWidget()))
                actions += button->menu()->actions();
        return actions;
    }
};
} // namespace

// The usual keys, as the platform gives them, sit on the menu commands themselves, and no
// key is claimed by two actions (an ambiguous key runs neither).
TEST_F(DesktopFixture, StandardKeysBelongToTheMenuCommands)
{
    ShowMainWindow(QSize(900, 700));
    const std::map<const char *, std::vector<QKeySequence>> keys = {
        { "ActUndo", { QKeySequence(Qt::CTRL | Qt::Key_Z) } },
        { "ActRedo", { QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z) } },
        { "ActFileSave", { QKeySequence(Qt::CTRL | Qt::Key_S) } },
        { "ActFileSaveAs", { QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S) } },
        { "ActSelectAll", { QKeySequence(Qt::CTRL | Qt::Key_A) } },
        { "ActCopy", { QKeySequence(Qt::CTRL | Qt::Key_C) } },
        { "ActCut", { QKeySequence(Qt::CTRL | Qt::Key_X) } },
        { "ActPaste", { QKeySequence(Qt::CTRL | Qt::Key_V) } },
        { "ActZoomIn", { QKeySequence(Qt::CTRL | Qt::Key_Plus) } },
        { "ActZoomOut", { QKeySequence(Qt::CTRL | Qt::Key_Minus) } },
        { "ActPrint", { QKeySequence(Qt::CTRL | Qt::Key_P) } },
    };
    for (const auto &[name, wanted] : keys) {
        SCOPED_TRACE(name);
        const QList<QKeySequence> shortcuts = action(name)->shortcuts();
        for (const QKeySequence &key : wanted)
            EXPECT_TRUE(shortcuts.contains(key)) << key.toString().toStdString();
    }
    EXPECT_FALSE(action("ActFileClose")->shortcuts().isEmpty());

    std::map<QString, QString> owner;
    for (QAction *a : form->findChildren<QAction *>())
        for (const QKeySequence &key : a->shortcuts()) {
            const auto [it, fresh] = owner.emplace(key.toString(), a->objectName());
            EXPECT_TRUE(fresh) << key.toString().toStdString() << " on " << it->second.toStdString()
                               << " and " << a->objectName().toStdString();
        }
}

// Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z typed on the drawing undo and redo a whole-picture command.
TEST_F(DesktopFixture, UndoAndRedoKeysWorkOnTheDrawing)
{
    ShowMainWindow(QSize(900, 700));
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    TPatternGrid &grid = child->PatternGrid();
    grid.Picture().bits()[0] = 7;
    action("ActFlipLeftRight")->trigger();
    ASSERT_EQ(grid.UndoStore().UndoCount(), 1);
    ASSERT_EQ(grid.Picture().constScanLine(0)[39], 7);

    QWidget *surface = child->GridView();
    const struct Step {
        QKeyCombination key;
        int undo, redo, corner;
    } steps[] = {
        { Qt::CTRL | Qt::Key_Z, 0, 1, 0 },
        { Qt::CTRL | Qt::Key_Y, 1, 0, 7 },
        { Qt::CTRL | Qt::Key_Z, 0, 1, 0 },
        { Qt::CTRL | Qt::SHIFT | Qt::Key_Z, 1, 0, 7 },
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(QKeySequence(step.key).toString().toStdString());
        QTest::keyClick(surface, step.key.key(), step.key.keyboardModifiers());
        EXPECT_EQ(grid.UndoStore().UndoCount(), step.undo);
        EXPECT_EQ(grid.UndoStore().RedoCount(), step.redo);
        EXPECT_EQ(grid.Picture().constScanLine(0)[39], step.corner);
    }
}

// Every button of the tool bars shows an icon, without text, and tells its caption as its
// tooltip; a tool whose work on the grid is not built is not offered at all.
TEST_F(DesktopFixture, ToolBarsShowIconsAndOfferOnlyWorkingTools)
{
    ShowMainWindow(QSize(900, 700));
    const QList<QAction *> offered = toolBarActions();
    ASSERT_GT(offered.size(), 30);
    for (QAction *a : offered) {
        SCOPED_TRACE(a->objectName().toStdString());
        EXPECT_FALSE(a->icon().pixmap(22, 22).isNull());
        EXPECT_FALSE(a->toolTip().isEmpty());
        EXPECT_EQ(a->toolTip(), QString(a->text()).remove(QLatin1Char('&')));
        const TMainActionInfo *info = FindMainAction(a->objectName().toStdString());
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(info->Status, TActionStatus::Built);
    }
    for (const char *name : { "ActRuber" })
        EXPECT_FALSE(offered.contains(action(name))) << name;
    for (const char *name :
        { "ActBrowse", "ActFileSave", "ActUndo", "ActRedo", "ActZoomIn", "ActTileWeave", "ActDesignCard",
            "ActBuildPick", "ActRectangle", "ActFillColor", "ActConcentricCircle", "ActInsertWord" })
        EXPECT_TRUE(offered.contains(action(name))) << name;
    for (QToolBar *bar : form->findChildren<QToolBar *>())
        if (bar->objectName() == "TbrTools" || bar->objectName() == "TbrCommands") {
            EXPECT_EQ(bar->toolButtonStyle(), Qt::ToolButtonIconOnly);
        }
}

// A first start fills the screen and gives the drawing area the room: the palette bar is as
// tall as its swatches and the weave library shows two rows of thumbnails with their names.
TEST_F(DesktopFixture, FirstStartIsMaximisedWithTheDrawingAreaLargest)
{
    // A new user's weave folder, which gets the starter library.
    Folders().WeaveDir = dir.filePath("weaves/");
    Folders().WeaveDirCreated = true;
    ShowMainWindow();
    QCoreApplication::processEvents();
    EXPECT_TRUE(form->isMaximized());
    TFramPalette *palette = form->PaletteBar();
    ASSERT_NE(palette, nullptr);
    EXPECT_LE(palette->height(), palette->minimumSizeHint().height() + 2);

    TFrameBrowse *library = form->LibraryBrowser();
    ASSERT_NE(library, nullptr);
    const TBrowseImage *weaves = library->BrowseWeave;
    ASSERT_GE(weaves->Thumbnails().size(), 4) << "the starter library";
    std::set<int> rowsShown;
    for (const TDrawImage *thumbnail : weaves->Thumbnails())
        if (thumbnail->isVisible() && weaves->rect().contains(thumbnail->geometry()))
            rowsShown.insert(thumbnail->y());
    EXPECT_GE(rowsShown.size(), 2u);
    // Each weave's name stands under its picture: the band below the picture's frame holds
    // the caption's black text.
    for (const TDrawImage *thumbnail : weaves->Thumbnails()) {
        SCOPED_TRACE(thumbnail->Text().toStdString());
        const QImage image = thumbnail->Image().convertToFormat(QImage::Format_RGB32);
        const int below = thumbnail->PictureFrame().bottom() + 1;
        ASSERT_LT(below, image.height() - 4);
        bool text = false;
        for (int y = below; y < image.height() - 4 && !text; ++y)
            for (int x = 1; x < image.width() - 1 && !text; ++x)
                text = qGray(image.pixel(x, y)) < 64;
        EXPECT_TRUE(text);
    }
    EXPECT_GT(form->mdiArea()->width() * form->mdiArea()->height(), form->width() * form->height() / 3);
}

// The window's geometry and the places of its panels come back on the next start, from the
// program's own settings file.
TEST_F(DesktopFixture, GeometryAndPanelsAreRememberedAcrossStarts)
{
    ShowMainWindow();
    form->showNormal();
    form->setGeometry(60, 50, 700, 520);
    auto *navigator = form->findChild<TNavigatorPanel *>();
    ASSERT_NE(navigator, nullptr);
    action("ActDisplayInfo")->trigger(); // hides the navigator
    ASSERT_FALSE(navigator->isVisible());
    ASSERT_TRUE(form->close());
    const QString ini = ReadAll(Folders().ConfigIniPath);
    EXPECT_TRUE(ini.contains("[MainWindow]"));
    EXPECT_TRUE(ini.contains("Geometry="));

    form = std::make_unique<TMainForm>();
    form->SetQuestions(&ask);
    form->show();
    EXPECT_FALSE(form->isMaximized());
    EXPECT_EQ(form->size(), QSize(700, 520));
    EXPECT_FALSE(form->findChild<TNavigatorPanel *>()->isVisible());
}

// Document windows open inside the visible document area, the first filling it; the tile
// weave window opens beside the document, below the menu bar; the explorer opens wholly on
// screen at the folder it showed last.
TEST_F(DesktopFixture, WindowsOpenWhereTheyCanBeSeen)
{
    ShowMainWindow();
    QCoreApplication::processEvents();
    const QRect area = form->mdiArea()->viewport()->rect();
    TMDIChild *first = form->OpenChild(picture);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->geometry(), area);
    for (int i = 0; i < 3; ++i) {
        TMDIChild *child = form->OpenChild(QString(), true);
        ASSERT_NE(child, nullptr);
        EXPECT_TRUE(area.contains(child->geometry())) << i;
    }
    form->mdiArea()->setActiveSubWindow(first);

    action("ActTileWeave")->trigger();
    auto *tile = form->findChild<TFrmTileWeave *>();
    ASSERT_NE(tile, nullptr);
    const QRect screen = form->screen()->availableGeometry();
    const int belowMenu = form->menuBar()->mapToGlobal(QPoint(0, form->menuBar()->height())).y();
    EXPECT_GE(tile->frameGeometry().top(), belowMenu);
    EXPECT_TRUE(screen.contains(tile->frameGeometry()));
    tile->close();

    // A window whose corner lies near the screen's top-left corner would push the explorer off
    // the screen.
    form->showNormal();
    form->setGeometry(screen.left() + 10, screen.top() + 10, 300, 250);
    TFrmExplorer *explorer = form->ShowExplorer();
    EXPECT_TRUE(screen.contains(explorer->frameGeometry()));
    ASSERT_TRUE(QDir(dir.path()).mkpath("designs"));
    explorer->SetDirectory(dir.filePath("designs"));
    for (TMDIChild *c : form->Children())
        c->PatternGrid().ClearModified();
    ASSERT_TRUE(form->close());

    form = std::make_unique<TMainForm>();
    form->SetQuestions(&ask);
    form->show();
    EXPECT_EQ(QDir(form->ShowExplorer()->Directory()), QDir(dir.filePath("designs")));
}

// A file named on the command line opens before the main window is shown and laid out: its
// window still fills the document area once the main window has its size, and goes on
// filling it when the main window is resized, until the designer puts it elsewhere.
TEST_F(DesktopFixture, FirstDocumentFillsTheAreaLaidOutAfterItOpened)
{
    form = std::make_unique<TMainForm>();
    form->SetQuestions(&ask);
    TMDIChild *first = form->OpenChild(picture);
    ASSERT_NE(first, nullptr);
    form->showNormal();
    form->resize(900, 700);
    QCoreApplication::processEvents();
    QWidget *viewport = form->mdiArea()->viewport();
    ASSERT_GT(viewport->width(), 400);
    EXPECT_EQ(first->geometry(), viewport->rect());

    form->resize(1000, 760);
    QCoreApplication::processEvents();
    EXPECT_EQ(first->geometry(), viewport->rect());

    const QRect placed(10, 10, 300, 200);
    first->setGeometry(placed);
    form->resize(800, 600);
    QCoreApplication::processEvents();
    EXPECT_EQ(first->geometry(), placed) << "a window the designer placed stays where it was put";
}
