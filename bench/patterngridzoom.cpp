// A zoom step in the main window: a 5120 x 65,535 pattern shown in a 1920 x 1080 view of a
// maximised document window, zoomed by one step with the key (plus or minus) or with
// Ctrl+wheel about the pointer, timed from the key to the painted view (the grid, its
// rulers and the navigator painted and put on screen). The anchor is the paint of the same
// view at the level reached: the grid painted into its buffer and drawn onto a screen-sized
// surface. A zoom step should cost about one such paint, and 16 ms at most.
//
// The offscreen platform is the default; run it on an X server (QT_QPA_PLATFORM=xcb, e.g.
// under xvfb-run -s "-screen 0 2560x1600x24") to see what the window system adds.
#include "benchsetup.h"
#include "core/settings/sharedstate.h"
#include "editor/patterngrid.h"
#include "editor/ui/patterngridview.h"
#include "ratioreport.h"
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QTest>
#include <QWheelEvent>

#include <sys/resource.h>

#include <string>
#include <utility>
#include <vector>

namespace {
TMainForm *g_form = nullptr;
TMDIChild *g_child = nullptr;

constexpr int kViewWidth = 1920;
constexpr int kViewHeight = 1080;

// Counts the paints of the grid's viewport: a step ends with the first paint after it.
class TPaintCounter : public QObject {
public:
    int Paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++Paints;
        return false;
    }
};
TPaintCounter *g_paints = nullptr;

TPatternGridView &view()
{
    return *g_child->GridView();
}
TPatternGrid &grid()
{
    return g_child->PatternGrid();
}

// Minor page faults of the process so far: a step that faults writes into memory fresh
// from the system, which costs far more than writing into memory the process already has.
long pageFaults()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// Delivers what is pending until the view has been painted after the step.
void untilPainted(int paintsBefore)
{
    while (g_paints->Paints == paintsBefore)
        QApplication::processEvents(QEventLoop::AllEvents);
    // Whatever the paint left behind (the rulers, the navigator) is part of the step.
    QApplication::processEvents(QEventLoop::AllEvents);
}

// One step as the user makes it, from the key (in: plus, out: minus) or the Ctrl+wheel
// notch over the middle of the view, to the painted view.
enum class TStepKind { Key, Wheel };
void step(TStepKind kind, bool in)
{
    const int before = g_paints->Paints;
    if (kind == TStepKind::Key) {
        QTest::keyClick(&view(), in ? Qt::Key_Plus : Qt::Key_Minus);
    } else {
        const QPointF pos(kViewWidth / 2.0, kViewHeight / 2.0);
        QWheelEvent wheel(pos, view().viewport()->mapToGlobal(pos), QPoint(), QPoint(0, in ? 120 : -120),
            Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view().viewport(), &wheel);
    }
    untilPainted(before);
}

// The view at level, in the middle of the pattern, everything painted.
void showLevel(int level)
{
    const int before = g_paints->Paints;
    grid().SetZoom(level);
    grid().SetLeftCol(grid().ColCount() / 2 - 200);
    grid().SetTopRow(grid().RowCount() / 2);
    view().LayoutChanged();
    untilPainted(before);
}

// state.range(0): the level the step starts from; range(1): 1 in, 0 out; range(2): the
// key (0) or the wheel (1). Only the step is timed; the step back is not.
void BM_ZoomStep(benchmark::State &state)
{
    const int from = int(state.range(0));
    const bool in = state.range(1) != 0;
    const TStepKind kind = state.range(2) != 0 ? TStepKind::Wheel : TStepKind::Key;
    showLevel(from);
    QElapsedTimer timer;
    long faults = 0;
    for (auto _ : state) {
        const long faultsBefore = pageFaults();
        timer.start();
        step(kind, in);
        state.SetIterationTime(double(timer.nsecsElapsed()) * 1e-9);
        faults += pageFaults() - faultsBefore;
        if (grid().ZoomLevel() == from) {
            state.SkipWithError("the step did not change the zoom level");
            return;
        }
        step(kind, !in);
    }
    state.counters["faults"] = benchmark::Counter(double(faults), benchmark::Counter::kAvgIterations);
}

