#pragma once

#include "net/operation/KNHTTPRequestOperation.h"
#include "net/operation/NetOperationQueue.h"
#include "net/request/KNHTTPRequestSerializer.h"

#include <QUrl>
#include <QVariant>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <optional>

class KNHTTPResponseSerializer;
class KNNetworkReachabilityManager;
class KNSecurityPolicy;

/// Builds one request per HTTP method against a base URL, wraps it in a
/// `KNHTTPRequestOperation` with the settings held here and enqueues it on its own operation
/// queue. Its fields are meant to be set before requests are made; it has no lock.
///
/// When the request serializer builds no request, nothing is enqueued: the failure block
/// receives the serializer's error on the completion queue, with an operation for the method
/// and address that never runs, and the call returns null.
class KNHTTPRequestOperationManager {
public:
    using SuccessBlock = KNHTTPRequestOperation::SuccessBlock;
    using FailureBlock = KNHTTPRequestOperation::FailureBlock;
    using HEADSuccessBlock = std::function<void(KNHTTPRequestOperation& operation)>;

    static std::shared_ptr<KNHTTPRequestOperationManager> manager();

    /// A base URL with a path that does not end in "/" gains one, so that relative URL
    /// strings resolve below it. An empty URL means none.
    explicit KNHTTPRequestOperationManager(const QUrl& baseURL = {});
    KNHTTPRequestOperationManager(const KNHTTPRequestOperationManager&) = delete;
    KNHTTPRequestOperationManager& operator=(const KNHTTPRequestOperationManager&) = delete;
    /// Operations still queued are not cancelled.
    ~KNHTTPRequestOperationManager();

    /// Empty when there is none.
    const QUrl& baseURL() const { return m_baseURL; }

    /// `KNHTTPRequestSerializer::serializer()` unless set.
    std::shared_ptr<net::KNHTTPRequestSerializer> requestSerializer() const { return m_requestSerializer; }
    void setRequestSerializer(std::shared_ptr<net::KNHTTPRequestSerializer> serializer);
    /// `KNJSONResponseSerializer::serializer()` unless set.
    std::shared_ptr<KNHTTPResponseSerializer> responseSerializer() const { return m_responseSerializer; }
    void setResponseSerializer(std::shared_ptr<KNHTTPResponseSerializer> serializer);

    /// Owned by the manager; starts what is added to it when its turn comes.
    net::OperationQueue& operationQueue() const { return *m_operationQueue; }

    std::optional<net::URLCredential> credential() const { return m_credential; }
    void setCredential(std::optional<net::URLCredential> credential);
    /// `KNSecurityPolicy::defaultPolicy()` unless set.
    std::shared_ptr<KNSecurityPolicy> securityPolicy() const { return m_securityPolicy; }
    void setSecurityPolicy(std::shared_ptr<KNSecurityPolicy> policy);
    /// The shared manager unless set; never started here.
    std::shared_ptr<KNNetworkReachabilityManager> reachabilityManager() const
    {
        return m_reachabilityManager;
    }
    void setReachabilityManager(std::shared_ptr<KNNetworkReachabilityManager> manager);
    /// Given to every operation; none: the main thread.
    std::shared_ptr<net::DispatchQueue> completionQueue() const { return m_completionQueue; }
    void setCompletionQueue(std::shared_ptr<net::DispatchQueue> queue);
    /// Given to every operation; none: the operation's shared group.
    std::shared_ptr<net::DispatchGroup> completionGroup() const { return m_completionGroup; }
    void setCompletionGroup(std::shared_ptr<net::DispatchGroup> group);

    /// A new operation for `request` with this manager's response serializer, credential,
    /// security policy, the blocks, completion queue and group; neither started nor enqueued.
    std::shared_ptr<KNHTTPRequestOperation> HTTPRequestOperationWithRequest(
        const net::URLRequest& request, SuccessBlock success, FailureBlock failure) const;

    /// Each resolves `URLString` against the base URL, builds the request with the request
    /// serializer and enqueues an operation for it, which it returns (see the class comment
    /// for a request that cannot be built).
    std::shared_ptr<KNHTTPRequestOperation> GET(
        const QString& URLString, const QVariant& parameters, SuccessBlock success, FailureBlock failure);
    /// The success block never sees the response object.
    std::shared_ptr<KNHTTPRequestOperation> HEAD(
        const QString& URLString, const QVariant& parameters, HEADSuccessBlock success, FailureBlock failure);
    std::shared_ptr<KNHTTPRequestOperation> POST(
        const QString& URLString, const QVariant& parameters, SuccessBlock success, FailureBlock failure);
    /// A multipart form-data body: the parameters as fields, then what `block` appends.
    std::shared_ptr<KNHTTPRequestOperation> POST(const QString& URLString, const QVariantMap& parameters,
        const net::KNHTTPRequestSerializer::MultipartBodyBlock& block, SuccessBlock success,
        FailureBlock failure);
    std::shared_ptr<KNHTTPRequestOperation> PUT(
        const QString& URLString, const QVariant& parameters, SuccessBlock success, FailureBlock failure);
    std::shared_ptr<KNHTTPRequestOperation> PATCH(
        const QString& URLString, const QVariant& parameters, SuccessBlock success, FailureBlock failure);
    std::shared_ptr<KNHTTPRequestOperation> DELETE(
        const QString& URLString, const QVariant& parameters, SuccessBlock success, FailureBlock failure);

    /// The address `URLString` names, resolved against the base URL.
    QString absoluteURLString(const QString& URLString) const;

    QString description() const;

    /// Keys "baseURL", "requestSerializer" and "responseSerializer".
    QVariantMap archive() const;
    /// A manager for the archived base URL with the archived serializers (the defaults for a
    /// serializer of no known class) and every other field at its default.
    static std::shared_ptr<KNHTTPRequestOperationManager> fromArchive(const QVariantMap& archive);
    /// A manager with the same base URL, copies of both serializers and of the security
    /// policy, and its own operation queue; every other field at its default.
    std::shared_ptr<KNHTTPRequestOperationManager> clone() const;

private:
    std::shared_ptr<KNHTTPRequestOperation> enqueue(std::optional<net::URLRequest> request,
        const std::optional<net::Error>& error, const QByteArray& method, const QString& URLString,
        SuccessBlock success, FailureBlock failure);
    std::shared_ptr<KNHTTPRequestOperation> requestOperation(const QByteArray& method,
        const QString& URLString, const QVariant& parameters, SuccessBlock success, FailureBlock failure);

    std::shared_ptr<net::KNHTTPRequestSerializer> m_requestSerializer;
    std::shared_ptr<KNHTTPResponseSerializer> m_responseSerializer;
    QUrl m_baseURL;
    std::unique_ptr<net::OperationQueue> m_operationQueue;
    std::optional<net::URLCredential> m_credential;
    std::shared_ptr<KNSecurityPolicy> m_securityPolicy;
    std::shared_ptr<KNNetworkReachabilityManager> m_reachabilityManager;
    std::shared_ptr<net::DispatchQueue> m_completionQueue;
    std::shared_ptr<net::DispatchGroup> m_completionGroup;
};
