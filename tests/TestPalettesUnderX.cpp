// Real mouse clicks on a real X display: the X server, not QTest, decides
// which widget a click lands on and whether two clicks make a double click.
// At twice the size (QT_SCALE_FACTOR=2, as on a high-density screen) the
// pictures must grow with their cells. The X server sees device pixels, so
// clicks and screenshots here are in device pixels.
#include "app/Application.h"
#include "app/Form1.h"
#include "palette/ColourPalettePicture.h"
#include "palette/SymbolPalettePicture.h"
#include "widgets/PictureBox.h"
#include "widgets/TextBox.h"
#include "support/PaletteExpectations.h"
#include "xserver/XvfbSession.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QRadioButton>
#include <QTest>

#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

class TestPalettesUnderX : public QObject
{
    Q_OBJECT

public:
    TestPalettesUnderX(const XvfbSession& x, int scale)
        : m_x(x)
        , m_scale(scale)
    {
    }

private slots:
    void initTestCase();
    void everyCellInOrderThenADoubleClick_data();
    void everyCellInOrderThenADoubleClick();

private:
    // Left clicks at device pixels, one after another; repeat clicks at each
    // point make a double click.
    bool clickAt(const QList<QPoint>& points, int repeat = 1);
    QImage grabDevicePixels(QRect area);
    bool waitFor(QProcess& process);

    const XvfbSession& m_x;
    const int m_scale;
};

void TestPalettesUnderX::initTestCase()
{
    QCOMPARE(qApp->devicePixelRatio(), qreal(m_scale));
    configureApplication(*qobject_cast<QApplication*>(QCoreApplication::instance()));
}

bool TestPalettesUnderX::waitFor(QProcess& process)
{
    // The window must go on handling its events meanwhile.
    const QDeadlineTimer deadline(60000);
    while (process.state() != QProcess::NotRunning && !deadline.hasExpired())
        QTest::qWait(20);
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool TestPalettesUnderX::clickAt(const QList<QPoint>& points, int repeat)
{
    QStringList arguments;
    for (QPoint point : points) {
        // The pause keeps neighbouring clicks from making a double click.
        arguments << "mousemove" << QString::number(point.x()) << QString::number(point.y()) << "click"
                  << "--repeat" << QString::number(repeat) << "--delay" << "40" << "1" << "sleep" << "0.05";
    }
    QProcess xdotool;
    xdotool.setProcessEnvironment(m_x.environment());
    xdotool.start(QStringLiteral("xdotool"), arguments);
    return xdotool.waitForStarted(5000) && waitFor(xdotool);
}

QImage TestPalettesUnderX::grabDevicePixels(QRect area)
{
    // The screenshot program runs unscaled, so its pixels are the device's.
    const QString file = QDir::temp().filePath(QStringLiteral("veltrane-palettes-%1.png").arg(QCoreApplication::applicationPid()));
    QProcess xshot;
    QProcessEnvironment environment = m_x.environment();
    environment.remove(QStringLiteral("QT_SCALE_FACTOR"));
    xshot.setProcessEnvironment(environment);
    xshot.start(QStringLiteral(VELTRANE_BUILD_DIR "/xshot"), {file});
    waitFor(xshot);
    const QImage screen(file);
    QFile::remove(file);
    return screen.convertToFormat(QImage::Format_RGB32).copy(area);
}

void TestPalettesUnderX::everyCellInOrderThenADoubleClick_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("panelName");
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<QString>("expected");

    // The other scale runs in a process of its own: Qt fixes it at start.
    QTest::addRow("colours at scale %d", m_scale) << "Option3" << "Picture1" << colourPalettePicture() << everyColourCodeInOrder();
    QTest::addRow("symbols at scale %d", m_scale) << "Option4" << "Picture3" << symbolPalettePicture() << everySymbolInOrder();
}

void TestPalettesUnderX::everyCellInOrderThenADoubleClick()
{
    QFETCH(QString, option);
    QFETCH(QString, panelName);
    QFETCH(QImage, picture);
    QFETCH(QString, expected);

    Form1 form(QDir::currentPath(), DriveCatalog::fromSystem());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto* text1 = form.findChild<TextBox*>(QStringLiteral("Text1"));
    auto* panel = form.findChild<PictureBox*>(panelName);
    auto* choice = form.findChild<QRadioButton*>(option);
    QVERIFY(clickAt({choice->mapToGlobal(QPoint(7, choice->height() / 2)) * m_scale}));
    QTRY_VERIFY(panel->isVisible());

    // Each picture pixel becomes a square of scale by scale device pixels at
    // the panel's corner, with no smoothing that would blur a swatch's edge.
    const QPoint corner = panel->mapToGlobal(QPoint(0, 0)) * m_scale;
    const QImage shown = picture.convertToFormat(QImage::Format_RGB32)
                             .scaled(picture.size() * m_scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QDeadlineTimer deadline(10000);
    while (grabDevicePixels(QRect(corner, shown.size())) != shown && !deadline.hasExpired())
        QTest::qWait(100);
    QVERIFY2(grabDevicePixels(QRect(corner, shown.size())) == shown, "the picture is not drawn at the panel's corner at the window's scale");

    const QList<PaletteCell*> cells = cellsInReadingOrder(*panel);
    QList<QPoint> centres;
    for (const PaletteCell* cell : cells)
        centres << cell->mapToGlobal(cell->rect().center()) * m_scale;
    QVERIFY(clickAt(centres));
    QTRY_COMPARE(text1->text(), expected);

    // A double click inserts once; the plain click after it shows the double
    // click has been delivered in full.
    QVERIFY(clickAt({centres.first()}, 2));
    QVERIFY(clickAt({centres.last()}));
    QTRY_COMPARE(text1->text().size(), expected.size() + cells.first()->insertion().size() + cells.last()->insertion().size());
    QCOMPARE(text1->text(), expected + cells.first()->insertion() + cells.last()->insertion());
}

int main(int argc, char** argv)
{
    XvfbSession x;
    // Room for the window at twice its size.
    if (!x.start(QStringLiteral("1280x1024x24"))) {
        qWarning("Xvfb did not start");
        return 1;
    }
    qputenv("DISPLAY", x.display().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    int failures = 0;
    for (const int scale : {1, 2}) {
        std::fflush(nullptr);
        const pid_t child = ::fork();
        if (child == 0) {
            qputenv("QT_SCALE_FACTOR", QByteArray::number(scale));
            QApplication app(argc, argv);
            TestPalettesUnderX test(x, scale);
            const int result = QTest::qExec(&test, argc, argv);
            std::fflush(nullptr);
            ::_exit(result);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        failures += WIFEXITED(status) ? WEXITSTATUS(status) : 1;
    }
    return failures;
}

#include "TestPalettesUnderX.moc"
