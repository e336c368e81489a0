#include "app/Application.h"
#include "app/Form1.h"
#include "widgets/DriveListBox.h"
#include "widgets/FileListBox.h"
#include "support/ShownMessages.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// A FIFO would block the reader: only plain files are read.
QByteArray readFile(const QString& path)
{
    QFile file(path);
    return QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<no file>");
}

enum class Target { MissingFolder, MissingFile, DanglingLink, Folder, EmptyPath, ReadOnly, Fifo, DefaultPathWithoutWine, HardLinkNeedingNewLineEnds };

} // namespace

class TestSaveInWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { configureApplication(*qobject_cast<QApplication*>(qApp)); }
    void init();
    void cleanup()
    {
        m_form.reset();
        qunsetenv("WINEPREFIX");
        qputenv("HOME", m_home);
    }

    void savesToTheGamesConfig_data();
    void savesToTheGamesConfig();
    void runningGameAsksFirstAndNoWritesNothing();
    void failureShowsOneMessage_data();
    void failureShowsOneMessage();

private:
    template <typename T>
    T* control(const char* name) const { return m_form->findChild<T*>(QString::fromLatin1(name)); }

    QByteArray m_home = qgetenv("HOME");
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<Form1> m_form;
};

void TestSaveInWindow::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    qputenv("WINEPREFIX", QFile::encodeName(m_folder->filePath(QStringLiteral("wine"))));
    // No game of the machine's may be found, let alone written to.
    qputenv("HOME", QFile::encodeName(m_folder->path()));
    // Not shown: the mode is the Visible property, which holds off screen too.
    m_form = std::make_unique<Form1>(QDir::currentPath(), DriveCatalog::fromSystem());
}

void TestSaveInWindow::savesToTheGamesConfig_data()
{
    QTest::addColumn<QStringList>("games"); // each newer than the one before
    QTest::addColumn<bool>("capitals"); // the default path typed again in capitals
    QTest::addColumn<int>("savedTo");

    const QString wine = QStringLiteral("wine/drive_c/Program Files/Soldier of Fortune II - Double Helix/base/mp");
    const QString proton = QStringLiteral(".local/share/Steam/steamapps/compatdata/2620/pfx/drive_c/Program Files/SoF2/base/mp");
    QTest::newRow("Wine, the default path in capitals") << QStringList{wine} << true << 0;
    QTest::newRow("Proton only, the default path untouched") << QStringList{proton} << false << 0;
    QTest::newRow("the default path leads to Wine's, though Proton's is newer") << QStringList{wine, proton} << false << 0;
    QTest::newRow("two copies elsewhere, the newer taken")
        << QStringList{QStringLiteral("Games/SoF2/base/mp"), proton} << false << 1;
}

