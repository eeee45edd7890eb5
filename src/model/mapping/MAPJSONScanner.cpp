#include "model/mapping/MAPJSONScanner.h"

#include "model/mapping/MAPJSONLexing.h"

#include <algorithm>

namespace {

constexpr int kMaxDepth = 512;

void appendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out.push_back(char(code));
    } else if (code < 0x800) {
        out.push_back(char(0xC0 | (code >> 6)));
        out.push_back(char(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(char(0xE0 | (code >> 12)));
        out.push_back(char(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(char(0x80 | (code & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (code >> 18)));
        out.push_back(char(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(char(0x80 | (code & 0x3F)));
    }
}

} // namespace

JSONScanner::MemberNames::Name* JSONScanner::MemberNames::find(std::string_view name)
{
    const auto same = [name](const Name& seen) { return std::string_view(seen.data, seen.size) == name; };
    const int inFirst = std::min(m_count, int(std::size(m_first)));
    Name* const found = std::find_if(m_first, m_first + inFirst, same);
    if (found != m_first + inFirst)
        return found;
    if (m_overflow) {
        const auto more = std::find_if(m_overflow->names.begin(), m_overflow->names.end(), same);
        if (more != m_overflow->names.end())
            return &*more;
    }
    return nullptr;
}

bool JSONScanner::MemberNames::insertSlowly(std::string_view name, bool inText, std::uint64_t bit)
{
    if ((m_hashes & bit) != 0 && find(name))
        return false;
    m_hashes |= bit;
    if (!inText || m_count >= int(std::size(m_first))) {
        if (!m_overflow)
            m_overflow = std::make_unique<Overflow>();
        if (!inText)
            name = m_overflow->copies.emplace_front(name);
    }
    if (m_count < int(std::size(m_first)))
        m_first[m_count] = Name { name.data(), name.size() };
    else
        m_overflow->names.push_back(Name { name.data(), name.size() });
    ++m_count;
    return true;
}

JSONScanner::JSONScanner(QByteArrayView text)
    : m_begin(text.data()), m_pos(text.data()), m_end(text.data() + text.size())
{
    if (text.startsWith("\xEF\xBB\xBF"))
        m_pos += 3;
}

void JSONScanner::fail(const char* what) const
{
    // A byte no UTF-8 text holds says more about the file than what the grammar expected.
    const auto* byte = reinterpret_cast<const unsigned char*>(m_pos);
    if (m_pos < m_end && *byte >= 0x80
        && MAPJSONLex::utf8SequenceLength(byte, reinterpret_cast<const unsigned char*>(m_end)) == 0)
        throw SyntaxError { m_pos - m_begin, "not UTF-8", true };
    throw SyntaxError { m_pos - m_begin, what };
}

void JSONScanner::skipWhitespace()
{
    // Saved files hold no whitespace between tokens.
    if (m_pos < m_end && !MAPJSONLex::isSpaceOrControl(*m_pos))
        return;
    m_pos = MAPJSONLex::skipSpace(m_pos, m_end);
}

void JSONScanner::expect(char c)
{
    skipWhitespace();
    if (m_pos >= m_end)
        fail("unexpected end of text");
    if (*m_pos != c)
        fail("unexpected character");
    ++m_pos;
}

JSONScanner::Kind JSONScanner::peek()
{
    skipWhitespace();
    if (m_pos >= m_end)
        fail("unexpected end of text");
    switch (*m_pos) {
    case '{':
        return Kind::Object;
    case '[':
        return Kind::Array;
    case '"':
        return Kind::String;
    case 't':
    case 'f':
        return Kind::Boolean;
    case 'n':
        return Kind::Null;
    default:
        if (*m_pos == '-' || MAPJSONLex::isDigit(*m_pos))
            return Kind::Number;
        fail("unexpected character");
    }
}

const char* JSONScanner::describe(Kind kind)
{
    switch (kind) {
    case Kind::Object:
        return "an object";
    case Kind::Array:
        return "a list";
    case Kind::String:
        return "a text";
    case Kind::Number:
        return "a number";
    case Kind::Boolean:
        return "a boolean";
    case Kind::Null:
        break;
    }
    return "null";
}

void JSONScanner::beginObject()
{
    expect('{');
}

bool JSONScanner::nextMember(bool& first, std::string_view& key, MemberNames& names)
{
    skipWhitespace();
    if (m_pos < m_end && *m_pos == '}') {
        ++m_pos;
        return false; // after "{" or after a member
    }
    if (!first)
        expect(',');
    first = false;
    skipWhitespace();
    if (m_pos >= m_end || *m_pos != '"')
        fail("expected a member name");
    const qsizetype offset = m_pos - m_begin;
    bool escaped = false;
    key = scanString(escaped);
    if (escaped) {
        m_buffer.clear();
        decodeEscapes(key, m_buffer);
        key = m_buffer;
    }
    if (!names.insert(key, !escaped))
        throw RepeatedMember { offset, std::string(key) };
    expect(':');
    return true;
}

void JSONScanner::beginArray()
{
    expect('[');
}

bool JSONScanner::nextElement(bool& first)
{
    skipWhitespace();
    if (m_pos < m_end && *m_pos == ']') {
        ++m_pos;
        return false;
    }
    if (!first)
        expect(',');
    first = false;
    return true;
}

std::string_view JSONScanner::scanString(bool& escaped)
{
    std::string_view raw;
    switch (MAPJSONLex::scanString<false, true>(m_pos, m_end, raw, escaped)) {
    case MAPJSONLex::Failure::None:
        return raw;
    case MAPJSONLex::Failure::ControlCharacter:
        fail("control character in text");
    case MAPJSONLex::Failure::InvalidUtf8:
        fail("not UTF-8");
    default:
        fail("unterminated text");
    }
}

void JSONScanner::decodeEscapes(std::string_view raw, std::string& out) const
{
    out.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\\') {
            out.push_back(raw[i]);
            continue;
        }
        const char kind = raw[++i];
        switch (kind) {
        case '"':
        case '\\':
        case '/':
            out.push_back(kind);
            break;
        case 'b':
            out.push_back('\b');
            break;
        case 'f':
            out.push_back('\f');
            break;
        case 'n':
            out.push_back('\n');
            break;
        case 'r':
            out.push_back('\r');
            break;
        case 't':
            out.push_back('\t');
            break;
        case 'u': {
            const char* rawEnd = raw.data() + raw.size();
            const auto hex4 = [&](size_t at) { return MAPJSONLex::hex4(raw.data() + at, rawEnd); };
            const int unit = hex4(i + 1);
            if (unit < 0)
                throw SyntaxError { qsizetype(raw.data() - m_begin + i), "invalid \\u escape" };
            i += 4;
            char32_t code = char32_t(unit);
            if (unit >= 0xD800 && unit < 0xDC00) {
                const int low
                    = (i + 2 < raw.size() && raw[i + 1] == '\\' && raw[i + 2] == 'u') ? hex4(i + 3) : -1;
                if (low >= 0xDC00 && low < 0xE000) {
                    code = 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(low) - 0xDC00);
                    i += 6;
                } else {
                    code = 0xFFFD; // a lone surrogate cannot be text
                }
            } else if (unit >= 0xDC00 && unit < 0xE000) {
                code = 0xFFFD;
            }
            appendUtf8(out, code);
            break;
        }
        default:
            throw SyntaxError { qsizetype(raw.data() - m_begin + i), "invalid escape" };
        }
    }
}

QString JSONScanner::readString(Interner* interner)
{
    skipWhitespace();
    if (m_pos >= m_end || *m_pos != '"')
        fail("expected a text");
    bool escaped = false;
    const std::string_view raw = scanString(escaped);
    if (escaped) {
        m_buffer.clear();
        decodeEscapes(raw, m_buffer);
        return QString::fromUtf8(m_buffer.data(), qsizetype(m_buffer.size()));
    }
    if (raw.empty())
        return QString(0, QChar());
    if (interner) {
        auto [it, inserted] = interner->try_emplace(raw);
        if (inserted)
            it->second = QString::fromUtf8(raw.data(), qsizetype(raw.size()));
        return it->second;
    }
    return QString::fromUtf8(raw.data(), qsizetype(raw.size()));
}

std::optional<double> JSONScanner::readNumber()
{
    skipWhitespace();
    const char* start = m_pos;
    bool integral = false;
    if (MAPJSONLex::scanNumber(m_pos, m_end, integral) != MAPJSONLex::Failure::None)
        fail("invalid number");
    return MAPJSONLex::numberValue(start, m_pos);
}

void JSONScanner::literal(std::string_view word)
{
    if (!MAPJSONLex::matchWord(m_pos, m_end, word))
        fail("invalid literal");
}

bool JSONScanner::readBoolean()
{
    skipWhitespace();
    if (m_pos < m_end && *m_pos == 't') {
        literal("true");
        return true;
    }
    literal("false");
    return false;
}

void JSONScanner::readNull()
{
    skipWhitespace();
    literal("null");
}

void JSONScanner::skipValue()
{
    skipValue(0);
}

void JSONScanner::skipValue(int depth)
{
    if (depth > kMaxDepth)
        fail("nested too deeply");
    bool first = true;
    switch (peek()) {
    case Kind::Object: {
        beginObject();
        std::string_view key;
        MemberNames names;
        while (nextMember(first, key, names))
            skipValue(depth + 1);
        break;
    }
    case Kind::Array:
        beginArray();
        while (nextElement(first))
            skipValue(depth + 1);
        break;
    case Kind::String: {
        bool escaped = false;
        const std::string_view raw = scanString(escaped);
        if (escaped) {
            m_buffer.clear();
            decodeEscapes(raw, m_buffer); // validates the escapes
        }
        break;
    }
    case Kind::Number:
        (void)readNumber();
        break;
    case Kind::Boolean:
        (void)readBoolean();
        break;
    case Kind::Null:
        readNull();
        break;
    }
}

void JSONScanner::expectEnd()
{
    skipWhitespace();
    if (m_pos != m_end)
        fail("unexpected text after the document");
}
