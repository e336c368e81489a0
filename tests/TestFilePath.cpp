#include "cfgfile/FilePath.h"

#include <QTest>

class TestFilePath : public QObject
{
    Q_OBJECT

private slots:
    void join_data();
    void join();
};

void TestFilePath::join_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("path");

    const QChar back = u'\\';
    const QChar slash = u'/';
    QTest::newRow("Windows folder") << "D:\\Games\\base\\mp" << "sof2mp.cfg" << back << "D:\\Games\\base\\mp\\sof2mp.cfg";
    QTest::newRow("Windows root") << "C:\\" << "x.cfg" << back << "C:\\x.cfg";
    QTest::newRow("Linux root") << "/" << "x.cfg" << slash << "/x.cfg";
    QTest::newRow("name with spaces") << "/a b" << "my cfg.cfg" << slash << "/a b/my cfg.cfg";
    QTest::newRow("only the given separator counts") << "C:/" << "x" << back << "C:/\\x";
}

void TestFilePath::join()
{
    QFETCH(QString, folder);
    QFETCH(QString, fileName);
    QFETCH(QChar, separator);
    QFETCH(QString, path);
    QCOMPARE(MakeFilePath(folder, fileName, separator), path);
}

QTEST_APPLESS_MAIN(TestFilePath)
#include "TestFilePath.moc"
