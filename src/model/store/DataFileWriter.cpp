#include "model/store/DataFileWriter.h"

#include "platform/Clock.h"
#include "platform/Strings.h"

#include <QFile>
#include <QFileInfo>

#include <future>

using namespace Qt::Literals::StringLiterals;

DataFileWriter::DataFileWriter() : m_queue(u"mervane-data-writer"_s)
{
}

DataFileWriter::~DataFileWriter()
{
    m_queue.waitUntilIdle();
}

platform::MaybeError DataFileWriter::writeFileAtomically(
    const QString& path, const QByteArray& bytes, const SaveFileFactory& factory)
{
    std::unique_ptr<QSaveFile> file = factory ? factory(path) : std::make_unique<QSaveFile>(path);
    const auto failure = [&](const QString& reason) {
        file->cancelWriting();
        return platform::Strings::tr("The file \"%1\" could not be written: %2").arg(path, reason);
    };
    if (!file->open(QIODevice::WriteOnly))
        return failure(file->errorString());
    if (file->write(bytes) != bytes.size())
        return failure(file->errorString());
    if (!file->flush())
        return failure(file->errorString());
    if (!file->commit())
        return platform::Strings::tr("The file \"%1\" could not be written: %2")
            .arg(path, file->errorString());
    return std::nullopt;
}

void DataFileWriter::write(const QString& path, QByteArray bytes, Completion done)
{
    m_queue.async([this, path, bytes = std::move(bytes), done = std::move(done)] {
        platform::MaybeError result = preserveIfArmed(path);
        if (!result)
            result = writeFileAtomically(path, bytes, m_factory);
        if (done)
            done(result);
    });
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
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        m_preserveArmed.store(false);
        return std::nullopt;
    }
    const QString stem = path + u".unreadable-"_s + platform::Clock::now().toString(u"yyyyMMdd-HHmmss"_s);
    QString copyPath = stem;
    for (int n = 2; QFileInfo::exists(copyPath) && n < 1000; ++n)
        copyPath = stem + u'-' + QString::number(n);
    QFile source(path);
    if (!info.isFile() || !source.copy(copyPath)) {
        const QString reason
            = info.isFile() ? source.errorString() : platform::Strings::tr("it is not a file");
        return platform::Strings::tr("The data file \"%1\" could not be read, and a copy of it could not be "
                                     "kept (%2), so nothing was saved.")
            .arg(path, reason);
    }
    m_preserveArmed.store(false);
    return std::nullopt;
}

void DataFileWriter::setSaveFileFactoryForTesting(SaveFileFactory factory)
{
    m_queue.waitUntilIdle();
    m_factory = std::move(factory);
}
