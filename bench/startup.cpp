// Starting the program: from process start to the main window shown, and opening a
// large pattern, as a picture and as a project, into a document window (3,000 x 20,000
// cells). On an X server (xvfb-run -s -noreset, no window manager: the server must not
// reset when a started program's connection ends) also the start to the first window the
// server maps, for this program and for Tiled, another Qt editor, as the anchor: both
// measured alike in one run.
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
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#ifdef DORWEN_BENCH_XCB
#include <poll.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#endif

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

#ifdef DORWEN_BENCH_XCB
// Seconds from starting program to the X server mapping its first top-level window of at
// least 200 x 100 pixels (tool tips and helper windows left aside), or a negative number
// with the reason. The program is killed then: what it does after its window shows is
// not start-up.
double secondsToFirstMap(const QString &program, const QProcessEnvironment &env, std::string &why)
{
    const std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t *)> connection(
        xcb_connect(nullptr, nullptr), xcb_disconnect);
    xcb_connection_t *c = connection.get();
    if (xcb_connection_has_error(c)) {
        why = "no X server: run under xvfb-run -s -noreset";
        return -1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);

    QProcess process;
    process.setProcessEnvironment(env);
    process.setProgram(program);
    QElapsedTimer timer;
    timer.start();
    process.start();
    double seconds = -1;
    why = "no window within 30 s";
    while (seconds < 0 && timer.elapsed() < 30000) {
        pollfd fd { xcb_get_file_descriptor(c), POLLIN, 0 };
        poll(&fd, 1, 50);
        while (xcb_generic_event_t *event = xcb_poll_for_event(c)) {
            if ((event->response_type & 0x7F) == XCB_MAP_NOTIFY && seconds < 0) {
                const double at = double(timer.nsecsElapsed()) / 1e9;
                const auto *map = reinterpret_cast<xcb_map_notify_event_t *>(event);
                xcb_get_geometry_reply_t *size
                    = xcb_get_geometry_reply(c, xcb_get_geometry(c, map->window), nullptr);
                if (size && size->width >= 200 && size->height >= 100)
                    seconds = at;
                std::free(size);
            }
            std::free(event);
        }
        if (seconds < 0 && process.state() == QProcess::NotRunning) {
            why = "the program ended before it showed a window";
            break;
        }
    }
    process.kill();
    process.waitForFinished();
    return seconds;
}

// Argument 0: this program; 1: Tiled. Both on the X server, in a home of their own.
void BM_StartToFirstMap(benchmark::State &state)
{
#ifdef DORWEN_TILED_EXE
    const QString tiled = QStringLiteral(DORWEN_TILED_EXE);
#else
    const QString tiled;
#endif
    const QString program = state.range(0) == 0 ? QStringLiteral(DORWEN_CAD_EXE) : tiled;
    if (program.isEmpty()) {
        state.SkipWithError("Tiled is not installed (apt-get install tiled)");
        return;
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString own = home().filePath(state.range(0) == 0 ? "x-dorwen" : "x-tiled");
    for (const char *sub : { "config", "data", "cache", "tmp", "run" })
        QDir().mkpath(own + "/" + QLatin1String(sub));
    env.insert("HOME", own);
    env.insert("XDG_CONFIG_HOME", own + "/config");
    env.insert("XDG_DATA_HOME", own + "/data");
    env.insert("XDG_CACHE_HOME", own + "/cache");
    env.insert("TMPDIR", own + "/tmp");
    env.insert("XDG_RUNTIME_DIR", own + "/run");
    env.insert("QT_QPA_PLATFORM", "xcb");
    for (auto _ : state) {
        std::string why;
        const double seconds = secondsToFirstMap(program, env, why);
        if (seconds < 0) {
            state.SkipWithError(why.c_str());
            return;
        }
        state.SetIterationTime(seconds);
    }
}
#endif

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
#ifdef DORWEN_BENCH_XCB
BENCHMARK(BM_StartToFirstMap)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);
#endif
BENCHMARK(BM_OpenLargePattern)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_OpenLargeProject)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

int main(int argc, char **argv)
{
    bench::UseOffscreenUnlessChosen();
    QApplication app(argc, argv);
    return bench::RunWithRatios(argc, argv,
        { { "BM_StartToWindowShown/0", "BM_StartToWindowShown/1" },
            { "BM_StartToFirstMap/0", "BM_StartToFirstMap/1" } });
}
