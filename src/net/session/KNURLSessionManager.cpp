#include "net/session/KNURLSessionManager.h"

#include "net/operation/KNNetworkThread.h"
#include "net/operation/NetOperationQueue.h"
#include "net/reachability/KNNetworkReachabilityManager.h"
#include "net/security/KNSecurityPolicy.h"
#include "net/serialization/KNJSONResponseSerializer.h"
#include "net/session/KNURLSessionTask.h"
#include "net/session/SessionNotifications.h"
#include "net/session/SessionProgress.h"

#include "platform/NotificationCenter.h"

#include <QMutexLocker>
#include <QSemaphore>
#include <QThread>

using namespace Qt::Literals::StringLiterals;

namespace {

std::shared_ptr<net::OperationQueue> makeDelegateQueue()
{
    auto queue = std::make_shared<net::OperationQueue>(u"kitnet.networking.session.manager.delegate"_s);
    queue->setMaxConcurrentOperationCount(1);
    return queue;
}

/// Task creation is one at a time across the process.
QMutex& creationLock()
{
    static QMutex lock;
    return lock;
}

} // namespace

std::shared_ptr<KNURLSessionManager> KNURLSessionManager::manager(
    const std::optional<net::URLSessionConfiguration>& configuration)
{
    return std::make_shared<KNURLSessionManager>(configuration);
}

KNURLSessionManager::KNURLSessionManager(const std::optional<net::URLSessionConfiguration>& configuration)
    : m_sessionConfiguration(
        configuration.value_or(net::URLSessionConfiguration::defaultSessionConfiguration()))
    , m_operationQueue(makeDelegateQueue())
    , m_session(net::URLSession::sessionWithConfiguration(m_sessionConfiguration, {}, m_operationQueue))
    , m_observerContext(std::make_unique<QObject>())
    , m_responseSerializer(KNJSONResponseSerializer::serializer())
    , m_securityPolicy(KNSecurityPolicy::defaultPolicy())
    , m_reachabilityManager(KNNetworkReachabilityManager::sharedManager())
{
}

KNURLSessionManager::~KNURLSessionManager()
{
    platform::NotificationCenter::defaultCenter().removeObserver(m_observerContext.get());
    m_session->invalidateAndCancel();
}

void KNURLSessionManager::attach()
{
    {
        QMutexLocker locker(&m_fieldsLock);
        if (m_attached)
            return;
        m_attached = true;
    }
    const std::weak_ptr<KNURLSessionManager> weakSelf = weak_from_this();
    m_session->setDelegate(weakSelf);
    auto& center = platform::NotificationCenter::defaultCenter();
    center.addObserver(m_observerContext.get(), notifications::sessionTaskDidResume,
        [weakSelf](const platform::Notification& notification) {
            if (const auto self = weakSelf.lock())
                self->taskDidChangeState(notification.object, notifications::taskDidResume);
        });
    center.addObserver(m_observerContext.get(), notifications::sessionTaskDidSuspend,
        [weakSelf](const platform::Notification& notification) {
            if (const auto self = weakSelf.lock())
                self->taskDidChangeState(notification.object, notifications::taskDidSuspend);
        });
}

void KNURLSessionManager::taskDidChangeState(const QVariant& object, const QString& announcement)
{
    auto* task = qobject_cast<KNURLSessionTask*>(object.value<QObject*>());
    if (!task || task->session().lock() != m_session)
        return;
    const auto delegate = delegateForTask(*task);
    if (!delegate || delegate->manager().lock().get() != this)
        return;
    net::DispatchQueue::main()->async([keep = task->shared_from_this(), announcement] {
        platform::NotificationCenter::defaultCenter().post(
            announcement, QVariant::fromValue(static_cast<QObject*>(keep.get())));
    });
}

std::shared_ptr<KNURLResponseSerialization> KNURLSessionManager::responseSerializer() const
{
    QMutexLocker locker(&m_fieldsLock);
    return m_responseSerializer;
}

void KNURLSessionManager::setResponseSerializer(std::shared_ptr<KNURLResponseSerialization> serializer)
{
    QMutexLocker locker(&m_fieldsLock);
    m_responseSerializer = std::move(serializer);
}

std::shared_ptr<KNSecurityPolicy> KNURLSessionManager::securityPolicy() const
{
    QMutexLocker locker(&m_fieldsLock);
    return m_securityPolicy;
}

