#pragma once

#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>

/// The tokens of JSON text (RFC 8259) over raw bytes, shared by the pull reader
/// (`JSONScanner`) and the tree parser (`MAPJSONDocument`). Each function leaves `p` at the
/// offending byte when it fails, so the callers report their own texts with that offset.
namespace MAPJSONLex {

enum class Failure {
    None,
    EndOfText,
    ControlCharacter,
    InvalidEscape,
    InvalidUtf8,
    MissingDigit, // where a number must start
    MissingFractionOrExponentDigit,
};

inline const char* skipSpace(const char* p, const char* end)
{
    while (p < end && (*p == ' ' || *p == '\n' || *p == '\r' || *p == '\t'))
        ++p;
    return p;
}

/// Whitespace and the other bytes below the space.
inline bool isSpaceOrControl(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

inline bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

inline int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

/// The code unit of the four hex digits at `p` (before `end`), or -1.
inline int hex4(const char* p, const char* end)
{
    if (end - p < 4)
        return -1;
    int value = 0;
    for (int k = 0; k < 4; ++k) {
        const int digit = hexValue(p[k]);
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

/// Length of the valid UTF-8 sequence at `p` (before `end`), or 0.
inline int utf8SequenceLength(const unsigned char* p, const unsigned char* end)
{
    const unsigned char c = *p;
    int length = 0;
    char32_t minimum = 0;
    char32_t value = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
        value = c & 0x1F;
        minimum = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        value = c & 0x0F;
        minimum = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        value = c & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (end - p < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (p[i] & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    return length;
}

/// A string from its opening quote at `p`: on success `raw` is its text without quotes and
/// `p` is past the closing quote. `Strict` also checks escapes here; otherwise escapes are
/// only stepped over (the caller checks them as it decodes). `CheckUtf8` checks the bytes.
template <bool Strict, bool CheckUtf8 = Strict>
inline Failure scanString(const char*& p, const char* end, std::string_view& raw, bool& escaped)
{
    // The bytes that need a look of their own; most of a text is none of them.
    static constexpr std::array<bool, 256> special = [] {
        std::array<bool, 256> table {};
        for (int c = 0; c < 256; ++c)
            table[size_t(c)] = c < 0x20 || c == '"' || c == '\\' || (CheckUtf8 && c >= 0x80);
        return table;
    }();
    ++p; // the opening quote
    const char* start = p;
    escaped = false;
    while (p < end) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (!special[c]) {
            ++p;
            continue;
        }
        if (c == '"') {
            raw = std::string_view(start, size_t(p - start));
            ++p;
            return Failure::None;
        }
        if (c < 0x20)
            return Failure::ControlCharacter;
        if (c == '\\') {
            escaped = true;
            ++p;
            if (p >= end)
                return Failure::EndOfText;
            if constexpr (Strict) {
                switch (*p) {
                case '"':
                case '\\':
                case '/':
                case 'b':
                case 'f':
                case 'n':
                case 'r':
                case 't':
                    break;
                case 'u':
                    if (hex4(p + 1, end) < 0)
                        return Failure::InvalidEscape;
                    p += 4;
                    break;
                default:
                    return Failure::InvalidEscape;
                }
            }
            ++p;
            continue;
        }
        if constexpr (CheckUtf8) {
            if (c >= 0x80) {
                const int length = utf8SequenceLength(
                    reinterpret_cast<const unsigned char*>(p), reinterpret_cast<const unsigned char*>(end));
                if (length == 0)
                    return Failure::InvalidUtf8;
                p += length;
                continue;
            }
        }
        ++p;
    }
    return Failure::EndOfText;
}

/// A number at `p` by the grammar exactly (from_chars alone would also take "inf" or "1.");
/// `integral` when it has neither fraction nor exponent.
inline Failure scanNumber(const char*& p, const char* end, bool& integral)
{
    integral = true;
    if (p < end && *p == '-')
        ++p;
    if (p >= end || !isDigit(*p))
        return Failure::MissingDigit;
    if (*p == '0') {
        ++p;
    } else {
        while (p < end && isDigit(*p))
            ++p;
    }
    if (p < end && *p == '.') {
        integral = false;
        ++p;
        if (p >= end || !isDigit(*p))
            return Failure::MissingFractionOrExponentDigit;
        while (p < end && isDigit(*p))
            ++p;
    }
    if (p < end && (*p == 'e' || *p == 'E')) {
        integral = false;
        ++p;
        if (p < end && (*p == '+' || *p == '-'))
            ++p;
        if (p >= end || !isDigit(*p))
            return Failure::MissingFractionOrExponentDigit;
        while (p < end && isDigit(*p))
            ++p;
    }
    return Failure::None;
}

/// The value of a number `scanNumber` accepted; none when it does not fit a double (1e999).
inline std::optional<double> numberValue(const char* start, const char* end)
{
    double value = 0;
    const auto [last, error] = std::from_chars(start, end, value);
    if (error == std::errc::result_out_of_range) {
        // Too small rounds to zero; too large does not fit at all.
        const char* e = start;
        while (e < end && *e != 'e' && *e != 'E')
            ++e;
        if (e + 1 < end && e[1] == '-')
            return *start == '-' ? -0.0 : 0.0;
        return std::nullopt;
    }
    if (error != std::errc() || last != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

/// Consumes `word` at `p`; false with `p` at the first byte that differs.
inline bool matchWord(const char*& p, const char* end, std::string_view word)
{
    for (const char w : word) {
        if (p >= end || *p != w)
            return false;
        ++p;
    }
    return true;
}

} // namespace MAPJSONLex
