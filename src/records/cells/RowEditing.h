#pragma once

class QAbstractItemView;
class QPoint;
class QWidget;
class TableRowHost;

/// Starting the edit of a row's value field, shared by the two editing tables.
namespace RowEditing {

/// Starts editing the value field of row `row` of `view` and selects that row alone:
/// out of range does nothing; otherwise the row is scrolled into view, its widget made
/// when it has none yet, and, when the widget is a value row whose field is editable, the
/// field takes the focus and the row is selected. Returns whether editing started.
bool startEditModeForRow(QAbstractItemView& view, TableRowHost& host, int row);
/// A click in the viewport at `position`: starts editing the row there, if it has a widget
/// with an editable field (none is made).
bool startEditAt(QAbstractItemView& view, TableRowHost& host, const QPoint& position);
/// A press on a value row's own surface (not null): starts editing when its table is an
/// editing table.
void rowViewPressed(QWidget* rowView);

} // namespace RowEditing
