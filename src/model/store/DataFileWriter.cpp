#include "model/store/DataFileWriter.h"

#include "platform/Strings.h"

#include <QDir>
#include <future>

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
    if (guarded) {
        if (platform::MaybeError refused = keepOtherWritersVersion(path))
            return refused;
    }
    if (platform::MaybeError refused = preserveIfArmed(path))
        return refused;
    const platform::WriteOptions options { std::nullopt, m_factory,
        path == m_hookedPath ? m_newVersionHook : NewVersionHook() };
    if (platform::MaybeError failed = platform::writeFileAtomically(path, bytes, options))
        return failed;
    if (guarded) {
        const std::optional<platform::FileStamp> stamp = platform::fileStamp(path);
        m_knownVersion = stamp
            ? std::optional(platform::FileIdentity { *stamp, platform::contentHash(bytes) })
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

platform::MaybeError DataFileWriter::keepOtherWritersVersion(const QString& path)
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
