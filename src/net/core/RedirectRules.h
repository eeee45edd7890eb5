#pragma once

#include "net/core/NetError.h"
#include "net/core/URLRequest.h"

#include <QUrl>

#include <optional>

namespace net {

/// Redirects one transfer follows at most; the next one fails it with `httpTooManyRedirects`.
inline constexpr int maximumRedirects = 5;

/// Why the `redirectNumber`-th redirect (counted from 1) of one transfer, from the address
/// that answered `from` to `to`, is not followed; none when it may be. A redirect that leaves
/// https fails with `secureConnectionRequired`: what was asked for over an authenticated
/// connection must not arrive over one anybody on the way can change.
std::optional<Error> redirectRefusal(const QUrl& from, const QUrl& to, int redirectNumber);

/// The request a `status` redirect to `url` proposes after `request`. As browsers do: after a
/// 303, and after a 301 or 302 answering a POST, the new address is fetched with GET and
/// without the body; otherwise the method and the body stay.
URLRequest redirectedRequest(URLRequest request, const QUrl& url, int status);

} // namespace net
