#include "charts/common/ValueAxisLabels.h"

#include "charts/kit/Axis.h"
#include "charts/kit/Styles.h"
#include "model/format/NWCurrencyFormatter.h"
#include "platform/Appearance.h"

#include <algorithm>
#include <cmath>

namespace ValueAxisLabels {

namespace {

// Beyond this many labels below 0 they are thinned out.
constexpr double kMostNegativeLabels = 20.0;

} // namespace

void styleAxis(chart::Axis& axis, const chart::TextStyle& titleStyle, const chart::TextStyle& labelStyle)
{
    axis.setTitle(QString());
    axis.setTitleTextStyle(titleStyle);
    axis.setTitleOffset(-10);
    axis.setAxisLineStyle(std::nullopt);
    axis.setMajorGridLineStyle(chart::LineStyle { 1.0, QColor::fromRgbF(0.5f, 0.5f, 0.5f, 0.2f), {} });
    axis.setLabelOffset(20);
    // A light shadow lifts the labels off a light background; on a dark one it would blur them.
    axis.setLabelShadow(chart::Shadow { QPointF(1, -1), 0.0,
        platform::isDarkAppearance() ? QColor::fromRgbF(0, 0, 0, 0.25f) : QColor::fromRgbF(1, 1, 1, 0.25f) });
    axis.setConstraintWithLowerOffset(axisInset);
    axis.setMajorTickLineStyle(std::nullopt);
    axis.setMajorTickLength(1);
    axis.setMinorTickLength(1);
    axis.setTickDirection(chart::TickDirection::Positive);
    axis.setLabelTextStyle(labelStyle);
}

double labelInterval(double top)
{
    const double fifth = std::trunc(top / 5.0);
    // Beyond what a long holds the text of the number would be meaningless.
    if (!std::isfinite(fifth) || fifth < 1.0 || fifth >= 9.0e18)
        return 0.0;
    const QString digits = QString::number(qint64(fifth));
    const double leading = double(digits.front().digitValue());
    return leading * std::pow(10.0, double(digits.size() - 1));
}

QList<double> labels(double top, double bottom, double interval, double headroom)
{
    QList<double> values;
    if (!(interval > 0.0) || !std::isfinite(interval))
        return values;
    const double limit = top * headroom;
    for (double k = 1; k * interval <= limit; ++k)
        values.append(k * interval);
    if (std::isfinite(bottom) && bottom < 0.0) {
        const double below = std::floor(-bottom / interval);
        const double stride = std::max(1.0, std::ceil(below / kMostNegativeLabels));
        for (double k = stride; k <= below; k += stride)
            values.append(-k * interval);
    }
    return values;
}

QString text(double value)
{
    return NWCurrencyFormatter(0, NWCurrencyFormatter::parenthesesNegativeFormat()).stringFromNumber(value);
}

void apply(chart::Axis& axis, const QList<double>& labels)
{
    QList<chart::AxisLabel> placed;
    placed.reserve(labels.size());
    for (double value : labels)
        placed.append(chart::AxisLabel { text(value), axis.labelTextStyle(), value,
            -(axis.majorTickLength() + axis.labelOffset()), chart::Alignment::Bottom, std::nullopt });
    axis.setAxisLabels(placed);
    axis.setMajorTickLocations(labels);
    axis.setMinorTickLocations({});
}

} // namespace ValueAxisLabels
