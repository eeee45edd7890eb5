#include "net/operation/KNHTTPRequestOperation.h"
#include "net/serialization/KNJSONResponseSerializer.h"
#include "net/serialization/KNXMLParserResponseSerializer.h"
#include "platform/XMLParser.h"

#include "support/Eventually.h"
#include "support/LocalHttpServer.h"

#include <QCryptographicHash>
#include <QThread>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using mervane::test::LocalHttpServer;

namespace {

const QByteArray rates = "<?xml version=\"1.0\"?><Envelope><Cube currency=\"USD\" rate=\"1.08\"/></Envelope>";

struct Outcome {
    int successes = 0;
    int failures = 0;
    QVariant object;
    std::optional<net::Error> error;
    QThread* thread = nullptr;
};

class HTTPRequestOperationTest : public ::testing::Test {
protected:
    std::shared_ptr<KNHTTPRequestOperation> operationFor(const QString& path)
    {
        return std::make_shared<KNHTTPRequestOperation>(net::URLRequest(server.url(path), 60.0));
    }

    static void observe(KNHTTPRequestOperation& operation, Outcome& outcome)
    {
        operation.setCompletionBlockWithSuccess(
            [&outcome](KNHTTPRequestOperation&, const QVariant& object) {
                ++outcome.successes;
                outcome.object = object;
                outcome.thread = QThread::currentThread();
            },
            [&outcome](KNHTTPRequestOperation&, const net::Error& error) {
                ++outcome.failures;
                outcome.error = error;
                outcome.thread = QThread::currentThread();
            });
    }

