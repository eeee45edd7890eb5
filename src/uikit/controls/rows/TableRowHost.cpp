#include "uikit/controls/rows/TableRowHost.h"

#include "uikit/controls/rows/TableRowView.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <typeinfo>

namespace {

/// The row widgets draw everything; the view's own item painting (its focus frame and
/// selection behind a widget) would only show through around them.
class RowWidgetDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter*, const QStyleOptionViewItem&, const QModelIndex&) const override { }
};

} // namespace

TableRowHost::TableRowHost(QAbstractItemView* view) : QObject(view), m_view(view)
{
    // Only in place of the view's own delegate: a view that brought its own keeps it.
    if (QAbstractItemDelegate* delegate = view->itemDelegate();
        delegate && typeid(*delegate) == typeid(QStyledItemDelegate))
        view->setItemDelegate(new RowWidgetDelegate(view));
    if (view->selectionModel())
        connect(
            view->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TableRowHost::synchronize);
}

void TableRowHost::prepareView(QAbstractItemView& view, QAbstractItemView::SelectionMode mode)
{
    view.setFrameShape(QFrame::NoFrame);
    view.setSelectionMode(mode);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    if (mode == QAbstractItemView::NoSelection) {
        view.setFocusPolicy(Qt::NoFocus);
        view.viewport()->setAutoFillBackground(false);
    }
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
    connect(row, &TableRowView::doubleClicked, this, [this, persistent] {
        if (persistent.isValid())
            Q_EMIT rowDoubleClicked(persistent.row());
    });
    // A model swapped after construction brings a new selection model.
    if (m_view->selectionModel())
        connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TableRowHost::synchronize, Qt::UniqueConnection);
    // The other rows are in step already; a list that makes rows as it scrolls must not
    // visit all of them for each one it makes.
    synchronizeRow(first.row(), row);
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
    for (int row = 0; row < m_view->model()->rowCount(); ++row) {
        if (TableRowView* const view = rowView(row))
            synchronizeRow(row, view);
    }
}

void TableRowHost::synchronizeRow(int row, TableRowView* view)
{
    using Style = TableRowView::SelectionHighlightStyle;
    view->setSelectionHighlightStyle(
        m_view->selectionMode() == QAbstractItemView::NoSelection ? Style::None : Style::Regular);
    QItemSelectionModel* const selection = m_view->selectionModel();
    view->setSelected(selection && selection->isRowSelected(row, QModelIndex()));
}

void TableRowHost::setRowFactory(RowFactory factory)
{
    const bool first = !m_factory;
    m_factory = std::move(factory);
    if (!m_view || !first) {
        scheduleFill();
        return;
    }
    m_viewport = m_view->viewport();
    m_viewport->installEventFilter(this);
    connect(m_view->verticalScrollBar(), &QScrollBar::valueChanged, this, &TableRowHost::scheduleFill);
    connect(m_view->horizontalScrollBar(), &QScrollBar::valueChanged, this, &TableRowHost::scheduleFill);
    // The view may swap its model; the host follows whichever model it has when it fills,
    // and listens to the model it was given at first for the changes that bring rows in.
    if (QAbstractItemModel* model = m_view->model()) {
        connect(model, &QAbstractItemModel::modelReset, this, &TableRowHost::scheduleFill);
        connect(model, &QAbstractItemModel::rowsInserted, this, &TableRowHost::scheduleFill);
        connect(model, &QAbstractItemModel::rowsRemoved, this, &TableRowHost::scheduleFill);
        connect(model, &QAbstractItemModel::layoutChanged, this, &TableRowHost::scheduleFill);
    }
    scheduleFill();
}

TableRowView* TableRowHost::ensureRowView(int row)
{
    if (!m_view || !m_view->model() || !m_factory || row < 0 || row >= m_view->model()->rowCount())
        return nullptr;
    if (TableRowView* existing = rowView(row))
        return existing;
    const QModelIndex index = m_view->model()->index(row, 0);
    TableRowView* made = m_factory(index);
    if (made)
        setRowView(index, made);
    return made;
}

void TableRowHost::scheduleFill()
{
    if (m_fillPending || !m_view)
        return;
    m_fillPending = true;
    // Queued, because the view lays out its rows after the model's signals; the paint
    // filter below fills first when a paint comes sooner.
    QMetaObject::invokeMethod(this, &TableRowHost::fillVisibleRows, Qt::QueuedConnection);
}

bool TableRowHost::eventFilter(QObject* watched, QEvent* event)
{
    // The view is not touched for other events: while it is being destroyed its viewport
    // still sends some, and it is no longer an item view then.
    if (watched == m_viewport) {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Show)
            scheduleFill();
        else if (event->type() == QEvent::Paint && m_fillPending)
            fillVisibleRows();
    }
    return QObject::eventFilter(watched, event);
}

void TableRowHost::fillVisibleRows()
{
    m_fillPending = false;
    if (!m_view || !m_view->model() || !m_factory)
        return;
    QAbstractItemModel* const model = m_view->model();
    const int count = model->rowCount();
    if (count == 0)
        return;
    const QRect visible = m_view->viewport()->rect();
    const QModelIndex top = m_view->indexAt(QPoint(1, 1));
    // Rows lie top to bottom: start at the row under the top edge and stop at the first row
    // below the bottom edge.
    for (int row = top.isValid() ? top.row() : 0; row < count; ++row) {
        const QRect rect = m_view->visualRect(model->index(row, 0));
        if (rect.top() > visible.bottom())
            break;
        if (rect.isValid() && rect.intersects(visible))
            ensureRowView(row);
    }
}
