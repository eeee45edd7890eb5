// The network-thread half of a task after its reply started: response, body, upload
// progress, redirects, server trust and the end.
#include "net/session/KNURLSessionTask.h"

#include "net/core/RedirectRules.h"
#include "net/operation/KNNetworkThread.h"
#include "net/operation/ReplyErrors.h"
#include "net/security/ServerTrust.h"
#include "net/session/RenewableBodyStream.h"
#include "net/session/SessionCache.h"
#include "net/session/URLSession.h"

#include "platform/Strings.h"

#include <QAuthenticator>
#include <QFile>
#include <QMutexLocker>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslConfiguration>
#include <QTemporaryFile>

#include <utility>

using namespace Qt::Literals::StringLiterals;

void KNURLSessionTask::handleResponse()
{
    if (!m_reply || m_responseSeen)
        return;
    const QVariant status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid())
        return;
    const int code = status.toInt();
    if (replyIsRedirect())
        return; // the answer is the next request's
    m_responseSeen = true;
    const net::URLResponse response = net::URLResponse::http(m_reply->url(), code, m_reply->rawHeaderPairs());
    {
        QMutexLocker locker(&m_mutex);
        m_response = response;
    }
    const auto session = m_session.lock();
    if (m_kind == Kind::Download && m_resumePoint) {
        if (code != 206 || m_writtenBefore == 0) {
            // The server sends the whole body: it replaces what was kept.
            m_downloadFile->resize(0);
            m_downloadFile->seek(0);
            m_writtenBefore = 0;
        }
        const qint64 length = response.expectedContentLength();
        if (session)
            session->deliver([task = shared_from_this(), offset = m_writtenBefore,
                                 expected = length < 0 ? length : m_writtenBefore + length](
                                 net::URLSession& session, net::URLSessionDelegate& delegate) {
                delegate.didResumeAtOffset(session, task, offset, expected);
            });
    }
    const auto delegate = session ? session->delegate() : nullptr;
    if (m_kind != Kind::Data || !delegate
        || !delegate->respondsTo(net::URLSessionDelegate::Optional::ReceiveResponse))
        return;
    // The body waits in the reply until the delegate has decided.
    m_awaitingDisposition = true;
    session->deliver(
        [task = shared_from_this(), response](net::URLSession& session, net::URLSessionDelegate& delegate) {
            const qint64 disposition = qint64(delegate.didReceiveResponse(session, task, response));
            KNNetworkThread::perform([task, disposition] { task->answerResponseDisposition(disposition); });
        });
}

void KNURLSessionTask::answerResponseDisposition(qint64 disposition)
{
    m_awaitingDisposition = false;
    if (!m_reply)
        return;
    if (m_kind == Kind::Data && disposition == qint64(net::SessionResponseDisposition::BecomeDownload)) {
        becomeDownload();
        return;
    }
    if (disposition != qint64(net::SessionResponseDisposition::Allow)) {
        detachReply(true);
        complete(net::urlError(net::cancelled, m_originalRequest.url()));
        return;
    }
    readBody();
    if (m_reply && m_reply->isFinished())
        handleFinished();
}

void KNURLSessionTask::becomeDownload()
{
    const auto session = m_session.lock();
    const auto download = session ? session->addDownloadTaskTakingOver(*this) : nullptr;
    if (!download) {
        detachReply(true);
        complete(net::urlError(net::cancelled, m_originalRequest.url()));
        return;
    }
    // The transfer goes on as the download; this data task ends without a completion of its own.
    delete m_replyContext;
    m_replyContext = nullptr;
    download->m_reply = std::exchange(m_reply, nullptr);
    download->m_started = true;
    download->m_responseSeen = true;
    download->m_trustAnswered = true;
    {
        QMutexLocker locker(&m_mutex);
        m_state = State::Completed;
        QMutexLocker downloadLocker(&download->m_mutex);
        download->m_response = m_response;
        download->m_currentRequest = m_currentRequest;
        download->m_bytesSent = m_bytesSent;
    }
    session->deliver(
        [task = shared_from_this(), download](net::URLSession& session, net::URLSessionDelegate& delegate) {
            delegate.didBecomeDownloadTask(session, task, download);
        });
    session->taskDidFinish(m_identifier);
    if (!download->openDownloadFile()) {
        const QString reason = download->m_downloadFile->errorString();
        download->detachReply(true);
        download->complete(net::urlError(net::cannotWriteToFile, m_originalRequest.url(),
            platform::Strings::tr("The download could not be stored: %1").arg(reason)));
        return;
    }
    download->connectReply();
    download->readBody();
    if (download->m_reply && download->m_reply->isFinished())
        download->handleFinished();
}

