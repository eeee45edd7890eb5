// A streamed body is read once; when a login or a redirect makes the request go out again,
// the session asks for a new stream and never sends a spent one. Whatever ends a task, the
// body it handed to a reply lasts as long as that reply.
#include "SessionTestSupport.h"

#include "net/request/KNHTTPRequestSerializer.h"
#include "net/request/KNMultipartBodyStream.h"
#include "net/serialization/KNHTTPResponseSerializer.h"

#include "support/LocalHttpServer.h"
#include "support/RedirectHops.h"

#include <QBuffer>
#include <QFile>
#include <QIODevice>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <algorithm>
#include <atomic>

#include <gtest/gtest.h>

using namespace mervane::test;
using namespace Qt::Literals::StringLiterals;

namespace {

const QByteArray login = "Basic " + QByteArray("ann:pw").toBase64();

class SessionBodyStream : public ::testing::Test {
protected:
    SessionBodyStream()
    {
        const auto echo = [](const LocalHttpServer::Request& request) {
            return LocalHttpServer::Reply { 200, {}, request.body };
        };
        server.setHandler(u"/login"_s, [echo](const LocalHttpServer::Request& request) {
            if (request.header("Authorization") == login)
                return echo(request);
            return LocalHttpServer::Reply { 401, { { "WWW-Authenticate", "Basic realm=\"vault\"" } },
                "who?" };
        });
        server.setHandler(u"/echo"_s, echo);
        server.setHandler(u"/elsewhere"_s, echo);
        server.setReply(u"/temporary"_s, { 307, { { "Location", "/echo" } }, {} });
        server.setReply(u"/permanent"_s, { 308, { { "Location", "/echo" } }, {} });
    }

    /// A session that logs in with the password when asked; a login it answered is not asked
    /// for again.
    static std::shared_ptr<KNURLSessionManager> loggingInManager()
    {
        auto manager = KNURLSessionManager::manager();
        manager->setResponseSerializer(KNHTTPResponseSerializer::serializer());
        manager->setTaskDidReceiveAuthenticationChallengeBlock(
            [](net::URLSession&, const auto&, const net::AuthenticationChallenge& challenge,
                std::optional<net::URLCredential>* credential) {
                if (challenge.previousFailureCount > 0)
                    return net::SessionChallengeDisposition::CancelAuthenticationChallenge;
                *credential = net::URLCredential { u"ann"_s, u"pw"_s };
                return net::SessionChallengeDisposition::UseCredential;
            });
        return manager;
    }

    /// A POST of a streamed multipart body to `path`, with its length announced.
    net::URLRequest multipartRequest(const QString& path)
    {
        auto request = net::KNHTTPRequestSerializer::serializer()->multipartFormRequestWithMethod("POST",
            server.url(path).toString(), { { u"field"_s, u"value"_s } }, [](net::KNMultipartFormData& form) {
                form.appendPartWithFormData(QByteArray(50000, 'm'), u"big"_s);
            });
        EXPECT_TRUE(request && request->httpBodyStream());
        return *request;
    }

    /// The request's body, read from a copy of its stream.
    static QByteArray bodyOf(const net::URLRequest& request)
    {
        auto copy = qobject_cast<net::KNMultipartBodyStream*>(request.httpBodyStream().get())->copy();
        copy->open(QIODevice::ReadOnly);
        return copy->readAll();
    }

    std::shared_ptr<Completion> upload(const net::URLRequest& request)
    {
        auto completion = std::make_shared<Completion>();
        manager->uploadTaskWithStreamedRequest(request, nullptr, Completion::recorder(completion))->resume();
        EXPECT_TRANSFERRED_EQ(completion->calls, 1);
        return completion;
    }

    /// The bodies of the requests for `path` that carried the login.
    QList<QByteArray> loggedInBodies(const QString& path) const
    {
        QList<QByteArray> bodies;
        for (const auto& request : server.requests())
            if (request.path == path.toLatin1() && request.header("Authorization") == login)
                bodies.append(request.body);
        return bodies;
    }

    LocalHttpServer server;
    std::shared_ptr<KNURLSessionManager> manager = loggingInManager();
};

} // namespace

