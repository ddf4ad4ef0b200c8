// The settings, about, help, calculator and scan commands of the real main window, used as a
// user would: each opens its window, the settings dialog writes only what was changed and
// nothing on Cancel, and a scan becomes a new unsaved document.
#include "shell/ui/aboutdialog.h"
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/scannerdialog.h"
#include "shell/ui/systemsettingsdialog.h"

#include "../fakequestions.h"
#include "../scannertestbackend.h"
#include "core/settings/inifile.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "core/undo/undo.h"
#include "editor/patterngrid.h"
#include "modalscript.h"
#include "shell/filetypes.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>

namespace {
// Takes the addresses the desktop would have opened.
class TUrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> Urls;
public Q_SLOTS:
    void open(const QUrl &url) { Urls.append(url); }
};

// A private XDG home (settings, data, associations) and PATH for each test.
struct SystemFixture : ::testing::Test {
    QTemporaryDir home;
    QByteArray oldData, oldConfig, oldPath;
    TFakeQuestions ask;
    std::unique_ptr<TMainForm> form;

    void SetUp() override
    {
        oldData = qgetenv("XDG_DATA_HOME");
        oldConfig = qgetenv("XDG_CONFIG_HOME");
        oldPath = qgetenv("PATH");
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath("data")));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath("config")));
        ASSERT_TRUE(InitSharedState());
    }
    void TearDown() override
    {
        if (form)
            for (TMDIChild *c : form->Children())
                c->PatternGrid().ClearModified();
        form.reset();
        qputenv("XDG_DATA_HOME", oldData);
        qputenv("XDG_CONFIG_HOME", oldConfig);
        qputenv("PATH", oldPath);
    }
    void show()
    {
        form = std::make_unique<TMainForm>();
        form->SetQuestions(&ask);
        form->show();
    }
    // Runs the action while the script answers its windows.
    void run(const char *action, std::vector<TModalScript::Step> steps)
    {
        TModalScript script(std::move(steps));
        form->Action(action)->trigger();
        EXPECT_TRUE(script.Done()) << action << " " << script.Unexpected().join(", ").toStdString();
    }
    // Every file under the private home but the settings file, with its bytes.
    QMap<QString, QByteArray> associationFiles() const
    {
        QMap<QString, QByteArray> all;
        QDirIterator it(home.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (!path.endsWith("/Config.Ini"))
                all[path] = ReadAll(path);
        }
        return all;
    }
    static QTreeWidgetItem *row(TFrmSetSystem *d, int i)
    {
        return d->findChild<QTreeWidget *>("ListView")->topLevelItem(i);
    }
    TMDIChild *openDocument()
    {
        TMDIChild *child
            = form->NewChildFromPicture(MakePicture({ { 1, 2, 0 }, { 4, 0, 5 } }, GreyPalette()));
        if (child)
            child->PatternGrid().ClearModified();
        return child;
    }
};
} // namespace

TEST_F(SystemFixture, RegisteringInTheDialogShowsTheRowCheckedNextTime)
{
    show();
    run("ActSetSystem", { On<TFrmSetSystem>([](TFrmSetSystem *d) {
        EXPECT_EQ(d->findChild<QTreeWidget *>("ListView")->topLevelItemCount(), 3);
        EXPECT_EQ(row(d, 2)->text(0), "QS");
        EXPECT_EQ(row(d, 2)->checkState(0), Qt::Unchecked);
        row(d, 2)->setCheckState(0, Qt::Checked);
        QTest::mouseClick(d->findChild<QPushButton *>("BtnOK"), Qt::LeftButton);
    }) });
    EXPECT_TRUE(IsFileTypeRegistered(".QS"));
    EXPECT_FALSE(IsFileTypeRegistered(".EP"));
    EXPECT_TRUE(ask.Messages.isEmpty()) << ask.Messages.join("\n").toStdString();

    // Reopened: the row is checked; Select None and OK take the association back.
    run("ActSetSystem", { On<TFrmSetSystem>([](TFrmSetSystem *d) {
        EXPECT_EQ(row(d, 2)->checkState(0), Qt::Checked);
        EXPECT_EQ(row(d, 0)->checkState(0), Qt::Unchecked);
        QTest::mouseClick(d->findChild<QPushButton *>("BtnSelectNone"), Qt::LeftButton);
        QTest::mouseClick(d->findChild<QPushButton *>("BtnOK"), Qt::LeftButton);
    }) });
    EXPECT_FALSE(IsFileTypeRegistered(".QS"));
}

