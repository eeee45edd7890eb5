#include "charts/kit/Styles.h"

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
    result.setPixelSize(qMax(1, qRound(std::isfinite(fontSize) ? fontSize : 12.0)));
    return result;
}

QPen LineStyle::pen() const
{
    QPen pen(lineColor, lineWidth);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::RoundJoin);
    if (!dashPattern.isEmpty() && lineWidth > 0) {
        // Qt measures dashes in line widths.
        QList<qreal> pattern;
        pattern.reserve(dashPattern.size());
        for (qreal length : dashPattern)
            pattern.append(qMax(length, 0.0) / lineWidth);
        if (pattern.size() % 2 == 1)
            pattern.append(pattern.last());
        pen.setDashPattern(pattern);
    }
    return pen;
}

} // namespace chart
