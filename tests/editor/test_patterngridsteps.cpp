// The compact undo steps of the pattern grid on pictures of several bands: every whole-
// picture command and the fill and colour-change tools are undone and redone exactly with
// RefBitmap equal to the picture, each kept in the form meant for it; and a step that
// cannot be written refuses its command and loses nothing.
#include "core/settings/sharedstate.h"
#include "editor/patterngrid.h"
#include "patterngridfixture.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryFile>

#include <deque>
#include <functional>

namespace {

using T = TToolId;
using Ev = TPatternGrid::TCellEvent;

class PatternGridSteps : public TPatternGridFixture { };

// Runs of 1 to 8 cells of indexes 1 .. 40, with a blank column every 37 columns, so that
// every command has cells to move and blank columns to remove.
QImage runs(int w, int h)
{
    QImage img = NewPicture(w, h, GreyPalette());
    std::uint32_t seed = 99;
    for (int y = 0; y < h; ++y) {
        std::uint8_t *row = img.scanLine(y);
        for (int x = 0; x < w;) {
            seed = seed * 1664525u + 1013904223u;
            const int run = 1 + int((seed >> 8) & 7);
            for (int i = 0; i < run && x < w; ++i, ++x)
                row[x] = x % 37 == 5 ? 0 : std::uint8_t(1 + (seed >> 24) % 40);
        }
    }
    return img;
}

// Index by index: QImage's own comparison goes by colour, and two entries may hold one.
bool sameCells(const QImage &a, const QImage &b)
{
    return PictureRows(a) == PictureRows(b);
}

void expectRefIsPicture(const TPatternGrid &g)
{
    ASSERT_EQ(g.RefBitmap().size(), g.Picture().size());
    EXPECT_TRUE(sameCells(g.RefBitmap(), g.Picture()));
}

// Memory: a step of a new size kept packed in memory; with no memory allowed for such
// steps it goes to files.
enum class TForm { Turn, Packed, Memory, Files };

TForm formWith(TForm form, std::size_t memoryStepBytes)
{
    return form == TForm::Memory && memoryStepBytes == 0 ? TForm::Files : form;
}

void expectForm(const TUndoData &step, TForm form)
{
    EXPECT_EQ(step.Kind, TUndoKind::Image);
    EXPECT_EQ(step.Turn.has_value(), form == TForm::Turn);
    EXPECT_EQ(step.Packed != nullptr, form == TForm::Packed);
    EXPECT_EQ(step.BeforePicture != nullptr && step.AfterPicture != nullptr, form == TForm::Memory);
    EXPECT_EQ(QFileInfo::exists(step.BeforeFile) && QFileInfo::exists(step.AfterFile), form == TForm::Files);
}

// Each limit a step of a new size may keep in memory: the default, and none (files).
const std::size_t MemoryLimits[] = { TUndo::DefaultMemoryStepBytes, 0 };

struct TCommandCase {
    const char *name;
    std::function<bool(TPatternGrid &)> command;
    TForm form;
};

std::vector<TCommandCase> everyCommand()
{
    return {
        { "mirror left", [](TPatternGrid &g) { return g.MirrorLeftImage(); }, TForm::Packed },
        { "mirror right", [](TPatternGrid &g) { return g.MirrorRightImage(); }, TForm::Packed },
        { "mirror top", [](TPatternGrid &g) { return g.MirrorTopImage(); }, TForm::Packed },
        { "mirror bottom", [](TPatternGrid &g) { return g.MirrorBottomImage(); }, TForm::Packed },
        { "link left right", [](TPatternGrid &g) { return g.LinkLeftRight(); }, TForm::Packed },
        { "link top bottom", [](TPatternGrid &g) { return g.LinkTopBottom(); }, TForm::Packed },
        { "flip left right", [](TPatternGrid &g) { return g.FlipLeftRight(); }, TForm::Turn },
        { "flip top bottom", [](TPatternGrid &g) { return g.FlipTopBottom(); }, TForm::Turn },
        { "flip a selection",
            [](TPatternGrid &g) {
                g.SetSelectionRegion(QRegion(13, 100, 150, 701));
                return g.FlipLeftRight();
            },
            TForm::Turn },
        { "half turn", [](TPatternGrid &g) { return g.Rotate180(); }, TForm::Turn },
        { "quarter turn clockwise", [](TPatternGrid &g) { return g.Rotate270(); }, TForm::Turn },
        { "quarter turn counter-clockwise", [](TPatternGrid &g) { return g.Rotate90(); }, TForm::Turn },
        { "resize keeping cells", [](TPatternGrid &g) { return g.ResizePicture(333, 1000, 0); },
            TForm::Memory },
        { "resize stretching", [](TPatternGrid &g) { return g.ResizePicture(450, 1201, 1); }, TForm::Memory },
        { "crop",
            [](TPatternGrid &g) {
                g.SetSelectionRegion(QRegion(10, 10, 250, 1000));
                return g.CropToRegion();
            },
            TForm::Memory },
        { "remove blank", [](TPatternGrid &g) { return g.RemoveBlank(); }, TForm::Memory },
        { "jump start", [](TPatternGrid &g) { return g.JumpStart(); }, TForm::Packed },
        { "clear", [](TPatternGrid &g) { return g.ClearPicture(); }, TForm::Packed },
        { "insert rows", [](TPatternGrid &g) { return g.InsertDeleteLines(0, 100, 50, true, true); },
            TForm::Memory },
        { "delete columns", [](TPatternGrid &g) { return g.InsertDeleteLines(1, 100, 50, false, true); },
            TForm::Memory },
    };
}

// Paints a cell and records it, as a stroke of one cell.
void paintCell(TPatternGrid &g, int x, int y, int index)
{
    g.Picture().scanLine(y)[x] = std::uint8_t(index);
    g.RecordUndoStep(TLineArray { TPoint { x, y } });
}

} // namespace

