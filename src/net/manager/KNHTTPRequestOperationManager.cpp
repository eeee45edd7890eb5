#include "net/manager/KNHTTPRequestOperationManager.h"

#include "net/reachability/KNNetworkReachabilityManager.h"
#include "net/security/KNSecurityPolicy.h"
#include "net/serialization/KNJSONResponseSerializer.h"

using namespace Qt::Literals::StringLiterals;

namespace {

QUrl withTrailingSlash(QUrl url)
{
    if (!url.path().isEmpty() && !url.path().endsWith(u'/')
        && !url.toString(QUrl::FullyEncoded).endsWith(u'/'))
        url.setPath(url.path() + u'/');
    return url;
}

QString addressOf(const void* object)
{
    return u"0x"_s + QString::number(quintptr(object), 16);
}

} // namespace

std::shared_ptr<KNHTTPRequestOperationManager> KNHTTPRequestOperationManager::manager()
{
    return std::make_shared<KNHTTPRequestOperationManager>();
}

KNHTTPRequestOperationManager::KNHTTPRequestOperationManager(const QUrl& baseURL)
    : m_requestSerializer(net::KNHTTPRequestSerializer::serializer())
    , m_responseSerializer(KNJSONResponseSerializer::serializer())
    , m_baseURL(baseURL.isEmpty() ? QUrl() : withTrailingSlash(baseURL))
    , m_operationQueue(std::make_unique<net::OperationQueue>())
    , m_securityPolicy(KNSecurityPolicy::defaultPolicy())
    , m_reachabilityManager(KNNetworkReachabilityManager::sharedManager())
{
}

KNHTTPRequestOperationManager::~KNHTTPRequestOperationManager() = default;

void KNHTTPRequestOperationManager::setRequestSerializer(
    std::shared_ptr<net::KNHTTPRequestSerializer> serializer)
{
    m_requestSerializer = std::move(serializer);
}

void KNHTTPRequestOperationManager::setResponseSerializer(
    std::shared_ptr<KNHTTPResponseSerializer> serializer)
{
    m_responseSerializer = std::move(serializer);
}

void KNHTTPRequestOperationManager::setCredential(std::optional<net::URLCredential> credential)
{
    m_credential = std::move(credential);
}

void KNHTTPRequestOperationManager::setSecurityPolicy(std::shared_ptr<KNSecurityPolicy> policy)
{
    m_securityPolicy = std::move(policy);
}

void KNHTTPRequestOperationManager::setReachabilityManager(
    std::shared_ptr<KNNetworkReachabilityManager> manager)
{
    m_reachabilityManager = std::move(manager);
}

void KNHTTPRequestOperationManager::setCompletionQueue(std::shared_ptr<net::DispatchQueue> queue)
{
    m_completionQueue = std::move(queue);
}

void KNHTTPRequestOperationManager::setCompletionGroup(std::shared_ptr<net::DispatchGroup> group)
{
    m_completionGroup = std::move(group);
}

std::shared_ptr<KNHTTPRequestOperation> KNHTTPRequestOperationManager::HTTPRequestOperationWithRequest(
    const net::URLRequest& request, SuccessBlock success, FailureBlock failure) const
{
    auto operation = std::make_shared<KNHTTPRequestOperation>(request);
    operation->setResponseSerializer(m_responseSerializer);
    operation->setCredential(m_credential);
    operation->setSecurityPolicy(m_securityPolicy);
    operation->setCompletionBlockWithSuccess(std::move(success), std::move(failure));
    operation->setCompletionQueue(m_completionQueue);
    operation->setCompletionGroup(m_completionGroup);
    return operation;
}

QString KNHTTPRequestOperationManager::absoluteURLString(const QString& URLString) const
{
    const QUrl url(URLString);
    return (m_baseURL.isEmpty() ? url : m_baseURL.resolved(url)).toString(QUrl::FullyEncoded);
}

std::shared_ptr<KNHTTPRequestOperation> KNHTTPRequestOperationManager::enqueue(
    std::optional<net::URLRequest> request, const std::optional<net::Error>& error, const QByteArray& method,
    const QString& URLString, SuccessBlock success, FailureBlock failure)
{
    if (request) {
        auto operation = HTTPRequestOperationWithRequest(*request, std::move(success), std::move(failure));
        m_operationQueue->addOperation(operation);
        return operation;
    }
    if (failure) {
        // The block needs an operation: one for what was asked, which never runs.
        net::URLRequest asked { QUrl(URLString) };
        asked.setHttpMethod(method);
        auto operation = std::make_shared<KNHTTPRequestOperation>(asked);
        const net::Error reason = error.value_or(net::urlError(net::badURL, QUrl(URLString)));
        const auto queue = m_completionQueue ? m_completionQueue : net::DispatchQueue::main();
        auto deliver = [operation, reason, failure = std::move(failure)] { failure(*operation, reason); };
        if (m_completionGroup)
            net::DispatchGroup::async(m_completionGroup, queue, std::move(deliver));
        else
            queue->async(std::move(deliver));
    }
    return nullptr;
}

