#include "model/queries/ModelReports.h"

#include "model/queries/ModelQueries.h"

#include "model/dates/DateUtilities.h"

#include <QSet>

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Period {
    std::optional<QDateTime> from;
    std::optional<QDateTime> to;

    bool contains(const QDateTime& date) const
    {
        if (!from || !to)
            return true;
        return date <= *from && date >= *to;
    }
};

void setChange(NWReportRecord& row, double older)
{
    row.setChangeAmount(row.amount() - older);
    row.setChangePercent(std::fabs(older) > 0.1 ? row.changeAmount() / std::fabs(older) : 0.0);
}

QList<NWReportRecord> categoryReport(const QList<NWChartLog>& newestFirst, const Period& period)
{
    QList<NWReportRecord> rows;
    for (qsizetype i = 0; i < newestFirst.size(); ++i) {
        const NWChartLog& current = newestFirst.at(i);
        const QDateTime date = DateUtilities::dateWithYear(current.year(), current.month());
        if (!period.contains(date))
            continue;
        NWReportRecord row;
        row.setRecordDate(date);
        row.setAmount(current.nw());
        if (i + 1 < newestFirst.size())
            setChange(row, newestFirst.at(i + 1).nw());
        rows.append(row);
    }
    return rows;
}

} // namespace

namespace queries {

QList<NWReportRecord> getAssetReportRecords(const MVX_Model& model, const QString& categoryID,
    const std::optional<QDateTime>& fromDate, const std::optional<QDateTime>& toDate)
{
    return categoryReport(arrayOfSortedAssetLogsFor(model, categoryID), { fromDate, toDate });
}

QList<NWReportRecord> getLiabilityReportRecords(const MVX_Model& model, const QString& categoryID,
    const std::optional<QDateTime>& fromDate, const std::optional<QDateTime>& toDate)
{
    return categoryReport(arrayOfSortedLiabilityLogsFor(model, categoryID), { fromDate, toDate });
}

QList<NWReportRecord> getTaggedRecords(const MVX_Model& model, const QStringList& tagIDs,
    const std::optional<QDateTime>& fromDate, const std::optional<QDateTime>& toDate)
{
    QList<NWReportRecord> rows;
    if (!model.nwLogArray())
        return rows;
    const Period period { fromDate, toDate };
    QSet<QString> tagged;
    for (const auto* list : { &model.assetscat(), &model.liabilitycat() }) {
        for (const auto& category : list->value_or(MVX_CategoryList())) {
            if (category && isCategoryTagged(model, category->ID(), tagIDs))
                tagged.insert(category->ID());
        }
    }
    auto taggedAmount = [&](const MVX_NWLog& record) {
        double amount = 0;
        for (const auto& [logs, sign] :
            { std::pair { &record.assetLogs(), 1.0 }, { &record.liabilityLogs(), -1.0 } }) {
            if (!*logs)
                continue;
            for (const auto& log : **logs) {
                if (log && tagged.contains(log->categoryID()))
                    amount += sign * log->value().value_or(0);
            }
        }
        return amount;
    };
    auto monthDate = [](const MVX_NWLog& record) {
        return DateUtilities::dateWithYear(record.year().value_or(0), record.month().value_or(0));
    };

    MVX_NWLogList records;
    for (const auto& record : *model.nwLogArray()) {
        if (record)
            records.append(record);
    }
    for (qsizetype i = 0; i < records.size(); ++i) {
        const MVX_NWLog& current = *records.at(i);
        const QDateTime date = monthDate(current);
        if (!period.contains(date))
            continue;
        NWReportRecord row;
        row.setRecordDate(date);
        row.setAmount(taggedAmount(current));
        if (i + 1 < records.size() && period.contains(monthDate(*records.at(i + 1))))
            setChange(row, taggedAmount(*records.at(i + 1)));
        rows.append(row);
    }
    return rows;
}

bool isCategoryTagged(const MVX_Model& model, const QString& categoryID, const QStringList& selectedTagIDs)
{
    for (const auto* list : { &model.assetscat(), &model.liabilitycat() }) {
        if (!*list)
            continue;
        for (const auto& category : **list) {
            if (!category || category->ID() != categoryID || !category->tags())
                continue;
            for (const QString& tagID : selectedTagIDs) {
                if (category->tags()->contains(tagID))
                    return true;
            }
        }
    }
    return false;
}

QString getTagNames(const MVX_Model& model, const QStringList& tagIDs)
{
    QString caption = u"("_s;
    if (model.tags()) {
        for (const auto& tag : *model.tags()) {
            if (!tag)
                continue;
            for (const QString& id : tagIDs) {
                if (id != tag->ID())
                    continue;
                if (caption.size() > 1)
                    caption += u',';
                caption += tag->name();
            }
        }
    }
    return caption + u')';
}

} // namespace queries
