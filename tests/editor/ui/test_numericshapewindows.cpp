// The numeric-shape windows, the cross-hair and start-point dialogs and the repair window
// on a grid: what they read and write of the settings, the shape OK places, the document
// they follow, and what Cancel, Escape and a closed document leave.
#include "editor/ui/cursorsizedialog.h"
#include "editor/ui/numericshapewindows.h"
#include "editor/ui/pointstyledialog.h"
#include "editor/ui/repairpicwindow.h"

#include "core/base/geometry.h"
#include "core/settings/inifile.h"
#include "core/settings/sharedstate.h"
#include "core/ui/titlewidth.h"
#include "editor/patterngrid.h"
#include "editor/tools/customline.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

namespace {

using TRows = std::vector<std::vector<int>>;

class NumericShapeWindows : public ::testing::Test {
protected:
    TPatternGrid grid;
    void SetUp() override
    {
        ASSERT_TRUE(InitSharedState());
        StartSettings().MaxUndoCount = 20;
        QFile::remove(Folders().ConfigIniPath);
        QImage picture = NewPicture(30, 100, GreyPalette());
        picture.fill(200);
        grid.SetClientSize(200, 200);
        grid.SetPicture(picture);
        grid.ReadPaletteFromPicture();
        grid.RebuildDisplayBitmap();
        grid.SetForeColorIndex(7);
        grid.SetBackColorIndex(200);
    }
    static QSpinBox *box(QWidget *w, const char *name)
    {
        auto *b = w->findChild<QSpinBox *>(name);
        EXPECT_NE(b, nullptr) << name;
        return b;
    }
    static void deleteClosed() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    static std::vector<TPoint> vertices(const TCustomLine *shape)
    {
        std::vector<TPoint> points;
        for (int i = 0; shape && i < shape->GetPointCount(); ++i)
            points.push_back(shape->Vertex(i).Point());
        return points;
    }
};

} // namespace

// Without a settings file each window opens with the records' defaults; OK writes what was
// typed, and the next window opens with it; Cancel and Escape write nothing and place nothing.
TEST_F(NumericShapeWindows, SettingsAreReadOnOpeningAndWrittenOnlyByOk)
{
    auto *line = new TFrmDigitalBeeLine;
    EXPECT_EQ(line->Info(), TBeeLineInfo {});
    line->SetGrid(&grid, nullptr);
    box(line, "RdtTwoX")->setValue(3);
    QTest::keyClick(line, Qt::Key_Escape);
    EXPECT_FALSE(line->isVisible());
    deleteClosed();
    EXPECT_FALSE(QFile::exists(Folders().ConfigIniPath)) << "Escape writes nothing";
    EXPECT_EQ(grid.DrawObject()->GetPointCount(), 0) << "nor places anything";

    line = new TFrmDigitalBeeLine;
    line->SetGrid(&grid, nullptr);
    line->show();
    box(line, "RdtOneX")->setValue(2);
    box(line, "RdtTwoY")->setValue(100);
    QTest::mouseClick(line->findChild<QWidget *>("BtnOK"), Qt::LeftButton);
    EXPECT_FALSE(line->isVisible()) << "closes after placing";
    deleteClosed();
    EXPECT_EQ(grid.ToolId(), TToolId::BeeLine);
    EXPECT_EQ(vertices(grid.DrawObject()), (std::vector<TPoint> { { 1, 99 }, { 6, 0 } }));
    TBeeLineInfo stored;
    ReadBeeLineInfo(stored);
    EXPECT_EQ(stored, (TBeeLineInfo { 2, 1, 7, 100 }));
    line = new TFrmDigitalBeeLine;
    EXPECT_EQ(line->Info(), stored) << "the next window opens with it";
    delete line;

    // Cancel on the rectangle: nothing written.
    auto *rectangle = new TFrmDigitalRectangle;
    EXPECT_EQ(rectangle->Info(), TRectangleInfo {});
    rectangle->SetGrid(&grid, nullptr);
    rectangle->show();
    box(rectangle, "RdtLeftX")->setValue(9);
    QTest::mouseClick(rectangle->findChild<QWidget *>("BtnCancel"), Qt::LeftButton);
    deleteClosed();
    TRectangleInfo rect;
    ReadRectangleInfo(rect);
    EXPECT_EQ(rect, TRectangleInfo {});

    // A damaged section gives the defaults again, within the boxes' range.
    TIniFile ini(Folders().ConfigIniPath);
    ini.WriteString("CircleInfo", "Radius", "x7");
    ini.WriteString("CircleInfo", "CenterPointX", "999999");
    auto *circle = new TFrmDigitalCircle;
    EXPECT_EQ(circle->Info().Radius, TCircleInfo {}.Radius);
    EXPECT_EQ(box(circle, "RdtCircleX")->value(), 65535);
    delete circle;
}

