// Both palettes in the real window, clicked through the window so that each
// click lands on whatever lies under the pointer: edges, seams and gestures
// that the walk under X, which clicks every cell's middle, does not try; and
// used from the keyboard.
#include "app/Application.h"
#include "app/Form1.h"
#include "widgets/PaletteCell.h"
#include "widgets/PictureBox.h"
#include "widgets/TextBox.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QRadioButton>
#include <QTest>

#include <algorithm>
#include <memory>

class TestPaletteCellsInWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { configureApplication(*qobject_cast<QApplication*>(qApp)); }
    void layout_data();
    void layout();
    void click_data();
    void click();
    void keys_data();
    void keys();

private:
    // The window with the option's panel shown and text in Text1, selected
    // from anchor to the caret, while the focus is elsewhere.
    static std::unique_ptr<Form1> open(const QString& option, const QString& text, int anchor, int caret);
};

std::unique_ptr<Form1> TestPaletteCellsInWindow::open(const QString& option, const QString& text, int anchor, int caret)
{
    auto form = std::make_unique<Form1>(QDir::currentPath(), QList<DriveCatalog::Drive>{});
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        return nullptr;
    form->activateWindow();
    form->findChild<QRadioButton*>(QStringLiteral("Option1"))->click();
    form->findChild<QRadioButton*>(option)->click();
    auto* text1 = form->findChild<TextBox*>(QStringLiteral("Text1"));
    text1->setFocus();
    text1->setText(text);
    text1->setSelection(anchor, caret - anchor);
    // The selection waits in the entry box while the focus is elsewhere.
    for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Tab})
        QTest::keyClick(QApplication::focusWidget(), key);
    return form;
}

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

    const std::unique_ptr<Form1> form = open(option, text, anchor, caret);
    QVERIFY(form);
    auto* text1 = form->findChild<TextBox*>(QStringLiteral("Text1"));
    QWidget* focused = QApplication::focusWidget();

    const QWidget* panel = form->findChild<PictureBox*>(option == QLatin1String("Option3") ? "Picture1" : "Picture3");
    QWindow* window = form->windowHandle();
    if (release.isNull()) {
        QTest::mouseDClick(window, button, {}, panel->mapTo(form.get(), press));
    } else {
        QTest::mousePress(window, button, {}, panel->mapTo(form.get(), press));
        QTest::mouseMove(window, panel->mapTo(form.get(), release));
        QTest::mouseRelease(window, button, {}, panel->mapTo(form.get(), release));
    }
    QVERIFY2(text1->text() == result, qPrintable(text1->text().left(80).toUtf8().toHex())); // not all 40000 characters
    // The caret stands right after what the click inserted, and the focus stays where it was.
    QCOMPARE(text1->cursorPosition(), result.size() - (text.size() - qMax(anchor, caret)));
    QCOMPARE(QApplication::focusWidget(), focused);
}

void TestPaletteCellsInWindow::keys_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("keys"); // Left, Right, Up, Down, Space, Return, keypad Enter
    QTest::addColumn<QString>("marked"); // the cell the keys end on
    QTest::addColumn<QString>("heard"); // its name for a screen reader
    QTest::addColumn<QString>("result"); // from "Hello" with "ll" selected

    const auto row = [](const char* name, const char* option, const char* keys, const char* marked, const char* heard,
                        const QString& result) { QTest::newRow(name) << option << keys << marked << heard << result; };
    row("starts at the first cell", "Option3", " ", "Label4", "^0, black", "He^0o");
    row("along a row and down", "Option3", "RRD\r", "Label11", "^7, white", "He^7o");
    row("stops at the right edge", "Option3", "RRRRRRDE", "Label13", "^9, turquoise", "He^9o");
    row("stops at the top left", "Option3", "UL ", "Label4", "^0, black", "He^0o");
    row("stops at the bottom", "Option3", "DDDDDDDDDDDDDDDDDDDD ", "Label89", "^@, brown", "He^@o");
    row("down a column of changing widths", "Option3", "RRRDDDDD ", "Label32", "^s, dark purple", "He^so");
    row("a greyish swatch", "Option3", "DDDDDDDDRRR ", "Label47", "^H, greyish pink", "He^Ho");
    row("a light swatch", "Option3", "DDDDDDDDDD ", "Label54", "^O, light blue", "He^Oo");
    row("the fourth symbol column", "Option4", "RRRRR ", "Label104", "return arrow in a small frame", "He\x0Eo");
    row("down from the fourth column", "Option4", "RRRDD ", "Label111", "the words Num Lock", "He\x05o");
    row("and up again", "Option4", "RRRDDU ", "Label108", "two upright bars", "He\x07o");
    row("Label127 as its click", "Option4", "DDDDDDDDD ", "Label127", "framed digit 5", "He\x15o");
    row("the tab cell, then to the end of its row", "Option4", "DDDDDDDDR RR ", "Label129", "framed minus sign",
        "He\t\x0Co");
}

void TestPaletteCellsInWindow::keys()
{
    QFETCH(QString, option);
    QFETCH(QString, keys);
    QFETCH(QString, marked);
    QFETCH(QString, heard);
    QFETCH(QString, result);

    const std::unique_ptr<Form1> form = open(option, QStringLiteral("Hello"), 2, 4);
    QVERIFY(form);
    auto* panel = form->findChild<PictureBox*>(option == QLatin1String("Option3") ? "Picture1" : "Picture3");
    panel->setFocus(Qt::TabFocusReason);
    const QHash<QChar, std::pair<Qt::Key, Qt::KeyboardModifiers>> named{
        {u'L', {Qt::Key_Left, {}}},   {u'R', {Qt::Key_Right, {}}},  {u'U', {Qt::Key_Up, {}}},
        {u'D', {Qt::Key_Down, {}}},   {u' ', {Qt::Key_Space, {}}},  {u'\r', {Qt::Key_Return, {}}},
        {u'E', {Qt::Key_Enter, Qt::KeypadModifier}}};
    for (QChar key : keys)
        QTest::keyClick(panel, named[key].first, named[key].second);

    auto* text1 = form->findChild<TextBox*>(QStringLiteral("Text1"));
    QCOMPARE(text1->text(), result);
    QCOMPARE(text1->cursorPosition(), result.size() - 1);
    QCOMPARE(QApplication::focusWidget(), panel);
    // A frame goes round the marked cell's picture.
    auto* cell = panel->findChild<PaletteCell*>(marked);
    QCOMPARE(panel->grab().toImage().pixelColor(cell->pictured().center().x(), cell->pictured().top()), QColor(Qt::white));
    // A screen reader hears that cell named and focused, and can press it.
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(cell);
    QCOMPARE(accessible->text(QAccessible::Name), heard);
    QVERIFY(accessible->state().focused);
    accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(text1->text(), result.insert(result.size() - 1, cell->insertion()));
}

QTEST_MAIN(TestPaletteCellsInWindow)
#include "TestPaletteCellsInWindow.moc"
