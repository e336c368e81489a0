// A desktop's theme leaves the window as it is. The layout is fixed, so a
// theme's font would clip its captions: started under a platform theme that
// gives every program a large bold serif font, dark colours and a style sheet,
// the real program on a private X server shows exactly the pixels of a plain
// start. A plain Qt program started the same way shows that the theme took.
#include "xserver/XvfbSession.h"

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLibraryInfo>
#include <QPalette>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <utility>

class TestThemedWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!m_x.start(QStringLiteral("800x600x24")))
            QSKIP("Xvfb could not be started (Debian package xvfb)");
        QVERIFY(QDir(m_root.path()).mkdir(QStringLiteral("home")));
        m_plain = shownWith(m_x.environment());
    }

    void themedEqualsPlain_data()
    {
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
        QSettings file(m_root.filePath(theme + '/' + settingsFile), QSettings::IniFormat);
        for (auto setting = settings.cbegin(); setting != settings.cend(); ++setting)
            file.setValue(setting.key(), setting.value());
        file.sync();
        QProcessEnvironment environment = m_x.environment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_root.filePath(theme));
        environment.insert(QStringLiteral("QT_QPA_PLATFORMTHEME"), theme);
        environment.insert(QStringLiteral("KDE_SESSION_VERSION"), QStringLiteral("5"));

        // What a plain Qt program takes for its font and window colour.
        const auto plainQtLook = [](const QProcessEnvironment& environment) {
            QProcess probe;
            probe.setProcessEnvironment(environment);
            probe.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--plain-qt-look")});
            probe.waitForFinished(20000);
            return probe.readAllStandardOutput();
        };
        QVERIFY2(plainQtLook(environment) != plainQtLook(m_x.environment()), "the theme changes nothing");
        const QImage themed = shownWith(environment);
        if (themed != m_plain) {
            m_plain.save(QStringLiteral(VELTRANE_BUILD_DIR "/themed-window-plain.png"));
            themed.save(QStringLiteral(VELTRANE_BUILD_DIR "/themed-window-%1.png").arg(theme));
            QFAIL("the themed window differs from the plain one; see " VELTRANE_BUILD_DIR "/themed-window-*.png");
        }
    }

private:
    // The screen once the program's window is drawn and holds still.
    QImage shownWith(const QProcessEnvironment& environment)
    {
        QProcessEnvironment inHome = environment;
        inHome.insert(QStringLiteral("HOME"), m_root.filePath(QStringLiteral("home")));
        QProcess program;
        program.setProcessEnvironment(inHome);
        program.setWorkingDirectory(m_root.filePath(QStringLiteral("home")));
        program.start(QStringLiteral(VELTRANE_BINARY), {});
        const QString shot = m_root.filePath(QStringLiteral("screen.png"));
        const auto grab = [&] {
            QProcess xshot;
            xshot.setProcessEnvironment(environment);
            xshot.start(QStringLiteral(VELTRANE_BUILD_DIR "/xshot"), {shot});
            xshot.waitForFinished(20000);
            return QImage(shot).convertToFormat(QImage::Format_RGB32);
        };
        // Two grabs apart that agree, showing more than the bare black screen.
        QImage previous, current;
        (void)QTest::qWaitFor([&] {
            QTest::qWait(300);
            previous = std::exchange(current, grab());
            return current == previous && current.pixel(5, 5) != qRgb(0, 0, 0);
        }, 20000);
        program.terminate();
        program.waitForFinished(5000);
        return current;
    }

    XvfbSession m_x;
    QTemporaryDir m_root;
    QImage m_plain;
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
    TestThemedWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestThemedWindow.moc"
