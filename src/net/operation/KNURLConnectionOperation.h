#pragma once

#include "net/core/NetError.h"
#include "net/core/URLRequest.h"
#include "net/core/URLResponse.h"
#include "net/operation/NetDispatch.h"
#include "net/operation/NetOperation.h"

#include <QIODevice>
#include <QPointer>
#include <QRecursiveMutex>
#include <QVariantMap>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class KNSecurityPolicy;
class QAuthenticator;
class QNetworkAccessManager;
class QNetworkRequest;
class QNetworkReply;
class QThread;

namespace net {

class ServerTrust;

/// A user name and password for a server that asks for one.
struct URLCredential {
    QString user;
    QString password;
};

/// What the operation met: a TLS server whose trust is to be judged (`serverTrust` set), or
/// a server asking for a login. `previousFailureCount` counts the answers the server already
/// refused.
struct AuthenticationChallenge {
    QString host;
    int port = -1;
    QString realm;
    int previousFailureCount = 0;
    std::shared_ptr<ServerTrust> serverTrust;
};

/// The answer to a challenge: log in with `credential` (for a server trust: accept it), or go
/// on without one (the server's refusal then becomes the response; a trust is refused), or
/// cancel the request.
struct AuthenticationChallengeAnswer {
    enum class Disposition { UseCredential, ContinueWithoutCredential, Cancel };
    Disposition disposition = Disposition::ContinueWithoutCredential;
    std::optional<URLCredential> credential;
};

} // namespace net

/// Performs one request on the process-wide network thread "KitNet": the body goes to the
/// output stream (in memory unless the caller set another device), progress is reported on
/// the main thread, and the operation moves through Ready, Executing, Paused and Finished.
/// Owned by `std::shared_ptr`; while it executes and until its completion block ran it keeps
/// itself alive, so a caller may drop it after `start()`. `start`, `cancel`, `pause` and
/// `resume` may be called from any thread and do not wait for the network thread.
class KNURLConnectionOperation : public net::Operation {
    Q_OBJECT
public:
    enum class State : qint64 { Paused = -1, Ready = 1, Executing = 2, Finished = 3 };

    /// (bytes of this step, bytes so far, bytes expected or -1)
    using ProgressBlock = std::function<void(qint64, qint64, qint64)>;
    using AuthenticationChallengeBlock
        = std::function<net::AuthenticationChallengeAnswer(const net::AuthenticationChallenge& challenge)>;
    /// (the request about to be sent to the new address, the redirect response) -> the request
    /// to send instead, or none to stop and keep the redirect response as the response.
    using RedirectResponseBlock = std::function<std::optional<net::URLRequest>(
        const net::URLRequest& request, const net::URLResponse& redirectResponse)>;

    explicit KNURLConnectionOperation(net::URLRequest request);
    /// Closes the output stream.
    ~KNURLConnectionOperation() override;

    const net::URLRequest& request() const { return m_request; }
    std::optional<net::URLResponse> response() const;
    /// The transfer's error, the output stream's, or the cancellation.
    virtual std::optional<net::Error> error() const;
    /// The whole body, set when loading finished into the in-memory stream.
    std::optional<QByteArray> responseData() const;
    void setResponseData(const std::optional<QByteArray>& data);
    /// The body decoded with `responseStringEncoding()`; null before there is a body.
    QString responseString() const;
    /// The IANA name of the response's character set ("UTF-8" when it names none or one
    /// unknown here); null before a response arrived.
    QString responseStringEncoding() const;

    /// The request's body stream; setting one replaces the request's body.
    std::shared_ptr<QIODevice> inputStream() const;
    void setInputStream(std::shared_ptr<QIODevice> stream);
    /// Where the body is written; an in-memory buffer made on first use unless set. A set
    /// device must be open for writing; the operation closes it when loading ends.
    std::shared_ptr<QIODevice> outputStream();
    void setOutputStream(std::shared_ptr<QIODevice> stream);

    /// Judges TLS servers; `KNSecurityPolicy::defaultPolicy()` unless set (none sets it back).
    std::shared_ptr<KNSecurityPolicy> securityPolicy() const;
    void setSecurityPolicy(std::shared_ptr<KNSecurityPolicy> policy);
    std::optional<net::URLCredential> credential() const;
    void setCredential(std::optional<net::URLCredential> credential);
    /// Where the completion block runs; none: the main thread.
    std::shared_ptr<net::DispatchQueue> completionQueue() const;
    void setCompletionQueue(std::shared_ptr<net::DispatchQueue> queue);
    /// The group the completion block runs in; none: one shared by the process.
    std::shared_ptr<net::DispatchGroup> completionGroup() const;
    void setCompletionGroup(std::shared_ptr<net::DispatchGroup> group);
    QVariantMap userInfo() const;
    void setUserInfo(QVariantMap userInfo);
    /// Bytes received so far; updated on the main thread.
    qint64 totalBytesRead() const { return m_totalBytesRead.load(); }
    /// The longest body taken: a response announcing a longer one, or a body growing past
    /// it, fails the operation with `dataLengthExceedsMaximum` on the network thread before
    /// the excess is written. None (the default): no limit. Copied by `clone()`.
    std::optional<qint64> maximumResponseLength() const;
    void setMaximumResponseLength(std::optional<qint64> length);

    /// Called on the main thread.
    void setUploadProgressBlock(ProgressBlock block);
    /// Called on the main thread.
    void setDownloadProgressBlock(ProgressBlock block);
    /// Called on the network thread; answers server-trust challenges instead of the policy.
    void setWillSendRequestForAuthenticationChallengeBlock(AuthenticationChallengeBlock block);
    /// Called on the network thread. Whatever it returns, a redirect that leaves https, or
    /// one after `net::maximumRedirects`, fails the operation.
    void setRedirectResponseBlock(RedirectResponseBlock block);
    /// Runs once after the operation finished, on the completion queue in the completion
    /// group; cleared afterwards.
    void setCompletionBlock(std::function<void()> block) override;

