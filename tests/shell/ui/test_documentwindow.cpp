// Document windows in the main window: opening (already open, missing, damaged, dropped,
// recent), File > New from the clipboard, the document actions, closing, and the road a
// new user takes: open a picture, edit it, save, close and open it again.
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"

#include "core/palette/palette.h"
#include "core/picture/bmpfile.h"
#include "core/settings/recentfiles.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"
#include "editor/ui/patterngridview.h"
#include "mainwindowfixture.h"
#include "shell/pictureformats.h"
#include "shell/ui/newpatterndialog.h"
#include "shell/ui/rulerwidget.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

namespace {
struct WindowFixture : TMainWindowFixture {
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartFreshSettings());
        RegisterPictureFormats();
        ASSERT_TRUE(
            SavePicture("stripes.bmp", MakePicture({ { 1, 2, 3, 1 }, { 4, 5, 6, 1 }, { 7, 8, 9, 1 } })));
        ShowMainWindow();
    }
    int windows() const { return int(form->Children().size()); }
    QAction *action(const char *name) const { return form->findChild<QAction *>(QLatin1String(name)); }
};
} // namespace

TEST_F(WindowFixture, OpensAPictureAndRefusesWhatCannotBeOpened)
{
    EXPECT_FALSE(action("ActFileSave")->isEnabled()) << "no document, no document actions";

    // A path that names no file opens no window.
    EXPECT_EQ(form->OpenChild(dir.filePath("missing.bmp")), nullptr);
    EXPECT_EQ(windows(), 0);
    EXPECT_EQ(ask.Messages, QStringList { GetUiMessage(UiKey::String::FileExistHint) });
    // Nor does a damaged picture.
    const QString bad = dir.filePath("bad.bmp");
    ASSERT_TRUE(WriteAll(bad, "BM not a bitmap"));
    EXPECT_EQ(form->OpenChild(bad), nullptr);
    EXPECT_EQ(windows(), 0);
    EXPECT_EQ(ask.Messages.size(), 2);
    // A project goes to the project reader in any letter case, never to the picture
    // loader (whose preview would drop the tables); a damaged one opens nothing.
    const QString project = dir.filePath("damaged.ovy");
    ASSERT_TRUE(WriteAll(project, QByteArray(200, '\x7f')));
    EXPECT_EQ(form->OpenChild(project), nullptr);
    EXPECT_EQ(windows(), 0);
    EXPECT_EQ(ask.Messages.size(), 3);
    EXPECT_TRUE(ReadRecentFileList().isEmpty());

    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->windowTitle(), picture);
    EXPECT_EQ(child->PatternGrid().ColCount(), 4);
    EXPECT_EQ(child->Document().Record().Wefts, 3);
    EXPECT_EQ(child->Document().Record().PickRows.length(), 1);
    EXPECT_FALSE(child->Document().Modified());
    EXPECT_EQ(ReadMostRecentFile(), picture);
    EXPECT_TRUE(action("ActFileSave")->isEnabled());
    EXPECT_EQ(form->ActiveChild(), child);
}

TEST_F(WindowFixture, AlreadyOpenAsksAndDecliningBringsTheOpenWindowForward)
{
    TMDIChild *first = form->OpenChild(picture);
    ASSERT_NE(first, nullptr);
    TMDIChild *other = form->OpenChild(QString(), true);
    ASSERT_NE(other, nullptr);

    ask.OkAnswer = false;
    EXPECT_EQ(form->OpenChild(picture), nullptr);
    EXPECT_EQ(ask.Asked, QStringList { GetUiMessage(UiKey::String::FileAlreadyOpen) });
    EXPECT_EQ(windows(), 2);
    EXPECT_EQ(form->mdiArea()->currentSubWindow(), first);

    ask.OkAnswer = true;
    EXPECT_NE(form->OpenChild(picture), nullptr) << "OK opens it again";
    EXPECT_EQ(windows(), 3);

    // A name that differs in letter case is another file.
    const QString upper = dir.filePath("STRIPES.bmp");
    ASSERT_TRUE(QFile::copy(picture, upper));
    ask.Asked.clear();
    EXPECT_NE(form->OpenChild(upper), nullptr);
    EXPECT_TRUE(ask.Asked.isEmpty());

    // Closing one of several documents keeps the document actions.
    first->close();
    EXPECT_TRUE(action("ActFileSave")->isEnabled());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    EXPECT_TRUE(action("ActFileSave")->isEnabled());
}

