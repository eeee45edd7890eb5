#pragma once

#include <QModelIndex>
#include <QObject>
#include <QPointer>

class QAbstractItemView;
class TableRowView;

/// Hosts one TableRowView per row of an item view (set with setIndexWidget in column 0)
/// and keeps the rows' selected state and highlight style in step with the view: the
/// view owns the model, selection, keyboard and scrolling; the row widget draws the
/// row and holds its live controls. Pressing a row's surface selects that row.
class TableRowHost : public QObject {
    Q_OBJECT
public:
    /// Lives as long as the view (it becomes the view's child).
    explicit TableRowHost(QAbstractItemView* view);

    /// Puts `row` over the row of `index` (the view takes ownership of the widget).
    void setRowView(const QModelIndex& index, TableRowView* row);
    /// The row widget of model row `row`, or none.
    TableRowView* rowView(int row) const;
    /// Re-reads selection and highlight style into every row widget.
    void synchronize();

private:
    QPointer<QAbstractItemView> m_view;
};
