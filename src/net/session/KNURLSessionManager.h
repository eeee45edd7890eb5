#pragma once

#include "net/operation/NetDispatch.h"
#include "net/serialization/KNURLResponseSerialization.h"
#include "net/session/KNURLSessionManagerTaskDelegate.h"
#include "net/session/URLSession.h"

#include <QHash>
#include <QMutex>
#include <QObject>

#include <functional>
#include <memory>
#include <optional>

class KNNetworkReachabilityManager;
class KNSecurityPolicy;
class KNURLSessionTask;

namespace net {
class OperationQueue;
class Progress;
} // namespace net

Q_DECLARE_METATYPE(net::URLSession*)
Q_DECLARE_METATYPE(std::shared_ptr<KNURLResponseSerialization>)

/// Owns one session, is its delegate, and turns the session's callbacks into one completion
/// handler and one progress per task and the notifications of `SessionNotifications.h`.
/// Must be owned by `std::shared_ptr` (`manager()` or `std::make_shared`): the session and
/// the task delegates reach it weakly. Dropping the last reference cancels its tasks.
/// Task creation, the delegate bookkeeping and the task lists may be used from any thread.
class KNURLSessionManager : public net::URLSessionDelegate,
                            public std::enable_shared_from_this<KNURLSessionManager> {
public:
    using CompletionHandler = KNURLSessionManagerTaskDelegate::CompletionHandler;
    /// (temporary file, response) -> where to keep the downloaded file.
    using DestinationBlock
        = std::function<QUrl(const QUrl& targetPath, const std::optional<net::URLResponse>&)>;
    using TaskList = QList<std::shared_ptr<KNURLSessionTask>>;
    using Task = std::shared_ptr<KNURLSessionTask>;

    using SessionDidBecomeInvalidBlock
        = std::function<void(net::URLSession&, const std::optional<net::Error>&)>;
    using DidFinishEventsForBackgroundURLSessionBlock = std::function<void(net::URLSession&)>;
    using SessionDidReceiveAuthenticationChallengeBlock
        = std::function<net::SessionChallengeDisposition(net::URLSession&,
            const net::AuthenticationChallenge&, std::optional<net::URLCredential>* credential)>;
    using TaskDidReceiveAuthenticationChallengeBlock
        = std::function<net::SessionChallengeDisposition(net::URLSession&, const Task&,
            const net::AuthenticationChallenge&, std::optional<net::URLCredential>* credential)>;
    using TaskWillPerformHTTPRedirectionBlock = std::function<std::optional<net::URLRequest>(
        net::URLSession&, const Task&, const net::URLResponse&, const net::URLRequest&)>;
    using TaskNeedNewBodyStreamBlock
        = std::function<std::shared_ptr<QIODevice>(net::URLSession&, const Task&)>;
    using TaskDidSendBodyDataBlock = std::function<void(net::URLSession&, const Task&, qint64 bytesSent,
        qint64 totalBytesSent, qint64 totalBytesExpectedToSend)>;
    using TaskDidCompleteBlock
        = std::function<void(net::URLSession&, const Task&, const std::optional<net::Error>&)>;
    using DataTaskDidReceiveResponseBlock = std::function<net::SessionResponseDisposition(
        net::URLSession&, const Task&, const net::URLResponse&)>;
    using DataTaskDidBecomeDownloadTaskBlock
        = std::function<void(net::URLSession&, const Task& dataTask, const Task& downloadTask)>;
    using DataTaskDidReceiveDataBlock = std::function<void(net::URLSession&, const Task&, const QByteArray&)>;
    using DataTaskWillCacheResponseBlock = std::function<std::optional<net::CachedURLResponse>(
        net::URLSession&, const Task&, const net::CachedURLResponse& proposedResponse)>;
    using DownloadTaskDidFinishDownloadingBlock = KNURLSessionManagerTaskDelegate::DownloadDestinationBlock;
    using DownloadTaskDidWriteDataBlock = std::function<void(net::URLSession&, const Task&,
        qint64 bytesWritten, qint64 totalBytesWritten, qint64 totalBytesExpectedToWrite)>;
    using DownloadTaskDidResumeBlock
        = std::function<void(net::URLSession&, const Task&, qint64 fileOffset, qint64 expectedTotalBytes)>;

    static std::shared_ptr<KNURLSessionManager> manager(
        const std::optional<net::URLSessionConfiguration>& configuration = std::nullopt);
    explicit KNURLSessionManager(
        const std::optional<net::URLSessionConfiguration>& configuration = std::nullopt);
    ~KNURLSessionManager() override;
    KNURLSessionManager(const KNURLSessionManager&) = delete;
    KNURLSessionManager& operator=(const KNURLSessionManager&) = delete;

    const std::shared_ptr<net::URLSession>& session() const { return m_session; }
    /// The session's delegate queue: one callback at a time.
    const std::shared_ptr<net::OperationQueue>& operationQueue() const { return m_operationQueue; }
    const net::URLSessionConfiguration& sessionConfiguration() const { return m_sessionConfiguration; }

    std::shared_ptr<KNURLResponseSerialization> responseSerializer() const;
    virtual void setResponseSerializer(std::shared_ptr<KNURLResponseSerialization> serializer);
    std::shared_ptr<KNSecurityPolicy> securityPolicy() const;
    void setSecurityPolicy(std::shared_ptr<KNSecurityPolicy> policy);
    /// For the manager's users: `KNNetworkReachabilityManager::sharedManager()` unless set. The
    /// manager itself neither starts nor reads it.
    std::shared_ptr<KNNetworkReachabilityManager> reachabilityManager() const;
    void setReachabilityManager(std::shared_ptr<KNNetworkReachabilityManager> manager);
    /// Off unless set. Kept for the manager's users only: a session here creates every upload
    /// task it is asked for while it is valid, background configuration or not, so there is no
    /// failed creation to try again; a file that cannot be read fails its task instead.
    bool attemptsToRecreateUploadTasksForBackgroundSessions() const;
    void setAttemptsToRecreateUploadTasksForBackgroundSessions(bool attempts);
    /// None: the main thread.
    std::shared_ptr<net::DispatchQueue> completionQueue() const;
    void setCompletionQueue(std::shared_ptr<net::DispatchQueue> queue);
    /// None: one group shared by the process.
    std::shared_ptr<net::DispatchGroup> completionGroup() const;
    void setCompletionGroup(std::shared_ptr<net::DispatchGroup> group);

    void setSessionDidBecomeInvalidBlock(SessionDidBecomeInvalidBlock block);
    void setSessionDidReceiveAuthenticationChallengeBlock(
        SessionDidReceiveAuthenticationChallengeBlock block);
    /// Kept, never called: no system finishes a session's transfers for a relaunched
    /// program here; every transfer runs in this process and ends with it.
    void setDidFinishEventsForBackgroundURLSessionBlock(DidFinishEventsForBackgroundURLSessionBlock block);
    void setTaskWillPerformHTTPRedirectionBlock(TaskWillPerformHTTPRedirectionBlock block);
    void setTaskDidReceiveAuthenticationChallengeBlock(TaskDidReceiveAuthenticationChallengeBlock block);
    /// Called on the network thread; without it a task's request body stream is copied when it
    /// can be (a multipart body stream), and the task fails otherwise.
    void setTaskNeedNewBodyStreamBlock(TaskNeedNewBodyStreamBlock block);
    void setTaskDidSendBodyDataBlock(TaskDidSendBodyDataBlock block);
    void setTaskDidCompleteBlock(TaskDidCompleteBlock block);
    void setDataTaskDidReceiveResponseBlock(DataTaskDidReceiveResponseBlock block);
    void setDataTaskDidBecomeDownloadTaskBlock(DataTaskDidBecomeDownloadTaskBlock block);
    void setDataTaskDidReceiveDataBlock(DataTaskDidReceiveDataBlock block);
    /// Called on the network thread when a data task's response went into the cache of the
    /// session's configuration: what to keep there instead (none: nothing). Without it the
    /// response stays as stored.
    void setDataTaskWillCacheResponseBlock(DataTaskWillCacheResponseBlock block);
    void setDownloadTaskDidFinishDownloadingBlock(DownloadTaskDidFinishDownloadingBlock block);
    void setDownloadTaskDidWriteDataBlock(DownloadTaskDidWriteDataBlock block);
    void setDownloadTaskDidResumeBlock(DownloadTaskDidResumeBlock block);

    /// On the main thread, later: invalidates the session, cancelling its tasks or letting them finish.
    void invalidateSessionCancelingTasks(bool cancelPendingTasks);

    // Each returns the new task, suspended (the caller resumes it); none once the session is invalid.
    Task dataTaskWithRequest(const net::URLRequest& request, CompletionHandler completionHandler);
    Task uploadTaskWithRequest(const net::URLRequest& request, const QUrl& fromFile,
        std::shared_ptr<net::Progress>* progress, CompletionHandler completionHandler);
    Task uploadTaskWithRequest(const net::URLRequest& request, const QByteArray& fromData,
        std::shared_ptr<net::Progress>* progress, CompletionHandler completionHandler);
    Task uploadTaskWithStreamedRequest(const net::URLRequest& request,
        std::shared_ptr<net::Progress>* progress, CompletionHandler completionHandler);
    Task downloadTaskWithRequest(const net::URLRequest& request, std::shared_ptr<net::Progress>* progress,
        DestinationBlock destination, CompletionHandler completionHandler);
    /// Goes on with a download from what `KNURLSessionTask::cancelByProducingResumeData` gave;
    /// none when that cannot be read.
    Task downloadTaskWithResumeData(const QByteArray& resumeData, std::shared_ptr<net::Progress>* progress,
        DestinationBlock destination, CompletionHandler completionHandler);

    /// The task's progress; none for a task this manager does not know.
    std::shared_ptr<net::Progress> uploadProgressForTask(const KNURLSessionTask& task) const;
    std::shared_ptr<net::Progress> downloadProgressForTask(const KNURLSessionTask& task) const;

    std::shared_ptr<KNURLSessionManagerTaskDelegate> delegateForTask(const KNURLSessionTask& task) const;
    void setDelegate(std::shared_ptr<KNURLSessionManagerTaskDelegate> delegate, const KNURLSessionTask& task);
    void removeDelegateForTask(const KNURLSessionTask& task);
    void removeAllDelegates();

    /// "tasks", "dataTasks", "uploadTasks" or "downloadTasks": the session's unfinished tasks.
    /// Waits for the session's answer; on the network thread itself it is answered at once.
    TaskList tasksForKeyPath(const QString& keyPath) const;
    TaskList tasks() const { return tasksForKeyPath(QStringLiteral("tasks")); }
    TaskList dataTasks() const { return tasksForKeyPath(QStringLiteral("dataTasks")); }
    TaskList uploadTasks() const { return tasksForKeyPath(QStringLiteral("uploadTasks")); }
    TaskList downloadTasks() const { return tasksForKeyPath(QStringLiteral("downloadTasks")); }

    virtual QString description() const;
    /// Key "sessionConfiguration".
    virtual QVariantMap archive() const;
    static std::shared_ptr<KNURLSessionManager> fromArchive(const QVariantMap& archive);
    /// A new manager with the session's configuration and the same security policy.
    virtual std::shared_ptr<KNURLSessionManager> clone() const;

    // The session's delegate.
    bool respondsTo(Optional question) const override;
    void didBecomeInvalid(net::URLSession& session, const std::optional<net::Error>& error) override;
    net::SessionChallengeAnswer didReceiveChallenge(
        net::URLSession& session, const net::AuthenticationChallenge& challenge) override;
    net::SessionChallengeAnswer didReceiveChallenge(
        net::URLSession& session, const Task& task, const net::AuthenticationChallenge& challenge) override;
    std::optional<net::URLRequest> willPerformHTTPRedirection(net::URLSession& session, const Task& task,
        const net::URLResponse& response, const net::URLRequest& request) override;
    std::shared_ptr<QIODevice> needNewBodyStream(net::URLSession& session, const Task& task) override;
    void didSendBodyData(net::URLSession& session, const Task& task, qint64 bytesSent, qint64 totalBytesSent,
        qint64 totalBytesExpectedToSend) override;
    void didCompleteWithError(
        net::URLSession& session, const Task& task, const std::optional<net::Error>& error) override;
    net::SessionResponseDisposition didReceiveResponse(
        net::URLSession& session, const Task& task, const net::URLResponse& response) override;
    void didBecomeDownloadTask(
        net::URLSession& session, const Task& dataTask, const Task& downloadTask) override;
    void didReceiveData(net::URLSession& session, const Task& task, const QByteArray& data) override;
    std::optional<net::CachedURLResponse> willCacheResponse(
        net::URLSession& session, const Task& task, const net::CachedURLResponse& proposedResponse) override;
    void didFinishDownloadingToURL(net::URLSession& session, const Task& task, const QUrl& location) override;
    void didWriteData(net::URLSession& session, const Task& task, qint64 bytesWritten,
        qint64 totalBytesWritten, qint64 totalBytesExpectedToWrite) override;
    void didResumeAtOffset(
        net::URLSession& session, const Task& task, qint64 fileOffset, qint64 expectedTotalBytes) override;

protected:
    /// Makes the manager its session's delegate and starts observing task resumes and
    /// suspends; needs the owning `std::shared_ptr`, so it runs with the first task.
    void attach();

private:
    /// The upload size `reported` for `task`, or, when that is unknown, the "Content-Length" of
    /// the request it was made from.
    static qint64 uploadTotal(const KNURLSessionTask& task, qint64 reported);
    struct Blocks {
        SessionDidBecomeInvalidBlock sessionDidBecomeInvalid;
        SessionDidReceiveAuthenticationChallengeBlock sessionDidReceiveAuthenticationChallenge;
        DidFinishEventsForBackgroundURLSessionBlock didFinishEventsForBackgroundURLSession;
        TaskWillPerformHTTPRedirectionBlock taskWillPerformHTTPRedirection;
        TaskDidReceiveAuthenticationChallengeBlock taskDidReceiveAuthenticationChallenge;
        TaskNeedNewBodyStreamBlock taskNeedNewBodyStream;
        TaskDidSendBodyDataBlock taskDidSendBodyData;
        TaskDidCompleteBlock taskDidComplete;
        DataTaskDidReceiveResponseBlock dataTaskDidReceiveResponse;
        DataTaskDidBecomeDownloadTaskBlock dataTaskDidBecomeDownloadTask;
        DataTaskDidReceiveDataBlock dataTaskDidReceiveData;
        DataTaskWillCacheResponseBlock dataTaskWillCacheResponse;
        DownloadTaskDidFinishDownloadingBlock downloadTaskDidFinishDownloading;
        DownloadTaskDidWriteDataBlock downloadTaskDidWriteData;
        DownloadTaskDidResumeBlock downloadTaskDidResume;
    };

    Blocks blocks() const;
    std::shared_ptr<KNURLSessionManagerTaskDelegate> addDelegateForDataTask(
        const Task& task, CompletionHandler completionHandler);
    std::shared_ptr<KNURLSessionManagerTaskDelegate> addDelegateForUploadTask(
        const Task& task, std::shared_ptr<net::Progress>* progress, CompletionHandler completionHandler);
    std::shared_ptr<KNURLSessionManagerTaskDelegate> addDelegateForDownloadTask(const Task& task,
        std::shared_ptr<net::Progress>* progress, DestinationBlock destination,
        CompletionHandler completionHandler);
    void taskDidChangeState(const QVariant& object, const QString& announcement);

    const net::URLSessionConfiguration m_sessionConfiguration;
    const std::shared_ptr<net::OperationQueue> m_operationQueue;
    const std::shared_ptr<net::URLSession> m_session;
    std::unique_ptr<QObject> m_observerContext;

    mutable QMutex m_lock; // guards the task delegates
    QHash<quint64, std::shared_ptr<KNURLSessionManagerTaskDelegate>>
        m_mutableTaskDelegatesKeyedByTaskIdentifier;

    mutable QMutex m_fieldsLock; // guards the settings and blocks below
    bool m_attached = false;
    std::shared_ptr<KNURLResponseSerialization> m_responseSerializer;
    std::shared_ptr<KNSecurityPolicy> m_securityPolicy;
    std::shared_ptr<KNNetworkReachabilityManager> m_reachabilityManager;
    bool m_attemptsToRecreateUploadTasksForBackgroundSessions = false;
    std::shared_ptr<net::DispatchQueue> m_completionQueue;
    std::shared_ptr<net::DispatchGroup> m_completionGroup;
    Blocks m_blocks;
};
