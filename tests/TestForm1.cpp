// The window in-process, used as a player uses it, over a temporary tree that
// is the current folder, the home folder and a Wine prefix with drives D: and E:.
#include "FileContent.h"
#include "app/Application.h"
#include "app/EntryTextPreview.h"
#include "app/Form1.h"
#include "app/FormDefinition.h"
#include "app/HelpText.h"
#include "game/DriveCatalog.h"
#include "preview/GameTextPicture.h"
#include "widgets/DirListBox.h"
#include "widgets/DriveListBox.h"
#include "widgets/FileListBox.h"
#include "widgets/PaletteCell.h"
#include "widgets/PictureBox.h"
#include "widgets/PicturePopup.h"
#include "widgets/TextBox.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <atomic>
#include <fcntl.h>
#include <functional>
#include <linux/capability.h>
#include <memory>
#include <sched.h>
#include <semaphore>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

namespace {

// What the player saw of a message box.
struct ShownMessage
{
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Does what the player does and reads every message box that shows, closing
// each as the player would who presses Enter: with its default button. Polled:
// some actions spin the event loop before their box opens.
inline QList<ShownMessage> messagesShownBy(const std::function<void()>& action)
{
    QList<ShownMessage> shown;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            QPushButton* preferred = box->defaultButton();
            shown.append({box->text(), box->windowTitle(), box->icon(), box->standardButtons(),
                          preferred ? box->standardButton(preferred) : QMessageBox::NoButton});
            preferred ? preferred->click() : box->accept();
        }
    });
    watcher.start(10);
    action();
    return shown;
}

const QStringList bindControls{"Label97", "Combo1", "Label94", "Combo2", "Label1", "Text1", "Command1"};

QStringList items(const QAbstractItemModel* model)
{
    QStringList result;
    for (int row = 0; row < model->rowCount(); ++row)
        result << model->index(row, 0).data().toString();
    return result;
}

// The middle of the caret's rectangle, where the caret is drawn at position.
int caretX(QLineEdit* field, int position)
{
    field->setCursorPosition(position);
    return field->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
}

// A share whose server never answers: a FUSE connection nobody reads, in a
// mount namespace of the test's own. It is let go after five seconds at the
// latest, so that a test waiting on it fails instead of hanging.
class StalledShare
{
public:
    explicit StalledShare(const QString& folder)
        : m_folder(QFile::encodeName(folder))
        , m_fuse(::open("/dev/fuse", O_RDWR | O_CLOEXEC))
    {
        const QByteArray options = "fd=" + QByteArray::number(m_fuse) + ",rootmode=40000,user_id=0,group_id=0";
        m_mounted = s_ownMounts && m_fuse >= 0 && QDir().mkpath(folder)
                    && ::mount("stalled", m_folder, "fuse.stalled", MS_NOSUID | MS_NODEV, options.constData()) == 0;
        m_watchdog = std::thread([this] {
            m_timedOut = !m_ending.try_acquire_for(std::chrono::seconds(5));
            ::close(m_fuse); // whatever waits on the share fails at once
        });
    }
    ~StalledShare()
    {
        m_ending.release();
        m_watchdog.join();
        ::umount2(m_folder, MNT_DETACH);
    }
    bool isMounted() const { return m_mounted; }
    bool timedOut() const { return m_timedOut; }

    static inline bool s_ownMounts = false; // taken before any thread starts, as it must be

private:
    QByteArray m_folder;
    int m_fuse;
    bool m_mounted = false;
    std::binary_semaphore m_ending{0};
    std::atomic<bool> m_timedOut = false;
    std::thread m_watchdog;
};

// Root reads any folder whatever its mode; without these two capabilities the
// test's thread, and each thread it starts, reads as anyone else.
struct WithoutRootsReach
{
    WithoutRootsReach() { reach(false); }
    ~WithoutRootsReach() { reach(true); }
    static void reach(bool on)
    {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct sets[2]{};
        ::syscall(SYS_capget, &header, sets);
        const unsigned both = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);
        sets[0].effective = on ? sets[0].effective | (both & sets[0].permitted) : sets[0].effective & ~both;
        ::syscall(SYS_capset, &header, sets);
    }
};

// Counts the paint events a widget receives.
struct PaintCounter : QObject
{
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
    int paints = 0;
};

// The key that copies the line for the game's console.
constexpr int Copy = (Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_C).toCombined();

enum class Target { DefaultPath, DefaultPathInCapitals, HomeFolder, MissingFolder, MissingFile, Folder, EmptyPath, Fifo,
                    GameRunning, GameRunningOwnFile };

} // namespace

class TestForm1 : public QObject
{
    Q_OBJECT

public:
    static void initMain()
    {
        StalledShare::s_ownMounts = ::unshare(CLONE_NEWNS) == 0
                                    && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    }

private slots:
    void initTestCase()
    {
        configureApplication(*qobject_cast<QApplication*>(qApp));
        m_startFolder = QDir::currentPath();
    }

    void init()
    {
        m_tree = std::make_unique<QTemporaryDir>();
        m_root = QDir(m_tree->path()).canonicalPath();
        for (const char* folder : {"start/base/mp", "start/.config", "start/Alpha", "start/Zulu", "drive_d/games",
                                   "drive_e", "wine/dosdevices", "wine/drive_c"})
            QVERIFY(QDir(m_root).mkpath(folder));
        for (const char* file : {"start/sof2mp.cfg", "start/readme.txt", "start/.hidden", "start/Zed.cfg", "start/a.cfg"})
            QVERIFY(writeFile(path(file), {}));
        QVERIFY(QFile::link("../drive_c", path("wine/dosdevices/c:")));
        QVERIFY(QFile::link(path("drive_d"), path("wine/dosdevices/d:")));
        QVERIFY(QFile::link(path("drive_e"), path("wine/dosdevices/e:")));
        qputenv("WINEPREFIX", QFile::encodeName(path("wine")));
        // No game of the machine's may be found, let alone written to.
        qputenv("HOME", QFile::encodeName(m_root));
        QVERIFY(QDir::setCurrent(path("start")));
        open();
    }

    void cleanup()
    {
        m_form.reset();
        QDir::setCurrent(m_startFolder);
        qunsetenv("WINEPREFIX");
        qputenv("HOME", m_home);
        m_tree.reset();
    }