TEST_F(WindowFixture, DropOpensTheFirstFileWhenItsTypeIsListed)
{
    const QString second = dir.filePath("second.bmp");
    ASSERT_TRUE(QFile::copy(picture, second));
    const QString text = dir.filePath("notes.txt");
    ASSERT_TRUE(WriteAll(text, "text"));

    EXPECT_EQ(form->OpenDroppedUrls({ QUrl::fromLocalFile(text), QUrl::fromLocalFile(picture) }), nullptr)
        << "only the first file counts, and a text file is not a picture";
    EXPECT_EQ(form->OpenDroppedUrls({ QUrl("https://example.org/a.bmp") }), nullptr);
    EXPECT_EQ(windows(), 0);
    TMDIChild *child = form->OpenDroppedUrls({ QUrl::fromLocalFile(second), QUrl::fromLocalFile(picture) });
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->Caption(), second);
    EXPECT_EQ(windows(), 1);
}

TEST_F(WindowFixture, NewPatternFromTheClipboardPictureKeepsItsLayerCount)
{
    QImage clip(30, 20, QImage::Format_RGB32);
    clip.fill(Qt::white);
    QApplication::clipboard()->setImage(clip);
    TNewPatternValues values = form->NewDocumentStartValues();
    EXPECT_EQ(values.Warps, 30);
    EXPECT_EQ(values.Wefts, 20);
    EXPECT_EQ(values.WarpDensity, StartSettings().GrossOption.WarpDensity);
    QApplication::clipboard()->clear();
    EXPECT_EQ(form->NewDocumentStartValues().Warps, StartSettings().GrossOption.Warp);

    // The dialog hands the values through and refuses impossible ones.
    TFrmSetPara dialog;
    values.LayerCount = 3;
    dialog.SetValues(values);
    EXPECT_EQ(dialog.Values().Warps, 30);
    EXPECT_EQ(dialog.Values().LayerCount, 3);
    const auto *warps = dialog.findChild<QSpinBox *>("NdtWarpCount");
    ASSERT_NE(warps, nullptr);
    EXPECT_EQ(warps->maximum(), 65535);
    EXPECT_EQ(warps->minimum(), 1);
    values.WarpDensity = 0;
    EXPECT_FALSE(CheckNewPatternValues(values));
    EXPECT_EQ(form->CreateNewDocument(values), nullptr);
    values.WarpDensity = 100;

    TMDIChild *child = form->CreateNewDocument(values);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->Caption(), GetUiMessage(UiKey::String::UnilitedName) + "1");
    EXPECT_EQ(child->PatternGrid().ColCount(), 30);
    EXPECT_EQ(child->PatternGrid().RowCount(), 20);
    EXPECT_EQ(child->PatternGrid().RepeatDisplayValues()[2], 3);
    EXPECT_EQ(child->Document().Record().LayerCount, 3);
    EXPECT_EQ(child->Document().Record().Warps, 30);
    EXPECT_TRUE(ReadRecentFileList().isEmpty()) << "a new document is no recent file";
}

