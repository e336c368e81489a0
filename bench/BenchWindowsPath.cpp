// How long a long Windows-form path takes to resolve when its wrong-case
// names keep coming back to one big folder: 300 of them, 2,100 characters,
// in a folder of 20,000 entries. The save resolves the path on the window's
// thread, so this is time the player waits. Target: well under a second.
#include "game/WindowsPath.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr int EntryCount = 20000;
constexpr int WrongCaseParts = 300;

struct Prefix
{
    QTemporaryDir root;
    QString path;
};

// prefix/drive_c/big holds 20,000 files and the folder "sub"; the typed
// path climbs into "SUB" and out again 300 times, then names the config.
Prefix* g_prefix = nullptr; // set once in main, before any benchmark runs

QString typedPath()
{
    return QStringLiteral("C:\\BIG\\") + QStringLiteral("SUB\\..\\").repeated(WrongCaseParts)
           + QStringLiteral("SOF2MP.CFG");
}

void ResolveLongWrongCasePath(benchmark::State& state)
{
    const WinePrefix prefix(g_prefix->path);
    const QString typed = typedPath();
    for (auto _ : state) {
        const std::optional<QString> native = WindowsPath::toNative(typed, prefix);
        if (!native || !native->endsWith(QStringLiteral("/big/sof2mp.cfg")))
            state.SkipWithError("resolved to the wrong file");
        benchmark::DoNotOptimize(native);
    }
}

BENCHMARK(ResolveLongWrongCasePath)->Unit(benchmark::kMillisecond);

bool makePrefix(Prefix& prefix)
{
    if (!prefix.root.isValid())
        return false;
    const QDir root(prefix.root.path());
    if (!root.mkpath(QStringLiteral("prefix/dosdevices")) || !root.mkpath(QStringLiteral("prefix/drive_c/big/sub")))
        return false;
    if (!QFile::link(QStringLiteral("../drive_c"), root.filePath(QStringLiteral("prefix/dosdevices/c:"))))
        return false;
    const QDir big(root.filePath(QStringLiteral("prefix/drive_c/big")));
    for (int i = 0; i < EntryCount - 2; ++i) {
        QFile file(big.filePath(QString::asprintf("entry%05d.cfg", i)));
        if (!file.open(QIODevice::WriteOnly))
            return false;
    }
    QFile config(big.filePath(QStringLiteral("sof2mp.cfg")));
    if (!config.open(QIODevice::WriteOnly))
        return false;
    prefix.path = root.filePath(QStringLiteral("prefix"));
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    benchmark::Initialize(&argc, argv);
    Prefix prefix;
    if (!makePrefix(prefix))
        return 1;
    g_prefix = &prefix;
    std::printf("%lld characters, %d wrong-case names in a folder of %d entries (target: well under 1 s)\n",
                static_cast<long long>(typedPath().size()), WrongCaseParts, EntryCount);
    std::fflush(stdout);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
