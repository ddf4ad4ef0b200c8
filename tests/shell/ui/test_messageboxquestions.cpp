// The message boxes of a document's questions open over the window the person works in:
// the main window, a modal dialog being answered, or a tool window in front.
#include "shell/ui/messageboxquestions.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace {

// Shows a message through the questions and closes the box it opens: the box's parent.
QWidget *ownerOfNextMessage(TMessageBoxQuestions &questions)
{
    QPointer<QWidget> owner;
    bool seen = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || seen)
            return;
        seen = true;
        owner = box->parentWidget();
        box->accept();
    });
    poll.start(10);
    questions.ShowMessage(QStringLiteral("Text"), QStringLiteral("Caption"), TMessageKind::Error);
    EXPECT_TRUE(seen);
    return owner;
}

} // namespace

TEST(MessageBoxQuestions, MessageOpensOverTheWindowInUse)
{
    QWidget main;
    main.resize(400, 300);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    TMessageBoxQuestions questions(&main);

    QApplication::setActiveWindow(&main);
    EXPECT_EQ(ownerOfNextMessage(questions), &main) << "nothing else open";

    // A tool window of the main window in front.
    QWidget tool(&main, Qt::Tool);
    tool.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tool));
    QApplication::setActiveWindow(&tool);
    EXPECT_EQ(ownerOfNextMessage(questions), &tool);

    // A window that is not the main window's stays out of it.
    QWidget stranger;
    stranger.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&stranger));
    QApplication::setActiveWindow(&stranger);
    EXPECT_EQ(ownerOfNextMessage(questions), &main);
    stranger.hide();
    tool.hide();

    // A modal dialog of the main window being answered: the message goes over it.
    QDialog dialog(&main);
    QWidget *owner = nullptr;
    QTimer::singleShot(0, &dialog, [&] {
        owner = ownerOfNextMessage(questions);
        dialog.reject();
    });
    dialog.exec();
    EXPECT_EQ(owner, &dialog);
}
