// Both palettes in the real window, clicked through the window so that each
// click lands on whatever lies under the pointer: edges, seams and gestures
// that the walk under X, which clicks every cell's middle, does not try.
#include "app/Application.h"
#include "app/Form1.h"
#include "widgets/PaletteCell.h"
#include "widgets/PictureBox.h"
#include "widgets/TextBox.h"

#include <QApplication>
#include <QDir>
#include <QRadioButton>
#include <QTest>

#include <algorithm>

class TestPaletteCellsInWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { configureApplication(*qobject_cast<QApplication*>(qApp)); }
    void layout_data();
    void layout();
    void click_data();
    void click();
};

void TestPaletteCellsInWindow::layout_data()
{
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QList<int>>("rowEnds"); // right edge of each row, in pixels

    QTest::newRow("colours") << "Picture1" << QList<int>(18, 169);
    QTest::newRow("symbols") << "Picture3" << QList<int>{169, 169, 121, 121, 121, 121, 121, 121, 121};
}

void TestPaletteCellsInWindow::layout()
{
    // Rows 24 pixels apart start at the panel's left edge; neighbours share a
    // strip one pixel wide, or nine where two wide cells meet.
    QFETCH(QString, panel);
    QFETCH(QList<int>, rowEnds);
    Form1 form(QDir::currentPath(), {});
    form.show();
    // A panel's cells are laid over it when it first shows.
    form.findChild<PictureBox*>(panel)->show();
    QList<PaletteCell*> cells = form.findChild<PictureBox*>(panel)->findChildren<PaletteCell*>();
    std::ranges::sort(cells, {}, [](const QWidget* cell) { return std::pair(cell->y(), cell->x()); });
    QList<int> ends;
    for (const PaletteCell* cell : cells) {
        QCOMPARE(cell->height(), 25);
        if (cell->x() == 0) {
            QCOMPARE(cell->y(), 24 * int(ends.size()));
            ends << 0;
        } else {
            QVERIFY2(QList<int>({1, 9}).contains(ends.last() - cell->x()), qPrintable(cell->objectName()));
        }
        ends.last() = cell->geometry().right() + 1;
    }
    QCOMPARE(ends, rowEnds);
}

void TestPaletteCellsInWindow::click_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("text"); // Text1 before, its selection from `anchor` to the caret
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("caret");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QPoint>("press"); // in the panel's pixels
    QTest::addColumn<QPoint>("release"); // none: a double click at `press`
    QTest::addColumn<QString>("result");

    const auto at = [](const char* name, const char* option, QPoint point, const QString& result) {
        QTest::newRow(name) << option << "" << 0 << 0 << Qt::LeftButton << point << point << result;
    };
    at("last pixel of the last row", "Option3", QPoint(84, 432), "^'");
    at("below the last row", "Option3", QPoint(84, 433), "");
    at("Label104 over the ESC picture", "Option4", QPoint(121, 10), "\x0E");
    at("Label108 in the printer's picture", "Option4", QPoint(125, 35), "\x07");
    at("row 8 picture top belongs to row 7", "Option4", QPoint(20, 190), "\x14");
    at("empty beside row 2", "Option4", QPoint(121, 60), "");
    const QPoint one(48, 12), outside(84, 434);
    QTest::newRow("moved inside the cell") << "Option3" << "" << 0 << 0 << Qt::LeftButton << QPoint(35, 2) << one << "^1";
    QTest::newRow("released outside every cell") << "Option3" << "" << 0 << 0 << Qt::LeftButton << QPoint(84, 430) << outside << "";
    QTest::newRow("dragged onto another cell") << "Option3" << "" << 0 << 0 << Qt::LeftButton << QPoint(5, 5) << one << "";
    QTest::newRow("right button") << "Option3" << "" << 0 << 0 << Qt::RightButton << one << one << "";
    QTest::newRow("double click inserts once") << "Option3" << "" << 0 << 0 << Qt::LeftButton << one << QPoint() << "^1";
    QTest::newRow("at the caret") << "Option3" << "Hello" << 2 << 2 << Qt::LeftButton << one << one << "He^1llo";
    QTest::newRow("over the selection") << "Option3" << "Hello" << 2 << 4 << Qt::LeftButton << one << one << "He^1o";
    const QString tooLongForQt(40000, u'x');
    QTest::newRow("no length limit") << "Option3" << tooLongForQt << 40000 << 40000 << Qt::LeftButton << one << one
                                     << tooLongForQt + "^1";
}

void TestPaletteCellsInWindow::click()
{
    QFETCH(QString, option);
    QFETCH(QString, text);
    QFETCH(int, anchor);
    QFETCH(int, caret);
    QFETCH(Qt::MouseButton, button);
    QFETCH(QPoint, press);
    QFETCH(QPoint, release);
    QFETCH(QString, result);

    Form1 form(QDir::currentPath(), {});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.activateWindow();
    form.findChild<QRadioButton*>(QStringLiteral("Option1"))->click();
    form.findChild<QRadioButton*>(option)->click();
    auto* text1 = form.findChild<TextBox*>(QStringLiteral("Text1"));
    text1->setFocus();
    text1->setText(text);
    text1->setSelection(anchor, caret - anchor);
    // The selection waits in the entry box while the focus is elsewhere.
    for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Tab})
        QTest::keyClick(QApplication::focusWidget(), key);
    QWidget* focused = QApplication::focusWidget();

    const QWidget* panel = form.findChild<PictureBox*>(option == QLatin1String("Option3") ? "Picture1" : "Picture3");
    QWindow* window = form.windowHandle();
    if (release.isNull()) {
        QTest::mouseDClick(window, button, {}, panel->mapTo(&form, press));
    } else {
        QTest::mousePress(window, button, {}, panel->mapTo(&form, press));
        QTest::mouseMove(window, panel->mapTo(&form, release));
        QTest::mouseRelease(window, button, {}, panel->mapTo(&form, release));
    }
    QVERIFY2(text1->text() == result, qPrintable(text1->text().left(80).toUtf8().toHex())); // not all 40000 characters
    // The caret stands right after what the click inserted, and the focus stays where it was.
    QCOMPARE(text1->cursorPosition(), result.size() - (text.size() - qMax(anchor, caret)));
    QCOMPARE(QApplication::focusWidget(), focused);
}

QTEST_MAIN(TestPaletteCellsInWindow)
#include "TestPaletteCellsInWindow.moc"
