// The whole program as a player meets it: the real executable on a private X
// server, driven only by real clicks and key strokes, in a home of its own that
// holds the game under Proton only. The steps depend on each other the way a
// player's do. It walks once at the normal size and once at twice it (as on a
// high-density screen), where the X server sees device pixels and every point
// a player aims at doubles. And under a desktop's theme the window shows the
// very pixels of a plain start: its layout is fixed, so a theme's font would
// clip its captions.
#include "FileContent.h"
#include "app/FormDefinition.h"
#include "palette/ColourCells.h"
#include "palette/ColourPalettePicture.h"
#include "palette/SymbolCells.h"
#include "palette/SymbolPalettePicture.h"
#include "xserver/XvfbSession.h"

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QLibraryInfo>
#include <QPalette>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <optional>
#include <utility>

namespace {

// A config as the game leaves it: CR LF line ends and one byte beyond ASCII
// (é in the Windows code page), which must come back as it was.
const QByteArray OriginalConfig = "seta name \"Caf\xe9\"\r\nbind KP_5 \"say_team hold\"\r\n";
const QString ProtonGame = QStringLiteral("home/.local/share/Steam/steamapps/compatdata/2620/pfx/drive_c/Program Files (x86)/SoF2/base/mp");

// What clicking every cell of both palettes, row by row and left to right,
// puts into the text; written out apart from the palettes' own tables.
QByteArray everyCellInOrder()
{
    QByteArray codes;
    for (char c : QByteArray("0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ!#$%&()*+-,.\\/<>[]{}:=?@_'|~"))
        codes += QByteArray("^") + c;
    return codes + "\x1C\x16\x1B\x0E\x11\x17\x07\x0F\x1D\x02\x05\x12\x18\x10\x1E\x19\x06\x13\x03\x01\x1F\x08\x04\x14\x0E\x0B"
                   "\x15\x09\x0C";
}

QByteArray bytesAfterChange(const QString& path, const QByteArray& before)
{
    (void)QTest::qWaitFor([&] { return readFile(path) != before; }, 30000);
    // The rewrite may still be under way when the first bytes change.
    QTest::qWait(200);
    return readFile(path);
}

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void walk_data()
    {
        QTest::addColumn<int>("scale");
        QTest::newRow("normal size") << 1;
        QTest::newRow("twice the size") << 2;
    }

