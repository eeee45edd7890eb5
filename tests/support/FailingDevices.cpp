#include "support/FailingDevices.h"

#include <QFileInfo>

#include <algorithm>
#include <cstring>

namespace mervane::test {

namespace {

class FailingDevice final : public WrappedDevice {
public:
    FailingDevice(const QString& path, DeviceFailure failure) : WrappedDevice(path), m_failure(failure) { }

    bool open() override { return at(DeviceFailure::Stage::Open) ? fail() : WrappedDevice::open(); }

    qint64 write(QByteArrayView bytes) override
    {
        if (m_failure.stage != DeviceFailure::Stage::Write)
            return WrappedDevice::write(bytes);
        const qint64 room = std::max<qint64>(0, m_failure.afterBytes - m_written);
        const qint64 taken = std::min(room, qint64(bytes.size()));
        if (taken > 0 && WrappedDevice::write(bytes.first(taken)) != taken)
            return -1;
        m_written += taken;
        if (taken == bytes.size())
            return taken;
        if (m_failure.shortCount)
            return taken;
        fail();
        return -1;
    }

    bool flush() override { return at(DeviceFailure::Stage::Flush) ? fail() : WrappedDevice::flush(); }

    Exchange exchange() override
    {
        if (!at(DeviceFailure::Stage::Commit))
            return WrappedDevice::exchange();
        cancel();
        fail();
        return Exchange::Failed;
    }

    bool commit() override
    {
        if (!at(DeviceFailure::Stage::Commit))
            return WrappedDevice::commit();
        // As when the rename or the last write-back fails: the temporary file goes, the
        // old file stays.
        cancel();
        return fail();
    }

    int errorNumber() const override { return m_errorNumber ? m_errorNumber : WrappedDevice::errorNumber(); }
    QString errorString() const override
    {
        return m_errorNumber ? QString::fromLocal8Bit(std::strerror(m_errorNumber))
                             : WrappedDevice::errorString();
    }

private:
    bool at(DeviceFailure::Stage stage) const { return m_failure.stage == stage; }
    bool fail()
    {
        m_errorNumber = m_failure.errorNumber;
        return false;
    }

    DeviceFailure m_failure;
    qint64 m_written = 0;
    int m_errorNumber = 0;
};

} // namespace

DeviceFailure failsAfterBytes(qint64 bytes, int errorNumber)
{
    return { DeviceFailure::Stage::Write, bytes, false, errorNumber };
}

DeviceFailure takesOnly(qint64 bytes)
{
    return { DeviceFailure::Stage::Write, bytes, true, 0 };
}

DeviceFailure failsAtOpen(int errorNumber)
{
    return { DeviceFailure::Stage::Open, 0, false, errorNumber };
}

DeviceFailure failsAtFlush(int errorNumber)
{
    return { DeviceFailure::Stage::Flush, 0, false, errorNumber };
}

DeviceFailure failsAtCommit(int errorNumber)
{
    return { DeviceFailure::Stage::Commit, 0, false, errorNumber };
}

platform::AtomicFileFactory failingDevices(
    DeviceFailure failure, std::function<bool(const QString&)> affected)
{
    return [failure, affected](const QString& path) -> std::unique_ptr<platform::AtomicFileDevice> {
        if (affected && !affected(path))
            return platform::makeAtomicFileDevice(path);
        return std::make_unique<FailingDevice>(path, failure);
    };
}

std::function<bool(const QString&)> namesContaining(const QString& part)
{
    return [part](const QString& path) { return QFileInfo(path).fileName().contains(part); };
}

std::function<bool(const QString&)> fileNamed(const QString& name)
{
    return [name](const QString& path) { return QFileInfo(path).fileName() == name; };
}

} // namespace mervane::test
