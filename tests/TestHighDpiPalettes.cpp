// At twice the size (QT_SCALE_FACTOR=2, as on a high-density screen) the
// palette pictures must grow with their cells: a click at the centre of a
// swatch's picture still inserts that swatch's code. The X server sees
// device pixels, so the clicks and the screenshots here are in device pixels.
#include "app/Application.h"
#include "app/Form1.h"
#include "app/FormDefinition.h"
#include "palette/ColourCells.h"
#include "palette/ColourPalettePicture.h"
#include "palette/SymbolCells.h"
#include "palette/SymbolPalettePicture.h"
#include "platform/PictureBox.h"
#include "platform/TextBox.h"
#include "support/XvfbSession.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRadioButton>
#include <QTest>

#include <memory>

namespace {

constexpr int Scale = 2;

// One palette as a player sees it: the panel, the option that shows it, its
// picture and, for each cell, the picture's rectangle under it and its text.
struct PaletteUnderTest
{
    const char* panel;
    const char* option;
    QImage picture;
    struct Cell
    {
        QRect twips;
        QRect pictured; // in picture pixels
        QString inserts;
    };
    QList<Cell> cells;
};

PaletteUnderTest colourPalette()
{
    PaletteUnderTest palette{"Picture1", "Option3", colourPalettePicture(), {}};
    for (const ColourCell& cell : colourCells())
        palette.cells.append({cell.twips, cell.pictureRect(), cell.code()});
    return palette;
}

PaletteUnderTest symbolPalette()
{
    PaletteUnderTest palette{"Picture3", "Option4", symbolPalettePicture(), {}};
    for (const SymbolCell& cell : symbolCells())
        palette.cells.append({cell.twips, symbolPictureCell(cell.row, cell.column), cell.text()});
    return palette;
}

} // namespace

Q_DECLARE_METATYPE(PaletteUnderTest)

class TestHighDpiPalettes : public QObject
{
    Q_OBJECT

public:
    explicit TestHighDpiPalettes(const XvfbSession& x)
        : m_x(x)
    {
    }

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void pictureAndCellsCoincide_data();
    void pictureAndCellsCoincide();

private:
    bool clickAt(const QList<QPoint>& devicePoints);
    QImage grabDevicePixels(QRect deviceArea) const;

    const XvfbSession& m_x;
    std::unique_ptr<Form1> m_form;
    TextBox* m_text1 = nullptr;
};

void TestHighDpiPalettes::initTestCase()
{
    QCOMPARE(qApp->devicePixelRatio(), qreal(Scale));
    configureApplication(*qobject_cast<QApplication*>(QCoreApplication::instance()));
}

void TestHighDpiPalettes::init()
{
    m_form = std::make_unique<Form1>();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_text1 = m_form->findChild<TextBox*>(QStringLiteral("Text1"));
}

void TestHighDpiPalettes::cleanup()
{
    m_form.reset();
}

void TestHighDpiPalettes::pictureAndCellsCoincide_data()
{
    QTest::addColumn<PaletteUnderTest>("palette");
    QTest::newRow("colours") << colourPalette();
    QTest::newRow("symbols") << symbolPalette();
}

void TestHighDpiPalettes::pictureAndCellsCoincide()
{
    QFETCH(PaletteUnderTest, palette);
    auto* option = m_form->findChild<QRadioButton*>(QString::fromLatin1(palette.option));
    auto* panel = m_form->findChild<PictureBox*>(QString::fromLatin1(palette.panel));
    QVERIFY(clickAt({option->mapToGlobal(QPoint(7, option->height() / 2)) * Scale}));
    QTRY_VERIFY(panel->isVisible());

    // Each picture pixel becomes a square of Scale by Scale device pixels at
    // the panel's corner, with no smoothing that would blur a swatch's edge.
    const QPoint panelCorner = panel->mapToGlobal(QPoint(0, 0)) * Scale;
    const QImage expected = palette.picture.convertToFormat(QImage::Format_RGB32)
                                .scaled(palette.picture.size() * Scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    QImage onScreen;
    const QDeadlineTimer deadline(10000);
    while ((onScreen = grabDevicePixels(QRect(panelCorner, expected.size()))) != expected && !deadline.hasExpired())
        QTest::qWait(100);
    QCOMPARE(onScreen.size(), expected.size());
    QVERIFY2(onScreen == expected, "the picture is not drawn at twice its size at the panel's corner");

    QList<QPoint> centres;
    QString inserted;
    for (const PaletteUnderTest::Cell& cell : palette.cells) {
        const QPointF centre = QRectF(cell.twips).center() / TwipsPerPixel;
        // The click lands on the cell's pictured swatch or symbol...
        QVERIFY2(QRectF(cell.pictured.topLeft() * Scale, cell.pictured.size() * Scale).contains(centre * Scale),
                 qPrintable(cell.inserts));
        centres << panelCorner + (centre * Scale).toPoint();
        inserted += cell.inserts;
    }
    // ...and inserts that cell's text.
    QVERIFY(clickAt(centres));
    QTRY_COMPARE(m_text1->text().size(), inserted.size());
    QCOMPARE(m_text1->text(), inserted);
}

bool TestHighDpiPalettes::clickAt(const QList<QPoint>& devicePoints)
{
    QStringList arguments;
    for (QPoint point : devicePoints) {
        // The pause keeps neighbouring clicks from making a double click.
        arguments << "mousemove" << QString::number(point.x()) << QString::number(point.y()) << "click" << "1"
                  << "sleep" << "0.05";
    }
    QProcess xdotool;
    xdotool.setProcessEnvironment(m_x.environment());
    xdotool.start(QStringLiteral("xdotool"), arguments);
    if (!xdotool.waitForStarted(5000))
        return false;
    // The window must go on handling its events while the pointer moves.
    const QDeadlineTimer deadline(60000);
    while (xdotool.state() != QProcess::NotRunning && !deadline.hasExpired())
        QTest::qWait(20);
    return xdotool.exitStatus() == QProcess::NormalExit && xdotool.exitCode() == 0;
}

QImage TestHighDpiPalettes::grabDevicePixels(QRect deviceArea) const
{
    // The screenshot program runs unscaled, so its pixels are the device's.
    const QString file = QDir::temp().filePath(QStringLiteral("veltrane-high-dpi-%1.png").arg(QCoreApplication::applicationPid()));
    QProcess xshot;
    QProcessEnvironment environment = m_x.environment();
    environment.remove(QStringLiteral("QT_SCALE_FACTOR"));
    xshot.setProcessEnvironment(environment);
    xshot.start(QStringLiteral(VELTRANE_BUILD_DIR "/xshot"), {file});
    const QDeadlineTimer deadline(20000);
    while (xshot.state() != QProcess::NotRunning && !deadline.hasExpired())
        QTest::qWait(20);
    const QImage screen(file);
    QFile::remove(file);
    return screen.convertToFormat(QImage::Format_RGB32).copy(deviceArea);
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
    qputenv("QT_SCALE_FACTOR", QByteArray::number(Scale));
    QApplication app(argc, argv);
    TestHighDpiPalettes test(x);
    return QTest::qExec(&test, argc, argv);
}

#include "TestHighDpiPalettes.moc"