    void layout()
    {
        QCOMPARE(std::pair(m_form->minimumSize(), m_form->maximumSize()), std::pair(QSize(605, 468), QSize(605, 468)));
        QVERIFY(!(m_form->windowFlags() & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint)));
        // The window's icon is the picture installed for the desktop, pixel for pixel.
        const QImage installed(QStringLiteral(VELTRANE_BUILD_DIR "/hicolor/32x32/apps/" VELTRANE_APP_ID ".png"));
        QCOMPARE(m_form->windowIcon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32),
                 installed.convertToFormat(QImage::Format_ARGB32));

        // Where the player sees each control, in pixels.
        const QList<std::pair<const char*, QRect>> places{
            {"Label98", {8, 8, 65, 49}},      {"Option2", {16, 16, 17, 17}},     {"Label95", {32, 16, 25, 17}},
            {"Option1", {16, 32, 17, 17}},    {"Label96", {32, 32, 33, 17}},     {"Label130", {160, 16, 137, 17}},
            {"Label131", {152, 32, 153, 17}}, {"Label97", {80, 8, 41, 17}},      {"Combo1", {104, 8, 81, 21}},
            {"Label94", {192, 8, 121, 17}},   {"Combo2", {248, 8, 169, 21}},     {"Label2", {80, 40, 57, 17}},
            {"Label1", {88, 40, 33, 17}},     {"Text1", {112, 40, 249, 19}},     {"Command1", {368, 40, 49, 17}},
            {"Line2", {0, 64, 425, 1}},       {"Line1", {424, 0, 1, 473}},       {"Text3", {8, 72, 409, 21}},
            {"Label3", {8, 96, 169, 17}},     {"Drive1", {8, 112, 209, 21}},     {"Dir1", {8, 136, 209, 321}},
            {"File1", {224, 96, 193, 370}},   {"Label99", {8, 456, 129, 17}},    {"Command4", {136, 456, 49, 13}},
            {"Label100", {432, 0, 169, 33}},  {"Option3", {448, 8, 49, 17}},     {"Option4", {528, 8, 65, 17}},
            {"Label132", {440, 64, 137, 49}}, {"Label133", {440, 112, 145, 49}}, {"Picture1", {432, 32, 169, 457}},
            {"Picture3", {432, 32, 169, 217}}};
        for (const auto& [name, place] : places)
            QVERIFY2(control(name)->geometry() == place, name);
        // Built with an int size, 8.25 points would come out as 8.
        QCOMPARE(std::pair(control("Command4")->font().pointSizeF(), control("Label99")->font().pointSizeF()),
                 std::pair(8.25, 6.75));

        // Every caption fits its control; the two small option buttons clip theirs away by design.
        for (const QWidget* widget : m_form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            const QFontMetrics metrics(widget->font());
            const QRect box = widget->rect();
            const char* name = qPrintable(widget->objectName());
            if (auto* label = qobject_cast<const QLabel*>(widget)) {
                QVERIFY2(box.contains(metrics.boundingRect(box, Qt::TextWordWrap, label->text())), name);
            } else if (auto* button = qobject_cast<const QPushButton*>(widget)) {
                QVERIFY2(metrics.horizontalAdvance(button->text()) + 4 <= box.width(), name);
            }
        }
        // No button looks like the window's default one, which Enter in a field would seem to press.
        for (QPushButton* button : m_form->findChildren<QPushButton*>()) {
            QWidget window;
            QPushButton plain(button->text(), &window);
            plain.setFont(button->font());
            plain.resize(button->size());
            QVERIFY2(button->grab().toImage() == plain.grab().toImage(), qPrintable(button->objectName()));
        }
        // The focus starts in the path; Tab goes round the shown controls in their table's order, and
        // a screen reader hears each one named: the entry box as the mode shows it, and the small
        // options, whose captions are clipped away, by what they do.
        QCOMPARE(QApplication::focusWidget(), control("Text3"));
        const auto tabRound = [](int steps) {
            QStringList order;
            for (int step = 0; step < steps; ++step) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                QWidget* focused = QApplication::focusWidget();
                // Within an editable combo box a screen reader is told that its field has the focus.
                auto* combo = qobject_cast<QComboBox*>(focused);
                QAccessibleInterface* heard = QAccessible::queryAccessibleInterface(combo && combo->isEditable() ? combo->lineEdit() : focused);
                // A drop-down list's name is its value; the label tied to it says what it is for.
                if (const auto labels = heard->relations(QAccessible::Label); !labels.isEmpty())
                    heard = labels.first().first;
                order << focused->objectName() + ": " + heard->text(QAccessible::Name);
            }
            return order;
        };
        const QStringList files{"Command1: Save", "Text3: Path of sof2mp.cfg", "File1: File", "Drive1: Choose the directory of sof2mp.cfg", "Dir1: Folder"};
        click("Option3");
        click("Option2");
        control("Combo1")->setFocus();
        QCOMPARE(tabRound(11), (QStringList{"Text1: Bind"} + files
                                + QStringList{"Picture1: Colour palette", "Combo2: Command", "Command4: Help?",
                                              "Option2: Bind", "Combo1: Key"}));
        click("Option4");
        click("Option1");
        QCOMPARE(tabRound(9), (QStringList{"Picture3: Symbol palette", "Text1: Name"} + files
                               + QStringList{"Command4: Help?", "Option1: Name"}));
    }

    void modes_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QStringList>("shownControls");
        QTest::addColumn<QString>("marked"); // the one option of the shared group that shows its mark

        const QStringList start{"Label130", "Label131"};
        const QStringList hints{"Label132", "Label133"};
        QTest::newRow("start") << QStringList{} << start + hints << "";
        QTest::newRow("the words beside the options") << QStringList{"Label95", "Label96"} << start + hints << "";
        QTest::newRow("name, bind") << QStringList{"Option1", "Option2"} << bindControls + hints << "Option2";
        QTest::newRow("bind, name") << QStringList{"Option2", "Option1"} << QStringList{"Text1", "Command1", "Label2"} + hints
                                    << "Option1";
        QTest::newRow("symbols, colours") << QStringList{"Option4", "Option3"} << start + QStringList{"Picture1"} << "Option3";
        QTest::newRow("colours, symbols") << QStringList{"Option3", "Option4"} << start + QStringList{"Picture3"} << "Option4";
        QTest::newRow("symbols, name, colours, bind")
            << QStringList{"Option4", "Option1", "Option3", "Option2"} << bindControls + QStringList{"Picture1"} << "Option2";
    }

    void modes()
    {
        QFETCH(QStringList, clicks);
        QFETCH(QStringList, shownControls);
        QFETCH(QString, marked);

        // What the player entered survives every switch, shown or hidden.
        control<QComboBox>("Combo1")->setCurrentIndex(8);
        control<QComboBox>("Combo2")->setEditText("Say_team");
        control<TextBox>("Text1")->setText("^1Hello");
        for (const QString& name : clicks)
            click(name);

        QStringList shown = bindControls + QStringList{"Label2", "Label130", "Label131", "Label132", "Label133", "Picture1", "Picture3"};
        shown.removeIf([this](const QString& name) { return control(name)->isHidden(); });
        QCOMPARE(shown, shownControls);
        for (const char* option : {"Option1", "Option2", "Option3", "Option4"})
            QCOMPARE(control<QRadioButton>(option)->isChecked(), marked == option);
        QCOMPARE(std::tuple(control<QComboBox>("Combo1")->currentText(), control<QComboBox>("Combo2")->currentText(),
                            control<TextBox>("Text1")->text()),
                 std::tuple(QStringLiteral("KP_UPARROW"), QStringLiteral("Say_team"), QStringLiteral("^1Hello")));
        // Right of its picture a shown panel is the dialog colour, even where the frame above it ends.
        const QImage window = m_form->grab().toImage();
        for (const auto* panel : m_form->findChildren<PictureBox*>()) {
            for (int x = panel->x() + panel->picture().width(); panel->isVisible() && x <= panel->geometry().right(); ++x)
                QCOMPARE(window.pixelColor(x, panel->y()), m_form->palette().color(QPalette::Window));
        }
    }

    void keysPressOnlyAFocusedButton_data()
    {
        QTest::addColumn<QString>("focused");
        QTest::addColumn<int>("key"); // 0 for a mouse click

        // Were Save the default button, each Enter in a field would add a line. Ctrl+Shift+C
        // only copies the line for the game's console, and asks nothing while the game runs.
        for (const char* name : {"Combo1", "Combo2", "Text1", "Text3"}) {
            for (const int key : {int(Qt::Key_Return), int(Qt::Key_Enter), int(Qt::Key_Escape), Copy})
                QTest::addRow("%s, key %x", name, key) << name << key;
        }
        for (const int key : {0, int(Qt::Key_Space), int(Qt::Key_Return), int(Qt::Key_Enter)})
            QTest::addRow("Help?, key %x", key) << "Command4" << key;
    }

    void keysPressOnlyAFocusedButton()
    {
        QFETCH(QString, focused);
        QFETCH(int, key);
        QVERIFY(writeFile(path("start/sof2mp.cfg"), "A\r\n"));
        const std::unique_ptr<QProcess> game = startGame();
        QVERIFY(game);
        click("Option2");
        control<QComboBox>("Combo1")->setEditText("KP_5");
        control<TextBox>("Text1")->setText("^1Go");
        control<TextBox>("Text3")->setText(path("start/sof2mp.cfg"));
        QGuiApplication::clipboard()->setText("before");
        QWidget* target = focused.startsWith("Combo") ? field(focused) : control(focused);
        target->setFocus(Qt::TabFocusReason);

        const QList<ShownMessage> messages = messagesShownBy([&] {
            if (key == 0)
                click(focused);
            else
                QTest::keyClick(target, Qt::Key(key & ~Qt::KeyboardModifierMask),
                                Qt::KeyboardModifiers(key & Qt::KeyboardModifierMask) | (key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier));
        });
        QCOMPARE(QGuiApplication::clipboard()->text(), key == Copy ? "bind KP_5 Say \"^1Go\"" : "before");
        if (focused == "Command4") {
            QCOMPARE(messages.size(), 1);
            QCOMPARE(std::tuple(messages[0].text, messages[0].title, messages[0].icon, messages[0].buttons),
                     std::tuple(helpText(), QStringLiteral("Help"), QMessageBox::Information, QMessageBox::Ok));
        } else {
            QCOMPARE(messages.size(), 0);
        }
        QCOMPARE(readFile(path("start/sof2mp.cfg")), QByteArray("A\r\n"));
    }

    void copyForTheConsole()
    {
        // Before a mode is chosen there is no line to copy; then the entry box's menu copies a name.
        auto* text1 = control<TextBox>("Text1");
        text1->setText("^1Go");
        QGuiApplication::clipboard()->setText("before");
        QTest::keyClick(control("Text3"), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), "before");
        click("Option1");
        QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, text1->rect().center(), text1->mapToGlobal(text1->rect().center()));
        QApplication::sendEvent(text1, &menuKey);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        const auto items = menu->actions();
        const auto copy = std::ranges::find(items, QStringLiteral("Copy as console command"), &QAction::text);
        QVERIFY(copy != items.end());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(*copy).center());
        QCOMPARE(QGuiApplication::clipboard()->text(), "seta name \"^1Go\"");
    }

    void combosKeepWhatIsTyped()
    {
        auto* combo1 = control<QComboBox>("Combo1");
        auto* combo2 = control<QComboBox>("Combo2");
        QCOMPARE(items(combo1->model()), (QStringList{"KP_INS", "KP_END", "KP_DOWNARROW", "KP_PGDN", "KP_LEFTARROW", "KP_5",
                                                      "KP_RIGHTARROW", "KP_HOME", "KP_UPARROW", "KP_PGUP"}));
        QCOMPARE(items(combo2->model()), (QStringList{"Say", "Say_team"}));
        QCOMPARE(std::pair(combo1->currentIndex(), combo1->currentText()), std::pair(-1, QString()));
        QCOMPARE(std::pair(combo2->currentIndex(), combo2->currentText()), std::pair(-1, QStringLiteral("Say")));

        // A box left after a choice from its narrow list shows the start of it ("KP_UPARROW", not "_UPARROW").
        click("Option2");
        combo1->setFocus();
        combo1->showPopup();
        QAbstractItemView* list = combo1->view();
        QVERIFY(QTest::qWaitForWindowExposed(list->window()));
        QVERIFY(list->viewport()->width() >= list->sizeHintForColumn(0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(8, 0)).center());
        QTRY_VERIFY(!list->window()->isVisible());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(std::pair(combo1->currentText(), combo1->lineEdit()->cursorPosition()), std::pair(QStringLiteral("KP_UPARROW"), 0));
        // A typed command is used as typed: never completed from the list, never added to it.
        combo2->setFocus();
        combo2->lineEdit()->selectAll();
        QTest::keyClicks(combo2->lineEdit(), "Sa");
        QTest::keyClick(combo2->lineEdit(), Qt::Key_Return);
        QCOMPARE(std::pair(combo2->currentText(), combo2->count()), std::pair(QStringLiteral("Sa"), 2));
    }

    void fieldsTakeTextOnOneLine_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("inserted"); // into "xy", between the two
        QTest::addColumn<QString>("result");

        const QString breaks = QStringLiteral("a\r\nb\nc\r");
        for (const char* name : {"Text1", "Text3", "Combo1", "Combo2"})
            QTest::addRow("%s, pasted", name) << name << "paste" << breaks << "xa  b c y";
        QTest::newRow("Text1, inserted") << "Text1" << "insert" << breaks << "xa  b c y";
        // What a palette cell inserts passes as it is, symbols and tab included, and each symbol shows.
        QTest::newRow("Text1, palette cells") << "Text1" << "insert" << QStringLiteral("^1\x1c\t") << "x^1\x1c\ty";
        // Pasted at length: the caret, moved from the far end, finds its symbol shown.
        const QString longText = QStringLiteral("\x1c") + QString(5000, u'b');
        QTest::newRow("Text1, pasted at length") << "Text1" << "paste" << longText << "x" + longText + "y";
        QTest::newRow("Combo2, pasted symbol") << "Combo2" << "paste" << QStringLiteral("\x04") << "x\x04y";
        QTest::newRow("Text1, pasted NUL") << "Text1" << "paste" << QStringLiteral("n") + QChar(0) + QStringLiteral("m") << "xnmy";
    }

    void fieldsTakeTextOnOneLine()
    {
        QFETCH(QString, name);
        QFETCH(QString, how);
        QFETCH(QString, inserted);
        QFETCH(QString, result);

        click("Option2");
        QLineEdit* edit = field(name);
        edit->setText(QStringLiteral("xy"));
        edit->setFocus();
        edit->setCursorPosition(1);
        if (how == "paste") {
            QGuiApplication::clipboard()->setText(inserted);
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        } else {
            control<TextBox>(name)->setSelText(inserted);
        }
        QCOMPARE(edit->text(), result);
        // The caret stands after what came in, as if it had been typed.
        QCOMPARE(edit->cursorPosition(), result.size() - 1);

        // A symbol takes room for its picture, where QLineEdit alone gives a space's width, and shows ink in it.
        const qsizetype at = std::ranges::find_if(result, [](QChar c) { return c < u' ' && c != u'\t'; }) - result.begin();
        if (at == result.size())
            return;
        const int left = caretX(edit, at) + 1;
        const QImage drawn = edit->grab().toImage().copy(left, 3, caretX(edit, at + 1) - left, edit->height() - 6);
        QVERIFY2(drawn.width() >= 6, qPrintable(QString::number(drawn.width())));
        int ink = 0;
        for (int y = 0; y < drawn.height(); ++y) {
            for (int x = 0; x < drawn.width(); ++x)
                ink += qGray(drawn.pixel(x, y)) < qGray(edit->palette().color(QPalette::Base).rgb()) - 64;
        }
        QVERIFY2(ink >= 10, "nothing to see where the symbol stands");
    }

    void preview()
    {
        // The tooltip reads the text as the mode makes it (a name here), draws only its start
        // however long it is, says its whole length and what would spoil the line.
        click("Option1");
        auto* text1 = control<TextBox>("Text1");
        const QString text = QStringLiteral("^1;") + QString(1'000'000, QChar(0x06));
        text1->setText(text);
        QHelpEvent hover(QEvent::ToolTip, text1->rect().center(), text1->mapToGlobal(text1->rect().center()));
        QApplication::sendEvent(text1, &hover);
        QTRY_VERIFY(QToolTip::isVisible());
        for (const char* part : {"Name: 1,000,003 of 35 bytes (the picture shows the first 300)", "Too long", "semicolon"})
            QVERIFY2(QToolTip::text().contains(QLatin1String(part)), part);
        QCOMPARE(text1->text(), text);
        static const QRegularExpression dataUrl(QStringLiteral("data:image/png;base64,([A-Za-z0-9+/=]+)"));
        const QImage picture = QImage::fromData(QByteArray::fromBase64(dataUrl.match(QToolTip::text()).captured(1).toLatin1()), "PNG");
        QCOMPARE(picture, gameTextPicture(gameTextRuns(text, EntryTextPreviewCharacters)).convertToFormat(picture.format()));
        QToolTip::hideText();

        // Left alone with the focus, so long a text is not painted again with every blink of the
        // caret, which would take a core's quarter; a short one blinks as ever.
        for (const auto& [field, blinks] : {std::pair{text1, false}, std::pair{control<TextBox>("Text3"), true}}) {
            field->setFocus();
            QTest::qWait(100);
            const PaintCounter counter(field);
            QTest::qWait(1100);
            QVERIFY2((counter.paints > 0) == blinks, qPrintable(field->objectName()));
        }
    }

    void typingPreview_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("before"); // in the entry box before it takes the focus
        QTest::addColumn<QString>("typed"); // then typed into it, Esc and Tab as \x1b and \t
        QTest::addColumn<bool>("atScreenFoot"); // the window at the bottom of the screen
        QTest::addColumn<QString>("note"); // a line of the preview beside the box; none: no preview

        QTest::newRow("plain letters") << "Option1" << "" << "Neo" << false << "";
        QTest::newRow("a colour code") << "Option1" << "" << "^4Neo" << false << "Name: 5 of 35 bytes";
        QTest::newRow("a caret that is no code") << "Option2" << "" << "a^ b" << false << "";
        QTest::newRow("a symbol already there") << "Option2" << "\x1c" << "" << false << "Chat message: 1 of 150 characters";
        QTest::newRow("too long a name") << "Option1" << "" << QString(36, u'a') << false
                                         << "Too long: the game takes a name of at most 35 bytes.";
        QTest::newRow("a quote") << "Option2" << "" << "a\"" << false << "Holds a double quote: the game cannot read the line.";
        QTest::newRow("Esc puts it away") << "Option1" << "" << "^1a\x1b" << false << "";
        QTest::newRow("until the next key") << "Option1" << "" << "^1a\x1b" "b" << false << "Name: 4 of 35 bytes";
        QTest::newRow("the focus leaves") << "Option1" << "" << "^1a\t" << false << "";
        QTest::newRow("at the foot of the screen") << "Option2" << "^1" << "" << true << "Chat message: 2 of 150 characters";
    }

    void typingPreview()
    {
        QFETCH(QString, mode);
        QFETCH(QString, before);
        QFETCH(QString, typed);
        QFETCH(bool, atScreenFoot);
        QFETCH(QString, note);

        click(mode);
        if (atScreenFoot)
            m_form->move(m_form->x(), m_form->screen()->availableGeometry().bottom() - 80);
        auto* text1 = control<TextBox>("Text1");
        text1->setText(before);
        text1->setFocus();
        QTest::keyClicks(text1, typed);
        auto* beside = text1->findChild<PicturePopup*>("EntryTextPreview");
        QCOMPARE(beside && beside->isVisible(), !note.isEmpty());
        if (note.isEmpty())
            return;
        // It shows the text as typed so far, next to the box and never over it.
        QVERIFY2(beside->notes().contains(note), qPrintable(beside->notes().join(" | ")));
        QCOMPARE(beside->picture(), gameTextPicture(gameTextRuns(text1->text(), EntryTextPreviewCharacters)));
        QVERIFY(!beside->geometry().intersects(QRect(text1->mapToGlobal(QPoint(0, 0)), text1->size())));
        QVERIFY(m_form->screen()->availableGeometry().contains(beside->geometry()));
        // It lies over other controls, and goes at a click as a tooltip does.
        QTest::mouseClick(beside, Qt::LeftButton);
        QVERIFY(!beside->isVisible());
    }

    void paletteLayout_data()
    {
        QTest::addColumn<QString>("panel");
        QTest::addColumn<QList<int>>("rowEnds"); // right edge of each row, in pixels

        QTest::newRow("colours") << "Picture1" << QList<int>(18, 169);
        QTest::newRow("symbols") << "Picture3" << QList<int>{169, 169, 121, 121, 121, 121, 121, 121, 121};
    }

    void paletteLayout()
    {
        // Rows 24 pixels apart start at the panel's left edge; neighbours share a
        // strip one pixel wide, or nine where two wide cells meet.
        QFETCH(QString, panel);
        QFETCH(QList<int>, rowEnds);
        control(panel)->show(); // a panel's cells are laid over it when it first shows
        QList<PaletteCell*> cells = control(panel)->findChildren<PaletteCell*>();
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

    // Clicked through the window, so that each click lands on whatever lies
    // under the pointer: edges, seams and gestures that the walk under X,
    // which clicks every cell's middle, does not try.
    void paletteClick_data()
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
        QTest::newRow("over a selection made backwards") << "Option3" << "Hello" << 4 << 2 << Qt::LeftButton << one << one << "He^1o";
        const QString tooLongForQt(40000, u'x');
        QTest::newRow("no length limit") << "Option3" << tooLongForQt << 40000 << 40000 << Qt::LeftButton << one << one
                                         << tooLongForQt + "^1";
    }

    void paletteClick()
    {
        QFETCH(QString, option);
        QFETCH(QString, text);
        QFETCH(int, anchor);
        QFETCH(int, caret);
        QFETCH(Qt::MouseButton, button);
        QFETCH(QPoint, press);
        QFETCH(QPoint, release);
        QFETCH(QString, result);

        TextBox* text1 = textWaiting(option, text, anchor, caret);
        QCOMPARE(std::pair(text1->cursorPosition(), text1->selectionStart()), std::pair(caret, anchor == caret ? -1 : qMin(anchor, caret)));
        QWidget* focused = QApplication::focusWidget();
        const QWidget* panel = control(option == "Option3" ? "Picture1" : "Picture3");
        QWindow* window = m_form->windowHandle();
        if (release.isNull()) {
            QTest::mouseDClick(window, button, {}, panel->mapTo(m_form.get(), press));
        } else {
            QTest::mousePress(window, button, {}, panel->mapTo(m_form.get(), press));
            QTest::mouseMove(window, panel->mapTo(m_form.get(), release));
            QTest::mouseRelease(window, button, {}, panel->mapTo(m_form.get(), release));
        }
        QVERIFY2(text1->text() == result, qPrintable(text1->text().left(80).toUtf8().toHex())); // not all 40000 characters
        // The caret stands right after what the click inserted, and the focus stays where it was.
        QCOMPARE(text1->cursorPosition(), result.size() - (text.size() - qMax(anchor, caret)));
        QCOMPARE(QApplication::focusWidget(), focused);
    }

    void paletteKeys_data()
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

    void paletteKeys()
    {
        QFETCH(QString, option);
        QFETCH(QString, keys);
        QFETCH(QString, marked);
        QFETCH(QString, heard);
        QFETCH(QString, result);

        TextBox* text1 = textWaiting(option, QStringLiteral("Hello"), 2, 4);
        auto* panel = control(option == "Option3" ? "Picture1" : "Picture3");
        panel->setFocus(Qt::TabFocusReason);
        const QHash<QChar, std::pair<Qt::Key, Qt::KeyboardModifiers>> named{
            {u'L', {Qt::Key_Left, {}}},   {u'R', {Qt::Key_Right, {}}},  {u'U', {Qt::Key_Up, {}}},
            {u'D', {Qt::Key_Down, {}}},   {u' ', {Qt::Key_Space, {}}},  {u'\r', {Qt::Key_Return, {}}},
            {u'E', {Qt::Key_Enter, Qt::KeypadModifier}}};
        for (QChar key : keys)
            QTest::keyClick(panel, named[key].first, named[key].second);

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

    void browsing()
    {
        auto* drive1 = control<DriveListBox>("Drive1");
        auto* dir1 = control<DirListBox>("Dir1");
        auto* file1 = control<FileListBox>("File1");
        auto* text3 = control<TextBox>("Text3");
        // All three start in the current folder, and the path keeps its default.
        QCOMPARE(std::tuple(drive1->driveFolder(), file1->path(), text3->text()),
                 std::tuple(path("start"), path("start"), defaultConfigPath()));
        // Files and sub-folders sorted without regard to case, hidden ones left out, under the way down from the root.
        QCOMPARE(items(file1->model()), (QStringList{"a.cfg", "readme.txt", "sof2mp.cfg", "Zed.cfg"}));
        QStringList rows;
        for (int row = 0; row < dir1->count(); ++row)
            rows << dir1->item(row)->text();
        QCOMPARE(rows, (QStringList{"/"} + path("start").split('/', Qt::SkipEmptyParts) + QStringList{"Alpha", "base", "Zulu"}));
        const auto depth = [](const QListWidgetItem* item) { return item->data(DirListBox::DepthRole).toInt(); };
        QCOMPARE(std::pair(depth(dir1->item(1)), depth(folderItem("Alpha"))), std::pair(1, depth(dir1->currentItem()) + 1));
        // The open folder and its ancestors look open, the others closed.
        QCOMPARE(dir1->item(0)->icon().cacheKey(), dir1->currentItem()->icon().cacheKey());
        QVERIFY(folderItem("Alpha")->icon().cacheKey() != dir1->currentItem()->icon().cacheKey());

        // A selected file replaces a typed path, shows where it starts, and comes back after an edit.
        text3->setText("/typed.cfg");
        file1->setFocus(Qt::TabFocusReason);
        QCOMPARE(text3->text(), "/typed.cfg");
        QTest::keyClick(file1, Qt::Key_End);
        QCOMPARE(std::pair(text3->text(), text3->cursorPosition()), std::pair(path("start/Zed.cfg"), 0));
        text3->setText(text3->text() + "~");
        clickFile("Zed.cfg");
        QCOMPARE(text3->text(), path("start/Zed.cfg"));
        clickFile("readme.txt");

        // A click or an arrow key only selects a folder; Enter or a double click opens it.
        QTest::mouseClick(dir1->viewport(), Qt::LeftButton, {}, dir1->visualItemRect(folderItem("Alpha")).center());
        QTest::keyClick(dir1, Qt::Key_Down);
        QCOMPARE(std::pair(file1->path(), file1->fileName()), std::pair(path("start"), QStringLiteral("readme.txt")));
        QTest::keyClick(dir1, Qt::Key_Return);
        QCOMPARE(std::pair(file1->path(), file1->fileName()), std::pair(path("start/base"), QString()));
        openFolder("mp");
        QCOMPARE(file1->path(), path("start/base/mp"));

        // A Wine drive's tree starts at its root, named as in Windows, and goes no higher.
        const QString startDrive = drive1->drive();
        chooseDrive("D:");
        QCOMPARE(std::tuple(drive1->drive(), file1->path(), dir1->item(0)->text()), std::tuple(QStringLiteral("D:"), path("drive_d"), QStringLiteral("D:\\")));
        openFolder("games");
        openFolder("D:\\");
        QCOMPARE(std::pair(dir1->path(), drive1->drive()), std::pair(path("drive_d"), QStringLiteral("D:")));
        // Each drive keeps the folder it was left in; choosing the chosen one again reads it afresh.
        openFolder("games");
        chooseDrive("E:");
        QCOMPARE(dir1->path(), path("drive_e"));
        chooseDrive("D:");
        QVERIFY(QDir(path("drive_d/games")).mkdir("later"));
        chooseDrive("D:");
        QCOMPARE(std::pair(file1->path(), folderItem("later") != nullptr), std::pair(path("drive_d/games"), true));
        chooseDrive(startDrive);
        QCOMPARE(std::pair(dir1->path(), text3->text()), std::pair(path("start/base/mp"), path("start/readme.txt")));
    }

    void driveOrFolderThatCannotBeRead_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("gone"); // removed, else shut to everyone

        QTest::newRow("a Wine drive shut") << "drive_e" << false;
        QTest::newRow("a Wine drive gone") << "drive_e" << true;
        QTest::newRow("a folder shut") << "start/Alpha" << false;
        QTest::newRow("a folder gone") << "start/Alpha" << true;
    }

    void driveOrFolderThatCannotBeRead()
    {
        QFETCH(QString, folder);
        QFETCH(bool, gone);

        const WithoutRootsReach asAnyone;
        auto* drive1 = control<DriveListBox>("Drive1");
        const bool drive = folder.startsWith("drive");
        if (drive)
            chooseDrive("D:");
        const QString shown = control<FileListBox>("File1")->path();
        QVERIFY(gone ? QDir(path(folder)).removeRecursively() : QFile::setPermissions(path(folder), {}));
        const QList<ShownMessage> messages = messagesShownBy([&] {
            if (drive)
                QTest::keyClick(drive1, Qt::Key_Down); // from D: to E:
            else
                openFolder("Alpha");
        });
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, QString("Could not open the folder \"%1\": %2.")
                                       .arg(path(folder), gone ? "it does not exist" : "you have no permission to read it"));
        // The lists stay where they were; the drive list stays on a drive
        // that is there, so that the next arrow moves on; what is gone goes.
        QCOMPARE(control<FileListBox>("File1")->path(), shown);
        if (drive)
            QCOMPARE(std::pair(drive1->drive(), drive1->findText("E:", Qt::MatchStartsWith) >= 0),
                     std::pair(QString(gone ? "D:" : "E:"), !gone));
        else
            QCOMPARE(folderItem("Alpha") != nullptr, !gone);
    }

    // What a share whose server stopped answering may hold up: the window,
    // the drive list, the search, and the end of the process.
    void stalledShare()
    {
        const QString share = qEnvironmentVariable("VELTRANE_STALLED_SHARE", path("stalled"));
        QVERIFY(QDir(m_root).mkpath(".local/share/Steam/steamapps")
                && writeFile(path(".local/share/Steam/steamapps/libraryfolders.vdf"), "\"path\" \"" + share.toUtf8() + "\""));
        if (share != path("stalled")) {
            // Run by this test as a process of its own: the window is closed
            // while its search waits on the share.
            m_form->findGameDrives();
            QTest::qWait(200);
            return m_form.reset();
        }
        StalledShare stalled(share);
        if (!stalled.isMounted())
            QSKIP("Mounting a share that does not answer takes root, /dev/fuse and a mount namespace of the test's own");
        QVERIFY(QFile::link(share, path("wine/dosdevices/f:")));
        QElapsedTimer clock;
        clock.start();
        open();
        QVERIFY2(clock.elapsed() < 2000, "the window waited for the share");
        auto* drive1 = control<DriveListBox>("Drive1");
        QVERIFY(drive1->findText(share) >= 0 && drive1->findText("F: [" + share + "]") >= 0);
        const QList<ShownMessage> messages = messagesShownBy([&] { chooseDrive(share); });
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, "Could not open the folder \"" + share + "\": it does not answer.");

        QProcess closed;
        qputenv("VELTRANE_STALLED_SHARE", QFile::encodeName(share));
        closed.start(QCoreApplication::applicationFilePath(), {"stalledShare"});
        qunsetenv("VELTRANE_STALLED_SHARE");
        QVERIFY2(closed.waitForFinished(4000), "the process outlived its window");
        QCOMPARE(std::pair(closed.exitStatus(), closed.exitCode()), std::pair(QProcess::NormalExit, 0));
        // Here too the search waits on the share; the window goes on answering.
        m_form->findGameDrives();
        click("Option1");
        QVERIFY(control("Text1")->isVisible() && !stalled.timedOut());
    }

    void saveWaitsForTheSearch()
    {
        // Pressed before the copies of the game are known, Save waits for
        // them without holding up the window, then writes the copy played
        // last, once however often it was pressed; the path box says where.
        const QString game = ".local/share/Steam/steamapps/compatdata/2620/pfx/drive_c/Program Files/SoF2/base/mp";
        QVERIFY(QDir(m_root).mkpath(game) && writeFile(path(game + "/sof2mp.cfg"), "A\r\n"));
        auto* text3 = control<TextBox>("Text3");
        QVERIFY(text3->toolTip().startsWith("Saves to the copy of the game played last, once"));
        click("Option1");
        control<TextBox>("Text1")->setText("B");
        QSignalSpy found(m_form.get(), &Form1::gameCopiesFound);
        QSignalSpy saved(m_form.get(), &Form1::saveFinished);
        QCOMPARE(messagesShownBy([this] { click("Command1"); click("Command1"); }).size(), 0);
        QCOMPARE(readFile(path(game + "/sof2mp.cfg")), QByteArray("A\r\n"));
        QVERIFY((found.count() || found.wait()) && (saved.count() || saved.wait()));
        QCOMPARE(readFile(path(game + "/sof2mp.cfg")), QByteArray("A\r\n\r\nseta name \"B\"\r\n"));
        const QString played = "Saves to " + path(game + "/sof2mp.cfg") + " \u2014 the copy played last (Proton)";
        QCOMPARE(std::pair(text3->toolTip(), text3->accessibleDescription()), std::pair(played, played));
        // The tip follows the box, and a path pasted from a terminal loses its line break.
        text3->selectAll();
        QGuiApplication::clipboard()->setText("~/mine.cfg\n");
        QTest::keyClick(text3, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(std::pair(text3->text(), text3->toolTip()), std::pair(QStringLiteral("~/mine.cfg"), "Saves to " + path("mine.cfg")));
    }

    void save_data()
    {
        QTest::addColumn<Target>("target");
        QTest::addColumn<QStringList>("games"); // each newer than the one before
        QTest::addColumn<int>("savedTo"); // the game whose config gets the line
        QTest::addColumn<QString>("message");

        const QString wine = "wine/drive_c/Program Files/Soldier of Fortune II - Double Helix/base/mp";
        const QString proton = ".local/share/Steam/steamapps/compatdata/2620/pfx/drive_c/Program Files/SoF2/base/mp";
        QTest::newRow("Wine, the default path in capitals") << Target::DefaultPathInCapitals << QStringList{wine} << 0 << "";
        QTest::newRow("Proton only") << Target::DefaultPath << QStringList{proton} << 0 << "";
        // The default path means the copy played last, its own in the Wine prefix included.
        QTest::newRow("default path, Proton's played last") << Target::DefaultPath << QStringList{wine, proton} << 1 << "";
        QTest::newRow("default path, Wine's played last") << Target::DefaultPath << QStringList{proton, wine} << 1 << "";
        QTest::newRow("default path, no game") << Target::DefaultPath << QStringList{} << -1 << "No such directory!";
        QTest::newRow("a path from the home folder, ~/") << Target::HomeFolder << QStringList{} << -1 << "";
        QTest::newRow("missing folder") << Target::MissingFolder << QStringList{} << -1 << "No such directory!";
        QTest::newRow("missing file") << Target::MissingFile << QStringList{} << -1 << "53, File not found";
        QTest::newRow("path names a folder") << Target::Folder << QStringList{} << -1 << "75, Path/File access error";
        QTest::newRow("empty path") << Target::EmptyPath << QStringList{} << -1 << "52, Bad file name or number";
        QTest::newRow("FIFO") << Target::Fifo << QStringList{} << -1 << "75, Path/File access error";
        // The player is asked first, and the answer preferred, No, writes nothing.
        QTest::newRow("game running") << Target::GameRunning << QStringList{} << -1
                                      << "Soldier of Fortune II is running. It rewrites sof2mp.cfg when it quits, which "
                                         "would remove this line. Save anyway?";
        // The game leaves a file of the player's own alone: no question.
        QTest::newRow("game running, another file") << Target::GameRunningOwnFile << QStringList{} << -1 << "";
    }

    void save()
    {
        QFETCH(Target, target);
        QFETCH(QStringList, games);
        QFETCH(int, savedTo);
        QFETCH(QString, message);

        QDateTime changed = QDateTime::currentDateTime().addDays(-1);
        for (const QString& game : games) {
            QFile file(path(game + "/sof2mp.cfg"));
            QVERIFY(QDir(m_root).mkpath(game) && file.open(QIODevice::WriteOnly) && file.write("A\r\n") == 3 && file.flush());
            QVERIFY(file.setFileTime(changed = changed.addSecs(60), QFileDevice::FileModificationTime));
        }
        // Once the window is up, each copy of the game joins the drive list; the drive shown stays.
        auto* drive1 = control<DriveListBox>("Drive1");
        const QString startDrive = drive1->drive();
        QSignalSpy found(m_form.get(), &Form1::gameCopiesFound);
        m_form->findGameDrives();
        QVERIFY(found.wait());
        for (const QString& game : games)
            QVERIFY(drive1->findText(QStringLiteral("SoF2 (%1): [%2]").arg(game.startsWith("wine") ? "Wine" : "Proton", path(game))) >= 0);
        QCOMPARE(drive1->drive(), startDrive);
        if (!games.isEmpty()) {
            // The copy's drive opens its folder, named by its whole path in a list that never scrolls sideways.
            chooseDrive("SoF2 (");
            auto* dir1 = control<DirListBox>("Dir1");
            QApplication::processEvents();
            QCOMPARE(std::pair(dir1->count(), dir1->horizontalScrollBar()->maximum()), std::pair(1, 0));
            QVERIFY(games.contains(QDir(m_root).relativeFilePath(dir1->item(0)->text())));
        }
        const QDir folder(path("drive_e"));
        const QString config = savedTo >= 0                          ? path(games[savedTo] + "/sof2mp.cfg")
                               : target == Target::GameRunningOwnFile ? folder.filePath("autoexec.cfg")
                                                                      : folder.filePath("sof2mp.cfg");
        const QByteArray encoded = QFile::encodeName(config);
        QString typed = config;
        std::unique_ptr<QProcess> game;
        switch (target) {
        case Target::DefaultPath: typed = defaultConfigPath(); break;
        case Target::DefaultPathInCapitals: typed = defaultConfigPath().toUpper(); break;
        case Target::HomeFolder: QVERIFY(writeFile(config, "A\r\n")); typed = "~/drive_e/sof2mp.cfg"; break;
        case Target::MissingFolder: typed = folder.filePath("missing/sof2mp.cfg"); break;
        case Target::MissingFile: break;
        case Target::Folder: typed = folder.path(); break;
        case Target::EmptyPath: typed.clear(); break;
        case Target::Fifo: QCOMPARE(::mkfifo(encoded.constData(), 0644), 0); break;
        case Target::GameRunning:
        case Target::GameRunningOwnFile:
            QVERIFY(writeFile(config, "A\r\n") && (game = startGame()));
            break;
        }
        const QByteArray before = readFile(config);
        const QStringList entriesBefore = folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System);

        click("Option1");
        control<TextBox>("Text1")->setText("B");
        control<TextBox>("Text3")->setText(typed);
        const QList<ShownMessage> messages = messagesShownBy([this] { pressSave(); });
        // The player's text and path stay, ready for the next save.
        QCOMPARE(std::pair(control<TextBox>("Text1")->text(), control<TextBox>("Text3")->text()), std::pair(QStringLiteral("B"), typed));
        if (message.isEmpty()) {
            QCOMPARE(messages.size(), 0);
            QCOMPARE(readFile(config), QByteArray("A\r\n\r\nseta name \"B\"\r\n"));
            return;
        }
        QCOMPARE(messages.size(), 1);
        QCOMPARE(std::pair(messages[0].text, messages[0].title), std::pair(message, QStringLiteral("Veltrane")));
        if (target == Target::GameRunning)
            QCOMPARE(std::pair(messages[0].buttons, messages[0].defaultButton), std::pair(QMessageBox::Yes | QMessageBox::No, QMessageBox::No));
        else
            QCOMPARE(std::pair(messages[0].buttons, messages[0].icon), std::pair(QMessageBox::StandardButtons(QMessageBox::Ok), QMessageBox::NoIcon));
        QCOMPARE(readFile(config), before);
        QCOMPARE(folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System), entriesBefore);
    }