std::shared_ptr<KNHTTPRequestOperation> KNHTTPRequestOperationManager::requestOperation(
    const QByteArray& method, const QString& URLString, const QVariant& parameters, SuccessBlock success,
    FailureBlock failure)
{
    const QString absolute = absoluteURLString(URLString);
    std::optional<net::Error> error;
    auto request = m_requestSerializer->requestWithMethod(method, absolute, parameters, &error);
    return enqueue(std::move(request), error, method, absolute, std::move(success), std::move(failure));
}

std::shared_ptr<KNHTTPRequestOperation> KNHTTPRequestOperationManager::GET(
    const QString& URLString, const QVariant& parameters, SuccessBlock success, FailureBlock failure)
{
    return requestOperation("GET", URLString, parameters, std::move(success), std::move(failure));
}

std::shared_ptr<KNHTTPRequestOperation> KNHTTPRequestOperationManager::HEAD(
    const QString& URLString, const QVariant& parameters, HEADSuccessBlock success, FailureBlock failure)
{
    SuccessBlock dropObject;
    if (success)
        dropObject = [success = std::move(success)](
                         KNHTTPRequestOperation& operation, const QVariant&) { success(operation); };
    return requestOperation("HEAD", URLString, parameters, std::move(dropObject), std::move(failure));
}

std::shared_ptr<KNHTTPRequestOperation> KNHTTPRequestOperationManager::POST(
    const QString& URLString, const QVariant& parameters, SuccessBlock success, FailureBlock failure)
{
    return requestOperation("POST", URLString, parameters, std::move(success), std::move(failure));
}

std::shared_ptr<KNHTTPRequestOperation> KNHTTPRequestOperationManager::POST(const QString& URLString,
    const QVariantMap& parameters, const net::KNHTTPRequestSerializer::MultipartBodyBlock& block,
    SuccessBlock success, FailureBlock failure)
{
    const QString absolute = absoluteURLString(URLString);
    std::optional<net::Error> error;
    auto request
        = m_requestSerializer->multipartFormRequestWithMethod("POST", absolute, parameters, block, &error);
    return enqueue(std::move(request), error, "POST", absolute, std::move(success), std::move(failure));
}

std::shared_ptr<KNHTTPRequestOperation> KNHTTPRequestOperationManager::PUT(
    const QString& URLString, const QVariant& parameters, SuccessBlock success, FailureBlock failure)
{
    return requestOperation("PUT", URLString, parameters, std::move(success), std::move(failure));
}

std::shared_ptr<KNHTTPRequestOperation> KNHTTPRequestOperationManager::PATCH(
    const QString& URLString, const QVariant& parameters, SuccessBlock success, FailureBlock failure)
{
    return requestOperation("PATCH", URLString, parameters, std::move(success), std::move(failure));
}

std::shared_ptr<KNHTTPRequestOperation> KNHTTPRequestOperationManager::DELETE(
    const QString& URLString, const QVariant& parameters, SuccessBlock success, FailureBlock failure)
{
    return requestOperation("DELETE", URLString, parameters, std::move(success), std::move(failure));
}

QString KNHTTPRequestOperationManager::description() const
{
    const QString queue = u"<OperationQueue: %1>"_s.arg(addressOf(m_operationQueue.get()));
    return u"<KNHTTPRequestOperationManager: %1, baseURL: %2, operationQueue: %3>"_s.arg(
        addressOf(this), m_baseURL.isEmpty() ? u"(null)"_s : m_baseURL.toString(QUrl::FullyEncoded), queue);
}

QVariantMap KNHTTPRequestOperationManager::archive() const
{
    QVariantMap archive;
    if (!m_baseURL.isEmpty())
        archive.insert(u"baseURL"_s, m_baseURL);
    if (m_requestSerializer)
        archive.insert(u"requestSerializer"_s, m_requestSerializer->archive());
    if (m_responseSerializer)
        archive.insert(u"responseSerializer"_s, m_responseSerializer->archive());
    return archive;
}

std::shared_ptr<KNHTTPRequestOperationManager> KNHTTPRequestOperationManager::fromArchive(
    const QVariantMap& archive)
{
    const QVariant base = archive.value(u"baseURL"_s);
    const QUrl baseURL = base.userType() == QMetaType::QUrl ? base.toUrl() : QUrl(base.toString());
    auto manager = std::make_shared<KNHTTPRequestOperationManager>(baseURL);
    if (auto request
        = net::KNHTTPRequestSerializer::fromArchive(archive.value(u"requestSerializer"_s).toMap()))
        manager->setRequestSerializer(std::move(request));
    if (auto response = KNHTTPResponseSerializer::fromArchive(archive.value(u"responseSerializer"_s).toMap()))
        manager->setResponseSerializer(std::move(response));
    return manager;
}

std::shared_ptr<KNHTTPRequestOperationManager> KNHTTPRequestOperationManager::clone() const
{
    auto copy = std::make_shared<KNHTTPRequestOperationManager>(m_baseURL);
    if (m_requestSerializer)
        copy->setRequestSerializer(m_requestSerializer->clone());
    if (m_responseSerializer)
        copy->setResponseSerializer(m_responseSerializer->clone());
    // A copy that trusted more servers than its original would be a quiet downgrade.
    if (m_securityPolicy)
        copy->setSecurityPolicy(std::make_shared<KNSecurityPolicy>(*m_securityPolicy));
    return copy;
}
