// The selection's commands, the clipboard and the floating picture of the pattern grid:
// copy, cut and paste within a grid and between grids and owners, every block that does
// not read, the shifts of the selection's content, dropping and taking up pieces around
// undo and redo, and the move, drag and paste-at-click tools.
#include "patterngridfixture.h"
#include "testutil.h"

#include "core/base/cursors.h"
#include "core/picture/clipboardpicture.h"
#include "core/picture/floatingblock.h"
#include "core/settings/sharedstate.h"
#include "editor/floatingpicture.h"
#include "editor/gridclipboard.h"
#include "editor/palettechoice.h"
#include "editor/tools/customline.h"

#include <QMimeData>

#include <memory>
#include <numbers>

namespace {

struct TFakeClipboard : TGridClipboard {
    std::unique_ptr<QMimeData> Data;
    const QMimeData *MimeData() const override { return Data.get(); }
    void SetMimeData(QMimeData *data) override { Data.reset(data); }
};

struct TFakeAsker : TPaletteChoiceAsker {
    bool Ok = true;
    TPaletteChoice Answer = TPaletteChoice::Combine;
    int Asked = 0;
    bool AskPaletteChoice(TPaletteChoiceKind kind, TPaletteChoice &choice) override
    {
        EXPECT_EQ(kind, TPaletteChoiceKind::Paste);
        ++Asked;
        if (Ok)
            choice = Answer;
        return Ok;
    }
};

// w x h cells, cell (x, y) = 1 + (x + 3 y) mod 9, grey palette.
QImage numbered(int w, int h)
{
    QImage p = NewPicture(w, h, GreyPalette());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.scanLine(y)[x] = std::uint8_t(1 + (x + 3 * y) % 9);
    return p;
}

class ClipboardFixture : public TPatternGridFixture {
protected:
    void SetUp() override
    {
        TPatternGridFixture::SetUp();
        for (TPatternGrid *g : { &a, &b }) {
            g->UndoStore().MaxCount = 20;
            g->SetClipboard(&clip);
            g->SetPaletteChoiceAsker(&asker);
            show(*g, numbered(10, 8));
            g->SetBackColorIndex(0);
            g->SetForeColorIndex(7);
        }
    }
    // A selection of the cells (l, t) .. (r, b) inclusive.
    static void select(TPatternGrid &g, int l, int t, int r, int bottom)
    {
        g.SetSelectionRegion(QRegion(l, t, r - l + 1, bottom - t + 1));
    }
    static std::vector<int> cells(const TPatternGrid &g, int y)
    {
        return PictureRows(g.Picture())[std::size_t(y)];
    }
    TFakeClipboard clip;
    TFakeAsker asker;
    TPatternGrid a, b;
};

} // namespace

TEST_F(ClipboardFixture, SelectAllCoversThePictureAndDropsTheFloatingPiece)
{
    TPatternGrid g;
    g.SetClipboard(&clip);
    show(g, numbered(100, 50));
    select(g, 1, 1, 2, 2);
    ASSERT_TRUE(g.Copy());
    ASSERT_TRUE(g.PasteFromClipboard({ 50, 20 }, true));
    ASSERT_TRUE(g.HasFloatingBitmap());
    g.SelectAll();
    EXPECT_FALSE(g.HasFloatingBitmap());
    EXPECT_EQ(PictureRows(g.Picture())[20][50], PictureRows(g.Picture())[1][1]) << "stamped where it lay";
    EXPECT_EQ(g.GetRegionHandle(), QRegion(0, 0, 100, 50));
    ASSERT_NE(g.RegionObject(), nullptr);
    ASSERT_EQ(g.RegionObject()->GetPointCount(), 2);
    std::vector<TPoint> corners;
    g.RegionObject()->GetPoints(corners);
    EXPECT_EQ(corners, (std::vector<TPoint> { { 0, 0 }, { 99, 49 } }));
}

