#include "charts/kit/Styles.h"

#include "charts/kit/ChartLimits.h"
#include "platform/SaneGeometry.h"

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace chart {

QFont TextStyle::font() const
{
    // The design names fonts as "Family-Weight" ("HelveticaNeue-Light").
    QString family = fontName;
    QFont::Weight weight = QFont::Normal;
    const qsizetype dash = family.indexOf(u'-');
    if (dash > 0) {
        const QString face = family.mid(dash + 1);
        family.truncate(dash);
        if (face.contains(u"Light"_s))
            weight = QFont::Light;
        else if (face.contains(u"Bold"_s))
            weight = QFont::Bold;
        else if (face.contains(u"Medium"_s))
            weight = QFont::Medium;
    }
    if (family == u"HelveticaNeue"_s)
        family = u"Helvetica Neue"_s;
    QFont result;
    result.setFamilies({ family, u"Liberation Sans"_s });
    result.setWeight(weight);
    result.setPixelSize(qRound(platform::saneValue(fontSize, 1.0, maximumFontSize, 12.0)));
    return result;
}

std::optional<Shadow> saneShadow(const std::optional<Shadow>& shadow)
{
    if (!shadow)
        return std::nullopt;
    Shadow result = *shadow;
    result.offset = platform::sanePoint(result.offset);
    result.blurRadius = platform::saneLength(result.blurRadius);
    return result;
}

QPen LineStyle::pen() const
{
    const qreal width = platform::saneLength(lineWidth, maximumLineWidth);
    QPen pen(lineColor, width);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::RoundJoin);
    if (!dashPattern.isEmpty() && width > 0) {
        // Qt measures dashes in line widths. A pattern of nothing but gaps, or of dashes too
        // short to see, would have the dasher cut a line into countless pieces: solid instead.
        QList<qreal> pattern;
        pattern.reserve(dashPattern.size());
        qreal total = 0.0;
        for (qreal length : dashPattern) {
            const qreal points = platform::saneLength(length);
            total += points;
            pattern.append(points / width);
        }
        if (pattern.size() % 2 == 1)
            pattern.append(pattern.last());
        if (total >= 0.5)
            pen.setDashPattern(pattern);
    }
    return pen;
}

} // namespace chart
