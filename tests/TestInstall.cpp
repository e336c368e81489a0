// `cmake --install` into a fresh prefix: the program, a desktop entry that
// starts it, and the icon that entry names, each in the place a desktop
// looks for it.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestInstall : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void desktopEntryStartsTheProgramWithItsIcon();

private:
    QString desktopValue(const QString& key) const;

    QTemporaryDir m_prefix;
};

void TestInstall::initTestCase()
{
    QVERIFY(m_prefix.isValid());
    QProcess install;
    install.setProcessChannelMode(QProcess::MergedChannels);
    install.start(QStringLiteral(VELTRANE_CMAKE),
                  {QStringLiteral("--install"), QStringLiteral(VELTRANE_BUILD_DIR), QStringLiteral("--prefix"), m_prefix.path()});
    QVERIFY(install.waitForFinished(120000));
    QVERIFY2(install.exitCode() == 0, install.readAll().constData());
}

void TestInstall::desktopEntryStartsTheProgramWithItsIcon()
{
    QCOMPARE(desktopValue(QStringLiteral("Type")), QStringLiteral("Application"));
    QCOMPARE(desktopValue(QStringLiteral("Name")), QStringLiteral("Veltrane"));
    // A bare program name is looked up in PATH, where bin/ of the prefix is.
    const QString program = desktopValue(QStringLiteral("Exec")).section(QLatin1Char(' '), 0, 0);
    QVERIFY(QFileInfo(QDir(m_prefix.path()).filePath(QStringLiteral("bin/") + program)).isExecutable());

    // The icon theme finds the icon by name in the folder of its size.
    const QImage icon(QDir(m_prefix.path()).filePath(QStringLiteral("share/icons/hicolor/32x32/apps/%1.png")
                                                         .arg(desktopValue(QStringLiteral("Icon")))));
    QCOMPARE(icon.size(), QSize(32, 32));
}

QString TestInstall::desktopValue(const QString& key) const
{
    QFile entry(QDir(m_prefix.path()).filePath(QStringLiteral("share/applications/veltrane.desktop")));
    if (!entry.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    const QString prefix = key + QLatin1Char('=');
    while (!entry.atEnd()) {
        const QString line = QString::fromUtf8(entry.readLine()).trimmed();
        if (line.startsWith(prefix))
            return line.mid(prefix.size());
    }
    return {};
}

QTEST_GUILESS_MAIN(TestInstall)
#include "TestInstall.moc"
