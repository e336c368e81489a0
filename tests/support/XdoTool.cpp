#include "support/XdoTool.h"

#include <QDeadlineTimer>
#include <QHash>
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

std::optional<QString> XdoTool::run(const QStringList& arguments) const
{
    QProcess process;
    process.setProcessEnvironment(m_environment);
    process.start(QStringLiteral("xdotool"), arguments);
    if (!process.waitForFinished(XdoToolTimeoutMs) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

QStringList XdoTool::windowsTitled(const QString& title) const
{
    const QString pattern = QLatin1Char('^') + QRegularExpression::escape(title) + QLatin1Char('$');
    return run({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), pattern})
        .value_or(QString())
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
                 .value_or(QString())
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
    QHash<QString, int> values;
    for (const QString& line : run({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window}).value_or(QString()).split(u'\n'))
        values.insert(line.section(u'=', 0, 0), line.section(u'=', 1).toInt());
    return QRect(values.value(QStringLiteral("X")), values.value(QStringLiteral("Y")), values.value(QStringLiteral("WIDTH")),
                 values.value(QStringLiteral("HEIGHT")));
}

bool XdoTool::click(QPoint screenPoint) const
{
    return run({QStringLiteral("mousemove"), QString::number(screenPoint.x()), QString::number(screenPoint.y()),
                     QStringLiteral("click"), QStringLiteral("1")}).has_value();
}

bool XdoTool::type(const QString& text) const
{
    return run({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), QStringLiteral("--"), text}).has_value();
}

bool XdoTool::key(const QStringList& keys) const
{
    return run(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("40")} + keys).has_value();
}
