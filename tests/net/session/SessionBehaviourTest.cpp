#include "SessionTestSupport.h"

#include "net/security/KNSecurityPolicy.h"
#include "net/serialization/KNHTTPResponseSerializer.h"
#include "net/session/SessionNotifications.h"
#include "net/session/SessionProgress.h"

#include "support/LocalHttpServer.h"
#include "support/TestCertificates.h"

#include <QCryptographicHash>
#include <QSemaphore>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace mervane::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class SessionBehaviour : public ::testing::Test {
protected:
    SessionBehaviour()
    {
        manager->setResponseSerializer(KNHTTPResponseSerializer::serializer());
        server.setReply(u"/silent"_s, LocalHttpServer::Reply::silent());
        server.setReply(u"/to"_s, { 200, {}, "arrived" });
        server.setReply(u"/from"_s, { 302, { { "Location", "/to" } }, "moved" });
    }

    std::shared_ptr<Completion> run(const net::URLRequest& request)
    {
        auto completion = std::make_shared<Completion>();
        manager->dataTaskWithRequest(request, Completion::recorder(completion))->resume();
        EXPECT_TRANSFERRED_EQ(completion->calls, 1);
        return completion;
    }

    LocalHttpServer server;
    std::shared_ptr<KNURLSessionManager> manager = KNURLSessionManager::manager();
};

TEST_F(SessionBehaviour, InvalidatingCancelsTheTasksAndThenAnnouncesItself)
{
    NotificationLog log { { notifications::sessionDidInvalidate } };
    std::atomic<int> invalidated = 0;
    manager->setSessionDidBecomeInvalidBlock([&](net::URLSession&, const auto&) { ++invalidated; });
    auto completion = std::make_shared<Completion>();
    const auto task = manager->dataTaskWithRequest(
        net::URLRequest(server.url(u"/silent"_s)), Completion::recorder(completion));
    task->resume();

    manager->invalidateSessionCancelingTasks(true);
    EXPECT_TRANSFERRED_EQ(log.received.size(), 1);
    EXPECT_EQ(log.received.first().object.value<net::URLSession*>(), manager->session().get());
    EXPECT_EQ(invalidated.load(), 1);
    EXPECT_TRANSFERRED_EQ(completion->calls, 1);
    ASSERT_TRUE(completion->error);
    EXPECT_TRUE(completion->error->is(net::urlErrorDomain, net::cancelled));
    EXPECT_EQ(task->state(), KNURLSessionTask::State::Completed);
    EXPECT_FALSE(manager->dataTaskWithRequest(net::URLRequest(server.url(u"/to"_s)), {}));
}

TEST_F(SessionBehaviour, RedirectsAreFollowedUnlessTheRedirectBlockStopsThem)
{
    const auto followed = run(net::URLRequest(server.url(u"/from"_s)));
    EXPECT_FALSE(followed->error);
    EXPECT_EQ(followed->object.toByteArray(), QByteArray("arrived"));

    int asked = 0;
    manager->setTaskWillPerformHTTPRedirectionBlock(
        [&](net::URLSession&, const auto&, const net::URLResponse& response,
            const net::URLRequest& request) -> std::optional<net::URLRequest> {
            ++asked;
            EXPECT_EQ(response.statusCode(), 302);
            EXPECT_EQ(request.url(), server.url(u"/to"_s));
            return std::nullopt;
        });
    const auto stopped = run(net::URLRequest(server.url(u"/from"_s)));
    EXPECT_EQ(asked, 1);
    ASSERT_TRUE(stopped->response);
    EXPECT_EQ(stopped->response->statusCode(), 302);
    EXPECT_EQ(server.requestCount(u"/to"_s), 1);
}

TEST_F(SessionBehaviour, AResponseBlockCanRefuseTheBody)
{
    int dataCallbacks = 0;
    manager->setDataTaskDidReceiveDataBlock(
        [&](net::URLSession&, const auto&, const QByteArray&) { ++dataCallbacks; });
    manager->setDataTaskDidReceiveResponseBlock(
        [](net::URLSession&, const auto&, const net::URLResponse& response) {
            return response.statusCode() == 200 ? net::SessionResponseDisposition::Cancel
                                                : net::SessionResponseDisposition::Allow;
        });
    const auto refused = run(net::URLRequest(server.url(u"/to"_s)));
    ASSERT_TRUE(refused->error);
    EXPECT_TRUE(refused->error->is(net::urlErrorDomain, net::cancelled));
    EXPECT_EQ(dataCallbacks, 0);
}

