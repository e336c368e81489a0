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
    QTest::addColumn<QString>("underDriveC"); // the expected path below drive C
    QTest::addColumn<QString>("native"); // else the expected path as it stands

    const QString game = QStringLiteral("/Program Files/Soldier of Fortune II - Double Helix/base/mp");
    QTest::newRow("default path") << "C:\\Program Files\\Soldier of Fortune II - Double Helix\\base\\mp\\sof2mp.cfg"
                                  << game + "/sof2mp.cfg" << QString();
    QTest::newRow("other case everywhere") << "c:\\PROGRAM FILES\\soldier of fortune ii - double helix\\BASE\\Mp\\SOF2MP.Cfg"
                                           << game + "/sof2mp.cfg" << QString();
    QTest::newRow("missing file keeps its typed name") << "C:\\program files\\Soldier of Fortune II - Double Helix\\base\\mp\\New.cfg"
                                                       << game + "/New.cfg" << QString();
    QTest::newRow("doubled and trailing backslashes") << "C:\\\\Program Files\\\\" << "/Program Files" << QString();
    QTest::newRow("the drive's root") << "C:\\" << "" << QString();
    QTest::newRow("native absolute path") << QString() << QString() << "/tmp/sof2mp.cfg";
    QTest::newRow("native relative path") << QString() << QString() << "base/mp/sof2mp.cfg";
    QTest::newRow("drive without backslash is a plain name") << QString() << QString() << "C:sof2mp.cfg";
    QTest::newRow("backslash in a native name") << QString() << QString() << "a\\b";
}

void TestWindowsPath::toNative()
{
    QFETCH(QString, typed);
    QFETCH(QString, underDriveC);
    QFETCH(QString, native);

    const WinePrefix prefix(m_root.filePath(QStringLiteral("prefix")));
    if (typed.isEmpty()) {
        QCOMPARE(WindowsPath::toNative(native, prefix), native);
        return;
    }
    QCOMPARE(WindowsPath::toNative(typed, prefix), m_driveC + underDriveC);
}

void TestWindowsPath::noPrefixMeansNoFolder()
{
    const WinePrefix prefix(m_root.filePath(QStringLiteral("prefix")));
    QCOMPARE(WindowsPath::toNative(QStringLiteral("D:\\sof2mp.cfg"), prefix), std::nullopt);
    QCOMPARE(WindowsPath::toNative(QStringLiteral("e:\\sof2mp.cfg"), prefix), std::nullopt); // link leads nowhere
    const WinePrefix missing(m_root.filePath(QStringLiteral("no-such-prefix")));
    QCOMPARE(WindowsPath::toNative(QStringLiteral("C:\\sof2mp.cfg"), missing), std::nullopt);
}

QTEST_APPLESS_MAIN(TestWindowsPath)
#include "TestWindowsPath.moc"
