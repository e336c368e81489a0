// Start-up time and peak memory of the real program against a bare Qt
// program that shows one empty window, alternating them on a private X
// server. The clock stops when the X server maps the program's window.
// A third program, the bare window with one line of text, shows what any
// window with text pays for its fonts; that one is the yardstick. CPU time
// is given beside the wall time because it barely moves when other work
// shares the machine. Every program runs with a home that holds the game in
// every place the real program looks for it, beside the usual clutter of a
// Steam library: the program starts that search once its window is shown,
// and the search must not hold the window up.
#include "xserver/XvfbSession.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

struct Sample
{
    double milliseconds;
    double cpuMilliseconds;
    long peakKilobytes;
};

double milliseconds(const timeval& time)
{
    return time.tv_sec * 1e3 + time.tv_usec / 1e3;
}

// Runs a program until its first top-level window is mapped, then ends it.
std::optional<Sample> measure(xcb_connection_t* connection, const char* program)
{
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    char* argv[] = {const_cast<char*>(program), nullptr};
    if (posix_spawn(&pid, program, nullptr, nullptr, argv, environ) != 0)
        return std::nullopt;

    std::optional<double> shownAfter;
    pollfd fd{xcb_get_file_descriptor(connection), POLLIN, 0};
    while (!shownAfter) {
        if (poll(&fd, 1, 20000) <= 0)
            break;
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY
                && !reinterpret_cast<xcb_map_notify_event_t*>(event)->override_redirect && !shownAfter) {
                shownAfter = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            }
            free(event);
        }
    }
    kill(pid, SIGKILL);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (!shownAfter)
        return std::nullopt;
    return Sample{*shownAfter, milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime), usage.ru_maxrss};
}

void writeFile(const QString& path, const QByteArray& bytes = {})
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

// What Wine puts in a fresh prefix, where the game is not.
void writeFreshPrefix(const QString& prefix)
{
    for (const char* folder : {"windows/system32", "users/steamuser", "ProgramData", "Program Files/Common Files",
                               "Program Files/Internet Explorer", "Program Files/Windows NT",
                               "Program Files (x86)/Common Files", "Program Files (x86)/Windows Media Player"})
        QDir().mkpath(prefix + "/drive_c/" + folder);
    for (int i = 0; i < 200; ++i)
        writeFile(prefix + QStringLiteral("/drive_c/windows/system32/lib%1.dll").arg(i));
}

void writeGame(const QString& folder)
{
    writeFile(folder + "/SoF2MP.exe");
    writeFile(folder + "/base/mp/sof2mp.cfg", "seta name \"Player\"\r\n");
}

// Every layout the program searches: a Wine prefix (the game three folders
// down too), two Steam libraries with forty other games and forty Proton
// prefixes, Flatpak Steam, Lutris in both its places, Heroic and Flatpak
// Heroic, Bottles and ~/Games.
void writeGameHome(const QString& home)
{
    writeFreshPrefix(home + "/.wine");
    writeGame(home + "/.wine/drive_c/Program Files/Soldier of Fortune II - Double Helix");
    const QString steam = home + "/.local/share/Steam";
    writeFile(steam + "/steamapps/libraryfolders.vdf",
              QStringLiteral("\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"%1\"\n\t}\n"
                             "\t\"1\"\n\t{\n\t\t\"path\"\t\t\"%2/Library\"\n\t}\n}\n")
                  .arg(steam, home)
                  .toUtf8());
    QDir().mkpath(home + "/.steam");
    QFile::link(steam, home + "/.steam/steam");
    for (const QString& library : {steam, home + "/Library"}) {
        for (int i = 0; i < 20; ++i) {
            writeFile(library + QStringLiteral("/steamapps/common/Game %1/game.exe").arg(i));
            writeFreshPrefix(library + QStringLiteral("/steamapps/compatdata/%1/pfx").arg(1000 + i));
        }
    }
    writeGame(steam + "/steamapps/common/SoF2");
    writeGame(home + "/Library/steamapps/compatdata/2620/pfx/drive_c/Program Files (x86)/SoF2");
    writeGame(home + "/.var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/common/SoF2");
    writeFile(home + "/.config/lutris/games/sof2-1.yml", "game:\n  exe: SoF2MP.exe\n  prefix: ~/Games/sof2\n");
    writeFreshPrefix(home + "/Games/sof2");
    writeGame(home + "/Games/sof2/drive_c/Program Files/SoF2");
    writeFile(home + "/.config/heroic/GamesConfig/sof2.json",
              QStringLiteral("{\"sof2\": {\"winePrefix\": \"%1/Games/Heroic/Prefixes/sof2\"}}").arg(home).toUtf8());
    writeFreshPrefix(home + "/Games/Heroic/Prefixes/sof2");
    writeGame(home + "/Games/Heroic/Prefixes/sof2/drive_c/Games/SoF2");
    writeFreshPrefix(home + "/.local/share/bottles/bottles/Games");
    writeGame(home + "/.local/share/bottles/bottles/Games/drive_c/Program Files/SoF2");
    writeGame(home + "/Games/SoF2 Gold");
    writeGame(home + "/.wine/drive_c/Games/Raven/Soldier of Fortune II");
    writeFile(home + "/.local/share/lutris/games/sof2-2.yml",
              QStringLiteral("game:\n  working_dir: %1/Lutris/SoF2\n").arg(home).toUtf8());
    writeGame(home + "/Lutris/SoF2");
    writeFile(home + "/.var/app/com.heroicgameslauncher.hgl/config/heroic/GamesConfig/sof2.json",
              QStringLiteral("{\"sof2\": {\"winePrefix\": \"%1/Games/Heroic/Prefixes/sof2\"}}").arg(home).toUtf8());
}

