#include "uikit/controls/noise/NZNoiseView.h"

#include "platform/SaneGeometry.h"
#include "uikit/controls/KitDrawing.h"
#include "uikit/controls/noise/NZNoise.h"

#include <QPainter>

NZNoiseView::NZNoiseView(QWidget* parent) : QWidget(parent), m_backgroundColor(KitDrawing::systemGray())
{
}

void NZNoiseView::setBackgroundColor(const QColor& color)
{
    if (color == m_backgroundColor)
        return;
    m_backgroundColor = color;
    update();
}

void NZNoiseView::setNoiseOpacity(qreal opacity)
{
    opacity = platform::saneValue(opacity, 0.0, 1.0);
    if (opacity == m_noiseOpacity)
        return;
    m_noiseOpacity = opacity;
    update();
}

void NZNoiseView::setNoiseBlendMode(NZNoise::BlendMode mode)
{
    if (mode == m_noiseBlendMode)
        return;
    m_noiseBlendMode = mode;
    update();
}

void NZNoiseView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawBackground(painter);
    NZNoise::drawNoiseWithOpacity(painter, m_noiseOpacity, m_noiseBlendMode);
}

void NZNoiseView::drawBackground(QPainter& painter)
{
    painter.fillRect(rect(), m_backgroundColor);
}
