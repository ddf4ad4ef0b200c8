// The point window and the multi-layer merge in the real main window, tried as a new user
// would: open pictures, delete single points and undo, mark isolated points in another
// document brought to the front, close the documents; choose layers in the merge chooser,
// be refused for nothing chosen and unequal sizes, merge two, save the result and open it
// again.
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"

#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"
#include "editor/ui/markpointwindow.h"
#include "mainwindowfixture.h"
#include "modalscript.h"
#include "shell/ui/patternmergedialog.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

namespace {

using TRows = std::vector<std::vector<int>>;

struct Technique : TMainWindowFixture {
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartFreshSettings());
        RegisterPictureFormats();
        ShowMainWindow();
    }
    // Writes rows as name in the test's folder and opens it.
    TMDIChild *open(const QString &name, const QImage &image)
    {
        if (!SavePicture(name, image))
            return nullptr;
        return form->OpenChild(picture);
    }
    void bringToFront(TMDIChild *child)
    {
        form->mdiArea()->setActiveSubWindow(child);
        QCoreApplication::processEvents();
    }
    template <class T> static T *child(QWidget *w, const char *name)
    {
        return w->findChild<T *>(QLatin1String(name));
    }
    static void click(QWidget *w, const char *name)
    {
        auto *button = child<QAbstractButton>(w, name);
        ASSERT_NE(button, nullptr) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    }
};

// Each row a numbered run of colours; the columns of layer i hold 10 * i + column.
QImage layer(int width, int height, int i)
{
    QImage out = NewPicture(width, height, GreyPalette());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            out.scanLine(y)[x] = std::uint8_t((10 * i + x + y) % 200);
    return out;
}

} // namespace

TEST_F(Technique, NewUserDeletesAndMarksPointsInTheDocumentInFront)
{
    // One isolated point of colour 1 between 5 and 5; a run of two isolated 1s in the other.
    const TRows first { { 7, 7, 7 }, { 5, 1, 5 }, { 7, 7, 7 } };
    const TRows second { { 7, 1, 7 }, { 7, 1, 7 }, { 7, 7, 7 } };
    TMDIChild *a = open("first.bmp", MakePicture({ first[0], first[1], first[2] }));
    ASSERT_NE(a, nullptr);
    a->PatternGrid().SetForeColorIndex(1);
    QAction *markPoint = action("ActMarkPoint");
    ASSERT_TRUE(markPoint->isEnabled());
    markPoint->trigger();
    auto *window = form->findChild<TFrmMarkPoint *>();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), GetUiString(UiKey::General::Option));
    EXPECT_EQ(window->Grid(), &a->PatternGrid());

    // Deleting single points: the run length is 1 and cannot be changed; the counts are
    // stepped only, never typed.
    auto *count = child<QSpinBox>(window, "RxPointCount");
    ASSERT_NE(count, nullptr);
    EXPECT_FALSE(count->isEnabled());
    EXPECT_EQ(count->value(), 1);
    EXPECT_EQ(count->minimum(), 1);
    EXPECT_EQ(count->maximum(), 99);
    EXPECT_TRUE(count->findChild<QLineEdit *>()->isReadOnly());
    EXPECT_FALSE(child<QGroupBox>(window, "Float_Way")->isEnabled());
    EXPECT_FALSE(child<QSpinBox>(window, "RxFillPointCount")->isEnabled());
    click(window, "BtnOK");
    EXPECT_TRUE(window->isVisible()) << "OK keeps the window open";
    EXPECT_EQ(PictureRows(a->PatternGrid().Picture()), (TRows { { 7, 7, 7 }, { 5, 5, 5 }, { 7, 7, 7 } }));
    action("ActUndo")->trigger();
    EXPECT_EQ(PictureRows(a->PatternGrid().Picture()), first);

    // The choices each mode reads, and the run-length label naming what is looked for.
    click(window, "Search_Float");
    EXPECT_TRUE(child<QGroupBox>(window, "Float_Way")->isEnabled());
    EXPECT_TRUE(count->isEnabled());
    EXPECT_EQ(child<QLabel>(window, "Input_Single_Point_Count")->text(),
        GetUiString(UiKey::SearchOrAddPoint::Input_Float_Length));
    click(window, "Add_Point");
    EXPECT_FALSE(child<QGroupBox>(window, "Float_Way")->isEnabled());
    EXPECT_TRUE(child<QSpinBox>(window, "RxFillPointCount")->isEnabled());
    EXPECT_TRUE(child<QGroupBox>(window, "Set_Add_Point_Way")->isEnabled());

    // Another document in front is the one worked on; the first stays as it is.
    TMDIChild *b = open("second.bmp", MakePicture({ second[0], second[1], second[2] }));
    ASSERT_NE(b, nullptr);
    bringToFront(b);
    EXPECT_EQ(window->Grid(), &b->PatternGrid());
    b->PatternGrid().SetForeColorIndex(1);
    click(window, "Search_Isolated_Point");
    EXPECT_EQ(child<QLabel>(window, "Input_Single_Point_Count")->text(),
        GetUiString(UiKey::SearchOrAddPoint::Input_Isolated_Point_Count));
    QTest::mouseClick(count, Qt::LeftButton); // focus only: the number is stepped
    count->stepUp();
    EXPECT_EQ(count->value(), 2);
    click(window, "BtnOK");
    const TRows marked = PictureRows(b->PatternGrid().Picture());
    const int marker = marked[0][1];
    EXPECT_NE(marker, 1);
    EXPECT_EQ(marked, (TRows { { 7, marker, 7 }, { 7, marker, 7 }, { 7, 7, 7 } }));
    EXPECT_EQ(b->PatternGrid().UndoStore().UndoCount(), 2) << "the marker colour, then the cells";
    EXPECT_EQ(PictureRows(a->PatternGrid().Picture()), first);

    // Cancel hides the window; the command shows the same one again.
    click(window, "BtnCancel");
    EXPECT_FALSE(window->isVisible());
    markPoint->trigger();
    EXPECT_EQ(form->findChild<TFrmMarkPoint *>(), window);
    EXPECT_TRUE(window->isVisible());

    // Closing the last document hides the window, which then works on nothing.
    ask.SaveAnswer = TSaveAnswer::No;
    ASSERT_TRUE(form->CloseAllDocuments());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->Grid(), nullptr);
    EXPECT_FALSE(window->Run());
    EXPECT_FALSE(markPoint->isEnabled());
}

