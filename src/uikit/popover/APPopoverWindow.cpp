#include "uikit/popover/APPopoverWindow.h"

#include "uikit/popover/APPopoverWindowFrame.h"
#include "uikit/popover/PopoverGeometry.h"
#include "uikit/popover/PopoverLimits.h"
#include "uikit/popover/PopoverShape.h"

#include "platform/YUpGeometry.h"

namespace {
using APPopoverGeometry::Edge;

// The unit step from the arrow's edge toward the opposite edge, y-up.
QPointF awayFromArrow(Edge edge)
{
    switch (edge) {
    case Edge::Right:
        return { -1, 0 };
    case Edge::Top:
        return { 0, -1 };
    case Edge::Left:
        return { 1, 0 };
    case Edge::Bottom:
        return { 0, 1 };
    case Edge::None:
        break;
    }
    return {};
}

// Changes a metric that only changes the drawing: the window keeps its frame.
template <typename T>
void setDrawingMetric(APPopoverWindowFrame& frame, T APPopoverGeometry::Metrics::*field, T value)
{
    auto metrics = frame.metrics();
    metrics.*field = value;
    frame.setMetrics(metrics);
}
} // namespace

APPopoverWindow::APPopoverWindow() : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_TranslucentBackground);
    m_frame = new APPopoverWindowFrame(this);
    connect(m_frame, &APPopoverWindowFrame::outlineChanged, this, &APPopoverWindow::updateShape);
}

APPopoverWindow::~APPopoverWindow()
{
    if (m_contentView)
        m_contentView->setParent(nullptr);
}

void APPopoverWindow::setContentView(QWidget* view)
{
    if (view == m_contentView)
        return;
    const QSizeF contentSize = view ? PopoverLimits::contentSize(QSizeF(view->size())) : QSizeF();
    resize(m_frame->frameRectForContentRect(QRectF(QPointF(0, 0), contentSize)).size().toSize());
    if (m_contentView)
        m_contentView->setParent(nullptr);
    m_contentView = view;
    if (view) {
        view->setParent(m_frame);
        placeContent();
        view->show();
    }
}

void APPopoverWindow::setContentSize(const QSizeF& size)
{
    resize(m_frame->frameRectForContentRect(QRectF(QPointF(0, 0), PopoverLimits::contentSize(size)))
               .size()
               .toSize());
}

QRectF APPopoverWindow::frameYUp() const
{
    return platform::screenToYUp(QRectF(geometry()));
}

void APPopoverWindow::setFrameYUp(const QRectF& frame)
{
    setGeometry(platform::screenToYDown(platform::saneRect(frame)).toRect());
}

QPointF APPopoverWindow::attachmentPointOnScreen() const
{
    return frameYUp().topLeft() + m_frame->attachmentPoint();
}

APPopoverGeometry::Position APPopoverWindow::popoverPosition() const
{
    return m_frame->metrics().position;
}

void APPopoverWindow::setPopoverPosition(APPopoverGeometry::Position position)
{
    if (position == popoverPosition())
        return;
    const QRectF frame = APPopoverGeometry::frameForNewPosition(m_frame->metrics(), frameYUp(), position);
    auto metrics = m_frame->metrics();
    metrics.position = position;
    m_frame->setMetrics(metrics);
    setFrameYUp(frame);
    placeContent();
}

void APPopoverWindow::setSideValue(qreal APPopoverGeometry::Metrics::*field, qreal value, Sides sides)
{
    value = PopoverLimits::decoration(value);
    auto metrics = m_frame->metrics();
    const qreal d = value - metrics.*field;
    if (d == 0)
        return;
    metrics.*field = value;
    // The arrow's edge stays where it is; the frame gives or takes the room away from it.
    const QPointF away = awayFromArrow(APPopoverGeometry::edgeOf(metrics.position));
    QRectF frame = frameYUp();
    if (sides == Sides::ArrowSide) {
        // Only the room on the arrow side grows: the edge opposite the arrow moves by d.
        frame.adjust(qMin(away.x(), 0.0) * d, qMin(away.y(), 0.0) * d, qMax(away.x(), 0.0) * d,
            qMax(away.y(), 0.0) * d);
    } else {
        // Room grows by d on every side; the whole frame shifts by d to keep the arrow's edge.
        frame = frame.adjusted(-d, -d, d, d).translated(away * d);
    }
    m_frame->setMetrics(metrics);
    setFrameYUp(frame);
    placeContent();
}

void APPopoverWindow::setDistance(qreal distance)
{
    setSideValue(&APPopoverGeometry::Metrics::distance, distance, Sides::ArrowSide);
}

void APPopoverWindow::setArrowHeight(qreal height)
{
    setSideValue(&APPopoverGeometry::Metrics::arrowHeight, height, Sides::ArrowSide);
}

void APPopoverWindow::setBorderWidth(qreal width)
{
    setSideValue(&APPopoverGeometry::Metrics::borderWidth, width, Sides::AllSides);
}

void APPopoverWindow::setViewMargin(qreal margin)
{
    setSideValue(&APPopoverGeometry::Metrics::viewMargin, margin, Sides::AllSides);
}

void APPopoverWindow::setCornerRadius(qreal radius)
{
    setDrawingMetric(*m_frame, &APPopoverGeometry::Metrics::cornerRadius, radius);
}

void APPopoverWindow::setDrawsArrow(bool draws)
{
    setDrawingMetric(*m_frame, &APPopoverGeometry::Metrics::drawsArrow, draws);
}

void APPopoverWindow::setArrowWidth(qreal width)
{
    setDrawingMetric(*m_frame, &APPopoverGeometry::Metrics::arrowWidth, width);
}

void APPopoverWindow::setDrawRoundCornerBesideArrow(bool rounds)
{
    setDrawingMetric(*m_frame, &APPopoverGeometry::Metrics::drawRoundCornerBesideArrow, rounds);
}

void APPopoverWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeContent();
    updateShape();
}

void APPopoverWindow::showEvent(QShowEvent* event)
{
    updateShape(); // a compositor may have come or gone since the last show
    QWidget::showEvent(event);
}

void APPopoverWindow::updateShape()
{
    PopoverShape::applyMask(this, [this] {
        return PopoverShape::maskRegion(m_frame->outlinePath(), size(), m_frame->metrics().borderWidth);
    });
}

void APPopoverWindow::placeContent()
{
    m_frame->setGeometry(rect());
    if (!m_contentView)
        return;
    // The content rectangle is y-up inside the window; flip it once.
    const QRectF content = m_frame->contentRectForFrameRect(QRectF(0, 0, width(), height()));
    m_contentView->setGeometry(platform::toYDown(content, qreal(height())).toRect());
}
