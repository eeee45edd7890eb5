#include "app/shell/NWDashboardSidebarView.h"

#include "uikit/controls/noise/NZNoise.h"

#include <QPaintEvent>
#include <QPainter>

NWDashboardSidebarView::NWDashboardSidebarView(QWidget* parent) : NWColoredView(parent)
{
    setBackgroundColor(QColor::fromRgbF(40.0F / 255.0F, 40.0F / 255.0F, 40.0F / 255.0F, 1.0F));
}

void NWDashboardSidebarView::paintEvent(QPaintEvent* event)
{
    if (!backgroundImageName().isEmpty()) {
        NWColoredView::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.fillRect(event->rect(), backgroundColor());
    if (m_noiseAlpha > 0) {
        painter.setClipRect(rect());
        NZNoise::drawNoiseWithOpacity(painter, m_noiseAlpha, NZNoise::BlendMode::PlusLighter);
    }
}
