#include "app/Application.h"
#include "app/Form1.h"
#include "app/FormDefinition.h"
#include "platform/DirListBox.h"
#include "platform/DriveListBox.h"
#include "platform/FileListBox.h"
#include "platform/TextBox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

// The drive, folder and file lists inside the real window, browsing a
// temporary tree that is the current folder, with a fake Wine prefix.
class TestLocatorInWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startShowsTheCurrentFolderAndTheDefaultPath();
    void selectingAFileFillsThePath_data();
    void selectingAFileFillsThePath();
    void fileAtTheRootGetsOneSeparator();
    void openingASubfolderMovesTheFilesOnly();
    void changingDriveMovesBothListsOnly();
    void eachDriveKeepsItsFolder();
    void typedPathIsReplacedByTheNextSelection();
    void removedFolderKeepsTheListsAndTells();
    void unreadableDriveKeepsThePreviousDrive();

private:
    void createTree();
    QString path(const QString& relative) const { return m_root + "/" + relative; }
    void clickFile(const QString& name);
    void openFolder(const QString& caption);
    void chooseDrive(const QString& designation);
    // Runs the action and returns the text of the message box it opened, closing it.
    QString messageFrom(const std::function<void()>& action);

    std::unique_ptr<QTemporaryDir> m_tree;
    QString m_root;
    QString m_startFolder;
    std::unique_ptr<Form1> m_form;
    DriveListBox* m_drive1 = nullptr;
    DirListBox* m_dir1 = nullptr;
    FileListBox* m_file1 = nullptr;
    TextBox* m_text3 = nullptr;
};

void TestLocatorInWindow::initTestCase()
{
    configureApplication(*qobject_cast<QApplication*>(qApp));
    m_startFolder = QDir::currentPath();
}

void TestLocatorInWindow::createTree()
{
    m_tree = std::make_unique<QTemporaryDir>();
    QVERIFY(m_tree->isValid());
    m_root = QDir(m_tree->path()).canonicalPath();
    const QDir root(m_root);
    for (const char* folder : {"start/base/mp", "start/.config", "drive_d/games", "drive_e", "prefix/dosdevices"})
        QVERIFY(root.mkpath(folder));
    for (const char* file : {"start/sof2mp.cfg", "start/readme.txt", "start/.hidden", "start/base/mp/sof2mp.cfg",
                             "drive_d/x.cfg", "drive_d/games/g.cfg", "drive_e/e.cfg"}) {
        QFile f(path(file));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QVERIFY(QFile::link(path("drive_d"), path("prefix/dosdevices/d:")));
    QVERIFY(QFile::link(path("drive_e"), path("prefix/dosdevices/e:")));
}

void TestLocatorInWindow::init()
{
    createTree();
    qputenv("WINEPREFIX", path("prefix").toLocal8Bit());
    QVERIFY(QDir::setCurrent(path("start")));

    m_form = std::make_unique<Form1>();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_drive1 = m_form->findChild<DriveListBox*>("Drive1");
    m_dir1 = m_form->findChild<DirListBox*>("Dir1");
    m_file1 = m_form->findChild<FileListBox*>("File1");
    m_text3 = m_form->findChild<TextBox*>("Text3");
    QVERIFY(m_drive1 && m_dir1 && m_file1 && m_text3);
}

void TestLocatorInWindow::cleanup()
{
    m_form.reset();
    QDir::setCurrent(m_startFolder);
    qunsetenv("WINEPREFIX");
    m_tree.reset();
}

void TestLocatorInWindow::clickFile(const QString& name)
{
    const QModelIndexList found
        = m_file1->model()->match(m_file1->model()->index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(name));
    m_file1->scrollTo(found.first());
    QTest::mouseClick(m_file1->viewport(), Qt::LeftButton, {}, m_file1->visualRect(found.first()).center());
}

void TestLocatorInWindow::openFolder(const QString& caption)
{
    const QList<QTreeWidgetItem*> found = m_dir1->findItems(caption, Qt::MatchExactly | Qt::MatchRecursive);
    QVERIFY2(!found.isEmpty(), qPrintable(caption));
    m_dir1->scrollToItem(found.first());
    QTest::mouseDClick(m_dir1->viewport(), Qt::LeftButton, {}, m_dir1->visualItemRect(found.first()).center());
}

void TestLocatorInWindow::chooseDrive(const QString& designation)
{
    // Drop the list down and click the drive, as a player does.
    const QModelIndexList found = m_drive1->model()->match(m_drive1->model()->index(0, 0), Qt::DisplayRole,
                                                           designation, 1, Qt::MatchStartsWith);
    QVERIFY2(!found.isEmpty(), qPrintable(designation));
    m_drive1->showPopup();
    QAbstractItemView* view = m_drive1->view();
    QVERIFY(QTest::qWaitForWindowExposed(view->window()));
    view->scrollTo(found.first());
    const QPoint centre = view->visualRect(found.first()).center();
    QTest::mouseMove(view->viewport(), centre);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centre);
    QTRY_VERIFY(!view->window()->isVisible());
}

