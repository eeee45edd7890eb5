#pragma once

#include <QNetworkReply>

namespace net {

/// Qt reports some HTTP statuses as reply errors; to the client every status is a response.
bool isHttpStatusError(QNetworkReply::NetworkError error);
/// The URL-loading error code of a transfer that failed with `error`.
qint64 urlErrorCode(QNetworkReply::NetworkError error);

} // namespace net
