#include "uikit/controls/rows/TableRowHost.h"

#include "uikit/controls/rows/TableRowView.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>

TableRowHost::TableRowHost(QAbstractItemView* view) : QObject(view), m_view(view)
{
    if (view->selectionModel())
        connect(
            view->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TableRowHost::synchronize);
}

void TableRowHost::setRowView(const QModelIndex& index, TableRowView* row)
{
    if (!m_view || !index.isValid())
        return;
    const QModelIndex first = index.siblingAtColumn(0);
    m_view->setIndexWidget(first, row);
    const QPersistentModelIndex persistent(first);
    connect(row, &TableRowView::pressed, this, [this, persistent] {
        if (!m_view || !persistent.isValid() || m_view->selectionMode() == QAbstractItemView::NoSelection)
            return;
        m_view->selectionModel()->setCurrentIndex(
            persistent, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    });
    // A model swapped after construction brings a new selection model.
    if (m_view->selectionModel())
        connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TableRowHost::synchronize, Qt::UniqueConnection);
    synchronize();
}

TableRowView* TableRowHost::rowView(int row) const
{
    if (!m_view || !m_view->model())
        return nullptr;
    return qobject_cast<TableRowView*>(m_view->indexWidget(m_view->model()->index(row, 0)));
}

void TableRowHost::synchronize()
{
    if (!m_view || !m_view->model())
        return;
    using Style = TableRowView::SelectionHighlightStyle;
    const Style style
        = m_view->selectionMode() == QAbstractItemView::NoSelection ? Style::None : Style::Regular;
    QItemSelectionModel* const selection = m_view->selectionModel();
    for (int row = 0; row < m_view->model()->rowCount(); ++row) {
        TableRowView* const view = rowView(row);
        if (!view)
            continue;
        view->setSelectionHighlightStyle(style);
        view->setSelected(selection && selection->isRowSelected(row, QModelIndex()));
    }
}