// The width-and-height option offers the size and takes the top-right corner away; the
// circle's two ways each offer their own fields. Enter in a number box is OK.
TEST_F(NumericShapeWindows, FieldsFollowTheirOptionsAndEnterPlaces)
{
    auto *rectangle = new TFrmDigitalRectangle;
    rectangle->SetGrid(&grid, nullptr);
    rectangle->show();
    auto *sized = rectangle->findChild<QCheckBox *>("CbxWdAndHi");
    ASSERT_NE(sized, nullptr);
    EXPECT_FALSE(box(rectangle, "RdtWidth")->isEnabled());
    EXPECT_TRUE(box(rectangle, "RdtRightX")->isEnabled());
    sized->setChecked(true);
    EXPECT_TRUE(box(rectangle, "RdtWidth")->isEnabled());
    EXPECT_TRUE(box(rectangle, "RdtHeight")->isEnabled());
    EXPECT_FALSE(box(rectangle, "RdtRightX")->isEnabled());
    EXPECT_FALSE(box(rectangle, "RdtRightY")->isEnabled());
    EXPECT_EQ(box(rectangle, "RdtWidth")->value(), 8);
    box(rectangle, "RdtLeftX")->setValue(5);
    rectangle->findChild<QCheckBox *>("CbxDefineArea")->setChecked(true);
    QTest::keyClick(box(rectangle, "RdtLeftX"), Qt::Key_Return);
    EXPECT_FALSE(rectangle->isVisible());
    deleteClosed();
    EXPECT_EQ(grid.ToolId(), TToolId::DefineRectangle);
    EXPECT_EQ(grid.SelectionRegion().boundingRect(), QRect(4, 92, 8, 8));

    auto *circle = new TFrmDigitalCircle;
    auto *centre = circle->findChild<QRadioButton *>("RbnCircel");
    ASSERT_NE(centre, nullptr);
    EXPECT_TRUE(circle->findChild<QRadioButton *>("RbnOutRectangle")->isChecked());
    EXPECT_FALSE(box(circle, "RdtRadius")->isEnabled());
    EXPECT_TRUE(box(circle, "RdtLeftX")->isEnabled());
    centre->setChecked(true);
    EXPECT_TRUE(box(circle, "RdtRadius")->isEnabled());
    EXPECT_FALSE(box(circle, "RdtLeftX")->isEnabled());
    EXPECT_FALSE(box(circle, "RdtWidth")->isEnabled());
    delete circle;
}

// A window follows the document it is given; once that document is gone it touches no grid.
TEST_F(NumericShapeWindows, NoWindowActsOnTheGridOfAClosedDocument)
{
    auto *document = new QObject;
    auto *circle = new TFrmDigitalCircle;
    circle->SetGrid(&grid, document);
    EXPECT_EQ(circle->Grid(), &grid);
    delete document;
    EXPECT_EQ(circle->Grid(), nullptr);
    EXPECT_FALSE(circle->Ok());
    EXPECT_EQ(grid.ToolId(), TToolId::Move) << "the grid was not touched";

    auto *repairOwner = new QObject;
    auto *repair = new TFrmRepairPic(&grid, repairOwner);
    repair->show();
    delete repairOwner;
    EXPECT_FALSE(repair->isVisible()) << "closes with its document";
    deleteClosed();
    delete circle;
}

