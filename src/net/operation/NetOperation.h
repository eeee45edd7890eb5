#pragma once

#include <QList>
#include <QMutex>
#include <QObject>

#include <atomic>
#include <functional>
#include <memory>

namespace net {

/// One unit of work with a cancelled flag, dependencies, readiness and a completion block
/// that runs once, on the thread that finished the operation, right after it finished.
/// Owned by `std::shared_ptr`. The base runs `main()` synchronously inside `start()`;
/// asynchronous operations override `start()`, keep their own state and call
/// `didChangeExecuting()` and `didFinish()` when it changes.
class Operation : public QObject, public std::enable_shared_from_this<Operation> {
    Q_OBJECT
public:
    Operation();
    ~Operation() override;

    virtual void start();
    /// The work of a synchronous operation; nothing by default.
    virtual void main() { }
    /// Marks the operation cancelled; the work itself decides what that means.
    virtual void cancel();

    bool isCancelled() const { return m_cancelled.load(); }
    /// Cancelled, or every dependency finished.
    virtual bool isReady() const;
    virtual bool isExecuting() const { return m_executing.load(); }
    virtual bool isFinished() const { return m_finished.load(); }
    virtual bool isAsynchronous() const { return false; }

    void addDependency(const std::shared_ptr<Operation>& operation);
    void removeDependency(const std::shared_ptr<Operation>& operation);
    QList<std::shared_ptr<Operation>> dependencies() const;

    /// Runs once after the operation finished; replacing or clearing it before then is
    /// allowed.
    virtual void setCompletionBlock(std::function<void()> block);
    std::function<void()> completionBlock() const;

Q_SIGNALS:
    void readyChanged();
    void executingChanged();
    void finishedChanged();
    void cancelledChanged();

protected:
    /// Sets the flag once; false when it was set already.
    bool markCancelled();
    void didChangeExecuting() { Q_EMIT executingChanged(); }
    void didChangeReady() { Q_EMIT readyChanged(); }
    /// Announces that `isFinished()` became true and runs the completion block the first time.
    void didFinish();

private:
    std::atomic<bool> m_cancelled { false };
    std::atomic<bool> m_executing { false };
    std::atomic<bool> m_finished { false };
    std::atomic<bool> m_completionStarted { false };
    mutable QMutex m_mutex;
    std::function<void()> m_completionBlock;
    QList<std::shared_ptr<Operation>> m_dependencies;
};

/// Runs its blocks, in order, when it runs.
class BlockOperation : public Operation {
    Q_OBJECT
public:
    static std::shared_ptr<BlockOperation> blockOperationWithBlock(std::function<void()> block);
    void addExecutionBlock(std::function<void()> block);
    void main() override;

private:
    QList<std::function<void()>> m_blocks;
};

} // namespace net
