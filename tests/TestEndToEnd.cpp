// The whole program as a player meets it: the real executable in a process of
// its own on a private X server, driven only by real mouse clicks and key
// strokes, in a home of its own that holds the game under Proton only. One
// run saves a name there with the path left as it starts, makes a bind and a
// name in a folder of its own, then meets a missing folder and the help; the
// steps depend on each other the way a player's do, so they run in order.
#include "app/FormDefinition.h"
#include "palette/ColourCells.h"
#include "palette/SymbolCells.h"
#include "support/XdoTool.h"
#include "xserver/XvfbSession.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

namespace {

// A config as the game leaves it: CR LF line ends and one byte beyond ASCII
// (é in the Windows code page), which must come back as it was.
const QByteArray OriginalConfig = "seta name \"Caf\xe9\"\r\n"
                                  "bind KP_5 \"say_team hold\"\r\n";

QRect controlRect(const char* name)
{
    return findControl(QString::fromLatin1(name))->pixelRect();
}

int darkPixels(const QImage& image)
{
    int dark = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            dark += qGray(image.pixel(x, y)) < 128;
    }
    return dark;
}

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void savesANameIntoTheProtonCopyWithThePathUntouched();
    void makesABind();
    void makesANameAfterIt();
    void missingFolderShowsTheMessageAndCreatesNothing();
    void helpButtonShowsTheHelpBox();
    void wineDriveFolderListStaysOnTheDrive();

private:
    // Points within the main window, in its own pixels, become screen points.
    QPoint onScreen(QPoint windowPoint) const { return m_window.topLeft() + windowPoint; }
    // Clicks at `offset` in the control, by default where a player would:
    // an option button's mark, else the middle.
    void clickControl(const char* name, std::optional<QPoint> offset = {});
    // Clicks the middle of a palette cell, given in twips within its panel.
    void clickCell(const char* panel, QRect twips);
    bool clickTopFolder(int clicks) const;

    QImage grabScreen() const;
    // Waits until two screenshots in a row agree.
    QImage stableScreen() const;
    // Keeps the part of a stable screenshot that holds `area` under the build
    // folder's screenshots.
    void saveScreenshot(const QString& name, QRect area = {}) const;

    QByteArray configBytes() const { return fileBytes(m_configPath); }
    static QByteArray fileBytes(const QString& path);
    // Waits until the file holds something other than `before`.
    static QByteArray bytesAfterChange(const QString& path, const QByteArray& before);
    QByteArray configBytesAfterChange(const QByteArray& before) const { return bytesAfterChange(m_configPath, before); }

    std::unique_ptr<XvfbSession> m_x;
    std::unique_ptr<XdoTool> m_xdo;
    QTemporaryDir m_root;
    QString m_workFolder;
    QString m_configPath;
    QString m_protonConfigPath;
    QProcess m_program;
    QString m_mainWindow;
    QRect m_window;
};

void TestEndToEnd::initTestCase()
{
    if (!XdoTool::isInstalled())
        QSKIP("xdotool is not installed");
    m_x = std::make_unique<XvfbSession>();
    if (!m_x->start())
        QSKIP("Xvfb could not be started");

    QVERIFY(m_root.isValid());
    const QDir root(m_root.path());
    QVERIFY(root.mkdir(QStringLiteral("work")) && root.mkdir(QStringLiteral("home")));
    m_workFolder = root.filePath(QStringLiteral("work"));
    m_configPath = m_workFolder + QStringLiteral("/sof2mp.cfg");
    QFile config(m_configPath);
    QVERIFY(config.open(QIODevice::WriteOnly));
    QCOMPARE(config.write(OriginalConfig), OriginalConfig.size());
    config.close();
    const QString protonGame = QStringLiteral(
        "home/.local/share/Steam/steamapps/compatdata/2620/pfx/drive_c/Program Files (x86)/SoF2/base/mp");
    QVERIFY(root.mkpath(protonGame));
    m_protonConfigPath = root.filePath(protonGame + QStringLiteral("/sof2mp.cfg"));
    QVERIFY(QFile::copy(m_configPath, m_protonConfigPath));

    // A home of its own, so no Wine prefix or game of the machine's shows up.
    QProcessEnvironment environment = m_x->environment();
    environment.insert(QStringLiteral("HOME"), root.filePath(QStringLiteral("home")));
    // A prefix of its own, with one drive C: beside the working folder.
    QVERIFY(root.mkpath(QStringLiteral("prefix/dosdevices")) && root.mkpath(QStringLiteral("prefix/drive_c/Program Files")));
    QVERIFY(QFile::link(QStringLiteral("../drive_c"), root.filePath(QStringLiteral("prefix/dosdevices/c:"))));
    environment.insert(QStringLiteral("WINEPREFIX"), root.filePath(QStringLiteral("prefix")));
    environment.remove(QStringLiteral("QT_SCALE_FACTOR"));
    m_xdo = std::make_unique<XdoTool>(environment);

    m_program.setProcessEnvironment(environment);
    m_program.setWorkingDirectory(m_workFolder);
    m_program.setProcessChannelMode(QProcess::ForwardedChannels);
    m_program.start(QStringLiteral(VELTRANE_BINARY), {});
    QVERIFY(m_program.waitForStarted(10000));

    m_mainWindow = m_xdo->waitForNewWindow(QStringLiteral("Veltrane"));
    QVERIFY2(!m_mainWindow.isEmpty(), "no window titled Veltrane appeared");
    m_window = m_xdo->geometry(m_mainWindow);
    QCOMPARE(m_window.size(), QSize(FormClientWidthTwips / TwipsPerPixel, FormClientHeightTwips / TwipsPerPixel));
    saveScreenshot(QStringLiteral("start"));
}

