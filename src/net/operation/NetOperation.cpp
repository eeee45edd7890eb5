#include "net/operation/NetOperation.h"

#include <QMutexLocker>

namespace net {

Operation::Operation() = default;
Operation::~Operation() = default;

void Operation::start()
{
    if (m_executing.load() || m_finished.load())
        return;
    if (!isCancelled()) {
        m_executing.store(true);
        didChangeExecuting();
        main();
        m_executing.store(false);
        didChangeExecuting();
    }
    m_finished.store(true);
    didFinish();
}

void Operation::cancel()
{
    markCancelled();
}

bool Operation::markCancelled()
{
    if (m_cancelled.exchange(true))
        return false;
    Q_EMIT cancelledChanged();
    Q_EMIT readyChanged();
    return true;
}

bool Operation::isReady() const
{
    if (isCancelled())
        return true;
    QMutexLocker locker(&m_mutex);
    for (const auto& dependency : m_dependencies)
        if (!dependency->isFinished())
            return false;
    return true;
}

void Operation::addDependency(const std::shared_ptr<Operation>& operation)
{
    {
        QMutexLocker locker(&m_mutex);
        if (!operation || operation.get() == this || m_dependencies.contains(operation))
            return;
        m_dependencies.append(operation);
    }
    connect(
        operation.get(), &Operation::finishedChanged, this, &Operation::readyChanged, Qt::DirectConnection);
    Q_EMIT readyChanged();
}

void Operation::removeDependency(const std::shared_ptr<Operation>& operation)
{
    {
        QMutexLocker locker(&m_mutex);
        if (!m_dependencies.removeOne(operation))
            return;
    }
    disconnect(operation.get(), &Operation::finishedChanged, this, &Operation::readyChanged);
    Q_EMIT readyChanged();
}

QList<std::shared_ptr<Operation>> Operation::dependencies() const
{
    QMutexLocker locker(&m_mutex);
    return m_dependencies;
}

void Operation::setCompletionBlock(std::function<void()> block)
{
    QMutexLocker locker(&m_mutex);
    m_completionBlock = std::move(block);
}

std::function<void()> Operation::completionBlock() const
{
    QMutexLocker locker(&m_mutex);
    return m_completionBlock;
}

void Operation::didFinish()
{
    Q_EMIT finishedChanged();
    if (m_completionStarted.exchange(true))
        return;
    if (std::function<void()> block = completionBlock())
        block();
}

std::shared_ptr<BlockOperation> BlockOperation::blockOperationWithBlock(std::function<void()> block)
{
    auto operation = std::make_shared<BlockOperation>();
    operation->addExecutionBlock(std::move(block));
    return operation;
}

void BlockOperation::addExecutionBlock(std::function<void()> block)
{
    m_blocks.append(std::move(block));
}

void BlockOperation::main()
{
    for (const auto& block : std::as_const(m_blocks))
        block();
}

} // namespace net
