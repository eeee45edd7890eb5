#include "net/session/KNHTTPSessionManager.h"

#include "net/security/KNSecurityPolicy.h"
#include "net/serialization/KNHTTPResponseSerializer.h"
#include "net/serialization/KNJSONResponseSerializer.h"
#include "net/session/KNURLSessionTask.h"

#include "net/operation/NetOperationQueue.h"

#include <QMutexLocker>

using namespace Qt::Literals::StringLiterals;

namespace {

QUrl withTrailingSlash(const QUrl& url)
{
    if (url.isEmpty() || url.path().isEmpty() || url.path().endsWith(u'/'))
        return url;
    QUrl extended = url;
    extended.setPath(url.path() + u'/');
    return extended;
}

} // namespace

std::shared_ptr<KNHTTPSessionManager> KNHTTPSessionManager::manager(
    const QUrl& baseURL, const std::optional<net::URLSessionConfiguration>& configuration)
{
    return std::make_shared<KNHTTPSessionManager>(baseURL, configuration);
}

KNHTTPSessionManager::KNHTTPSessionManager(
    const QUrl& baseURL, const std::optional<net::URLSessionConfiguration>& configuration)
    : KNURLSessionManager(configuration)
    , m_baseURL(withTrailingSlash(baseURL))
    , m_requestSerializer(net::KNHTTPRequestSerializer::serializer())
{
    KNURLSessionManager::setResponseSerializer(KNJSONResponseSerializer::serializer());
}

std::shared_ptr<net::KNHTTPRequestSerializer> KNHTTPSessionManager::requestSerializer() const
{
    QMutexLocker locker(&m_serializerLock);
    return m_requestSerializer;
}

void KNHTTPSessionManager::setRequestSerializer(std::shared_ptr<net::KNHTTPRequestSerializer> serializer)
{
    QMutexLocker locker(&m_serializerLock);
    m_requestSerializer = std::move(serializer);
}

void KNHTTPSessionManager::setResponseSerializer(std::shared_ptr<KNURLResponseSerialization> serializer)
{
    KNURLSessionManager::setResponseSerializer(std::move(serializer));
}

QString KNHTTPSessionManager::absoluteURLString(const QString& URLString) const
{
    const QUrl relative(URLString);
    const QUrl url = m_baseURL.isEmpty() ? relative : m_baseURL.resolved(relative);
    return url.toString(QUrl::FullyEncoded);
}

KNURLSessionManager::CompletionHandler KNHTTPSessionManager::completionHandler(
    const std::shared_ptr<std::weak_ptr<KNURLSessionTask>>& taskSlot, SuccessBlock success,
    FailureBlock failure)
{
    return [taskSlot, success = std::move(success), failure = std::move(failure)](
               const std::optional<net::URLResponse>&, const QVariant& responseObject,
               const std::optional<net::Error>& error) {
        const Task task = taskSlot->lock();
        if (error) {
            if (failure)
                failure(task, *error);
        } else if (success) {
            success(task, responseObject);
        }
    };
}

void KNHTTPSessionManager::reportBuildFailure(
    FailureBlock failure, const std::optional<net::Error>& error, const QString& URLString)
{
    if (!failure)
        return;
    const net::Error reason = error.value_or(net::urlError(net::badURL, QUrl(URLString)));
    std::shared_ptr<net::DispatchQueue> queue = completionQueue();
    if (!queue)
        queue = net::DispatchQueue::main();
    queue->async([failure = std::move(failure), reason] { failure(nullptr, reason); });
}

KNURLSessionManager::Task KNHTTPSessionManager::dataTaskWithHTTPMethod(const QByteArray& method,
    const QString& URLString, const QVariant& parameters, SuccessBlock success, FailureBlock failure)
{
    const QString absolute = absoluteURLString(URLString);
    std::optional<net::Error> error;
    const std::optional<net::URLRequest> request
        = requestSerializer()->requestWithMethod(method, absolute, parameters, &error);
    if (!request || error) {
        reportBuildFailure(std::move(failure), error, absolute);
        return nullptr;
    }
    const auto taskSlot = std::make_shared<std::weak_ptr<KNURLSessionTask>>();
    Task task
        = dataTaskWithRequest(*request, completionHandler(taskSlot, std::move(success), std::move(failure)));
    *taskSlot = task;
    return task;
}

KNURLSessionManager::Task KNHTTPSessionManager::resumed(Task task)
{
    if (task)
        task->resume();
    return task;
}

KNURLSessionManager::Task KNHTTPSessionManager::GET(
    const QString& URLString, const QVariant& parameters, SuccessBlock success, FailureBlock failure)
{
    return resumed(
        dataTaskWithHTTPMethod("GET", URLString, parameters, std::move(success), std::move(failure)));
}