void TestEndToEnd::cleanupTestCase()
{
    if (m_program.state() != QProcess::NotRunning) {
        m_program.terminate();
        if (!m_program.waitForFinished(5000))
            m_program.kill();
        m_program.waitForFinished(5000);
    }
}

void TestEndToEnd::savesANameIntoTheProtonCopyWithThePathUntouched()
{
    clickControl("Option1");
    clickControl("Text1");
    QVERIFY(m_xdo->type(QStringLiteral("Neo")));
    clickControl("Command1");
    QCOMPARE(bytesAfterChange(m_protonConfigPath, OriginalConfig), OriginalConfig + "\r\n" + "seta name \"Neo\"\r\n");
    QCOMPARE(configBytes(), OriginalConfig);
}

void TestEndToEnd::makesABind()
{
    clickControl("Option2");
    // The key is picked from the drop-down by its arrow; the list is wide enough to read every key.
    clickControl("Combo1", QPoint(controlRect("Combo1").width() - 8, controlRect("Combo1").height() / 2));
    QVERIFY(m_xdo->key({QStringLiteral("End"), QStringLiteral("Up")}));
    saveScreenshot(QStringLiteral("key-list"));
    // Enter picks the key, and Enter in a field presses no button: nothing is saved here.
    QVERIFY(m_xdo->key({QStringLiteral("Return"), QStringLiteral("Return")}));
    clickControl("Text1", QPoint(controlRect("Text1").width() - 10, controlRect("Text1").height() / 2));
    QVERIFY(m_xdo->key({QStringLiteral("ctrl+a")}));
    QVERIFY(m_xdo->type(QStringLiteral("Go ")));
    QVERIFY(m_xdo->key({QStringLiteral("Return"), QStringLiteral("KP_Enter")}));
    // The list shows the working folder at start, and the config is its only
    // file, so it is the first row.
    clickControl("File1", QPoint(30, 8));

    clickControl("Option3");
    clickCell("Picture1", findColourCell(QLatin1Char('1'))->twips);
    saveScreenshot(QStringLiteral("bind-colours"));
    clickControl("Option4");
    // Each symbol shows in the entry field as its picture, not as a blank.
    const QRect text1 = QRect(onScreen(controlRect("Text1").topLeft()), controlRect("Text1").size());
    const int inkBefore = darkPixels(grabScreen().copy(text1));
    for (const SymbolCell& cell : symbolCells().first(3))
        clickCell("Picture3", cell.twips);
    saveScreenshot(QStringLiteral("bind-symbols"));
    QTRY_VERIFY(darkPixels(grabScreen().copy(text1)) >= inkBefore + 3 * 10);

    clickControl("Command1");
    const QByteArray expected = OriginalConfig + "\r\n" + "bind KP_UPARROW Say \"Go ^1\x1c\x16\x1b\"\r\n";
    QCOMPARE(configBytesAfterChange(OriginalConfig), expected);
}

void TestEndToEnd::makesANameAfterIt()
{
    const QByteArray before = configBytes();
    clickControl("Option1");
    // The bind's text is still in the box; the name replaces all of it.
    clickControl("Text1");
    QVERIFY(m_xdo->key({QStringLiteral("ctrl+a")}));
    QVERIFY(m_xdo->type(QStringLiteral("Neo")));
    saveScreenshot(QStringLiteral("name-symbols"));

    clickControl("Option3");
    clickCell("Picture1", findColourCell(QLatin1Char('4'))->twips);
    saveScreenshot(QStringLiteral("name-colours"));

    // Save, reached with Tab from the entry box, is pressed with Enter.
    clickControl("Text1");
    QVERIFY(m_xdo->key({QStringLiteral("Tab"), QStringLiteral("Return")}));
    QCOMPARE(configBytesAfterChange(before), before + "\r\n" + "seta name \"Neo^4\"\r\n");
}

void TestEndToEnd::missingFolderShowsTheMessageAndCreatesNothing()
{
    const QByteArray before = configBytes();
    const QString missingFolder = m_workFolder + QStringLiteral("/missing");
    clickControl("Text3");
    QVERIFY(m_xdo->key({QStringLiteral("ctrl+a")}));
    QVERIFY(m_xdo->type(missingFolder + QStringLiteral("/sof2mp.cfg")));
    clickControl("Command1");

    const QString box = m_xdo->waitForNewWindow(QStringLiteral("Veltrane"), {m_mainWindow});
    QVERIFY2(!box.isEmpty(), "no message box appeared");
    saveScreenshot(QStringLiteral("no-such-directory"), m_xdo->geometry(box));
    QVERIFY(m_xdo->key({QStringLiteral("Return")}));
    QVERIFY2(m_xdo->waitUntilGone(box), "the message box did not close with Enter");

    // Nothing made, and no temporary or backup file left from the saves before.
    QCOMPARE(QDir(m_workFolder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("sof2mp.cfg")});
    QCOMPARE(configBytes(), before);
}

