#include "net/operation/KNURLConnectionOperation.h"

#include "net/operation/KNNetworkThread.h"
#include "net/operation/NetNotifications.h"
#include "net/security/KNSecurityPolicy.h"
#include "platform/NotificationCenter.h"

#include <QBuffer>
#include <QFileDevice>
#include <QMutexLocker>
#include <QNetworkAccessManager>
#include <QStringDecoder>

#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace {

const char* stateKey(KNURLConnectionOperation::State state)
{
    switch (state) {
    case KNURLConnectionOperation::State::Paused:
        return "isPaused";
    case KNURLConnectionOperation::State::Ready:
        return "isReady";
    case KNURLConnectionOperation::State::Executing:
        return "isExecuting";
    case KNURLConnectionOperation::State::Finished:
        return "isFinished";
    }
    return "state";
}

bool transitionAllowed(
    KNURLConnectionOperation::State from, KNURLConnectionOperation::State to, bool cancelled)
{
    using State = KNURLConnectionOperation::State;
    switch (from) {
    case State::Ready:
        return to == State::Paused || to == State::Executing || (to == State::Finished && cancelled);
    case State::Executing:
        return to == State::Paused || to == State::Finished;
    case State::Paused:
        // A paused operation that is cancelled finishes instead of waiting for ever.
        return to == State::Ready || (to == State::Finished && cancelled);
    case State::Finished:
        return false;
    }
    return false;
}

std::shared_ptr<net::DispatchGroup> defaultCompletionGroup()
{
    static const auto group = std::make_shared<net::DispatchGroup>();
    return group;
}

std::shared_ptr<net::DispatchQueue> operationQueue()
{
    static const auto queue = net::DispatchQueue::concurrent(u"kitnet.networking.operation.queue"_s);
    return queue;
}

} // namespace

KNURLConnectionOperation::KNURLConnectionOperation(net::URLRequest request)
    : m_request(std::move(request)), m_securityPolicy(KNSecurityPolicy::defaultPolicy())
{
}

KNURLConnectionOperation::~KNURLConnectionOperation()
{
    if (m_outputStream)
        m_outputStream->close();
    if (m_ownManager)
        KNNetworkThread::releaseManager(m_ownManager);
}

std::shared_ptr<KNURLConnectionOperation> KNURLConnectionOperation::self()
{
    return std::static_pointer_cast<KNURLConnectionOperation>(shared_from_this());
}

void KNURLConnectionOperation::postOnMain(const QString& name)
{
    const std::weak_ptr<KNURLConnectionOperation> operation = self();
    net::DispatchQueue::main()->async([operation, name] {
        if (auto live = operation.lock())
            platform::NotificationCenter::defaultCenter().post(
                name, QVariant::fromValue(static_cast<QObject*>(live.get())));
    });
}

bool KNURLConnectionOperation::setState(State newState)
{
    QMutexLocker locker(&m_lock);
    const State oldState = state();
    if (!transitionAllowed(oldState, newState, isCancelled()))
        return false;
    m_state.store(newState);
    for (const State changed : { oldState, newState }) {
        switch (changed) {
        case State::Paused:
            Q_EMIT pausedChanged();
            break;
        case State::Ready:
            didChangeReady();
            break;
        case State::Executing:
            didChangeExecuting();
            break;
        case State::Finished:
            break;
        }
    }
    if (newState == State::Finished)
        didFinish();
    return true;
}

bool KNURLConnectionOperation::isReady() const
{
    return state() == State::Ready && Operation::isReady();
}

void KNURLConnectionOperation::start()
{
    QMutexLocker locker(&m_lock);
    if (isCancelled()) {
        if (isFinished())
            return;
        m_keepAlive = self();
        KNNetworkThread::perform([operation = self()] { operation->cancelConnection(); });
    } else if (isReady() && setState(State::Executing)) {
        m_keepAlive = self();
        KNNetworkThread::perform([operation = self()] { operation->operationDidStart(); });
    }
}

void KNURLConnectionOperation::cancel()
{
    QMutexLocker locker(&m_lock);
    if (isFinished() || isCancelled())
        return;
    markCancelled();
    if (isExecuting() || isPaused()) {
        m_keepAlive = self();
        KNNetworkThread::perform([operation = self()] { operation->cancelConnection(); });
    }
}

