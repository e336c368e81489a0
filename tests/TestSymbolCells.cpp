#include "app/Application.h"
#include "app/Form1.h"
#include "palette/PaletteCell.h"
#include "palette/SymbolPalettePicture.h"
#include "platform/PictureBox.h"
#include "platform/TextBox.h"

#include <QApplication>
#include <QRadioButton>
#include <QTest>

#include <memory>

namespace {

struct ExpectedCell
{
    const char* name;
    QRect twips;
    char16_t character;
};

// Written out independently of the palette's own table, in twips.
const ExpectedCell expectedCells[] = {
    {"Label101", {0, 0, 615, 375}, 0x1C},       {"Label102", {600, 0, 615, 375}, 0x16},
    {"Label103", {1200, 0, 615, 375}, 0x1B},    {"Label104", {1800, 0, 735, 375}, 0x0E},
    {"Label106", {0, 360, 615, 375}, 0x11},     {"Label107", {600, 360, 615, 375}, 0x17},
    {"Label108", {1200, 360, 735, 375}, 0x07},  {"Label105", {1920, 360, 615, 375}, 0x0F},
    {"Label109", {0, 720, 615, 375}, 0x1D},     {"Label110", {600, 720, 615, 375}, 0x02},
    {"Label111", {1200, 720, 615, 375}, 0x05},  {"Label112", {0, 1080, 615, 375}, 0x12},
    {"Label113", {600, 1080, 615, 375}, 0x18},  {"Label114", {1200, 1080, 615, 375}, 0x10},
    {"Label115", {0, 1440, 615, 375}, 0x1E},    {"Label116", {600, 1440, 615, 375}, 0x19},
    {"Label117", {1200, 1440, 615, 375}, 0x06}, {"Label118", {0, 1800, 615, 375}, 0x13},
    {"Label119", {600, 1800, 615, 375}, 0x03},  {"Label120", {1200, 1800, 615, 375}, 0x01},
    {"Label121", {0, 2160, 615, 375}, 0x1F},    {"Label122", {600, 2160, 615, 375}, 0x08},
    {"Label123", {1200, 2160, 615, 375}, 0x04}, {"Label124", {0, 2520, 615, 375}, 0x14},
    {"Label125", {600, 2520, 615, 375}, 0x0E},  {"Label126", {1200, 2520, 615, 375}, 0x0B},
    {"Label127", {0, 2880, 615, 375}, 0x15},    {"Label128", {600, 2880, 615, 375}, 0x09},
    {"Label129", {1200, 2880, 615, 375}, 0x0C},
};

QRect pixelsOf(QRect twips)
{
    return QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15);
}

QString hex(const QString& text)
{
    QStringList codes;
    for (QChar c : text)
        codes << QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    return codes.join(' ');
}

} // namespace

class TestSymbolCells : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void cellsMatchTheirTable_data();
    void cellsMatchTheirTable();
    void panelShowsThePictureThroughItsCells();
    void clickInsertsThePointsCharacter_data();
    void clickInsertsThePointsCharacter();
    void tabCellInsertsItsCaption();
    void everyCellInOrderFillsTheEntryText();
    void doubleClickInsertsOnce();
    void insertionReplacesTheSelectionAndKeepsTheFocus();

private:
    void clickPanelAt(QPoint point);
    template<class T = QWidget>
    T* control(const QString& name) const
    {
        auto* widget = m_form->findChild<T*>(name);
        Q_ASSERT(widget);
        return widget;
    }

    std::unique_ptr<Form1> m_form;
    PictureBox* m_panel = nullptr;
    TextBox* m_text1 = nullptr;
};

void TestSymbolCells::initTestCase()
{
    configureApplication(*qobject_cast<QApplication*>(QCoreApplication::instance()));
}

void TestSymbolCells::init()
{
    m_form = std::make_unique<Form1>();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_panel = control<PictureBox>(QStringLiteral("Picture3"));
    m_text1 = control<TextBox>(QStringLiteral("Text1"));
    control<QRadioButton>(QStringLiteral("Option4"))->click();
    QVERIFY(m_panel->isVisible());
    // No entry mode yet: the cells insert into the hidden entry text.
    QVERIFY(!m_text1->isVisible());
}

void TestSymbolCells::cleanup()
{
    m_form.reset();
}

void TestSymbolCells::clickPanelAt(QPoint point)
{
    // Through the window, so that the click lands on whatever lies there.
    QTest::mouseClick(m_form->windowHandle(), Qt::LeftButton, {}, m_panel->mapTo(m_form.get(), point));
}

void TestSymbolCells::cellsMatchTheirTable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QString>("character");
    for (const ExpectedCell& cell : expectedCells)
        QTest::newRow(cell.name) << cell.name << cell.twips << QString(QChar(cell.character));
}

