// The colour reduction window on its own: the stored colour difference in and out, the
// expanding button, the mouse on its colour grids, Escape and the end of its document.
#include "editor/ui/reducecolorwindow.h"

#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"
#include "editor/ui/colorcellgrid.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGroupBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

namespace {
struct ReduceWindowFixture : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(InitSharedState());
        QFile::remove(Folders().ConfigIniPath);
        grid.SetClientSize(100, 100);
        // Grey 1 (3 cells), 2 (2 cells), 200 (1 cell).
        grid.SetPicture(MakePicture({ { 1, 1, 1 }, { 2, 2, 200 } }, GreyPalette()));
        grid.ReadPaletteFromPicture();
        grid.RebuildDisplayBitmap();
    }
    static void deferredDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    static QPoint cellCentre(TColorCellGrid *g, int col, int row)
    {
        const TRect r = g->CellRect(col, row);
        return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    TPatternGrid grid;
};

void manual(QWidget *window, const char *group)
{
    auto *box = window->findChild<QGroupBox *>(QString::fromLatin1(group));
    ASSERT_NE(box, nullptr);
    box->findChildren<QRadioButton *>().at(1)->click();
}
} // namespace

TEST_F(ReduceWindowFixture, ColourDifferenceComesFromTheSettingsAndGoesBackAtClose)
{
    struct Case {
        int stored; // -1: none stored
        int shown;
    } cases[] = { { -1, 90 }, { 40, 40 }, { 5000, 999 }, { -7, 0 } };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.stored);
        QFile::remove(Folders().ConfigIniPath);
        if (c.stored != -1)
            WriteColorLeft(c.stored);
        QObject owner;
        QPointer<TFrmReduceColor> window = TFrmReduceColor::CreateWithGrid(&grid, &owner, nullptr);
        auto *left = window->findChild<QSpinBox *>("RdtColorLeft");
        ASSERT_NE(left, nullptr);
        EXPECT_EQ(left->value(), c.shown);
        EXPECT_EQ(window->Model().Mode(), TReduceMode::Automatic);
        EXPECT_EQ(window->Model().ColorLeft(), c.shown);
        left->setValue(120);
        EXPECT_EQ(window->Model().ColorLeft(), 120) << "a change re-enters the mode";
        window->show();
        QTest::keyClick(window, Qt::Key_Escape);
        deferredDeletes();
        EXPECT_TRUE(window.isNull()) << "freed on close";
        EXPECT_EQ(ReadColorLeft(), 120);
    }
}

TEST_F(ReduceWindowFixture, ExpandingTogglesTheHeightAndItsCaption)
{
    QObject owner;
    QPointer<TFrmReduceColor> window = TFrmReduceColor::CreateWithGrid(&grid, &owner, nullptr);
    window->show();
    auto *expanding = window->findChild<QPushButton *>("BtnExpanding");
    ASSERT_NE(expanding, nullptr);
    EXPECT_EQ(window->height(), TFrmReduceColor::CollapsedHeight);
    expanding->click();
    EXPECT_TRUE(window->Expanded());
    EXPECT_EQ(window->height(), TFrmReduceColor::ExpandedHeight);
    EXPECT_EQ(expanding->text(), GetUiString(UiKey::ReduceColor::Truncate));
    expanding->click();
    EXPECT_EQ(window->height(), TFrmReduceColor::CollapsedHeight);
    delete window;
}

TEST_F(ReduceWindowFixture, MouseOnTheGridsMakesHeadsMovesColoursAndDropsHeads)
{
    QObject owner;
    QPointer<TFrmReduceColor> window = TFrmReduceColor::CreateWithGrid(&grid, &owner, nullptr);
    window->show();
    window->findChild<QPushButton *>("BtnExpanding")->click();
    window->findChild<QSpinBox *>("RdtColorCount")->setValue(1);
    ASSERT_NO_FATAL_FAILURE(manual(window, "RgpReduceColor"));
    ASSERT_NO_FATAL_FAILURE(manual(window, "RgpCombineStyle"));
    ASSERT_EQ(window->Model().Mode(), TReduceMode::ManualCombine);
    auto *heads = window->findChild<TColorCellGrid *>("GrdSelectedColor");
    auto *groups = window->findChild<TColorCellGrid *>("GrdCombineColor");
    auto *rest = window->findChild<TColorCellGrid *>("GrdNoSelectedColor");
    ASSERT_TRUE(heads && groups && rest);
    ASSERT_EQ(window->Model().Groups()[0].size(), 3);

    // A double click on the third member (grey 200) sends it to the unassigned colours.
    QTest::mouseDClick(groups->viewport(), Qt::LeftButton, {}, cellCentre(groups, 4, 0));
    ASSERT_EQ(window->Model().Unassigned().size(), 1);
    EXPECT_EQ(window->Model().Unassigned()[0].Index, 200);
    // A right click on it makes it a head, with a group of its own.
    QTest::mouseClick(rest->viewport(), Qt::RightButton, {}, cellCentre(rest, 0, 0));
    EXPECT_EQ(window->Model().GroupCount(), 2);
    EXPECT_TRUE(window->Model().Unassigned().isEmpty());
    EXPECT_EQ(heads->ColCount(), 2);
    EXPECT_EQ(groups->RowCount(), 2);
    // A double click on the new head drops it again: its colour waits unassigned.
    QTest::mouseDClick(heads->viewport(), Qt::LeftButton, {}, cellCentre(heads, 1, 0));
    EXPECT_EQ(window->Model().GroupCount(), 1);
    ASSERT_EQ(window->Model().Unassigned().size(), 1);

    // OK asks about it; Cancel keeps the picture.
    int asked = 0;
    window->SetQuestionHandler([&] { return ++asked, false; });
    window->findChild<QPushButton *>("BtnOk")->click();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(PictureRows(grid.Picture()), (std::vector<std::vector<int>> { { 1, 1, 1 }, { 2, 2, 200 } }));

    // The window goes with its document.
    QPointer<QObject> ownerGone = new QObject;
    window->SetGrid(&grid, ownerGone);
    delete ownerGone.data();
    deferredDeletes();
    EXPECT_TRUE(window.isNull());
}
