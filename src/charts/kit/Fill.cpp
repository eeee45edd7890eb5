#include "charts/kit/Fill.h"

#include "platform/SaneGeometry.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace chart {

namespace {

qreal saneAngle(qreal degrees)
{
    return std::isfinite(degrees) ? degrees : 0.0;
}

QList<QPair<qreal, QColor>> saneStops(QList<QPair<qreal, QColor>> stops)
{
    for (auto& stop : stops)
        stop.first = platform::saneValue(stop.first, 0.0, 1.0);
    return stops;
}

} // namespace

Gradient Gradient::withColors(const QColor& begin, const QColor& end, qreal angle)
{
    Gradient gradient;
    gradient.m_angle = saneAngle(angle);
    gradient.m_stops = { { 0.0, begin }, { 1.0, end } };
    return gradient;
}

Gradient Gradient::radial(const QList<QPair<qreal, QColor>>& stops)
{
    Gradient gradient;
    gradient.m_type = Type::Radial;
    gradient.m_stops = saneStops(stops);
    return gradient;
}

void Gradient::setType(Type type)
{
    if (type == Type::Axial || type == Type::Radial)
        m_type = type;
}

void Gradient::setAngle(qreal degrees)
{
    m_angle = saneAngle(degrees);
}

std::optional<QColor> Gradient::singleColor() const
{
    if (m_stops.isEmpty())
        return std::nullopt;
    const QColor first = m_stops.first().second;
    for (const auto& stop : m_stops) {
        if (stop.second != first)
            return std::nullopt;
    }
    return first;
}

Gradient Gradient::addColorStop(const QColor& color, qreal position) const
{
    Gradient result = *this;
    position = platform::saneValue(position, 0.0, 1.0);
    auto it = std::lower_bound(result.m_stops.begin(), result.m_stops.end(), position,
        [](const QPair<qreal, QColor>& stop, qreal p) { return stop.first < p; });
    result.m_stops.insert(it, { position, color });
    return result;
}

namespace {

void setStops(QGradient& gradient, const QList<QPair<qreal, QColor>>& stops)
{
    for (const auto& [position, color] : stops)
        gradient.setColorAt(position, color);
}

// Start and end of an axial gradient across a box of the given size, for an angle measured
// counter-clockwise from the x axis with y up.
std::pair<QPointF, QPointF> axialEnds(const QRectF& box, qreal angleDegrees)
{
    const qreal radians = angleDegrees * M_PI / 180.0;
    const QPointF direction(std::cos(radians), -std::sin(radians));
    const qreal halfExtent
        = (std::abs(direction.x()) * box.width() + std::abs(direction.y()) * box.height()) / 2.0;
    const QPointF center = box.center();
    return { center - direction * halfExtent, center + direction * halfExtent };
}

} // namespace

QBrush Gradient::brush(const QRectF& bounds) const
{
    if (m_type == Type::Radial) {
        QRadialGradient radial(bounds.center(), std::max(bounds.width(), bounds.height()) / 2.0);
        setStops(radial, m_stops);
        return QBrush(radial);
    }
    const auto [start, end] = axialEnds(bounds, m_angle);
    QLinearGradient linear(start, end);
    setStops(linear, m_stops);
    return QBrush(linear);
}

Fill::Fill(const QColor& color) : m_content(color)
{
}

Fill::Fill(const Gradient& gradient) : m_content(gradient)
{
}

Fill Fill::withImage(const QImage& image, ImageMode mode, qreal scale)
{
    Fill fill;
    if (mode != ImageMode::Tiled && mode != ImageMode::Stretched)
        mode = ImageMode::Stretched;
    // Tiles smaller than a thousandth of a pixel, or larger than any view, are no pattern.
    fill.m_content = ImageFill { image, mode, scale > 0 ? platform::saneValue(scale, 1.0e-3, 1.0e3) : 1.0 };
    return fill;
}

bool Fill::isClear() const
{
    if (std::holds_alternative<std::monostate>(m_content))
        return true;
    if (const auto* color = std::get_if<QColor>(&m_content))
        return color->alpha() == 0;
    if (const auto* image = std::get_if<ImageFill>(&m_content))
        return image->image.isNull();
    return false;
}

std::optional<QColor> Fill::color() const
{
    if (const auto* color = std::get_if<QColor>(&m_content))
        return *color;
    return std::nullopt;
}

void Fill::paint(QPainter& painter, const QPainterPath& path) const
{
    if (isClear() || path.isEmpty())
        return;
    const QRectF box = path.boundingRect();
    if (const auto* color = std::get_if<QColor>(&m_content)) {
        painter.fillPath(path, *color);
    } else if (const auto* gradient = std::get_if<Gradient>(&m_content)) {
        // A gradient from a colour to itself is that colour, and a plain fill is several
        // times cheaper to paint (pies fill hundreds of slices this way).
        if (const auto single = gradient->singleColor())
            painter.fillPath(path, *single);
        else
            painter.fillPath(path, gradient->brush(box));
    } else if (const auto* image = std::get_if<ImageFill>(&m_content)) {
        if (image->mode == ImageMode::Stretched) {
            painter.save();
            painter.setClipPath(path, Qt::IntersectClip);
            painter.drawImage(box, image->image);
            painter.restore();
        } else {
            QBrush brush(image->image);
            brush.setTransform(
                QTransform::fromTranslate(box.left(), box.top()).scale(image->scale, image->scale));
            painter.fillPath(path, brush);
        }
    }
}

bool Fill::operator==(const Fill& other) const
{
    if (m_content.index() != other.m_content.index())
        return false;
    if (const auto* color = std::get_if<QColor>(&m_content))
        return *color == std::get<QColor>(other.m_content);
    if (const auto* gradient = std::get_if<Gradient>(&m_content))
        return *gradient == std::get<Gradient>(other.m_content);
    if (const auto* image = std::get_if<ImageFill>(&m_content)) {
        const ImageFill& theirs = std::get<ImageFill>(other.m_content);
        return image->image.cacheKey() == theirs.image.cacheKey() && image->mode == theirs.mode
            && image->scale == theirs.scale;
    }
    return true;
}

QBrush Fill::brush() const
{
    if (const auto* color = std::get_if<QColor>(&m_content))
        return QBrush(*color);
    if (const auto* gradient = std::get_if<Gradient>(&m_content)) {
        // In the shape's own box: Qt Charts gives no other way to reach it.
        QBrush brush = gradient->brush(QRectF(0, 0, 1, 1));
        if (auto* g = const_cast<QGradient*>(brush.gradient()))
            g->setCoordinateMode(QGradient::ObjectMode);
        return brush;
    }
    if (const auto* image = std::get_if<ImageFill>(&m_content)) {
        QBrush brush(image->image);
        brush.setTransform(QTransform::fromScale(image->scale, image->scale));
        return brush;
    }
    return QBrush(Qt::NoBrush);
}

} // namespace chart