    void walk()
    {
        QFETCH(int, scale);
        startProgram(scale);
        if (QTest::currentTestFailed())
            return;
        const QString work = m_root.filePath(QStringLiteral("work/sof2mp.cfg"));

        // A name saved with the path left as it starts goes to the game's copy under Proton.
        click("Option1");
        click("Text1");
        keys({}, QStringLiteral("Neo"));
        click("Command1");
        QCOMPARE(bytesAfterChange(m_root.filePath(ProtonGame + "/sof2mp.cfg"), OriginalConfig),
                 OriginalConfig + "\r\nseta name \"Neo\"\r\n");

        // The key is picked from the drop-down by its arrow; Enter picks it, and
        // Enter in a field presses no button.
        click("Option2");
        const QSize combo = findControl(u"Combo1")->pixelRect().size();
        click("Combo1", {QPoint(combo.width() - 8, combo.height() / 2)});
        keys({"End", "Up", "Return", "Return"});
        click("Text1");
        keys({"ctrl+a"}, QStringLiteral("Go "));
        keys({"Return", "KP_Enter"});
        // The list shows the working folder at start, and the config is its only file.
        click("File1", {QPoint(30, 8)});
        clickEveryCell("Option3", "Picture1", colourPalettePicture(), colourCells());
        clickEveryCell("Option4", "Picture3", symbolPalettePicture(), symbolCells());
        screen(m_window).save(QStringLiteral(VELTRANE_BUILD_DIR "/screenshot-bind-x%1.png").arg(scale));
        click("Command1");
        QByteArray expected = OriginalConfig + "\r\nbind KP_UPARROW Say \"Go " + everyCellInOrder() + "\"\r\n";
        QCOMPARE(bytesAfterChange(work, OriginalConfig), expected);

        // A name replaces the bind's text; Save, reached with Tab from the entry box, is pressed with Enter.
        click("Option1");
        click("Text1");
        keys({"ctrl+a"}, QStringLiteral("Neo"));
        click("Option3");
        click("Picture1", {QPoint(140, 10)});
        click("Text1");
        keys({"Tab", "Return"});
        QCOMPARE(bytesAfterChange(work, expected), expected + "\r\nseta name \"Neo^4\"\r\n");
        expected = readFile(work);

        // A missing folder: the message, closed with Enter, and nothing made or left behind.
        click("Text3");
        keys({"ctrl+a"}, m_root.filePath(QStringLiteral("work/missing/sof2mp.cfg")));
        click("Command1");
        const QString box = newWindow(QStringLiteral("Veltrane"));
        QVERIFY2(!box.isEmpty(), "no message box appeared");
        screen(m_window.united(geometry(box))).save(QStringLiteral(VELTRANE_BUILD_DIR "/screenshot-missing-x%1.png").arg(scale));
        keys({"Return"});
        QVERIFY2(QTest::qWaitFor([&] { return windows(QStringLiteral("Veltrane")) == QStringList{m_mainWindow}; }), "the box stays after Enter");
        QCOMPARE(QDir(m_root.filePath(QStringLiteral("work"))).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("sof2mp.cfg")});
        QCOMPARE(readFile(work), expected);
    }

    void themedEqualsPlain_data()
    {
        // Each theme gives every program a large bold serif font, dark colours and a style of its own.
        const QFont large(QStringLiteral("DejaVu Serif"), 16, QFont::Bold, true);
        const QStringList dark{"49", "54", "59"};
        QTest::addColumn<QString>("theme");
        QTest::addColumn<QString>("settingsFile");
        QTest::addColumn<QVariantMap>("settings");
        QTest::newRow("qt6ct") << "qt6ct" << "qt6ct/qt6ct.conf"
                               << QVariantMap{{"Fonts/general", large},
                                              {"Appearance/custom_palette", true},
                                              {"Appearance/color_scheme_path", "/usr/share/qt6ct/colors/darker.conf"},
                                              {"Interface/stylesheets", QStringList{"/usr/share/qt6ct/qss/fusion-fixes.qss"}}};
        QTest::newRow("KDE") << "kde" << "kdeglobals"
                             << QVariantMap{{"General/font", large.toString()},
                                            {"Colors:Window/BackgroundNormal", dark},
                                            {"Colors:View/BackgroundNormal", dark},
                                            {"Colors:Button/BackgroundNormal", dark},
                                            {"KDE/widgetStyle", "Windows"}};
    }

    void themedEqualsPlain()
    {
        QFETCH(QString, theme);
        QFETCH(QString, settingsFile);
        QFETCH(QVariantMap, settings);
        if (theme == "qt6ct" && !QFile::exists(QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platformthemes/libqt6ct.so"))
            QSKIP("qt6ct is not installed (Debian package qt6ct)");
        startProgram(1);
        const QImage plain = screen(m_window);
        cleanup();

        QTemporaryDir configHome;
        QSettings file(configHome.filePath(settingsFile), QSettings::IniFormat);
        for (auto setting = settings.cbegin(); setting != settings.cend(); ++setting)
            file.setValue(setting.key(), setting.value());
        file.sync();
        QProcessEnvironment themed;
        themed.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome.path());
        themed.insert(QStringLiteral("QT_QPA_PLATFORMTHEME"), theme);
        themed.insert(QStringLiteral("KDE_SESSION_VERSION"), QStringLiteral("5"));
        // What a plain Qt program takes for its font and window colour.
        const auto plainQtLook = [this](const QProcessEnvironment& overlay) {
            QProcess probe;
            probe.setProcessEnvironment(withOverlay(m_x.environment(), overlay));
            probe.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--plain-qt-look")});
            probe.waitForFinished(20000);
            return probe.readAllStandardOutput();
        };
        QVERIFY2(plainQtLook(themed) != plainQtLook({}), "the theme changes nothing");
        startProgram(1, themed);
        if (const QImage shown = screen(m_window); shown != plain) {
            plain.save(QStringLiteral(VELTRANE_BUILD_DIR "/themed-window-plain.png"));
            shown.save(QStringLiteral(VELTRANE_BUILD_DIR "/themed-window-%1.png").arg(theme));
            QFAIL("the themed window differs from the plain one; see " VELTRANE_BUILD_DIR "/themed-window-*.png");
        }
    }

    void cleanup()
    {
        m_program.terminate();
        if (!m_program.waitForFinished(5000))
            m_program.kill();
        m_program.waitForFinished(5000);
    }

private:
    static QProcessEnvironment withOverlay(QProcessEnvironment environment, const QProcessEnvironment& overlay)
    {
        for (const QString& name : overlay.keys())
            environment.insert(name, overlay.value(name));
        return environment;
    }

    void startProgram(int scale, const QProcessEnvironment& overlay = {})
    {
        m_scale = scale;
        // Room for the window at twice its size.
        if (m_x.display().isEmpty())
            QVERIFY2(m_x.start(QStringLiteral("1280x1024x24")), "Xvfb could not be started");
        const QDir root(m_root.path());
        // A home of its own, so no Wine prefix or game of the machine's shows up.
        QVERIFY(root.mkpath(QStringLiteral("work")) && root.mkpath(ProtonGame));
        for (const QString& folder : {QStringLiteral("work"), ProtonGame})
            QVERIFY(writeFile(root.filePath(folder + "/sof2mp.cfg"), OriginalConfig));
        m_environment = withOverlay(m_x.environment(), overlay);
        m_environment.insert(QStringLiteral("HOME"), root.filePath(QStringLiteral("home")));
        m_environment.remove(QStringLiteral("WINEPREFIX"));
        m_environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::number(scale));

        m_program.setProcessEnvironment(m_environment);
        m_program.setWorkingDirectory(root.filePath(QStringLiteral("work")));
        m_program.setProcessChannelMode(QProcess::ForwardedChannels);
        m_program.start(QStringLiteral(VELTRANE_BINARY), {});
        m_mainWindow.clear(); // the X server may give the new window the ended one's number
        m_mainWindow = newWindow(QStringLiteral("Veltrane"));
        QVERIFY2(!m_mainWindow.isEmpty(), "no window titled Veltrane appeared");
        m_window = geometry(m_mainWindow);
        QCOMPARE(m_window.size(), QSize(FormClientWidthTwips, FormClientHeightTwips) * scale / TwipsPerPixel);
        screen(m_window); // drawn and still: the program takes input from here on
    }

    template <typename Cells>
    void clickEveryCell(const char* option, const char* panel, const QImage& picture, const Cells& cells)
    {
        // The picture is drawn pixel for pixel at the panel's corner, each pixel a square at the window's scale.
        click(option);
        const QRect area = onScreen(panel, picture.rect());
        const QImage shown = picture.convertToFormat(QImage::Format_RGB32).scaled(area.size());
        QVERIFY2(screen(area, shown) == shown, panel);
        QList<QPoint> centres;
        for (const auto& cell : cells)
            centres << (QRectF(cell.twips).center() / TwipsPerPixel).toPoint();
        click(panel, centres);
    }

    // An area given in pixels within a control, on the screen.
    QRect onScreen(const char* control, QRect area) const
    {
        const QPoint corner = findControl(QString::fromLatin1(control))->pixelRect().topLeft() + area.topLeft();
        return QRect(m_window.topLeft() + corner * m_scale, area.size() * m_scale);
    }

    // Clicks points in a control, each a click of its own; by default where a
    // player would: an option button's mark at its left end, else the middle.
    void click(const char* control, QList<QPoint> points = {})
    {
        const ControlDefinition* definition = findControl(QString::fromLatin1(control));
        const QSize size = definition->pixelRect().size();
        if (points.isEmpty())
            points << QPoint(definition->kind == ControlKind::OptionButton ? 7 : size.width() / 2, size.height() / 2);
        QStringList arguments;
        for (QPoint point : points) {
            // The pause keeps neighbouring clicks from making a double click.
            const QPoint at = onScreen(control, QRect(point, QSize())).topLeft();
            arguments << "mousemove" << QString::number(at.x()) << QString::number(at.y()) << "click" << "1" << "sleep" << "0.05";
        }
        QVERIFY(xdotool(arguments));
    }

    // Presses keys such as "ctrl+a" or "Return", then types the text.
    void keys(const QStringList& keys, const QString& text = {})
    {
        if (!keys.isEmpty())
            QVERIFY(xdotool(QStringList{"key", "--delay", "40"} + keys));
        if (!text.isEmpty())
            QVERIFY(xdotool({"type", "--delay", "20", "--", text}));
    }

    // Real X input and window lookups: the X server, not the toolkit, delivers
    // every click and key, as it does for a player. Its standard output,
    // trimmed; none when xdotool failed or is missing.
    std::optional<QString> xdotool(const QStringList& arguments) const
    {
        QProcess process;
        process.setProcessEnvironment(m_environment);
        process.start(QStringLiteral("xdotool"), arguments);
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
            return std::nullopt;
        return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
    }

    // The visible windows titled exactly so.
    QStringList windows(const QString& title) const
    {
        const QString pattern = u'^' + QRegularExpression::escape(title) + u'$';
        return xdotool({"search", "--onlyvisible", "--name", pattern}).value_or(QString()).split(u'\n', Qt::SkipEmptyParts);
    }

    // The window's client area on the screen.
    QRect geometry(const QString& window) const
    {
        // --shell prints WINDOW=, X=, Y=, WIDTH=, HEIGHT= and SCREEN= lines.
        QHash<QString, int> values;
        for (const QString& line : xdotool({"getwindowgeometry", "--shell", window}).value_or(QString()).split(u'\n'))
            values.insert(line.section(u'=', 0, 0), line.section(u'=', 1).toInt());
        return QRect(values.value("X"), values.value("Y"), values.value("WIDTH"), values.value("HEIGHT"));
    }

    QString newWindow(const QString& title) const
    {
        // Message boxes share the main window's title.
        QString found;
        (void)QTest::qWaitFor([&] {
            for (const QString& window : windows(title))
                found = window == m_mainWindow ? found : window;
            return !found.isEmpty();
        }, 60000);
        return found;
    }

    // The area of the screen once it shows `expected`, or else once two screenshots in a row agree.
    QImage screen(QRect area, const QImage& expected = {}) const
    {
        const auto grab = [&] {
            const QString file = m_root.filePath(QStringLiteral("screen.png"));
            QProcess xshot;
            xshot.setProcessEnvironment(m_x.environment());
            xshot.start(QStringLiteral(VELTRANE_BUILD_DIR "/xshot"), {file});
            xshot.waitForFinished(20000);
            return QImage(file).convertToFormat(QImage::Format_RGB32).copy(area);
        };
        QImage previous, current;
        (void)QTest::qWaitFor([&] {
            previous = std::exchange(current, grab());
            return current == (expected.isNull() ? previous : expected);
        }, 10000);
        return current;
    }

    XvfbSession m_x;
    QProcessEnvironment m_environment; // the X server's, in the program's home and at its scale
    QTemporaryDir m_root; // the same for every start, so that the folder list reads alike
    QProcess m_program;
    QString m_mainWindow;
    QRect m_window;
    int m_scale = 1;
};

int main(int argc, char* argv[])
{
    if (argc == 2 && QByteArray(argv[1]) == "--plain-qt-look") {
        // A theme may apply its settings once the event loop runs.
        QGuiApplication app(argc, argv);
        QTimer::singleShot(0, &app, [] {
            std::printf("%s %s\n", qPrintable(QGuiApplication::font().toString()),
                        qPrintable(QGuiApplication::palette().window().color().name()));
            QGuiApplication::quit();
        });
        return app.exec();
    }
    QCoreApplication app(argc, argv);
    TestEndToEnd test;
    return QTest::qExec(&test, argc, argv);
}
#include "TestEndToEnd.moc"
