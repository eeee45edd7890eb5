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

URLRequest redirectedRequest(URLRequest request, const QUrl& url, int status)
{
    request.setUrl(url);
    const QByteArray method = request.httpMethod();
    if ((status == 303 && method != "HEAD") || ((status == 301 || status == 302) && method == "POST")) {
        request.setHttpMethod("GET");
        request.setHttpBodyStream(nullptr);
        request.setHttpBody(std::nullopt);
        request.setValue(std::nullopt, "Content-Type");
        request.setValue(std::nullopt, "Content-Length");
    }
    return request;
}

} // namespace net
