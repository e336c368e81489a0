#include "cfgfile/ConfigLine.h"
#include "cfgfile/ConfigRewrite.h"
#include "cfgfile/FilePath.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

// What the game's line input makes of a file: a CR, with a LF right after
// it, ends a line; a lone LF is an ordinary byte; the end of the file ends
// the last line. Each line then ends in CR LF, and the new line follows one
// empty line.
QByteArray rewrittenByHand(QByteArray old, const QByteArray& line)
{
    old.replace("\r\n", "\r");
    if (!old.isEmpty() && !old.endsWith('\r'))
        old += '\r';
    return old.replace("\r", "\r\n") + "\r\n" + line + "\r\n";
}

} // namespace

// The bytes a save adds: the line composed from the fields, encoded as the
// game reads it, and the old content around it; and the path the file list
// hands on.
class TestConfigRewrite : public QObject
{
    Q_OBJECT

private slots:
    void bytes_data();
    void bytes();
    void randomContentRewrittenAsByHand();
};

void TestConfigRewrite::bytes_data()
{
    QTest::addColumn<QByteArray>("made");
    QTest::addColumn<QByteArray>("expected");

    const auto encoded = [](const QString& line) { return encodeConfigLine(line); };
    QTest::newRow("bind keeps every space") << encoded(MakeBindLine(" KP_END ", " Say ", " a b "))
                                            << QByteArray("bind  KP_END   Say  \" a b \"");
    QTest::newRow("bind with empty key and text") << encoded(MakeBindLine("", "Say", "")) << QByteArray("bind  Say \"\"");
    QTest::newRow("name with a code, a tab and a quote") << encoded(MakeNameLine(QStringLiteral("^4Neo\t\"")))
                                                         << QByteArray("seta name \"^4Neo\t\"\"");
    QTest::newRow("Windows-1252 letters and symbols") << encoded(QStringLiteral(u"\u00e9\u00ff\u20ac\u2020\u0001\u001a\u001c"))
                                                      << QByteArray("\xe9\xff\x80\x86\x01\x1a\x1c");
    QTest::newRow("one ? per character Windows-1252 lacks")
        << encoded(QStringLiteral(u"a\u65e5\U0001F600") + QChar(0xd800)) << QByteArray("a???");
    QTest::newRow("drive root") << MakeFilePath("C:\\", "x.cfg", u'\\').toUtf8() << QByteArray("C:\\x.cfg");
    QTest::newRow("a separator after a folder, only the given one counts") << MakeFilePath("C:/", "x", u'\\').toUtf8()
                                                                           << QByteArray("C:/\\x");
}

void TestConfigRewrite::bytes()
{
    QFETCH(QByteArray, made);
    QFETCH(QByteArray, expected);
    QCOMPARE(made, expected);
}

void TestConfigRewrite::randomContentRewrittenAsByHand()
{
    // Mostly line ends, so that every pairing of CR, LF and other bytes turns
    // up, also at the start and the end of the file.
    static constexpr char alphabet[] = {'\r', '\n', 'a', '\0', '\x1a', '\xff', '\r', '\n'};
    QRandomGenerator random(20261206);
    for (int round = 0; round < 5000; ++round) {
        QByteArray old(random.bounded(40), Qt::Uninitialized);
        for (char& byte : old)
            byte = alphabet[random.bounded(int(sizeof alphabet))];
        // What a save writes: the stretches, each lone CR given its LF, and
        // the ending; it adds in place exactly when every old byte stays.
        const QList<QByteArrayView> stretches = ConfigRewrite::stretches(old);
        QByteArray saved;
        for (const QByteArrayView stretch : stretches)
            saved += stretch.toByteArray() + '\n';
        saved.chop(1);
        saved += ConfigRewrite::ending(old, "L");
        const QByteArray rewritten = rewrittenByHand(old, "L");
        QVERIFY2(saved == rewritten, old.toHex(' ').constData());
        QCOMPARE(stretches.size() == 1, rewritten.startsWith(old));
    }
}

QTEST_APPLESS_MAIN(TestConfigRewrite)
#include "TestConfigRewrite.moc"