TEST_F(ClipboardFixture, CutIsOneExactStepThatUndoes)
{
    const QImage before = a.Picture().copy();
    a.SetBackColorIndex(200);
    // Entry 5 shows the back colour too; the back index itself is written, not the first
    // entry of its colour.
    TPalette256 pal = a.Palette();
    pal[5] = pal[200];
    a.SetPalette(pal);
    a.SetBackColorIndex(200);
    select(a, 2, 2, 4, 3);
    const int steps = a.UndoStore().UndoCount();
    ASSERT_TRUE(a.Cut());
    EXPECT_EQ(a.UndoStore().UndoCount(), steps + 1);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool inBox = x >= 2 && x <= 4 && y >= 2 && y <= 3;
            EXPECT_EQ(a.Picture().pixelIndex(x, y), inBox ? 200 : before.pixelIndex(x, y)) << x << "," << y;
        }
    EXPECT_EQ(a.RefBitmap().pixelIndex(3, 3), 200);
    ASSERT_TRUE(a.Undo());
    EXPECT_EQ(PictureRows(a.Picture()), PictureRows(before));
    // The piece on the clipboard is the box, pasted back as it was.
    a.CancelRegionObject();
    ASSERT_TRUE(a.PasteFromClipboard({ 5, 4 }, true));
    a.DropFloatingObjects();
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(a.Picture().pixelIndex(5 + x, 4 + y), before.pixelIndex(2 + x, 2 + y));
}

TEST_F(ClipboardFixture, PasteAsksAboutThePaletteOnlyForAPieceFromElsewhere)
{
    select(a, 0, 0, 1, 0);
    ASSERT_TRUE(a.Copy());
    ASSERT_TRUE(a.PasteFromClipboard({ 0, 5 }, true));
    EXPECT_EQ(asker.Asked, 0) << "same grid";
    EXPECT_EQ(a.PasteMode(), 0);

    // Another grid, and another program whose grid has the same number: both ask, and a
    // cancel changes nothing.
    QMimeData *foreign = new QMimeData;
    for (const QString &f : clip.Data->formats())
        foreign->setData(f, clip.Data->data(f));
    QByteArray token = a.ClipboardOwnerToken();
    token.replace(0, token.indexOf(':'), "999999999");
    foreign->setData(ClipboardMimeType(CF_Owner), token);
    const std::unique_ptr<QMimeData> fromA(clip.Data.release());
    struct Case {
        const char *Name;
        const QMimeData *Data;
        TPatternGrid *Into;
    } cases[] = { { "other grid", fromA.get(), &b }, { "other owner", foreign, &a } };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        auto *data = new QMimeData;
        for (const QString &f : c.Data->formats())
            data->setData(f, c.Data->data(f));
        clip.SetMimeData(data);
        c.Into->DropFloatingObjects();
        const QImage before = c.Into->Picture().copy();
        const int steps = c.Into->UndoStore().UndoCount();
        asker.Asked = 0;
        asker.Ok = false;
        QString error;
        EXPECT_FALSE(c.Into->PasteFromClipboard({ 3, 3 }, true, &error));
        EXPECT_EQ(asker.Asked, 1);
        EXPECT_FALSE(c.Into->HasFloatingBitmap());
        EXPECT_EQ(c.Into->UndoStore().UndoCount(), steps);
        EXPECT_EQ(PictureRows(c.Into->Picture()), PictureRows(before));
        asker.Ok = true;
        asker.Answer = TPaletteChoice::First;
        EXPECT_TRUE(c.Into->PasteFromClipboard({ 3, 3 }, true));
        EXPECT_EQ(c.Into->PasteMode(), 4);
        EXPECT_TRUE(c.Into->HasFloatingBitmap());
    }
    delete foreign;
}

