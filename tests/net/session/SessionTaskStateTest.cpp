#include "SessionTestSupport.h"

#include "net/operation/KNNetworkThread.h"
#include "net/session/SessionNotifications.h"

#include "support/LocalHttpServer.h"

#include <gtest/gtest.h>

using namespace mervane::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class SessionTaskState : public ::testing::Test {
protected:
    SessionTaskState()
    {
        // A server that reads the request and never answers keeps a resumed task running.
        server.setReply(u"/silent"_s, LocalHttpServer::Reply::silent());
    }

    LocalHttpServer server;
    NotificationLog log { { notifications::sessionTaskDidResume, notifications::sessionTaskDidSuspend,
        notifications::taskDidResume, notifications::taskDidSuspend } };
};

TEST_F(SessionTaskState, ResumeAndSuspendAnnounceOnlyChangesOfState)
{
    auto manager = KNURLSessionManager::manager();
    const auto task = manager->dataTaskWithRequest(net::URLRequest(server.url(u"/silent"_s)), {});
    ASSERT_TRUE(task);
    EXPECT_EQ(task->state(), KNURLSessionTask::State::Suspended);

    task->suspend(); // already suspended
    EXPECT_TRUE(log.received.isEmpty());

    task->resume();
    EXPECT_EQ(task->state(), KNURLSessionTask::State::Running);
    // The hook's notice comes on the calling thread at once, the manager's later on the main queue.
    ASSERT_EQ(log.named(notifications::sessionTaskDidResume, task.get()).size(), 1);
    EXPECT_TRUE(log.named(notifications::taskDidResume).isEmpty());
    EXPECT_TRANSFERRED_EQ(log.named(notifications::taskDidResume, task.get()).size(), 1);

    task->resume(); // running already
    drainMainQueue();
    EXPECT_EQ(log.named(notifications::sessionTaskDidResume).size(), 1);
    EXPECT_EQ(log.named(notifications::taskDidResume).size(), 1);

    task->suspend();
    EXPECT_EQ(task->state(), KNURLSessionTask::State::Suspended);
    EXPECT_EQ(log.named(notifications::sessionTaskDidSuspend, task.get()).size(), 1);
    EXPECT_TRANSFERRED_EQ(log.named(notifications::taskDidSuspend, task.get()).size(), 1);
    task->suspend();
    drainMainQueue();
    EXPECT_EQ(log.named(notifications::sessionTaskDidSuspend).size(), 1);
    EXPECT_EQ(log.named(notifications::taskDidSuspend).size(), 1);

    task->resume();
    EXPECT_TRANSFERRED_EQ(log.named(notifications::taskDidResume, task.get()).size(), 2);
    task->cancel();
    EXPECT_TRANSFERRED(task->state() == KNURLSessionTask::State::Completed);
}

TEST_F(SessionTaskState, AManagerAnnouncesOnlyItsOwnTasks)
{
    auto first = KNURLSessionManager::manager();
    auto second = KNURLSessionManager::manager();
    // Both sessions number their tasks from 1: the identifier alone must not decide.
    const auto mine = first->dataTaskWithRequest(net::URLRequest(server.url(u"/silent"_s)), {});
    const auto theirs = second->dataTaskWithRequest(net::URLRequest(server.url(u"/silent"_s)), {});
    ASSERT_EQ(mine->taskIdentifier(), theirs->taskIdentifier());
    // A task of a session without a manager is announced by the hook alone.
    const auto bare = net::URLSession::sessionWithConfiguration({}, {}, nullptr);
    const auto lone = bare->dataTaskWithRequest(net::URLRequest(server.url(u"/silent"_s)));

    theirs->resume();
    lone->resume();
    mine->resume();
    EXPECT_TRANSFERRED_EQ(log.named(notifications::taskDidResume, mine.get()).size(), 1);
    drainMainQueue();
    EXPECT_EQ(log.named(notifications::taskDidResume, theirs.get()).size(), 1);
    EXPECT_EQ(log.named(notifications::taskDidResume, lone.get()).size(), 0);
    EXPECT_EQ(log.named(notifications::sessionTaskDidResume, lone.get()).size(), 1);
    EXPECT_EQ(log.named(notifications::taskDidResume).size(), 2);
    bare->invalidateAndCancel();
}

TEST_F(SessionTaskState, TaskListsAnswerFromEveryThreadIncludingTheNetworkThread)
{
    auto manager = KNURLSessionManager::manager();
    const net::URLRequest request(server.url(u"/silent"_s));
    const auto data = manager->dataTaskWithRequest(request, {});
    const auto upload = manager->uploadTaskWithRequest(request, QByteArray("body"), nullptr, {});
    const auto download = manager->downloadTaskWithRequest(request, nullptr, {}, {});

    EXPECT_EQ(manager->dataTasks(), KNURLSessionManager::TaskList({ data }));
    EXPECT_EQ(manager->uploadTasks(), KNURLSessionManager::TaskList({ upload }));
    EXPECT_EQ(manager->downloadTasks(), KNURLSessionManager::TaskList({ download }));
    EXPECT_EQ(manager->tasks(), KNURLSessionManager::TaskList({ data, upload, download }));
    EXPECT_TRUE(manager->tasksForKeyPath(u"somethingElse"_s).isEmpty());

    // The network thread is where the session answers: asking there must not wait for itself.
    std::atomic<bool> done = false;
    KNURLSessionManager::TaskList fromNetworkThread;
    KNNetworkThread::perform([&] {
        fromNetworkThread = manager->tasks();
        done = true;
    });
    EXPECT_TRANSFERRED(done.load());
    EXPECT_EQ(fromNetworkThread.size(), 3);

    // And from the delegate queue, inside a callback.
    std::atomic<int> seenInCallback = -1;
    manager->setTaskDidCompleteBlock([&](net::URLSession&, const auto&, const auto&) {
        if (seenInCallback.load() < 0)
            seenInCallback = int(manager->tasks().size());
    });
    data->cancel();
    EXPECT_TRANSFERRED(seenInCallback.load() >= 2);
    upload->cancel();
    download->cancel();
    EXPECT_TRANSFERRED(manager->tasks().isEmpty());
}

} // namespace
