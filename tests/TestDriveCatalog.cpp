#include "platform/DriveCatalog.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestDriveCatalog : public QObject
{
    Q_OBJECT

private slots:
    void browsableVolume_data();
    void browsableVolume();
    void driveHolding_data();
    void driveHolding();
    void wineDrivesFollowTheMounts();
    void systemListStartsWithTheRoot();
};

void TestDriveCatalog::browsableVolume_data()
{
    QTest::addColumn<QString>("mountPoint");
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<bool>("browsable");

    QTest::newRow("root") << "/" << QByteArray("ext4") << true;
    QTest::newRow("usb stick under /media") << "/media/p/STICK" << QByteArray("vfat") << true;
    QTest::newRow("removable under /run/media") << "/run/media/p/DISC" << QByteArray("iso9660") << true;
    QTest::newRow("network share") << "/mnt/share" << QByteArray("cifs") << true;
    QTest::newRow("proc") << "/proc" << QByteArray("proc") << false;
    QTest::newRow("cgroup") << "/sys/fs/cgroup/cpu" << QByteArray("cgroup") << false;
    QTest::newRow("memory file system anywhere") << "/mnt/scratch" << QByteArray("tmpfs") << false;
    QTest::newRow("real file system under /run") << "/run/user/1000/doc" << QByteArray("ext4") << false;
    QTest::newRow("a name merely starting like /run") << "/runtime" << QByteArray("ext4") << true;
}

void TestDriveCatalog::browsableVolume()
{
    QFETCH(QString, mountPoint);
    QFETCH(QByteArray, type);
    QFETCH(bool, browsable);
    QCOMPARE(DriveCatalog::isBrowsableVolume(mountPoint, type), browsable);
}

void TestDriveCatalog::driveHolding_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<int>("drive");

    // 0 "/", 1 "/media/usb", 2 "C:" -> /w/drive_c, 3 "Z:" -> "/"
    QTest::newRow("folder on the root drive") << "/home/p" << 0;
    QTest::newRow("inside a mount") << "/media/usb/games" << 1;
    QTest::newRow("sibling with the mount's name as prefix") << "/media/usb2" << 0;
    QTest::newRow("inside a Wine drive") << "/w/drive_c/Program Files" << 2;
}

void TestDriveCatalog::driveHolding()
{
    QFETCH(QString, folder);
    QFETCH(int, drive);
    const QList<DriveCatalog::Drive> drives = {
        {"/", "/", "/"},
        {"/media/usb", "/media/usb", "/media/usb"},
        {"C:", "/w/drive_c", "C: [/w/drive_c]"},
        {"Z:", "/", "Z: [/]"},
    };
    QCOMPARE(DriveCatalog::driveHolding(drives, folder), drive);
}

void TestDriveCatalog::wineDrivesFollowTheMounts()
{
    QTemporaryDir prefix;
    QVERIFY(prefix.isValid());
    const QDir dir(prefix.path());
    QVERIFY(dir.mkpath("drive_c") && dir.mkpath("games") && dir.mkpath("dosdevices"));
    QVERIFY(QFile::link(dir.filePath("drive_c"), dir.filePath("dosdevices/c:")));
    QVERIFY(QFile::link(dir.filePath("games"), dir.filePath("dosdevices/d:")));
    QVERIFY(QFile::link(dir.filePath("gone"), dir.filePath("dosdevices/e:"))); // leads nowhere

    QProcessEnvironment environment;
    environment.insert("WINEPREFIX", prefix.path());
    const QList<DriveCatalog::Drive> drives
        = DriveCatalog::build({QStorageInfo(QDir::rootPath())}, WinePrefix::fromEnvironment(environment));

    QCOMPARE(drives.size(), 3);
    QCOMPARE(drives[0].designation, QDir::rootPath());
    QCOMPARE(drives[1].designation, "C:");
    QCOMPARE(drives[1].root, QFileInfo(dir.filePath("drive_c")).canonicalFilePath());
    QCOMPARE(drives[1].caption, "C: [" + drives[1].root + "]");
    QCOMPARE(drives[2].designation, "D:");
    QCOMPARE(drives[2].root, QFileInfo(dir.filePath("games")).canonicalFilePath());
}

void TestDriveCatalog::systemListStartsWithTheRoot()
{
    const QList<DriveCatalog::Drive> drives = DriveCatalog::fromSystem();
    QVERIFY(!drives.isEmpty());
    QCOMPARE(drives.first().designation, QDir::rootPath());
    for (const DriveCatalog::Drive& drive : drives) {
        QVERIFY2(!drive.root.startsWith("/proc") && !drive.root.startsWith("/sys"), qPrintable(drive.root));
    }
}

QTEST_APPLESS_MAIN(TestDriveCatalog)
#include "TestDriveCatalog.moc"
