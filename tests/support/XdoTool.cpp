#include "support/XdoTool.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

namespace {

constexpr int XdoToolTimeoutMs = 20000;

} // namespace

XdoTool::XdoTool(QProcessEnvironment environment)
    : m_environment(std::move(environment))
{
}

bool XdoTool::isInstalled()
{
    return !QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty();
}

QString XdoTool::run(const QStringList& arguments) const
{
    QProcess process;
    process.setProcessEnvironment(m_environment);
    process.start(QStringLiteral("xdotool"), arguments);
    if (!process.waitForFinished(XdoToolTimeoutMs) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

bool XdoTool::succeeds(const QStringList& arguments) const
{
    QProcess process;
    process.setProcessEnvironment(m_environment);
    process.start(QStringLiteral("xdotool"), arguments);
    return process.waitForFinished(XdoToolTimeoutMs) && process.exitStatus() == QProcess::NormalExit
           && process.exitCode() == 0;
}

QStringList XdoTool::windowsTitled(const QString& title) const
{
    const QString pattern = QLatin1Char('^') + QRegularExpression::escape(title) + QLatin1Char('$');
    return run({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), pattern})
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString XdoTool::waitForNewWindow(const QString& title, const QStringList& known, int milliseconds) const
{
    const QDeadlineTimer deadline(milliseconds);
    do {
        for (const QString& window : windowsTitled(title)) {
            if (!known.contains(window))
                return window;
        }
        QThread::msleep(50);
    } while (!deadline.hasExpired());
    return {};
}

bool XdoTool::waitUntilGone(const QString& window, int milliseconds) const
{
    const QDeadlineTimer deadline(milliseconds);
    do {
        if (!run({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), QStringLiteral(".")})
                 .split(QLatin1Char('\n'))
                 .contains(window))
            return true;
        QThread::msleep(50);
    } while (!deadline.hasExpired());
    return false;
}

QRect XdoTool::geometry(const QString& window) const
{
    // --shell prints X=, Y=, WIDTH=, HEIGHT= lines.
    const QString shell = run({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window});
    QRect rect;
    for (const QString& line : shell.split(QLatin1Char('\n'))) {
        const int value = line.section(QLatin1Char('='), 1).toInt();
        const QString name = line.section(QLatin1Char('='), 0, 0);
        if (name == QLatin1String("X"))
            rect.moveLeft(value);
        else if (name == QLatin1String("Y"))
            rect.moveTop(value);
        else if (name == QLatin1String("WIDTH"))
            rect.setWidth(value);
        else if (name == QLatin1String("HEIGHT"))
            rect.setHeight(value);
    }
    return rect;
}

bool XdoTool::click(QPoint screenPoint) const
{
    return succeeds({QStringLiteral("mousemove"), QString::number(screenPoint.x()), QString::number(screenPoint.y()),
                     QStringLiteral("click"), QStringLiteral("1")});
}

bool XdoTool::type(const QString& text) const
{
    return succeeds({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), QStringLiteral("--"), text});
}

bool XdoTool::key(const QStringList& keys) const
{
    return succeeds(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("40")} + keys);
}
