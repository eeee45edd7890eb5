#include "categories/common/TagColorImages.h"

#include "platform/Resources.h"

#include <QHash>

using namespace Qt::Literals::StringLiterals;

namespace TagColorImages {

QString imageName(const QString& colorName)
{
    static const QHash<QString, QString> names { { u"BLUE"_s, u"blueTag"_s }, { u"ORANGE"_s, u"orangeTag"_s },
        { u"RED"_s, u"redTag"_s }, { u"GRAY"_s, u"grayTag"_s }, { u"GREEN"_s, u"greenTag"_s },
        { u"PINK"_s, u"pinkTag"_s }, { u"WHITE"_s, u"whiteTag"_s }, { u"YELLOW"_s, u"yellowTag"_s } };
    return names.value(colorName);
}

QImage image(const QString& colorName, const QSize& size)
{
    const QString name = imageName(colorName);
    return name.isEmpty() ? QImage() : platform::image(name, size);
}

} // namespace TagColorImages
