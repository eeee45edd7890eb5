// A task's transfer: resume, suspend and cancel come from any thread and are carried out
// on the network thread, where one QNetworkReply per request brings the response, the body,
// the end or the failure, each passed on to the session's delegate queue in that order.
#include "net/session/KNURLSessionTask.h"

#include "net/operation/KNNetworkThread.h"
#include "net/session/RenewableBodyStream.h"
#include "net/session/SessionCache.h"
#include "net/session/SessionNotifications.h"
#include "net/session/URLSession.h"

#include "platform/NotificationCenter.h"
#include "platform/Strings.h"

#include <QAuthenticator>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutexLocker>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTemporaryFile>
#include <QThread>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

QObject* asObject(KNURLSessionTask* task)
{
    return task;
}

} // namespace

std::shared_ptr<KNURLSessionTask> KNURLSessionTask::create(
    Kind kind, quint64 identifier, net::URLRequest request, Body body, std::weak_ptr<net::URLSession> session)
{
    return std::shared_ptr<KNURLSessionTask>(
        new KNURLSessionTask(kind, identifier, std::move(request), std::move(body), std::move(session)));
}

namespace {

qint64 expectedBytesToSend(
    const net::URLRequest& request, const QByteArray& data, const QString& filePath, int source)
{
    switch (source) {
    case 1:
        return data.size();
    case 2:
        return QFile::exists(filePath) ? QFile(filePath).size() : KNURLSessionTask::transferSizeUnknown;
    case 3:
        return KNURLSessionTask::transferSizeUnknown;
    default:
        if (request.httpBody())
            return request.httpBody()->size();
        return request.httpBodyStream() ? KNURLSessionTask::transferSizeUnknown : 0;
    }
}

} // namespace

KNURLSessionTask::KNURLSessionTask(
    Kind kind, quint64 identifier, net::URLRequest request, Body body, std::weak_ptr<net::URLSession> session)
    : m_kind(kind)
    , m_identifier(identifier)
    , m_originalRequest(std::move(request))
    , m_body(std::move(body))
    , m_expectedToSend(
          expectedBytesToSend(m_originalRequest, m_body.data, m_body.filePath, int(m_body.source)))
    , m_session(std::move(session))
    , m_currentRequest(m_originalRequest)
{
}

KNURLSessionTask::~KNURLSessionTask()
{
    if (m_reply && QThread::currentThread() == m_reply->thread())
        detachReply(true);
}

KNURLSessionTask::State KNURLSessionTask::state() const
{
    QMutexLocker locker(&m_mutex);
    return m_state;
}

net::URLRequest KNURLSessionTask::currentRequest() const
{
    QMutexLocker locker(&m_mutex);
    return m_currentRequest;
}

std::optional<net::URLResponse> KNURLSessionTask::response() const
{
    QMutexLocker locker(&m_mutex);
    return m_response;
}

std::optional<net::Error> KNURLSessionTask::error() const
{
    QMutexLocker locker(&m_mutex);
    return m_error;
}

qint64 KNURLSessionTask::countOfBytesSent() const
{
    QMutexLocker locker(&m_mutex);
    return m_bytesSent;
}

qint64 KNURLSessionTask::countOfBytesReceived() const
{
    QMutexLocker locker(&m_mutex);
    return m_bytesReceived;
}

qint64 KNURLSessionTask::countOfBytesExpectedToReceive() const
{
    QMutexLocker locker(&m_mutex);
    return m_response ? m_response->expectedContentLength() : transferSizeUnknown;
}

void KNURLSessionTask::resume()
{
    State before;
    {
        QMutexLocker locker(&m_mutex);
        before = m_state;
        if (before == State::Suspended)
            m_state = State::Running;
    }
    if (before == State::Suspended) {
        KNNetworkThread::perform([self = shared_from_this()] {
            if (!self->m_started)
                self->start();
            else
                self->applySuspension();
        });
    }
    if (before != State::Running)
        platform::NotificationCenter::defaultCenter().post(
            notifications::sessionTaskDidResume, QVariant::fromValue(asObject(this)));
}

