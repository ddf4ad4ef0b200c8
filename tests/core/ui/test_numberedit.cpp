#include "core/ui/numberedit.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDropEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QTest>

#include <gtest/gtest.h>

namespace {
void loseFocus(TNumricEdit &edit)
{
    QFocusEvent event(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(&edit, &event);
}
} // namespace

TEST(NumricEdit, KeyFilterTable)
{
    struct Case {
        const char *name;
        TNumStyle style;
        int minValue, dotLength, maxLength;
        const char *text;
        int cursor; // caret position; -1 selects the whole text
        char typed;
        bool accepted;
    } cases[] = {
        { "digit", TNumStyle::nsInt, 0, 2, 0, "12", 2, '3', true },
        { "letter", TNumStyle::nsInt, 0, 2, 0, "12", 2, 'a', false },
        { "blank", TNumStyle::nsInt, 0, 2, 0, "12", 2, ' ', false },
        { "backspace", TNumStyle::nsInt, 0, 2, 3, "123", 3, '\b', true },
        { "fourth digit over MaxLength 3", TNumStyle::nsInt, 0, 2, 3, "123", 3, '4', false },
        { "digit over selection at MaxLength", TNumStyle::nsInt, 0, 2, 3, "123", -1, '4', true },
        { "dot in float", TNumStyle::nsFloat, 0, 2, 0, "1", 1, '.', true },
        { "dot into empty", TNumStyle::nsFloat, 0, 2, 0, "", 0, '.', false },
        { "second dot", TNumStyle::nsFloat, 0, 2, 0, "1.2", 3, '.', false },
        { "dot in int", TNumStyle::nsInt, 0, 2, 0, "1", 1, '.', false },
        { "third decimal", TNumStyle::nsFloat, 0, 2, 0, "1.25", 4, '9', false },
        { "second decimal", TNumStyle::nsFloat, 0, 2, 0, "1.2", 3, '9', true },
        { "digit before the dot", TNumStyle::nsFloat, 0, 2, 0, "1.25", 0, '9', true },
        { "DotLength 0", TNumStyle::nsFloat, 0, 0, 0, "1.", 2, '5', false },
        { "colon in scale", TNumStyle::nsScale, 0, 2, 0, "1", 1, ':', true },
        { "colon at first position", TNumStyle::nsScale, 0, 2, 0, "1", 0, ':', false },
        { "colon after colon", TNumStyle::nsScale, 0, 2, 0, "1:", 2, ':', false },
        { "colon in int", TNumStyle::nsInt, 0, 2, 0, "1", 1, ':', false },
        { "minus with negative MinValue", TNumStyle::nsInt, -5, 2, 0, "3", 0, '-', true },
        { "minus without negative MinValue", TNumStyle::nsInt, 0, 2, 0, "3", 0, '-', false },
        { "minus not at start", TNumStyle::nsInt, -5, 2, 0, "3", 1, '-', false },
        { "second minus", TNumStyle::nsInt, -5, 2, 0, "-3", 0, '-', false },
        { "minus over whole selection", TNumStyle::nsInt, -5, 2, 0, "3", -1, '-', true },
    };
    for (const Case &c : cases) {
        TNumricEdit edit;
        edit.SetNumStyle(c.style);
        edit.SetMinValue(c.minValue);
        edit.SetDotLength(c.dotLength);
        if (c.maxLength)
            edit.setMaxLength(c.maxLength);
        edit.setText(c.text);
        if (c.cursor < 0)
            edit.selectAll();
        else
            edit.setCursorPosition(c.cursor);
        EXPECT_EQ(edit.AcceptsChar(QChar(c.typed)), c.accepted) << c.name;
    }
}

TEST(NumricEdit, TypingThroughKeyEvents)
{
    TNumricEdit edit;
    edit.setMaxLength(3);
    QTest::keyClicks(&edit, "12a34");
    EXPECT_EQ(edit.text(), "123");
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), "12");

    TNumricEdit scale;
    scale.SetNumStyle(TNumStyle::nsScale);
    QTest::keyClicks(&scale, "1:2");
    EXPECT_EQ(scale.text(), "1:2") << "a scale can be typed";
    scale.setText("3:");
    loseFocus(scale);
    EXPECT_EQ(scale.text(), "3") << "one trailing colon goes on focus loss";
}

