#pragma once

#include <QHash>
#include <QNetworkDiskCache>
#include <QUrl>

#include <optional>

namespace net {

/// The disk cache of a session's network access manager. Qt stores a response in it just
/// before its reply reports the end; the cache remembers which address it stored last, so
/// that the task of that reply can let its delegate change or drop what was stored.
/// Network thread only.
class SessionCache : public QNetworkDiskCache {
    Q_OBJECT
public:
    using QNetworkDiskCache::QNetworkDiskCache;

    QIODevice* prepare(const QNetworkCacheMetaData& metaData) override;
    void insert(QIODevice* device) override;
    bool remove(const QUrl& url) override;

    /// The address of the response stored since the last call, if any.
    std::optional<QUrl> takeStored();

private:
    QHash<QIODevice*, QUrl> m_preparing;
    std::optional<QUrl> m_stored;
};

} // namespace net
