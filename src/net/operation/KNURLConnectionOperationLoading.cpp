// The network-thread half of KNURLConnectionOperation: one QNetworkReply per transfer
// drives the response, the body chunks, the end and the failure, in that order.
#include "net/operation/KNURLConnectionOperation.h"

#include "net/core/RedirectRules.h"
#include "net/operation/KNNetworkThread.h"
#include "net/operation/NetNotifications.h"
#include "net/operation/ReplyErrors.h"

#include "platform/Strings.h"
#include <QAuthenticator>
#include <QBuffer>
#include <QFileDevice>

#include <QMutexLocker>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

QString deviceErrorText(const QIODevice& device)
{
    static const QString noText = QBuffer().errorString();
    const QString text = device.errorString();
    return text == noText ? QString() : text;
}

net::Error writeError(const QIODevice& device, const QUrl& url)
{
    const QString text = deviceErrorText(device);
    return net::urlError(net::cannotWriteToFile, url,
        text.isEmpty() ? platform::Strings::tr("The downloaded data could not be written.") : text);
}

net::Error tooLongError(qint64 maximum, const QUrl& url)
{
    return net::urlError(net::dataLengthExceedsMaximum, url,
        platform::Strings::tr("The response is longer than the %1 bytes allowed.").arg(maximum));
}

} // namespace

void KNURLConnectionOperation::operationDidStart()
{
    {
        QMutexLocker locker(&m_lock);
        m_redirectCount = 0;
        if (!isCancelled() && isExecuting())
            startReply(m_request);
    }
    postOnMain(notifications::operationDidStart);
}

