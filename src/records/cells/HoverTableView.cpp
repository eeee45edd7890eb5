#include "records/cells/HoverTableView.h"

#include "records/cells/RowEditing.h"

#include "platform/SaneGeometry.h"
#include "uikit/controls/rows/TableRowDrawing.h"
#include "uikit/controls/rows/TableRowHost.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>
#include <cmath>

namespace {

// Rows lower than a point draw nothing a user can see; a row taller than any screen is a
// caller's mistake that would overflow the layout.
constexpr int minimumRowHeight = 1;
constexpr int maximumRowHeight = 10000;
// More empty lines than any screen holds are never drawn.
constexpr qsizetype maximumEmptyRowLines = 10000;

// Rows are drawn by their widgets; the view's own item painting would show through them.
class NoItemPainting : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter*, const QStyleOptionViewItem&, const QModelIndex&) const override { }
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return QSize(1, height);
    }
    int height = 26;
};

void setUpRowList(QListView& view, TableRowHost*& host)
{
    view.setItemDelegate(new NoItemPainting(&view));
    view.setUniformItemSizes(true);
    TableRowHost::prepareView(view, QAbstractItemView::SingleSelection);
    host = new TableRowHost(&view);
}

} // namespace

HoverTableView::HoverTableView(QWidget* parent) : QListView(parent)
{
    setUpRowList(*this, m_rowHost);
}

void HoverTableView::setRowHeight(int height)
{
    height = std::clamp(height, minimumRowHeight, maximumRowHeight);
    m_rowHeight = height;
    if (auto* delegate = dynamic_cast<NoItemPainting*>(itemDelegate()))
        delegate->height = height;
    doItemsLayout();
}

double HoverTableView::yPositionPastLastRow() const
{
    if (!model() || model()->rowCount() == 0)
        return 0.0;
    const QRect last = visualRect(model()->index(model()->rowCount() - 1, 0));
    return last.isValid() ? double(last.y() + last.height()) : 0.0;
}

QList<QRectF> HoverTableView::emptyRowLines(double pastLastRow, double rowHeight, double width, double height)
{
    QList<QRectF> lines;
    if (!std::isfinite(rowHeight) || rowHeight < minimumRowHeight)
        return lines;
    rowHeight = std::min(rowHeight, double(maximumRowHeight));
    pastLastRow = platform::saneCoordinate(pastLastRow);
    width = platform::saneLength(width);
    height = platform::saneLength(height);
    for (double y = pastLastRow + rowHeight; y < height && lines.size() < maximumEmptyRowLines;
         y += rowHeight)
        lines.append(QRectF(0, y, width, 1.0));
    return lines;
}

void HoverTableView::paintEvent(QPaintEvent* event)
{
    QListView::paintEvent(event);
    QPainter painter(viewport());
    const QRect area = viewport()->rect();
    for (const QRectF& line : emptyRowLines(yPositionPastLastRow(), m_rowHeight, area.width(), area.height()))
        DrawSeparatorInRect(painter, line);
}

bool HoverEditTableView::startEditModeForRow(int row)
{
    return RowEditing::startEditModeForRow(*this, rowHost(), row);
}

void HoverEditTableView::mouseDownOnRow(QWidget* rowView)
{
    Q_ASSERT(rowView);
    if (!rowView)
        return;
    RowEditing::startEditAt(*this, rowHost(), rowView->geometry().center());
}

void HoverEditTableView::mousePressEvent(QMouseEvent* event)
{
    HoverTableView::mousePressEvent(event);
    RowEditing::startEditAt(*this, rowHost(), event->position().toPoint());
}

HoverEditTableView2::HoverEditTableView2(QWidget* parent) : QListView(parent)
{
    setUpRowList(*this, m_rowHost);
}

bool HoverEditTableView2::startEditModeForRow(int row)
{
    return RowEditing::startEditModeForRow(*this, rowHost(), row);
}

void HoverEditTableView2::mouseDownOnRow(QWidget* rowView)
{
    Q_ASSERT(rowView);
    if (!rowView)
        return;
    RowEditing::startEditAt(*this, rowHost(), rowView->geometry().center());
}

void HoverEditTableView2::mousePressEvent(QMouseEvent* event)
{
    QListView::mousePressEvent(event);
    RowEditing::startEditAt(*this, rowHost(), event->position().toPoint());
}