void KNURLConnectionOperation::pause()
{
    QMutexLocker locker(&m_lock);
    if (isPaused() || isFinished() || isCancelled())
        return;
    if (isExecuting()) {
        KNNetworkThread::perform([operation = self()] { operation->operationDidPause(); });
        postOnMain(notifications::operationDidFinish);
    }
    setState(State::Paused);
}

void KNURLConnectionOperation::resume()
{
    QMutexLocker locker(&m_lock);
    if (!isPaused())
        return;
    setState(State::Ready);
    start();
}

void KNURLConnectionOperation::finish()
{
    std::shared_ptr<KNURLConnectionOperation> keptAlive;
    {
        QMutexLocker locker(&m_lock);
        setState(State::Finished);
        keptAlive.swap(m_keepAlive);
    }
    if (m_ownManager)
        KNNetworkThread::releaseManager(std::exchange(m_ownManager, nullptr));
    postOnMain(notifications::operationDidFinish);
}

std::optional<net::URLResponse> KNURLConnectionOperation::response() const
{
    QMutexLocker locker(&m_lock);
    return m_response;
}

std::optional<net::Error> KNURLConnectionOperation::error() const
{
    QMutexLocker locker(&m_lock);
    return m_error;
}

std::optional<QByteArray> KNURLConnectionOperation::responseData() const
{
    QMutexLocker locker(&m_lock);
    return m_responseData;
}

void KNURLConnectionOperation::setResponseData(const std::optional<QByteArray>& data)
{
    QMutexLocker locker(&m_lock);
    m_responseData = data;
}

QString KNURLConnectionOperation::responseStringEncoding() const
{
    QMutexLocker locker(&m_lock);
    if (m_responseStringEncoding.isNull() && m_response) {
        const QString name = m_response->textEncodingName();
        const bool known = !name.isEmpty() && QStringDecoder(name.toLatin1().constData()).isValid();
        m_responseStringEncoding = known ? name : u"UTF-8"_s;
    }
    return m_responseStringEncoding;
}

QString KNURLConnectionOperation::responseString() const
{
    QMutexLocker locker(&m_lock);
    if (m_responseString.isNull() && m_response && m_responseData) {
        QStringDecoder decoder(responseStringEncoding().toLatin1().constData());
        m_responseString = decoder.decode(*m_responseData);
        if (m_responseString.isNull())
            m_responseString = u""_s;
    }
    return m_responseString;
}

std::shared_ptr<QIODevice> KNURLConnectionOperation::inputStream() const
{
    QMutexLocker locker(&m_lock);
    return m_request.httpBodyStream();
}

void KNURLConnectionOperation::setInputStream(std::shared_ptr<QIODevice> stream)
{
    QMutexLocker locker(&m_lock);
    m_request.setHttpBodyStream(std::move(stream));
}

std::shared_ptr<QIODevice> KNURLConnectionOperation::outputStream()
{
    QMutexLocker locker(&m_lock);
    if (!m_outputStream) {
        auto buffer = std::make_shared<QBuffer>();
        buffer->open(QIODevice::WriteOnly);
        m_outputStream = std::move(buffer);
        m_ownsOutputStream = true;
        m_bytesWritten = 0;
    }
    return m_outputStream;
}

void KNURLConnectionOperation::setOutputStream(std::shared_ptr<QIODevice> stream)
{
    QMutexLocker locker(&m_lock);
    if (stream == m_outputStream)
        return;
    if (m_outputStream)
        m_outputStream->close();
    m_outputStream = std::move(stream);
    m_ownsOutputStream = false;
    m_bytesWritten = 0;
}

qint64 KNURLConnectionOperation::bytesWrittenToOutputStream() const
{
    QMutexLocker locker(&m_lock);
    if (m_outputStream && !m_outputStream->isSequential())
        return m_outputStream->pos();
    return m_bytesWritten;
}

bool KNURLConnectionOperation::truncateOutputStream()
{
    QMutexLocker locker(&m_lock);
    const std::shared_ptr<QIODevice> stream = outputStream();
    if (auto* buffer = qobject_cast<QBuffer*>(stream.get())) {
        buffer->buffer().clear();
    } else if (auto* file = qobject_cast<QFileDevice*>(stream.get())) {
        if (!file->resize(0))
            return false;
    } else {
        return false;
    }
    m_bytesWritten = 0;
    return stream->seek(0);
}

std::optional<qint64> KNURLConnectionOperation::maximumResponseLength() const
{
    QMutexLocker locker(&m_lock);
    return m_maximumResponseLength;
}

