// Times Save against `cp` of the same file, for configs of about 1 MB, 10 MB
// and 100 MB of short CR LF lines: replaced with the old bytes kept, rewritten
// for a lone CR in the first or in the last line, and appended to in place
// while another descriptor holds the file open. `cp` followed by a flush of the
// copy shows what any copy that must survive a power cut costs. All of them
// alternate, so that they meet the same cache and disk, and everything one
// leaves dirty is synced outside the timing. Prints medians, ratios, time per
// byte and the memory a save needs beyond the program's own.
//
//   build/bench/BenchSave [folder]     (default: the system's temporary folder)

#include "cfgfile/ConfigLine.h"
#include "cfgfile/ConfigSaver.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <functional>
#include <cstdio>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

const QString Line = QStringLiteral("bind KP_UPARROW Say \"^1hello\"");
constexpr qint64 MiB = 1 << 20;

// Where the config has a line that ends in a lone CR, so that a save has to
// write the whole file anew.
enum class LoneCr { None, First, Last };

// The config written out in pieces, so the benchmark itself stays small in
// memory.
void writeConfig(const QString& path, qint64 size, LoneCr loneCr)
{
    QByteArray piece;
    while (piece.size() < MiB)
        piece += "bind KP_5 Say \"^1hello there\"\r\n";
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    if (loneCr == LoneCr::First)
        file.write("seta old \"1\"\r");
    for (qint64 written = 0; written < size; written += piece.size())
        file.write(piece);
    if (loneCr == LoneCr::Last)
        file.write("seta old \"1\"\rseta last \"1\"\r\n");
    file.close();
    ::sync();
}

double median(std::vector<double> values)
{
    std::ranges::sort(values);
    return values[values.size() / 2];
}

double millisecondsOf(auto&& work)
{
    ::sync();
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

void copyWithCp(const QString& from, const QString& to)
{
    QFile::remove(to);
    const pid_t child = ::fork();
    if (child == 0) {
        ::execlp("cp", "cp", QFile::encodeName(from).constData(), QFile::encodeName(to).constData(), nullptr);
        ::_exit(127);
    }
    ::waitpid(child, nullptr, 0);
}

// What any copy that survives a power cut costs: `cp`, then the flush.
void copyDurably(const QString& from, const QString& to)
{
    copyWithCp(from, to);
    const int descriptor = ::open(QFile::encodeName(to).constData(), O_WRONLY | O_CLOEXEC);
    ::fsync(descriptor);
    ::close(descriptor);
}

void save(const QString& path)
{
    if (ConfigSaver::addLine(path, Line))
        std::fprintf(stderr, "save of %s failed\n", qPrintable(path));
}

// The way a save goes while another program has the file open.
void saveWhileOpen(const QString& path)
{
    const int held = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    save(path);
    ::close(held);
}

// The peak resident memory of a child that runs `work`, in MiB.
double peakMemoryOf(auto&& work)
{
    const pid_t child = ::fork();
    if (child == 0) {
        work();
        ::_exit(0);
    }
    rusage usage{};
    ::wait4(child, nullptr, 0, &usage);
    return usage.ru_maxrss / 1024.0;
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) + QStringLiteral("/BenchSave-XXXXXX")
                                  : QDir::tempPath() + QStringLiteral("/BenchSave-XXXXXX"));
    if (!folder.isValid())
        return 1;
    const QString kept = folder.filePath(QStringLiteral("kept.cfg"));
    const QString appended = folder.filePath(QStringLiteral("append.cfg"));
    const QString copy = folder.filePath(QStringLiteral("copy.cfg"));
    struct Rewrite {
        const char* name;
        LoneCr loneCr;
        QString path {};
        QString original {};
        std::vector<double> times {};
    };
    std::vector<Rewrite> rewrites{{"rewrite", LoneCr::First}, {"late CR", LoneCr::Last}};
    for (Rewrite& rewrite : rewrites) {
        rewrite.path = folder.filePath(QString::fromLatin1(rewrite.name) + QStringLiteral(".cfg"));
        rewrite.original = rewrite.path + QStringLiteral(".original");
    }
    const auto restore = [](const Rewrite& rewrite) {
        QFile::remove(rewrite.path);
        QFile::copy(rewrite.original, rewrite.path);
    };

    // The Windows-1252 converter's tables are loaded once, whatever the
    // file's size; the baseline includes them so the figures show what a
    // save needs for the file itself.
    const double bare = peakMemoryOf([] {});
    const double baseline = peakMemoryOf([] { encodeConfigLine(Line); });
    std::printf("%-7s %-8s %10s %10s %7s %12s %7s %9s %12s\n", "size", "case", "save ms", "cp ms", "ratio",
                "cp+flush ms", "ratio", "ns/byte", "peak +MiB");
    for (const auto& [size, rounds] : {std::pair{1 * MiB, 31}, std::pair{10 * MiB, 15}, std::pair{100 * MiB, 9}}) {
        writeConfig(kept, size, LoneCr::None);
        writeConfig(appended, size, LoneCr::None);
        for (Rewrite& rewrite : rewrites) {
            writeConfig(rewrite.original, size, rewrite.loneCr);
            rewrite.times.clear();
        }

        std::vector<double> cpTimes, durableCpTimes, keptTimes, appendTimes;
        std::vector<std::function<void()>> turns{
            [&] { cpTimes.push_back(millisecondsOf([&] { copyWithCp(kept, copy); })); },
            [&] { durableCpTimes.push_back(millisecondsOf([&] { copyDurably(kept, copy); })); },
            [&] { keptTimes.push_back(millisecondsOf([&] { save(kept); })); },
            [&] { appendTimes.push_back(millisecondsOf([&] { saveWhileOpen(appended); })); },
        };
        for (Rewrite& rewrite : rewrites)
            turns.push_back([&] { rewrite.times.push_back(millisecondsOf([&] { save(rewrite.path); })); });
        for (int round = 0; round < rounds; ++round) {
            for (const Rewrite& rewrite : rewrites)
                restore(rewrite);
            // Alternate which goes first.
            for (std::size_t turn = 0; turn < turns.size(); ++turn)
                turns[(round + turn) % turns.size()]();
        }

        for (const Rewrite& rewrite : rewrites)
            restore(rewrite);
        ::sync();
        const double cp = median(cpTimes);
        const double durableCp = median(durableCpTimes);
        const int megabytes = int(size / MiB);
        const auto print = [&](const char* name, const std::vector<double>& times, double peak) {
            const double ms = median(times);
            std::printf("%4d MB %-8s %10.2f %10.2f %7.2f %12.2f %7.2f %9.3f %12.1f\n", megabytes, name, ms, cp, ms / cp,
                        durableCp, ms / durableCp, ms * 1e6 / double(size), peak);
        };
        print("kept", keptTimes, peakMemoryOf([&] { save(kept); }) - baseline);
        print("in place", appendTimes, peakMemoryOf([&] { saveWhileOpen(appended); }) - baseline);
        for (const Rewrite& rewrite : rewrites)
            print(rewrite.name, rewrite.times, peakMemoryOf([&] { save(rewrite.path); }) - baseline);
        std::fflush(stdout);
    }
    std::printf("(peak +MiB: resident memory a save adds beyond %.1f MiB of a process that has loaded the converter;\n"
                " loading it costs %.1f MiB once. cp+flush: cp, then fsync of the copy)\n",
                baseline, baseline - bare);
    return 0;
}
