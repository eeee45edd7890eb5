#pragma once

#include "platform/Expected.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFileDevice>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace platform {

/// Files are private to the user unless they already exist with a mode of their own.
inline constexpr QFileDevice::Permissions privateFileMode = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

/// Nothing the application reads comes near this; a larger file is damage or the wrong file.
inline constexpr qint64 maxReadableFileSize = qint64(1) << 30;

/// The reason for a failed file operation as the user reads it: what happened and what to
/// do for the failures a user can mend (a full disk, denied permission, a read-only file
/// system), the system's own text for the rest. `errorNumber` is the errno behind the
/// failure, 0 when unknown; then the system text is matched against the known ones.
QString describeFileError(int errorNumber, const QString& systemText);

/// What tells one version of a file from another without reading it. The change time is in
/// it because no program can set it back: a file rewritten in place with as many bytes and
/// its modification time put back still differs.
struct FileStamp {
    qint64 size = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;
    quint64 inode = 0;
    quint64 device = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

/// A file's version as it was read or written: none when there was no file.
struct FileIdentity {
    FileStamp stamp;
    QByteArray hash;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

/// The content hash identities compare when stamps differ.
QByteArray contentHash(QByteArrayView bytes);

/// The stamp of the file at `path` (symbolic links followed); none when nothing is there.
std::optional<FileStamp> fileStamp(const QString& path);
/// The stamp of the open file `handle`, wherever it is; none when it cannot be had.
std::optional<FileStamp> openFileStamp(int handle);

/// Whether the file at `path` is still the version `known` describes (none: no file). The
/// content is read and hashed only when the stamps differ, so a file rewritten with the
/// same bytes counts as the same.
bool fileMatches(const QString& path, const std::optional<FileIdentity>& known);

struct FileContents {
    QByteArray bytes;
    FileStamp stamp;
};

/// Reads a whole regular file (symbolic links followed). Anything else (a folder, a FIFO,
/// a device) and files larger than `maxBytes` are refused without blocking or reading them.
Expected<FileContents> readRegularFile(const QString& path, qint64 maxBytes = maxReadableFileSize);

/// One replacement of a whole file: the bytes go to a temporary file next to it, which
/// takes the file's place only at `commit`. Every operation reports failure like the file
/// system does; a device may accept fewer bytes than given without any error.
class AtomicFileDevice {
public:
    virtual ~AtomicFileDevice() = default;
    virtual bool open() = 0;
    /// The bytes taken, possibly fewer than given, or -1.
    virtual qint64 write(QByteArrayView bytes) = 0;
    /// The mode the file has once it is in place.
    virtual bool setPermissions(QFileDevice::Permissions permissions) = 0;
    /// Everything written reaches the disk.
    virtual bool flush() = 0;
    /// How an exchange went.
    enum class Exchange {
        /// The new file is at the path; what was there is at `takenOutPath`.
        Done,
        /// The file system cannot exchange; nothing changed, `commit` still replaces.
        Unsupported,
        /// Nothing changed; the error is kept as for the other calls.
        Failed,
    };
    /// Puts the new file at the path and the file that was there under the temporary file's
    /// name, in one step, so that no file another program put there is replaced unseen. The
    /// caller keeps or removes the file taken out, then calls `commit`, which only syncs the
    /// folder. A device that cannot exchange says `Unsupported`.
    virtual Exchange exchange() { return Exchange::Unsupported; }
    /// Where the file an exchange took out of the path is now; empty when there was none.
    virtual QString takenOutPath() const { return {}; }
    /// The file takes its place, and the folder's entry reaches the disk.
    virtual bool commit() = 0;
    /// Drops the temporary file; the previous file stays.
    virtual void cancel() = 0;
    /// The errno of the last failure, 0 when unknown.
    virtual int errorNumber() const = 0;
    virtual QString errorString() const = 0;
    /// The open temporary file's descriptor, -1 when the device has none.
    virtual int handle() const { return -1; }
};

using AtomicFileFactory = std::function<std::unique_ptr<AtomicFileDevice>(const QString& path)>;

/// The device over the real file system.
std::unique_ptr<AtomicFileDevice> makeAtomicFileDevice(const QString& path);

/// For a file that other programs may put in place too (a sync client, an editor): what a
/// write does with the file it replaces.
struct ReplacedFileCheck {
    /// Whether the file at the path given (the file about to be replaced, or the one an
    /// exchange took out of its place) is a version the caller knows, which may go.
    std::function<bool(const QString& path)> isKnown;
    /// Any other version is kept beside the file, as a copy of this kind (see `keepCopy`).
    QString copyKind;
    /// Told of each copy kept; runs on the writing thread.
    std::function<void(const QString& copyPath)> kept;
};

struct WriteOptions {
    /// The mode of the written file. Without one, a file already at the path keeps its
    /// mode and a new file is private.
    std::optional<QFileDevice::Permissions> mode;
    /// Makes the device; the real file system's when empty.
    AtomicFileFactory factory;
    /// Runs with the new file's descriptor once its bytes are on disk, just before it takes
    /// the path's place; not for devices without one.
    std::function<void(int handle)> beforeCommit;
    /// Without one, the file at the path is replaced whatever it is.
    std::optional<ReplacedFileCheck> replaced;
};

/// Replaces the file at `path` with `bytes` atomically: it is replaced only after every
/// byte was written, flushed to disk and committed, and the folder synced. On failure the
/// previous file stays as it was and the text says why. A symbolic link at `path` stays: the
/// file it leads to is replaced.
///
/// With `options.replaced`, the new file is exchanged with the one at the path in one step,
/// and the one taken out is removed when it is a known version and kept as a copy otherwise.
/// Where the file system cannot exchange, the file at the path is checked just before the
/// rename; when its copy cannot be made, nothing is replaced.
MaybeError writeFileAtomically(const QString& path, QByteArrayView bytes, const WriteOptions& options = {});

/// A write killed midway leaves its temporary file beside `path` (with no O_TMPFILE), or, killed
/// just after its exchange, the version the exchange took out. For each such file of a process
/// that is gone: one never in place is removed, and any other is removed when it has the bytes
/// of the file at `path`, else kept as a copy of `copyKind`. Files of live processes stay.
/// Returns the copies kept.
QStringList settleLeftoverWrites(const QString& path, const QString& copyKind);

/// For tests of what only the exchange gives. `before` runs in the real device just before
/// a new file takes the path's place, by exchange or by rename, after every check of what is
/// there; with `refusedWith` other than 0, the file system refuses each exchange and each
/// no-replace rename with that errno, as one without those renames does (an exchange with no
/// file at the path still fails with ENOENT first). With `namedFromTheStart`, temporary files
/// are named from their start, as where O_TMPFILE cannot be used. Set while no write runs;
/// none by default.
struct ReplacementSeam {
    std::function<void(const QString& target)> before;
    int refusedWith = 0;
    bool namedFromTheStart = false;
};
void setReplacementSeamForTesting(ReplacementSeam seam);

/// Keeps a byte-identical copy of the file at `path` as "<path>.<kind>-<yyyyMMdd-HHmmss>"
/// (for more within one second, "-N" added, N one above the highest of that second's kept
/// copies, the unnumbered one counting as 1), with `copyModeFor(path)`. With
/// `keep`, only that many of the newest copies of the kind stay. Returns the copy's path,
/// empty when there was no file to copy, or why no copy could be made.
Expected<QString> keepCopy(const QString& path, const QString& kind, std::optional<int> keep = std::nullopt,
    const AtomicFileFactory& factory = {});
/// What every kept copy of `path` of one kind is named from: "<path>.<kind>-", the time
/// stamp follows.
QString keptCopyPrefix(const QString& path, const QString& kind);
/// The kept copies of `path` of one kind, oldest first ("-10" after "-9" within a second).
QStringList keptCopies(const QString& path, const QString& kind);

/// The mode a copy of `path` gets: private, and never wider than the original's.
QFileDevice::Permissions copyModeFor(const QString& path);

} // namespace platform
