#pragma once

#include "net/core/NetError.h"
#include "net/core/URLRequest.h"
#include "net/core/URLResponse.h"
#include "net/operation/KNURLConnectionOperation.h"

#include <QList>
#include <QMutex>
#include <QPointer>
#include <QUrl>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <optional>

class KNURLSessionTask;
class QNetworkAccessManager;

namespace net {

class OperationQueue;
class URLSession;

/// How a session's transfers are made. A configuration with an identifier is a background
/// configuration; this layer runs it like any other.
struct URLSessionConfiguration {
    static URLSessionConfiguration defaultSessionConfiguration() { return {}; }
    static URLSessionConfiguration backgroundSessionConfiguration(const QString& identifier);

    /// Null for an ordinary session.
    QString identifier;
    /// Seconds a transfer may go without progress.
    double timeoutIntervalForRequest = URLRequest::defaultTimeoutInterval;
    /// Sent with every request that does not set the field itself.
    QList<QPair<QByteArray, QByteArray>> HTTPAdditionalHeaders;
    /// The folder where the session's data tasks keep responses to use again, by the rules
    /// of HTTP caching; null: the session keeps none and always asks the server.
    QString URLCacheDirectory;
    /// The bytes that cache may take on disk.
    qint64 URLCacheDiskCapacity = 50 * 1024 * 1024;

    QVariantMap archive() const;
    static URLSessionConfiguration fromArchive(const QVariantMap& archive);

    friend bool operator==(const URLSessionConfiguration&, const URLSessionConfiguration&) = default;
};

enum class SessionChallengeDisposition : qint64 {
    UseCredential = 0,
    PerformDefaultHandling = 1,
    CancelAuthenticationChallenge = 2,
};

struct SessionChallengeAnswer {
    SessionChallengeDisposition disposition = SessionChallengeDisposition::PerformDefaultHandling;
    std::optional<URLCredential> credential;
};

enum class SessionResponseDisposition : qint64 { Cancel = 0, Allow = 1, BecomeDownload = 2 };

/// A response as the session's cache keeps it.
struct CachedURLResponse {
    URLResponse response;
    QByteArray data;

    friend bool operator==(const CachedURLResponse&, const CachedURLResponse&) = default;
};

/// What a session tells the object that drives it. Every call comes on the session's
/// delegate queue, one at a time and in the order the transfer brought them about, except
/// the challenge, redirect, body-stream and cache questions: the transfer on the network
/// thread waits for their answers, so they are asked there. The defaults do what a session
/// does without a delegate.
class URLSessionDelegate {
public:
    /// The optional questions: a delegate that does not answer one leaves it to the session.
    enum class Optional { Redirection, ReceiveResponse, WillCacheResponse };

    virtual ~URLSessionDelegate() = default;
    virtual bool respondsTo(Optional) const { return true; }

    virtual void didBecomeInvalid(URLSession&, const std::optional<Error>&) { }
    virtual SessionChallengeAnswer didReceiveChallenge(URLSession&, const AuthenticationChallenge&)
    {
        return {};
    }
    virtual std::optional<URLRequest> willPerformHTTPRedirection(
        URLSession&, const std::shared_ptr<KNURLSessionTask>&, const URLResponse&, const URLRequest& request)
    {
        return request;
    }
    virtual SessionChallengeAnswer didReceiveChallenge(
        URLSession&, const std::shared_ptr<KNURLSessionTask>&, const AuthenticationChallenge&)
    {
        return {};
    }
    /// The task's streamed body goes out again (a redirect keeps it, or a login was answered)
    /// and the stream it was read from is spent: a new stream with the whole body, or none,
    /// which fails the task with `requestBodyStreamExhausted`.
    virtual std::shared_ptr<QIODevice> needNewBodyStream(
        URLSession&, const std::shared_ptr<KNURLSessionTask>&)
    {
        return nullptr;
    }
    virtual void didSendBodyData(URLSession&, const std::shared_ptr<KNURLSessionTask>&, qint64 /*bytesSent*/,
        qint64 /*totalBytesSent*/, qint64 /*totalBytesExpectedToSend*/)
    {
    }
    virtual void didCompleteWithError(
        URLSession&, const std::shared_ptr<KNURLSessionTask>&, const std::optional<Error>&)
    {
    }
    virtual SessionResponseDisposition didReceiveResponse(
        URLSession&, const std::shared_ptr<KNURLSessionTask>&, const URLResponse&)
    {
        return SessionResponseDisposition::Allow;
    }
    /// The data task answered `BecomeDownload`: its transfer goes on as `downloadTask`.
    virtual void didBecomeDownloadTask(URLSession&, const std::shared_ptr<KNURLSessionTask>& /*dataTask*/,
        const std::shared_ptr<KNURLSessionTask>& /*downloadTask*/)
    {
    }
    virtual void didReceiveData(URLSession&, const std::shared_ptr<KNURLSessionTask>&, const QByteArray&) { }
    /// A data task's response was stored in the session's cache: what to keep there instead,
    /// or none to keep nothing. Asked on the network thread, before the task completes.
    virtual std::optional<CachedURLResponse> willCacheResponse(
        URLSession&, const std::shared_ptr<KNURLSessionTask>&, const CachedURLResponse& proposedResponse)
    {
        return proposedResponse;
    }
    /// `location` is removed after this call returns: move it away to keep it.
    virtual void didFinishDownloadingToURL(URLSession&, const std::shared_ptr<KNURLSessionTask>&, const QUrl&)
    {
    }
    virtual void didWriteData(URLSession&, const std::shared_ptr<KNURLSessionTask>&, qint64 /*bytesWritten*/,
        qint64 /*totalBytesWritten*/, qint64 /*totalBytesExpectedToWrite*/)
    {
    }
    /// A download made from resume data goes on at `fileOffset` (0 when the server sent the
    /// whole body again).
    virtual void didResumeAtOffset(URLSession&, const std::shared_ptr<KNURLSessionTask>&,
        qint64 /*fileOffset*/, qint64 /*expectedTotalBytes*/)
    {
    }
};

/// A set of tasks that share a configuration and report to one delegate on one serial
/// delegate queue. Transfers run on the network thread "KitNet" over a network access manager
/// of the session's own, so that the logins answered for its tasks serve no other session.
/// Owned by `std::shared_ptr`; it holds its delegate weakly.
class URLSession : public std::enable_shared_from_this<URLSession> {
public:
    static std::shared_ptr<URLSession> sessionWithConfiguration(const URLSessionConfiguration& configuration,
        std::weak_ptr<URLSessionDelegate> delegate, std::shared_ptr<OperationQueue> delegateQueue);
    ~URLSession();
    URLSession(const URLSession&) = delete;
    URLSession& operator=(const URLSession&) = delete;

