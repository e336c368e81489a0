#include "app/Application.h"
#include "app/Form1.h"
#include "app/HelpText.h"
#include "widgets/PictureBox.h"
#include "widgets/TextBox.h"
#include "support/ShownMessages.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QStringList keypadKeys{"KP_INS", "KP_END", "KP_DOWNARROW", "KP_PGDN", "KP_LEFTARROW",
                             "KP_5", "KP_RIGHTARROW", "KP_HOME", "KP_UPARROW", "KP_PGUP"};

QStringList items(const QComboBox* combo)
{
    QStringList result;
    for (int i = 0; i < combo->count(); ++i)
        result << combo->itemText(i);
    return result;
}

// The names of the controls that are shown, in the order given.
QStringList shownOf(const QWidget* form, const QStringList& names)
{
    QStringList result;
    for (const QString& name : names) {
        if (form->findChild<QWidget*>(name)->isVisible())
            result << name;
    }
    return result;
}

const QStringList entryControls{"Label97", "Combo1", "Label94", "Combo2", "Label1", "Label2",
                                "Text1",   "Command1", "Label130", "Label131"};
const QStringList paletteControls{"Picture1", "Picture3", "Label132", "Label133"};

} // namespace

class TestForm1 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { configureApplication(*qobject_cast<QApplication*>(qApp)); }
    void init();
    void cleanup() { m_form.reset(); }
    void window();
    void controlsMatchTheirTableAndCaptionsFit_data();
    void controlsMatchTheirTableAndCaptionsFit();
    void focusStartsInPathAndTabFollowsIndexes_data();
    void focusStartsInPathAndTabFollowsIndexes();
    void loadFillsTheListsAndEnterAddsNothing();
    void enterOrEscInAFieldPressesNoButton();
    void modeSwitching_data();
    void modeSwitching();
    void help_data();
    void help();

private:
    template<class T = QWidget>
    T* control(const QString& name) const
    {
        auto* widget = m_form->findChild<T*>(name);
        Q_ASSERT(widget);
        return widget;
    }
    // Through the window, so that whatever lies on top at the control's centre gets the click.
    void click(const QString& name)
    {
        QTest::mouseClick(m_form->windowHandle(), Qt::LeftButton, {}, control(name)->geometry().center());
    }

    std::unique_ptr<Form1> m_form;
};

void TestForm1::init()
{
    m_form = std::make_unique<Form1>(QDir::currentPath(), DriveCatalog::fromSystem());
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TestForm1::window()
{
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Veltrane"));
    QCOMPARE(m_form->minimumSize(), QSize(605, 468));
    QCOMPARE(m_form->maximumSize(), QSize(605, 468));
    QVERIFY(!(m_form->windowFlags() & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint)));
    QVERIFY(m_form->windowIcon().availableSizes().contains(QSize(32, 32)));
    // The window's icon is the picture installed for the desktop, pixel for pixel.
    const QImage installed(QStringLiteral(VELTRANE_BUILD_DIR "/veltrane.png"));
    QVERIFY(!installed.isNull());
    QCOMPARE(m_form->windowIcon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32),
             installed.convertToFormat(QImage::Format_ARGB32));
}

