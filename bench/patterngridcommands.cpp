// The pattern grid's whole-picture commands, each with its undo step, on a 5120 x 6300
// picture and on one of a quarter of the cells (2560 x 3150): items per second stay level
// when a command is linear in the cells. Also the undo and redo of each such step (one
// pair per iteration, in the steady state of stepping back and forth on one grid), and the
// repeat view of a 2000 x 3000 unit shown 3 x 2 and hidden again. The turn by 30 degrees
// (step and gauge included) is set against the bare turn plus a clearing command, and the
// repeat-layout dialog's OK in place (compose and take it) against the repeat view.
// The counter step_bytes
// gives what the newest step keeps (temporary files and packed cells). Each command runs
// on a picture copied in just before (its buffers used, not fresh). The anchors are one
// copy of the picture into fresh memory and one into a kept buffer (the steady state), so
// the ratios after the table say how many such copies a command costs, whatever the load
// of the machine.
#include "benchsetup.h"
#include "core/picture/imageproc.h"
#include "core/settings/sharedstate.h"
#include "editor/patterngrid.h"
#include "editor/picturerotation.h"
#include "editor/repeatcomposer.h"
#include "ratioreport.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <numbers>

namespace {

TPalette256 benchPalette()
{
    TPalette256 pal {};
    for (int i = 0; i < 256; ++i)
        pal[i] = { std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i / 2), 0 };
    return pal;
}

// Runs of 1 to 8 cells of one index, so that blank columns are rare and the pictures
// look like patterns rather than noise.
const QImage &picture(int w, int h)
{
    static std::map<std::pair<int, int>, QImage> made;
    QImage &img = made[{ w, h }];
    if (img.isNull()) {
        img = NewPicture(w, h, benchPalette());
        std::uint32_t seed = 12345;
        for (int y = 0; y < h; ++y) {
            std::uint8_t *row = img.scanLine(y);
            for (int x = 0; x < w;) {
                seed = seed * 1664525u + 1013904223u;
                const int run = 1 + int((seed >> 8) & 7);
                for (int i = 0; i < run && x < w; ++i)
                    row[x++] = std::uint8_t(seed >> 24);
            }
        }
    }
    return img;
}

void showPicture(TPatternGrid &g, const QImage &img)
{
    g.UndoStore().Clear();
    g.SetPicture(img.copy());
    g.RebuildDisplayBitmap();
    g.ResetRepeatSize();
    g.ClearSelectionRegion();
    g.Picture().bits(); // own cells, so that the command does not pay for a copy
}

// The packed cells of a step (none in a build whose steps keep no packed cells).
qint64 packedBytes(const TUndoData &step)
{
    qint64 bytes = step.Packed ? qint64(step.Packed->PackedBytes()) : 0;
    for (const auto &picture : { step.BeforePicture, step.AfterPicture })
        bytes += picture ? qint64(picture->PackedBytes()) : 0;
    return bytes;
}

// What the newest step keeps: its temporary files and its packed cells and pictures.
qint64 topStepBytes(TPatternGrid &g)
{
    const TUndoData *top = g.UndoStore().GetTopStep();
    if (!top)
        return 0;
    qint64 bytes = packedBytes(*top);
    if (top->Kind == TUndoKind::Image && !top->AfterFile.isEmpty())
        bytes += QFileInfo(top->AfterFile).size() + QFileInfo(top->BeforeFile).size();
    return bytes;
}

void prepareGrid(TPatternGrid &g, const QImage &img)
{
    StartSettings().MaxUndoCount = 4;
    StartSettings().MaxBakDataSize = 1e9;
    g.SetClientSize(1920, 1080);
    g.SetPicture(img.copy());
    g.ReadPaletteFromPicture();
    g.RebuildDisplayBitmap();
    g.SetZoom(9);
}

using TCommand = std::function<bool(TPatternGrid &)>;

void runCommand(benchmark::State &state, const TCommand &command)
{
    const QImage &img = picture(int(state.range(0)), int(state.range(1)));
    TPatternGrid g;
    prepareGrid(g, img);
    for (auto _ : state) {
        state.PauseTiming();
        showPicture(g, img);
        state.ResumeTiming();
        if (!command(g))
            state.SkipWithError("the command refused");
    }
    state.counters["step_bytes"] = double(topStepBytes(g));
    state.SetItemsProcessed(state.iterations() * img.width() * img.height());
}

void BM_UndoWholePictureCommand(benchmark::State &state)
{
    const QImage &img = picture(int(state.range(0)), int(state.range(1)));
    TPatternGrid g;
    prepareGrid(g, img);
    showPicture(g, img);
    g.FlipLeftRight();
    bool undone = false;
    for (auto _ : state) {
        if (!(undone ? g.Redo() : g.Undo()))
            state.SkipWithError("the step could not be replayed");
        undone = !undone;
    }
    state.SetItemsProcessed(state.iterations() * img.width() * img.height());
}

