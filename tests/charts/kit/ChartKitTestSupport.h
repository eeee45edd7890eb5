#pragma once

#include "charts/kit/BarPlot.h"
#include "charts/kit/Graph.h"
#include "charts/kit/PieChart.h"
#include "charts/kit/PlotDataSource.h"
#include "charts/kit/PlotSpace.h"
#include "charts/kit/ScatterPlot.h"

#include <QImage>
#include <QList>
#include <QMap>

namespace charttest {

// Records per plot, by field; counts how often it is asked.
class TableDataSource : public chart::PlotDataSource {
public:
    QMap<chart::Plot*, QList<QList<double>>> rows; // plot -> records -> fields
    int countQuestions = 0;

    int numberOfRecordsForPlot(chart::Plot* plot) override
    {
        ++countQuestions;
        return static_cast<int>(rows.value(plot).size());
    }
    std::optional<double> numberForPlot(chart::Plot* plot, chart::PlotField field, int index) override
    {
        const QList<double> record = rows.value(plot).value(index);
        const int f = static_cast<int>(field);
        return f < record.size() ? std::optional<double>(record[f]) : std::nullopt;
    }
};

// Every click the delegates hear, as "kind:index".
class RecordingDelegate : public chart::PlotDelegate, public chart::PlotAreaDelegate {
public:
    QStringList events;
    void plotSymbolWasSelected(chart::ScatterPlot*, int index) override
    {
        events << QStringLiteral("symbol:%1").arg(index);
    }
    void barWasSelected(chart::BarPlot*, int index) override
    {
        events << QStringLiteral("bar:%1").arg(index);
    }
    void sliceWasSelected(chart::PieChart*, int index) override
    {
        events << QStringLiteral("slice:%1").arg(index);
    }
    void sliceTouchDown(chart::PieChart*, int index) override
    {
        events << QStringLiteral("down:%1").arg(index);
    }
    void plotAreaWasSelected(chart::Graph*) override { events << QStringLiteral("area"); }
};

inline bool isNear(const QColor& a, const QColor& b, int tolerance = 60)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue())
        <= tolerance
        && a.alpha() > 128;
}

// Whether a pixel close to `color` lies in `rect` of `image`.
inline bool containsColor(const QImage& image, const QRect& rect, const QColor& color)
{
    const QRect clipped = rect.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            if (isNear(image.pixelColor(x, y), color))
                return true;
        }
    }
    return false;
}

} // namespace charttest
