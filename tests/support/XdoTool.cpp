#include "support/XdoTool.h"

#include <QHash>
#include <QProcess>
#include <QRegularExpression>

XdoTool::XdoTool(QProcessEnvironment environment)
    : m_environment(std::move(environment))
{
}

std::optional<QString> XdoTool::run(const QStringList& arguments) const
{
    QProcess process;
    process.setProcessEnvironment(m_environment);
    process.start(QStringLiteral("xdotool"), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

QStringList XdoTool::windows(const QString& title) const
{
    const QString pattern = u'^' + QRegularExpression::escape(title) + u'$';
    return run({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), pattern})
        .value_or(QString())
        .split(u'\n', Qt::SkipEmptyParts);
}

QRect XdoTool::geometry(const QString& window) const
{
    // --shell prints WINDOW=, X=, Y=, WIDTH=, HEIGHT= and SCREEN= lines.
    QHash<QString, int> values;
    for (const QString& line : run({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window}).value_or(QString()).split(u'\n'))
        values.insert(line.section(u'=', 0, 0), line.section(u'=', 1).toInt());
    return QRect(values.value("X"), values.value("Y"), values.value("WIDTH"), values.value("HEIGHT"));
}
