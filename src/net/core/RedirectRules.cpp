#include "net/core/RedirectRules.h"

#include "platform/Strings.h"

using namespace Qt::Literals::StringLiterals;

namespace net {

std::optional<Error> redirectRefusal(const QUrl& from, const QUrl& to, int redirectNumber)
{
    if (from.scheme().compare("https"_L1, Qt::CaseInsensitive) == 0
        && to.scheme().compare("https"_L1, Qt::CaseInsensitive) != 0)
        return urlError(secureConnectionRequired, to,
            platform::Strings::tr("The server redirected a secure request to an insecure address."));
    if (redirectNumber > maximumRedirects)
        return urlError(
            httpTooManyRedirects, to, platform::Strings::tr("The server redirected too many times."));
    return std::nullopt;
}

} // namespace net
