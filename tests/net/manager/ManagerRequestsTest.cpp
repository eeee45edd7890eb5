#include "net/manager/KNHTTPRequestOperationManager.h"

#include "net/support/EchoServer.h"
#include "support/Eventually.h"

#include <QCoreApplication>
#include <QSemaphore>
#include <QThread>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// What one request's blocks saw.
struct Outcome {
    int calls = 0;
    QVariantMap echo; // the echo server's description of the request
    std::optional<net::Error> error;
    bool onMainThread = false;
    KNHTTPRequestOperation* operation = nullptr; // compared, not used: it may be gone
    QByteArray method;
    bool operationFinished = false;

    KNHTTPRequestOperationManager::SuccessBlock success()
    {
        return [this](KNHTTPRequestOperation& op, const QVariant& object) {
            record(op);
            echo = object.toMap();
        };
    }
    KNHTTPRequestOperationManager::FailureBlock failure()
    {
        return [this](KNHTTPRequestOperation& op, const net::Error& reason) {
            record(op);
            error = reason;
        };
    }
    void record(KNHTTPRequestOperation& op)
    {
        ++calls;
        operation = &op;
        method = op.request().httpMethod();
        operationFinished = op.isFinished();
        onMainThread = QThread::currentThread() == qApp->thread();
    }
};

QList<QStringList> pairs(const QVariant& list)
{
    QList<QStringList> result;
    for (const QVariant& pair : list.toList())
        result << pair.toStringList();
    return result;
}

class ManagerRequests : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_server.isRunning()); }

    mervane::test::EchoServer m_server;
    const QVariantMap m_parameters { { u"amount"_s, u"12.5"_s }, { u"note"_s, u"rent & food"_s } };
    const QList<QStringList> m_expectedPairs { { u"amount"_s, u"12.5"_s }, { u"note"_s, u"rent & food"_s } };
};

} // namespace

TEST_F(ManagerRequests, EachMethodReachesTheServerWithItsParameters)
{
    KNHTTPRequestOperationManager manager(m_server.url(u"/api/v1"_s));
    using Call = std::shared_ptr<KNHTTPRequestOperation> (KNHTTPRequestOperationManager::*)(const QString&,
        const QVariant&, KNHTTPRequestOperationManager::SuccessBlock,
        KNHTTPRequestOperationManager::FailureBlock);
    const struct {
        const char* method;
        Call call;
        bool parametersInQuery;
    } cases[] = {
        { "GET", &KNHTTPRequestOperationManager::GET, true },
        { "POST", &KNHTTPRequestOperationManager::POST, false },
        { "PUT", &KNHTTPRequestOperationManager::PUT, false },
        { "PATCH", &KNHTTPRequestOperationManager::PATCH, false },
        { "DELETE", &KNHTTPRequestOperationManager::DELETE, true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.method);
        Outcome outcome;
        const auto operation
            = (manager.*c.call)(u"records"_s, m_parameters, outcome.success(), outcome.failure());
        ASSERT_TRUE(operation);
        EXPECT_EQ(operation->request().httpMethod(), QByteArray(c.method));
        EXPECT_EVENTUALLY(outcome.calls == 1);
        ASSERT_FALSE(outcome.error) << outcome.error->localizedDescription().toStdString();
        EXPECT_EQ(outcome.operation, operation.get());
        EXPECT_TRUE(outcome.onMainThread);
        EXPECT_EQ(outcome.echo.value(u"method"_s).toString(), QString::fromLatin1(c.method));
        EXPECT_EQ(outcome.echo.value(u"path"_s).toString(), u"/api/v1/records"_s);
        const QVariant sent = outcome.echo.value(c.parametersInQuery ? u"query_pairs"_s : u"form_pairs"_s);
        EXPECT_EQ(pairs(sent), m_expectedPairs);
    }
}

