#include "platform/Fonts.h"

#include <QtGlobal>

using namespace Qt::Literals::StringLiterals;

namespace platform {

QStringList designFontFamilies()
{
    return { u"Helvetica Neue"_s, u"Liberation Sans"_s };
}

QFont designFont(int points, QFont::Weight weight)
{
    QFont font;
    font.setFamilies(designFontFamilies());
    font.setWeight(weight);
    font.setPixelSize(qMax(1, points));
    return font;
}

} // namespace platform
