#pragma once

#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <forward_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

/// A pull reader over JSON text (RFC 8259) that builds nothing by itself: the caller walks
/// objects and arrays and takes the values it wants, so a document becomes typed objects
/// without an intermediate tree. The text must be UTF-8 (a byte-order mark at its start is
/// skipped) and no object may name a member twice, also in values that are skipped. Syntax
/// and encoding errors throw `JSONScanner::SyntaxError`, a repeated member
/// `JSONScanner::RepeatedMember`; the text must outlive the scanner.
class JSONScanner {
public:
    enum class Kind { Object, Array, String, Number, Boolean, Null };

    struct SyntaxError {
        qsizetype offset;
        const char* what;
        /// The byte at `offset` is not UTF-8 (the rest of the text was not looked at).
        bool notUtf8 = false;
    };

    struct RepeatedMember {
        qsizetype offset;
        std::string name; // UTF-8
    };

    /// The member names of one object seen so far. Names are views into the text; only an
    /// escaped name, decoded into a buffer the next call reuses, is copied.
    class MemberNames {
    public:
        MemberNames() = default;
        MemberNames(const MemberNames&) = delete;
        MemberNames& operator=(const MemberNames&) = delete;

        /// False when the object has `name` already.
        bool insert(std::string_view name, bool inText)
        {
            const std::uint64_t bit = hashBit(name);
            if ((m_hashes & bit) == 0 && inText && m_count < int(std::size(m_first))) {
                m_hashes |= bit;
                m_first[m_count++] = Name { name.data(), name.size() };
                return true;
            }
            return insertSlowly(name, inText, bit);
        }

    private:
        struct Name {
            const char* data;
            size_t size;
        };
        struct Overflow {
            std::vector<Name> names;
            std::forward_list<std::string> copies;
        };
        // One of 64 buckets from the length and the first, second and last bytes. The
        // multiplier puts the data file's own member names of each object in different
        // buckets, so reading a saved file never searches.
        static std::uint64_t hashBit(std::string_view name)
        {
            if (name.empty())
                return 1;
            const auto byte
                = [name](size_t at) { return std::uint64_t(static_cast<unsigned char>(name[at])); };
            const std::uint64_t x = byte(0) | byte(name.size() > 1 ? 1 : 0) << 8 | byte(name.size() - 1) << 16
                | std::uint64_t(name.size()) << 24;
            return std::uint64_t(1) << ((x * 0xD23F0824128B2F33u) >> 58);
        }
        bool insertSlowly(std::string_view name, bool inText, std::uint64_t bit);
        Name* find(std::string_view name);

        // Objects of the data file have about a dozen members, read by the hundred thousand:
        // a mask over a hash of each name spares the search for almost every new name, and
        // the names themselves stay on the stack, left uninitialised until used.
        std::uint64_t m_hashes = 0;
        int m_count = 0;
        std::unique_ptr<Overflow> m_overflow;
        Name m_first[16];
    };

    /// Shares the text of repeated strings (category IDs repeat in every record).
    using Interner = std::unordered_map<std::string_view, QString>;

    explicit JSONScanner(QByteArrayView text);

    /// The kind of the next value, without consuming it.
    Kind peek();
    /// "null", "a boolean", "a number", "a text", "a list", "an object".
    static const char* describe(Kind kind);

    /// Consumes '{'. Then `nextMember` until it returns false, consuming '}'; it sets `key`
    /// to the member's name (valid until the next call) and consumes the ':'. `names` is the
    /// object's own, empty at '{'.
    void beginObject();
    bool nextMember(bool& first, std::string_view& key, MemberNames& names);
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
