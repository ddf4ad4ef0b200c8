// The text tool as a new user meets it in the main window: chosen from the tool bar, a click
// on the pattern opens the text dialog, the text typed floats over the pattern, the move
// tool moves and stretches it, a second click opens the dialog on it, it is copied into a
// second document, saved (stamped into the pattern, and in the file) and undone.
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"

#include "core/picture/bmpfile.h"
#include "core/settings/sharedstate.h"
#include "editor/insertword.h"
#include "editor/ui/insertworddialog.h"
#include "editor/ui/patterngridview.h"
#include "editor/ui/selectedcolorwindow.h"
#include "mainwindowfixture.h"
#include "modalscript.h"
#include "shell/pictureformats.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QInputMethodEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {

struct TextWindowFixture : TMainWindowFixture {
    QString second;
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartFreshSettings());
        StartSettings().MaxUndoCount = 20;
        RunState().CurrentToolId = TToolId::Move;
        RegisterPictureFormats();
        QImage blank = NewPicture(120, 60, GreyPalette());
        blank.fill(0);
        ASSERT_TRUE(SavePicture("second.bmp", blank));
        second = picture;
        ASSERT_TRUE(SavePicture("blank.bmp", blank));
        ShowMainWindow(QSize(1000, 760));
    }
    // The text dialog answered: text typed into its text box (when not empty), the memo's
    // first line seen kept in seen, then OK.
    static TModalScript::Step typeText(const QString &text, QString *seen = nullptr)
    {
        return On<TFrmInsertWord>([text, seen](TFrmInsertWord *d) {
            auto *memo = d->findChild<QPlainTextEdit *>(QStringLiteral("MemoText"));
            ASSERT_NE(memo, nullptr);
            if (seen)
                *seen = memo->toPlainText();
            if (!text.isEmpty()) {
                // Latin letters from the keys, Chinese through the input method, as typed.
                memo->clear();
                for (const QString &part : splitByScript(text)) {
                    if (part.at(0).unicode() < 0x80) {
                        QTest::keyClicks(memo, part);
                    } else {
                        QInputMethodEvent commit;
                        commit.setCommitString(part);
                        QApplication::sendEvent(memo, &commit);
                    }
                }
            }
            d->findChild<QPushButton *>(QStringLiteral("BtnOk"))->click();
        });
    }
    // Runs of ASCII and of other characters.
    static QStringList splitByScript(const QString &text)
    {
        QStringList parts;
        for (const QChar c : text) {
            const bool ascii = c.unicode() < 0x80;
            if (parts.isEmpty() || (parts.last().at(0).unicode() < 0x80) != ascii)
                parts << QString(c);
            else
                parts.last() += c;
        }
        return parts;
    }
    static void drag(QWidget *surface, QPoint from, QPoint to)
    {
        QTest::mousePress(surface, Qt::LeftButton, {}, from);
        QTest::mouseMove(surface, (from + to) / 2);
        QTest::mouseMove(surface, to);
        QTest::mouseRelease(surface, Qt::LeftButton, {}, to);
    }
    static int cellsOf(const QImage &p, int index)
    {
        int n = 0;
        for (int y = 0; y < p.height(); ++y)
            for (int x = 0; x < p.width(); ++x)
                n += p.constScanLine(y)[x] == index;
        return n;
    }
};

} // namespace

