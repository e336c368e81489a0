// Starts the real program on a private X server and looks at its window from
// the outside, as a window manager would.
#include "support/XvfbSession.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QTest>

class TestWindowSmoke : public QObject
{
    Q_OBJECT

private slots:
    void windowAppearsWithItsTitleAndSize();

private:
    QString xdotool(const XvfbSession& x, const QStringList& arguments);
};

QString TestWindowSmoke::xdotool(const XvfbSession& x, const QStringList& arguments)
{
    QProcess process;
    process.setProcessEnvironment(x.environment());
    process.start(QStringLiteral("xdotool"), arguments);
    process.waitForFinished(10000);
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

void TestWindowSmoke::windowAppearsWithItsTitleAndSize()
{
    XvfbSession x;
    QVERIFY2(x.start(), "Xvfb did not start");

    QProcess program;
    program.setProcessEnvironment(x.environment());
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(QStringLiteral(VELTRANE_BINARY), {});
    QVERIFY(program.waitForStarted(5000));

    QString window;
    const QDeadlineTimer deadline(20000);
    while (window.isEmpty() && !deadline.hasExpired()) {
        window = xdotool(x, {"search", "--onlyvisible", "--name", "^Veltrane$"}).section('\n', 0, 0);
        if (window.isEmpty())
            QTest::qWait(100);
    }
    QVERIFY2(!window.isEmpty(), "no window titled Veltrane appeared");

    QCOMPARE(xdotool(x, {"getwindowname", window}), QStringLiteral("Veltrane"));
    const QString geometry = xdotool(x, {"getwindowgeometry", window});
    QVERIFY2(geometry.contains(QRegularExpression("Geometry: 605x468\\b")), qPrintable(geometry));

    program.terminate();
    QVERIFY(program.waitForFinished(5000));
}

QTEST_GUILESS_MAIN(TestWindowSmoke)
#include "TestWindowSmoke.moc"
