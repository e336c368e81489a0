// The symbol palette on a real X server, clicked with the real pointer: the
// path a player's clicks take, from the X server through the toolkit to the
// cells, with no synthetic events in between.
#include "app/Application.h"
#include "app/Form1.h"
#include "palette/PaletteCell.h"
#include "platform/PictureBox.h"
#include "platform/TextBox.h"
#include "support/XvfbSession.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QRadioButton>
#include <QTest>

namespace {

// Every cell in the order of the palette's rows, left to right.
const char* const cellsInOrder[] = {
    "Label101", "Label102", "Label103", "Label104", "Label106", "Label107", "Label108", "Label105",
    "Label109", "Label110", "Label111", "Label112", "Label113", "Label114", "Label115", "Label116",
    "Label117", "Label118", "Label119", "Label120", "Label121", "Label122", "Label123", "Label124",
    "Label125", "Label126", "Label127", "Label128", "Label129",
};

const char16_t charactersInOrder[] = {
    0x1C, 0x16, 0x1B, 0x0E, 0x11, 0x17, 0x07, 0x0F, 0x1D, 0x02, 0x05, 0x12, 0x18, 0x10, 0x1E,
    0x19, 0x06, 0x13, 0x03, 0x01, 0x1F, 0x08, 0x04, 0x14, 0x0E, 0x0B, 0x15, 0x09, 0x0C,
};

} // namespace

class TestSymbolPaletteUnderX : public QObject
{
    Q_OBJECT

public:
    explicit TestSymbolPaletteUnderX(const XvfbSession& x)
        : m_x(x)
    {
    }

private slots:
    void initTestCase();
    void clickingEveryCellInOrderTypesTheirCharacters();

private:
    // Left clicks with the X server's pointer, at global positions, one after another.
    bool clickAt(const QList<QPoint>& points);

    const XvfbSession& m_x;
};

void TestSymbolPaletteUnderX::initTestCase()
{
    configureApplication(*qobject_cast<QApplication*>(QCoreApplication::instance()));
}

bool TestSymbolPaletteUnderX::clickAt(const QList<QPoint>& points)
{
    QStringList arguments;
    for (QPoint point : points) {
        // The pause keeps neighbouring clicks from making a double click.
        arguments << "mousemove" << QString::number(point.x()) << QString::number(point.y()) << "click" << "1"
                  << "sleep" << "0.05";
    }
    QProcess xdotool;
    xdotool.setProcessEnvironment(m_x.environment());
    xdotool.start(QStringLiteral("xdotool"), arguments);
    if (!xdotool.waitForStarted(5000))
        return false;
    // Keep the window's event loop running while the pointer moves.
    QDeadlineTimer deadline(20000);
    while (xdotool.state() != QProcess::NotRunning && !deadline.hasExpired())
        QTest::qWait(20);
    return xdotool.exitStatus() == QProcess::NormalExit && xdotool.exitCode() == 0;
}

void TestSymbolPaletteUnderX::clickingEveryCellInOrderTypesTheirCharacters()
{
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto* symbols = form.findChild<QRadioButton*>(QStringLiteral("Option4"));
    auto* panel = form.findChild<PictureBox*>(QStringLiteral("Picture3"));
    auto* text1 = form.findChild<TextBox*>(QStringLiteral("Text1"));

    QVERIFY(clickAt({symbols->mapToGlobal(QPoint(8, symbols->height() / 2))}));
    QTRY_VERIFY(panel->isVisible());

    QList<QPoint> centres;
    for (const char* name : cellsInOrder) {
        auto* cell = panel->findChild<PaletteCell*>(QString::fromLatin1(name));
        QVERIFY2(cell, name);
        centres << cell->mapToGlobal(cell->rect().center());
    }
    QVERIFY(clickAt(centres));

    QString expected;
    for (char16_t character : charactersInOrder)
        expected += QChar(character);
    QTRY_COMPARE(text1->text().size(), expected.size());
    QCOMPARE(text1->text(), expected);
    QCOMPARE(text1->cursorPosition(), expected.size());
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
    TestSymbolPaletteUnderX test(x);
    return QTest::qExec(&test, argc, argv);
}

#include "TestSymbolPaletteUnderX.moc"
