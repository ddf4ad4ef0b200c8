// The card generation and card-making dialogs: the gauge follows the build, Cancel or
// Escape during the build stops it and gives no card, the corner is kept in "VIZ.ini", and
// a refused hook count changes nothing.
#include "card/cardmaking.h"
#include "card/ui/cardgeneratedialog.h"
#include "card/ui/cardmakingdialog.h"
#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "shippedlanguage.h"

#include "../cardtestutil.h"
#include "testutil.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

class CardDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        Folders().SettingsDir = m_dir.path() + "/";
        Folders().ConfigIniPath = m_dir.filePath("Config.Ini");
        // The texts these tests read are the Simplified Chinese ones the loom's people know.
        ChooseShippedLanguage(TShippedLanguage::SimplifiedChinese);
    }
    QTemporaryDir m_dir;
};

// A document of 40 weft rows: 40 cards.
struct Doc {
    QImage pic;
    TMesh mesh;
    TYangkaImage sample;
    Doc()
    {
        pic = QImage(8, 40, QImage::Format_Indexed8);
        pic.setColorTable({ qRgb(0, 0, 0), qRgb(255, 255, 255) });
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 8; ++x)
                pic.setPixel(x, y, (x + y) % 3 ? 1 : 0);
        mesh = CardDoc(pic);
        sample.SetColCount(2);
        sample.SetRowCount(8);
    }
};

struct Shown {
    QString text, caption;
};

} // namespace

TEST_F(CardDialogs, GenerateMovesTheGaugeAndGivesTheCard)
{
    Doc doc;
    TfrmPutOut dlg(nullptr, doc.pic);
    std::vector<Shown> shown;
    dlg.ShowMessage = [&](const QString &t, const QString &c, bool) { shown.push_back({ t, c }); };
    dlg.Build = [&](int corner, TMultiByteArray &card, TCardBuildResult &result, const TCardProgress &p) {
        return BuildCardData(doc.mesh, doc.sample, corner, card, result, p);
    };
    EXPECT_TRUE(dlg.DispEWenBanCheckBox->isChecked());
    dlg.Generate();
    EXPECT_EQ(dlg.result(), TfrmPutOut::ResultGenerated);
    EXPECT_EQ(dlg.Card().size(), 40);
    EXPECT_EQ(dlg.PanelGuage->Label4->text(), "40");
    EXPECT_EQ(dlg.PanelGuage->Label5->text(), "40 块");
    EXPECT_EQ(dlg.PanelGuage->Gauge1->maximum(), 40);
    EXPECT_EQ(dlg.PanelGuage->Gauge1->value(), 40);
    EXPECT_TRUE(shown.empty());
}

