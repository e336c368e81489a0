#include "palette/ColourCells.h"
#include "palette/ColourPalettePicture.h"

#include <benchmark/benchmark.h>

// The picture is drawn while the window is built, so it adds to start-up.
static void drawColourPicture(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(colourPalettePicture());
}
BENCHMARK(drawColourPicture)->Unit(benchmark::kMicrosecond);

// A preview colours text code by code through this lookup.
static void lookUpCodeColours(benchmark::State& state)
{
    const QString text = QStringLiteral("0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ!#$%&()*+-,.\\/<>[]{}:=?@_'|~ ");
    for (auto _ : state) {
        for (QChar c : text)
            benchmark::DoNotOptimize(colourOfCode(c));
    }
    state.SetItemsProcessed(state.iterations() * text.size());
}
BENCHMARK(lookUpCodeColours);

BENCHMARK_MAIN();
