// The whole road from a picture to a card file, taken as a new user would in one offscreen
// run of the main window: a fresh home gets the starter weave library, a picture is opened,
// drawn on from the tool bar, a weave picked in the library is tiled over a colour, the
// sample card is designed, the card generated and saved from the viewer as an EP card, the
// card file opened in the viewer and saved again, a card for a one-row harness punched as
// EP, and the document saved as a project and opened again. Every card file holds exactly
// the bytes of the built card written by the EP writer.
#include "shell/ui/browseview.h"
#include "shell/ui/documentwindow.h"
#include "shell/ui/libraryframe.h"
#include "shell/ui/mainwindow.h"

#include "card/builtcard.h"
#include "card/cardbuild.h"
#include "card/cardformats.h"
#include "card/cardmaking.h"
#include "card/ui/cardgeneratedialog.h"
#include "card/ui/cardmakingdialog.h"
#include "card/ui/cardviewerwindow.h"
#include "card/ui/samplecardwindow.h"
#include "core/palette/palette.h"
#include "core/picture/bmpfile.h"
#include "core/settings/recentfiles.h"
#include "core/settings/sharedstate.h"
#include "editor/patterngrid.h"
#include "editor/ui/patterngridview.h"
#include "editor/ui/tileweavewindow.h"
#include "mainwindowfixture.h"
#include "modalscript.h"
#include "shell/pictureformats.h"
#include "testutil.h"
#include "weave/weavefile.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

#include <functional>
#include <memory>

namespace {

// A fresh home: the data folder is new, as for a user starting the program the first time.
struct RoadFixture : TMainWindowFixture {
    QByteArray oldData = qgetenv("XDG_DATA_HOME");

    void SetUp() override
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath("data")));
        ASSERT_NO_FATAL_FAILURE(StartFreshSettings());
        RunState().CurrentToolId = TToolId::Move;
        RunState().HorzWidth = RunState().VertWidth = 1;
        RegisterPictureFormats();
        // 16 warps by 8 wefts: a ground of colour 1 with a band of colour 2; the default
        // sample card's 144 jacquard needles hold 9 repeats.
        QImage image = NewPicture(16, 8, GreyPalette());
        image.fill(1);
        for (int y = 6; y < 8; ++y)
            for (int x = 0; x < 16; ++x)
                image.scanLine(y)[x] = 2;
        // Yarn colours rather than the near-black greys, so that the screenshot shows them.
        image.setColor(1, qRgb(178, 34, 52));
        image.setColor(2, qRgb(230, 180, 40));
        image.setColor(3, qRgb(30, 60, 140));
        ASSERT_TRUE(SavePicture("ribbon.bmp", image));
        ShowMainWindow(QSize(1000, 760));
    }
    void TearDown() override
    {
        TMainWindowFixture::TearDown();
        qputenv("XDG_DATA_HOME", oldData);
    }
    QString path(const QString &name) const { return dir.filePath(name); }
};

// A turn of the mouse wheel over a widget, as the window system delivers it.
void TurnWheel(QWidget *surface, QPoint at, int delta, Qt::KeyboardModifiers mods)
{
    QWheelEvent e(QPointF(at), surface->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, delta), Qt::NoButton,
        mods, Qt::NoScrollPhase, false);
    QApplication::sendEvent(surface, &e);
}

// The window as the README shows it: written to DORWEN_SCREENSHOT_DIR as "road.png" when
// that names a folder, so that running the road again refreshes the picture.
void SaveRoadScreenshot(QWidget &window)
{
    const QImage shot = window.grab().toImage();
    ASSERT_FALSE(shot.isNull());
    const QString folder = qEnvironmentVariable("DORWEN_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        EXPECT_TRUE(shot.save(QDir(folder).filePath(QStringLiteral("road.png")), "PNG", 9))
            << folder.toStdString();
    }
}

} // namespace

