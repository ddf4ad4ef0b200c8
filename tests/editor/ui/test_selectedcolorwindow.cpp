// The selected-colours window: picks in order (a repeated pick moves to the end), the
// complement when Selected is down, a cut of one colour in a box as one step with the piece
// floating, and the refusal when every colour is left out.
#include "editor/ui/selectedcolorwindow.h"

#include "../patterngridfixture.h"
#include "testutil.h"

#include "core/base/toolid.h"
#include "editor/floatingpicture.h"
#include "editor/gridclipboard.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMimeData>
#include <QPushButton>

#include <memory>

namespace {
struct TFakeClipboard : TGridClipboard {
    std::unique_ptr<QMimeData> Data;
    const QMimeData *MimeData() const override { return Data.get(); }
    void SetMimeData(QMimeData *data) override { Data.reset(data); }
};

class SelectedColorFixture : public TPatternGridFixture {
protected:
    void SetUp() override
    {
        TPatternGridFixture::SetUp();
        grid.UndoStore().MaxCount = 20;
        grid.SetClipboard(&clip);
        show(grid, MakePicture({ { 3, 5, 3, 1 }, { 5, 3, 5, 1 }, { 1, 1, 1, 1 } }));
        grid.SetBackColorIndex(0);
    }
    TFakeClipboard clip;
    TPatternGrid grid;
};
} // namespace

TEST_F(SelectedColorFixture, PicksKeepTheirOrderAndSelectedTakesTheRest)
{
    TFrmSelectedColor *w = TFrmSelectedColor::CreateWithGrid(&grid, TFrmSelectedColor::TMode::Copy, nullptr);
    EXPECT_EQ(grid.ToolId(), TToolId::AbsorbColor);
    for (int pick : { 3, 5, 3, 300, -1 })
        w->Pick(pick);
    EXPECT_EQ(w->Chosen(), (std::vector<std::uint8_t> { 5, 3 }));
    EXPECT_EQ(w->KeptColors(), w->Chosen());
    auto *selected = w->findChild<QPushButton *>(QStringLiteral("Selected"));
    ASSERT_NE(selected, nullptr);
    const QString up = selected->text();
    selected->click();
    EXPECT_TRUE(w->SelectedDown());
    EXPECT_NE(selected->text(), up) << "the caption says the colours are left out";
    const std::vector<std::uint8_t> kept = w->KeptColors();
    EXPECT_EQ(kept.size(), 254u);
    EXPECT_EQ(std::count(kept.begin(), kept.end(), 3), 0);
    EXPECT_EQ(std::count(kept.begin(), kept.end(), 5), 0);
    w->findChild<QPushButton *>(QStringLiteral("Reset_Two"))->click();
    EXPECT_TRUE(w->Chosen().empty());
    delete w;
}

TEST_F(SelectedColorFixture, CutOfOneColourIsOneStepAndFloats)
{
    grid.SetSelectionRegion(QRegion(0, 0, 3, 2));
    TFrmSelectedColor *w = TFrmSelectedColor::CreateWithGrid(&grid, TFrmSelectedColor::TMode::Cut, nullptr);
    w->show();
    w->Pick(3);
    const int steps = grid.UndoStore().UndoCount();
    QString message;
    ASSERT_TRUE(w->Apply(&message)) << message.toStdString();
    EXPECT_EQ(PictureRows(grid.Picture()),
        (std::vector<std::vector<int>> { { 0, 5, 0, 1 }, { 5, 0, 5, 1 }, { 1, 1, 1, 1 } }));
    // The cut cells, then the piece pasted as a floating picture.
    EXPECT_EQ(grid.UndoStore().UndoCount(), steps + 2);
    ASSERT_TRUE(grid.HasFloatingBitmap());
    EXPECT_TRUE(grid.FloatingBitmap()->ColorFilter());
    EXPECT_EQ(grid.ToolId(), TToolId::Move);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(SelectedColorFixture, NothingLeftToCopyIsSaidAndNothingChanges)
{
    grid.SetSelectionRegion(QRegion(0, 0, 3, 2));
    TFrmSelectedColor *w = TFrmSelectedColor::CreateWithGrid(&grid, TFrmSelectedColor::TMode::Cut, nullptr);
    for (int i = 0; i < 256; ++i)
        w->Pick(i);
    w->SetSelectedDown(true);
    const int steps = grid.UndoStore().UndoCount();
    QString message;
    EXPECT_FALSE(w->Apply(&message));
    EXPECT_FALSE(message.isEmpty());
    EXPECT_EQ(grid.UndoStore().UndoCount(), steps);
    EXPECT_EQ(clip.Data, nullptr);
    // The copy-all button copies the whole selection.
    ASSERT_TRUE(w->ApplyAll(&message));
    EXPECT_EQ(PictureRows(grid.Picture()),
        (std::vector<std::vector<int>> { { 0, 0, 0, 1 }, { 0, 0, 0, 1 }, { 1, 1, 1, 1 } }));
    delete w;
}