TEST(NumricEdit, ClampAtKeyReleaseAndLimits)
{
    TNumricEdit box;
    box.SetMinValue(10);
    box.SetMaxValue(100);
    QTest::keyClick(&box, '5');
    EXPECT_EQ(box.text(), "10") << "clamped at key release";

    // A positive MinValue with MaxValue 0: no upper limit (MinValue..0 would hold nothing).
    TNumricEdit minOnly;
    minOnly.SetMinValue(10);
    minOnly.setText("250");
    loseFocus(minOnly);
    EXPECT_EQ(minOnly.text(), "250");
    minOnly.setText("3");
    loseFocus(minOnly);
    EXPECT_EQ(minOnly.text(), "10");

    TNumricEdit maxOnly;
    maxOnly.SetMaxValue(100);
    maxOnly.setText("250");
    loseFocus(maxOnly);
    EXPECT_EQ(maxOnly.text(), "100");
    maxOnly.setText("-4");
    loseFocus(maxOnly);
    EXPECT_EQ(maxOnly.text(), "0") << "MinValue 0 is the lower limit of a box with an upper one";

    TNumricEdit floatBox;
    floatBox.SetNumStyle(TNumStyle::nsFloat);
    floatBox.SetMaxValue(5);
    floatBox.setText("5.5");
    loseFocus(floatBox);
    EXPECT_EQ(floatBox.text(), "5");
}

TEST(NumricEdit, NegativeMinimumWithZeroMaximumIsARangeUpToZero)
{
    TNumricEdit box;
    box.SetMinValue(-10);
    box.SetMaxValue(0);
    QTest::keyClick(&box, '5');
    EXPECT_EQ(box.text(), "0") << "5 is above the range -10..0";
    box.setText("-3");
    loseFocus(box);
    EXPECT_EQ(box.text(), "-3");
    box.setText("-20");
    loseFocus(box);
    EXPECT_EQ(box.text(), "-10");
    box.SetIntValue(7);
    EXPECT_EQ(box.text(), "0") << "SetIntValue holds the upper limit 0";
    box.setText("");
    QTest::keyClick(&box, '-');
    QTest::keyClick(&box, '4');
    EXPECT_EQ(box.GetIntValue(), -4);

    // Both limits 0: no limits at all.
    TNumricEdit open;
    open.setText("-8");
    loseFocus(open);
    EXPECT_EQ(open.text(), "-8");
    open.SetIntValue(123456);
    EXPECT_EQ(open.text(), "123456");
}

TEST(NumricEdit, PastedAndInsertedTextMeetsTheKeyFilter)
{
    struct Case {
        const char *name;
        TNumStyle style;
        int minValue, maxLength;
        const char *text;
        int cursor; // caret position; -1 selects the whole text
        const char *pasted;
        const char *expected;
    } cases[] = {
        { "letters refused", TNumStyle::nsInt, 0, 0, "12", 2, "abc", "12" },
        { "only the digits go in", TNumStyle::nsInt, 0, 0, "12", 2, "3a 4", "1234" },
        { "digits in the middle", TNumStyle::nsInt, 0, 0, "19", 1, "2x3", "1239" },
        { "minus only at the start", TNumStyle::nsInt, -100, 0, "5", 0, "-7-", "-75" },
        { "no minus without a negative MinValue", TNumStyle::nsInt, 0, 0, "5", 0, "-7", "75" },
        { "second dot refused", TNumStyle::nsFloat, 0, 0, "1", 1, ".5.2", "1.52" },
        { "decimals beyond DotLength refused", TNumStyle::nsFloat, 0, 0, "1.2", 3, "345", "1.23" },
        { "colon only in a scale", TNumStyle::nsInt, 0, 0, "1", 1, ":2", "12" },
        { "scale", TNumStyle::nsScale, 0, 0, "", 0, ":1::2", "1:2" },
        { "over a selection", TNumStyle::nsInt, 0, 0, "999", -1, "4x2", "42" },
        { "nothing accepted keeps the selection", TNumStyle::nsInt, 0, 0, "999", -1, "xyz", "999" },
        { "MaxLength", TNumStyle::nsInt, 0, 3, "12", 2, "345", "123" },
        { "control characters", TNumStyle::nsInt, 0, 0, "1", 1, "2\b\t3\n", "123" },
        { "full-width digit", TNumStyle::nsInt, 0, 0, "1", 1,
            "\xEF\xBC\x92"
            "2",
            "12" },
    };
    enum class Path { Shortcut, ContextMenu, Insert };
    for (const Path path : { Path::Shortcut, Path::ContextMenu, Path::Insert }) {
        for (const Case &c : cases) {
            SCOPED_TRACE(testing::Message() << c.name << " (path " << int(path) << ")");
            TNumricEdit edit;
            edit.SetNumStyle(c.style);
            edit.SetMinValue(c.minValue);
            if (c.maxLength)
                edit.setMaxLength(c.maxLength);
            edit.setText(c.text);
            if (c.cursor < 0)
                edit.selectAll();
            else
                edit.setCursorPosition(c.cursor);
            const QString pasted = QString::fromUtf8(c.pasted);
            QGuiApplication::clipboard()->setText(pasted);
            switch (path) {
            case Path::Shortcut:
                QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
                break;
            case Path::ContextMenu: {
                QContextMenuEvent event(
                    QContextMenuEvent::Mouse, QPoint(2, 2), edit.mapToGlobal(QPoint(2, 2)));
                QCoreApplication::sendEvent(&edit, &event);
                QMenu *menu = edit.findChild<QMenu *>();
                ASSERT_NE(menu, nullptr);
                QAction *paste = nullptr;
                for (QAction *action : menu->actions())
                    if (action->text().startsWith("&Paste"))
                        paste = action;
                ASSERT_NE(paste, nullptr);
                paste->trigger();
                delete menu;
                break;
            }
            case Path::Insert:
                edit.insert(pasted);
                break;
            }
            EXPECT_EQ(edit.text(), c.expected);
        }
    }

    // The reported case: pasted letters never reach the value.
    TNumricEdit edit;
    edit.SetNumForEmpty(-1);
    edit.setText("12");
    edit.setCursorPosition(2);
    QGuiApplication::clipboard()->setText("abc");
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.GetIntValue(), 12);
}

