#include "net/operation/KNURLConnectionOperation.h"
#include "net/operation/NetNotifications.h"
#include "net/operation/NetOperationQueue.h"
#include "platform/NotificationCenter.h"

#include "support/Eventually.h"
#include "support/LocalHttpServer.h"
#include "support/RedirectHops.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QThread>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using mervane::test::LocalHttpServer;
using mervane::test::RedirectHops;

namespace {

QByteArray randomBytes(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(42);
    for (char& byte : bytes)
        byte = char(generator.bounded(256));
    return bytes;
}

/// A device that takes `capacity` bytes and then refuses, with or without a text.
class FullDevice : public QIODevice {
public:
    FullDevice(qint64 capacity, QString text) : m_capacity(capacity), m_text(std::move(text)) { }
    QByteArray written;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override
    {
        const qint64 room = m_capacity - written.size();
        if (room <= 0) {
            if (!m_text.isEmpty())
                setErrorString(m_text);
            return -1;
        }
        written.append(data, std::min(room, length));
        return std::min(room, length);
    }

private:
    qint64 m_capacity;
    QString m_text;
};

/// Records the start and finish notifications of one operation.
struct NotificationLog : QObject {
    explicit NotificationLog(const KNURLConnectionOperation& operation)
    {
        const QVariant object
            = QVariant::fromValue(static_cast<QObject*>(const_cast<KNURLConnectionOperation*>(&operation)));
        for (const QString& name : { notifications::operationDidStart, notifications::operationDidFinish })
            platform::NotificationCenter::defaultCenter().addObserver(
                this, name, [this](const platform::Notification& n) { names.append(n.name); }, object);
    }
    QStringList names;
};

class ConnectionOperationTest : public ::testing::Test {
protected:
    std::shared_ptr<KNURLConnectionOperation> operationFor(const QString& path, double timeout = 60.0)
    {
        return std::make_shared<KNURLConnectionOperation>(net::URLRequest(server.url(path), timeout));
    }

    LocalHttpServer server;
};

} // namespace

TEST_F(ConnectionOperationTest, DownloadsAWholeBodyOnTheNetworkThreadAndReportsProgressOnMain)
{
    const QByteArray body = randomBytes(1 << 20);
    server.setReply(u"/big"_s, { 200, { { "Content-Type", "application/octet-stream" } }, body });
    auto operation = operationFor(u"/big"_s);
    qint64 lastTotal = 0, expected = 0, sumOfSteps = 0;
    bool progressOnMain = true;
    operation->setDownloadProgressBlock([&](qint64 step, qint64 total, qint64 expectedTotal) {
        progressOnMain = progressOnMain && QThread::currentThread() == qApp->thread();
        sumOfSteps += step;
        lastTotal = total;
        expected = expectedTotal;
    });
    QThread* finishedOn = nullptr;
    QObject::connect(
        operation.get(), &net::Operation::finishedChanged, operation.get(),
        [&] { finishedOn = QThread::currentThread(); }, Qt::DirectConnection);
    NotificationLog log(*operation);

    operation->start();
    EXPECT_TRUE(operation->isExecuting());
    EXPECT_EVENTUALLY(operation->isFinished() && lastTotal == body.size());
    EXPECT_FALSE(operation->error());
    ASSERT_TRUE(operation->responseData());
    EXPECT_EQ(QCryptographicHash::hash(*operation->responseData(), QCryptographicHash::Sha256),
        QCryptographicHash::hash(body, QCryptographicHash::Sha256));
    EXPECT_EQ(operation->response()->statusCode(), 200);
    EXPECT_EQ(sumOfSteps, body.size());
    EXPECT_EQ(expected, body.size());
    EXPECT_TRUE(progressOnMain);
    EXPECT_EQ(finishedOn, KNURLConnectionOperation::networkRequestThread());
    EXPECT_EQ(finishedOn->objectName(), u"KitNet"_s);
    EXPECT_EVENTUALLY_EQ(
        log.names, QStringList({ notifications::operationDidStart, notifications::operationDidFinish }));
}

TEST_F(ConnectionOperationTest, ErrorStatusesAreResponsesAndEmptyBodiesAreEmptyData)
{
    server.setReply(u"/empty"_s, { 204, {}, {} });
    auto missing = operationFor(u"/nowhere"_s);
    auto empty = operationFor(u"/empty"_s);
    auto toFile = operationFor(u"/empty"_s);
    auto device = std::make_shared<FullDevice>(100, QString());
    device->open(QIODevice::WriteOnly);
    toFile->setOutputStream(device);
    for (const auto& operation : { missing, empty, toFile })
        operation->start();
    EXPECT_EVENTUALLY(missing->isFinished() && empty->isFinished() && toFile->isFinished());

    EXPECT_FALSE(missing->error());
    EXPECT_EQ(missing->response()->statusCode(), 404);
    EXPECT_EQ(missing->responseData(), QByteArray("not found"));
    EXPECT_EQ(missing->responseString(), u"not found"_s);
    EXPECT_EQ(missing->responseStringEncoding(), u"UTF-8"_s);
    ASSERT_TRUE(empty->responseData());
    EXPECT_TRUE(empty->responseData()->isEmpty());
    EXPECT_FALSE(toFile->responseData()) << "a device that is not memory gives no data";
    EXPECT_EQ(toFile->outputStream(), device);
    EXPECT_FALSE(device->isOpen());
}

