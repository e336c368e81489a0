#include "app/Application.h"
#include "app/Form1.h"
#include "palette/ColourCells.h"
#include "palette/ColourPalettePicture.h"
#include "palette/PaletteCell.h"
#include "platform/PictureBox.h"
#include "platform/TextBox.h"

#include <QApplication>
#include <QComboBox>
#include <QRadioButton>
#include <QTest>

#include <memory>

class TestColourPaletteInWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void panelHoldsThePictureAndTheCells();
    void everyCellInOrderIntoTheHiddenEntryText();
    void examples_data();
    void examples();
    void selectionKeptAcrossAFocusChange();
    void focusNeverMoves_data();
    void focusNeverMoves();
    void doubleClickInsertsOnce();
    void sharedStripInsertsOneCode_data();
    void sharedStripInsertsOneCode();
    void belowTheLastRowNothing();

private:
    void choose(const char* option);
    void clickPanelAt(QPoint point);
    void clickCode(QChar character);

    std::unique_ptr<Form1> m_form;
    TextBox* m_text1 = nullptr;
    PictureBox* m_picture1 = nullptr;
};

void TestColourPaletteInWindow::initTestCase()
{
    configureApplication(*qobject_cast<QApplication*>(QCoreApplication::instance()));
}

void TestColourPaletteInWindow::init()
{
    m_form = std::make_unique<Form1>();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_form->activateWindow();
    m_text1 = m_form->findChild<TextBox*>(QStringLiteral("Text1"));
    m_picture1 = m_form->findChild<PictureBox*>(QStringLiteral("Picture1"));
    QVERIFY(m_text1 && m_picture1);
}

void TestColourPaletteInWindow::cleanup()
{
    m_form.reset();
}

void TestColourPaletteInWindow::choose(const char* option)
{
    auto* button = m_form->findChild<QRadioButton*>(QString::fromLatin1(option));
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    QVERIFY(button->isChecked());
}

void TestColourPaletteInWindow::clickPanelAt(QPoint point)
{
    // Through the window, so the click lands on whatever lies there.
    QTest::mouseClick(m_form->windowHandle(), Qt::LeftButton, {}, m_picture1->mapTo(m_form.get(), point));
}

void TestColourPaletteInWindow::clickCode(QChar character)
{
    const ColourCell* cell = findColourCell(character);
    QVERIFY(cell);
    clickPanelAt((QRectF(cell->twips).center() / 15.0).toPoint());
}

void TestColourPaletteInWindow::panelHoldsThePictureAndTheCells()
{
    QCOMPARE(m_picture1->picture(), colourPalettePicture());
    const QList<PaletteCell*> cells = m_picture1->findChildren<PaletteCell*>();
    QCOMPARE(cells.size(), ColourCellCount);
    for (const ColourCell& definition : colourCells()) {
        auto* cell = m_picture1->findChild<PaletteCell*>(definition.name());
        QVERIFY2(cell, qPrintable(definition.name()));
        const QRect& twips = definition.twips;
        QCOMPARE(cell->geometry(), QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
        QCOMPARE(cell->focusPolicy(), Qt::NoFocus);
        QCOMPARE(cell->insertion(), definition.code());
        QCOMPARE(cell->toolTip(), definition.code());
        QCOMPARE(cell->accessibleName(), QStringLiteral("Colour ") + definition.code());
    }
}

void TestColourPaletteInWindow::everyCellInOrderIntoTheHiddenEntryText()
{
    // No mode chosen yet: Text1 is hidden and still takes every code.
    choose("Option3");
    QVERIFY(m_picture1->isVisible());
    QVERIFY(!m_text1->isVisible());
    QString expected;
    for (const ColourCell& cell : colourCells()) {
        clickPanelAt((QRectF(cell.twips).center() / 15.0).toPoint());
        expected += cell.code();
    }
    QCOMPARE(m_text1->text(), expected);
    QCOMPARE(m_text1->text().size(), 180);

    choose("Option1");
    QVERIFY(m_text1->isVisible());
    QCOMPARE(m_text1->text(), expected);
}

void TestColourPaletteInWindow::examples_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("clicks"); // the characters of the codes, in click order
    QTest::addColumn<QString>("result");
    QTest::addColumn<int>("caretAfter");

    QTest::newRow("empty text") << "" << 0 << 0 << "17" << "^1^7" << 4;
    QTest::newRow("caret inside") << "Hello" << 2 << 2 << "4" << "He^4llo" << 4;
    QTest::newRow("selection replaced") << "Hello" << 2 << 4 << "2" << "He^2o" << 4;
    QTest::newRow("black cells keep their own codes") << "" << 0 << 0 << "0!#" << "^0^!^#" << 6;
    QTest::newRow("shared colours keep their own codes") << "x" << 1 << 1 << "$_%&)<@~" << "x^$^_^%^&^)^<^@^~" << 17;
}

