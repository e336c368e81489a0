// The symbol picture is drawn while the window is built, so its cost is part
// of start-up; drawing one symbol is what a preview of the entry text pays
// per symbol character.
#include "palette/SymbolCells.h"
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
    for (auto _ : state)
        benchmark::DoNotOptimize(findSymbolCell(0x0F)->picture());
}
BENCHMARK(BM_DrawOneSymbol)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
