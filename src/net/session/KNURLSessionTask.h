#pragma once

#include "net/core/NetError.h"
#include "net/core/URLRequest.h"
#include "net/core/URLResponse.h"

#include <QByteArray>
#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

class QAuthenticator;
class QFile;
class QIODevice;
class QNetworkReply;

namespace net {
class RenewableBodyStream;
class URLSession;
struct AuthenticationChallenge;
} // namespace net

/// One transfer of a `net::URLSession`: a data task (the body comes to the delegate), an
/// upload task (the body is sent from memory, a file or a stream) or a download task (the
/// body goes to a temporary file). Created suspended; `resume`, `suspend` and `cancel` may be
/// called from any thread and do not wait. Every resume of a task that was not running and
/// every suspend of one that was not suspended posts
/// `notifications::sessionTaskDidResume`/`sessionTaskDidSuspend` on the calling thread, with
/// the task (a `QObject*`) as object. Owned by `std::shared_ptr`; the session keeps it until
/// it completed.
class KNURLSessionTask : public QObject, public std::enable_shared_from_this<KNURLSessionTask> {
    Q_OBJECT
public:
    enum class State : qint64 { Running = 0, Suspended = 1, Canceling = 2, Completed = 3 };
    enum class Kind { Data, Upload, Download };
    /// The marker of a size nobody knows.
    static constexpr qint64 transferSizeUnknown = -1;

    ~KNURLSessionTask() override;

    Kind kind() const { return m_kind; }
    /// Unique within its session.
    quint64 taskIdentifier() const { return m_identifier; }
    State state() const;
    const net::URLRequest& originalRequest() const { return m_originalRequest; }
    /// The request now being sent (after redirects).
    net::URLRequest currentRequest() const;
    std::optional<net::URLResponse> response() const;
    std::optional<net::Error> error() const;
    /// -1 for a streamed body, 0 without a body.
    qint64 countOfBytesExpectedToSend() const { return m_expectedToSend; }
    qint64 countOfBytesSent() const;
    qint64 countOfBytesReceived() const;
    /// From the response's length; -1 before it or when the server sent none.
    qint64 countOfBytesExpectedToReceive() const;
    std::weak_ptr<net::URLSession> session() const { return m_session; }

    void resume();
    void suspend();
    /// Ends the task with `net::cancelled` unless it completed already.
    void cancel();
    /// For a download: cancels it and hands `completionHandler` (on the network thread) what
    /// `net::URLSession::downloadTaskWithResumeData` needs to go on from here, or empty data
    /// when it cannot go on (nothing arrived yet, or the server named no version of the body).
    void cancelByProducingResumeData(std::function<void(const QByteArray& resumeData)> completionHandler);

    QString description() const;

private:
    friend class net::URLSession;
    /// Where a resumed download goes on from.
    struct ResumePoint {
        QString filePath;
        qint64 offset = 0;
        QByteArray validator; // the "ETag" or "Last-Modified" of the body begun
    };
    struct Body {
        enum class Source { None, Data, File, Stream } source = Source::None;
        QByteArray data;
        QString filePath;
    };

    KNURLSessionTask(Kind kind, quint64 identifier, net::URLRequest request, Body body,
        std::weak_ptr<net::URLSession> session);
    static std::shared_ptr<KNURLSessionTask> create(Kind kind, quint64 identifier, net::URLRequest request,
        Body body, std::weak_ptr<net::URLSession> session);
    static std::optional<std::pair<net::URLRequest, ResumePoint>> readResumeData(
        const QByteArray& resumeData);
    bool openDownloadFile();
    QByteArray produceResumeData();

    // Network thread only from here on.
    void start();
    void startReply(const net::URLRequest& request);
    void connectReply();
    void becomeDownload();
    void detachReply(bool abort);
    void applySuspension();
    void handleResponse();
    void answerResponseDisposition(qint64 disposition);
    void readBody();
    void handleUploadProgress(qint64 bytesSent);
    void handleFinished();
    /// Lets the delegate change or drop the response the reply stored in the session's cache.
    void reviseCachedResponse();
    /// Whether the reply's answer is a redirect, which the task follows itself.
    bool replyIsRedirect() const;
    void handleRedirect();
    /// Sends `next` in a new reply, with a new body stream when it would send the spent one.
    void followRedirect(net::URLRequest next);
    /// The delegate's new stream for the body, opened; none when there is none.
    std::shared_ptr<QIODevice> newBodyStream();
    /// The failure of a task whose body had to go again without a new stream for it.
    net::Error bodyStreamExhausted() const;
    void handleServerTrust(bool handshakeDone);
    void handleLoginChallenge(QAuthenticator* authenticator);
    void complete(std::optional<net::Error> error);
    net::AuthenticationChallenge serverTrustChallenge() const;

    const Kind m_kind;
    const quint64 m_identifier;
    const net::URLRequest m_originalRequest;
    const Body m_body;
    const qint64 m_expectedToSend;
    const std::weak_ptr<net::URLSession> m_session;

    mutable QMutex m_mutex;
    State m_state = State::Suspended;
    net::URLRequest m_currentRequest;
    std::optional<net::URLResponse> m_response;
    std::optional<net::Error> m_error;
    qint64 m_bytesSent = 0;
    qint64 m_bytesReceived = 0;

    QNetworkReply* m_reply = nullptr;
    QObject* m_replyContext = nullptr; // our connections to the reply end with it
    QPointer<net::RenewableBodyStream> m_renewableBody; // what the reply reads a one-time stream through
    std::shared_ptr<QFile> m_uploadFile;
    std::unique_ptr<QFile> m_downloadFile;
    std::optional<ResumePoint> m_resumePoint;
    qint64 m_writtenBefore = 0; // bytes of a resumed download kept from before
    bool m_keepDownloadFile = false;
    bool m_started = false;
    bool m_responseSeen = false;
    bool m_awaitingDisposition = false;
    bool m_trustAnswered = false;
    int m_loginFailures = 0;
    int m_redirectCount = 0;
    bool m_bodyStreamExhausted = false; // the body had to go again, and no new stream came
    bool m_bodyDropped = false; // a redirect turned the request into one without a body
    qint64 m_bodyStreamStart = 0; // where a stream that can be rewound is sent from, every time
    std::optional<QUrl> m_storedResponseURL; // where the reply's response went into the cache
    QUrl m_hopURL; // the address the current reply asked, whatever it says after a redirect
    std::optional<net::Error> m_trustFailure;
};