// 300 x 1201 cells: several bands, a short last band and odd sides. A cell step before the
// command and one after its undo check that the steps around it still replay.
TEST_F(PatternGridSteps, EveryWholePictureCommandReplaysInItsForm)
{
    for (const std::size_t limit : MemoryLimits)
        for (const TCommandCase &c : everyCommand()) {
            SCOPED_TRACE(std::string(c.name) + (limit ? "" : ", files"));
            TPatternGrid g;
            g.UndoStore().MemoryStepBytes = limit;
            show(g, runs(300, 1201));
            g.SetBackColorIndex(3);
            paintCell(g, 7, 9, 200);
            const QImage before = g.Picture().copy();
            ASSERT_TRUE(c.command(g));
            const QImage after = g.Picture().copy();
            EXPECT_FALSE(sameCells(after, before));
            expectRefIsPicture(g);
            ASSERT_EQ(g.UndoStore().UndoCount(), 2);
            expectForm(*g.UndoStore().GetTopStep(), formWith(c.form, limit));

            for (int round = 0; round < 2; ++round) {
                ASSERT_TRUE(g.Undo());
                EXPECT_TRUE(sameCells(g.Picture(), before));
                expectRefIsPicture(g);
                EXPECT_EQ(g.ColCount(), before.width());
                ASSERT_TRUE(g.Redo());
                EXPECT_TRUE(sameCells(g.Picture(), after));
                expectRefIsPicture(g);
                EXPECT_EQ(g.RowCount(), after.height());
            }
            ASSERT_TRUE(g.Undo());
            ASSERT_TRUE(g.Undo());
            EXPECT_EQ(g.Picture().constScanLine(9)[7], runs(300, 1201).constScanLine(9)[7]);
            expectRefIsPicture(g);
        }
}

// A cell painted right after each command is its own step: RefBitmap keeps the picture as
// the command left it (a command that made a picture of a new size may hand the same cells
// to both until one is written), so undoing the cell and then the command gives each
// picture back exactly.
TEST_F(PatternGridSteps, CellPaintedAfterACommandUndoesOnItsOwn)
{
    for (const TCommandCase &c : everyCommand()) {
        SCOPED_TRACE(c.name);
        TPatternGrid g;
        show(g, runs(300, 1201));
        g.SetBackColorIndex(3);
        const QImage before = g.Picture().copy();
        ASSERT_TRUE(c.command(g));
        const QImage after = g.Picture().copy();
        const std::uint8_t old = g.Picture().constScanLine(2)[1];
        paintCell(g, 1, 2, old == 250 ? 251 : 250);
        EXPECT_EQ(g.RefBitmap().constScanLine(2)[1], g.Picture().constScanLine(2)[1]);
        ASSERT_TRUE(g.Undo());
        EXPECT_TRUE(sameCells(g.Picture(), after));
        expectRefIsPicture(g);
        ASSERT_TRUE(g.Undo());
        EXPECT_TRUE(sameCells(g.Picture(), before));
        expectRefIsPicture(g);
        // A write to the picture alone leaves RefBitmap as it was.
        g.Picture().scanLine(0)[0] ^= 1;
        EXPECT_NE(g.RefBitmap().constScanLine(0)[0], g.Picture().constScanLine(0)[0]);
    }
}

