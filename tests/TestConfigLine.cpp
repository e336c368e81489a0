#include "cfgfile/ConfigLine.h"

#include <QTest>

class TestConfigLine : public QObject
{
    Q_OBJECT

private slots:
    void line_data();
    void line();
};

void TestConfigLine::line_data()
{
    QTest::addColumn<bool>("bind"); // else a name
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("line");

    QTest::newRow("bind picked from the lists") << true << "KP_UPARROW" << "Say" << "hi" << "bind KP_UPARROW Say \"hi\"";
    QTest::newRow("bind with an empty key keeps both spaces") << true << "" << "Say" << "hi" << "bind  Say \"hi\"";
    QTest::newRow("bind with empty text") << true << "KP_5" << "Say_team" << "" << "bind KP_5 Say_team \"\"";
    QTest::newRow("bind keeps spaces") << true << " KP_END " << " Say " << " a b " << "bind  KP_END   Say  \" a b \"";
    QTest::newRow("bind leaves a quote as it is") << true << "KP_5" << "Say" << "a\"b" << "bind KP_5 Say \"a\"b\"";
    QTest::newRow("bind with a colour code and a symbol")
        << true << "KP_INS" << "Say" << QString("^1Go\x1C!") << QString("bind KP_INS Say \"^1Go\x1C!\"");
    QTest::newRow("name") << false << "" << "" << "Player" << "seta name \"Player\"";
    QTest::newRow("empty name") << false << "" << "" << "" << "seta name \"\"";
    QTest::newRow("name leaves a quote as it is") << false << "" << "" << "a\"" << "seta name \"a\"\"";
    QTest::newRow("name with codes and a tab") << false << "" << "" << QString("^4Neo\t^7") << QString("seta name \"^4Neo\t^7\"");
}

void TestConfigLine::line()
{
    QFETCH(bool, bind);
    QFETCH(QString, key);
    QFETCH(QString, command);
    QFETCH(QString, text);
    QFETCH(QString, line);
    QCOMPARE(bind ? MakeBindLine(key, command, text) : MakeNameLine(text), line);
}

QTEST_APPLESS_MAIN(TestConfigLine)
#include "TestConfigLine.moc"