TEST_F(SessionBehaviour, ADownloadSuspendedWhileItRunsArrivesWholeOnceResumed)
{
    const QByteArray body = QCryptographicHash::hash("seed", QCryptographicHash::Sha512).repeated(40000);
    // The server holds its answer until the test has suspended the task.
    std::atomic<bool> asked = false;
    QSemaphore answer;
    server.setHandler(u"/big"_s, [&](const LocalHttpServer::Request&) {
        asked = true;
        answer.tryAcquire(1, 10000);
        return LocalHttpServer::Reply { 200, {}, body };
    });
    QTemporaryDir folder;
    auto completion = std::make_shared<Completion>();
    const auto task = manager->downloadTaskWithRequest(
        net::URLRequest(server.url(u"/big"_s)), nullptr,
        [&](const QUrl&, const auto&) { return QUrl::fromLocalFile(folder.filePath(u"big.bin"_s)); },
        Completion::recorder(completion));
    task->resume();
    EXPECT_TRANSFERRED(asked.load());
    task->suspend();
    answer.release();
    EXPECT_EQ(task->state(), KNURLSessionTask::State::Suspended);
    task->resume();
    EXPECT_TRANSFERRED_EQ(completion->calls, 1);
    EXPECT_FALSE(completion->error);
    QFile file(folder.filePath(u"big.bin"_s));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll() == body);
}

TEST_F(SessionBehaviour, ACancelledDownloadGoesOnFromItsResumeData)
{
    const QByteArray body = QCryptographicHash::hash("resume", QCryptographicHash::Sha512).repeated(8000);
    constexpr qint64 firstPart = 100000;
    // The first answer stops half-way and stays open; later ones honour the range asked for.
    server.setHandler(u"/ranged"_s, [&](const LocalHttpServer::Request& request) {
        if (!request.header("Range")) {
            LocalHttpServer::Reply reply { 200, { { "ETag", "\"v1\"" } }, body };
            reply.holdAfterBodyBytes = firstPart;
            return reply;
        }
        return LocalHttpServer::rangeReply(request, body, "\"v1\"");
    });
    std::atomic<qint64> written = 0;
    manager->setDownloadTaskDidWriteDataBlock(
        [&](net::URLSession&, const auto&, qint64, qint64 total, qint64) { written = total; });
    std::atomic<qint64> resumedAt = -1, resumedTotal = -1;
    manager->setDownloadTaskDidResumeBlock([&](net::URLSession&, const auto&, qint64 offset, qint64 total) {
        resumedAt = offset;
        resumedTotal = total;
    });

    auto cancelled = std::make_shared<Completion>();
    const auto first = manager->downloadTaskWithRequest(
        net::URLRequest(server.url(u"/ranged"_s)), nullptr, {}, Completion::recorder(cancelled));
    first->resume();
    EXPECT_TRANSFERRED(written.load() == firstPart);
    QByteArray resumeData;
    std::atomic<bool> produced = false;
    first->cancelByProducingResumeData([&](const QByteArray& data) {
        resumeData = data;
        produced = true;
    });
    EXPECT_TRANSFERRED(produced.load());
    ASSERT_FALSE(resumeData.isEmpty());
    EXPECT_TRANSFERRED_EQ(cancelled->calls, 1);
    ASSERT_TRUE(cancelled->error);
    EXPECT_TRUE(cancelled->error->is(net::urlErrorDomain, net::cancelled));

    QTemporaryDir folder;
    std::shared_ptr<net::Progress> progress;
    auto completion = std::make_shared<Completion>();
    const auto second = manager->downloadTaskWithResumeData(
        resumeData, &progress,
        [&](const QUrl&, const auto&) { return QUrl::fromLocalFile(folder.filePath(u"whole.bin"_s)); },
        Completion::recorder(completion));
    ASSERT_TRUE(second);
    second->resume();
    EXPECT_TRANSFERRED_EQ(completion->calls, 1);
    EXPECT_FALSE(completion->error);
    EXPECT_EQ(resumedAt.load(), firstPart);
    EXPECT_EQ(resumedTotal.load(), body.size());
    EXPECT_EQ(progress->completedUnitCount(), body.size());
    EXPECT_EQ(server.requests().last().header("Range"), QByteArray("bytes=100000-"));
    QFile file(folder.filePath(u"whole.bin"_s));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll() == body);

    EXPECT_FALSE(manager->downloadTaskWithResumeData("not resume data", nullptr, {}, {}));
}