TEST_F(ConnectionOperationTest, TransportFailuresMapToTheirCodes)
{
    server.setReply(u"/hang"_s, LocalHttpServer::Reply::silent());
    server.setReply(u"/cut"_s, LocalHttpServer::Reply::closingAfter(QByteArray(1000, 'x'), 10));
    auto hanging = operationFor(u"/hang"_s, 0.2);
    auto cut = operationFor(u"/cut"_s);
    QUrl closedPort = server.url(u"/"_s);
    {
        LocalHttpServer closed;
        closedPort = closed.url(u"/x"_s);
    }
    auto refused = std::make_shared<KNURLConnectionOperation>(net::URLRequest(closedPort));
    for (const auto& operation : { hanging, cut, refused })
        operation->start();
    EXPECT_EVENTUALLY(hanging->isFinished() && cut->isFinished() && refused->isFinished());

    ASSERT_TRUE(hanging->error());
    EXPECT_TRUE(hanging->error()->is(net::urlErrorDomain, net::timedOut)) << hanging->error()->code();
    EXPECT_EQ(hanging->error()->failingURL(), server.url(u"/hang"_s));
    ASSERT_TRUE(cut->error());
    EXPECT_EQ(cut->error()->code(), net::networkConnectionLost);
    ASSERT_TRUE(refused->error());
    EXPECT_EQ(refused->error()->code(), net::cannotConnectToHost);
    EXPECT_FALSE(refused->responseData());
}

TEST_F(ConnectionOperationTest, AFailedWriteFailsTheOperationWithTheDevicesError)
{
    const QByteArray body = randomBytes(200000);
    server.setReply(u"/data"_s, { 200, {}, body });
    auto withText = operationFor(u"/data"_s);
    auto withoutText = operationFor(u"/data"_s);
    auto full = std::make_shared<FullDevice>(1000, u"No space left on device"_s);
    auto silent = std::make_shared<FullDevice>(1000, QString());
    full->open(QIODevice::WriteOnly);
    silent->open(QIODevice::WriteOnly);
    withText->setOutputStream(full);
    withoutText->setOutputStream(silent);
    withText->start();
    withoutText->start();
    EXPECT_EVENTUALLY(withText->isFinished() && withoutText->isFinished());

    ASSERT_TRUE(withText->error());
    EXPECT_EQ(withText->error()->code(), net::cannotWriteToFile);
    EXPECT_EQ(withText->error()->localizedDescription(), u"No space left on device"_s);
    ASSERT_TRUE(withoutText->error());
    EXPECT_EQ(withoutText->error()->code(), net::cannotWriteToFile);
    EXPECT_FALSE(withoutText->error()->localizedDescription().isEmpty());
    EXPECT_EQ(full->written, body.left(1000));
}

TEST_F(ConnectionOperationTest, CancellingGivesTheCancelledErrorOnceInEveryState)
{
    server.setReply(u"/hang"_s, LocalHttpServer::Reply::silent());
    auto beforeStart = operationFor(u"/hang"_s);
    auto whileLoading = operationFor(u"/hang"_s);
    auto whilePaused = operationFor(u"/hang"_s);
    int completions = 0;
    for (const auto& operation : { beforeStart, whileLoading, whilePaused })
        operation->setCompletionBlock([&] { ++completions; });
    NotificationLog log(*beforeStart);

    beforeStart->cancel();
    EXPECT_FALSE(beforeStart->isFinished()) << "cancel alone does not finish a Ready operation";
    beforeStart->start();
    whileLoading->start();
    EXPECT_EVENTUALLY(server.requestCount(u"/hang"_s) == 1);
    whileLoading->cancel();
    whileLoading->cancel();
    whilePaused->pause();
    EXPECT_TRUE(whilePaused->isPaused());
    whilePaused->cancel();
    EXPECT_EVENTUALLY(beforeStart->isFinished() && whileLoading->isFinished() && whilePaused->isFinished());
    EXPECT_EVENTUALLY(completions == 3);

    for (const auto& operation : { beforeStart, whileLoading, whilePaused }) {
        ASSERT_TRUE(operation->error());
        EXPECT_TRUE(operation->error()->is(net::urlErrorDomain, net::cancelled));
        EXPECT_EQ(operation->error()->failingURL(), server.url(u"/hang"_s));
    }
    EXPECT_EQ(server.requestCount(u"/hang"_s), 1) << "neither a cancelled nor a paused operation connects";
    // A finished operation ignores every further request.
    whileLoading->cancel();
    whileLoading->start();
    whileLoading->pause();
    EXPECT_TRUE(whileLoading->isFinished());
    QCoreApplication::processEvents();
    EXPECT_EQ(completions, 3);
    EXPECT_EQ(log.names, QStringList({ notifications::operationDidFinish }))
        << "a cancelled operation started never announces a start";
}

