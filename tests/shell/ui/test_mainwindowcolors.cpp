// The colour windows of the main window, tried as a new user would: open a picture, reduce
// its colours by hand with a pick in the pattern, undo, redo, save and open it again; protect
// two colours and remove them; read the colour statistics sorted by a header; and the last
// document closing closes the tool windows.
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"

#include "core/base/messages.h"
#include "editor/patterngrid.h"
#include "editor/ui/colorpercentdialog.h"
#include "editor/ui/patterngridview.h"
#include "editor/ui/protecttranscolorwindow.h"
#include "editor/ui/reducecolorwindow.h"
#include "mainwindowfixture.h"
#include "modalscript.h"
#include "shell/ui/palettebarpanel.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QGroupBox>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

namespace {

using Rows = std::vector<std::vector<int>>;
enum : int { Red = 0, Blue = 1, NearRed = 2, NearBlue = 3 };

TPalette256 fourColorPalette()
{
    TPalette256 pal;
    for (int i = 0; i < 256; ++i)
        pal[i] = { std::uint8_t(i), 100, std::uint8_t(255 - i), 0 };
    pal[Red] = { 255, 0, 0, 0 };
    pal[Blue] = { 0, 0, 255, 0 };
    pal[NearRed] = { 230, 20, 20, 0 };
    pal[NearBlue] = { 20, 20, 230, 0 };
    pal[254] = BlackQuad;
    pal[255] = WhiteQuad;
    return pal;
}

// 4 x 10 cells: red 16, blue 12, near red 8, near blue 4 (one colour a band of rows).
QImage fourColorPicture()
{
    QImage img = NewPicture(4, 10, fourColorPalette());
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 4; ++x)
            img.scanLine(y)[x] = std::uint8_t(y < 4 ? Red : y < 7 ? Blue : y < 9 ? NearRed : NearBlue);
    return img;
}

// The picture's rows after the bands were mapped to these indexes.
Rows bands(int red, int blue, int nearRed, int nearBlue)
{
    Rows rows;
    for (int y = 0; y < 10; ++y)
        rows.push_back(std::vector<int>(4, y < 4 ? red : y < 7 ? blue : y < 9 ? nearRed : nearBlue));
    return rows;
}

QRadioButton *manualButton(QWidget *window, const char *group)
{
    auto *box = window->findChild<QGroupBox *>(QString::fromLatin1(group));
    const auto buttons = box ? box->findChildren<QRadioButton *>() : QList<QRadioButton *>();
    return buttons.size() == 2 ? buttons[1] : nullptr;
}

struct ColorWindows : TMainWindowFixture {
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartFreshSettings());
        RegisterPictureFormats();
        ASSERT_TRUE(SavePicture("scan.bmp", fourColorPicture()));
        ShowMainWindow(QSize(1000, 700));
    }
};

} // namespace

TEST_F(ColorWindows, NewUserReducesColoursByHandUndoesSavesAndReopens)
{
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    child->showMaximized();
    TPatternGrid &grid = child->PatternGrid();
    ASSERT_EQ(PictureRows(grid.Picture()), bands(Red, Blue, NearRed, NearBlue));

    ASSERT_TRUE(action("ActReduceColor")->isEnabled());
    action("ActReduceColor")->trigger();
    auto *window = form->findChild<TFrmReduceColor *>();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->Grid(), &grid);
    EXPECT_EQ(window->Model().UsedCount(), 4);
    auto *moveLeft = window->findChild<QPushButton *>("BbnMoveLeft");
    ASSERT_NE(moveLeft, nullptr);
    EXPECT_FALSE(moveLeft->isEnabled()) << "moves only in manual combining";

    // Two colours, then manual reduction and manual combining, which takes the pick tool.
    window->findChild<QSpinBox *>("RdtColorCount")->setValue(2);
    EXPECT_EQ(window->Model().GroupCount(), 2);
    ASSERT_NE(manualButton(window, "RgpReduceColor"), nullptr);
    manualButton(window, "RgpReduceColor")->click();
    manualButton(window, "RgpCombineStyle")->click();
    EXPECT_EQ(window->Model().Mode(), TReduceMode::ManualCombine);
    EXPECT_TRUE(moveLeft->isEnabled());
    EXPECT_EQ(grid.ToolId(), TToolId::AbsorbColor);

    // Near blue picked in the pattern keeps its own colour.
    QTest::mouseClick(child->GridView()->viewport(), Qt::LeftButton, {}, at(child, 1, 9));
    ASSERT_EQ(window->Model().GroupCount(), 3);
    QStringList messages;
    window->SetMessageHandler([&](const QString &text) { messages << text; });
    window->SetQuestionHandler([] { return true; });
    window->findChild<QPushButton *>("BtnOk")->click();
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    const Rows reduced = bands(0, 1, 0, 2);
    ASSERT_EQ(PictureRows(grid.Picture()), reduced);
    EXPECT_EQ(grid.Palette()[2], fourColorPalette()[NearBlue]);
    EXPECT_EQ(form->PaletteBar()->Model().Palette(), grid.Palette()) << "the palette bar follows";
    EXPECT_EQ(window->Model().UsedCount(), 3);

    // One Undo brings picture and palette back, and the window reads them again.
    action("ActUndo")->trigger();
    EXPECT_EQ(PictureRows(grid.Picture()), bands(Red, Blue, NearRed, NearBlue));
    EXPECT_EQ(grid.Palette()[NearRed], fourColorPalette()[NearRed]);
    EXPECT_EQ(window->Model().UsedCount(), 4);
    action("ActRedo")->trigger();
    ASSERT_EQ(PictureRows(grid.Picture()), reduced);

    ASSERT_TRUE(child->SaveDocument(TSaveCommand::Save));
    child->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form->findChild<TFrmReduceColor *>(), nullptr) << "closed with its document";

    TMDIChild *again = form->OpenChild(picture);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(PictureRows(again->PatternGrid().Picture()), reduced);
    EXPECT_EQ(again->PatternGrid().Palette()[1], fourColorPalette()[Blue]);
}

