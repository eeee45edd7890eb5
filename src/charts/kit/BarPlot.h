#pragma once

#include "charts/kit/Fill.h"
#include "charts/kit/Plot.h"
#include "charts/kit/PlotDataSource.h"
#include "charts/kit/Styles.h"

#include <QList>
#include <QRectF>
#include <optional>

namespace chart {

// Bars from a base to a tip at each location, painted by one item of our own (drawn behind the
// lines of scatter plots, clipped to the plot area). A width or offset that is not finite is
// refused; lengths in points are brought into a drawable range.
class BarPlot : public Plot {
    Q_OBJECT
public:
    explicit BarPlot(QObject* parent = nullptr);

    // Bars filled with a gradient across the bar made from `color`, outlined in a darker shade.
    static BarPlot* tubularBarPlotWithColor(
        const QColor& color, bool horizontalBars, QObject* parent = nullptr);

    bool barsAreHorizontal() const { return m_horizontal; }
    void setBarsAreHorizontal(bool horizontal);
    double barWidth() const { return m_barWidth; } // data units
    void setBarWidth(double width);
    double barOffset() const { return m_barOffset; } // data units, along the locations
    void setBarOffset(double offset);
    qreal barCornerRadius() const { return m_cornerRadius; } // points, at the tip
    void setBarCornerRadius(qreal radius);
    double baseValue() const { return m_baseValue; }
    void setBaseValue(double value);
    bool barBasesVary() const { return m_barBasesVary; } // bases from field 2
    void setBarBasesVary(bool vary);
    std::optional<Fill> fill() const { return m_fill; }
    void setFill(const std::optional<Fill>& fill);
    std::optional<LineStyle> lineStyle() const { return m_lineStyle; }
    void setLineStyle(const std::optional<LineStyle>& style);
    // Labels come from the data source, `labelOffset` points beyond the tip.
    qreal labelOffset() const { return m_labelOffset; }
    void setLabelOffset(qreal offset);

    // The locations of the bars with their widths, or none without bars.
    std::optional<PlotRange> plotRangeEnclosingBars() const;

    void reloadData() override;
    int numberOfRecords() const override { return static_cast<int>(m_bars.size()); }
    std::optional<PlotRange> plotRangeForCoordinate(Coordinate coordinate) const override;
    int recordIndexAtGraphPoint(const QPointF& graphPoint) const override;
    void recordWasSelected(int recordIndex) override;

    struct Bar {
        double location = 0.0;
        double tip = 0.0;
        double base = 0.0;
        bool valid = false;
        std::optional<Fill> fill;
        std::optional<LineStyle> lineStyle;
        std::optional<DataLabel> label;
    };
    const QList<Bar>& bars() const { return m_bars; }
    // The bar's rectangle in graph coordinates, within a million points of the origin (empty for
    // a record without a bar, or when the plot space cannot map it).
    QRectF barRect(int recordIndex) const;

protected:
    PlotItem* createItem() override;

private:
    bool m_horizontal = false;
    double m_barWidth = 0.5;
    double m_barOffset = 0.0;
    qreal m_cornerRadius = 0.0;
    double m_baseValue = 0.0;
    bool m_barBasesVary = false;
    std::optional<Fill> m_fill = Fill(QColor(Qt::black));
    std::optional<LineStyle> m_lineStyle = LineStyle {};
    qreal m_labelOffset = 10.0;
    QList<Bar> m_bars;
};

} // namespace chart
