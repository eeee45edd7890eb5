#include "SessionTestSupport.h"

#include "net/reachability/KNNetworkReachabilityManager.h"
#include "net/security/KNSecurityPolicy.h"
#include "net/serialization/KNJSONResponseSerializer.h"
#include "net/session/SessionNotifications.h"

#include "net/support/EchoServer.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

using namespace mervane::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class SessionManagerCompletion : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.isRunning()); }

    EchoServer server;
    std::shared_ptr<KNURLSessionManager> manager = KNURLSessionManager::manager();
    QStringList events;
    NotificationLog log { { notifications::taskDidComplete } };
};

TEST_F(SessionManagerCompletion, AFailedTaskCallsItsHandlerOnceAndThenPostsTheError)
{
    auto completion = std::make_shared<Completion>();
    completion->events = &events;
    const auto task
        = manager->dataTaskWithRequest(net::URLRequest(refusedURL()), Completion::recorder(completion));
    platform::NotificationCenter::defaultCenter().addObserver(
        &log, notifications::taskDidComplete,
        [this](const platform::Notification&) { events.append(u"notification"_s); },
        QVariant::fromValue(static_cast<QObject*>(task.get())));
    task->resume();
    EXPECT_TRANSFERRED_EQ(log.named(notifications::taskDidComplete, task.get()).size(), 1);
    drainMainQueue();

    EXPECT_EQ(completion->calls, 1);
    EXPECT_EQ(events, QStringList({ u"completion"_s, u"notification"_s }));
    ASSERT_TRUE(completion->error);
    EXPECT_TRUE(completion->error->is(net::urlErrorDomain, net::cannotConnectToHost));
    EXPECT_FALSE(completion->object.isValid());

    const QVariantMap userInfo = log.named(notifications::taskDidComplete, task.get()).first().userInfo;
    EXPECT_EQ(userInfo.value(notifications::taskDidCompleteErrorKey).value<net::Error>(), *completion->error);
    ASSERT_TRUE(userInfo.contains(notifications::taskDidCompleteResponseDataKey));
    EXPECT_TRUE(userInfo.value(notifications::taskDidCompleteResponseDataKey).toByteArray().isEmpty());
    EXPECT_FALSE(userInfo.contains(notifications::taskDidCompleteSerializedResponseKey));
    EXPECT_EQ(userInfo.value(notifications::taskDidCompleteResponseSerializerKey)
                  .value<std::shared_ptr<KNURLResponseSerialization>>(),
        manager->responseSerializer());
    // A completed task leaves the manager's books.
    EXPECT_FALSE(manager->delegateForTask(*task));
}

TEST_F(SessionManagerCompletion, ASuccessfulTaskHandsOverTheSerializedBody)
{
    auto completion = std::make_shared<Completion>();
    net::URLRequest request(server.url(u"/hello?x=1"_s));
    request.setValue(QByteArray("yes"), "X-Probe");
    const auto task = manager->dataTaskWithRequest(request, Completion::recorder(completion));
    task->resume();
    EXPECT_TRANSFERRED_EQ(log.named(notifications::taskDidComplete, task.get()).size(), 1);

    EXPECT_EQ(completion->calls, 1);
    EXPECT_FALSE(completion->error);
    ASSERT_TRUE(completion->response);
    EXPECT_EQ(completion->response->statusCode(), 200);
    const QVariantMap echo = completion->object.toMap();
    EXPECT_EQ(echo.value(u"path"_s).toString(), u"/hello"_s);
    EXPECT_EQ(echo.value(u"query"_s).toString(), u"x=1"_s);
    EXPECT_EQ(echo.value(u"headers"_s).toMap().value(u"x-probe"_s).toString(), u"yes"_s);

    const QVariantMap userInfo = log.named(notifications::taskDidComplete, task.get()).first().userInfo;
    EXPECT_EQ(userInfo.value(notifications::taskDidCompleteSerializedResponseKey), completion->object);
    EXPECT_FALSE(userInfo.contains(notifications::taskDidCompleteErrorKey));
    // The raw body travels too, and is what the serializer decoded.
    EXPECT_EQ(
        QJsonDocument::fromJson(userInfo.value(notifications::taskDidCompleteResponseDataKey).toByteArray())
            .toVariant(),
        completion->object);
    EXPECT_EQ(
        manager->reachabilityManager()->networkReachabilityStatus(), KNNetworkReachabilityStatus::Unknown)
        << "never started by the manager";
}

