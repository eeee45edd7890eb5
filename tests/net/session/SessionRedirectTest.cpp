// Redirects that the session follows by itself: whatever the status, method and body, the
// task ends with the final answer alone, never with the redirect's headers mixed into it,
// and a streamed body that must go again is asked for once per hop. Each kind of task runs
// in a chain of its own, the next task starting the moment the last one completed, so that
// every redirect is answered at once: that is where the final answer used to meet what was
// left of the redirect in the reply.
#include "SessionTestSupport.h"

#include "net/support/EchoServer.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QEventLoop>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QTimer>

#include <gtest/gtest.h>

using namespace mervane::test;
using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int rounds = 200;
const int statuses[] = { 301, 302, 303, 307, 308 };

/// How a request carries its body.
enum class Body { None, Data, Upload, Buffer, OneTime };
const Body bodies[] = { Body::None, Body::Data, Body::Upload, Body::Buffer, Body::OneTime };

const char* nameOf(Body body)
{
    switch (body) {
    case Body::None:
        return "GET";
    case Body::Data:
        return "POST with a data body";
    case Body::Upload:
        return "POST uploaded from data";
    case Body::Buffer:
        return "POST from a rewindable buffer";
    case Body::OneTime:
        return "POST from a stream read once";
    }
    return "";
}

struct Kind {
    int status;
    Body body;
};

/// One task and what the server must have answered it.
struct Sent {
    Kind kind {};
    QByteArray body;
    std::shared_ptr<Completion> completion = std::make_shared<Completion>();
    int askedForBody = 0; // by the time it completed
};

/// Tasks one after the other, going through their kinds in turn, `rounds` times.
struct Chain {
    QList<Kind> kinds;
    int started = 0;
    std::shared_ptr<KNURLSessionManager> manager;
    int pauseMs = 0; // between one task's completion and the next one's start

    int length() const { return rounds * int(kinds.size()); }
};

