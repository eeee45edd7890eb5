#include "platform/FileIO.h"

#include "platform/FileCopies.h"
#include "platform/Strings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHashFunctions>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <mutex>
#include <utility>

#include <stdio.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace platform {

namespace {

constexpr QFileDevice::Permissions modeBits = QFileDevice::ReadOwner | QFileDevice::WriteOwner
    | QFileDevice::ExeOwner | QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
    | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;

QString systemText(int errorNumber)
{
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

// The failures a user can do something about, in the order they are matched.
constexpr int knownErrors[] = { ENOSPC, EDQUOT, EACCES, EPERM, EROFS };

FileStamp stampOf(const struct stat& info)
{
    return FileStamp { qint64(info.st_size),
        qint64(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec,
        qint64(info.st_ctim.tv_sec) * 1'000'000'000 + info.st_ctim.tv_nsec, quint64(info.st_ino),
        quint64(info.st_dev) };
}

// Flushes the folder entry a rename made; without it the rename can be lost in a power cut.
int syncFolderOf(const QString& path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    const QString folder = QFileInfo(canonical.isEmpty() ? path : canonical).absolutePath();
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int result = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return result;
}

mode_t modeOf(QFileDevice::Permissions permissions)
{
    constexpr std::pair<QFileDevice::Permissions, mode_t> bits[] = {
        { QFileDevice::ReadOwner | QFileDevice::ReadUser, S_IRUSR },
        { QFileDevice::WriteOwner | QFileDevice::WriteUser, S_IWUSR },
        { QFileDevice::ExeOwner | QFileDevice::ExeUser, S_IXUSR },
        { QFileDevice::ReadGroup, S_IRGRP },
        { QFileDevice::WriteGroup, S_IWGRP },
        { QFileDevice::ExeGroup, S_IXGRP },
        { QFileDevice::ReadOther, S_IROTH },
        { QFileDevice::WriteOther, S_IWOTH },
        { QFileDevice::ExeOther, S_IXOTH },
    };
    mode_t mode = 0;
    for (const auto& [permission, bit] : bits) {
        if (permissions & permission)
            mode |= bit;
    }
    return mode;
}

// The file a write replaces: a symbolic link stays and the file it leads to is replaced, also
// one that does not exist yet.
QString replacedTarget(const QString& path)
{
    QFileInfo info(path);
    for (int depth = 0; depth < 128 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    return info.isSymLink() ? path : info.absoluteFilePath();
}

std::mutex seamMutex;
ReplacementSeam replacementSeam;

ReplacementSeam currentSeam()
{
    const std::lock_guard guard(seamMutex);
    return replacementSeam;
}

// Temporary files are "<file>.part-<pid>-<random>" while they are written and
// "<file>.new-<pid>-<random>" once whole, so that a later start can tell what a killed write
// left from what a live one is at.
const QByteArray partialTag = ".part-";
const QByteArray wholeTag = ".new-";

bool processIsGone(qint64 pid)
{
    return pid > 0 && pid <= std::numeric_limits<pid_t>::max() && ::kill(pid_t(pid), 0) != 0
        && errno == ESRCH;
}

// renameat2 with `flags`, or, with `refusedWith`, the answer of a file system that has no such
// renames: an exchange with nothing at the path fails before the file system is asked.
bool renameWithFlags(const QByteArray& from, const QByteArray& to, unsigned flags, int refusedWith)
{
    if (refusedWith == 0)
        return ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), flags) == 0;
    struct stat info { };
    errno = (flags & RENAME_EXCHANGE) && ::lstat(to.constData(), &info) != 0 ? ENOENT : refusedWith;
    return false;
}

QByteArray randomSuffix()
{
    static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray suffix(6, '\0');
    for (char& letter : suffix)
        letter = letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)];
    return suffix;
}

