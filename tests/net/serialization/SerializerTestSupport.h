#pragma once

#include "net/core/URLResponse.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

namespace serializertest {

inline const QUrl rateURL = QUrl(QStringLiteral("http://127.0.0.1:8080/stats/eurofxref-daily.xml"));

/// An HTTP response of `rateURL` (or `url`) with that status and "Content-Type" value;
/// no content type when it is empty.
inline net::URLResponse httpResponse(int status, const QByteArray& contentType, const QUrl& url = rateURL)
{
    QList<QPair<QByteArray, QByteArray>> fields;
    if (!contentType.isEmpty())
        fields.append({ QByteArrayLiteral("Content-Type"), contentType });
    return net::URLResponse::http(url, status, fields);
}

} // namespace serializertest
