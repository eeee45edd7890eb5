#include "net/serialization/KNImageResponseSerializer.h"

#include "platform/Strings.h"

#include <QImage>

KNImageResponseSerializer::KNImageResponseSerializer()
{
    setAcceptableContentTypes(QSet<QString> { QStringLiteral("image/tiff"), QStringLiteral("image/jpeg"),
        QStringLiteral("image/gif"), QStringLiteral("image/png"), QStringLiteral("image/ico"),
        QStringLiteral("image/x-icon"), QStringLiteral("image/bmp"), QStringLiteral("image/x-bmp"),
        QStringLiteral("image/x-xbitmap"), QStringLiteral("image/x-win-bitmap") });
}

std::shared_ptr<KNImageResponseSerializer> KNImageResponseSerializer::serializer()
{
    return std::make_shared<KNImageResponseSerializer>();
}

QVariant KNImageResponseSerializer::responseObjectForResponse(const std::optional<net::URLResponse>& response,
    const std::optional<QByteArray>& data, std::optional<net::Error>* error) const
{
    if (!shouldDecode(response, data, error))
        return {};
    if (!data || data->isEmpty())
        return {};
    QImage image = QImage::fromData(*data);
    if (image.isNull()) {
        if (error) {
            *error = KNErrorByWrapping(
                serializationError(net::cannotDecodeContentData,
                    platform::Strings::tr("The data is not an image that can be read"), response, data),
                *error);
        }
        return {};
    }
    // One image pixel per device pixel: the size is the bitmap's own.
    image.setDevicePixelRatio(1.0);
    return QVariant::fromValue(image);
}

std::shared_ptr<KNHTTPResponseSerializer> KNImageResponseSerializer::freshInstance() const
{
    return std::make_shared<KNImageResponseSerializer>();
}

QString KNImageResponseSerializer::className() const
{
    return QStringLiteral("KNImageResponseSerializer");
}

std::shared_ptr<KNHTTPResponseSerializer> KNImageResponseSerializer::clone() const
{
    return freshInstance();
}
