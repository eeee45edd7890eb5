#pragma once

#include "model/data/MVX_Model.h"
#include "model/values/NWChartLog.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

class NWData;

/// The store's record and category queries over its current model. Every call reads
/// `store.appData()` afresh; a store without a model answers as an empty one.
/// Results are new lists owned by the caller; category logs are the model's own objects.
/// Nothing here saves.
class NWDataQueries {
public:
    explicit NWDataQueries(NWData& store) : m_store(store) { }

    /// A new record with every field empty, appended to the end of `nwLogArray`; null when
    /// the store has no model. Its place in the newest-first order comes with the next sort.
    std::shared_ptr<MVX_NWLog> insertNewNWLog();
    bool haveNWLogWithYear(int year, int month) const;

    /// For each record, newest first, the first of its asset logs with this category ID;
    /// without `returnZeroValues`, logs whose value is absent or within 0.00001 of zero are
    /// left out.
    MVX_CategoryLogList recordsForAssetCategoryLogs(const QString& categoryID, bool returnZeroValues) const;
    MVX_CategoryLogList recordsForLiabilityCategoryLogs(
        const QString& categoryID, bool returnZeroValues) const;

    /// The category's values as chart points (value in `nw`), zero values included.
    /// The plain forms run oldest first, the "Sorted" forms newest first.
    QList<NWChartLog> arrayOfAssetLogsFor(const QString& categoryID) const;
    QList<NWChartLog> arrayOfSortedAssetLogsFor(const QString& categoryID) const;
    QList<NWChartLog> arrayOfLiabilityLogsFor(const QString& categoryID) const;
    QList<NWChartLog> arrayOfSortedLiabilityLogsFor(const QString& categoryID) const;

    /// One point per record, oldest first: the sums of the values of the categories that
    /// carry one of the store's `selectedTagIDs`, and assets minus liabilities as `nw`.
    QList<NWChartLog> arrayOfTaggedCategoryLogs() const;

    /// The ID (or name) of the first category of the list with exactly this name (or ID);
    /// none when no category has it.
    std::optional<QString> getAssetCategoryIdFromCategoryName(const QString& name) const;
    std::optional<QString> getAssetCategoryNameFromCategoryId(const QString& categoryID) const;
    std::optional<QString> getLiabilityCategoryIdFromCategoryName(const QString& name) const;
    std::optional<QString> getLiabilityCategoryNameFromCategoryId(const QString& categoryID) const;

private:
    const MVX_Model* model() const;

    NWData& m_store;
};
