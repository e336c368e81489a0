// Real mouse clicks on a real X display: the X server, not QTest, decides
// which widget a click lands on and whether two clicks make a double click.
#include "app/Application.h"
#include "app/Form1.h"
#include "palette/ColourCells.h"
#include "palette/ColourPalettePicture.h"
#include "platform/PictureBox.h"
#include "platform/TextBox.h"
#include "support/XvfbSession.h"

#include <QApplication>
#include <QProcess>
#include <QRadioButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>

#include <memory>

class TestColourPaletteUnderX : public QObject
{
    Q_OBJECT

public:
    explicit TestColourPaletteUnderX(bool haveDisplay)
        : m_haveDisplay(haveDisplay)
    {
    }

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void clickingEveryCellInOrder();
    void doubleClickInsertsOnce();
    void panelShowsThePictureAtNaturalSize();

private:
    // One xdotool run for all the clicks, so none of them waits for the program.
    void clickAt(const QList<QPoint>& globalPoints, int repeat = 1);
    QPoint globalCentreOf(QChar character) const;

    bool m_haveDisplay;
    std::unique_ptr<Form1> m_form;
    TextBox* m_text1 = nullptr;
    PictureBox* m_picture1 = nullptr;
};

void TestColourPaletteUnderX::initTestCase()
{
    if (!m_haveDisplay)
        QSKIP("Xvfb could not be started");
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        QSKIP("xdotool is not installed");
    configureApplication(*qobject_cast<QApplication*>(QCoreApplication::instance()));
}

void TestColourPaletteUnderX::init()
{
    m_form = std::make_unique<Form1>();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_text1 = m_form->findChild<TextBox*>(QStringLiteral("Text1"));
    m_picture1 = m_form->findChild<PictureBox*>(QStringLiteral("Picture1"));

    auto* colours = m_form->findChild<QRadioButton*>(QStringLiteral("Option3"));
    clickAt({colours->mapToGlobal(QPoint(6, colours->height() / 2))});
    QTRY_VERIFY(m_picture1->isVisible());
    QTest::qWait(50); // let the panel reach the screen before clicking on it
}

void TestColourPaletteUnderX::cleanup()
{
    m_form.reset();
}

void TestColourPaletteUnderX::clickAt(const QList<QPoint>& globalPoints, int repeat)
{
    QStringList arguments;
    for (const QPoint& point : globalPoints) {
        arguments << QStringLiteral("mousemove") << QString::number(point.x()) << QString::number(point.y())
                  << QStringLiteral("click") << QStringLiteral("--repeat") << QString::number(repeat)
                  << QStringLiteral("--delay") << QStringLiteral("60") << QStringLiteral("1");
    }
    QCOMPARE(QProcess::execute(QStringLiteral("xdotool"), arguments), 0);
}

QPoint TestColourPaletteUnderX::globalCentreOf(QChar character) const
{
    const ColourCell* cell = findColourCell(character);
    return m_picture1->mapToGlobal((QRectF(cell->twips).center() / 15.0).toPoint());
}

void TestColourPaletteUnderX::clickingEveryCellInOrder()
{
    QList<QPoint> points;
    QString expected;
    for (const ColourCell& cell : colourCells()) {
        points << globalCentreOf(cell.character);
        expected += cell.code();
    }
    clickAt(points);
    QTRY_COMPARE(m_text1->text(), expected);
}

void TestColourPaletteUnderX::doubleClickInsertsOnce()
{
    clickAt({globalCentreOf(QLatin1Char('X'))}, 2);
    QTest::qWait(200);
    QCOMPARE(m_text1->text(), QStringLiteral("^X"));
}

void TestColourPaletteUnderX::panelShowsThePictureAtNaturalSize()
{
    const QPoint topLeft = m_picture1->mapToGlobal(QPoint(0, 0));
    QImage onScreen;
    QTRY_VERIFY((onScreen = m_form->screen()->grabWindow(0, topLeft.x(), topLeft.y(), 168, 430).toImage(),
                 onScreen.convertToFormat(QImage::Format_RGB32) == colourPalettePicture()));
}

int main(int argc, char* argv[])
{
    XvfbSession xvfb;
    const bool haveDisplay = xvfb.start();
    if (haveDisplay) {
        qputenv("DISPLAY", xvfb.display().toLocal8Bit());
        qputenv("QT_QPA_PLATFORM", "xcb");
    } else {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    TestColourPaletteUnderX test(haveDisplay);
    return QTest::qExec(&test, argc, argv);
}

#include "TestColourPaletteUnderX.moc"
