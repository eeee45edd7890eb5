#pragma once

#include <QListView>
#include <QRectF>

class TableRowHost;

/// A list of widget rows (one TableRowView per row, put in by its TableRowHost) that rules
/// the empty part below the last row with the application's separator, one line per row
/// height, so that a short list still looks like a table. The view itself paints no items.
class HoverTableView : public QListView {
    Q_OBJECT
public:
    explicit HoverTableView(QWidget* parent = nullptr);

    TableRowHost& rowHost() const { return *m_rowHost; }

    /// The height every row is given (the model's size hints are not asked), kept within 1
    /// and 10,000.
    int rowHeight() const { return m_rowHeight; }
    void setRowHeight(int height);

    /// The bottom edge of the last row in the viewport; 0 without rows.
    double yPositionPastLastRow() const;
    /// The empty-row lines for a viewport `width` x `height` whose last row ends at
    /// `pastLastRow`: from one row height below it, one per row height, while above the bottom;
    /// none for a row height below 1 or not finite, and never more than 10,000.
    static QList<QRectF> emptyRowLines(double pastLastRow, double rowHeight, double width, double height);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TableRowHost* m_rowHost = nullptr;
    int m_rowHeight = 26;
};

/// A HoverTableView whose click on a row starts editing that row's value field.
class HoverEditTableView : public HoverTableView {
    Q_OBJECT
public:
    using HoverTableView::HoverTableView;

    /// Starts editing row `row`'s value and selects that row alone; out of range does
    /// nothing (see RowEditing::startEditModeForRow).
    bool startEditModeForRow(int row);
    /// A press on the surface of the row widget `rowView` (not null).
    void mouseDownOnRow(QWidget* rowView);

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

/// The editing table without the ruled empty area.
class HoverEditTableView2 : public QListView {
    Q_OBJECT
public:
    explicit HoverEditTableView2(QWidget* parent = nullptr);

    TableRowHost& rowHost() const { return *m_rowHost; }
    bool startEditModeForRow(int row);
    /// A press on the surface of the row widget `rowView` (not null).
    void mouseDownOnRow(QWidget* rowView);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    TableRowHost* m_rowHost = nullptr;
};