TEST_F(ClipboardFixture, PlainImageIsJoinedAndPutBackAsFloatingBlock)
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(qRgb(10, 200, 30)); // a colour the grey document lacks
    auto *data = new QMimeData;
    data->setImageData(image);
    clip.SetMimeData(data);
    const int steps = a.UndoStore().UndoCount();
    ASSERT_TRUE(a.PasteFromClipboard({}, false));
    EXPECT_EQ(a.PasteMode(), 3);
    EXPECT_EQ(a.ToolId(), TToolId::Move) << "a paste without a place hands over to the move tool";
    EXPECT_TRUE(clip.Data->hasFormat(ClipboardMimeType(CF_BMP)));
    EXPECT_EQ(clip.Data->data(ClipboardMimeType(CF_Owner)), a.ClipboardOwnerToken());
    // The joint palette is one whole-picture step, the piece one more.
    EXPECT_EQ(a.UndoStore().UndoCount(), steps + 2);
    a.DropFloatingObjects();
    // The joint palette holds the piece's green (as near as the joint palette keeps it).
    const TColor green = GetPaletteColor(a.Palette(), a.Picture().pixelIndex(a.LeftCol(), a.TopRow()));
    EXPECT_NEAR(double((green >> 8) & 0xFF), 200.0, 4.0);
    EXPECT_LT(green & 0xFF, 20u);
}

TEST_F(ClipboardFixture, BlocksThatDoNotReadAreRefusedAndTheNextFormatTried)
{
    QImage huge(2, 70000, QImage::Format_RGB32);
    huge.fill(Qt::red);
    struct Case {
        const char *Name;
        std::function<QMimeData *()> Make;
        bool Pasted;
    } cases[] = {
        { "empty clipboard", [] { return new QMimeData; }, false },
        { "damaged floating block",
            [] {
                auto *d = new QMimeData;
                d->setData(ClipboardMimeType(CF_BMP), QByteArray("\x01\x02\x03", 3));
                return d;
            },
            false },
        { "truncated 256-colour block",
            [] {
                auto *d = new QMimeData;
                d->setData(ClipboardMimeType(CF_256Bitmap), QByteArray(40, '\0'));
                return d;
            },
            false },
        { "damaged floating block, sound plain image",
            [] {
                auto *d = new QMimeData;
                d->setData(ClipboardMimeType(CF_BMP), QByteArray(7, '\xff'));
                QImage i(2, 2, QImage::Format_RGB32);
                i.fill(Qt::white);
                d->setImageData(i);
                return d;
            },
            true },
        { "plain image beyond the side limit",
            [huge] {
                auto *d = new QMimeData;
                d->setImageData(huge);
                return d;
            },
            false },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        a.DropFloatingObjects();
        clip.SetMimeData(c.Make());
        const QImage before = a.Picture().copy();
        const int steps = a.UndoStore().UndoCount();
        QString error;
        EXPECT_EQ(a.PasteFromClipboard({ 1, 1 }, true, &error), c.Pasted);
        EXPECT_EQ(a.HasFloatingBitmap(), c.Pasted);
        if (!c.Pasted) {
            EXPECT_FALSE(error.isEmpty()) << "the user is told";
            EXPECT_EQ(a.UndoStore().UndoCount(), steps);
            EXPECT_EQ(PictureRows(a.Picture()), PictureRows(before));
        }
    }
}

