#pragma once

#include <QColor>
#include <QPainterPath>
#include <QSizeF>
#include <QWidget>

#include "uikit/popover/PopoverGeometry.h"

#include <functional>

/// The popover window's frame view: a rounded panel with an arrow, its fill, border and an
/// optional one-point highlight under the top edge. Setters repaint when the value changes.
/// The fill and the border are either fixed colours or taken from the palette in effect when
/// painting, so that a shown popover follows an appearance change.
class PKPopoverWindowFrame : public QWidget {
    Q_OBJECT
public:
    /// A colour read from the frame's current palette.
    using PaletteColor = std::function<QColor(const QPalette&)>;

    explicit PKPopoverWindowFrame(QWidget* parent = nullptr);

    QColor color() const;
    /// A fixed fill; replaces a palette colour.
    void setColor(const QColor& color);
    void setColor(PaletteColor color);
    /// An invalid colour means none.
    QColor borderColor() const;
    void setBorderColor(const QColor& color);
    void setBorderColor(PaletteColor color);
    QColor topHighlightColor() const { return m_topHighlightColor; }
    void setTopHighlightColor(const QColor& color) { m_topHighlightColor = color; }
    qreal borderWidth() const { return m_borderWidth; }
    void setBorderWidth(qreal width);
    qreal cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(qreal radius);
    PKPopoverGeometry::ArrowDirection arrowDirection() const { return m_arrowDirection; }
    void setArrowDirection(PKPopoverGeometry::ArrowDirection direction);
    QSizeF arrowSize() const { return m_arrowSize; }
    void setArrowSize(const QSizeF& size);
    /// How far the arrow sits from the middle of its edge (y-up), for a panel shifted to stay
    /// on the screen.
    qreal arrowOffset() const { return m_arrowOffset; }
    void setArrowOffset(qreal offset);

    /// The panel's outline with its arrow, in y-up coordinates of this view.
    QPainterPath outlinePath() const;

Q_SIGNALS:
    /// The outline's shape changed (not only its colours).
    void outlineChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QColor m_color = QColor::fromRgbF(0, 0, 0, 0.8f);
    QColor m_borderColor;
    PaletteColor m_paletteColor;
    PaletteColor m_paletteBorderColor;
    QColor m_topHighlightColor;
    qreal m_borderWidth = 0;
    qreal m_cornerRadius = 4.0;
    PKPopoverGeometry::ArrowDirection m_arrowDirection = PKPopoverGeometry::ArrowDirection::Left;
    QSizeF m_arrowSize { 23, 12 };
    qreal m_arrowOffset = 0;
};
