#pragma once

#include "uikit/popover/APPopoverGeometry.h"

#include <QColor>
#include <QPainterPath>
#include <QWidget>

/// The point popover's frame view: owns its geometry and drawing, and lets the user move or
/// resize the popover by dragging when allowed.
class APPopoverWindowFrame : public QWidget {
    Q_OBJECT
public:
    explicit APPopoverWindowFrame(QWidget* parent = nullptr);

    const APPopoverGeometry::Metrics& metrics() const { return m_metrics; }
    /// Replaces the geometry values and repaints; the window keeps its frame.
    void setMetrics(const APPopoverGeometry::Metrics& metrics);

    bool isMovable() const { return m_movable; }
    void setMovable(bool movable) { m_movable = movable; }
    bool isResizable() const { return m_resizable; }
    void setResizable(bool resizable) { m_resizable = resizable; }
    QColor borderColor() const { return m_borderColor; }
    void setBorderColor(const QColor& color);
    QColor backgroundColor() const { return m_backgroundColor; }
    /// An invalid colour paints the window colour of the palette the frame is shown with, so
    /// that the background follows an appearance switch.
    void setBackgroundColor(const QColor& color);

    /// Rectangles in y-up coordinates of this view.
    QRectF frameRectForContentRect(const QRectF& content) const;
    QRectF contentRectForFrameRect(const QRectF& frame) const;
    QPointF attachmentPoint() const;
    /// The panel's outline with its arrow, in y-up coordinates of this view.
    QPainterPath outlinePath() const;

Q_SIGNALS:
    /// The geometry values changed, and with them possibly the outline.
    void outlineChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    enum class Drag { None, Move, Resize };

    APPopoverGeometry::Metrics m_metrics;
    bool m_movable = false;
    bool m_resizable = false;
    QColor m_borderColor = Qt::white;
    QColor m_backgroundColor = QColor::fromRgbF(0.1f, 0.1f, 0.1f, 0.75f);
    Drag m_drag = Drag::None;
    QPointF m_pressPoint;
    QRect m_startFrame;
};
