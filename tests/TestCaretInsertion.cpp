#include "platform/TextBox.h"

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

class TestCaretInsertion : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void insertion_data();
    void insertion();
    void storedUnchanged_data();
    void storedUnchanged();
    void worksHiddenWithoutTakingTheFocus();
    void noLengthLimit();
    void selectionSurvivesTheFocusLeaving_data();
    void selectionSurvivesTheFocusLeaving();
    void tabBackInKeepsTheCaret();

private:
    std::unique_ptr<QWidget> m_window;
    TextBox* m_text = nullptr;
    QPushButton* m_button = nullptr;
};

void TestCaretInsertion::init()
{
    m_window = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(m_window.get());
    m_text = new TextBox;
    m_button = new QPushButton(QStringLiteral("Other"));
    layout->addWidget(m_text);
    layout->addWidget(m_button);
}

void TestCaretInsertion::cleanup()
{
    m_window.reset();
}

void TestCaretInsertion::insertion_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("anchor"); // where the selection starts; the caret is its other end
    QTest::addColumn<int>("caret");
    QTest::addColumn<QStringList>("insertions");
    QTest::addColumn<QString>("result");
    QTest::addColumn<int>("caretAfter");

    QTest::newRow("empty text") << "" << 0 << 0 << QStringList{"^1", "^7"} << "^1^7" << 4;
    QTest::newRow("selection made backwards") << "Hello" << 4 << 2 << QStringList{"^2"} << "He^2o" << 4;
    QTest::newRow("whole text selected") << "Hello" << 0 << 5 << QStringList{"^3"} << "^3" << 2;
    QTest::newRow("caret at the start") << "Hi" << 0 << 0 << QStringList{"^5", "^6"} << "^5^6Hi" << 4;
}

void TestCaretInsertion::insertion()
{
    QFETCH(QString, text);
    QFETCH(int, anchor);
    QFETCH(int, caret);
    QFETCH(QStringList, insertions);
    QFETCH(QString, result);
    QFETCH(int, caretAfter);

    m_text->setText(text);
    if (anchor == caret)
        m_text->setCursorPosition(caret);
    else
        m_text->setSelection(anchor, caret - anchor);
    for (const QString& insertion : insertions)
        m_text->setSelText(insertion);
    QCOMPARE(m_text->text(), result);
    QCOMPARE(m_text->cursorPosition(), caretAfter);
    QVERIFY(!m_text->hasSelectedText());
}

void TestCaretInsertion::storedUnchanged_data()
{
    QTest::addColumn<QString>("insertion");

    QTest::newRow("tab") << "\t";
    QTest::newRow("symbol control character") << QString(QChar(0x1C));
    QTest::newRow("caret backslash") << "^\\";
    QTest::newRow("quote") << "^'";
    QTest::newRow("non-Latin-1") << QString(QChar(0x20AC));
}

void TestCaretInsertion::storedUnchanged()
{
    QFETCH(QString, insertion);
    m_text->setText(QStringLiteral("ab"));
    m_text->setCursorPosition(1);
    m_text->setSelText(insertion);
    QCOMPARE(m_text->text(), QStringLiteral("a") + insertion + QStringLiteral("b"));
}

void TestCaretInsertion::worksHiddenWithoutTakingTheFocus()
{
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_text->hide();
    m_button->setFocus();
    m_text->setSelText(QStringLiteral("^1"));
    m_text->setSelText(QStringLiteral("^2"));
    QCOMPARE(m_text->text(), QStringLiteral("^1^2"));
    QVERIFY(m_button->hasFocus());
    m_text->show();
    QCOMPARE(m_text->text(), QStringLiteral("^1^2"));
    QCOMPARE(m_text->cursorPosition(), 4);
}

void TestCaretInsertion::noLengthLimit()
{
    // QLineEdit stops at 32767 characters unless told otherwise.
    m_text->setText(QString(40000, QLatin1Char('x')));
    m_text->setCursorPosition(40000);
    m_text->setSelText(QStringLiteral("^1"));
    QCOMPARE(m_text->text().size(), 40002);
    QVERIFY(m_text->text().endsWith(QStringLiteral("^1")));
}

void TestCaretInsertion::selectionSurvivesTheFocusLeaving_data()
{
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("result");

    QTest::newRow("selection, caret at its end") << 2 << 4 << "He^2o";
    QTest::newRow("selection, caret at its start") << 4 << 2 << "He^2o";
    QTest::newRow("caret only") << 2 << 2 << "He^2llo";
}

void TestCaretInsertion::selectionSurvivesTheFocusLeaving()
{
    QFETCH(int, anchor);
    QFETCH(int, caret);
    QFETCH(QString, result);

    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->activateWindow();
    m_text->setFocus();
    m_text->setText(QStringLiteral("Hello"));
    if (anchor == caret)
        m_text->setCursorPosition(caret);
    else
        m_text->setSelection(anchor, caret - anchor);
    QTest::keyClick(m_window.get(), Qt::Key_Tab);
    QVERIFY(m_button->hasFocus());
    QCOMPARE(m_text->cursorPosition(), caret);
    QCOMPARE(m_text->selectionLength(), std::abs(caret - anchor));

    m_text->setSelText(QStringLiteral("^2"));
    QCOMPARE(m_text->text(), result);
    QVERIFY(m_button->hasFocus());
}

void TestCaretInsertion::tabBackInKeepsTheCaret()
{
    // Were Tab to select the whole text, the next palette click would wipe it.
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->activateWindow();
    m_text->setText(QStringLiteral("Hello"));
    m_text->setCursorPosition(2);
    m_button->setFocus();
    QTest::keyClick(m_window.get(), Qt::Key_Backtab);
    QVERIFY(m_text->hasFocus());
    QVERIFY(!m_text->hasSelectedText());
    QCOMPARE(m_text->cursorPosition(), 2);
    QTest::keyClick(m_window.get(), Qt::Key_Tab);
    m_text->setSelText(QStringLiteral("^4"));
    QCOMPARE(m_text->text(), QStringLiteral("He^4llo"));
}

QTEST_MAIN(TestCaretInsertion)
#include "TestCaretInsertion.moc"
