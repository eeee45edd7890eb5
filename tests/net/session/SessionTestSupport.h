#pragma once

#include "net/operation/NetDispatch.h"
#include "net/session/KNURLSessionManager.h"
#include "net/session/KNURLSessionTask.h"
#include "platform/NotificationCenter.h"

#include "support/Eventually.h"

#include <QCoreApplication>
#include <QTcpServer>

#include <memory>

namespace mervane::test {

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
    EXPECT_EVENTUALLY(reached);
}

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
