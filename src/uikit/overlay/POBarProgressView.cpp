#include "uikit/overlay/POBarProgressView.h"

#include "uikit/overlay/OverlayGeometry.h"

#include <QPainter>

POBarProgressView::POBarProgressView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    resize(120, 20);
}

void POBarProgressView::setProgress(qreal progress)
{
    m_progress = OverlayGeometry::pieFraction(progress, 1.0);
    update();
}

void POBarProgressView::setLineColor(const QColor& color)
{
    m_lineColor = color;
    update();
}

void POBarProgressView::setProgressRemainingColor(const QColor& color)
{
    m_progressRemainingColor = color;
    update();
}

void POBarProgressView::setProgressColor(const QColor& color)
{
    m_progressColor = color;
    update();
}

void POBarProgressView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setTransform(QTransform(1, 0, 0, -1, 0, height()));
    const QSizeF size(width(), height());
    const QPainterPath outline = OverlayGeometry::barOutlinePath(size);
    painter.fillPath(outline, m_progressRemainingColor);
    painter.strokePath(outline, QPen(m_lineColor, 2));
    painter.fillPath(OverlayGeometry::barProgressPath(size, m_progress), m_progressColor);
}
