#pragma once

#include <QIODevice>

#include <functional>
#include <memory>

namespace net {

/// A task's body read from a stream that cannot be rewound. When the transfer has to send
/// the body again (a login was answered after the body went out), it rewinds this device:
/// `reset` then asks `renewal` for a new stream with the whole body and reads on from that;
/// without one it refuses, so that the rest of a spent stream is never sent as the body.
/// Network thread only.
class RenewableBodyStream : public QIODevice {
    Q_OBJECT
public:
    using Renewal = std::function<std::shared_ptr<QIODevice>()>;

    /// `stream` must be open for reading. Opens itself.
    RenewableBodyStream(std::shared_ptr<QIODevice> stream, Renewal renewal);

    /// Why a body that has to go again cannot: the stream is spent and no new one came.
    static QString exhaustedReason();

    /// The stream this device reads, when nothing was read from it yet (a new one `reset`
    /// got, or the first one before it was read), so that a new request sends it instead of
    /// asking for yet another; this device then has nothing more to give. None otherwise.
    std::shared_ptr<QIODevice> takeUnread();

    bool isSequential() const override { return true; }
    bool reset() override;
    qint64 bytesAvailable() const override;
    bool atEnd() const override;
    bool waitForReadyRead(int msecs) override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    void use(std::shared_ptr<QIODevice> stream);

    std::shared_ptr<QIODevice> m_stream;
    Renewal m_renewal;
    bool m_begun = false; // something was read from `m_stream`
    QMetaObject::Connection m_readyRead;
    QMetaObject::Connection m_finished;
};

} // namespace net