TEST_F(WindowFixture, ClosingAskedAndCancelKeepsTheProgramRunning)
{
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    child->PatternGrid().SetModified();

    ask.SaveAnswer = TSaveAnswer::Cancel;
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(windows(), 1);
    // Yes, and then the save dialog is cancelled (a document that is no existing bitmap).
    child->SetCaption(dir.filePath("drawing"));
    ask.SaveAnswer = TSaveAnswer::Yes;
    action("ActCloseAll")->trigger();
    EXPECT_EQ(windows(), 1);
    ask.SaveAnswer = TSaveAnswer::No;
    action("ActFileClose")->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    EXPECT_EQ(windows(), 0);
    EXPECT_FALSE(action("ActFileSave")->isEnabled());
}

TEST_F(WindowFixture, WindowMenuArrangesTheDocuments)
{
    ASSERT_NE(form->OpenChild(picture), nullptr);
    ASSERT_NE(form->OpenChild(QString(), true), nullptr);
    const QList<QMdiSubWindow *> subs = form->mdiArea()->subWindowList();
    action("WindowTileHorizontal1")->trigger();
    EXPECT_EQ(subs[0]->y(), subs[1]->y());
    EXPECT_NE(subs[0]->x(), subs[1]->x());
    action("WindowTileVertical1")->trigger();
    EXPECT_EQ(subs[0]->x(), subs[1]->x());
    EXPECT_NE(subs[0]->y(), subs[1]->y());
    action("WindowCascade1")->trigger();
    EXPECT_LT(subs[0]->x(), subs[1]->x());
    EXPECT_LT(subs[0]->y(), subs[1]->y());
    action("WindowMinimizeAll1")->trigger();
    EXPECT_TRUE(subs[0]->isMinimized() && subs[1]->isMinimized());
}

TEST_F(WindowFixture, RulersNumberTheCompartments)
{
    TMDIChild *child = form->CreateNewDocument([] {
        TNewPatternValues v;
        v.Warps = 100;
        v.Wefts = 50;
        v.ColCount = 8;
        v.RowCount = 4;
        return v;
    }());
    ASSERT_NE(child, nullptr);
    child->resize(600, 400);
    QCoreApplication::processEvents();
    const QList<int> across = child->HorzRuler()->VisibleLabels();
    ASSERT_FALSE(across.isEmpty());
    for (int n : across)
        EXPECT_EQ(n % 8, 0) << n;
    const QList<int> down = child->VertRuler()->VisibleLabels();
    ASSERT_FALSE(down.isEmpty());
    for (int n : down)
        EXPECT_EQ(n % 4, 0) << n;
}

namespace {
// Records, in order, the paint passes of the main window and the paints of a document's
// view and rulers.
struct PaintLog : QObject {
    QWidget *window = nullptr, *view = nullptr, *top = nullptr, *left = nullptr;
    QStringList got;
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (o == window && e->type() == QEvent::UpdateRequest)
            got << "pass";
        else if (e->type() == QEvent::Paint && (o == view || o == top || o == left))
            got << (o == view ? "view" : "ruler");
        return false;
    }
};
} // namespace

