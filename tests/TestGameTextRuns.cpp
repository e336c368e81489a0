#include "preview/GameTextRuns.h"

#include <QTest>

namespace {

// Runs written out for comparison: #rrggbb'text' for text, #rrggbb{1c} for a
// symbol, ... for the cut, separated by spaces.
QString describe(const std::vector<GameTextRun>& runs)
{
    QStringList parts;
    for (const GameTextRun& run : runs) {
        if (run.kind == GameTextRun::Kind::Cut)
            parts << QStringLiteral("...");
        else if (run.kind == GameTextRun::Kind::Symbol)
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
    QTest::addColumn<qsizetype>("drawnLimit");
    const auto row = [](const char* name, const QString& text, const QString& expected,
                        qsizetype drawnLimit = std::numeric_limits<qsizetype>::max()) {
        QTest::newRow(name) << text << expected << drawnLimit;
    };

    row("plain text starts white", "Hello there", "#ffffff'Hello there'");
    row("code at the start", "^1Hi", "#ff1919'Hi'");
    row("code at the end draws nothing", "Hi^1", "#ffffff'Hi'");
    row("code between", "a^4b", "#ffffff'a' #4c4cff'b'");
    row("codes in a row: the last wins", "^1^2x", "#a9c274'x'");
    row("lower and upper case differ", "^ax^Ay", "#00f3b5'x' #4a00ef'y'");
    row("doubled caret drawn", "^^", "#ffffff'^^'");
    row("doubled caret, then a code", "^^1x", "#ffffff'^' #ff1919'x'");
    row("caret at the end", "^3Hi^", "#ffff00'Hi^'");
    row("caret before a space, semicolon or grave accent", "^ ^;^`", "#ffffff'^ ^;^`'");
    row("symbols between codes", QStringLiteral("^1\x1c^2\x0e^3"), "#ff1919{1c} #a9c274{0e}");
    row("symbol splits a run", QStringLiteral("a\tb"), "#ffffff'a' #ffffff{09} #ffffff'b'");
    row("caret before a symbol is drawn", QStringLiteral("^\x1c"), "#ffffff'^' #ffffff{1c}");

    // Only so much is read, counted in what is drawn; codes count for nothing.
    row("cut after the limit", "^1abc", "#ff1919'ab' ...", 2);
    row("nothing cut at the limit", "^1ab", "#ff1919'ab'", 2);
    row("symbol counts one", QStringLiteral("\x1c" "ab"), "#ffffff{1c} #ffffff'a' ...", 2);
    row("a code pair is never cut", "a^1b", "#ffffff'a' ...", 1);
    row("a character of two halves counts one", QStringLiteral("\U0001F600ab"), "#ffffff'\U0001F600a' ...", 2);
}

void TestGameTextRuns::runs()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QFETCH(qsizetype, drawnLimit);
    QCOMPARE(describe(gameTextRuns(text, drawnLimit)), expected);
}

QTEST_APPLESS_MAIN(TestGameTextRuns)
#include "TestGameTextRuns.moc"