void TestSaveInWindow::savesToTheGamesConfig()
{
    QFETCH(QStringList, games);
    QFETCH(bool, capitals);
    QFETCH(int, savedTo);

    const QDir folder(m_folder->path());
    QVERIFY(folder.mkpath(QStringLiteral("wine/dosdevices")));
    QVERIFY(QFile::link(QStringLiteral("../drive_c"), folder.filePath(QStringLiteral("wine/dosdevices/c:"))));
    QDateTime changed = QDateTime::currentDateTime().addDays(-1);
    for (const QString& game : games) {
        QVERIFY(folder.mkpath(game));
        QFile file(folder.filePath(game + QStringLiteral("/sof2mp.cfg")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("A\r\n");
        QVERIFY(file.setFileTime(changed, QFileDevice::FileModificationTime));
        changed = changed.addSecs(60);
    }
    // The drive list is filled as the window is built, so build it again.
    m_form = std::make_unique<Form1>(QDir::currentPath(), DriveCatalog::fromSystem());
    const QString config = folder.filePath(games[savedTo] + QStringLiteral("/sof2mp.cfg"));
    const QString path = capitals ? control<QLineEdit>("Text3")->text().toUpper() : control<QLineEdit>("Text3")->text();
    control<QRadioButton>("Option1")->click();
    control<QLineEdit>("Text1")->setText(QStringLiteral("B"));
    control<QLineEdit>("Text3")->setText(path);

    QCOMPARE(messagesShownBy([this] { control<QPushButton>("Command1")->click(); }).size(), 0);
    QCOMPARE(readFile(config), QByteArray("A\r\n\r\nseta name \"B\"\r\n"));
    // The player's text and path stay, ready for the next save.
    QCOMPARE(control<QLineEdit>("Text1")->text(), QStringLiteral("B"));
    QCOMPARE(control<QLineEdit>("Text3")->text(), path);

    // Each copy is one choice in the drive list away, with its config in view.
    auto* drive1 = control<DriveListBox>("Drive1");
    const QString gameFolder = QFileInfo(config).path();
    const int entry = drive1->findText(QStringLiteral(": [%1]").arg(gameFolder), Qt::MatchEndsWith);
    QVERIFY2(entry >= 0, qPrintable(gameFolder));
    QVERIFY(drive1->itemText(entry).startsWith(QStringLiteral("SoF2 (")));
    emit drive1->activated(entry);
    QCOMPARE(control<FileListBox>("File1")->path(), gameFolder);
}

void TestSaveInWindow::runningGameAsksFirstAndNoWritesNothing()
{
    const QString config = m_folder->filePath(QStringLiteral("sof2mp.cfg"));
    writeFile(config, "A\r\n");
    const QString standIn = m_folder->filePath(QStringLiteral("SoF2MP.exe"));
    QVERIFY(QFile::copy(QStandardPaths::findExecutable(QStringLiteral("sleep")), standIn));
    QProcess game;
    game.start(standIn, {QStringLiteral("30")});
    QVERIFY(game.waitForStarted());

    control<QRadioButton>("Option1")->click();
    control<QLineEdit>("Text3")->setText(config);
    const QList<ShownMessage> shown = messagesShownBy([this] { control<QPushButton>("Command1")->click(); });
    game.kill();
    game.waitForFinished();

    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].text, QStringLiteral("Soldier of Fortune II is running. It rewrites sof2mp.cfg when it quits, "
                                           "which would remove this line. Save anyway?"));
    QCOMPARE(shown[0].buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(shown[0].defaultButton, QMessageBox::No);
    QCOMPARE(readFile(config), QByteArray("A\r\n"));
}

void TestSaveInWindow::failureShowsOneMessage_data()
{
    QTest::addColumn<Target>("target");
    QTest::addColumn<QString>("message");

    QTest::newRow("missing folder") << Target::MissingFolder << "No such directory!";
    QTest::newRow("default path without Wine") << Target::DefaultPathWithoutWine << "No such directory!";
    QTest::newRow("missing file") << Target::MissingFile << "53, File not found";
    QTest::newRow("path names a folder") << Target::Folder << "75, Path/File access error";
    QTest::newRow("empty path") << Target::EmptyPath << "52, Bad file name or number";
    QTest::newRow("read-only file") << Target::ReadOnly << "70, Permission denied";
    QTest::newRow("FIFO") << Target::Fifo << "75, Path/File access error";
    QTest::newRow("dangling link") << Target::DanglingLink << "53, File not found";
    QTest::newRow("hard link whose line ends must change")
        << Target::HardLinkNeedingNewLineEnds << "75, File has other names that would lose the change";
}

void TestSaveInWindow::failureShowsOneMessage()
{
    QFETCH(Target, target);
    QFETCH(QString, message);

    const QDir folder(m_folder->path());
    const QString config = folder.filePath(QStringLiteral("sof2mp.cfg"));
    QString path = config;
    switch (target) {
    case Target::MissingFolder:
        path = folder.filePath(QStringLiteral("missing/sof2mp.cfg"));
        break;
    case Target::MissingFile:
        break;
    case Target::Folder:
        path = folder.path();
        break;
    case Target::EmptyPath:
        path.clear();
        break;
    case Target::ReadOnly:
        writeFile(config, "A\r\n");
        QVERIFY(QFile::setPermissions(config, QFile::ReadOwner | QFile::ReadGroup));
        break;
    case Target::Fifo:
        QCOMPARE(::mkfifo(QFile::encodeName(config).constData(), 0644), 0);
        break;
    case Target::DefaultPathWithoutWine:
        path = control<QLineEdit>("Text3")->text();
        break;
    case Target::DanglingLink:
        QVERIFY(QFile::link(folder.filePath(QStringLiteral("gone.cfg")), config));
        break;
    case Target::HardLinkNeedingNewLineEnds:
        writeFile(config, "A\rB");
        QVERIFY(::link(QFile::encodeName(config).constData(), QFile::encodeName(config + ".bak").constData()) == 0);
        break;
    }
    const QByteArray before = readFile(config);
    const QStringList entriesBefore = folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System);

    control<QRadioButton>("Option1")->click();
    control<QLineEdit>("Text3")->setText(path);
    const QList<ShownMessage> shown = messagesShownBy([this] { control<QPushButton>("Command1")->click(); });

    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].text, message);
    QCOMPARE(shown[0].title, QStringLiteral("Veltrane"));
    QCOMPARE(shown[0].icon, QMessageBox::NoIcon);
    QCOMPARE(shown[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(readFile(config), before);
    QCOMPARE(folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System), entriesBefore);
    QCOMPARE(control<QLineEdit>("Text3")->text(), path);
}

QTEST_MAIN(TestSaveInWindow)
#include "TestSaveInWindow.moc"