TEST_F(SystemFixture, OkWritesTheSettingsAndTouchesNoAssociationLeftAlone)
{
    // Another program's default for QS over a type our package still holds: the row shows
    // unchecked, and OK must not take our half of it away unless the user unticks it.
    ASSERT_TRUE(QDir().mkpath(home.filePath("config")));
    ASSERT_TRUE(WriteAll(home.filePath("config/mimeapps.list"),
        "[Default Applications]\napplication/x-dorwen-qs=other.desktop;\n"));
    ASSERT_TRUE(QDir().mkpath(home.filePath("data/mime/packages")));
    ASSERT_TRUE(WriteAll(home.filePath("data/mime/packages/dorwen-cad.xml"),
        "<mime-info><mime-type type=\"application/x-dorwen-qs\"><glob "
        "pattern=\"*.qs\"/></mime-type></mime-info>"));
    show();
    const QMap<QString, QByteArray> before = associationFiles();
    run("ActSetSystem", { On<TFrmSetSystem>([](TFrmSetSystem *d) {
        EXPECT_EQ(row(d, 2)->checkState(0), Qt::Unchecked);
        auto *undo = d->findChild<QSpinBox *>("RdtMaxUndoCount");
        undo->setValue(42);
        QTest::mouseClick(d->findChild<QPushButton *>("BtnOK"), Qt::LeftButton);
    }) });
    EXPECT_EQ(associationFiles(), before);
    EXPECT_EQ(TIniFile(Folders().ConfigIniPath).ReadInteger("Main", "MaxUndoCount", 0), 42);
    EXPECT_EQ(StartSettings().MaxUndoCount, 42);
}

// The boxes hold the settings' bounds, so that no value the program cannot work with (a
// flash period of 0 kept the main window disabled) can be entered; Cancel and Escape write
// nothing at all.
TEST_F(SystemFixture, BoundedBoxesAndCancelWritesNothing)
{
    ASSERT_TRUE(WriteAll(Folders().ConfigIniPath, "; mine\n[Main]\nFlashFrequence=700\nMaxUndoCount=7\n"));
    show();
    const QByteArray stored = ReadAll(Folders().ConfigIniPath);
    const struct {
        const char *box;
        int min, max;
    } bounds[] = { { "RdtMaxUndoCount", 1, 999 }, { "RdtMaxBakUndoDataSize", 1, 1024 * 1024 },
        { "RdtMaxRecentFileNum", 1, 10 }, { "RdtFlashFrequence", 50, 5000 }, { "RdtFlashTime", 1, 60 },
        { "RdtAutoReduceColorNum", 1, 256 } };
    for (const bool escape : { false, true })
        run("ActSetSystem", { On<TFrmSetSystem>([&](TFrmSetSystem *d) {
            EXPECT_EQ(d->findChild<QSpinBox *>("RdtFlashFrequence")->value(), 700);
            EXPECT_EQ(d->findChild<QSpinBox *>("RdtMaxUndoCount")->value(), 7);
            for (const auto &b : bounds) {
                auto *box = d->findChild<QSpinBox *>(b.box);
                ASSERT_NE(box, nullptr) << b.box;
                EXPECT_EQ(box->minimum(), b.min) << b.box;
                EXPECT_EQ(box->maximum(), b.max) << b.box;
                box->setValue(0);
                EXPECT_EQ(box->value(), b.min) << b.box;
            }
            EXPECT_FALSE(d->findChild<QSpinBox *>("RdtAutoReduceColorNum")->isVisible());
            row(d, 1)->setCheckState(0, Qt::Checked);
            if (escape)
                QTest::keyClick(d, Qt::Key_Escape);
            else
                QTest::mouseClick(d->findChild<QPushButton *>("BtnCancel"), Qt::LeftButton);
        }) });
    EXPECT_EQ(ReadAll(Folders().ConfigIniPath), stored);
    EXPECT_FALSE(IsFileTypeRegistered(".JC5"));
}

