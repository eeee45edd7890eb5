#include "SessionTestSupport.h"

#include "net/request/KNJSONRequestSerializer.h"
#include "net/security/KNSecurityPolicy.h"
#include "net/serialization/KNHTTPResponseSerializer.h"
#include "net/serialization/KNJSONResponseSerializer.h"
#include "net/session/KNHTTPSessionManager.h"

#include "net/support/EchoServer.h"

#include <QCryptographicHash>

#include <gtest/gtest.h>

using namespace mervane::test;
using namespace Qt::Literals::StringLiterals;

namespace {

/// What one success or failure block was called with.
struct Outcome {
    int successes = 0;
    int failures = 0;
    KNURLSessionManager::Task task;
    bool taskGiven = false;
    QVariant object;
    std::optional<net::Error> error;

    KNHTTPSessionManager::SuccessBlock success(const std::shared_ptr<Outcome>& self)
    {
        return [self](const KNURLSessionManager::Task& task, const QVariant& object) {
            ++self->successes;
            self->task = task;
            self->object = object;
        };
    }
    KNHTTPSessionManager::FailureBlock failure(const std::shared_ptr<Outcome>& self)
    {
        return [self](const KNURLSessionManager::Task& task, const net::Error& error) {
            ++self->failures;
            self->task = task;
            self->taskGiven = task != nullptr;
            self->error = error;
        };
    }
    int calls() const { return successes + failures; }
};

class HTTPSessionManager : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.isRunning()); }

    EchoServer server;
};

TEST(HTTPSessionManagerBaseURL, APathGetsATrailingSlashAndRelativePathsExtendIt)
{
    EXPECT_EQ(KNHTTPSessionManager::manager(QUrl(u"http://example.test/api"_s))->baseURL(),
        QUrl(u"http://example.test/api/"_s));
    EXPECT_EQ(KNHTTPSessionManager::manager(QUrl(u"http://example.test/api/"_s))->baseURL(),
        QUrl(u"http://example.test/api/"_s));
    EXPECT_EQ(KNHTTPSessionManager::manager(QUrl(u"http://example.test"_s))->baseURL(),
        QUrl(u"http://example.test"_s));
    EXPECT_TRUE(KNHTTPSessionManager::manager()->baseURL().isEmpty());
}

TEST_F(HTTPSessionManager, EveryMethodReachesTheServerUnderTheBaseURL)
{
    auto manager = KNHTTPSessionManager::manager(server.url(u"/v1"_s));
    const QVariantMap parameters { { u"a"_s, u"1 2"_s } };
    struct Case {
        QByteArray method;
        std::function<KNURLSessionManager::Task(const std::shared_ptr<Outcome>&)> call;
        QString query;
    };
    const QList<Case> cases {
        { "GET",
            [&](const auto& o) { return manager->GET(u"items"_s, parameters, o->success(o), o->failure(o)); },
            u"a=1%202"_s },
        { "POST",
            [&](const auto& o) {
                return manager->POST(u"items"_s, parameters, o->success(o), o->failure(o));
            },
            QString() },
        { "PUT",
            [&](const auto& o) { return manager->PUT(u"items"_s, parameters, o->success(o), o->failure(o)); },
            QString() },
        { "PATCH",
            [&](const auto& o) {
                return manager->PATCH(u"items"_s, parameters, o->success(o), o->failure(o));
            },
            QString() },
        { "DELETE",
            [&](const auto& o) {
                return manager->DELETE(u"items"_s, parameters, o->success(o), o->failure(o));
            },
            u"a=1%202"_s },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.method.toStdString());
        auto outcome = std::make_shared<Outcome>();
        const auto task = c.call(outcome);
        ASSERT_TRUE(task);
        EXPECT_NE(task->state(), KNURLSessionTask::State::Suspended) << "returned without being resumed";
        EXPECT_TRANSFERRED_EQ(outcome->calls(), 1);
        ASSERT_EQ(outcome->successes, 1);
        EXPECT_EQ(outcome->task, task);
        const QVariantMap echo = outcome->object.toMap();
        EXPECT_EQ(echo.value(u"method"_s).toByteArray(), c.method);
        EXPECT_EQ(echo.value(u"path"_s).toString(), u"/v1/items"_s);
        if (!c.query.isNull())
            EXPECT_EQ(echo.value(u"query"_s).toString(), c.query);
        else
            EXPECT_EQ(
                echo.value(u"form_pairs"_s).toList(), QVariantList({ QVariantList { u"a"_s, u"1 2"_s } }));
    }
}

TEST_F(HTTPSessionManager, HeadSucceedsWithTheTaskAlone)
{
    auto manager = KNHTTPSessionManager::manager(server.url(u"/"_s));
    int calls = 0;
    KNURLSessionManager::Task received;
    auto outcome = std::make_shared<Outcome>();
    const auto task = manager->HEAD(
        u"head"_s, {},
        [&](const KNURLSessionManager::Task& task) {
            ++calls;
            received = task;
        },
        outcome->failure(outcome));
    ASSERT_TRUE(task);
    EXPECT_TRANSFERRED_EQ(calls, 1);
    EXPECT_EQ(received, task);
    EXPECT_EQ(outcome->failures, 0);
    ASSERT_TRUE(task->response());
    EXPECT_EQ(task->response()->statusCode(), 200);
}

