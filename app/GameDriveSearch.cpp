#include "app/GameDriveSearch.h"

#include "platform/GameInstallSearch.h"

#include <QThread>

namespace {

// Off the window's way the search can afford what a save allows it.
constexpr int SearchMilliseconds = 500;

} // namespace

GameDriveSearch::GameDriveSearch(QObject* parent)
    : QObject(parent)
{
}

GameDriveSearch::~GameDriveSearch()
{
    if (m_thread)
        m_thread->wait();
}

void GameDriveSearch::start()
{
    m_thread.reset(QThread::create([this] {
        m_drives = DriveCatalog::gameDrives(
            GameInstallSearch::fromEnvironment().find(QDeadlineTimer(SearchMilliseconds)));
    }));
    // Emitted on the search's own thread, so delivered through this thread's event loop.
    connect(m_thread.get(), &QThread::finished, this, [this] { emit found(m_drives); });
    m_thread->start(QThread::IdlePriority);
}
