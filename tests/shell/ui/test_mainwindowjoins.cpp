// The interleave, join, split and link windows, tried as a new user would: every step of
// adding a file and its message, the joins they make, the bars and palette choices of the
// manual links, the guide lines of the guided ones; and in the real main window each
// command opens its window, and its OK a document that is saved and opened again.
#include "shell/ui/autolinkpicturewindow.h"
#include "shell/ui/directmergedialog.h"
#include "shell/ui/linkpicturewindow.h"
#include "shell/ui/splitpicturedialog.h"
#include "shell/ui/unitepicturedialog.h"

#include "core/palette/palettejoin.h"
#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"
#include "editor/ui/setpalettedialog.h"
#include "mainwindowfixture.h"
#include "modalscript.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QToolBar>

namespace {

using TRows = std::vector<std::vector<int>>;

// A picture whose cell (x, y) holds 1 + (seed + 3x + 7y) mod 200, in the grey palette.
QImage pattern(int w, int h, int seed = 0)
{
    QImage img = NewPicture(w, h, GreyPalette());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.scanLine(y)[x] = std::uint8_t(1 + (seed + 3 * x + 7 * y) % 200);
    return img;
}

// Answers the palette question with a prepared choice and records the kinds asked.
struct TFakePaletteChoice : TPaletteChoiceAsker {
    bool Accepts = true;
    TPaletteChoice Answer = TPaletteChoice::Combine;
    std::vector<TPaletteChoiceKind> Asked;
    bool AskPaletteChoice(TPaletteChoiceKind kind, TPaletteChoice &choice) override
    {
        Asked.push_back(kind);
        if (Accepts)
            choice = Answer;
        return Accepts;
    }
};

struct Joins : TMainWindowFixture {
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartFreshSettings());
        RegisterPictureFormats();
        ShowMainWindow();
    }
    // Writes the picture as name in the test's folder; its path.
    QString file(const QString &name, const QImage &image)
    {
        EXPECT_TRUE(SavePicture(name, image));
        return picture;
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
    // Types the path and presses "Add", as the user does.
    static void addTyped(QWidget *dialog, const QString &path)
    {
        child<QLineEdit>(dialog, "EdtPath")->setText(path);
        click(dialog, "Add");
    }
    static void trigger(QWidget *window, const char *name)
    {
        auto *act = child<QAction>(window, name);
        ASSERT_NE(act, nullptr) << name;
        act->trigger();
    }
    // A drag with the left button from one point of the widget to another.
    static void drag(QWidget *view, QPoint from, QPoint to)
    {
        const auto send = [view](QEvent::Type type, QPoint at, Qt::MouseButtons held) {
            QMouseEvent event(type, at, view->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
            QCoreApplication::sendEvent(view, &event);
        };
        send(QEvent::MouseButtonPress, from, Qt::LeftButton);
        send(QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
        send(QEvent::MouseMove, to, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, to, Qt::NoButton);
    }
    // The active document saved as a bitmap and opened again: its picture.
    QImage saveAndReopen(const QString &name)
    {
        ask.DialogAccepts = true;
        ask.DialogType = TSaveFileType::Bitmap;
        ask.DialogFile = dir.filePath(name);
        action("ActFileSaveAs")->trigger();
        TMDIChild *again = form->OpenChild(dir.filePath(name + ".BMP"), false, true);
        return again ? again->PatternGrid().Picture() : QImage();
    }
};

} // namespace

// Every step of adding a file, in both list dialogs: empty, missing, damaged, a different
// size (interleave only), the same file twice declined and accepted.
TEST_F(Joins, ListDialogsCheckEveryFileAdded)
{
    const QString a = file("a.bmp", pattern(3, 2)), b = file("b.bmp", pattern(4, 2));
    const QString damaged = file("damaged.bmp", pattern(3, 2));
    ASSERT_TRUE(WriteAll(damaged, QByteArray("BM\x10\x00", 4)));
    for (const bool interleave : { true, false }) {
        SCOPED_TRACE(interleave ? "interleave" : "join");
        ask.Messages.clear();
        std::unique_ptr<TPictureListDialog> dialog;
        if (interleave)
            dialog = std::make_unique<TFrmUnitePic>(ask, form.get());
        else
            dialog = std::make_unique<TFrmDirectMerge>(ask, form.get());
        dialog->show();
        struct Step {
            QString path;
            QString message; // empty: the loader's own message
            bool added;
        };
        const QString different = interleave ? GetUiMessage(UiKey::String::BmpDifferent) : QString();
        const std::vector<Step> steps {
            { QStringLiteral("   "), GetUiMessage(UiKey::String::FileNameIsEmpty), false },
            { dir.filePath("missing.bmp"), GetUiMessage(UiKey::String::FileNotExist), false },
            { damaged, QString(), false },
            { a, QString(), true },
            { b, different, !interleave },
        };
        for (const Step &s : steps) {
            const qsizetype before = ask.Messages.size();
            addTyped(dialog.get(), s.path);
            EXPECT_EQ(dialog->Paths().contains(s.path), s.added) << s.path.toStdString();
            if (!s.added) {
                ASSERT_EQ(ask.Messages.size(), before + 1) << s.path.toStdString();
                if (!s.message.isEmpty()) {
                    EXPECT_EQ(ask.Messages.back(), s.message);
                }
            }
        }
        // The same file again: asked, declined, then accepted and listed twice.
        ask.Asked.clear();
        ask.OkAnswer = false;
        addTyped(dialog.get(), a);
        EXPECT_EQ(ask.Asked, QStringList { GetUiMessage(UiKey::String::FileNameHasAdd) });
        EXPECT_EQ(dialog->Paths().count(a), 1);
        ask.OkAnswer = true;
        addTyped(dialog.get(), a);
        EXPECT_EQ(dialog->Paths().count(a), 2);
    }
}

// Two 3-column pictures interleave as A0 B0 A1 B1 A2 B2, rebuilt on every add and delete; a
// click previews one picture, "Preview" the result; a 262 x 161 picture is drawn 131 x 80.
TEST_F(Joins, InterleaveFollowsTheListAndPreviews)
{
    const TRows rowsA { { 10, 11, 12 } }, rowsB { { 20, 21, 22 } };
    const QString a = file("a.bmp", MakePicture({ rowsA[0] }, GreyPalette()));
    const QString b = file("b.bmp", MakePicture({ rowsB[0] }, GreyPalette()));
    TFrmUnitePic dialog(ask, form.get());
    dialog.show();
    EXPECT_FALSE(dialog.HasResult());
    addTyped(&dialog, a);
    addTyped(&dialog, b);
    ASSERT_TRUE(dialog.HasResult());
    EXPECT_EQ(PictureRows(dialog.GetUnitedPicture()), (TRows { { 10, 20, 11, 21, 12, 22 } }));
    EXPECT_EQ(dialog.Preview()->Shown().size(), PicturePreviewSize(QSize(6, 1)));

    // Deleting asks per selected item; declined keeps it, accepted rebuilds without it.
    auto *list = child<QListWidget>(&dialog, "LbxPath");
    list->item(0)->setSelected(true);
    ask.OkAnswer = false;
    click(&dialog, "Del");
    EXPECT_EQ(dialog.Paths().size(), 2);
    ask.OkAnswer = true;
    click(&dialog, "Del");
    EXPECT_EQ(dialog.Paths(), QStringList { b });
    EXPECT_EQ(PictureRows(dialog.GetUnitedPicture()), rowsB);

    const QString wide = file("wide.bmp", pattern(262, 161));
    TFrmUnitePic other(ask, form.get());
    other.show();
    addTyped(&other, wide);
    addTyped(&other, wide);
    auto *otherList = child<QListWidget>(&other, "LbxPath");
    QTest::mouseClick(
        otherList->viewport(), Qt::LeftButton, {}, otherList->visualItemRect(otherList->item(0)).center());
    EXPECT_EQ(other.Preview()->Shown().size(), QSize(131, 80));
    const QRect shown = other.Preview()->ShownRect(), box = other.Preview()->rect();
    EXPECT_LE(std::abs(shown.top() - (box.bottom() - shown.bottom())), 1) << "centred";
    EXPECT_LE(std::abs(shown.left() - (box.right() - shown.right())), 1) << "centred";
    click(&other, "BtnPreview");
    EXPECT_EQ(other.Preview()->Shown().size(), PicturePreviewSize(QSize(524, 161)));
}

// OK needs two files, loads them again and joins them in list order with black padding; a
// file gone since it was added is reported and the dialog stays.
TEST_F(Joins, DirectMergeJoinsOnOkOnly)
{
    const QString a = file("a.bmp", pattern(10, 20)), b = file("b.bmp", pattern(5, 30, 9));
    struct Case {
        const char *button;
        QSize size;
    };
    for (const Case c :
        { Case { "Horizontally_Merge", QSize(15, 30) }, Case { "Vertically_Merge", QSize(10, 50) } }) {
        ask.Messages.clear();
        TFrmDirectMerge dialog(ask, form.get());
        dialog.show();
        EXPECT_TRUE(child<QRadioButton>(&dialog, "Horizontally_Merge")->isChecked());
        addTyped(&dialog, a);
        EXPECT_EQ(child<QLabel>(&dialog, "BasePanel")->text(),
            GetUiString(UiKey::CombinePicture::Base_Picture_Size) + QStringLiteral("10×20"));
        click(&dialog, "BtnOK");
        EXPECT_EQ(ask.Messages, QStringList { GetUiMessage(UiKey::String::MergeAtLeastTwoPictures) });
        EXPECT_TRUE(dialog.isVisible());
        addTyped(&dialog, b);
        EXPECT_EQ(child<QLabel>(&dialog, "SelectedPanel")->text(),
            GetUiString(UiKey::CombinePicture::Selected_Picture_Size) + QStringLiteral("5×30"));
        EXPECT_EQ(dialog.LargestSize(), QSize(10, 30));

        ASSERT_TRUE(QFile::rename(b, b + ".away"));
        click(&dialog, "BtnOK");
        EXPECT_EQ(ask.Messages.size(), 2);
        EXPECT_TRUE(dialog.isVisible());
        ASSERT_TRUE(QFile::rename(b + ".away", b));

        click(&dialog, c.button);
        click(&dialog, "BtnOK");
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        const QImage r = dialog.Result();
        ASSERT_EQ(r.size(), c.size);
        EXPECT_EQ(r.pixel(9, 19), pattern(10, 20).pixel(9, 19));
        const QPoint padded = c.size.width() == 15 ? QPoint(0, 25) : QPoint(7, 40);
        EXPECT_EQ(QColor(r.pixel(padded)), QColor(0, 0, 0));
    }
}

// The manual links: both directions and the three palette choices, the first picture's bar
// at 10 cutting 10 lines at the seam, the bars along the seam moved without changing the
// result; nothing happens before both pictures are there or when the question is cancelled.
TEST_F(Joins, ManualLinkCutsAtTheSeamAndKeepsTheChosenPalette)
{
    TPalette256 other = GreyPalette();
    std::reverse(other.begin(), other.end());
    const QImage first = pattern(100, 40), second = pattern(30, 50, 5);
    QImage secondOwn = second.copy();
    secondOwn.setColorTable(QImage(NewPicture(1, 1, other)).colorTable());
    for (const int direction : { 1, 0 }) {
        const bool lr = direction == 1;
        const QImage a = lr ? first : first.transformed(QTransform().rotate(90));
        const QImage b = lr ? secondOwn : secondOwn.transformed(QTransform().rotate(90));
        const QString fa = file(lr ? "left.bmp" : "top.bmp", a),
                      fb = file(lr ? "right.bmp" : "bottom.bmp", b);
        for (const TPaletteChoice choice :
            { TPaletteChoice::Combine, TPaletteChoice::First, TPaletteChoice::Second }) {
            SCOPED_TRACE(testing::Message() << "direction " << direction << " choice " << int(choice));
            TFakePaletteChoice asker;
            asker.Answer = choice;
            std::unique_ptr<TFrmManualLinkPic> window;
            if (lr)
                window = std::make_unique<TFrmLeftRightLinkPic>(ask, form.get());
            else
                window = std::make_unique<TFrmTopBottomLinkPic>(ask, form.get());
            window->SetPaletteAsker(&asker);
            window->show();
            ASSERT_NE(child<QWidget>(window.get(), lr ? "ImgLeft" : "ImgTop"), nullptr);
            EXPECT_FALSE(window->StartLink());
            EXPECT_TRUE(asker.Asked.empty());

            // The files come through the open action, the second side first.
            window->SetFileChooser([&](int side) { return side == 0 ? fa : fb; });
            trigger(window.get(), lr ? "ActOpenRight" : "ActOpenBottom");
            trigger(window.get(), lr ? "ActOpenLeft" : "ActOpenTop");
            QScrollBar *cut = child<QScrollBar>(window.get(), lr ? "SbrLeftHorz" : "SbrTopVert");
            QScrollBar *secondAcross = child<QScrollBar>(window.get(), lr ? "SbrRightHorz" : "SbrBottomVert");
            QScrollBar *along = child<QScrollBar>(window.get(), lr ? "SbrLeftVert" : "SbrTopHorz");
            QScrollBar *secondAlong = child<QScrollBar>(window.get(), lr ? "SbrRightVert" : "SbrBottomHorz");
            ASSERT_TRUE(cut && secondAcross && along && secondAlong);
            EXPECT_EQ(cut->maximum(), 99) << "never the whole picture";
            EXPECT_EQ(cut->value(), 0);
            EXPECT_EQ(secondAcross->maximum(), 30);
            EXPECT_EQ(secondAcross->value(), 30);
            EXPECT_EQ(along->minimum(), -50);
            EXPECT_EQ(along->maximum(), 50);

            // Moving a picture moves it on screen; Reposition puts everything back.
            const QPoint start = window->Pane(0)->Offset();
            cut->setValue(10);
            along->setValue(7);
            secondAlong->setValue(-12);
            EXPECT_EQ(window->Pane(0)->Offset() - start, lr ? QPoint(10, 7) : QPoint(7, 10));
            trigger(window.get(), "ActReposition");
            EXPECT_EQ(window->Pane(0)->Offset(), start);
            EXPECT_EQ(secondAlong->value(), 0);
            cut->setValue(10);
            along->setValue(7);
            secondAlong->setValue(-12);

            // A cancelled question changes nothing; a file that does not load leaves its side.
            asker.Accepts = false;
            trigger(window.get(), "ActStartLink");
            EXPECT_TRUE(window->isVisible());
            EXPECT_TRUE(window->Result().isNull());
            ask.Messages.clear();
            EXPECT_FALSE(window->OpenPicture(1, dir.filePath("missing.bmp")));
            EXPECT_EQ(ask.Messages.size(), 1);
            EXPECT_EQ(window->Picture(1), b);

            asker.Accepts = true;
            trigger(window.get(), "ActStartLink");
            EXPECT_EQ(asker.Asked.back(), lr ? TPaletteChoiceKind::LeftRight : TPaletteChoiceKind::TopBottom);
            EXPECT_EQ(window->result(), QDialog::Accepted);
            QImage expected;
            if (choice == TPaletteChoice::Combine)
                ASSERT_TRUE(UnitePicturePalettes(a, b, direction, 10, expected));
            else
                ASSERT_TRUE(
                    UnitePalettesByChoice(a, b, direction, 10, choice == TPaletteChoice::First, expected));
            EXPECT_EQ(lr ? window->Result().width() : window->Result().height(), 90 + 30);
            EXPECT_EQ(window->Result(), expected);
            const QList<QRgb> table = expected.colorTable();
            const TPalette256 palette = window->GetPalette();
            EXPECT_EQ(QColor(table[1]), QColor(palette[1].Red, palette[1].Green, palette[1].Blue));
            if (choice == TPaletteChoice::Second) {
                EXPECT_EQ(window->Result().colorTable(), b.colorTable());
            }
        }
    }
}

// The guided link: the same arrangement whichever picture is opened first; lines are taken
// two points at a time with Space or Enter, one per picture; "Redraw" takes the last one
// back; "Link" is offered only with both lines and ends the window with the result.
TEST_F(Joins, GuidedLinkTakesOneLinePerPictureThenJoins)
{
    const QImage whole = pattern(60, 80);
    const QString top = file("top.bmp", whole.copy(0, 0, 60, 45)),
                  bottom = file("bottom.bmp", whole.copy(0, 35, 60, 45));
    TFrmAutoTopBottomLinkPic firstTop(ask, form.get());
    ASSERT_TRUE(firstTop.OpenPicture(0, top));
    ASSERT_TRUE(firstTop.OpenPicture(1, bottom));

    TFrmAutoTopBottomLinkPic window(ask, form.get());
    window.show();
    window.SetFileChooser([&](int side) { return side == 0 ? top : bottom; });
    trigger(&window, "ActOpenBottomPic");
    EXPECT_FALSE(window.Lines().HasPictures()) << "one picture alone is only shown";
    trigger(&window, "ActOpenTopPic");
    EXPECT_EQ(window.Arrangement(), firstTop.Arrangement());
    EXPECT_EQ(window.PictureRect(0), (TRect { 0, 0, 60, 45 }));
    EXPECT_EQ(window.PictureRect(1), (TRect { 0, 45, 60, 90 }));

    QAction *merge = child<QAction>(&window, "ActStartMerge");
    QAction *redefine = child<QAction>(&window, "ActReDefine");
    ASSERT_TRUE(merge && redefine);
    const auto points = [&] { return window.Lines().Points().size(); };
    EXPECT_FALSE(merge->isEnabled());
    EXPECT_FALSE(redefine->isEnabled());

    // Across both pictures: refused with the message; then mended and taken with Space.
    QWidget *view = window.View();
    drag(view, QPoint(5, 40), QPoint(50, 60));
    QTest::keyClick(&window, Qt::Key_Space);
    EXPECT_EQ(ask.Messages.back(), GetUiMessage(UiKey::String::TwoPoitnNotInOneRect));
    EXPECT_EQ(points(), 0u);
    drag(view, QPoint(50, 60), QPoint(50, 40));
    QTest::keyClick(&window, Qt::Key_Space);
    EXPECT_EQ(points(), 2u);
    EXPECT_FALSE(merge->isEnabled());
    EXPECT_TRUE(redefine->isEnabled());

    // A second line on the same picture is refused; Delete drops it.
    drag(view, QPoint(5, 10), QPoint(50, 10));
    QTest::keyClick(&window, Qt::Key_Return);
    EXPECT_EQ(ask.Messages.back(), GetUiMessage(UiKey::String::GuideLineSamePicture));
    QTest::keyClick(&window, Qt::Key_Delete);
    EXPECT_FALSE(window.Lines().Drawing());

    // The line on original row 40 on both: row 40 of the top, row 5 of the bottom (50 in view).
    trigger(&window, "ActReDefine");
    EXPECT_EQ(points(), 0u);
    QTest::keyClick(&window, Qt::Key_Delete);
    drag(view, QPoint(5, 40), QPoint(50, 40));
    QTest::keyClick(&window, Qt::Key_Enter);
    drag(view, QPoint(5, 50), QPoint(50, 50));
    QTest::keyClick(&window, Qt::Key_Space);
    ASSERT_EQ(points(), 4u);
    EXPECT_TRUE(merge->isEnabled());
    drag(view, QPoint(5, 20), QPoint(30, 20));
    EXPECT_FALSE(window.Lines().Drawing()) << "no third line";

    merge->trigger();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(PictureRows(window.Result()), PictureRows(whole));
}

// The split dialog offers 2 to 99 parts, no more than the pattern has warps, stepped only.
TEST_F(Joins, SplitCountIsBoundedByTheWarps)
{
    for (const auto &[width, most] :
        { std::pair(7, 7), std::pair(200, 99), std::pair(2, 2), std::pair(1, 2) }) {
        TFrmSplitePicture dialog(width, form.get());
        auto *count = child<QSpinBox>(&dialog, "RxSpliteNumber");
        ASSERT_NE(count, nullptr);
        EXPECT_EQ(count->minimum(), 2);
        EXPECT_EQ(count->maximum(), most);
        EXPECT_TRUE(count->findChild<QLineEdit *>()->isReadOnly());
        EXPECT_EQ(
            dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->isEnabled(), width >= 2)
            << "a single warp is not split";
    }
}

// In the real main window, as a new user: every command opens its window; OK makes a new
// document, which is saved and opened again.
TEST_F(Joins, NewUserMakesDocumentsFromEveryCommand)
{
    const QString a = file("a.bmp", pattern(30, 20)), b = file("b.bmp", pattern(30, 20, 4));
    const auto okPalette = On<TFrmSetPalette>([](TFrmSetPalette *d) { click(d, "BtnOK"); });
    struct Case {
        const char *action;
        TModalScript::Step window;
        bool asksPalette;
        QSize size;
    };
    const auto openBoth = [&](QDialog *d) {
        if (auto *manual = qobject_cast<TFrmManualLinkPic *>(d)) {
            manual->OpenPicture(0, a);
            manual->OpenPicture(1, b);
            trigger(d, "ActStartLink");
        }
    };
    const std::vector<Case> cases {
        { "ActUnitePic", On<TFrmUnitePic>([&](TFrmUnitePic *d) {
             addTyped(d, a);
             addTyped(d, b);
             click(d, "BtnOK");
         }),
            false, QSize(60, 20) },
        { "ActDirectMerge", On<TFrmDirectMerge>([&](TFrmDirectMerge *d) {
             addTyped(d, a);
             addTyped(d, b);
             click(d, "Vertically_Merge");
             click(d, "BtnOK");
         }),
            false, QSize(30, 40) },
        { "ActLeftLink", On<TFrmLeftRightLinkPic>(openBoth), true, QSize(60, 20) },
        { "ActManualLink", On<TFrmLeftRightLinkPic>(openBoth), true, QSize(60, 20) },
        { "ActTopLink", On<TFrmTopBottomLinkPic>(openBoth), true, QSize(30, 40) },
        { "ActAutoLeftLink", On<TFrmAutoLeftRightLinkPic>([&](TFrmAutoLeftRightLinkPic *d) {
             d->OpenPicture(0, a);
             d->OpenPicture(1, b);
             drag(d->View(), QPoint(20, 2), QPoint(20, 15));
             QTest::keyClick(d, Qt::Key_Space);
             drag(d->View(), QPoint(32, 2), QPoint(32, 15));
             QTest::keyClick(d, Qt::Key_Space);
             trigger(d, "ActStartMerge");
         }),
            false, QSize(48, 20) },
        { "ActAutoTopLink", On<TFrmAutoTopBottomLinkPic>([&](TFrmAutoTopBottomLinkPic *d) {
             d->OpenPicture(0, a);
             d->OpenPicture(1, b);
             drag(d->View(), QPoint(2, 10), QPoint(25, 10));
             QTest::keyClick(d, Qt::Key_Space);
             drag(d->View(), QPoint(2, 25), QPoint(25, 25));
             QTest::keyClick(d, Qt::Key_Space);
             trigger(d, "ActStartMerge");
         }),
            false, QSize(30, 25) },
    };
    int made = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.action);
        std::vector<TModalScript::Step> steps { c.window };
        if (c.asksPalette)
            steps.push_back(okPalette);
        TModalScript script(steps);
        QAction *command = action(c.action);
        ASSERT_TRUE(command->isEnabled());
        command->trigger();
        EXPECT_TRUE(script.Done()) << script.Unexpected().join(", ").toStdString();
        ASSERT_EQ(form->Children().size(), ++made);
        TMDIChild *child = form->ActiveChild();
        ASSERT_NE(child, nullptr);
        EXPECT_TRUE(child->Caption().endsWith('*'));
        const QImage result = child->PatternGrid().Picture();
        EXPECT_EQ(result.size(), c.size);
        EXPECT_EQ(PictureRows(saveAndReopen(QString::fromLatin1(c.action))), PictureRows(result));
        made = int(form->Children().size());
    }
}

