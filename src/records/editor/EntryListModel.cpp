#include "records/editor/EntryListModel.h"

void EntryListModel::setCount(int count)
{
    beginResetModel();
    m_count = std::max(0, count);
    endResetModel();
}

int EntryListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_count;
}

QVariant EntryListModel::data(const QModelIndex&, int) const
{
    return {};
}
