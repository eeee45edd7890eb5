#include "net/session/URLSession.h"

#include "net/operation/KNNetworkThread.h"
#include "net/operation/NetOperationQueue.h"
#include "net/session/KNURLSessionTask.h"
#include "net/session/SessionCache.h"

#include <QMutexLocker>
#include <QNetworkAccessManager>
#include <QThread>

using namespace Qt::Literals::StringLiterals;

namespace net {

URLSessionConfiguration URLSessionConfiguration::backgroundSessionConfiguration(const QString& identifier)
{
    URLSessionConfiguration configuration;
    configuration.identifier = identifier;
    return configuration;
}

QVariantMap URLSessionConfiguration::archive() const
{
    QVariantList headers;
    for (const auto& [field, value] : HTTPAdditionalHeaders)
        headers.append(QVariant(QVariantList { field, value }));
    return { { u"identifier"_s, identifier }, { u"timeoutIntervalForRequest"_s, timeoutIntervalForRequest },
        { u"HTTPAdditionalHeaders"_s, headers }, { u"URLCacheDirectory"_s, URLCacheDirectory },
        { u"URLCacheDiskCapacity"_s, URLCacheDiskCapacity } };
}

URLSessionConfiguration URLSessionConfiguration::fromArchive(const QVariantMap& archive)
{
    URLSessionConfiguration configuration;
    configuration.identifier = archive.value(u"identifier"_s).toString();
    configuration.timeoutIntervalForRequest
        = archive.value(u"timeoutIntervalForRequest"_s, URLRequest::defaultTimeoutInterval).toDouble();
    for (const QVariant& pair : archive.value(u"HTTPAdditionalHeaders"_s).toList()) {
        const QVariantList fields = pair.toList();
        if (fields.size() == 2)
            configuration.HTTPAdditionalHeaders.append({ fields[0].toByteArray(), fields[1].toByteArray() });
    }
    configuration.URLCacheDirectory = archive.value(u"URLCacheDirectory"_s).toString();
    configuration.URLCacheDiskCapacity
        = archive.value(u"URLCacheDiskCapacity"_s, configuration.URLCacheDiskCapacity).toLongLong();
    return configuration;
}

std::shared_ptr<URLSession> URLSession::sessionWithConfiguration(const URLSessionConfiguration& configuration,
    std::weak_ptr<URLSessionDelegate> delegate, std::shared_ptr<OperationQueue> delegateQueue)
{
    if (!delegateQueue) {
        delegateQueue = std::make_shared<OperationQueue>(u"kitnet.networking.session.delegate"_s);
        delegateQueue->setMaxConcurrentOperationCount(1);
    }
    return std::shared_ptr<URLSession>(
        new URLSession(configuration, std::move(delegate), std::move(delegateQueue)));
}

URLSession::URLSession(URLSessionConfiguration configuration, std::weak_ptr<URLSessionDelegate> delegate,
    std::shared_ptr<OperationQueue> delegateQueue)
    : m_configuration(std::move(configuration))
    , m_delegateQueue(std::move(delegateQueue))
    , m_delegate(std::move(delegate))
{
}

URLSession::~URLSession()
{
    // A task outlives its session only until the network thread has stopped its transfer.
    for (const auto& task : std::as_const(m_tasks))
        task->cancel();
    // Queued after the cancellations, which let go of the manager's replies.
    if (m_networkManager)
        KNNetworkThread::releaseManager(m_networkManager);
}

QNetworkAccessManager* URLSession::networkManager()
{
    if (!m_networkManager) {
        m_networkManager = KNNetworkThread::createManager();
        if (!m_configuration.URLCacheDirectory.isNull()) {
            auto* cache = new SessionCache;
            cache->setCacheDirectory(m_configuration.URLCacheDirectory);
            cache->setMaximumCacheSize(m_configuration.URLCacheDiskCapacity);
            m_networkManager->setCache(cache);
        }
    }
    return m_networkManager;
}

std::shared_ptr<URLSessionDelegate> URLSession::delegate() const
{
    QMutexLocker locker(&m_mutex);
    return m_delegate.lock();
}

void URLSession::setDelegate(std::weak_ptr<URLSessionDelegate> delegate)
{
    QMutexLocker locker(&m_mutex);
    if (!m_invalidated)
        m_delegate = std::move(delegate);
}

std::shared_ptr<KNURLSessionTask> URLSession::addTask(std::shared_ptr<KNURLSessionTask> task)
{
    m_tasks.append(task);
    return task;
}

std::shared_ptr<KNURLSessionTask> URLSession::addDownloadTaskTakingOver(const KNURLSessionTask& dataTask)
{
    QMutexLocker locker(&m_mutex);
    auto task = KNURLSessionTask::create(KNURLSessionTask::Kind::Download, m_nextIdentifier++,
        dataTask.originalRequest(), {}, weak_from_this());
    task->m_state = KNURLSessionTask::State::Running;
    return addTask(std::move(task));
}

std::shared_ptr<KNURLSessionTask> URLSession::dataTaskWithRequest(const URLRequest& request)
{
    QMutexLocker locker(&m_mutex);
    if (m_invalidating)
        return nullptr;
    return addTask(KNURLSessionTask::create(
        KNURLSessionTask::Kind::Data, m_nextIdentifier++, request, {}, weak_from_this()));
}

std::shared_ptr<KNURLSessionTask> URLSession::uploadTaskWithRequest(
    const URLRequest& request, const QByteArray& fromData)
{
    QMutexLocker locker(&m_mutex);
    if (m_invalidating)
        return nullptr;
    KNURLSessionTask::Body body { KNURLSessionTask::Body::Source::Data, fromData, {} };
    return addTask(KNURLSessionTask::create(
        KNURLSessionTask::Kind::Upload, m_nextIdentifier++, request, std::move(body), weak_from_this()));
}

std::shared_ptr<KNURLSessionTask> URLSession::uploadTaskWithRequest(
    const URLRequest& request, const QUrl& fromFile)
{
    QMutexLocker locker(&m_mutex);
    if (m_invalidating)
        return nullptr;
    KNURLSessionTask::Body body { KNURLSessionTask::Body::Source::File, {}, fromFile.toLocalFile() };
    return addTask(KNURLSessionTask::create(
        KNURLSessionTask::Kind::Upload, m_nextIdentifier++, request, std::move(body), weak_from_this()));
}

std::shared_ptr<KNURLSessionTask> URLSession::uploadTaskWithStreamedRequest(const URLRequest& request)
{
    QMutexLocker locker(&m_mutex);
    if (m_invalidating)
        return nullptr;
    KNURLSessionTask::Body body { KNURLSessionTask::Body::Source::Stream, {}, {} };
    return addTask(KNURLSessionTask::create(
        KNURLSessionTask::Kind::Upload, m_nextIdentifier++, request, std::move(body), weak_from_this()));
}

std::shared_ptr<KNURLSessionTask> URLSession::downloadTaskWithRequest(const URLRequest& request)
{
    QMutexLocker locker(&m_mutex);
    if (m_invalidating)
        return nullptr;
    return addTask(KNURLSessionTask::create(
        KNURLSessionTask::Kind::Download, m_nextIdentifier++, request, {}, weak_from_this()));
}

std::shared_ptr<KNURLSessionTask> URLSession::downloadTaskWithResumeData(const QByteArray& resumeData)
{
    const auto resume = KNURLSessionTask::readResumeData(resumeData);
    QMutexLocker locker(&m_mutex);
    if (m_invalidating || !resume)
        return nullptr;
    auto task = KNURLSessionTask::create(
        KNURLSessionTask::Kind::Download, m_nextIdentifier++, resume->first, {}, weak_from_this());
    task->m_resumePoint = resume->second;
    return addTask(std::move(task));
}

void URLSession::getTasksWithCompletionHandler(TasksHandler completion)
{
    const auto answer = [weakSelf = weak_from_this(), completion] {
        QList<std::shared_ptr<KNURLSessionTask>> data, upload, download;
        if (const auto self = weakSelf.lock()) {
            QMutexLocker locker(&self->m_mutex);
            for (const auto& task : std::as_const(self->m_tasks)) {
                switch (task->kind()) {
                case KNURLSessionTask::Kind::Data:
                    data.append(task);
                    break;
                case KNURLSessionTask::Kind::Upload:
                    upload.append(task);
                    break;
                case KNURLSessionTask::Kind::Download:
                    download.append(task);
                    break;
                }
            }
        }
        completion(data, upload, download);
    };
    if (QThread::currentThread() == KNNetworkThread::thread())
        answer();
    else
        KNNetworkThread::perform(answer);
}

void URLSession::finishTasksAndInvalidate()
{
    {
        QMutexLocker locker(&m_mutex);
        m_invalidating = true;
    }
    KNNetworkThread::perform([self = shared_from_this()] { self->invalidateIfDone(); });
}

void URLSession::invalidateAndCancel()
{
    QList<std::shared_ptr<KNURLSessionTask>> tasks;
    {
        QMutexLocker locker(&m_mutex);
        m_invalidating = true;
        tasks = m_tasks;
    }
    for (const auto& task : std::as_const(tasks))
        task->cancel();
    KNNetworkThread::perform([self = shared_from_this()] { self->invalidateIfDone(); });
}

bool URLSession::isInvalid() const
{
    QMutexLocker locker(&m_mutex);
    return m_invalidating;
}

QString URLSession::description() const
{
    return u"<URLSession: 0x%1%2>"_s.arg(QString::number(quintptr(this), 16),
        m_configuration.identifier.isNull() ? QString() : u", identifier: "_s + m_configuration.identifier);
}

void URLSession::deliver(std::function<void(URLSession&, URLSessionDelegate&)> call)
{
    m_delegateQueue->addOperationWithBlock([weakSelf = weak_from_this(), call = std::move(call)] {
        const auto self = weakSelf.lock();
        const auto delegate = self ? self->delegate() : nullptr;
        if (delegate)
            call(*self, *delegate);
    });
}

void URLSession::taskDidFinish(quint64 identifier)
{
    {
        QMutexLocker locker(&m_mutex);
        m_tasks.removeIf([identifier](const auto& task) { return task->taskIdentifier() == identifier; });
    }
    invalidateIfDone();
}

void URLSession::invalidateIfDone()
{
    {
        QMutexLocker locker(&m_mutex);
        if (!m_invalidating || m_invalidated || !m_tasks.isEmpty())
            return;
        m_invalidated = true;
    }
    deliver([](URLSession& session, URLSessionDelegate& delegate) {
        delegate.didBecomeInvalid(session, std::nullopt);
        QMutexLocker locker(&session.m_mutex);
        session.m_delegate.reset();
    });
}

} // namespace net
