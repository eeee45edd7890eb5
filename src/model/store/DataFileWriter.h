#pragma once

#include "platform/Dispatch.h"
#include "platform/Expected.h"

#include <QByteArray>
#include <QSaveFile>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

/// Writes whole files atomically on one serial thread, in the order they were queued.
/// A file is replaced only after every byte was written, flushed and committed; on any
/// failure the previous file stays as it was and an error text says why.
class DataFileWriter {
public:
    using Completion = std::function<void(platform::MaybeError)>;
    /// Makes the device a write goes through; tests substitute failing devices.
    using SaveFileFactory = std::function<std::unique_ptr<QSaveFile>(const QString& path)>;

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

    /// Before the next write to `path` replaces a file there, keep a byte-identical copy
    /// named "<path>.unreadable-<yyyyMMdd-HHmmss>"; if that copy fails, the write fails.
    /// Stays armed until a copy was made (or nothing was there to copy).
    void preserveBeforeNextWrite(const QString& path);
    bool isPreservePending() const;

    /// The synchronous write every queued job performs.
    static platform::MaybeError writeFileAtomically(
        const QString& path, const QByteArray& bytes, const SaveFileFactory& factory = {});

    void setSaveFileFactoryForTesting(SaveFileFactory factory);

private:
    platform::MaybeError preserveIfArmed(const QString& path);

    platform::SerialQueue m_queue;
    // Set from the caller's thread while the queue is idle, then read on the writer thread.
    QString m_preservePath;
    std::atomic<bool> m_preserveArmed = false;
    SaveFileFactory m_factory;
};
