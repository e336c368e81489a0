// `cmake --install` into a fresh prefix: the program, a desktop entry that
// starts it, and the icon that entry names, each where a desktop looks for it.
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class TestInstall : public QObject
{
    Q_OBJECT

private slots:
    void desktopEntryStartsTheProgramWithItsIcon();
};

void TestInstall::desktopEntryStartsTheProgramWithItsIcon()
{
    QTemporaryDir prefix;
    QProcess install;
    install.setProcessChannelMode(QProcess::MergedChannels);
    install.start(QStringLiteral(VELTRANE_CMAKE), {"--install", VELTRANE_BUILD_DIR, "--prefix", prefix.path()});
    QVERIFY(install.waitForFinished(120000));
    QVERIFY2(install.exitCode() == 0, install.readAll().constData());
    QFile entry(prefix.filePath(QStringLiteral("share/applications/veltrane.desktop")));
    QVERIFY(entry.open(QIODevice::ReadOnly));
    const QString lines = QString::fromUtf8(entry.readAll());
    const auto value = [&](const QString& key) {
        return QRegularExpression(QStringLiteral("^%1=(.*)$").arg(key), QRegularExpression::MultilineOption).match(lines).captured(1).trimmed();
    };
    QCOMPARE(value("Type"), "Application");
    QCOMPARE(value("Name"), "Veltrane");
    // A bare program name is looked up in PATH, where bin/ of the prefix is.
    QVERIFY(QFileInfo(prefix.filePath("bin/" + value("Exec").section(u' ', 0, 0))).isExecutable());
    // The icon theme finds the icon by name in the folder of its size.
    QCOMPARE(QImage(prefix.filePath("share/icons/hicolor/32x32/apps/" + value("Icon") + ".png")).size(), QSize(32, 32));
}

QTEST_GUILESS_MAIN(TestInstall)
#include "TestInstall.moc"
