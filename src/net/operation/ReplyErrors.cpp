#include "net/operation/ReplyErrors.h"

#include "net/core/NetError.h"

namespace net {

bool isHttpStatusError(QNetworkReply::NetworkError error)
{
    const int code = int(error);
    return (code >= 201 && code <= 299 && error != QNetworkReply::ContentReSendError)
        || error == QNetworkReply::ProtocolInvalidOperationError || (code >= 401 && code <= 499);
}

qint64 urlErrorCode(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
        return cannotConnectToHost;
    case QNetworkReply::RemoteHostClosedError:
        return networkConnectionLost;
    case QNetworkReply::HostNotFoundError:
        return cannotFindHost;
    // A transfer time-out aborts the reply; cancelling and pausing never get here.
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
        return timedOut;
    case QNetworkReply::SslHandshakeFailedError:
        return secureConnectionFailed;
    case QNetworkReply::InsecureRedirectError:
        return secureConnectionFailed;
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::BackgroundRequestNotAllowedError:
        return notConnectedToInternet;
    case QNetworkReply::TooManyRedirectsError:
        return httpTooManyRedirects;
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyTimeoutError:
    case QNetworkReply::ProxyAuthenticationRequiredError:
        return cannotConnectToHost;
    case QNetworkReply::ProxyNotFoundError:
        return cannotFindHost;
    case QNetworkReply::ProtocolUnknownError:
        return unsupportedURL;
    case QNetworkReply::ContentReSendError:
    case QNetworkReply::ProtocolFailure:
        return badServerResponse;
    default:
        return unknown;
    }
}

} // namespace net