TEST_F(ManagerRequests, RelativeAndAbsoluteURLStrings)
{
    KNHTTPRequestOperationManager withSlash(m_server.url(u"/api/"_s));
    KNHTTPRequestOperationManager withoutSlash(m_server.url(u"/api"_s));
    Outcome viaSlash, viaNoSlash, absolute;
    withSlash.GET(u"items"_s, {}, viaSlash.success(), viaSlash.failure());
    withoutSlash.GET(u"items"_s, {}, viaNoSlash.success(), viaNoSlash.failure());
    // The base names another port of this machine that nothing is sent to.
    KNHTTPRequestOperationManager otherBase(QUrl(u"http://127.0.0.1:9/elsewhere/"_s));
    otherBase.GET(m_server.urlString(u"/direct?x=1"_s), {}, absolute.success(), absolute.failure());

    EXPECT_EVENTUALLY(viaSlash.calls && viaNoSlash.calls && absolute.calls);
    EXPECT_EQ(viaSlash.echo.value(u"path"_s).toString(), u"/api/items"_s);
    EXPECT_EQ(viaNoSlash.echo.value(u"path"_s).toString(), u"/api/items"_s);
    ASSERT_FALSE(absolute.error);
    EXPECT_EQ(absolute.echo.value(u"path"_s).toString(), u"/direct"_s);
    EXPECT_EQ(absolute.echo.value(u"query"_s).toString(), u"x=1"_s);
}

TEST_F(ManagerRequests, HEADSucceedsWithoutAnObject)
{
    KNHTTPRequestOperationManager manager(m_server.url());
    int successes = 0;
    std::optional<net::Error> failed;
    KNHTTPRequestOperation* seen = nullptr;
    const auto operation = manager.HEAD(
        u"status"_s, m_parameters,
        [&](KNHTTPRequestOperation& op) {
            ++successes;
            seen = &op;
        },
        [&](KNHTTPRequestOperation&, const net::Error& error) { failed = error; });
    ASSERT_TRUE(operation);
    EXPECT_EQ(operation->request().httpMethod(), QByteArray("HEAD"));
    EXPECT_EVENTUALLY(successes == 1 || failed);
    ASSERT_FALSE(failed) << failed->localizedDescription().toStdString();
    EXPECT_EQ(seen, operation.get());
    ASSERT_TRUE(operation->response());
    EXPECT_EQ(operation->response()->statusCode(), 200);
    EXPECT_TRUE(operation->request().url().query().contains(u"amount=12.5"_s));

    // Without a success block the request still goes.
    const auto quiet = manager.HEAD(u"status"_s, {}, nullptr, nullptr);
    ASSERT_TRUE(quiet);
    EXPECT_EVENTUALLY(quiet->isFinished());
    EXPECT_FALSE(quiet->error());
}

TEST_F(ManagerRequests, ACopyRunsOnItsOwnQueue)
{
    KNHTTPRequestOperationManager manager(m_server.url(u"/api"_s));
    manager.operationQueue().setMaxConcurrentOperationCount(1);
    const auto copy = manager.clone();
    EXPECT_EQ(copy->operationQueue().maxConcurrentOperationCount(), -1) << "a queue of the default settings";

    // The original's queue is held up by a job that waits for the test; the copy's request
    // goes through all the same.
    QSemaphore release;
    manager.operationQueue().addOperationWithBlock([&release] { release.acquire(); });
    Outcome held, fromCopy;
    manager.GET(u"held"_s, {}, held.success(), held.failure());
    copy->GET(u"copied"_s, {}, fromCopy.success(), fromCopy.failure());
    EXPECT_EVENTUALLY(fromCopy.calls == 1);
    EXPECT_EQ(fromCopy.echo.value(u"path"_s).toString(), u"/api/copied"_s);
    EXPECT_EQ(held.calls, 0);
    EXPECT_EQ(manager.operationQueue().operationCount(), 2);
    release.release();
    EXPECT_EVENTUALLY(held.calls == 1);
}