bool KNURLSessionTask::replyIsRedirect() const
{
    const int code = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    return code >= 300 && code < 400 && m_reply->hasRawHeader("Location");
}

void KNURLSessionTask::readBody()
{
    handleResponse();
    if (!m_reply || m_awaitingDisposition || state() != State::Running)
        return;
    if (replyIsRedirect()) {
        m_reply->readAll(); // the redirect's own body is nobody's
        return;
    }
    const QByteArray chunk = m_reply->readAll();
    if (chunk.isEmpty())
        return;
    qint64 total = 0;
    {
        QMutexLocker locker(&m_mutex);
        total = m_bytesReceived += chunk.size();
    }
    const auto session = m_session.lock();
    if (m_kind != Kind::Download) {
        if (session)
            session->deliver(
                [task = shared_from_this(), chunk](net::URLSession& session,
                    net::URLSessionDelegate& delegate) { delegate.didReceiveData(session, task, chunk); });
        return;
    }
    if (m_downloadFile->write(chunk) != chunk.size()) {
        const QString reason = m_downloadFile->errorString();
        detachReply(true);
        complete(net::urlError(net::cannotWriteToFile, m_originalRequest.url(),
            platform::Strings::tr("The download could not be stored: %1").arg(reason)));
        return;
    }
    const qint64 length = countOfBytesExpectedToReceive();
    const qint64 expected = length < 0 ? length : m_writtenBefore + length;
    total += m_writtenBefore;
    if (session)
        session->deliver([task = shared_from_this(), written = qint64(chunk.size()), total, expected](
                             net::URLSession& session, net::URLSessionDelegate& delegate) {
            delegate.didWriteData(session, task, written, total, expected);
        });
}

void KNURLSessionTask::handleUploadProgress(qint64 bytesSent)
{
    qint64 step = 0;
    {
        QMutexLocker locker(&m_mutex);
        step = bytesSent - m_bytesSent;
        if (step <= 0)
            return;
        m_bytesSent = bytesSent;
    }
    if (const auto session = m_session.lock())
        session->deliver([task = shared_from_this(), step, bytesSent, expected = m_expectedToSend](
                             net::URLSession& session, net::URLSessionDelegate& delegate) {
            delegate.didSendBodyData(session, task, step, bytesSent, expected);
        });
}

void KNURLSessionTask::handleFinished()
{
    if (!m_reply || m_awaitingDisposition || state() != State::Running)
        return; // the end is taken up again on resuming or once the delegate decided
    if (m_reply->error() == QNetworkReply::NoError && replyIsRedirect()) {
        handleRedirect();
        return;
    }
    readBody();
    if (!m_reply)
        return; // failed while writing
    const QNetworkReply::NetworkError error = m_reply->error();
    if (error != QNetworkReply::NoError && !(m_responseSeen && net::isHttpStatusError(error))) {
        net::Error failure = m_trustFailure.value_or(
            net::urlError(net::urlErrorCode(error), m_originalRequest.url(), m_reply->errorString()));
        if (m_bodyStreamExhausted)
            failure = bodyStreamExhausted();
        detachReply(false);
        complete(failure);
        return;
    }
    if (m_kind == Kind::Data)
        reviseCachedResponse();
    detachReply(false);
    if (m_kind == Kind::Download) {
        const bool flushed = m_downloadFile->flush();
        const QString reason = m_downloadFile->errorString();
        m_downloadFile->close();
        const QString path = m_downloadFile->fileName();
        if (!flushed) {
            QFile::remove(path);
            complete(net::urlError(net::cannotWriteToFile, m_originalRequest.url(),
                platform::Strings::tr("The download could not be stored: %1").arg(reason)));
            return;
        }
        if (const auto session = m_session.lock())
            session->deliver([task = shared_from_this(), path](
                                 net::URLSession& session, net::URLSessionDelegate& delegate) {
                delegate.didFinishDownloadingToURL(session, task, QUrl::fromLocalFile(path));
                QFile::remove(path);
            });
        else
            QFile::remove(path);
    }
    complete(std::nullopt);
}

