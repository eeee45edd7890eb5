#include "net/request/BodyWriting.h"
#include "net/request/ParameterValues.h"

#include <QLocale>

#include <cmath>

namespace net {
namespace {

class JSONWriter {
public:
    explicit JSONWriter(bool pretty) : m_pretty(pretty) { }

    bool write(const QVariant& value, int depth)
    {
        switch (parameterKind(value)) {
        case ParameterKind::Dictionary:
            return writeObject(dictionaryEntriesInKeyOrder(value), depth);
        case ParameterKind::Array:
            return writeArray(value.toList(), depth);
        case ParameterKind::String:
            return writeString(value.toString());
        case ParameterKind::Boolean:
            m_out += value.toBool() ? "true" : "false";
            return true;
        case ParameterKind::SignedInteger:
            m_out += QByteArray::number(value.toLongLong());
            return true;
        case ParameterKind::UnsignedInteger:
            m_out += QByteArray::number(value.toULongLong());
            return true;
        case ParameterKind::Real: {
            const double number = value.toDouble();
            if (!std::isfinite(number)) {
                m_reason = QStringLiteral("Invalid number value (%1) in JSON write").arg(number);
                return false;
            }
            m_out += QByteArray::number(number, 'g', QLocale::FloatingPointShortest);
            return true;
        }
        case ParameterKind::NullMarker:
            m_out += "null";
            return true;
        default:
            break;
        }
        m_reason = QStringLiteral("Invalid type in JSON write (%1)").arg(parameterTypeName(value));
        return false;
    }

    QByteArray take() { return std::move(m_out); }
    const QString& reason() const { return m_reason; }

private:
    void newline(int depth)
    {
        if (!m_pretty)
            return;
        m_out += '\n';
        m_out += QByteArray(depth * 2, ' ');
    }

    bool writeObject(const QList<std::pair<QString, QVariant>>& entries, int depth)
    {
        if (entries.isEmpty()) {
            m_out += "{}";
            return true;
        }
        m_out += '{';
        bool first = true;
        for (const auto& [key, element] : entries) {
            if (!first)
                m_out += ',';
            first = false;
            newline(depth + 1);
            if (!writeString(key))
                return false;
            m_out += m_pretty ? " : " : ":";
            if (!write(element, depth + 1))
                return false;
        }
        newline(depth);
        m_out += '}';
        return true;
    }

    bool writeArray(const QVariantList& list, int depth)
    {
        if (list.isEmpty()) {
            m_out += "[]";
            return true;
        }
        m_out += '[';
        bool first = true;
        for (const QVariant& element : list) {
            if (!first)
                m_out += ',';
            first = false;
            newline(depth + 1);
            if (!write(element, depth + 1))
                return false;
        }
        newline(depth);
        m_out += ']';
        return true;
    }

    bool writeString(const QString& text)
    {
        m_out += '"';
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t c = text.at(i).unicode();
            if (QChar::isSurrogate(c)) {
                const bool pair
                    = QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
                if (!pair) {
                    m_reason = QStringLiteral("Invalid string (lone surrogate) in JSON write");
                    return false;
                }
                m_out += QStringView(text).mid(i, 2).toUtf8();
                ++i;
                continue;
            }
            switch (c) {
            case u'"':
                m_out += "\\\"";
                break;
            case u'\\':
                m_out += "\\\\";
                break;
            case u'\b':
                m_out += "\\b";
                break;
            case u'\f':
                m_out += "\\f";
                break;
            case u'\n':
                m_out += "\\n";
                break;
            case u'\r':
                m_out += "\\r";
                break;
            case u'\t':
                m_out += "\\t";
                break;
            default:
                if (c < 0x20)
                    m_out += QByteArray("\\u") + QByteArray::number(int(c), 16).rightJustified(4, '0');
                else
                    m_out += QStringView(text).mid(i, 1).toUtf8();
            }
        }
        m_out += '"';
        return true;
    }

    bool m_pretty;
    QByteArray m_out;
    QString m_reason;
};

} // namespace

WrittenBody writeJSON(const QVariant& value, quint64 options)
{
    const ParameterKind kind = parameterKind(value);
    const bool container = kind == ParameterKind::Dictionary || kind == ParameterKind::Array;
    if (!container && !(options & KNJSONWritingFragmentsAllowed))
        return QStringLiteral("Invalid top-level type in JSON write");
    JSONWriter writer(options & KNJSONWritingPrettyPrinted);
    if (!writer.write(value, 0))
        return writer.reason();
    return writer.take();
}

} // namespace net
