// Turns arbitrary bytes into nested parameters, builds their query string and decodes it
// again: the decoded pairs must be the flattened pairs, in order, and the escaped text may
// hold nothing but unreserved characters, escapes, and the brackets of keys. Only text
// UTF-8 cannot carry (a lone surrogate) may fail to build, and then the serializer must
// refuse the whole request.
#include "FuzzApplication.h"

#include "net/request/KNHTTPRequestSerializer.h"
#include "net/request/KNQueryString.h"

#include <QSet>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Names the broken promise before the crash the fuzzer records.
#define REQUIRE(condition)                                                                                   \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "%s:%d: %s\n", __FILE__, __LINE__, #condition);                             \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)

namespace {

class Reader {
public:
    Reader(const uint8_t* data, size_t size) : m_data(data), m_size(size) { }

    bool atEnd() const { return m_offset >= m_size; }
    uint8_t byte() { return atEnd() ? 0 : m_data[m_offset++]; }

    // Bytes below 0x80 are characters themselves; 0xF0 and above take the next two bytes as
    // one UTF-16 code unit (so surrogates, paired or not); the rest are a few chosen characters.
    QString text()
    {
        static const char16_t chosen[]
            = { u'é', u'€', u'東', u' ', u'+', u'&', u'=', u'%', u'[', u']', u'#' };
        QString result;
        for (int length = byte() % 12; length > 0 && !atEnd(); --length) {
            const uint8_t b = byte();
            if (b < 0x80)
                result.append(QChar(char16_t(b)));
            else if (b >= 0xF0)
                result.append(QChar(char16_t((byte() << 8) | byte())));
            else
                result.append(QChar(chosen[b % std::size(chosen)]));
        }
        return result;
    }

    QVariant value(int depth)
    {
        const uint8_t kind = byte() % (depth > 0 ? 9 : 5);
        switch (kind) {
        case 0:
            return QVariant::fromValue(nullptr);
        case 1:
            return qint64(int8_t(byte())) * 1000003;
        case 2:
            return double(int8_t(byte())) / 8;
        case 3:
            return byte() % 2 == 0;
        case 4:
            return text();
        case 5:
            return QByteArray(1, char(byte()));
        case 6: {
            QVariantList list;
            for (int n = byte() % 4; n > 0 && !atEnd(); --n)
                list.append(value(depth - 1));
            return list;
        }
        case 7: {
            QSet<QString> set;
            for (int n = byte() % 4; n > 0 && !atEnd(); --n)
                set.insert(text());
            return QVariant::fromValue(set);
        }
        default:
            return map(depth - 1);
        }
    }

    QVariantMap map(int depth)
    {
        QVariantMap result;
        for (int n = byte() % 5; n > 0 && !atEnd(); --n)
            result.insert(text(), value(depth));
        return result;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_offset = 0;
};

bool hasLoneSurrogate(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (text.at(i).isSurrogate())
            return true;
    }
    return false;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1; // lower-case digits are not what the escaping writes
}

// The text an escaped component stands for; aborts on anything the escaping must not write.
QString unescape(const QString& escaped, bool isKey)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < escaped.size(); ++i) {
        const char16_t c = escaped.at(i).unicode();
        if (c == u'%') {
            REQUIRE(i + 2 < escaped.size());
            const int high = hexValue(char(escaped.at(i + 1).unicode()));
            const int low = hexValue(char(escaped.at(i + 2).unicode()));
            REQUIRE(high >= 0 && low >= 0);
            bytes.append(char(high * 16 + low));
            i += 2;
            continue;
        }
        const bool unreserved = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')
            || (c >= u'0' && c <= u'9') || c == u'-' || c == u'.' || c == u'_' || c == u'~';
        REQUIRE(unreserved || (isKey && (c == u'[' || c == u']')));
        bytes.append(char(c));
    }
    const QString text = QString::fromUtf8(bytes);
    REQUIRE(text.toUtf8() == bytes);
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ensureApplication();
    Reader reader(data, size);
    const QVariantMap parameters = reader.map(3);
    const QList<net::KNQueryStringPair> pairs = net::KNQueryPairsFromDictionary(parameters);

    QStringList components;
    bool refused = false;
    for (const auto& pair : pairs) {
        const QString field = net::KNQueryValueDescription(pair.field());
        const bool bare = pair.value().metaType() == QMetaType::fromType<std::nullptr_t>();
        const QString value = bare ? QString() : net::KNQueryValueDescription(pair.value());
        const auto component = pair.URLEncodedStringValueWithEncoding(QStringLiteral("UTF-8"));
        if (!component) {
            REQUIRE(hasLoneSurrogate(field) || hasLoneSurrogate(value));
            refused = true;
            continue;
        }
        components.append(*component);
        const qsizetype equals = component->indexOf(u'=');
        REQUIRE((equals < 0) == bare);
        REQUIRE(unescape(component->left(equals < 0 ? component->size() : equals), true) == field);
        REQUIRE(bare || unescape(component->mid(equals + 1), false) == value);
    }

    // The serializer sends all of it or nothing.
    static const net::KNHTTPRequestSerializer serializer;
    std::optional<net::Error> error;
    const auto request
        = serializer.requestWithMethod("POST", QStringLiteral("http://127.0.0.1/fuzz"), parameters, &error);
    REQUIRE(refused == !request && refused == error.has_value());
    REQUIRE(!request || request->httpBody() == components.join(u'&').toUtf8());
    return 0;
}