TEST_F(TextWindowFixture, UserWritesMovesStretchesEditsCopiesSavesAndUndoesAText)
{
    TMDIChild *child = form->OpenChild(picture);
    ASSERT_NE(child, nullptr);
    child->showMaximized();
    TPatternGrid &grid = child->PatternGrid();
    grid.SetForeColorIndex(9);
    QWidget *surface = child->GridView()->viewport();

    // The text tool from the tool bar; a click opens the dialog, where the text is typed.
    action("ActInsertWord")->trigger();
    EXPECT_EQ(grid.ToolId(), TToolId::InsertWord);
    {
        TModalScript script({ typeText(QStringLiteral("AB 花样")) });
        QTest::mouseClick(surface, Qt::LeftButton, {}, at(child, 4, 3));
        EXPECT_TRUE(script.Done()) << script.Unexpected().join(' ').toStdString();
    }
    ASSERT_TRUE(grid.HasFloatingText());
    TInsertWord &text = *grid.FloatingText();
    EXPECT_EQ(text.Text(), QStringLiteral("AB 花样"));
    EXPECT_EQ(text.Position(), (TPoint { 4, 3 }));
    EXPECT_EQ(grid.ToolId(), TToolId::Move);
    EXPECT_TRUE(action("ActMove")->isChecked());
    EXPECT_EQ(cellsOf(grid.Picture(), 9), 0);

    // Moved with the move tool by its inside.
    const TRect frame = text.Frame();
    const TPoint inside { frame.Left + 4, frame.Top + 4 };
    drag(surface, at(child, inside.X, inside.Y), at(child, inside.X + 6, inside.Y + 2));
    EXPECT_EQ(text.Position(), (TPoint { 10, 5 }));
    // Stretched by its right-middle handle: the characters widen.
    const int charWidth = text.CharWidth();
    const TPoint right = text.RotatedHandles()[3];
    drag(surface, at(child, right.X, right.Y), at(child, right.X + 20, right.Y));
    EXPECT_GT(text.CharWidth(), charWidth);

    // A click of the text tool on it opens the dialog on it.
    action("ActInsertWord")->trigger();
    QString seen;
    {
        TModalScript script({ typeText(QString(), &seen) });
        QTest::mouseClick(surface, Qt::LeftButton, {}, at(child, text.Centre().X, text.Centre().Y));
        EXPECT_TRUE(script.Done()) << script.Unexpected().join(' ').toStdString();
    }
    EXPECT_EQ(seen, QStringLiteral("AB 花样"));
    EXPECT_EQ(grid.FloatingText(), &text);
    EXPECT_EQ(grid.UndoStore().UndoTexts.size(), 1u);

    // Copied into a second document: Edit > Copy, then copy all.
    action("ActCopy")->trigger();
    auto *colors = form->findChild<TFrmSelectedColor *>();
    ASSERT_NE(colors, nullptr);
    QTest::mouseClick(colors->findChild<QPushButton *>(QStringLiteral("BtnCopyAll")), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(grid.HasFloatingText()) << "copied, not stamped";
    EXPECT_EQ(cellsOf(grid.Picture(), 9), 0);
    TMDIChild *other = form->OpenChild(second);
    ASSERT_NE(other, nullptr);
    ASSERT_EQ(form->ActiveChild(), other);
    action("ActPaste")->trigger();
    ASSERT_TRUE(other->PatternGrid().HasFloatingText());
    EXPECT_EQ(other->PatternGrid().FloatingText()->Text(), QStringLiteral("AB 花样"));
    other->PatternGrid().ClearModified();

    // Saved: the text is stamped into the pattern and the file.
    form->mdiArea()->setActiveSubWindow(child);
    ASSERT_EQ(form->ActiveChild(), child);
    const TRect box = text.TextBox();
    action("ActFileSave")->trigger();
    EXPECT_FALSE(grid.HasFloatingText());
    const int stamped = cellsOf(grid.Picture(), 9);
    EXPECT_GT(stamped, 40);
    QImage saved;
    ASSERT_TRUE(LoadBmp8File(picture, saved));
    EXPECT_EQ(cellsOf(saved, 9), stamped);
    for (int y = 0; y < saved.height(); ++y)
        for (int x = 0; x < saved.width(); ++x)
            if (saved.constScanLine(y)[x] == 9) {
                ASSERT_TRUE(x >= box.Left && x <= box.Right && y >= box.Top && y <= box.Bottom);
            }

    // One undo takes the stamp back: the text floats again.
    action("ActUndo")->trigger();
    EXPECT_EQ(cellsOf(grid.Picture(), 9), 0);
    EXPECT_TRUE(grid.HasFloatingText());
}
