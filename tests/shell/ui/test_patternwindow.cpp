// A pattern file named on the command line is shown in a pattern grid in the main window;
// a file that cannot be read shows nothing.
#include "shell/ui/mainwindow.h"
#include "shell/ui/patternwindow.h"

#include "core/picture/bmpfile.h"
#include "editor/ui/patterngridview.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>

TEST(PatternWindow, ShowsAPictureFileInAGridAndNothingForABadFile)
{
    QTemporaryDir dir;
    const QString good = dir.filePath("stripes.bmp");
    ASSERT_TRUE(SaveBmp8File(MakePicture({ { 1, 2, 3 }, { 4, 5, 6 } }), good));
    const QString bad = dir.filePath("bad.bmp");
    ASSERT_TRUE(WriteAll(bad, "BM not a bitmap"));

    TMainForm form;
    form.show();
    QString error;
    EXPECT_FALSE(ShowPatternFile(form, bad, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(form.mdiArea()->subWindowList().isEmpty());

    ASSERT_TRUE(ShowPatternFile(form, good, &error)) << error.toStdString();
    ASSERT_EQ(form.mdiArea()->subWindowList().size(), 1);
    QMdiSubWindow *sub = form.mdiArea()->subWindowList().first();
    EXPECT_EQ(sub->windowTitle(), QStringLiteral("stripes.bmp"));
    auto *view = qobject_cast<TPatternGridView *>(sub->widget());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->Model().ColCount(), 3);
    EXPECT_EQ(view->Model().RowCount(), 2);
    if (qEnvironmentVariableIsSet("DORWEN_SHOT"))
        form.grab().save(qEnvironmentVariable("DORWEN_SHOT"));
}
