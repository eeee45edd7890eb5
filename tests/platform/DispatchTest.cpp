#include "platform/Dispatch.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMutex>
#include <QSemaphore>
#include <QThread>

#include <atomic>
#include <memory>
#include <vector>

namespace {

TEST(Dispatch, RunLaterWaitsForTheEventLoopAndSkipsDeadContexts)
{
    std::vector<int> order;
    QObject alive;
    auto doomed = std::make_unique<QObject>();
    platform::runLater(&alive, [&] { order.push_back(1); });
    platform::runLater(doomed.get(), [&] { order.push_back(2); });
    platform::runOnMain([&] { order.push_back(3); });
    EXPECT_TRUE(order.empty());

    doomed.reset();
    QCoreApplication::processEvents();
    EXPECT_EQ(order, (std::vector<int> { 1, 3 }));
}

TEST(Dispatch, BackgroundWorkRunsOffTheMainThreadAndCanReportBack)
{
    QThread* worker = nullptr;
    bool reported = false;
    QSemaphore done;
    platform::runInBackground([&] {
        worker = QThread::currentThread();
        platform::runOnMain([&] {
            reported = QThread::currentThread() == QCoreApplication::instance()->thread();
            done.release();
        });
    });
    while (!done.tryAcquire())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_NE(worker, QCoreApplication::instance()->thread());
    EXPECT_TRUE(reported);
}

TEST(SerialQueue, RunsTasksInOrderOneAtATimeOnItsOwnThread)
{
    platform::SerialQueue queue(QStringLiteral("writer"));
    std::vector<int> order;
    std::atomic<int> concurrent { 0 };
    std::atomic<int> maxConcurrent { 0 };
    QThread* thread = nullptr;
    for (int i = 0; i < 50; ++i) {
        queue.async([&, i] {
            const int now = ++concurrent;
            maxConcurrent = std::max(maxConcurrent.load(), now);
            order.push_back(i);
            thread = QThread::currentThread();
            --concurrent;
        });
    }
    queue.waitUntilIdle();
    ASSERT_EQ(order.size(), 50u);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(order[size_t(i)], i);
    EXPECT_EQ(maxConcurrent.load(), 1);
    EXPECT_NE(thread, QThread::currentThread());
    EXPECT_TRUE(queue.isIdle());
}

TEST(SerialQueue, DestructionFinishesEveryQueuedTask)
{
    std::atomic<int> ran { 0 };
    {
        platform::SerialQueue queue(QStringLiteral("drain"));
        QSemaphore gate;
        queue.async([&] {
            gate.acquire();
            ++ran;
        });
        for (int i = 0; i < 10; ++i)
            queue.async([&] { ++ran; });
        gate.release();
    }
    EXPECT_EQ(ran.load(), 11);
}

} // namespace