// The copy and paste windows hand the grid their cells; an area wholly outside the picture
// and a paste position outside it are refused with a message and keep the window open.
TEST_F(NumericShapeWindows, CopyAndPasteHandOverTheirCellsOrRefuse)
{
    std::vector<QRect> copied;
    auto *copy = new TFrmDigitalCopy([&](TPatternGrid &, const QRect &area, QString *) {
        copied.push_back(area);
        return true;
    });
    QStringList messages;
    copy->SetMessageHandler([&](const QString &text) { messages << text; });
    copy->SetGrid(&grid, nullptr);
    copy->show();
    EXPECT_EQ(copy->Info(), TCopyAreaInfo {});
    copy->SetInfo({ 31, 1, 4, 4 });
    EXPECT_FALSE(copy->Ok());
    EXPECT_TRUE(copy->isVisible());
    EXPECT_EQ(messages.size(), 1);
    copy->SetInfo({ 28, 99, 8, 8 });
    EXPECT_TRUE(copy->Ok());
    ASSERT_EQ(copied.size(), 1U);
    EXPECT_EQ(copied[0], QRect(27, 98, 3, 2)) << "clipped to the picture";
    TCopyAreaInfo stored;
    ReadCopyAreaInfo(stored);
    EXPECT_EQ(stored, (TCopyAreaInfo { 28, 99, 8, 8 }));
    deleteClosed();

    std::vector<TPoint> pasted;
    auto *paste = new TFrmPasteTo([&](TPatternGrid &, TPoint at, QString *) {
        pasted.push_back(at);
        return true;
    });
    paste->SetMessageHandler([&](const QString &text) { messages << text; });
    paste->SetGrid(&grid, nullptr);
    paste->show();
    paste->SetInfo({ 3, 101 });
    EXPECT_FALSE(paste->Ok());
    EXPECT_EQ(messages.size(), 2);
    EXPECT_TRUE(pasted.empty());
    paste->SetInfo({ 3, 2 });
    EXPECT_TRUE(paste->Ok());
    EXPECT_EQ(pasted, (std::vector<TPoint> { { 2, 1 } }));
    deleteClosed();
}

// The cross-hair dialog opens with the settings (hidden by default) and OK writes them; the
// start-point dialog shows the grid's flags and gives the chosen ones back, and the recorder
// then puts back the cells the filter rejects.
TEST_F(NumericShapeWindows, CursorSizeAndPointStyleRoundTrips)
{
    {
        TFrmSetCursorSize dialog;
        EXPECT_EQ(dialog.Values(), TCursorStyleOption {});
        EXPECT_TRUE(dialog.findChild<QRadioButton *>("Hide_Cursor")->isChecked());
        dialog.findChild<QRadioButton *>("Display_Small_Cursor")->setChecked(true);
        box(&dialog, "RdtSize")->setValue(12);
        dialog.accept();
    }
    TCursorStyleOption stored;
    ReadCursorStyle(stored);
    EXPECT_EQ(stored, (TCursorStyleOption { 12, false, true, false }));
    {
        TFrmSetCursorSize dialog;
        EXPECT_EQ(dialog.Values(), stored);
        box(&dialog, "RdtSize")->setValue(9999);
        dialog.reject();
    }
    ReadCursorStyle(stored);
    EXPECT_EQ(stored.CursorSize, 12) << "Cancel writes nothing";

    struct Case {
        TFrmSetPointStyle::TStyle style;
        std::array<std::uint8_t, 3> flags;
        const char *button;
    };
    const Case cases[] = {
        { TFrmSetPointStyle::DoubleValid, { 0, 1, 0 }, "Double_Starting_Point_Valid" },
        { TFrmSetPointStyle::SingleValid, { 1, 0, 0 }, "Single_Starting_Point_Valid" },
        { TFrmSetPointStyle::AllValid, { 0, 0, 1 }, "All_Valid" },
    };
    for (const Case &c : cases) {
        TFrmSetPointStyle dialog(grid);
        dialog.findChild<QRadioButton *>(c.button)->setChecked(true);
        dialog.accept();
        EXPECT_EQ(grid.PointStyle(), c.flags) << c.button;
        TFrmSetPointStyle again(grid);
        EXPECT_EQ(again.Style(), c.style);
        EXPECT_TRUE(again.findChild<QRadioButton *>(c.button)->isChecked());
    }

    // The double-start filter: a row of cells drawn on the bottom row keeps only the cells
    // whose column plus row (from the bottom) is even, and puts the others back.
    TFrmSetPointStyle dialog(grid);
    dialog.findChild<QRadioButton *>("Double_Starting_Point_Valid")->setChecked(true);
    dialog.accept();
    TLineArray cells(4);
    for (int x = 0; x < 4; ++x) {
        grid.Picture().scanLine(99)[x] = 7;
        cells[x] = TPoint { x, 99 };
    }
    grid.RecordUndoStep(cells);
    std::vector<int> bottom(grid.Picture().constScanLine(99), grid.Picture().constScanLine(99) + 4);
    EXPECT_EQ(bottom, (std::vector<int> { 7, 200, 7, 200 }));
}

