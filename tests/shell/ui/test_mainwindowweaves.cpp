// Weave assignment and picture conversion tried as a new user would in the real main window:
// Technology > Assign Weave, a library weave loaded into a colour through the window's
// explorer, copied to a technical needle, OK giving one document per layer, the project
// saved and reopened with its weaves; Convert Weave on a picture.
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"

#include "core/palette/floatscan.h"
#include "editor/patterngrid.h"
#include "editor/ui/cellgrid.h"
#include "editor/weavetiling.h"
#include "mainwindowfixture.h"
#include "modalscript.h"
#include "shell/pictureformats.h"
#include "shell/ui/explorerwindow.h"
#include "shell/ui/techtileweavewindow.h"
#include "testutil.h"
#include "weave/ui/convertpicdialog.h"
#include "weave/ui/ovwdialog.h"
#include "weave/ui/weavedesignwindow.h"
#include "weave/weavefile.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

namespace {

// Two reds and a grey, with a black: colours in count order grey (8), red (6), black (2).
QImage Ground()
{
    TPalette256 palette = GreyPalette();
    palette[1] = { 200, 20, 20, 0 };
    palette[2] = { 128, 128, 128, 0 };
    palette[3] = BlackQuad;
    palette[0] = { 200, 20, 20, 0 }; // the red again, unused
    return MakePicture({ { 1, 1, 1, 2 }, { 1, 1, 2, 2 }, { 1, 2, 2, 2 }, { 1, 2, 2, 3 } }, palette);
}

TWeaveArray Twill3()
{
    TWeaveArray w = MakeWeaveArray(3, 3);
    for (int j = 0; j < 3; ++j)
        w[j][j] = 1;
    return w;
}

// The layer picture as one scan per colour in list order gives it.
QImage ReferenceLayer(const TMesh &mesh, const QImage &picture, const TPalette256 &palette,
    const TTileWeaveParam &param, int layer)
{
    QImage out = picture.copy();
    const int black = NearestColorIndex(palette.data(), 256, 0, 0, 0);
    for (int c = 0; c < mesh.Colors.length(); ++c) {
        TFloatScan scan;
        const TPaletteEntry e = ColorToEntry(mesh.Colors[c]);
        scan.ColorIndex = NearestColorIndex(palette.data(), 256, e.Red, e.Green, e.Blue);
        scan.Margins = TileMargins(param);
        scan.Weave = mesh.ColorWeaves[layer * mesh.Colors.length() + c];
        TLineArray cells;
        FindLongFloats(out, palette, scan, param.FloatLength, cells);
        for (const TPoint &p : cells)
            out.scanLine(p.Y)[p.X] = std::uint8_t(black);
    }
    return out;
}

struct WeavesFixture : TMainWindowFixture {
    QString weaveFile;
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartFreshSettings());
        RegisterPictureFormats();
        ASSERT_TRUE(SavePicture("flower.bmp", Ground()));
        weaveFile = dir.filePath("twill.OVW");
        ASSERT_TRUE(WriteWeaveFile(weaveFile, Twill3()));
        ShowMainWindow(QSize(1100, 800));
    }
    TFrmTechTileWeave *openAssign()
    {
        QAction *assign = action("ActTechTileWeave");
        EXPECT_TRUE(assign->isEnabled());
        assign->trigger();
        return form->findChild<TFrmTechTileWeave *>();
    }
    static QPoint cellAt(TFrmTechTileWeave *w, int col, int row)
    {
        const TRect r = w->DrawGridWeave()->CellRect(col, row);
        return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
};

} // namespace