void KNURLConnectionOperation::startReply(const net::URLRequest& request)
{
    QNetworkRequest networkRequest(request.url());
    for (const auto& [field, value] : request.allHTTPHeaderFields())
        networkRequest.setRawHeader(field, value);
    networkRequest.setTransferTimeout(std::max(1, int(request.timeoutInterval() * 1000)));
    networkRequest.setAttribute(
        QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
    networkRequest.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    networkRequest.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    prepareTrust(networkRequest);

    const std::shared_ptr<QIODevice> stream = outputStream();
    if (!stream->isOpen())
        stream->open(QIODevice::WriteOnly);

    QNetworkAccessManager* manager = managerFor(request);
    QNetworkReply* reply = nullptr;
    if (request.httpBody())
        reply = manager->sendCustomRequest(networkRequest, request.httpMethod(), *request.httpBody());
    else if (request.httpBodyStream()) {
        // Streamed as it is read when the length is known, instead of read whole into memory
        // first; a read error then fails the transfer rather than pass for the body's end.
        networkRequest.setAttribute(QNetworkRequest::DoNotBufferUploadDataAttribute, true);
        reply = KNNetworkThread::sendWithBody(
            manager, networkRequest, request.httpMethod(), request.httpBodyStream());
    } else if (request.httpMethod() == "GET")
        reply = manager->get(networkRequest);
    // Sent as a custom verb, a HEAD reply would wait for the body its Content-Length announces.
    else if (request.httpMethod() == "HEAD")
        reply = manager->head(networkRequest);
    else
        reply = manager->sendCustomRequest(networkRequest, request.httpMethod());

    // A capped transfer is not buffered by the reply far beyond the cap either.
    if (const auto maximum = maximumResponseLength())
        reply->setReadBufferSize(std::max<qint64>(*maximum, 0) + 1);
    m_reply = reply;
    m_hopRequest = request;
    m_replyContext = new QObject;
    m_responseDelivered = false;
    m_authenticationFailures = 0;
    m_totalBytesSent = 0;
    KNNetworkThread::registerReply(reply, self());

    const std::weak_ptr<KNURLConnectionOperation> weakSelf = self();
    const auto withSelf = [weakSelf](auto member) {
        return [weakSelf, member](auto&&... arguments) {
            if (auto operation = weakSelf.lock())
                (operation.get()->*member)(arguments...);
        };
    };
    connect(reply, &QNetworkReply::readyRead, m_replyContext,
        withSelf(&KNURLConnectionOperation::didReceiveData));
    connect(reply, &QNetworkReply::finished, m_replyContext,
        withSelf(&KNURLConnectionOperation::handleFinishedReply));
    connect(reply, &QNetworkReply::redirected, m_replyContext,
        withSelf(&KNURLConnectionOperation::handleRedirect));
    connect(reply, &QNetworkReply::uploadProgress, m_replyContext,
        withSelf(&KNURLConnectionOperation::didSendBodyData));
    attachTrust(reply, m_replyContext);
}

QNetworkAccessManager* KNURLConnectionOperation::managerFor(const net::URLRequest& request)
{
    if (!m_ownManager) {
        bool bringsLogin = !request.url().userInfo().isEmpty();
        {
            QMutexLocker locker(&m_lock);
            bringsLogin = bringsLogin || m_credential || m_authenticationChallenge;
        }
        if (!bringsLogin)
            return KNNetworkThread::manager();
        m_ownManager = KNNetworkThread::createManager();
    }
    return m_ownManager;
}

void KNURLConnectionOperation::detachReply(bool abort)
{
    if (!m_reply)
        return;
    KNNetworkThread::unregisterReply(m_reply);
    KNNetworkThread::releaseReply(m_reply, m_replyContext, abort);
}

bool KNURLConnectionOperation::deliverResponseIfNeeded()
{
    if (m_responseDelivered || !m_reply)
        return m_reply != nullptr;
    const QVariant status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const QString scheme = m_reply->url().scheme();
    net::URLResponse response;
    if (status.isValid()) {
        response = net::URLResponse::http(m_reply->url(), status.toInt(), m_reply->rawHeaderPairs());
    } else if (scheme == u"http"_s || scheme == u"https"_s) {
        return true; // no answer yet
    } else {
        response
            = net::URLResponse(m_reply->url(), m_reply->header(QNetworkRequest::ContentTypeHeader).toString(),
                m_reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(), QString());
    }
    m_responseDelivered = true;
    {
        QMutexLocker locker(&m_lock);
        m_response = response;
        m_responseString.clear();
        m_responseStringEncoding.clear();
    }
    std::optional<net::Error> error = didReceiveResponse(response);
    // Refused before any of the body is read: an announced length says enough.
    if (const auto maximum = maximumResponseLength();
        !error && maximum && response.expectedContentLength() > *maximum)
        error = tooLongError(*maximum, m_request.url());
    if (error) {
        detachReply(true);
        didFailWithError(*error);
        return false;
    }
    return true;
}

std::optional<net::Error> KNURLConnectionOperation::didReceiveResponse(const net::URLResponse&)
{
    return std::nullopt;
}

void KNURLConnectionOperation::didReceiveData()
{
    if (!deliverResponseIfNeeded() || !m_responseDelivered)
        return;
    const QByteArray chunk = m_reply->readAll();
    if (chunk.isEmpty())
        return;
    std::optional<net::Error> failure;
    ProgressBlock progress;
    qint64 expected = -1;
    {
        // Under the lock, so that a pause sees either all of this chunk written or none.
        QMutexLocker locker(&m_lock);
        if (!isExecuting())
            return; // paused: these bytes are asked for again on resuming
        const std::shared_ptr<QIODevice> stream = outputStream();
        qint64 written = 0;
        if (m_maximumResponseLength && m_bytesWritten + chunk.size() > *m_maximumResponseLength)
            failure = tooLongError(*m_maximumResponseLength, m_request.url());
        while (!failure && written < chunk.size()) {
            const qint64 step = stream->write(chunk.constData() + written, chunk.size() - written);
            if (step <= 0) {
                failure = writeError(*stream, m_request.url());
                break;
            }
            written += step;
        }
        m_bytesWritten += written;
        progress = m_downloadProgress;
        expected = m_response ? m_response->expectedContentLength() : -1;
    }
    if (failure) {
        detachReply(true);
        didFailWithError(*failure);
        return;
    }
    const qint64 length = chunk.size();
    const std::weak_ptr<KNURLConnectionOperation> weakSelf = self();
    net::DispatchQueue::main()->async([weakSelf, length, expected, progress] {
        auto operation = weakSelf.lock();
        if (!operation)
            return;
        const qint64 total = operation->m_totalBytesRead += length;
        if (progress)
            progress(length, total, expected);
    });
}

void KNURLConnectionOperation::didSendBodyData(qint64 bytesSent, qint64 bytesTotal)
{
    const qint64 step = bytesSent - m_totalBytesSent;
    if (step <= 0)
        return;
    m_totalBytesSent = bytesSent;
    ProgressBlock progress;
    {
        QMutexLocker locker(&m_lock);
        progress = m_uploadProgress;
    }
    if (progress)
        net::DispatchQueue::main()->async(
            [progress, step, bytesSent, bytesTotal] { progress(step, bytesSent, bytesTotal); });
}

void KNURLConnectionOperation::handleFinishedReply()
{
    if (!m_reply)
        return;
    if (isPaused()) {
        detachReply(false);
        return;
    }
    didReceiveData();
    if (!m_reply)
        return; // failed while writing
    const QNetworkReply::NetworkError error = m_reply->error();
    if (error == QNetworkReply::NoError
        || (m_responseDelivered && m_response && m_response->isHTTP() && net::isHttpStatusError(error))) {
        detachReply(false);
        didFinishLoading();
        return;
    }
    QString reason = m_reply->errorString();
    // A body stream that could not be read ends the upload early; its own reason says more.
    if (const auto& body = m_request.httpBodyStream(); body && error == QNetworkReply::UnknownNetworkError)
        if (const QString text = deviceErrorText(*body); !text.isEmpty())
            reason = text;
    const net::Error failure
        = trustFailure().value_or(net::urlError(net::urlErrorCode(error), m_request.url(), reason));
    detachReply(false);
    didFailWithError(failure);
}

// Every hop is a new reply of ours rather than one Qt follows: Qt 6.4 ends a chain of three
// or more redirects early with a redirect as the response, and counting stays ours.
void KNURLConnectionOperation::handleRedirect(const QUrl& url)
{
    const QUrl from = m_hopRequest.url();
    const int redirectNumber = ++m_redirectCount;
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const auto refuse = [this](const net::Error& refusal) {
        detachReply(true);
        didFailWithError(refusal);
    };
    if (const auto refusal = net::redirectRefusal(from, url, redirectNumber)) {
        refuse(*refusal);
        return;
    }
    RedirectResponseBlock block;
    {
        QMutexLocker locker(&m_lock);
        block = m_redirectResponse;
    }
    const net::URLRequest proposed = net::redirectedRequest(m_hopRequest, url, status);
    const net::URLResponse redirectResponse = net::URLResponse::http(from, status, m_reply->rawHeaderPairs());
    const std::optional<net::URLRequest> next = block ? block(proposed, redirectResponse) : proposed;
    if (!next) {
        {
            QMutexLocker locker(&m_lock);
            m_response = redirectResponse;
        }
        detachReply(true);
        didFinishLoading();
    } else if (const auto refusal = net::redirectRefusal(from, next->url(), redirectNumber)) {
        refuse(*refusal);
    } else {
        detachReply(true);
        QMutexLocker locker(&m_lock);
        if (isExecuting())
            startReply(*next);
    }
}

void KNURLConnectionOperation::answerAuthenticationChallenge(
    QNetworkReply* reply, QAuthenticator* authenticator)
{
    if (reply != m_reply)
        return;
    net::AuthenticationChallenge challenge;
    challenge.host = reply->url().host();
    challenge.port = reply->url().port();
    challenge.realm = authenticator->realm();
    challenge.previousFailureCount = m_authenticationFailures++;
    AuthenticationChallengeBlock block;
    std::optional<net::URLCredential> credential;
    {
        QMutexLocker locker(&m_lock);
        block = m_authenticationChallenge;
        credential = m_credential;
    }
    net::AuthenticationChallengeAnswer answer;
    if (block) {
        answer = block(challenge);
    } else if (challenge.previousFailureCount == 0 && credential) {
        answer = { net::AuthenticationChallengeAnswer::Disposition::UseCredential, credential };
    }
    switch (answer.disposition) {
    case net::AuthenticationChallengeAnswer::Disposition::UseCredential:
        if (answer.credential) {
            authenticator->setUser(answer.credential->user);
            authenticator->setPassword(answer.credential->password);
        }
        break;
    case net::AuthenticationChallengeAnswer::Disposition::ContinueWithoutCredential:
        break;
    case net::AuthenticationChallengeAnswer::Disposition::Cancel:
        detachReply(true);
        didFailWithError(net::urlError(net::userCancelledAuthentication, m_request.url()));
        break;
    }
}

void KNURLConnectionOperation::didFinishLoading()
{
    std::optional<net::Error> failure;
    {
        QMutexLocker locker(&m_lock);
        if (m_outputStream) {
            if (auto* buffer = qobject_cast<QBuffer*>(m_outputStream.get()))
                m_responseData = buffer->data();
            // A file keeps written bytes in its buffer; a failure may show only now.
            auto* file = qobject_cast<QFileDevice*>(m_outputStream.get());
            if (file && !file->flush())
                failure = writeError(*file, m_request.url());
        }
    }
    if (failure) {
        didFailWithError(*failure);
        return;
    }
    {
        QMutexLocker locker(&m_lock);
        if (m_outputStream) {
            m_outputStream->close();
            if (m_responseData)
                m_outputStream.reset();
        }
    }
    finish();
}

void KNURLConnectionOperation::didFailWithError(const net::Error& error)
{
    {
        QMutexLocker locker(&m_lock);
        m_error = error;
        if (m_outputStream) {
            m_outputStream->close();
            if (m_responseData)
                m_outputStream.reset();
        }
    }
    finish();
}

void KNURLConnectionOperation::cancelConnection()
{
    if (isFinished())
        return;
    detachReply(true);
    didFailWithError(net::urlError(net::cancelled, request().url()));
}

void KNURLConnectionOperation::operationDidPause()
{
    std::shared_ptr<KNURLConnectionOperation> released;
    QMutexLocker locker(&m_lock);
    detachReply(true);
    if (isPaused())
        released.swap(m_keepAlive);
}