// The repair window runs the chosen function with the typed run length on the grid's
// picture of the moment, one undo step a run; Escape closes it.
TEST_F(NumericShapeWindows, RepairWindowRunsOnTheGridsPictureOfTheMoment)
{
    QImage picture = NewPicture(5, 3, GreyPalette());
    picture.fill(200);
    for (int x : { 0, 2 })
        picture.scanLine(1)[x] = 7;
    grid.SetPicture(picture);
    grid.RebuildDisplayBitmap();
    auto *document = new QObject;
    auto *window = new TFrmRepairPic(&grid, document);
    window->show();
    EXPECT_EQ(window->Function(), TRepairFunction::ClearMottle);
    EXPECT_EQ(box(window, "RdtDistance")->value(), 2);
    EXPECT_EQ(box(window, "RdtDistance")->maximum(), 99);

    // A whole-picture change and its undo give the grid a new picture.
    ASSERT_TRUE(grid.Rotate90());
    ASSERT_TRUE(grid.Undo());
    window->SetFunction(TRepairFunction::Repair);
    QTest::mouseClick(window->findChild<QWidget *>("BtnOK"), Qt::LeftButton);
    EXPECT_EQ(PictureRows(grid.Picture()),
        (TRows { { 200, 200, 200, 200, 200 }, { 7, 7, 7, 200, 200 }, { 200, 200, 200, 200, 200 } }));
    ASSERT_TRUE(grid.Undo());
    EXPECT_EQ(grid.Picture().constScanLine(1)[1], 200);
    EXPECT_TRUE(window->isVisible());
    QApplication::setActiveWindow(window);
    QTest::keyClick(window, Qt::Key_W, Qt::ControlModifier);
    EXPECT_FALSE(window->isVisible()) << "Ctrl+W closes";
    deleteClosed();
    delete document;
}

// The short dialogs are laid out by their controls; each is still wide enough for its whole
// caption, which the title bar would otherwise cut short ("Set Cu... r Size").
TEST_F(NumericShapeWindows, ShortDialogsShowTheirWholeCaption)
{
    TFrmSetCursorSize cursor;
    TFrmSetPointStyle point(grid);
    for (QWidget *dialog : std::initializer_list<QWidget *> { &cursor, &point }) {
        SCOPED_TRACE(dialog->objectName().toStdString());
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
        EXPECT_GE(dialog->width(), TitleFitWidth(dialog)) << dialog->windowTitle().toStdString();
        dialog->hide();
    }
}