void KNURLSessionManager::setSecurityPolicy(std::shared_ptr<KNSecurityPolicy> policy)
{
    QMutexLocker locker(&m_fieldsLock);
    m_securityPolicy = std::move(policy);
}

std::shared_ptr<KNNetworkReachabilityManager> KNURLSessionManager::reachabilityManager() const
{
    QMutexLocker locker(&m_fieldsLock);
    return m_reachabilityManager;
}

void KNURLSessionManager::setReachabilityManager(std::shared_ptr<KNNetworkReachabilityManager> manager)
{
    QMutexLocker locker(&m_fieldsLock);
    m_reachabilityManager = std::move(manager);
}

bool KNURLSessionManager::attemptsToRecreateUploadTasksForBackgroundSessions() const
{
    QMutexLocker locker(&m_fieldsLock);
    return m_attemptsToRecreateUploadTasksForBackgroundSessions;
}

void KNURLSessionManager::setAttemptsToRecreateUploadTasksForBackgroundSessions(bool attempts)
{
    QMutexLocker locker(&m_fieldsLock);
    m_attemptsToRecreateUploadTasksForBackgroundSessions = attempts;
}

std::shared_ptr<net::DispatchQueue> KNURLSessionManager::completionQueue() const
{
    QMutexLocker locker(&m_fieldsLock);
    return m_completionQueue;
}

void KNURLSessionManager::setCompletionQueue(std::shared_ptr<net::DispatchQueue> queue)
{
    QMutexLocker locker(&m_fieldsLock);
    m_completionQueue = std::move(queue);
}

std::shared_ptr<net::DispatchGroup> KNURLSessionManager::completionGroup() const
{
    QMutexLocker locker(&m_fieldsLock);
    return m_completionGroup;
}

void KNURLSessionManager::setCompletionGroup(std::shared_ptr<net::DispatchGroup> group)
{
    QMutexLocker locker(&m_fieldsLock);
    m_completionGroup = std::move(group);
}

KNURLSessionManager::Blocks KNURLSessionManager::blocks() const
{
    QMutexLocker locker(&m_fieldsLock);
    return m_blocks;
}

#define KN_BLOCK_SETTER(Name, field)                                                                         \
    void KNURLSessionManager::set##Name##Block(Name##Block block)                                            \
    {                                                                                                        \
        QMutexLocker locker(&m_fieldsLock);                                                                  \
        m_blocks.field = std::move(block);                                                                   \
    }
KN_BLOCK_SETTER(SessionDidBecomeInvalid, sessionDidBecomeInvalid)
KN_BLOCK_SETTER(SessionDidReceiveAuthenticationChallenge, sessionDidReceiveAuthenticationChallenge)
KN_BLOCK_SETTER(DidFinishEventsForBackgroundURLSession, didFinishEventsForBackgroundURLSession)
KN_BLOCK_SETTER(TaskWillPerformHTTPRedirection, taskWillPerformHTTPRedirection)
KN_BLOCK_SETTER(TaskDidReceiveAuthenticationChallenge, taskDidReceiveAuthenticationChallenge)
KN_BLOCK_SETTER(TaskNeedNewBodyStream, taskNeedNewBodyStream)
KN_BLOCK_SETTER(TaskDidSendBodyData, taskDidSendBodyData)
KN_BLOCK_SETTER(TaskDidComplete, taskDidComplete)
KN_BLOCK_SETTER(DataTaskDidReceiveResponse, dataTaskDidReceiveResponse)
KN_BLOCK_SETTER(DataTaskDidBecomeDownloadTask, dataTaskDidBecomeDownloadTask)
KN_BLOCK_SETTER(DataTaskDidReceiveData, dataTaskDidReceiveData)
KN_BLOCK_SETTER(DataTaskWillCacheResponse, dataTaskWillCacheResponse)
KN_BLOCK_SETTER(DownloadTaskDidFinishDownloading, downloadTaskDidFinishDownloading)
KN_BLOCK_SETTER(DownloadTaskDidWriteData, downloadTaskDidWriteData)
KN_BLOCK_SETTER(DownloadTaskDidResume, downloadTaskDidResume)
#undef KN_BLOCK_SETTER

