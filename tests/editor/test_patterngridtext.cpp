// The floating text on the pattern grid: the text tool making and changing it, the move
// tool moving and stretching it, stamping it as one step that undoes, copying it between
// grids, the flips and turns, and the chosen colour.
#include "patterngridfixture.h"
#include "testutil.h"

#include "core/picture/clipboardpicture.h"
#include "core/settings/sharedstate.h"
#include "editor/gridclipboard.h"
#include "editor/insertword.h"
#include "editor/palettechoice.h"
#include "editor/picturerotation.h"

#include <QMimeData>

#include <memory>
#include <numbers>

namespace {

constexpr double Pi = std::numbers::pi;

struct TFakeClipboard : TGridClipboard {
    std::unique_ptr<QMimeData> Data;
    const QMimeData *MimeData() const override { return Data.get(); }
    void SetMimeData(QMimeData *data) override { Data.reset(data); }
};

// Answers the text dialog: what it was shown is kept, the answer given back.
struct TFakeWordAsker : TInsertWordAsker {
    bool Ok = true;
    TInsertWordValues Answer;
    TInsertWordValues Shown;
    int Asked = 0;
    bool AskInsertWord(TInsertWordValues &values) override
    {
        ++Asked;
        Shown = values;
        if (!Ok)
            return false;
        values = Answer;
        return true;
    }
};

struct TPaletteAnswer : TPaletteChoiceAsker {
    bool AskPaletteChoice(TPaletteChoiceKind, TPaletteChoice &choice) override
    {
        choice = TPaletteChoice::First;
        return true;
    }
};

class GridTextFixture : public TPatternGridFixture {
protected:
    void SetUp() override
    {
        TPatternGridFixture::SetUp();
        for (TPatternGrid *g : { &a, &b }) {
            g->UndoStore().MaxCount = 20;
            g->SetClipboard(&clip);
            g->SetPaletteChoiceAsker(&palette);
            g->SetInsertWordAsker(&asker);
            QImage picture = NewPicture(160, 80, GreyPalette());
            picture.fill(0);
            show(*g, picture);
            g->SetForeColorIndex(9);
        }
        asker.Answer.Text = QStringLiteral("AB 花样\nsecond line");
        asker.Answer.Size = 18;
        asker.Answer.X = 12;
        asker.Answer.Y = 20;
    }
    // A click of the text tool at cell.
    static void textToolAt(TPatternGrid &g, TPoint cell)
    {
        g.SetDrawTool(TToolId::InsertWord);
        g.MouseDown({ cell });
        g.MouseUp({ cell });
    }
    // A drag of the move tool from one cell to another.
    static void dragWithMoveTool(TPatternGrid &g, TPoint from, TPoint to)
    {
        g.SetDrawTool(TToolId::Move);
        g.MouseDown({ from });
        g.MouseMove({ { (from.X + to.X) / 2, (from.Y + to.Y) / 2 } }, true);
        g.MouseMove({ to }, true);
        g.MouseUp({ to });
    }
    static int cellsOf(const QImage &p, int index)
    {
        int n = 0;
        for (int y = 0; y < p.height(); ++y)
            for (int x = 0; x < p.width(); ++x)
                n += p.constScanLine(y)[x] == index;
        return n;
    }
    TFakeClipboard clip;
    TPaletteAnswer palette;
    TFakeWordAsker asker;
    TPatternGrid a, b;
};

} // namespace

TEST_F(GridTextFixture, TextToolMakesAFloatingTextAndHandsOverToTheMoveTool)
{
    const QImage before = a.Picture().copy();
    const int steps = a.UndoStore().UndoCount();
    textToolAt(a, { 30, 40 });
    EXPECT_EQ(asker.Asked, 1);
    EXPECT_EQ(asker.Shown.X, 30);
    EXPECT_EQ(asker.Shown.Y, 40);
    ASSERT_TRUE(a.HasFloatingText());
    const TInsertWord &text = *a.FloatingText();
    EXPECT_EQ(text.Text(), QStringLiteral("AB 花样"));
    EXPECT_EQ(text.Position(), (TPoint { 12, 20 }));
    EXPECT_EQ(text.ColorIndex(), 9);
    EXPECT_EQ(text.Frame().Left, 12);
    EXPECT_EQ(a.ToolId(), TToolId::Move);
    EXPECT_EQ(a.UndoStore().UndoCount(), steps + 1);
    EXPECT_EQ(a.UndoStore().UndoTexts.size(), 1u);
    // Floating, not yet part of the pattern.
    EXPECT_EQ(a.Picture(), before);

    // Cancelled, or with nothing on the first line, the tool makes nothing.
    for (const bool ok : { false, true }) {
        asker.Ok = ok;
        asker.Answer.Text = QStringLiteral("   \nAB");
        textToolAt(b, { 3, 3 });
        EXPECT_FALSE(b.HasFloatingText());
        EXPECT_EQ(b.ToolId(), TToolId::Move);
    }
}