    LocalHttpServer server;
};

QByteArray sha256(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

} // namespace

TEST_F(HTTPRequestOperationTest, TheRateDownloadGetsAnXMLParserOnTheMainThread)
{
    server.setReply(u"/rates.xml"_s, { 200, { { "Content-Type", "text/xml" } }, rates });
    auto operation = operationFor(u"/rates.xml"_s);
    operation->setResponseSerializer(KNXMLParserResponseSerializer::serializer());
    Outcome outcome;
    observe(*operation, outcome);
    operation->start();
    EXPECT_EVENTUALLY(outcome.successes == 1);
    EXPECT_EQ(outcome.failures, 0);
    EXPECT_EQ(outcome.thread, qApp->thread());
    const auto parser = outcome.object.value<std::shared_ptr<platform::XMLParser>>();
    ASSERT_TRUE(parser);
    EXPECT_TRUE(parser->parse());

    // A caller that keeps no reference still hears the outcome, and the operation goes
    // away after its blocks ran.
    Outcome dropped;
    std::weak_ptr<KNHTTPRequestOperation> released;
    {
        auto again = operationFor(u"/rates.xml"_s);
        again->setResponseSerializer(KNXMLParserResponseSerializer::serializer());
        observe(*again, dropped);
        again->start();
        released = again;
    }
    EXPECT_EVENTUALLY(dropped.successes == 1);
    EXPECT_EVENTUALLY(released.expired());
}

TEST_F(HTTPRequestOperationTest, AnErrorStatusFailsWithTheResponseAndObjectKept)
{
    server.setReply(u"/missing.xml"_s, { 404, { { "Content-Type", "text/xml" } }, rates });
    server.setReply(u"/page"_s, { 200, { { "Content-Type", "text/html" } }, "<html/>" });
    auto missing = operationFor(u"/missing.xml"_s);
    auto html = operationFor(u"/page"_s);
    Outcome missingOutcome, htmlOutcome;
    for (const auto& operation : { missing, html })
        operation->setResponseSerializer(KNXMLParserResponseSerializer::serializer());
    observe(*missing, missingOutcome);
    observe(*html, htmlOutcome);
    missing->start();
    html->start();
    EXPECT_EVENTUALLY(missingOutcome.failures == 1 && htmlOutcome.failures == 1);

    ASSERT_TRUE(missingOutcome.error);
    EXPECT_EQ(missingOutcome.error->code(), net::badServerResponse);
    EXPECT_EQ(missingOutcome.error->localizedDescription(), u"Request failed: not found (404)"_s);
    EXPECT_EQ(missing->response()->statusCode(), 404);
    EXPECT_TRUE(missing->responseObject().value<std::shared_ptr<platform::XMLParser>>())
        << "the parser is kept alongside the status error";
    EXPECT_EQ(missing->error(), missingOutcome.error);
    EXPECT_EQ(htmlOutcome.error->code(), net::cannotDecodeContentData);
    EXPECT_FALSE(html->responseObject().isValid());
    EXPECT_EQ(missingOutcome.successes + htmlOutcome.successes, 0);
}

TEST_F(HTTPRequestOperationTest, AJSONBodyInTheCharsetTheServerNamesDecodes)
{
    server.setReply(u"/latin1"_s,
        { 200, { { "Content-Type", "application/json; charset=iso-8859-1" } }, "{\"name\": \"caf\xe9\"}" });
    auto operation = operationFor(u"/latin1"_s);
    operation->setResponseSerializer(KNJSONResponseSerializer::serializer());
    Outcome outcome;
    observe(*operation, outcome);
    operation->start();
    EXPECT_EVENTUALLY(outcome.successes + outcome.failures == 1);
    EXPECT_EQ(outcome.successes, 1);
    EXPECT_EQ(outcome.object.toMap().value(u"name"_s).toString(), u"café"_s);
}

TEST_F(HTTPRequestOperationTest, ACancelledTransferReachesTheFailureBlockOnce)
{
    server.setReply(u"/hang"_s, LocalHttpServer::Reply::silent());
    auto operation = operationFor(u"/hang"_s);
    Outcome outcome;
    observe(*operation, outcome);
    operation->start();
    operation->cancel();
    EXPECT_EVENTUALLY(outcome.failures == 1);
    EXPECT_TRUE(outcome.error->is(net::urlErrorDomain, net::cancelled));
    EXPECT_EQ(outcome.error->failingURL(), server.url(u"/hang"_s));
    QCoreApplication::processEvents();
    EXPECT_EQ(outcome.failures + outcome.successes, 1);
}

TEST_F(HTTPRequestOperationTest, ANewSerializerSerializesAgainAndACallerGroupWaitsForTheCallbacks)
{
    server.setReply(u"/rates.xml"_s, { 200, { { "Content-Type", "text/xml" } }, rates });
    auto operation = operationFor(u"/rates.xml"_s);
    const auto group = std::make_shared<net::DispatchGroup>();
    const auto queue = net::DispatchQueue::serial(u"test.http"_s);
    operation->setCompletionGroup(group);
    operation->setCompletionQueue(queue);
    Outcome outcome;
    observe(*operation, outcome);
    operation->start();
    EXPECT_EVENTUALLY(operation->isFinished());
    ASSERT_TRUE(group->wait(5000));
    EXPECT_EQ(outcome.successes, 1) << "the group is left only after the callback ran";
    EXPECT_NE(outcome.thread, qApp->thread());
    EXPECT_EQ(outcome.object.toByteArray(), rates) << "the default serializer hands back the bytes";

    operation->setResponseSerializer(KNXMLParserResponseSerializer::serializer());
    EXPECT_TRUE(operation->responseObject().value<std::shared_ptr<platform::XMLParser>>());
    const auto restored = KNHTTPRequestOperation::fromArchive(operation->archive());
    EXPECT_TRUE(std::dynamic_pointer_cast<KNXMLParserResponseSerializer>(restored->responseSerializer()));
    const auto copy = std::static_pointer_cast<KNHTTPRequestOperation>(operation->clone());
    EXPECT_TRUE(std::dynamic_pointer_cast<KNXMLParserResponseSerializer>(copy->responseSerializer()));
    EXPECT_NE(copy->responseSerializer(), operation->responseSerializer());
}

class RangeResumeTest : public HTTPRequestOperationTest {
protected:
    /// Serves `body`, stalling the first transfer after `stallAt` bytes; later requests get
    /// what `answer` makes of them.
    void serve(const QByteArray& body, qint64 stallAt,
        std::function<LocalHttpServer::Reply(const LocalHttpServer::Request&)> answer)
    {
        server.setHandler(
            u"/file"_s, [=, first = std::make_shared<bool>(true)](const LocalHttpServer::Request& request) {
                if (std::exchange(*first, false)) {
                    LocalHttpServer::Reply reply = LocalHttpServer::rangeReply(request, body, "\"v7\"");
                    reply.holdAfterBodyBytes = stallAt;
                    return reply;
                }
                return answer(request);
            });
    }

