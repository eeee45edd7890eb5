#pragma once

#include <QMutex>
#include <QString>
#include <QWaitCondition>

#include <functional>
#include <memory>
#include <vector>

class QThreadPool;

namespace platform {
class SerialQueue;
}

namespace net {

/// Where a block runs: the main thread, a named serial queue (one thread, in order) or a
/// named concurrent queue (a worker pool). Queues are shared: `std::shared_ptr`.
class DispatchQueue {
public:
    enum class Kind { Main, Serial, Concurrent };

    /// The main thread's queue, shared by the whole process.
    static std::shared_ptr<DispatchQueue> main();
    static std::shared_ptr<DispatchQueue> serial(const QString& label);
    /// Runs blocks in parallel on `pool` (the global pool when none is given).
    static std::shared_ptr<DispatchQueue> concurrent(const QString& label, QThreadPool* pool = nullptr);

    ~DispatchQueue();
    DispatchQueue(const DispatchQueue&) = delete;
    DispatchQueue& operator=(const DispatchQueue&) = delete;

    /// Queues `block` without waiting. Blocks sent to the main queue after the
    /// application object is gone are dropped.
    void async(std::function<void()> block);
    const QString& label() const { return m_label; }
    Kind kind() const { return m_kind; }

private:
    DispatchQueue(Kind kind, QString label, QThreadPool* pool);

    Kind m_kind;
    QString m_label;
    QThreadPool* m_pool = nullptr;
    std::unique_ptr<platform::SerialQueue> m_serial;
};

/// Counts outstanding work; blocks given to `notify` run once the count is back at zero.
class DispatchGroup {
public:
    DispatchGroup() = default;
    DispatchGroup(const DispatchGroup&) = delete;
    DispatchGroup& operator=(const DispatchGroup&) = delete;

    void enter();
    /// Must balance an earlier `enter`.
    void leave();
    /// Runs `block` on `queue` when the group is empty (at once, asynchronously, if it is).
    void notify(const std::shared_ptr<DispatchQueue>& queue, std::function<void()> block);
    /// Waits up to `timeoutMs` milliseconds (-1: for ever) for the group to be empty; false on
    /// time-out. Waiting on the main thread for work queued on the main queue never ends.
    bool wait(int timeoutMs = -1);
    /// `enter`, run `block` on `queue`, `leave`.
    static void async(const std::shared_ptr<DispatchGroup>& group,
        const std::shared_ptr<DispatchQueue>& queue, std::function<void()> block);

private:
    QMutex m_mutex;
    QWaitCondition m_empty;
    int m_count = 0;
    std::vector<std::pair<std::shared_ptr<DispatchQueue>, std::function<void()>>> m_notifications;
};

} // namespace net
