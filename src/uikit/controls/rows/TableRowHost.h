#pragma once

#include <QAbstractItemView>
#include <QModelIndex>
#include <QObject>
#include <QPointer>

#include <functional>

class TableRowView;

/// Hosts one TableRowView per row of an item view (set with setIndexWidget in column 0)
/// and keeps the rows' selected state and highlight style in step with the view: the
/// view owns the model, selection, keyboard and scrolling; the row widget draws the
/// row and holds its live controls. Pressing a row's surface selects that row.
///
/// With a row factory the host makes a row's widget only when the row comes into view
/// (scrolling, resizing, rows inserted, the model reset), so a list of thousands of rows
/// costs what its visible rows cost. A widget once made stays until its row goes.
class TableRowHost : public QObject {
    Q_OBJECT
public:
    /// Makes the widget for the row of `index`; the host puts it in (the view owns it).
    using RowFactory = std::function<TableRowView*(const QModelIndex& index)>;

    /// Lives as long as the view (it becomes the view's child).
    explicit TableRowHost(QAbstractItemView* view);

    /// The look every hosted list shares: no frame, smooth scrolling, no horizontal scroll
    /// bar, no item editing, the given selection mode. A list that selects nothing takes no
    /// keyboard focus either (there is nothing to do on a row) and shows the background of
    /// whatever it lies on.
    static void prepareView(QAbstractItemView& view, QAbstractItemView::SelectionMode mode);

    /// Puts `row` over the row of `index` (the view takes ownership of the widget).
    void setRowView(const QModelIndex& index, TableRowView* row);
    /// The row widget of model row `row`, or none.
    TableRowView* rowView(int row) const;
    /// Re-reads selection and highlight style into every row widget.
    void synchronize();

    /// From now on rows in view get their widget from `factory`; the rows in view now get
    /// theirs before the view next paints.
    void setRowFactory(RowFactory factory);
    /// The widget of model row `row`, made by the factory now when it has none yet (for a
    /// row about to be scrolled to or edited); none without a factory or such a row.
    TableRowView* ensureRowView(int row);

Q_SIGNALS:
    /// The widget of model row `row` was double-clicked on its own surface (the view's
    /// doubleClicked never sees a click that lands on a row widget).
    void rowDoubleClicked(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// Gives one row widget the view's highlight style and the row's selected state.
    void synchronizeRow(int row, TableRowView* view);
    /// Gives every row in view that has no widget one from the factory.
    void fillVisibleRows();
    /// Fills before the next paint, once however often it is asked for.
    void scheduleFill();

    QPointer<QAbstractItemView> m_view;
    QPointer<QWidget> m_viewport;
    RowFactory m_factory;
    bool m_fillPending = false;
};