// A temporary file beside the file it replaces. Where the file system allows, it has no name
// until it takes its place, so that a crash in the middle of a write leaves nothing behind.
class TemporaryFileDevice final : public AtomicFileDevice {
public:
    explicit TemporaryFileDevice(const QString& path) : m_target(QFile::encodeName(replacedTarget(path))) { }
    ~TemporaryFileDevice() override { cancel(); }
    TemporaryFileDevice(const TemporaryFileDevice&) = delete;
    TemporaryFileDevice& operator=(const TemporaryFileDevice&) = delete;

    bool open() override
    {
        struct stat info { };
        if (::stat(m_target.constData(), &info) == 0) {
            if (S_ISDIR(info.st_mode))
                return ownFailure(EISDIR);
            // A file its owner made read-only stays as it is.
            if (::access(m_target.constData(), W_OK) != 0)
                return ownFailure(errno);
        }
        const QByteArray folder = QFile::encodeName(QFileInfo(QFile::decodeName(m_target)).absolutePath());
        static const bool canNameLater = QFileInfo::exists(u"/proc/self/fd"_s);
        if (canNameLater && !currentSeam().namedFromTheStart)
            m_fd = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        for (int tries = 0; m_fd < 0 && tries < 100; ++tries) {
            m_name = temporaryName(partialTag);
            m_fd = ::open(m_name.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOCTTY, 0600);
            if (m_fd < 0) {
                const int error = errno;
                m_name.clear();
                if (error != EEXIST)
                    return ownFailure(error);
            }
        }
        return m_fd >= 0 || ownFailure(EEXIST);
    }

    qint64 write(QByteArrayView bytes) override
    {
        qint64 written = 0;
        while (written < bytes.size()) {
            const ssize_t count = ::write(m_fd, bytes.data() + written, size_t(bytes.size() - written));
            if (count < 0 && errno == EINTR)
                continue;
            if (count < 0) {
                ownFailure(errno);
                return -1;
            }
            if (count == 0)
                break;
            written += count;
        }
        return written;
    }

    bool setPermissions(QFileDevice::Permissions permissions) override
    {
        return ::fchmod(m_fd, modeOf(permissions)) == 0 || ownFailure(errno);
    }

    bool flush() override { return ::fsync(m_fd) == 0 || ownFailure(errno); }

    Exchange exchange() override
    {
        Q_ASSERT(!m_inPlace);
        if (!giveName())
            return Exchange::Failed;
        const ReplacementSeam seam = currentSeam();
        // Another program's file may come or go at any moment: a few rounds, then a plain rename.
        for (int round = 0; round < 3; ++round) {
            if (seam.before)
                seam.before(QFile::decodeName(m_target));
            if (renameWithFlags(m_name, m_target, RENAME_EXCHANGE, seam.refusedWith)) {
                m_takenOut = QFile::decodeName(m_name);
                m_name.clear();
                m_inPlace = true;
                return Exchange::Done;
            }
            // Whatever the reason the file system gives (EINVAL, EXDEV, EPERM, EBUSY, ...), a
            // refused exchange leaves both files as they were; the re-check and the rename may
            // still work, and report their own failure.
            if (errno != ENOENT || ::access(m_name.constData(), F_OK) != 0)
                return Exchange::Unsupported;
            // Nothing is at the path yet: ours goes there unless another file came meanwhile.
            if (seam.before)
                seam.before(QFile::decodeName(m_target));
            if (renameWithFlags(m_name, m_target, RENAME_NOREPLACE, seam.refusedWith)) {
                m_name.clear();
                m_inPlace = true;
                return Exchange::Done;
            }
            if (errno != EEXIST)
                return Exchange::Unsupported;
        }
        return Exchange::Unsupported;
    }

    QString takenOutPath() const override { return m_takenOut; }

    bool commit() override
    {
        if (!m_inPlace) {
            if (!giveName())
                return false;
            if (const ReplacementSeam seam = currentSeam(); seam.before)
                seam.before(QFile::decodeName(m_target));
            if (::rename(m_name.constData(), m_target.constData()) != 0)
                return ownFailure(errno);
            m_name.clear();
            m_inPlace = true;
        }
        closeFile();
        if (const int error = syncFolderOf(QFile::decodeName(m_target)))
            return ownFailure(error);
        return true;
    }

