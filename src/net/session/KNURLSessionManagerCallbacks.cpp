// The manager as its session's delegate: each callback goes to the task's delegate (when
// the manager knows the task) and then to the manager-level block.
#include "net/session/KNURLSessionManager.h"

#include "net/request/KNMultipartBodyStream.h"
#include "net/security/KNSecurityPolicy.h"
#include "net/security/ServerTrust.h"
#include "net/session/KNURLSessionTask.h"
#include "net/session/SessionNotifications.h"

#include "platform/NotificationCenter.h"

namespace {

/// The trust is judged against the authorities the policy pins, as the operations do.
bool trusts(const KNSecurityPolicy& policy, const net::AuthenticationChallenge& challenge)
{
    if (const QList<QSslCertificate> authorities = policy.handshakeCACertificates(); !authorities.isEmpty()) {
        QList<QByteArray> anchors;
        for (const QSslCertificate& authority : authorities)
            anchors.append(authority.toDer());
        challenge.serverTrust->setAnchorCertificates(anchors);
    }
    return policy.evaluateServerTrust(*challenge.serverTrust, challenge.host);
}

} // namespace

bool KNURLSessionManager::respondsTo(Optional question) const
{
    const Blocks current = blocks();
    switch (question) {
    case Optional::Redirection:
        return bool(current.taskWillPerformHTTPRedirection);
    case Optional::ReceiveResponse:
        return bool(current.dataTaskDidReceiveResponse);
    case Optional::WillCacheResponse:
        return bool(current.dataTaskWillCacheResponse);
    }
    return false;
}

void KNURLSessionManager::didBecomeInvalid(net::URLSession& session, const std::optional<net::Error>& error)
{
    if (const auto block = blocks().sessionDidBecomeInvalid)
        block(session, error);
    removeAllDelegates();
    platform::NotificationCenter::defaultCenter().post(
        notifications::sessionDidInvalidate, QVariant::fromValue(&session));
}

net::SessionChallengeAnswer KNURLSessionManager::didReceiveChallenge(
    net::URLSession& session, const net::AuthenticationChallenge& challenge)
{
    net::SessionChallengeAnswer answer;
    if (const auto block = blocks().sessionDidReceiveAuthenticationChallenge) {
        answer.disposition = block(session, challenge, &answer.credential);
        return answer;
    }
    if (!challenge.serverTrust)
        return answer;
    if (trusts(*securityPolicy(), challenge)) {
        answer.disposition = net::SessionChallengeDisposition::UseCredential;
        answer.credential = net::URLCredential {};
    } else {
        answer.disposition = net::SessionChallengeDisposition::CancelAuthenticationChallenge;
    }
    return answer;
}

net::SessionChallengeAnswer KNURLSessionManager::didReceiveChallenge(
    net::URLSession& session, const Task& task, const net::AuthenticationChallenge& challenge)
{
    net::SessionChallengeAnswer answer;
    if (const auto block = blocks().taskDidReceiveAuthenticationChallenge) {
        answer.disposition = block(session, task, challenge, &answer.credential);
        return answer;
    }
    if (challenge.serverTrust) {
        if (trusts(*securityPolicy(), challenge))
            answer = { net::SessionChallengeDisposition::UseCredential, net::URLCredential {} };
        else
            answer.disposition = net::SessionChallengeDisposition::CancelAuthenticationChallenge;
    }
    return answer;
}

std::optional<net::URLRequest> KNURLSessionManager::willPerformHTTPRedirection(net::URLSession& session,
    const Task& task, const net::URLResponse& response, const net::URLRequest& request)
{
    if (const auto block = blocks().taskWillPerformHTTPRedirection)
        return block(session, task, response, request);
    return request;
}

std::shared_ptr<QIODevice> KNURLSessionManager::needNewBodyStream(net::URLSession& session, const Task& task)
{
    if (const auto block = blocks().taskNeedNewBodyStream)
        return block(session, task);
    if (const auto* body
        = qobject_cast<net::KNMultipartBodyStream*>(task->originalRequest().httpBodyStream().get()))
        return body->copy();
    return nullptr;
}

