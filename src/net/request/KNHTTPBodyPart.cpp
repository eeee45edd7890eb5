#include "net/request/KNHTTPBodyPart.h"

#include "platform/Strings.h"

#include <QBuffer>
#include <QFile>
#include <QStringEncoder>

#include <algorithm>
#include <cstring>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString crlf = u"\r\n"_s;

/// A device's own error text, or nothing when it has none.
QString deviceErrorText(const QIODevice& device)
{
    static const QString noText = QBuffer().errorString();
    const QString text = device.errorString();
    return text == noText ? QString() : text;
}

} // namespace

namespace net {

KNHTTPBodyPart::KNHTTPBodyPart()
{
    transitionToNextPhase();
}

KNHTTPBodyPart::~KNHTTPBodyPart()
{
    if (m_inputStream)
        m_inputStream->close();
}

std::unique_ptr<KNHTTPBodyPart> KNHTTPBodyPart::copy() const
{
    auto part = std::make_unique<KNHTTPBodyPart>();
    part->m_stringEncoding = m_stringEncoding;
    part->m_headers = m_headers;
    part->m_bodyContentLength = m_bodyContentLength;
    part->m_body = m_body;
    part->m_boundary = m_boundary;
    return part;
}

QIODevice* KNHTTPBodyPart::inputStream()
{
    if (!m_inputStream) {
        if (const auto* data = std::get_if<QByteArray>(&m_body)) {
            auto buffer = std::make_shared<QBuffer>();
            buffer->setData(*data);
            m_inputStream = std::move(buffer);
        } else if (const auto* url = std::get_if<QUrl>(&m_body)) {
            m_inputStream = std::make_shared<QFile>(url->toLocalFile());
        } else {
            m_inputStream = std::get<std::shared_ptr<QIODevice>>(m_body);
        }
        if (!m_inputStream)
            m_inputStream = std::make_shared<QBuffer>();
    }
    return m_inputStream.get();
}

QByteArray KNHTTPBodyPart::encoded(const QString& text) const
{
    if (m_stringEncoding == QStringConverter::Utf8)
        return text.toUtf8();
    QStringEncoder encoder(m_stringEncoding);
    return encoder.encode(text);
}

QString KNHTTPBodyPart::stringForHeaders() const
{
    QString text;
    for (const auto& [name, value] : m_headers)
        text += name + u": "_s + value + crlf;
    return text + crlf;
}

QByteArray KNHTTPBodyPart::openingBoundaryBytes() const
{
    const QString text = u"--"_s + m_boundary + crlf;
    return encoded(m_hasInitialBoundary ? text : crlf + text);
}

QByteArray KNHTTPBodyPart::closingBoundaryBytes() const
{
    if (!m_hasFinalBoundary)
        return {};
    const QString text = crlf + u"--"_s + m_boundary + u"--"_s + crlf;
    return encoded(text);
}

quint64 KNHTTPBodyPart::contentLength() const
{
    return quint64(openingBoundaryBytes().size()) + quint64(encoded(stringForHeaders()).size())
        + m_bodyContentLength + quint64(closingBoundaryBytes().size());
}

bool KNHTTPBodyPart::hasBytesAvailable() const
{
    return !m_done && !m_failed;
}

void KNHTTPBodyPart::fail(const QString& reason)
{
    m_failed = true;
    m_errorString = reason;
}

qint64 KNHTTPBodyPart::read(char* buffer, qint64 length)
{
    if (m_failed)
        return -1;
    if (m_done)
        return 0;
    qint64 total = 0;
    if (m_phase == EncapsulationBoundaryPhase)
        total += readData(openingBoundaryBytes(), buffer + total, length - total);
    if (m_phase == HeaderPhase)
        total += readData(encoded(stringForHeaders()), buffer + total, length - total);
    if (m_failed)
        return -1; // the body could not be opened
    if (m_phase == BodyPhase) {
        const qint64 count = readBody(buffer + total, length - total);
        if (count < 0)
            return -1;
        total += count;
    }
    if (m_phase == FinalBoundaryPhase)
        total += readData(closingBoundaryBytes(), buffer + total, length - total);
    return m_failed ? -1 : total;
}

qint64 KNHTTPBodyPart::readBody(char* buffer, qint64 length)
{
    const quint64 remaining = m_bodyContentLength - m_bodyBytesRead;
    if (remaining == 0) {
        transitionToNextPhase();
        return 0;
    }
    if (length <= 0)
        return 0;
    QIODevice* device = inputStream();
    const qint64 count = device->read(buffer, qint64(std::min<quint64>(quint64(length), remaining)));
    // A sequential device with nothing at the moment answers 0 and has more later; any other
    // end before the declared length would shift every later byte against the announced
    // length, so it fails the body.
    if (count < 0 || (count == 0 && !device->isSequential())) {
        const QString reason = count < 0 ? deviceErrorText(*device) : QString();
        fail(reason.isEmpty() ? platform::Strings::tr("The body of a part ended after %1 of %2 bytes.")
                                    .arg(m_bodyBytesRead)
                                    .arg(m_bodyContentLength)
                              : reason);
        return -1;
    }
    m_bodyBytesRead += quint64(count);
    if (m_bodyBytesRead == m_bodyContentLength)
        transitionToNextPhase();
    return count;
}

qint64 KNHTTPBodyPart::readData(const QByteArray& data, char* buffer, qint64 length)
{
    const quint64 offset = std::min<quint64>(m_phaseReadOffset, quint64(data.size()));
    const qint64 count = std::max<qint64>(0, std::min<qint64>(qint64(data.size() - offset), length));
    if (count > 0)
        std::memcpy(buffer, data.constData() + offset, size_t(count));
    m_phaseReadOffset += quint64(count);
    if (m_phaseReadOffset >= quint64(data.size()))
        transitionToNextPhase();
    return count;
}

bool KNHTTPBodyPart::transitionToNextPhase()
{
    switch (m_phase) {
    case EncapsulationBoundaryPhase:
        m_phase = HeaderPhase;
        break;
    case HeaderPhase: {
        m_phase = BodyPhase;
        m_bodyBytesRead = 0;
        QIODevice* device = inputStream();
        if (!device->isOpen() && !device->open(QIODevice::ReadOnly)) {
            const QString reason = deviceErrorText(*device);
            fail(
                reason.isEmpty() ? platform::Strings::tr("The body of a part could not be opened.") : reason);
        } else if (!device->isReadable()) {
            fail(platform::Strings::tr("The body of a part is not open for reading."));
        }
        break;
    }
    case BodyPhase:
        m_phase = FinalBoundaryPhase;
        if (m_inputStream)
            m_inputStream->close();
        break;
    case FinalBoundaryPhase:
        m_done = true;
        m_phase = EncapsulationBoundaryPhase;
        break;
    case NoPhase:
        m_phase = EncapsulationBoundaryPhase;
        break;
    }
    m_phaseReadOffset = 0;
    return !m_failed;
}

} // namespace net
