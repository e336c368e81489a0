#include "game/DriveCatalog.h"

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
    void wineDrivesFollowTheMounts();
};

void TestDriveCatalog::browsableVolume_data()
{
    QTest::addColumn<QString>("mountPoint");
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<bool>("browsable");

    QTest::newRow("root") << "/" << QByteArray("ext4") << true;
    QTest::newRow("removable under /run/media") << "/run/media/p/DISC" << QByteArray("iso9660") << true;
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

void TestDriveCatalog::wineDrivesFollowTheMounts()
{
    QTemporaryDir prefix;
    const QDir dir(prefix.path());
    QVERIFY(dir.mkpath("drive_c") && dir.mkpath("games") && dir.mkpath("dosdevices"));
    QVERIFY(QFile::link(dir.filePath("drive_c"), dir.filePath("dosdevices/c:")));
    QVERIFY(QFile::link(dir.filePath("games"), dir.filePath("dosdevices/d:")));
    QVERIFY(QFile::link(dir.filePath("gone"), dir.filePath("dosdevices/e:"))); // leads nowhere
    QVERIFY(QFile::link("/", dir.filePath("dosdevices/z:")));

    QProcessEnvironment environment;
    environment.insert("WINEPREFIX", prefix.path());
    const QList<DriveCatalog::Drive> drives
        = DriveCatalog::build({QStorageInfo(QDir::rootPath())}, WinePrefix::fromEnvironment(environment));

    QCOMPARE(drives.size(), 4);
    QCOMPARE(drives[0].designation, QDir::rootPath());
    QCOMPARE(drives[1].designation, "C:");
    QCOMPARE(drives[1].root, QFileInfo(dir.filePath("drive_c")).canonicalFilePath());
    QCOMPARE(drives[1].caption, "C: [" + drives[1].root + "]");
    QCOMPARE(drives[2].designation, "D:");
    QCOMPARE(drives[2].root, QFileInfo(dir.filePath("games")).canonicalFilePath());
    // A folder belongs to the drive whose root holds it most closely, the
    // system's own before Wine's drive Z: of the same root.
    QCOMPARE(DriveCatalog::driveHolding(drives, drives[1].root + "/Program Files"), 1);
    QCOMPARE(DriveCatalog::driveHolding(drives, drives[1].root + "2"), 0);
    QCOMPARE(DriveCatalog::driveHolding(drives, drives[2].root), 2);
}

QTEST_APPLESS_MAIN(TestDriveCatalog)
#include "TestDriveCatalog.moc"
