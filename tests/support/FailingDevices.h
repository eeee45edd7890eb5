#pragma once

#include "platform/FileIO.h"

#include <QString>

#include <cerrno>
#include <functional>

namespace mervane::test {

/// How and where a device fails. Devices fail the way the file system does: a write may
/// take fewer bytes than given with no error at all (a full disk), a failure may show only
/// when the file is flushed or committed, and every failure carries its errno.
struct DeviceFailure {
    enum class Stage { Open, Write, Flush, Commit };
    Stage stage = Stage::Write;
    /// For `Write`: the bytes taken before the failure.
    qint64 afterBytes = 0;
    /// For `Write`: the write returns the short count instead of -1, and no error.
    bool shortCount = false;
    int errorNumber = ENOSPC;
};

DeviceFailure failsAfterBytes(qint64 bytes, int errorNumber = ENOSPC);
DeviceFailure takesOnly(qint64 bytes);
DeviceFailure failsAtOpen(int errorNumber);
DeviceFailure failsAtFlush(int errorNumber = EIO);
DeviceFailure failsAtCommit(int errorNumber = EIO);

/// Devices for the writes whose path `affected` accepts fail as `failure` says; the others,
/// and everything before the failure, go to the real file system. A failed device leaves
/// the file it was to replace as it was, as the real one does.
platform::AtomicFileFactory failingDevices(
    DeviceFailure failure, std::function<bool(const QString& path)> affected = {});

/// `affected` for the writes whose file name contains `part`.
std::function<bool(const QString& path)> namesContaining(const QString& part);
/// `affected` for the writes to a file of exactly this name.
std::function<bool(const QString& path)> fileNamed(const QString& name);

} // namespace mervane::test