void KNURLConnectionOperation::setMaximumResponseLength(std::optional<qint64> length)
{
    QMutexLocker locker(&m_lock);
    m_maximumResponseLength = length;
}

std::optional<net::URLCredential> KNURLConnectionOperation::credential() const
{
    QMutexLocker locker(&m_lock);
    return m_credential;
}

void KNURLConnectionOperation::setCredential(std::optional<net::URLCredential> credential)
{
    QMutexLocker locker(&m_lock);
    m_credential = std::move(credential);
}

std::shared_ptr<net::DispatchQueue> KNURLConnectionOperation::completionQueue() const
{
    QMutexLocker locker(&m_lock);
    return m_completionQueue;
}

void KNURLConnectionOperation::setCompletionQueue(std::shared_ptr<net::DispatchQueue> queue)
{
    QMutexLocker locker(&m_lock);
    m_completionQueue = std::move(queue);
}

std::shared_ptr<net::DispatchGroup> KNURLConnectionOperation::completionGroup() const
{
    QMutexLocker locker(&m_lock);
    return m_completionGroup;
}

void KNURLConnectionOperation::setCompletionGroup(std::shared_ptr<net::DispatchGroup> group)
{
    QMutexLocker locker(&m_lock);
    m_completionGroup = std::move(group);
}

QVariantMap KNURLConnectionOperation::userInfo() const
{
    QMutexLocker locker(&m_lock);
    return m_userInfo;
}

void KNURLConnectionOperation::setUserInfo(QVariantMap userInfo)
{
    QMutexLocker locker(&m_lock);
    m_userInfo = std::move(userInfo);
}

void KNURLConnectionOperation::setUploadProgressBlock(ProgressBlock block)
{
    QMutexLocker locker(&m_lock);
    m_uploadProgress = std::move(block);
}

void KNURLConnectionOperation::setDownloadProgressBlock(ProgressBlock block)
{
    QMutexLocker locker(&m_lock);
    m_downloadProgress = std::move(block);
}

void KNURLConnectionOperation::setWillSendRequestForAuthenticationChallengeBlock(
    AuthenticationChallengeBlock block)
{
    QMutexLocker locker(&m_lock);
    m_authenticationChallenge = std::move(block);
}

void KNURLConnectionOperation::setRedirectResponseBlock(RedirectResponseBlock block)
{
    QMutexLocker locker(&m_lock);
    m_redirectResponse = std::move(block);
}

void KNURLConnectionOperation::setRequest(net::URLRequest request)
{
    QMutexLocker locker(&m_lock);
    m_request = std::move(request);
}

void KNURLConnectionOperation::setCompletionBlock(std::function<void()> block)
{
    QMutexLocker locker(&m_lock);
    if (!block) {
        Operation::setCompletionBlock(nullptr);
        return;
    }
    const std::weak_ptr<KNURLConnectionOperation> weakSelf = self();
    Operation::setCompletionBlock([weakSelf, block = std::move(block)] {
        const auto operation = weakSelf.lock();
        if (!operation)
            return;
        auto group = operation->completionGroup();
        if (!group)
            group = defaultCompletionGroup();
        auto queue = operation->completionQueue();
        if (!queue)
            queue = net::DispatchQueue::main();
        // The caller may have dropped its reference: the operation lives until its block ran.
        net::DispatchGroup::async(group, queue, [operation, block] { block(); });
        group->notify(operationQueue(), [weakSelf] {
            if (auto live = weakSelf.lock())
                live->Operation::setCompletionBlock(nullptr);
        });
    });
}

QString KNURLConnectionOperation::description() const
{
    QMutexLocker locker(&m_lock);
    const QString response = m_response
        ? u"<%1 %2>"_s.arg(m_response->statusCode()).arg(m_response->url().toString())
        : u"(null)"_s;
    return u"<%1: %2, state: %3, cancelled: %4 request: <%5 %6>, response: %7>"_s.arg(
        QString::fromLatin1(metaObject()->className()), u"0x"_s + QString::number(quintptr(this), 16),
        QString::fromLatin1(stateKey(state())), isCancelled() ? u"YES"_s : u"NO"_s,
        QString::fromLatin1(m_request.httpMethod()), m_request.url().toString(), response);
}