void TestForm1::controlsMatchTheirTableAndCaptionsFit_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text"); // "*" for any text but none
    QTest::addColumn<bool>("shown");
    QTest::addColumn<double>("arialPoints"); // 0 for the interface font
    QTest::addColumn<QString>("covers"); // captions reaching under the control, which it must lie above

    const QString defaultPath = "C:\\Program Files\\Soldier of Fortune II - Double Helix\\base\\mp\\sof2mp.cfg";
    // Written out apart from the window's own table, in pixels.
    QTest::newRow("Label98") << "Label98" << QRect(8, 8, 65, 49) << "" << true << 0.0 << "";
    QTest::newRow("Option2") << "Option2" << QRect(16, 16, 17, 17) << "Option2" << true << 0.0 << "Label98";
    QTest::newRow("Label95") << "Label95" << QRect(32, 16, 25, 17) << "Bind" << true << 0.0 << "";
    QTest::newRow("Option1") << "Option1" << QRect(16, 32, 17, 17) << "Option1" << true << 0.0 << "";
    QTest::newRow("Label96") << "Label96" << QRect(32, 32, 33, 17) << "Name" << true << 0.0 << "";
    QTest::newRow("Label130") << "Label130" << QRect(160, 16, 137, 17) << "Press \"bind\" to make a bind." << true << 0.0 << "";
    QTest::newRow("Label131") << "Label131" << QRect(152, 32, 153, 17) << "Press \"name\" to make a name." << true << 0.0 << "";
    QTest::newRow("Label97") << "Label97" << QRect(80, 8, 41, 17) << "Key:" << false << 0.0 << "";
    QTest::newRow("Combo1") << "Combo1" << QRect(104, 8, 81, 21) << "" << false << 0.0 << "Label97";
    QTest::newRow("Label94") << "Label94" << QRect(192, 8, 121, 17) << "Command:" << false << 0.0 << "";
    QTest::newRow("Combo2") << "Combo2" << QRect(248, 8, 169, 21) << "Say" << false << 0.0 << "Label94";
    QTest::newRow("Label2") << "Label2" << QRect(80, 40, 57, 17) << "Name:" << false << 0.0 << "";
    QTest::newRow("Label1") << "Label1" << QRect(88, 40, 33, 17) << "Bind:" << false << 0.0 << "";
    QTest::newRow("Text1") << "Text1" << QRect(112, 40, 249, 19) << "" << false << 0.0 << "Label1 Label2";
    QTest::newRow("Command1") << "Command1" << QRect(368, 40, 49, 17) << "Save" << false << 0.0 << "";
    QTest::newRow("Line2") << "Line2" << QRect(0, 64, 425, 1) << "" << true << 0.0 << "";
    QTest::newRow("Line1") << "Line1" << QRect(424, 0, 1, 473) << "" << true << 0.0 << "";
    QTest::newRow("Text3") << "Text3" << QRect(8, 72, 409, 21) << defaultPath << true << 0.0 << "";
    QTest::newRow("Label3") << "Label3" << QRect(8, 96, 169, 17) << "Choose the directory of sof2mp.cfg" << true << 0.0 << "";
    QTest::newRow("Drive1") << "Drive1" << QRect(8, 112, 209, 21) << "" << true << 0.0 << "";
    QTest::newRow("Dir1") << "Dir1" << QRect(8, 136, 209, 321) << "" << true << 0.0 << "";
    QTest::newRow("File1") << "File1" << QRect(224, 96, 193, 370) << "" << true << 0.0 << "";
    QTest::newRow("Label99") << "Label99" << QRect(8, 456, 129, 17) << "*" << true << 6.75 << "";
    QTest::newRow("Command4") << "Command4" << QRect(136, 456, 49, 13) << "Help?" << true << 8.25 << "";
    QTest::newRow("Label100") << "Label100" << QRect(432, 0, 169, 33) << "" << true << 0.0 << "";
    QTest::newRow("Option3") << "Option3" << QRect(448, 8, 49, 17) << "Colors" << true << 0.0 << "";
    QTest::newRow("Option4") << "Option4" << QRect(528, 8, 65, 17) << "Symbols" << true << 0.0 << "";
    QTest::newRow("Label132") << "Label132" << QRect(440, 64, 137, 49)
                              << "To make colors press on \"Colors\" and click on them." << true << 0.0 << "";
    QTest::newRow("Label133") << "Label133" << QRect(440, 112, 145, 49)
                              << "To make symbols press on \"Symbols\" and click on them." << true << 0.0 << "";
    QTest::newRow("Picture1") << "Picture1" << QRect(432, 32, 169, 457) << "" << false << 0.0 << "Label132";
    QTest::newRow("Picture3") << "Picture3" << QRect(432, 32, 169, 217) << "" << false << 0.0 << "Label100";
}

