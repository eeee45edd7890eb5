#include "charts/history/series/HistorySeries.h"

#include "model/store/NWData.h"
#include "platform/Strings.h"

#include <cmath>

namespace historyseries {

namespace HCS = HistoryChartSettings;

SeriesSettings SeriesSettings::fromDefaults()
{
    SeriesSettings settings;
    settings.type = HCS::chartType();
    settings.assetCategoryID = HCS::assetCategory();
    settings.liabilityCategoryID = HCS::liabilityCategory();
    settings.displayChanges = HCS::displayChanges();
    settings.displayPercent = HCS::displayPercent();
    settings.displayStackChart = HCS::stackedChart();
    return settings;
}

int monthIndex(const NWChartLog& point)
{
    return point.year() * 12 + point.month();
}

QList<NWChartLog> chartPoints(const MVX_NWLogList& records)
{
    QList<NWChartLog> points;
    points.reserve(records.size());
    for (const auto& record : records) {
        if (record)
            points.append(NWChartLog::initWithNWLog(*record));
    }
    return points;
}

double changePercent(double change, double previous)
{
    // The record list treats a previous value within 0.001 of zero as having no base either.
    if (!(std::abs(previous) > 0.001))
        return 0.0;
    const double percent = change * 100.0 / std::abs(previous);
    return std::isfinite(percent) ? percent : 0.0;
}

QList<ChangesItem> getChanges(const QList<NWChartLog>& points)
{
    QList<ChangesItem> changes;
    changes.reserve(points.size());
    for (qsizetype i = 0; i < points.size(); ++i) {
        ChangesItem item;
        if (i > 0) {
            const NWChartLog& before = points[i - 1];
            const NWChartLog& now = points[i];
            item.setValueNW(now.nw() - before.nw());
            item.setValueA(now.assets() - before.assets());
            item.setValueL(now.liabilities() - before.liabilities());
            item.setPNW(changePercent(item.valueNW(), before.nw()));
            item.setPA(changePercent(item.valueA(), before.assets()));
            item.setPL(changePercent(item.valueL(), before.liabilities()));
        }
        changes.append(item);
    }
    return changes;
}

QList<NWChartLog> displayedPoints(const QList<NWChartLog>& points, const QList<ChangesItem>& changes,
    bool displayChanges, bool displayPercent)
{
    if (!displayChanges)
        return points;
    QList<NWChartLog> shown;
    shown.reserve(changes.size());
    for (qsizetype i = 0; i < changes.size() && i < points.size(); ++i) {
        const ChangesItem& change = changes[i];
        NWChartLog point;
        point.setYear(points[i].year());
        point.setMonth(points[i].month());
        point.setNw(displayPercent ? change.pNW() : change.valueNW());
        point.setAssets(displayPercent ? change.pA() : change.valueA());
        point.setLiabilities(displayPercent ? change.pL() : change.valueL());
        shown.append(point);
    }
    return shown;
}

QString tagListString(const QString& tagNames, int maximumLength)
{
    if (tagNames.size() <= maximumLength)
        return tagNames;
    return QStringLiteral("%1 ...)").arg(tagNames.left(maximumLength));
}

QString resolvedCategoryID(const std::optional<MVX_CategoryList>& categories, const QString& categoryID)
{
    if (!categories || categories->isEmpty())
        return QString();
    for (const auto& category : *categories) {
        if (category && !categoryID.isNull() && category->ID() == categoryID)
            return categoryID;
    }
    const auto& first = categories->first();
    return first ? first->ID() : QString();
}

QString seriesTitle(const NWData& store, const SeriesSettings& settings)
{
    switch (settings.type) {
    case ChartType::NetWorth:
        return platform::Strings::tr("Net Worth History");
    case ChartType::AssetsAndLiabilities:
        return platform::Strings::tr("Assets/Liabilities History");
    case ChartType::AssetCategory:
        return platform::Strings::tr("Asset Category History - %1")
            .arg(store.getAssetCategoryNameFromCategoryId(settings.assetCategoryID).value_or(QString()));
    case ChartType::LiabilityCategory:
        return platform::Strings::tr("Liability Category History - %1")
            .arg(store.getLiabilityCategoryNameFromCategoryId(settings.liabilityCategoryID)
                     .value_or(QString()));
    case ChartType::Tags:
        return platform::Strings::tr("Tags history: %1")
            .arg(tagListString(store.getTagNames(store.selectedTagIDs()), 40));
    }
    return platform::Strings::tr("Net Worth History");
}

HistorySeries buildSeries(const NWData& store, const SeriesSettings& settings)
{
    HistorySeries series;
    switch (settings.type) {
    case ChartType::NetWorth:
    case ChartType::AssetsAndLiabilities:
        series.logArray = chartPoints(store.chartNwLogArray());
        break;
    case ChartType::AssetCategory:
        series.logArray = store.arrayOfAssetLogsFor(settings.assetCategoryID);
        break;
    case ChartType::LiabilityCategory:
        series.logArray = store.arrayOfLiabilityLogsFor(settings.liabilityCategoryID);
        break;
    case ChartType::Tags:
        series.logArray = store.arrayOfTaggedCategoryLogs();
        break;
    }
    series.title = seriesTitle(store, settings);
    series.changesNWArray = getChanges(series.logArray);
    series.dataArray = displayedPoints(
        series.logArray, series.changesNWArray, settings.displayChanges, settings.displayPercent);
    return series;
}

} // namespace historyseries