QVariantMap KNURLConnectionOperation::archive()
{
    pause();
    QMutexLocker locker(&m_lock);
    const State current = state();
    const State stored = (current == State::Executing || current == State::Paused) ? State::Ready : current;
    QVariantMap archive;
    archive[u"request"_s] = QVariant::fromValue(m_request);
    archive[u"state"_s] = qint64(stored);
    if (m_response)
        archive[u"response"_s] = QVariant::fromValue(*m_response);
    if (m_error)
        archive[u"error"_s] = QVariant::fromValue(*m_error);
    if (m_responseData)
        archive[u"responseData"_s] = *m_responseData;
    archive[u"totalBytesRead"_s] = m_totalBytesRead.load();
    return archive;
}

void KNURLConnectionOperation::restoreFromArchive(const QVariantMap& archive)
{
    setState(State(archive.value(u"state"_s).toLongLong()));
    QMutexLocker locker(&m_lock);
    if (archive.contains(u"response"_s))
        m_response = archive.value(u"response"_s).value<net::URLResponse>();
    if (archive.contains(u"error"_s))
        m_error = archive.value(u"error"_s).value<net::Error>();
    if (archive.contains(u"responseData"_s))
        m_responseData = archive.value(u"responseData"_s).toByteArray();
    m_totalBytesRead = archive.value(u"totalBytesRead"_s).toLongLong();
}

std::shared_ptr<KNURLConnectionOperation> KNURLConnectionOperation::fromArchive(const QVariantMap& archive)
{
    auto operation
        = std::make_shared<KNURLConnectionOperation>(archive.value(u"request"_s).value<net::URLRequest>());
    operation->restoreFromArchive(archive);
    return operation;
}

void KNURLConnectionOperation::copyInto(KNURLConnectionOperation& copy) const
{
    QMutexLocker locker(&m_lock);
    copy.m_uploadProgress = m_uploadProgress;
    copy.m_downloadProgress = m_downloadProgress;
    copy.m_authenticationChallenge = m_authenticationChallenge;
    copy.m_redirectResponse = m_redirectResponse;
    copy.m_completionQueue = m_completionQueue;
    copy.m_completionGroup = m_completionGroup;
    copy.m_maximumResponseLength = m_maximumResponseLength;
}

std::shared_ptr<KNURLConnectionOperation> KNURLConnectionOperation::clone() const
{
    auto copy = std::make_shared<KNURLConnectionOperation>(request());
    copyInto(*copy);
    return copy;
}

QThread* KNURLConnectionOperation::networkRequestThread()
{
    return KNNetworkThread::thread();
}

void KNURLConnectionOperation::stopNetworkThread()
{
    KNNetworkThread::stop();
}

QList<std::shared_ptr<net::Operation>> KNURLConnectionOperation::batchOfRequestOperations(
    const QList<std::shared_ptr<KNURLConnectionOperation>>& operations,
    std::function<void(qsizetype, qsizetype)> progressBlock,
    std::function<void(const QList<std::shared_ptr<KNURLConnectionOperation>>&)> completionBlock)
{
    if (operations.isEmpty()) {
        return { net::BlockOperation::blockOperationWithBlock([completionBlock] {
            net::DispatchQueue::main()->async([completionBlock] {
                if (completionBlock)
                    completionBlock({});
            });
        }) };
    }
    const auto group = std::make_shared<net::DispatchGroup>();
    const auto batch = net::BlockOperation::blockOperationWithBlock([group, operations, completionBlock] {
        group->notify(net::DispatchQueue::main(), [operations, completionBlock] {
            if (completionBlock)
                completionBlock(operations);
        });
    });
    QList<std::shared_ptr<net::Operation>> all;
    for (const auto& operation : operations) {
        operation->setCompletionGroup(group);
        const std::function<void()> original = operation->completionBlock();
        const std::weak_ptr<KNURLConnectionOperation> weakOperation = operation;
        operation->setCompletionBlock([weakOperation, original, operations, progressBlock, group] {
            auto live = weakOperation.lock();
            auto queue = live ? live->completionQueue() : nullptr;
            if (!queue)
                queue = net::DispatchQueue::main();
            net::DispatchGroup::async(group, queue, [original, operations, progressBlock, group] {
                if (original)
                    original();
                qsizetype finished = 0;
                for (const auto& each : operations)
                    finished += each->isFinished() ? 1 : 0;
                if (progressBlock)
                    progressBlock(finished, operations.size());
                group->leave();
            });
        });
        group->enter();
        batch->addDependency(operation);
        all.append(operation);
    }
    all.append(batch);
    return all;
}
