// The XML form: an optional <plist> around one value; <dict> holds <key> and value pairs.
#include "net/serialization/PropertyListReading.h"

#include "platform/Strings.h"

#include <QDateTime>
#include <QXmlStreamReader>

namespace net::propertylist {
namespace {

class XMLReader {
public:
    explicit XMLReader(const QByteArray& data) : m_reader(data) { }

    platform::Expected<QVariant> read()
    {
        if (!m_reader.readNextStartElement())
            return fail();
        const bool wrapped = m_reader.name() == u"plist";
        if (wrapped && !m_reader.readNextStartElement())
            return fail();
        QVariant result;
        if (!value(0, result))
            return fail();
        // Nothing but the closing </plist> may follow the value.
        if (wrapped && m_reader.readNextStartElement())
            return fail();
        while (!m_reader.atEnd()) {
            if (m_reader.readNext() == QXmlStreamReader::StartElement)
                return fail();
        }
        if (m_reader.hasError())
            return fail();
        return result;
    }

private:
    platform::Unexpected fail() const
    {
        if (m_reader.hasError()) {
            return platform::Unexpected(platform::Strings::tr("The property list is not valid: %1 (line %2)")
                                            .arg(m_reader.errorString())
                                            .arg(m_reader.lineNumber()));
        }
        return platform::Unexpected(
            platform::Strings::tr("The property list is not valid (line %1)").arg(m_reader.lineNumber()));
    }

    // The reader stands on the start element of a value; it is left on its end element.
    bool value(int depth, QVariant& out)
    {
        if (depth > maximumPropertyListDepth)
            return false;
        const QStringView name = m_reader.name();
        if (name == u"dict")
            return dictionary(depth, out);
        if (name == u"array")
            return array(depth, out);
        if (name == u"true" || name == u"false") {
            out = name == u"true";
            return m_reader.readElementText().trimmed().isEmpty() && !m_reader.hasError();
        }
        if (name != u"string" && name != u"integer" && name != u"real" && name != u"date" && name != u"data")
            return false;
        const QString kind = name.toString();
        const QString text = m_reader.readElementText();
        if (m_reader.hasError())
            return false;
        if (kind == u"string") {
            out = text;
            return true;
        }
        if (kind == u"integer")
            return integer(text.trimmed(), out);
        if (kind == u"real") {
            bool ok = false;
            out = text.trimmed().toDouble(&ok);
            return ok;
        }
        if (kind == u"date") {
            const QDateTime date = QDateTime::fromString(text.trimmed(), Qt::ISODate);
            out = date.toUTC();
            return date.isValid();
        }
        QByteArray base64 = text.toLatin1();
        base64.replace(' ', "").replace('\n', "").replace('\r', "").replace('\t', "");
        const auto decoded = QByteArray::fromBase64Encoding(base64, QByteArray::AbortOnBase64DecodingErrors);
        out = decoded.decoded;
        return bool(decoded);
    }

    static bool integer(const QString& text, QVariant& out)
    {
        bool ok = false;
        const qint64 value = text.toLongLong(&ok, 10);
        if (ok) {
            out = value;
            return true;
        }
        const quint64 large = text.toULongLong(&ok, 10);
        out = large;
        return ok;
    }

    bool array(int depth, QVariant& out)
    {
        QVariantList elements;
        while (m_reader.readNextStartElement()) {
            QVariant element;
            if (!value(depth + 1, element))
                return false;
            elements.append(std::move(element));
        }
        out = elements;
        return !m_reader.hasError();
    }

    bool dictionary(int depth, QVariant& out)
    {
        QVariantMap map;
        while (m_reader.readNextStartElement()) {
            if (m_reader.name() != u"key")
                return false;
            const QString key = m_reader.readElementText();
            QVariant element;
            if (m_reader.hasError() || !m_reader.readNextStartElement() || !value(depth + 1, element))
                return false;
            map.insert(key, std::move(element));
        }
        out = map;
        return !m_reader.hasError();
    }

    QXmlStreamReader m_reader;
};

} // namespace

platform::Expected<QVariant> readXML(const QByteArray& data)
{
    return XMLReader(data).read();
}

} // namespace net::propertylist
