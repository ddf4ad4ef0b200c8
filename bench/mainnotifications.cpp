// The main window's handling of the notifications sent most often: the cursor position
// (every pointer move over a document) and the view refresh (every scroll step: the
// navigator's frame follows; every picture change: the navigator takes the picture again),
// with a 5120 x 65,535 document open in a 1920 x 1080 window. Each should cost what the
// visible area costs, never what the picture costs: the navigator refers to the picture
// without copying it.
#include "core/base/messages.h"
#include "core/settings/sharedstate.h"
#include "editor/patterngrid.h"
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/navigatorpanel.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

namespace {
TMainForm *g_form = nullptr;
TMDIChild *g_child = nullptr;

// The pattern: 335 MB of an 8-bit picture with 256 colours in runs of four cells.
QImage bigPattern()
{
    TPalette256 pal {};
    for (int i = 0; i < 256; ++i)
        pal[i] = TPaletteEntry { std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i * 7), 0 };
    QImage p = NewPicture(5120, 65535, pal);
    std::uint32_t seed = 12345;
    for (int y = 0; y < p.height(); ++y) {
        std::uint8_t *row = p.scanLine(y);
        for (int x = 0; x < p.width(); x += 4) {
            seed = seed * 1664525u + 1013904223u;
            row[x] = row[x + 1] = row[x + 2] = row[x + 3] = std::uint8_t(seed >> 24);
        }
    }
    return p;
}

void BM_ShowCursorPos(benchmark::State &state)
{
    int x = 0;
    for (auto _ : state) {
        SendCursorPos(x, 40000);
        x = (x + 1) % 5120;
    }
}

// 0: a scroll step, the navigator's frame follows; 1: the picture changed, the navigator
// takes it again and repaints.
void BM_RefreshView(benchmark::State &state)
{
    const int mode = int(state.range(0));
    TPatternGrid &grid = g_child->PatternGrid();
    int step = 0;
    for (auto _ : state) {
        if (mode == 0) {
            // What a scroll step does: the view moves and the frame follows.
            grid.SetTopRow(30000 + (step++ % 1000));
        } else {
            SendRefreshView(1);
            g_form->Navigator()->View()->viewport()->repaint();
        }
    }
}
} // namespace

BENCHMARK(BM_ShowCursorPos);
BENCHMARK(BM_RefreshView)->Arg(0)->Arg(1);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The settings go to a private folder, not the real home folder.
    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/dorwen-bench-XXXXXX"));
    const QByteArray root = QFile::encodeName(home.path());
    qputenv("XDG_CONFIG_HOME", root + "/config");
    qputenv("XDG_DATA_HOME", root + "/data");
    QApplication app(argc, argv);
    if (!InitSharedState())
        return 2;
    TMainForm form;
    form.resize(1920 + 300, 1080 + 200);
    form.show();
    g_form = &form;
    g_child = form.NewChildFromPicture(bigPattern());
    if (!g_child)
        return 2;
    g_child->showMaximized();
    g_child->PatternGrid().SetZoom(12);
    g_child->GridView()->LayoutChanged();
    QApplication::processEvents();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_child->PatternGrid().ClearModified();
    return 0;
}