QString TestLocatorInWindow::messageFrom(const std::function<void()>& action)
{
    // Polled: the action itself may spin the event loop before the box opens.
    QString text;
    QTimer poll;
    poll.setInterval(10);
    connect(&poll, &QTimer::timeout, this, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            text = box->text();
            poll.stop();
            box->accept();
        }
    });
    poll.start();
    action();
    return text;
}

void TestLocatorInWindow::startShowsTheCurrentFolderAndTheDefaultPath()
{
    QCOMPARE(m_dir1->path(), path("start"));
    QCOMPARE(m_file1->path(), path("start"));
    QCOMPARE(m_drive1->driveFolder(), path("start"));
    QCOMPARE(m_file1->model()->rowCount(), 2); // the hidden file is left out
    QCOMPARE(m_text3->text(), defaultConfigPath());
}

void TestLocatorInWindow::selectingAFileFillsThePath_data()
{
    QTest::addColumn<bool>("byKeyboard");

    QTest::newRow("mouse") << false;
    QTest::newRow("keyboard") << true;
}

void TestLocatorInWindow::selectingAFileFillsThePath()
{
    QFETCH(bool, byKeyboard);

    if (byKeyboard) {
        m_file1->setFocus(Qt::TabFocusReason);
        QCOMPARE(m_text3->text(), defaultConfigPath());
        QTest::keyClick(m_file1, Qt::Key_End);
    } else {
        clickFile("sof2mp.cfg");
    }
    QCOMPARE(m_text3->text(), path("start/sof2mp.cfg"));
}

void TestLocatorInWindow::fileAtTheRootGetsOneSeparator()
{
    openFolder(QDir::rootPath());
    QCOMPARE(m_dir1->path(), QDir::rootPath());
    QCOMPARE(m_file1->path(), QDir::rootPath());
    if (m_file1->model()->rowCount() == 0)
        QSKIP("the root folder holds no visible file to select");
    const QString name = m_file1->model()->index(0, 0).data().toString();
    clickFile(name);
    QCOMPARE(m_text3->text(), QDir::rootPath() + name);
}

void TestLocatorInWindow::openingASubfolderMovesTheFilesOnly()
{
    openFolder("base");
    QCOMPARE(m_file1->path(), path("start/base"));
    QCOMPARE(m_file1->model()->rowCount(), 0);

    m_dir1->setFocus();
    QTest::keyClick(m_dir1, Qt::Key_Down);
    QTest::keyClick(m_dir1, Qt::Key_Return);
    QCOMPARE(m_dir1->path(), path("start/base/mp"));
    QCOMPARE(m_file1->path(), path("start/base/mp"));
    QCOMPARE(m_text3->text(), defaultConfigPath());

    clickFile("sof2mp.cfg");
    QCOMPARE(m_text3->text(), path("start/base/mp/sof2mp.cfg"));
}