    const URLSessionConfiguration& configuration() const { return m_configuration; }
    const std::shared_ptr<OperationQueue>& delegateQueue() const { return m_delegateQueue; }
    std::shared_ptr<URLSessionDelegate> delegate() const;
    void setDelegate(std::weak_ptr<URLSessionDelegate> delegate);

    /// New tasks, suspended. None once the session is invalid.
    std::shared_ptr<KNURLSessionTask> dataTaskWithRequest(const URLRequest& request);
    std::shared_ptr<KNURLSessionTask> uploadTaskWithRequest(
        const URLRequest& request, const QByteArray& fromData);
    /// None when the session is invalid; a file that cannot be read fails the task.
    std::shared_ptr<KNURLSessionTask> uploadTaskWithRequest(const URLRequest& request, const QUrl& fromFile);
    /// The body is the request's body stream.
    std::shared_ptr<KNURLSessionTask> uploadTaskWithStreamedRequest(const URLRequest& request);
    std::shared_ptr<KNURLSessionTask> downloadTaskWithRequest(const URLRequest& request);
    /// Goes on with a download cancelled by `cancelByProducingResumeData`; none when the data
    /// cannot be read.
    std::shared_ptr<KNURLSessionTask> downloadTaskWithResumeData(const QByteArray& resumeData);

    /// The unfinished tasks (data, upload, download), handed to `completion` on the network
    /// thread; called directly when already there.
    using TasksHandler = std::function<void(const QList<std::shared_ptr<KNURLSessionTask>>& dataTasks,
        const QList<std::shared_ptr<KNURLSessionTask>>& uploadTasks,
        const QList<std::shared_ptr<KNURLSessionTask>>& downloadTasks)>;
    void getTasksWithCompletionHandler(TasksHandler completion);

    /// No new tasks; once the running ones finished, the delegate hears `didBecomeInvalid`
    /// and is let go.
    void finishTasksAndInvalidate();
    /// The same after cancelling every task.
    void invalidateAndCancel();
    bool isInvalid() const;

    QString description() const;

private:
    friend class ::KNURLSessionTask;

    URLSession(URLSessionConfiguration configuration, std::weak_ptr<URLSessionDelegate> delegate,
        std::shared_ptr<OperationQueue> delegateQueue);
    std::shared_ptr<KNURLSessionTask> addTask(std::shared_ptr<KNURLSessionTask> task);
    /// A running download task for `dataTask`'s request, to take over its transfer.
    std::shared_ptr<KNURLSessionTask> addDownloadTaskTakingOver(const KNURLSessionTask& dataTask);
    /// Runs `call` with the delegate on the delegate queue, if there is a delegate then.
    void deliver(std::function<void(URLSession&, URLSessionDelegate&)> call);
    /// Network thread only: the session's manager, made on first use, with the configuration's
    /// cache when it names one.
    QNetworkAccessManager* networkManager();
    /// Called on the network thread by a task that finished, after its last callback was queued.
    void taskDidFinish(quint64 identifier);
    void invalidateIfDone();

    const URLSessionConfiguration m_configuration;
    const std::shared_ptr<OperationQueue> m_delegateQueue;
    mutable QMutex m_mutex;
    std::weak_ptr<URLSessionDelegate> m_delegate;
    QList<std::shared_ptr<KNURLSessionTask>> m_tasks;
    quint64 m_nextIdentifier = 1;
    bool m_invalidating = false;
    bool m_invalidated = false;
    QPointer<QNetworkAccessManager> m_networkManager; // network thread only
};

} // namespace net
