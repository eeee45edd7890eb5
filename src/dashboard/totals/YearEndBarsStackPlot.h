#pragma once

#include "charts/kit/Plot.h"
#include "charts/kit/Styles.h"
#include "dashboard/totals/YearEndBars.h"

#include <QColor>
#include <QList>
#include <QRectF>
#include <QStringList>

#include <functional>
#include <optional>

/// The dashboard's stacked year-end bars in one plot: a segment for every category and
/// year-end, filled in the category's colour and outlined alike, drawn category after category
/// (each over the ones below it), as many bar plots of their own would draw them. One plot and
/// one item for them all keeps a household of thousands of categories light.
class YearEndBarsStackPlot : public chart::Plot {
    Q_OBJECT
public:
    /// The segments in `YearEndBars::stacks` order for the plot's categories.
    using Source = std::function<QList<YearEndBars::Segment>(const QStringList& identifiers)>;

    /// `identifiers` bottom to top, with a colour each.
    YearEndBarsStackPlot(
        QStringList identifiers, QList<QColor> colors, Source source, QObject* parent = nullptr);

    const QStringList& identifiers() const { return m_identifiers; }
    /// The year-ends of the last reload: stacks stand at slots 0 .. yearEndCount() − 1.
    int yearEndCount() const { return m_yearEnds; }
    void setBarWidth(double width); // data units
    void setLineStyle(const chart::LineStyle& style);

    /// The segment of category `category` (its index in `identifiers`) in slot `slot`; none
    /// where there is no such segment.
    std::optional<YearEndBars::Segment> segment(int category, int slot) const;
    /// Its rectangle in graph coordinates; empty where it cannot be drawn.
    QRectF segmentRect(int category, int slot) const;

    void reloadData() override;
    /// One record per segment, at category × yearEndCount() + slot.
    int numberOfRecords() const override { return int(m_segments.size()); }
    int recordIndexAtGraphPoint(const QPointF& graphPoint) const override;
    void recordWasSelected(int recordIndex) override;

signals:
    void segmentSelected(int category, int slot);

protected:
    chart::PlotItem* createItem() override;

private:
    friend class YearEndBarsStackItem;
    QRectF recordRect(qsizetype recordIndex) const;

    QStringList m_identifiers;
    QList<QColor> m_colors;
    Source m_source;
    int m_yearEnds = 0;
    double m_barWidth = YearEndBars::barWidth;
    chart::LineStyle m_lineStyle;
    QList<YearEndBars::Segment> m_segments;
    // Counts the changes to what is drawn.
    quint64 m_generation = 0;
};