void KNURLSessionTask::reviseCachedResponse()
{
    const std::optional<QUrl> url = std::exchange(m_storedResponseURL, std::nullopt);
    auto* cache = qobject_cast<net::SessionCache*>(m_reply->manager()->cache());
    const auto session = m_session.lock();
    const auto delegate = session ? session->delegate() : nullptr;
    const std::optional<net::URLResponse> stored = response();
    if (!url || !cache || !stored || !delegate
        || !delegate->respondsTo(net::URLSessionDelegate::Optional::WillCacheResponse))
        return;
    QNetworkCacheMetaData metaData = cache->metaData(*url);
    const std::unique_ptr<QIODevice> data(cache->data(*url));
    if (!metaData.isValid() || !data)
        return;
    const net::CachedURLResponse proposed { *stored, data->readAll() };
    const std::optional<net::CachedURLResponse> kept
        = delegate->willCacheResponse(*session, shared_from_this(), proposed);
    if (kept == proposed)
        return;
    cache->remove(*url);
    if (!kept)
        return;
    metaData.setRawHeaders(kept->response.allHeaderFields());
    QNetworkCacheMetaData::AttributesMap attributes = metaData.attributes();
    attributes.insert(QNetworkRequest::HttpStatusCodeAttribute, kept->response.statusCode());
    metaData.setAttributes(attributes);
    if (QIODevice* device = cache->prepare(metaData)) {
        device->write(kept->data);
        cache->insert(device);
        cache->takeStored();
    }
}

void KNURLSessionTask::handleRedirect()
{
    const QUrl from = m_hopURL;
    const QUrl url = m_reply->url().resolved(QUrl::fromEncoded(m_reply->rawHeader("Location")));
    const int redirectNumber = ++m_redirectCount;
    if (const auto refusal = net::redirectRefusal(from, url, redirectNumber)) {
        complete(refusal);
        return;
    }
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const net::URLRequest proposed = net::redirectedRequest(currentRequest(), url, status);
    const auto session = m_session.lock();
    const auto delegate = session ? session->delegate() : nullptr;
    if (!delegate || !delegate->respondsTo(net::URLSessionDelegate::Optional::Redirection)) {
        followRedirect(proposed);
        return;
    }
    const net::URLResponse redirectResponse
        = net::URLResponse::http(m_reply->url(), status, m_reply->rawHeaderPairs());
    const std::optional<net::URLRequest> next
        = delegate->willPerformHTTPRedirection(*session, shared_from_this(), redirectResponse, proposed);
    if (!next) {
        {
            QMutexLocker locker(&m_mutex);
            m_response = redirectResponse;
        }
        detachReply(false);
        complete(std::nullopt);
    } else if (const auto refusal = net::redirectRefusal(from, next->url(), redirectNumber)) {
        complete(refusal);
    } else {
        followRedirect(*next);
    }
}

void KNURLSessionTask::followRedirect(net::URLRequest next)
{
    // A stream the finished reply renewed, or never began, is whole: sent as it is, it spares
    // the delegate a second question for one sending.
    std::shared_ptr<QIODevice> unread = m_renewableBody ? m_renewableBody->takeUnread() : nullptr;
    detachReply(false);
    const net::URLRequest current = currentRequest();
    if (next.httpMethod() != current.httpMethod()
        && (next.httpMethod() == "GET" || next.httpMethod() == "HEAD"))
        m_bodyDropped = true;
    const auto& spent = next.httpBodyStream();
    if (spent && spent == current.httpBodyStream() && spent->isSequential()) {
        const auto stream = unread ? std::move(unread) : newBodyStream();
        if (!stream) {
            complete(bodyStreamExhausted());
            return;
        }
        next.setHttpBodyStream(stream);
    }
    startReply(next);
}

