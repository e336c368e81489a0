#include "palette/PaletteCell.h"
#include "palette/PaletteCells.h"
#include "platform/PictureBox.h"
#include "platform/TextBox.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

namespace {

// Two cells sharing a one-pixel strip, and one that inserts its own caption.
const PaletteCellDefinition TestCells[] = {
    {"CellA", QRect(0, 0, 300, 300), "A", "", "A", "Cell A"},
    {"CellB", QRect(285, 0, 300, 300), "B", "", "B", "Cell B"},
    {"CellTab", QRect(0, 450, 300, 300), "", "\t", "Tab", "Tab", PaletteCellDefinition::Inserts::Caption},
};

} // namespace

class TestPaletteCell : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void cellsTakeTheirTableRectangles();
    void click_data();
    void click();
    void onlyAWholeLeftClickCounts_data();
    void onlyAWholeLeftClickCounts();

private:
    void clickAt(QPoint point);

    std::unique_ptr<QWidget> m_window;
    PictureBox* m_panel = nullptr;
    TextBox* m_target = nullptr;
    QLineEdit* m_other = nullptr;
    QList<PaletteCell*> m_cells;
};

void TestPaletteCell::init()
{
    m_window = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(m_window.get());
    layout->setContentsMargins(0, 0, 0, 0);
    m_panel = new PictureBox;
    m_panel->setFixedSize(100, 100);
    m_target = new TextBox;
    m_other = new QLineEdit;
    layout->addWidget(m_panel);
    layout->addWidget(m_target);
    layout->addWidget(m_other);
    m_cells = addPaletteCells(*m_panel, *m_target, TestCells);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->activateWindow();
    m_other->setFocus();
    QVERIFY(m_other->hasFocus());
}

void TestPaletteCell::cleanup()
{
    m_window.reset();
}

void TestPaletteCell::clickAt(QPoint point)
{
    // Through the window, so the click lands on whatever lies at the point.
    QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, {}, m_panel->mapTo(m_window.get(), point));
}

void TestPaletteCell::cellsTakeTheirTableRectangles()
{
    QCOMPARE(m_cells.size(), 3);
    QCOMPARE(m_cells[0]->objectName(), QStringLiteral("CellA"));
    QCOMPARE(m_cells[0]->geometry(), QRect(0, 0, 20, 20));
    QCOMPARE(m_cells[1]->geometry(), QRect(19, 0, 20, 20));
    QCOMPARE(m_cells[2]->geometry(), QRect(0, 30, 20, 20));
    QCOMPARE(m_cells[1]->toolTip(), QStringLiteral("B"));
    QCOMPARE(m_cells[1]->accessibleName(), QStringLiteral("Cell B"));
    for (PaletteCell* cell : m_cells) {
        QCOMPARE(cell->focusPolicy(), Qt::NoFocus);
        QVERIFY(cell->isVisible());
    }
}

void TestPaletteCell::click_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<QStringList>("allowed");

    QTest::newRow("inside a cell") << QPoint(5, 5) << QStringList{"A"};
    QTest::newRow("shared strip gives one code") << QPoint(19, 10) << QStringList{"A", "B"};
    QTest::newRow("caption cell") << QPoint(10, 40) << QStringList{"\t"};
    QTest::newRow("outside every cell") << QPoint(80, 80) << QStringList{""};
}

void TestPaletteCell::click()
{
    QFETCH(QPoint, point);
    QFETCH(QStringList, allowed);
    clickAt(point);
    QVERIFY2(allowed.contains(m_target->text()), qPrintable(m_target->text()));
    QVERIFY(m_other->hasFocus());
}

void TestPaletteCell::onlyAWholeLeftClickCounts_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("release");
    QTest::addColumn<QString>("text");

    QTest::newRow("left, in place") << Qt::LeftButton << QPoint(5, 5) << QPoint(5, 5) << "A";
    QTest::newRow("left, moved inside") << Qt::LeftButton << QPoint(5, 5) << QPoint(15, 15) << "A";
    QTest::newRow("left, released outside") << Qt::LeftButton << QPoint(5, 5) << QPoint(80, 80) << "";
    QTest::newRow("left, dragged onto another cell") << Qt::LeftButton << QPoint(5, 5) << QPoint(30, 5) << "";
    QTest::newRow("right button") << Qt::RightButton << QPoint(5, 5) << QPoint(5, 5) << "";
    QTest::newRow("middle button") << Qt::MiddleButton << QPoint(5, 5) << QPoint(5, 5) << "";
}

void TestPaletteCell::onlyAWholeLeftClickCounts()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(QPoint, press);
    QFETCH(QPoint, release);
    QFETCH(QString, text);
    QWindow* window = m_window->windowHandle();
    QTest::mousePress(window, button, {}, press);
    QTest::mouseMove(window, release);
    QTest::mouseRelease(window, button, {}, release);
    QCOMPARE(m_target->text(), text);
}

QTEST_MAIN(TestPaletteCell)
#include "TestPaletteCell.moc"