TEST_F(SessionManagerCompletion, AnUnacceptableStatusGetsTheSerializersErrorAndObject)
{
    auto completion = std::make_shared<Completion>();
    const auto task = manager->dataTaskWithRequest(
        net::URLRequest(server.url(u"/status/404"_s)), Completion::recorder(completion));
    task->resume();
    EXPECT_TRANSFERRED_EQ(completion->calls, 1);

    ASSERT_TRUE(completion->error);
    EXPECT_EQ(completion->error->domain(), KNURLResponseSerializationErrorDomain);
    EXPECT_EQ(completion->error->code(), net::badServerResponse);
    ASSERT_TRUE(completion->response);
    EXPECT_EQ(completion->response->statusCode(), 404);
    EXPECT_EQ(completion->error->userInfo()
                  .value(KNNetworkingOperationFailingURLResponseErrorKey)
                  .value<net::URLResponse>(),
        *completion->response);
    // Whatever the serializer returned alongside its error is passed on unchanged.
    std::optional<net::Error> expectedError;
    const QVariant expected = manager->responseSerializer()->responseObjectForResponse(*completion->response,
        completion->error->userInfo()
            .value(KNNetworkingOperationFailingURLResponseDataErrorKey)
            .toByteArray(),
        &expectedError);
    EXPECT_EQ(completion->object, expected);
    EXPECT_TRANSFERRED_EQ(log.named(notifications::taskDidComplete, task.get()).size(), 1);
    EXPECT_EQ(log.named(notifications::taskDidComplete, task.get())
                  .first()
                  .userInfo.value(notifications::taskDidCompleteErrorKey)
                  .value<net::Error>(),
        *completion->error);
}

TEST_F(SessionManagerCompletion, CompletionsRunOnTheChosenQueueInTheChosenGroup)
{
    const auto queue = net::DispatchQueue::serial(u"test.session.completion"_s);
    const auto group = std::make_shared<net::DispatchGroup>();
    manager->setCompletionQueue(queue);
    manager->setCompletionGroup(group);
    std::atomic<bool> onMain = true;
    std::atomic<int> calls = 0;
    const auto task = manager->dataTaskWithRequest(
        net::URLRequest(server.url(u"/q"_s)), [&](const auto&, const QVariant&, const auto&) {
            onMain = QThread::currentThread() == QCoreApplication::instance()->thread();
            ++calls;
        });
    task->resume();
    EXPECT_TRANSFERRED(calls.load() == 1);
    EXPECT_TRUE(group->wait(5000));
    EXPECT_FALSE(onMain.load());
}

TEST_F(SessionManagerCompletion, CopiesAndArchivesKeepTheConfigurationAndTheCopyKeepsThePolicy)
{
    net::URLSessionConfiguration configuration
        = net::URLSessionConfiguration::backgroundSessionConfiguration(u"id.1"_s);
    configuration.HTTPAdditionalHeaders = { { "X-App", "mervane" } };
    configuration.URLCacheDirectory = u"/nowhere/cache"_s; // made only with a first task
    configuration.URLCacheDiskCapacity = 4096;
    auto original = KNURLSessionManager::manager(configuration);
    auto pinning = KNSecurityPolicy::policyWithPinningMode(KNSSLPinningMode::PublicKey);
    pinning->setValidatesDomainName(false);
    original->setSecurityPolicy(pinning);
    EXPECT_EQ(original->reachabilityManager(), KNNetworkReachabilityManager::sharedManager());
    EXPECT_FALSE(original->attemptsToRecreateUploadTasksForBackgroundSessions());
    original->setReachabilityManager(KNNetworkReachabilityManager::managerForDomain(u"example.test"_s));
    original->setAttemptsToRecreateUploadTasksForBackgroundSessions(true);

    const auto copy = original->clone();
    EXPECT_EQ(copy->reachabilityManager(), KNNetworkReachabilityManager::sharedManager());
    EXPECT_FALSE(copy->attemptsToRecreateUploadTasksForBackgroundSessions());
    EXPECT_NE(copy->session(), original->session());
    EXPECT_EQ(copy->sessionConfiguration(), configuration);
    ASSERT_TRUE(copy->securityPolicy());
    EXPECT_NE(copy->securityPolicy(), pinning); // a copy, not the same object
    EXPECT_EQ(copy->securityPolicy()->SSLPinningMode(), KNSSLPinningMode::PublicKey);
    EXPECT_FALSE(copy->securityPolicy()->validatesDomainName());

    const auto restored = KNURLSessionManager::fromArchive(original->archive());
    EXPECT_EQ(restored->sessionConfiguration(), configuration);
    EXPECT_TRUE(std::dynamic_pointer_cast<KNJSONResponseSerializer>(restored->responseSerializer()));
    EXPECT_TRUE(original->description().contains(u"session: <URLSession"_s));
}

} // namespace
