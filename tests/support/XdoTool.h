#pragma once

#include <QPoint>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>

#include <optional>

// Real X input and window lookups through xdotool, on the display of the
// environment it is given: the X server, not the toolkit, delivers every
// click and key, as it does for a player.
class XdoTool
{
public:
    explicit XdoTool(QProcessEnvironment environment);

    static bool isInstalled();

    // Standard output, trimmed; none when xdotool failed.
    std::optional<QString> run(const QStringList& arguments) const;

    // Visible windows whose title matches the pattern exactly as a whole.
    QStringList windowsTitled(const QString& title) const;
    // Waits for a visible window with that title that is not one of `known`;
    // empty when none appeared within the time.
    QString waitForNewWindow(const QString& title, const QStringList& known = {}, int milliseconds = 20000) const;
    bool waitUntilGone(const QString& window, int milliseconds = 10000) const;
    // The window's client area on the screen.
    QRect geometry(const QString& window) const;

    bool click(QPoint screenPoint) const;
    // Types text as keystrokes into the window that has the keyboard focus.
    bool type(const QString& text) const;
    // Presses key combinations such as "ctrl+a" or "Return".
    bool key(const QStringList& keys) const;

private:
    QProcessEnvironment m_environment;
};
