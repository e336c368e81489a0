#include "palette/GameTextRuns.h"

#include <QTest>

namespace {

// Runs written out for comparison: #rrggbb'text' for text, #rrggbb{1c} for a
// symbol, separated by spaces.
QString describe(const std::vector<GameTextRun>& runs)
{
    QStringList parts;
    for (const GameTextRun& run : runs) {
        if (run.kind == GameTextRun::Kind::Symbol)
            parts << QStringLiteral("%1{%2}").arg(run.colour.name()).arg(run.text.front().unicode(), 2, 16, QLatin1Char('0'));
        else
            parts << QStringLiteral("%1'%2'").arg(run.colour.name(), run.text);
    }
    return parts.join(u' ');
}

} // namespace

class TestGameTextRuns : public QObject
{
    Q_OBJECT

private slots:
    void runs_data();
    void runs();
};

void TestGameTextRuns::runs_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain text starts white") << "Hello there" << "#ffffff'Hello there'";
    QTest::newRow("code at the start") << "^1Hi" << "#ff1919'Hi'";
    QTest::newRow("code at the end draws nothing") << "Hi^1" << "#ffffff'Hi'";
    QTest::newRow("code between") << "a^4b" << "#ffffff'a' #4c4cff'b'";
    QTest::newRow("codes in a row: the last wins") << "^1^2x" << "#a9c274'x'";
    QTest::newRow("lower and upper case differ") << "^ax^Ay" << "#00f3b5'x' #4a00ef'y'";
    QTest::newRow("doubled caret drawn") << "^^" << "#ffffff'^^'";
    QTest::newRow("doubled caret, then a code") << "^^1x" << "#ffffff'^' #ff1919'x'";
    QTest::newRow("caret at the end") << "^3Hi^" << "#ffff00'Hi^'";
    QTest::newRow("caret before a space, semicolon or grave accent") << "^ ^;^`" << "#ffffff'^ ^;^`'";
    QTest::newRow("symbols between codes") << QStringLiteral("^1\x1c^2\x0e^3")
                                           << "#ff1919{1c} #a9c274{0e}";
    QTest::newRow("symbol splits a run") << QStringLiteral("a\tb") << "#ffffff'a' #ffffff{09} #ffffff'b'";
    QTest::newRow("caret before a symbol is drawn") << QStringLiteral("^\x1c") << "#ffffff'^' #ffffff{1c}";
}

void TestGameTextRuns::runs()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(describe(gameTextRuns(text)), expected);
}

QTEST_APPLESS_MAIN(TestGameTextRuns)
#include "TestGameTextRuns.moc"
