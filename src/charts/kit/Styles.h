#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QPen>
#include <QPointF>
#include <QString>
#include <optional>

namespace chart {

// Text in a chart: colour, a font named as the design names it ("HelveticaNeue-Light") and a
// size in points (one point is one pixel at device ratio 1).
struct TextStyle {
    QColor color = Qt::black;
    QString fontName = QStringLiteral("Helvetica");
    qreal fontSize = 12.0;

    // The font, falling back to Liberation Sans where the named family is not installed; its
    // size is brought into 1 to 400 points (12 when not a number).
    QFont font() const;

    bool operator==(const TextStyle&) const = default;
};

// A stroked line: width in points, colour, and dash lengths in points (empty: solid).
struct LineStyle {
    qreal lineWidth = 1.0;
    QColor lineColor = Qt::black;
    QList<qreal> dashPattern;

    // The pen; its width is brought into 0 to 1000 points.
    QPen pen() const;
};

// A shadow under text: offset as the design gives it (x right, y up, so (1, -1) falls below
// right), blur radius and colour. Drawn without blur.
struct Shadow {
    QPointF offset { 0.0, -3.0 };
    qreal blurRadius = 0.0;
    QColor color = QColor(0, 0, 0, 85);
};

// A shadow whose offset and blur lie in a drawable range.
std::optional<Shadow> saneShadow(const std::optional<Shadow>& shadow);

} // namespace chart
