#pragma once

#include "net/core/NetError.h"
#include "net/core/URLRequest.h"
#include "net/request/KNMultipartBodyStream.h"
#include "net/request/KNMultipartFormData.h"

#include <QStringConverter>

#include <memory>
#include <optional>

namespace net {

/// Builds a streamed "multipart/form-data" body for one request: the construction block
/// appends parts, and `requestByFinalizingMultipartFormData` hands back the request with
/// the body stream and its headers.
///
/// Part names and file names are escaped so that no name can end its quoted text or its
/// header line: a double quote becomes "%22", a backslash "%5C", a carriage return "%0D"
/// and a line feed "%0A" (as browsers do for the quote and line breaks). Backslash escapes
/// inside the quotes are not used: common receivers split parameters without honouring
/// them, and a name ending in a backslash would swallow its closing quote.
///
/// A part that cannot be appended (a file that is missing or unreadable, a device that
/// cannot be read) is not appended, and the builder keeps the first such error in
/// `error()`: the serializer then withholds the request rather than send the other parts.
class KNStreamingMultipartFormData : public KNMultipartFormData {
public:
    KNStreamingMultipartFormData(URLRequest request, QStringConverter::Encoding encoding);

    const URLRequest& request() const { return m_request; }
    void setRequest(URLRequest request) { m_request = std::move(request); }
    QStringConverter::Encoding stringEncoding() const { return m_stringEncoding; }
    /// "Boundary+" and 16 upper-case hexadecimal digits from the system's random source.
    const QString& boundary() const { return m_boundary; }
    const std::shared_ptr<KNMultipartBodyStream>& bodyStream() const { return m_bodyStream; }
    /// The first part that could not be appended, if any.
    const std::optional<Error>& error() const { return m_error; }

    bool appendPartWithFileURL(
        const QUrl& fileURL, const QString& name, std::optional<Error>* error) override;
    bool appendPartWithFileURL(const QUrl& fileURL, const QString& name, const QString& fileName,
        const QString& mimeType, std::optional<Error>* error) override;
    /// `inputStream` is opened for reading here when it is not open yet.
    void appendPartWithInputStream(std::shared_ptr<QIODevice> inputStream, const QString& name,
        const QString& fileName, qint64 length, const QString& mimeType) override;
    void appendPartWithFileData(const QByteArray& data, const QString& name, const QString& fileName,
        const QString& mimeType) override;
    void appendPartWithFormData(const QByteArray& data, const QString& name) override;
    void appendPartWithHeaders(const Headers& headers, const QByteArray& body) override;
    void throttleBandwidthWithPacketSize(quint64 numberOfBytes, double delay) override;

    /// The request unchanged when nothing was appended; otherwise with the body stream
    /// (opened, ready to be sent), "Content-Type" and "Content-Length".
    URLRequest requestByFinalizingMultipartFormData();

    /// The boundary text for two 32-bit random numbers.
    static QString boundaryFor(quint32 first, quint32 second);
    /// `name` made safe inside a quoted header parameter (see the class comment).
    static QString escapedParameterValue(const QString& name);
    /// The MIME type for a file name's extension; "application/octet-stream" when unknown.
    static QString mimeTypeForFileName(const QString& fileName);

private:
    static Headers fileHeaders(const QString& name, const QString& fileName, const QString& mimeType);
    void appendPart(Headers headers, KNHTTPBodyPart::Body body, quint64 length);
    bool failAppending(Error error, std::optional<Error>* slot);

    URLRequest m_request;
    QStringConverter::Encoding m_stringEncoding;
    QString m_boundary;
    std::shared_ptr<KNMultipartBodyStream> m_bodyStream;
    std::optional<Error> m_error;
};

} // namespace net
