#pragma once

#include "net/request/KNHTTPRequestSerializer.h"
#include "net/session/KNURLSessionManager.h"

#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

/// A session manager for one HTTP service: a base URL that relative paths are resolved
/// against, a request serializer that builds the requests, and one call per HTTP method that
/// creates a task and resumes it. The response serializer is the base's, JSON by default.
/// Must be owned by `std::shared_ptr`, as its base.
class KNHTTPSessionManager : public KNURLSessionManager {
public:
    using SuccessBlock = std::function<void(const Task& task, const QVariant& responseObject)>;
    using HeadSuccessBlock = std::function<void(const Task& task)>;
    /// The task is none when the request could not be built.
    using FailureBlock = std::function<void(const Task& task, const net::Error& error)>;

    static std::shared_ptr<KNHTTPSessionManager> manager(const QUrl& baseURL = {},
        const std::optional<net::URLSessionConfiguration>& configuration = std::nullopt);
    /// A base URL with a path gets a trailing "/", so that relative paths extend it.
    explicit KNHTTPSessionManager(const QUrl& baseURL = {},
        const std::optional<net::URLSessionConfiguration>& configuration = std::nullopt);

    /// Empty when there is none.
    const QUrl& baseURL() const { return m_baseURL; }
    std::shared_ptr<net::KNHTTPRequestSerializer> requestSerializer() const;
    void setRequestSerializer(std::shared_ptr<net::KNHTTPRequestSerializer> serializer);
    void setResponseSerializer(std::shared_ptr<KNURLResponseSerialization> serializer) override;

    // Each builds its request with the request serializer, resumes the new task and returns it;
    // none, with the failure block called later on the completion queue, when the request
    // cannot be built.
    Task GET(
        const QString& URLString, const QVariant& parameters, SuccessBlock success, FailureBlock failure);
    /// The success block gets the task alone: a HEAD response has no body.
    Task HEAD(
        const QString& URLString, const QVariant& parameters, HeadSuccessBlock success, FailureBlock failure);
    Task POST(
        const QString& URLString, const QVariant& parameters, SuccessBlock success, FailureBlock failure);
    /// A multipart form upload: the parameters as form fields, then what `block` appends.
    Task POST(const QString& URLString, const QVariant& parameters,
        const net::KNHTTPRequestSerializer::MultipartBodyBlock& block, SuccessBlock success,
        FailureBlock failure);
    Task PUT(
        const QString& URLString, const QVariant& parameters, SuccessBlock success, FailureBlock failure);
    Task PATCH(
        const QString& URLString, const QVariant& parameters, SuccessBlock success, FailureBlock failure);
    Task DELETE(
        const QString& URLString, const QVariant& parameters, SuccessBlock success, FailureBlock failure);

    /// A data task for `method`, not resumed; none when the request cannot be built.
    Task dataTaskWithHTTPMethod(const QByteArray& method, const QString& URLString,
        const QVariant& parameters, SuccessBlock success, FailureBlock failure);

    QString description() const override;
    /// The base's keys, then "baseURL", "sessionConfiguration", "requestSerializer" and
    /// "responseSerializer" (when it can be archived).
    QVariantMap archive() const override;
    /// Also takes an "identifier" in place of "sessionConfiguration": a background configuration.
    static std::shared_ptr<KNHTTPSessionManager> fromArchive(const QVariantMap& archive);
    /// Same base URL, configuration and security policy; copies of both serializers.
    std::shared_ptr<KNURLSessionManager> clone() const override;

private:
    QString absoluteURLString(const QString& URLString) const;
    CompletionHandler completionHandler(const std::shared_ptr<std::weak_ptr<KNURLSessionTask>>& taskSlot,
        SuccessBlock success, FailureBlock failure);
    void reportBuildFailure(
        FailureBlock failure, const std::optional<net::Error>& error, const QString& URLString);
    Task resumed(Task task);

    QUrl m_baseURL;
    mutable QMutex m_serializerLock;
    std::shared_ptr<net::KNHTTPRequestSerializer> m_requestSerializer;
};
