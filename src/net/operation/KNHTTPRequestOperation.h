#pragma once

#include "net/operation/KNURLConnectionOperation.h"
#include "net/serialization/KNHTTPResponseSerializer.h"

#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

/// A request operation for HTTP: its response serializer validates the response and turns
/// the body into an object, at most once per serializer, and the outcome goes to a success
/// block (the object) or a failure block (the error). Pausing a download makes resuming ask
/// only for the missing bytes.
class KNHTTPRequestOperation : public KNURLConnectionOperation {
    Q_OBJECT
public:
    using SuccessBlock
        = std::function<void(KNHTTPRequestOperation& operation, const QVariant& responseObject)>;
    using FailureBlock = std::function<void(KNHTTPRequestOperation& operation, const net::Error& error)>;

    /// The response serializer is `KNHTTPResponseSerializer::serializer()`.
    explicit KNHTTPRequestOperation(net::URLRequest request);

    std::shared_ptr<KNHTTPResponseSerializer> responseSerializer() const;
    /// Drops the object and error of the previous serializer, so the next read serializes
    /// again.
    void setResponseSerializer(std::shared_ptr<KNHTTPResponseSerializer> serializer);
    /// The serializer's object; made on the first read after the operation finished without
    /// error. Null when there is none.
    QVariant responseObject() const;
    /// The serializer's error when it reported one, else the transfer's.
    std::optional<net::Error> error() const override;

    /// After the operation finished, the body is serialized on the queue
    /// "kitnet.networking.http-request.processing", then `success` or `failure` runs on the
    /// completion queue (the main thread unless set), in the completion group. Either may be
    /// empty.
    void setCompletionBlockWithSuccess(SuccessBlock success, FailureBlock failure);

    /// When the pause took effect and bytes arrived, the request now asks for the rest:
    /// "Range: bytes=<offset>-", and "If-Range" with the response's ETag when it had one.
    void pause() override;

    /// The base's keys and "responseSerializer".
    QVariantMap archive() override;
    static std::shared_ptr<KNHTTPRequestOperation> fromArchive(const QVariantMap& archive);
    /// As the base copies, with a copy of the response serializer.
    std::shared_ptr<KNURLConnectionOperation> clone() const override;

protected:
    /// After a resume: a 206 from the held offset appends to what is held; any other answer
    /// replaces it.
    std::optional<net::Error> didReceiveResponse(const net::URLResponse& response) override;

private:
    std::shared_ptr<KNHTTPResponseSerializer> m_responseSerializer;
    mutable QVariant m_responseObject;
    mutable std::optional<net::Error> m_responseSerializationError;
    mutable bool m_serialized = false;
    std::optional<qint64> m_resumeOffset;
};
