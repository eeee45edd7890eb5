#pragma once

#include <functional>
#include <memory>

class KNURLConnectionOperation;
class QNetworkAccessManager;
class QNetworkReply;
class QObject;
class QThread;

/// The one thread "KitNet" that carries every transfer, and the network access manager
/// that lives on it. Internal to the operations.
class KNNetworkThread {
public:
    /// Starts the thread on first use (again after `stop`).
    static QThread* thread();
    /// Runs `work` on the network thread in a later turn of its loop; does not wait.
    static void perform(std::function<void()> work);
    /// Network thread only.
    static QNetworkAccessManager* manager();
    /// Network thread only: which operation a reply belongs to, for the manager's signals
    /// and for aborting everything when the thread stops.
    static void registerReply(QNetworkReply* reply, std::weak_ptr<KNURLConnectionOperation> operation);
    static void unregisterReply(QNetworkReply* reply);
    /// Network thread only: lets go of a reply. The connections made with `context` end
    /// with it, the reply is aborted when asked and deleted later; both are cleared.
    static void releaseReply(QNetworkReply*& reply, QObject*& context, bool abort);
    /// Cancels every open transfer, then stops and deletes the thread; blocks until it has.
    static void stop();
};
