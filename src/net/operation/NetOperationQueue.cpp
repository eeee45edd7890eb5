#include "net/operation/NetOperationQueue.h"

#include <QDeadlineTimer>
#include <QMutex>
#include <QMutexLocker>
#include <QSet>
#include <QThreadPool>
#include <QWaitCondition>

namespace net {

struct OperationQueue::State {
    QMutex mutex;
    QWaitCondition changed;
    QList<std::shared_ptr<Operation>> operations;
    QSet<Operation*> started;
    int maxConcurrent = -1;
};

OperationQueue::OperationQueue(QString name) : m_name(std::move(name)), m_state(std::make_shared<State>())
{
}

OperationQueue::~OperationQueue() = default;

void OperationQueue::addOperation(const std::shared_ptr<Operation>& operation)
{
    addOperations({ operation }, false);
}

void OperationQueue::addOperations(
    const QList<std::shared_ptr<Operation>>& operations, bool waitUntilFinished)
{
    const std::weak_ptr<State> weakState = m_state;
    const auto reschedule = [weakState] {
        if (auto state = weakState.lock())
            schedule(state);
    };
    {
        QMutexLocker locker(&m_state->mutex);
        for (const auto& operation : operations) {
            if (!operation || m_state->operations.contains(operation))
                continue;
            m_state->operations.append(operation);
            // An operation announces its end on a pool thread after it counts as finished, so
            // a waiting thread may already be destroying the queue: the connections live with
            // the operation and reach the queue's state only through a weak reference.
            Operation* sender = operation.get();
            connect(sender, &Operation::readyChanged, sender, reschedule, Qt::DirectConnection);
            connect(sender, &Operation::finishedChanged, sender, reschedule, Qt::DirectConnection);
        }
    }
    schedule(m_state);
    if (!waitUntilFinished)
        return;
    QMutexLocker locker(&m_state->mutex);
    const auto allFinished = [&] {
        for (const auto& operation : operations)
            if (!operation->isFinished())
                return false;
        return true;
    };
    while (!allFinished())
        m_state->changed.wait(&m_state->mutex);
}

void OperationQueue::addOperationWithBlock(std::function<void()> block)
{
    addOperation(BlockOperation::blockOperationWithBlock(std::move(block)));
}

void OperationQueue::schedule(const std::shared_ptr<State>& state)
{
    QList<std::shared_ptr<Operation>> toStart;
    QList<std::shared_ptr<Operation>> done; // released after the lock, never inside it
    {
        QMutexLocker locker(&state->mutex);
        for (qsizetype i = state->operations.size() - 1; i >= 0; --i) {
            if (state->operations[i]->isFinished()) {
                state->started.remove(state->operations[i].get());
                done.append(state->operations.takeAt(i));
            }
        }
        qsizetype running = state->started.size();
        for (const auto& operation : std::as_const(state->operations)) {
            if (state->maxConcurrent >= 0 && running >= state->maxConcurrent)
                break;
            if (state->started.contains(operation.get()) || !operation->isReady())
                continue;
            state->started.insert(operation.get());
            toStart.append(operation);
            ++running;
        }
        state->changed.wakeAll();
    }
    for (const auto& operation : std::as_const(toStart))
        QThreadPool::globalInstance()->start([operation] { operation->start(); });
}

QList<std::shared_ptr<Operation>> OperationQueue::operations() const
{
    QMutexLocker locker(&m_state->mutex);
    return m_state->operations;
}

int OperationQueue::operationCount() const
{
    QMutexLocker locker(&m_state->mutex);
    return int(m_state->operations.size());
}

int OperationQueue::maxConcurrentOperationCount() const
{
    QMutexLocker locker(&m_state->mutex);
    return m_state->maxConcurrent;
}

void OperationQueue::setMaxConcurrentOperationCount(int count)
{
    {
        QMutexLocker locker(&m_state->mutex);
        m_state->maxConcurrent = count;
    }
    schedule(m_state);
}

void OperationQueue::cancelAllOperations()
{
    for (const auto& operation : operations())
        operation->cancel();
}

bool OperationQueue::waitUntilAllOperationsAreFinished(int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs < 0 ? QDeadlineTimer::Forever : QDeadlineTimer(timeoutMs));
    QMutexLocker locker(&m_state->mutex);
    while (!m_state->operations.isEmpty())
        if (!m_state->changed.wait(&m_state->mutex, deadline))
            return m_state->operations.isEmpty();
    return true;
}

} // namespace net
