#include "core/settings/sharedstate.h"
#include "shell/ui/mainwindow.h"

#include <QMdiArea>

#include <gtest/gtest.h>

TEST(MainForm, FrameWithDocumentAreaBecomesTheNotificationTarget)
{
    {
        TMainForm form;
        form.show();
        EXPECT_EQ(form.objectName(), QStringLiteral("TMainForm"));
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Dorwen CAD"));
        ASSERT_NE(form.mdiArea(), nullptr);
        EXPECT_EQ(form.centralWidget(), form.mdiArea());
        EXPECT_EQ(Hooks().MainFormHandle, &form);
    }
    EXPECT_EQ(Hooks().MainFormHandle, nullptr) << "no notification goes to a closed main window";
}
