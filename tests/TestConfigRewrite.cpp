#include "cfgfile/ConfigRewrite.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

// The lines as the classic line input reads them, written independently of
// the code under test: byte by byte, the slow obvious way.
QList<QByteArray> linesRead(const QByteArray& content)
{
    QList<QByteArray> lines;
    QByteArray line;
    qsizetype i = 0;
    while (i < content.size()) {
        const char byte = content[i++];
        if (byte != '\r') {
            line += byte;
            if (i == content.size())
                lines.append(line);
            continue;
        }
        if (i < content.size() && content[i] == '\n')
            ++i;
        lines.append(line);
        line.clear();
    }
    return lines;
}

QByteArray randomContent(QRandomGenerator& random)
{
    // Mostly line ends and a few others, so that every pairing of CR, LF and
    // ordinary bytes turns up, also at the edges of the pieces.
    static constexpr char alphabet[] = {'\r', '\n', 'a', '\0', '\x1a', '\xff', '\r', '\n'};
    QByteArray content(random.bounded(40), Qt::Uninitialized);
    for (char& byte : content)
        byte = alphabet[random.bounded(int(sizeof alphabet))];
    return content;
}

} // namespace

class TestConfigRewrite : public QObject
{
    Q_OBJECT

private slots:
    void rewrite_data();
    void rewrite();
    void randomContentKeepsItsLines();
    void encodeLine_data();
    void encodeLine();
};

void TestConfigRewrite::rewrite_data()
{
    QTest::addColumn<QByteArray>("old");
    QTest::addColumn<QByteArray>("rewritten");

    const QByteArray tail = "\r\nseta name \"B\"\r\n";
    QTest::newRow("one line") << QByteArray::fromHex("410d0a")
                              << QByteArray::fromHex("410d0a0d0a73657461206e616d65202242220d0a");
    QTest::newRow("empty file") << QByteArray() << tail;
    QTest::newRow("no final terminator") << QByteArray("x\r\ny") << "x\r\ny\r\n" + tail;
    QTest::newRow("lone CR line ends") << QByteArray("x\ry\r") << "x\r\ny\r\n" + tail;
    QTest::newRow("lone LF is part of the line") << QByteArray("x\ny\n") << "x\ny\n\r\n" + tail;
    QTest::newRow("LF CR is a LF in one line, then its end") << QByteArray("x\n\ry") << "x\n\r\ny\r\n" + tail;
    QTest::newRow("empty lines stay") << QByteArray("\r\n\r\nx\r\n\r\n") << "\r\n\r\nx\r\n\r\n" + tail;
    QTest::newRow("CR CR LF") << QByteArray("x\r\r\n") << "x\r\n\r\n" + tail;
    QTest::newRow("NUL, EOF mark and high bytes") << QByteArray("a\0\x1a\x80\xff", 5) + "\r\n"
                                                  << QByteArray("a\0\x1a\x80\xff", 5) + "\r\n" + tail;
    QTest::newRow("saved twice") << "x\r\n" + tail << "x\r\n" + tail + tail;
}

void TestConfigRewrite::rewrite()
{
    QFETCH(QByteArray, old);
    QFETCH(QByteArray, rewritten);
    QCOMPARE(ConfigRewrite::rewriteAll(old, "seta name \"B\""), rewritten);
}

void TestConfigRewrite::randomContentKeepsItsLines()
{
    QRandomGenerator random(20261206);
    for (int round = 0; round < 5000; ++round) {
        const QByteArray old = randomContent(random);
        const QByteArray rewritten = ConfigRewrite::rewriteAll(old, "L");

        QList<QByteArray> expected = linesRead(old);
        expected << QByteArray() << QByteArray("L");
        QVERIFY2(linesRead(rewritten) == expected, old.toHex(' ').constData());
        QVERIFY2(rewritten.endsWith("\r\n"), old.toHex(' ').constData());

        // The same content read in two pieces cut anywhere, as a file is read.
        const qsizetype cut = random.bounded(old.size() + 1);
        ConfigRewrite inPieces("L");
        QByteArray out;
        inPieces.rewrite(QByteArrayView(old).first(cut), out);
        inPieces.rewrite(QByteArrayView(old).sliced(cut), out);
        inPieces.finish(out);
        QCOMPARE(out, rewritten);

        ConfigRewrite scanned("L");
        scanned.scan(QByteArrayView(old).first(cut));
        scanned.scan(QByteArrayView(old).sliced(cut));
        QCOMPARE(scanned.keepsOldBytes(), rewritten.startsWith(old));
        if (scanned.keepsOldBytes())
            QCOMPARE(old + scanned.appendix(), rewritten);
        // A save keeps the bytes up to the first change and rewrites only
        // from there on.
        if (!scanned.keepsOldBytes()) {
            const qsizetype change = scanned.firstChange();
            QCOMPARE(old.first(change) + '\n' + ConfigRewrite::rewriteAll(old.sliced(change), "L"), rewritten);
        }
    }
}

void TestConfigRewrite::encodeLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("ASCII") << QStringLiteral("seta name \"A\"") << QByteArray("seta name \"A\"");
    QTest::newRow("Latin-1 letters") << QStringLiteral(u"\u00e9\u00ff") << QByteArray("\xe9\xff");
    QTest::newRow("euro and dagger") << QStringLiteral(u"\u20ac\u2020") << QByteArray("\x80\x86");
    QTest::newRow("symbol characters") << QStringLiteral(u"\u0001\u001a\u001c") << QByteArray("\x01\x1a\x1c");
    QTest::newRow("not in Windows-1252") << QStringLiteral(u"a\u65e5b") << QByteArray("a?b");
    QTest::newRow("one ? per character, not per half") << QStringLiteral(u"\U0001F600\u001a") << QByteArray("?\x1a");
    QTest::newRow("lone surrogate") << QString(QChar(0xd800)) << QByteArray("?");
}

void TestConfigRewrite::encodeLine()
{
    QFETCH(QString, line);
    QFETCH(QByteArray, bytes);
    QCOMPARE(ConfigRewrite::encodeLine(line), bytes);
}

QTEST_APPLESS_MAIN(TestConfigRewrite)
#include "TestConfigRewrite.moc"