// Undo and redo of one command's step, one pair per iteration, on the grid the command
// left: the steady state of a designer stepping back and forth.
void runUndoRedo(benchmark::State &state, const TCommand &command)
{
    const QImage &img = picture(int(state.range(0)), int(state.range(1)));
    TPatternGrid g;
    prepareGrid(g, img);
    showPicture(g, img);
    if (!command(g)) {
        state.SkipWithError("the command refused");
        return;
    }
    for (auto _ : state) {
        if (!g.Undo() || !g.Redo())
            state.SkipWithError("the step could not be replayed");
    }
    state.SetItemsProcessed(state.iterations() * img.width() * img.height());
}

TRepeatPic layout3x2(int w, int h)
{
    TRepeatPic info;
    info.UnitWidth = w;
    info.UnitHeight = h;
    info.HorzCount = 3;
    info.VertCount = 2;
    TRotateArray rotate(2);
    rotate[0] = TDynArray<std::int8_t> { 0, 2, 0 };
    rotate[1] = TDynArray<std::int8_t> { 1, 3, 0 };
    info.Rotate = rotate;
    info.Value1 = 2;
    info.Value2 = w / 3;
    return info;
}

// Showing and hiding the view of a 2000 x 3000 unit 3 x 2 (a 6000 x 6000 picture).
void BM_RepeatViewShowHide(benchmark::State &state)
{
    const QImage &unit = picture(2000, 3000);
    TPatternGrid g;
    prepareGrid(g, unit);
    showPicture(g, unit);
    g.SetRepeatInfo(layout3x2(2000, 3000));
    g.SetRepeatDisplayOn(true);
    for (auto _ : state) {
        if (!g.SetRepeatView(true) || !g.SetRepeatView(false))
            state.SkipWithError("the view could not be switched");
    }
    state.counters["steps"] = g.UndoStore().UndoCount();
    state.SetItemsProcessed(state.iterations() * 6000 * 6000);
}

// The repeat-layout dialog's OK in place: a 2000 x 3000 unit composed 3 x 2 (rows stepped,
// flipped repeats) and given to the grid, which takes it with its step.
void BM_RepeatLayoutInPlace(benchmark::State &state)
{
    const QImage &unit = picture(2000, 3000);
    TPatternGrid g;
    prepareGrid(g, unit);
    TMergePic composer;
    composer.SetUnitPicture(unit);
    composer.SetRepeatInfo(layout3x2(2000, 3000));
    for (auto _ : state) {
        state.PauseTiming();
        showPicture(g, unit);
        state.ResumeTiming();
        if (!composer.BuildResult() || !g.ApplyRepeatLayout(composer.TakeResult(), layout3x2(2000, 3000)))
            state.SkipWithError("the layout was refused");
    }
    state.counters["step_bytes"] = double(topStepBytes(g));
    state.SetItemsProcessed(state.iterations() * 6000 * 6000);
}

// The bare free-angle turn of the rotation command, without grid, step or gauge.
void BM_RotateAboutCentre(benchmark::State &state)
{
    const QImage &img = picture(int(state.range(0)), int(state.range(1)));
    QImage dest;
    for (auto _ : state) {
        if (!RotateAboutCentre(dest, img, 0, std::numbers::pi / 6))
            state.SkipWithError("the turn refused");
        benchmark::DoNotOptimize(dest.constBits());
    }
    state.SetItemsProcessed(state.iterations() * img.width() * img.height());
}

// The anchor: one copy of the picture into memory the process has not touched yet.
void BM_CopyFreshPicture(benchmark::State &state)
{
    const int w = int(state.range(0)), h = int(state.range(1));
    const QImage &img = w == 6000 ? picture(2000, 3000) : picture(w, h);
    for (auto _ : state) {
        QImage fresh(w, h, QImage::Format_Indexed8);
        for (int y = 0; y < h; ++y)
            std::memcpy(fresh.scanLine(y), img.constScanLine(y % img.height()),
                std::size_t(std::min(w, img.width())));
        benchmark::DoNotOptimize(fresh.constBits());
    }
    state.SetItemsProcessed(state.iterations() * w * h);
}

// The steady anchor: one copy of the picture into a buffer copied into before, as every
// buffer the editor keeps is.
void BM_CopyPicture(benchmark::State &state)
{
    const int w = int(state.range(0)), h = int(state.range(1));
    const QImage &img = picture(w, h);
    QImage kept(w, h, QImage::Format_Indexed8);
    kept.fill(0);
    for (auto _ : state) {
        for (int y = 0; y < h; ++y)
            std::memcpy(kept.scanLine(y), img.constScanLine(y), std::size_t(w));
        benchmark::DoNotOptimize(kept.constBits());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * w * h);
}

std::vector<std::pair<std::string, std::string>> g_ratios;

