#include "uikit/overlay/PORoundProgressView.h"

#include "uikit/overlay/OverlayGeometry.h"

#include <QPainter>
#include <QPainterPath>

PORoundProgressView::PORoundProgressView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    resize(37, 37);
}

void PORoundProgressView::setAnnular(bool annular)
{
    m_annular = annular;
    update();
}

void PORoundProgressView::setProgress(qreal progress)
{
    m_progress = OverlayGeometry::pieFraction(progress, 1.0);
    update();
}

void PORoundProgressView::setProgressTintColor(const QColor& color)
{
    m_progressTintColor = color;
    update();
}

void PORoundProgressView::setBackgroundTintColor(const QColor& color)
{
    m_backgroundTintColor = color;
    update();
}

void PORoundProgressView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF circle = QRectF(rect()).adjusted(2, 2, -2, -2);
    const QPointF centre = QRectF(rect()).center();
    // QPainterPath angles: 90 is the top, negative sweeps run clockwise on screen.
    const qreal sweep = -m_progress * 360;
    if (m_annular) {
        const qreal radius = (width() - 5) / 2.0;
        const QRectF ring(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
        QPen pen(m_backgroundTintColor, 5);
        pen.setCapStyle(Qt::RoundCap);
        painter.setPen(pen);
        painter.drawEllipse(ring);
        if (m_progress > 0) {
            pen.setColor(m_progressTintColor);
            painter.setPen(pen);
            QPainterPath arc;
            arc.arcMoveTo(ring, 90);
            arc.arcTo(ring, 90, sweep);
            painter.drawPath(arc);
        }
        return;
    }
    painter.setPen(QPen(m_progressTintColor, 2));
    painter.setBrush(m_backgroundTintColor);
    painter.drawEllipse(circle);
    if (m_progress <= 0)
        return;
    const qreal radius = (width() - 4) / 2.0;
    QPainterPath pie;
    pie.moveTo(centre);
    pie.arcTo(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), 90, sweep);
    pie.closeSubpath();
    painter.fillPath(pie, Qt::white);
}
