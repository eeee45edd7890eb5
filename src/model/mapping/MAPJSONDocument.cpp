#include "model/mapping/MAPJSONDocument.h"

#include "model/mapping/MAPJSONLexing.h"
#include "model/mapping/MAPValue.h"

#include <QVariantList>
#include <QVariantMap>

#include <charconv>
#include <cstring>
#include <limits>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kMaximumDepth = 512;

struct ParseFailure {
    const char* what;
    qsizetype offset;
};

} // namespace

/// Recursive descent over the bytes, appending nodes; children are linked by `next`.
class MAPJSONParser {
public:
    explicit MAPJSONParser(MAPJSONDocument& document)
        : m_doc(document)
        , m_begin(document.m_bytes.constData())
        , m_p(m_begin)
        , m_end(m_begin + document.m_bytes.size())
    {
    }

    void parseDocument()
    {
        if (m_doc.m_bytes.size() >= std::numeric_limits<qint32>::max())
            fail("document too large");
        m_doc.m_nodes.reserve(m_doc.m_bytes.size() / 8 + 1);
        skipSpace();
        if (m_p == m_end)
            fail("empty document");
        parseValue(0);
        skipSpace();
        if (m_p != m_end)
            fail("garbage at the end of the document");
    }

private:
    [[noreturn]] void fail(const char* what) const { throw ParseFailure { what, m_p - m_begin }; }

    void skipSpace() { m_p = MAPJSONLex::skipSpace(m_p, m_end); }

    qint32 addNode(MAPJSONDocument::Type type)
    {
        if (m_doc.m_nodes.size() >= std::numeric_limits<qint32>::max() - 1)
            fail("document too large");
        MAPJSONDocument::Node node;
        node.type = type;
        m_doc.m_nodes.append(node);
        return qint32(m_doc.m_nodes.size() - 1);
    }

    void expectWord(std::string_view word, MAPJSONDocument::Type type)
    {
        const char* start = m_p;
        if (!MAPJSONLex::matchWord(m_p, m_end, word)) {
            m_p = start;
            fail("illegal value");
        }
        addNode(type);
    }

    qint32 parseValue(int depth)
    {
        if (m_p == m_end)
            fail("unexpected end of the document");
        switch (*m_p) {
        case '{':
            return parseContainer(depth, MAPJSONDocument::Object);
        case '[':
            return parseContainer(depth, MAPJSONDocument::Array);
        case '"':
            return parseString();
        case 't':
            expectWord("true", MAPJSONDocument::True);
            break;
        case 'f':
            expectWord("false", MAPJSONDocument::False);
            break;
        case 'n':
            expectWord("null", MAPJSONDocument::Null);
            break;
        default:
            return parseNumber();
        }
        return qint32(m_doc.m_nodes.size() - 1);
    }

    qint32 parseContainer(int depth, MAPJSONDocument::Type type)
    {
        if (depth >= kMaximumDepth)
            fail("too deeply nested");
        const bool object = type == MAPJSONDocument::Object;
        const char close = object ? '}' : ']';
        const qint32 index = addNode(type);
        m_doc.m_nodes[index].children.first = -1;
        m_doc.m_nodes[index].children.count = 0;
        ++m_p;
        skipSpace();
        if (m_p < m_end && *m_p == close) {
            ++m_p;
            return index;
        }
        qint32 last = -1;
        qint32 count = 0;
        const auto link = [&](qint32 child) {
            if (last < 0)
                m_doc.m_nodes[index].children.first = child;
            else
                m_doc.m_nodes[last].next = child;
            last = child;
        };
        for (;;) {
            if (object) {
                if (m_p == m_end || *m_p != '"')
                    fail("expected a member name");
                link(parseString());
                skipSpace();
                if (m_p == m_end || *m_p != ':')
                    fail("expected ':' after a member name");
                ++m_p;
                skipSpace();
            }
            link(parseValue(depth + 1));
            ++count;
            skipSpace();
            if (m_p == m_end)
                fail("unterminated object or array");
            if (*m_p == ',') {
                ++m_p;
                skipSpace();
                continue;
            }
            if (*m_p != close)
                fail(object ? "expected ',' or '}'" : "expected ',' or ']'");
            ++m_p;
            break;
        }
        m_doc.m_nodes[index].children.count = count;
        return index;
    }

    qint32 parseString()
    {
        const char* start = m_p + 1;
        std::string_view raw;
        bool escaped = false;
        switch (MAPJSONLex::scanString<true>(m_p, m_end, raw, escaped)) {
        case MAPJSONLex::Failure::None:
            break;
        case MAPJSONLex::Failure::ControlCharacter:
            fail("control character in a string");
        case MAPJSONLex::Failure::InvalidEscape:
            fail("invalid escape sequence");
        case MAPJSONLex::Failure::InvalidUtf8:
            fail("invalid UTF-8 in a string");
        default:
            fail("unterminated string");
        }
        const qint32 index = addNode(MAPJSONDocument::String);
        MAPJSONDocument::Node& node = m_doc.m_nodes[index];
        node.escaped = escaped;
        node.text.offset = qint32(start - m_begin);
        node.text.length = qint32(raw.size());
        return index;
    }

    qint32 parseNumber()
    {
        const char* start = m_p;
        bool integral = false;
        switch (MAPJSONLex::scanNumber(m_p, m_end, integral)) {
        case MAPJSONLex::Failure::None:
            break;
        case MAPJSONLex::Failure::MissingDigit:
            fail("illegal value");
        default:
            fail("illegal number");
        }
        if (integral) {
            qint64 value = 0;
            const auto [end, error] = std::from_chars(start, m_p, value);
            if (error == std::errc() && end == m_p) {
                const qint32 index = addNode(MAPJSONDocument::Integer);
                m_doc.m_nodes[index].integer = value;
                return index;
            }
        }
        const std::optional<double> value = MAPJSONLex::numberValue(start, m_p);
        if (!value)
            fail("number out of range");
        const qint32 index = addNode(MAPJSONDocument::Double);
        m_doc.m_nodes[index].number = *value;
        return index;
    }