// With the temporary folder under a plain file no step file can be written: a command that
// needs one is refused, the picture, RefBitmap and history stay, and the earlier step still
// replays. Flips and turns keep no file and go ahead, and so do steps kept in memory.
TEST_F(PatternGridSteps, StepThatCannotBeWrittenRefusesTheCommand)
{
    QTemporaryFile blocker;
    ASSERT_TRUE(blocker.open());
    const QString saved = Folders().ScanImgPath;
    Folders().ScanImgPath = blocker.fileName() + QStringLiteral("/");
    for (const std::size_t limit : MemoryLimits)
        for (const TCommandCase &c : everyCommand()) {
            SCOPED_TRACE(std::string(c.name) + (limit ? "" : ", files"));
            TPatternGrid g;
            g.UndoStore().MemoryStepBytes = limit;
            const QImage original = runs(300, 1201);
            show(g, original);
            g.SetBackColorIndex(3);
            paintCell(g, 7, 9, 200);
            const QImage before = g.Picture().copy();
            const bool done = c.command(g);
            EXPECT_EQ(done, formWith(c.form, limit) != TForm::Files);
            if (!done) {
                EXPECT_TRUE(sameCells(g.Picture(), before));
                EXPECT_EQ(g.RepeatInfo().UnitWidth, before.width());
                EXPECT_EQ(g.ColCount(), before.width());
                EXPECT_FALSE(g.LastUndoError().isEmpty());
            }
            expectRefIsPicture(g);
            ASSERT_EQ(g.UndoStore().UndoCount(), done ? 2 : 1);
            if (done) {
                ASSERT_TRUE(g.Undo());
            }
            ASSERT_TRUE(g.Undo());
            EXPECT_TRUE(sameCells(g.Picture(), original));
            expectRefIsPicture(g);
        }
    Folders().ScanImgPath = saved;
}

namespace {

// 4-connected cells of the start cell's index, found breadth first: the plain way, to
// check the scan-line fill against.
std::vector<QPoint> connectedCells(const QImage &img, QPoint start)
{
    const std::uint8_t from = img.constScanLine(start.y())[start.x()];
    std::vector<char> seen(std::size_t(img.width()) * img.height(), 0);
    std::vector<QPoint> out;
    std::deque<QPoint> queue { start };
    seen[std::size_t(start.y()) * img.width() + start.x()] = 1;
    while (!queue.empty()) {
        const QPoint p = queue.front();
        queue.pop_front();
        out.push_back(p);
        for (const QPoint d : { QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1) }) {
            const QPoint n = p + d;
            if (!img.rect().contains(n) || img.constScanLine(n.y())[n.x()] != from)
                continue;
            char &s = seen[std::size_t(n.y()) * img.width() + n.x()];
            if (!s) {
                s = 1;
                queue.push_back(n);
            }
        }
    }
    return out;
}

// 160 x 120 cells in runs of indexes 1 .. 6 over a few large areas of index 1; entries 1
// and 2 hold the same colour, 4 is protected in the cases that say so.
QImage areas()
{
    TPalette256 pal = GreyPalette();
    pal[2] = pal[1];
    QImage img = NewPicture(160, 120, pal);
    std::uint32_t seed = 7;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 160; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const bool open = (x / 20 + y / 15) % 4 != 0;
            img.scanLine(y)[x] = open && (seed >> 28) != 0 ? 1 : std::uint8_t(1 + (seed >> 24) % 6);
        }
    return img;
}

} // namespace

