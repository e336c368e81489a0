// The symbol picture is drawn while the window is built, so its cost is part
// of start-up; drawing one symbol is what a preview of the entry text pays
// per symbol character.
#include "palette/SymbolDrawing.h"
#include "palette/SymbolPalettePicture.h"

#include <benchmark/benchmark.h>

static void BM_SymbolPalettePicture(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(symbolPalettePicture());
}
BENCHMARK(BM_SymbolPalettePicture)->Unit(benchmark::kMicrosecond);

static void BM_DrawOneSymbol(benchmark::State& state)
{
    QImage image(41, 23, QImage::Format_RGB32);
    image.fill(Qt::black);
    for (auto _ : state) {
        drawSymbol(image, image.rect(), char16_t(0x0F));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawOneSymbol)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
