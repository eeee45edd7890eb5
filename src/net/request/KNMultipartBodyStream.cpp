#include "net/request/KNMultipartBodyStream.h"

#include <QThread>

#include <algorithm>

namespace net {

KNMultipartBodyStream::KNMultipartBodyStream(QStringConverter::Encoding encoding) : m_stringEncoding(encoding)
{
}

KNMultipartBodyStream::~KNMultipartBodyStream() = default;

std::unique_ptr<KNMultipartBodyStream> KNMultipartBodyStream::copy() const
{
    auto stream = std::make_unique<KNMultipartBodyStream>(m_stringEncoding);
    for (const auto& part : m_HTTPBodyParts)
        stream->appendHTTPBodyPart(part->copy());
    stream->setInitialAndFinalBoundaries();
    return stream;
}

void KNMultipartBodyStream::appendHTTPBodyPart(std::unique_ptr<KNHTTPBodyPart> part)
{
    m_HTTPBodyParts.push_back(std::move(part));
}

void KNMultipartBodyStream::setInitialAndFinalBoundaries()
{
    if (m_HTTPBodyParts.empty())
        return;
    for (const auto& part : m_HTTPBodyParts) {
        part->setHasInitialBoundary(false);
        part->setHasFinalBoundary(false);
    }
    m_HTTPBodyParts.front()->setHasInitialBoundary(true);
    m_HTTPBodyParts.back()->setHasFinalBoundary(true);
}

quint64 KNMultipartBodyStream::contentLength() const
{
    quint64 length = 0;
    for (const auto& part : m_HTTPBodyParts)
        length += part->contentLength();
    return length;
}

bool KNMultipartBodyStream::open(OpenMode mode)
{
    if (isOpen())
        return true;
    if (mode.testAnyFlags(WriteOnly | Append | Truncate))
        return false;
    if (!QIODevice::open(ReadOnly | Unbuffered))
        return false;
    setInitialAndFinalBoundaries();
    m_nextPartIndex = 0;
    m_currentHTTPBodyPart = nullptr;
    return true;
}

bool KNMultipartBodyStream::atEnd() const
{
    if (!isOpen() || m_failed)
        return !m_failed;
    return m_nextPartIndex >= m_HTTPBodyParts.size()
        && (!m_currentHTTPBodyPart || !m_currentHTTPBodyPart->hasBytesAvailable());
}

bool KNMultipartBodyStream::waitForReadyRead(int msecs)
{
    if (!m_currentHTTPBodyPart || !m_currentHTTPBodyPart->hasBytesAvailable())
        return false;
    QIODevice* device = m_currentHTTPBodyPart->inputStream();
    return device->isSequential() && device->waitForReadyRead(msecs);
}

qint64 KNMultipartBodyStream::readData(char* data, qint64 maxSize)
{
    if (m_failed)
        return -1;
    const qint64 limit = qint64(std::min<quint64>(quint64(maxSize), m_numberOfBytesInPacket));
    qint64 total = 0;
    while (total < limit) {
        if (!m_currentHTTPBodyPart || !m_currentHTTPBodyPart->hasBytesAvailable()) {
            if (m_nextPartIndex >= m_HTTPBodyParts.size())
                break;
            m_currentHTTPBodyPart = m_HTTPBodyParts[m_nextPartIndex++].get();
            // A device that has nothing at the moment says so with readyRead later.
            if (QIODevice* device = m_currentHTTPBodyPart->inputStream(); device->isSequential())
                connect(device, &QIODevice::readyRead, this, &QIODevice::readyRead, Qt::UniqueConnection);
            continue;
        }
        // The room is not capped by the packet size: a part may fill it all.
        const qint64 count = m_currentHTTPBodyPart->read(data + total, maxSize - total);
        if (count < 0) {
            m_failed = true;
            setErrorString(m_currentHTTPBodyPart->errorString());
            return -1;
        }
        if (count == 0 && m_currentHTTPBodyPart->hasBytesAvailable())
            break;
        total += count;
        if (m_delay > 0 && count > 0)
            QThread::usleep((unsigned long)(m_delay * 1e6));
    }
    if (total == 0 && atEnd())
        return -1;
    return total;
}

} // namespace net
