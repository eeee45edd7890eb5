#include "net/operation/KNNetworkThread.h"

#include "net/operation/KNURLConnectionOperation.h"

#include <QAuthenticator>
#include <QCoreApplication>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QThread>

namespace {

struct NetworkThread {
    QThread* thread = nullptr;
    QObject* context = nullptr; // lives on the thread; parent of the manager
    QNetworkAccessManager* manager = nullptr;
    QHash<QNetworkReply*, std::weak_ptr<KNURLConnectionOperation>> replies;
};

QMutex s_mutex;
NetworkThread* s_current = nullptr; // guarded by s_mutex
thread_local NetworkThread* t_mine = nullptr; // the instance whose thread this is

/// Holds a reply's body device; a child of the reply, so deleted with it.
class ReplyBody : public QObject {
public:
    ReplyBody(std::shared_ptr<QIODevice> body, QNetworkReply* reply) : QObject(reply), m_body(std::move(body))
    {
    }

private:
    const std::shared_ptr<QIODevice> m_body;
};

NetworkThread* currentLocked()
{
    if (s_current)
        return s_current;
    static const bool routineAdded = [] {
        // The thread must be gone before the application object is: at the latest, then.
        qAddPostRoutine(&KNNetworkThread::stop);
        return true;
    }();
    Q_UNUSED(routineAdded);
    auto* instance = new NetworkThread;
    instance->thread = new QThread;
    instance->thread->setObjectName(QStringLiteral("KitNet"));
    instance->context = new QObject;
    instance->context->moveToThread(instance->thread);
    instance->thread->start();
    QMetaObject::invokeMethod(
        instance->context, [instance] { t_mine = instance; }, Qt::QueuedConnection);
    s_current = instance;
    return instance;
}

} // namespace

QThread* KNNetworkThread::thread()
{
    QMutexLocker locker(&s_mutex);
    return currentLocked()->thread;
}

void KNNetworkThread::perform(std::function<void()> work)
{
    QMutexLocker locker(&s_mutex);
    QMetaObject::invokeMethod(currentLocked()->context, std::move(work), Qt::QueuedConnection);
}

QNetworkAccessManager* KNNetworkThread::manager()
{
    NetworkThread* instance = t_mine;
    Q_ASSERT(instance);
    if (!instance->manager)
        instance->manager = createManager();
    return instance->manager;
}

QNetworkAccessManager* KNNetworkThread::createManager()
{
    NetworkThread* instance = t_mine;
    Q_ASSERT(instance);
    auto* manager = new QNetworkAccessManager(instance->context);
    manager->setCookieJar(nullptr);
    QObject::connect(manager, &QNetworkAccessManager::authenticationRequired, instance->context,
        [instance](QNetworkReply* reply, QAuthenticator* authenticator) {
            if (auto operation = instance->replies.value(reply).lock())
                operation->answerAuthenticationChallenge(reply, authenticator);
        });
    return manager;
}

void KNNetworkThread::releaseManager(QPointer<QNetworkAccessManager> manager)
{
    QMutexLocker locker(&s_mutex);
    // A stopped thread took its managers with it; a new one never had this one.
    if (s_current)
        QMetaObject::invokeMethod(
            s_current->context,
            [manager] {
                if (manager)
                    manager->deleteLater();
            },
            Qt::QueuedConnection);
}

void KNNetworkThread::registerReply(QNetworkReply* reply, std::weak_ptr<KNURLConnectionOperation> operation)
{
    Q_ASSERT(t_mine);
    t_mine->replies.insert(reply, std::move(operation));
}

void KNNetworkThread::unregisterReply(QNetworkReply* reply)
{
    if (t_mine)
        t_mine->replies.remove(reply);
}

void KNNetworkThread::releaseReply(QNetworkReply*& reply, QObject*& context, bool abort)
{
    delete context;
    context = nullptr;
    if (!reply)
        return;
    if (abort)
        reply->abort();
    reply->deleteLater();
    reply = nullptr;
}

QNetworkReply* KNNetworkThread::sendWithBody(QNetworkAccessManager* manager, const QNetworkRequest& request,
    const QByteArray& method, std::shared_ptr<QIODevice> body)
{
    QNetworkReply* reply = manager->sendCustomRequest(request, method, body.get());
    new ReplyBody(std::move(body), reply);
    return reply;
}

void KNNetworkThread::stop()
{
    NetworkThread* instance = nullptr;
    {
        QMutexLocker locker(&s_mutex);
        std::swap(instance, s_current);
    }
    if (!instance)
        return;
    Q_ASSERT(QThread::currentThread() != instance->thread);
    QMetaObject::invokeMethod(
        instance->context,
        [instance] {
            const auto replies = instance->replies;
            for (const auto& operation : replies)
                if (auto live = operation.lock())
                    live->cancelConnection();
            delete instance->context; // and the manager with its replies
            t_mine = nullptr;
        },
        Qt::BlockingQueuedConnection);
    instance->thread->quit();
    instance->thread->wait();
    delete instance->thread;
    delete instance;
}
