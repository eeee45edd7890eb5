#include "model/store/DataFileWriter.h"

#include "platform/Strings.h"

#include <QDir>
#include <QScopeGuard>

#include <future>

#include <fcntl.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

DataFileWriter::DataFileWriter() : m_queue(u"mervane-data-writer"_s)
{
}

DataFileWriter::~DataFileWriter()
{
    m_queue.waitUntilIdle();
}

void DataFileWriter::write(const QString& path, QByteArray bytes, Completion done)
{
    m_queue.async([this, path, bytes = std::move(bytes), done = std::move(done)] {
        const platform::MaybeError result = writeNow(path, bytes);
        if (done)
            done(result);
    });
}

platform::MaybeError DataFileWriter::writeNow(const QString& path, const QByteArray& bytes)
{
    const bool guarded = path == m_guardedPath;
    std::optional<platform::FileIdentity> copied;
    if (guarded) {
        if (platform::MaybeError refused = keepOtherWritersVersion(path, copied))
            return refused;
    }
    if (platform::MaybeError refused = preserveIfArmed(path))
        return refused;
    const NewVersionHook hook = path == m_hookedPath ? m_newVersionHook : NewVersionHook();
    // Our own file, stamped once it is in place (the move changes its change time): one that
    // another program puts in place just after ours must not pass for ours.
    int ours = -1;
    const auto closeOurs = qScopeGuard([&ours] {
        if (ours >= 0)
            ::close(ours);
    });
    platform::WriteOptions options { std::nullopt, m_factory, {}, std::nullopt };
    if (guarded) {
        options.beforeCommit = [&ours, &hook](int handle) {
            ours = ::fcntl(handle, F_DUPFD_CLOEXEC, 0);
            if (hook)
                hook(handle);
        };
        // Another program's file may still arrive while this one is written.
        options.replaced
            = platform::ReplacedFileCheck { [this, &copied](const QString& file) {
                                               return platform::fileMatches(file, m_knownVersion)
                                                   || (copied && platform::fileMatches(file, copied));
                                           },
                  conflictKind, m_onConflict };
    } else {
        options.beforeCommit = hook;
    }
    if (platform::MaybeError failed = platform::writeFileAtomically(path, bytes, options))
        return failed;
    if (guarded) {
        const std::optional<platform::FileStamp> written
            = ours >= 0 ? platform::openFileStamp(ours) : platform::fileStamp(path);
        m_knownVersion = written
            ? std::optional(platform::FileIdentity { *written, platform::contentHash(bytes) })
            : std::nullopt;
    }
    return std::nullopt;
}

platform::MaybeError DataFileWriter::writeAndWait(const QString& path, QByteArray bytes)
{
    std::promise<platform::MaybeError> promise;
    auto future = promise.get_future();
    write(path, std::move(bytes), [&promise](platform::MaybeError result) { promise.set_value(result); });
    return future.get();
}

void DataFileWriter::waitForPendingWrites()
{
    m_queue.waitUntilIdle();
}

platform::Expected<QString> DataFileWriter::keepCopyAndWait(
    const QString& path, const QString& kind, std::optional<int> keep)
{
    std::promise<platform::Expected<QString>> promise;
    auto future = promise.get_future();
    m_queue.async([&] { promise.set_value(keepCopy(path, kind, keep)); });
    return future.get();
}

platform::Expected<QString> DataFileWriter::keepCopy(
    const QString& path, const QString& kind, std::optional<int> keep) const
{
    return platform::keepCopy(path, kind, keep, m_factory);
}

void DataFileWriter::guardAgainstOtherWriters(
    const QString& path, std::optional<platform::FileIdentity> loaded, ConflictHandler onConflict)
{
    m_queue.waitUntilIdle();
    m_guardedPath = path;
    m_knownVersion = std::move(loaded);
    m_onConflict = std::move(onConflict);
}

platform::MaybeError DataFileWriter::keepOtherWritersVersion(
    const QString& path, std::optional<platform::FileIdentity>& copied)
{
    if (platform::fileMatches(path, m_knownVersion))
        return std::nullopt;
    const platform::Expected<QString> copy = keepCopy(path, conflictKind, std::nullopt);
    if (!copy)
        return platform::Strings::tr(
            "Another program changed the data file \"%1\" after Mervane read it, and "
            "a copy of that version could not be kept (%2), so nothing was saved.")
            .arg(QDir::toNativeSeparators(path), copy.error());
    if (copy->isEmpty())
        return std::nullopt; // the file was removed meanwhile: nothing to lose
    // That version may go now; by its bytes, since the copy is another file.
    if (const platform::Expected<platform::FileContents> kept = platform::readRegularFile(*copy))
        copied = platform::FileIdentity { kept->stamp, platform::contentHash(kept->bytes) };
    // The file now on disk is kept; a copy of the same bytes as "unreadable" would add nothing.
    if (m_preservePath == path)
        m_preserveArmed.store(false);
    if (m_onConflict)
        m_onConflict(*copy);
    return std::nullopt;
}

void DataFileWriter::preserveBeforeNextWrite(const QString& path)
{
    m_queue.waitUntilIdle();
    m_preservePath = path;
    m_preserveArmed.store(true);
}

bool DataFileWriter::isPreservePending() const
{
    return m_preserveArmed.load();
}

platform::MaybeError DataFileWriter::preserveIfArmed(const QString& path)
{
    if (!m_preserveArmed.load() || m_preservePath != path)
        return std::nullopt;
    const platform::Expected<QString> copy = keepCopy(path, unreadableKind, std::nullopt);
    if (!copy)
        return platform::Strings::tr("The data file \"%1\" could not be read, and a copy of it could not be "
                                     "kept (%2), so nothing was saved.")
            .arg(QDir::toNativeSeparators(path), copy.error());
    m_preserveArmed.store(false);
    return std::nullopt;
}

void DataFileWriter::beforeReplacing(const QString& path, NewVersionHook hook)
{
    m_queue.waitUntilIdle();
    m_hookedPath = path;
    m_newVersionHook = std::move(hook);
}

void DataFileWriter::setDeviceFactoryForTesting(platform::AtomicFileFactory factory)
{
    m_queue.waitUntilIdle();
    m_factory = std::move(factory);
}