net::Error KNURLSessionTask::bodyStreamExhausted() const
{
    return net::urlError(net::requestBodyStreamExhausted, m_originalRequest.url(),
        net::RenewableBodyStream::exhaustedReason());
}

std::shared_ptr<QIODevice> KNURLSessionTask::newBodyStream()
{
    const auto session = m_session.lock();
    const auto delegate = session ? session->delegate() : nullptr;
    std::shared_ptr<QIODevice> stream
        = delegate ? delegate->needNewBodyStream(*session, shared_from_this()) : nullptr;
    if (stream && !stream->isOpen() && !stream->open(QIODevice::ReadOnly))
        stream.reset();
    m_bodyStreamExhausted = !stream;
    return stream;
}

net::AuthenticationChallenge KNURLSessionTask::serverTrustChallenge() const
{
    net::AuthenticationChallenge challenge;
    challenge.host = m_reply->url().host();
    challenge.port = m_reply->url().port(443);
    challenge.serverTrust
        = std::make_shared<net::ServerTrust>(m_reply->sslConfiguration().peerCertificateChain());
    return challenge;
}

void KNURLSessionTask::handleServerTrust(bool handshakeDone)
{
    // The question is asked once per connection: before the handshake fails, or after it passed.
    if (!m_reply || m_trustAnswered)
        return;
    m_trustAnswered = true;
    const auto session = m_session.lock();
    const auto delegate = session ? session->delegate() : nullptr;
    if (!delegate)
        return;
    const net::SessionChallengeAnswer answer
        = delegate->didReceiveChallenge(*session, serverTrustChallenge());
    switch (answer.disposition) {
    case net::SessionChallengeDisposition::UseCredential:
        if (!handshakeDone)
            m_reply->ignoreSslErrors();
        return;
    case net::SessionChallengeDisposition::PerformDefaultHandling:
        return; // the handshake's own verification stands
    case net::SessionChallengeDisposition::CancelAuthenticationChallenge:
        m_trustFailure = net::urlError(net::cancelled, m_originalRequest.url());
        if (handshakeDone) {
            detachReply(true);
            complete(m_trustFailure);
        }
        return;
    }
}

void KNURLSessionTask::handleLoginChallenge(QAuthenticator* authenticator)
{
    const auto session = m_session.lock();
    const auto delegate = session ? session->delegate() : nullptr;
    if (!delegate)
        return;
    net::AuthenticationChallenge challenge;
    challenge.host = m_reply->url().host();
    challenge.port = m_reply->url().port();
    challenge.realm = authenticator->realm();
    challenge.previousFailureCount = m_loginFailures++;
    const net::SessionChallengeAnswer answer
        = delegate->didReceiveChallenge(*session, shared_from_this(), challenge);
    switch (answer.disposition) {
    case net::SessionChallengeDisposition::UseCredential:
        if (answer.credential) {
            authenticator->setUser(answer.credential->user);
            authenticator->setPassword(answer.credential->password);
        }
        return;
    case net::SessionChallengeDisposition::PerformDefaultHandling:
        return; // no credential: the server's refusal becomes the response
    case net::SessionChallengeDisposition::CancelAuthenticationChallenge:
        detachReply(true);
        complete(net::urlError(net::userCancelledAuthentication, m_originalRequest.url()));
        return;
    }
}

void KNURLSessionTask::complete(std::optional<net::Error> error)
{
    {
        QMutexLocker locker(&m_mutex);
        if (m_state == State::Completed)
            return;
        m_state = State::Completed;
        m_error = error;
    }
    detachReply(error.has_value());
    if (m_downloadFile && error && !m_keepDownloadFile) {
        m_downloadFile->close();
        QFile::remove(m_downloadFile->fileName());
    }
    m_uploadFile.reset();
    const auto session = m_session.lock();
    if (!session)
        return;
    session->deliver(
        [task = shared_from_this(), error](net::URLSession& session, net::URLSessionDelegate& delegate) {
            delegate.didCompleteWithError(session, task, error);
        });
    session->taskDidFinish(m_identifier);
}
