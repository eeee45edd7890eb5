#include "net/request/KNBodyRequestSerializer.h"

#include "platform/Strings.h"

namespace net {

std::optional<URLRequest> KNBodyRequestSerializer::requestBySerializingRequest(
    const URLRequest& request, const QVariant& parameters, std::optional<Error>* error) const
{
    if (encodesParametersInURI(request))
        return KNHTTPRequestSerializer::requestBySerializingRequest(request, parameters, error);
    URLRequest copy = requestWithDefaultHeaders(request);
    if (!parameters.isValid())
        return copy;
    const QByteArray contentTypeField = QByteArrayLiteral("Content-Type");
    if (!copy.valueForHTTPHeaderField(contentTypeField))
        copy.setValue(bodyContentType(), contentTypeField);
    auto written = writeBody(parameters);
    if (auto* body = std::get_if<QByteArray>(&written)) {
        copy.setHttpBody(std::move(*body));
    } else if (error) {
        QVariantMap info;
        info.insert(localizedDescriptionKey, platform::Strings::tr("The request body could not be written."));
        info.insert(localizedFailureReasonErrorKey, std::get<QString>(written));
        *error = Error(
            KNURLRequestSerializationErrorDomain, KNRequestSerializationWriteInvalidError, std::move(info));
    }
    return copy;
}

} // namespace net
