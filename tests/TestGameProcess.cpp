#include "game/GameProcess.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The real process table is read by the save's test, with a stand-in game.
class TestGameProcess : public QObject
{
    Q_OBJECT

private slots:
    void recognisesTheGameInTheProcessTable_data();
    void recognisesTheGameInTheProcessTable();
};

void TestGameProcess::recognisesTheGameInTheProcessTable_data()
{
    QTest::addColumn<QByteArray>("comm");
    QTest::addColumn<QByteArray>("commandLine");
    QTest::addColumn<bool>("running");

    QTest::newRow("short name as shipped") << QByteArray("SoF2MP.exe\n") << QByteArray("SoF2MP.exe") << true;
    QTest::newRow("Windows path under the loader")
        << QByteArray("wine64-preload\n") << QByteArray("C:\\Games\\SoF2\\SOF2MP.EXE\0+set\0fs_game\0", 38) << true;
    QTest::newRow("Linux path under Proton") << QByteArray("wine-preloader\n") << QByteArray("/p/SoF2/sof2mp.exe\0", 19) << true;
    QTest::newRow("a name ending in the game's") << QByteArray("notsof2mp.exe\n") << QByteArray("/x/notsof2mp.exe") << false;
    QTest::newRow("the game's name as an argument only") << QByteArray("vim\n") << QByteArray("vim\0SoF2MP.exe\0", 15) << false;
    QTest::newRow("a folder by the game's name") << QByteArray("sh\n") << QByteArray("C:\\SoF2MP.exe\\sh") << false;
}

void TestGameProcess::recognisesTheGameInTheProcessTable()
{
    QFETCH(QByteArray, comm);
    QFETCH(QByteArray, commandLine);
    QFETCH(bool, running);

    // Another process and an entry that is not a process stand beside it.
    QTemporaryDir proc;
    const QDir dir(proc.path());
    QVERIFY(dir.mkpath("1") && dir.mkpath("4242") && dir.mkpath("self"));
    for (const auto& [file, bytes] : {std::pair{"1/comm", QByteArray("systemd\n")}, {"4242/comm", comm},
                                      {"4242/cmdline", commandLine}, {"self/comm", QByteArray("SoF2MP.exe\n")}}) {
        QFile out(dir.filePath(file));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
    QCOMPARE(GameProcess(proc.path()).isRunning(), running);
}

QTEST_APPLESS_MAIN(TestGameProcess)
#include "TestGameProcess.moc"
