#pragma once

#include "net/operation/NetOperation.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace net {

/// Starts the operations added to it as they become ready, in the order they were added,
/// with at most `maxConcurrentOperationCount` running at once (-1: no limit). Operations
/// start on worker threads; a synchronous one runs there, an asynchronous one only begins
/// there. Finished operations leave the queue.
class OperationQueue : public QObject {
    Q_OBJECT
public:
    explicit OperationQueue(QString name = {});
    /// Operations still in the queue are not cancelled; those running go on.
    ~OperationQueue() override;

    void addOperation(const std::shared_ptr<Operation>& operation);
    /// With `waitUntilFinished`, blocks until these operations finished.
    void addOperations(const QList<std::shared_ptr<Operation>>& operations, bool waitUntilFinished);
    void addOperationWithBlock(std::function<void()> block);

    QList<std::shared_ptr<Operation>> operations() const;
    int operationCount() const;
    int maxConcurrentOperationCount() const;
    void setMaxConcurrentOperationCount(int count);
    const QString& name() const { return m_name; }

    void cancelAllOperations();
    /// Blocks until the queue is empty, at most `timeoutMs` milliseconds (-1: for ever);
    /// false on time-out.
    bool waitUntilAllOperationsAreFinished(int timeoutMs = -1);

private:
    struct State;
    static void schedule(const std::shared_ptr<State>& state);

    QString m_name;
    std::shared_ptr<State> m_state;
};

} // namespace net
