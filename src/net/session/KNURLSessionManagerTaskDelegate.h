#pragma once

#include "net/core/NetError.h"
#include "net/core/URLResponse.h"

#include <QByteArray>
#include <QUrl>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

class KNURLSessionManager;
class KNURLSessionTask;

namespace net {
class Progress;
class URLSession;
} // namespace net

/// What a session manager keeps for one of its tasks: the body received so far, the
/// progress, where a download went, and the completion handler, which it calls once the
/// task completed. Lives on the manager's delegate queue apart from `progress`.
class KNURLSessionManagerTaskDelegate {
public:
    /// (response, response object, error)
    using CompletionHandler = std::function<void(const std::optional<net::URLResponse>&,
        const QVariant& responseObject, const std::optional<net::Error>&)>;
    /// (session, download task, temporary file) -> where to keep the file; an empty URL keeps it nowhere.
    using DownloadDestinationBlock = std::function<QUrl(
        net::URLSession&, const std::shared_ptr<KNURLSessionTask>&, const QUrl& location)>;

    explicit KNURLSessionManagerTaskDelegate(std::weak_ptr<KNURLSessionManager> manager);

    std::weak_ptr<KNURLSessionManager> manager() const { return m_manager; }
    const std::shared_ptr<net::Progress>& progress() const { return m_progress; }
    const QByteArray& mutableData() const { return m_mutableData; }
    const std::optional<QUrl>& downloadFileURL() const { return m_downloadFileURL; }
    void setDownloadFileURL(std::optional<QUrl> url) { m_downloadFileURL = std::move(url); }
    /// A download whose file could not be put in place completes with this error.
    void setDownloadMoveError(std::optional<net::Error> error) { m_downloadMoveError = std::move(error); }
    void setDownloadTaskDidFinishDownloading(DownloadDestinationBlock block)
    {
        m_downloadTaskDidFinishDownloading = std::move(block);
    }
    void setCompletionHandler(CompletionHandler handler) { m_completionHandler = std::move(handler); }

    void didSendBodyData(qint64 totalBytesSent, qint64 totalBytesExpectedToSend);
    void didWriteData(qint64 totalBytesWritten, qint64 totalBytesExpectedToWrite);
    void didResumeAtOffset(qint64 fileOffset, qint64 expectedTotalBytes);
    void didReceiveData(const QByteArray& data);
    void didFinishDownloadingToURL(
        net::URLSession& session, const std::shared_ptr<KNURLSessionTask>& task, const QUrl& location);
    /// Serialises the response (unless the task failed) and calls the completion handler on
    /// the completion queue, then posts `notifications::taskDidComplete` on the main thread.
    void didCompleteWithError(
        const std::shared_ptr<KNURLSessionTask>& task, const std::optional<net::Error>& error);

private:
    std::weak_ptr<KNURLSessionManager> m_manager;
    QByteArray m_mutableData;
    std::shared_ptr<net::Progress> m_progress;
    std::optional<QUrl> m_downloadFileURL;
    std::optional<net::Error> m_downloadMoveError;
    DownloadDestinationBlock m_downloadTaskDidFinishDownloading;
    CompletionHandler m_completionHandler;
};

namespace net {

/// The error domain of putting a downloaded file in place.
inline const QString fileManagerErrorDomain = QStringLiteral("kitnet.error.file");
/// User-info key of those errors: the path that could not be written (a `QString`).
inline const QString filePathErrorKey = QStringLiteral("filePath");
enum FileManagerErrorCode : qint64 {
    fileReadNoSuchFile = 260,
    fileWriteUnknown = 512,
    fileWriteFileExists = 516
};

/// Puts the file at `location` at `destination`, which must not exist yet: the bytes go to a
/// temporary file beside the destination that is renamed into place once whole, so the
/// destination is either absent or complete. `location` is removed on success.
std::optional<Error> moveDownloadedFile(const QUrl& location, const QUrl& destination);

} // namespace net