    void cancel() override
    {
        closeFile();
        if (!m_name.isEmpty())
            ::unlink(m_name.constData());
        m_name.clear();
    }

    int errorNumber() const override { return m_errorNumber; }
    QString errorString() const override { return m_errorNumber ? systemText(m_errorNumber) : QString(); }
    int handle() const override { return m_fd; }

private:
    QByteArray temporaryName(const QByteArray& tag) const
    {
        return m_target + tag + QByteArray::number(::getpid()) + '-' + randomSuffix();
    }

    // The whole file gets its name beside the one it replaces, as late as possible: an unnamed
    // one its first, a partial one its name as a whole one.
    bool giveName()
    {
        if (m_whole)
            return true;
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_fd);
        for (int tries = 0; tries < 100; ++tries) {
            const QByteArray name = temporaryName(wholeTag);
            if (m_name.isEmpty()) {
                if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW)
                    != 0) {
                    if (errno == EEXIST)
                        continue;
                    return ownFailure(errno);
                }
            } else {
                // Only this process makes names with its id: one free now stays free.
                if (::access(name.constData(), F_OK) == 0)
                    continue;
                if (::rename(m_name.constData(), name.constData()) != 0)
                    return ownFailure(errno);
            }
            m_name = name;
            m_whole = true;
            return true;
        }
        return ownFailure(EEXIST);
    }

    void closeFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

    bool ownFailure(int errorNumber)
    {
        m_errorNumber = errorNumber;
        return false;
    }

    const QByteArray m_target;
    int m_fd = -1;
    // The temporary file's name once it has one; empty after it took its place.
    QByteArray m_name;
    bool m_whole = false;
    bool m_inPlace = false;
    QString m_takenOut;
    int m_errorNumber = 0;
};

} // namespace

QString describeFileError(int errorNumber, const QString& text)
{
    if (errorNumber == 0) {
        for (const int known : knownErrors) {
            if (text == systemText(known))
                errorNumber = known;
        }
    }
    switch (errorNumber) {
    case ENOSPC:
        return Strings::tr("the disk is full; free some space and try again");
    case EDQUOT:
        return Strings::tr("the disk quota is used up; free some space and try again");
    case EACCES:
    case EPERM:
        return Strings::tr("permission was denied; check that you may write to that folder and file");
    case EROFS:
        return Strings::tr("the file system is read-only; choose a place you can write to");
    case 0:
        return text.isEmpty() ? Strings::tr("the system gave no reason") : text;
    default:
        return text.isEmpty() ? systemText(errorNumber) : text;
    }
}

QByteArray contentHash(QByteArrayView bytes)
{
    // Tells our own bytes from another program's, within one run; nothing adversarial is
    // at stake, so the fast hash the containers use will do. Two of them over the halves
    // make accidental agreement of same-sized files even less likely.
    const qsizetype half = bytes.size() / 2;
    const size_t hashes[2] = { qHash(bytes.first(half), 0x6d65727661), qHash(bytes.sliced(half), 0x6e65) };
    return QByteArray(reinterpret_cast<const char*>(hashes), sizeof hashes);
}

std::optional<FileStamp> fileStamp(const QString& path)
{
    struct stat info { };
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return stampOf(info);
}

std::optional<FileStamp> openFileStamp(int handle)
{
    struct stat info { };
    if (::fstat(handle, &info) != 0)
        return std::nullopt;
    return stampOf(info);
}

bool fileMatches(const QString& path, const std::optional<FileIdentity>& known)
{
    const std::optional<FileStamp> stamp = fileStamp(path);
    if (!stamp || !known)
        return !stamp && !known;
    if (*stamp == known->stamp)
        return true;
    if (stamp->size != known->stamp.size)
        return false;
    const Expected<FileContents> contents = readRegularFile(path);
    return contents && contentHash(contents->bytes) == known->hash;
}

