// The float query window: one window reused by a new check, OK deciding the floats,
// closing without OK putting them back, and closing with its document.
#include "editor/ui/queryfloatwindow.h"

#include "core/settings/sharedstate.h"
#include "editor/patterngrid.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLineEdit>
#include <QTest>

namespace {
// A column of three cells of index 3 marked in 7: one float of three.
void markedColumn(TPatternGrid &grid, TFloatMarking &marking)
{
    grid.SetClientSize(100, 100);
    grid.SetPicture(MakePicture({ { 3 }, { 3 }, { 3 } }));
    grid.ReadPaletteFromPicture();
    grid.RebuildDisplayBitmap();
    for (int y = 0; y < 3; ++y)
        grid.Picture().scanLine(y)[0] = 7;
    marking.Floats.setLength(1);
    marking.Floats[0] = { 3, 0, 2, 0 };
    marking.MarkerIndex = 7;
    marking.KeepIndex = 3;
    marking.OtherIndex = 0;
    grid.SetForeColorIndex(5);
    grid.SetBackColorIndex(6);
}
void deleteClosed()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
} // namespace

TEST(QueryFloatWindow, OneWindowThatPutsFloatsBackUnlessOk)
{
    ASSERT_TRUE(InitSharedState());
    TPatternGrid first, second;
    TFloatMarking a, b;
    markedColumn(first, a);
    markedColumn(second, b);
    auto *document = new QObject;

    TFrmQueryFloat *window = TFrmQueryFloat::ShowFloats(&first, document, a, nullptr);
    ASSERT_NE(window, nullptr);
    auto *edit = window->findChild<QLineEdit *>("EdtFloat");
    ASSERT_NE(edit, nullptr);
    QTest::keyClicks(edit, "2a,-5 ");
    EXPECT_EQ(edit->text(), "2,5") << "only digits and commas can be typed";
    EXPECT_EQ(TFrmQueryFloat::ShowFloats(&second, nullptr, b, nullptr), window) << "reused";
    EXPECT_EQ(PictureRows(first.Picture()), (std::vector<std::vector<int>> { { 3 }, { 3 }, { 3 } }))
        << "the first check's floats are put back";

    window->SetFloatText("3");
    window->SetRule(TFloatQueryRule::AtMost);
    ASSERT_TRUE(window->Ok());
    deleteClosed();
    EXPECT_EQ(TFrmQueryFloat::Current(), nullptr);
    EXPECT_EQ(PictureRows(second.Picture()), (std::vector<std::vector<int>> { { 5 }, { 5 }, { 5 } }));
    EXPECT_EQ(second.UndoStore().UndoCount(), 1);

    // Closing with its document: nothing is written into the grid that goes.
    TPatternGrid third;
    TFloatMarking c;
    markedColumn(third, c);
    window = TFrmQueryFloat::ShowFloats(&third, document, c, nullptr);
    delete document;
    deleteClosed();
    EXPECT_EQ(TFrmQueryFloat::Current(), nullptr);
    EXPECT_EQ(PictureRows(third.Picture()), (std::vector<std::vector<int>> { { 7 }, { 7 }, { 7 } }));
}
