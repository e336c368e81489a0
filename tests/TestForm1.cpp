#include "app/Application.h"
#include "app/Form1.h"
#include "app/FormDefinition.h"
#include "help/HelpText.h"
#include "platform/TextBox.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

const QStringList keypadKeys{"KP_INS",        "KP_END",  "KP_DOWNARROW", "KP_PGDN", "KP_LEFTARROW",
                             "KP_5",          "KP_RIGHTARROW", "KP_HOME", "KP_UPARROW", "KP_PGUP"};

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
    void initTestCase();
    void init();
    void cleanup();

    void window();
    void controlsMatchTheirTable_data();
    void controlsMatchTheirTable();
    void captionsFitTheirRectangles_data();
    void captionsFitTheirRectangles();
    void windowedControlsLieAboveLabels();
    void focusStartsInPathAndTabFollowsIndexes_data();
    void focusStartsInPathAndTabFollowsIndexes();
    void loadFillsTheListsAndSelectsNothing();
    void enterInAComboBoxAddsNothing_data();
    void enterInAComboBoxAddsNothing();
    void enterAndEscapePressNoButton();
    void modeSwitching_data();
    void modeSwitching();
    void contentsSurviveEverySwitch();
    void optionsFormOneGroup();
    void smallOptionsHaveAccessibleNames();
    void helpShowsItsMessageInEveryState_data();
    void helpShowsItsMessageInEveryState();

private:
    template<class T = QWidget>
    T* control(const char* name) const
    {
        auto* widget = m_form->findChild<T*>(QString::fromLatin1(name));
        Q_ASSERT(widget);
        return widget;
    }
    void click(const char* option) { control<QRadioButton>(option)->click(); }

    std::unique_ptr<Form1> m_form;
};

void TestForm1::initTestCase()
{
    configureApplication(*qobject_cast<QApplication*>(QCoreApplication::instance()));
}

void TestForm1::init()
{
    m_form = std::make_unique<Form1>();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TestForm1::cleanup()
{
    m_form.reset();
}

void TestForm1::window()
{
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Veltrane"));
    QCOMPARE(m_form->size(), QSize(605, 468));
    QCOMPARE(m_form->minimumSize(), QSize(605, 468));
    QCOMPARE(m_form->maximumSize(), QSize(605, 468));
    const Qt::WindowFlags flags = m_form->windowFlags();
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!m_form->windowIcon().isNull());
    QVERIFY(m_form->windowIcon().availableSizes().contains(QSize(32, 32)));
}

