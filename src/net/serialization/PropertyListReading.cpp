#include "net/serialization/PropertyListReading.h"

#include "platform/Strings.h"

namespace net {

platform::Expected<QVariant> readPropertyList(const QByteArray& data)
{
    if (data.isEmpty())
        return platform::Unexpected(platform::Strings::tr("The property list is empty"));
    if (data.startsWith("bplist00"))
        return propertylist::readBinary(data);
    return propertylist::readXML(data);
}

} // namespace net
