#pragma once

#include <QByteArrayView>
#include <QString>

// Whether the game is running, under Wine or Proton. The game writes its
// whole config back when it quits, so a line added meanwhile is lost then.
// Only the process table is read: each process's short name and the first
// word of its command line.
class GameProcess
{
public:
    explicit GameProcess(QString procRoot = QStringLiteral("/proc"));

    bool isRunning() const;

    // Whether a process with this short name (comm) and command line (words
    // separated by NUL) is the game. Under Wine the short name is often the
    // executable's; the command line's first word may be a Windows or a
    // Linux path to it.
    static bool isGame(QByteArrayView comm, QByteArrayView commandLine);

private:
    QString m_procRoot;
};
