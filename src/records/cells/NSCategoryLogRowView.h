#pragma once

#include "uikit/controls/rows/TableRowView.h"

#include <QPointer>

#include <optional>

class NWCategoryLogCellView;

/// The row of the editor's value tables: it hosts one value cell over its whole area and
/// draws the row's background, a hover glow of `rowTrackingBgColor`, a rounded selection
/// filled with `rectFillColor` and stroked with `rectStrokeColor`, and a separator along
/// its bottom edge. Unset colours draw nothing of their own.
class NSCategoryLogRowView : public TableRowView {
    Q_OBJECT
public:
    explicit NSCategoryLogRowView(QWidget* parent = nullptr);

    /// Puts `cell` over the row (the row takes ownership); replaces an earlier cell.
    void setCell(NWCategoryLogCellView* cell);
    NWCategoryLogCellView* cell() const { return m_cell; }

    QColor rowTrackingBgColor() const { return m_rowTrackingBgColor; }
    void setRowTrackingBgColor(const QColor& color) { m_rowTrackingBgColor = color; }
    /// Read by the first drawing that finds it set; every row of the process then shares
    /// that separator.
    QColor separatorColor() const { return m_separatorColor; }
    void setSeparatorColor(const QColor& color) { m_separatorColor = color; }
    QColor rectStrokeColor() const { return m_rectStrokeColor; }
    void setRectStrokeColor(const QColor& color) { m_rectStrokeColor = color; }
    QColor rectFillColor() const { return m_rectFillColor; }
    void setRectFillColor(const QColor& color) { m_rectFillColor = color; }

    /// The separator every row draws, made from the first colour any row offered; none
    /// while no row has had one.
    static std::optional<QColor> sharedSeparatorColor();

protected:
    void drawBackgroundInRect(QPainter& painter, const QRect& dirty) override;
    void drawSelectionInRect(QPainter& painter, const QRect& dirty) override;
    void drawSeparatorInRect(QPainter& painter, const QRect& dirty) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPointer<NWCategoryLogCellView> m_cell;
    QColor m_rowTrackingBgColor;
    QColor m_separatorColor;
    QColor m_rectStrokeColor;
    QColor m_rectFillColor;
};