// The user stops the build while it runs: with Escape, with "取消", or by closing the
// window. The build stops, the dialog closes with result 2 and gives no card.
TEST_F(CardDialogs, CancelDuringTheBuildStopsItAndGivesNoCard)
{
    Doc doc;
    const std::function<void(TfrmPutOut &)> stops[] = {
        [](TfrmPutOut &d) {
            QCoreApplication::postEvent(&d, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        },
        [](TfrmPutOut &d) { QMetaObject::invokeMethod(d.BitBtn2, "click", Qt::QueuedConnection); },
        [](TfrmPutOut &d) { QMetaObject::invokeMethod(&d, "close", Qt::QueuedConnection); },
    };
    for (const auto &stop : stops) {
        TfrmPutOut dlg(nullptr, doc.pic);
        dlg.show();
        int cardsBuilt = 0;
        dlg.Build = [&](int corner, TMultiByteArray &card, TCardBuildResult &result, const TCardProgress &p) {
            TCardProgress counting = p;
            counting.Callback = [&](int message, int, int) { cardsBuilt += message == WM_CARDPROGRESS; };
            // The user acts once the build has started.
            stop(dlg);
            return BuildCardData(doc.mesh, doc.sample, corner, card, result, counting);
        };
        dlg.Generate();
        EXPECT_EQ(dlg.result(), TfrmPutOut::ResultCancelled);
        EXPECT_TRUE(dlg.Card().isEmpty());
        EXPECT_LT(cardsBuilt, 40);
        EXPECT_FALSE(dlg.PanelGuage->Running());
    }
}

// A failed build shows its message and gives no card; Cancel before a build closes.
TEST_F(CardDialogs, FailedBuildShowsWhyAndGivesNoCard)
{
    Doc doc;
    TfrmPutOut dlg(nullptr, doc.pic);
    std::vector<Shown> shown;
    dlg.ShowMessage = [&](const QString &t, const QString &c, bool) { shown.push_back({ t, c }); };
    TYangkaImage tooSmall;
    tooSmall.SetColCount(1);
    tooSmall.SetRowCount(4); // 4 needles for 8 warps
    dlg.Build = [&](int corner, TMultiByteArray &card, TCardBuildResult &result, const TCardProgress &p) {
        return BuildCardData(doc.mesh, tooSmall, corner, card, result, p);
    };
    dlg.Generate();
    EXPECT_EQ(dlg.result(), TfrmPutOut::ResultCancelled);
    EXPECT_TRUE(dlg.Card().isEmpty());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_FALSE(shown[0].text.isEmpty());

    TfrmPutOut idle(nullptr, doc.pic);
    idle.BitBtn2->click();
    EXPECT_EQ(idle.result(), TfrmPutOut::ResultCancelled);
}

// Releasing the mouse on the preview picks the corner of its quadrant (a centre line
// gives 0) and keeps it in "VIZ.ini"; the next dialog starts from it.
TEST_F(CardDialogs, PreviewCornerIsKeptInVizIni)
{
    Doc doc;
    {
        TfrmPutOut dlg(nullptr, doc.pic);
        EXPECT_EQ(dlg.ScanStart(), 0);
        QTest::mouseRelease(dlg.Image, Qt::LeftButton, {}, QPoint(350, 30));
        EXPECT_EQ(dlg.ScanStart(), ScanTopRight);
    }
    EXPECT_EQ(ReadScanStartSetting(), ScanTopRight);
    TfrmPutOut again(nullptr, doc.pic);
    EXPECT_EQ(again.ScanStart(), ScanTopRight);
    QTest::mouseRelease(again.Image, Qt::LeftButton, {}, QPoint(200, 30));
    EXPECT_EQ(again.ScanStart(), 0);
    EXPECT_EQ(ReadScanStartSetting(), 0);
}

TEST_F(CardDialogs, MakingDirectionGivesTheScanStart)
{
    TFrmSetYangKa dlg(nullptr, 100);
    EXPECT_TRUE(dlg.TbnDown->isChecked());
    EXPECT_EQ(dlg.GetScanStart(), ScanTopLeft);
    dlg.TbnUp->click();
    EXPECT_FALSE(dlg.TbnDown->isChecked());
    EXPECT_EQ(dlg.GetScanStart(), ScanBottomLeft);
}

// Too few hooks: the message, the dialog stays open, and neither "DefaultWarps" nor any
// card changes. Enough hooks: the count is kept and the card is built for the one row.
TEST_F(CardDialogs, MakingChecksTheHooksFirst)
{
    WriteDefaultWarps(128);
    const QByteArray configBefore = ReadAll(Folders().ConfigIniPath);
    TFrmSetYangKa dlg(nullptr, 100);
    EXPECT_EQ(dlg.EdtWarps->value(), 128);
    std::vector<Shown> shown;
    dlg.ShowMessage = [&](const QString &t, const QString &c, bool) { shown.push_back({ t, c }); };
    int builds = 0;
    dlg.Build = [&](const TYangkaImage &sample, int, TMultiByteArray &card, TCardBuildResult &,
                    const TCardProgress &) {
        ++builds;
        EXPECT_EQ(sample.ColCount(), 400);
        EXPECT_EQ(sample.JacquardCount(), 100);
        card = TMultiByteArray(3);
        return true;
    };
    dlg.show();
    dlg.EdtWarps->setValue(80);
    dlg.BtnOK->click();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, GetUiMessage(UiKey::String::HooksError));
    EXPECT_EQ(shown[0].caption, GetUiMessage(UiKey::String::HintMSG));
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(builds, 0);
    EXPECT_EQ(ReadAll(Folders().ConfigIniPath), configBefore);

    dlg.EdtWarps->setValue(400);
    dlg.BtnOK->click();
    EXPECT_EQ(dlg.result(), TFrmSetYangKa::ResultOK);
    EXPECT_EQ(builds, 1);
    EXPECT_EQ(dlg.Card().size(), 3);
    EXPECT_EQ(ReadDefaultWarps(), 400);
}
