// The undo store on large steps: a cell step of one million changed cells, recorded from
// a cell list and from a rectangle and undone, and a whole-picture step of a 5120 x 6300
// noise picture (packing gains nothing) kept in memory, and written to and read back from
// its temporary files.
#include "core/undo/undo.h"
#include "benchsetup.h"
#include "core/palette/palette.h"
#include "core/settings/sharedstate.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

namespace {

// The least grid the store needs: pictures, palettes and settings; notifications ignored.
class BenchGrid : public TUndoGridLink {
public:
    QImage pic, ref;
    TPalette256 pal {};
    TLineArray changed;
    TRepeatPic repeat;
    std::uint8_t mode = UndoModeRecord;

    QImage &Picture() override { return pic; }
    QImage &RefBitmap() override { return ref; }
    const TPalette256 &Palette() const override { return pal; }
    const TPalette256 &DisplayPalette() const override { return pal; }
    std::uint8_t UndoMode() const override { return mode; }
    void SetUndoMode(std::uint8_t m) override { mode = m; }
    const TLineArray &ChangedCells() const override { return changed; }
    TColorSet ColorSet() const override { return {}; }
    std::array<std::uint8_t, 3> PointStyle() const override { return { 0, 0, 1 }; }
    QRegion SelectionRegion() const override { return {}; }
    const TRepeatPic &RepeatInfo() const override { return repeat; }
    TParam CurrentSettings() const override { return {}; }
    void RestoreSettings(const TParam &, bool) override { }
    TToolId ToolId() const override { return TToolId::Move; }
    std::unique_ptr<TUndoObject> CopyDrawObject() const override { return nullptr; }
    void RestoreDrawObject(const TUndoObject &, TToolId) override { }
    void ResetDrawObject() override { }
    void SetFloatingObjectsState(int) override { }
    void ReplacePicture(const QImage &p) override
    {
        pic = p;
        ref = p.copy();
    }
    void ReplacePalette(const TPalette256 &p) override { pal = p; }
    void ShiftPictureVert(int) override { }
    void ShiftPictureHorz(int) override { }
    void ReapplyZoom() override { }
    void SetModified() override { }
    void Repaint() override { }
    void NotifyMainWindow() override { }
    void NotifyRefreshView(int) override { }
    void NotifyPatternSize(int, int) override { }
    void NotifyPenWidth() override { }
};

void ensureTempFolder()
{
    if (Folders().ScanImgPath.isEmpty())
        InitSharedState(QStringLiteral("/nonexistent-dorwen-bench"));
    StartSettings().MaxUndoCount = 100;
    StartSettings().MaxBakDataSize = 1e9;
}

void randomFill(QImage &img, std::uint32_t seed)
{
    for (int y = 0; y < img.height(); ++y) {
        std::uint8_t *row = img.scanLine(y);
        for (int x = 0; x < img.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            row[x] = std::uint8_t(seed >> 24);
        }
    }
}

// A 1000 x 1000 grid whose every cell differs from RefBitmap, with the cell list.
void prepareMillion(BenchGrid &g, bool withList)
{
    g.ref = NewPicture(1000, 1000, g.pal);
    g.pic = g.ref.copy();
    g.pic.fill(1u);
    if (withList && g.changed.isEmpty()) {
        g.changed = TLineArray(1000 * 1000);
        for (int y = 0; y < 1000; ++y)
            for (int x = 0; x < 1000; ++x)
                g.changed[y * 1000 + x] = { x, y };
    }
}

void BM_RecordMillionCellsFromList(benchmark::State &state)
{
    ensureTempFolder();
    BenchGrid g;
    TUndo u(g);
    for (auto _ : state) {
        state.PauseTiming();
        u.Clear();
        prepareMillion(g, true);
        state.ResumeTiming();
        u.SaveRegionStep();
    }
    state.SetItemsProcessed(state.iterations() * 1000000);
    state.counters["entry_bytes"] = double(u.CellEntryCount() * sizeof(TBmpData));
}
BENCHMARK(BM_RecordMillionCellsFromList)->Unit(benchmark::kMillisecond);

void BM_RecordMillionCellsFromRect(benchmark::State &state)
{
    ensureTempFolder();
    BenchGrid g;
    TUndo u(g);
    for (auto _ : state) {
        state.PauseTiming();
        u.Clear();
        prepareMillion(g, false);
        state.ResumeTiming();
        u.SaveRectStep(TRect { 0, 0, 999, 999 }, false, false);
    }
    state.SetItemsProcessed(state.iterations() * 1000000);
}
BENCHMARK(BM_RecordMillionCellsFromRect)->Unit(benchmark::kMillisecond);

void BM_UndoMillionCells(benchmark::State &state)
{
    ensureTempFolder();
    BenchGrid g;
    TUndo u(g);
    prepareMillion(g, false);
    u.SaveRectStep(TRect { 0, 0, 999, 999 }, false, false);
    bool undone = false;
    for (auto _ : state) {
        // Alternate undo and redo: both replay the same million entries.
        undone ? u.Redo() : u.Undo();
        undone = !undone;
    }
    state.SetItemsProcessed(state.iterations() * 1000000);
}
BENCHMARK(BM_UndoMillionCells)->Unit(benchmark::kMillisecond);

QImage bigPicture()
{
    TPalette256 pal {};
    for (int i = 0; i < 256; ++i)
        pal[i] = { std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i / 2), 0 };
    QImage img = NewPicture(5120, 6300, pal);
    randomFill(img, 12345);
    return img;
}

// Argument 0: the step kept in memory, as one of this size is; 1: in its two files.
void BM_RecordWholePicture(benchmark::State &state)
{
    ensureTempFolder();
    BenchGrid g;
    g.pic = bigPicture();
    g.ref = g.pic.copy();
    TUndo u(g);
    if (state.range(0) == 1)
        u.MemoryStepBytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        u.Clear();
        state.ResumeTiming();
        if (!u.SaveImageStep())
            state.SkipWithError("cannot write the undo files");
    }
    const TUndoData *top = u.GetTopStep();
    if (top) {
        state.counters["file_bytes"] = double(QFileInfo(top->AfterFile).size());
        state.counters["both_files_bytes"]
            = double(QFileInfo(top->AfterFile).size() + QFileInfo(top->BeforeFile).size());
        state.counters["memory_bytes"] = double(u.PackedByteCount());
    }
    state.SetBytesProcessed(state.iterations() * 2 * 5120 * 6300);
}
BENCHMARK(BM_RecordWholePicture)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_UndoWholePicture(benchmark::State &state)
{
    ensureTempFolder();
    BenchGrid g;
    g.pic = bigPicture();
    g.ref = g.pic.copy();
    TUndo u(g);
    if (state.range(0) == 1)
        u.MemoryStepBytes = 0;
    if (!u.SaveImageStep())
        state.SkipWithError("cannot write the undo files");
    bool undone = false;
    for (auto _ : state) {
        if (!(undone ? u.Redo() : u.Undo()))
            state.SkipWithError("cannot read the undo files");
        undone = !undone;
    }
    state.SetBytesProcessed(state.iterations() * 5120 * 6300);
}
BENCHMARK(BM_UndoWholePicture)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    const bench::TPrivateHome home;
    bench::UseOffscreenUnlessChosen();
    QGuiApplication app(argc, argv); // the shared state registers cursors
    return bench::RunBenchmarks(argc, argv);
}
