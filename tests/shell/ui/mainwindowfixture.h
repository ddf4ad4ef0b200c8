#pragma once
// A real main window for the window tests: fake questions answer it, the test's picture lies
// in a temporary folder, and its documents close without asking when the test ends.

#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"

#include "../fakequestions.h"
#include "core/picture/bmpfile.h"
#include "core/settings/sharedstate.h"
#include "shell/pictureformats.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QTemporaryDir>

#include <memory>

struct TMainWindowFixture : ::testing::Test {
    QTemporaryDir dir;
    TFakeQuestions ask;
    std::unique_ptr<TMainForm> form;
    QString picture;

    // The shared state started afresh, without the settings file an earlier test left.
    static void StartFreshSettings()
    {
        QString error;
        ASSERT_TRUE(InitSharedState(QString(), &error)) << error.toStdString();
        QFile::remove(Folders().ConfigIniPath);
    }
    // Writes the test's picture as an 8-bit bitmap named name in dir.
    bool SavePicture(const QString &name, const QImage &image)
    {
        picture = dir.filePath(name);
        return SaveBmp8File(image, picture);
    }
    // Shows the main window answered by ask; a valid size is set before it shows.
    void ShowMainWindow(QSize size = QSize())
    {
        form = std::make_unique<TMainForm>();
        form->SetQuestions(&ask);
        if (size.isValid())
            form->resize(size);
        form->show();
    }
    void TearDown() override
    {
        // Nothing may ask while the window goes.
        if (form)
            for (TMDIChild *c : form->Children())
                c->PatternGrid().ClearModified();
        form.reset();
        UnregisterPictureFormats();
    }
    QAction *action(const char *name) const { return form->Action(name); }
    // The centre of a cell in the grid window's viewport.
    static QPoint at(TMDIChild *child, int col, int row)
    {
        const TRect r = child->PatternGrid().Grid().CellRect(col, row);
        return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
};
