// Start-up time and peak memory of the real program against a bare Qt
// program that shows one empty window, alternating the two on a private X
// server. The clock stops when the X server maps the program's window.
#include "support/XvfbSession.h"

#include <QCoreApplication>
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
    long peakKilobytes;
};

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
    return Sample{*shownAfter, usage.ru_maxrss};
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
    if (!x.start()) {
        std::fprintf(stderr, "Xvfb did not start\n");
        return 1;
    }
    qputenv("DISPLAY", x.display().toLatin1());
    qunsetenv("QT_QPA_PLATFORM");
    QTemporaryDir runtimeDir; // keeps Qt from warning about a missing XDG_RUNTIME_DIR in every run
    qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit());

    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "cannot connect to %s\n", qPrintable(x.display()));
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    const char* programs[] = {VELTRANE_BARE_WINDOW, VELTRANE_BINARY};
    std::vector<Sample> samples[2];
    // One warm-up round fills the page cache for both programs.
    for (int round = -1; round < rounds; ++round) {
        for (int which : {0, 1}) {
            const std::optional<Sample> sample = measure(connection, programs[which]);
            if (!sample) {
                std::fprintf(stderr, "%s showed no window\n", programs[which]);
                return 1;
            }
            if (round >= 0)
                samples[which].push_back(*sample);
        }
    }
    xcb_disconnect(connection);

    const auto times = [&](int which) {
        std::vector<double> result;
        for (const Sample& s : samples[which])
            result.push_back(s.milliseconds);
        return median(result);
    };
    const auto peaks = [&](int which) {
        std::vector<long> result;
        for (const Sample& s : samples[which])
            result.push_back(s.peakKilobytes);
        return median(result);
    };
    std::printf("start-up to window shown, median of %d alternating runs\n", rounds);
    std::printf("%-10s %10s %12s\n", "program", "wall ms", "peak KiB");
    std::printf("%-10s %10.1f %12ld\n", "bare Qt", times(0), peaks(0));
    std::printf("%-10s %10.1f %12ld\n", "veltrane", times(1), peaks(1));
    std::printf("ratio wall time %.2f (target <= 1.25)\n", times(1) / times(0));
    std::printf("ratio peak memory %.2f (target <= 1.25)\n", double(peaks(1)) / double(peaks(0)));
    return 0;
}
