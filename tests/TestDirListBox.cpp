#include "app/Application.h"
#include "platform/DirListBox.h"

#include <QApplication>
#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Each row as the player reads it: the folder's caption, indented one step
// per level, open folders first.
QStringList rowsOf(const DirListBox& list)
{
    QStringList rows;
    for (QTreeWidgetItemIterator it(const_cast<DirListBox*>(&list)); *it; ++it) {
        int depth = 0;
        for (const QTreeWidgetItem* up = (*it)->parent(); up; up = up->parent())
            ++depth;
        rows << QString(depth, u' ') + (*it)->text(0);
    }
    return rows;
}

QTreeWidgetItem* rowNamed(DirListBox& list, const QString& caption)
{
    const QList<QTreeWidgetItem*> found = list.findItems(caption, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

QPoint centreOf(DirListBox& list, QTreeWidgetItem* item)
{
    return list.visualItemRect(item).center();
}

} // namespace

class TestDirListBox : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void showsTheWayDownAndTheSubfolders();
    void pathForm_data();
    void pathForm();
    void clickOnlySelects();
    void doubleClickOpens();
    void enterOpensTheSelectedFolder();
    void openingAnAncestorGoesUp();
    void folderRemovedBeforeOpeningKeepsTheList();

private:
    std::unique_ptr<QTemporaryDir> m_tree;
    QString m_top;
};

void TestDirListBox::initTestCase()
{
    configureApplication(*qobject_cast<QApplication*>(qApp));
}

void TestDirListBox::init()
{
    m_tree = std::make_unique<QTemporaryDir>();
    QVERIFY(m_tree->isValid());
    m_top = QDir(m_tree->path()).canonicalPath() + "/top";
    QDir dir;
    for (const char* sub : {"top/beta", "top/Alpha", "top/gamma/deep", "top/.hidden", "top/Base"})
        QVERIFY(dir.mkpath(m_tree->path() + "/" + sub));
    QFile file(m_top + "/afile.cfg");
    QVERIFY(file.open(QIODevice::WriteOnly));
}

void TestDirListBox::showsTheWayDownAndTheSubfolders()
{
    DirListBox list;
    QVERIFY(list.setPath(m_top));

    const QStringList rows = rowsOf(list);
    const int depth = m_top.count('/');
    QStringList expected{"/"};
    int level = 1;
    for (const QString& part : m_top.split('/', Qt::SkipEmptyParts))
        expected << QString(level++, u' ') + part;
    // Sub-folders sorted without regard to case, hidden ones and files left out.
    for (const char* sub : {"Alpha", "Base", "beta", "gamma"})
        expected << QString(depth + 1, u' ') + sub;
    QCOMPARE(rows, expected);

    // The open folder is the one marked, and only it and its ancestors look open.
    QCOMPARE(list.currentItem()->text(0), "top");
    QVERIFY(list.currentItem()->isSelected());
    const qint64 openKey = rowNamed(list, "top")->icon(0).cacheKey();
    QCOMPARE(list.topLevelItem(0)->icon(0).cacheKey(), openKey);
    QVERIFY(rowNamed(list, "Alpha")->icon(0).cacheKey() != openKey);
}

void TestDirListBox::pathForm_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("path");

    QTest::newRow("root keeps its separator") << "/" << "/";
    QTest::newRow("folder has none") << "%1/beta" << "%1/beta";
    QTest::newRow("closing separator dropped") << "%1/beta/" << "%1/beta";
    QTest::newRow("dot dot resolved") << "%1/gamma/deep/.." << "%1/gamma";
}

void TestDirListBox::pathForm()
{
    QFETCH(QString, given);
    QFETCH(QString, path);
    DirListBox list;
    QVERIFY(list.setPath(QString(given).replace("%1", m_top)));
    QCOMPARE(list.path(), QString(path).replace("%1", m_top));
}

void TestDirListBox::clickOnlySelects()
{
    DirListBox list;
    list.resize(300, 600);
    list.show();
    QVERIFY(list.setPath(m_top));
    QSignalSpy changes(&list, &DirListBox::Change);

    QTreeWidgetItem* beta = rowNamed(list, "beta");
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, centreOf(list, beta));
    QCOMPARE(list.currentItem(), beta);
    QTest::keyClick(&list, Qt::Key_Down);
    QCOMPARE(list.currentItem()->text(0), "gamma");

    QCOMPARE(changes.count(), 0);
    QCOMPARE(list.path(), m_top);
}

void TestDirListBox::doubleClickOpens()
{
    DirListBox list;
    list.resize(300, 600);
    list.show();
    QVERIFY(list.setPath(m_top));
    QSignalSpy changes(&list, &DirListBox::Change);

    QTreeWidgetItem* gamma = rowNamed(list, "gamma");
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, centreOf(list, gamma));

    QCOMPARE(changes.count(), 1);
    QCOMPARE(list.path(), m_top + "/gamma");
    QCOMPARE(list.currentItem()->text(0), "gamma");
    QVERIFY(rowNamed(list, "deep"));
    QVERIFY(!rowNamed(list, "beta"));
}

void TestDirListBox::enterOpensTheSelectedFolder()
{
    DirListBox list;
    list.resize(300, 600);
    list.show();
    QVERIFY(list.setPath(m_top));
    list.setFocus();
    QSignalSpy changes(&list, &DirListBox::Change);

    QTest::keyClick(&list, Qt::Key_Down); // Alpha
    QTest::keyClick(&list, Qt::Key_Down); // Base
    QCOMPARE(changes.count(), 0);
    QTest::keyClick(&list, Qt::Key_Return);

    QCOMPARE(changes.count(), 1);
    QCOMPARE(list.path(), m_top + "/Base");
}

void TestDirListBox::openingAnAncestorGoesUp()
{
    DirListBox list;
    list.resize(300, 600);
    list.show();
    QVERIFY(list.setPath(m_top + "/gamma/deep"));

    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, centreOf(list, rowNamed(list, "top")));
    QCOMPARE(list.path(), m_top);

    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, centreOf(list, list.topLevelItem(0)));
    QCOMPARE(list.path(), QDir::rootPath());
}

void TestDirListBox::folderRemovedBeforeOpeningKeepsTheList()
{
    DirListBox list;
    list.resize(300, 600);
    list.show();
    QVERIFY(list.setPath(m_top));
    const QStringList before = rowsOf(list);
    QSignalSpy changes(&list, &DirListBox::Change);
    QSignalSpy failures(&list, &DirListBox::openFailed);

    QTreeWidgetItem* beta = rowNamed(list, "beta");
    QVERIFY(QDir(m_top + "/beta").removeRecursively());
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, centreOf(list, beta));

    QCOMPARE(changes.count(), 0);
    QCOMPARE(list.path(), m_top);
    QCOMPARE(rowsOf(list), before);
    QCOMPARE(failures.count(), 1);
    const QString problem = failures.first().first().toString();
    QVERIFY2(problem.contains("\"" + m_top + "/beta\"") && problem.contains("does not exist"), qPrintable(problem));

    // Code that sets a vanished folder is told so by the result too.
    QVERIFY(!list.setPath(m_top + "/beta"));
    QCOMPARE(list.path(), m_top);
}

QTEST_MAIN(TestDirListBox)
#include "TestDirListBox.moc"
