#pragma once

#include <QString>

namespace chart {
class BarPlot;
}

/// The net-worth bars of the annual chart and the dashboard's year-end bars: vertical bars in
/// the net-worth blue, with a 2-point outline, rounded corners and their bases at 0. The caller
/// owns the plot until a graph takes it, and sets its data source and delegate.
chart::BarPlot* newNetWorthBarPlot(const QString& identifier, double barWidth);
