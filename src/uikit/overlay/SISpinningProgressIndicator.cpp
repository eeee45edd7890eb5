#include "uikit/overlay/SISpinningProgressIndicator.h"

#include "uikit/overlay/OverlayGeometry.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

SISpinningProgressIndicator::SISpinningProgressIndicator(QWidget* parent)
    : QWidget(parent), m_finAlphas(kNumberOfFins, 1.0)
{
    m_timer.setInterval(kFrameMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &SISpinningProgressIndicator::updateFrame);
}

SISpinningProgressIndicator::~SISpinningProgressIndicator()
{
    m_timer.stop();
}

void SISpinningProgressIndicator::startAnimation()
{
    if (!m_indeterminate)
        return;
    if (m_isAnimating && !m_isFadingOut)
        return;
    actuallyStartAnimation();
}

void SISpinningProgressIndicator::stopAnimation()
{
    if (m_isAnimating)
        m_isFadingOut = true;
}

void SISpinningProgressIndicator::actuallyStartAnimation()
{
    actuallyStopAnimation();
    m_isAnimating = true;
    m_isFadingOut = false;
    m_position = 1;
    if (!m_displayedWhenStopped)
        setVisible(true);
    // Without a place on screen the frames start when the view is shown.
    if (isVisible())
        m_timer.start();
}

void SISpinningProgressIndicator::actuallyStopAnimation()
{
    m_isAnimating = false;
    m_isFadingOut = false;
    m_timer.stop();
    if (!m_displayedWhenStopped)
        setVisible(false);
    update();
}

void SISpinningProgressIndicator::updateFrame()
{
    if (m_position < 1)
        m_position = kNumberOfFins;
    --m_position;
    const qreal minimum = minimumAlpha();
    for (qreal& alpha : m_finAlphas)
        alpha = std::max(minimum, alpha * 0.85);
    if (m_isFadingOut) {
        const bool faded = std::all_of(m_finAlphas.cbegin(), m_finAlphas.cend(),
            [minimum](qreal a) { return std::abs(a - minimum) <= 0.01; });
        if (faded)
            actuallyStopAnimation();
    } else {
        m_finAlphas[m_position] = 1.0;
    }
    update();
}

void SISpinningProgressIndicator::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_isAnimating && !m_timer.isActive())
        m_timer.start();
}

void SISpinningProgressIndicator::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_timer.stop(); // resumes when shown again, if still animating
}

void SISpinningProgressIndicator::setColor(const QColor& color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void SISpinningProgressIndicator::setBackgroundColor(const QColor& color)
{
    if (color == m_backgroundColor)
        return;
    m_backgroundColor = color;
    update();
}

void SISpinningProgressIndicator::setDrawsBackground(bool draws)
{
    m_drawsBackground = draws;
    update();
}

void SISpinningProgressIndicator::setDisplayedWhenStopped(bool displayed)
{
    m_displayedWhenStopped = displayed;
    if (!m_isAnimating)
        setVisible(displayed);
}

void SISpinningProgressIndicator::setUsesThreadedAnimation(bool threaded)
{
    m_usesThreadedAnimation = threaded;
}

void SISpinningProgressIndicator::setIndeterminate(bool indeterminate)
{
    m_indeterminate = indeterminate;
    if (!indeterminate && m_isAnimating)
        stopAnimation();
    update();
}

void SISpinningProgressIndicator::setDoubleValue(double value)
{
    if (m_indeterminate)
        setIndeterminate(false);
    m_doubleValue = value;
    update();
}

void SISpinningProgressIndicator::setMaxValue(double value)
{
    m_maxValue = value;
    update();
}

void SISpinningProgressIndicator::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_drawsBackground)
        painter.fillRect(rect(), m_backgroundColor);
    const qreal s = std::min(width(), height());
    // Drawn y-up about the centre.
    painter.translate(width() / 2.0, height() / 2.0);
    painter.scale(1, -1);
    if (m_indeterminate) {
        QPen pen;
        pen.setWidthF(0.0859375 * s);
        pen.setCapStyle(Qt::RoundCap);
        for (int i = 0; i < kNumberOfFins; ++i) {
            QColor fin = m_color;
            fin.setAlphaF(float(m_isAnimating ? m_finAlphas[i] : 0.15));
            pen.setColor(fin);
            painter.setPen(pen);
            painter.drawLine(QPointF(0, 0.234375 * s), QPointF(0, 0.421875 * s));
            // Counter-clockwise in y-up space.
            painter.rotate(360.0 / kNumberOfFins);
        }
        return;
    }
    const qreal lineWidth = 1 + 0.01 * s;
    const qreal radius = (s - lineWidth) / 2.1;
    painter.setPen(QPen(m_color, lineWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(0, 0), radius, radius);
    const qreal fraction = OverlayGeometry::pieFraction(m_doubleValue, m_maxValue);
    if (fraction <= 0)
        return;
    QPainterPath pie;
    pie.moveTo(0, 0);
    // From the top, clockwise on screen: QPainterPath's angles run the other way in y-up.
    pie.arcTo(QRectF(-radius, -radius, 2 * radius, 2 * radius), -90, fraction * 360);
    pie.closeSubpath();
    painter.fillPath(pie, m_color);
}
