#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringConverter>
#include <QUrl>

#include <memory>
#include <variant>

namespace net {

/// One part of a multipart body. It produces, in four phases, its opening boundary, its
/// header lines, its body and (for the last part) the closing boundary, from whatever
/// room each read call gives it.
///
/// Phase changes run on the thread that reads the part (the network thread while a
/// request is sent); nothing here waits for the main thread.
class KNHTTPBodyPart {
public:
    enum Phase : qint32 {
        NoPhase = 0,
        EncapsulationBoundaryPhase = 1,
        HeaderPhase = 2,
        BodyPhase = 3,
        FinalBoundaryPhase = 4,
    };

    /// The body: bytes in memory, a local file (read when the part is reached), or a device
    /// shared with whoever gave it.
    using Body = std::variant<QByteArray, QUrl, std::shared_ptr<QIODevice>>;
    /// Header fields in the order they are written.
    using Headers = QList<QPair<QString, QString>>;

    KNHTTPBodyPart();
    ~KNHTTPBodyPart();
    KNHTTPBodyPart(const KNHTTPBodyPart&) = delete;
    KNHTTPBodyPart& operator=(const KNHTTPBodyPart&) = delete;

    /// A fresh part with the same encoding, headers, body, body length and boundary; the
    /// marks, the phase and the opened input are not copied.
    std::unique_ptr<KNHTTPBodyPart> copy() const;

    QStringConverter::Encoding stringEncoding() const { return m_stringEncoding; }
    void setStringEncoding(QStringConverter::Encoding encoding) { m_stringEncoding = encoding; }
    const Headers& headers() const { return m_headers; }
    void setHeaders(Headers headers) { m_headers = std::move(headers); }
    const QString& boundary() const { return m_boundary; }
    void setBoundary(const QString& boundary) { m_boundary = boundary; }
    const Body& body() const { return m_body; }
    void setBody(Body body) { m_body = std::move(body); }
    /// The body's size as declared when the part was appended: exactly this many body
    /// bytes are sent, and a body that ends sooner is a read error.
    quint64 bodyContentLength() const { return m_bodyContentLength; }
    void setBodyContentLength(quint64 length) { m_bodyContentLength = length; }

    bool hasInitialBoundary() const { return m_hasInitialBoundary; }
    void setHasInitialBoundary(bool flag) { m_hasInitialBoundary = flag; }
    bool hasFinalBoundary() const { return m_hasFinalBoundary; }
    void setHasFinalBoundary(bool flag) { m_hasFinalBoundary = flag; }

    Phase phase() const { return m_phase; }
    quint64 phaseReadOffset() const { return m_phaseReadOffset; }

    /// The device the body is read from, made on first use (not opened); null for a file
    /// body until then and for a body device that was never given.
    QIODevice* inputStream();

    /// Every header line ("name: value" and CRLF), then the empty line.
    QString stringForHeaders() const;
    /// The bytes this part produces in all, from the declared body length.
    quint64 contentLength() const;
    /// Whether reading can still produce bytes: false once the part is done or failed.
    bool hasBytesAvailable() const;

    /// Fills `buffer` with up to `length` bytes of the part. Returns the count (0 when the
    /// body device has nothing at the moment, or the part is done) or -1 when the body
    /// cannot be read; `errorString` then says why.
    qint64 read(char* buffer, qint64 length);
    /// Copies the unread rest of `data` (from `phaseReadOffset`) into `buffer`, at most
    /// `length` bytes, and moves to the next phase when `data` is used up.
    qint64 readData(const QByteArray& data, char* buffer, qint64 length);
    bool transitionToNextPhase();

    bool hasFailed() const { return m_failed; }
    const QString& errorString() const { return m_errorString; }

private:
    QByteArray encoded(const QString& text) const;
    QByteArray openingBoundaryBytes() const;
    QByteArray closingBoundaryBytes() const;
    qint64 readBody(char* buffer, qint64 length);
    void fail(const QString& reason);

    Phase m_phase = NoPhase;
    std::shared_ptr<QIODevice> m_inputStream;
    quint64 m_bodyContentLength = 0;
    quint64 m_bodyBytesRead = 0;
    quint64 m_phaseReadOffset = 0;
    bool m_hasInitialBoundary = false;
    bool m_hasFinalBoundary = false;
    bool m_done = false;
    bool m_failed = false;
    QString m_errorString;
    QStringConverter::Encoding m_stringEncoding = QStringConverter::Utf8;
    Headers m_headers;
    QString m_boundary;
    Body m_body;
};

} // namespace net
