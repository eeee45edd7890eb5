#pragma once

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QList>
#include <QPair>
#include <optional>
#include <variant>

class QPainter;
class QPainterPath;
class QRectF;

namespace chart {

// A two-colour (or multi-stop) gradient. Axial gradients run along `angle` (degrees, 0 = left to
// right, 90 = bottom to top, as the design measures); radial ones spread from the centre of the
// filled shape to its edge.
class Gradient {
public:
    enum class Type { Axial = 0, Radial = 1 };

    static Gradient withColors(const QColor& begin, const QColor& end, qreal angle = 0.0);
    static Gradient radial(const QList<QPair<qreal, QColor>>& stops);

    Type type() const { return m_type; }
    void setType(Type type); // a value of neither type is refused
    qreal angle() const { return m_angle; }
    void setAngle(qreal degrees); // 0 when not finite
    const QList<QPair<qreal, QColor>>& stops() const { return m_stops; }
    // Stop positions are brought into 0 to 1.
    Gradient addColorStop(const QColor& color, qreal position) const;

    // The colour of every stop when they all share one, else none.
    std::optional<QColor> singleColor() const;

    // A brush over `bounds` (the bounding box of what is filled).
    QBrush brush(const QRectF& bounds) const;

    bool operator==(const Gradient&) const = default;

private:
    Type m_type = Type::Axial;
    qreal m_angle = 0.0;
    QList<QPair<qreal, QColor>> m_stops;
};

// How an area, a bar, a slice or a frame is filled: a colour, a gradient or an image.
class Fill {
public:
    enum class ImageMode { Tiled, Stretched };

    Fill() = default; // clear: paints nothing
    Fill(const QColor& color); // NOLINT: a colour is a fill
    Fill(const Gradient& gradient); // NOLINT: a gradient is a fill
    static Fill withImage(const QImage& image, ImageMode mode = ImageMode::Stretched, qreal scale = 1.0);

    bool isClear() const;
    std::optional<QColor> color() const;
    const Gradient* gradient() const { return std::get_if<Gradient>(&m_content); }

    // Fills `path`; the gradient or image spans `path`'s bounding box.
    void paint(QPainter& painter, const QPainterPath& path) const;
    // A brush for shapes Qt Charts draws; gradients span the shape's own bounding box.
    QBrush brush() const;

    // Image fills are the same when they show the same image the same way.
    bool operator==(const Fill& other) const;

private:
    struct ImageFill {
        QImage image;
        ImageMode mode = ImageMode::Stretched;
        qreal scale = 1.0;
    };
    std::variant<std::monostate, QColor, Gradient, ImageFill> m_content;
};

} // namespace chart