void registerAll()
{
    const std::vector<std::pair<const char *, TCommand>> commands {
        { "MirrorLeftImage", [](TPatternGrid &g) { return g.MirrorLeftImage(); } },
        { "MirrorTopImage", [](TPatternGrid &g) { return g.MirrorTopImage(); } },
        { "LinkLeftRight", [](TPatternGrid &g) { return g.LinkLeftRight(); } },
        { "LinkTopBottom", [](TPatternGrid &g) { return g.LinkTopBottom(); } },
        { "FlipLeftRight", [](TPatternGrid &g) { return g.FlipLeftRight(); } },
        { "FlipTopBottom", [](TPatternGrid &g) { return g.FlipTopBottom(); } },
        // The same command with recording suspended: the transform and the grid's own
        // work without the two temporary files.
        { "FlipTopBottomUnrecorded",
            [](TPatternGrid &g) {
                g.SetUndoRecording(UndoModeSuspended);
                const bool ok = g.FlipTopBottom();
                g.SetUndoRecording(UndoModeRecord);
                return ok;
            } },
        { "Rotate180", [](TPatternGrid &g) { return g.Rotate180(); } },
        { "Rotate90", [](TPatternGrid &g) { return g.Rotate90(); } },
        { "ResizeKeep",
            [](TPatternGrid &g) {
                return g.ResizePicture(g.Picture().width() + 100, g.Picture().height() + 100, 0);
            } },
        { "ResizeStretch",
            [](TPatternGrid &g) {
                return g.ResizePicture(g.Picture().width() / 2 * 3, g.Picture().height(), 1);
            } },
        { "CropToRegion",
            [](TPatternGrid &g) {
                g.SetSelectionRegion(QRegion(10, 10, g.Picture().width() - 20, g.Picture().height() - 20));
                return g.CropToRegion();
            } },
        { "RemoveBlank", [](TPatternGrid &g) { return g.RemoveBlank(); } },
        { "JumpStart", [](TPatternGrid &g) { return g.JumpStart(); } },
        { "ClearPicture", [](TPatternGrid &g) { return g.ClearPicture(); } },
        { "ShiftPictureVert",
            [](TPatternGrid &g) {
                g.ShiftPictureVert(g.Picture().height() / 3);
                return true;
            } },
        { "ShiftPictureHorz",
            [](TPatternGrid &g) {
                g.ShiftPictureHorz(g.Picture().width() / 3);
                return true;
            } },
        { "InsertRows", [](TPatternGrid &g) { return g.InsertDeleteLines(0, 100, 50, true, true); } },
        { "DeleteColumns", [](TPatternGrid &g) { return g.InsertDeleteLines(1, 100, 50, false, true); } },
        { "RotateByAngle30", [](TPatternGrid &g) { return RotateGridPicture(g, 30); } },
    };
    for (const auto &[name, command] : commands) {
        for (const char *size : { "/2560/3150", "/5120/6300" })
            g_ratios.push_back(
                { std::string("BM_Command/") + name + size, std::string("BM_CopyFreshPicture") + size });
        g_ratios.push_back(
            { std::string("BM_Command/") + name + "/5120/6300", std::string("BM_CopyPicture/5120/6300") });
        g_ratios.push_back(
            { std::string("BM_UndoRedo/") + name + "/5120/6300", std::string("BM_CopyPicture/5120/6300") });
        benchmark::RegisterBenchmark((std::string("BM_UndoRedo/") + name).c_str(),
            [command](benchmark::State &s) { runUndoRedo(s, command); })
            ->Args({ 5120, 6300 })
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("BM_Command/") + name).c_str(),
            [command](benchmark::State &s) { runCommand(s, command); })
            ->Args({ 2560, 3150 })
            ->Args({ 5120, 6300 })
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("BM_UndoWholePictureCommand", BM_UndoWholePictureCommand)
        ->Args({ 2560, 3150 })
        ->Args({ 5120, 6300 })
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_RepeatViewShowHide", BM_RepeatViewShowHide)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_CopyPicture", BM_CopyPicture)
        ->Args({ 5120, 6300 })
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_CopyFreshPicture", BM_CopyFreshPicture)
        ->Args({ 2560, 3150 })
        ->Args({ 5120, 6300 })
        ->Args({ 6000, 6000 })
        ->Unit(benchmark::kMillisecond);
    for (const char *size : { "/2560/3150", "/5120/6300" })
        g_ratios.push_back(
            { std::string("BM_UndoWholePictureCommand") + size, std::string("BM_CopyFreshPicture") + size });
    g_ratios.push_back({ "BM_RepeatViewShowHide", "BM_CopyFreshPicture/6000/6000" });
    benchmark::RegisterBenchmark("BM_RotateAboutCentre", BM_RotateAboutCentre)
        ->Args({ 5120, 6300 })
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_RepeatLayoutInPlace", BM_RepeatLayoutInPlace)
        ->Unit(benchmark::kMillisecond);
    g_ratios.push_back({ "BM_Command/RotateByAngle30/5120/6300",
        "BM_RotateAboutCentre/5120/6300+BM_Command/ClearPicture/5120/6300" });
    g_ratios.push_back({ "BM_RepeatLayoutInPlace", "BM_RepeatViewShowHide" });
}

} // namespace

int main(int argc, char **argv)
{
    bench::TLogicBenchApp app(argc, argv);
    registerAll();
    return bench::RunWithRatios(argc, argv, g_ratios);
}
