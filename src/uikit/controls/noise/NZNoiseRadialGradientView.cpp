#include "uikit/controls/noise/NZNoiseRadialGradientView.h"

#include <QPainter>
#include <QRadialGradient>

#include <cmath>

NZNoiseRadialGradientView::NZNoiseRadialGradientView(QWidget* parent) : NZNoiseView(parent)
{
}

void NZNoiseRadialGradientView::setAlternateBackgroundColor(const QColor& color)
{
    if (color == m_alternateBackgroundColor)
        return;
    m_alternateBackgroundColor = color;
    update();
}

void NZNoiseRadialGradientView::drawBackground(QPainter& painter)
{
    if (!m_alternateBackgroundColor.isValid()) {
        NZNoiseView::drawBackground(painter);
        return;
    }
    const qreal w = width();
    const qreal h = height();
    // The centre is rounded in y-up space, then mapped to the widget.
    const QPointF centre(std::round(w / 2), h - std::round(h / 2));
    QRadialGradient gradient(centre, std::hypot(w / 2, h / 2));
    gradient.setColorAt(0, m_alternateBackgroundColor);
    gradient.setColorAt(1, backgroundColor());
    gradient.setSpread(QGradient::PadSpread);
    painter.fillRect(rect(), gradient);
}