TEST_F(ClipboardFixture, ShiftsOfTheSelectionStayInTheBoxAndRecordItOnly)
{
    // 4 x 3 picture: rows "1 2 3 4", "5 6 7 8", "9 10 11 12".
    const QImage start = MakePicture({ { 1, 2, 3, 4 }, { 5, 6, 7, 8 }, { 9, 10, 11, 12 } });
    using Rows = std::vector<std::vector<int>>;
    struct Case {
        const char *Name;
        QRect Box;
        int Code;
        Rows After;
    } cases[] = {
        { "down", { 1, 0, 2, 2 }, 1, { { 1, 6, 7, 4 }, { 5, 2, 3, 8 }, { 9, 10, 11, 12 } } },
        { "up", { 1, 0, 2, 2 }, -1, { { 1, 6, 7, 4 }, { 5, 2, 3, 8 }, { 9, 10, 11, 12 } } },
        { "left, box at row 0", { 0, 0, 3, 2 }, 2, { { 2, 3, 1, 4 }, { 6, 7, 5, 8 }, { 9, 10, 11, 12 } } },
        { "right, box at row 0", { 0, 0, 3, 2 }, -2, { { 3, 1, 2, 4 }, { 7, 5, 6, 8 }, { 9, 10, 11, 12 } } },
        { "left, one-row box", { 1, 2, 3, 1 }, 2, { { 1, 2, 3, 4 }, { 5, 6, 7, 8 }, { 9, 11, 12, 10 } } },
        { "down over the full height", { 2, 1, 1, 1 }, 3,
            { { 1, 2, 11, 4 }, { 5, 6, 3, 8 }, { 9, 10, 7, 12 } } },
        { "up over the full height", { 2, 1, 1, 1 }, -3,
            { { 1, 2, 7, 4 }, { 5, 6, 11, 8 }, { 9, 10, 3, 12 } } },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        TPatternGrid g;
        show(g, start);
        g.SetSelectionRegion(QRegion(c.Box));
        const int steps = g.UndoStore().UndoCount();
        ASSERT_TRUE(g.MoveRegionContent(c.Code));
        EXPECT_EQ(PictureRows(g.Picture()), c.After);
        EXPECT_EQ(PictureRows(g.RefBitmap()), c.After);
        ASSERT_EQ(g.UndoStore().UndoCount(), steps + 1);
        EXPECT_NE(g.UndoStore().GetTopStep()->Kind, TUndoKind::Image) << "the box, not the picture";
        ASSERT_TRUE(g.Undo());
        EXPECT_EQ(PictureRows(g.Picture()), PictureRows(start));
    }
    TPatternGrid none;
    show(none, start);
    EXPECT_FALSE(none.MoveRegionContent(1)) << "without a selection";
}

TEST_F(ClipboardFixture, DroppedPieceComesBackFloatingByOneUndoAndGoesByTheNext)
{
    select(a, 0, 0, 1, 1);
    ASSERT_TRUE(a.Copy());
    const QImage before = a.Picture().copy();
    ASSERT_TRUE(a.PasteFromClipboard({ 6, 5 }, true));
    ASSERT_TRUE(a.HasFloatingBitmap());
    EXPECT_EQ(PictureRows(a.Picture()), PictureRows(before)) << "floating, not yet in the picture";
    // A press with another tool stamps it as one step.
    a.SetDrawTool(TToolId::FreeLine);
    a.MouseDown({ { 9, 0 } });
    a.MouseUp({ { 9, 0 } });
    EXPECT_FALSE(a.HasFloatingBitmap());
    EXPECT_EQ(a.Picture().pixelIndex(6, 5), before.pixelIndex(0, 0));
    EXPECT_EQ(a.Picture().pixelIndex(7, 6), before.pixelIndex(1, 1));
    ASSERT_TRUE(a.Undo()); // the free-hand dot
    ASSERT_TRUE(a.Undo()); // the stamp
    EXPECT_TRUE(a.HasFloatingBitmap());
    EXPECT_EQ(PictureRows(a.Picture()), PictureRows(before));
    ASSERT_TRUE(a.Undo()); // the paste
    EXPECT_FALSE(a.HasFloatingBitmap());
    ASSERT_TRUE(a.Redo());
    EXPECT_TRUE(a.HasFloatingBitmap());
    ASSERT_TRUE(a.Undo());
    // A new step frees the undone piece: the grid must hold nothing of it.
    a.SetDrawTool(TToolId::FreeLine);
    a.MouseDown({ { 9, 7 } });
    a.MouseUp({ { 9, 7 } });
    EXPECT_EQ(a.UndoStore().RedoCount(), 0);
    EXPECT_FALSE(a.HasFloatingBitmap());
    a.NotifyEditState();
    QImage view;
    a.Paint(view);
}

