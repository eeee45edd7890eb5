#include "net/operation/KNHTTPRequestOperation.h"

#include "platform/Strings.h"

#include <QMutexLocker>
#include <QRegularExpression>

using namespace Qt::Literals::StringLiterals;

namespace {

std::shared_ptr<net::DispatchQueue> processingQueue()
{
    static const auto queue = net::DispatchQueue::concurrent(u"kitnet.networking.http-request.processing"_s);
    return queue;
}

std::shared_ptr<net::DispatchGroup> defaultRequestCompletionGroup()
{
    static const auto group = std::make_shared<net::DispatchGroup>();
    return group;
}

/// The first byte of "Content-Range: bytes A-B/C", or none.
std::optional<qint64> rangeStart(const net::URLResponse& response)
{
    static const QRegularExpression pattern(u"^\\s*bytes\\s+(\\d+)-\\d+/(\\d+|\\*)\\s*$"_s);
    const auto match = pattern.match(
        QString::fromLatin1(response.valueForHTTPHeaderField("Content-Range").value_or(QByteArray())));
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1).toLongLong();
}

} // namespace

KNHTTPRequestOperation::KNHTTPRequestOperation(net::URLRequest request)
    : KNURLConnectionOperation(std::move(request))
    , m_responseSerializer(KNHTTPResponseSerializer::serializer())
{
}

std::shared_ptr<KNHTTPResponseSerializer> KNHTTPRequestOperation::responseSerializer() const
{
    QMutexLocker locker(&lock());
    return m_responseSerializer;
}

void KNHTTPRequestOperation::setResponseSerializer(std::shared_ptr<KNHTTPResponseSerializer> serializer)
{
    QMutexLocker locker(&lock());
    m_responseSerializer = std::move(serializer);
    m_responseObject = QVariant();
    m_responseSerializationError.reset();
    m_serialized = false;
}

QVariant KNHTTPRequestOperation::responseObject() const
{
    QMutexLocker locker(&lock());
    if (!m_serialized && isFinished() && !error() && m_responseSerializer) {
        std::optional<net::Error> serializationError;
        m_responseObject = m_responseSerializer->responseObjectForResponse(
            response(), responseData(), &serializationError);
        m_responseSerializationError = serializationError;
        m_serialized = true;
    }
    return m_responseObject;
}

std::optional<net::Error> KNHTTPRequestOperation::error() const
{
    QMutexLocker locker(&lock());
    if (m_responseSerializationError)
        return m_responseSerializationError;
    return KNURLConnectionOperation::error();
}

void KNHTTPRequestOperation::setCompletionBlockWithSuccess(SuccessBlock success, FailureBlock failure)
{
    const std::weak_ptr<KNHTTPRequestOperation> weakSelf
        = std::static_pointer_cast<KNHTTPRequestOperation>(shared_from_this());
    setCompletionBlock([weakSelf, success = std::move(success), failure = std::move(failure)] {
        const auto operation = weakSelf.lock();
        if (!operation)
            return;
        const auto ownGroup = operation->completionGroup();
        if (ownGroup)
            ownGroup->enter();
        processingQueue()->async([operation, ownGroup, success, failure] {
            const auto group = ownGroup ? ownGroup : defaultRequestCompletionGroup();
            auto queue = operation->completionQueue();
            if (!queue)
                queue = net::DispatchQueue::main();
            const auto reportFailure = [&](const net::Error& seen) {
                if (failure)
                    net::DispatchGroup::async(group, queue, [operation, failure, seen] {
                        failure(*operation, operation->error().value_or(seen));
                    });
            };
            if (const auto transferError = operation->error()) {
                reportFailure(*transferError);
            } else {
                const QVariant object = operation->responseObject(); // serializes, off the main thread
                if (const auto serializationError = operation->error())
                    reportFailure(*serializationError);
                else if (success)
                    net::DispatchGroup::async(
                        group, queue, [operation, success, object] { success(*operation, object); });
            }
            if (ownGroup)
                ownGroup->leave();
        });
    });
}

void KNHTTPRequestOperation::pause()
{
    QMutexLocker locker(&lock());
    if (isPaused() || isFinished() || isCancelled())
        return; // a pause that does not take effect leaves the request as it is
    KNURLConnectionOperation::pause();
    if (!isPaused())
        return;
    const qint64 offset = bytesWrittenToOutputStream();
    net::URLRequest resumed = request();
    if (offset > 0) {
        const auto etag = response() ? response()->valueForHTTPHeaderField("ETag") : std::nullopt;
        resumed.setValue(etag, "If-Range");
        resumed.setValue("bytes=" + QByteArray::number(offset) + '-', "Range");
        m_resumeOffset = offset;
    } else {
        resumed.setValue(std::nullopt, "If-Range");
        resumed.setValue(std::nullopt, "Range");
        m_resumeOffset.reset();
    }
    setRequest(std::move(resumed));
}

std::optional<net::Error> KNHTTPRequestOperation::didReceiveResponse(const net::URLResponse& response)
{
    QMutexLocker locker(&lock());
    if (!m_resumeOffset)
        return std::nullopt;
    const qint64 offset = *m_resumeOffset;
    m_resumeOffset.reset();
    if (response.statusCode() == 206) {
        if (rangeStart(response) == offset)
            return std::nullopt;
        return net::urlError(net::badServerResponse, response.url(),
            platform::Strings::tr("The server resumed the download at another place than asked."));
    }
    if (!truncateOutputStream())
        return net::urlError(net::cannotWriteToFile, response.url(),
            platform::Strings::tr("The download cannot start over: its output cannot be emptied."));
    return std::nullopt;
}

QVariantMap KNHTTPRequestOperation::archive()
{
    QVariantMap archive = KNURLConnectionOperation::archive();
    if (const auto serializer = responseSerializer())
        archive[u"responseSerializer"_s] = serializer->archive();
    return archive;
}

std::shared_ptr<KNHTTPRequestOperation> KNHTTPRequestOperation::fromArchive(const QVariantMap& archive)
{
    auto operation
        = std::make_shared<KNHTTPRequestOperation>(archive.value(u"request"_s).value<net::URLRequest>());
    operation->restoreFromArchive(archive);
    if (archive.contains(u"responseSerializer"_s))
        operation->setResponseSerializer(
            KNHTTPResponseSerializer::fromArchive(archive.value(u"responseSerializer"_s).toMap()));
    return operation;
}

std::shared_ptr<KNURLConnectionOperation> KNHTTPRequestOperation::clone() const
{
    auto copy = std::make_shared<KNHTTPRequestOperation>(request());
    copyInto(*copy);
    if (const auto serializer = responseSerializer())
        copy->setResponseSerializer(serializer->clone());
    return copy;
}
