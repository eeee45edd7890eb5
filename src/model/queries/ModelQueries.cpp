#include "model/queries/ModelQueries.h"

#include <QSet>

#include <algorithm>
#include <cmath>

namespace {

enum class Side { Asset, Liability };

const std::optional<MVX_CategoryLogList>& logsOf(const MVX_NWLog& record, Side side)
{
    return side == Side::Asset ? record.assetLogs() : record.liabilityLogs();
}

const std::optional<MVX_CategoryList>& categoriesOf(const MVX_Model& model, Side side)
{
    return side == Side::Asset ? model.assetscat() : model.liabilitycat();
}

MVX_CategoryLogList categoryLogs(
    const MVX_Model& model, Side side, const QString& categoryID, bool zeroValues)
{
    MVX_CategoryLogList result;
    if (!model.nwLogArray())
        return result;
    for (const auto& record : *model.nwLogArray()) {
        if (!record || !logsOf(*record, side))
            continue;
        const auto& logs = *logsOf(*record, side);
        const auto found = std::find_if(logs.cbegin(), logs.cend(),
            [&](const auto& log) { return log && log->categoryID() == categoryID; });
        if (found == logs.cend())
            continue;
        if (zeroValues || std::fabs((*found)->value().value_or(0)) > 0.00001)
            result.append(*found);
    }
    return result;
}

QList<NWChartLog> chartPoints(const MVX_CategoryLogList& logs, bool oldestFirst)
{
    QList<NWChartLog> points;
    points.reserve(logs.size());
    for (const auto& log : logs)
        points.append(NWChartLog::initWithAssetLog(*log));
    if (oldestFirst)
        std::reverse(points.begin(), points.end());
    return points;
}

QSet<QString> taggedCategoryIDs(const MVX_Model& model, Side side, const QStringList& tagIDs)
{
    QSet<QString> ids;
    if (!categoriesOf(model, side))
        return ids;
    for (const auto& category : *categoriesOf(model, side)) {
        if (!category || !category->tags())
            continue;
        const QStringList& tags = *category->tags();
        if (std::any_of(tagIDs.cbegin(), tagIDs.cend(), [&](const QString& id) { return tags.contains(id); }))
            ids.insert(category->ID());
    }
    return ids;
}

double sumOf(const std::optional<MVX_CategoryLogList>& logs, const QSet<QString>& ids)
{
    double sum = 0;
    if (!logs)
        return sum;
    for (const auto& log : *logs) {
        if (log && ids.contains(log->categoryID()))
            sum += log->value().value_or(0);
    }
    return sum;
}

std::optional<QString> lookUp(const MVX_Model& model, Side side, const QString& key, bool byName)
{
    if (!categoriesOf(model, side))
        return std::nullopt;
    for (const auto& category : *categoriesOf(model, side)) {
        if (!category)
            continue;
        if (byName && category->categoryName() == key)
            return category->ID();
        if (!byName && category->ID() == key)
            return category->categoryName();
    }
    return std::nullopt;
}

} // namespace

namespace queries {

bool haveNWLogWithYear(const MVX_Model& model, int year, int month)
{
    if (!model.nwLogArray())
        return false;
    return std::any_of(model.nwLogArray()->cbegin(), model.nwLogArray()->cend(), [&](const auto& record) {
        return record && record->year().value_or(0) == year && record->month().value_or(0) == month;
    });
}

MVX_CategoryLogList recordsForAssetCategoryLogs(
    const MVX_Model& model, const QString& categoryID, bool returnZeroValues)
{
    return categoryLogs(model, Side::Asset, categoryID, returnZeroValues);
}

MVX_CategoryLogList recordsForLiabilityCategoryLogs(
    const MVX_Model& model, const QString& categoryID, bool returnZeroValues)
{
    return categoryLogs(model, Side::Liability, categoryID, returnZeroValues);
}

QList<NWChartLog> arrayOfAssetLogsFor(const MVX_Model& model, const QString& categoryID)
{
    return chartPoints(recordsForAssetCategoryLogs(model, categoryID, true), true);
}

QList<NWChartLog> arrayOfSortedAssetLogsFor(const MVX_Model& model, const QString& categoryID)
{
    return chartPoints(recordsForAssetCategoryLogs(model, categoryID, true), false);
}

QList<NWChartLog> arrayOfLiabilityLogsFor(const MVX_Model& model, const QString& categoryID)
{
    return chartPoints(recordsForLiabilityCategoryLogs(model, categoryID, true), true);
}

QList<NWChartLog> arrayOfSortedLiabilityLogsFor(const MVX_Model& model, const QString& categoryID)
{
    return chartPoints(recordsForLiabilityCategoryLogs(model, categoryID, true), false);
}

QList<NWChartLog> arrayOfTaggedCategoryLogs(const MVX_Model& model, const QStringList& tagIDs)
{
    QList<NWChartLog> points;
    if (!model.nwLogArray())
        return points;
    const QSet<QString> assetIDs = taggedCategoryIDs(model, Side::Asset, tagIDs);
    const QSet<QString> liabilityIDs = taggedCategoryIDs(model, Side::Liability, tagIDs);
    const MVX_NWLogList& records = *model.nwLogArray();
    points.reserve(records.size());
    for (auto it = records.crbegin(); it != records.crend(); ++it) {
        if (!*it)
            continue;
        NWChartLog point;
        point.setYear((*it)->year().value_or(0));
        point.setMonth((*it)->month().value_or(0));
        point.setAssets(sumOf((*it)->assetLogs(), assetIDs));
        point.setLiabilities(sumOf((*it)->liabilityLogs(), liabilityIDs));
        point.setNw(point.assets() - point.liabilities());
        points.append(point);
    }
    return points;
}

std::optional<QString> getAssetCategoryIdFromCategoryName(const MVX_Model& model, const QString& name)
{
    return lookUp(model, Side::Asset, name, true);
}

std::optional<QString> getAssetCategoryNameFromCategoryId(const MVX_Model& model, const QString& categoryID)
{
    return lookUp(model, Side::Asset, categoryID, false);
}

std::optional<QString> getLiabilityCategoryIdFromCategoryName(const MVX_Model& model, const QString& name)
{
    return lookUp(model, Side::Liability, name, true);
}

std::optional<QString> getLiabilityCategoryNameFromCategoryId(
    const MVX_Model& model, const QString& categoryID)
{
    return lookUp(model, Side::Liability, categoryID, false);
}

} // namespace queries
