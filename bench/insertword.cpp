// Painting the pattern grid with a floating text: a 1920 x 1080 view at one pixel a cell
// with a 100-character text 72 cells high lying across it, against the same paint without
// the text (the anchor). The text should cost at most half a paint more (1.5 x).
#include "editor/insertword.h"
#include "editor/patterngrid.h"

#include "benchsetup.h"
#include "ratioreport.h"

#include <benchmark/benchmark.h>

#include <QImage>

#include <memory>

namespace {

// 4,000 x 2,000 cells of pseudo-random colours, made once.
const QImage &pattern()
{
    static const QImage img = [] {
        TPalette256 pal {};
        for (int i = 0; i < 256; ++i)
            pal[std::size_t(i)] = { std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i * 7), 0 };
        QImage p = NewPicture(4000, 2000, pal);
        std::uint32_t seed = 12345;
        for (int y = 0; y < p.height(); ++y)
            for (int x = 0; x < p.width(); ++x) {
                seed = seed * 1664525u + 1013904223u;
                p.scanLine(y)[x] = std::uint8_t(seed >> 24);
            }
        return p;
    }();
    return img;
}

// A grid showing the pattern at one pixel a cell in a 1920 x 1080 client area.
void setUp(TPatternGrid &grid)
{
    grid.SetClientSize(1920, 1080);
    grid.SetPicture(pattern());
    grid.ReadPaletteFromPicture();
    grid.SetZoom(TPatternGrid::BaseZoomLevel);
    grid.SetLeftCol(100);
    grid.SetTopRow(100);
}

// One hundred characters, Latin and Chinese, 72 cells high, from the view's left edge.
std::unique_ptr<TInsertWord> longText()
{
    auto text = std::make_unique<TInsertWord>();
    QFont font(TInsertWord::DefaultFamily());
    font.setPixelSize(WordEmForLineHeight(font, 72)); // lines of 72 cells
    text->SetFont(font);
    QString line;
    while (line.size() < 100)
        line += QStringLiteral("Ribbon 花样 ");
    text->SetText(line.left(100));
    text->SetFirstFrame();
    text->SetPosition({ 120, 500 });
    text->SetAngle(0.1);
    text->Rebuild();
    return text;
}

void BM_PaintView(benchmark::State &state)
{
    TPatternGrid grid;
    setUp(grid);
    QImage buffer;
    for (auto _ : state) {
        grid.Paint(buffer);
        benchmark::DoNotOptimize(buffer.constBits());
    }
}

void BM_PaintViewWithText(benchmark::State &state)
{
    TPatternGrid grid;
    setUp(grid);
    grid.AttachFloatingText(longText());
    if (!grid.HasFloatingText())
        state.SkipWithError("no floating text");
    state.counters["text_height"] = grid.HasFloatingText() ? grid.FloatingText()->TextHeight() : 0;
    state.counters["chars"] = grid.HasFloatingText() ? double(grid.FloatingText()->Text().size()) : 0;
    QImage buffer;
    for (auto _ : state) {
        grid.Paint(buffer);
        benchmark::DoNotOptimize(buffer.constBits());
    }
}

} // namespace

BENCHMARK(BM_PaintView)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintViewWithText)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    bench::TLogicBenchApp app(argc, argv);
    return bench::RunWithRatios(argc, argv, { { "BM_PaintViewWithText", "BM_PaintView" } });
}
