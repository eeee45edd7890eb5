#pragma once

// How well a chart's axis labels read as drawn on screen: the hosting view (and what stands
// behind it) is grabbed and each drawn label's box measured as the end-to-end check measures
// a screenshot.
#include "charts/common/BarChartGeometry.h"
#include "charts/kit/GraphHostingView.h"
#include "support/Contrast.h"

#include <QImage>
#include <QWidget>

#include <algorithm>

namespace drawnlabelcontrast {

// The lowest contrast among the drawn labels of both axes of `host`'s graph, in `shown` (the
// widget that paints the background behind the chart, `host` itself or one of its parents);
// 21 when no label is drawn. `count` receives the number of labels measured, `worst` the text
// of the label that reads least.
inline double lowestLabelContrast(
    chart::GraphHostingView& host, QWidget& shown, int* count = nullptr, QString* worst = nullptr)
{
    const chart::Graph* graph = host.hostedGraph();
    const QImage image = shown.grab().toImage();
    double lowest = 21.0;
    int labels = 0;
    for (const chart::Axis* axis : { graph->axisSet()->xAxis(), graph->axisSet()->yAxis() }) {
        for (const auto& label : barchartgeometry::drawnLabels(*graph, *axis)) {
            const QPoint at = host.viewport()->mapTo(&shown, label.rect.topLeft().toPoint());
            const QRect box(at, label.rect.size().toSize());
            const double measured = mervane::test::drawnContrast(image, box.adjusted(-1, -1, 1, 1));
            if (measured < lowest && worst)
                *worst = label.text;
            lowest = std::min(lowest, measured);
            ++labels;
        }
    }
    if (count)
        *count = labels;
    return lowest;
}

// The contrast of the title, measured in the strip of `host`'s graph above its plot area.
inline double titleContrast(chart::GraphHostingView& host, QWidget& shown)
{
    const chart::Graph* graph = host.hostedGraph();
    const QRectF strip(0, 0, graph->bounds().width(), graph->plotAreaRect().top());
    const QPoint at = host.viewport()->mapTo(&shown, strip.topLeft().toPoint());
    return mervane::test::drawnContrast(shown.grab().toImage(), QRect(at, strip.size().toSize()));
}

} // namespace drawnlabelcontrast
