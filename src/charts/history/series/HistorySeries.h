#pragma once

#include "charts/history/settings/HistoryChartSettings.h"
#include "model/data/MVX_Model.h"
#include "model/values/ChangesItem.h"
#include "model/values/NWChartLog.h"

#include <QList>
#include <QString>
#include <QStringList>

class NWData;

/// What the history chart shows, as pure functions of the store's records and the chart's
/// settings. No widgets; every result is a new value owned by the caller.
namespace historyseries {

using ChartType = HistoryChartSettings::ChartType;

/// The chart settings in force ("LnChartType", the two category IDs, changes, percent,
/// stacked bars).
struct SeriesSettings {
    ChartType type = ChartType::NetWorth;
    QString assetCategoryID;
    QString liabilityCategoryID;
    bool displayChanges = false;
    bool displayPercent = false;
    bool displayStackChart = false;

    /// From the user defaults, each key with its fallback.
    static SeriesSettings fromDefaults();
    bool operator==(const SeriesSettings&) const = default;
};

/// A point's place on the x axis: year × 12 + month.
int monthIndex(const NWChartLog& point);

/// One chart point per record, in the list's order (`nw` = assets − liabilities).
QList<NWChartLog> chartPoints(const MVX_NWLogList& records);

/// The change of `change` against `previous` in per cent: divided by the magnitude of the
/// previous value, so the sign follows the change; 0 when the previous value is (about) 0.
double changePercent(double change, double previous);
/// One row per point: the first all zeros, then each point's changes against the one before.
QList<ChangesItem> getChanges(const QList<NWChartLog>& points);
/// What the plots draw: the points themselves, or their changes (amounts or per cent) as
/// points carrying the months of `points`.
QList<NWChartLog> displayedPoints(const QList<NWChartLog>& points, const QList<ChangesItem>& changes,
    bool displayChanges, bool displayPercent);

/// The tag list of the tags chart's title: `tagNames` ("(a,b,c)") cut to `maximumLength`
/// characters followed by " ...)" when it is longer.
QString tagListString(const QString& tagNames, int maximumLength);

/// The category ID the chart uses: `categoryID` when the list holds such a category, else the
/// first category's ID (a null string for an empty list).
QString resolvedCategoryID(const std::optional<MVX_CategoryList>& categories, const QString& categoryID);

/// The series of a chart type with its changes, the points drawn and the graph's title.
struct HistorySeries {
    QList<NWChartLog> logArray;
    QList<ChangesItem> changesNWArray;
    QList<NWChartLog> dataArray;
    QString title;
};
/// The graph's title for the chart type, from the store as it is now.
QString seriesTitle(const NWData& store, const SeriesSettings& settings);
/// Reads the store's records, category series or tagged series (the store's tag filter).
HistorySeries buildSeries(const NWData& store, const SeriesSettings& settings);

} // namespace historyseries
