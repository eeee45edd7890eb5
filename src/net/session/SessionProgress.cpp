#include "net/session/SessionProgress.h"

#include <QMutexLocker>

namespace net {

qint64 Progress::totalUnitCount() const
{
    QMutexLocker locker(&m_mutex);
    return m_total;
}

void Progress::setTotalUnitCount(qint64 count)
{
    QMutexLocker locker(&m_mutex);
    m_total = count;
}

qint64 Progress::completedUnitCount() const
{
    QMutexLocker locker(&m_mutex);
    return m_completed;
}

void Progress::setCompletedUnitCount(qint64 count)
{
    QMutexLocker locker(&m_mutex);
    m_completed = count;
}

void Progress::setPausingHandler(std::function<void()> handler)
{
    QMutexLocker locker(&m_mutex);
    m_pausingHandler = std::move(handler);
}

void Progress::setCancellationHandler(std::function<void()> handler)
{
    QMutexLocker locker(&m_mutex);
    m_cancellationHandler = std::move(handler);
}

void Progress::pause()
{
    std::function<void()> handler;
    {
        QMutexLocker locker(&m_mutex);
        handler = m_pausingHandler;
    }
    if (handler)
        handler();
}

void Progress::cancel()
{
    std::function<void()> handler;
    {
        QMutexLocker locker(&m_mutex);
        if (m_cancelled)
            return;
        m_cancelled = true;
        handler = m_cancellationHandler;
    }
    if (handler)
        handler();
}

bool Progress::isCancelled() const
{
    QMutexLocker locker(&m_mutex);
    return m_cancelled;
}

} // namespace net
