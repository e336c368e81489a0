#include "app/Application.h"
#include "app/Form1.h"
#include "app/FormDefinition.h"
#include "widgets/DirListBox.h"
#include "widgets/DriveListBox.h"
#include "widgets/FileListBox.h"
#include "widgets/TextBox.h"
#include "support/ShownMessages.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

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
    void listsShowWhatAPersonBrowses();
    void selectingAFileFillsThePath_data();
    void selectingAFileFillsThePath();
    void foldersMoveTheFilesOnly();
    void drivesMoveBothListsAndKeepTheirFolders();
    void folderTreeStartsAtTheDrivesRoot_data();
    void folderTreeStartsAtTheDrivesRoot();
    void unreadableFolderKeepsTheListsAndTells_data();
    void unreadableFolderKeepsTheListsAndTells();

private:
    QString path(const QString& relative) const { return m_root + "/" + relative; }
    QTreeWidgetItem* folderItem(const QString& caption) const;
    void clickFile(const QString& name);
    void openFolder(const QString& caption);
    void chooseDrive(const QString& designation);

    std::unique_ptr<QTemporaryDir> m_tree;
    QString m_root;
    std::unique_ptr<Form1> m_form;
    DriveListBox* m_drive1 = nullptr;
    DirListBox* m_dir1 = nullptr;
    FileListBox* m_file1 = nullptr;
    TextBox* m_text3 = nullptr;
};

void TestLocatorInWindow::initTestCase()
{
    configureApplication(*qobject_cast<QApplication*>(qApp));
}