TEST_F(HTTPSessionManager, ARequestThatCannotBeBuiltFailsLaterWithoutATask)
{
    auto manager = KNHTTPSessionManager::manager(server.url(u"/"_s));
    const net::Error refusal(u"test.query"_s, 7);
    manager->requestSerializer()->setQueryStringSerializationWithBlock(
        [&](const net::URLRequest&, const QVariant&, std::optional<net::Error>* error) {
            if (error)
                *error = refusal;
            return QString();
        });
    auto outcome = std::make_shared<Outcome>();
    EXPECT_FALSE(manager->GET(
        u"items"_s, QVariantMap { { u"a"_s, 1 } }, outcome->success(outcome), outcome->failure(outcome)));
    EXPECT_EQ(outcome->calls(), 0); // not before the call returned
    EXPECT_TRANSFERRED_EQ(outcome->failures, 1);
    drainMainQueue();
    EXPECT_EQ(outcome->calls(), 1);
    EXPECT_FALSE(outcome->taskGiven);
    EXPECT_EQ(outcome->error, refusal);
    EXPECT_TRUE(manager->tasks().isEmpty());
}

TEST_F(HTTPSessionManager, FailuresReachTheFailureBlockWithTheTask)
{
    auto manager = KNHTTPSessionManager::manager(server.url(u"/"_s));
    auto outcome = std::make_shared<Outcome>();
    const auto task = manager->GET(u"status/500"_s, {}, outcome->success(outcome), outcome->failure(outcome));
    EXPECT_TRANSFERRED_EQ(outcome->calls(), 1);
    EXPECT_EQ(outcome->failures, 1);
    EXPECT_EQ(outcome->task, task);
    ASSERT_TRUE(outcome->error);
    EXPECT_EQ(outcome->error->code(), net::badServerResponse);
}

TEST_F(HTTPSessionManager, AMultipartPostUploadsItsParts)
{
    auto manager = KNHTTPSessionManager::manager(server.url(u"/forms/"_s));
    const QByteArray file(20000, 'z');
    auto outcome = std::make_shared<Outcome>();
    const auto task = manager->POST(
        u"upload"_s, QVariantMap { { u"field"_s, u"value"_s } },
        [&](net::KNMultipartFormData& form) {
            form.appendPartWithFileData(file, u"file"_s, u"z.bin"_s, u"application/octet-stream"_s);
        },
        outcome->success(outcome), outcome->failure(outcome));
    ASSERT_TRUE(task);
    EXPECT_EQ(task->kind(), KNURLSessionTask::Kind::Upload);
    EXPECT_TRANSFERRED_EQ(outcome->calls(), 1);
    ASSERT_EQ(outcome->successes, 1) << (outcome->error ? outcome->error->localizedDescription().toStdString()
                                                        : "");
    const QVariantMap echo = outcome->object.toMap();
    EXPECT_EQ(echo.value(u"path"_s).toString(), u"/forms/upload"_s);
    const QVariantList parts = echo.value(u"multipart"_s).toMap().value(u"parts"_s).toList();
    ASSERT_EQ(parts.size(), 2);
    EXPECT_EQ(parts[0].toMap().value(u"name"_s).toString(), u"field"_s);
    EXPECT_EQ(parts[1].toMap().value(u"filename"_s).toString(), u"z.bin"_s);
    EXPECT_EQ(parts[1].toMap().value(u"sha256"_s).toByteArray(),
        QCryptographicHash::hash(file, QCryptographicHash::Sha256).toHex());
}

TEST(HTTPSessionManagerCopies, CopiesAndArchivesKeepBaseURLSerializersAndConfiguration)
{
    net::URLSessionConfiguration configuration
        = net::URLSessionConfiguration::backgroundSessionConfiguration(u"bg"_s);
    auto original = KNHTTPSessionManager::manager(QUrl(u"http://example.test/api"_s), configuration);
    original->setRequestSerializer(net::KNJSONRequestSerializer::serializer());
    original->requestSerializer()->setValue(QByteArray("secret"), "X-Token");
    auto response = KNHTTPResponseSerializer::serializer();
    response->setAcceptableStatusCodes(QSet<int> { 201 });
    original->setResponseSerializer(response);
    auto policy = KNSecurityPolicy::policyWithPinningMode(KNSSLPinningMode::Certificate);
    original->setSecurityPolicy(policy);

    for (const auto& copy : { std::dynamic_pointer_cast<KNHTTPSessionManager>(original->clone()),
             KNHTTPSessionManager::fromArchive(original->archive()) }) {
        ASSERT_TRUE(copy);
        EXPECT_EQ(copy->baseURL(), QUrl(u"http://example.test/api/"_s));
        EXPECT_EQ(copy->sessionConfiguration(), configuration);
        EXPECT_NE(copy->requestSerializer(), original->requestSerializer());
        EXPECT_TRUE(std::dynamic_pointer_cast<net::KNJSONRequestSerializer>(copy->requestSerializer()));
        EXPECT_EQ(copy->requestSerializer()->valueForHTTPHeaderField("X-Token"), QByteArray("secret"));
        const auto copiedResponse
            = std::dynamic_pointer_cast<KNHTTPResponseSerializer>(copy->responseSerializer());
        ASSERT_TRUE(copiedResponse);
        EXPECT_NE(copiedResponse, response);
        EXPECT_EQ(copiedResponse->acceptableStatusCodes(), std::optional<QSet<int>>(QSet<int> { 201 }));
    }
    EXPECT_EQ(original->clone()->securityPolicy()->SSLPinningMode(), KNSSLPinningMode::Certificate);

    // An archive that names its background session only by identifier restores it so.
    QVariantMap byIdentifier = original->archive();
    byIdentifier.remove(u"sessionConfiguration"_s);
    byIdentifier.insert(u"identifier"_s, u"bg.2"_s);
    EXPECT_EQ(KNHTTPSessionManager::fromArchive(byIdentifier)->sessionConfiguration().identifier, u"bg.2"_s);
    EXPECT_TRUE(original->description().startsWith(u"<KNHTTPSessionManager: 0x"_s));
    EXPECT_TRUE(original->description().contains(u"baseURL: http://example.test/api/"_s));
}

} // namespace
