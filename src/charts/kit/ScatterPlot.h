#pragma once

#include "charts/kit/Fill.h"
#include "charts/kit/Plot.h"
#include "charts/kit/PlotSymbol.h"
#include "charts/kit/Styles.h"

#include <QList>
#include <QPointF>
#include <optional>

class QAreaSeries;
class QLineSeries;

namespace chart {

// Points joined by a line (Qt Charts line series), an optional area fill down to a base value
// (area series) and symbols at the points (one item of our own for all of them). A record
// without a finite x and y breaks the line; past 300 pieces the line joins the rest across their
// gaps.
class ScatterPlot : public Plot {
    Q_OBJECT
public:
    explicit ScatterPlot(QObject* parent = nullptr);
    ~ScatterPlot() override;

    std::optional<LineStyle> dataLineStyle() const { return m_dataLineStyle; }
    void setDataLineStyle(const std::optional<LineStyle>& style); // none: no line
    std::optional<PlotSymbol> plotSymbol() const { return m_plotSymbol; }
    void setPlotSymbol(const std::optional<PlotSymbol>& symbol);
    qreal plotSymbolMarginForHitDetection() const { return m_hitMargin; }
    void setPlotSymbolMarginForHitDetection(qreal margin); // points, at most a million
    std::optional<Fill> areaFill() const { return m_areaFill; }
    void setAreaFill(const std::optional<Fill>& fill); // none: no area
    double areaBaseValue() const { return m_areaBaseValue; }
    void setAreaBaseValue(double value);

    void reloadData() override;
    int numberOfRecords() const override { return static_cast<int>(m_records.size()); }
    std::optional<PlotRange> plotRangeForCoordinate(Coordinate coordinate) const override;
    // The nearest symbol within half its size plus the hit margin.
    int recordIndexAtGraphPoint(const QPointF& graphPoint) const override;
    void recordWasSelected(int recordIndex) override;

    // The data points of the last reload by record (NaN where a record has none).
    const QList<QPointF>& records() const { return m_records; }
    // The symbol of a record: the data source's, or the plot's own.
    const PlotSymbol* symbolForRecord(int recordIndex) const;

protected:
    PlotItem* createItem() override;
    void detachFromGraph() override;
    void applyAppearance() override;

private:
    struct Segment {
        QLineSeries* line = nullptr;
        QLineSeries* areaUpper = nullptr;
        QLineSeries* areaLower = nullptr;
        QAreaSeries* area = nullptr;
    };
    void ensureSegments(qsizetype count);
    void pushSegmentsToSeries();
    void styleSeries();

    std::optional<LineStyle> m_dataLineStyle = LineStyle {};
    std::optional<PlotSymbol> m_plotSymbol;
    qreal m_hitMargin = 0.0;
    std::optional<Fill> m_areaFill;
    double m_areaBaseValue = 0.0;

    QList<QPointF> m_records;
    QList<std::pair<int, PlotSymbol>> m_recordSymbols; // sorted by record
    QList<QList<QPointF>> m_runs; // contiguous finite points, reused across reloads
    qsizetype m_runCount = 0;
    QList<Segment> m_segments;
};

} // namespace chart