void TestSymbolCells::cellsMatchTheirTable()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    QFETCH(QString, character);

    auto* cell = control<PaletteCell>(name);
    QCOMPARE(cell->parentWidget(), m_panel);
    QCOMPARE(cell->geometry(), pixelsOf(twips));
    QCOMPARE(cell->focusPolicy(), Qt::NoFocus);
    QVERIFY(cell->isVisible());
    const QString code = QStringLiteral("U+%1").arg(character[0].unicode(), 4, 16, QLatin1Char('0')).toUpper();
    QVERIFY2(cell->toolTip().startsWith(QStringLiteral("Symbol ") + code + QStringLiteral(", ")), qPrintable(cell->toolTip()));
    QCOMPARE(cell->accessibleName(), cell->toolTip());

    clickPanelAt(cell->geometry().center());
    QCOMPARE(hex(m_text1->text()), hex(character));
}

void TestSymbolCells::panelShowsThePictureThroughItsCells()
{
    const QImage shown = m_panel->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.copy(0, 0, SymbolPictureWidth, SymbolPictureHeight), symbolPalettePicture());
}

void TestSymbolCells::clickInsertsThePointsCharacter_data()
{
    QTest::addColumn<QPoint>("point"); // in the panel's pixels
    QTest::addColumn<QStringList>("allowed");

    const QString nothing;
    QTest::newRow("tooltip example: ring 1") << QPoint(20, 11) << QStringList{"\x1C"};
    QTest::newRow("Label104 over the ESC picture cell") << QPoint(121, 10) << QStringList{"\x0E"};
    QTest::newRow("ESC left of Label104") << QPoint(119, 10) << QStringList{"\x1B"};
    QTest::newRow("Label108 in the printer's picture cell, left") << QPoint(124, 35) << QStringList{"\x07"};
    QTest::newRow("Label108 in the printer's picture cell, right") << QPoint(127, 35) << QStringList{"\x07"};
    QTest::newRow("strip of Label108 and the printer") << QPoint(128, 35) << QStringList{"\x07", "\x0F"};
    QTest::newRow("printer") << QPoint(150, 35) << QStringList{"\x0F"};
    QTest::newRow("return arrow, right edge") << QPoint(168, 10) << QStringList{"\x0E"};
    QTest::newRow("row 8 picture top belongs to row 7") << QPoint(20, 190) << QStringList{"\x14"};
    QTest::newRow("row 8 below that") << QPoint(20, 200) << QStringList{"\x15"};
    QTest::newRow("empty beside row 2") << QPoint(121, 60) << QStringList{nothing};
    QTest::newRow("empty beside row 5") << QPoint(150, 130) << QStringList{nothing};
    QTest::newRow("empty beside row 8") << QPoint(168, 210) << QStringList{nothing};
}

void TestSymbolCells::clickInsertsThePointsCharacter()
{
    QFETCH(QPoint, point);
    QFETCH(QStringList, allowed);
    clickPanelAt(point);
    QVERIFY2(allowed.contains(m_text1->text()), qPrintable(hex(m_text1->text())));
}

void TestSymbolCells::tabCellInsertsItsCaption()
{
    auto* tab = control<PaletteCell>(QStringLiteral("Label128"));
    QCOMPARE(tab->caption(), QStringLiteral("\t"));
    m_text1->setText(QStringLiteral("ab"));
    m_text1->setCursorPosition(1);
    clickPanelAt(tab->geometry().center());
    QCOMPARE(m_text1->text(), QStringLiteral("a\tb"));
    QCOMPARE(m_text1->cursorPosition(), 2);
}

void TestSymbolCells::everyCellInOrderFillsTheEntryText()
{
    QString expected;
    for (const ExpectedCell& cell : expectedCells) {
        clickPanelAt(pixelsOf(cell.twips).center());
        expected += QChar(cell.character);
    }
    QCOMPARE(hex(m_text1->text()), hex(expected));
    QCOMPARE(m_text1->text().size(), 29);
    QCOMPARE(m_text1->text().count(QChar(0x0E)), 2);
}

void TestSymbolCells::doubleClickInsertsOnce()
{
    const QPoint padlock = m_panel->mapTo(m_form.get(), QPoint(100, 155));
    QTest::mouseDClick(m_form->windowHandle(), Qt::LeftButton, {}, padlock);
    QCOMPARE(hex(m_text1->text()), hex(QStringLiteral("\x04")));
}

void TestSymbolCells::insertionReplacesTheSelectionAndKeepsTheFocus()
{
    control<QRadioButton>(QStringLiteral("Option1"))->click();
    m_text1->setText(QStringLiteral("Hello"));
    m_text1->setSelection(2, 2);
    auto* path = control<TextBox>(QStringLiteral("Text3"));
    m_form->activateWindow();
    path->setFocus();
    clickPanelAt(QPoint(20, 60)); // ring 2
    QCOMPARE(m_text1->text(), QStringLiteral("He\x1Do"));
    QVERIFY(!m_text1->hasSelectedText());
    QCOMPARE(m_text1->cursorPosition(), 3);
    QVERIFY(path->hasFocus());
}

QTEST_MAIN(TestSymbolCells)
#include "TestSymbolCells.moc"