TEST_F(SessionBehaviour, ADataTaskCanBecomeADownloadOnceItsResponseArrived)
{
    const QByteArray body = QCryptographicHash::hash("become", QCryptographicHash::Sha512).repeated(5000);
    server.setReply(u"/file"_s, { 200, {}, body });
    QTemporaryDir folder;
    const QUrl destination = QUrl::fromLocalFile(folder.filePath(u"file.bin"_s));
    std::atomic<int> dataCallbacks = 0;
    KNURLSessionManager::Task from, to;
    manager->setDataTaskDidReceiveResponseBlock([](net::URLSession&, const auto&, const auto&) {
        return net::SessionResponseDisposition::BecomeDownload;
    });
    manager->setDataTaskDidBecomeDownloadTaskBlock(
        [&](net::URLSession&, const auto& dataTask, const auto& downloadTask) {
            from = dataTask;
            to = downloadTask;
        });
    manager->setDataTaskDidReceiveDataBlock(
        [&](net::URLSession&, const auto&, const QByteArray&) { ++dataCallbacks; });
    manager->setDownloadTaskDidFinishDownloadingBlock(
        [&](net::URLSession&, const auto&, const QUrl&) { return destination; });

    // The data task's handler follows the transfer into the download.
    const auto completion = run(net::URLRequest(server.url(u"/file"_s)));
    EXPECT_FALSE(completion->error);
    EXPECT_EQ(completion->object.toUrl(), destination);
    ASSERT_TRUE(from && to);
    EXPECT_EQ(from->kind(), KNURLSessionTask::Kind::Data);
    EXPECT_EQ(from->state(), KNURLSessionTask::State::Completed);
    EXPECT_EQ(to->kind(), KNURLSessionTask::Kind::Download);
    EXPECT_NE(to->taskIdentifier(), from->taskIdentifier());
    EXPECT_EQ(dataCallbacks.load(), 0);
    QFile file(destination.toLocalFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll() == body);
    EXPECT_TRANSFERRED(manager->tasks().isEmpty());
}

TEST_F(SessionBehaviour, ALoginIsAnsweredByTheTaskChallengeBlock)
{
    const auto guarded = [](QByteArray realm) {
        return [realm](const LocalHttpServer::Request& request) {
            if (request.header("Authorization") == "Basic " + QByteArray("ann:pw").toBase64())
                return LocalHttpServer::Reply { 200, {}, "welcome" };
            return LocalHttpServer::Reply { 401, { { "WWW-Authenticate", "Basic realm=\"" + realm + "\"" } },
                "who?" };
        };
    };
    server.setHandler(u"/private"_s, guarded("vault"));
    // The network layer keeps a login for later transfers to the same server: another asks again.
    LocalHttpServer other;
    other.setHandler(u"/other"_s, guarded("cellar"));
    const net::URLRequest request(server.url(u"/private"_s));

    const auto unanswered = run(request);
    ASSERT_TRUE(unanswered->response);
    EXPECT_EQ(unanswered->response->statusCode(), 401);

    QString realm;
    manager->setTaskDidReceiveAuthenticationChallengeBlock(
        [&](net::URLSession&, const auto&, const net::AuthenticationChallenge& challenge,
            std::optional<net::URLCredential>* credential) {
            realm = challenge.realm;
            if (challenge.previousFailureCount > 0)
                return net::SessionChallengeDisposition::CancelAuthenticationChallenge;
            *credential = net::URLCredential { u"ann"_s, u"pw"_s };
            return net::SessionChallengeDisposition::UseCredential;
        });
    const auto answered = run(request);
    EXPECT_FALSE(answered->error);
    EXPECT_EQ(answered->object.toByteArray(), QByteArray("welcome"));
    EXPECT_EQ(realm, u"vault"_s);

    manager->setTaskDidReceiveAuthenticationChallengeBlock(
        [](net::URLSession&, const auto&, const auto&, auto*) {
            return net::SessionChallengeDisposition::CancelAuthenticationChallenge;
        });
    const auto cancelled = run(net::URLRequest(other.url(u"/other"_s)));
    ASSERT_TRUE(cancelled->error);
    EXPECT_TRUE(cancelled->error->is(net::urlErrorDomain, net::userCancelledAuthentication));
}