// Whatever moves or rescales the cells (zoom commands, the zoom keys, Ctrl+wheel, a scroll)
// repaints the rulers in the same paint as the view: a second paint for them would put
// the window on screen twice for one step.
TEST_F(WindowFixture, RulersArePaintedWithTheViewInOnePass)
{
    TNewPatternValues v;
    v.Warps = 400;
    v.Wefts = 300;
    TMDIChild *child = form->CreateNewDocument(v);
    ASSERT_NE(child, nullptr);
    child->resize(600, 400);
    QCoreApplication::processEvents();
    TPatternGridView *view = child->GridView();
    view->setFocus();
    PaintLog log;
    log.window = form->window();
    log.view = view->viewport();
    log.top = child->HorzRuler();
    log.left = child->VertRuler();
    qApp->installEventFilter(&log);
    const struct {
        const char *name;
        std::function<void()> step;
    } cases[] = {
        { "zoom in command", [&] { action("ActZoomIn")->trigger(); } },
        { "zoom out command", [&] { action("ActZoomOut")->trigger(); } },
        { "plus key", [&] { QTest::keyClick(view, Qt::Key_Plus); } },
        { "minus key", [&] { QTest::keyClick(view, Qt::Key_Minus); } },
        { "Ctrl+wheel",
            [&] {
                QWheelEvent wheel(QPointF(50, 50), view->viewport()->mapToGlobal(QPointF(50, 50)), QPoint(),
                    QPoint(0, 120), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
                QApplication::sendEvent(view->viewport(), &wheel);
            } },
        { "scroll", [&] { view->SetTopRow(view->TopRow() + 7); } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const int level = child->PatternGrid().ZoomLevel(), top = view->TopRow();
        log.got.clear();
        c.step();
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        EXPECT_TRUE(child->PatternGrid().ZoomLevel() != level || view->TopRow() != top)
            << "the step did something";
        // One pass paints the view and both rulers; nothing of them is left for a later one.
        const QString seen = log.got.join(' ');
        QStringList first = log.got.mid(0, 4);
        std::sort(first.begin(), first.end());
        EXPECT_EQ(first, QStringList({ "pass", "ruler", "ruler", "view" })) << seen.toStdString();
        EXPECT_EQ(log.got.count("view") + log.got.count("ruler"), 3) << seen.toStdString();
    }
    qApp->removeEventFilter(&log);
}

// A file that fails to open leaves the status bar showing the document on screen.
TEST_F(WindowFixture, FailedOpenKeepsTheStatusOfTheDocumentOnScreen)
{
    ASSERT_NE(form->OpenChild(dir.filePath("stripes.bmp")), nullptr);
    const QString shown
        = GetUiMessage(UiKey::String::ColName) + "4 " + GetUiMessage(UiKey::String::RowName) + "3";
    ASSERT_EQ(form->StatusPanel(5)->text(), shown);
    const QString bad = dir.filePath("bad.bmp");
    ASSERT_TRUE(WriteAll(bad, "BM not a bitmap"));
    const QString project = dir.filePath("bad.ovy");
    ASSERT_TRUE(WriteAll(project, "not a project"));
    for (const QString &file : { bad, project }) {
        EXPECT_EQ(form->OpenChild(file), nullptr);
        QCoreApplication::processEvents();
        EXPECT_EQ(form->StatusPanel(5)->text(), shown) << file.toStdString();
    }
}

// The left ruler, the row compartment lines and the status bar count wefts the same way,
// from the bottom, also when the height is no multiple of the compartment; a compartment
// taller than the pattern still leaves the ruler a label.
TEST_F(WindowFixture, LeftRulerLinesAndStatusBarCountWeftsAlike)
{
    const struct {
        int warps, wefts, compart;
        int top; // the label the top row carries, or 0 for none
    } cases[] = { { 100, 50, 8, 0 }, { 50, 40, 999, 40 } };
    for (const auto &c : cases) {
        TNewPatternValues v;
        v.Warps = c.warps;
        v.Wefts = c.wefts;
        v.ColCount = c.compart;
        v.RowCount = c.compart;
        TMDIChild *child = form->CreateNewDocument(v);
        ASSERT_NE(child, nullptr);
        child->resize(600, 500);
        QCoreApplication::processEvents();
        const TPatternGrid &grid = child->PatternGrid();
        ASSERT_EQ(grid.TopRow(), 0);
        const QList<int> labels = child->VertRuler()->VisibleLabels();
        const QList<int> marks = child->VertRuler()->VisibleMarks();
        ASSERT_FALSE(labels.isEmpty()) << c.compart;
        ASSERT_EQ(labels.size(), marks.size());
        EXPECT_EQ(labels.contains(c.wefts), c.top != 0) << c.compart;

        QImage painted;
        grid.Paint(painted);
        const QRgb compart = ToQColor(grid.Grid().CompartLineColor()).rgb();
        const int pitch = grid.DefaultRowHeight() + grid.GridLineWidth();
        for (qsizetype i = 0; i < labels.size(); ++i) {
            const int weft = labels[i], mark = marks[i];
            // The mark closes the weft's compartment: it lies on the line above the weft.
            const int row = (mark + 1) / pitch;
            EXPECT_EQ(grid.Picture().height() - row, weft) << "mark " << mark;
            if (weft % c.compart == 0 && weft < c.wefts) {
                EXPECT_EQ(painted.pixel(0, mark), compart) << "weft " << weft;
            }
            // The status bar names the same weft for a cell of that row.
            QTest::mouseMove(child->GridView()->viewport(), QPoint(2, row * pitch + 1));
            EXPECT_EQ(form->StatusPanel(2)->text(), QStringLiteral("Y:%1").arg(weft));
        }
    }
}

// A picture opened, edited, saved as a bitmap, closed and opened again from the recent
// files, through the menus.
TEST_F(WindowFixture, NewUserOpensEditsSavesClosesAndReopens)
{
    const QString big = dir.filePath("big.bmp");
    QImage large(64, 40, QImage::Format_Indexed8);
    large.setColorTable(MakePicture({ { 0 } }, GreyPalette()).colorTable());
    for (int y = 0; y < large.height(); ++y)
        for (int x = 0; x < large.width(); ++x)
            large.scanLine(y)[x] = uchar((x / 8 + y / 8) % 2 ? 200 : 60);
    ASSERT_TRUE(SaveBmp8File(large, big));
    picture = big;
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    // An edit: the first cell painted with colour 9.
    QImage edited = child->PatternGrid().Picture().copy();
    edited.scanLine(0)[0] = 9;
    child->PatternGrid().SetPictureAndRefresh(edited, true);
    EXPECT_TRUE(child->Document().Modified());

    // Save: a .bmp caption saves in place without a dialog.
    action("ActFileSave")->trigger();
    EXPECT_EQ(ask.DialogsShown, 0);
    EXPECT_FALSE(child->Document().Modified());
    // Save as: the dialog chooses a new name.
    ask.DialogAccepts = true;
    ask.DialogType = TSaveFileType::Bitmap;
    ask.DialogFile = dir.filePath("mine");
    action("ActFileSaveAs")->trigger();
    const QString saved = dir.filePath("mine.BMP");
    EXPECT_EQ(child->windowTitle(), saved);
    if (qEnvironmentVariableIsSet("DORWEN_SHOT"))
        form->grab().save(qEnvironmentVariable("DORWEN_SHOT"));

    action("ActFileClose")->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(windows(), 0);
    EXPECT_TRUE(ask.Asked.isEmpty()) << "nothing unsaved, nothing asked";

    // The recent-file items of the File menu: the saved file first.
    QAction *recent = nullptr;
    for (QAction *a : form->FileMenu()->actions())
        if (a->data().toString() == saved && a->text().startsWith("&1 "))
            recent = a;
    ASSERT_NE(recent, nullptr);
    recent->trigger();
    ASSERT_EQ(windows(), 1);
    TMDIChild *again = form->Children().first();
    EXPECT_EQ(again->Caption(), saved);
    EXPECT_EQ(PictureRows(again->PatternGrid().Picture())[0][0], 9);
}

// A project (.Ovy) keeps its record through a save and a reopen. Enabled once the project
// reader is part of the program.
TEST_F(WindowFixture, ProjectSavedAsOvyReopensAsAProjectWithItsRecord)
{
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    child->Document().GrowPickTables(false, 2);
    child->Document().Record().PickRows[1][2] = 7;
    ask.DialogAccepts = true;
    ask.DialogType = TSaveFileType::Project;
    ask.DialogFile = dir.filePath("work");
    ASSERT_TRUE(child->SaveDocument(TSaveCommand::SaveAs));
    const QString project = dir.filePath("work.Ovy");
    EXPECT_EQ(child->Caption(), project);
    EXPECT_FALSE(child->Document().Modified());
    child->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    TMDIChild *again = form->OpenChild(project);
    ASSERT_NE(again, nullptr) << ask.Messages.join('\n').toStdString();
    EXPECT_EQ(again->Document().Record().WeftRepeat, 3);
    EXPECT_EQ(again->Document().Record().PickRows[1][2], 7);
    EXPECT_EQ(again->PatternGrid().ColCount(), 4);
}

// The shuttle-by-colour window belongs to its document: made on first use, kept, working
// on the document's record and last picked colour, and freed when the document closes.
TEST_F(WindowFixture, ShuttleByColorWindowLivesWithItsDocument)
{
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->PickWithColorWindow(), nullptr);
    child->Document().SetLastPicked(5, 2);
    QPointer<TFrmSetPickWithColor> window = child->ShowPickWithColorWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(child->ShowPickWithColorWindow(), window.data()) << "one window per document, kept";
    EXPECT_EQ(window->Target().Mesh, &child->Document().Record());
    EXPECT_EQ(window->Target().PickedIndex, 5);
    EXPECT_EQ(window->Target().Value, 2);
    EXPECT_EQ(window->Target().PickedColor, QColor(5, 5, 5));

    child->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
}

// The recent-file items: numbered from the most recent, long paths shortened from 36
// characters on, and an item whose file is gone says so and opens nothing.
TEST_F(WindowFixture, RecentFileItems)
{
    const QString exact = "/" + QString(30, 'a') + "/b.bmp"; // 38 characters
    const QString path35 = "/abcdefghijklmnopqrstuvwxyz/1234.bmp"; // 36 characters
    const QString path34 = "/abcdefghijklmnopqrstuvwxyz/123.bmp"; // 35 characters
    AddRecentFile(exact);
    AddRecentFile(path35);
    AddRecentFile(path34);
    form->UpdateRecentFileMenu();
    QStringList texts;
    for (QAction *a : form->FileMenu()->actions())
        if (!a->data().toString().isEmpty())
            texts << a->text();
    EXPECT_EQ(texts, QStringList({ "&1 " + path34, "&2 //1234.bmp", "&3 //b.bmp" }));

    for (QAction *a : form->FileMenu()->actions())
        if (a->data().toString() == path34)
            a->trigger();
    EXPECT_EQ(windows(), 0);
    EXPECT_EQ(ask.Messages, QStringList { GetUiMessage(UiKey::String::FileExistHint) });
}

// File > New through its menu item and dialog, as a person does it.
TEST_F(WindowFixture, FileNewThroughTheDialog)
{
    QApplication::clipboard()->clear();
    QString caption;
    QTimer::singleShot(0, [&caption] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *dialog = qobject_cast<TFrmSetPara *>(w); dialog && dialog->isVisible()) {
                caption = dialog->windowTitle();
                dialog->findChild<QSpinBox *>("NdtWarpCount")->setValue(12);
                dialog->findChild<QSpinBox *>("NdtWeftCount")->setValue(9);
                dialog->findChild<QSpinBox *>("RxLayerCount")->setValue(2);
                dialog->accept();
            }
    });
    action("ActFileNew")->trigger();
    EXPECT_EQ(caption, GetUiMessage(UiKey::String::NewCreate));
    ASSERT_EQ(windows(), 1);
    TMDIChild *child = form->Children().first();
    EXPECT_EQ(child->PatternGrid().ColCount(), 12);
    EXPECT_EQ(child->PatternGrid().RowCount(), 9);
    EXPECT_EQ(child->Document().Record().LayerCount, 2);
}

