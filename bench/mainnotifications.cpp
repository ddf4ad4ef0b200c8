// The main window's handling of the notifications sent most often: the cursor position
// (every pointer move over a document) and the view refresh (every scroll step: the
// navigator's frame follows; every picture change: the navigator takes the picture again),
// with a 5120 x 65,535 document open in a 1920 x 1080 window. Each should cost what the
// visible area costs, never what the picture costs: the navigator refers to the picture
// without copying it.
#include "benchsetup.h"
#include "core/base/messages.h"
#include "core/settings/sharedstate.h"
#include "editor/patterngrid.h"
#include "ratioreport.h"
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/navigatorpanel.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>

namespace {
TMainForm *g_form = nullptr;
TMDIChild *g_child = nullptr;

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

// A zoom step as its key gives it, in and out by turns between levels 12 and 15, until the
// view is painted: the action, every event it leaves (the navigator, the rulers, the
// status) and the view's paint. Argument 0 is the anchor: the events and the paint alone.
void BM_ZoomStep(benchmark::State &state)
{
    QAction *in = g_form->Action("ActZoomIn"), *out = g_form->Action("ActZoomOut");
    bool zoomIn = true;
    for (auto _ : state) {
        if (state.range(0) == 1) {
            (zoomIn ? in : out)->trigger();
            zoomIn = !zoomIn;
        }
        QApplication::processEvents();
        g_child->GridView()->viewport()->repaint();
    }
    if (!zoomIn)
        out->trigger();
}
} // namespace

BENCHMARK(BM_ShowCursorPos);
BENCHMARK(BM_RefreshView)->Arg(0)->Arg(1);
BENCHMARK(BM_ZoomStep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    bench::UseOffscreenUnlessChosen();
    const bench::TPrivateHome home;
    QApplication app(argc, argv);
    if (!InitSharedState())
        return 2;
    TMainForm form;
    form.resize(1920 + 300, 1080 + 200);
    form.show();
    g_form = &form;
    g_child = form.NewChildFromPicture(bench::BigPattern());
    if (!g_child)
        return 2;
    g_child->showMaximized();
    g_child->PatternGrid().SetZoom(12);
    g_child->GridView()->LayoutChanged();
    QApplication::processEvents();

    const int result = bench::RunWithRatios(argc, argv, { { "BM_ZoomStep/1", "BM_ZoomStep/0" } });
    g_child->PatternGrid().ClearModified();
    return result;
}
