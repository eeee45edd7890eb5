#include "net/request/BodyWriting.h"
#include "net/request/ParameterValues.h"

#include <QDateTime>
#include <QLocale>

#include <cmath>

namespace net {
namespace {

bool isXMLCharacter(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
        || (c >= 0x10000 && c <= 0x10FFFF);
}

class PropertyListWriter {
public:
    bool write(const QVariant& value, int depth)
    {
        indent(depth);
        switch (parameterKind(value)) {
        case ParameterKind::Dictionary:
            return writeDictionary(dictionaryEntriesInKeyOrder(value), depth);
        case ParameterKind::Array:
            return writeArray(value.toList(), depth);
        case ParameterKind::String:
            return writeText("string", value.toString());
        case ParameterKind::Boolean:
            m_out += value.toBool() ? "<true/>\n" : "<false/>\n";
            return true;
        case ParameterKind::SignedInteger:
            m_out += "<integer>" + QByteArray::number(value.toLongLong()) + "</integer>\n";
            return true;
        case ParameterKind::UnsignedInteger:
            m_out += "<integer>" + QByteArray::number(value.toULongLong()) + "</integer>\n";
            return true;
        case ParameterKind::Real:
            m_out += "<real>" + realText(value.toDouble()) + "</real>\n";
            return true;
        case ParameterKind::Data:
            m_out += "<data>" + value.toByteArray().toBase64() + "</data>\n";
            return true;
        case ParameterKind::Date: {
            const QDateTime date = value.toDateTime();
            if (!date.isValid())
                break;
            m_out += "<date>" + date.toUTC().toString(Qt::ISODate).toLatin1() + "</date>\n";
            return true;
        }
        default:
            break;
        }
        m_reason = QStringLiteral("Property list invalid for format (%1)").arg(parameterTypeName(value));
        return false;
    }

    QByteArray take() { return std::move(m_out); }
    const QString& reason() const { return m_reason; }

private:
    static QByteArray realText(double number)
    {
        if (std::isnan(number))
            return "nan";
        if (std::isinf(number))
            return number > 0 ? "inf" : "-inf";
        return QByteArray::number(number, 'g', QLocale::FloatingPointShortest);
    }

    void indent(int depth) { m_out += QByteArray(depth, '\t'); }

    bool writeDictionary(const QList<std::pair<QString, QVariant>>& entries, int depth)
    {
        if (entries.isEmpty()) {
            m_out += "<dict/>\n";
            return true;
        }
        m_out += "<dict>\n";
        for (const auto& [key, element] : entries) {
            indent(depth + 1);
            if (!writeText("key", key) || !write(element, depth + 1))
                return false;
        }
        indent(depth);
        m_out += "</dict>\n";
        return true;
    }

    bool writeArray(const QVariantList& list, int depth)
    {
        if (list.isEmpty()) {
            m_out += "<array/>\n";
            return true;
        }
        m_out += "<array>\n";
        for (const QVariant& element : list)
            if (!write(element, depth + 1))
                return false;
        indent(depth);
        m_out += "</array>\n";
        return true;
    }

    // A reader would fold a bare carriage return into a line feed, so it is written as a
    // character reference; characters XML cannot carry at all fail the write.
    bool writeText(const char* tag, const QString& text)
    {
        QByteArray escaped;
        for (qsizetype i = 0; i < text.size(); ++i) {
            char32_t c = text.at(i).unicode();
            qsizetype length = 1;
            if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
                c = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
                length = 2;
            }
            if (!isXMLCharacter(c)) {
                m_reason = QStringLiteral("Property list text holds a character XML cannot carry (U+%1)")
                               .arg(uint(c), 4, 16, QLatin1Char('0'));
                return false;
            }
            switch (c) {
            case U'&':
                escaped += "&amp;";
                break;
            case U'<':
                escaped += "&lt;";
                break;
            case U'>':
                escaped += "&gt;";
                break;
            case U'\r':
                escaped += "&#13;";
                break;
            default:
                escaped += QStringView(text).mid(i, length).toUtf8();
            }
            i += length - 1;
        }
        m_out += '<' + QByteArray(tag) + '>' + escaped + "</" + QByteArray(tag) + ">\n";
        return true;
    }

    QByteArray m_out;
    QString m_reason;
};

} // namespace

WrittenBody writeXMLPropertyList(const QVariant& value)
{
    PropertyListWriter writer;
    if (!writer.write(value, 0))
        return writer.reason();
    return QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n")
        + writer.take() + QByteArrayLiteral("</plist>\n");
}

} // namespace net
