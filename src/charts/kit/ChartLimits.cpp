#include "charts/kit/ChartLimits.h"

#include <cmath>

namespace chart {

QString boundedLabelText(const QString& text)
{
    if (text.size() <= maximumLabelLength)
        return text;
    qsizetype kept = maximumLabelLength - 1;
    if (text.at(kept - 1).isHighSurrogate())
        --kept;
    return text.left(kept) + QChar(0x2026);
}

QSize imagePixelSize(const QSizeF& logical, qreal ratio, qint64 mostPixels, qreal mostSide)
{
    const double width = std::round(logical.width() * ratio);
    const double height = std::round(logical.height() * ratio);
    if (!(width >= 1) || !(height >= 1) || !(width <= mostSide) || !(height <= mostSide)
        || width * height > static_cast<double>(mostPixels))
        return QSize();
    return QSize(static_cast<int>(width), static_cast<int>(height));
}

} // namespace chart
