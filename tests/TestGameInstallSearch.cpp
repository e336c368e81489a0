#include "game/ConfigTarget.h"
#include "game/GameInstallSearch.h"
#include "platform/SystemError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

// Each row builds a home with one or more of the layouts that game launchers
// leave, then searches it. A layout entry is a file, "file=content",
// "link@target" or "fifo|"; %H stands for the home; each file is a minute newer
// than the one before, or with a leading "+" two days ahead of the clock. An
// install is "Source: folder".
class TestGameInstallSearch : public QObject
{
    Q_OBJECT

private slots:
    void findsEveryLayout_data();
    void findsEveryLayout();
};

void TestGameInstallSearch::findsEveryLayout_data()
{
    QTest::addColumn<QStringList>("layout");
    QTest::addColumn<QStringList>("installs");
    QTest::addColumn<int>("newest"); // where a save to the default path goes; -1: nowhere found

    const QString steamGame = ".local/share/Steam/steamapps/common/SoF2/base/mp";
    QTest::newRow("Wine prefix, names in other case")
        << QStringList{".wine/drive_c/PROGRAM FILES (X86)/SoF2/Base/MP/SOF2MP.CFG"}
        << QStringList{"Wine: .wine/drive_c/PROGRAM FILES (X86)/SoF2/Base/MP"} << 0;
    QTest::newRow("prefix holding installs one to three folders under drive_c or Program Files")
        << QStringList{".wine/drive_c/Program Files (x86)/Activision/Raven/SoF2/base/mp/sof2mp.cfg",
                       ".wine/drive_c/Games/Raven/SoF2/base/mp/sof2mp.cfg", ".wine/drive_c/SoF2/base/mp/sof2mp.cfg"}
        << QStringList{"Wine: .wine/drive_c/Games/Raven/SoF2/base/mp",
                       "Wine: .wine/drive_c/Program Files (x86)/Activision/Raven/SoF2/base/mp", "Wine: .wine/drive_c/SoF2/base/mp"}
        << 2;
    QTest::newRow("too deep, inside Wine's own folders, or a folder by the config's name")
        << QStringList{".wine/drive_c/a/b/c/d/base/mp/sof2mp.cfg", ".wine/drive_c/Program Files/a/b/c/d/base/mp/sof2mp.cfg", ".wine/drive_c/windows/SoF2/base/mp/sof2mp.cfg",
                       ".wine/drive_c/Program Files/Common Files/base/mp/sof2mp.cfg", ".wine/drive_c/G/base/mp/sof2mp.cfg/x",
                       ".wine/drive_c/USERS/SoF2/base/mp/sof2mp.cfg"}
        << QStringList{} << -1;
    const QString flatpakGame = ".var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/common/SoF2/base/mp";
    QTest::newRow("Steam's common folders, found once through ~/.steam/steam, and Flatpak's")
        << QStringList{steamGame + "/sof2mp.cfg", ".steam/steam@%H/.local/share/Steam", flatpakGame + "/sof2mp.cfg"}
        << QStringList{"Steam: " + steamGame, "Steam: " + flatpakGame} << 1;
    QTest::newRow("Proton prefix in a second library")
        << QStringList{".local/share/Steam/steamapps/libraryfolders.vdf=\"libraryfolders\"\n{\n\t\"0\"\n\t{\n"
                       "\t\t\"path\"\t\t\"%H/.local/share/Steam\"\n\t}\n\t\"1\"\n\t{\n\t\t\"path\"\t\t\"%H/Library2\"\n"
                       "\t\t\"apps\"\n\t\t{\n\t\t\t\"2620\"\t\t\"123\"\n\t\t}\n\t}\n}\n",
                       "Library2/steamapps/compatdata/2620/pfx/drive_c/Program Files (x86)/SoF2/base/mp/sof2mp.cfg"}
        << QStringList{"Proton: Library2/steamapps/compatdata/2620/pfx/drive_c/Program Files (x86)/SoF2/base/mp"} << 0;
    QTest::newRow("library in the file's older form")
        << QStringList{".local/share/Steam/steamapps/libraryfolders.vdf=\"LibraryFolders\"\n{\n\t\"1\"\t\t\"%H/Old\"\n}\n",
                       "Old/steamapps/common/SoF2/base/mp/sof2mp.cfg"}
        << QStringList{"Steam: Old/steamapps/common/SoF2/base/mp"} << 0;
    QTest::newRow("Lutris's prefix, folder or executable, in every place its games are kept")
        << QStringList{".config/lutris/games/sof2-1.yml=game:\n  exe: x.exe\n  prefix: '~/Games/sof2'\n",
                       ".local/share/lutris/games/2.yml=game:\n  game_path: \"%H/A\"\n",
                       ".var/app/net.lutris.Lutris/data/lutris/games/3.yml=game:\n  working_dir: %H/B\n",
                       ".var/app/net.lutris.Lutris/config/lutris/games/4.yml=game:\n  exe: %H/C/SoF2MP.exe\n",
                       "Games/sof2/drive_c/SoF2/base/mp/sof2mp.cfg", "A/SoF2 Gold/base/mp/sof2mp.cfg", "B/base/mp/sof2mp.cfg",
                       "C/base/mp/sof2mp.cfg"}
        << QStringList{"Lutris: Games/sof2/drive_c/SoF2/base/mp", "Lutris: A/SoF2 Gold/base/mp", "Lutris: C/base/mp",
                       "Lutris: B/base/mp"}
        << 2;
    QTest::newRow("Heroic's prefixes, Flatpak's too")
        << QStringList{".config/heroic/GamesConfig/abc.json={\"abc\": {\"winePrefix\": \"%H/Games/Heroic/Prefixes/SoF2\"}}",
                       ".var/app/com.heroicgameslauncher.hgl/config/heroic/GamesConfig/a.json={\"a\": {\"winePrefix\": \"%H/P\"}}",
                       "P/drive_c/SoF2/base/mp/sof2mp.cfg",
                       "Games/Heroic/Prefixes/SoF2/drive_c/Program Files/SoF2/base/mp/sof2mp.cfg"}
        << QStringList{"Heroic: Games/Heroic/Prefixes/SoF2/drive_c/Program Files/SoF2/base/mp", "Heroic: P/drive_c/SoF2/base/mp"}
        << 0;
    // Opened, each would wait for a writer for good.
    QTest::newRow("FIFOs for a launcher's settings")
        << QStringList{".local/share/Steam/steamapps/libraryfolders.vdf|", ".config/lutris/games/a.yml|",
                       ".config/heroic/GamesConfig/a.json|", steamGame + "/sof2mp.cfg"}
        << QStringList{"Steam: " + steamGame} << 0;
    QTest::newRow("a config linked out of its game's folder is none")
        << QStringList{".bashrc", "Games/A/base/mp/sof2mp.cfg@%H/.bashrc", "Games/B/keep.cfg", "Games/B/base/mp/sof2mp.cfg@../../keep.cfg"}
        << QStringList{"Games: Games/B/base/mp"} << 0;
    QTest::newRow("a date in the future is not the newest")
        << QStringList{"+Games/A/base/mp/sof2mp.cfg", "Games/B/base/mp/sof2mp.cfg"}
        << QStringList{"Games: Games/A/base/mp", "Games: Games/B/base/mp"} << 1;
    QTest::newRow("Bottles")
        << QStringList{".local/share/bottles/bottles/Games/drive_c/Program Files/SoF2/base/mp/sof2mp.cfg"}
        << QStringList{"Bottles: .local/share/bottles/bottles/Games/drive_c/Program Files/SoF2/base/mp"} << 0;
    QTest::newRow("folder of games under ~/Games") << QStringList{"Games/Shooters/SoF2/base/mp/sof2mp.cfg"}
                                                   << QStringList{"Games: Games/Shooters/SoF2/base/mp"} << 0;
}