// What the picture dialogs call on OK: a new window per result, numbered and starred, with
// the result and its palette, closing with a question; the split names its parts after the
// active document and gives each the split's layout and the source's gap. A refused result
// opens nothing.
TEST_F(WindowFixture, DialogResultsBecomeNewDocuments)
{
    TMDIChild *source = form->OpenChild(picture);
    ASSERT_NE(source, nullptr);
    source->PatternGrid().SetRepeatDisplayValues({ 1, 4, 1, 9 });
    TPalette256 palette = GreyPalette();
    palette[5] = TPaletteEntry { 255, 0, 0, 0 };
    const QImage result = MakePicture({ { 5, 5, 0 }, { 0, 5, 5 } }, palette);

    TMDIChild *made = form->NewChildFromPicture(result);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(windows(), 2);
    EXPECT_EQ(form->ActiveChild(), made);
    EXPECT_EQ(made->Caption(), GetUiMessage(UiKey::String::UnilitedName) + "2*");
    EXPECT_EQ(made->PatternGrid().Picture(), result);
    EXPECT_EQ(made->PatternGrid().Palette()[5], palette[5]);
    EXPECT_EQ(made->Document().Record().Warps, 3);
    EXPECT_EQ(made->Document().Record().Wefts, 2);
    EXPECT_EQ(made->PatternGrid().ColCount(), 3);

    EXPECT_EQ(form->NewChildFromPicture(QImage(2, 2, QImage::Format_RGB32)), nullptr);
    EXPECT_EQ(windows(), 2);
    EXPECT_EQ(ask.Messages.last(), GetUiMessage(UiKey::String::ResultPictureNot8Bit));

    form->mdiArea()->setActiveSubWindow(source);
    const QImage part2 = MakePicture({ { 1, 2 } }, palette);
    EXPECT_TRUE(form->NewChildrenFromSplit({ result, QImage() }, TSplitPieces { 6, 2, 2 }).isEmpty())
        << "one bad part: no part opens";
    EXPECT_EQ(windows(), 2);
    const QList<TMDIChild *> parts = form->NewChildrenFromSplit({ result, part2 }, TSplitPieces { 6, 2, 2 });
    ASSERT_EQ(parts.size(), 2);
    const QString base = dir.filePath("stripes_X");
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(parts[i]->Caption(), base + QString::number(i + 1));
        EXPECT_EQ(
            parts[i]->PatternGrid().RepeatDisplayValues(), (std::array<std::int32_t, 4> { 6, 2, 2, 9 }));
        EXPECT_EQ(parts[i]->Document().Record().LayerCount, 2);
        EXPECT_TRUE(parts[i]->Document().Modified());
    }
    EXPECT_EQ(parts[1]->PatternGrid().Picture(), part2);

    // A result never saved asks before it goes; Cancel keeps it.
    ask.SaveAnswer = TSaveAnswer::Cancel;
    EXPECT_FALSE(made->close());
    EXPECT_EQ(windows(), 4);
}

// A new document's grid works with the main window's tiling and spray settings, whether it
// is opened from a file or made new; the pattern-tiling options come from the settings as
// their dialog last wrote them.
TEST_F(WindowFixture, NewWindowsTakeTheMainWindowsSettings)
{
    TTileWeaveParam weave;
    weave.TopLength = 3;
    weave.IsLeftLeft = true;
    weave.FloatLength = 6;
    weave.FindHigh = false;
    StartSettings().TileWeaveParam = weave;
    TTilePatternParam pattern;
    pattern.RightLength = 5;
    pattern.IsBottomLeft = true;
    WriteTilePatternParam(pattern);
    StartSettings().SprayOption = TSprayOption { 60, 300 };

    for (TMDIChild *child : { form->OpenChild(picture), form->OpenChild(QString(), true) }) {
        ASSERT_NE(child, nullptr);
        const TPatternGrid &grid = child->PatternGrid();
        EXPECT_EQ(grid.TileWeaveParam(), weave);
        EXPECT_EQ(grid.TilePatternParam(), pattern);
        EXPECT_EQ(grid.SprayOption(), (TSprayOption { 60, 300 }));
        EXPECT_EQ(grid.StatusWnd(), form.get());
    }
}
