#pragma once

#include "model/values/NWReportRecord.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class NWData;

/// The rows of the table reports and their tag captions, over the store's current model.
/// Rows come newest first. A period applies only when both bounds are given: a month is
/// in it when its first day is not later than `fromDate` and not earlier than `toDate`
/// (From is the newer bound). Changes are differences against the older month; the ratio
/// divides by the older amount's magnitude and is 0 when that amount is within 0.1 of zero.
class NWDataReports {
public:
    explicit NWDataReports(NWData& store) : m_store(store) { }

    /// One row per record holding a value of the category, zero values included. Each
    /// row's change is taken against the next older value of the category, even when that
    /// month lies before the period; the oldest value has no change.
    QList<NWReportRecord> getAssetReportRecords(const QString& categoryID,
        const std::optional<QDateTime>& fromDate, const std::optional<QDateTime>& toDate) const;
    QList<NWReportRecord> getLiabilityReportRecords(const QString& categoryID,
        const std::optional<QDateTime>& fromDate, const std::optional<QDateTime>& toDate) const;
    /// One row per record in the period: the values of tagged asset categories minus those
    /// of tagged liability categories. The oldest row inside the period has no change.
    QList<NWReportRecord> getTaggedRecords(const QStringList& tagIDs,
        const std::optional<QDateTime>& fromDate, const std::optional<QDateTime>& toDate) const;

    /// Whether an asset or liability category with this ID carries one of the tags.
    bool isCategoryTagged(const QString& categoryID, const QStringList& selectedTagIDs) const;
    /// "(" + the names of the model's tags whose ID is given, in tag-list order, joined by
    /// ",", + ")".
    QString getTagNames(const QStringList& tagIDs) const;

private:
    NWData& m_store;
};
