#include "game/WindowsPath.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestWindowsPath : public QObject
{
    Q_OBJECT

private slots:
    void toNative_data();
    void toNative();
};

void TestWindowsPath::toNative_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected"); // "%C" stands for drive C's folder; null for no folder at all

    const QString game = QStringLiteral("%C/Program Files/SoF2/base/mp/sof2mp.cfg");
    QTest::newRow("other case everywhere") << "c:\\PROGRAM FILES\\sof2\\BASE\\Mp\\SOF2MP.Cfg" << game;
    QTest::newRow("missing file keeps its typed name") << "C:\\program files\\SoF2\\base\\mp\\New.cfg"
                                                       << "%C/Program Files/SoF2/base/mp/New.cfg";
    QTest::newRow("doubled, forward and mixed slashes") << "C:/\\Program Files\\\\SoF2/base/mp\\sof2mp.cfg" << game;
    QTest::newRow("trailing spaces and dots dropped") << "C:\\Program Files. \\SoF2 \\base..\\mp\\sof2mp.cfg. " << game;
    QTest::newRow("dot and dot-dot") << "C:\\Program Files\\.\\nowhere\\..\\SoF2\\base\\.. \\base\\mp\\sof2mp.cfg" << game;
    QTest::newRow("dot-dot stops at the drive's root") << "C:\\..\\..\\outside.cfg" << "%C/outside.cfg";
    QTest::newRow("300 wrong-case parts") << "C:\\" + QString("PROGRAM FILES\\..\\").repeated(300) + "program files/SOF2/base/mp/sof2mp.cfg"
                                          << game;
    QTest::newRow("drive not in the prefix") << "D:\\sof2mp.cfg" << QString();
    QTest::newRow("drive link leading nowhere") << "e:\\sof2mp.cfg" << QString();
    for (const char* native : {"/tmp/sof2mp.cfg", "base/mp/sof2mp.cfg", "C:sof2mp.cfg", "a\\b"})
        QTest::addRow("native %s", native) << native << native;
}

void TestWindowsPath::toNative()
{
    QFETCH(QString, typed);
    QFETCH(QString, expected);

    // A prefix as Wine lays it out: drive links in dosdevices, drive C a
    // folder beside them.
    QTemporaryDir root;
    const QDir dir(root.path());
    QVERIFY(dir.mkpath("prefix/dosdevices") && dir.mkpath("prefix/drive_c/Program Files/SoF2/base/mp"));
    QVERIFY(QFile::link("../drive_c", dir.filePath("prefix/dosdevices/c:")));
    QVERIFY(QFile::link("/nonexistent-veltrane-drive", dir.filePath("prefix/dosdevices/e:")));
    QFile config(dir.filePath("prefix/drive_c/Program Files/SoF2/base/mp/sof2mp.cfg"));
    QVERIFY(config.open(QIODevice::WriteOnly));
    const WinePrefix prefix(dir.filePath("prefix"));
    const std::optional<QString> native = WindowsPath::toNative(typed, prefix);
    if (expected.isNull())
        QCOMPARE(native, std::nullopt);
    else
        QCOMPARE(native, QString(expected).replace("%C", QDir(dir.filePath("prefix/drive_c")).canonicalPath()));
}

QTEST_APPLESS_MAIN(TestWindowsPath)
#include "TestWindowsPath.moc"
