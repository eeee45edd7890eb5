#pragma once

#include "charts/kit/Fill.h"
#include "charts/kit/Styles.h"

#include <QSizeF>
#include <optional>

class QPainter;

namespace chart {

// A mark drawn at each record of a scatter plot. The numbers are the design's symbol types.
struct PlotSymbol {
    enum class Type {
        None = 0,
        Rectangle = 1,
        Ellipse = 2,
        Diamond = 3,
        Triangle = 4,
        Star = 5,
        Cross = 8,
        Plus = 9
    };

    Type type = Type::None;
    QSizeF size { 5.0, 5.0 };
    std::optional<Fill> fill; // none: not filled
    std::optional<LineStyle> lineStyle = LineStyle {}; // none: no outline

    static PlotSymbol ellipse()
    {
        PlotSymbol symbol;
        symbol.type = Type::Ellipse;
        return symbol;
    }

    bool isVisible() const;
    // Draws the symbol centred on `center` (graph coordinates), at most a million points wide.
    void paint(QPainter& painter, const QPointF& center) const;
};

} // namespace chart
