#include "charts/kit/PlotSymbol.h"

#include "platform/SaneGeometry.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace chart {

bool PlotSymbol::isVisible() const
{
    return type != Type::None && size.width() > 0 && size.height() > 0;
}

void PlotSymbol::paint(QPainter& painter, const QPointF& center) const
{
    if (!isVisible())
        return;
    const QSizeF size = platform::saneSize(this->size);
    const QRectF box(
        center.x() - size.width() / 2, center.y() - size.height() / 2, size.width(), size.height());
    QPainterPath path;
    bool closed = true;
    switch (type) {
    case Type::None:
        return;
    case Type::Rectangle:
        path.addRect(box);
        break;
    case Type::Ellipse:
        path.addEllipse(box);
        break;
    case Type::Diamond:
        path.moveTo(box.center().x(), box.top());
        path.lineTo(box.right(), box.center().y());
        path.lineTo(box.center().x(), box.bottom());
        path.lineTo(box.left(), box.center().y());
        path.closeSubpath();
        break;
    case Type::Triangle:
        path.moveTo(box.center().x(), box.top());
        path.lineTo(box.bottomRight());
        path.lineTo(box.bottomLeft());
        path.closeSubpath();
        break;
    case Type::Star:
        for (int i = 0; i < 10; ++i) {
            const qreal radius = (i % 2 == 0 ? 0.5 : 0.2);
            const qreal angle = M_PI / 2 + i * M_PI / 5;
            const QPointF p(center.x() + radius * size.width() * std::cos(angle),
                center.y() - radius * size.height() * std::sin(angle));
            if (i == 0)
                path.moveTo(p);
            else
                path.lineTo(p);
        }
        path.closeSubpath();
        break;
    case Type::Cross:
        closed = false;
        path.moveTo(box.topLeft());
        path.lineTo(box.bottomRight());
        path.moveTo(box.topRight());
        path.lineTo(box.bottomLeft());
        break;
    case Type::Plus:
        closed = false;
        path.moveTo(box.center().x(), box.top());
        path.lineTo(box.center().x(), box.bottom());
        path.moveTo(box.left(), box.center().y());
        path.lineTo(box.right(), box.center().y());
        break;
    }
    if (closed && fill)
        fill->paint(painter, path);
    if (lineStyle && lineStyle->lineWidth > 0)
        painter.strokePath(path, lineStyle->pen());
}

} // namespace chart
