#pragma once

#include "platform/Expected.h"

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariant>

#include <memory>

/// A parsed JSON text in a compact form of our own: one array of small nodes over the
/// original bytes, strings decoded only when read. Parsing and reading it is several times
/// faster than `QJsonDocument` for the large data file (bench/mapping_bench.cpp).
///
///   const platform::Expected<QVariant> json = MAPJSONDocument::parse(bytes);
///   auto root = MAPJSONAdapter::modelOfClass<MVX_Model>(json.valueOr(QVariant()), &error);
///
/// The value `parse` returns, and the objects and arrays read from it, are `MAPJSONValue`s
/// inside QVariants: the adapter and transformers read them in place; `toMap()` and
/// `toList()` on such a QVariant give ordinary `QVariantMap` / `QVariantList` copies.
class MAPJSONDocument {
public:
    enum Type : quint8 { Null, False, True, Integer, Double, String, Array, Object };

    /// The root value of `json`, or the error "<what> at offset <n>" when the text is not
    /// one valid JSON value (RFC 8259, UTF-8).
    static platform::Expected<QVariant> parse(const QByteArray& json);

    struct TextSpan {
        qint32 offset;
        qint32 length;
    };
    struct ChildSpan {
        qint32 first; // object children alternate key, value
        qint32 count; // elements, or members of an object
    };
    struct Node {
        Type type = Null;
        bool escaped = false; // a string with escapes (decoded when read)
        qint32 next = -1; // the next sibling in its container
        union {
            double number;
            qint64 integer;
            TextSpan text;
            ChildSpan children;
        };
        Node() : integer(0) { }
    };

    const QByteArray& bytes() const { return m_bytes; }
    const QList<Node>& nodes() const { return m_nodes; }

private:
    friend class MAPJSONParser;
    QByteArray m_bytes;
    QList<Node> m_nodes;
};

/// One value of a `MAPJSONDocument` (which it keeps alive).
struct MAPJSONValue {
    std::shared_ptr<const MAPJSONDocument> document;
    qint32 node = -1;

    const MAPJSONDocument::Node& data() const { return document->nodes()[node]; }
    MAPJSONDocument::Type type() const { return data().type; }
    bool isObject() const { return node >= 0 && type() == MAPJSONDocument::Object; }
    bool isArray() const { return node >= 0 && type() == MAPJSONDocument::Array; }

    /// The member named by `utf8Key` of an object (the last one when a name repeats);
    /// false when absent.
    bool member(const QByteArray& utf8Key, MAPJSONValue* out) const;
    /// The elements of an array.
    QList<MAPJSONValue> elements() const;
    /// A layer value: scalars decoded (null as `MAPNull()`), objects and arrays as
    /// `MAPJSONValue`s read in place.
    QVariant toValue() const;
    /// Deep copies.
    QVariantMap toVariantMap() const;
    QVariantList toVariantList() const;
    QString string() const;

    bool operator==(const MAPJSONValue& other) const;
};
Q_DECLARE_METATYPE(MAPJSONValue)
