#include "SessionTestSupport.h"

#include "net/session/SessionNotifications.h"
#include "net/session/SessionProgress.h"

#include "net/support/EchoServer.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace mervane::test;
using namespace Qt::Literals::StringLiterals;

namespace {

/// What the echo server's /bytes/<n> sends.
QByteArray pattern(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char(i % 251);
    return bytes;
}

QByteArray sha256(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

/// An upload's progress, and how much of it was sent when its completion handler ran: by
/// then the progress must be whole, not some time later.
struct SentAtCompletion {
    std::shared_ptr<net::Progress> progress;
    qint64 count = -1;

    static KNURLSessionManager::CompletionHandler noting(
        const std::shared_ptr<SentAtCompletion>& sent, const std::shared_ptr<Completion>& completion)
    {
        return [sent, record = Completion::recorder(completion)](
                   const auto& response, const QVariant& object, const auto& error) {
            if (sent->progress)
                sent->count = sent->progress->completedUnitCount();
            record(response, object, error);
        };
    }
};

class SessionManagerTransfer : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.isRunning());
        ASSERT_TRUE(folder.isValid());
    }

    QString path(const QString& name) const { return folder.filePath(name); }

    EchoServer server;
    QTemporaryDir folder;
    std::shared_ptr<KNURLSessionManager> manager = KNURLSessionManager::manager();
    NotificationLog log { { notifications::taskDidComplete, notifications::downloadDidFailToMoveFile } };
};

TEST_F(SessionManagerTransfer, AStreamOfUnknownSizeTakesItsProgressTotalFromContentLength)
{
    const QByteArray body = pattern(100);
    auto stream = std::make_shared<QBuffer>();
    stream->setData(body);
    stream->open(QIODevice::ReadOnly);
    net::URLRequest request(server.url(u"/upload"_s));
    request.setHttpMethod("POST");
    request.setValue(QByteArray("100"), "Content-Length");
    request.setHttpBodyStream(stream);

    std::atomic<qint64> reportedTotal = 0;
    manager->setTaskDidSendBodyDataBlock(
        [&](net::URLSession&, const auto&, qint64, qint64, qint64 total) { reportedTotal = total; });
    auto completion = std::make_shared<Completion>();
    const auto sent = std::make_shared<SentAtCompletion>();
    const auto task = manager->uploadTaskWithStreamedRequest(
        request, &sent->progress, SentAtCompletion::noting(sent, completion));
    const std::shared_ptr<net::Progress>& progress = sent->progress;
    EXPECT_EQ(task->countOfBytesExpectedToSend(), KNURLSessionTask::transferSizeUnknown);
    ASSERT_TRUE(progress);
    EXPECT_EQ(progress, manager->uploadProgressForTask(*task));
    EXPECT_EQ(progress->totalUnitCount(), 100);

    task->resume();
    EXPECT_TRANSFERRED_EQ(completion->calls, 1);
    EXPECT_FALSE(completion->error);
    EXPECT_EQ(completion->object.toMap().value(u"body_sha256"_s).toByteArray(), sha256(body));
    EXPECT_EQ(sent->count, 100);
    EXPECT_EQ(reportedTotal.load(), 100);
    EXPECT_EQ(progress->totalUnitCount(), 100);
    EXPECT_EQ(progress->completedUnitCount(), 100);
}

TEST_F(SessionManagerTransfer, UploadsFromMemoryAndFromAFileArriveWhole)
{
    const QByteArray body = pattern(300000);
    QFile file(path(u"upload.bin"_s));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(body);
    file.close();
    net::URLRequest request(server.url(u"/upload"_s));
    request.setHttpMethod("PUT");

    const auto fromData = std::make_shared<Completion>();
    const auto fromFile = std::make_shared<Completion>();
    const auto dataSent = std::make_shared<SentAtCompletion>();
    const auto fileSent = std::make_shared<SentAtCompletion>();
    const auto first = manager->uploadTaskWithRequest(
        request, body, &dataSent->progress, SentAtCompletion::noting(dataSent, fromData));
    const auto second = manager->uploadTaskWithRequest(request, QUrl::fromLocalFile(file.fileName()),
        &fileSent->progress, SentAtCompletion::noting(fileSent, fromFile));
    EXPECT_EQ(first->countOfBytesExpectedToSend(), body.size());
    EXPECT_EQ(second->countOfBytesExpectedToSend(), body.size());
    EXPECT_EQ(dataSent->progress->totalUnitCount(), body.size());
    first->resume();
    second->resume();
    EXPECT_TRANSFERRED_EQ(fromData->calls + fromFile->calls, 2);
    for (const auto& completion : { fromData, fromFile }) {
        EXPECT_FALSE(completion->error);
        EXPECT_EQ(completion->object.toMap().value(u"method"_s).toString(), u"PUT"_s);
        EXPECT_EQ(completion->object.toMap().value(u"body_sha256"_s).toByteArray(), sha256(body));
    }
    for (const auto& sent : { dataSent, fileSent }) {
        EXPECT_EQ(sent->count, body.size());
        EXPECT_EQ(sent->progress->completedUnitCount(), body.size());
    }

    // A file that is not there fails the task instead of sending nothing.
    auto missing = std::make_shared<Completion>();
    const auto third = manager->uploadTaskWithRequest(
        request, QUrl::fromLocalFile(path(u"absent.bin"_s)), nullptr, Completion::recorder(missing));
    third->resume();
    EXPECT_TRANSFERRED_EQ(missing->calls, 1);
    EXPECT_TRUE(missing->error);
}