template<class T>
T median(std::vector<T> values)
{
    std::ranges::sort(values);
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(3, atoi(argv[1])) : 21;

    XvfbSession x;
    if (!x.startForThisProcess()) {
        std::fprintf(stderr, "Xvfb did not start\n");
        return 1;
    }
    QTemporaryDir runtimeDir; // keeps Qt from warning about a missing XDG_RUNTIME_DIR in every run
    qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit());
    QTemporaryDir home;
    writeGameHome(home.path());
    qputenv("HOME", QFile::encodeName(home.path()));
    qunsetenv("WINEPREFIX");

    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "cannot connect to %s\n", qPrintable(x.display()));
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    struct Program
    {
        const char* name;
        const char* path;
        std::vector<Sample> samples;
    };
    Program programs[] = {
        {"bare Qt", VELTRANE_BARE_WINDOW, {}},
        {"text", VELTRANE_TEXT_WINDOW, {}},
        {"veltrane", VELTRANE_BINARY, {}},
    };
    // One warm-up round fills the page cache for every program.
    for (int round = -1; round < rounds; ++round) {
        for (Program& program : programs) {
            const std::optional<Sample> sample = measure(connection, program.path);
            if (!sample) {
                std::fprintf(stderr, "%s showed no window\n", program.path);
                return 1;
            }
            if (round >= 0)
                program.samples.push_back(*sample);
        }
    }
    xcb_disconnect(connection);

    struct Medians
    {
        double wall;
        double cpu;
        double peak;
    };
    const auto mediansOf = [](const Program& program) {
        std::vector<double> wall, cpu, peak;
        for (const Sample& s : program.samples) {
            wall.push_back(s.milliseconds);
            cpu.push_back(s.cpuMilliseconds);
            peak.push_back(double(s.peakKilobytes));
        }
        return Medians{median(wall), median(cpu), median(peak)};
    };
    const Medians bare = mediansOf(programs[0]);
    const Medians text = mediansOf(programs[1]);
    std::printf("start-up to window shown, median of %d alternating runs\n", rounds);
    std::printf("%-10s %10s %10s %12s\n", "program", "wall ms", "cpu ms", "peak KiB");
    for (const Program& program : programs) {
        const Medians m = mediansOf(program);
        std::printf("%-10s %10.1f %10.1f %12.0f\n", program.name, m.wall, m.cpu, m.peak);
    }
    for (const Program* program : {&programs[1], &programs[2]}) {
        const Medians m = mediansOf(*program);
        std::printf("%-10s / bare Qt: wall time %.2f, cpu time %.2f, peak memory %.2f\n", program->name,
                    m.wall / bare.wall, m.cpu / bare.cpu, m.peak / bare.peak);
    }
    const Medians veltrane = mediansOf(programs[2]);
    std::printf("veltrane   / text:    wall time %.2f, cpu time %.2f, peak memory %.2f (target <= 1.10)\n",
                veltrane.wall / text.wall, veltrane.cpu / text.cpu, veltrane.peak / text.peak);
    return 0;
}