void TestGameInstallSearch::findsEveryLayout()
{
    QFETCH(QStringList, layout);
    QFETCH(QStringList, installs);
    QFETCH(int, newest);

    QTemporaryDir home;
    const QDir dir(home.path());
    QDateTime changed = QDateTime::currentDateTime().addDays(-1);
    QStringList fifos;
    for (QString entry : layout) {
        entry.replace("%H", home.path());
        const bool future = entry.startsWith('+');
        const qsizetype link = entry.indexOf('@');
        const qsizetype content = entry.indexOf('=');
        const QString path = dir.filePath(entry.first(link >= 0 ? link : content >= 0 ? content : entry.size()).remove('+').remove('|'));
        QVERIFY(dir.mkpath(QFileInfo(path).path()));
        if (link >= 0) {
            QVERIFY(QFile::link(entry.sliced(link + 1), path));
            continue;
        }
        if (entry.endsWith('|')) {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
            fifos.append(path);
            continue;
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content >= 0 ? entry.sliced(content + 1).toUtf8() : QByteArray());
        changed = changed.addSecs(60);
        QVERIFY(file.setFileTime(future ? QDateTime::currentDateTime().addDays(2) : changed, QFileDevice::FileModificationTime));
    }

    const WinePrefix prefix(home.path() + "/.wine");
    auto search = std::async(std::launch::async, [&] { return GameInstallSearch(home.path(), prefix).find(QDeadlineTimer::Forever); });
    // A reader stuck on a FIFO is let go by a writer that comes and goes.
    bool waited = false;
    while (search.wait_for(std::chrono::seconds(2)) != std::future_status::ready) {
        waited = true;
        for (const QString& fifo : fifos)
            ::close(::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK));
    }
    QVERIFY2(!waited, "the search waited on a FIFO");
    const QList<GameInstallSearch::Install> copies = search.get();
    QStringList found;
    QStringList configs;
    for (const GameInstallSearch::Install& install : copies) {
        QVERIFY(QFileInfo(install.config).isFile());
        QCOMPARE(QFileInfo(install.config).path(), install.folder);
        found.append(install.source + ": " + dir.relativeFilePath(install.folder));
        configs.append(install.config);
    }
    QCOMPARE(found, installs);

    // Left at its default, the path leads to the config changed last, and
    // says so; any other path is taken as typed, "~/" as the home folder.
    const QString defaultPath = QStringLiteral("C:\\sof2mp.cfg");
    const ConfigTarget played = ConfigTarget::resolve(defaultPath, defaultPath, prefix, copies);
    QCOMPARE(played.nativePath(), configs.value(newest));
    if (newest >= 0)
        QVERIFY(played.description().endsWith(QStringLiteral(" \u2014 the copy played last (%1)").arg(copies[newest].source)));
    QCOMPARE(ConfigTarget::resolve(home.path(), defaultPath, prefix, copies).nativePath(), home.path());
    QCOMPARE(ConfigTarget::resolve("~/mine.cfg", defaultPath, prefix, copies).nativePath(), QDir::homePath() + "/mine.cfg");
    QCOMPARE(ConfigTarget::resolve("D:\\mine.cfg", defaultPath, prefix, copies).missing(), std::optional(SystemError::pathNotFound()));
}

QTEST_APPLESS_MAIN(TestGameInstallSearch)
#include "TestGameInstallSearch.moc"