// The split of a 7-column pattern into 3: parts 3 columns wide named after the document,
// part 0 holding columns 0, 3, 6, part 1 columns 1, 4 and index 0, part 2 columns 2, 5, 0.
TEST_F(Joins, NewUserSplitsThePatternIntoParts)
{
    EXPECT_FALSE(action("ActSplitePicture")->isEnabled());
    TMDIChild *source = form->OpenChild(file("seven.bmp",
        MakePicture({ { 10, 11, 12, 13, 14, 15, 16 }, { 20, 21, 22, 23, 24, 25, 26 } }, GreyPalette())));
    ASSERT_NE(source, nullptr);
    TModalScript script({ On<TFrmSplitePicture>([](TFrmSplitePicture *d) {
        auto *count = child<QSpinBox>(d, "RxSpliteNumber");
        EXPECT_EQ(count->maximum(), 7);
        count->stepUp();
        d->accept();
    }) });
    action("ActSplitePicture")->trigger();
    EXPECT_TRUE(script.Done()) << script.Unexpected().join(", ").toStdString();
    const QList<TMDIChild *> children = form->Children();
    ASSERT_EQ(children.size(), 4);
    const std::vector<TRows> expected { { { 10, 13, 16 }, { 20, 23, 26 } }, { { 11, 14, 0 }, { 21, 24, 0 } },
        { { 12, 15, 0 }, { 22, 25, 0 } } };
    for (int part = 0; part < 3; ++part) {
        TMDIChild *c = children[part + 1];
        EXPECT_EQ(c->Caption(), QStringLiteral("%1_X%2").arg(dir.filePath("seven")).arg(part + 1));
        EXPECT_EQ(PictureRows(c->PatternGrid().Picture()), expected[std::size_t(part)]);
        const auto pieces = c->PatternGrid().RepeatDisplayValues();
        EXPECT_EQ(pieces[0], 2);
        EXPECT_EQ(pieces[1], 3);
        EXPECT_EQ(pieces[2], 3);
    }
    form->mdiArea()->setActiveSubWindow(children[2]);
    EXPECT_EQ(PictureRows(saveAndReopen("part2")), expected[1]);
}

