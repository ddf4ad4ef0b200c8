// The insert/delete warps-and-wefts window on its own: its start from the stored choice and
// the selection, the suggestion again on each change of mode or content, clicks on the
// pattern, a refusal that keeps it open, and the end of its document.
#include "editor/ui/editgrosswindow.h"

#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"
#include "editor/patterngrid.h"
#include "testutil.h"
#include "weave/ui/radiogroup.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

namespace {
struct EditGrossFixture : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(InitSharedState());
        QFile::remove(Folders().ConfigIniPath);
        StartSettings().MaxUndoCount = 10;
        QImage picture = NewPicture(12, 8, GreyPalette());
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 12; ++x)
                picture.scanLine(y)[x] = std::uint8_t(1 + x + 12 * y);
        grid.SetClientSize(100, 100);
        grid.SetPicture(picture);
        grid.ReadPaletteFromPicture();
        grid.RebuildDisplayBitmap();
    }
    static void choose(QWidget *w, const char *group, int item)
    {
        auto *box = w->findChild<TRadioGroup *>(QLatin1String(group));
        ASSERT_NE(box, nullptr);
        box->findChildren<QRadioButton *>().at(item)->click();
    }
    static int value(QWidget *w, const char *name)
    {
        return w->findChild<QSpinBox *>(QLatin1String(name))->value();
    }
    TPatternGrid grid;
};
} // namespace

TEST_F(EditGrossFixture, StartsFromTheStoredChoiceAndTheSelectionSuggestsAgainOnEachChange)
{
    WriteModiGrossOption(TModiGrossOption { true, true, 3, 2 });
    {
        TFrmEditGross plain(&grid, nullptr);
        const TModiGrossOption v = plain.Values();
        EXPECT_TRUE(v.IsDelete);
        EXPECT_TRUE(v.IsWeft);
        EXPECT_EQ(v.StartPos, 3);
        EXPECT_EQ(v.OffSet, 2);
    }
    // Columns 4 .. 8 and rows 2 .. 5 selected: the box (4, 2) - (9, 6).
    grid.SetSelectionRegion(QRegion(4, 2, 5, 4));
    TFrmEditGross window(&grid, nullptr);
    struct Step {
        const char *group;
        int item;
        int start, count;
    } steps[] = {
        { nullptr, 0, 3, 4 }, // delete wefts, as stored
        { "RgpContent", 0, 5, 5 }, // delete warps
        { "RgpMode", 0, 4, 5 }, // insert warps
        { "RgpContent", 1, 2, 4 }, // insert wefts
    };
    for (const Step &s : steps) {
        SCOPED_TRACE(s.group ? s.group : "start");
        if (s.group)
            choose(&window, s.group, s.item);
        EXPECT_EQ(value(&window, "NdtFrom"), s.start);
        EXPECT_EQ(value(&window, "NdtOffSet"), s.count);
    }
    window.CellClicked(7, 6);
    EXPECT_EQ(value(&window, "NdtFrom"), 6) << "inserting wefts: the row";
    choose(&window, "RgpMode", 1);
    window.CellClicked(7, 6);
    EXPECT_EQ(value(&window, "NdtFrom"), 7) << "deleting wefts: the row plus 1";
}

TEST_F(EditGrossFixture, ARefusalKeepsTheWindowOpenAndOkDoesTheEditAndStoresIt)
{
    auto *window = new TFrmEditGross(&grid, nullptr);
    QPointer<TFrmEditGross> alive(window);
    QStringList messages;
    window->SetMessageHandler([&](const QString &text) { messages << text; });
    window->show();
    choose(window, "RgpMode", 1); // delete warps
    window->findChild<QSpinBox *>("NdtFrom")->setValue(11);
    window->findChild<QSpinBox *>("NdtOffSet")->setValue(3);
    window->findChild<QPushButton *>("BtnOK")->click();
    EXPECT_EQ(messages.size(), 1);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(grid.Picture().width(), 12);
    TModiGrossOption stored;
    ReadModiGrossOption(stored);
    EXPECT_EQ(stored, TModiGrossOption()) << "nothing written on a refusal";

    window->findChild<QSpinBox *>("NdtFrom")->setValue(10);
    window->findChild<QPushButton *>("BtnOK")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(alive.isNull()) << "closes once done";
    EXPECT_EQ(grid.Picture().width(), 9);
    EXPECT_EQ(grid.Picture().pixelIndex(8, 0), 9);
    ReadModiGrossOption(stored);
    EXPECT_EQ(stored, (TModiGrossOption { true, false, 10, 3 }));
}

TEST_F(EditGrossFixture, WithoutItsDocumentTheWindowDoesNothing)
{
    auto *owner = new QObject;
    TFrmEditGross window(&grid, owner);
    EXPECT_EQ(window.Grid(), &grid);
    delete owner;
    EXPECT_EQ(window.Grid(), nullptr);
    EXPECT_FALSE(window.Apply());
    EXPECT_EQ(grid.Picture().width(), 12);
}
