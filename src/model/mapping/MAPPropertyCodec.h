#pragma once

#include <QMetaType>
#include <QString>
#include <QVariant>

#include <memory>
#include <optional>

class MAPClass;

/// How the layer reads and stores one property type: between the property's own type
/// (the "native" value) and the layer's generic values (see MAPValue.h). Internal to the
/// layer except for `MAPRegisterOptionalType`.
struct MAPPropertyCodec {
    enum Kind {
        Bool,
        Integer,
        Unsigned,
        Real,
        Optional,
        String,
        StringList,
        List,
        Map,
        Variant,
        ModelPointer,
        ModelList,
        Other
    };

    Kind kind = Other;
    QMetaType type;
    /// For `Optional`: the type inside, and its codec.
    QMetaType innerType;
    QVariant (*unwrapOptional)(const QVariant& native) = nullptr;
    QVariant (*wrapOptional)(const QVariant& innerOrNil) = nullptr;
    /// For `Optional`: the codec of the type inside.
    std::shared_ptr<const MAPPropertyCodec> inner;

    /// The codec for a property of this type (made once per property and cached).
    static MAPPropertyCodec forType(QMetaType type);

    /// Native value -> generic value (nil for an absent value).
    QVariant toGeneric(const QVariant& native) const;
    /// Generic value -> native value. Throws `MAPException` (nil for a scalar, wrong type);
    /// `owner` and `key` name the property in the message.
    QVariant fromGeneric(const QVariant& generic, const MAPClass* owner, const QString& key) const;
    /// The attribute-string type encoding ("d", "@\"QString\"", ...).
    QByteArray typeEncoding() const;
    /// For `Optional`: this codec, or one made now for a type registered after this codec
    /// was (kept in `scratch`); null when the type is still not registered.
    const MAPPropertyCodec* resolvedOptional(MAPPropertyCodec& scratch) const;
    bool isObject() const { return kind != Bool && kind != Integer && kind != Unsigned && kind != Real; }
};

void MAPRegisterOptionalTypeImpl(QMetaType optionalType, QMetaType innerType,
    QVariant (*unwrap)(const QVariant&), QVariant (*wrap)(const QVariant&));

/// Lets properties of type `std::optional<T>` be stored and read (nil = `std::nullopt`).
/// `double`, `int`, `qint64`, `bool` and `QStringList` are registered already. Call before
/// the first use of a class that has such a property.
template <class T> void MAPRegisterOptionalType()
{
    MAPRegisterOptionalTypeImpl(
        QMetaType::fromType<std::optional<T>>(), QMetaType::fromType<T>(),
        [](const QVariant& native) -> QVariant {
            const auto* o = static_cast<const std::optional<T>*>(native.constData());
            return (o && *o) ? QVariant::fromValue(**o) : QVariant();
        },
        [](const QVariant& inner) -> QVariant {
            return inner.isValid() ? QVariant::fromValue(std::optional<T>(inner.value<T>()))
                                   : QVariant::fromValue(std::optional<T>());
        });
}
