#include "uikit/controls/noise/NZNoiseLinearGradientView.h"

#include "uikit/controls/KitDrawing.h"

#include <QLinearGradient>
#include <QPainter>

NZNoiseLinearGradientView::NZNoiseLinearGradientView(QWidget* parent) : NZNoiseView(parent)
{
}

void NZNoiseLinearGradientView::setAlternateBackgroundColor(const QColor& color)
{
    if (color == m_alternateBackgroundColor)
        return;
    m_alternateBackgroundColor = color;
    update();
}

QLineF NZNoiseLinearGradientView::gradientLine(GradientDirection direction, QSizeF size)
{
    const qreal midX = size.width() / 2;
    const qreal midY = size.height() / 2;
    switch (direction) {
    case GradientDirection::LeftToRight:
        return QLineF(0, midY, size.width(), midY);
    case GradientDirection::TopToBottom:
        return QLineF(midX, size.height(), midX, 0);
    case GradientDirection::RightToLeft:
        return QLineF(size.width(), midY, 0, midY);
    case GradientDirection::BottomToTop:
        break;
    }
    return QLineF(midX, 0, midX, size.height());
}

void NZNoiseLinearGradientView::drawBackground(QPainter& painter)
{
    if (!m_alternateBackgroundColor.isValid()) {
        NZNoiseView::drawBackground(painter);
        return;
    }
    const QLineF line = KitDrawing::flipY(height()).map(gradientLine(m_gradientDirection, size()));
    QLinearGradient gradient(line.p1(), line.p2());
    gradient.setColorAt(0, m_alternateBackgroundColor);
    gradient.setColorAt(1, backgroundColor());
    painter.fillRect(rect(), gradient);
}