void TestForm1::controlsMatchTheirTable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("shown");

    const QString defaultPath = "C:\\Program Files\\Soldier of Fortune II - Double Helix\\base\\mp\\sof2mp.cfg";
    // Written out independently of the window's own table, in pixels.
    QTest::newRow("Label98") << "Label98" << "QLabel" << QRect(8, 8, 65, 49) << "" << true;
    QTest::newRow("Option2") << "Option2" << "QRadioButton" << QRect(16, 16, 17, 17) << "Option2" << true;
    QTest::newRow("Label95") << "Label95" << "QLabel" << QRect(32, 16, 25, 17) << "Bind" << true;
    QTest::newRow("Option1") << "Option1" << "QRadioButton" << QRect(16, 32, 17, 17) << "Option1" << true;
    QTest::newRow("Label96") << "Label96" << "QLabel" << QRect(32, 32, 33, 17) << "Name" << true;
    QTest::newRow("Label130") << "Label130" << "QLabel" << QRect(160, 16, 137, 17) << "Press \"bind\" to make a bind." << true;
    QTest::newRow("Label131") << "Label131" << "QLabel" << QRect(152, 32, 153, 17) << "Press \"name\" to make a name." << true;
    QTest::newRow("Label97") << "Label97" << "QLabel" << QRect(80, 8, 41, 17) << "Key:" << false;
    QTest::newRow("Combo1") << "Combo1" << "QComboBox" << QRect(104, 8, 81, 21) << "" << false;
    QTest::newRow("Label94") << "Label94" << "QLabel" << QRect(192, 8, 121, 17) << "Command:" << false;
    QTest::newRow("Combo2") << "Combo2" << "QComboBox" << QRect(248, 8, 169, 21) << "Say" << false;
    QTest::newRow("Label2") << "Label2" << "QLabel" << QRect(80, 40, 57, 17) << "Name:" << false;
    QTest::newRow("Label1") << "Label1" << "QLabel" << QRect(88, 40, 33, 17) << "Bind:" << false;
    QTest::newRow("Text1") << "Text1" << "TextBox" << QRect(112, 40, 249, 19) << "" << false;
    QTest::newRow("Command1") << "Command1" << "QPushButton" << QRect(368, 40, 49, 17) << "Save" << false;
    QTest::newRow("Line2") << "Line2" << "Line" << QRect(0, 64, 425, 1) << "" << true;
    QTest::newRow("Line1") << "Line1" << "Line" << QRect(424, 0, 1, 473) << "" << true;
    QTest::newRow("Text3") << "Text3" << "TextBox" << QRect(8, 72, 409, 21) << defaultPath << true;
    QTest::newRow("Label3") << "Label3" << "QLabel" << QRect(8, 96, 169, 17) << "Choose the directory of sof2mp.cfg" << true;
    QTest::newRow("Drive1") << "Drive1" << "DriveListBox" << QRect(8, 112, 209, 21) << "" << true;
    QTest::newRow("Dir1") << "Dir1" << "DirListBox" << QRect(8, 136, 209, 321) << "" << true;
    QTest::newRow("File1") << "File1" << "FileListBox" << QRect(224, 96, 193, 370) << "" << true;
    QTest::newRow("Label99") << "Label99" << "QLabel" << QRect(8, 456, 129, 17) << "*" << true;
    QTest::newRow("Command4") << "Command4" << "QPushButton" << QRect(136, 456, 49, 13) << "Help?" << true;
    QTest::newRow("Label100") << "Label100" << "QLabel" << QRect(432, 0, 169, 33) << "" << true;
    QTest::newRow("Option3") << "Option3" << "QRadioButton" << QRect(448, 8, 49, 17) << "Colors" << true;
    QTest::newRow("Option4") << "Option4" << "QRadioButton" << QRect(528, 8, 65, 17) << "Symbols" << true;
    QTest::newRow("Label132") << "Label132" << "QLabel" << QRect(440, 64, 137, 49)
                              << "To make colors press on \"Colors\" and click on them." << true;
    QTest::newRow("Label133") << "Label133" << "QLabel" << QRect(440, 112, 145, 49)
                              << "To make symbols press on \"Symbols\" and click on them." << true;
    QTest::newRow("Picture1") << "Picture1" << "PictureBox" << QRect(432, 32, 169, 457) << "" << false;
    QTest::newRow("Picture3") << "Picture3" << "PictureBox" << QRect(432, 32, 169, 217) << "" << false;
}

void TestForm1::controlsMatchTheirTable()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    QFETCH(bool, shown);

    auto* widget = m_form->findChild<QWidget*>(name);
    QVERIFY2(widget, qPrintable(name));
    QVERIFY2(widget->inherits(kind.toLatin1()), widget->metaObject()->className());
    QCOMPARE(widget->parentWidget(), m_form.get());
    QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(widget->isVisible(), shown);

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
}

void TestForm1::captionsFitTheirRectangles_data()
{
    QTest::addColumn<QString>("name");
    for (const ControlDefinition& definition : formControls()) {
        if (definition.caption[0] == '\0' || definition.kind == ControlKind::TextBox
            || definition.kind == ControlKind::ComboBox)
            continue;
        // These two keep a caption that their width clips away by design.
        if (definition.objectName() == "Option1" || definition.objectName() == "Option2")
            continue;
        QTest::newRow(definition.name) << definition.objectName();
    }
}

