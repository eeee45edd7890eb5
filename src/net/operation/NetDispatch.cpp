#include "net/operation/NetDispatch.h"

#include "platform/Dispatch.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMutexLocker>
#include <QThreadPool>

namespace net {

DispatchQueue::DispatchQueue(Kind kind, QString label, QThreadPool* pool)
    : m_kind(kind), m_label(std::move(label)), m_pool(pool)
{
    if (kind == Kind::Serial)
        m_serial = std::make_unique<platform::SerialQueue>(m_label);
}

DispatchQueue::~DispatchQueue() = default;

std::shared_ptr<DispatchQueue> DispatchQueue::main()
{
    static const std::shared_ptr<DispatchQueue> queue(
        new DispatchQueue(Kind::Main, QStringLiteral("main"), nullptr));
    return queue;
}

std::shared_ptr<DispatchQueue> DispatchQueue::serial(const QString& label)
{
    return std::shared_ptr<DispatchQueue>(new DispatchQueue(Kind::Serial, label, nullptr));
}

std::shared_ptr<DispatchQueue> DispatchQueue::concurrent(const QString& label, QThreadPool* pool)
{
    return std::shared_ptr<DispatchQueue>(
        new DispatchQueue(Kind::Concurrent, label, pool ? pool : QThreadPool::globalInstance()));
}

void DispatchQueue::async(std::function<void()> block)
{
    switch (m_kind) {
    case Kind::Main:
        if (QCoreApplication* app = QCoreApplication::instance())
            QMetaObject::invokeMethod(app, std::move(block), Qt::QueuedConnection);
        break;
    case Kind::Serial:
        m_serial->async(std::move(block));
        break;
    case Kind::Concurrent:
        m_pool->start(std::move(block));
        break;
    }
}

void DispatchGroup::enter()
{
    QMutexLocker locker(&m_mutex);
    ++m_count;
}

void DispatchGroup::leave()
{
    decltype(m_notifications) due;
    {
        QMutexLocker locker(&m_mutex);
        Q_ASSERT(m_count > 0);
        if (--m_count > 0)
            return;
        due.swap(m_notifications);
        m_empty.wakeAll();
    }
    for (auto& [queue, block] : due)
        queue->async(std::move(block));
}

void DispatchGroup::notify(const std::shared_ptr<DispatchQueue>& queue, std::function<void()> block)
{
    {
        QMutexLocker locker(&m_mutex);
        if (m_count > 0) {
            m_notifications.emplace_back(queue, std::move(block));
            return;
        }
    }
    queue->async(std::move(block));
}

bool DispatchGroup::wait(int timeoutMs)
{
    QMutexLocker locker(&m_mutex);
    QDeadlineTimer deadline(timeoutMs < 0 ? QDeadlineTimer::Forever : QDeadlineTimer(timeoutMs));
    while (m_count > 0)
        if (!m_empty.wait(&m_mutex, deadline))
            return m_count == 0;
    return true;
}

void DispatchGroup::async(const std::shared_ptr<DispatchGroup>& group,
    const std::shared_ptr<DispatchQueue>& queue, std::function<void()> block)
{
    group->enter();
    queue->async([group, block = std::move(block)] {
        block();
        group->leave();
    });
}

} // namespace net
