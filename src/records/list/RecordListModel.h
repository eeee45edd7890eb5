#pragma once

#include "model/data/MVX_Model.h"

#include <QAbstractListModel>

/// The store's monthly records, newest first, as rows. It keeps no copy: every call reads
/// the store's list, and `reload` tells the view that the list changed.
class RecordListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    /// Only the size hint: the row widgets show the record.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    /// The record of a row, or null outside the list.
    std::shared_ptr<MVX_NWLog> record(int row) const;
    /// The row of this very record, or -1.
    int rowOf(const MVX_NWLog* record) const;
    /// Rows from the store's records as they are now.
    void reload();

private:
    int m_count = 0;
};