void TestForm1::captionsFitTheirRectangles()
{
    QFETCH(QString, name);
    auto* widget = m_form->findChild<QWidget*>(name);
    const QFontMetrics metrics(widget->font());
    const QRect box = widget->rect();

    if (auto* label = qobject_cast<QLabel*>(widget)) {
        // Wrapped, as the label draws it, the caption must stay inside the label.
        const QRect needed = metrics.boundingRect(box, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, label->text());
        QVERIFY2(box.contains(needed), qPrintable(QString("%1 needs %2x%3 in %4x%5").arg(name)
                                                       .arg(needed.width()).arg(needed.height())
                                                       .arg(box.width()).arg(box.height())));
        if (box.height() < 2 * metrics.height()) {
            QVERIFY2(metrics.horizontalAdvance(label->text()) <= box.width(), "a one-line caption must not wrap");
        }
    } else if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
        QStyleOptionButton option;
        option.initFrom(radio);
        option.text = radio->text();
        const QRect contents = radio->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, radio);
        QVERIFY2(metrics.horizontalAdvance(radio->text()) <= contents.width(),
                 qPrintable(QString("%1: %2 > %3").arg(name).arg(metrics.horizontalAdvance(radio->text())).arg(contents.width())));
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
        QVERIFY(metrics.horizontalAdvance(button->text()) + 4 <= box.width());
        QVERIFY(metrics.ascent() <= box.height());
    } else {
        QFAIL("a caption on a control of unexpected kind");
    }
}

void TestForm1::windowedControlsLieAboveLabels()
{
    const QObjectList children = m_form->children();
    const auto stackingIndex = [&](const char* name) { return children.indexOf(control(name)); };
    // Where a caption reaches under its field, the field covers it.
    QVERIFY(stackingIndex("Combo1") > stackingIndex("Label97"));
    QVERIFY(stackingIndex("Combo2") > stackingIndex("Label94"));
    QVERIFY(stackingIndex("Text1") > stackingIndex("Label1"));
    QVERIFY(stackingIndex("Text1") > stackingIndex("Label2"));
    QVERIFY(stackingIndex("Picture1") > stackingIndex("Label132"));
    QVERIFY(stackingIndex("Picture3") > stackingIndex("Label100"));
    QVERIFY(stackingIndex("Option2") > stackingIndex("Label98"));

    // The framing labels are drawn borders only: a click goes through them.
    click("Option3");
    QCOMPARE(m_form->childAt(control("Option2")->geometry().center()), control("Option2"));
    QVERIFY(control("Label98")->testAttribute(Qt::WA_TransparentForMouseEvents));
}

void TestForm1::focusStartsInPathAndTabFollowsIndexes_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QStringList>("order");

    QTest::newRow("no mode") << QStringList{} << "Text3"
                             << QStringList{"File1", "Drive1", "Dir1", "Command4", "Option1"};
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
        m_form->findChild<QRadioButton*>(option)->click();
    m_form->findChild<QWidget*>(from)->setFocus();
    for (const QString& name : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        // An editable combo box hands the focus to its line edit.
        if (qobject_cast<QComboBox*>(focus->parentWidget()))
            focus = focus->parentWidget();
        QCOMPARE(focus->objectName(), name);
    }
}

void TestForm1::loadFillsTheListsAndSelectsNothing()
{
    auto* combo1 = control<QComboBox>("Combo1");
    auto* combo2 = control<QComboBox>("Combo2");
    QCOMPARE(items(combo1), keypadKeys);
    QCOMPARE(items(combo2), (QStringList{"Say", "Say_team"}));
    QCOMPARE(combo1->currentIndex(), -1);
    QCOMPARE(combo1->currentText(), QString());
    QCOMPARE(combo2->currentIndex(), -1);
    QCOMPARE(combo2->currentText(), QStringLiteral("Say"));
    QCOMPARE(control<TextBox>("Text1")->text(), QString());
}