TEST(NumricEdit, DroppedTextMeetsTheKeyFilterAtTheDropPoint)
{
    TNumricEdit edit;
    edit.resize(200, 30);
    edit.SetMinValue(-10);
    edit.setText("5");
    const auto drop = [&](const QString &text, int x) {
        QMimeData mime;
        mime.setText(text);
        // A drop reaches only a widget that accepted the drag's entry.
        QDragEnterEvent enter(QPoint(x, 15), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&edit, &enter);
        QDropEvent event(QPointF(x, 15), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&edit, &event);
        return event.isAccepted();
    };
    EXPECT_FALSE(drop("-", 195)) << "a minus after the digits";
    EXPECT_EQ(edit.text(), "5");
    EXPECT_FALSE(drop("abc", 195));
    EXPECT_EQ(edit.text(), "5");
    EXPECT_TRUE(drop("-x", 0));
    EXPECT_EQ(edit.text(), "-5");
    EXPECT_TRUE(drop("a1-", 195));
    EXPECT_EQ(edit.text(), "-10") << "-51 validated to the lower limit";
}

TEST(NumricEdit, TypedTextUnderAltOrOfSeveralCharactersMeetsTheFilter)
{
    TNumricEdit edit;
    edit.setText("1");
    edit.setCursorPosition(1);
    QKeyEvent alt(QEvent::KeyPress, Qt::Key_A, Qt::AltModifier, "a");
    QCoreApplication::sendEvent(&edit, &alt);
    EXPECT_EQ(edit.text(), "1");
    QKeyEvent several(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, "2b3");
    QCoreApplication::sendEvent(&edit, &several);
    EXPECT_EQ(edit.text(), "123");
    QKeyEvent format(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(QChar(0x200D)));
    QCoreApplication::sendEvent(&edit, &format);
    EXPECT_EQ(edit.text(), "123") << "a zero-width joiner";
}

