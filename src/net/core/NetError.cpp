#include "net/core/NetError.h"

namespace net {

Error::Error(QString domain, qint64 code, QVariantMap userInfo)
    : m_domain(std::move(domain)), m_code(code), m_userInfo(std::move(userInfo))
{
}

QString Error::localizedDescription() const
{
    const QString text = m_userInfo.value(localizedDescriptionKey).toString();
    if (!text.isEmpty())
        return text;
    return QStringLiteral("The operation couldn't be completed. (%1 error %2.)").arg(m_domain).arg(m_code);
}

std::optional<Error> Error::underlyingError() const
{
    const QVariant value = m_userInfo.value(underlyingErrorKey);
    if (!value.canConvert<Error>() || value.metaType() != QMetaType::fromType<Error>())
        return std::nullopt;
    return value.value<Error>();
}

QUrl Error::failingURL() const
{
    return m_userInfo.value(failingURLErrorKey).toUrl();
}

Error urlError(qint64 code, const QUrl& failingURL, const QString& description)
{
    QVariantMap info;
    if (failingURL.isValid())
        info.insert(failingURLErrorKey, failingURL);
    if (!description.isEmpty())
        info.insert(localizedDescriptionKey, description);
    return Error(urlErrorDomain, code, std::move(info));
}

} // namespace net
