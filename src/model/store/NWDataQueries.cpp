#include "model/store/NWData.h"

#include "model/queries/ModelQueries.h"
#include "model/queries/ModelReports.h"

// Without a model every query answers as for an empty one.
const MVX_Model& NWData::modelOrEmpty() const
{
    static const MVX_Model empty;
    return m_appData ? *m_appData : empty;
}

bool NWData::haveNWLogWithYear(int year, int month) const
{
    return queries::haveNWLogWithYear(modelOrEmpty(), year, month);
}

MVX_CategoryLogList NWData::recordsForAssetCategoryLogs(
    const QString& categoryID, bool returnZeroValues) const
{
    return queries::recordsForAssetCategoryLogs(modelOrEmpty(), categoryID, returnZeroValues);
}

MVX_CategoryLogList NWData::recordsForLiabilityCategoryLogs(
    const QString& categoryID, bool returnZeroValues) const
{
    return queries::recordsForLiabilityCategoryLogs(modelOrEmpty(), categoryID, returnZeroValues);
}

QList<NWChartLog> NWData::arrayOfAssetLogsFor(const QString& categoryID) const
{
    return queries::arrayOfAssetLogsFor(modelOrEmpty(), categoryID);
}

QList<NWChartLog> NWData::arrayOfSortedAssetLogsFor(const QString& categoryID) const
{
    return queries::arrayOfSortedAssetLogsFor(modelOrEmpty(), categoryID);
}

QList<NWChartLog> NWData::arrayOfLiabilityLogsFor(const QString& categoryID) const
{
    return queries::arrayOfLiabilityLogsFor(modelOrEmpty(), categoryID);
}

QList<NWChartLog> NWData::arrayOfSortedLiabilityLogsFor(const QString& categoryID) const
{
    return queries::arrayOfSortedLiabilityLogsFor(modelOrEmpty(), categoryID);
}

QList<NWChartLog> NWData::arrayOfTaggedCategoryLogs() const
{
    return queries::arrayOfTaggedCategoryLogs(modelOrEmpty(), m_selectedTagIDs);
}

std::optional<QString> NWData::getAssetCategoryIdFromCategoryName(const QString& name) const
{
    return queries::getAssetCategoryIdFromCategoryName(modelOrEmpty(), name);
}

std::optional<QString> NWData::getAssetCategoryNameFromCategoryId(const QString& categoryID) const
{
    return queries::getAssetCategoryNameFromCategoryId(modelOrEmpty(), categoryID);
}

std::optional<QString> NWData::getLiabilityCategoryIdFromCategoryName(const QString& name) const
{
    return queries::getLiabilityCategoryIdFromCategoryName(modelOrEmpty(), name);
}

std::optional<QString> NWData::getLiabilityCategoryNameFromCategoryId(const QString& categoryID) const
{
    return queries::getLiabilityCategoryNameFromCategoryId(modelOrEmpty(), categoryID);
}

QList<NWReportRecord> NWData::getAssetReportRecords(const QString& categoryID,
    const std::optional<QDateTime>& fromDate, const std::optional<QDateTime>& toDate) const
{
    return queries::getAssetReportRecords(modelOrEmpty(), categoryID, fromDate, toDate);
}

QList<NWReportRecord> NWData::getLiabilityReportRecords(const QString& categoryID,
    const std::optional<QDateTime>& fromDate, const std::optional<QDateTime>& toDate) const
{
    return queries::getLiabilityReportRecords(modelOrEmpty(), categoryID, fromDate, toDate);
}

QList<NWReportRecord> NWData::getTaggedRecords(const QStringList& tagIDs,
    const std::optional<QDateTime>& fromDate, const std::optional<QDateTime>& toDate) const
{
    return queries::getTaggedRecords(modelOrEmpty(), tagIDs, fromDate, toDate);
}

bool NWData::isCategoryTagged(const QString& categoryID, const QStringList& selectedTagIDs) const
{
    return queries::isCategoryTagged(modelOrEmpty(), categoryID, selectedTagIDs);
}

QString NWData::getTagNames(const QStringList& tagIDs) const
{
    return queries::getTagNames(modelOrEmpty(), tagIDs);
}
