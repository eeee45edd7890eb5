#pragma once

#include <QAbstractListModel>

/// A fixed number of rows of one height and no data: for lists whose row widgets (made by a
/// `TableRowHost`) show the rows themselves.
class FixedRowsModel : public QAbstractListModel {
    Q_OBJECT
public:
    FixedRowsModel(int rows, int height, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    /// Only the size hint, for valid indexes; nothing else.
    QVariant data(const QModelIndex& index, int role) const override;

private:
    int m_rows;
    int m_height;
};
