#include "card/samplecardpicture.h"
#include "card/ui/samplecardview.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

// The view draws the model's picture, keeps the card's control size and redraws once per
// change, never during a bulk edit.
TEST(SampleCardView, DrawsOnChangeOnly)
{
    TYangkaImage card;
    int ownHook = 0;
    card.OnYKChange = [&](int, int) { ++ownHook; };
    {
        SampleCardView view;
        view.SetCard(&card);
        view.show();
        EXPECT_EQ(view.size(), QSize(card.Width, card.Height));
        EXPECT_EQ(view.Picture(), DrawSampleCard(card, QRect(QPoint(), view.size())));
        const int drawn = view.RedrawCount();

        QSignalSpy changes(&view, &SampleCardView::CardChanged);
        card.NeedRedraw = false;
        card.ClearAll();
        card.SetJacquardCount(10);
        ASSERT_TRUE(card.AddLacingHole(3, 2));
        EXPECT_EQ(view.RedrawCount(), drawn) << "nothing drawn during a bulk edit";
        EXPECT_EQ(changes.count(), 3);
        EXPECT_EQ(ownHook, 3) << "the hook the view replaced still runs";
        card.NeedRedraw = true;
        view.Refresh();
        EXPECT_EQ(view.RedrawCount(), drawn + 1);
        EXPECT_EQ(view.Picture(), DrawSampleCard(card, QRect(QPoint(), view.size())));

        // A bigger cell grows the widget with the card.
        card.SetMinRad(10);
        view.Refresh();
        EXPECT_EQ(view.size(), QSize(10 * 18 + 40, 10 * 8 + 30));
    }
    // The view is gone: the card's changes reach only its own hook.
    card.ClearAll();
    EXPECT_EQ(ownHook, 4);
}

// A press on a cell names the cell and whether it lies in a positioning hole; a drag ends
// on the cell under the pointer, clamped to the card.
TEST(SampleCardView, MouseGivesCells)
{
    TYangkaImage card;
    ASSERT_TRUE(card.AddPositionHole(4, 2));
    card.SetStartFlag(1);
    SampleCardView view;
    view.SetCard(&card);
    view.show();
    QSignalSpy pressed(&view, &SampleCardView::CellPressed);
    QSignalSpy released(&view, &SampleCardView::CellReleased);

    const QRect hole = PositionHoleRect(card, 4, 2);
    QTest::mousePress(&view, Qt::LeftButton, {}, hole.center());
    ASSERT_EQ(pressed.count(), 1);
    EXPECT_TRUE(pressed[0][3].toBool());
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(1, 1)); // beyond the top-left corner
    ASSERT_EQ(released.count(), 1);
    // StartFlag 1 draws the last cell top-left.
    EXPECT_EQ(released[0][0].toInt(), card.ColCount() - 1);
    EXPECT_EQ(released[0][1].toInt(), card.RowCount() - 1);

    // The margin is no cell.
    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(pressed.count(), 1);
}