void TestEndToEnd::helpButtonShowsTheHelpBox()
{
    clickControl("Command4");
    const QString box = m_xdo->waitForNewWindow(QStringLiteral("Help"));
    QVERIFY2(!box.isEmpty(), "no window titled Help appeared");
    saveScreenshot(QStringLiteral("help"), m_xdo->geometry(box));
    QVERIFY(m_xdo->key({QStringLiteral("Return")}));
    QVERIFY2(m_xdo->waitUntilGone(box), "the help box did not close with Enter");
}

void TestEndToEnd::wineDriveFolderListStaysOnTheDrive()
{
    const QRect folders = controlRect("Dir1").translated(m_window.topLeft());
    const QImage before = stableScreen().copy(folders);
    // The prefix's C: is the last drive in the list.
    clickControl("Drive1");
    QVERIFY(m_xdo->key({QStringLiteral("End"), QStringLiteral("Return")}));
    // The list's top is the drive's root ("C:\\"): selected, then opened, it stays on the drive,
    // and nothing above it shows.
    QVERIFY(clickTopFolder(1));
    const QImage onDrive = stableScreen().copy(folders);
    QVERIFY(onDrive != before);
    saveScreenshot(QStringLiteral("wine-drive"));
    QVERIFY(clickTopFolder(2));
    QCOMPARE(stableScreen().copy(folders), onDrive);
}

bool TestEndToEnd::clickTopFolder(int clicks) const
{
    // The pointer leaves afterwards, so that no row shows it hovering.
    const QPoint top = onScreen(controlRect("Dir1").topLeft() + QPoint(30, 9));
    return m_xdo
        ->run({QStringLiteral("mousemove"), QString::number(top.x()), QString::number(top.y()), QStringLiteral("click"),
               QStringLiteral("--repeat"), QString::number(clicks), QStringLiteral("--delay"), QStringLiteral("40"),
               QStringLiteral("1"), QStringLiteral("mousemove_relative"), QStringLiteral("0"), QStringLiteral("400")})
        .has_value();
}

void TestEndToEnd::clickControl(const char* name, std::optional<QPoint> offset)
{
    const QRect rect = controlRect(name);
    // Option buttons react on their circular mark, at their left end.
    const bool optionButton = findControl(QString::fromLatin1(name))->kind == ControlKind::OptionButton;
    const QPoint point = offset.value_or(QPoint(optionButton ? 7 : rect.width() / 2, rect.height() / 2));
    QVERIFY(m_xdo->click(onScreen(rect.topLeft() + point)));
}

void TestEndToEnd::clickCell(const char* panel, QRect twips)
{
    QVERIFY(m_xdo->click(onScreen(controlRect(panel).topLeft() + (QRectF(twips).center() / TwipsPerPixel).toPoint())));
}

QImage TestEndToEnd::grabScreen() const
{
    const QString file = m_root.filePath(QStringLiteral("screen.png"));
    QProcess xshot;
    xshot.setProcessEnvironment(m_x->environment());
    xshot.start(QStringLiteral(VELTRANE_BUILD_DIR "/xshot"), {file});
    if (!xshot.waitForFinished(20000) || xshot.exitCode() != 0)
        return {};
    return QImage(file).convertToFormat(QImage::Format_RGB32);
}

QImage TestEndToEnd::stableScreen() const
{
    QImage previous = grabScreen();
    QImage current;
    const QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired()) {
        QTest::qWait(150);
        current = grabScreen();
        if (current == previous)
            break;
        previous = current;
    }
    return current;
}

void TestEndToEnd::saveScreenshot(const QString& name, QRect area) const
{
    const QImage current = stableScreen();
    const QDir folder(QStringLiteral(VELTRANE_BUILD_DIR));
    folder.mkpath(QStringLiteral("screenshots"));
    const QString file = folder.filePath(QStringLiteral("screenshots/%1.png").arg(name));
    QVERIFY2(current.copy(m_window.united(area)).save(file), qPrintable(file));
}

QByteArray TestEndToEnd::fileBytes(const QString& path)
{
    QFile config(path);
    return config.open(QIODevice::ReadOnly) ? config.readAll() : QByteArray();
}

QByteArray TestEndToEnd::bytesAfterChange(const QString& path, const QByteArray& before)
{
    const QDeadlineTimer deadline(10000);
    while (fileBytes(path) == before && !deadline.hasExpired())
        QTest::qWait(50);
    // The rewrite may still be under way when the first bytes change.
    QTest::qWait(200);
    return fileBytes(path);
}

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "TestEndToEnd.moc"
