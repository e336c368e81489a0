// The preview of the entry text: the runs the text falls into, then their picture.
#include "preview/GameTextPicture.h"
#include "palette/SymbolCells.h"

#include <QHash>
#include <QSet>
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

// How many pixels of each colour the image holds, the background left out.
QHash<QRgb, int> inkCounts(const QImage& image)
{
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y) | 0xFF000000];
    }
    counts.remove(GameTextBackground);
    return counts;
}

} // namespace

class TestGameTextPicture : public QObject
{
    Q_OBJECT

private slots:
    void runs_data();
    void runs();
    void colours_data();
    void colours();
};

void TestGameTextPicture::runs_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<qsizetype>("drawnLimit");
    const auto row = [](const char* name, const QString& text, const QString& expected, qsizetype drawnLimit = 1000) {
        QTest::newRow(name) << text << expected << drawnLimit;
    };

    row("plain text starts white", "Hello there", "#ffffff'Hello there'");
    row("code at the end draws nothing", "Hi^1", "#ffffff'Hi'");
    row("code between", "a^4b", "#ffffff'a' #4c4cff'b'");
    row("doubled caret, then a code", "^^1x", "#ffffff'^' #ff1919'x'");
    row("symbols between codes", QStringLiteral("^1\x1c^2\x0e^3"), "#ff1919{1c} #a9c274{0e}");
    row("symbol splits a run", QStringLiteral("a\tb"), "#ffffff'a' #ffffff{09} #ffffff'b'");
    row("caret before a symbol is drawn", QStringLiteral("^\x1c"), "#ffffff'^' #ffffff{1c}");

    // Only so much is read, counted in what is drawn; codes count for nothing.
    row("cut after the limit", "^1abc", "#ff1919'ab' ...", 2);
    row("symbol counts one", QStringLiteral("\x1c" "ab"), "#ffffff{1c} #ffffff'a' ...", 2);
    row("a code pair is never cut", "a^1b", "#ffffff'a' ...", 1);
}

void TestGameTextPicture::runs()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QFETCH(qsizetype, drawnLimit);
    QCOMPARE(describe(gameTextRuns(text, drawnLimit)), expected);
}

void TestGameTextPicture::colours_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<QRgb>>("colours");
    QTest::addColumn<QImage>("alone"); // a symbol drawn with room to spare: the preview must clip none of it

    QTest::newRow("doubled caret is drawn") << "^^" << QList<QRgb>{0xFFFFFFFF} << QImage();
    // U+001A has no picture in the game's font; the player still sees that
    // something is there, in the colour of the text around it.
    QTest::newRow("control character without a picture") << QStringLiteral("^1\x1a") << QList<QRgb>{0xFFFF1919} << QImage();
    // Offered under the green return arrow too, but shown as the framed dot.
    QTest::newRow("U+000E offered twice") << QStringLiteral("\x0e") << QList<QRgb>{SymbolWhite} << QImage();
    for (char16_t character = 0x01; character <= 0x1F; ++character) {
        if (const SymbolCell* cell = findSymbolCell(character))
            QTest::addRow("U+%04X", unsigned(character)) << QStringLiteral("^1%1^1").arg(QChar(character))
                                                         << QList<QRgb>{cell->ink} << cell->picture();
    }
}

void TestGameTextPicture::colours()
{
    QFETCH(QString, text);
    QFETCH(QList<QRgb>, colours);
    QFETCH(QImage, alone);

    const QHash<QRgb, int> shown = inkCounts(gameTextPicture(gameTextRuns(text)));
    QCOMPARE(QSet<QRgb>(shown.keyBegin(), shown.keyEnd()), QSet<QRgb>(colours.begin(), colours.end()));
    if (!alone.isNull())
        QCOMPARE(shown.value(colours.first()), inkCounts(alone).value(colours.first()));
}

QTEST_MAIN(TestGameTextPicture)
#include "TestGameTextPicture.moc"
