#pragma once

#include "platform/Expected.h"

#include <QList>
#include <QLockFile>
#include <QObject>
#include <QString>

class QLocalServer;

/// One running instance per data file, whatever path reaches it. The first takes a lock file
/// next to the data file and listens on a local socket private to the user; a later one finds
/// the lock held, asks the first over that socket to bring its window forward, and should
/// then exit. A data file that exists is also locked itself (the holder keeps it open), so that
/// a hard link from another folder finds the same holder, over a socket named after the file's
/// device and inode. A lock left by a process that is gone is taken over; a live holder's lock
/// never goes stale by age. Main thread; needs an application object, no display.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Claim {
        /// This instance holds the lock and answers later ones.
        Acquired,
        /// Another instance holds it and has been asked to come forward.
        OtherAnswered,
        /// Another instance holds it but did not answer.
        OtherSilent,
    };

    /// How long a later instance waits for the first one's answer.
    static constexpr int defaultAnswerTimeoutMs = 5000;

    /// For the data file at `dataFilePath`; nothing is taken until `tryAcquire`.
    explicit SingleInstance(const QString& dataFilePath, QObject* parent = nullptr);
    /// Releases the lock and stops listening.
    ~SingleInstance() override;

    /// Takes the lock, or asks its holder to come forward. An error text when the lock file
    /// cannot be made at all (then nobody can be sure to be alone).
    platform::Expected<Claim> tryAcquire(int answerTimeoutMs = defaultAnswerTimeoutMs);

    /// "<data file>.lock" next to the data file's canonical path (links resolved, also a link
    /// to a file not yet saved), so that every path to one file finds the same lock.
    static QString lockFilePath(const QString& dataFilePath);
    /// The local socket's name for this user and the data file's canonical path.
    static QString serverName(const QString& dataFilePath);

signals:
    /// A later instance asked this one (which holds the lock) to bring its window forward.
    void raiseRequested();

private:
    void listen(const QString& name);
    void answer(QLocalServer* server);
    static Claim askHolder(const QString& serverName, int answerTimeoutMs);

    QString m_dataFilePath;
    QLockFile m_lock;
    /// The data file as it was at start, open and locked while this instance runs: a file
    /// kept open cannot hand its inode number to another file meanwhile.
    int m_lockedFile = -1;
    QList<QLocalServer*> m_servers;
};
