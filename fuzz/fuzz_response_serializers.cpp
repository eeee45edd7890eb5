// Feeds arbitrary bytes as a response body to every response serializer under a few
// responses: each must give an object, nothing, or an error, never crash. A parser the
// XML parser serializer hands back is run too, as the rate download does.
#include "net/serialization/KNCompoundResponseSerializer.h"
#include "net/serialization/KNImageResponseSerializer.h"
#include "net/serialization/KNJSONResponseSerializer.h"
#include "net/serialization/KNPropertyListResponseSerializer.h"
#include "net/serialization/KNXMLDocumentResponseSerializer.h"
#include "net/serialization/KNXMLParserResponseSerializer.h"
#include "platform/XMLParser.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>

namespace {

net::URLResponse response(int status, const char* contentType)
{
    return net::URLResponse::http(QUrl(QStringLiteral("http://127.0.0.1/fuzz")), status,
        { { QByteArrayLiteral("Content-Type"), QByteArray(contentType) } });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const net::URLResponse responses[] = {
        response(200, "text/xml"),
        response(200, "application/json; charset=latin-1"),
        response(404, "text/html"),
        response(200, "image/png"),
        response(200, "application/x-plist"),
    };
    // The decoding serializers first: only they promise never to give an object together
    // with a decoding error.
    static const std::shared_ptr<KNHTTPResponseSerializer> serializers[] = {
        KNJSONResponseSerializer::serializer(),
        KNXMLParserResponseSerializer::serializer(),
        KNXMLDocumentResponseSerializer::serializer(),
        KNPropertyListResponseSerializer::serializer(),
        KNImageResponseSerializer::serializer(),
        KNCompoundResponseSerializer::compoundSerializerWithResponseSerializers({
            KNJSONResponseSerializer::serializer(),
            KNPropertyListResponseSerializer::serializer(),
            KNImageResponseSerializer::serializer(),
        }),
        KNHTTPResponseSerializer::serializer(),
    };
    constexpr int decodingSerializers = 5;

    const QByteArray body(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const auto& response : responses) {
        for (int i = 0; i < int(std::size(serializers)); ++i) {
            const auto& serializer = serializers[i];
            std::optional<net::Error> error;
            const QVariant object = serializer->responseObjectForResponse(response, body, &error);
            if (i < decodingSerializers && object.isValid() && KNErrorChainContainsCode(error))
                std::abort();
            if (const auto parser = object.value<std::shared_ptr<platform::XMLParser>>())
                parser->parse();
            static_cast<void>(serializer->responseObjectForResponse(response, body, nullptr));
        }
    }
    return 0;
}