TEST_F(RoadFixture, FromAPictureToACardFileAndAProject)
{
    // The starter library is the weave folder the browser shows.
    TFrameBrowse *library = form->LibraryBrowser();
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(library->CurrentWeaveLibrary(), path("data/dorwen-cad/Weave/General"));
    ASSERT_FALSE(library->BrowseWeave->Thumbnails().isEmpty());

    // Open the picture and draw a rectangle of colour 3 with the tool bar's shape button.
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr) << ask.Messages.join('\n').toStdString();
    child->showMaximized();
    TPatternGrid &grid = child->PatternGrid();
    grid.SetForeColorIndex(3);
    QWidget *surface = child->GridView()->viewport();
    auto *shapes = form->findChild<QToolButton *>("BtnShape");
    ASSERT_NE(shapes, nullptr);
    QTest::mouseClick(shapes, Qt::LeftButton, {}, QPoint(5, shapes->height() / 2));
    ASSERT_EQ(grid.ToolId(), TToolId::Rectangle);
    QTest::mousePress(surface, Qt::LeftButton, {}, at(child, 2, 1));
    QTest::mouseMove(surface, at(child, 6, 3));
    QTest::mouseRelease(surface, Qt::LeftButton, {}, at(child, 6, 3));
    QTest::keyClick(child->GridView(), Qt::Key_Return);
    EXPECT_EQ(grid.Picture().constScanLine(1)[2], 3);
    EXPECT_EQ(grid.Picture().constScanLine(3)[6], 3);
    EXPECT_EQ(grid.Picture().constScanLine(2)[4], 1) << "the rectangle's inside is left";
    EXPECT_EQ(grid.UndoStore().UndoCount(), 1);

    // Pick the first starter weave in the library and tile it over the ground colour: the
    // tile-weave window takes the picked weave and offers the colour-pick tool.
    TDrawImage *first = library->BrowseWeave->Thumbnails().first();
    QTest::mouseClick(first, Qt::LeftButton, {}, QPoint(5, 5));
    TWeaveArray weave;
    ASSERT_TRUE(LoadWeaveFile(first->FileName(), weave));
    ASSERT_TRUE(grid.PickedWeave() == weave);
    form->Action("ActTileWeave")->trigger();
    auto *tiling = form->findChild<TFrmTileWeave *>();
    ASSERT_NE(tiling, nullptr);
    EXPECT_TRUE(tiling->Weave() == weave);
    QStringList refusals;
    tiling->SetMessageHandler([&](const QString &text) { refusals << text; });
    ASSERT_EQ(grid.ToolId(), TToolId::AbsorbColor);
    QTest::mouseClick(surface, Qt::LeftButton, {}, at(child, 10, 2));
    ASSERT_EQ(tiling->Colors().size(), 1);
    const std::vector<std::vector<int>> drawn = PictureRows(grid.Picture());
    ASSERT_TRUE(tiling->Tile()) << refusals.join('\n').toStdString();
    const std::vector<std::vector<int>> tiled = PictureRows(grid.Picture());
    EXPECT_NE(tiled, drawn);
    EXPECT_EQ(tiled[7], drawn[7]) << "the band's colour is not tiled";
    EXPECT_EQ(tiled[1][2], 3) << "nor the drawn rectangle";
    tiling->close();

    // Ctrl+wheel over the pattern zooms in (the whole ribbon stays in view; keeping the
    // cell under the pointer is tried on a larger field below).
    const int level = grid.ZoomLevel();
    TurnWheel(surface, at(child, 11, 5), 240, Qt::ControlModifier);
    EXPECT_GT(grid.ZoomLevel(), level);
    ASSERT_NO_FATAL_FAILURE(SaveRoadScreenshot(*form));

    // Output > sample card: the editor opens on the document's card and OK keeps it.
    TModalScript design({ On<TFrmYangKa>([](TFrmYangKa *editor) {
        EXPECT_EQ(editor->FileName(), QStringLiteral("Untitled*"));
        editor->accept();
    }) });
    form->Action("ActDesignCard")->trigger();
    EXPECT_TRUE(design.Done()) << design.Unexpected().join(",").toStdString();
    TDocument &doc = child->Document();
    EXPECT_EQ(doc.SampleCard().JacquardCount(), 144);

    // Generate the card, save it from the viewer as EP, open that file in the viewer and
    // save it again elsewhere.
    QDir().mkpath(path("gen"));
    QDir().mkpath(path("again"));
    const QString generated = path("gen/ribbon.EP");
    const QString again = path("again/ribbon.EP");
    TModalScript build({
        On<TfrmPutOut>([](TfrmPutOut *d) { d->BitBtnGenerateWenBan->click(); }),
        On<TFrmWenBan>([](TFrmWenBan *v) {
            EXPECT_EQ(v->FileName(), "Untitled*");
            v->Action("ActSaveAs")->trigger();
        }),
        SaveAs(generated, "EP Files (*.EP)"),
        On<TFrmWenBan>([generated](TFrmWenBan *v) {
            EXPECT_TRUE(v->Saved());
            EXPECT_TRUE(v->LoadCardFile(generated));
            v->Action("ActSaveAs")->trigger();
        }),
        SaveAs(again, "EP Files (*.EP)"),
        On<TFrmWenBan>([](TFrmWenBan *v) { v->close(); }),
    });
    form->Action("ActBuildPick")->trigger();
    EXPECT_TRUE(build.Done()) << build.Unexpected().join(",").toStdString();
    EXPECT_TRUE(ask.Messages.isEmpty()) << ask.Messages.join("\n").toStdString();

    // The card as the builder makes it from the tiled document, written by the EP writer.
    TMultiByteArray built;
    TCardBuildResult result;
    ASSERT_TRUE(BuildCardData(doc.Record(), doc.SampleCard(), ReadScanStartSetting(), built, result));
    ASSERT_EQ(built.size(), 8);
    EXPECT_TRUE(form->CardData() == built);
    TWenBanIO io;
    SetBuiltCard(io, built, doc.SampleCard());
    QDir().mkpath(path("ref/gen"));
    ASSERT_TRUE(WriteEPCard(io, path("ref/gen/ribbon.EP")));
    const QByteArray expected = ReadAll(path("ref/gen/ribbon.EP"));
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(ReadAll(generated), expected);
    EXPECT_EQ(ReadAll(again), expected);

    // Punch the card for a one-row harness of 144 hooks through card making, as EP.
    const QString punched = path("gen/harness.EP");
    TModalScript punch({
        On<TFrmSetYangKa>([](TFrmSetYangKa *d) {
            d->EdtWarps->setValue(144);
            d->BtnOK->click();
        }),
        SaveAs(punched, "EP Files (*.EP)"),
    });
    form->Action("ActSaveYarn")->trigger();
    EXPECT_TRUE(punch.Done()) << punch.Unexpected().join(",").toStdString();
    EXPECT_TRUE(ask.Messages.isEmpty()) << ask.Messages.join("\n").toStdString();
    TYangkaImage oneRow;
    ASSERT_TRUE(OneRowSampleCard(144, 16, false, oneRow));
    TMultiByteArray harness;
    ASSERT_TRUE(BuildCardData(doc.Record(), oneRow, ScanTopLeft, harness, result));
    TWenBanIO harnessIo;
    SetBuiltCard(harnessIo, harness, oneRow);
    ASSERT_TRUE(WriteEPCard(harnessIo, path("ref/gen/harness.EP")));
    EXPECT_EQ(ReadAll(punched), ReadAll(path("ref/gen/harness.EP")));
    EXPECT_EQ(doc.SampleCard().JacquardCount(), 144) << "the document keeps its sample card";

    // Save the document as a project and open it again: the drawing, the tiling and the
    // sample card come back.
    ask.DialogAccepts = true;
    ask.DialogType = TSaveFileType::Project;
    ask.DialogFile = path("ribbon");
    ASSERT_TRUE(child->SaveDocument(TSaveCommand::SaveAs)) << ask.Messages.join('\n').toStdString();
    const QString project = path("ribbon.Ovy");
    ASSERT_TRUE(QFileInfo::exists(project));
    child->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(form->Children().isEmpty());
    // Meanwhile the sample-card editor's most recent card is another harness: the project
    // still opens with its own card, which was never saved on its own.
    TYangkaImage otherHarness;
    otherHarness.SetJacquardCount(32);
    ASSERT_TRUE(otherHarness.SaveToFile(path("other.OVYK")));
    AddToRecentList(path("other.OVYK"), QLatin1String(CardFormRecentSection));
    TMDIChild *reopened = form->OpenChild(project);
    ASSERT_NE(reopened, nullptr) << ask.Messages.join('\n').toStdString();
    EXPECT_EQ(PictureRows(reopened->PatternGrid().Picture()), tiled);
    EXPECT_EQ(reopened->Document().SampleCard().JacquardCount(), 144);
    // The reopened project builds the same card.
    TMultiByteArray rebuilt;
    ASSERT_TRUE(reopened->Document().PrepareDocumentRecord(TPrepareMode::KeepColorWeaves));
    ASSERT_TRUE(SetDefaultColourWeaves(reopened->Document().Record()));
    ASSERT_TRUE(BuildCardData(reopened->Document().Record(), reopened->Document().SampleCard(),
        ReadScanStartSetting(), rebuilt, result));
    EXPECT_TRUE(rebuilt == built);
}

