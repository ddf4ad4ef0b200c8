// The card-making settings: the preview's corner choice and its place in "VIZ.ini", and
// the one-row sample card a card is made for.
#include "card/cardbuild.h"
#include "card/cardmaking.h"
#include "core/settings/sharedstate.h"

#include "cardtestutil.h"
#include "testutil.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(CardMaking, PreviewQuadrantGivesTheScanStart)
{
    const QSize size(400, 200);
    const struct {
        QPoint point;
        int corner;
    } cases[] = {
        { { 10, 10 }, ScanTopLeft },
        { { 10, 190 }, ScanBottomLeft },
        { { 390, 10 }, ScanTopRight },
        { { 390, 190 }, ScanBottomRight },
        { { 199, 99 }, ScanTopLeft },
        { { 201, 101 }, ScanBottomRight },
        { { 200, 10 }, 0 }, // on the vertical centre line
        { { 390, 100 }, 0 }, // on the horizontal centre line
        { { 200, 100 }, 0 },
    };
    for (const auto &c : cases)
        EXPECT_EQ(PreviewScanStart(c.point, size), c.corner) << c.point.x() << "," << c.point.y();
}

TEST(CardMaking, ScanStartIsKeptInVizIniOfTheSettingsFolder)
{
    QTemporaryDir dir;
    Folders().SettingsDir = dir.path() + "/";
    EXPECT_EQ(ReadScanStartSetting(), 0);
    ASSERT_TRUE(WriteScanStartSetting(3));
    EXPECT_EQ(VizIniPath(), dir.filePath("VIZ.ini"));
    EXPECT_EQ(ReadScanStartSetting(), 3);
    EXPECT_TRUE(QString::fromUtf8(ReadAll(dir.filePath("VIZ.ini"))).contains("读图顺序=3"));
    // A value that is no corner reads as the default.
    ASSERT_TRUE(WriteAll(dir.filePath("VIZ.ini"), "[样卡设置]\n读图顺序=7\n"));
    EXPECT_EQ(ReadScanStartSetting(), 0);
}

// Hooks 400 for a pattern of 100 warps: the jacquard needles are the first 100, or with
// the shift to the right the last 100 of the card built for it.
TEST(CardMaking, OneRowSampleCardPlacesTheJacquardNeedles)
{
    QImage pic = MakePicture({ std::vector<int>(100, 1) }, PaletteOf({ qRgb(0, 0, 0), qRgb(255, 255, 255) }));
    const TMesh mesh = CardDoc(pic);
    for (const bool right : { false, true }) {
        SCOPED_TRACE(right ? "shifted to the right" : "from the left");
        TYangkaImage card;
        ASSERT_TRUE(OneRowSampleCard(400, 100, right, card));
        EXPECT_EQ(card.RowCount(), 1);
        EXPECT_EQ(card.ColCount(), 400);
        EXPECT_EQ(card.JacquardCount(), 100);
        EXPECT_EQ(card.CountCode(Needle::Empty), 300);
        EXPECT_EQ(card.StartFlag(), right ? 1 : 0);

        TMultiByteArray rows;
        TCardBuildResult result;
        ASSERT_TRUE(BuildCardData(mesh, card, ScanTopLeft, rows, result)) << result.Error.toStdString();
        ASSERT_EQ(rows.size(), 1);
        ASSERT_EQ(rows[0].size(), 50);
        for (int needle = 0; needle < 400; ++needle) {
            const bool raised = rows[0][needle / 8] & (0x80 >> (needle % 8));
            const bool jacquard = right ? needle >= 300 : needle < 100;
            EXPECT_EQ(raised, jacquard) << "needle " << needle;
        }
    }
}

TEST(CardMaking, TooFewHooksAreRefusedChangingNothing)
{
    TYangkaImage card;
    card.SetColCount(12);
    card.SetRowCount(8);
    card.SetStartFlag(3);
    QString err;
    EXPECT_FALSE(OneRowSampleCard(80, 100, false, card, &err));
    EXPECT_FALSE(err.isEmpty());
    EXPECT_EQ(card.ColCount(), 12);
    EXPECT_EQ(card.RowCount(), 8);
    EXPECT_EQ(card.StartFlag(), 3);
    EXPECT_FALSE(OneRowSampleCard(0, 0, false, card));
    EXPECT_TRUE(OneRowSampleCard(100, 100, false, card));
}