void KNURLSessionManager::invalidateSessionCancelingTasks(bool cancelPendingTasks)
{
    net::DispatchQueue::main()->async([session = m_session, cancelPendingTasks] {
        if (cancelPendingTasks)
            session->invalidateAndCancel();
        else
            session->finishTasksAndInvalidate();
    });
}

KNURLSessionManager::Task KNURLSessionManager::dataTaskWithRequest(
    const net::URLRequest& request, CompletionHandler completionHandler)
{
    attach();
    Task task;
    {
        QMutexLocker locker(&creationLock());
        task = m_session->dataTaskWithRequest(request);
    }
    if (task)
        addDelegateForDataTask(task, std::move(completionHandler));
    return task;
}

KNURLSessionManager::Task KNURLSessionManager::uploadTaskWithRequest(const net::URLRequest& request,
    const QUrl& fromFile, std::shared_ptr<net::Progress>* progress, CompletionHandler completionHandler)
{
    attach();
    Task task;
    {
        QMutexLocker locker(&creationLock());
        task = m_session->uploadTaskWithRequest(request, fromFile);
    }
    if (task)
        addDelegateForUploadTask(task, progress, std::move(completionHandler));
    return task;
}

KNURLSessionManager::Task KNURLSessionManager::uploadTaskWithRequest(const net::URLRequest& request,
    const QByteArray& fromData, std::shared_ptr<net::Progress>* progress, CompletionHandler completionHandler)
{
    attach();
    Task task;
    {
        QMutexLocker locker(&creationLock());
        task = m_session->uploadTaskWithRequest(request, fromData);
    }
    if (task)
        addDelegateForUploadTask(task, progress, std::move(completionHandler));
    return task;
}

KNURLSessionManager::Task KNURLSessionManager::uploadTaskWithStreamedRequest(const net::URLRequest& request,
    std::shared_ptr<net::Progress>* progress, CompletionHandler completionHandler)
{
    attach();
    Task task;
    {
        QMutexLocker locker(&creationLock());
        task = m_session->uploadTaskWithStreamedRequest(request);
    }
    if (task)
        addDelegateForUploadTask(task, progress, std::move(completionHandler));
    return task;
}

KNURLSessionManager::Task KNURLSessionManager::downloadTaskWithRequest(const net::URLRequest& request,
    std::shared_ptr<net::Progress>* progress, DestinationBlock destination,
    CompletionHandler completionHandler)
{
    attach();
    Task task;
    {
        QMutexLocker locker(&creationLock());
        task = m_session->downloadTaskWithRequest(request);
    }
    if (task)
        addDelegateForDownloadTask(task, progress, std::move(destination), std::move(completionHandler));
    return task;
}

KNURLSessionManager::Task KNURLSessionManager::downloadTaskWithResumeData(const QByteArray& resumeData,
    std::shared_ptr<net::Progress>* progress, DestinationBlock destination,
    CompletionHandler completionHandler)
{
    attach();
    Task task;
    {
        QMutexLocker locker(&creationLock());
        task = m_session->downloadTaskWithResumeData(resumeData);
    }
    if (task)
        addDelegateForDownloadTask(task, progress, std::move(destination), std::move(completionHandler));
    return task;
}

std::shared_ptr<KNURLSessionManagerTaskDelegate> KNURLSessionManager::addDelegateForDataTask(
    const Task& task, CompletionHandler completionHandler)
{
    auto delegate = std::make_shared<KNURLSessionManagerTaskDelegate>(weak_from_this());
    delegate->setCompletionHandler(std::move(completionHandler));
    setDelegate(delegate, *task);
    return delegate;
}

qint64 KNURLSessionManager::uploadTotal(const KNURLSessionTask& task, qint64 reported)
{
    if (reported != KNURLSessionTask::transferSizeUnknown)
        return reported;
    bool ok = false;
    const qint64 length = task.originalRequest()
                              .valueForHTTPHeaderField("Content-Length")
                              .value_or(QByteArray())
                              .toLongLong(&ok);
    return ok ? length : reported;
}

std::shared_ptr<KNURLSessionManagerTaskDelegate> KNURLSessionManager::addDelegateForUploadTask(
    const Task& task, std::shared_ptr<net::Progress>* progress, CompletionHandler completionHandler)
{
    auto delegate = addDelegateForDataTask(task, std::move(completionHandler));
    const qint64 total = uploadTotal(*task, task->countOfBytesExpectedToSend());
    const auto& taskProgress = delegate->progress();
    taskProgress->setTotalUnitCount(total);
    const std::weak_ptr<KNURLSessionTask> weakTask = task;
    taskProgress->setPausingHandler([weakTask] {
        if (const auto task = weakTask.lock())
            task->suspend();
    });
    taskProgress->setCancellationHandler([weakTask] {
        if (const auto task = weakTask.lock())
            task->cancel();
    });
    if (progress)
        *progress = taskProgress;
    return delegate;
}

