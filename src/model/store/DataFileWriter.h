#pragma once

#include "platform/Dispatch.h"
#include "platform/Expected.h"
#include "platform/FileIO.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <optional>

/// Writes whole files atomically on one serial thread, in the order they were queued.
/// A file is replaced only after every byte was written, flushed and committed; on any
/// failure the previous file stays as it was and an error text says why.
///
/// Around the writes it keeps copies of files that must not be lost: the data file as it
/// was before a whole-model change, a data file that could not be read, and a version of
/// the data file that another program wrote after it was read. Copies are named
/// "<file>.<kind>-<yyyyMMdd-HHmmss>" and are private to the user.
class DataFileWriter {
public:
    using Completion = std::function<void(platform::MaybeError)>;
    /// Told of the copy a write kept of another program's version; runs on the writer thread.
    using ConflictHandler = std::function<void(const QString& copyPath)>;

    /// The kinds of kept copies.
    static inline const QString unreadableKind = QStringLiteral("unreadable");
    static inline const QString conflictKind = QStringLiteral("conflict");

    DataFileWriter();
    /// Finishes every queued write.
    ~DataFileWriter();
    DataFileWriter(const DataFileWriter&) = delete;
    DataFileWriter& operator=(const DataFileWriter&) = delete;

    /// Queues a write; `done` runs on the writer thread with the error text or none.
    void write(const QString& path, QByteArray bytes, Completion done);
    /// Queues a write and waits for it. Must not be called from the writer thread.
    platform::MaybeError writeAndWait(const QString& path, QByteArray bytes);
    void waitForPendingWrites();

    /// After the queued writes, keeps a byte-identical copy of the file at `path` as
    /// "<path>.<kind>-<stamp>"; with `keep`, only that many of the newest copies of the kind
    /// stay. Returns the copy's path, empty when there was no file to copy, or why the copy
    /// could not be made.
    platform::Expected<QString> keepCopyAndWait(
        const QString& path, const QString& kind, std::optional<int> keep);

    /// Before the next write to `path` replaces a file there, keep a copy of kind
    /// "unreadable"; if that copy fails, the write fails. Stays armed until a copy was
    /// made (or nothing was there to copy).
    void preserveBeforeNextWrite(const QString& path);
    bool isPreservePending() const;

    /// `loaded` is the version of `path` the caller's data came from (none: there was no
    /// file). A later write that would replace a different version first keeps that one as
    /// a copy of kind "conflict" and tells `onConflict`; when the copy fails, nothing is
    /// written. A version another program puts in place while the write runs is kept the same
    /// way, after the new file took its place. Each successful write to `path` becomes the
    /// known version.
    void guardAgainstOtherWriters(
        const QString& path, std::optional<platform::FileIdentity> loaded, ConflictHandler onConflict);

    /// Runs on the writer thread with each new version of `path`, open as `handle`, after its
    /// bytes are on disk and just before it takes the path's place (the single-instance lock
    /// holds every version from that moment on).
    using NewVersionHook = std::function<void(int handle)>;
    void beforeReplacing(const QString& path, NewVersionHook hook);

    /// Makes the devices of every write and copy; tests substitute failing ones.
    void setDeviceFactoryForTesting(platform::AtomicFileFactory factory);

private:
    platform::MaybeError writeNow(const QString& path, const QByteArray& bytes);
    /// `copied` becomes the version a copy was kept of.
    platform::MaybeError keepOtherWritersVersion(
        const QString& path, std::optional<platform::FileIdentity>& copied);
    platform::MaybeError preserveIfArmed(const QString& path);
    platform::Expected<QString> keepCopy(
        const QString& path, const QString& kind, std::optional<int> keep) const;

    platform::SerialQueue m_queue;
    // The members below are set from the caller's thread while the queue is idle, then
    // used on the writer thread.
    QString m_preservePath;
    std::atomic<bool> m_preserveArmed = false;
    QString m_guardedPath;
    std::optional<platform::FileIdentity> m_knownVersion;
    ConflictHandler m_onConflict;
    QString m_hookedPath;
    NewVersionHook m_newVersionHook;
    platform::AtomicFileFactory m_factory;
};