TEST_F(WeavesFixture, NewUserAssignsWeavesBuildsLayersSavesAndReopens)
{
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    child->Document().Record().LayerCount = 2; // as the grid settings give it
    TFrmTechTileWeave *window = openAssign();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Assign Weave"));
    TIDrawGrid *grid = window->DrawGridWeave();
    ASSERT_EQ(grid->RowCount(), 3); // header and two layers
    ASSERT_EQ(grid->ColCount(), 3); // the three colours of the picture
    const TMesh &mesh = child->Document().Record();
    ASSERT_EQ(mesh.ColorWeaves.length(), 6);
    ASSERT_EQ(mesh.TechWeaves.length(), 6);
    grid->grab(); // paints every cell once

    // A double click opens the window's own explorer; the weave picked there goes into the
    // selected cell, layer 1 of colour 1 (the red).
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cellAt(window, 1, 1));
    QPointer<TFrmExplorer> explorer = window->Explorer();
    ASSERT_NE(explorer, nullptr);
    EXPECT_TRUE(explorer->isVisible());
    EXPECT_TRUE(child->Document().RowTablesUnchanged());
    Q_EMIT explorer->OpenFile(weaveFile);
    EXPECT_EQ(mesh.ColorWeaves[1], Twill3());
    EXPECT_EQ(mesh.ColorWeaveNames->at(1), weaveFile);
    EXPECT_FALSE(child->Document().RowTablesUnchanged());

    // Ctrl and a double click show the weave design window beside it, made once.
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::ControlModifier, cellAt(window, 0, 1));
    QPointer<TfrmWeaveDesign> design = window->DesignWindow();
    ASSERT_NE(design, nullptr);
    EXPECT_TRUE(design->isVisible());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::ControlModifier, cellAt(window, 2, 1));
    EXPECT_EQ(window->DesignWindow(), design);
    grid->SetCurrentCell(1, 1);

    // The next card command's record preparation keeps both layers' weaves.
    ASSERT_TRUE(child->Document().PrepareDocumentRecord(TPrepareMode::KeepColorWeaves));
    EXPECT_EQ(mesh.ColorWeaves.length(), 6);
    EXPECT_EQ(mesh.ColorWeaves[1], Twill3());

    // A file that is no weave changes nothing and says why.
    const QString bad = dir.filePath("bad.ovw");
    ASSERT_TRUE(WriteAll(bad, QByteArray(10, 'x')));
    Q_EMIT explorer->OpenFile(bad);
    EXPECT_EQ(mesh.ColorWeaves[1], Twill3());
    EXPECT_EQ(ask.Messages.size(), 1);

    // Right click the red, switch to the other weaves, left click layer 2's selvedge.
    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, cellAt(window, 1, 1));
    window->Action("ActBaseWeave")->trigger();
    EXPECT_EQ(grid->ColCount(), 3);
    grid->grab();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellAt(window, 1, 2));
    EXPECT_EQ(mesh.TechWeaves[4], Twill3());
    EXPECT_EQ(mesh.TechWeaveNames->at(4), weaveFile);
    // Shift it right once: the selected cell's weave moves, the library's stays.
    window->Action("ActShiftRight")->trigger();
    EXPECT_EQ(mesh.TechWeaves[4][1][0], 1);
    EXPECT_EQ(mesh.ColorWeaves[1], Twill3());

    // Zoom to the end of its range.
    for (int i = 0; i < 20; ++i)
        if (window->Action("ActZoomIn")->isEnabled())
            window->Action("ActZoomIn")->trigger();
    EXPECT_EQ(window->Assignment().Zoom(), 20);
    EXPECT_FALSE(window->Action("ActZoomIn")->isEnabled());
    grid->grab();

    // Layer 2 of the grey gets a weave too, then OK: two documents, tiled as one scan per
    // colour in turn gives them.
    window->Action("ActColorWeave")->trigger();
    grid->SetCurrentCell(0, 2);
    ASSERT_TRUE(window->LoadIntoSelected(weaveFile));
    const QImage before = child->PatternGrid().Picture().copy();
    TPalette256 palette = child->PatternGrid().Palette();
    const TTileWeaveParam param = child->PatternGrid().TileWeaveParam();
    const QString base = child->Document().CaptionWithoutExtension();
    QTest::mouseClick(window->OkButton(), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
    EXPECT_EQ(form->findChild<TFrmTechTileWeave *>(), nullptr);
    EXPECT_EQ(explorer, nullptr);
    EXPECT_EQ(design, nullptr);
    const QList<TMDIChild *> children = form->Children();
    ASSERT_EQ(children.size(), 3);
    for (int layer = 0; layer < 2; ++layer) {
        TMDIChild *made = children[layer + 1];
        EXPECT_EQ(made->Caption(), base + QStringLiteral("_W") + QString::number(layer + 1));
        EXPECT_TRUE(made->PatternGrid().Modified());
        EXPECT_EQ(PictureRows(made->PatternGrid().Picture()),
            PictureRows(ReferenceLayer(mesh, before, palette, param, layer)));
    }
    EXPECT_EQ(PictureRows(child->PatternGrid().Picture()), PictureRows(before));
    EXPECT_NE(PictureRows(children[1]->PatternGrid().Picture()), PictureRows(before));

    // Saved as a project and opened again, the weaves and names are there.
    const QString project = dir.filePath("flower.ovy");
    ask.DialogAccepts = true;
    ask.DialogType = TSaveFileType::Project;
    ask.DialogFile = project;
    ASSERT_TRUE(child->SaveDocument(TSaveCommand::SaveAs));
    const QString saved = child->Caption(); // the type's own extension
    for (TMDIChild *c : form->Children())
        c->PatternGrid().ClearModified();
    ASSERT_TRUE(form->CloseAllDocuments());
    TMDIChild *again = form->OpenChild(saved);
    ASSERT_NE(again, nullptr);
    const TMesh &read = again->Document().Record();
    ASSERT_GE(read.ColorWeaves.length(), 2);
    EXPECT_EQ(read.ColorWeaves[1], Twill3());
    ASSERT_GE(read.TechWeaves.length(), 5);
    EXPECT_EQ(read.TechWeaves[4][1][0], 1);
}