private:
    void open()
    {
        m_form = std::make_unique<Form1>(QDir::currentPath(), DriveCatalog::fromSystem());
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        QApplication::setActiveWindow(m_form.get());
    }

    // Presses Save and waits for the save to end: the file is written on a
    // thread of its own.
    void pressSave()
    {
        QSignalSpy finished(m_form.get(), &Form1::saveFinished);
        click("Command1");
        QVERIFY(finished.count() || finished.wait());
    }

    template<class T = QWidget>
    T* control(const QString& name) const
    {
        auto* widget = m_form->findChild<T*>(name);
        Q_ASSERT(widget);
        return widget;
    }
    // The line edit of a text box, or of a combo box.
    QLineEdit* field(const QString& name) const
    {
        auto* combo = m_form->findChild<QComboBox*>(name);
        return combo ? combo->lineEdit() : control<QLineEdit>(name);
    }
    // Through the window, so that whatever lies on top at the control's centre gets the click.
    void click(const QString& name)
    {
        QTest::mouseClick(m_form->windowHandle(), Qt::LeftButton, {}, control(name)->geometry().center());
    }
    QString path(const QString& relative) const { return m_root + "/" + relative; }
    // The option's panel shown, and Text1 holding `text` selected from `anchor`
    // to the caret, kept both ways round while the focus goes in and out by Tab.
    TextBox* textWaiting(const QString& option, const QString& text, int anchor, int caret)
    {
        click("Option1");
        click(option);
        auto* text1 = control<TextBox>("Text1");
        text1->setFocus();
        text1->setText(text);
        text1->setSelection(anchor, caret - anchor);
        for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Tab})
            QTest::keyClick(QApplication::focusWidget(), key);
        return text1;
    }
    // A process the save takes for the running game.
    std::unique_ptr<QProcess> startGame() const
    {
        auto game = std::make_unique<QProcess>();
        QFile::copy(QStandardPaths::findExecutable("sleep"), path("SoF2MP.exe"));
        game->start(path("SoF2MP.exe"), {"30"});
        return game->waitForStarted() ? std::move(game) : nullptr;
    }
    QListWidgetItem* folderItem(const QString& caption) const
    {
        const auto found = control<DirListBox>("Dir1")->findItems(caption, Qt::MatchExactly);
        return found.isEmpty() ? nullptr : found.first();
    }
    void clickFile(const QString& name)
    {
        auto* file1 = control<FileListBox>("File1");
        const QModelIndexList found = file1->model()->match(file1->model()->index(0, 0), Qt::DisplayRole, name);
        QVERIFY2(!found.isEmpty(), qPrintable(name));
        QTest::mouseClick(file1->viewport(), Qt::LeftButton, {}, file1->visualRect(found.first()).center());
    }

    void openFolder(const QString& caption)
    {
        auto* dir1 = control<DirListBox>("Dir1");
        QListWidgetItem* item = folderItem(caption);
        QVERIFY2(item, qPrintable(caption));
        dir1->scrollToItem(item);
        QTest::mouseDClick(dir1->viewport(), Qt::LeftButton, {}, dir1->visualItemRect(item).center());
    }

    void chooseDrive(const QString& designation)
    {
        // What a click in the dropped-down list does.
        auto* drive1 = control<DriveListBox>("Drive1");
        const int index = drive1->findText(designation, Qt::MatchStartsWith);
        QVERIFY2(index >= 0, qPrintable(designation));
        drive1->setCurrentIndex(index);
        emit drive1->activated(index);
    }

    QString m_startFolder;
    QByteArray m_home = qgetenv("HOME");
    std::unique_ptr<QTemporaryDir> m_tree;
    QString m_root;
    std::unique_ptr<Form1> m_form;
};

QTEST_MAIN(TestForm1)
#include "TestForm1.moc"