TEST_F(ConnectionOperationTest, ABodyStreamLastsUntilItsReplyIsGoneHoweverSoonTheOperationIsDropped)
{
    // Each POST goes through 307 and 308, which send the body again, while its operation is
    // cancelled and let go of at some moment. The server notes every body that arrived other
    // than whole.
    const auto bodyOf = [](int post) { return QByteArray::number(post).repeated(20000 + post); };
    const RedirectHops hops(server, bodyOf);

    constexpr int perRound = 30;
    // Counted in requests the server saw before the cancelling; each more than once, as where
    // a transfer stands then is a matter of chance.
    const int moments[] = { 0, 1, perRound / 2, perRound, 2 * perRound };
    QList<std::weak_ptr<QIODevice>> streams;
    for (int round = 0; round < 3 * int(std::size(moments)); ++round) {
        const int moment = moments[round % std::size(moments)];
        SCOPED_TRACE(u"round %1: after %2 requests"_s.arg(round).arg(moment).toStdString());
        QList<std::shared_ptr<KNURLConnectionOperation>> operations;
        const int before = hops.arrived();
        for (int i = 0; i < perRound; ++i) {
            const int post = round * perRound + i;
            net::URLRequest request(server.url(RedirectHops::path(post, u"307,308"_s)));
            request.setHttpMethod("POST");
            auto buffer = std::make_shared<QBuffer>();
            buffer->setData(bodyOf(post));
            buffer->open(QIODevice::ReadOnly);
            request.setHttpBodyStream(buffer);
            streams.append(buffer);
            operations.append(std::make_shared<KNURLConnectionOperation>(request));
            operations.last()->start();
        }
        EXPECT_EVENTUALLY(hops.arrived() - before >= moment);
        for (const auto& operation : operations)
            operation->cancel();
        operations.clear();
    }
    EXPECT_EVENTUALLY(
        std::all_of(streams.cbegin(), streams.cend(), [](const auto& stream) { return stream.expired(); }));
    EXPECT_EQ(hops.wrongBodies(), QStringList());
}

TEST_F(ConnectionOperationTest, StartTwiceAndPauseBeforeStartFollowTheStateRules)
{
    server.setReply(u"/ok"_s, { 200, {}, "hello" });
    auto operation = operationFor(u"/ok"_s);
    QList<bool> pausedChanges;
    QObject::connect(
        operation.get(), &KNURLConnectionOperation::pausedChanged, operation.get(),
        [&] { pausedChanges.append(operation->isPaused()); }, Qt::DirectConnection);
    operation->pause();
    EXPECT_TRUE(operation->isPaused());
    EXPECT_FALSE(operation->isReady());
    operation->start();
    EXPECT_TRUE(operation->isPaused()) << "start does not run a paused operation";
    operation->resume();
    operation->start();
    EXPECT_EVENTUALLY(operation->isFinished());
    EXPECT_EQ(operation->responseData(), QByteArray("hello"));
    EXPECT_EQ(server.requestCount(u"/ok"_s), 1);
    EXPECT_EQ(pausedChanges, QList<bool>({ true, false }));
    EXPECT_TRUE(operation->description().contains(u"state: isFinished"_s))
        << operation->description().toStdString();
}

TEST_F(ConnectionOperationTest, CompletionRunsOnMainByDefaultOrOnTheGivenQueueAndTheOperationKeepsItselfAlive)
{
    server.setReply(u"/ok"_s, { 200, {}, "x" });
    QThread* defaultThread = nullptr;
    QThread* queueThread = nullptr;
    std::weak_ptr<KNURLConnectionOperation> dropped;
    {
        auto onMain = operationFor(u"/ok"_s);
        onMain->setCompletionBlock([&] { defaultThread = QThread::currentThread(); });
        onMain->start();
        dropped = onMain;
    }
    const auto queue = net::DispatchQueue::serial(u"test.completion"_s);
    const auto group = std::make_shared<net::DispatchGroup>();
    auto onQueue = operationFor(u"/ok"_s);
    onQueue->setCompletionQueue(queue);
    onQueue->setCompletionGroup(group);
    onQueue->setCompletionBlock([&] { queueThread = QThread::currentThread(); });
    onQueue->start();

    EXPECT_EVENTUALLY(defaultThread != nullptr && onQueue->isFinished());
    EXPECT_EQ(defaultThread, qApp->thread());
    EXPECT_TRUE(group->wait(5000));
    ASSERT_NE(queueThread, nullptr);
    EXPECT_NE(queueThread, qApp->thread());
    EXPECT_EVENTUALLY(dropped.expired());
    EXPECT_EVENTUALLY(!onQueue->completionBlock()) << "the completion block is released after it ran";
}

