#include "categories/tags/TagsListModels.h"

#include "categories/common/NWCategoryCellView.h"
#include "categories/tags/NWTagCellView.h"
#include "model/store/NWData.h"

namespace {

const MVX_TagsList* storeTags()
{
    const auto& model = NWData::shared()->appData();
    return model && model->tags() ? &*model->tags() : nullptr;
}

} // namespace

QList<std::shared_ptr<MVX_CategoryEx>> categoriesCarrying(
    const std::optional<QList<std::shared_ptr<MVX_Category>>>& categories, const QString& tagID, bool isAsset)
{
    QList<std::shared_ptr<MVX_CategoryEx>> carrying;
    if (!categories)
        return carrying;
    for (const auto& category : *categories) {
        if (category && category->tags() && category->tags()->contains(tagID))
            carrying.append(std::make_shared<MVX_CategoryEx>(category, isAsset));
    }
    return carrying;
}

int TagListModel::rowCount(const QModelIndex& parent) const
{
    // The count the view was last told of, so that a store changed before `reload` never
    // shows the view rows it has not heard of.
    return parent.isValid() ? 0 : m_count;
}

QVariant TagListModel::data(const QModelIndex& index, int role) const
{
    if (role == Qt::SizeHintRole && index.isValid())
        return QSize(0, NWTagCellView::rowHeight);
    return QVariant();
}

std::shared_ptr<MVX_Tags> TagListModel::tag(int row) const
{
    const MVX_TagsList* tags = storeTags();
    if (!tags || row < 0 || row >= m_count || row >= tags->size())
        return nullptr;
    return tags->at(row);
}

void TagListModel::reload()
{
    beginResetModel();
    const MVX_TagsList* tags = storeTags();
    m_count = tags ? int(tags->size()) : 0;
    endResetModel();
}

int CategoryExListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_categories.size());
}

QVariant CategoryExListModel::data(const QModelIndex& index, int role) const
{
    if (role == Qt::SizeHintRole && index.isValid())
        return QSize(0, NWCategoryCellView::rowHeight);
    return QVariant();
}

void CategoryExListModel::setCategories(QList<std::shared_ptr<MVX_CategoryEx>> categories)
{
    beginResetModel();
    m_categories = std::move(categories);
    endResetModel();
}

std::shared_ptr<MVX_Category> CategoryExListModel::category(int row) const
{
    if (row < 0 || row >= m_categories.size() || !m_categories.at(row))
        return nullptr;
    return m_categories.at(row)->category();
}
