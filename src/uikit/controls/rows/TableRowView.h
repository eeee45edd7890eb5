#pragma once

#include <QColor>
#include <QRect>
#include <QWidget>

/// The common row of the application's lists: a widget that holds the row's live
/// controls and draws its background, hover glow, selection and separator. The list
/// that hosts it (see TableRowHost) tells it whether it is selected.
class TableRowView : public QWidget {
    Q_OBJECT
public:
    /// How the hosting list shows selection: None draws no selection shape.
    enum class SelectionHighlightStyle { None = -1, Regular = 0 };

    explicit TableRowView(QWidget* parent = nullptr);

    bool mouseInside() const { return m_mouseInside; }
    /// Redraws the whole row only when the value changes.
    void setMouseInside(bool inside);
    bool isSelected() const { return m_selected; }
    void setSelected(bool selected);
    SelectionHighlightStyle selectionHighlightStyle() const { return m_selectionHighlightStyle; }
    void setSelectionHighlightStyle(SelectionHighlightStyle style);
    /// Filled under everything; invalid fills nothing.
    QColor backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(const QColor& color);

    /// A strip one pixel high along the row's bottom edge.
    QRect separatorRect() const;

Q_SIGNALS:
    /// The row's own surface (not one of its controls) was pressed.
    void pressed();
    /// The row's own surface was double-clicked.
    void doubleClicked();

protected:
    virtual void drawBackgroundInRect(QPainter& painter, const QRect& dirty);
    virtual void drawSelectionInRect(QPainter& painter, const QRect& dirty);
    virtual void drawSeparatorInRect(QPainter& painter, const QRect& dirty);
    /// Draws the rounded selection shape over the whole bounds.
    void drawSelectionShape(
        QPainter& painter, const QColor& stroke, const QColor& fill, qreal radius, qreal lineWidth);

    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool m_mouseInside = false;
    bool m_selected = false;
    SelectionHighlightStyle m_selectionHighlightStyle = SelectionHighlightStyle::Regular;
    QColor m_backgroundColor;
};
