#include "charts/history/series/HistoryPlots.h"

namespace historyseries {

QString plotIdentifier(PlotId plot)
{
    switch (plot) {
    case PlotId::StackedAssets:
        return QStringLiteral("NWSTACKED_ASSETS");
    case PlotId::StackedLiabilities:
        return QStringLiteral("NWSTACKED_LIAB");
    case PlotId::NetWorth:
        return QStringLiteral("RIDIREVU");
    case PlotId::Goal:
        return QStringLiteral("GOAL");
    case PlotId::Assets:
        return QStringLiteral("ASSETS");
    case PlotId::Liabilities:
        return QStringLiteral("LIABILITIES");
    }
    return QString();
}

std::optional<PlotId> plotIdFromIdentifier(const QString& identifier)
{
    for (PlotId plot : allPlots) {
        if (plotIdentifier(plot) == identifier)
            return plot;
    }
    return std::nullopt;
}

std::optional<double> plotValue(PlotId plot, const NWChartLog& point, const PlotContext& context)
{
    const SeriesSettings& settings = context.settings;
    const ChartType type = settings.type;
    const bool netWorthType = type == ChartType::NetWorth || type == ChartType::Tags;
    switch (plot) {
    case PlotId::NetWorth:
        return netWorthType ? std::optional(point.nw()) : std::nullopt;
    case PlotId::StackedAssets:
        return type == ChartType::NetWorth && settings.displayStackChart ? std::optional(point.assets())
                                                                         : std::nullopt;
    case PlotId::StackedLiabilities:
        return type == ChartType::NetWorth && settings.displayStackChart ? std::optional(-point.liabilities())
                                                                         : std::nullopt;
    case PlotId::Goal:
        return type == ChartType::NetWorth && context.showGoal && !settings.displayChanges
            ? std::optional(context.goal)
            : std::nullopt;
    case PlotId::Assets:
        if (type == ChartType::AssetCategory)
            return point.nw();
        return type == ChartType::AssetsAndLiabilities ? point.assets() : 0.0;
    case PlotId::Liabilities:
        if (type == ChartType::LiabilityCategory)
            return point.nw();
        return type == ChartType::AssetsAndLiabilities ? point.liabilities() : 0.0;
    }
    return std::nullopt;
}

bool stackedBarsShown(const SeriesSettings& settings)
{
    return (settings.type == ChartType::NetWorth || settings.type == ChartType::Tags)
        && settings.displayStackChart && !settings.displayChanges;
}

bool plotVisible(PlotId plot, const SeriesSettings& settings)
{
    const ChartType type = settings.type;
    switch (plot) {
    case PlotId::NetWorth:
        return type == ChartType::NetWorth || type == ChartType::Tags;
    case PlotId::StackedAssets:
    case PlotId::StackedLiabilities:
        return stackedBarsShown(settings);
    case PlotId::Assets:
        return type == ChartType::AssetsAndLiabilities || type == ChartType::AssetCategory;
    case PlotId::Liabilities:
        return type == ChartType::AssetsAndLiabilities || type == ChartType::LiabilityCategory;
    case PlotId::Goal:
        return type == ChartType::NetWorth;
    }
    return false;
}

} // namespace historyseries
