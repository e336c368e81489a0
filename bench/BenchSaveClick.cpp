// How long the window stops answering when Save is pressed on the default
// path right after start, while the search for the game's copies still runs:
// a home holds 3,000 Proton prefixes, the game in the last one, and the
// system's caches are dropped first (as root) so that the search meets a cold
// disk. A timer that should fire every millisecond tells the longest gap in
// the window's event loop from the click until the line is on the disk.
//
//   build/bench/BenchSaveClick [prefixes]     (default 3000)

#include "app/Application.h"
#include "app/Form1.h"
#include "app/FormDefinition.h"
#include "game/DriveCatalog.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <fstream>
#include <unistd.h>

namespace {

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Only root may drop the system's caches; say whether they were.
bool dropCaches()
{
    ::sync();
    std::ofstream drop("/proc/sys/vm/drop_caches");
    return drop && (drop << "3\n") && drop.flush();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const int prefixes = argc > 1 ? std::atoi(argv[1]) : 3000;
    QTemporaryDir home;
    const QString compatdata = home.filePath(QStringLiteral(".local/share/Steam/steamapps/compatdata"));
    QString config;
    for (int app = 0; app < prefixes; ++app) {
        const QString programs = QStringLiteral("%1/%2/pfx/drive_c/Program Files").arg(compatdata).arg(1000 + app);
        if (!QDir().mkpath(programs + QStringLiteral("/Other Game")))
            return 1;
        if (app + 1 == prefixes) {
            QDir().mkpath(programs + QStringLiteral("/SoF2/base/mp"));
            config = programs + QStringLiteral("/SoF2/base/mp/sof2mp.cfg");
            writeFile(config, "A\r\n");
        }
    }
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("WINEPREFIX", QFile::encodeName(home.filePath(QStringLiteral(".wine"))));
    const bool cold = dropCaches();

    QApplication app(argc, argv);
    configureApplication(app);
    Form1 form(home.path(), DriveCatalog::fromSystem());
    form.show();
    form.findGameDrives();
    form.findChild<QRadioButton*>(QStringLiteral("Option1"))->click();

    QElapsedTimer clock;
    qint64 lastTick = 0;
    qint64 longestGap = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longestGap = std::max(longestGap, now - lastTick);
        lastTick = now;
        if (QFile(config).size() > 3)
            app.quit();
    });
    ticker.start(1);
    QTimer::singleShot(10000, &app, &QApplication::quit);
    clock.start();
    form.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    longestGap = std::max(longestGap, clock.nsecsElapsed());
    lastTick = clock.nsecsElapsed();
    app.exec();

    const bool saved = QFile(config).size() > 3;
    std::printf("%d Proton prefixes, %s cache: longest the window stopped answering %.1f ms; line on disk %s after %.0f ms\n",
                prefixes, cold ? "cold" : "warm (not root, caches kept)", longestGap / 1e6, saved ? "" : "NOT",
                clock.nsecsElapsed() / 1e6);
    return saved ? 0 : 1;
}
