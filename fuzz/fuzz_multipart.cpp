// Builds multipart bodies from arbitrary bytes (names and file names with any characters,
// bodies from memory and from devices, any read size and packet size) and parses each
// body back: the parts must come out as they went in, in the length announced.
#include "FuzzApplication.h"
#include "net/request/KNStreamingMultipartFormData.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

namespace {

struct Part {
    QString name;
    std::optional<QString> fileName; // none for a plain field
    QString mimeType;
    QByteArray body;
};

/// Reads the fuzz input as a sequence of choices.
class Input {
public:
    Input(const uint8_t* data, size_t size) : m_data(data), m_size(size) { }
    bool empty() const { return m_offset >= m_size; }
    uint8_t byte() { return empty() ? 0 : m_data[m_offset++]; }
    QByteArray bytes(size_t count)
    {
        count = std::min(count, m_size - std::min(m_offset, m_size));
        QByteArray result(reinterpret_cast<const char*>(m_data + m_offset), qsizetype(count));
        m_offset += count;
        return result;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_offset = 0;
};

[[noreturn]] void mismatch()
{
    std::abort();
}

/// A name as it stands between the quotes.
QString expectedName(const QString& name)
{
    QString expected = name;
    return expected.replace(u'"', QStringLiteral("%22"))
        .replace(u'\\', QStringLiteral("%5C"))
        .replace(u'\r', QStringLiteral("%0D"))
        .replace(u'\n', QStringLiteral("%0A"));
}

/// The value of `key="..."` in a disposition, its escapes undone.
std::optional<QString> quotedParameter(const QString& disposition, const QString& key)
{
    const QString start = QStringLiteral("; ") + key + QStringLiteral("=\"");
    qsizetype at = -1;
    // The parameter's own start: a name may hold the same text inside its quotes.
    for (qsizetype from = 0, inQuotes = 0; from < disposition.size(); ++from) {
        const QChar c = disposition[from];
        if (inQuotes) {
            if (c == u'\\')
                ++from;
            else if (c == u'"')
                inQuotes = 0;
        } else if (disposition.mid(from).startsWith(start)) {
            at = from + start.size();
            break;
        } else if (c == u'"') {
            inQuotes = 1;
        }
    }
    if (at < 0)
        return std::nullopt;
    QString value;
    for (qsizetype i = at; i < disposition.size(); ++i) {
        const QChar c = disposition[i];
        if (c == u'"')
            return value;
        if (c == u'\\') {
            if (++i >= disposition.size())
                mismatch();
            value += disposition[i];
        } else {
            value += c;
        }
    }
    mismatch(); // no closing quote
}

std::vector<Part> parse(const QByteArray& body, const QByteArray& boundary)
{
    const QByteArray first = "--" + boundary + "\r\n";
    const QByteArray delimiter = "\r\n--" + boundary;
    if (!body.startsWith(first) || !body.endsWith(QByteArray(delimiter + "--\r\n")))
        mismatch();
    std::vector<Part> parts;
    qsizetype at = first.size();
    while (true) {
        const qsizetype next = body.indexOf(delimiter, at);
        if (next < 0)
            mismatch();
        const QByteArray whole = body.mid(at, next - at);
        const qsizetype headerEnd = whole.indexOf("\r\n\r\n");
        if (headerEnd < 0)
            mismatch();
        Part part;
        part.body = whole.mid(headerEnd + 4);
        const QByteArray headers = whole.left(headerEnd);
        for (qsizetype from = 0; from <= headers.size();) {
            qsizetype end = headers.indexOf("\r\n", from);
            if (end < 0)
                end = headers.size();
            const QByteArray field = headers.mid(from, end - from);
            from = end + 2;
            // A line break inside a field would be a header line of its own.
            if (field.contains('\r') || field.contains('\n'))
                mismatch();
            const qsizetype colon = field.indexOf(": ");
            if (colon < 0)
                mismatch();
            const QString name = QString::fromUtf8(field.left(colon));
            const QString value = QString::fromUtf8(field.mid(colon + 2));
            if (name == QStringLiteral("Content-Disposition")) {
                if (!value.startsWith(QStringLiteral("form-data; name=\"")))
                    mismatch();
                part.name = quotedParameter(value, QStringLiteral("name")).value_or(QString());
                part.fileName = quotedParameter(value, QStringLiteral("filename"));
            } else if (name == QStringLiteral("Content-Type")) {
                part.mimeType = value;
            } else {
                mismatch();
            }
        }
        parts.push_back(part);
        at = next + delimiter.size();
        if (body.mid(at, 4) == "--\r\n")
            break;
        if (body.mid(at, 2) != "\r\n")
            mismatch();
        at += 2;
    }
    if (at + 4 != body.size())
        mismatch();
    return parts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ensureApplication();
    Input input(data, size);
    const qint64 chunk = 1 + input.byte() % 64 * (input.byte() % 4 == 0 ? 64 : 1);
    const quint8 packet = input.byte();

    net::KNStreamingMultipartFormData formData(
        net::URLRequest(QUrl(QStringLiteral("http://127.0.0.1/"))), QStringConverter::Utf8);
    if (packet % 3 == 0)
        formData.throttleBandwidthWithPacketSize(1 + packet, 0);
    std::vector<Part> expected;
    const int count = 1 + input.byte() % 6;
    for (int i = 0; i < count && !input.empty(); ++i) {
        const uint8_t kind = input.byte() % 3;
        Part part;
        // Names as text: bytes that are not UTF-8 become replacement characters on both sides.
        part.name = QString::fromUtf8(input.bytes(input.byte() % 24));
        part.body = input.bytes(input.byte() % 2 == 0 ? input.byte() : input.byte() * 16);
        if (kind == 0) {
            formData.appendPartWithFormData(part.body, part.name);
        } else {
            part.fileName = QString::fromUtf8(input.bytes(input.byte() % 16));
            part.mimeType = QStringLiteral("application/octet-stream");
            if (kind == 1) {
                formData.appendPartWithFileData(part.body, part.name, *part.fileName, part.mimeType);
            } else {
                auto device = std::make_shared<QBuffer>();
                device->setData(part.body);
                formData.appendPartWithInputStream(
                    device, part.name, *part.fileName, part.body.size(), part.mimeType);
            }
        }
        expected.push_back(part);
    }
    if (formData.error())
        mismatch();
    const net::URLRequest request = formData.requestByFinalizingMultipartFormData();
    if (expected.empty()) {
        if (request.httpBodyStream())
            mismatch();
        return 0;
    }
    QIODevice& stream = *request.httpBodyStream();
    QByteArray body;
    QByteArray buffer(chunk, '\0');
    while (true) {
        const qint64 got = stream.read(buffer.data(), chunk);
        if (got < 0 || (got == 0 && stream.atEnd()))
            break;
        if (got == 0)
            mismatch(); // memory bodies never wait
        body.append(buffer.constData(), got);
    }
    if (formData.bodyStream()->hasFailed() || !stream.atEnd())
        mismatch();
    if (request.valueForHTTPHeaderField("Content-Length") != QByteArray::number(body.size()))
        mismatch();

    const std::vector<Part> parsed = parse(body, formData.boundary().toUtf8());
    if (parsed.size() != expected.size())
        mismatch();
    for (size_t i = 0; i < parsed.size(); ++i) {
        const Part& want = expected[i];
        const Part& got = parsed[i];
        if (got.name != expectedName(want.name) || got.body != want.body || got.mimeType != want.mimeType)
            mismatch();
        if (want.fileName.has_value() != got.fileName.has_value()
            || (want.fileName && *got.fileName != expectedName(*want.fileName)))
            mismatch();
    }
    return 0;
}
