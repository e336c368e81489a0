#pragma once

#include <QProcessEnvironment>
#include <QRect>
#include <QStringList>

#include <optional>

// Real X input and window lookups through xdotool, on the display of the
// environment it is given: the X server, not the toolkit, delivers every
// click and key, as it does for a player.
class XdoTool
{
public:
    explicit XdoTool(QProcessEnvironment environment);

    // Its standard output, trimmed; none when xdotool failed or is missing.
    std::optional<QString> run(const QStringList& arguments) const;
    // The visible windows titled exactly so.
    QStringList windows(const QString& title) const;
    // The window's client area on the screen.
    QRect geometry(const QString& window) const;

private:
    QProcessEnvironment m_environment;
};