void KNURLSessionTask::suspend()
{
    State before;
    {
        QMutexLocker locker(&m_mutex);
        before = m_state;
        if (before == State::Running)
            m_state = State::Suspended;
    }
    if (before == State::Running)
        KNNetworkThread::perform([self = shared_from_this()] { self->applySuspension(); });
    if (before != State::Suspended)
        platform::NotificationCenter::defaultCenter().post(
            notifications::sessionTaskDidSuspend, QVariant::fromValue(asObject(this)));
}

void KNURLSessionTask::cancel()
{
    {
        QMutexLocker locker(&m_mutex);
        if (m_state == State::Completed || m_state == State::Canceling)
            return;
        m_state = State::Canceling;
    }
    KNNetworkThread::perform([self = shared_from_this()] {
        self->detachReply(true);
        self->complete(net::urlError(net::cancelled, self->m_originalRequest.url()));
    });
}

void KNURLSessionTask::cancelByProducingResumeData(std::function<void(const QByteArray&)> completionHandler)
{
    {
        QMutexLocker locker(&m_mutex);
        if (m_state == State::Completed || m_state == State::Canceling) {
            locker.unlock();
            if (completionHandler)
                completionHandler({});
            return;
        }
        m_state = State::Canceling;
    }
    KNNetworkThread::perform([self = shared_from_this(), completionHandler] {
        // Stopped first, so that the file holds exactly what the resume data says.
        self->detachReply(true);
        const QByteArray resumeData = self->produceResumeData();
        self->m_keepDownloadFile = !resumeData.isEmpty();
        if (completionHandler)
            completionHandler(resumeData);
        self->complete(net::urlError(net::cancelled, self->m_originalRequest.url()));
    });
}

QByteArray KNURLSessionTask::produceResumeData()
{
    const std::optional<net::URLResponse> answer = response();
    if (m_kind != Kind::Download || !m_downloadFile || !m_downloadFile->isOpen() || !answer
        || (answer->statusCode() != 200 && answer->statusCode() != 206))
        return {};
    // Only a body the server names a version of can be continued without splicing two versions.
    QByteArray validator = answer->valueForHTTPHeaderField("ETag").value_or(QByteArray());
    if (validator.isEmpty() || validator.startsWith("W/"))
        validator = answer->valueForHTTPHeaderField("Last-Modified").value_or(QByteArray());
    if (validator.isEmpty() || !m_downloadFile->flush() || m_downloadFile->size() == 0)
        return {};
    QJsonArray headers;
    for (const auto& [field, value] : m_originalRequest.allHTTPHeaderFields())
        if (field.compare("Range", Qt::CaseInsensitive) != 0
            && field.compare("If-Range", Qt::CaseInsensitive) != 0)
            headers.append(QJsonArray { QString::fromLatin1(field), QString::fromLatin1(value) });
    const QJsonObject data { { u"url"_s, m_originalRequest.url().toString(QUrl::FullyEncoded) },
        { u"method"_s, QString::fromLatin1(m_originalRequest.httpMethod()) }, { u"headers"_s, headers },
        { u"path"_s, m_downloadFile->fileName() }, { u"offset"_s, m_downloadFile->size() },
        { u"validator"_s, QString::fromLatin1(validator) } };
    return QJsonDocument(data).toJson(QJsonDocument::Compact);
}

std::optional<std::pair<net::URLRequest, KNURLSessionTask::ResumePoint>> KNURLSessionTask::readResumeData(
    const QByteArray& resumeData)
{
    const QJsonObject data = QJsonDocument::fromJson(resumeData).object();
    const QUrl url(data.value(u"url"_s).toString(), QUrl::StrictMode);
    ResumePoint point { data.value(u"path"_s).toString(), qint64(data.value(u"offset"_s).toDouble()),
        data.value(u"validator"_s).toString().toLatin1() };
    if (!url.isValid() || url.isRelative() || point.filePath.isEmpty() || point.offset <= 0
        || point.validator.isEmpty())
        return std::nullopt;
    net::URLRequest request(url);
    request.setHttpMethod(data.value(u"method"_s).toString(u"GET"_s).toLatin1());
    for (const QJsonValue& pair : data.value(u"headers"_s).toArray()) {
        const QJsonArray fields = pair.toArray();
        if (fields.size() == 2)
            request.setValue(fields[1].toString().toLatin1(), fields[0].toString().toLatin1());
    }
    return std::make_pair(request, point);
}

