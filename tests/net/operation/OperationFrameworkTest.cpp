#include "net/operation/NetDispatch.h"
#include "net/operation/NetOperation.h"
#include "net/operation/NetOperationQueue.h"

#include "support/Eventually.h"

#include <QMutex>
#include <QSemaphore>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>

using namespace Qt::Literals::StringLiterals;

TEST(DispatchTest, QueuesRunOnTheirThreadsAndGroupsNotifyOnceEmpty)
{
    QThread* mainThread = QThread::currentThread();
    std::atomic<QThread*> ranOn { nullptr };
    net::DispatchQueue::main()->async([&] { ranOn = QThread::currentThread(); });
    EXPECT_EQ(ranOn.load(), nullptr) << "the main queue runs later, not inside async";
    EXPECT_EVENTUALLY(ranOn.load() == mainThread);

    const auto serial = net::DispatchQueue::serial(u"test.serial"_s);
    const auto group = std::make_shared<net::DispatchGroup>();
    QMutex orderMutex;
    QList<int> order;
    for (int i = 0; i < 50; ++i)
        net::DispatchGroup::async(group, serial, [&, i] {
            QMutexLocker locker(&orderMutex);
            order.append(i);
        });
    QThread* notifiedOn = nullptr;
    group->notify(net::DispatchQueue::main(), [&] { notifiedOn = QThread::currentThread(); });
    ASSERT_TRUE(group->wait(5000));
    QList<int> expected;
    for (int i = 0; i < 50; ++i)
        expected.append(i);
    EXPECT_EQ(order, expected) << "a serial queue keeps the order";
    EXPECT_EVENTUALLY(notifiedOn == mainThread);

    // wait() times out while work is outstanding, and notify waits for the last leave.
    group->enter();
    EXPECT_FALSE(group->wait(10));
    bool notified = false;
    group->notify(net::DispatchQueue::main(), [&] { notified = true; });
    QCoreApplication::processEvents();
    EXPECT_FALSE(notified);
    group->leave();
    EXPECT_EVENTUALLY(notified);
}

TEST(OperationQueueTest, DependenciesOrderTheWorkAndTheLimitIsKept)
{
    net::OperationQueue queue(u"test"_s);
    queue.setMaxConcurrentOperationCount(2);
    std::atomic<int> running { 0 };
    std::atomic<int> mostAtOnce { 0 };
    QSemaphore release;
    QList<std::shared_ptr<net::Operation>> workers;
    for (int i = 0; i < 6; ++i)
        workers.append(net::BlockOperation::blockOperationWithBlock([&] {
            const int now = ++running;
            for (int seen = mostAtOnce.load(); now > seen && !mostAtOnce.compare_exchange_weak(seen, now);) {
            }
            release.acquire();
            --running;
        }));
    std::atomic<int> finishedBeforeLast { -1 };
    const auto last = net::BlockOperation::blockOperationWithBlock([&] {
        int finished = 0;
        for (const auto& worker : workers)
            finished += worker->isFinished() ? 1 : 0;
        finishedBeforeLast = finished;
    });
    for (const auto& worker : workers)
        last->addDependency(worker);
    std::atomic<int> completions { 0 };
    last->setCompletionBlock([&] { ++completions; });

    queue.addOperation(last); // added first, still runs last
    queue.addOperations(workers, false);
    EXPECT_FALSE(last->isReady());
    release.release(6);
    ASSERT_TRUE(queue.waitUntilAllOperationsAreFinished(5000));
    EXPECT_EQ(finishedBeforeLast.load(), 6);
    EXPECT_LE(mostAtOnce.load(), 2);
    // The completion block runs after its operation finished, so it may trail the wait.
    EXPECT_EVENTUALLY_EQ(completions.load(), 1);
    EXPECT_EQ(queue.operationCount(), 0);
}

TEST(OperationQueueTest, ACancelledOperationFinishesWithoutRunningItsWork)
{
    net::OperationQueue queue;
    bool ran = false;
    const auto blocker = std::make_shared<net::BlockOperation>(); // never added: never finishes
    const auto operation = net::BlockOperation::blockOperationWithBlock([&] { ran = true; });
    operation->addDependency(blocker);
    queue.addOperation(operation);
    EXPECT_FALSE(operation->isReady());
    operation->cancel();
    operation->cancel();
    ASSERT_TRUE(queue.waitUntilAllOperationsAreFinished(5000));
    EXPECT_TRUE(operation->isFinished());
    EXPECT_TRUE(operation->isCancelled());
    EXPECT_FALSE(ran);
}