void TestColourPaletteInWindow::examples()
{
    QFETCH(QString, text);
    QFETCH(int, anchor);
    QFETCH(int, caret);
    QFETCH(QString, clicks);
    QFETCH(QString, result);
    QFETCH(int, caretAfter);

    choose("Option2");
    choose("Option3");
    m_text1->setText(text);
    m_text1->setSelection(anchor, caret - anchor);
    for (QChar character : clicks)
        clickCode(character);
    QCOMPARE(m_text1->text(), result);
    QCOMPARE(m_text1->cursorPosition(), caretAfter);
    QVERIFY(!m_text1->hasSelectedText());
}

void TestColourPaletteInWindow::selectionKeptAcrossAFocusChange()
{
    choose("Option2");
    choose("Option3");
    m_text1->setFocus();
    QTest::keyClicks(m_text1, QStringLiteral("Hello"));
    m_text1->setSelection(2, 2);
    QTest::keyClick(m_form.get(), Qt::Key_Tab);
    QWidget* focused = QApplication::focusWidget();
    QVERIFY(focused && focused != m_text1);

    clickCode(QLatin1Char('2'));
    QCOMPARE(m_text1->text(), QStringLiteral("He^2o"));
    QCOMPARE(m_text1->cursorPosition(), 4);
    QVERIFY(!m_text1->hasSelectedText());
    QCOMPARE(QApplication::focusWidget(), focused);
}

void TestColourPaletteInWindow::focusNeverMoves_data()
{
    QTest::addColumn<QString>("focused");

    QTest::newRow("path box") << "Text3";
    QTest::newRow("entry text") << "Text1";
    QTest::newRow("key box") << "Combo1";
    QTest::newRow("colours option") << "Option3";
}

void TestColourPaletteInWindow::focusNeverMoves()
{
    QFETCH(QString, focused);
    choose("Option2");
    choose("Option3");
    auto* widget = m_form->findChild<QWidget*>(focused);
    widget->setFocus();
    QWidget* before = QApplication::focusWidget();
    QVERIFY(before);
    clickCode(QLatin1Char('a'));
    clickPanelAt(QPoint(80, 434)); // the panel itself, below the cells
    QCOMPARE(QApplication::focusWidget(), before);
    QCOMPARE(m_text1->text(), QStringLiteral("^a"));
}

void TestColourPaletteInWindow::doubleClickInsertsOnce()
{
    choose("Option3");
    const ColourCell* cell = findColourCell(QLatin1Char('9'));
    const QPoint centre = m_picture1->mapTo(m_form.get(), (QRectF(cell->twips).center() / 15.0).toPoint());
    QTest::mouseDClick(m_form->windowHandle(), Qt::LeftButton, {}, centre);
    QCOMPARE(m_text1->text(), QStringLiteral("^9"));
}

void TestColourPaletteInWindow::sharedStripInsertsOneCode_data()
{
    QTest::addColumn<QPoint>("point"); // in panel pixels
    QTest::addColumn<QStringList>("either");

    QTest::newRow("seam of ^0 and ^1") << QPoint(32, 10) << QStringList{"^0", "^1"};
    QTest::newRow("seam of ^3 and ^4") << QPoint(136, 10) << QStringList{"^3", "^4"};
    QTest::newRow("seam of ^0 and ^5") << QPoint(10, 24) << QStringList{"^0", "^5"};
    QTest::newRow("seam of ^/ and ^{") << QPoint(10, 384) << QStringList{"^/", "^{"};
    QTest::newRow("wide strip of ^7 and ^8, left") << QPoint(96, 34) << QStringList{"^7", "^8"};
    QTest::newRow("wide strip of ^7 and ^8, right") << QPoint(104, 34) << QStringList{"^7", "^8"};
    QTest::newRow("four cells meet") << QPoint(32, 24) << QStringList{"^0", "^1", "^5", "^6"};
}

void TestColourPaletteInWindow::sharedStripInsertsOneCode()
{
    QFETCH(QPoint, point);
    QFETCH(QStringList, either);
    choose("Option3");
    clickPanelAt(point);
    QVERIFY2(either.contains(m_text1->text()), qPrintable(m_text1->text()));
}

void TestColourPaletteInWindow::belowTheLastRowNothing()
{
    // The last row ends 6495 twips (433 pixels) below the panel's top; the
    // window shows the panel down to pixel 435.
    choose("Option3");
    const int visibleBottom = m_form->height() - 1 - m_picture1->y();
    QCOMPARE(visibleBottom, 435);
    for (int y = 433; y <= visibleBottom; ++y) {
        for (int x : {0, 40, 84, 100, 130, 168})
            clickPanelAt(QPoint(x, y));
    }
    QCOMPARE(m_text1->text(), QString());
    clickPanelAt(QPoint(84, 432));
    QCOMPARE(m_text1->text(), QStringLiteral("^'"));
}

QTEST_MAIN(TestColourPaletteInWindow)
#include "TestColourPaletteInWindow.moc"
