// The four fields whose text goes into the config: what the player sees of a
// symbol character in them, and that no line break gets in.
#include "app/Application.h"
#include "app/Form1.h"
#include "widgets/TextBox.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QMimeData>
#include <QRadioButton>
#include <QTest>

#include <memory>

class TestTextFields : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { configureApplication(*qobject_cast<QApplication*>(qApp)); }
    void init();
    void cleanup() { m_form.reset(); }
    void symbolTakesRoomAndShows_data();
    void symbolTakesRoomAndShows();
    void lineBreaksBecomeSpaces_data();
    void lineBreaksBecomeSpaces();

private:
    // The line edit of a text box, or of a combo box.
    QLineEdit* field(const QString& name) const
    {
        auto* widget = m_form->findChild<QWidget*>(name);
        if (auto* combo = qobject_cast<QComboBox*>(widget))
            return combo->lineEdit();
        return qobject_cast<QLineEdit*>(widget);
    }

    std::unique_ptr<Form1> m_form;
};

namespace {

// The middle of the caret's rectangle, where the caret is drawn at position.
int caretX(QLineEdit* field, int position)
{
    field->setCursorPosition(position);
    return field->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
}

// Pixels between two columns, inside the frame, that are not the field's background.
int inkBetween(QLineEdit* field, int left, int right)
{
    const QImage shown = field->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb background = field->palette().color(QPalette::Base).rgb();
    int ink = 0;
    for (int y = 3; y < shown.height() - 3; ++y) {
        for (int x = left + 1; x < right; ++x)
            ink += qGray(shown.pixel(x, y)) < qGray(background) - 64;
    }
    return ink;
}

} // namespace

void TestTextFields::init()
{
    m_form = std::make_unique<Form1>(QDir::currentPath(), DriveCatalog::fromSystem());
    m_form->findChild<QRadioButton*>(QStringLiteral("Option2"))->click();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TestTextFields::symbolTakesRoomAndShows_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position"); // of the symbol looked at

    QTest::newRow("Text1, digit in a ring") << "Text1" << QStringLiteral("a\x1c" "b") << 1;
    QTest::newRow("Text1, widest lettering") << "Text1" << QStringLiteral("a\x06" "b") << 1;
    QTest::newRow("Text1, tab") << "Text1" << QStringLiteral("a\tb") << 1;
    QTest::newRow("Text1, last of three between codes") << "Text1" << QStringLiteral("^4Neo\x1c\x1d\x1e^7Pad") << 7;
    QTest::newRow("Text1, no picture: a box") << "Text1" << QStringLiteral("a\x1a" "b") << 1;
    // Pasted at length: the caret, moved from the far end, finds its symbol shown.
    QTest::newRow("Text1, start of a long text") << "Text1" << QStringLiteral("a\x1c") + QString(5000, u'b') << 1;
    QTest::newRow("Text3") << "Text3" << QStringLiteral("C:\\a\x0f" "b") << 4;
    QTest::newRow("Combo1") << "Combo1" << QStringLiteral("KP_\x01") << 3;
    QTest::newRow("Combo2") << "Combo2" << QStringLiteral("\x04Say") << 0;
}

void TestTextFields::symbolTakesRoomAndShows()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(int, position);

    QLineEdit* edit = field(name);
    edit->setText(text);
    const int left = caretX(edit, position);
    const int right = caretX(edit, position + 1);
    // Room for a picture, where QLineEdit alone gives a space's width.
    QVERIFY2(right - left >= 7, qPrintable(QString::number(right - left)));
    QVERIFY2(inkBetween(edit, left, right) >= 10, "nothing to see where the symbol stands");

    // Only the drawing differs: the text and a copy of it are as entered.
    QCOMPARE(edit->text(), text);
    edit->selectAll();
    edit->copy();
    QCOMPARE(QGuiApplication::clipboard()->text(), text);

    // One Backspace after it takes the symbol and nothing else.
    edit->setCursorPosition(position + 1);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), QString(text).remove(position, 1));
}

void TestTextFields::lineBreaksBecomeSpaces_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("inserted"); // into "xy", between the two
    QTest::addColumn<QString>("result");

    const QString breaks = QStringLiteral("a\r\nb\nc\r");
    for (const char* name : {"Text1", "Text3", "Combo1", "Combo2"})
        QTest::addRow("%s, pasted", name) << name << "paste" << breaks << "xa  b c y";
    QTest::newRow("Text1, dropped") << "Text1" << "drop" << breaks << "xa  b c y";
    QTest::newRow("Text1, inserted") << "Text1" << "insert" << breaks << "xa  b c y";
    // What a palette cell inserts passes as it is, symbols and tab included.
    QTest::newRow("Text1, palette cells") << "Text1" << "insert" << QStringLiteral("^1\x1c\t") << "x^1\x1c\ty";
}

void TestTextFields::lineBreaksBecomeSpaces()
{
    QFETCH(QString, name);
    QFETCH(QString, how);
    QFETCH(QString, inserted);
    QFETCH(QString, result);

    QLineEdit* edit = field(name);
    edit->setText(QStringLiteral("xy"));
    // The player is in the field: one he has left shows the start of its text.
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    edit->setFocus();
    edit->setCursorPosition(1);
    if (how == "paste") {
        QGuiApplication::clipboard()->setText(inserted);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    } else if (how == "drop") {
        auto* data = new QMimeData;
        data->setText(inserted);
        const QPoint at(caretX(edit, 1), edit->height() / 2);
        // A drop goes only to the widget that took the drag's entry.
        QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(edit, &enter);
        QDropEvent drop(at, Qt::CopyAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(edit, &drop);
        delete data;
    } else if (auto* textBox = qobject_cast<TextBox*>(edit)) {
        textBox->setSelText(inserted);
    }
    QCOMPARE(edit->text(), result);
    // The caret stands after what came in, as if it had been typed.
    QCOMPARE(edit->cursorPosition(), 1 + inserted.size());
}

QTEST_MAIN(TestTextFields)
#include "TestTextFields.moc"
