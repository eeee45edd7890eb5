#include "uikit/popover/APPopoverWindow.h"

#include "uikit/popover/APPopoverWindowFrame.h"
#include "uikit/popover/PopoverGeometry.h"
#include "uikit/popover/PopoverShape.h"

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
    const QSizeF contentSize = view ? QSizeF(view->size()) : QSizeF();
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
    resize(m_frame->frameRectForContentRect(QRectF(QPointF(0, 0), size)).size().toSize());
}

QRectF APPopoverWindow::frameYUp() const
{
    return PKPopoverGeometry::toYUp(QRectF(geometry()));
}

void APPopoverWindow::setFrameYUp(const QRectF& frame)
{
    setGeometry(PKPopoverGeometry::fromYUp(frame).toRect());
}

QPointF APPopoverWindow::attachmentPointOnScreen() const
{
    return frameYUp().topLeft() + m_frame->attachmentPoint();
}

int APPopoverWindow::popoverPosition() const
{
    return m_frame->metrics().position;
}

void APPopoverWindow::setPopoverPosition(int position)
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

void APPopoverWindow::setArrowSideValue(qreal APPopoverGeometry::Metrics::*field, qreal value)
{
    auto metrics = m_frame->metrics();
    const qreal d = value - metrics.*field;
    if (d == 0)
        return;
    metrics.*field = value;
    // Only the arrow side grows: the far edges stay where they are.
    QRectF frame = frameYUp();
    switch (APPopoverGeometry::edgeOf(metrics.position)) {
    case APPopoverGeometry::Edge::Right:
        frame.adjust(-d, 0, 0, 0);
        break;
    case APPopoverGeometry::Edge::Top:
        frame.adjust(0, -d, 0, 0);
        break;
    case APPopoverGeometry::Edge::Left:
        frame.adjust(0, 0, d, 0);
        break;
    case APPopoverGeometry::Edge::Bottom:
        frame.adjust(0, 0, 0, d);
        break;
    case APPopoverGeometry::Edge::None:
        break;
    }
    m_frame->setMetrics(metrics);
    setFrameYUp(frame);
    placeContent();
}

void APPopoverWindow::setAllSidesValue(qreal APPopoverGeometry::Metrics::*field, qreal value)
{
    auto metrics = m_frame->metrics();
    const qreal d = value - metrics.*field;
    if (d == 0)
        return;
    metrics.*field = value;
    QRectF frame = frameYUp().adjusted(-d, -d, d, d);
    // Keep the arrow side in place.
    switch (APPopoverGeometry::edgeOf(metrics.position)) {
    case APPopoverGeometry::Edge::Right:
        frame.translate(-d, 0);
        break;
    case APPopoverGeometry::Edge::Top:
        frame.translate(0, -d);
        break;
    case APPopoverGeometry::Edge::Left:
        frame.translate(d, 0);
        break;
    case APPopoverGeometry::Edge::Bottom:
        frame.translate(0, d);
        break;
    case APPopoverGeometry::Edge::None:
        break;
    }
    m_frame->setMetrics(metrics);
    setFrameYUp(frame);
    placeContent();
}

void APPopoverWindow::setDistance(qreal distance)
{
    setArrowSideValue(&APPopoverGeometry::Metrics::distance, distance);
}

void APPopoverWindow::setArrowHeight(qreal height)
{
    setArrowSideValue(&APPopoverGeometry::Metrics::arrowHeight, height);
}

void APPopoverWindow::setBorderWidth(qreal width)
{
    setAllSidesValue(&APPopoverGeometry::Metrics::borderWidth, width);
}

void APPopoverWindow::setViewMargin(qreal margin)
{
    setAllSidesValue(&APPopoverGeometry::Metrics::viewMargin, margin);
}

void APPopoverWindow::setCornerRadius(qreal radius)
{
    auto metrics = m_frame->metrics();
    metrics.cornerRadius = radius;
    m_frame->setMetrics(metrics);
}

void APPopoverWindow::setDrawsArrow(bool draws)
{
    auto metrics = m_frame->metrics();
    metrics.drawsArrow = draws;
    m_frame->setMetrics(metrics);
}

void APPopoverWindow::setArrowWidth(qreal width)
{
    auto metrics = m_frame->metrics();
    metrics.arrowWidth = width;
    m_frame->setMetrics(metrics);
}

void APPopoverWindow::setDrawRoundCornerBesideArrow(bool rounds)
{
    auto metrics = m_frame->metrics();
    metrics.drawRoundCornerBesideArrow = rounds;
    m_frame->setMetrics(metrics);
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
    PopoverShape::applyMask(
        this, PopoverShape::maskRegion(m_frame->outlinePath(), size(), m_frame->metrics().borderWidth));
}

void APPopoverWindow::placeContent()
{
    m_frame->setGeometry(rect());
    if (!m_contentView)
        return;
    // The content rectangle is y-up inside the window; flip it once.
    const QRectF content = m_frame->contentRectForFrameRect(QRectF(0, 0, width(), height()));
    m_contentView->setGeometry(
        QRectF(content.x(), height() - content.y() - content.height(), content.width(), content.height())
            .toRect());
}
