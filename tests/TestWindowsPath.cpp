#include "platform/WindowsPath.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestWindowsPath : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void toNative_data();
    void toNative();
    void noPrefixMeansNoFolder();

private:
    QTemporaryDir m_root;
    QString m_driveC; // canonical, as the resolved paths begin
};

void TestWindowsPath::initTestCase()
{
    // A prefix as Wine lays it out: drive links in dosdevices, drive C a
    // folder beside them.
    QVERIFY(m_root.isValid());
    const QDir root(m_root.path());
    QVERIFY(root.mkpath(QStringLiteral("prefix/dosdevices")));
    QVERIFY(root.mkpath(QStringLiteral("prefix/drive_c/Program Files/Soldier of Fortune II - Double Helix/base/mp")));
    QVERIFY(QFile::link(QStringLiteral("../drive_c"), root.filePath(QStringLiteral("prefix/dosdevices/c:"))));
    QVERIFY(QFile::link(QStringLiteral("/nonexistent-veltrane-drive"), root.filePath(QStringLiteral("prefix/dosdevices/e:"))));
    QFile config(root.filePath(QStringLiteral("prefix/drive_c/Program Files/Soldier of Fortune II - Double Helix/base/mp/sof2mp.cfg")));
    QVERIFY(config.open(QIODevice::WriteOnly));
    m_driveC = QDir(root.filePath(QStringLiteral("prefix/drive_c"))).canonicalPath();
}

void TestWindowsPath::toNative_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected"); // "%C" stands for drive C's folder; null for no folder at all

    const QString game = QStringLiteral("%C/Program Files/Soldier of Fortune II - Double Helix/base/mp");
    QTest::newRow("default path") << "C:\\Program Files\\Soldier of Fortune II - Double Helix\\base\\mp\\sof2mp.cfg"
                                  << game + "/sof2mp.cfg";
    QTest::newRow("other case everywhere") << "c:\\PROGRAM FILES\\soldier of fortune ii - double helix\\BASE\\Mp\\SOF2MP.Cfg"
                                           << game + "/sof2mp.cfg";
    QTest::newRow("missing file keeps its typed name") << "C:\\program files\\Soldier of Fortune II - Double Helix\\base\\mp\\New.cfg"
                                                       << game + "/New.cfg";
    QTest::newRow("doubled and trailing backslashes") << "C:\\\\Program Files\\\\" << "%C/Program Files";
    QTest::newRow("the drive's root") << "C:\\" << "%C";
    QTest::newRow("forward and mixed slashes") << "C:/Program Files/Soldier of Fortune II - Double Helix\\base/mp/sof2mp.cfg"
                                               << game + "/sof2mp.cfg";
    QTest::newRow("trailing spaces and dots dropped") << "C:\\Program Files. \\Soldier of Fortune II - Double Helix \\base..\\mp\\sof2mp.cfg. "
                                                      << game + "/sof2mp.cfg";
    QTest::newRow("dot and dot-dot keep their meaning") << "C:\\Program Files\\.\\nowhere\\..\\Soldier of Fortune II - Double Helix\\base\\.. \\base\\mp\\sof2mp.cfg"
                                                        << game + "/sof2mp.cfg";
    QTest::newRow("dot-dot stops at the drive's root") << "C:\\..\\..\\outside.cfg" << "%C/outside.cfg";
    QTest::newRow("300 wrong-case parts") << "C:\\" + QString("PROGRAM FILES\\..\\").repeated(300) + "program files/SOLDIER OF FORTUNE II - DOUBLE HELIX/base/mp/sof2mp.cfg"
                                          << game + "/sof2mp.cfg";
    QTest::newRow("drive not in the prefix") << "D:\\sof2mp.cfg" << QString();
    QTest::newRow("drive link leading nowhere") << "e:\\sof2mp.cfg" << QString();
    for (const char* native : {"/tmp/sof2mp.cfg", "base/mp/sof2mp.cfg", "C:sof2mp.cfg", "a\\b"})
        QTest::addRow("native %s", native) << native << native;
}

void TestWindowsPath::toNative()
{
    QFETCH(QString, typed);
    QFETCH(QString, expected);

    const WinePrefix prefix(m_root.filePath(QStringLiteral("prefix")));
    const std::optional<QString> native = WindowsPath::toNative(typed, prefix);
    if (expected.isNull())
        QCOMPARE(native, std::nullopt);
    else
        QCOMPARE(native, QString(expected).replace(QStringLiteral("%C"), m_driveC));
}

void TestWindowsPath::noPrefixMeansNoFolder()
{
    const WinePrefix missing(m_root.filePath(QStringLiteral("no-such-prefix")));
    QCOMPARE(WindowsPath::toNative(QStringLiteral("C:\\sof2mp.cfg"), missing), std::nullopt);
}

QTEST_APPLESS_MAIN(TestWindowsPath)
#include "TestWindowsPath.moc"
