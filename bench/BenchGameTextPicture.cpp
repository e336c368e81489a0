// The preview is drawn afresh each time the tooltip of the entry text shows or
// its text changes under it, so a chat message of the game's full length, with
// codes and symbols, must draw far faster than a person can notice. Nor may
// a pasted million characters make the tooltip any slower to come.
#include "app/EntryTextPreview.h"
#include "preview/GameTextPicture.h"
#include "preview/GameTextRuns.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace {

// A code, a symbol and seven letters, over and over.
QString chatMessage(qsizetype length)
{
    QString text;
    text.reserve(length + 10);
    for (int i = 0; text.size() < length; ++i)
        text += QStringLiteral("^%1%2Veltrane").arg(i % 10).arg(QChar(0x1C + i % 4));
    return text.left(length);
}

QString fullChatMessage()
{
    return chatMessage(150);
}

} // namespace

static void BM_GameTextRuns(benchmark::State& state)
{
    const QString text = fullChatMessage();
    for (auto _ : state)
        benchmark::DoNotOptimize(gameTextRuns(text));
}
BENCHMARK(BM_GameTextRuns)->Unit(benchmark::kMicrosecond);

static void BM_GameTextPicture(benchmark::State& state)
{
    const std::vector<GameTextRun> runs = gameTextRuns(fullChatMessage());
    for (auto _ : state)
        benchmark::DoNotOptimize(gameTextPicture(runs));
}
BENCHMARK(BM_GameTextPicture)->Unit(benchmark::kMicrosecond);

static void BM_EntryTextToolTip(benchmark::State& state)
{
    const QString text = chatMessage(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(entryTextToolTip(text, EntryKind::ChatMessage));
}
BENCHMARK(BM_EntryTextToolTip)->Arg(150)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    // Text needs the fonts, and the fonts need the application.
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
