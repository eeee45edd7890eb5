#include "net/serialization/KNURLResponseSerialization.h"

std::optional<net::Error> KNErrorByWrapping(
    const std::optional<net::Error>& error, const std::optional<net::Error>& underlyingError)
{
    if (!error)
        return underlyingError;
    if (!underlyingError || error->userInfo().contains(net::underlyingErrorKey))
        return error;
    QVariantMap info = error->userInfo();
    info.insert(net::underlyingErrorKey, QVariant::fromValue(*underlyingError));
    return net::Error(error->domain(), error->code(), std::move(info));
}

bool KNErrorChainContainsCode(const std::optional<net::Error>& error)
{
    std::optional<net::Error> current = error;
    while (current) {
        if (current->is(KNURLResponseSerializationErrorDomain, net::cannotDecodeContentData))
            return true;
        current = current->underlyingError();
    }
    return false;
}
