#include "model/store/DataFileWriter.h"

#include "platform/Clock.h"
#include "platform/Strings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <future>

using namespace Qt::Literals::StringLiterals;

namespace {

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
    if (platform::MaybeError failed = platform::writeFileAtomically(path, bytes, { std::nullopt, m_factory }))
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
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return QString();
    const platform::Expected<platform::FileContents> contents = platform::readRegularFile(path);
    if (!contents)
        return platform::Unexpected(contents.error());

    const QString stem = path + u'.' + kind + u'-' + platform::Clock::now().toString(u"yyyyMMdd-HHmmss"_s);
    QString copyPath = stem;
    for (int n = 2; QFileInfo::exists(copyPath); ++n)
        copyPath = stem + u'-' + QString::number(n);
    if (platform::MaybeError failed = platform::writeFileAtomically(
            copyPath, contents->bytes, { platform::copyModeFor(path), m_factory }))
        return platform::Unexpected(*failed);

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

QStringList DataFileWriter::keptCopies(const QString& path, const QString& kind)
{
    const QFileInfo info(path);
    const QString prefix = info.fileName() + u'.' + kind + u'-';
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

void DataFileWriter::setDeviceFactoryForTesting(platform::AtomicFileFactory factory)
{
    m_queue.waitUntilIdle();
    m_factory = std::move(factory);
}
