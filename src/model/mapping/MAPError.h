#pragma once

#include <QMetaType>
#include <QString>
#include <QVariantMap>

#include <exception>
#include <optional>

/// User-information keys of every error of the mapping layer.
inline constexpr const char* MAPLocalizedDescriptionKey = "MAPLocalizedDescription";
inline constexpr const char* MAPLocalizedFailureReasonKey = "MAPLocalizedFailureReason";

/// Error domains and the user-information keys under which the causing exception is kept.
inline constexpr const char* MAPModelErrorDomain = "MAPModelErrorDomain";
inline constexpr const char* MAPModelThrownExceptionErrorKey = "MAPModelThrownException";
inline constexpr const char* MAPJSONAdapterErrorDomain = "MAPJSONAdapterErrorDomain";
inline constexpr const char* MAPJSONAdapterThrownExceptionErrorKey = "MAPJSONAdapterThrownException";
inline constexpr const char* MAPManagedObjectAdapterErrorDomain = "MAPManagedObjectAdapterErrorDomain";

/// Names of the exceptions the layer raises internally.
inline constexpr const char* MAPUndefinedKeyException = "MAPUndefinedKeyException";
inline constexpr const char* MAPInvalidArgumentException = "MAPInvalidArgumentException";

/// The exception the mapping layer throws internally (storing a value that does not fit,
/// reading a key that names no property, a transformer given the wrong kind of value).
/// It never leaves the layer's public operations: they turn it into a `MAPError`.
/// Its texts are plain data and are never used as a format.
class MAPException : public std::exception {
public:
    MAPException() = default;
    MAPException(QString name, QString reason, QVariantMap userInfo = {});

    const QString& name() const { return m_name; }
    const QString& reason() const { return m_reason; }
    const QVariantMap& userInfo() const { return m_userInfo; }
    /// The exception's description: its reason.
    QString description() const { return m_reason; }
    const char* what() const noexcept override { return m_what.constData(); }

private:
    QString m_name;
    QString m_reason;
    QVariantMap m_userInfo;
    QByteArray m_what;
};
Q_DECLARE_METATYPE(MAPException)

/// An error: domain, code and user information (description and failure reason under the
/// keys above). Operations report failure by returning nothing and filling an optional
/// `MAPError*` out-parameter; a null pointer means the caller does not want the error.
struct MAPError {
    QString domain;
    int code = 0;
    QVariantMap userInfo;

    MAPError() = default;
    MAPError(QString domain, int code, QVariantMap userInfo = {});
    /// An error with a description and a failure reason.
    static MAPError make(const QString& domain, int code, const QString& description, const QString& reason,
        QVariantMap extra = {});

    QString localizedDescription() const;
    QString localizedFailureReason() const;
    /// The exception kept under `key`, if any.
    std::optional<MAPException> exception(const char* key) const;
    /// One line with domain, code and description, for messages shown to the user.
    QString toString() const;

    bool operator==(const MAPError&) const = default;
};
Q_DECLARE_METATYPE(MAPError)

/// Sets `*error` when the caller asked for it.
inline void MAPSetError(MAPError* error, MAPError value)
{
    if (error)
        *error = std::move(value);
}

/// `MAPModelErrorDomain`, code 1, made from an exception: description and reason from the
/// exception, and the exception itself under "MAPModelThrownException".
MAPError map_modelErrorWithException(const MAPException& exception);
