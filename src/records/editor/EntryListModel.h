#pragma once

#include <QAbstractListModel>

/// The rows of one of the editor's lists: only a count, since each row's widget shows
/// what the row holds. Changing the count resets the model.
class EntryListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    void setCount(int count);
    int count() const { return m_count; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    int m_count = 0;
};