TEST_F(SessionManagerTransfer, ADownloadArrivesWholeAtItsDestination)
{
    constexpr qsizetype size = 3'000'000;
    const QString destination = path(u"download.bin"_s);
    std::shared_ptr<net::Progress> progress;
    QUrl temporary;
    auto completion = std::make_shared<Completion>();
    const auto task = manager->downloadTaskWithRequest(
        net::URLRequest(server.url(u"/bytes/%1"_s.arg(size))), &progress,
        [&](const QUrl& location, const std::optional<net::URLResponse>& response) {
            temporary = location;
            EXPECT_TRUE(response && response->statusCode() == 200);
            return QUrl::fromLocalFile(destination);
        },
        Completion::recorder(completion));
    task->resume();
    EXPECT_TRANSFERRED_EQ(completion->calls, 1);

    EXPECT_FALSE(completion->error);
    EXPECT_EQ(completion->object.toUrl(), QUrl::fromLocalFile(destination));
    QFile file(destination);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(sha256(file.readAll()), sha256(pattern(size)));
    EXPECT_EQ(progress->completedUnitCount(), size);
    EXPECT_EQ(progress->totalUnitCount(), size);
    EXPECT_FALSE(temporary.isEmpty());
    EXPECT_FALSE(QFile::exists(temporary.toLocalFile()));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList({ u"download.bin"_s }));
    EXPECT_TRANSFERRED_EQ(log.named(notifications::taskDidComplete, task.get()).size(), 1);
    EXPECT_EQ(log.named(notifications::taskDidComplete, task.get())
                  .first()
                  .userInfo.value(notifications::taskDidCompleteAssetPathKey)
                  .toUrl(),
        QUrl::fromLocalFile(destination));
}

TEST_F(SessionManagerTransfer, ADownloadThatCannotBeKeptIsReportedAndLeavesNothingBehind)
{
    QFile existing(path(u"taken.bin"_s));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("mine");
    existing.close();
    QFile plainFile(path(u"plain"_s));
    ASSERT_TRUE(plainFile.open(QIODevice::WriteOnly));
    plainFile.close();
    QStringList destinations { existing.fileName(), path(u"plain/inside.bin"_s) };
    // A folder without write permission stops only a user who is not root.
    QDir(folder.path()).mkdir(u"locked"_s);
    QFile::setPermissions(path(u"locked"_s), QFile::ReadOwner | QFile::ExeOwner);
    if (!QFileInfo(path(u"locked"_s)).isWritable())
        destinations.append(path(u"locked/inside.bin"_s));
    // A read-only folder for root too: the kernel's process folder takes no new files.
    const QString readOnly = u"/proc/mervane-download-%1.bin"_s.arg(QCoreApplication::applicationPid());
    destinations.append(readOnly);

    for (const QString& destination : std::as_const(destinations)) {
        SCOPED_TRACE(destination.toStdString());
        log.received.clear();
        auto completion = std::make_shared<Completion>();
        const auto task = manager->downloadTaskWithRequest(
            net::URLRequest(server.url(u"/bytes/70000"_s)), nullptr,
            [&](const QUrl&, const auto&) { return QUrl::fromLocalFile(destination); },
            Completion::recorder(completion));
        task->resume();
        EXPECT_TRANSFERRED_EQ(completion->calls, 1);
        ASSERT_TRUE(completion->error);
        EXPECT_EQ(completion->error->domain(), net::fileManagerErrorDomain);
        EXPECT_FALSE(completion->object.isValid()) << "reported as kept where it is not";
        ASSERT_EQ(log.named(notifications::downloadDidFailToMoveFile, task.get()).size(), 1);
        EXPECT_EQ(log.named(notifications::downloadDidFailToMoveFile, task.get()).first().userInfo,
            completion->error->userInfo());
        EXPECT_TRANSFERRED_EQ(log.named(notifications::taskDidComplete, task.get()).size(), 1);
        const QVariantMap userInfo = log.named(notifications::taskDidComplete, task.get()).first().userInfo;
        EXPECT_FALSE(userInfo.contains(notifications::taskDidCompleteAssetPathKey));
        EXPECT_EQ(
            userInfo.value(notifications::taskDidCompleteErrorKey).value<net::Error>(), *completion->error);
    }
    ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
    EXPECT_EQ(existing.readAll(), QByteArray("mine"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
        QStringList({ u"plain"_s, u"taken.bin"_s }));
    EXPECT_TRUE(QDir(path(u"locked"_s)).isEmpty());
    EXPECT_FALSE(QFile::exists(readOnly));
    QFile::setPermissions(path(u"locked"_s), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(SessionManagerTransfer, TheManagerWideDestinationTakesPrecedenceOverTheTasksOwn)
{
    const QString managerDestination = path(u"manager.bin"_s);
    const QString taskDestination = path(u"task.bin"_s);
    manager->setDownloadTaskDidFinishDownloadingBlock(
        [&](net::URLSession&, const auto&, const QUrl&) { return QUrl::fromLocalFile(managerDestination); });
    auto completion = std::make_shared<Completion>();
    const auto task = manager->downloadTaskWithRequest(
        net::URLRequest(server.url(u"/bytes/5000"_s)), nullptr,
        [&](const QUrl&, const auto&) { return QUrl::fromLocalFile(taskDestination); },
        Completion::recorder(completion));
    task->resume();
    EXPECT_TRANSFERRED_EQ(completion->calls, 1);
    EXPECT_FALSE(completion->error);
    EXPECT_EQ(completion->object.toUrl(), QUrl::fromLocalFile(managerDestination));
    QFile file(managerDestination);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), pattern(5000));
    EXPECT_FALSE(QFile::exists(taskDestination));
}

} // namespace
