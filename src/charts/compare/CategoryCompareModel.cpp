#include "charts/compare/CategoryCompareModel.h"

#include "charts/compare/CompareFigures.h"
#include "model/data/MVX_Category.h"
#include "model/data/MVX_CategoryLog.h"
#include "model/data/MVX_NWLog.h"

#include <QHash>

namespace {

// Category ID -> value, the first value of each ID winning, as a search from the front would.
QHash<QString, double> valuesById(const MVX_NWLog* record, bool assets)
{
    QHash<QString, double> result;
    if (!record)
        return result;
    const auto& values = assets ? record->assetLogs() : record->liabilityLogs();
    if (!values)
        return result;
    result.reserve(values->size());
    for (const auto& value : *values) {
        if (value && !result.contains(value->categoryID()))
            result.insert(value->categoryID(), value->value().value_or(0.0));
    }
    return result;
}

} // namespace

CategoryCompareModel::CategoryCompareModel(bool assets, QObject* parent)
    : QAbstractTableModel(parent), m_assets(assets)
{
}

void CategoryCompareModel::setComparison(
    const MVX_CategoryList& categories, const MVX_NWLog* first, const MVX_NWLog* second)
{
    const QHash<QString, double> firstValues = valuesById(first, m_assets);
    const QHash<QString, double> secondValues = valuesById(second, m_assets);
    beginResetModel();
    m_rows.clear();
    m_rows.reserve(categories.size());
    for (const auto& category : categories) {
        Row row;
        if (category) {
            row.name = category->categoryName();
            row.values.first = firstValues.value(category->ID(), 0.0);
            row.values.second = secondValues.value(category->ID(), 0.0);
        }
        row.texts[0] = CompareFigures::amountText(row.values.first);
        row.texts[1] = CompareFigures::amountText(row.values.second);
        row.texts[2] = CompareFigures::amountText(row.values.difference());
        m_rows.append(std::move(row));
    }
    endResetModel();
}

int CategoryCompareModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int CategoryCompareModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CategoryCompareModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Row& row = m_rows[index.row()];
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        if (index.column() == NameColumn)
            return row.name;
        return row.texts[index.column() - FirstColumn];
    }
    if (role == Qt::TextAlignmentRole) {
        return index.column() == NameColumn ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                            : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}