class SessionRedirect : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.isRunning()); }

    /// A session whose need-new-body-stream block counts its questions per task and hands a
    /// fresh copy of that task's body.
    std::shared_ptr<KNURLSessionManager> session()
    {
        auto manager = KNURLSessionManager::manager();
        manager->setTaskNeedNewBodyStreamBlock(
            [this](net::URLSession&, const KNURLSessionManager::Task& task) {
                QMutexLocker locker(&m_mutex);
                ++m_asked[task.get()];
                return std::make_shared<OneTimeBody>(m_bodies.value(task.get()));
            });
        return manager;
    }

    /// Runs the chains side by side: in one session for all, or in a new session for every
    /// task.
    void runChains(QList<Chain> chains, bool sessionPerTask)
    {
        const auto shared = session();
        m_expected = 0;
        for (Chain& chain : chains) {
            chain.manager = sessionPerTask ? session() : shared;
            m_expected += chain.length();
        }
        for (Chain& chain : chains)
            startNext(chain, sessionPerTask);
        // Run until the last completion. The bound, counted again from every completion, only
        // keeps a broken build from hanging: a slow machine takes longer but never stalls.
        m_stall.setSingleShot(true);
        m_stall.setInterval(transferOutcomeBoundMs);
        QObject::connect(&m_stall, &QTimer::timeout, &m_loop, &QEventLoop::quit);
        m_stall.start();
        m_loop.exec();
        EXPECT_EQ(m_completed, m_expected);
        for (auto it = m_failures.cbegin(); it != m_failures.cend(); ++it)
            ADD_FAILURE() << it.value() << " of " << rounds << " times: " << it.key().toStdString();
    }

    /// Starts the chain's next task, whose redirect leads to the echo; its completion starts
    /// the one after it.
    void startNext(Chain& chain, bool sessionPerTask)
    {
        const int number = chain.started / int(chain.kinds.size());
        auto sent = std::make_shared<Sent>();
        sent->kind = chain.kinds[chain.started % chain.kinds.size()];
        ++chain.started;
        auto task = std::make_shared<KNURLSessionManager::Task>();
        const auto handler = [this, alive = std::weak_ptr(m_alive), sent, task, &chain, sessionPerTask,
                                 record = Completion::recorder(sent->completion)](
                                 const auto& response, const QVariant& object, const auto& error) {
            record(response, object, error);
            if (alive.expired())
                return; // the test gave up waiting
            {
                QMutexLocker locker(&m_mutex);
                sent->askedForBody = m_asked.take(task->get());
                m_bodies.remove(task->get());
            }
            task->reset(); // which holds this handler
            note(*sent);
            // The session is let go, and the next task started, once this handler returned.
            net::DispatchQueue::main()->async([this, alive, &chain, sessionPerTask] {
                if (alive.expired())
                    return;
                m_stall.start();
                if (++m_completed == m_expected) {
                    m_loop.quit();
                } else if (chain.started < chain.length()) {
                    if (sessionPerTask)
                        chain.manager = session();
                    QTimer::singleShot(chain.pauseMs, [this, alive, &chain, sessionPerTask] {
                        if (!alive.expired())
                            startNext(chain, sessionPerTask);
                    });
                }
            });
        };
        KNURLSessionManager& manager = *chain.manager;
        net::URLRequest request(server.url(u"/redirect/%1/echo?n=%2"_s.arg(sent->kind.status).arg(number)));
        if (sent->kind.body == Body::None) {
            *task = manager.dataTaskWithRequest(request, handler);
        } else {
            sent->body = QByteArray::number(number).repeated(700 + number % 50);
            request.setHttpMethod("POST");
            request.setValue("application/octet-stream", "Content-Type");
            switch (sent->kind.body) {
            case Body::None:
                break;
            case Body::Data:
                request.setHttpBody(sent->body);
                *task = manager.dataTaskWithRequest(request, handler);
                break;
            case Body::Upload:
                *task = manager.uploadTaskWithRequest(request, sent->body, nullptr, handler);
                break;
            case Body::Buffer: {
                auto buffer = std::make_shared<QBuffer>();
                buffer->setData(sent->body);
                buffer->open(QIODevice::ReadOnly);
                request.setHttpBodyStream(buffer);
                *task = manager.uploadTaskWithStreamedRequest(request, nullptr, handler);
                break;
            }
            case Body::OneTime:
                request.setValue(QByteArray::number(sent->body.size()), "Content-Length");
                request.setHttpBodyStream(std::make_shared<OneTimeBody>(sent->body));
                *task = manager.uploadTaskWithStreamedRequest(request, nullptr, handler);
                break;
            }
        }
        const auto started = *task;
        {
            QMutexLocker locker(&m_mutex);
            m_bodies.insert(started.get(), sent->body);
        }
        started->resume();
    }

    /// Notes why `sent` did not end with the echo of its final request, if it did not.
    void note(const Sent& sent)
    {
        if (const QString failure = whyNotArrived(sent); !failure.isEmpty())
            ++m_failures[u"%1 %2: %3"_s.arg(sent.kind.status)
                             .arg(QLatin1String(nameOf(sent.kind.body)), failure)];
    }

    static QString whyNotArrived(const Sent& sent)
    {
        const Completion& outcome = *sent.completion;
        if (outcome.error)
            return u"error %1 %2"_s.arg(outcome.error->code()).arg(outcome.error->localizedDescription());
        if (!outcome.response || outcome.response->statusCode() != 200)
            return u"status %1"_s.arg(outcome.response ? outcome.response->statusCode() : 0);
        const QVariantMap echo = outcome.object.toMap();
        if (echo.value(u"path"_s) != u"/echo"_s)
            return u"no echo"_s;
        // Only 307 and 308 send the method and the body again.
        const bool keepsBody = sent.kind.status == 307 || sent.kind.status == 308;
        const QString method = sent.kind.body != Body::None && keepsBody ? u"POST"_s : u"GET"_s;
        if (echo.value(u"method"_s) != method)
            return u"method %1"_s.arg(echo.value(u"method"_s).toString());
        const QByteArray body = keepsBody ? sent.body : QByteArray();
        if (echo.value(u"body_size"_s).toInt() != body.size()
            || (!body.isEmpty()
                && echo.value(u"body_sha256"_s).toByteArray()
                    != QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex()))
            return u"body of %1 bytes"_s.arg(echo.value(u"body_size"_s).toInt());
        const int expected = sent.kind.body == Body::OneTime && keepsBody ? 1 : 0;
        if (sent.askedForBody != expected)
            return u"asked %1 times for a new body stream"_s.arg(sent.askedForBody);
        return {};
    }

    EchoServer server;
    QMutex m_mutex; // the block asks on the network thread
    QHash<const KNURLSessionTask*, int> m_asked;
    QHash<const KNURLSessionTask*, QByteArray> m_bodies;
    QHash<QString, int> m_failures;
    int m_completed = 0;
    int m_expected = -1;
    QEventLoop m_loop;
    QTimer m_stall;
    std::shared_ptr<int> m_alive = std::make_shared<int>(); // what late callbacks look at
};

} // namespace

/// One chain per status, each going through every kind of body.
QList<Chain> chainPerStatus()
{
    QList<Chain> chains;
    for (const int status : statuses) {
        chains.append(Chain {});
        for (const Body body : bodies)
            chains.last().kinds.append({ status, body });
    }
    return chains;
}

TEST_F(SessionRedirect, EveryKindOfRedirectArrivesInOneSession)
{
    runChains(chainPerStatus(), false);
}

TEST_F(SessionRedirect, EveryKindOfRedirectArrivesInSessionsOfTheirOwn)
{
    runChains(chainPerStatus(), true);
}

TEST_F(SessionRedirect, RedirectedRequestsOneAtATimeArriveWithTheFinalHeadersAlone)
{
    Chain chain;
    for (const int status : statuses)
        chain.kinds.append({ status, Body::None });
    // A connection left idle for a moment before each task is where the redirect's headers
    // came back into the final answer.
    chain.pauseMs = 3;
    runChains({ chain }, false);
}
