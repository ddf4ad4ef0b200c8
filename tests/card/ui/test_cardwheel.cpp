// The wheel in the sample-card view and in the card viewer: rows, Shift columns, Ctrl zoom
// about the pointer, by the table shared by every view of cells.
#include "card/ui/cardviewerwindow.h"
#include "card/ui/samplecardview.h"

#include "wheelcases.h"

#include <gtest/gtest.h>

#include <QScrollArea>
#include <QScrollBar>

namespace {

// A card of 200 columns by 32 rows of 7-pixel cells in a 300 x 150 scroll area, scrolled
// part-way in.
struct SampleCardWheel : WheelView {
    TYangkaImage card;
    QScrollArea area;
    SampleCardView *view = new SampleCardView;
    SampleCardWheel()
    {
        card.SetColCount(200);
        card.SetRowCount(32);
        card.SetMinRad(7);
        card.SetStartFlag(0);
        view->SetCard(&card);
        area.setWidget(view);
        area.resize(300, 150);
        area.show();
        area.horizontalScrollBar()->setValue(400);
        area.verticalScrollBar()->setValue(50);
    }
    ~SampleCardWheel() override { view->SetCard(nullptr); }
    QWidget *Frame() override { return area.viewport(); }
    QWidget *Target() override { return view; }
    TPoint ContentAt(QPoint p) override
    {
        TPoint cell { -1, -1 };
        view->CellAt(view->mapFrom(area.viewport(), p), cell.X, cell.Y);
        return cell;
    }
    int Zoom() override { return card.MinRad(); }
};

// 2000 cards of 1600 needles on the electronic card at zoom 2, scrolled to line 500 and
// pixel 1000.
struct CardViewerWheel : WheelView {
    TFrmWenBan viewer;
    QScrollBar *horz = nullptr;
    CardViewerWheel()
    {
        TYangkaImage sample;
        sample.SetColCount(50);
        sample.SetRowCount(32);
        TMultiByteArray card(2000);
        int i = 0;
        for (auto &row : card) {
            row = TDynamicByteArray(200);
            for (auto &b : row)
                b = std::uint8_t(i++ * 37);
        }
        viewer.AskSave = [](const QString &, const QString &) { return TCardSaveAnswer::No; };
        viewer.LoadCard(card, true, sample);
        viewer.show();
        for (QScrollBar *bar : viewer.findChildren<QScrollBar *>())
            if (bar->orientation() == Qt::Horizontal)
                horz = bar;
        viewer.VertScroll()->setValue(500);
        horz->setValue(1000);
    }
    QWidget *Frame() override { return viewer.Canvas(); }
    QWidget *Target() override { return viewer.Canvas(); }
    // The needle column and the card line under the point.
    TPoint ContentAt(QPoint p) override
    {
        return { (horz->value() + p.x()) / viewer.Zoom(), viewer.FirstCard() + p.y() / viewer.Zoom() };
    }
    int Zoom() override { return viewer.Zoom(); }
};

} // namespace

TEST(CardViewsWheel, SampleCardViewScrollsRowsColumnsAndZoomsAboutThePointer)
{
    ExpectWheelCases("sample-card view", [] { return std::make_unique<SampleCardWheel>(); });
}

TEST(CardViewsWheel, CardViewerScrollsCardsNeedlesAndZoomsAboutThePointer)
{
    ExpectWheelCases("card viewer", [] { return std::make_unique<CardViewerWheel>(); });
}
