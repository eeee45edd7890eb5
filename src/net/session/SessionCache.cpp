#include "net/session/SessionCache.h"

#include <utility>

namespace net {

QIODevice* SessionCache::prepare(const QNetworkCacheMetaData& metaData)
{
    QIODevice* device = QNetworkDiskCache::prepare(metaData);
    if (device)
        m_preparing.insert(device, metaData.url());
    return device;
}

void SessionCache::insert(QIODevice* device)
{
    const auto preparing = m_preparing.find(device);
    const std::optional<QUrl> url = preparing == m_preparing.end() ? std::nullopt : std::optional(*preparing);
    if (url)
        m_preparing.erase(preparing);
    QNetworkDiskCache::insert(device);
    m_stored = url;
}

bool SessionCache::remove(const QUrl& url)
{
    // Qt also drops a response it began to store through here, the first one for `url`.
    for (auto preparing = m_preparing.begin(); preparing != m_preparing.end(); ++preparing)
        if (*preparing == url) {
            m_preparing.erase(preparing);
            break;
        }
    return QNetworkDiskCache::remove(url);
}

std::optional<QUrl> SessionCache::takeStored()
{
    return std::exchange(m_stored, std::nullopt);
}

} // namespace net
