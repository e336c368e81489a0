// How long the file list takes to list a folder of 10,000 files, against a
// bare QDir::entryList of the same folder. The lists read folders on the
// window's thread, so this is time the player waits. Target: at most twice.
#include "widgets/FileListBox.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

constexpr int FileCount = 10000;

QString g_folder; // set once in main, before any benchmark runs

void RawEntryList(benchmark::State& state)
{
    for (auto _ : state) {
        const QStringList names = QDir(g_folder).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
        benchmark::DoNotOptimize(names.size());
    }
}

void FileListBoxSetPath(benchmark::State& state)
{
    FileListBox list;
    for (auto _ : state) {
        list.setPath(g_folder);
        benchmark::DoNotOptimize(list.model()->rowCount());
    }
}

// The same with the list on screen, laid out and painted, as the player sees it.
void FileListBoxShown(benchmark::State& state)
{
    FileListBox list;
    list.resize(193, 370);
    list.show();
    QApplication::processEvents();
    for (auto _ : state) {
        list.setPath(g_folder);
        list.repaint();
        QApplication::processEvents();
    }
}

BENCHMARK(RawEntryList)->Unit(benchmark::kMillisecond);
BENCHMARK(FileListBoxSetPath)->Unit(benchmark::kMillisecond);
BENCHMARK(FileListBoxShown)->Unit(benchmark::kMillisecond);

// Prints as usual and keeps each benchmark's time per run for the ratio.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    RatioReporter()
        : ConsoleReporter(OO_Tabular)
    {
    }

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
                m_times[run.run_name.function_name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
        }
    }
    // Wall-clock and processor time of one run, in the benchmark's unit.
    std::pair<double, double> time(const std::string& name) const { return m_times.at(name); }

private:
    std::map<std::string, std::pair<double, double>> m_times;
};

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);

    QTemporaryDir folder;
    if (!folder.isValid())
        return 1;
    for (int i = 0; i < FileCount; ++i) {
        // Mixed case, so the case-blind sort has real work to do.
        QFile file(folder.filePath(QString::asprintf(i % 2 ? "config%05d.cfg" : "Config%05d.CFG", (i * 7919) % FileCount)));
        if (!file.open(QIODevice::WriteOnly))
            return 1;
    }
    g_folder = folder.path();

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto [rawWall, rawCpu] = reporter.time("RawEntryList");
    std::printf("\n%d files, time against QDir::entryList (target <= 2x):\n", FileCount);
    for (const char* name : {"FileListBoxSetPath", "FileListBoxShown"}) {
        const auto [wall, cpu] = reporter.time(name);
        std::printf("  %-20s %.2fx wall clock, %.2fx processor\n", name, wall / rawWall, cpu / rawCpu);
    }
    benchmark::Shutdown();
    return 0;
}