void TestLocatorInWindow::changingDriveMovesBothListsOnly()
{
    const QString startDrive = m_drive1->drive();
    chooseDrive("D:");
    QCOMPARE(m_drive1->drive(), "D:");
    QCOMPARE(m_dir1->path(), path("drive_d"));
    QCOMPARE(m_file1->path(), path("drive_d"));
    QCOMPARE(m_text3->text(), defaultConfigPath());

    clickFile("x.cfg");
    QCOMPARE(m_text3->text(), path("drive_d/x.cfg"));

    chooseDrive(startDrive);
    QCOMPARE(m_dir1->path(), path("start"));
    QCOMPARE(m_file1->path(), path("start"));
    QCOMPARE(m_text3->text(), path("drive_d/x.cfg"));
}

void TestLocatorInWindow::eachDriveKeepsItsFolder()
{
    const QString startDrive = m_drive1->drive();
    openFolder("base");
    chooseDrive("D:");
    openFolder("games");
    chooseDrive("E:");
    QCOMPARE(m_dir1->path(), path("drive_e"));

    chooseDrive("D:");
    QCOMPARE(m_dir1->path(), path("drive_d/games"));
    QCOMPARE(m_file1->path(), path("drive_d/games"));
    chooseDrive(startDrive);
    QCOMPARE(m_dir1->path(), path("start/base"));
}

void TestLocatorInWindow::typedPathIsReplacedByTheNextSelection()
{
    m_text3->setFocus();
    m_text3->selectAll();
    QTest::keyClicks(m_text3, "/typed/by/hand.cfg");
    QCOMPARE(m_text3->text(), "/typed/by/hand.cfg");

    clickFile("readme.txt");
    QCOMPARE(m_text3->text(), path("start/readme.txt"));

    // Typing after a selection edits it; the same file clicked again puts it back.
    m_text3->setFocus();
    QTest::keyClick(m_text3, Qt::Key_End);
    QTest::keyClicks(m_text3, "~");
    QCOMPARE(m_text3->text(), path("start/readme.txt~"));
    clickFile("readme.txt");
    QCOMPARE(m_text3->text(), path("start/readme.txt"));
}

void TestLocatorInWindow::removedFolderKeepsTheListsAndTells()
{
    clickFile("readme.txt");
    QVERIFY(QDir(path("start/base")).removeRecursively());

    const QString message = messageFrom([this] { openFolder("base"); });

    QVERIFY2(message.contains(path("start/base")) && message.contains("does not exist"), qPrintable(message));
    QCOMPARE(m_dir1->path(), path("start"));
    QVERIFY(!m_dir1->findItems("base", Qt::MatchExactly | Qt::MatchRecursive).isEmpty());
    QCOMPARE(m_file1->path(), path("start"));
    QCOMPARE(m_file1->fileName(), "readme.txt");
    QCOMPARE(m_text3->text(), path("start/readme.txt"));
}

void TestLocatorInWindow::unreadableDriveKeepsThePreviousDrive()
{
    const QString startDrive = m_drive1->drive();
    QVERIFY(QDir(path("drive_e")).removeRecursively());

    const QString message = messageFrom([this] { chooseDrive("E:"); });

    QVERIFY2(message.contains(path("drive_e")), qPrintable(message));
    QCOMPARE(m_drive1->drive(), startDrive);
    QCOMPARE(m_drive1->currentText(), m_drive1->itemText(m_drive1->currentIndex()));
    QCOMPARE(m_dir1->path(), path("start"));
    QCOMPARE(m_file1->path(), path("start"));
    QCOMPARE(m_text3->text(), defaultConfigPath());
}

QTEST_MAIN(TestLocatorInWindow)
#include "TestLocatorInWindow.moc"