void TestForm1::enterInAComboBoxAddsNothing_data()
{
    QTest::addColumn<QString>("combo");
    QTest::newRow("Combo1") << "Combo1";
    QTest::newRow("Combo2") << "Combo2";
}

void TestForm1::enterInAComboBoxAddsNothing()
{
    QFETCH(QString, combo);
    click("Option2");
    auto* box = m_form->findChild<QComboBox*>(combo);
    const QStringList before = items(box);
    box->setFocus();
    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), "F12");
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    QCOMPARE(items(box), before);
    QCOMPARE(box->currentText(), QStringLiteral("F12"));
}

void TestForm1::enterAndEscapePressNoButton()
{
    click("Option1");
    QSignalSpy save(control<QPushButton>("Command1"), &QPushButton::clicked);
    QSignalSpy help(control<QPushButton>("Command4"), &QPushButton::clicked);
    for (const char* field : {"Text1", "Text3"}) {
        QTest::keyClick(control(field), Qt::Key_Return);
        QTest::keyClick(control(field), Qt::Key_Enter);
        QTest::keyClick(control(field), Qt::Key_Escape);
    }
    QCOMPARE(save.count(), 0);
    QCOMPARE(help.count(), 0);
    QVERIFY(m_form->isVisible());
}

void TestForm1::modeSwitching_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QStringList>("shownEntries");
    QTest::addColumn<QStringList>("shownPalettes");
    QTest::addColumn<QString>("marked");

    const QStringList start{"Label130", "Label131"};
    const QStringList bind{"Label97", "Combo1", "Label94", "Combo2", "Label1", "Text1", "Command1"};
    const QStringList name{"Label2", "Text1", "Command1"};
    const QStringList hints{"Label132", "Label133"};

    QTest::newRow("start") << QStringList{} << start << hints << "";
    QTest::newRow("bind") << QStringList{"Option2"} << bind << hints << "Option2";
    QTest::newRow("name") << QStringList{"Option1"} << name << hints << "Option1";
    QTest::newRow("bind, name") << QStringList{"Option2", "Option1"} << name << hints << "Option1";
    QTest::newRow("name, bind") << QStringList{"Option1", "Option2"} << bind << hints << "Option2";
    QTest::newRow("colours") << QStringList{"Option3"} << start << QStringList{"Picture1"} << "Option3";
    QTest::newRow("symbols") << QStringList{"Option4"} << start << QStringList{"Picture3"} << "Option4";
    QTest::newRow("colours, symbols") << QStringList{"Option3", "Option4"} << start << QStringList{"Picture3"} << "Option4";
    QTest::newRow("symbols, colours") << QStringList{"Option4", "Option3"} << start << QStringList{"Picture1"} << "Option3";
    QTest::newRow("bind, colours") << QStringList{"Option2", "Option3"} << bind << QStringList{"Picture1"} << "Option3";
    QTest::newRow("bind, colours, bind again")
        << QStringList{"Option2", "Option3", "Option2"} << bind << QStringList{"Picture1"} << "Option2";
    QTest::newRow("symbols, name, colours, bind")
        << QStringList{"Option4", "Option1", "Option3", "Option2"} << bind << QStringList{"Picture1"} << "Option2";
}

void TestForm1::modeSwitching()
{
    QFETCH(QStringList, clicks);
    QFETCH(QStringList, shownEntries);
    QFETCH(QStringList, shownPalettes);
    QFETCH(QString, marked);

    for (const QString& option : clicks)
        QTest::mouseClick(m_form->findChild<QRadioButton*>(option), Qt::LeftButton);

    QCOMPARE(shownOf(m_form.get(), entryControls), shownEntries);
    QCOMPARE(shownOf(m_form.get(), paletteControls), shownPalettes);
    for (const char* option : {"Option1", "Option2", "Option3", "Option4"})
        QCOMPARE(control<QRadioButton>(option)->isChecked(), marked == option);
}

