#pragma once

#include "game/GameInstallSearch.h"

#include <QObject>

#include <memory>

class QThread;

// Looks for the player's copies of the game on a thread of its own at the
// lowest priority: the window is built, shown and drawn first, and a slow
// or cold disk delays only what waits for the copies, never the window.
class BackgroundGameSearch : public QObject
{
    Q_OBJECT

public:
    explicit BackgroundGameSearch(QObject* parent = nullptr);
    // Waits for a search still running; its deadline bounds the wait.
    ~BackgroundGameSearch() override;

    void start();

signals:
    // Once, with every copy found, in the thread that started the search.
    void finished(const QList<GameInstallSearch::Install>& installs);

private:
    QList<GameInstallSearch::Install> m_installs;
    std::unique_ptr<QThread> m_thread;
};
