#pragma once

#include "net/core/URLRequest.h"
#include "net/operation/NetDispatch.h"
#include "net/session/KNURLSessionManager.h"
#include "net/session/KNURLSessionTask.h"
#include "platform/NotificationCenter.h"

#include "support/Eventually.h"

#include <QCoreApplication>
#include <QIODevice>
#include <QTcpServer>

#include <cstring>
#include <memory>

namespace mervane::test {

/// How long a test waits for a transfer's outcome. A transfer that stalls fails by itself
/// once its request's time-out has passed, so this bound is only there to keep a broken build
/// from hanging: a slow, busy machine delays the outcome but cannot fail the test.
inline constexpr int transferOutcomeBoundMs = int(net::URLRequest::defaultTimeoutInterval * 1000) + 10000;

// Waiting, like EXPECT_EVENTUALLY*, for what a transfer brings about, up to that bound.
#define EXPECT_TRANSFERRED(condition)                                                                        \
    EXPECT_TRUE(QTest::qWaitFor([&] { return bool(condition); }, mervane::test::transferOutcomeBoundMs))     \
        << "never became true: " #condition
#define EXPECT_TRANSFERRED_EQ(actual, expected)                                                              \
    do {                                                                                                     \
        (void)QTest::qWaitFor(                                                                               \
            [&] { return (actual) == (expected); }, mervane::test::transferOutcomeBoundMs);                  \
        EXPECT_EQ(actual, expected);                                                                         \
    } while (false)

/// What one completion handler was called with, and how often.
struct Completion {
    int calls = 0;
    std::optional<net::URLResponse> response;
    QVariant object;
    std::optional<net::Error> error;
    QStringList* events = nullptr;

    static KNURLSessionManager::CompletionHandler recorder(const std::shared_ptr<Completion>& completion)
    {
        return [completion](const std::optional<net::URLResponse>& response, const QVariant& object,
                   const std::optional<net::Error>& error) {
            ++completion->calls;
            completion->response = response;
            completion->object = object;
            completion->error = error;
            if (completion->events)
                completion->events->append(QStringLiteral("completion"));
        };
    }
};

/// The notifications of the given names in the order they came, with their objects.
struct NotificationLog : QObject {
    explicit NotificationLog(const QStringList& names)
    {
        for (const QString& name : names)
            platform::NotificationCenter::defaultCenter().addObserver(this, name,
                [this](const platform::Notification& notification) { received.append(notification); });
    }
    QList<platform::Notification> received;
    QList<platform::Notification> named(const QString& name, const QObject* object = nullptr) const
    {
        QList<platform::Notification> result;
        for (const auto& notification : received)
            if (notification.name == name && (!object || notification.object.value<QObject*>() == object))
                result.append(notification);
        return result;
    }
};

/// Runs the main thread's queue until everything queued there before this call has run.
inline void drainMainQueue()
{
    bool reached = false;
    net::DispatchQueue::main()->async([&reached] { reached = true; });
    EXPECT_TRANSFERRED(reached);
}

/// A body that can be read only once, as from a pipe.
class OneTimeBody : public QIODevice {
public:
    explicit OneTimeBody(QByteArray bytes) : m_bytes(std::move(bytes)) { open(ReadOnly | Unbuffered); }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return m_bytes.size() - m_read + QIODevice::bytesAvailable(); }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 count = std::min(maxSize, m_bytes.size() - m_read);
        if (count == 0)
            return -1;
        std::memcpy(data, m_bytes.constData() + m_read, size_t(count));
        m_read += count;
        return count;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    const QByteArray m_bytes;
    qint64 m_read = 0;
};

/// An address on 127.0.0.1 where nothing listens.
inline QUrl refusedURL()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    const quint16 port = server.serverPort();
    server.close();
    return QUrl(QStringLiteral("http://127.0.0.1:%1/nothing").arg(port));
}

} // namespace mervane::test
