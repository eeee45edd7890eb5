#include "net/core/URLRequest.h"

namespace net {

URLRequest::URLRequest(QUrl url, double timeoutInterval)
    : m_url(std::move(url)), m_timeoutInterval(timeoutInterval)
{
}

std::optional<QByteArray> URLRequest::valueForHTTPHeaderField(const QByteArray& field) const
{
    for (const auto& [name, value] : m_headers)
        if (name.compare(field, Qt::CaseInsensitive) == 0)
            return value;
    return std::nullopt;
}

void URLRequest::setValue(const std::optional<QByteArray>& value, const QByteArray& field)
{
    for (auto it = m_headers.begin(); it != m_headers.end(); ++it) {
        if (it->first.compare(field, Qt::CaseInsensitive) != 0)
            continue;
        if (value)
            it->second = *value;
        else
            m_headers.erase(it);
        return;
    }
    if (value)
        m_headers.append({ field, *value });
}

void URLRequest::addValue(const QByteArray& value, const QByteArray& field)
{
    const auto current = valueForHTTPHeaderField(field);
    setValue(current ? *current + ',' + value : value, field);
}

void URLRequest::setHttpBody(std::optional<QByteArray> body)
{
    m_httpBody = std::move(body);
    if (m_httpBody)
        m_httpBodyStream.reset();
}

void URLRequest::setHttpBodyStream(std::shared_ptr<QIODevice> stream)
{
    m_httpBodyStream = std::move(stream);
    if (m_httpBodyStream)
        m_httpBody.reset();
}

} // namespace net