class SessionServerTrust : public SessionBehaviour {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(certs.ok()) << certs.errorText().toStdString();
        server.useTls(certs.selfSigned().certificate, certs.selfSigned().key, certs.selfSigned().chain);
        server.setReply(u"/secret"_s, { 200, {}, "secret" });
    }

    TestCertificates certs;
};

TEST_F(SessionServerTrust, TheSecurityPolicyDecidesWhichServersAreTrusted)
{
    const auto refused = run(net::URLRequest(server.url(u"/secret"_s)));
    ASSERT_TRUE(refused->error);
    EXPECT_TRUE(refused->error->is(net::urlErrorDomain, net::cancelled)) << refused->error->code();
    EXPECT_EQ(server.requestCount(u"/secret"_s), 0) << "nothing is sent to a refused server";

    auto pinning = KNSecurityPolicy::policyWithPinningMode(KNSSLPinningMode::Certificate);
    pinning->setPinnedCertificates(QList<QByteArray> { certs.selfSigned().der });
    manager->setSecurityPolicy(pinning);
    const auto accepted = run(net::URLRequest(server.url(u"/secret"_s)));
    EXPECT_FALSE(accepted->error)
        << accepted->error.value_or(net::Error()).localizedDescription().toStdString();
    EXPECT_EQ(accepted->object.toByteArray(), QByteArray("secret"));

    // A copy keeps the policy, so it trusts the same server.
    const auto copy = manager->clone();
    copy->setResponseSerializer(KNHTTPResponseSerializer::serializer());
    auto completion = std::make_shared<Completion>();
    copy->dataTaskWithRequest(net::URLRequest(server.url(u"/secret"_s)), Completion::recorder(completion))
        ->resume();
    EXPECT_TRANSFERRED_EQ(completion->calls, 1);
    EXPECT_FALSE(completion->error);
}

TEST_F(SessionServerTrust, RedirectsThatLeaveHttpsFail)
{
    auto pinning = KNSecurityPolicy::policyWithPinningMode(KNSSLPinningMode::Certificate);
    pinning->setPinnedCertificates(QList<QByteArray> { certs.selfSigned().der });
    manager->setSecurityPolicy(pinning);
    LocalHttpServer plain;
    plain.setReply(u"/clear"_s, { 200, {}, "in the clear" });
    server.setReply(u"/down"_s, { 302, { { "Location", plain.url(u"/clear"_s).toEncoded() } }, {} });
    const auto down = run(net::URLRequest(server.url(u"/down"_s)));
    ASSERT_TRUE(down->error);
    EXPECT_EQ(down->error->code(), net::secureConnectionRequired);
    EXPECT_EQ(plain.requestCount(u"/clear"_s), 0);

    // A block that turns a secure redirect into a plain request is not obeyed either.
    server.setReply(u"/across"_s, { 302, { { "Location", "/secret" } }, {} });
    manager->setTaskWillPerformHTTPRedirectionBlock(
        [&](net::URLSession&, const auto&, const net::URLResponse&,
            const net::URLRequest& request) -> std::optional<net::URLRequest> {
            net::URLRequest next = request;
            next.setUrl(plain.url(u"/clear"_s));
            return next;
        });
    const auto rewritten = run(net::URLRequest(server.url(u"/across"_s)));
    ASSERT_TRUE(rewritten->error);
    EXPECT_EQ(rewritten->error->code(), net::secureConnectionRequired);
    EXPECT_EQ(plain.requestCount(u"/clear"_s), 0);
}

} // namespace
