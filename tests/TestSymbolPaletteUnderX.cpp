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

#include <memory>

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
    void init();
    void cleanup();
    void clickingEveryCellInOrderTypesTheirCharacters();
    void doubleClickInsertsOnce();

private:
    // Left clicks with the X server's pointer, at global positions, one after
    // another; repeat clicks at each point make a double click.
    bool clickAt(const QList<QPoint>& points, int repeat = 1);
    PaletteCell* cell(const char* name) const;

    std::unique_ptr<Form1> m_form;
    PictureBox* m_panel = nullptr;
    TextBox* m_text1 = nullptr;

    const XvfbSession& m_x;
};

void TestSymbolPaletteUnderX::initTestCase()
{
    configureApplication(*qobject_cast<QApplication*>(QCoreApplication::instance()));
}

void TestSymbolPaletteUnderX::init()
{
    m_form = std::make_unique<Form1>();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_panel = m_form->findChild<PictureBox*>(QStringLiteral("Picture3"));
    m_text1 = m_form->findChild<TextBox*>(QStringLiteral("Text1"));
    auto* symbols = m_form->findChild<QRadioButton*>(QStringLiteral("Option4"));
    QVERIFY(clickAt({symbols->mapToGlobal(QPoint(8, symbols->height() / 2))}));
    QTRY_VERIFY(m_panel->isVisible());
}

void TestSymbolPaletteUnderX::cleanup()
{
    m_form.reset();
}

PaletteCell* TestSymbolPaletteUnderX::cell(const char* name) const
{
    return m_panel->findChild<PaletteCell*>(QString::fromLatin1(name));
}

bool TestSymbolPaletteUnderX::clickAt(const QList<QPoint>& points, int repeat)
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
    QDeadlineTimer deadline(20000);
    while (xdotool.state() != QProcess::NotRunning && !deadline.hasExpired())
        QTest::qWait(20);
    return xdotool.exitStatus() == QProcess::NormalExit && xdotool.exitCode() == 0;
}

void TestSymbolPaletteUnderX::clickingEveryCellInOrderTypesTheirCharacters()
{
    QList<QPoint> centres;
    for (const char* name : cellsInOrder) {
        PaletteCell* target = cell(name);
        QVERIFY2(target, name);
        centres << target->mapToGlobal(target->rect().center());
    }
    QVERIFY(clickAt(centres));

    QString expected;
    for (char16_t character : charactersInOrder)
        expected += QChar(character);
    QTRY_COMPARE(m_text1->text().size(), expected.size());
    QCOMPARE(m_text1->text(), expected);
    QCOMPARE(m_text1->cursorPosition(), expected.size());
}

void TestSymbolPaletteUnderX::doubleClickInsertsOnce()
{
    PaletteCell* tab = cell("Label128");
    PaletteCell* padlock = cell("Label123");
    QVERIFY(clickAt({tab->mapToGlobal(tab->rect().center())}, 2));
    // A plain click after it shows that the double click has been delivered in full.
    QVERIFY(clickAt({padlock->mapToGlobal(padlock->rect().center())}));
    QTRY_COMPARE(m_text1->text().size(), 2);
    QCOMPARE(m_text1->text(), QStringLiteral("\t\x04"));
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