TEST_F(ColorWindows, ProtectTwoColoursAndRemoveThemWithThePaletteBarAgreeing)
{
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    TPatternGrid &grid = child->PatternGrid();
    action("ActDispProtATransColor")->trigger();
    auto *window = form->findChild<TFrmDispProtATransColor *>();
    ASSERT_NE(window, nullptr);
    const TPaletteBarModel &bar = form->PaletteBar()->Model();
    const auto agree = [&](std::vector<int> expected) {
        for (int i = 0; i < 256; ++i) {
            const bool on = std::find(expected.begin(), expected.end(), i) != expected.end();
            ASSERT_EQ(grid.ColorSet().test(std::size_t(i)), on) << i;
            ASSERT_EQ(bar.Protected(i), on) << i;
        }
        ASSERT_EQ(window->Model().List(TColorSetKind::Protected).size(), qsizetype(expected.size()));
    };

    // Two colours clicked on the palette bar join the protected set.
    SendColorPicked(0, TColorPickInfo { 0, Blue, 3 });
    SendColorPicked(0, TColorPickInfo { 0, NearBlue, 3 });
    ASSERT_NO_FATAL_FAILURE(agree({ Blue, NearBlue }));

    // The first one clicked in the window is the current colour, then removed.
    window->ClickEntry(TColorSetKind::Protected, 0);
    EXPECT_EQ(grid.TextIndex(), Blue);
    EXPECT_EQ(bar.CurrentIndex(), Blue);
    window->findChild<QAction *>("ActRemoveOneProtectColor")->trigger();
    ASSERT_NO_FATAL_FAILURE(agree({ NearBlue }));
    EXPECT_FALSE(action("ActProtectColor")->isChecked()) << "the current colour is no longer protected";
    window->findChild<QAction *>("ActRemoveAllProtectColor")->trigger();
    ASSERT_NO_FATAL_FAILURE(agree({}));

    // A transparent colour: the set chosen by its radio button.
    window->findChild<QRadioButton *>("RbnTransparentColor")->click();
    SendColorPicked(0, TColorPickInfo { 0, Red, 3 });
    EXPECT_TRUE(grid.TransColorSet().test(Red));
    EXPECT_TRUE(bar.Transparent(Red));
    EXPECT_TRUE(grid.ColorSet().none());

    // The last document closing closes the window.
    grid.ClearModified();
    child->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form->findChild<TFrmDispProtATransColor *>(), nullptr);
}

TEST_F(ColorWindows, StatisticsSortedByTheCountHeaderAndBack)
{
    ASSERT_TRUE(SavePicture("ties.bmp", MakePicture({ { 0, 1, 2, 2 } }, fourColorPalette())));
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    QStringList seen;
    TModalScript script({ On<TFrmShowColorPercent>([&](TFrmShowColorPercent *dialog) {
        auto *rows = dialog->findChild<QTableWidget *>("SgdColorInfo");
        ASSERT_NE(rows, nullptr);
        const auto column = [rows](int c) {
            QStringList out;
            for (int r = 0; r < rows->rowCount(); ++r)
                out << rows->item(r, c)->text();
            return out.join(' ');
        };
        seen << column(TFrmShowColorPercent::ColPercent);
        rows->horizontalHeader()->sectionClicked(TFrmShowColorPercent::ColPercent);
        seen << column(TFrmShowColorPercent::ColIndex);
        rows->horizontalHeader()->sectionClicked(TFrmShowColorPercent::ColIndex);
        seen << column(TFrmShowColorPercent::ColIndex);
        QTest::keyClick(dialog, Qt::Key_Escape);
    }) });
    action("ActColorRatio")->trigger();
    EXPECT_TRUE(script.Done()) << script.Unexpected().join(' ').toStdString();
    EXPECT_EQ(seen, (QStringList { "0.2500 0.2500 0.5000", "2 0 1", "0 1 2" }));
}