TEST_F(SystemFixture, ClearingTheBackupEmptiesOnlyTheActiveDocument)
{
    show();
    run("ActSetSystem", { On<TFrmSetSystem>([](TFrmSetSystem *d) {
        EXPECT_FALSE(d->findChild<QPushButton *>("BtnClearUndoData")->isEnabled());
        EXPECT_EQ(d->findChild<QLineEdit *>("EdtCurBakDataSize")->text(), "0.00");
        d->reject();
    }) });

    TMDIChild *first = openDocument();
    TMDIChild *second = openDocument();
    ASSERT_TRUE(first && second);
    for (TMDIChild *child : { first, second }) {
        form->mdiArea()->setActiveSubWindow(child);
        form->Action("ActRotate180")->trigger();
        ASSERT_FALSE(child->PatternGrid().UndoStore().UndoSteps.empty());
    }
    ASSERT_EQ(form->ActiveChild(), second);
    ASSERT_TRUE(form->Action("ActUndo")->isEnabled());
    run("ActSetSystem",
        { On<TFrmSetSystem>([](TFrmSetSystem *d) {
             EXPECT_EQ(d->findChild<QLineEdit *>("EdtCurBakDataSize")->text(),
                 QString::number(UndoDataSizeMB(), 'f', 2));
             QTest::mouseClick(d->findChild<QPushButton *>("BtnClearUndoData"), Qt::LeftButton);
         }),
            On<QMessageBox>([](QMessageBox *box) {
                EXPECT_EQ(box->text(), GetUiMessage(UiKey::String::ClearBackupQuestion));
                box->button(QMessageBox::Yes)->click();
            }),
            On<TFrmSetSystem>([](TFrmSetSystem *d) {
                EXPECT_EQ(d->findChild<QLineEdit *>("EdtCurBakDataSize")->text(),
                    QString::number(UndoDataSizeMB(), 'f', 2));
                d->reject();
            }) });
    EXPECT_TRUE(second->PatternGrid().UndoStore().UndoSteps.empty());
    EXPECT_FALSE(first->PatternGrid().UndoStore().UndoSteps.empty());
    EXPECT_FALSE(form->Action("ActUndo")->isEnabled()) << "the main window heard of the empty store";

    // No keeps the steps.
    form->mdiArea()->setActiveSubWindow(first);
    run("ActSetSystem",
        { On<TFrmSetSystem>([](TFrmSetSystem *d) {
             QTest::mouseClick(d->findChild<QPushButton *>("BtnClearUndoData"), Qt::LeftButton);
         }),
            On<QMessageBox>([](QMessageBox *box) { box->button(QMessageBox::No)->click(); }),
            On<TFrmSetSystem>([](TFrmSetSystem *d) { d->reject(); }) });
    EXPECT_FALSE(first->PatternGrid().UndoStore().UndoSteps.empty());
}

