#pragma once

#include "model/data/MVX_Model.h"
#include "model/values/NWReportRecord.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

/// Report rows and tag captions over a model; they only read, and nothing here fails.
///
/// Rows come newest first. A period applies only when both bounds are given: a month is
/// in it when its first day is not later than `fromDate` and not earlier than `toDate`
/// (From is the newer bound). Changes are differences against the older month; the ratio
/// divides by the older amount's magnitude and is 0 when that amount is within 0.1 of zero.
namespace queries {

/// One row per record holding a value of the category, zero values included. Each row's
/// change is taken against the next older value of the category, even when that month
/// lies before the period; the oldest value has no change.
QList<NWReportRecord> getAssetReportRecords(const MVX_Model& model, const QString& categoryID,
    const std::optional<QDateTime>& fromDate, const std::optional<QDateTime>& toDate);
QList<NWReportRecord> getLiabilityReportRecords(const MVX_Model& model, const QString& categoryID,
    const std::optional<QDateTime>& fromDate, const std::optional<QDateTime>& toDate);
/// One row per record in the period: the values of tagged asset categories minus those
/// of tagged liability categories. The oldest row inside the period has no change.
QList<NWReportRecord> getTaggedRecords(const MVX_Model& model, const QStringList& tagIDs,
    const std::optional<QDateTime>& fromDate, const std::optional<QDateTime>& toDate);

/// Whether an asset or liability category with this ID carries one of the tags.
bool isCategoryTagged(const MVX_Model& model, const QString& categoryID, const QStringList& selectedTagIDs);
/// "(" + the names of the model's tags whose ID is given, in tag-list order, joined by
/// ",", + ")".
QString getTagNames(const MVX_Model& model, const QStringList& tagIDs);

} // namespace queries