void TestForm1::controlsMatchTheirTableAndCaptionsFit()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    QFETCH(bool, shown);
    QFETCH(double, arialPoints);
    QFETCH(QString, covers);

    QWidget* widget = control(name);
    QCOMPARE(widget->parentWidget(), m_form.get());
    QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(widget->isVisible(), shown);
    if (arialPoints == 0) {
        QCOMPARE(widget->font(), QApplication::font());
    } else {
        QCOMPARE(widget->font().family(), QStringLiteral("Arial"));
        QVERIFY2(qAbs(widget->font().pointSizeF() - arialPoints) < 0.01, qPrintable(widget->font().toString()));
    }

    QString actual;
    if (auto* label = qobject_cast<QLabel*>(widget))
        actual = label->text();
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        actual = button->text();
    else if (auto* line = qobject_cast<QLineEdit*>(widget))
        actual = line->text();
    else if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->isEditable())
        actual = combo->currentText();
    if (text == "*")
        QVERIFY(!actual.isEmpty());
    else
        QCOMPARE(actual, text);

    const QObjectList stacking = m_form->children();
    for (const QString& caption : covers.split(u' ', Qt::SkipEmptyParts))
        QVERIFY2(stacking.indexOf(widget) > stacking.indexOf(control(caption)), qPrintable(caption));

    // The caption fits: the two small option buttons keep one their width clips away by design.
    const QFontMetrics metrics(widget->font());
    const QRect box = widget->rect();
    if (qobject_cast<QLabel*>(widget)) {
        // Wrapped as the label draws it, the caption stays inside; one line high, it must not wrap.
        const QRect needed = metrics.boundingRect(box, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, actual);
        QVERIFY2(box.contains(needed), qPrintable(QString("needs %1x%2").arg(needed.width()).arg(needed.height())));
        QVERIFY(box.height() >= 2 * metrics.height() || metrics.horizontalAdvance(actual) <= box.width());
    } else if (auto* radio = qobject_cast<QRadioButton*>(widget); radio && box.width() > 20) {
        QStyleOptionButton option;
        option.initFrom(radio);
        option.text = actual;
        const QRect contents = radio->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, radio);
        QVERIFY(metrics.horizontalAdvance(actual) <= contents.width());
    } else if (qobject_cast<QPushButton*>(widget)) {
        QVERIFY(metrics.horizontalAdvance(actual) + 4 <= box.width());
        QVERIFY(metrics.ascent() <= box.height());
    }
}

void TestForm1::focusStartsInPathAndTabFollowsIndexes_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QStringList>("order");

    QTest::newRow("no mode") << QStringList{} << "Text3" << QStringList{"File1", "Drive1", "Dir1", "Command4", "Option1"};
    QTest::newRow("bind") << QStringList{"Option2"} << "Combo1"
                          << QStringList{"Text1", "Command1", "Text3", "File1", "Drive1", "Dir1", "Combo2", "Command4"};
    QTest::newRow("name and colours") << QStringList{"Option1", "Option3"} << "Text1"
                                      << QStringList{"Command1", "Text3", "File1", "Drive1", "Dir1", "Picture1", "Command4"};
}

void TestForm1::focusStartsInPathAndTabFollowsIndexes()
{
    QFETCH(QStringList, clicks);
    QFETCH(QString, from);
    QFETCH(QStringList, order);

    QApplication::setActiveWindow(m_form.get());
    QCOMPARE(QApplication::focusWidget(), control("Text3"));
    for (const QString& option : clicks)
        control<QRadioButton>(option)->click();
    control(from)->setFocus();
    for (const QString& name : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        // An editable combo box hands the focus to its line edit.
        if (qobject_cast<QComboBox*>(focus->parentWidget()))
            focus = focus->parentWidget();
        QCOMPARE(focus->objectName(), name);
    }
}