TEST_F(ClipboardFixture, FloatingStatesAroundReplay)
{
    select(a, 0, 0, 1, 0);
    ASSERT_TRUE(a.Copy());
    ASSERT_TRUE(a.PasteFromClipboard({ 4, 4 }, true));
    TBmp *piece = a.FloatingBitmap();
    a.SetFloatingObjectsState(1);
    EXPECT_FALSE(a.FloatingObjectShown());
    a.SetFloatingObjectsState(2);
    EXPECT_TRUE(a.FloatingObjectShown());
    const int before = a.Picture().pixelIndex(4, 4);
    a.SetFloatingObjectsState(3);
    EXPECT_EQ(a.Picture().pixelIndex(4, 4), a.Picture().pixelIndex(0, 0)) << "stamped";
    EXPECT_NE(before, a.Picture().pixelIndex(4, 4));
    a.Picture().setPixel(4, 4, uint(before));
    a.Picture().setPixel(5, 4, uint(a.RefBitmap().pixelIndex(5, 4)));
    a.SetFloatingObjectsState(0);
    EXPECT_EQ(a.FloatingBitmap(), piece) << "the newest step made it";
    a.SetFloatingObjectsState(4);
    EXPECT_EQ(a.FloatingBitmap(), piece);
    a.FillRegion(0); // no selection: nothing
    select(a, 9, 7, 9, 7);
    a.FillRegion(2);
    a.SetFloatingObjectsState(0);
    EXPECT_FALSE(a.HasFloatingBitmap()) << "a newer step made no piece";
}

TEST_F(ClipboardFixture, DeleteTakesTheNewestPieceAway)
{
    select(a, 0, 0, 0, 0);
    ASSERT_TRUE(a.Copy());
    ASSERT_TRUE(a.PasteFromClipboard({ 2, 2 }, true));
    ASSERT_TRUE(a.PasteFromClipboard({ 5, 5 }, true));
    const int steps = a.UndoStore().UndoCount();
    a.RemoveFloatingObject();
    EXPECT_FALSE(a.HasFloatingBitmap());
    EXPECT_EQ(a.UndoStore().UndoCount(), steps - 1);
    EXPECT_EQ(a.Picture().pixelIndex(2, 2), a.Picture().pixelIndex(0, 0)) << "the first piece was stamped";
    EXPECT_NE(a.Picture().pixelIndex(5, 5), a.Picture().pixelIndex(0, 0));
}

TEST_F(ClipboardFixture, FlipsAndTurnsOfAPieceRecordNothing)
{
    select(a, 0, 0, 2, 0);
    ASSERT_TRUE(a.Copy());
    ASSERT_TRUE(a.PasteFromClipboard({ 0, 6 }, true));
    const QImage before = a.Picture().copy();
    const int steps = a.UndoStore().UndoCount();
    using Command = bool (TPatternGrid::*)();
    // Two top-bottom flips, a quarter turn each way and two half turns undo themselves;
    // the left-right flip stays.
    for (Command c : { &TPatternGrid::FlipTopBottom, &TPatternGrid::Rotate90, &TPatternGrid::Rotate180,
             &TPatternGrid::FlipLeftRight, &TPatternGrid::Rotate180, &TPatternGrid::Rotate270,
             &TPatternGrid::FlipTopBottom })
        EXPECT_TRUE((a.*c)());
    EXPECT_EQ(a.UndoStore().UndoCount(), steps);
    EXPECT_EQ(PictureRows(a.Picture()), PictureRows(before));
    a.DropFloatingObjects();
    const std::vector<int> row0 = cells(a, 0);
    EXPECT_EQ(cells(a, 6)[0], row0[2]);
    EXPECT_EQ(cells(a, 6)[1], row0[1]);
    EXPECT_EQ(cells(a, 6)[2], row0[0]);
}