TEST(NumricEdit, NumForEmptyAndUnconvertibleText)
{
    TNumricEdit edit;
    edit.SetNumForEmpty(7);
    edit.setText("42");
    edit.selectAll();
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), "7") << "an emptied box shows NumForEmpty after the key release";

    // A lone minus is being typed: it stays until the focus leaves, and never raises.
    TNumricEdit signedBox;
    signedBox.SetMinValue(-10);
    signedBox.SetMaxValue(10);
    signedBox.SetNumForEmpty(1);
    QTest::keyClick(&signedBox, '-');
    EXPECT_EQ(signedBox.text(), "-");
    QTest::keyClick(&signedBox, '5');
    EXPECT_EQ(signedBox.text(), "-5");
    EXPECT_EQ(signedBox.GetIntValue(), -5);
    signedBox.setText("-");
    EXPECT_EQ(signedBox.GetIntValue(), 1) << "a lone minus counts as empty";
    EXPECT_EQ(signedBox.text(), "1");

    TNumricEdit scale;
    scale.SetNumStyle(TNumStyle::nsScale);
    scale.SetMaxValue(100);
    scale.SetNumForEmpty(2);
    scale.setText("1:2");
    loseFocus(scale);
    EXPECT_EQ(scale.text(), "2") << "a scale in a box with limits counts as empty";

    int v = 0;
    scale.setText("x");
    EXPECT_FALSE(scale.GetTextAsInt(v));
    EXPECT_EQ(v, 2);
    scale.setText("0x10");
    EXPECT_TRUE(scale.GetTextAsInt(v));
    EXPECT_EQ(v, 16);
}

TEST(NumricEdit, ArrowKeysAndSetters)
{
    TNumricEdit f;
    f.SetNumStyle(TNumStyle::nsFloat);
    f.setText("1.5");
    QTest::keyClick(&f, Qt::Key_Up);
    EXPECT_EQ(f.text(), "2.50");
    f.SetDotLength(1);
    QTest::keyClick(&f, Qt::Key_Down);
    EXPECT_EQ(f.text(), "1.5");
    f.setText("");
    EXPECT_DOUBLE_EQ(f.GetFloatValue(), 0.0);
    f.SetNumForEmpty(7);
    f.setText("-");
    EXPECT_DOUBLE_EQ(f.GetFloatValue(), 0.0) << "text that does not convert counts as empty";

    TNumricEdit i;
    i.SetMaxValue(10);
    i.setText("10");
    QTest::keyClick(&i, Qt::Key_Up);
    EXPECT_EQ(i.text(), "10");
    QTest::keyClick(&i, Qt::Key_Down);
    EXPECT_EQ(i.text(), "9");
    i.SetIntValue(50);
    EXPECT_EQ(i.text(), "10") << "SetIntValue holds the upper limit";
    i.SetMaxValue(0);
    i.SetMinValue(5);
    i.SetIntValue(50);
    EXPECT_EQ(i.text(), "50") << "with only a lower limit, nothing is held";
    i.SetMinValue(0);
    i.setText("2147483647");
    QTest::keyClick(&i, Qt::Key_Up);
    EXPECT_EQ(i.text(), "2147483647");

    TNumricEdit s;
    s.SetNumStyle(TNumStyle::nsScale);
    s.setText("1:2");
    QTest::keyClick(&s, Qt::Key_Up);
    EXPECT_EQ(s.text(), "1:2");
    struct {
        double value;
        const char *shown;
    } rounding[] = { { 2.5, "2" }, { 3.5, "4" }, { -2.5, "-2" }, { 7.49, "7" } };
    for (const auto &r : rounding) {
        s.SetFloatValue(r.value);
        EXPECT_EQ(s.text(), r.shown) << r.value;
    }
}

TEST(NumricEdit, ExitAfterEveryValidationWithoutRecursion)
{
    TNumricEdit edit;
    int exits = 0, value = -1;
    QObject::connect(&edit, &TNumricEdit::Exit, [&] {
        ++exits;
        value = edit.GetIntValue(); // validates again inside the handler
    });
    QTest::keyClick(&edit, '4');
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(value, 4);
    loseFocus(edit);
    EXPECT_EQ(exits, 2);
}

TEST(NumricEdit, InputMethodTextMeetsTheKeyFilter)
{
    TNumricEdit edit;
    EXPECT_FALSE(edit.testAttribute(Qt::WA_InputMethodEnabled));
    edit.setText("1");
    edit.setCursorPosition(1);
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("\xEF\xBC\x92"
                                             "2a-3")); // a full-width two first
    QCoreApplication::sendEvent(&edit, &commit);
    EXPECT_EQ(edit.text(), "123");

    TNumricEdit limited;
    limited.SetMinValue(10);
    limited.SetMaxValue(100);
    QInputMethodEvent five;
    five.setCommitString("5");
    QCoreApplication::sendEvent(&limited, &five);
    EXPECT_EQ(limited.text(), "10") << "validated as after a key release";
}
