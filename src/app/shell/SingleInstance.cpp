#include "app/shell/SingleInstance.h"

#include "app/shell/DataFolderWatch.h"
#include "platform/Strings.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <limits>
#include <mutex>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const QByteArray raiseRequest = "raise\n"_ba;
const QByteArray raiseAnswer = "raised\n"_ba;

// As the kernel allows, so that a loop of links ends.
constexpr int maxLinkHops = 40;
// How soon a later start looks again for a holder that has its lock but does not listen yet.
constexpr unsigned long retryIntervalMs = 20;
// A data file that other programs keep replacing between our open and our lock.
constexpr int maxReplacedTries = 10;
// Versions before the current one that stay held, for links made to them just before a save;
// snapshot tools keep a link to every version, so reachable ones alone would be no bound.
constexpr std::size_t maxOlderVersions = 3;

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
QString userRuntimeFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return folder.isEmpty() ? QDir::tempPath() : folder;
}

QString userRuntimePath(const QString& name)
{
    return QDir(userRuntimeFolder()).filePath(name);
}

QString hashedName(const QString& key)
{
    const QByteArray bytes = QByteArray::number(::getuid()) + '\n' + key.toUtf8();
    return u"mervane-"_s
        + QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().left(32));
}

// The name in `folder` that leads from one version of the data file, whatever links lead to
// it, to the socket of the instance that holds it.
QByteArray versionLinkPath(const QString& folder, const struct stat& file)
{
    return QFile::encodeName(QDir(folder).filePath(
        hashedName(u"file:%1:%2"_s.arg(quint64(file.st_dev)).arg(quint64(file.st_ino)))));
}

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether a holder may still listen at `socketPath`: only a refused connection or a missing
// socket says for sure that nobody does.
bool mayListen(const QByteArray& socketPath)
{
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    if (socketPath.size() >= qsizetype(sizeof address.sun_path))
        return true;
    std::memcpy(address.sun_path, socketPath.constData(), size_t(socketPath.size()));
    const int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (probe < 0)
        return true;
    const bool gone = ::connect(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0
        && (errno == ECONNREFUSED || errno == ENOENT);
    ::close(probe);
    return !gone;
}

// Whether the process `pid` is gone; one of another user's is not.
bool processIsGone(qint64 pid)
{
    return pid > 0 && pid <= std::numeric_limits<pid_t>::max() && ::kill(pid_t(pid), 0) != 0
        && errno == ESRCH;
}

// A holder killed with -9 leaves its names behind, and also one it was making or removing
// ("<name>.new-<pid>-<n>", "<name>.gone-<pid>-<n>"). Holders listen before they make names, so
// a name whose socket nobody listens at is nobody's; one being made or removed is left to its
// process while that lives. A holder may put a new name in the place of the one found here at
// any moment: the name removed is the very one found to lead nowhere.
void clearNamesOfGoneHolders(const QString& folder)
{
    static const QRegularExpression halfDone(u"^mervane-[0-9a-f]{32}\\.(?:new|gone)-([0-9]+)-[0-9]+$"_s);
    const QStringList names = QDir(folder).entryList({ u"mervane-*"_s }, QDir::System | QDir::Files);
    for (const QString& name : names) {
        if (name.contains(u'.')) {
            const QRegularExpressionMatch match = halfDone.match(name);
            if (!match.hasMatch() || !processIsGone(match.captured(1).toLongLong()))
                continue; // another kind of file, or a live process is at it
        }
        const QByteArray path = QFile::encodeName(QDir(folder).filePath(name));
        struct stat found { };
        if (::lstat(path.constData(), &found) != 0 || !S_ISLNK(found.st_mode))
            continue;
        QByteArray target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.constData(), target.data(), size_t(target.size()));
        if (length <= 0 || length >= target.size() || mayListen(target.left(length)))
            continue;
        static std::atomic<int> serial = 0;
        const QByteArray taken
            = path + ".gone-" + QByteArray::number(::getpid()) + '-' + QByteArray::number(++serial);
        if (::rename(path.constData(), taken.constData()) != 0)
            continue;
        struct stat removed { };
        // Another name took its place meanwhile: it goes back, unless a newer one came too.
        if (::lstat(taken.constData(), &removed) == 0 && removed.st_ino != found.st_ino)
            ::link(taken.constData(), path.constData());
        ::unlink(taken.constData());
    }
}

} // namespace

/// The versions of the data file this instance holds locked, each open and reachable under its
/// device and inode: the current one and a few before it. Used from the main thread, the
/// store's writer thread and the thread that watches the data file's folder.
class SingleInstance::HeldVersions {
public:
    ~HeldVersions() { release(); }

    /// From now on, `socketPath` is where the held versions lead; `lockedFile`, when there is
    /// one, is the data file as it was at start, open and locked.
    void hold(const QString& socketPath, int lockedFile)
    {
        const std::lock_guard guard(m_mutex);
        m_socketPath = QFile::encodeName(socketPath);
        m_folder = QFileInfo(socketPath).path();
        m_holding = true;
        if (lockedFile >= 0)
            add(lockedFile);
    }