std::shared_ptr<KNURLSessionManagerTaskDelegate> KNURLSessionManager::addDelegateForDownloadTask(
    const Task& task, std::shared_ptr<net::Progress>* progress, DestinationBlock destination,
    CompletionHandler completionHandler)
{
    auto delegate = addDelegateForDataTask(task, std::move(completionHandler));
    if (destination)
        delegate->setDownloadTaskDidFinishDownloading(
            [destination](net::URLSession&, const Task& task, const QUrl& location) {
                return destination(location, task->response());
            });
    if (progress)
        *progress = delegate->progress();
    return delegate;
}

std::shared_ptr<net::Progress> KNURLSessionManager::uploadProgressForTask(const KNURLSessionTask& task) const
{
    const auto delegate = delegateForTask(task);
    return delegate ? delegate->progress() : nullptr;
}

std::shared_ptr<net::Progress> KNURLSessionManager::downloadProgressForTask(
    const KNURLSessionTask& task) const
{
    return uploadProgressForTask(task);
}

std::shared_ptr<KNURLSessionManagerTaskDelegate> KNURLSessionManager::delegateForTask(
    const KNURLSessionTask& task) const
{
    QMutexLocker locker(&m_lock);
    return m_mutableTaskDelegatesKeyedByTaskIdentifier.value(task.taskIdentifier());
}

void KNURLSessionManager::setDelegate(
    std::shared_ptr<KNURLSessionManagerTaskDelegate> delegate, const KNURLSessionTask& task)
{
    QMutexLocker locker(&m_lock);
    m_mutableTaskDelegatesKeyedByTaskIdentifier.insert(task.taskIdentifier(), std::move(delegate));
}

void KNURLSessionManager::removeDelegateForTask(const KNURLSessionTask& task)
{
    QMutexLocker locker(&m_lock);
    m_mutableTaskDelegatesKeyedByTaskIdentifier.remove(task.taskIdentifier());
}

void KNURLSessionManager::removeAllDelegates()
{
    QMutexLocker locker(&m_lock);
    m_mutableTaskDelegatesKeyedByTaskIdentifier.clear();
}

KNURLSessionManager::TaskList KNURLSessionManager::tasksForKeyPath(const QString& keyPath) const
{
    TaskList result;
    QSemaphore answered;
    // On the network thread the session answers before this call returns, so the wait
    // below never waits for the thread that is waiting.
    m_session->getTasksWithCompletionHandler([&result, &answered, &keyPath](const TaskList& data,
                                                 const TaskList& upload, const TaskList& download) {
        if (keyPath == u"dataTasks"_s)
            result = data;
        else if (keyPath == u"uploadTasks"_s)
            result = upload;
        else if (keyPath == u"downloadTasks"_s)
            result = download;
        else if (keyPath == u"tasks"_s)
            result = data + upload + download;
        answered.release();
    });
    answered.acquire();
    return result;
}

QString KNURLSessionManager::description() const
{
    return u"<KNURLSessionManager: 0x%1, session: %2, operationQueue: %3>"_s.arg(
        QString::number(quintptr(this), 16), m_session->description(), m_operationQueue->name());
}

QVariantMap KNURLSessionManager::archive() const
{
    return { { u"sessionConfiguration"_s, m_sessionConfiguration.archive() } };
}

std::shared_ptr<KNURLSessionManager> KNURLSessionManager::fromArchive(const QVariantMap& archive)
{
    return manager(
        net::URLSessionConfiguration::fromArchive(archive.value(u"sessionConfiguration"_s).toMap()));
}

std::shared_ptr<KNURLSessionManager> KNURLSessionManager::clone() const
{
    auto copy = manager(m_sessionConfiguration);
    // A copy that trusted servers its original refuses would be a quiet downgrade.
    if (const auto policy = securityPolicy())
        copy->setSecurityPolicy(std::make_shared<KNSecurityPolicy>(*policy));
    return copy;
}
