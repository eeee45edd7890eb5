#include "model/mapping/MAPError.h"

#include <utility>

MAPException::MAPException(QString name, QString reason, QVariantMap userInfo)
    : m_name(std::move(name))
    , m_reason(std::move(reason))
    , m_userInfo(std::move(userInfo))
    , m_what(m_reason.toUtf8())
{
}

MAPError::MAPError(QString domain, int code, QVariantMap userInfo)
    : domain(std::move(domain)), code(code), userInfo(std::move(userInfo))
{
}

MAPError MAPError::make(
    const QString& domain, int code, const QString& description, const QString& reason, QVariantMap extra)
{
    extra.insert(QString::fromLatin1(MAPLocalizedDescriptionKey), description);
    extra.insert(QString::fromLatin1(MAPLocalizedFailureReasonKey), reason);
    return MAPError(domain, code, std::move(extra));
}

QString MAPError::localizedDescription() const
{
    return userInfo.value(QString::fromLatin1(MAPLocalizedDescriptionKey)).toString();
}

QString MAPError::localizedFailureReason() const
{
    return userInfo.value(QString::fromLatin1(MAPLocalizedFailureReasonKey)).toString();
}

std::optional<MAPException> MAPError::exception(const char* key) const
{
    const QVariant value = userInfo.value(QString::fromLatin1(key));
    if (value.metaType() != QMetaType::fromType<MAPException>())
        return std::nullopt;
    return value.value<MAPException>();
}

QString MAPError::toString() const
{
    QString text = localizedDescription();
    const QString reason = localizedFailureReason();
    if (!reason.isEmpty() && reason != text)
        text += (text.isEmpty() ? QString() : QStringLiteral(": ")) + reason;
    return QStringLiteral("%1 (%2 error %3)").arg(text, domain, QString::number(code));
}

MAPError map_modelErrorWithException(const MAPException& exception)
{
    return MAPError::make(QString::fromLatin1(MAPModelErrorDomain), 1, exception.description(),
        exception.reason(),
        { { QString::fromLatin1(MAPModelThrownExceptionErrorKey), QVariant::fromValue(exception) } });
}