// The anchor: the view at level painted into the grid's buffer and drawn onto a
// screen-sized surface, as the view's paint does.
void BM_PaintView(benchmark::State &state)
{
    showLevel(int(state.range(0)));
    QImage buffer;
    QImage screen(kViewWidth, kViewHeight, QImage::Format_RGB32);
    screen.fill(0);
    for (auto _ : state) {
        grid().Paint(buffer);
        QPainter p(&screen);
        p.drawImage(0, 0, buffer);
        p.end();
        benchmark::DoNotOptimize(screen.constBits());
    }
}

constexpr int kFirstLevel = TPatternGrid::BaseZoomLevel;
constexpr int kLastLevel = TPatternGrid::MaxZoomLevel;

void zoomSteps(benchmark::internal::Benchmark *b)
{
    b->ArgNames({ "from", "in", "wheel" });
    for (int wheel : { 0, 1 })
        for (int from = kFirstLevel; from <= kLastLevel; from += 3) {
            if (from < kLastLevel)
                b->Args({ from, 1, wheel });
            if (from > kFirstLevel)
                b->Args({ from, 0, wheel });
        }
    b->Unit(benchmark::kMillisecond)->UseManualTime();
}

void paintLevels(benchmark::internal::Benchmark *b)
{
    b->ArgName("level");
    for (int level = kFirstLevel; level <= kLastLevel; level += 3)
        b->Arg(level);
    b->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK(BM_ZoomStep)->Apply(zoomSteps);
BENCHMARK(BM_PaintView)->Apply(paintLevels);

// Every step against the paint of the level it reaches.
std::vector<std::pair<std::string, std::string>> ratioPairs()
{
    std::vector<std::pair<std::string, std::string>> pairs;
    for (int wheel : { 0, 1 })
        for (int from = kFirstLevel; from <= kLastLevel; from += 3)
            for (int in : { 1, 0 }) {
                const int to = in ? from + 3 : from - 3;
                if (to < kFirstLevel || to > kLastLevel)
                    continue;
                pairs.emplace_back("BM_ZoomStep/from:" + std::to_string(from) + "/in:" + std::to_string(in)
                        + "/wheel:" + std::to_string(wheel),
                    "BM_PaintView/level:" + std::to_string(to));
            }
    return pairs;
}
} // namespace

int main(int argc, char **argv)
{
    bench::UseOffscreenUnlessChosen();
    const bench::TPrivateHome home;
    QApplication app(argc, argv);
    if (!InitSharedState())
        return 2;
    TMainForm form;
    form.resize(kViewWidth + 400, kViewHeight + 300);
    form.show();
    g_form = &form;
    g_child = form.NewChildFromPicture(bench::BigPattern());
    if (!g_child)
        return 2;
    g_child->showMaximized();
    QApplication::processEvents();
    // The window grows or shrinks until the grid's view is 1920 x 1080.
    for (int i = 0; i < 4; ++i) {
        const QSize have = view().viewport()->size();
        if (have == QSize(kViewWidth, kViewHeight))
            break;
        form.resize(form.size() + QSize(kViewWidth, kViewHeight) - have);
        QApplication::processEvents();
    }
    if (view().viewport()->size() != QSize(kViewWidth, kViewHeight)) {
        fprintf(stderr, "the view could not be made 1920 x 1080\n");
        return 2;
    }
    view().setFocus(Qt::OtherFocusReason);
    TPaintCounter paints;
    g_paints = &paints;
    view().viewport()->installEventFilter(&paints);

    const int result = bench::RunWithRatios(argc, argv, ratioPairs());
    view().viewport()->removeEventFilter(&paints);
    grid().ClearModified();
    return result;
}