TEST_F(SystemFixture, AboutHelpAndCalculator)
{
    QTemporaryDir bin;
    qputenv("PATH", QFile::encodeName(bin.path()));
    show();
    EXPECT_FALSE(form->Action("ActCalc")->isEnabled()) << "no calculator on the PATH";

    run("ActAbout", { On<TFrmAbout>([](TFrmAbout *d) {
        EXPECT_TRUE(d->windowTitle().contains("Dorwen CAD " + TFrmAbout::Version()));
        EXPECT_FALSE(d->findChild<QLabel *>("ImgLogo")->pixmap().isNull());
        EXPECT_EQ(d->CurrentPage(), 0);
        QTest::keyClick(d, Qt::Key_Home, Qt::ControlModifier | Qt::AltModifier);
        EXPECT_EQ(d->CurrentPage(), 1);
        QTest::keyClick(d, Qt::Key_Home, Qt::ControlModifier | Qt::AltModifier);
        EXPECT_EQ(d->CurrentPage(), 0);
        TUrlCatcher web;
        QDesktopServices::setUrlHandler("https", &web, "open");
        d->findChild<QPushButton *>("PnlWeb")->click();
        QDesktopServices::unsetUrlHandler("https");
        EXPECT_EQ(web.Urls, QList<QUrl> { QUrl(TFrmAbout::HomePageUrl()) });
        QTest::keyClick(d, Qt::Key_Escape);
    }) });
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form->findChild<TFrmAbout *>(), nullptr) << "freed when closed";

    TUrlCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "open");
    form->Action("ActHelp")->trigger();
    QDesktopServices::unsetUrlHandler("file");
    ASSERT_EQ(catcher.Urls.size(), 1);
    EXPECT_TRUE(catcher.Urls[0].toLocalFile().endsWith("/Help/index.html"));

    // F1 in the settings dialog opens the guide at its section.
    QDesktopServices::setUrlHandler("file", &catcher, "open");
    run("ActSetSystem", { On<TFrmSetSystem>([](TFrmSetSystem *d) {
        QTest::keyClick(d, Qt::Key_F1);
        d->reject();
    }) });
    QDesktopServices::unsetUrlHandler("file");
    ASSERT_EQ(catcher.Urls.size(), 2);
    EXPECT_EQ(catcher.Urls[1].fragment(), "1");

    // A calculator on the PATH is offered the next time the File menu opens, and started.
    const QString calc = bin.filePath("galculator");
    ASSERT_TRUE(WriteAll(calc, "#!/bin/sh\nexit 0\n"));
    QFile::setPermissions(calc, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    Q_EMIT form->FileMenu()->aboutToShow();
    ASSERT_TRUE(form->Action("ActCalc")->isEnabled());
    form->Action("ActCalc")->trigger();
    EXPECT_TRUE(ask.Messages.isEmpty()) << ask.Messages.join("\n").toStdString();
}

TEST_F(SystemFixture, ScanningOpensAnUnsavedDocument)
{
    TScannerTestBackend backend;
    backend.SetOptions("mode Color\ndepth 8\n");
    show();
    const QString scanFile = Folders().ScanImgPath + ".bmp";
    run("ActScan", { On<TFrmSelectScanner>([](TFrmSelectScanner *d) {
        EXPECT_EQ(d->findChild<QListWidget *>("LstDevices")->count(), 1);
        d->accept();
    }) });
    ASSERT_EQ(form->Children().size(), 1) << ask.Messages.join("\n").toStdString();
    TMDIChild *child = form->Children().front();
    EXPECT_EQ(child->PatternGrid().Picture().size(), QSize(100, 80));
    EXPECT_TRUE(child->Document().Modified());
    EXPECT_EQ(child->Caption(), GetUiMessage(UiKey::String::UnilitedName) + "1*");
    EXPECT_FALSE(QFile::exists(scanFile));

    // No device chosen: nothing happens.
    run("ActScan", { On<TFrmSelectScanner>([](TFrmSelectScanner *d) { d->reject(); }) });
    EXPECT_EQ(form->Children().size(), 1);

    // Cancel while the picture comes: nothing opens, no file is left.
    backend.SetOptions("mode Color\ndepth 8\nread-limit true\nread-limit-size 64\nread-delay true\n"
                       "read-delay-duration 2000\n");
    run("ActScan",
        { On<TFrmSelectScanner>([](TFrmSelectScanner *d) { d->accept(); }),
            On<QProgressDialog>([](QProgressDialog *p) { p->cancel(); }) });
    EXPECT_EQ(form->Children().size(), 1);
    EXPECT_FALSE(QFile::exists(scanFile));

    // A failed scan is reported and opens nothing.
    backend.SetOptions("read-status-code \"SANE_STATUS_IO_ERROR\"\n");
    run("ActScan", { On<TFrmSelectScanner>([](TFrmSelectScanner *d) { d->accept(); }) });
    EXPECT_EQ(form->Children().size(), 1);
    ASSERT_EQ(ask.Messages.size(), 1);
    EXPECT_FALSE(QFile::exists(scanFile));

    // Without a scanner the user is told so.
    backend.SetDevices("# none\n");
    ask.Messages.clear();
    form->Action("ActScan")->trigger();
    EXPECT_EQ(ask.Messages, QStringList { GetUiMessage(UiKey::String::ScanNoScanner) });
}

#include "test_mainwindowsystem.moc"