TEST_F(GridTextFixture, ClickOnTheTextEditsIt)
{
    textToolAt(a, { 30, 40 });
    TInsertWord *text = a.FloatingText();
    ASSERT_NE(text, nullptr);
    const TPoint inside { text->Frame().Left + 5, text->Frame().Top + 5 };
    asker.Answer = InsertWordValuesOf(*text);
    asker.Answer.Angle = 90;
    textToolAt(a, inside);
    EXPECT_EQ(asker.Shown.Text, QStringLiteral("AB 花样"));
    EXPECT_EQ(asker.Shown.X, 12);
    EXPECT_EQ(asker.Shown.Size, 18);
    EXPECT_EQ(a.FloatingText(), text);
    EXPECT_NEAR(text->Angle(), Pi / 2, 1e-9);
    EXPECT_EQ(a.UndoStore().UndoTexts.size(), 1u);
    // A new line of text takes a frame of its own.
    const int width = text->Frame().Right - text->Frame().Left;
    asker.Answer = InsertWordValuesOf(*text);
    asker.Answer.Text = QStringLiteral("AB 花样 AB 花样");
    textToolAt(a, text->Centre());
    EXPECT_EQ(asker.Asked, 3);
    EXPECT_EQ(a.FloatingText(), text);
    EXPECT_GT(text->Frame().Right - text->Frame().Left, width * 3 / 2);
}

TEST_F(GridTextFixture, MoveToolMovesAndStretchesTheText)
{
    textToolAt(a, { 30, 40 });
    TInsertWord &text = *a.FloatingText();
    const TRect frame = text.Frame();
    const TPoint inside { frame.Left + 6, frame.Top + 4 };
    dragWithMoveTool(a, inside, { inside.X + 10, inside.Y + 3 });
    EXPECT_EQ(text.Position(), (TPoint { 22, 23 }));
    EXPECT_EQ(text.Frame().Left, frame.Left + 10);
    EXPECT_EQ(text.ShowHandles(), 1);
    EXPECT_EQ(text.DragMode(), TWordDragMode::None);

    // The right-middle handle pulled out widens every character.
    const int charWidth = text.CharWidth();
    const TPoint right = text.RotatedHandles()[3];
    dragWithMoveTool(a, right, { right.X + 30, right.Y });
    EXPECT_GT(text.CharWidth(), charWidth);
    EXPECT_EQ(text.TextHeight(), frame.Bottom - frame.Top + 1);
    // The bottom-middle handle pulled down makes the letters taller only.
    const int wider = text.CharWidth();
    const TPoint bottom = text.RotatedHandles()[5];
    dragWithMoveTool(a, bottom, { bottom.X, bottom.Y + 12 });
    EXPECT_EQ(text.CharWidth(), wider);
    EXPECT_EQ(text.TextHeight(), frame.Bottom - frame.Top + 13);
    // Nothing stamped yet.
    EXPECT_EQ(cellsOf(a.Picture(), 9), 0);
}

TEST_F(GridTextFixture, DropStampsTheTextAsOneStepThatUndoes)
{
    textToolAt(a, { 30, 40 });
    const TRect box = a.FloatingText()->TextBox();
    const int steps = a.UndoStore().UndoCount();
    a.DropFloatingObjects();
    EXPECT_FALSE(a.HasFloatingText());
    EXPECT_EQ(a.UndoStore().UndoCount(), steps + 1);
    const QImage &p = a.Picture();
    EXPECT_GT(cellsOf(p, 9), 40);
    EXPECT_EQ(cellsOf(p, 9) + cellsOf(p, 0), p.width() * p.height());
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x)
            if (p.constScanLine(y)[x] == 9) {
                ASSERT_TRUE(x >= box.Left && x <= box.Right && y >= box.Top && y <= box.Bottom)
                    << x << "," << y;
            }
    EXPECT_EQ(a.RefBitmap(), a.Picture());
    // One undo takes the stamp back and the text floats again.
    ASSERT_TRUE(a.Undo());
    EXPECT_EQ(cellsOf(a.Picture(), 9), 0);
    ASSERT_TRUE(a.HasFloatingText());
    // Another tool's press stamps it too.
    a.SetDrawTool(TToolId::FillColor);
    a.MouseDown({ { 150, 70 } });
    a.MouseUp({ { 150, 70 } });
    EXPECT_FALSE(a.HasFloatingText());
    EXPECT_GT(cellsOf(a.Picture(), 9), 40);
}

