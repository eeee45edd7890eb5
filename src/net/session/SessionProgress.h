#pragma once

#include <QMutex>

#include <functional>

namespace net {

/// Byte counts of one task's transfer, readable from any thread, with the handlers that
/// pausing and cancelling it run. Owned by `std::shared_ptr`.
class Progress {
public:
    qint64 totalUnitCount() const;
    void setTotalUnitCount(qint64 count);
    qint64 completedUnitCount() const;
    void setCompletedUnitCount(qint64 count);

    void setPausingHandler(std::function<void()> handler);
    void setCancellationHandler(std::function<void()> handler);
    /// Run the handler, if one is set.
    void pause();
    void cancel();
    bool isCancelled() const;

private:
    mutable QMutex m_mutex;
    qint64 m_total = 0;
    qint64 m_completed = 0;
    bool m_cancelled = false;
    std::function<void()> m_pausingHandler;
    std::function<void()> m_cancellationHandler;
};

} // namespace net
