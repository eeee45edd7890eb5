#pragma once

#include "net/request/KNHTTPBodyPart.h"

#include <QIODevice>
#include <QStringConverter>

#include <limits>
#include <memory>
#include <vector>

namespace net {

/// A multipart body as a sequential, read-only device: it produces the parts' boundaries,
/// headers and bodies on demand, never holding a file or a device's body whole in memory.
/// A request sends it as its body stream; it is read once.
///
/// A body that cannot be read (a file gone or unreadable, a device failing or ending
/// before its declared length) is an error, not the end of the body: `readData` returns -1,
/// `hasFailed()` turns true and `errorString()` says why, so the transfer, which declared
/// the full length, fails instead of sending a shortened body.
class KNMultipartBodyStream : public QIODevice {
    Q_OBJECT
public:
    explicit KNMultipartBodyStream(QStringConverter::Encoding encoding = QStringConverter::Utf8);
    ~KNMultipartBodyStream() override;

    /// A fresh, unopened stream with copies of the parts; packet size and delay are reset.
    std::unique_ptr<KNMultipartBodyStream> copy() const;

    QStringConverter::Encoding stringEncoding() const { return m_stringEncoding; }
    void appendHTTPBodyPart(std::unique_ptr<KNHTTPBodyPart> part);
    /// Marks the first part as opening the body and the last as closing it.
    void setInitialAndFinalBoundaries();
    bool isEmpty() const { return m_HTTPBodyParts.empty(); }
    const std::vector<std::unique_ptr<KNHTTPBodyPart>>& HTTPBodyParts() const { return m_HTTPBodyParts; }
    /// The bytes the stream produces in all, from the parts' declared sizes.
    quint64 contentLength() const;

    /// Throttling: a read call stops once it produced this many bytes, and the reading
    /// thread pauses `delay` seconds after each piece read from a part.
    quint64 numberOfBytesInPacket() const { return m_numberOfBytesInPacket; }
    void setNumberOfBytesInPacket(quint64 bytes) { m_numberOfBytesInPacket = bytes; }
    double delay() const { return m_delay; }
    void setDelay(double seconds) { m_delay = seconds; }

    /// Opens for reading (always unbuffered); opening an open stream does nothing.
    bool open(OpenMode mode = ReadOnly) override;
    bool isSequential() const override { return true; }
    /// Every part was read to its end.
    bool atEnd() const override;
    bool hasFailed() const { return m_failed; }
    /// Waits for the device of the part being read, when it is one that has nothing yet.
    bool waitForReadyRead(int msecs) override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QStringConverter::Encoding m_stringEncoding;
    quint64 m_numberOfBytesInPacket = quint64(std::numeric_limits<qint64>::max());
    double m_delay = 0;
    std::vector<std::unique_ptr<KNHTTPBodyPart>> m_HTTPBodyParts;
    size_t m_nextPartIndex = 0;
    KNHTTPBodyPart* m_currentHTTPBodyPart = nullptr;
    bool m_failed = false;
};

} // namespace net
