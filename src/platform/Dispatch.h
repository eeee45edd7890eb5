#pragma once

#include <QMutex>
#include <QObject>
#include <QThread>
#include <QWaitCondition>

#include <deque>
#include <functional>

namespace platform {

/// Runs `work` on the thread of `context` (the main thread for widgets) in a later
/// turn of its event loop. Nothing runs if `context` is destroyed first.
void runLater(QObject* context, std::function<void()> work);

/// Runs `work` on the main thread in a later turn of the event loop.
void runOnMain(std::function<void()> work);

/// Runs `work` on the shared background thread pool.
void runInBackground(std::function<void()> work);

/// A queue that runs its tasks one after another, in order, on one thread of its own.
/// The destructor finishes every queued task before it returns.
class SerialQueue {
public:
    explicit SerialQueue(const QString& name);
    ~SerialQueue();
    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;

    void async(std::function<void()> task);
    /// Blocks until every task queued so far has run. Must not be called from a task.
    void waitUntilIdle();
    bool isIdle() const;

private:
    void runLoop();

    mutable QMutex m_mutex;
    QWaitCondition m_hasWork;
    QWaitCondition m_idle;
    std::deque<std::function<void()>> m_tasks;
    bool m_running = false;
    bool m_stopping = false;
    QThread* m_thread = nullptr;
};

} // namespace platform
