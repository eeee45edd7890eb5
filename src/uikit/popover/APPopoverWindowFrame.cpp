#include "uikit/popover/APPopoverWindowFrame.h"

#include "uikit/popover/PopoverLimits.h"

#include "platform/YUpGeometry.h"

#include <QMouseEvent>
#include <QPainter>

APPopoverWindowFrame::APPopoverWindowFrame(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void APPopoverWindowFrame::setMetrics(const APPopoverGeometry::Metrics& requested)
{
    APPopoverGeometry::Metrics metrics = requested;
    for (qreal APPopoverGeometry::Metrics::*field :
        { &APPopoverGeometry::Metrics::distance, &APPopoverGeometry::Metrics::borderWidth,
            &APPopoverGeometry::Metrics::cornerRadius, &APPopoverGeometry::Metrics::arrowWidth,
            &APPopoverGeometry::Metrics::arrowHeight, &APPopoverGeometry::Metrics::viewMargin })
        metrics.*field = PopoverLimits::decoration(metrics.*field);
    m_metrics = metrics;
    update();
    Q_EMIT outlineChanged();
}

void APPopoverWindowFrame::setBorderColor(const QColor& color)
{
    m_borderColor = color;
    update();
}

void APPopoverWindowFrame::setBackgroundColor(const QColor& color)
{
    m_backgroundColor = color;
    update();
}

QRectF APPopoverWindowFrame::frameRectForContentRect(const QRectF& content) const
{
    return APPopoverGeometry::frameRectForContentRect(m_metrics, content);
}

QRectF APPopoverWindowFrame::contentRectForFrameRect(const QRectF& frame) const
{
    return APPopoverGeometry::contentRectForFrameRect(m_metrics, frame);
}

QPointF APPopoverWindowFrame::attachmentPoint() const
{
    return APPopoverGeometry::attachmentPointForRect(m_metrics, QRectF(0, 0, width(), height()));
}

QPainterPath APPopoverWindowFrame::outlinePath() const
{
    return APPopoverGeometry::framePathForContentRect(
        m_metrics, contentRectForFrameRect(QRectF(0, 0, width(), height())));
}

void APPopoverWindowFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setTransform(QTransform(1, 0, 0, -1, 0, height()));
    const QPainterPath path = outlinePath();
    painter.fillPath(
        path, m_backgroundColor.isValid() ? m_backgroundColor : palette().color(QPalette::Window));
    if (m_metrics.borderWidth > 0) {
        QPen pen(m_borderColor, m_metrics.borderWidth);
        pen.setJoinStyle(Qt::RoundJoin);
        painter.strokePath(path, pen);
    }
}

void APPopoverWindowFrame::mousePressEvent(QMouseEvent* event)
{
    // Hit tests in y-up coordinates, like the outline.
    const QPointF p = platform::toYUp(event->position(), qreal(height()));
    const QRectF content = contentRectForFrameRect(QRectF(0, 0, width(), height()));
    const QPainterPath outline = outlinePath();
    const bool onBorder = outline.contains(p) && !content.contains(p);
    const Drag mode = onBorder ? Drag::Resize : Drag::Move;
    if ((mode == Drag::Resize && !m_resizable) || (mode == Drag::Move && !m_movable)) {
        m_drag = Drag::None;
        QWidget::mousePressEvent(event);
        return;
    }
    m_drag = mode;
    m_pressPoint = event->globalPosition();
    m_startFrame = window()->geometry();
    event->accept();
}

void APPopoverWindowFrame::mouseMoveEvent(QMouseEvent* event)
{
    if (m_drag == Drag::None) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    const QPointF delta = event->globalPosition() - m_pressPoint;
    QWidget* w = window();
    if (m_drag == Drag::Move) {
        w->move(m_startFrame.topLeft() + delta.toPoint());
        return;
    }
    // The bottom-right corner follows the mouse; the top and left edges stay. The content
    // rectangle keeps within the window's minimum and maximum sizes.
    QSizeF size(m_startFrame.width() + delta.x(), m_startFrame.height() + delta.y());
    const QSizeF content = contentRectForFrameRect(QRectF(QPointF(0, 0), size)).size();
    const QSize minimum = w->minimumSize(), maximum = w->maximumSize();
    if (content.width() > maximum.width())
        size.rwidth() -= content.width() - maximum.width();
    else if (content.width() < minimum.width())
        size.rwidth() += minimum.width() - content.width();
    if (content.height() > maximum.height())
        size.rheight() -= content.height() - maximum.height();
    else if (content.height() < minimum.height())
        size.rheight() += minimum.height() - content.height();
    w->setGeometry(QRect(m_startFrame.topLeft(), size.toSize()));
}

void APPopoverWindowFrame::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_drag == Drag::None)
        QWidget::mouseReleaseEvent(event);
    m_drag = Drag::None;
}
