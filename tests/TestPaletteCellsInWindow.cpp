#include "app/Application.h"
#include "app/Form1.h"
#include "palette/ColourCells.h"
#include "widgets/PictureBox.h"
#include "widgets/TextBox.h"
#include "support/PaletteExpectations.h"

#include <QApplication>
#include <QRadioButton>
#include <QTest>

#include <memory>

// Both palettes in the real window, clicked through the window so that each
// click lands on whatever lies under the pointer.
class TestPaletteCellsInWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { configureApplication(*qobject_cast<QApplication*>(qApp)); }
    void init();
    void cleanup() { m_form.reset(); }
    void layout_data();
    void layout();
    void clickAt_data();
    void clickAt();
    void gesture_data();
    void gesture();
    void insertion_data();
    void insertion();

private:
    PictureBox* showPalette(const QString& option);
    QPoint inWindow(const QWidget* panel, QPoint point) const { return panel->mapTo(m_form.get(), point); }
    void clickAt(const QWidget* panel, QPoint point);

    std::unique_ptr<Form1> m_form;
    TextBox* m_text1 = nullptr;
};

void TestPaletteCellsInWindow::init()
{
    m_form = std::make_unique<Form1>(QDir::currentPath(), DriveCatalog::fromSystem());
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_form->activateWindow();
    m_text1 = m_form->findChild<TextBox*>(QStringLiteral("Text1"));
}

PictureBox* TestPaletteCellsInWindow::showPalette(const QString& option)
{
    m_form->findChild<QRadioButton*>(option)->click();
    return m_form->findChild<PictureBox*>(option == QLatin1String("Option3") ? "Picture1" : "Picture3");
}

void TestPaletteCellsInWindow::clickAt(const QWidget* panel, QPoint point)
{
    QTest::mouseClick(m_form->windowHandle(), Qt::LeftButton, {}, inWindow(panel, point));
}

void TestPaletteCellsInWindow::layout_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("firstLabel");
    QTest::addColumn<int>("cellCount");
    QTest::addColumn<QList<int>>("rowEnds"); // right edge of each row, in pixels
    QTest::addColumn<QPoint>("wideSeam"); // (column, row) of the cell that overlaps its left neighbour by 9 pixels

    QTest::newRow("colours") << "Option3" << 4 << 90 << QList<int>(18, 169) << QPoint(3, 1);
    QTest::newRow("symbols") << "Option4" << 101 << 29
                             << QList<int>{169, 169, 121, 121, 121, 121, 121, 121, 121} << QPoint(-1, -1);
}

void TestPaletteCellsInWindow::layout()
{
    QFETCH(QString, option);
    QFETCH(int, firstLabel);
    QFETCH(int, cellCount);
    QFETCH(QList<int>, rowEnds);
    QFETCH(QPoint, wideSeam);

    PictureBox* panel = showPalette(option);
    QVERIFY(panel->isVisible());

    const QList<PaletteCell*> cells = cellsInReadingOrder(*panel);
    QCOMPARE(cells.size(), cellCount);
    QSet<QString> names;
    for (int label = firstLabel; label < firstLabel + cellCount; ++label)
        names.insert(QStringLiteral("Label%1").arg(label));
    int row = -1, column = 0;
    const PaletteCell* left = nullptr;
    for (const PaletteCell* cell : cells) {
        QVERIFY2(names.remove(cell->objectName()), qPrintable(cell->objectName()));
        QCOMPARE(cell->focusPolicy(), Qt::NoFocus);
        QVERIFY(!cell->toolTip().isEmpty() && cell->accessibleName().contains(cell->toolTip()));
        QCOMPARE(cell->height(), 25);
        if (cell->y() != 24 * row) {
            // A new row: the last one ended where it must, this one starts at the left edge.
            if (left)
                QCOMPARE(left->geometry().right() + 1, rowEnds[row]);
            ++row;
            column = 0;
            QCOMPARE(cell->y(), 24 * row);
            QCOMPARE(cell->x(), 0);
        } else {
            // Neighbours share a strip one pixel wide.
            const int overlap = left->geometry().right() + 1 - cell->x();
            QCOMPARE(overlap, QPoint(++column, row) == wideSeam ? 9 : 1);
        }
        left = cell;
    }
    QCOMPARE(row + 1, rowEnds.size());
    QCOMPARE(left->geometry().right() + 1, rowEnds.last());
}

