#include "records/cells/RowEditing.h"

#include "records/cells/HoverTableView.h"
#include "records/cells/NSCategoryLogRowView.h"
#include "records/cells/NWCategoryLogCellView.h"
#include "records/cells/NWTableTextField.h"

#include "uikit/controls/rows/TableRowHost.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>

namespace RowEditing {

namespace {

NWTableTextField* editableField(TableRowView* rowView)
{
    auto* row = qobject_cast<NSCategoryLogRowView*>(rowView);
    if (!row || !row->cell())
        return nullptr;
    NWTableTextField* const field = row->cell()->valueLabel();
    return field && field->isEnabled() && !field->isReadOnly() ? field : nullptr;
}

bool focusAndSelect(QAbstractItemView& view, NWTableTextField* field, int row)
{
    if (!field)
        return false;
    field->setFocus(Qt::OtherFocusReason);
    if (view.selectionModel())
        view.selectionModel()->setCurrentIndex(
            view.model()->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    return true;
}

} // namespace

bool startEditModeForRow(QAbstractItemView& view, TableRowHost& host, int row)
{
    if (!view.model() || row < 0 || row >= view.model()->rowCount())
        return false;
    view.scrollTo(view.model()->index(row, 0));
    return focusAndSelect(view, editableField(host.ensureRowView(row)), row);
}

bool startEditAt(QAbstractItemView& view, TableRowHost& host, const QPoint& position)
{
    const QModelIndex index = view.indexAt(position);
    if (!index.isValid())
        return false;
    return focusAndSelect(view, editableField(host.rowView(index.row())), index.row());
}

void rowViewPressed(QWidget* rowView)
{
    Q_ASSERT(rowView);
    if (!rowView)
        return;
    for (QWidget* up = rowView->parentWidget(); up; up = up->parentWidget()) {
        if (auto* table = qobject_cast<HoverEditTableView*>(up)) {
            table->mouseDownOnRow(rowView);
            return;
        }
        if (auto* table = qobject_cast<HoverEditTableView2*>(up)) {
            table->mouseDownOnRow(rowView);
            return;
        }
    }
}

} // namespace RowEditing
