#pragma once

#include "platform/FileIO.h"

#include <QString>

#include <cerrno>
#include <functional>
#include <memory>

namespace mervane::test {

/// How and where a device fails. Devices fail the way the file system does: a write may
/// take fewer bytes than given with no error at all (a full disk), a failure may show only
/// when the file is flushed or committed (or exchanged: a failure at `Commit` fails both),
/// and every failure carries its errno.
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

/// A device that hands every call to the real file system's; doubles override the calls
/// they change.
class WrappedDevice : public platform::AtomicFileDevice {
public:
    explicit WrappedDevice(const QString& path) : m_real(platform::makeAtomicFileDevice(path)) { }

    bool open() override { return m_real->open(); }
    qint64 write(QByteArrayView bytes) override { return m_real->write(bytes); }
    bool setPermissions(QFileDevice::Permissions permissions) override
    {
        return m_real->setPermissions(permissions);
    }
    bool flush() override { return m_real->flush(); }
    Exchange exchange() override { return m_real->exchange(); }
    QString takenOutPath() const override { return m_real->takenOutPath(); }
    bool commit() override { return m_real->commit(); }
    void cancel() override { m_real->cancel(); }
    int errorNumber() const override { return m_real->errorNumber(); }
    QString errorString() const override { return m_real->errorString(); }
    int handle() const override { return m_real->handle(); }

private:
    std::unique_ptr<platform::AtomicFileDevice> m_real;
};

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
