#include "platform/FileIO.h"

#include "platform/Clock.h"
#include "platform/Strings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHashFunctions>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
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
        qint64(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec, quint64(info.st_ino),
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

class SaveFileDevice final : public AtomicFileDevice {
public:
    explicit SaveFileDevice(const QString& path) : m_file(path) { }

    bool open() override
    {
        errno = 0;
        // Unbuffered: a failing write reports itself at once, with its errno.
        return track(m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    }

    qint64 write(QByteArrayView bytes) override
    {
        errno = 0;
        const qint64 written = m_file.write(bytes.data(), bytes.size());
        if (written < 0)
            m_errorNumber = errno;
        return written;
    }

    bool setPermissions(QFileDevice::Permissions permissions) override
    {
        errno = 0;
        return track(m_file.setPermissions(permissions));
    }

    bool flush() override
    {
        errno = 0;
        if (!track(m_file.flush()))
            return false;
        if (::fsync(m_file.handle()) != 0)
            return ownFailure(errno);
        return true;
    }

    bool commit() override
    {
        errno = 0;
        if (!track(m_file.commit()))
            return false;
        if (const int error = syncFolderOf(m_file.fileName()))
            return ownFailure(error);
        return true;
    }

    void cancel() override { m_file.cancelWriting(); }
    int errorNumber() const override { return m_errorNumber; }
    int handle() const override { return m_file.handle(); }
    QString errorString() const override { return m_ownText.isEmpty() ? m_file.errorString() : m_ownText; }

private:
    bool track(bool ok)
    {
        if (!ok)
            m_errorNumber = errno;
        return ok;
    }

    bool ownFailure(int errorNumber)
    {
        m_errorNumber = errorNumber;
        m_ownText = systemText(errorNumber);
        return false;
    }

    QSaveFile m_file;
    int m_errorNumber = 0;
    QString m_ownText;
};

// A copy's name after "<file>.<kind>-": the time stamp, then "-N" for a second copy within
// the same second. Ordered by the two, so that "-10" comes after "-9".
struct CopyOrder {
    QString stamp;
    int number = 1;
    QString path;
};

CopyOrder copyOrder(const QString& path, qsizetype prefixLength)
{
    const QString rest = QFileInfo(path).fileName().mid(prefixLength);
    const qsizetype dash = rest.indexOf(u'-', 9);
    bool ok = false;
    const int number = dash < 0 ? 1 : rest.mid(dash + 1).toInt(&ok);
    return { dash < 0 ? rest : rest.left(dash), ok ? number : 1, path };
}

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
    return std::make_unique<SaveFileDevice>(path);
}

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
    if (!device->commit()) {
        device->cancel();
        return deviceFailure();
    }
    return std::nullopt;
}

QFileDevice::Permissions copyModeFor(const QString& path)
{
    return QFile::permissions(path) & privateFileMode;
}

Expected<QString> keepCopy(
    const QString& path, const QString& kind, std::optional<int> keep, const AtomicFileFactory& factory)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return QString();
    const Expected<FileContents> contents = readRegularFile(path);
    if (!contents)
        return Unexpected(contents.error());

    const QString stamp = Clock::now().toString(u"yyyyMMdd-HHmmss"_s);
    const QString stem = keptCopyPrefix(path, kind) + stamp;
    // After the highest number of the second: a name the rotation freed would sort before
    // the copies still kept and be the next one removed.
    const qsizetype prefixLength = QFileInfo(keptCopyPrefix(path, kind)).fileName().size();
    int highest = 0;
    for (const QString& kept : keptCopies(path, kind)) {
        const CopyOrder order = copyOrder(kept, prefixLength);
        if (order.stamp == stamp)
            highest = std::max(highest, order.number);
    }
    QString copyPath;
    for (int n = highest + 1; copyPath.isEmpty() || QFileInfo::exists(copyPath); ++n) {
        if (n >= highest + 1000)
            return Unexpected(Strings::tr("there are already %1 copies named \"%2\"").arg(n - 1).arg(stem));
        copyPath = n == 1 ? stem : stem + u'-' + QString::number(n);
    }
    if (MaybeError failed
        = writeFileAtomically(copyPath, contents->bytes, { copyModeFor(path), factory, {} }))
        return Unexpected(*failed);

    if (keep) {
        const QStringList copies = keptCopies(path, kind);
        for (qsizetype i = 0; i < copies.size() - *keep; ++i) {
            // A copy too many costs only room; it is no reason to fail the change.
            if (!QFile::remove(copies.at(i)))
                qWarning("Could not remove the old copy %s", qPrintable(copies.at(i)));
        }
    }
    return copyPath;
}

QString keptCopyPrefix(const QString& path, const QString& kind)
{
    return path + u'.' + kind + u'-';
}

QStringList keptCopies(const QString& path, const QString& kind)
{
    const QFileInfo info(path);
    const QString prefix = QFileInfo(keptCopyPrefix(path, kind)).fileName();
    const QDir folder = info.dir();
    QList<CopyOrder> copies;
    for (const QString& name :
        folder.entryList({ prefix + u'*' }, QDir::Files | QDir::Hidden | QDir::System)) {
        // "yyyyMMdd-HHmmss", then an optional "-N".
        if (name.size() >= prefix.size() + 15 && name.at(prefix.size() + 8) == u'-')
            copies.append(copyOrder(folder.filePath(name), prefix.size()));
    }
    std::sort(copies.begin(), copies.end(), [](const CopyOrder& a, const CopyOrder& b) {
        return a.stamp != b.stamp ? a.stamp < b.stamp : a.number < b.number;
    });
    QStringList paths;
    for (const CopyOrder& copy : copies)
        paths.append(copy.path);
    return paths;
}

} // namespace platform