Expected<FileContents> readRegularFile(const QString& path, qint64 maxBytes)
{
    const QString shown = QDir::toNativeSeparators(path);
    const auto failure = [&](int errorNumber) {
        return Unexpected(Strings::tr("\"%1\" could not be read: %2")
                              .arg(shown, describeFileError(errorNumber, systemText(errorNumber))));
    };
    const auto tooLarge = [&] {
        return Unexpected(Strings::tr("\"%1\" is larger than %2 MB and is not read")
                              .arg(shown)
                              .arg(maxBytes / (1024 * 1024)));
    };
    // Non-blocking, so that a FIFO without a writer cannot hold the caller.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return failure(errno);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer { fd };

    struct stat info { };
    if (::fstat(fd, &info) != 0)
        return failure(errno);
    if (S_ISDIR(info.st_mode))
        return Unexpected(Strings::tr("\"%1\" is a folder, not a file").arg(shown));
    if (!S_ISREG(info.st_mode))
        return Unexpected(
            Strings::tr("\"%1\" is not a regular file (it may be a pipe or a device) and is not read")
                .arg(shown));
    if (info.st_size > maxBytes)
        return tooLarge();

    FileContents contents { QByteArray(), stampOf(info) };
    contents.bytes.resize(qsizetype(info.st_size));
    qint64 filled = 0;
    for (;;) {
        if (filled == contents.bytes.size()) {
            // The file grew since fstat; read on in steps, but never past the cap.
            if (filled >= maxBytes + 1)
                break;
            contents.bytes.resize(qsizetype(std::min<qint64>(filled + 65536, maxBytes + 1)));
        }
        const ssize_t got
            = ::read(fd, contents.bytes.data() + filled, size_t(contents.bytes.size() - filled));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return failure(errno);
        }
        if (got == 0)
            break;
        filled += got;
    }
    if (filled > maxBytes)
        return tooLarge();
    contents.bytes.truncate(qsizetype(filled));
    return contents;
}

std::unique_ptr<AtomicFileDevice> makeAtomicFileDevice(const QString& path)
{
    return std::make_unique<TemporaryFileDevice>(path);
}

namespace {

// The file an exchange took out of `path`: removed when the caller knows it, else kept as a
// copy, moved where it can be and copied where it cannot; never removed before it is kept.
void settleTakenOut(const QString& takenOut, const QString& path, const ReplacedFileCheck& check,
    const AtomicFileFactory& factory)
{
    if (check.isKnown(takenOut)) {
        if (!QFile::remove(takenOut))
            qWarning("Could not remove the replaced version %s", qPrintable(takenOut));
        return;
    }
    QString kept = takenOut;
    const QByteArray from = QFile::encodeName(takenOut);
    if (const Expected<QString> name = detail::freeCopyPath(path, check.copyKind);
        name && ::rename(from.constData(), QFile::encodeName(*name).constData()) == 0) {
        kept = *name;
        struct stat info { };
        const QByteArray to = QFile::encodeName(kept);
        if (::lstat(to.constData(), &info) == 0 && S_ISREG(info.st_mode))
            ::chmod(to.constData(), info.st_mode & (S_IRUSR | S_IWUSR));
    } else if (const Expected<QString> copy
               = detail::keepCopyOf(takenOut, path, check.copyKind, std::nullopt, factory);
               copy && !copy->isEmpty()) {
        kept = *copy;
        ::unlink(from.constData());
    } else {
        qWarning("Another program's version of %s stays as %s", qPrintable(path), qPrintable(takenOut));
    }
    if (check.kept)
        check.kept(kept);
}

} // namespace