    void lockNewVersion(int handle)
    {
        const std::lock_guard guard(m_mutex);
        if (!m_holding)
            return;
        makeRoom();
        // A description of our own: the lock stays when the writer closes its descriptor.
        const int file = withDescriptor([handle] { return ::fcntl(handle, F_DUPFD_CLOEXEC, 0); });
        if (file < 0 || ::flock(file, LOCK_EX | LOCK_NB) != 0) {
            qWarning("A new version of the data file could not be locked: %s", std::strerror(errno));
            if (file >= 0)
                ::close(file);
            return;
        }
        add(file);
    }

    /// Locks the file at `path` unless it is held already: another program put it there.
    void holdFileAt(const QByteArray& path)
    {
        const std::lock_guard guard(m_mutex);
        if (!m_holding)
            return;
        const int file = withDescriptor(
            [&path] { return ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY); });
        struct stat status { };
        if (file < 0 || ::fstat(file, &status) != 0 || !S_ISREG(status.st_mode) || isHeld(status)) {
            if (file >= 0)
                ::close(file);
            return;
        }
        if (::flock(file, LOCK_EX | LOCK_NB) != 0) {
            // Taken through another link before it was moved here, or in the moment since.
            qWarning("The data file that another program put in place could not be locked: %s",
                std::strerror(errno));
            ::close(file);
            return;
        }
        makeRoom();
        add(file);
    }

    void release()
    {
        const std::lock_guard guard(m_mutex);
        m_holding = false;
        for (const Version& version : m_versions)
            letGo(version);
        m_versions.clear();
    }

private:
    struct Version {
        int file;
        struct stat status;
        QByteArray link;
    };

    void add(int file)
    {
        struct stat status { };
        if (::fstat(file, &status) != 0) {
            ::close(file);
            return;
        }
        const Version version { file, status, versionLinkPath(m_folder, status) };
        // Replaced in one step: a later start never finds the name missing, nor leading to a
        // holder that is gone.
        static std::atomic<int> serial = 0;
        const QByteArray temporary
            = version.link + ".new-" + QByteArray::number(::getpid()) + '-' + QByteArray::number(++serial);
        if (::symlink(m_socketPath.constData(), temporary.constData()) != 0
            || ::rename(temporary.constData(), version.link.constData()) != 0) {
            qWarning("Later starts through a link to the data file cannot reach this instance: %s",
                std::strerror(errno));
            ::unlink(temporary.constData());
        }
        m_versions.push_back(version);
    }

    bool isHeld(const struct stat& status) const
    {
        return std::any_of(m_versions.begin(), m_versions.end(),
            [&status](const Version& version) { return sameFile(version.status, status); });
    }

    // Before a version is added, all held ones become older ones: those no path leads to can be
    // opened by nobody, and of the rest only the newest few stay.
    void makeRoom()
    {
        std::erase_if(m_versions, [](const Version& version) {
            struct stat status { };
            if (::fstat(version.file, &status) != 0 || status.st_nlink > 0)
                return false;
            letGo(version);
            return true;
        });
        while (m_versions.size() > maxOlderVersions)
            letGoOfOldest();
    }

    // At the descriptor limit older versions give way: the current one is always held.
    int withDescriptor(const std::function<int()>& open)
    {
        for (;;) {
            const int file = open();
            if (file >= 0 || errno != EMFILE || m_versions.size() < 2)
                return file;
            letGoOfOldest();
        }
    }

    void letGoOfOldest()
    {
        letGo(m_versions.front());
        m_versions.erase(m_versions.begin());
    }

    static void letGo(const Version& version)
    {
        // The name goes first: while the file is open its inode number cannot be another file's.
        ::unlink(version.link.constData());
        ::close(version.file);
    }

    std::mutex m_mutex;
    QByteArray m_socketPath;
    QString m_folder;
    bool m_holding = false;
    std::vector<Version> m_versions;
};

