#include "app/BackgroundGameSearch.h"

#include <QThread>

namespace {

// Off the window's way the search can afford what a save allows it.
constexpr int SearchMilliseconds = 500;

} // namespace

BackgroundGameSearch::BackgroundGameSearch(QObject* parent)
    : QObject(parent)
{
}

BackgroundGameSearch::~BackgroundGameSearch()
{
    if (m_thread)
        m_thread->wait();
}

void BackgroundGameSearch::start()
{
    m_thread.reset(QThread::create(
        [this] { m_installs = GameInstallSearch::fromEnvironment().find(QDeadlineTimer(SearchMilliseconds)); }));
    // Emitted on the search's own thread, so delivered through this thread's event loop.
    connect(m_thread.get(), &QThread::finished, this, [this] { emit finished(m_installs); });
    m_thread->start(QThread::IdlePriority);
}
