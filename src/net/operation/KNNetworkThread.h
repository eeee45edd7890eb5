#pragma once

#include <QPointer>

#include <functional>
#include <memory>

class KNURLConnectionOperation;
class QByteArray;
class QIODevice;
class QNetworkAccessManager;
class QNetworkReply;
class QNetworkRequest;
class QObject;
class QThread;

/// The one thread "KitNet" that carries every transfer, and the network access managers
/// that live on it. Internal to the operations and sessions.
class KNNetworkThread {
public:
    /// Starts the thread on first use (again after `stop`).
    static QThread* thread();
    /// Runs `work` on the network thread in a later turn of its loop; does not wait.
    static void perform(std::function<void()> work);
    /// Network thread only: the manager shared by every transfer that brings no login of its own.
    static QNetworkAccessManager* manager();
    /// Network thread only: a manager for one session, or one operation with a login. Qt keeps
    /// the logins a manager answered, and the connections they opened, for that manager's
    /// later requests; a login must reach nobody else. Deleted when the thread stops at the
    /// latest; hand it to `releaseManager` when done with it.
    static QNetworkAccessManager* createManager();
    /// Any thread: deletes a manager of `createManager` on the network thread, after the
    /// replies let go of before this call. Nothing to do when it is gone already.
    static void releaseManager(QPointer<QNetworkAccessManager> manager);
    /// Network thread only: which operation a reply belongs to, for the manager's signals
    /// and for aborting everything when the thread stops.
    static void registerReply(QNetworkReply* reply, std::weak_ptr<KNURLConnectionOperation> operation);
    static void unregisterReply(QNetworkReply* reply);
    /// Network thread only: lets go of a reply. The connections made with `context` end
    /// with it, the reply is aborted when asked and deleted later; both are cleared.
    static void releaseReply(QNetworkReply*& reply, QObject*& context, bool abort);
    /// Network thread only: sends `body` with `method`, kept for as long as the reply lives. Qt
    /// reads the device through the reply until the reply is deleted, which comes later than an
    /// abort and may come after whoever sent the body is gone.
    static QNetworkReply* sendWithBody(QNetworkAccessManager* manager, const QNetworkRequest& request,
        const QByteArray& method, std::shared_ptr<QIODevice> body);
    /// Cancels every open transfer, then stops and deletes the thread; blocks until it has.
    static void stop();
};
