#include "records/history/CategoryLogsModel.h"

#include "model/data/MVX_Category.h"
#include "model/dates/DateUtilities.h"
#include "model/store/NWData.h"

#include <QLocale>
#include <QSize>

#include <algorithm>
#include <cassert>

using namespace Qt::Literals::StringLiterals;

CategoryLogsModel::CategoryLogsModel(QObject* parent)
    : QAbstractListModel(parent), m_currencyFormatter(0, NWCurrencyFormatter::parenthesesNegativeFormat())
{
}

MVX_CategoryLogList CategoryLogsModel::logsFor(
    const NWData& store, const MVX_Category& category, bool isAsset, bool hideZeroValues)
{
    MVX_CategoryLogList logs = isAsset
        ? store.recordsForAssetCategoryLogs(category.ID(), !hideZeroValues)
        : store.recordsForLiabilityCategoryLogs(category.ID(), !hideZeroValues);
    logs.removeIf([](const std::shared_ptr<MVX_CategoryLog>& log) { return !log || !log->value(); });
    return logs;
}

QString CategoryLogsModel::monthText(const MVX_CategoryLog& log)
{
    if (!log.year() || !log.month())
        return {};
    return QLocale().toString(DateUtilities::dateWithYear(*log.year(), *log.month()).date(), u"MMMM yyyy"_s);
}

void CategoryLogsModel::setLogs(MVX_CategoryLogList logs)
{
    const auto isNull = [](const std::shared_ptr<MVX_CategoryLog>& log) { return !log; };
    // Every row shows a log: a null one is the caller's mistake, stopped in debug builds and
    // left out otherwise.
    assert(std::none_of(logs.cbegin(), logs.cend(), isNull));
    logs.removeIf(isNull);
    beginResetModel();
    m_logs = std::move(logs);
    endResetModel();
}

int CategoryLogsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_logs.size());
}

QVariant CategoryLogsModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const auto& log = m_logs.at(index.row());
    switch (role) {
    case MonthTextRole:
        return monthText(*log);
    case AmountTextRole:
        return m_currencyFormatter.stringFromNumber(log->value().value_or(0));
    case Qt::SizeHintRole:
        return QSize(0, rowHeight);
    default:
        return {};
    }
}

QHash<int, QByteArray> CategoryLogsModel::roleNames() const
{
    return { { MonthTextRole, "monthText" }, { AmountTextRole, "amountText" } };
}