    /// Starts, waits for the stalled bytes, pauses.
    std::shared_ptr<KNHTTPRequestOperation> pausedAfter(qint64 bytes)
    {
        auto operation = operationFor(u"/file"_s);
        qint64 received = 0;
        operation->setDownloadProgressBlock([&received](qint64, qint64 total, qint64) { received = total; });
        operation->start();
        EXPECT_EVENTUALLY(received == bytes);
        operation->setDownloadProgressBlock(nullptr);
        operation->pause();
        return operation;
    }
};

TEST_F(RangeResumeTest, APartialAnswerFromTheHeldOffsetIsAppended)
{
    const QByteArray body = QByteArray("0123456789abcdef").repeated(4096);
    serve(body, 500, [body](const LocalHttpServer::Request& request) {
        return LocalHttpServer::rangeReply(request, body, "\"v7\"");
    });
    auto operation = pausedAfter(500);
    EXPECT_EQ(operation->request().valueForHTTPHeaderField("Range"), QByteArray("bytes=500-"));
    EXPECT_EQ(operation->request().valueForHTTPHeaderField("If-Range"), QByteArray("\"v7\""));
    operation->resume();
    EXPECT_EVENTUALLY(operation->isFinished());
    EXPECT_FALSE(operation->error());
    EXPECT_EQ(operation->response()->statusCode(), 206);
    ASSERT_TRUE(operation->responseData());
    EXPECT_EQ(sha256(*operation->responseData()), sha256(body));
    ASSERT_EQ(server.requests().size(), 2);
    EXPECT_EQ(server.requests()[1].header("Range"), QByteArray("bytes=500-"));
}

TEST_F(RangeResumeTest, AWholeAnswerReplacesTheHeldBytesAndAWrongOffsetFails)
{
    const QByteArray body = QByteArray("ABCDEFGHIJ").repeated(1000);
    serve(body, 300, [body](const LocalHttpServer::Request&) {
        return LocalHttpServer::Reply { 200, {}, body };
    });
    auto restarted = pausedAfter(300);
    restarted->resume();
    EXPECT_EVENTUALLY(restarted->isFinished());
    EXPECT_FALSE(restarted->error());
    EXPECT_EQ(restarted->responseData(), body) << "the held 300 bytes are not kept in front";

    LocalHttpServer::Request from100;
    from100.headers = { { "Range", "bytes=100-" } };
    serve(body, 300, [body, from100](const LocalHttpServer::Request&) {
        return LocalHttpServer::rangeReply(from100, body);
    });
    auto misplaced = pausedAfter(300);
    misplaced->resume();
    EXPECT_EVENTUALLY(misplaced->isFinished());
    ASSERT_TRUE(misplaced->error());
    EXPECT_EQ(misplaced->error()->code(), net::badServerResponse);
}

TEST_F(RangeResumeTest, APauseThatDoesNotTakeEffectAsksForNoRange)
{
    server.setReply(u"/ok"_s, { 200, { { "ETag", "\"e\"" } }, "done" });
    auto finished = operationFor(u"/ok"_s);
    finished->start();
    EXPECT_EVENTUALLY(finished->isFinished());
    finished->pause();
    EXPECT_FALSE(finished->request().valueForHTTPHeaderField("Range"));

    auto cancelled = operationFor(u"/ok"_s);
    cancelled->cancel();
    cancelled->pause();
    EXPECT_FALSE(cancelled->isPaused());
    EXPECT_FALSE(cancelled->request().valueForHTTPHeaderField("Range"));

    auto beforeStart = operationFor(u"/ok"_s);
    beforeStart->pause();
    EXPECT_TRUE(beforeStart->isPaused());
    EXPECT_FALSE(beforeStart->request().valueForHTTPHeaderField("Range")) << "nothing held, nothing to skip";
    beforeStart->resume();
    EXPECT_EVENTUALLY(beforeStart->isFinished());
    EXPECT_EQ(beforeStart->responseData(), QByteArray("done"));
}