TEST_F(ClipboardFixture, MoveToolDragsThePieceByBodyAndHandle)
{
    select(a, 0, 0, 4, 4);
    ASSERT_TRUE(a.Copy());
    ASSERT_TRUE(a.PasteFromClipboard({ 2, 2 }, true));
    a.SetDrawTool(TToolId::Move);
    // Body: pressed inside, dragged by (3, 1); then Shift keeps the column.
    a.MouseDown({ { 4, 4 } });
    a.MouseMove({ { 7, 5 } }, true);
    a.MouseMove({ { 9, 6 }, TPatternGrid::TMouseButton::Left, true }, true);
    a.MouseUp({ { 9, 6 } });
    EXPECT_EQ(a.FloatingBitmap()->Position(), (TPoint { 5, 4 }));
    EXPECT_EQ(a.ToolCursor(), crMovingArea);
    // The top-left handle pulled one cell up and left: six by six.
    a.MouseMove({ { 5, 4 } }, false);
    EXPECT_EQ(a.ToolCursor(), -int(Qt::SizeFDiagCursor)) << "the size cursor over a corner";
    a.MouseDown({ { 5, 4 } });
    a.MouseMove({ { 4, 3 } }, true);
    a.MouseUp({ { 4, 3 } });
    const TRect r = a.FloatingBitmap()->SelRect();
    EXPECT_EQ(r.Right - r.Left, 5);
    EXPECT_EQ(r.Bottom - r.Top, 5);
}

TEST_F(ClipboardFixture, DraggingTheSelectionCutsItAndCarriesThePiece)
{
    const QImage before = a.Picture().copy();
    select(a, 1, 1, 2, 2);
    a.SetDrawTool(TToolId::Move);
    a.MouseDown({ { 1, 1 } });
    EXPECT_EQ(a.ToolId(), TToolId::MoveSelection);
    a.MouseMove({ { 4, 3 } }, true);
    a.MouseUp({ { 4, 3 } });
    EXPECT_EQ(a.ToolId(), TToolId::Move);
    ASSERT_TRUE(a.HasFloatingBitmap());
    EXPECT_EQ(a.FloatingBitmap()->Position(), (TPoint { 4, 3 }));
    EXPECT_EQ(a.Picture().pixelIndex(1, 1), 0) << "cut: the back colour";
    a.DropFloatingObjects();
    EXPECT_EQ(a.Picture().pixelIndex(4, 3), before.pixelIndex(1, 1));
    EXPECT_EQ(a.Picture().pixelIndex(5, 4), before.pixelIndex(2, 2));
}

TEST_F(ClipboardFixture, PasteAtClickToolPastesAtThePressedCell)
{
    select(a, 0, 0, 0, 0);
    ASSERT_TRUE(a.Copy());
    a.CancelRegionObject();
    a.SetDrawTool(TToolId::MouseSelect);
    a.MouseDown({ { 7, 6 } });
    a.MouseUp({ { 7, 6 } });
    EXPECT_EQ(a.PastePos(), (TPoint { 7, 6 }));
    ASSERT_TRUE(a.HasFloatingBitmap());
    EXPECT_EQ(a.FloatingBitmap()->Position(), (TPoint { 7, 6 }));
    EXPECT_EQ(a.ToolId(), TToolId::MouseSelect);
    a.MouseDown({ { 1, 6 } }); // the next press drops the first piece and pastes anew
    a.MouseUp({ { 1, 6 } });
    EXPECT_EQ(a.Picture().pixelIndex(7, 6), a.Picture().pixelIndex(0, 0));
    EXPECT_EQ(a.FloatingBitmap()->Position(), (TPoint { 1, 6 }));
}

TEST_F(ClipboardFixture, CopyByColourAndClearingColours)
{
    // Copy only colour 3 of the box: the rest of the piece is transparent.
    const QImage start = MakePicture({ { 3, 4, 3 }, { 4, 3, 4 } });
    show(a, start);
    select(a, 0, 0, 2, 1);
    ASSERT_TRUE(a.Copy({ 3 }, true));
    a.CancelRegionObject();
    a.ClearColorsInSelection({ 3, 4 });
    EXPECT_EQ(PictureRows(a.Picture()), (std::vector<std::vector<int>> { { 0, 0, 0 }, { 0, 0, 0 } }));
    ASSERT_TRUE(a.PasteFromClipboard({ 0, 0 }, true));
    a.DropFloatingObjects();
    EXPECT_EQ(PictureRows(a.Picture()), (std::vector<std::vector<int>> { { 3, 0, 3 }, { 0, 3, 0 } }));
    EXPECT_FALSE(b.Copy()) << "nothing selected, nothing floating";
}

