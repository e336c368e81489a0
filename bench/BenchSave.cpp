// Times Save against `cp` of the same file, for configs of about 1 MB, 10 MB
// and 100 MB of short CR LF lines. The two alternate, so that both meet the
// same cache and disk, and everything either of them leaves dirty is synced
// outside the timing. Prints medians, their ratio, time per byte and the
// memory a save needs beyond the program's own.
//
//   build/bench/BenchSave [folder]     (default: the system's temporary folder)

#include "cfgfile/ConfigRewrite.h"
#include "cfgfile/ConfigSaver.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

const QString Line = QStringLiteral("bind KP_UPARROW Say \"^1hello\"");
constexpr qint64 MiB = 1 << 20;

// The config written out in pieces, so the benchmark itself stays small in
// memory. With `loneCr` its first line ends in a lone CR, so that a save has
// to write the whole file anew.
void writeConfig(const QString& path, qint64 size, bool loneCr)
{
    QByteArray piece;
    while (piece.size() < MiB)
        piece += "bind KP_5 Say \"^1hello there\"\r\n";
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    if (loneCr)
        file.write("seta old \"1\"\r");
    for (qint64 written = 0; written < size; written += piece.size())
        file.write(piece);
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

void save(const QString& path)
{
    if (ConfigSaver().addLine(path, Line))
        std::fprintf(stderr, "save of %s failed\n", qPrintable(path));
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
    const QString appended = folder.filePath(QStringLiteral("append.cfg"));
    const QString replaced = folder.filePath(QStringLiteral("rewrite.cfg"));
    const QString rewriteTemplate = folder.filePath(QStringLiteral("rewrite-template.cfg"));
    const QString copy = folder.filePath(QStringLiteral("copy.cfg"));

    // The Windows-1252 converter's tables are loaded once, whatever the
    // file's size; the baseline includes them so the figures show what a
    // save needs for the file itself.
    const double bare = peakMemoryOf([] {});
    const double baseline = peakMemoryOf([] { ConfigRewrite::encodeLine(Line); });
    std::printf("%-7s %-8s %10s %10s %7s %9s %12s\n", "size", "case", "save ms", "cp ms", "ratio", "ns/byte",
                "peak +MiB");
    for (const auto& [size, rounds] : {std::pair{1 * MiB, 31}, std::pair{10 * MiB, 15}, std::pair{100 * MiB, 9}}) {
        writeConfig(appended, size, false);
        writeConfig(rewriteTemplate, size, true);

        std::vector<double> cpTimes, appendTimes, rewriteTimes;
        for (int round = 0; round < rounds; ++round) {
            QFile::remove(replaced);
            QFile::copy(rewriteTemplate, replaced);
            // Alternate which of the three goes first.
            for (int turn = 0; turn < 3; ++turn) {
                switch ((round + turn) % 3) {
                case 0:
                    cpTimes.push_back(millisecondsOf([&] { copyWithCp(appended, copy); }));
                    break;
                case 1:
                    appendTimes.push_back(millisecondsOf([&] { save(appended); }));
                    break;
                case 2:
                    rewriteTimes.push_back(millisecondsOf([&] { save(replaced); }));
                    break;
                }
            }
        }

        QFile::remove(replaced);
        QFile::copy(rewriteTemplate, replaced);
        ::sync();
        const double appendPeak = peakMemoryOf([&] { save(appended); }) - baseline;
        const double rewritePeak = peakMemoryOf([&] { save(replaced); }) - baseline;

        const double cp = median(cpTimes);
        const int megabytes = int(size / MiB);
        for (const auto& [name, times, peak] :
             {std::tuple{"append", &appendTimes, appendPeak}, std::tuple{"rewrite", &rewriteTimes, rewritePeak}}) {
            const double ms = median(*times);
            std::printf("%4d MB %-8s %10.2f %10.2f %7.2f %9.3f %12.1f\n", megabytes, name, ms, cp, ms / cp,
                        ms * 1e6 / double(size), peak);
        }
        std::fflush(stdout);
    }
    std::printf("(peak +MiB: resident memory a save adds beyond %.1f MiB of a process that has loaded the converter;\n"
                " loading it costs %.1f MiB once)\n",
                baseline, baseline - bare);
    return 0;
}
