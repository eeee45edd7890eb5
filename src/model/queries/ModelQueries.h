#pragma once

#include "model/data/MVX_Model.h"
#include "model/values/NWChartLog.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

/// Record and category queries over a model. They only read: results are new lists owned
/// by the caller, and category logs in them are the model's own objects. Absent lists read
/// as empty ones; nothing here fails.
namespace queries {

bool haveNWLogWithYear(const MVX_Model& model, int year, int month);

/// For each record, in the model's order (newest first in the store), the first of its asset
/// logs with this category ID; without `returnZeroValues`, logs whose value is absent or
/// within 0.00001 of zero are left out.
MVX_CategoryLogList recordsForAssetCategoryLogs(
    const MVX_Model& model, const QString& categoryID, bool returnZeroValues);
MVX_CategoryLogList recordsForLiabilityCategoryLogs(
    const MVX_Model& model, const QString& categoryID, bool returnZeroValues);

/// The category's values as chart points (value in `nw`), zero values included.
/// The plain forms run oldest first, the "Sorted" forms newest first.
QList<NWChartLog> arrayOfAssetLogsFor(const MVX_Model& model, const QString& categoryID);
QList<NWChartLog> arrayOfSortedAssetLogsFor(const MVX_Model& model, const QString& categoryID);
QList<NWChartLog> arrayOfLiabilityLogsFor(const MVX_Model& model, const QString& categoryID);
QList<NWChartLog> arrayOfSortedLiabilityLogsFor(const MVX_Model& model, const QString& categoryID);

/// One point per record, oldest first: the sums of the values of the categories that
/// carry one of `tagIDs`, and assets minus liabilities as `nw`.
QList<NWChartLog> arrayOfTaggedCategoryLogs(const MVX_Model& model, const QStringList& tagIDs);

/// The ID (or name) of the first category of the list with exactly this name (or ID);
/// none when no category has it.
std::optional<QString> getAssetCategoryIdFromCategoryName(const MVX_Model& model, const QString& name);
std::optional<QString> getAssetCategoryNameFromCategoryId(const MVX_Model& model, const QString& categoryID);
std::optional<QString> getLiabilityCategoryIdFromCategoryName(const MVX_Model& model, const QString& name);
std::optional<QString> getLiabilityCategoryNameFromCategoryId(
    const MVX_Model& model, const QString& categoryID);

} // namespace queries
