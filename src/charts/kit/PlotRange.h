#pragma once

namespace chart {

// A range of data values: a location and a length (which may be negative).
struct PlotRange {
    double location = 0.0;
    double length = 0.0;

    static PlotRange withLocation(double location, double length) { return PlotRange { location, length }; }

    double end() const { return location + length; }
    double minLimit() const { return length < 0 ? location + length : location; }
    double maxLimit() const { return length < 0 ? location : location + length; }
    double midPoint() const { return location + length / 2.0; }
    bool isFinite() const;
    bool contains(double value) const;

    // Grows (factor > 1) or shrinks the range about its middle.
    void expandRangeByFactor(double factor);
    PlotRange expandedByFactor(double factor) const;
    // The range moved (not resized) so that it lies within `outer` where it fits, else `outer`.
    PlotRange constrainedTo(const PlotRange& outer) const;
    PlotRange united(const PlotRange& other) const;

    bool operator==(const PlotRange&) const = default;
};

} // namespace chart
