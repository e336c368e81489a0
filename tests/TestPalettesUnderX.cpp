// Real mouse clicks on a real X display: the X server, not QTest, decides
// which widget a click lands on and whether two clicks make a double click.
#include "app/Application.h"
#include "app/Form1.h"
#include "palette/ColourPalettePicture.h"
#include "palette/SymbolPalettePicture.h"
#include "platform/PictureBox.h"
#include "platform/TextBox.h"
#include "support/PaletteExpectations.h"
#include "support/XvfbSession.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QRadioButton>
#include <QScreen>
#include <QTest>

#include <memory>

class TestPalettesUnderX : public QObject
{
    Q_OBJECT

public:
    explicit TestPalettesUnderX(const XvfbSession& x)
        : m_x(x)
    {
    }

private slots:
    void initTestCase();
    void everyCellInOrderThenADoubleClick_data();
    void everyCellInOrderThenADoubleClick();

private:
    // Left clicks with the X server's pointer at global positions, one after
    // another; repeat clicks at each point make a double click.
    bool clickAt(const QList<QPoint>& points, int repeat = 1);

    const XvfbSession& m_x;
};

void TestPalettesUnderX::initTestCase()
{
    configureApplication(*qobject_cast<QApplication*>(QCoreApplication::instance()));
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
    if (!xdotool.waitForStarted(5000))
        return false;
    // Keep the window's event loop running while the pointer moves.
    const QDeadlineTimer deadline(30000);
    while (xdotool.state() != QProcess::NotRunning && !deadline.hasExpired())
        QTest::qWait(20);
    return xdotool.exitStatus() == QProcess::NormalExit && xdotool.exitCode() == 0;
}

void TestPalettesUnderX::everyCellInOrderThenADoubleClick_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("panelName");
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<QString>("expected");

    QTest::newRow("colours") << "Option3" << "Picture1" << colourPalettePicture() << everyColourCodeInOrder();
    QTest::newRow("symbols") << "Option4" << "Picture3" << symbolPalettePicture() << everySymbolInOrder();
}

void TestPalettesUnderX::everyCellInOrderThenADoubleClick()
{
    QFETCH(QString, option);
    QFETCH(QString, panelName);
    QFETCH(QImage, picture);
    QFETCH(QString, expected);

    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto* text1 = form.findChild<TextBox*>(QStringLiteral("Text1"));
    auto* panel = form.findChild<PictureBox*>(panelName);
    auto* choice = form.findChild<QRadioButton*>(option);
    QVERIFY(clickAt({choice->mapToGlobal(QPoint(6, choice->height() / 2))}));
    QTRY_VERIFY(panel->isVisible());

    // What the X server shows is the picture at natural size.
    const QPoint corner = panel->mapToGlobal(QPoint(0, 0));
    QTRY_COMPARE(form.screen()->grabWindow(0, corner.x(), corner.y(), picture.width(), picture.height())
                     .toImage().convertToFormat(QImage::Format_RGB32),
                 picture);

    const QList<PaletteCell*> cells = cellsInReadingOrder(*panel);
    QList<QPoint> centres;
    for (const PaletteCell* cell : cells)
        centres << cell->mapToGlobal(cell->rect().center());
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
    if (!x.start()) {
        qWarning("Xvfb did not start");
        return 1;
    }
    qputenv("DISPLAY", x.display().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    TestPalettesUnderX test(x);
    return QTest::qExec(&test, argc, argv);
}

#include "TestPalettesUnderX.moc"