QString KNURLSessionTask::description() const
{
    return u"<KNURLSessionTask: %1, taskIdentifier: %2, state: %3, URL: %4>"_s
        .arg(u"0x"_s + QString::number(quintptr(this), 16))
        .arg(m_identifier)
        .arg(qint64(state()))
        .arg(m_originalRequest.url().toString());
}

void KNURLSessionTask::start()
{
    if (state() != State::Running)
        return;
    m_started = true;
    if (m_body.source == Body::Source::File) {
        m_uploadFile = std::make_shared<QFile>(m_body.filePath);
        if (!m_uploadFile->open(QIODevice::ReadOnly)) {
            complete(net::urlError(net::unknown, m_originalRequest.url(),
                platform::Strings::tr("The file to upload could not be read: %1")
                    .arg(m_uploadFile->errorString())));
            return;
        }
    }
    if (m_kind == Kind::Download && !openDownloadFile()) {
        complete(net::urlError(net::cannotWriteToFile, m_originalRequest.url(),
            platform::Strings::tr("The download could not be stored: %1")
                .arg(m_downloadFile->errorString())));
        return;
    }
    if (const auto& stream = m_currentRequest.httpBodyStream(); stream && !stream->isSequential())
        m_bodyStreamStart = stream->pos();
    m_redirectCount = 0;
    startReply(m_currentRequest);
}

bool KNURLSessionTask::openDownloadFile()
{
    if (m_resumePoint) {
        m_downloadFile = std::make_unique<QFile>(m_resumePoint->filePath);
        // A file that is not as it was left is begun again rather than spliced.
        if (m_downloadFile->open(QIODevice::ReadWrite) && m_downloadFile->size() == m_resumePoint->offset
            && m_downloadFile->seek(m_resumePoint->offset)) {
            m_writtenBefore = m_resumePoint->offset;
            QMutexLocker locker(&m_mutex);
            m_currentRequest.setValue(u"bytes=%1-"_s.arg(m_writtenBefore).toLatin1(), "Range");
            m_currentRequest.setValue(m_resumePoint->validator, "If-Range");
            return true;
        }
        m_downloadFile->close();
        QFile::remove(m_resumePoint->filePath);
    }
    auto file = std::make_unique<QTemporaryFile>(QDir::tempPath() + u"/kitnet-download-XXXXXX"_s);
    file->setAutoRemove(false);
    const bool opened = file->open();
    m_downloadFile = std::move(file);
    return opened;
}

void KNURLSessionTask::startReply(const net::URLRequest& request)
{
    m_hopURL = request.url();
    QNetworkRequest networkRequest(request.url());
    for (const auto& [field, value] : request.allHTTPHeaderFields())
        networkRequest.setRawHeader(field, value);
    const auto session = m_session.lock();
    if (!session) {
        complete(net::urlError(net::cancelled, m_originalRequest.url()));
        return;
    }
    for (const auto& [field, value] : session->configuration().HTTPAdditionalHeaders)
        if (!request.valueForHTTPHeaderField(field))
            networkRequest.setRawHeader(field, value);
    networkRequest.setTransferTimeout(std::max(1, int(request.timeoutInterval() * 1000)));
    // Each hop is a reply of its own: a reply that Qt takes on to the next address keeps the
    // redirect's headers beside the final ones (and may deliver them again after it cleared them),
    // and sends a body again from a device it rewinds while the next hop may be reading it.
    networkRequest.setAttribute(
        QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    const bool cached = m_kind == Kind::Data && !session->configuration().URLCacheDirectory.isNull();
    networkRequest.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
        cached ? QNetworkRequest::PreferNetwork : QNetworkRequest::AlwaysNetwork);
    networkRequest.setAttribute(QNetworkRequest::CacheSaveControlAttribute, cached);

    QNetworkAccessManager* manager = session->networkManager();
    const QByteArray& method = request.httpMethod();
    QNetworkReply* reply = nullptr;
    m_renewableBody.clear();
    switch (m_bodyDropped ? Body::Source::None : m_body.source) {
    case Body::Source::Data:
        reply = manager->sendCustomRequest(networkRequest, method, m_body.data);
        break;
    case Body::Source::File:
        m_uploadFile->seek(0);
        reply = KNNetworkThread::sendWithBody(manager, networkRequest, method, m_uploadFile);
        break;
    case Body::Source::Stream:
    case Body::Source::None:
        if (request.httpBody())
            reply = manager->sendCustomRequest(networkRequest, method, *request.httpBody());
        else if (const auto& stream = request.httpBodyStream()) {
            // With a known length the stream is sent as it is read rather than read whole first.
            if (request.valueForHTTPHeaderField("Content-Length"))
                networkRequest.setAttribute(QNetworkRequest::DoNotBufferUploadDataAttribute, true);
            // Qt sends the body again after a login by rewinding the device it read it from.
            std::shared_ptr<QIODevice> body = stream;
            if (stream->isSequential()) {
                auto renewable
                    = std::make_shared<net::RenewableBodyStream>(stream, [weakSelf = weak_from_this()] {
                          const auto task = weakSelf.lock();
                          return task ? task->newBodyStream() : nullptr;
                      });
                m_renewableBody = renewable.get();
                body = std::move(renewable);
            } else if (stream == m_originalRequest.httpBodyStream()) {
                stream->seek(m_bodyStreamStart);
            }
            reply = KNNetworkThread::sendWithBody(manager, networkRequest, method, std::move(body));
        } else if (method == "GET")
            reply = manager->get(networkRequest);
        else if (method == "HEAD")
            reply = manager->head(networkRequest); // a custom "HEAD" would wait for the body it announces
        else
            reply = manager->sendCustomRequest(networkRequest, method);
        break;
    }
    {
        QMutexLocker locker(&m_mutex);
        m_currentRequest = request;
    }
    m_reply = reply;
    m_responseSeen = false;
    m_trustAnswered = false;
    m_trustFailure.reset();
    m_storedResponseURL.reset();
    connectReply();
}

