#pragma once

#include "uikit/controls/rows/TableRowView.h"

/// A fixed-colour row: soft yellow hover glow, grey rounded selection, fading separator.
class NWTableRowView : public TableRowView {
    Q_OBJECT
public:
    using TableRowView::TableRowView;

protected:
    void drawBackgroundInRect(QPainter& painter, const QRect& dirty) override;
    void drawSelectionInRect(QPainter& painter, const QRect& dirty) override;
};

/// The twin of NWTableRowView whose glow and separator peak in the middle of the row.
class NWDateRowView : public TableRowView {
    Q_OBJECT
public:
    using TableRowView::TableRowView;

protected:
    void drawBackgroundInRect(QPainter& painter, const QRect& dirty) override;
    void drawSelectionInRect(QPainter& painter, const QRect& dirty) override;
    void drawSeparatorInRect(QPainter& painter, const QRect& dirty) override;
};