KNURLSessionManager::Task KNHTTPSessionManager::HEAD(
    const QString& URLString, const QVariant& parameters, HeadSuccessBlock success, FailureBlock failure)
{
    return resumed(dataTaskWithHTTPMethod(
        "HEAD", URLString, parameters,
        [success = std::move(success)](const Task& task, const QVariant&) {
            if (success)
                success(task);
        },
        std::move(failure)));
}

KNURLSessionManager::Task KNHTTPSessionManager::POST(
    const QString& URLString, const QVariant& parameters, SuccessBlock success, FailureBlock failure)
{
    return resumed(
        dataTaskWithHTTPMethod("POST", URLString, parameters, std::move(success), std::move(failure)));
}

KNURLSessionManager::Task KNHTTPSessionManager::POST(const QString& URLString, const QVariant& parameters,
    const net::KNHTTPRequestSerializer::MultipartBodyBlock& block, SuccessBlock success, FailureBlock failure)
{
    const QString absolute = absoluteURLString(URLString);
    std::optional<net::Error> error;
    const std::optional<net::URLRequest> request = requestSerializer()->multipartFormRequestWithMethod(
        "POST", absolute, parameters.toMap(), block, &error);
    if (!request || error) {
        reportBuildFailure(std::move(failure), error, absolute);
        return nullptr;
    }
    const auto taskSlot = std::make_shared<std::weak_ptr<KNURLSessionTask>>();
    Task task = uploadTaskWithStreamedRequest(
        *request, nullptr, completionHandler(taskSlot, std::move(success), std::move(failure)));
    *taskSlot = task;
    return resumed(task);
}

KNURLSessionManager::Task KNHTTPSessionManager::PUT(
    const QString& URLString, const QVariant& parameters, SuccessBlock success, FailureBlock failure)
{
    return resumed(
        dataTaskWithHTTPMethod("PUT", URLString, parameters, std::move(success), std::move(failure)));
}

KNURLSessionManager::Task KNHTTPSessionManager::PATCH(
    const QString& URLString, const QVariant& parameters, SuccessBlock success, FailureBlock failure)
{
    return resumed(
        dataTaskWithHTTPMethod("PATCH", URLString, parameters, std::move(success), std::move(failure)));
}

KNURLSessionManager::Task KNHTTPSessionManager::DELETE(
    const QString& URLString, const QVariant& parameters, SuccessBlock success, FailureBlock failure)
{
    return resumed(
        dataTaskWithHTTPMethod("DELETE", URLString, parameters, std::move(success), std::move(failure)));
}

QString KNHTTPSessionManager::description() const
{
    return u"<KNHTTPSessionManager: 0x%1, baseURL: %2, session: %3, operationQueue: %4>"_s.arg(
        QString::number(quintptr(this), 16), m_baseURL.toString(), session()->description(),
        operationQueue()->name());
}

QVariantMap KNHTTPSessionManager::archive() const
{
    QVariantMap archive = KNURLSessionManager::archive();
    archive.insert(u"baseURL"_s, m_baseURL);
    archive.insert(u"sessionConfiguration"_s, sessionConfiguration().archive());
    archive.insert(u"requestSerializer"_s, requestSerializer()->archive());
    if (const auto response = std::dynamic_pointer_cast<KNHTTPResponseSerializer>(responseSerializer()))
        archive.insert(u"responseSerializer"_s, response->archive());
    return archive;
}

std::shared_ptr<KNHTTPSessionManager> KNHTTPSessionManager::fromArchive(const QVariantMap& archive)
{
    std::optional<net::URLSessionConfiguration> configuration;
    if (archive.contains(u"sessionConfiguration"_s))
        configuration
            = net::URLSessionConfiguration::fromArchive(archive.value(u"sessionConfiguration"_s).toMap());
    else if (const QVariant identifier = archive.value(u"identifier"_s);
             identifier.typeId() == QMetaType::QString)
        configuration = net::URLSessionConfiguration::backgroundSessionConfiguration(identifier.toString());
    auto restored = manager(archive.value(u"baseURL"_s).toUrl(), configuration);
    if (auto request
        = net::KNHTTPRequestSerializer::fromArchive(archive.value(u"requestSerializer"_s).toMap()))
        restored->setRequestSerializer(std::move(request));
    if (auto response = KNHTTPResponseSerializer::fromArchive(archive.value(u"responseSerializer"_s).toMap()))
        restored->setResponseSerializer(std::move(response));
    return restored;
}

std::shared_ptr<KNURLSessionManager> KNHTTPSessionManager::clone() const
{
    auto copy = manager(m_baseURL, sessionConfiguration());
    copy->setRequestSerializer(requestSerializer()->clone());
    const auto response = responseSerializer();
    const auto httpResponse = std::dynamic_pointer_cast<KNHTTPResponseSerializer>(response);
    copy->setResponseSerializer(httpResponse ? httpResponse->clone() : response);
    if (const auto policy = securityPolicy())
        copy->setSecurityPolicy(std::make_shared<KNSecurityPolicy>(*policy));
    return copy;
}