// The fill and the colour change on a picture with a duplicated colour and a protected
// one, with and without a selection or a start-point filter: the picture after the tool is
// what the tool's rules make of the cells, the step is packed, and it replays exactly.
TEST_F(PatternGridSteps, FillAndColourChangeStepsReplayExactly)
{
    struct Case {
        const char *name;
        TToolId tool;
        QPoint at;
        int fore;
        QRegion selection;
        bool singlePoint;
    } cases[] = {
        { "fill", T::FillColor, { 25, 20 }, 5, {}, false },
        { "fill into the duplicate colour", T::FillColor, { 25, 20 }, 2, {}, false },
        { "fill inside a selection", T::FillColor, { 25, 20 }, 5, QRegion(10, 5, 90, 70), false },
        { "fill with the single start-point filter", T::FillColor, { 25, 20 }, 6, {}, true },
        { "colour change", T::ChangeColor, { 25, 20 }, 2, {}, false },
        { "colour change of the protected colour", T::ChangeColor, { -1, -1 }, 3, {}, false },
        { "colour change inside a selection", T::ChangeColor, { 25, 20 }, 6, QRegion(30, 0, 64, 119), false },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TPatternGrid g;
        const QImage original = areas();
        show(g, original);
        g.IncludeColorIndex(4);
        if (!c.selection.isEmpty())
            g.SetSelectionRegion(c.selection);
        g.SetPointStyle({ std::uint8_t(c.singlePoint), 0, 1 });
        // The protected case presses the first cell of index 4.
        QPoint at = c.at;
        for (int i = 0; at.x() < 0; ++i)
            if (original.constScanLine(i / 160)[i % 160] == 4)
                at = QPoint(i % 160, i / 160);
        const std::uint8_t from = original.constScanLine(at.y())[at.x()];

        QImage expected = original.copy();
        const auto take = [&](QPoint p) {
            const bool evenSum = ((original.height() + p.x() - 1 - p.y()) & 1) == 0;
            if (c.tool == T::FillColor
                && ((c.singlePoint && evenSum) || !(c.selection.isEmpty() || c.selection.contains(p))))
                return;
            expected.scanLine(p.y())[p.x()] = std::uint8_t(c.fore);
        };
        if (c.tool == T::FillColor) {
            for (const QPoint p : connectedCells(original, at))
                take(p);
        } else {
            const QRect box = c.selection.isEmpty() ? original.rect() : c.selection.boundingRect();
            for (int y = box.top(); y <= box.bottom(); ++y)
                for (int x = box.left(); x <= box.right(); ++x)
                    if (original.constScanLine(y)[x] == from)
                        take(QPoint(x, y));
        }

        g.SetDrawTool(c.tool);
        g.SetForeColorIndex(c.fore);
        g.MouseDown(Ev { { at.x(), at.y() } });
        g.MouseUp(Ev { { at.x(), at.y() } });
        ASSERT_TRUE(sameCells(g.Picture(), expected));
        ASSERT_FALSE(sameCells(expected, original));
        expectRefIsPicture(g);
        ASSERT_EQ(g.UndoStore().UndoCount(), 1);
        const TUndoData &step = *g.UndoStore().GetTopStep();
        ASSERT_TRUE(step.Packed);
        EXPECT_TRUE(step.Data.isEmpty());

        for (int round = 0; round < 2; ++round) {
            ASSERT_TRUE(g.Undo());
            EXPECT_TRUE(sameCells(g.Picture(), original));
            expectRefIsPicture(g);
            ASSERT_TRUE(g.Redo());
            EXPECT_TRUE(sameCells(g.Picture(), expected));
            expectRefIsPicture(g);
        }
    }
}

// Stepping back and forth over a change of size reads each file (or packed picture) into
// the cells of the picture that went before, but never into cells something else still holds: a picture
// kept by another part of the program (a shallow copy) stays as it was.
TEST_F(PatternGridSteps, ReplaysFromFilesNeverWriteCellsHeldElsewhere)
{
    for (const std::size_t limit : MemoryLimits) {
        SCOPED_TRACE(limit ? "memory" : "files");
        TPatternGrid g;
        g.UndoStore().MemoryStepBytes = limit;
        show(g, runs(300, 1201));
        const QImage before = g.Picture().copy();
        ASSERT_TRUE(g.ResizePicture(450, 1201, 1));
        const QImage after = g.Picture().copy();
        const QImage heldAfter = g.Picture(); // shares the cells
        ASSERT_TRUE(g.Undo());
        const QImage heldBefore = g.Picture();
        for (int round = 0; round < 3; ++round) {
            ASSERT_TRUE(g.Redo());
            EXPECT_TRUE(sameCells(g.Picture(), after));
            expectRefIsPicture(g);
            ASSERT_TRUE(g.Undo());
            EXPECT_TRUE(sameCells(g.Picture(), before));
            expectRefIsPicture(g);
        }
        EXPECT_TRUE(sameCells(heldAfter, after));
        EXPECT_TRUE(sameCells(heldBefore, before));
        // Painting into the picture changes neither held copy.
        g.Picture().scanLine(0)[0] ^= 1;
        EXPECT_TRUE(sameCells(heldBefore, before));
    }
}
