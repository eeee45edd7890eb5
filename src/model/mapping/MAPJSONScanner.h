#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

/// A pull reader over JSON text (RFC 8259) that builds nothing by itself: the caller walks
/// objects and arrays and takes the values it wants, so a document becomes typed objects
/// without an intermediate tree. Syntax errors throw `JSONScanner::SyntaxError`; the text
/// must outlive the scanner.
class JSONScanner {
public:
    enum class Kind { Object, Array, String, Number, Boolean, Null };

    struct SyntaxError {
        qsizetype offset;
        const char* what;
    };

    /// Shares the text of repeated strings (category IDs repeat in every record).
    using Interner = std::unordered_map<std::string_view, QString>;

    explicit JSONScanner(QByteArrayView text);

    /// The kind of the next value, without consuming it.
    Kind peek();
    /// "null", "a boolean", "a number", "a text", "a list", "an object".
    static const char* describe(Kind kind);

    /// Consumes '{'. Then `nextMember` until it returns false, consuming '}'; it sets `key`
    /// to the member's name (valid until the next call) and consumes the ':'.
    void beginObject();
    bool nextMember(bool& first, std::string_view& key);
    /// Consumes '['. Then `nextElement` until it returns false, consuming ']'.
    void beginArray();
    bool nextElement(bool& first);

    /// Consumes a string; present-but-empty comes back as a non-null empty QString.
    QString readString(Interner* interner = nullptr);
    /// Consumes a number; none when it does not fit a double (1e999).
    std::optional<double> readNumber();
    bool readBoolean();
    void readNull();
    /// Consumes whatever value comes next.
    void skipValue();
    /// Only whitespace may follow.
    void expectEnd();

private:
    [[noreturn]] void fail(const char* what) const;
    void skipWhitespace();
    void expect(char c);
    void literal(std::string_view word);
    // The raw text of a string (without quotes) and whether it holds escapes.
    std::string_view scanString(bool& escaped);
    void decodeEscapes(std::string_view raw, std::string& out) const;
    void skipValue(int depth);

    const char* m_begin;
    const char* m_pos;
    const char* m_end;
    std::string m_buffer;
};
