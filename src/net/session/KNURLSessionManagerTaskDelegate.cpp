#include "net/session/KNURLSessionManagerTaskDelegate.h"

#include "net/operation/NetDispatch.h"
#include "net/session/KNURLSessionManager.h"
#include "net/session/KNURLSessionTask.h"
#include "net/session/SessionNotifications.h"
#include "net/session/SessionProgress.h"

#include "platform/NotificationCenter.h"
#include "platform/Strings.h"

#include <QFile>
#include <QSaveFile>

using namespace Qt::Literals::StringLiterals;

namespace net {

std::optional<Error> moveDownloadedFile(const QUrl& location, const QUrl& destination)
{
    const QString target = destination.toLocalFile();
    const auto failure = [&target](qint64 code, const QString& reason) {
        return Error(fileManagerErrorDomain, code,
            { { localizedDescriptionKey,
                  platform::Strings::tr("The downloaded file could not be saved to %1: %2")
                      .arg(target, reason) },
                { filePathErrorKey, target } });
    };
    if (target.isEmpty() || QFile::exists(target))
        return failure(fileWriteFileExists, platform::Strings::tr("a file of that name is already there"));
    QFile source(location.toLocalFile());
    if (!source.open(QIODevice::ReadOnly))
        return failure(fileReadNoSuchFile, source.errorString());
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        return failure(fileWriteUnknown, file.errorString());
    QByteArray chunk;
    while (!(chunk = source.read(1 << 16)).isEmpty()) {
        if (file.write(chunk) != chunk.size())
            break;
    }
    if (source.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return failure(fileReadNoSuchFile, source.errorString());
    }
    if (!file.commit())
        return failure(fileWriteUnknown, file.errorString());
    source.close();
    source.remove();
    return std::nullopt;
}

} // namespace net

namespace {

QObject* asObject(const std::shared_ptr<KNURLSessionTask>& task)
{
    return task.get();
}

std::shared_ptr<net::DispatchQueue> processingQueue()
{
    static const auto queue
        = net::DispatchQueue::concurrent(u"kitnet.networking.session.manager.processing"_s);
    return queue;
}

std::shared_ptr<net::DispatchGroup> defaultCompletionGroup()
{
    static const auto group = std::make_shared<net::DispatchGroup>();
    return group;
}

} // namespace

KNURLSessionManagerTaskDelegate::KNURLSessionManagerTaskDelegate(std::weak_ptr<KNURLSessionManager> manager)
    : m_manager(std::move(manager)), m_progress(std::make_shared<net::Progress>())
{
}

void KNURLSessionManagerTaskDelegate::didSendBodyData(qint64 totalBytesSent, qint64 totalBytesExpectedToSend)
{
    m_progress->setTotalUnitCount(totalBytesExpectedToSend);
    m_progress->setCompletedUnitCount(totalBytesSent);
}

void KNURLSessionManagerTaskDelegate::didWriteData(qint64 totalBytesWritten, qint64 totalBytesExpectedToWrite)
{
    m_progress->setTotalUnitCount(totalBytesExpectedToWrite);
    m_progress->setCompletedUnitCount(totalBytesWritten);
}

void KNURLSessionManagerTaskDelegate::didResumeAtOffset(qint64 fileOffset, qint64 expectedTotalBytes)
{
    m_progress->setTotalUnitCount(expectedTotalBytes);
    m_progress->setCompletedUnitCount(fileOffset);
}

void KNURLSessionManagerTaskDelegate::didReceiveData(const QByteArray& data)
{
    m_mutableData.append(data);
}

void KNURLSessionManagerTaskDelegate::didFinishDownloadingToURL(
    net::URLSession& session, const std::shared_ptr<KNURLSessionTask>& task, const QUrl& location)
{
    m_downloadFileURL.reset();
    if (!m_downloadTaskDidFinishDownloading)
        return;
    const QUrl destination = m_downloadTaskDidFinishDownloading(session, task, location);
    if (destination.isEmpty())
        return;
    m_downloadFileURL = destination;
    if (const auto error = net::moveDownloadedFile(location, destination)) {
        m_downloadMoveError = error;
        platform::NotificationCenter::defaultCenter().post(
            notifications::downloadDidFailToMoveFile, QVariant::fromValue(asObject(task)), error->userInfo());
    }
}

void KNURLSessionManagerTaskDelegate::didCompleteWithError(
    const std::shared_ptr<KNURLSessionTask>& task, const std::optional<net::Error>& error)
{
    const auto manager = m_manager.lock();
    const std::shared_ptr<KNURLResponseSerialization> serializer
        = manager ? manager->responseSerializer() : nullptr;
    QVariantMap userInfo { { notifications::taskDidCompleteResponseSerializerKey,
        QVariant::fromValue(serializer) } };
    const QByteArray data = std::exchange(m_mutableData, {});
    // A download that is not where it was to be kept is no success.
    std::optional<QUrl> fileURL = m_downloadMoveError ? std::nullopt : m_downloadFileURL;
    if (fileURL)
        userInfo.insert(notifications::taskDidCompleteAssetPathKey, *fileURL);
    else
        userInfo.insert(notifications::taskDidCompleteResponseDataKey, data);

    std::shared_ptr<net::DispatchQueue> queue = manager ? manager->completionQueue() : nullptr;
    if (!queue)
        queue = net::DispatchQueue::main();
    std::shared_ptr<net::DispatchGroup> group = manager ? manager->completionGroup() : nullptr;
    if (!group)
        group = defaultCompletionGroup();
    const auto post = [task](const QVariantMap& userInfo) {
        net::DispatchQueue::main()->async([task, userInfo] {
            platform::NotificationCenter::defaultCenter().post(
                notifications::taskDidComplete, QVariant::fromValue(asObject(task)), userInfo);
        });
    };

    const std::optional<net::Error> failure = error ? error : m_downloadMoveError;
    if (failure) {
        userInfo.insert(notifications::taskDidCompleteErrorKey, QVariant::fromValue(*failure));
        net::DispatchGroup::async(
            group, queue, [handler = m_completionHandler, task, failure, userInfo, post] {
                if (handler)
                    handler(task->response(), QVariant(), failure);
                post(userInfo);
            });
        return;
    }
    processingQueue()->async([handler = m_completionHandler, serializer, task, data, fileURL, userInfo, queue,
                                 group, post]() mutable {
        std::optional<net::Error> serializationError;
        QVariant object;
        if (serializer)
            object = serializer->responseObjectForResponse(task->response(), data, &serializationError);
        if (fileURL)
            object = *fileURL;
        if (object.isValid())
            userInfo.insert(notifications::taskDidCompleteSerializedResponseKey, object);
        if (serializationError)
            userInfo.insert(notifications::taskDidCompleteErrorKey, QVariant::fromValue(*serializationError));
        net::DispatchGroup::async(group, queue, [handler, task, object, serializationError, userInfo, post] {
            if (handler)
                handler(task->response(), object, serializationError);
            post(userInfo);
        });
    });
}