    MAPJSONDocument& m_doc;
    const char* m_begin;
    const char* m_p;
    const char* m_end;
};

platform::Expected<QVariant> MAPJSONDocument::parse(const QByteArray& json)
{
    auto document = std::make_shared<MAPJSONDocument>();
    document->m_bytes = json;
    try {
        MAPJSONParser(*document).parseDocument();
    } catch (const ParseFailure& failure) {
        return platform::Unexpected(
            u"%1 at offset %2"_s.arg(QString::fromLatin1(failure.what), QString::number(failure.offset)));
    }
    document->m_nodes.squeeze();
    return MAPJSONValue { std::move(document), 0 }.toValue();
}

// ---- values

bool MAPJSONValue::member(const QByteArray& utf8Key, MAPJSONValue* out) const
{
    const QList<MAPJSONDocument::Node>& nodes = document->nodes();
    const char* bytes = document->bytes().constData();
    bool found = false;
    for (qint32 key = data().children.first; key >= 0; key = nodes[nodes[key].next].next) {
        const MAPJSONDocument::Node& name = nodes[key];
        const bool same = name.escaped
            ? MAPJSONValue { document, key }.string() == QString::fromUtf8(utf8Key)
            : (name.text.length == utf8Key.size()
                && std::memcmp(bytes + name.text.offset, utf8Key.constData(), size_t(utf8Key.size())) == 0);
        if (same) {
            out->document = document;
            out->node = name.next; // the last one wins, as in other readers
            found = true;
        }
    }
    return found;
}

QList<MAPJSONValue> MAPJSONValue::elements() const
{
    QList<MAPJSONValue> list;
    list.reserve(data().children.count);
    const QList<MAPJSONDocument::Node>& nodes = document->nodes();
    for (qint32 child = data().children.first; child >= 0; child = nodes[child].next)
        list.append(MAPJSONValue { document, child });
    return list;
}

QString MAPJSONValue::string() const
{
    const MAPJSONDocument::Node& n = data();
    const char* text = document->bytes().constData() + n.text.offset;
    if (!n.escaped)
        return QString::fromUtf8(text, n.text.length);
    QString out;
    out.reserve(n.text.length);
    const char* end = text + n.text.length;
    const char* run = text;
    for (const char* p = text; p < end;) {
        if (*p != '\\') {
            ++p;
            continue;
        }
        out += QString::fromUtf8(run, p - run);
        const char e = p[1];
        p += 2;
        switch (e) {
        case 'b':
            out += u'\b';
            break;
        case 'f':
            out += u'\f';
            break;
        case 'n':
            out += u'\n';
            break;
        case 'r':
            out += u'\r';
            break;
        case 't':
            out += u'\t';
            break;
        case 'u': {
            char16_t unit = 0;
            for (int i = 0; i < 4; ++i)
                unit = char16_t((unit << 4) | MAPJSONLex::hexValue(p[i]));
            out += QChar(unit);
            p += 4;
            break;
        }
        default: // '"', '\\', '/'
            out += QLatin1Char(e);
        }
        run = p;
    }
    out += QString::fromUtf8(run, end - run);
    return out;
}

QVariant MAPJSONValue::toValue() const
{
    switch (type()) {
    case MAPJSONDocument::Null:
        return MAPNull();
    case MAPJSONDocument::False:
        return false;
    case MAPJSONDocument::True:
        return true;
    case MAPJSONDocument::Integer:
        return qint64(data().integer);
    case MAPJSONDocument::Double:
        return data().number;
    case MAPJSONDocument::String:
        return string();
    case MAPJSONDocument::Array:
    case MAPJSONDocument::Object:
        break;
    }
    return QVariant::fromValue(*this);
}

QVariantMap MAPJSONValue::toVariantMap() const
{
    QVariantMap map;
    if (!isObject())
        return map;
    const QList<MAPJSONDocument::Node>& nodes = document->nodes();
    for (qint32 key = data().children.first; key >= 0; key = nodes[nodes[key].next].next) {
        const MAPJSONValue value { document, nodes[key].next };
        const QVariant element = value.toValue();
        map.insert(MAPJSONValue { document, key }.string(),
            value.isObject() ? QVariant(value.toVariantMap())
                             : (value.isArray() ? QVariant(value.toVariantList()) : element));
    }
    return map;
}

QVariantList MAPJSONValue::toVariantList() const
{
    QVariantList list;
    if (!isArray())
        return list;
    for (const MAPJSONValue& value : elements()) {
        list.append(value.isObject() ? QVariant(value.toVariantMap())
                                     : (value.isArray() ? QVariant(value.toVariantList()) : value.toValue()));
    }
    return list;
}

bool MAPJSONValue::operator==(const MAPJSONValue& other) const
{
    if (document == other.document && node == other.node)
        return true;
    if (isObject() && other.isObject())
        return MAPValuesEqual(toVariantMap(), other.toVariantMap());
    if (isArray() && other.isArray())
        return MAPValuesEqual(toVariantList(), other.toVariantList());
    return false;
}

namespace {

// Lets `toMap()` and `toList()` on a QVariant holding a document value give plain copies.
const bool s_convertersRegistered = [] {
    QMetaType::registerConverter<MAPJSONValue, QVariantMap>(&MAPJSONValue::toVariantMap);
    QMetaType::registerConverter<MAPJSONValue, QVariantList>(&MAPJSONValue::toVariantList);
    return true;
}();

} // namespace
