#include "net/session/RenewableBodyStream.h"

#include "platform/Strings.h"

#include <utility>

namespace net {

RenewableBodyStream::RenewableBodyStream(std::shared_ptr<QIODevice> stream, Renewal renewal)
    : m_renewal(std::move(renewal))
{
    use(std::move(stream));
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

void RenewableBodyStream::use(std::shared_ptr<QIODevice> stream)
{
    disconnect(m_readyRead);
    disconnect(m_finished);
    m_stream = std::move(stream);
    m_begun = false;
    m_readyRead = connect(m_stream.get(), &QIODevice::readyRead, this, &QIODevice::readyRead);
    m_finished
        = connect(m_stream.get(), &QIODevice::readChannelFinished, this, &QIODevice::readChannelFinished);
}

QString RenewableBodyStream::exhaustedReason()
{
    return platform::Strings::tr("The body has to be sent again, and there is no new stream for it.");
}

std::shared_ptr<QIODevice> RenewableBodyStream::takeUnread()
{
    if (m_begun || !m_stream)
        return nullptr;
    disconnect(m_readyRead);
    disconnect(m_finished);
    return std::exchange(m_stream, nullptr);
}

bool RenewableBodyStream::reset()
{
    if (m_stream && !m_begun)
        return true;
    std::shared_ptr<QIODevice> next = m_renewal ? m_renewal() : nullptr;
    if (!next) {
        setErrorString(exhaustedReason());
        return false;
    }
    use(std::move(next));
    return true;
}

qint64 RenewableBodyStream::bytesAvailable() const
{
    return (m_stream ? m_stream->bytesAvailable() : 0) + QIODevice::bytesAvailable();
}

bool RenewableBodyStream::atEnd() const
{
    return !m_stream || m_stream->atEnd();
}

bool RenewableBodyStream::waitForReadyRead(int msecs)
{
    return m_stream && m_stream->waitForReadyRead(msecs);
}

qint64 RenewableBodyStream::readData(char* data, qint64 maxSize)
{
    if (!m_stream)
        return -1;
    m_begun = true;
    const qint64 count = m_stream->read(data, maxSize);
    if (count < 0)
        setErrorString(m_stream->errorString());
    return count;
}

} // namespace net
