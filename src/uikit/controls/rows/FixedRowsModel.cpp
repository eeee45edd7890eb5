#include "uikit/controls/rows/FixedRowsModel.h"

#include <QSize>

FixedRowsModel::FixedRowsModel(int rows, int height, QObject* parent)
    : QAbstractListModel(parent), m_rows(rows), m_height(height)
{
}

int FixedRowsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

QVariant FixedRowsModel::data(const QModelIndex& index, int role) const
{
    if (role == Qt::SizeHintRole && checkIndex(index, CheckIndexOption::IndexIsValid))
        return QSize(0, m_height);
    return {};
}
