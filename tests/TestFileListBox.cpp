#include "app/Application.h"
#include "platform/FileListBox.h"

#include <QApplication>
#include <QDir>
#include <QSignalSpy>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList shownNames(const FileListBox& list)
{
    QStringList names;
    for (int row = 0; row < list.model()->rowCount(); ++row)
        names << list.model()->index(row, 0).data().toString();
    return names;
}

QPoint centreOfRow(const FileListBox& list, int row)
{
    return list.visualRect(list.model()->index(row, 0)).center();
}

} // namespace

class TestFileListBox : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void listsVisibleFilesSortedWithoutCase();
    void mouseSelectionIsAClick();
    void keyboardSelectionIsAClick_data();
    void keyboardSelectionIsAClick();
    void focusAloneIsNoClick();
    void clickingTheSelectedFileAgainIsAClick();
    void newFolderSelectsNothing();
    void unreadableFolderKeepsTheList();

private:
    void showList(FileListBox& list);

    std::unique_ptr<QTemporaryDir> m_tree;
    QString m_top;
};

void TestFileListBox::initTestCase()
{
    configureApplication(*qobject_cast<QApplication*>(qApp));
}

void TestFileListBox::init()
{
    m_tree = std::make_unique<QTemporaryDir>();
    QVERIFY(m_tree->isValid());
    m_top = QDir(m_tree->path()).canonicalPath();
    QVERIFY(QDir(m_top).mkpath("sub folder") && QDir(m_top).mkpath("other"));
    for (const char* name : {"sof2mp.cfg", "Autoexec.cfg", "b.txt", "Zed", ".hidden.cfg", "a b.cfg"}) {
        QFile file(m_top + "/" + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QFile other(m_top + "/other/only.cfg");
    QVERIFY(other.open(QIODevice::WriteOnly));
}

void TestFileListBox::showList(FileListBox& list)
{
    list.resize(200, 300);
    list.show();
    QVERIFY(list.setPath(m_top));
    QVERIFY(QTest::qWaitForWindowExposed(&list));
}

void TestFileListBox::listsVisibleFilesSortedWithoutCase()
{
    FileListBox list;
    QVERIFY(list.setPath(m_top));
    QCOMPARE(shownNames(list), (QStringList{"a b.cfg", "Autoexec.cfg", "b.txt", "sof2mp.cfg", "Zed"}));
    QCOMPARE(list.path(), m_top);
    QCOMPARE(list.fileName(), QString());
}

void TestFileListBox::mouseSelectionIsAClick()
{
    FileListBox list;
    showList(list);
    QSignalSpy clicks(&list, &FileListBox::Click);

    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, centreOfRow(list, 3));
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(list.fileName(), "sof2mp.cfg");
}

void TestFileListBox::keyboardSelectionIsAClick_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("clicks");

    QTest::newRow("down from the first") << QList<int>{Qt::Key_Down} << "b.txt" << 2;
    QTest::newRow("to the end") << QList<int>{Qt::Key_End} << "Zed" << 2;
    QTest::newRow("back home") << QList<int>{Qt::Key_End, Qt::Key_Home} << "a b.cfg" << 3;
    QTest::newRow("by first letter") << QList<int>{Qt::Key_S} << "sof2mp.cfg" << 2;
}

void TestFileListBox::keyboardSelectionIsAClick()
{
    QFETCH(QList<int>, keys);
    QFETCH(QString, fileName);
    QFETCH(int, clicks);

    FileListBox list;
    showList(list);
    list.setFocus();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, centreOfRow(list, 1));
    QSignalSpy spy(&list, &FileListBox::Click);
    for (int key : keys)
        QTest::keyClick(&list, Qt::Key(key));

    QCOMPARE(list.fileName(), fileName);
    QCOMPARE(spy.count() + 1, clicks);
}

void TestFileListBox::focusAloneIsNoClick()
{
    FileListBox list;
    showList(list);
    QSignalSpy clicks(&list, &FileListBox::Click);
    list.setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    QCOMPARE(clicks.count(), 0);
    QCOMPARE(list.fileName(), QString());
}

void TestFileListBox::clickingTheSelectedFileAgainIsAClick()
{
    FileListBox list;
    showList(list);
    QSignalSpy clicks(&list, &FileListBox::Click);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, centreOfRow(list, 0));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, centreOfRow(list, 0));
    QCOMPARE(clicks.count(), 2);
}

void TestFileListBox::newFolderSelectsNothing()
{
    FileListBox list;
    showList(list);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, centreOfRow(list, 0));
    QSignalSpy clicks(&list, &FileListBox::Click);

    QVERIFY(list.setPath(m_top + "/other"));
    QCOMPARE(shownNames(list), QStringList{"only.cfg"});
    QCOMPARE(list.fileName(), QString());
    QCOMPARE(clicks.count(), 0);
}

void TestFileListBox::unreadableFolderKeepsTheList()
{
    FileListBox list;
    QVERIFY(list.setPath(m_top));
    QSignalSpy failures(&list, &FileListBox::openFailed);

    QVERIFY(QDir(m_top + "/sub folder").removeRecursively());
    QVERIFY(!list.setPath(m_top + "/sub folder"));
    QVERIFY(!list.setPath(m_top + "/b.txt"));

    QCOMPARE(list.path(), m_top);
    QCOMPARE(shownNames(list).size(), 5);
    QCOMPARE(failures.count(), 2);
    QVERIFY(failures[0].first().toString().contains("does not exist"));
    QVERIFY(failures[1].first().toString().contains("not a folder"));
}

QTEST_MAIN(TestFileListBox)
#include "TestFileListBox.moc"