void TestForm1::loadFillsTheListsAndEnterAddsNothing()
{
    auto* combo1 = control<QComboBox>("Combo1");
    auto* combo2 = control<QComboBox>("Combo2");
    QCOMPARE(items(combo1), keypadKeys);
    QCOMPARE(items(combo2), (QStringList{"Say", "Say_team"}));
    QCOMPARE(combo1->currentIndex(), -1);
    QCOMPARE(combo1->currentText(), QString());
    QCOMPARE(combo2->currentIndex(), -1);
    QCOMPARE(combo2->currentText(), QStringLiteral("Say"));

    // A typed key or command is used as typed: never completed from the
    // list, never added to it.
    click("Option2");
    QApplication::setActiveWindow(m_form.get());
    for (QComboBox* combo : {combo1, combo2}) {
        const QStringList before = items(combo);
        for (const char* typed : {"F12", "KP_", "Sa"}) {
            combo->setFocus();
            combo->lineEdit()->selectAll();
            QTest::keyClicks(combo->lineEdit(), typed);
            QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(items(combo), before);
            QCOMPARE(combo->currentText(), QString::fromLatin1(typed));
        }
    }

    // The boxes are narrow: the list shows every entry in full, and a box left
    // after a choice shows the start of it ("KP_UPARROW", not "_UPARROW").
    for (QComboBox* combo : {combo1, combo2}) {
        combo->setFocus();
        combo->showPopup();
        QAbstractItemView* list = combo->view();
        QVERIFY(QTest::qWaitForWindowExposed(list->window()));
        QVERIFY(list->viewport()->width() >= list->sizeHintForColumn(0));
        const QModelIndex chosen = list->model()->index(combo->count() - 2, 0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(chosen).center());
        QTRY_VERIFY(!list->window()->isVisible());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(combo->currentText(), chosen.data().toString());
        QCOMPARE(combo->lineEdit()->cursorPosition(), 0);
    }
}

void TestForm1::modeSwitching_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QStringList>("shownEntries");
    QTest::addColumn<QStringList>("shownPalettes");
    QTest::addColumn<QString>("marked"); // the one option of the shared group that shows its mark

    const QStringList start{"Label130", "Label131"};
    const QStringList bind{"Label97", "Combo1", "Label94", "Combo2", "Label1", "Text1", "Command1"};
    const QStringList name{"Label2", "Text1", "Command1"};
    const QStringList hints{"Label132", "Label133"};
    const QStringList colours{"Picture1"};
    const QStringList symbols{"Picture3"};

    QTest::newRow("start") << QStringList{} << start << hints << "";
    QTest::newRow("the words beside the options") << QStringList{"Label95", "Label96"} << start << hints << "";
    QTest::newRow("bind") << QStringList{"Option2"} << bind << hints << "Option2";
    QTest::newRow("name") << QStringList{"Option1"} << name << hints << "Option1";
    QTest::newRow("bind, name") << QStringList{"Option2", "Option1"} << name << hints << "Option1";
    QTest::newRow("name, bind") << QStringList{"Option1", "Option2"} << bind << hints << "Option2";
    QTest::newRow("colours") << QStringList{"Option3"} << start << colours << "Option3";
    QTest::newRow("symbols") << QStringList{"Option4"} << start << symbols << "Option4";
    QTest::newRow("colours, symbols") << QStringList{"Option3", "Option4"} << start << symbols << "Option4";
    QTest::newRow("symbols, colours") << QStringList{"Option4", "Option3"} << start << colours << "Option3";
    QTest::newRow("bind, colours, bind again") << QStringList{"Option2", "Option3", "Option2"} << bind << colours << "Option2";
    QTest::newRow("symbols, name, colours, bind")
        << QStringList{"Option4", "Option1", "Option3", "Option2"} << bind << colours << "Option2";
}