TEST_F(ClipboardFixture, ArrowsShiftWithNeedleMoveMoveAPieceOrScroll)
{
    select(a, 0, 0, 2, 0);
    const std::vector<int> row0 = cells(a, 0);
    a.SetMoveWarp(true);
    EXPECT_TRUE(a.HandleArrowKey(Qt::Key_Left, false));
    EXPECT_EQ(cells(a, 0)[0], row0[1]);
    EXPECT_EQ(cells(a, 0)[2], row0[0]);
    EXPECT_TRUE(a.HandleArrowKey(Qt::Key_Right, false));
    EXPECT_EQ(cells(a, 0), row0);
    a.SetMoveWarp(false);
    ASSERT_TRUE(a.Copy());
    ASSERT_TRUE(a.PasteFromClipboard({ 3, 3 }, true));
    EXPECT_TRUE(a.HandleArrowKey(Qt::Key_Right, false));
    EXPECT_TRUE(a.HandleArrowKey(Qt::Key_Down, false));
    EXPECT_EQ(a.FloatingBitmap()->Position(), (TPoint { 4, 4 }));
    // Delete takes the piece away; the arrows scroll again.
    a.HandleToolKey(TToolKey::Delete);
    EXPECT_FALSE(a.HasFloatingBitmap());
    a.SetClientSize(20, 20);
    a.SetZoom(20);
    EXPECT_TRUE(a.HandleArrowKey(Qt::Key_Right, false));
    EXPECT_EQ(a.LeftCol(), 1);
}

TEST_F(ClipboardFixture, StepsKeepThePendingShapeAndUndoBringsItBack)
{
    a.SetDrawTool(TToolId::Rectangle);
    a.MouseDown({ { 1, 1 } });
    a.MouseMove({ { 4, 3 } }, true);
    a.MouseUp({ { 4, 3 } });
    ASSERT_NE(a.DrawObject(), nullptr);
    ASSERT_GE(a.DrawObject()->GetPointCount(), 2);
    std::vector<TPoint> drawn;
    a.DrawObject()->GetPoints(drawn);
    // Another edit is recorded while the shape is pending: the step keeps a copy of it.
    a.Picture().scanLine(7)[9] = 8;
    TLineArray cell(1);
    cell[0] = { 9, 7 };
    a.RecordUndoStep(cell);
    ASSERT_NE(a.UndoStore().GetTopStep()->ShapeCopy, nullptr);
    a.DrawObject()->Clear();
    a.SetDrawTool(TToolId::Move);
    ASSERT_TRUE(a.Undo());
    EXPECT_EQ(a.ToolId(), TToolId::Rectangle);
    ASSERT_NE(a.DrawObject(), nullptr);
    std::vector<TPoint> back;
    a.DrawObject()->GetPoints(back);
    EXPECT_EQ(back, drawn);
    ASSERT_TRUE(a.Redo());
    EXPECT_EQ(a.DrawObject()->GetPointCount(), 0) << "a redo leaves no shape behind";
}

TEST_F(ClipboardFixture, TransparentColoursReachEveryKeptPiece)
{
    select(a, 0, 0, 2, 0);
    ASSERT_TRUE(a.Copy());
    const std::vector<int> row0 = cells(a, 0), row5 = cells(a, 5);
    ASSERT_TRUE(a.PasteFromClipboard({ 0, 5 }, true));
    a.IncludeTransColor(std::uint8_t(row0[1]));
    EXPECT_TRUE(a.TransColorSet().test(std::size_t(row0[1])));
    a.DropFloatingObjects();
    EXPECT_EQ(cells(a, 5)[0], row0[0]);
    EXPECT_EQ(cells(a, 5)[1], row5[1]) << "a transparent colour is not stamped";
    EXPECT_EQ(cells(a, 5)[2], row0[2]);
    // Undone, the piece floats again; the colour made opaque again is stamped.
    ASSERT_TRUE(a.Undo());
    ASSERT_TRUE(a.HasFloatingBitmap());
    a.ExcludeTransColor(std::uint8_t(row0[1]));
    a.DropFloatingObjects();
    EXPECT_EQ(cells(a, 5)[1], row0[1]);
}