TEST_F(Technique, ChooserRefusesNothingAndUnequalSizesThenMergesTwoLayers)
{
    TMDIChild *a = open("layerA.bmp", layer(100, 50, 0));
    TMDIChild *b = open("layerB.bmp", layer(100, 50, 1));
    TMDIChild *c = open("taller.bmp", layer(100, 51, 2));
    ASSERT_TRUE(a && b && c);
    const QString refused = GetUiMessage(UiKey::String::SelectedNoPictureOrSizeNoSame);

    TModalScript script({ On<TFrmNavigatorPatternMerge>([&](TFrmNavigatorPatternMerge *d) {
        auto *from = child<QListWidget>(d, "LbxFrom");
        auto *selected = child<QListWidget>(d, "LbxSelected");
        ASSERT_TRUE(from && selected);
        ASSERT_EQ(from->count(), 3);
        EXPECT_EQ(from->item(0)->text(), "layerA");
        EXPECT_EQ(from->item(2)->text(), "taller");
        EXPECT_EQ(selected->count(), 0);

        // OK with nothing chosen: the message, the dialog stays.
        click(d, "BtnOK");
        EXPECT_EQ(ask.Messages, QStringList { refused });
        EXPECT_TRUE(d->isVisible());

        // A click previews the document; choosing "layerA" and "taller" is refused.
        QTest::mouseClick(from->viewport(), Qt::LeftButton, {}, from->visualItemRect(from->item(2)).center());
        EXPECT_EQ(d->PreviewedDocument(), c);
        from->setCurrentRow(0);
        click(d, "Select");
        from->setCurrentRow(1);
        click(d, "Select");
        EXPECT_EQ(d->SelectedCount(), 2);
        click(d, "BtnOK");
        EXPECT_EQ(ask.Messages.size(), 2);
        EXPECT_TRUE(d->isVisible());

        // Everything moves both ways, first to last; then the two layers of one size, each by a
        // double click.
        click(d, "Select_All");
        EXPECT_EQ(from->count(), 0);
        EXPECT_EQ(d->SelectedCount(), 3);
        click(d, "Delete_All");
        EXPECT_EQ(selected->count(), 0);
        EXPECT_EQ(from->item(0)->text(), "layerA");
        EXPECT_EQ(from->item(1)->text(), "taller");
        EXPECT_EQ(from->item(2)->text(), "layerB");
        from->setCurrentRow(0);
        click(d, "Select");
        selected->setCurrentRow(0);
        click(d, "Delete");
        EXPECT_EQ(from->item(2)->text(), "layerA") << "back at the end";
        for (const char *name : { "layerA", "layerB" }) {
            QListWidgetItem *item = from->findItems(QLatin1String(name), Qt::MatchExactly).front();
            // A double click: the first click, then the second that Qt turns into one.
            const QPoint at = from->visualItemRect(item).center();
            QTest::mouseClick(from->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(from->viewport(), Qt::LeftButton, {}, at);
        }
        ASSERT_EQ(d->SelectedCount(), 2);
        EXPECT_EQ(d->SelectedPicture(2), QImage());
        click(d, "BtnOK");
    }) });
    QAction *merge = action("ActPatternMerge");
    ASSERT_TRUE(merge->isEnabled());
    merge->trigger();
    EXPECT_TRUE(script.Done()) << script.Unexpected().join(", ").toStdString();
    EXPECT_EQ(ask.Messages.size(), 2);

    // The merged document: layerA's columns at even places, layerB's at odd ones.
    ASSERT_EQ(form->Children().size(), 4);
    TMDIChild *merged = form->ActiveChild();
    ASSERT_NE(merged, nullptr);
    const QImage result = merged->PatternGrid().Picture();
    ASSERT_EQ(result.size(), QSize(200, 50));
    const QImage la = layer(100, 50, 0), lb = layer(100, 50, 1);
    bool interleaved = true;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x)
            interleaved = interleaved && result.pixelIndex(2 * x, y) == la.pixelIndex(x, y)
                && result.pixelIndex(2 * x + 1, y) == lb.pixelIndex(x, y);
    EXPECT_TRUE(interleaved);

    // Saved and opened again, it is the same picture.
    ask.DialogAccepts = true;
    ask.DialogType = TSaveFileType::Bitmap;
    ask.DialogFile = dir.filePath("merged");
    action("ActFileSaveAs")->trigger();
    const QString saved = dir.filePath("merged.BMP");
    ASSERT_TRUE(QFile::exists(saved));
    TMDIChild *again = form->OpenChild(saved, false, true);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(PictureRows(again->PatternGrid().Picture()), PictureRows(result));
}
