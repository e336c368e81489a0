#include "cfgfile/ConfigLine.h"

#include <QTest>

class TestConfigLine : public QObject
{
    Q_OBJECT

private slots:
    void bindLine_data();
    void bindLine();
    void nameLine_data();
    void nameLine();
};

void TestConfigLine::bindLine_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("line");

    QTest::newRow("picked from the lists") << "KP_UPARROW" << "Say" << "hi" << "bind KP_UPARROW Say \"hi\"";
    QTest::newRow("empty key keeps both spaces") << "" << "Say" << "hi" << "bind  Say \"hi\"";
    QTest::newRow("empty key and command") << "" << "" << "hi" << "bind   \"hi\"";
    QTest::newRow("empty text") << "KP_5" << "Say_team" << "" << "bind KP_5 Say_team \"\"";
    QTest::newRow("typed key and command") << "F1" << "say" << "x" << "bind F1 say \"x\"";
    QTest::newRow("spaces are kept") << " KP_END " << " Say " << " a b " << "bind  KP_END   Say  \" a b \"";
    QTest::newRow("quote is not escaped") << "KP_5" << "Say" << "a\"b" << "bind KP_5 Say \"a\"b\"";
    QTest::newRow("colour code and symbol") << "KP_INS" << "Say" << QString("^1Go\x1C!")
                                            << QString("bind KP_INS Say \"^1Go\x1C!\"");
}

void TestConfigLine::bindLine()
{
    QFETCH(QString, key);
    QFETCH(QString, command);
    QFETCH(QString, text);
    QFETCH(QString, line);
    QCOMPARE(MakeBindLine(key, command, text), line);
}

void TestConfigLine::nameLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("line");

    QTest::newRow("plain") << "Player" << "seta name \"Player\"";
    QTest::newRow("empty") << "" << "seta name \"\"";
    QTest::newRow("spaces kept") << "  x " << "seta name \"  x \"";
    QTest::newRow("quote kept") << "a\"" << "seta name \"a\"\"";
    QTest::newRow("codes and tab") << QString("^4Neo\t^7") << QString("seta name \"^4Neo\t^7\"");
}

void TestConfigLine::nameLine()
{
    QFETCH(QString, text);
    QFETCH(QString, line);
    QCOMPARE(MakeNameLine(text), line);
}

QTEST_APPLESS_MAIN(TestConfigLine)
#include "TestConfigLine.moc"
