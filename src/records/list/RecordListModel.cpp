#include "records/list/RecordListModel.h"

#include "model/store/NWData.h"

namespace {

const MVX_NWLogList* storeRecords()
{
    const auto& model = NWData::shared()->appData();
    return model && model->nwLogArray() ? &*model->nwLogArray() : nullptr;
}

} // namespace

int RecordListModel::rowCount(const QModelIndex& parent) const
{
    // The count the view was last told of, so that a store changed before `reload` never
    // shows the view rows it has not heard of.
    return parent.isValid() ? 0 : m_count;
}

QVariant RecordListModel::data(const QModelIndex& index, int role) const
{
    static_cast<void>(index);
    static_cast<void>(role);
    return QVariant();
}

std::shared_ptr<MVX_NWLog> RecordListModel::record(int row) const
{
    const MVX_NWLogList* records = storeRecords();
    if (!records || row < 0 || row >= m_count || row >= records->size())
        return nullptr;
    return records->at(row);
}

int RecordListModel::rowOf(const MVX_NWLog* record) const
{
    const MVX_NWLogList* records = storeRecords();
    if (!records)
        return -1;
    for (int row = 0; row < std::min<int>(m_count, records->size()); ++row) {
        if (records->at(row).get() == record)
            return row;
    }
    return -1;
}

void RecordListModel::reload()
{
    beginResetModel();
    const MVX_NWLogList* records = storeRecords();
    m_count = records ? int(records->size()) : 0;
    endResetModel();
}