void TestForm1::modeSwitching()
{
    QFETCH(QStringList, clicks);
    QFETCH(QStringList, shownEntries);
    QFETCH(QStringList, shownPalettes);
    QFETCH(QString, marked);

    // What the player entered survives every switch, shown or hidden.
    control<QComboBox>("Combo1")->setCurrentIndex(8);
    control<QComboBox>("Combo2")->setEditText("Say_team");
    control<TextBox>("Text1")->setText("^1Hello");
    control<TextBox>("Text3")->setText("/tmp/x.cfg");
    for (const QString& name : clicks)
        click(name);

    QCOMPARE(shownOf(m_form.get(), entryControls), shownEntries);
    QCOMPARE(shownOf(m_form.get(), paletteControls), shownPalettes);
    for (const auto* panel : m_form->findChildren<PictureBox*>()) {
        if (!panel->isVisible())
            continue;
        // Right of its picture a shown panel is the dialog colour, even where the frame above it ends.
        const QImage window = m_form->grab().toImage();
        for (int x = panel->x() + panel->picture().width(); x <= panel->geometry().right(); ++x)
            QCOMPARE(window.pixelColor(x, panel->y()), m_form->palette().color(QPalette::Window));
    }
    for (const char* option : {"Option1", "Option2", "Option3", "Option4"})
        QCOMPARE(control<QRadioButton>(option)->isChecked(), marked == option);
    QCOMPARE(control<QComboBox>("Combo1")->currentText(), QStringLiteral("KP_UPARROW"));
    QCOMPARE(items(control<QComboBox>("Combo1")), keypadKeys);
    QCOMPARE(control<QComboBox>("Combo2")->currentText(), QStringLiteral("Say_team"));
    QCOMPARE(control<TextBox>("Text1")->text(), QStringLiteral("^1Hello"));
    QCOMPARE(control<TextBox>("Text3")->text(), QStringLiteral("/tmp/x.cfg"));
    // The small options' captions are clipped away; people using a screen reader hear these.
    QCOMPARE(control("Option2")->accessibleName(), QStringLiteral("Bind"));
    QCOMPARE(control("Option1")->accessibleName(), QStringLiteral("Name"));
}

void TestForm1::enterOrEscInAFieldPressesNoButton()
{
    QTemporaryDir folder;
    const QString config = folder.filePath("sof2mp.cfg");
    QFile file(config);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("seta name \"x\"\r\n") > 0);
    file.close();
    click("Option2");
    control<TextBox>("Text3")->setText(config);
    QApplication::setActiveWindow(m_form.get());

    // Were Save the default button, each Enter would add a line, or fail on the path typed into.
    const QList<ShownMessage> shown = messagesShownBy([this] {
        for (const char* field : {"Combo1", "Combo2", "Text1", "Text3"}) {
            QWidget* typedInto = control(field);
            if (auto* combo = qobject_cast<QComboBox*>(typedInto))
                typedInto = combo->lineEdit();
            typedInto->setFocus();
            QTest::keyClicks(typedInto, "x");
            QTest::keyClick(typedInto, Qt::Key_Return);
            QTest::keyClick(typedInto, Qt::Key_Enter, Qt::KeypadModifier);
            QTest::keyClick(typedInto, Qt::Key_Escape);
        }
    });
    QCOMPARE(shown.size(), 0);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("seta name \"x\"\r\n"));
}

void TestForm1::help_data()
{
    QTest::addColumn<int>("key"); // 0 for a mouse click
    QTest::addColumn<int>("modifiers");

    QTest::newRow("click") << 0 << 0;
    // Enter presses the focused button as Space does.
    QTest::newRow("Space") << int(Qt::Key_Space) << 0;
    QTest::newRow("Return") << int(Qt::Key_Return) << 0;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
}

void TestForm1::help()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    click("Option1");
    click("Option4");
    const QStringList shownBefore = shownOf(m_form.get(), entryControls + paletteControls);

    const QList<ShownMessage> shown = messagesShownBy([&] {
        if (key == 0) {
            click("Command4");
            return;
        }
        QApplication::setActiveWindow(m_form.get());
        control("Command4")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(control("Command4"), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    });

    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].text, helpText());
    QVERIFY(shown[0].text.startsWith("First you have to choose, which you want to make - bind or name."));
    QCOMPARE(shown[0].title, QStringLiteral("Help"));
    QCOMPARE(shown[0].icon, QMessageBox::Information);
    QCOMPARE(shown[0].buttons, QMessageBox::Ok);
    QCOMPARE(shownOf(m_form.get(), entryControls + paletteControls), shownBefore);
}

QTEST_MAIN(TestForm1)
#include "TestForm1.moc"
