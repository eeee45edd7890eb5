#include "app/shell/NWDashboardSidebarView.h"

#include "platform/Resources.h"
#include "uikit/controls/noise/NZNoise.h"

#include <QPaintEvent>
#include <QPainter>

using namespace Qt::Literals::StringLiterals;

NWDashboardSidebarView::NWDashboardSidebarView(QWidget* parent) : NWColoredView(parent)
{
    setBackgroundColor(QColor::fromRgbF(40.0F / 255.0F, 40.0F / 255.0F, 40.0F / 255.0F, 1.0F));
}

void NWDashboardSidebarView::paintEvent(QPaintEvent* event)
{
    if (!backgroundImageName().isEmpty()) {
        NWColoredView::paintEvent(event);
    } else {
        QPainter painter(this);
        painter.fillRect(event->rect(), backgroundColor());
        if (m_noiseAlpha > 0) {
            painter.setClipRect(rect());
            NZNoise::drawNoiseWithOpacity(painter, m_noiseAlpha, NZNoise::BlendMode::PlusLighter);
        }
    }
    // In the dark appearance the window's grey is nearly the sidebar's own: an edge keeps
    // the content from running into it.
    const QColor divider = platform::namedColor(u"SidebarDivider"_s);
    if (divider.alpha() > 0)
        QPainter(this).fillRect(QRect(rect().right(), 0, 1, height()), divider);
}
