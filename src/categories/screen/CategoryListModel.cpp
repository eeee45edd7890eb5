#include "categories/screen/CategoryListModel.h"

#include "categories/common/NWCategoryCellView.h"
#include "categories/screen/CategoryDragPayload.h"
#include "categories/screen/CategoryOrdering.h"
#include "model/store/NWData.h"

#include <QMimeData>
#include <QSize>

CategoryListModel::CategoryListModel(bool isAsset, QObject* parent)
    : QAbstractListModel(parent), m_isAsset(isAsset)
{
}

void CategoryListModel::reload(bool showHidden)
{
    beginResetModel();
    m_categories = categoryorder::listedCategories(NWData::shared()->appData().get(), m_isAsset, showHidden);
    categoryorder::numberAndSort(m_categories);
    endResetModel();
}

std::shared_ptr<MVX_Category> CategoryListModel::category(int row) const
{
    return row >= 0 && row < m_categories.size() ? m_categories.at(row) : nullptr;
}

bool CategoryListModel::moveCategory(int from, int to)
{
    const auto& model = NWData::shared()->appData();
    if (!model)
        return false;
    const auto& side = m_isAsset ? model->assetscat() : model->liabilitycat();
    if (!side)
        return false;
    MVX_CategoryList listed = m_categories;
    if (!categoryorder::reorder(*side, listed, from, to))
        return false;
    beginResetModel();
    m_categories = std::move(listed);
    endResetModel();
    return true;
}

int CategoryListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_categories.size());
}

QVariant CategoryListModel::data(const QModelIndex& index, int role) const
{
    if (role == Qt::SizeHintRole && checkIndex(index, CheckIndexOption::IndexIsValid))
        return QSize(0, NWCategoryCellView::rowHeight);
    return QVariant();
}

Qt::ItemFlags CategoryListModel::flags(const QModelIndex& index) const
{
    // Rows take no drop of their own: a drop lands between rows.
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemNeverHasChildren;
}

QStringList CategoryListModel::mimeTypes() const
{
    return { CategoryDragPayload::mimeType };
}

QMimeData* CategoryListModel::mimeData(const QModelIndexList& indexes) const
{
    // One row is dragged: the first.
    for (const QModelIndex& index : indexes) {
        if (const std::shared_ptr<MVX_Category> dragged = category(index.row()))
            return CategoryDragPayload { m_isAsset, index.row(), dragged->ID() }.toMimeData();
    }
    return nullptr;
}

std::optional<int> CategoryListModel::draggedRow(const QMimeData* data) const
{
    const std::optional<CategoryDragPayload> payload = CategoryDragPayload::fromMimeData(data);
    if (!payload || payload->isAsset != m_isAsset)
        return std::nullopt;
    // The list may have been reloaded since the drag began: the row must still hold its category.
    const std::shared_ptr<MVX_Category> dragged = category(payload->row);
    if (!dragged || dragged->ID() != payload->categoryID)
        return std::nullopt;
    return payload->row;
}

int CategoryListModel::dropRow(int row, const QModelIndex& parent) const
{
    if (parent.isValid())
        return parent.row();
    return row < 0 || row > rowCount() ? rowCount() : row;
}

bool CategoryListModel::canDropMimeData(
    const QMimeData* data, Qt::DropAction action, int row, int column, const QModelIndex& parent) const
{
    static_cast<void>(row);
    static_cast<void>(column);
    static_cast<void>(parent);
    return action == Qt::MoveAction && draggedRow(data).has_value();
}

bool CategoryListModel::dropMimeData(
    const QMimeData* data, Qt::DropAction action, int row, int column, const QModelIndex& parent)
{
    static_cast<void>(column);
    const std::optional<int> from = draggedRow(data);
    if (action != Qt::MoveAction || !from)
        return false;
    if (moveCategory(*from, dropRow(row, parent)))
        Q_EMIT categoryMoved();
    return true;
}
