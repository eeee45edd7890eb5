#pragma once

#include "platform/Expected.h"

#include <QLockFile>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QDeadlineTimer;
class QLocalServer;
class QThread;

/// One running instance per data file, whatever link leads to it. The first takes a lock file
/// next to the data file and listens on a local socket private to the user, named after the
/// data file's folder (its device and inode, so that a bind mount of the folder finds it too)
/// and name; a later one finds the lock held, asks the first over that socket to bring its
/// window forward, and should then exit.
///
/// The data file itself is locked too, so that a hard link from another folder finds the same
/// holder: the file as it was at start, every version a save writes from before it takes
/// the data file's place (`versionLocker`), and a file another program moves into its place,
/// as soon as it appears, also in a folder put in place of the data file's own (or of the one
/// its link leads to). Each locked version is reachable under a name made of its device and
/// inode in the user's runtime folder that leads to the holder's socket. Besides the current
/// version only the last few stay held, and none that no path leads to; names left by a holder
/// that is gone are cleared by the next one. A lock left by a process that is gone is taken
/// over; a live holder's lock never goes stale by age. Main thread; needs an application
/// object, no display.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Claim {
        /// This instance holds the lock and answers later ones.
        Acquired,
        /// Another instance holds it and has been asked to come forward.
        OtherAnswered,
        /// Another instance holds it but could not be reached.
        OtherSilent,
    };

    /// How long a later instance waits for the first one to listen and answer.
    static constexpr int defaultAnswerTimeoutMs = 5000;

    /// Takes the handle of a new version of the data file, open and not yet in its place.
    using VersionLocker = std::function<void(int handle)>;

    /// For the data file at `dataFilePath`; nothing is taken until `tryAcquire`.
    explicit SingleInstance(const QString& dataFilePath, QObject* parent = nullptr);
    /// Lets go of every lock and stops listening.
    ~SingleInstance() override;

    /// Takes the lock, or asks its holder to come forward; a holder that has its lock but does
    /// not listen yet is waited for, within `answerTimeoutMs`. An error text when the lock file
    /// cannot be made at all (then nobody can be sure to be alone).
    platform::Expected<Claim> tryAcquire(int answerTimeoutMs = defaultAnswerTimeoutMs);

    /// For the store's writer: locks each new version of the data file for as long as this
    /// instance holds it. Runs on the writer thread; does nothing before `tryAcquire` acquired
    /// or once this instance is gone. Failing to lock costs no save, only a warning.
    VersionLocker versionLocker() const;

    /// "<data file>.lock" next to the data file's canonical path (links resolved, also a link
    /// to a file not yet saved), so that every path to one file finds the same lock.
    static QString lockFilePath(const QString& dataFilePath);
    /// The holder's local socket for this user and the data file's folder and name.
    static QString serverName(const QString& dataFilePath);

signals:
    /// A later instance asked this one (which holds the lock) to bring its window forward.
    void raiseRequested();

private:
    class HeldVersions;
    enum class Answer { Answered, Silent, NotListening };
    /// Whose lock was found, or none when this instance took every lock there was to take.
    struct Attempt {
        int lockedFile = -1;
        QString holder;
    };

    platform::Expected<Attempt> claim();
    void listen(const QString& name);
    void watchForReplacements();
    void answer();
    static Answer askHolder(const QString& serverName, const QDeadlineTimer& deadline);

    QString m_dataFilePath;
    QLockFile m_lock;
    std::shared_ptr<HeldVersions> m_versions;
    QLocalServer* m_server = nullptr;
    QThread* m_watchThread = nullptr;
};
