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
    QVERIFY(dir.mkpath("drive_c") && dir.mkpath("games") && dir.mkpath("dosdevices") && dir.mkpath("media disc"));
    QVERIFY(QFile::link(dir.filePath("drive_c"), dir.filePath("dosdevices/c:")));
    QVERIFY(QFile::link("../games", dir.filePath("dosdevices/d:")));
    QVERIFY(QFile::link(dir.filePath("gone"), dir.filePath("dosdevices/e:"))); // leads nowhere
    QVERIFY(QFile::link("/", dir.filePath("dosdevices/z:")));
    QFile hosts(dir.filePath("hosts"));
    QVERIFY(hosts.open(QIODevice::WriteOnly));

    // The root, a disc whose mount point holds a space, a file mounted over
    // a file (no drive), and the disc again over itself (one drive).
    const QByteArray disc = QFile::encodeName(dir.filePath("media")) + "\\040disc";
    const QList<MountTable::Mount> mounts = MountTable::parse(
        "22 1 8:1 / / rw - ext4 /dev/sda1 rw\n30 22 11:0 / " + disc + " ro - iso9660 /dev/sr0 ro\n31 22 8:1 /etc/h "
        + QFile::encodeName(hosts.fileName()) + " rw - ext4 /dev/sda1 rw\n32 30 11:0 / " + disc + " ro - iso9660 /dev/sr0 ro\n");
    QProcessEnvironment environment;
    environment.insert("WINEPREFIX", prefix.path());
    const QList<DriveCatalog::Drive> drives
        = DriveCatalog::build(mounts, WinePrefix::fromEnvironment(environment), {{"/dev/sr0", "GAME DISC"}});

    QStringList captions;
    for (const DriveCatalog::Drive& drive : drives)
        captions.append(drive.caption);
    QCOMPARE(captions, (QStringList{"/", dir.filePath("media disc") + " [GAME DISC]", "C: [" + dir.filePath("drive_c") + "]",
                                    "D: [" + dir.filePath("games") + "]", "Z: [/]"}));
    QCOMPARE(std::pair(drives[2].designation, drives[2].root), std::pair(QStringLiteral("C:"), dir.filePath("drive_c")));
    // A folder belongs to the drive whose root holds it most closely, the
    // system's own before Wine's drive Z: of the same root.
    QCOMPARE(DriveCatalog::driveHolding(drives, drives[2].root + "/Program Files"), 2);
    QCOMPARE(DriveCatalog::driveHolding(drives, drives[2].root + "2"), 0);
    QCOMPARE(DriveCatalog::driveHolding(drives, drives[3].root), 3);
}

QTEST_APPLESS_MAIN(TestDriveCatalog)
#include "TestDriveCatalog.moc"
