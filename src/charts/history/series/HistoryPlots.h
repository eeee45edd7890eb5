#pragma once

#include "charts/history/series/HistorySeries.h"

#include <QString>

#include <optional>

/// The six plots of the history chart: their identifiers, what each draws for a point and
/// when each is shown.
namespace historyseries {

enum class PlotId { StackedAssets, StackedLiabilities, NetWorth, Goal, Assets, Liabilities };

/// "NWSTACKED_ASSETS", "NWSTACKED_LIAB", "RIDIREVU", "GOAL", "ASSETS", "LIABILITIES".
QString plotIdentifier(PlotId plot);
std::optional<PlotId> plotIdFromIdentifier(const QString& identifier);
/// Every plot, in drawing order from back to front.
inline constexpr PlotId allPlots[] = { PlotId::StackedAssets, PlotId::StackedLiabilities, PlotId::NetWorth,
    PlotId::Goal, PlotId::Assets, PlotId::Liabilities };

/// What the plots need besides a point: the settings, whether the goal is shown and its value.
struct PlotContext {
    SeriesSettings settings;
    bool showGoal = false;
    double goal = 0.0;
};

/// The y value a plot draws for a point; none where the plot draws nothing.
std::optional<double> plotValue(PlotId plot, const NWChartLog& point, const PlotContext& context);
/// Whether the plot is shown for these settings.
bool plotVisible(PlotId plot, const SeriesSettings& settings);
/// The stacked bars are drawn (net worth or tags, stacked, no changes).
bool stackedBarsShown(const SeriesSettings& settings);

} // namespace historyseries
