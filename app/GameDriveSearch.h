#pragma once

#include "platform/DriveCatalog.h"

#include <QObject>

#include <memory>

class QThread;

// Looks for the player's copies of the game on a thread of its own at the
// lowest priority: the window is built, shown and drawn first, and a slow
// or cold disk delays only the drive list's game entries, never the window.
class GameDriveSearch : public QObject
{
    Q_OBJECT

public:
    explicit GameDriveSearch(QObject* parent = nullptr);
    // Waits for a search still running; its deadline bounds the wait.
    ~GameDriveSearch() override;

    void start();

signals:
    // Once, with a drive for each copy found, in the thread that started the search.
    void found(const QList<DriveCatalog::Drive>& drives);

private:
    QList<DriveCatalog::Drive> m_drives;
    std::unique_ptr<QThread> m_thread;
};
