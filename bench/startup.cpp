// Starting the program: from process start to the main window shown, and opening a
// large pattern, as a picture and as a project, into a document window (3,000 x 20,000
// cells).
#include "benchsetup.h"
#include "core/picture/bmpfile.h"
#include "core/settings/sharedstate.h"
#include "ratioreport.h"
#include "shell/pictureformats.h"
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

namespace {
QTemporaryDir &home()
{
    static QTemporaryDir d;
    return d;
}

// The program as a user starts it, on the offscreen platform, in a home of its own; it
// quits as soon as its window is shown. With the argument 1 the GraphicsMagick module is
// loaded with the program, as the library was before it moved into the module: the
// anchor for what loading it on first use saves.
void BM_StartToWindowShown(benchmark::State &state)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *sub : { "config", "data", "tmp", "run" })
        QDir().mkpath(home().filePath(QLatin1String(sub)));
    env.insert("XDG_CONFIG_HOME", home().filePath("config"));
    env.insert("XDG_DATA_HOME", home().filePath("data"));
    env.insert("TMPDIR", home().filePath("tmp"));
    env.insert("XDG_RUNTIME_DIR", home().filePath("run"));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("DORWEN_QUIT_WHEN_SHOWN", "1");
    if (state.range(0) == 1)
        env.insert("LD_PRELOAD", QStringLiteral(DORWEN_MAGICK_MODULE_FILE));
    for (auto _ : state) {
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(DORWEN_CAD_EXE), {});
        if (!process.waitForFinished(30000) || process.exitCode() != 0) {
            state.SkipWithError("the program did not start and quit");
            return;
        }
    }
}

// A pattern of 3,000 x 20,000 cells in 16 colours.
QString largePicture()
{
    static const QString path = [] {
        QImage picture(3000, 20000, QImage::Format_Indexed8);
        QList<QRgb> colors;
        for (int i = 0; i < 256; ++i)
            colors << qRgb(i, 255 - i, (i * 7) & 0xFF);
        picture.setColorTable(colors);
        for (int y = 0; y < picture.height(); ++y) {
            uchar *row = picture.scanLine(y);
            for (int x = 0; x < picture.width(); ++x)
                row[x] = uchar(((x / 20) + (y / 30)) % 16);
        }
        const QString file = home().filePath("large.bmp");
        SaveBmp8File(picture, file);
        return file;
    }();
    return path;
}

// Opening a picture file into a new document window: read, the record built from the
// picture (colours, row tables, weave slots), the window shown.
void BM_OpenLargePattern(benchmark::State &state)
{
    InitSharedState();
    RegisterPictureFormats();
    const QString file = largePicture();
    TMainForm form;
    form.show();
    for (auto _ : state) {
        TMDIChild *child = form.OpenChild(file, false, true);
        if (!child) {
            state.SkipWithError("the picture did not open");
            break;
        }
        state.PauseTiming();
        delete child;
        state.ResumeTiming();
    }
    UnregisterPictureFormats();
}

// Opening a project of the same pattern: the whole file read into a record, applied to a
// new document window with its tables and weaves, the window shown.
void BM_OpenLargeProject(benchmark::State &state)
{
    InitSharedState();
    RegisterPictureFormats();
    TMainForm form;
    form.show();
    const QString project = home().filePath("large.ovy");
    {
        TMDIChild *child = form.OpenChild(largePicture(), false, true);
        QString error;
        if (!child) {
            state.SkipWithError("the picture did not open");
            return;
        }
        child->PatternGrid().SetMesh(child->Document().Record());
        const bool saved = child->PatternGrid().SaveToFile(project, nullptr, &error);
        delete child;
        if (!saved) {
            state.SkipWithError(error.toStdString().c_str());
            return;
        }
    }
    for (auto _ : state) {
        TMDIChild *child = form.OpenChild(project, false, true);
        if (!child) {
            state.SkipWithError("the project did not open");
            break;
        }
        state.PauseTiming();
        delete child;
        state.ResumeTiming();
    }
    UnregisterPictureFormats();
}
} // namespace

BENCHMARK(BM_StartToWindowShown)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OpenLargePattern)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_OpenLargeProject)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

int main(int argc, char **argv)
{
    bench::UseOffscreenUnlessChosen();
    QApplication app(argc, argv);
    return bench::RunWithRatios(argc, argv, { { "BM_StartToWindowShown/0", "BM_StartToWindowShown/1" } });
}
