// The palette bar as the user meets it: the start swatches, picks reaching the document,
// the background lock, double clicks, the exchange and protect buttons and the arrows.
#include "shell/ui/palettebarpanel.h"

#include "../fakequestions.h"
#include "core/base/messages.h"
#include "core/settings/sharedstate.h"
#include "editor/patterngrid.h"
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QTest>
#include <QToolButton>

namespace {
struct PaletteBarFixture : ::testing::Test {
    TFakeQuestions ask;
    std::unique_ptr<TMainForm> form;
    TMDIChild *child = nullptr;
    TFramPalette *bar = nullptr;
    void SetUp() override
    {
        ResetSharedState();
        ASSERT_TRUE(InitSharedState());
        form = std::make_unique<TMainForm>();
        form->SetQuestions(&ask);
        form->resize(1200, 800);
        form->show();
        bar = form->PaletteBar();
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->ForeSwatch()->text(), "255");
        EXPECT_EQ(bar->BackSwatch()->text(), "0");
        child = form->NewChildFromPicture(MakePicture({ { 1, 2, 3 }, { 4, 5, 6 } }, GreyPalette()));
        ASSERT_NE(child, nullptr);
        QCoreApplication::processEvents();
    }
    void TearDown() override
    {
        child->PatternGrid().ClearModified();
        child->close();
        QCoreApplication::sendPostedEvents();
    }
    // The middle of the cell of a colour (the strip starts at its first column).
    QPoint cellOf(int index) const { return QPoint((index - bar->Grid()->LeftCol()) * 35 + 17, 14); }
    QWidget *strip() const { return bar->Grid()->viewport(); }
};
} // namespace

TEST_F(PaletteBarFixture, PicksReachTheDocument)
{
    TPatternGrid &grid = child->PatternGrid();
    EXPECT_EQ(bar->Model().Palette(), grid.Palette()) << "the document's palette is shown";
    EXPECT_EQ(grid.TextIndex(), 255) << "the bar's colours are the document's";
    EXPECT_EQ(grid.BackIndex(), 0);
    QTest::mouseClick(strip(), Qt::LeftButton, {}, cellOf(5));
    EXPECT_EQ(bar->Model().CurrentIndex(), 5);
    EXPECT_EQ(grid.TextIndex(), 5);
    EXPECT_EQ(bar->ForeSwatch()->text(), "5");
    QTest::mouseClick(strip(), Qt::RightButton, {}, cellOf(3));
    EXPECT_EQ(bar->Model().BackIndex(), 3);
    EXPECT_EQ(grid.BackIndex(), 3);
    // The right click locked picks to the background until a left click.
    QTest::mouseClick(strip(), Qt::RightButton, {}, cellOf(4));
    EXPECT_EQ(grid.BackIndex(), 4);
    EXPECT_EQ(grid.TextIndex(), 5);
    QTest::mouseClick(strip(), Qt::LeftButton, {}, cellOf(2));
    EXPECT_EQ(grid.TextIndex(), 2);
    EXPECT_EQ(grid.BackIndex(), 4);

    bar->ExchangeButton()->click();
    EXPECT_EQ(grid.TextIndex(), 4);
    EXPECT_EQ(grid.BackIndex(), 2);
    EXPECT_EQ(bar->ForeSwatch()->text(), "4");
}

TEST_F(PaletteBarFixture, DoubleClicksEditUpTo253)
{
    TPatternGrid &grid = child->PatternGrid();
    int asked = 0;
    const TColor red = PlainColor(TPaletteEntry { 255, 0, 0, 0 });
    bar->ChooseColor = [&](TColor &color) {
        ++asked;
        color = red;
        return true;
    };
    const TPalette256 before = grid.Palette();
    // Scrolled to the end, so that the last cells are in view whatever room the bar has.
    bar->Grid()->SetLeftCol(255);
    for (int index : { 254, 255 }) {
        ASSERT_TRUE(strip()->rect().contains(cellOf(index))) << index;
        QTest::mouseDClick(strip(), Qt::LeftButton, {}, cellOf(index));
    }
    EXPECT_EQ(asked, 0) << "254 and 255 are never edited";
    EXPECT_EQ(grid.Palette(), before);
    ASSERT_TRUE(strip()->rect().contains(cellOf(253)));
    QTest::mouseDClick(strip(), Qt::LeftButton, {}, cellOf(253));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(PlainColor(grid.Palette()[253]), red) << "the edited colour went into the document";
    EXPECT_TRUE(grid.Modified());
}