MaybeError writeFileAtomically(const QString& path, QByteArrayView bytes, const WriteOptions& options)
{
    const std::unique_ptr<AtomicFileDevice> device
        = options.factory ? options.factory(path) : makeAtomicFileDevice(path);
    const auto failure = [&](const QString& reason) {
        return Strings::tr("The file \"%1\" could not be written: %2")
            .arg(QDir::toNativeSeparators(path), reason);
    };
    const auto deviceFailure
        = [&] { return failure(describeFileError(device->errorNumber(), device->errorString())); };
    if (!device->open())
        return deviceFailure();
    const QFileInfo existing(path);
    const QFileDevice::Permissions mode = options.mode
        ? *options.mode
        : (existing.isFile() ? QFile::permissions(path) & modeBits : privateFileMode);
    if (!device->setPermissions(mode)) {
        device->cancel();
        return deviceFailure();
    }
    const qint64 written = device->write(bytes);
    if (written != bytes.size()) {
        device->cancel();
        if (written < 0 || device->errorNumber() != 0)
            return deviceFailure();
        // A device that takes fewer bytes without an error has run out of room.
        return failure(Strings::tr("only %1 of %2 bytes could be written; the disk may be full")
                           .arg(written)
                           .arg(bytes.size()));
    }
    if (!device->flush()) {
        device->cancel();
        return deviceFailure();
    }
    if (options.beforeCommit && device->handle() >= 0)
        options.beforeCommit(device->handle());
    if (options.replaced) {
        const ReplacedFileCheck& check = *options.replaced;
        switch (device->exchange()) {
        case AtomicFileDevice::Exchange::Done:
            if (const QString takenOut = device->takenOutPath(); !takenOut.isEmpty())
                settleTakenOut(takenOut, path, check, options.factory);
            break;
        case AtomicFileDevice::Exchange::Failed:
            device->cancel();
            return deviceFailure();
        case AtomicFileDevice::Exchange::Unsupported:
            // A file another program puts in place between this check and the rename below is
            // still replaced unseen; the moment is far shorter than the write.
            if (!check.isKnown(path)) {
                const Expected<QString> copy = keepCopy(path, check.copyKind, std::nullopt, options.factory);
                if (!copy) {
                    device->cancel();
                    return failure(Strings::tr("another program put a version of its own in its place, and a "
                                               "copy of that version could not be kept (%1)")
                                       .arg(copy.error()));
                }
                if (!copy->isEmpty() && check.kept)
                    check.kept(*copy);
            }
            break;
        }
    }
    if (!device->commit()) {
        device->cancel();
        return deviceFailure();
    }
    return std::nullopt;
}

QStringList settleLeftoverWrites(const QString& path, const QString& copyKind)
{
    const QFileInfo target(replacedTarget(path));
    const QRegularExpression leftover(u"^"_s + QRegularExpression::escape(target.fileName())
        + u"(\\.part-|\\.new-)([0-9]+)-[A-Za-z0-9]{6}$"_s);
    std::optional<Expected<FileContents>> current;
    QStringList kept;
    const ReplacedFileCheck check { [&](const QString& file) {
                                       if (!current)
                                           current = readRegularFile(target.filePath());
                                       const Expected<FileContents> left = readRegularFile(file);
                                       return *current && left && left->bytes == (*current)->bytes;
                                   },
        copyKind, [&kept](const QString& copy) { kept.append(copy); } };
    const QDir folder = target.dir();
    // Every name is matched whole: a name filter would take the file's own "[", "*" or "?" for
    // wildcards.
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const QRegularExpressionMatch match = leftover.match(name);
        if (!match.hasMatch() || !processIsGone(match.captured(2).toLongLong()))
            continue;
        // A partial file was never anyone's version; a whole one may be the only copy of one.
        if (match.captured(1) == QString::fromLatin1(partialTag))
            QFile::remove(folder.filePath(name));
        else
            settleTakenOut(folder.filePath(name), path, check, {});
    }
    return kept;
}

void setReplacementSeamForTesting(ReplacementSeam seam)
{
    const std::lock_guard guard(seamMutex);
    replacementSeam = std::move(seam);
}

} // namespace platform