TEST_F(ConnectionOperationTest, ThirtyTransfersInFlightAllComplete)
{
    server.setHandler(u"/n"_s, [](const LocalHttpServer::Request& request) {
        return LocalHttpServer::Reply { 200, {}, request.path.repeated(1000) };
    });
    QList<std::shared_ptr<KNURLConnectionOperation>> operations;
    for (int i = 0; i < 30; ++i)
        operations.append(operationFor(u"/n?i=%1"_s.arg(i)));
    for (const auto& operation : operations)
        operation->start();
    EXPECT_EVENTUALLY_WITHIN(
        std::all_of(operations.begin(), operations.end(), [](const auto& o) { return o->isFinished(); }),
        20000);
    for (int i = 0; i < 30; ++i) {
        EXPECT_FALSE(operations[i]->error());
        EXPECT_EQ(operations[i]->responseData(), u"/n?i=%1"_s.arg(i).toLatin1().repeated(1000));
    }
}

TEST_F(ConnectionOperationTest, ABatchReportsProgressAndCompletesAfterEveryOperation)
{
    server.setReply(u"/ok"_s, { 200, {}, "x" });
    QList<std::shared_ptr<KNURLConnectionOperation>> operations;
    int ownCompletions = 0;
    for (int i = 0; i < 5; ++i) {
        operations.append(operationFor(u"/ok"_s));
        operations.last()->setCompletionBlock([&] { ++ownCompletions; });
    }
    QList<qsizetype> progress;
    qsizetype completedWith = -1;
    int completedAfterCompletions = -1;
    const auto batch = KNURLConnectionOperation::batchOfRequestOperations(
        operations, [&](qsizetype finished, qsizetype total) { progress.append(finished * 100 + total); },
        [&](const auto& all) {
            completedWith = all.size();
            completedAfterCompletions = ownCompletions;
        });
    ASSERT_EQ(batch.size(), 6);
    net::OperationQueue queue;
    queue.addOperations(batch, false);
    EXPECT_EVENTUALLY(completedWith == 5);
    EXPECT_EQ(completedAfterCompletions, 5);
    ASSERT_EQ(progress.size(), 5);
    EXPECT_EQ(progress.last(), 505);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));

    bool emptyCompleted = false;
    const auto none = KNURLConnectionOperation::batchOfRequestOperations(
        {}, nullptr, [&](const auto& all) { emptyCompleted = all.isEmpty(); });
    queue.addOperations(none, false);
    EXPECT_EVENTUALLY(emptyCompleted);
}

TEST_F(ConnectionOperationTest, ArchivingPausesAndRestoresAReadyOperation)
{
    server.setReply(u"/hang"_s, LocalHttpServer::Reply::silent());
    auto operation = operationFor(u"/hang"_s);
    operation->start();
    const QVariantMap archive = operation->archive();
    EXPECT_TRUE(operation->isPaused());
    EXPECT_EQ(archive.value(u"state"_s).toLongLong(), qint64(KNURLConnectionOperation::State::Ready));
    const auto restored = KNURLConnectionOperation::fromArchive(archive);
    EXPECT_TRUE(restored->isReady());
    EXPECT_EQ(restored->request().url(), server.url(u"/hang"_s));
    const auto copy = operation->clone();
    EXPECT_TRUE(copy->isReady());
    EXPECT_EQ(copy->request().url(), operation->request().url());
}

TEST_F(ConnectionOperationTest, StoppingTheNetworkThreadCancelsOpenTransfersAndIsSafeTwice)
{
    server.setReply(u"/hang"_s, LocalHttpServer::Reply::silent());
    server.setReply(u"/ok"_s, { 200, {}, "x" });
    auto operation = operationFor(u"/hang"_s);
    operation->start();
    EXPECT_EVENTUALLY(server.requestCount(u"/hang"_s) == 1);
    KNURLConnectionOperation::stopNetworkThread();
    KNURLConnectionOperation::stopNetworkThread();
    EXPECT_TRUE(operation->isFinished());
    ASSERT_TRUE(operation->error());
    EXPECT_EQ(operation->error()->code(), net::cancelled);

    auto later = operationFor(u"/ok"_s);
    later->start();
    EXPECT_EVENTUALLY(later->isFinished());
    EXPECT_EQ(later->responseData(), QByteArray("x")) << "a request after stopping starts a new thread";
}