void TestLocatorInWindow::init()
{
    m_tree = std::make_unique<QTemporaryDir>();
    QVERIFY(m_tree->isValid());
    m_root = QDir(m_tree->path()).canonicalPath();
    for (const char* folder : {"start/base/mp", "start/.config", "start/Alpha", "start/Zulu", "drive_d/games",
                               "drive_e", "prefix/dosdevices"})
        QVERIFY(QDir(m_root).mkpath(folder));
    for (const char* file : {"start/sof2mp.cfg", "start/readme.txt", "start/.hidden", "start/Zed.cfg", "start/a.cfg",
                             "start/base/mp/sof2mp.cfg", "drive_d/x.cfg", "drive_d/games/g.cfg"}) {
        QFile f(path(file));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QVERIFY(QFile::link(path("drive_d"), path("prefix/dosdevices/d:")));
    QVERIFY(QFile::link(path("drive_e"), path("prefix/dosdevices/e:")));
    qputenv("WINEPREFIX", path("prefix").toLocal8Bit());

    m_form = std::make_unique<Form1>(path("start"), DriveCatalog::fromSystem());
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_drive1 = m_form->findChild<DriveListBox*>("Drive1");
    m_dir1 = m_form->findChild<DirListBox*>("Dir1");
    m_file1 = m_form->findChild<FileListBox*>("File1");
    m_text3 = m_form->findChild<TextBox*>("Text3");
    // At start all three show the start folder, and the path keeps its default.
    QCOMPARE(m_dir1->path(), path("start"));
    QCOMPARE(m_file1->path(), path("start"));
    QCOMPARE(m_drive1->driveFolder(), path("start"));
    QCOMPARE(m_text3->text(), defaultConfigPath());
}

void TestLocatorInWindow::cleanup()
{
    m_form.reset();
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

QTreeWidgetItem* TestLocatorInWindow::folderItem(const QString& caption) const
{
    const QList<QTreeWidgetItem*> found = m_dir1->findItems(caption, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

void TestLocatorInWindow::openFolder(const QString& caption)
{
    QTreeWidgetItem* item = folderItem(caption);
    QVERIFY2(item, qPrintable(caption));
    m_dir1->scrollToItem(item);
    QTest::mouseDClick(m_dir1->viewport(), Qt::LeftButton, {}, m_dir1->visualItemRect(item).center());
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

void TestLocatorInWindow::listsShowWhatAPersonBrowses()
{
    // Files and sub-folders sorted without regard to case, hidden ones left out.
    QStringList files;
    for (int row = 0; row < m_file1->model()->rowCount(); ++row)
        files << m_file1->model()->index(row, 0).data().toString();
    QCOMPARE(files, (QStringList{"a.cfg", "readme.txt", "sof2mp.cfg", "Zed.cfg"}));

    // The way down from the root, each folder a step further in, then the sub-folders.
    QStringList rows;
    for (QTreeWidgetItemIterator it(m_dir1); *it; ++it) {
        int depth = 0;
        for (const QTreeWidgetItem* up = (*it)->parent(); up; up = up->parent())
            ++depth;
        rows << QString(depth, u' ') + (*it)->text(0);
    }
    QStringList expected{"/"};
    const QStringList parts = path("start").split('/', Qt::SkipEmptyParts);
    for (int level = 0; level < parts.size(); ++level)
        expected << QString(level + 1, u' ') + parts[level];
    for (const char* sub : {"Alpha", "base", "Zulu"})
        expected << QString(parts.size() + 1, u' ') + sub;
    QCOMPARE(rows, expected);

    // The open folder is the one marked, and only it and its ancestors look open.
    QCOMPARE(m_dir1->currentItem()->text(0), "start");
    const qint64 openIcon = m_dir1->currentItem()->icon(0).cacheKey();
    QCOMPARE(m_dir1->topLevelItem(0)->icon(0).cacheKey(), openIcon);
    QVERIFY(folderItem("Alpha")->icon(0).cacheKey() != openIcon);
}

void TestLocatorInWindow::selectingAFileFillsThePath_data()
{
    QTest::addColumn<QString>("folder"); // opened first, if any
    QTest::addColumn<bool>("byKeyboard");

    QTest::newRow("mouse") << "" << false;
    QTest::newRow("keyboard") << "" << true;
    QTest::newRow("at the root") << QDir::rootPath() << false;
}

void TestLocatorInWindow::selectingAFileFillsThePath()
{
    QFETCH(QString, folder);
    QFETCH(bool, byKeyboard);
    if (!folder.isEmpty())
        openFolder(folder);
    if (m_file1->model()->rowCount() == 0)
        QSKIP("the folder holds no visible file to select");
    const QString last = m_file1->model()->index(m_file1->model()->rowCount() - 1, 0).data().toString();
    // A typed path is replaced by the next selection.
    m_text3->setText(QStringLiteral("/typed/by/hand.cfg"));

    if (byKeyboard) {
        m_file1->setFocus(Qt::TabFocusReason);
        QCOMPARE(m_text3->text(), QStringLiteral("/typed/by/hand.cfg"));
        QTest::keyClick(m_file1, Qt::Key_End);
    } else {
        clickFile(last);
    }
    const QString chosen = QDir(m_file1->path()).filePath(last);
    QCOMPARE(m_text3->text(), chosen);
    QCOMPARE(m_text3->cursorPosition(), 0); // a long path shows where it starts
    QVERIFY(!m_text3->text().contains("//"));

    // The same file chosen again after an edit puts its path back.
    m_text3->setText(chosen + "~");
    clickFile(last);
    QCOMPARE(m_text3->text(), chosen);
}

void TestLocatorInWindow::foldersMoveTheFilesOnly()
{
    clickFile("readme.txt");
    // A click or an arrow key only selects a folder; Enter or a double click opens it.
    QTest::mouseClick(m_dir1->viewport(), Qt::LeftButton, {}, m_dir1->visualItemRect(folderItem("Alpha")).center());
    QTest::keyClick(m_dir1, Qt::Key_Down);
    QCOMPARE(m_dir1->path(), path("start"));
    QCOMPARE(m_file1->fileName(), "readme.txt");
    QTest::keyClick(m_dir1, Qt::Key_Return);
    QCOMPARE(m_dir1->path(), path("start/base"));
    QCOMPARE(m_file1->path(), path("start/base"));
    QCOMPARE(m_file1->fileName(), QString());

    openFolder("mp");
    QCOMPARE(m_file1->path(), path("start/base/mp"));
    QCOMPARE(m_text3->text(), path("start/readme.txt"));
}

void TestLocatorInWindow::drivesMoveBothListsAndKeepTheirFolders()
{
    const QString startDrive = m_drive1->drive();
    openFolder("base");
    chooseDrive("D:");
    QCOMPARE(m_drive1->drive(), "D:");
    QCOMPARE(m_dir1->path(), path("drive_d"));
    QCOMPARE(m_file1->path(), path("drive_d"));
    QCOMPARE(m_text3->text(), defaultConfigPath());

    openFolder("games");
    chooseDrive("E:");
    QCOMPARE(m_dir1->path(), path("drive_e"));
    chooseDrive("D:");
    QCOMPARE(m_file1->path(), path("drive_d/games"));
    chooseDrive(startDrive);
    QCOMPARE(m_dir1->path(), path("start/base"));
    QCOMPARE(m_file1->path(), path("start/base"));
}

void TestLocatorInWindow::folderTreeStartsAtTheDrivesRoot_data()
{
    QTest::addColumn<bool>("mount"); // else the prefix's drive D:, both on the folder drive_d

    QTest::newRow("Wine drive") << false;
    QTest::newRow("mount") << true;
}

void TestLocatorInWindow::folderTreeStartsAtTheDrivesRoot()
{
    QFETCH(bool, mount);
    if (mount)
        m_drive1->setDrives({{"/", "/", "/"}, {path("drive_d"), path("drive_d"), path("drive_d")}}, path("start"));
    const QString drive = mount ? path("drive_d") : QStringLiteral("D:");
    const QString top = mount ? path("drive_d") : QStringLiteral("D:\\");
    chooseDrive(drive);
    QCOMPARE(m_dir1->topLevelItemCount(), 1);
    QCOMPARE(m_dir1->topLevelItem(0)->text(0), top);

    // Opening the top goes no further up than the drive's root, and the drive list still names the drive.
    openFolder("games");
    openFolder(top);
    QCOMPARE(m_dir1->path(), path("drive_d"));
    QCOMPARE(m_drive1->drive(), drive);

    // Choosing the chosen drive again goes back to its current folder, read afresh.
    openFolder("games");
    QVERIFY(QDir(path("drive_d/games")).mkdir("later"));
    chooseDrive(drive);
    QCOMPARE(m_dir1->path(), path("drive_d/games"));
    QVERIFY(folderItem("later"));
}

void TestLocatorInWindow::unreadableFolderKeepsTheListsAndTells_data()
{
    QTest::addColumn<QString>("removed");
    QTest::addColumn<bool>("asDrive"); // chosen in the drive list, else opened in the folder list

    QTest::newRow("folder") << "start/base" << false;
    QTest::newRow("Wine drive") << "drive_e" << true;
}

void TestLocatorInWindow::unreadableFolderKeepsTheListsAndTells()
{
    QFETCH(QString, removed);
    QFETCH(bool, asDrive);

    const QString startDrive = m_drive1->drive();
    clickFile("readme.txt");
    QVERIFY(QDir(path(removed)).removeRecursively());

    const QList<ShownMessage> shown = messagesShownBy([&] {
        if (asDrive)
            chooseDrive("E:");
        else
            openFolder("base");
    });

    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown[0].text.contains(path(removed)), qPrintable(shown[0].text));
    QCOMPARE(m_drive1->drive(), startDrive);
    QCOMPARE(m_drive1->currentText(), m_drive1->itemText(m_drive1->currentIndex()));
    QCOMPARE(m_dir1->path(), path("start"));
    QVERIFY(!m_dir1->findItems("base", Qt::MatchExactly | Qt::MatchRecursive).isEmpty());
    QCOMPARE(m_file1->path(), path("start"));
    QCOMPARE(m_file1->fileName(), "readme.txt");
    QCOMPARE(m_text3->text(), path("start/readme.txt"));
}

QTEST_MAIN(TestLocatorInWindow)
#include "TestLocatorInWindow.moc"