TEST_F(SessionBodyStream, ALoginSendsACopyOfACopyableStream)
{
    const net::URLRequest request = multipartRequest(u"/login"_s);
    const QByteArray body = bodyOf(request);
    const auto copied = upload(request);
    EXPECT_FALSE(copied->error) << copied->error->code()
                                << copied->error->localizedDescription().toStdString();
    EXPECT_EQ(copied->object.toByteArray(), body);
    EXPECT_EQ(loggedInBodies(u"/login"_s), QList<QByteArray> { body });
}

TEST_F(SessionBodyStream, TheBlocksStreamIsSentAgainInsteadOfTheSpentOne)
{
    const QByteArray replacement(4, 'r');
    net::URLRequest request(server.url(u"/login"_s));
    request.setHttpMethod("POST");
    request.setValue(QByteArray("4"), "Content-Length");
    request.setHttpBodyStream(std::make_shared<OneTimeBody>("body"));
    int asked = 0;
    manager->setTaskNeedNewBodyStreamBlock([&](net::URLSession&, const auto& task) {
        ++asked;
        EXPECT_EQ(task->originalRequest().url(), request.url());
        return std::make_shared<OneTimeBody>(replacement);
    });
    const auto answered = upload(request);
    EXPECT_FALSE(answered->error);
    EXPECT_EQ(answered->object.toByteArray(), replacement);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(loggedInBodies(u"/login"_s), QList<QByteArray> { replacement });
}

TEST_F(SessionBodyStream, AStreamThatCannotBeCopiedFailsTheTaskInsteadOfSendingItSpent)
{
    net::URLRequest request(server.url(u"/login"_s));
    request.setHttpMethod("POST");
    request.setValue(QByteArray("4"), "Content-Length");
    request.setHttpBodyStream(std::make_shared<OneTimeBody>("body"));
    const auto failed = upload(request);
    ASSERT_TRUE(failed->error);
    EXPECT_TRUE(failed->error->is(net::urlErrorDomain, net::requestBodyStreamExhausted));
    EXPECT_TRUE(loggedInBodies(u"/login"_s).isEmpty());
}

TEST_F(SessionBodyStream, RedirectsThatKeepTheBodySendItWholeToTheNewAddress)
{
    for (const QString& path : { u"/temporary"_s, u"/permanent"_s }) {
        SCOPED_TRACE(path.toStdString());
        const net::URLRequest request = multipartRequest(path);
        const auto moved = upload(request);
        EXPECT_FALSE(moved->error) << moved->error->code()
                                   << moved->error->localizedDescription().toStdString();
        EXPECT_EQ(moved->object.toByteArray(), bodyOf(request));
    }

    // A redirect block that sends the request somewhere else of its own choosing.
    manager->setTaskWillPerformHTTPRedirectionBlock(
        [&](net::URLSession&, const auto&, const net::URLResponse&, const net::URLRequest& proposed) {
            net::URLRequest next = proposed;
            next.setUrl(server.url(u"/elsewhere"_s));
            return std::optional(next);
        });
    const net::URLRequest request = multipartRequest(u"/temporary"_s);
    const auto chosen = upload(request);
    EXPECT_FALSE(chosen->error);
    EXPECT_EQ(chosen->object.toByteArray(), bodyOf(request));
    EXPECT_EQ(server.requestCount(u"/elsewhere"_s), 1);

    // A file is read again from its start: no new stream is asked for.
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    file.write(QByteArray(30000, 'f'));
    file.close();
    auto stream = std::make_shared<QFile>(file.fileName());
    ASSERT_TRUE(stream->open(QIODevice::ReadOnly));
    net::URLRequest fromFile(server.url(u"/temporary"_s));
    fromFile.setHttpMethod("PUT");
    fromFile.setValue(QByteArray("30000"), "Content-Length");
    fromFile.setHttpBodyStream(stream);
    const auto reread = upload(fromFile);
    EXPECT_FALSE(reread->error);
    EXPECT_EQ(reread->object.toByteArray(), QByteArray(30000, 'f'));
    EXPECT_EQ(server.requestCount(u"/elsewhere"_s), 2);
}