TEST_F(PaletteBarFixture, ProtectAndScroll)
{
    TPatternGrid &grid = child->PatternGrid();
    QTest::mouseClick(strip(), Qt::LeftButton, {}, cellOf(6));
    QAction *protect = form->Action("ActProtectColor");
    bar->LockButton()->click();
    EXPECT_TRUE(protect->isChecked());
    EXPECT_TRUE(grid.ColorSet()[6]);
    protect->trigger();
    EXPECT_FALSE(grid.ColorSet()[6]);
    EXPECT_FALSE(bar->LockButton()->isChecked());

    bar->Grid()->SetLeftCol(0);
    bar->RightArrow()->click();
    EXPECT_EQ(bar->Grid()->LeftCol(), 1);
    bar->LeftArrow()->click();
    bar->LeftArrow()->click();
    EXPECT_EQ(bar->Grid()->LeftCol(), 0);

    QAction *display = form->Action("ActDisplayPalette");
    display->trigger();
    EXPECT_FALSE(bar->isVisible());
    display->trigger();
    EXPECT_TRUE(bar->isVisible());
}

// A document coming to the front shows its palette and protected colours on the bar and
// takes the colours chosen on it.
TEST_F(PaletteBarFixture, DocumentInFrontSharesTheBarsColours)
{
    QTest::mouseClick(strip(), Qt::LeftButton, {}, cellOf(9));
    TMDIChild *other = form->NewChildFromPicture(MakePicture({ { 7, 8 } }));
    ASSERT_NE(other, nullptr);
    QCoreApplication::processEvents();
    ASSERT_EQ(form->ActiveChild(), other);
    EXPECT_EQ(other->PatternGrid().TextIndex(), 9);
    EXPECT_EQ(bar->Model().Palette(), other->PatternGrid().Palette());
    other->PatternGrid().ClearModified();
    other->close();
    QCoreApplication::sendPostedEvents();
}

// A colour edited on the bar is one step of the document's history: undo brings the old
// colour back to the document and to the bar, redo the edited one.
TEST_F(PaletteBarFixture, ColourEditIsOneUndoStep)
{
    TPatternGrid &grid = child->PatternGrid();
    const TColor green = PlainColor(TPaletteEntry { 0, 255, 0, 0 });
    bar->ChooseColor = [&](TColor &color) {
        color = green;
        return true;
    };
    const TPalette256 before = grid.Palette();
    const int steps = grid.UndoStore().UndoCount();
    bar->Grid()->SetLeftCol(0);
    QTest::mouseDClick(strip(), Qt::LeftButton, {}, cellOf(7));
    EXPECT_EQ(PlainColor(grid.Palette()[7]), green);
    EXPECT_EQ(grid.UndoStore().UndoCount(), steps + 1);
    QAction *undo = form->Action("ActUndo");
    ASSERT_TRUE(undo->isEnabled());
    undo->trigger();
    EXPECT_EQ(grid.Palette(), before);
    EXPECT_EQ(bar->Model().Palette(), before) << "the bar shows the document's palette again";
    form->Action("ActRedo")->trigger();
    EXPECT_EQ(PlainColor(grid.Palette()[7]), green);
    EXPECT_EQ(PlainColor(bar->Model().Palette()[7]), green);
    // The same colour chosen again is no edit and no step.
    QTest::mouseDClick(strip(), Qt::LeftButton, {}, cellOf(7));
    EXPECT_EQ(grid.UndoStore().UndoCount(), steps + 1);
}

// The document's transparent colours come to the bar with its palette; "select first
// colour" picks the strip's first colour for the document; the bar knows the tool chosen.
TEST_F(PaletteBarFixture, TransparentColoursFirstColourAndTool)
{
    TPatternGrid &grid = child->PatternGrid();
    TColorSet transparent;
    transparent.set(2);
    grid.SetTransColorSet(transparent);
    grid.IncludeColorIndex(3);
    SendPaletteFromChild();
    EXPECT_TRUE(bar->Model().Transparent(2));
    EXPECT_FALSE(bar->Model().Transparent(3));
    EXPECT_TRUE(bar->Model().Protected(3));

    QTest::mouseClick(strip(), Qt::LeftButton, {}, cellOf(6));
    ASSERT_EQ(grid.TextIndex(), 6);
    bar->SelectFirstColour();
    EXPECT_EQ(bar->Model().CurrentIndex(), 0);
    EXPECT_EQ(grid.TextIndex(), 0);
    EXPECT_EQ(bar->ForeSwatch()->text(), "0");

    form->ActFreeLineExecute(14);
    EXPECT_EQ(bar->ToolId(), 14);
    EXPECT_EQ(strip()->cursor().shape(), Qt::CrossCursor);
    form->ActFreeLineExecute(17);
    EXPECT_EQ(bar->ToolId(), 17);
    EXPECT_EQ(strip()->cursor().shape(), Qt::ArrowCursor);
}