void TestForm1::contentsSurviveEverySwitch()
{
    click("Option2");
    auto* combo1 = control<QComboBox>("Combo1");
    auto* combo2 = control<QComboBox>("Combo2");
    auto* text1 = control<TextBox>("Text1");
    auto* text3 = control<TextBox>("Text3");
    combo1->setCurrentIndex(8);
    combo2->setEditText("Say_team");
    text1->setText("^1Hello");
    text3->setText("/tmp/x.cfg");

    for (const char* option : {"Option1", "Option3", "Option4", "Option2", "Option1", "Option2"}) {
        click(option);
        QCOMPARE(combo1->currentText(), QStringLiteral("KP_UPARROW"));
        QCOMPARE(combo2->currentText(), QStringLiteral("Say_team"));
        QCOMPARE(items(combo1), keypadKeys);
        QCOMPARE(text1->text(), QStringLiteral("^1Hello"));
        QCOMPARE(text3->text(), QStringLiteral("/tmp/x.cfg"));
    }
}

void TestForm1::optionsFormOneGroup()
{
    // Clicking the words beside the small buttons selects nothing.
    QTest::mouseClick(control("Label95"), Qt::LeftButton);
    QTest::mouseClick(m_form.get(), Qt::LeftButton, {}, control("Label96")->geometry().center());
    QVERIFY(!control<QRadioButton>("Option2")->isChecked());
    QVERIFY(!control<QRadioButton>("Option1")->isChecked());
    QVERIFY(control("Label130")->isVisible());

    QTest::mouseClick(control("Option2"), Qt::LeftButton);
    QTest::mouseClick(control("Option4"), Qt::LeftButton);
    QVERIFY(!control<QRadioButton>("Option2")->isChecked());
    QVERIFY(control("Combo1")->isVisible()); // the mode lives in visibility, not in the mark
}

void TestForm1::smallOptionsHaveAccessibleNames()
{
    QCOMPARE(control("Option2")->accessibleName(), QStringLiteral("Bind"));
    QCOMPARE(control("Option1")->accessibleName(), QStringLiteral("Name"));
    QCOMPARE(control<QRadioButton>("Option2")->text(), QStringLiteral("Option2"));
}

void TestForm1::helpShowsItsMessageInEveryState_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::newRow("no mode") << QStringList{};
    QTest::newRow("bind") << QStringList{"Option2"};
    QTest::newRow("name") << QStringList{"Option1"};
    QTest::newRow("colours") << QStringList{"Option3"};
    QTest::newRow("name and symbols") << QStringList{"Option1", "Option4"};
}

void TestForm1::helpShowsItsMessageInEveryState()
{
    QFETCH(QStringList, clicks);
    for (const QString& option : clicks)
        m_form->findChild<QRadioButton*>(option)->click();

    const QStringList visibleBefore = shownOf(m_form.get(), entryControls + paletteControls);
    const QString pathBefore = control<TextBox>("Text3")->text();

    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QAbstractButton*> buttons;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        text = box->text();
        title = box->windowTitle();
        icon = box->icon();
        buttons = box->buttons();
        QCOMPARE(box->standardButtons(), QMessageBox::Ok);
        box->button(QMessageBox::Ok)->click();
    });
    QTest::mouseClick(control("Command4"), Qt::LeftButton);

    QCOMPARE(text, helpText());
    QCOMPARE(text.size(), 490);
    QVERIFY(text.startsWith("First you have to choose, which you want to make - bind or name."));
    QCOMPARE(title, QStringLiteral("Help"));
    QCOMPARE(icon, QMessageBox::Information);
    QCOMPARE(buttons.size(), 1);
    QCOMPARE(shownOf(m_form.get(), entryControls + paletteControls), visibleBefore);
    QCOMPARE(control<TextBox>("Text3")->text(), pathBefore);
}

QTEST_MAIN(TestForm1)
#include "TestForm1.moc"
