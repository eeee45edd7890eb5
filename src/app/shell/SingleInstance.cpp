#include "app/shell/SingleInstance.h"

#include "platform/Strings.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const QByteArray raiseRequest = "raise\n"_ba;
const QByteArray raiseAnswer = "raised\n"_ba;

// As the kernel allows, so that a loop of links ends.
constexpr int maxLinkHops = 40;

QString canonicalDataFilePath(const QString& dataFilePath)
{
    QFileInfo info(dataFilePath);
    if (const QString canonical = info.canonicalFilePath(); !canonical.isEmpty())
        return canonical;
    // The data file does not exist before the first save; its folder does. A link to it
    // still names the file the first save writes.
    for (int hops = 0; hops < maxLinkHops && info.isSymLink(); ++hops)
        info = QFileInfo(info.symLinkTarget());
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : QDir(folder).filePath(info.fileName());
}

// Private to this user: its runtime folder, or the socket's and lock's own modes.
QString userRuntimePath(const QString& name)
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? name : QDir(runtime).filePath(name);
}

QString hashedName(const QString& key)
{
    const QByteArray bytes = QByteArray::number(::getuid()) + '\n' + key.toUtf8();
    return u"mervane-"_s
        + QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().left(32));
}

// The socket of whoever holds the file itself, whatever links lead to it.
QString fileServerName(const struct stat& file)
{
    return userRuntimePath(hashedName(u"file:%1:%2"_s.arg(quint64(file.st_dev)).arg(quint64(file.st_ino))));
}

} // namespace

SingleInstance::SingleInstance(const QString& dataFilePath, QObject* parent)
    : QObject(parent), m_dataFilePath(dataFilePath), m_lock(lockFilePath(dataFilePath))
{
    // A running instance may hold its lock for weeks; only a holder that is gone lets go.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance()
{
    qDeleteAll(m_servers);
    if (m_lockedFile >= 0)
        ::close(m_lockedFile);
    m_lock.unlock();
}

QString SingleInstance::lockFilePath(const QString& dataFilePath)
{
    // Keyed like the socket: a second path to the same file must find this lock.
    return canonicalDataFilePath(dataFilePath) + u".lock"_s;
}

QString SingleInstance::serverName(const QString& dataFilePath)
{
    return userRuntimePath(hashedName(canonicalDataFilePath(dataFilePath)));
}

platform::Expected<SingleInstance::Claim> SingleInstance::tryAcquire(int answerTimeoutMs)
{
    if (m_lock.isLocked())
        return Claim::Acquired;
    if (!m_lock.tryLock(0)) {
        if (m_lock.error() == QLockFile::LockFailedError)
            return askHolder(serverName(m_dataFilePath), answerTimeoutMs);
        return platform::Unexpected(platform::Strings::tr("The lock file \"%1\" could not be made.")
                                        .arg(QDir::toNativeSeparators(m_lock.fileName())));
    }

    // The path is ours; the file may still be open in an instance that reached it through a
    // hard link from elsewhere. Neither lock waits, so two starts never wait on each other:
    // the one that finds the file locked lets go of its path again.
    const int file = ::open(QFile::encodeName(m_dataFilePath).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat status { };
    if (file >= 0 && ::fstat(file, &status) == 0 && S_ISREG(status.st_mode)) {
        const QString fileServer = fileServerName(status);
        if (::flock(file, LOCK_EX | LOCK_NB) != 0) {
            const bool held = errno == EWOULDBLOCK;
            ::close(file);
            if (held) {
                m_lock.unlock();
                return askHolder(fileServer, answerTimeoutMs);
            }
            // A file system without such locks still has the lock next to the path.
        } else {
            m_lockedFile = file;
            listen(fileServer);
        }
    } else if (file >= 0) {
        ::close(file);
    }
    listen(serverName(m_dataFilePath));
    return Claim::Acquired;
}

void SingleInstance::listen(const QString& name)
{
    // Holding the lock, a socket left there belongs to an instance that is gone.
    QLocalServer::removeServer(name);
    auto* server = new QLocalServer(this);
    m_servers.append(server);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server, &QLocalServer::newConnection, this, [this, server] { answer(server); });
    if (!server->listen(name))
        qWarning("Later instances cannot reach this one (%s): %s", qPrintable(name),
            qPrintable(server->errorString()));
}

void SingleInstance::answer(QLocalServer* server)
{
    while (QLocalSocket* socket = server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > raiseRequest.size())
                    socket->disconnectFromServer();
                return;
            }
            if (socket->readLine() == raiseRequest) {
                emit raiseRequested();
                socket->write(raiseAnswer);
                socket->flush();
            }
            socket->disconnectFromServer();
        });
    }
}

SingleInstance::Claim SingleInstance::askHolder(const QString& serverName, int answerTimeoutMs)
{
    const QDeadlineTimer deadline(answerTimeoutMs);
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(int(deadline.remainingTime())))
        return Claim::OtherSilent;
    socket.write(raiseRequest);
    if (!socket.waitForBytesWritten(int(deadline.remainingTime())))
        return Claim::OtherSilent;
    while (!socket.canReadLine()) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(int(deadline.remainingTime())))
            return Claim::OtherSilent;
    }
    return socket.readLine() == raiseAnswer ? Claim::OtherAnswered : Claim::OtherSilent;
}