SingleInstance::SingleInstance(const QString& dataFilePath, QObject* parent)
    : QObject(parent)
    , m_dataFilePath(dataFilePath)
    , m_lock(lockFilePath(dataFilePath))
    , m_versions(std::make_shared<HeldVersions>())
{
    // A running instance may hold its lock for weeks; only a holder that is gone lets go.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance()
{
    if (m_watchThread) {
        m_watchThread->quit();
        m_watchThread->wait();
    }
    m_versions->release();
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
    const QFileInfo canonical(canonicalDataFilePath(dataFilePath));
    // The folder's identity rather than its path, which differs under a bind mount.
    struct stat folder { };
    if (::stat(QFile::encodeName(canonical.path()).constData(), &folder) != 0)
        return userRuntimePath(hashedName(canonical.filePath()));
    return userRuntimePath(hashedName(u"folder:%1:%2/%3"_s.arg(quint64(folder.st_dev))
                                          .arg(quint64(folder.st_ino))
                                          .arg(canonical.fileName())));
}

SingleInstance::VersionLocker SingleInstance::versionLocker() const
{
    return [versions = std::weak_ptr(m_versions)](int handle) {
        if (const std::shared_ptr<HeldVersions> held = versions.lock())
            held->lockNewVersion(handle);
    };
}

platform::Expected<SingleInstance::Claim> SingleInstance::tryAcquire(int answerTimeoutMs)
{
    if (m_lock.isLocked())
        return Claim::Acquired;
    const QDeadlineTimer deadline(answerTimeoutMs);
    for (;;) {
        const platform::Expected<Attempt> attempt = claim();
        if (!attempt)
            return platform::Unexpected(attempt.error());
        if (attempt->holder.isEmpty()) {
            const QString name = serverName(m_dataFilePath);
            clearNamesOfGoneHolders(userRuntimeFolder());
            // Names only once this instance listens: a name whose socket refuses is a dead one's.
            listen(name);
            m_versions->hold(name, attempt->lockedFile);
            watchForReplacements();
            return Claim::Acquired;
        }
        switch (askHolder(attempt->holder, deadline)) {
        case Answer::Answered:
            return Claim::OtherAnswered;
        case Answer::Silent:
            return Claim::OtherSilent;
        case Answer::NotListening:
            break;
        }
        // The holder has just taken its locks and listens in a moment, or has just gone.
        if (deadline.hasExpired())
            return Claim::OtherSilent;
        QThread::msleep(retryIntervalMs);
    }
}

platform::Expected<SingleInstance::Attempt> SingleInstance::claim()
{
    if (!m_lock.tryLock(0)) {
        if (m_lock.error() == QLockFile::LockFailedError)
            return Attempt { -1, serverName(m_dataFilePath) };
        return platform::Unexpected(platform::Strings::tr("The lock file \"%1\" could not be made.")
                                        .arg(QDir::toNativeSeparators(m_lock.fileName())));
    }

    // The path is ours; the file may still be held by an instance that reached it through a
    // hard link from another folder. Neither lock waits, so two starts never wait on each
    // other. Without a file there is nothing more to lock: the first save's version is locked
    // before it takes its place.
    const QByteArray path = QFile::encodeName(m_dataFilePath);
    for (int tries = 0; tries < maxReplacedTries; ++tries) {
        const int file = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
        if (file < 0)
            return Attempt {};
        struct stat opened { };
        if (::fstat(file, &opened) != 0 || !S_ISREG(opened.st_mode)) {
            ::close(file);
            return Attempt {};
        }
        if (::flock(file, LOCK_EX | LOCK_NB) != 0) {
            const bool held = errno == EWOULDBLOCK;
            ::close(file);
            // A file system without such locks still has the lock next to the path.
            if (!held)
                return Attempt {};
            // Let go before asking: a start through this path meanwhile must find the holder,
            // not an instance that is about to give up.
            m_lock.unlock();
            return Attempt { -1, QFile::decodeName(versionLinkPath(userRuntimeFolder(), opened)) };
        }
        // A holder lets go of versions that are no longer its data file: the one locked here
        // must still be the file at the path.
        struct stat locked { };
        struct stat atPath { };
        if (::fstat(file, &locked) == 0 && locked.st_nlink > 0 && ::stat(path.constData(), &atPath) == 0
            && sameFile(locked, atPath))
            return Attempt { file, {} };
        ::close(file);
    }
    return Attempt {};
}

void SingleInstance::watchForReplacements()
{
    const QString path = QFileInfo(m_dataFilePath).absoluteFilePath();
    const QByteArray file = QFile::encodeName(path);
    auto* watch = new DataFolderWatch(
        [path] {
            return QStringList { QFileInfo(path).absolutePath(),
                QFileInfo(canonicalDataFilePath(path)).path() };
        },
        [versions = m_versions, file] { versions->holdFileAt(file); });
    if (const QStringList unwatched = watch->follow(); !unwatched.isEmpty())
        qWarning("A data file that another program puts in place is held only from the next save: "
                 "%s cannot be watched",
            qPrintable(unwatched.join(u", "_s)));
    // On a thread of its own, so that a busy main thread does not widen the moment in which
    // another program's file is at the path but not yet held.
    m_watchThread = new QThread(this);
    m_watchThread->setObjectName(u"mervane-folder-watch"_s);
    connect(m_watchThread, &QThread::finished, watch, &QObject::deleteLater);
    watch->moveToThread(m_watchThread);
    m_watchThread->start();
    // One may have come since the claim.
    m_versions->holdFileAt(file);
}

void SingleInstance::listen(const QString& name)
{
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

SingleInstance::Answer SingleInstance::askHolder(const QString& serverName, const QDeadlineTimer& deadline)
{
    const auto remaining = [&deadline] { return int(std::max<qint64>(deadline.remainingTime(), 0)); };
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(remaining()))
        return Answer::NotListening;
    socket.write(raiseRequest);
    if (!socket.waitForBytesWritten(remaining()))
        return socket.state() == QLocalSocket::ConnectedState ? Answer::Silent : Answer::NotListening;
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(remaining())) {
            // A holder that closes without answering is on its way out; its lock follows.
            return socket.state() == QLocalSocket::ConnectedState || deadline.hasExpired()
                ? Answer::Silent
                : Answer::NotListening;
        }
    }
    return socket.readLine() == raiseAnswer ? Answer::Answered : Answer::Silent;
}