TEST_F(SessionBodyStream, EachSendingAfterALoginOrARedirectAsksForOneNewStream)
{
    server.setReply(u"/to-login"_s, { 307, { { "Location", "/login" } }, {} });
    const QByteArray body(30000, 'b');
    std::atomic<int> asked = 0;
    for (const QString& path : { u"/login"_s, u"/temporary"_s, u"/to-login"_s }) {
        for (int round = 0; round < 10; ++round) {
            SCOPED_TRACE(path.toStdString());
            // A new session, which has not logged in yet.
            manager = loggingInManager();
            manager->setTaskNeedNewBodyStreamBlock([&](net::URLSession&, const auto&) {
                ++asked;
                return std::make_shared<OneTimeBody>(body);
            });
            asked = 0;
            net::URLRequest request(server.url(path));
            request.setHttpMethod("POST");
            request.setValue(QByteArray::number(body.size()), "Content-Length");
            request.setHttpBodyStream(std::make_shared<OneTimeBody>(body));
            const auto answered = upload(request);
            EXPECT_FALSE(answered->error);
            EXPECT_EQ(answered->object.toByteArray(), body);
            // The redirect to the login is one sending more.
            EXPECT_EQ(asked.load(), path == u"/to-login"_s ? 2 : 1);
        }
    }
}

TEST_F(SessionBodyStream, ABodyLastsUntilItsReplyIsGoneHoweverTheTaskEnds)
{
    // Each task goes through 307 and 308, which keep the body, then one of every redirect
    // status to an answer, while its manager ends at some moment. The server notes every body
    // that arrived other than whole.
    const auto bodyOf = [](int task) { return QByteArray::number(task).repeated(4000 + task); };
    const RedirectHops hops(server, bodyOf);

    const int statuses[] = { 301, 302, 303, 307, 308 };
    constexpr int tasksPerSession = 30;
    constexpr int requestsPerTask = 4;
    // The managers end at several moments of their chains, counted in requests the server saw.
    const int moments[] = { 0, 1, tasksPerSession / 2, tasksPerSession, 2 * tasksPerSession,
        3 * tasksPerSession, requestsPerTask * tasksPerSession };
    enum class Ending { CancelAll, LetFinish, DropManager };
    QList<std::weak_ptr<QIODevice>> streams;
    QTemporaryDir folder; // for every fourth task, which uploads a file
    int round = 0;
    for (const int moment : moments) {
        for (const Ending ending : { Ending::CancelAll, Ending::LetFinish, Ending::DropManager }) {
            SCOPED_TRACE(u"round %1: after %2 requests"_s.arg(round).arg(moment).toStdString());
            auto manager = KNURLSessionManager::manager();
            QList<KNURLSessionManager::Task> tasks;
            const int before = hops.arrived();
            for (int i = 0; i < tasksPerSession; ++i) {
                const int task = round * tasksPerSession + i;
                net::URLRequest request(server.url(
                    RedirectHops::path(task, u"307,308,%1"_s.arg(statuses[task % std::size(statuses)]))));
                request.setHttpMethod("POST");
                if (task % 4 == 3) {
                    QFile file(folder.filePath(QString::number(task)));
                    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bodyOf(task)) > 0);
                    file.close();
                    tasks.append(manager->uploadTaskWithRequest(
                        request, QUrl::fromLocalFile(file.fileName()), nullptr, nullptr));
                } else {
                    auto buffer = std::make_shared<QBuffer>();
                    buffer->setData(bodyOf(task));
                    buffer->open(QIODevice::ReadOnly);
                    request.setHttpBodyStream(buffer);
                    streams.append(buffer);
                    tasks.append(manager->uploadTaskWithStreamedRequest(request, nullptr, nullptr));
                }
                tasks.last()->resume();
            }
            EXPECT_TRANSFERRED(hops.arrived() - before >= moment);
            for (int i = 0; i < tasks.size(); i += 3)
                tasks[i]->cancel();
            if (ending == Ending::CancelAll)
                manager->invalidateSessionCancelingTasks(true);
            else if (ending == Ending::LetFinish)
                manager->session()->finishTasksAndInvalidate();
            manager.reset();
            tasks.clear();
            ++round;
        }
    }
    // Every stream is let go once the replies that read it are gone.
    EXPECT_TRANSFERRED(
        std::all_of(streams.cbegin(), streams.cend(), [](const auto& stream) { return stream.expired(); }));
    EXPECT_EQ(hops.wrongBodies(), QStringList());
}
