// The row tables a designer entered survive the commands that change the pattern's height:
// the rows that remain keep their values, new rows get the defaults, and the status bar says
// when entered rows were dropped.
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"

#include "core/settings/uitexts.h"
#include "mainwindowfixture.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

namespace {

struct RowTables : TMainWindowFixture {
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartFreshSettings());
        RegisterPictureFormats();
        // 4 warps by 6 wefts, every cell of colour 1 but one of colour 2 in each row.
        const std::vector<int> a { 2, 1, 1, 1 }, b { 1, 2, 1, 1 }, c { 1, 1, 2, 1 }, d { 1, 1, 1, 2 };
        ASSERT_TRUE(SavePicture("band.bmp", MakePicture({ a, b, c, d, a, b })));
        ShowMainWindow();
    }
};

std::vector<int> values(const TDynamicByteArray &row)
{
    return std::vector<int>(row.begin(), row.end());
}

} // namespace

TEST_F(RowTables, HeightCommandsKeepTheRowsThatRemain)
{
    const struct {
        const char *action;
        QRect selection; // empty: none
        std::vector<int> picks; // PickRows[0] afterwards, top row first
        int dropped; // 0: no status message
    } cases[] = {
        // The selection's rows 2 to 4 remain, now rows 0 to 2.
        { "ActReduceArea", QRect(1, 2, 2, 3), { 3, 4, 5 }, 3 },
        // 6 rows become 4: the last two are dropped.
        { "ActRotate90", QRect(), { 1, 2, 3, 4 }, 2 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.action);
        TMDIChild *child = form->OpenChild(picture);
        ASSERT_NE(child, nullptr);
        TDocument &doc = child->Document();
        ASSERT_TRUE(doc.PrepareDocumentRecord(TPrepareMode::KeepColorWeaves));
        for (int r = 0; r < 6; ++r) {
            doc.Record().PickRows[0][r] = std::uint8_t(r + 1); // entered shuttles
            doc.Record().WeftDensRows[0][r] = std::uint8_t(7 - r);
        }
        form->statusBar()->clearMessage();
        if (!c.selection.isEmpty())
            child->PatternGrid().SetSelectionRegion(QRegion(c.selection));
        // The menu refreshes the commands that need a selection as it opens.
        Q_EMIT form->menuBar()->findChild<QMenu *>("Mnu_Pattern")->aboutToShow();
        ASSERT_TRUE(action(c.action)->isEnabled());
        action(c.action)->trigger();
        ASSERT_TRUE(doc.PrepareDocumentRecord(TPrepareMode::KeepColorWeaves));

        EXPECT_EQ(values(doc.Record().PickRows[0]), c.picks);
        const int height = int(c.picks.size());
        EXPECT_EQ(doc.Record().WeftDensRows[0].length(), height);
        EXPECT_EQ(doc.Record().WeftDensRows[0][0], 7 - (c.selection.isEmpty() ? 0 : c.selection.top()));
        EXPECT_EQ(form->statusBar()->currentMessage(),
            c.dropped ? GetUiMessage(UiKey::String::RowTablesRowsDropped).arg(6).arg(height).arg(c.dropped)
                      : QString());
        child->PatternGrid().ClearModified();
        child->close();
    }
}
