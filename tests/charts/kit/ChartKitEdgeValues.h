#pragma once

#include "charts/kit/BarPlot.h"
#include "charts/kit/ChartLimits.h"
#include "charts/kit/Graph.h"
#include "charts/kit/PieChart.h"
#include "charts/kit/PlotDataSource.h"
#include "charts/kit/ScatterPlot.h"
#include "platform/SaneGeometry.h"

#include <QImage>
#include <QList>
#include <QRectF>
#include <QStringList>

#include <cfloat>
#include <climits>
#include <cmath>
#include <limits>

namespace charttest {

// What a caller or a damaged file can hand the chart layer in place of a number.
inline const QList<double>& edgeValues()
{
    static const QList<double> values { std::numeric_limits<double>::quiet_NaN(),
        std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(), 0.0, -1.0, 1e-300,
        1e9, -1e9, double(INT_MIN), double(INT_MAX), DBL_MAX, -DBL_MAX };
    return values;
}

inline const QString& longText()
{
    // Wide letters and, where a label is cut, a character outside the basic plane.
    static const QString text = QString(chart::maximumLabelLength - 2, u'W')
        + QString::fromUtf8("\xF0\x9F\x92\xB0") + QString(9800, u'M');
    return text;
}

inline const QStringList& edgeTexts()
{
    static const QStringList texts { QString(), QStringLiteral(""), QStringLiteral("Net worth"), longText() };
    return texts;
}

// Within the layer's drawing range, so that a cast to int is defined.
inline bool isDrawable(double value)
{
    return std::isfinite(value) && std::abs(value) <= platform::maximumGeometry;
}
inline bool isDrawable(const QPointF& point)
{
    return isDrawable(point.x()) && isDrawable(point.y());
}
inline bool isDrawable(const QRectF& rect)
{
    return isDrawable(rect.topLeft()) && isDrawable(rect.bottomRight()) && rect.width() >= 0
        && rect.height() >= 0;
}

// A label that was cut keeps its start and ends in an ellipsis, whole characters only.
inline bool isBoundedLabel(const QString& text)
{
    if (text.size() <= chart::maximumLabelLength && !text.endsWith(QChar(0x2026)))
        return true;
    return text.size() <= chart::maximumLabelLength && text.endsWith(QChar(0x2026))
        && !text.at(text.size() - 2).isHighSurrogate();
}

// Every answer of the data source is set by the test: a count, one number for every field, a
// label, fills, styles, symbols and offsets.
class EdgeDataSource : public chart::PlotDataSource, public chart::PlotDelegate {
public:
    int count = 0;
    double value = 1.0;
    bool numbersByIndex = false; // field 0 is the record's index, the others `value`
    int gapEvery = 0; // every n-th record (from the second) has no value but its index
    std::optional<chart::DataLabel> label;
    std::optional<chart::Fill> fill;
    std::optional<chart::LineStyle> lineStyle;
    std::optional<chart::PlotSymbol> symbol;
    double radialOffset = 0.0;
    QStringList selections;

    int numberOfRecordsForPlot(chart::Plot*) override { return count; }
    std::optional<double> numberForPlot(chart::Plot*, chart::PlotField field, int index) override
    {
        if (numbersByIndex && static_cast<int>(field) == 0)
            return index;
        if (gapEvery > 0 && index % gapEvery == 1)
            return std::nullopt;
        return value;
    }
    std::optional<chart::DataLabel> dataLabelForPlot(chart::Plot*, int) override { return label; }
    std::optional<chart::PlotSymbol> symbolForScatterPlot(chart::ScatterPlot*, int) override
    {
        return symbol;
    }
    std::optional<chart::Fill> barFillForBarPlot(chart::BarPlot*, int) override { return fill; }
    std::optional<chart::LineStyle> barLineStyleForBarPlot(chart::BarPlot*, int) override
    {
        return lineStyle;
    }
    std::optional<chart::Fill> sliceFillForPieChart(chart::PieChart*, int) override { return fill; }
    double radialOffsetForPieChart(chart::PieChart*, int) override { return radialOffset; }

    void plotSymbolWasSelected(chart::ScatterPlot*, int index) override { record(index); }
    void barWasSelected(chart::BarPlot*, int index) override { record(index); }
    void sliceWasSelected(chart::PieChart*, int index) override { record(index); }
    void sliceTouchDown(chart::PieChart*, int index) override { record(index); }

private:
    void record(int index) { selections << QString::number(index); }
};

// Whether anything was drawn in `rect` of `image`.
inline bool containsInk(const QImage& image, const QRect& rect)
{
    const QRect clipped = rect.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            if (image.pixelColor(x, y).alpha() > 0)
                return true;
        }
    }
    return false;
}

// The graph drawn at a small size, as a copy to the clipboard or a print draws it.
inline QImage paintedAtSmallSize(chart::Graph& graph)
{
    return graph.imageOfLayer(QSizeF(160, 120), 2.0);
}

} // namespace charttest