TEST_F(GridTextFixture, CopyAndPasteBetweenGrids)
{
    textToolAt(a, { 30, 40 });
    const TInsertWord &source = *a.FloatingText();
    ASSERT_TRUE(a.Copy());
    ASSERT_NE(clip.Data, nullptr);
    EXPECT_TRUE(clip.Data->hasFormat(ClipboardMimeType(CF_WORD)));
    ASSERT_TRUE(b.PasteFromClipboard({ 0, 0 }, false));
    ASSERT_TRUE(b.HasFloatingText());
    const TInsertWord &pasted = *b.FloatingText();
    EXPECT_EQ(pasted.Text(), source.Text());
    EXPECT_EQ(pasted.Frame(), source.Frame());
    EXPECT_EQ(pasted.Font().family(), source.Font().family());
    EXPECT_EQ(b.ToolId(), TToolId::Move);
    EXPECT_EQ(b.UndoStore().UndoTexts.size(), 1u);
    // Stamped, it writes the very cells the original writes.
    a.DropFloatingObjects();
    b.DropFloatingObjects();
    EXPECT_GT(cellsOf(a.Picture(), 9), 40);
    EXPECT_EQ(b.Picture(), a.Picture());
    // Pasted at a given place.
    ASSERT_TRUE(b.PasteFromClipboard({ 50, 10 }, true));
    EXPECT_EQ(b.FloatingText()->Position(), (TPoint { 50, 10 }));

    // A text GBK cannot hold is not copied, and the person is told.
    QString told;
    a.SetPickedToolReport([&](const TFloatMarking *, const QString &message) { told = message; });
    asker.Answer.Text = QString::fromUtf8("A\xF0\x9F\x98\x80");
    textToolAt(a, { 5, 5 });
    ASSERT_TRUE(a.HasFloatingText());
    EXPECT_FALSE(a.Copy());
    EXPECT_FALSE(told.isEmpty());
}

TEST_F(GridTextFixture, FlipsAndTurnsTurnTheTextOnly)
{
    const struct {
        const char *name;
        std::function<bool(TPatternGrid &)> command;
        double turn;
    } cases[] = {
        { "flip left-right", [](TPatternGrid &g) { return g.FlipLeftRight(); }, -Pi },
        { "flip top-bottom", [](TPatternGrid &g) { return g.FlipTopBottom(); }, -Pi },
        { "half turn", [](TPatternGrid &g) { return g.Rotate180(); }, -Pi },
        { "turn 270", [](TPatternGrid &g) { return g.Rotate270(); }, -Pi / 2 },
        { "turn 90", [](TPatternGrid &g) { return g.Rotate90(); }, Pi / 2 },
        // The rotation dialog: clockwise negates the typed angle.
        { "dialog, 90 clockwise",
            [](TPatternGrid &g) { return RotateByDialogAngle(g, SignedRotateAngle(90, true)); }, -Pi / 2 },
        { "dialog, 45 anticlockwise",
            [](TPatternGrid &g) { return RotateByDialogAngle(g, SignedRotateAngle(45, false)); }, Pi / 4 },
    };
    for (const auto &c : cases) {
        TPatternGrid g;
        g.SetInsertWordAsker(&asker);
        QImage picture = NewPicture(160, 80, GreyPalette());
        picture.fill(0);
        show(g, picture);
        g.SetForeColorIndex(9);
        asker.Answer.Angle = 30;
        textToolAt(g, { 30, 40 });
        ASSERT_TRUE(g.HasFloatingText()) << c.name;
        const double before = g.FloatingText()->Angle();
        const int steps = g.UndoStore().UndoCount();
        ASSERT_TRUE(c.command(g)) << c.name;
        double expected = std::fmod(before + c.turn + 2 * Pi, 2 * Pi);
        EXPECT_NEAR(g.FloatingText()->Angle(), expected, 1e-9) << c.name;
        EXPECT_EQ(g.FloatingText()->Position(), g.FloatingText()->RotatedHandles()[0]) << c.name;
        EXPECT_EQ(g.UndoStore().UndoCount(), steps) << c.name;
        EXPECT_EQ(g.Picture(), picture) << c.name;
    }
}

TEST_F(GridTextFixture, ChosenColourIsTheStampedIndex)
{
    // Entry 3 has the colour of entry 4: the text index chosen is stamped, not the first
    // entry of its colour.
    TPalette256 pal = a.Palette();
    pal[3] = pal[4];
    a.SetPalette(pal);
    a.ApplyPalette(true);
    textToolAt(a, { 30, 40 });
    a.SetTextColorIndex(4);
    a.ColorChosen(GetPaletteColor(a.Palette(), 4));
    EXPECT_EQ(a.FloatingText()->ColorIndex(), 4);
    a.DropFloatingObjects();
    EXPECT_GT(cellsOf(a.Picture(), 4), 40);
    EXPECT_EQ(cellsOf(a.Picture(), 3), 0);
    EXPECT_EQ(cellsOf(a.Picture(), 9), 0);
}