// The desktop habits on the road, through the real window: the wheel scrolls the pattern's
// rows, Shift+wheel its columns and Ctrl+wheel zooms about the pointer; Ctrl+Z takes back
// a stroke and Ctrl+S saves the document to the file it came from.
TEST_F(RoadFixture, WheelAndKeysInTheRealWindow)
{
    // A field larger than the window once zoomed in, every cell's colour telling its place.
    QImage field = NewPicture(600, 400, GreyPalette());
    for (int y = 0; y < field.height(); ++y)
        for (int x = 0; x < field.width(); ++x)
            field.scanLine(y)[x] = uchar(1 + (x + 2 * y) % 200);
    ASSERT_TRUE(SavePicture("field.bmp", field));
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr) << ask.Messages.join('\n').toStdString();
    child->showMaximized();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    TPatternGrid &grid = child->PatternGrid();
    QWidget *surface = child->GridView()->viewport();
    QApplication::setWheelScrollLines(3);
    auto turn
        = [&](QPoint at, int delta, Qt::KeyboardModifiers mods) { TurnWheel(surface, at, delta, mods); };
    auto cellUnder = [&](QPoint at) { return child->GridView()->PictureCellAt(at); };

    // Ctrl+wheel away from the user zooms in, the cell under the pointer staying there.
    const QPoint pointer(surface->width() / 3 + 2, surface->height() / 3 + 2);
    const TPoint aimed = cellUnder(pointer);
    ASSERT_NE(aimed.X, -1);
    const int level = grid.ZoomLevel();
    turn(pointer, 120, Qt::ControlModifier);
    EXPECT_GT(grid.ZoomLevel(), level);
    EXPECT_EQ(cellUnder(pointer), aimed);
    ASSERT_GT(grid.Grid().MaxTopRow(), grid.TopRow() + 3) << "the zoomed field is larger than the window";
    ASSERT_GT(grid.Grid().MaxLeftCol(), grid.LeftCol() + 3);

    // The wheel towards the user scrolls three rows down; with Shift three columns right.
    const int top = grid.TopRow(), left = grid.LeftCol();
    turn(pointer, -120, Qt::NoModifier);
    EXPECT_EQ(grid.TopRow(), top + 3);
    EXPECT_EQ(grid.LeftCol(), left);
    EXPECT_EQ(cellUnder(pointer), (TPoint { aimed.X, aimed.Y + 3 }));
    turn(pointer, -120, Qt::ShiftModifier);
    EXPECT_EQ(grid.LeftCol(), left + 3);
    EXPECT_EQ(cellUnder(pointer), (TPoint { aimed.X + 3, aimed.Y + 3 }));

    // A rectangle of colour 3 from the tool bar, then Ctrl+Z takes it back.
    grid.SetForeColorIndex(3);
    auto *shapes = form->findChild<QToolButton *>("BtnShape");
    ASSERT_NE(shapes, nullptr);
    QTest::mouseClick(shapes, Qt::LeftButton, {}, QPoint(5, shapes->height() / 2));
    ASSERT_EQ(grid.ToolId(), TToolId::Rectangle);
    const TPoint corner { grid.LeftCol() + 2, grid.TopRow() + 2 };
    auto drawRectangle = [&] {
        QTest::mousePress(surface, Qt::LeftButton, {}, at(child, corner.X, corner.Y));
        QTest::mouseMove(surface, at(child, corner.X + 4, corner.Y + 3));
        QTest::mouseRelease(surface, Qt::LeftButton, {}, at(child, corner.X + 4, corner.Y + 3));
        QTest::keyClick(child->GridView(), Qt::Key_Return);
    };
    const uchar before = grid.Picture().constScanLine(corner.Y)[corner.X];
    ASSERT_NE(before, 3);
    drawRectangle();
    ASSERT_EQ(grid.Picture().constScanLine(corner.Y)[corner.X], 3);
    QTest::keyClick(child->GridView(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(grid.Picture().constScanLine(corner.Y)[corner.X], before)
        << "Ctrl+Z (Undo on its standard key) undoes the rectangle";

    // Drawn again and saved with Ctrl+S: the picture's own file holds it, nothing is asked.
    drawRectangle();
    ASSERT_TRUE(grid.Modified());
    QTest::keyClick(child->GridView(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(grid.Modified()) << "Ctrl+S saves";
    EXPECT_EQ(ask.DialogsShown, 0);
    QImage saved;
    QString error;
    ASSERT_TRUE(LoadBmp8File(picture, saved, &error)) << error.toStdString();
    EXPECT_EQ(PictureRows(saved), PictureRows(grid.Picture()));
    EXPECT_EQ(saved.constScanLine(corner.Y)[corner.X], 3);
}