TEST_F(WeavesFixture, CancelEscapeAndClosingTheDocumentBuildNothing)
{
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    TFrmTechTileWeave *window = openAssign();
    ASSERT_NE(window, nullptr);
    QTest::mouseClick(window->CancelButton(), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(form->findChild<TFrmTechTileWeave *>(), nullptr);

    window = openAssign();
    ASSERT_NE(window, nullptr);
    QTest::keyClick(window, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(form->findChild<TFrmTechTileWeave *>(), nullptr);

    // A second command makes the window anew; the document closing closes it.
    window = openAssign();
    ASSERT_NE(window, nullptr);
    TFrmTechTileWeave *second = openAssign();
    EXPECT_EQ(form->findChildren<TFrmTechTileWeave *>(), QList<TFrmTechTileWeave *> { second });
    child->PatternGrid().ClearModified();
    ASSERT_TRUE(form->CloseAllDocuments());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
    EXPECT_EQ(form->findChild<TFrmTechTileWeave *>(), nullptr);
    EXPECT_EQ(form->Children().size(), 0);
}

TEST_F(WeavesFixture, NewUserConvertsAPictureIntoWeaves)
{
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    const QImage before = child->PatternGrid().Picture().copy();
    TWeaveArray twoInOne = Twill3();
    twoInOne[0][1] = 1;
    const QString wrong = dir.filePath("wrong.ovw");
    ASSERT_TRUE(WriteWeaveFile(wrong, twoInOne));

    // No name, a name that does not load, then a weave that is no shading weave: the dialog
    // stays with a message each time; then the twill converts.
    int refusals = 0;
    auto enter = [&](const QString &name) {
        return [&, name](QWidget *w) {
            auto *dialog = qobject_cast<TFrmConvertPic *>(w);
            if (!dialog)
                return false;
            QTimer::singleShot(0, dialog, [&, dialog, name] {
                EXPECT_EQ(dialog->ColorList().size(), 3);
                dialog->EdtFileName->setText(QStringLiteral("  ") + name + QStringLiteral(" "));
                const qsizetype had = ask.Messages.size();
                QTest::mouseClick(dialog->Button1, Qt::LeftButton);
                if (ask.Messages.size() > had)
                    ++refusals;
            });
            return true;
        };
    };
    // The twill is chosen from the weave folder through the browse button's weave open
    // dialog, which lists the weave folder (the library the browser shows).
    const QString library = QDir(Folders().WeaveDir).filePath(QStringLiteral("twill.OVW"));
    ASSERT_TRUE(WriteWeaveFile(library, Twill3()));
    QString browsed;
    const TModalScript::Step browse = On<TFrmConvertPic>([&](TFrmConvertPic *dialog) {
        dialog->EdtFileName->clear();
        dialog->SbnOpenDlg->click(); // the weave open dialog, answered below
        browsed = dialog->EdtFileName->text();
        QTest::mouseClick(dialog->Button1, Qt::LeftButton);
    });
    // Open, once the dialog has listed the folder (it refuses a file it has not seen).
    const TModalScript::Step pick = [library](QWidget *w) {
        auto *open = qobject_cast<TOvwDialog *>(w);
        if (!open)
            return false;
        open->selectFile(QFileInfo(library).fileName());
        if (open->selectedFiles().value(0) != library)
            return false;
        QTimer::singleShot(0, open, [open] { static_cast<QDialog *>(open)->accept(); });
        return true;
    };
    TModalScript script({ enter(QString()), enter(dir.filePath("missing.ovw")), enter(wrong), browse, pick });
    action("ActConvertWeave")->trigger();
    EXPECT_TRUE(script.Done()) << script.Unexpected().join(',').toStdString();
    EXPECT_EQ(refusals, 3);
    EXPECT_EQ(browsed, library);
    ASSERT_EQ(ask.Messages.size(), 3);
    EXPECT_EQ(ask.Messages[0], QStringLiteral("The path must not be empty."));
    EXPECT_EQ(ask.Messages[2], QStringLiteral("The weave given is not correct."));

    const QList<TMDIChild *> children = form->Children();
    ASSERT_EQ(children.size(), 2);
    const QImage &result = children[1]->PatternGrid().Picture();
    ASSERT_EQ(result.size(), QSize(4, 4));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_LE(result.constScanLine(y)[x], 1);
    EXPECT_EQ(PictureRows(child->PatternGrid().Picture()), PictureRows(before));
}

// With more colours than the window shows, the wheel over the weaves scrolls them sideways:
// a plain turn (the rows all fit) as well as Shift with a turn, and back again.
TEST_F(WeavesFixture, WheelOverTheWeavesScrollsTheColours)
{
    std::vector<int> row;
    for (int i = 1; i <= 16; ++i)
        row.push_back(i * 10);
    ASSERT_TRUE(SavePicture("many.bmp", MakePicture({ row, row }, GreyPalette())));
    ASSERT_NE(form->OpenChild(picture), nullptr);
    TFrmTechTileWeave *window = openAssign();
    ASSERT_NE(window, nullptr);
    TIDrawGrid *grid = window->DrawGridWeave();
    ASSERT_EQ(grid->ColCount(), 16);
    ASSERT_EQ(grid->LeftCol(), 0);
    const auto turn = [grid](int notches, Qt::KeyboardModifiers keys) {
        const QPointF at(grid->viewport()->width() / 2.0, grid->viewport()->height() / 2.0);
        QWheelEvent event(at, grid->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120 * notches),
            Qt::NoButton, keys, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(grid->viewport(), &event);
    };
    const struct {
        int Notches;
        Qt::KeyboardModifiers Keys;
        bool Right;
    } cases[] = {
        { 1, Qt::NoModifier, true },
        { -1, Qt::NoModifier, false },
        { 1, Qt::ShiftModifier, true },
        { -1, Qt::ShiftModifier, false },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Notches * (c.Keys == Qt::ShiftModifier ? 10 : 1));
        const int before = grid->LeftCol();
        turn(c.Notches, c.Keys);
        if (c.Right)
            EXPECT_GT(grid->LeftCol(), before);
        else
            EXPECT_EQ(grid->LeftCol(), 0);
        EXPECT_EQ(grid->TopRow(), 0);
    }
}

// A weave drawn in the design window the assign window opened is not lost by closing the
// assign window, by the next Assign Weave or by quitting: each asks the design window's
// question, and its Cancel keeps everything open.
TEST_F(WeavesFixture, ADrawnWeaveKeepsItsWindowsOpenUntilItsQuestionIsAnswered)
{
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    QPointer<TFrmTechTileWeave> window = openAssign();
    ASSERT_NE(window, nullptr);
    window->CellDoubleClicked(0, 1, Qt::ControlModifier);
    QPointer<TfrmWeaveDesign> design = window->DesignWindow();
    ASSERT_NE(design, nullptr);
    int asked = 0;
    TWeaveSaveAnswer answer = TWeaveSaveAnswer::Cancel;
    design->AskSave = [&] {
        ++asked;
        return answer;
    };
    design->Design().Run(TWeaveAction::FillAll);

    const auto stillOpen = [&](const char *how) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
        EXPECT_FALSE(window.isNull()) << how;
        EXPECT_FALSE(design.isNull()) << how;
        EXPECT_EQ(form->findChildren<TFrmTechTileWeave *>().size(), 1) << how;
    };
    QTest::mouseClick(window->CancelButton(), Qt::LeftButton);
    stillOpen("Cancel");
    EXPECT_EQ(openAssign(), window.data());
    stillOpen("a second Assign Weave");
    EXPECT_FALSE(form->close());
    stillOpen("quitting");
    EXPECT_EQ(asked, 3);

    // Not saved, on purpose: both windows go.
    answer = TWeaveSaveAnswer::No;
    QTest::keyClick(window, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(design.isNull());
    child->PatternGrid().ClearModified();
}
