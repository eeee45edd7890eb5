#include "platform/Dispatch.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QMutexLocker>
#include <QThreadPool>

namespace platform {

void runLater(QObject* context, std::function<void()> work)
{
    QMetaObject::invokeMethod(context, std::move(work), Qt::QueuedConnection);
}

void runOnMain(std::function<void()> work)
{
    runLater(QCoreApplication::instance(), std::move(work));
}

void runInBackground(std::function<void()> work)
{
    QThreadPool::globalInstance()->start(std::move(work));
}

SerialQueue::SerialQueue(const QString& name)
{
    m_thread = QThread::create([this] { runLoop(); });
    m_thread->setObjectName(name);
    m_thread->start();
}

SerialQueue::~SerialQueue()
{
    {
        QMutexLocker lock(&m_mutex);
        m_stopping = true;
        m_hasWork.wakeAll();
    }
    m_thread->wait();
    delete m_thread;
}

void SerialQueue::async(std::function<void()> task)
{
    QMutexLocker lock(&m_mutex);
    m_tasks.push_back(std::move(task));
    m_hasWork.wakeOne();
}

void SerialQueue::waitUntilIdle()
{
    QMutexLocker lock(&m_mutex);
    while (!m_tasks.empty() || m_running)
        m_idle.wait(&m_mutex);
}

bool SerialQueue::isIdle() const
{
    QMutexLocker lock(&m_mutex);
    return m_tasks.empty() && !m_running;
}

void SerialQueue::runLoop()
{
    QMutexLocker lock(&m_mutex);
    for (;;) {
        while (m_tasks.empty() && !m_stopping)
            m_hasWork.wait(&m_mutex);
        if (m_tasks.empty())
            break; // stopping, and everything queued has run
        auto task = std::move(m_tasks.front());
        m_tasks.pop_front();
        m_running = true;
        lock.unlock();
        task();
        lock.relock();
        m_running = false;
        if (m_tasks.empty())
            m_idle.wakeAll();
    }
    m_idle.wakeAll();
}

} // namespace platform
