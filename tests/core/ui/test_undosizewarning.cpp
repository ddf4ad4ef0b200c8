// The backup-size warning as the user sees it.
#include "core/settings/sharedstate.h"
#include "core/ui/undosizewarning.h"
#include "core/undo/undo.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

TEST(UndoSizeWarningBox, ShowsTheTextWithTheErrorIcon)
{
    StartSettings().MaxBakDataSize = -1; // any amount is too much
    InstallUndoSizeWarningBox();
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        text = box->text();
        title = box->windowTitle();
        icon = box->icon();
        box->accept();
    });
    EXPECT_TRUE(CheckUndoDataSize());
    EXPECT_EQ(text, UndoSizeWarningText());
    EXPECT_EQ(title, UndoSizeWarningCaption());
    EXPECT_EQ(icon, QMessageBox::Critical);
}
