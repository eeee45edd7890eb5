#pragma once

#include "net/core/NetError.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

namespace net {

/// One flattened parameter, such as user[name]=x or tags[]=y.
class KNQueryStringPair {
public:
    KNQueryStringPair() = default;
    KNQueryStringPair(QVariant field, QVariant value);

    const QVariant& field() const { return m_field; }
    const QVariant& value() const { return m_value; }

    /// "field=value", both escaped, or the escaped field alone when the value is absent or
    /// the null marker. None when `encoding` cannot represent the field or the value.
    std::optional<QString> URLEncodedStringValueWithEncoding(const QString& encoding) const;

    friend bool operator==(const KNQueryStringPair& a, const KNQueryStringPair& b)
    {
        return a.m_field == b.m_field && a.m_value == b.m_value;
    }

private:
    QVariant m_field;
    QVariant m_value;
};

/// `KNQueryPairsFromKeyAndValue` with no key.
QList<KNQueryStringPair> KNQueryPairsFromDictionary(const QVariant& parameters);
/// Flattens `value` under `key`: dictionaries by their keys in ascending code-unit order as
/// key[inner], arrays in order as key[], set members in ascending order under the same
/// key; anything else is one pair. An invalid `key` means none.
QList<KNQueryStringPair> KNQueryPairsFromKeyAndValue(const QVariant& key, const QVariant& value);

/// Percent-escapes a key: only ASCII letters, digits, "-", ".", "_", "~", "[" and "]" stay;
/// every other character becomes "%XX" per byte of its form in `encoding`. None when the
/// encoding cannot represent a character (or is unknown).
std::optional<QString> KNPercentEscapeQueryKey(const QString& string, const QString& encoding);
/// As `KNPercentEscapeQueryKey`, but "[" and "]" are escaped too.
std::optional<QString> KNPercentEscapeQueryValue(const QString& string, const QString& encoding);

/// The text a parameter value stands for: strings as they are, whole numbers in decimal,
/// other numbers in their shortest exact form, booleans "1" and "0", data as
/// "<68656c6c 6f>", the null marker "<null>", other values as `QVariant` makes them text.
QString KNQueryValueDescription(const QVariant& value);

/// `text` in `encoding` (an IANA character-set name); none when the encoding is unknown or
/// cannot represent every character.
std::optional<QByteArray> KNEncodeText(const QString& text, const QString& encoding);

/// The names of the six request settings a serializer passes on once set, in the order
/// they are applied.
const QStringList& KNObservedRequestKeyPaths();

} // namespace net