void KNURLSessionManager::didSendBodyData(net::URLSession& session, const Task& task, qint64 bytesSent,
    qint64 totalBytesSent, qint64 totalBytesExpectedToSend)
{
    const qint64 total = uploadTotal(*task, totalBytesExpectedToSend);
    if (const auto delegate = delegateForTask(*task))
        delegate->didSendBodyData(totalBytesSent, total);
    if (const auto block = blocks().taskDidSendBodyData)
        block(session, task, bytesSent, totalBytesSent, total);
}

void KNURLSessionManager::didCompleteWithError(
    net::URLSession& session, const Task& task, const std::optional<net::Error>& error)
{
    if (const auto delegate = delegateForTask(*task)) {
        delegate->didCompleteWithError(task, error);
        removeDelegateForTask(*task);
    }
    if (const auto block = blocks().taskDidComplete)
        block(session, task, error);
}

net::SessionResponseDisposition KNURLSessionManager::didReceiveResponse(
    net::URLSession& session, const Task& task, const net::URLResponse& response)
{
    if (const auto block = blocks().dataTaskDidReceiveResponse)
        return block(session, task, response);
    return net::SessionResponseDisposition::Allow;
}

void KNURLSessionManager::didBecomeDownloadTask(
    net::URLSession& session, const Task& dataTask, const Task& downloadTask)
{
    if (const auto delegate = delegateForTask(*dataTask)) {
        removeDelegateForTask(*dataTask);
        setDelegate(delegate, *downloadTask);
    }
    if (const auto block = blocks().dataTaskDidBecomeDownloadTask)
        block(session, dataTask, downloadTask);
}

void KNURLSessionManager::didReceiveData(net::URLSession& session, const Task& task, const QByteArray& data)
{
    if (const auto delegate = delegateForTask(*task))
        delegate->didReceiveData(data);
    if (const auto block = blocks().dataTaskDidReceiveData)
        block(session, task, data);
}

std::optional<net::CachedURLResponse> KNURLSessionManager::willCacheResponse(
    net::URLSession& session, const Task& task, const net::CachedURLResponse& proposedResponse)
{
    if (const auto block = blocks().dataTaskWillCacheResponse)
        return block(session, task, proposedResponse);
    return proposedResponse;
}

void KNURLSessionManager::didFinishDownloadingToURL(
    net::URLSession& session, const Task& task, const QUrl& location)
{
    const auto delegate = delegateForTask(*task);
    if (const auto block = blocks().downloadTaskDidFinishDownloading) {
        const QUrl destination = block(session, task, location);
        if (!destination.isEmpty()) {
            const auto error = net::moveDownloadedFile(location, destination);
            if (delegate) {
                delegate->setDownloadFileURL(destination);
                delegate->setDownloadMoveError(error);
            }
            if (error)
                platform::NotificationCenter::defaultCenter().post(notifications::downloadDidFailToMoveFile,
                    QVariant::fromValue(static_cast<QObject*>(task.get())), error->userInfo());
            return;
        }
    }
    if (delegate)
        delegate->didFinishDownloadingToURL(session, task, location);
}

void KNURLSessionManager::didWriteData(net::URLSession& session, const Task& task, qint64 bytesWritten,
    qint64 totalBytesWritten, qint64 totalBytesExpectedToWrite)
{
    if (const auto delegate = delegateForTask(*task))
        delegate->didWriteData(totalBytesWritten, totalBytesExpectedToWrite);
    if (const auto block = blocks().downloadTaskDidWriteData)
        block(session, task, bytesWritten, totalBytesWritten, totalBytesExpectedToWrite);
}

void KNURLSessionManager::didResumeAtOffset(
    net::URLSession& session, const Task& task, qint64 fileOffset, qint64 expectedTotalBytes)
{
    if (const auto delegate = delegateForTask(*task))
        delegate->didResumeAtOffset(fileOffset, expectedTotalBytes);
    if (const auto block = blocks().downloadTaskDidResume)
        block(session, task, fileOffset, expectedTotalBytes);
}