// Escape closes each link window as cancelled, also while a guide line is being drawn.
TEST_F(Joins, LinkWindowsCloseOnEscape)
{
    const QString a = file("a.bmp", pattern(20, 20)), b = file("b.bmp", pattern(20, 20, 3));
    std::vector<std::unique_ptr<QDialog>> windows;
    windows.push_back(std::make_unique<TFrmLeftRightLinkPic>(ask, form.get()));
    windows.push_back(std::make_unique<TFrmTopBottomLinkPic>(ask, form.get()));
    auto guided = std::make_unique<TFrmAutoLeftRightLinkPic>(ask, form.get());
    ASSERT_TRUE(guided->OpenPicture(0, a) && guided->OpenPicture(1, b));
    windows.push_back(std::move(guided));
    windows.push_back(std::make_unique<TFrmAutoTopBottomLinkPic>(ask, form.get()));
    for (const auto &w : windows) {
        w->show();
        if (auto *g = qobject_cast<TFrmGuidedLinkPic *>(w.get()); g && g->Lines().HasPictures())
            drag(g->View(), QPoint(2, 2), QPoint(5, 15));
        QTest::keyClick(w.get(), Qt::Key_Escape);
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
        EXPECT_EQ(w->result(), QDialog::Rejected);
    }
}

// Each link window opens wide enough to show every command of its bar, none behind the
// bar's overflow button.
TEST_F(Joins, LinkWindowsShowEveryCommandOfTheirBar)
{
    std::vector<std::unique_ptr<QDialog>> windows;
    windows.push_back(std::make_unique<TFrmLeftRightLinkPic>(ask, form.get()));
    windows.push_back(std::make_unique<TFrmTopBottomLinkPic>(ask, form.get()));
    windows.push_back(std::make_unique<TFrmAutoLeftRightLinkPic>(ask, form.get()));
    windows.push_back(std::make_unique<TFrmAutoTopBottomLinkPic>(ask, form.get()));
    for (const auto &w : windows) {
        SCOPED_TRACE(w->objectName().toStdString());
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        auto *bar = w->findChild<QToolBar *>();
        ASSERT_NE(bar, nullptr);
        ASSERT_EQ(bar->actions().size(), 5);
        for (QAction *a : bar->actions()) {
            QWidget *button = bar->widgetForAction(a);
            ASSERT_NE(button, nullptr) << a->objectName().toStdString();
            EXPECT_TRUE(button->isVisible()) << a->objectName().toStdString();
        }
        w->reject();
    }
}
