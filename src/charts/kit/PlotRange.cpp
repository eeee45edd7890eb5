#include "charts/kit/PlotRange.h"

#include <algorithm>
#include <cmath>

namespace chart {

bool PlotRange::isFinite() const
{
    return std::isfinite(location) && std::isfinite(length) && std::isfinite(location + length);
}

bool PlotRange::contains(double value) const
{
    return value >= minLimit() && value <= maxLimit();
}

void PlotRange::expandRangeByFactor(double factor)
{
    const double middle = midPoint();
    length *= factor;
    location = middle - length / 2.0;
}

PlotRange PlotRange::expandedByFactor(double factor) const
{
    PlotRange range = *this;
    range.expandRangeByFactor(factor);
    return range;
}

PlotRange PlotRange::constrainedTo(const PlotRange& outer) const
{
    const double span = maxLimit() - minLimit();
    const double outerSpan = outer.maxLimit() - outer.minLimit();
    if (span >= outerSpan)
        return outer;
    // Not std::clamp: rounding may leave the upper bound a hair below the lower one.
    const double low = std::max(outer.minLimit(), std::min(minLimit(), outer.maxLimit() - span));
    return length < 0 ? PlotRange { low + span, -span } : PlotRange { low, span };
}

PlotRange PlotRange::united(const PlotRange& other) const
{
    const double low = std::min(minLimit(), other.minLimit());
    const double high = std::max(maxLimit(), other.maxLimit());
    return PlotRange { low, high - low };
}

} // namespace chart