TEST_F(ManagerRequests, ARequestTheSerializerCannotBuildFailsWithoutBeingEnqueued)
{
    KNHTTPRequestOperationManager manager(m_server.url(u"/api/"_s));
    const net::Error refusal(
        u"test.query"_s, 77, { { net::localizedDescriptionKey, u"no query for you"_s } });
    manager.requestSerializer()->setQueryStringSerializationWithBlock(
        [refusal](const net::URLRequest&, const QVariant&, std::optional<net::Error>* error) {
            if (error)
                *error = refusal;
            return QString();
        });

    Outcome get;
    EXPECT_FALSE(manager.GET(u"records"_s, m_parameters, get.success(), get.failure()));
    EXPECT_EQ(manager.operationQueue().operationCount(), 0);
    EXPECT_EQ(get.calls, 0) << "the failure block runs later, on the completion queue";
    EXPECT_EVENTUALLY(get.calls == 1);
    ASSERT_TRUE(get.error);
    EXPECT_EQ(*get.error, refusal);
    EXPECT_TRUE(get.echo.isEmpty());
    EXPECT_TRUE(get.onMainThread);
    EXPECT_EQ(get.method, QByteArray("GET"));
    EXPECT_FALSE(get.operationFinished) << "never ran";

    // A completion queue of the caller's is used for the failure too, in the completion group.
    const auto queue = net::DispatchQueue::serial(u"manager.test.failure"_s);
    const auto group = std::make_shared<net::DispatchGroup>();
    manager.setCompletionQueue(queue);
    manager.setCompletionGroup(group);
    Outcome post;
    EXPECT_FALSE(manager.POST(u"records"_s, m_parameters, post.success(), post.failure()));
    ASSERT_TRUE(group->wait(5000));
    EXPECT_EQ(post.calls, 1);
    EXPECT_FALSE(post.onMainThread);
    ASSERT_TRUE(post.error);
    EXPECT_EQ(post.error->code(), 77);

    // Nothing to call: nothing happens.
    EXPECT_FALSE(manager.PUT(u"records"_s, m_parameters, nullptr, nullptr));
    EXPECT_TRUE(group->wait(5000));
}

TEST_F(ManagerRequests, MultipartPOSTSendsTheParametersThenTheBlocksParts)
{
    KNHTTPRequestOperationManager manager(m_server.url(u"/api"_s));
    Outcome outcome;
    const QByteArray receipt("%PDF-1.4 receipt\n\x01\x02", 20);
    const auto operation = manager.POST(
        u"upload"_s, QVariantMap { { u"month"_s, u"2026-11"_s } },
        [&receipt](net::KNMultipartFormData& form) {
            form.appendPartWithFileData(receipt, u"receipt"_s, u"receipt.pdf"_s, u"application/pdf"_s);
        },
        outcome.success(), outcome.failure());
    ASSERT_TRUE(operation);
    EXPECT_EVENTUALLY(outcome.calls == 1);
    ASSERT_FALSE(outcome.error) << outcome.error->localizedDescription().toStdString();
    EXPECT_EQ(outcome.echo.value(u"method"_s).toString(), u"POST"_s);
    EXPECT_EQ(outcome.echo.value(u"path"_s).toString(), u"/api/upload"_s);
    const QVariantList parts = outcome.echo.value(u"multipart"_s).toMap().value(u"parts"_s).toList();
    ASSERT_EQ(parts.size(), 2);
    EXPECT_EQ(parts[0].toMap().value(u"name"_s).toString(), u"month"_s);
    EXPECT_EQ(QByteArray::fromBase64(parts[0].toMap().value(u"body_base64"_s).toByteArray()), "2026-11");
    EXPECT_EQ(parts[1].toMap().value(u"name"_s).toString(), u"receipt"_s);
    EXPECT_EQ(parts[1].toMap().value(u"filename"_s).toString(), u"receipt.pdf"_s);
    EXPECT_EQ(QByteArray::fromBase64(parts[1].toMap().value(u"body_base64"_s).toByteArray()), receipt);
}
