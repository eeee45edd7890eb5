#include "net/request/KNStreamingMultipartFormData.h"

#include "net/request/KNURLRequestSerialization.h"
#include "platform/Strings.h"

#include <QFileInfo>
#include <QMimeDatabase>
#include <QRandomGenerator>

using namespace Qt::Literals::StringLiterals;

namespace net {

namespace {

Error requestError(const QString& reason, const QUrl& url)
{
    QVariantMap info { { localizedDescriptionKey, reason }, { localizedFailureReasonErrorKey, reason } };
    if (url.isValid())
        info.insert(failingURLErrorKey, url);
    return Error(KNURLRequestSerializationErrorDomain, badURL, std::move(info));
}

} // namespace

KNStreamingMultipartFormData::KNStreamingMultipartFormData(
    URLRequest request, QStringConverter::Encoding encoding)
    : m_request(std::move(request))
    , m_stringEncoding(encoding)
    , m_boundary(boundaryFor(QRandomGenerator::system()->generate(), QRandomGenerator::system()->generate()))
    , m_bodyStream(std::make_shared<KNMultipartBodyStream>(encoding))
{
}

QString KNStreamingMultipartFormData::boundaryFor(quint32 first, quint32 second)
{
    const auto hex
        = [](quint32 value) { return QString::number(value, 16).toUpper().rightJustified(8, u'0'); };
    return u"Boundary+"_s + hex(first) + hex(second);
}

QString KNStreamingMultipartFormData::escapedParameterValue(const QString& name)
{
    QString escaped;
    escaped.reserve(name.size());
    for (const QChar c : name) {
        switch (c.unicode()) {
        case u'"':
            escaped += u"%22"_s;
            break;
        case u'\\':
            escaped += u"%5C"_s;
            break;
        case u'\r':
            escaped += u"%0D"_s;
            break;
        case u'\n':
            escaped += u"%0A"_s;
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

QString KNStreamingMultipartFormData::mimeTypeForFileName(const QString& fileName)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(fileName, QMimeDatabase::MatchExtension);
    return type.isDefault() || type.name().isEmpty() ? u"application/octet-stream"_s : type.name();
}

KNMultipartFormData::Headers KNStreamingMultipartFormData::fileHeaders(
    const QString& name, const QString& fileName, const QString& mimeType)
{
    return { { u"Content-Disposition"_s,
                 u"form-data; name=\"%1\"; filename=\"%2\""_s.arg(
                     escapedParameterValue(name), escapedParameterValue(fileName)) },
        { u"Content-Type"_s, mimeType } };
}

bool KNStreamingMultipartFormData::failAppending(Error error, std::optional<Error>* slot)
{
    if (slot)
        *slot = error;
    if (!m_error)
        m_error = std::move(error);
    return false;
}

bool KNStreamingMultipartFormData::appendPartWithFileURL(
    const QUrl& fileURL, const QString& name, std::optional<Error>* error)
{
    const QString fileName = fileURL.fileName();
    return appendPartWithFileURL(fileURL, name, fileName, mimeTypeForFileName(fileName), error);
}

bool KNStreamingMultipartFormData::appendPartWithFileURL(const QUrl& fileURL, const QString& name,
    const QString& fileName, const QString& mimeType, std::optional<Error>* error)
{
    if (!fileURL.isLocalFile())
        return failAppending(
            requestError(platform::Strings::tr("Expected URL to be a file URL"), fileURL), error);
    const QFileInfo info(fileURL.toLocalFile());
    if (!info.exists())
        return failAppending(requestError(platform::Strings::tr("File URL not reachable."), fileURL), error);
    // Found out now rather than half-way through sending; a pipe or a device would have no
    // size to announce, and opening a pipe would wait for its writer.
    if (!info.isFile())
        return failAppending(
            requestError(platform::Strings::tr("The file is not a regular file."), fileURL), error);
    QFile file(info.filePath());
    if (!file.open(QIODevice::ReadOnly))
        return failAppending(requestError(file.errorString(), fileURL), error);
    const quint64 size = quint64(file.size());
    file.close();
    appendPart(fileHeaders(name, fileName, mimeType), fileURL, size);
    return true;
}

void KNStreamingMultipartFormData::appendPartWithInputStream(std::shared_ptr<QIODevice> inputStream,
    const QString& name, const QString& fileName, qint64 length, const QString& mimeType)
{
    if (!inputStream || length < 0) {
        failAppending(requestError(platform::Strings::tr("The body of a part cannot be read."), {}), nullptr);
        return;
    }
    if (!inputStream->isOpen() && !inputStream->open(QIODevice::ReadOnly)) {
        failAppending(requestError(inputStream->errorString(), {}), nullptr);
        return;
    }
    if (!inputStream->isReadable()) {
        failAppending(
            requestError(platform::Strings::tr("The body of a part is not open for reading."), {}), nullptr);
        return;
    }
    appendPart(fileHeaders(name, fileName, mimeType), std::move(inputStream), quint64(length));
}

void KNStreamingMultipartFormData::appendPartWithFileData(
    const QByteArray& data, const QString& name, const QString& fileName, const QString& mimeType)
{
    appendPartWithHeaders(fileHeaders(name, fileName, mimeType), data);
}

void KNStreamingMultipartFormData::appendPartWithFormData(const QByteArray& data, const QString& name)
{
    appendPartWithHeaders(
        { { u"Content-Disposition"_s, u"form-data; name=\"%1\""_s.arg(escapedParameterValue(name)) } }, data);
}

void KNStreamingMultipartFormData::appendPartWithHeaders(const Headers& headers, const QByteArray& body)
{
    appendPart(headers, body, quint64(body.size()));
}

void KNStreamingMultipartFormData::appendPart(Headers headers, KNHTTPBodyPart::Body body, quint64 length)
{
    auto part = std::make_unique<KNHTTPBodyPart>();
    part->setStringEncoding(m_stringEncoding);
    part->setHeaders(std::move(headers));
    part->setBoundary(m_boundary);
    part->setBodyContentLength(length);
    part->setBody(std::move(body));
    m_bodyStream->appendHTTPBodyPart(std::move(part));
}

void KNStreamingMultipartFormData::throttleBandwidthWithPacketSize(quint64 numberOfBytes, double delay)
{
    m_bodyStream->setNumberOfBytesInPacket(numberOfBytes);
    m_bodyStream->setDelay(delay);
}

URLRequest KNStreamingMultipartFormData::requestByFinalizingMultipartFormData()
{
    if (m_bodyStream->isEmpty())
        return m_request;
    m_bodyStream->setInitialAndFinalBoundaries();
    // The transfer reads the device as it is given: it must be open already.
    m_bodyStream->open(QIODevice::ReadOnly);
    m_request.setHttpBodyStream(m_bodyStream);
    m_request.setValue(u"multipart/form-data; boundary=%1"_s.arg(m_boundary).toUtf8(), "Content-Type");
    m_request.setValue(QByteArray::number(m_bodyStream->contentLength()), "Content-Length");
    return m_request;
}

} // namespace net
