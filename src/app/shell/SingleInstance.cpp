#include "app/shell/SingleInstance.h"

#include "platform/Strings.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

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

} // namespace

SingleInstance::SingleInstance(const QString& dataFilePath, QObject* parent)
    : QObject(parent), m_dataFilePath(dataFilePath), m_lock(lockFilePath(dataFilePath))
{
    // A running instance may hold its lock for weeks; only a holder that is gone lets go.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance()
{
    delete m_server;
    m_lock.unlock();
}

QString SingleInstance::lockFilePath(const QString& dataFilePath)
{
    // Keyed like the socket: a second path to the same file must find this lock.
    return canonicalDataFilePath(dataFilePath) + u".lock"_s;
}

QString SingleInstance::serverName(const QString& dataFilePath)
{
    const QByteArray key
        = QByteArray::number(::getuid()) + '\n' + canonicalDataFilePath(dataFilePath).toUtf8();
    const QString name = u"mervane-"_s
        + QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(32));
    // The runtime folder is the user's own; without one the socket's mode keeps others out.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? name : QDir(runtime).filePath(name);
}

platform::Expected<SingleInstance::Claim> SingleInstance::tryAcquire(int answerTimeoutMs)
{
    if (m_lock.isLocked())
        return Claim::Acquired;
    if (m_lock.tryLock(0)) {
        listen();
        return Claim::Acquired;
    }
    if (m_lock.error() == QLockFile::LockFailedError)
        return askHolder(answerTimeoutMs);
    return platform::Unexpected(platform::Strings::tr("The lock file \"%1\" could not be made.")
                                    .arg(QDir::toNativeSeparators(m_lock.fileName())));
}

void SingleInstance::listen()
{
    const QString name = serverName(m_dataFilePath);
    // Holding the lock, a socket left there belongs to an instance that is gone.
    QLocalServer::removeServer(name);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::answer);
    if (!m_server->listen(name))
        qWarning("Later instances cannot reach this one (%s): %s", qPrintable(name),
            qPrintable(m_server->errorString()));
}

void SingleInstance::answer()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
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

SingleInstance::Claim SingleInstance::askHolder(int answerTimeoutMs) const
{
    const QDeadlineTimer deadline(answerTimeoutMs);
    QLocalSocket socket;
    socket.connectToServer(serverName(m_dataFilePath));
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