    State state() const { return m_state.load(); }
    bool isReady() const override;
    bool isExecuting() const override { return state() == State::Executing; }
    bool isFinished() const override { return state() == State::Finished; }
    bool isPaused() const { return state() == State::Paused; }
    bool isAsynchronous() const override { return true; }

    void start() override;
    void cancel() override;
    /// Stops the transfer and keeps what arrived; `resume` starts a new transfer of the
    /// current request. Ignored when paused, finished or cancelled.
    virtual void pause();
    void resume();

    QString description() const;

    /// Pauses the operation first. Keys "request", "state", "response", "error",
    /// "responseData", "totalBytesRead".
    virtual QVariantMap archive();
    static std::shared_ptr<KNURLConnectionOperation> fromArchive(const QVariantMap& archive);
    /// A new Ready operation with the same request, blocks, completion queue and group.
    virtual std::shared_ptr<KNURLConnectionOperation> clone() const;

    /// The network thread, started on first use.
    static QThread* networkRequestThread();
    /// Aborts every open transfer and stops the network thread; for the application's
    /// aboutToQuit. Safe to call twice or when the thread never started; a later request
    /// starts a new thread.
    static void stopNetworkThread();

    /// The operations followed by one that runs after all of them: their completion blocks
    /// run as before, then `progressBlock(finished, total)`, and once all are done
    /// `completionBlock(operations)`, both on the main thread. Nothing is started here.
    static QList<std::shared_ptr<net::Operation>> batchOfRequestOperations(
        const QList<std::shared_ptr<KNURLConnectionOperation>>& operations,
        std::function<void(qsizetype numberOfFinishedOperations, qsizetype totalNumberOfOperations)>
            progressBlock,
        std::function<void(const QList<std::shared_ptr<KNURLConnectionOperation>>& operations)>
            completionBlock);

Q_SIGNALS:
    void pausedChanged();

protected:
    QRecursiveMutex& lock() const { return m_lock; }
    void setRequest(net::URLRequest request);
    /// Called on the network thread when a response arrived, before its body; an error
    /// fails the operation.
    virtual std::optional<net::Error> didReceiveResponse(const net::URLResponse& response);
    /// Bytes written to the output stream since it was last emptied.
    qint64 bytesWrittenToOutputStream() const;
    /// Empties the output stream to start the body again; false when the device cannot be.
    bool truncateOutputStream();
    /// Copies what `clone()` copies into `copy`.
    void copyInto(KNURLConnectionOperation& copy) const;
    /// Applies the archive's fields other than the request.
    void restoreFromArchive(const QVariantMap& archive);

private:
    friend class KNNetworkThread;

    bool setState(State newState);
    void operationDidStart();
    void operationDidPause();
    void cancelConnection();
    void startReply(const net::URLRequest& request);
    /// The shared manager, or, once the operation brings a login, one of its own.
    QNetworkAccessManager* managerFor(const net::URLRequest& request);
    void detachReply(bool abort);
    /// False when there is no transfer any more (it failed or was stopped).
    bool deliverResponseIfNeeded();
    void didSendBodyData(qint64 bytesSent, qint64 bytesTotal);
    void didReceiveData();
    void didFinishLoading();
    void didFailWithError(const net::Error& error);
    void handleFinishedReply();
    void handleRedirect(const QUrl& url);
    void answerAuthenticationChallenge(QNetworkReply* reply, QAuthenticator* authenticator);
    void prepareTrust(QNetworkRequest& request) const;
    void attachTrust(QNetworkReply* reply, QObject* context);
    void answerServerTrust(bool handshakeDone);
    std::optional<net::Error> trustFailure() const;
    void finish();
    std::shared_ptr<KNURLConnectionOperation> self();
    /// Posts `name` with this operation as object on the main thread, unless it is gone by then.
    void postOnMain(const QString& name);

    mutable QRecursiveMutex m_lock;
    std::atomic<State> m_state { State::Ready };
    net::URLRequest m_request;
    std::optional<net::URLResponse> m_response;
    std::optional<net::Error> m_error;
    std::optional<QByteArray> m_responseData;
    mutable QString m_responseString;
    mutable QString m_responseStringEncoding;
    std::shared_ptr<QIODevice> m_outputStream;
    bool m_ownsOutputStream = false;
    qint64 m_bytesWritten = 0;
    std::optional<net::URLCredential> m_credential;
    std::shared_ptr<KNSecurityPolicy> m_securityPolicy;
    std::shared_ptr<net::DispatchQueue> m_completionQueue;
    std::shared_ptr<net::DispatchGroup> m_completionGroup;
    QVariantMap m_userInfo;
    std::atomic<qint64> m_totalBytesRead { 0 };
    std::optional<qint64> m_maximumResponseLength;
    qint64 m_totalBytesSent = 0;
    ProgressBlock m_uploadProgress;
    ProgressBlock m_downloadProgress;
    AuthenticationChallengeBlock m_authenticationChallenge;
    RedirectResponseBlock m_redirectResponse;
    std::shared_ptr<KNURLConnectionOperation> m_keepAlive;

    // Network thread only.
    QNetworkReply* m_reply = nullptr;
    QPointer<QNetworkAccessManager> m_ownManager; // until the operation finished
    net::URLRequest m_hopRequest; // what `m_reply` asked for
    QObject* m_replyContext = nullptr; // our connections to the reply end with it
    bool m_responseDelivered = false;
    int m_redirectCount = 0; // of this start; a resume starts counting again
    int m_authenticationFailures = 0;
    bool m_trustRefused = false;
};