void KNURLSessionTask::connectReply()
{
    QNetworkReply* reply = m_reply;
    m_replyContext = new QObject;
    const std::weak_ptr<KNURLSessionTask> weakSelf = weak_from_this();
    const auto withSelf = [weakSelf](auto member) {
        return [weakSelf, member](auto&&... arguments) {
            if (auto task = weakSelf.lock())
                (task.get()->*member)(arguments...);
        };
    };
    connect(
        reply, &QNetworkReply::metaDataChanged, m_replyContext, withSelf(&KNURLSessionTask::handleResponse));
    connect(reply, &QNetworkReply::readyRead, m_replyContext, withSelf(&KNURLSessionTask::readBody));
    // First: the response the reply stored just now is the one the cache reports.
    connect(reply, &QNetworkReply::finished, m_replyContext, [weakSelf, reply] {
        auto* cache = qobject_cast<net::SessionCache*>(reply->manager()->cache());
        if (auto task = weakSelf.lock(); task && cache)
            task->m_storedResponseURL = cache->takeStored();
    });
    connect(reply, &QNetworkReply::finished, m_replyContext, withSelf(&KNURLSessionTask::handleFinished));
    connect(reply, &QNetworkReply::uploadProgress, m_replyContext, [weakSelf](qint64 sent, qint64) {
        if (auto task = weakSelf.lock())
            task->handleUploadProgress(sent);
    });
    connect(reply, &QNetworkReply::sslErrors, m_replyContext, [weakSelf](const QList<QSslError>&) {
        if (auto task = weakSelf.lock())
            task->handleServerTrust(false);
    });
    connect(reply->manager(), &QNetworkAccessManager::authenticationRequired, m_replyContext,
        [weakSelf, reply](QNetworkReply* asking, QAuthenticator* authenticator) {
            if (auto task = weakSelf.lock(); task && asking == reply)
                task->handleLoginChallenge(authenticator);
        });
    connect(reply, &QNetworkReply::encrypted, m_replyContext, [weakSelf] {
        if (auto task = weakSelf.lock())
            task->handleServerTrust(true);
    });
}

void KNURLSessionTask::detachReply(bool abort)
{
    if (!m_reply)
        return;
    KNNetworkThread::releaseReply(m_reply, m_replyContext, abort);
}

void KNURLSessionTask::applySuspension()
{
    if (!m_reply)
        return;
    if (state() == State::Suspended) {
        // A full read buffer stops the socket: the server waits until the task resumes.
        m_reply->setReadBufferSize(1);
        return;
    }
    m_reply->setReadBufferSize(0);
    readBody();
    if (m_reply && m_reply->isFinished())
        handleFinished();
}