void TestPaletteCellsInWindow::clickAt_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QPoint>("point"); // in the panel's pixels
    QTest::addColumn<QStringList>("allowed");

    const QStringList nothing{QString()};
    QTest::newRow("seam of ^0 and ^1") << "Option3" << QPoint(32, 10) << QStringList{"^0", "^1"};
    QTest::newRow("seam of ^0 and ^5") << "Option3" << QPoint(10, 24) << QStringList{"^0", "^5"};
    QTest::newRow("four cells meet") << "Option3" << QPoint(32, 24) << QStringList{"^0", "^1", "^5", "^6"};
    QTest::newRow("wide strip of ^7 and ^8") << "Option3" << QPoint(96, 34) << QStringList{"^7", "^8"};
    QTest::newRow("last pixel of the last row") << "Option3" << QPoint(84, 432) << QStringList{"^'"};
    QTest::newRow("below the last row") << "Option3" << QPoint(84, 433) << nothing;
    QTest::newRow("bottom corner of the panel") << "Option3" << QPoint(168, 435) << nothing;
    QTest::newRow("Label104 over the ESC picture") << "Option4" << QPoint(121, 10) << QStringList{"\x0E"};
    QTest::newRow("ESC left of Label104") << "Option4" << QPoint(119, 10) << QStringList{"\x1B"};
    QTest::newRow("Label108 in the printer's picture") << "Option4" << QPoint(125, 35) << QStringList{"\x07"};
    QTest::newRow("seam of Label108 and the printer") << "Option4" << QPoint(128, 35) << QStringList{"\x07", "\x0F"};
    QTest::newRow("row 8 picture top belongs to row 7") << "Option4" << QPoint(20, 190) << QStringList{"\x14"};
    QTest::newRow("empty beside row 2") << "Option4" << QPoint(121, 60) << nothing;
    QTest::newRow("empty beside row 8") << "Option4" << QPoint(168, 210) << nothing;
}

void TestPaletteCellsInWindow::clickAt()
{
    QFETCH(QString, option);
    QFETCH(QPoint, point);
    QFETCH(QStringList, allowed);
    clickAt(showPalette(option), point);
    QVERIFY2(allowed.contains(m_text1->text()), qPrintable(m_text1->text().toUtf8().toHex()));
}

void TestPaletteCellsInWindow::gesture_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("release");
    QTest::addColumn<QString>("inserted");

    QTest::newRow("moved inside the cell") << Qt::LeftButton << QPoint(5, 5) << QPoint(25, 15) << "^0";
    QTest::newRow("released outside every cell") << Qt::LeftButton << QPoint(84, 430) << QPoint(84, 434) << "";
    QTest::newRow("dragged onto another cell") << Qt::LeftButton << QPoint(5, 5) << QPoint(50, 5) << "";
    QTest::newRow("right button") << Qt::RightButton << QPoint(5, 5) << QPoint(5, 5) << "";
}

void TestPaletteCellsInWindow::gesture()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(QPoint, press);
    QFETCH(QPoint, release);
    QFETCH(QString, inserted);

    const PictureBox* panel = showPalette(QStringLiteral("Option3"));
    QWindow* window = m_form->windowHandle();
    QTest::mousePress(window, button, {}, inWindow(panel, press));
    QTest::mouseMove(window, inWindow(panel, release));
    QTest::mouseRelease(window, button, {}, inWindow(panel, release));
    QCOMPARE(m_text1->text(), inserted);
}

void TestPaletteCellsInWindow::insertion_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("anchor"); // where the selection starts; the caret is its other end
    QTest::addColumn<int>("caret");
    QTest::addColumn<QList<int>>("keys"); // pressed in Text1 before the clicks
    QTest::addColumn<QString>("clicks"); // the characters of the codes, in click order
    QTest::addColumn<QString>("result");

    const QList<int> none;
    const QString tooLongForQt(40000, QLatin1Char('x'));
    QTest::newRow("empty text") << "" << 0 << 0 << none << "17" << "^1^7";
    QTest::newRow("caret inside") << "Hello" << 2 << 2 << none << "4" << "He^4llo";
    QTest::newRow("selection replaced") << "Hello" << 2 << 4 << none << "2" << "He^2o";
    QTest::newRow("selection kept across Tab") << "Hello" << 2 << 4 << QList<int>{Qt::Key_Tab} << "2" << "He^2o";
    QTest::newRow("backward selection kept") << "Hello" << 4 << 2 << QList<int>{Qt::Key_Tab} << "2" << "He^2o";
    QTest::newRow("caret kept tabbing out and back")
        << "Hello" << 2 << 2 << QList<int>{Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Tab} << "4" << "He^4llo";
    QTest::newRow("no length limit") << tooLongForQt << 40000 << 40000 << none << "1" << tooLongForQt + "^1";
}

void TestPaletteCellsInWindow::insertion()
{
    QFETCH(QString, text);
    QFETCH(int, anchor);
    QFETCH(int, caret);
    QFETCH(QList<int>, keys);
    QFETCH(QString, clicks);
    QFETCH(QString, result);

    m_form->findChild<QRadioButton*>(QStringLiteral("Option1"))->click();
    PictureBox* panel = showPalette(QStringLiteral("Option3"));
    m_text1->setFocus();
    m_text1->setText(text);
    m_text1->setSelection(anchor, caret - anchor);
    for (int key : keys)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QWidget* focused = QApplication::focusWidget();
    for (QChar character : clicks)
        clickAt(panel, (QRectF(findColourCell(character)->twips).center() / 15.0).toPoint());
    QVERIFY(m_text1->text() == result); // QCOMPARE would print 40000 characters
    // The caret stands right after what the clicks inserted.
    QCOMPARE(m_text1->cursorPosition(), result.size() - (text.size() - qMax(anchor, caret)));
    QVERIFY(!m_text1->hasSelectedText());
    QCOMPARE(QApplication::focusWidget(), focused);
}

QTEST_MAIN(TestPaletteCellsInWindow)
#include "TestPaletteCellsInWindow.moc"
