#pragma once

#include "charts/kit/Fill.h"
#include "charts/kit/PieLabelLayout.h"
#include "charts/kit/Plot.h"
#include "charts/kit/PlotDataSource.h"
#include "charts/kit/Styles.h"

#include <QImage>
#include <QList>
#include <QPointF>
#include <optional>

namespace chart {

// A pie (or ring) drawn by one item of our own. Angles are the design's: radians, 0 pointing
// right, counter-clockwise positive. Radii and offsets are brought into a drawable range (NaN as
// 0, at most a million points); a start angle that is not finite or a direction that is neither
// is refused; labels are cut to the label length.
class PieChart : public Plot {
    Q_OBJECT
    Q_PROPERTY(qreal startAngle READ startAngle WRITE setStartAngle)
    Q_PROPERTY(qreal pieInnerRadius READ pieInnerRadius WRITE setPieInnerRadius)
    Q_PROPERTY(qreal pieRadius READ pieRadius WRITE setPieRadius)
public:
    enum class Direction { Clockwise = 0, CounterClockwise = 1 };

    explicit PieChart(QObject* parent = nullptr);

    qreal pieRadius() const { return m_radius; }
    void setPieRadius(qreal radius);
    qreal pieInnerRadius() const { return m_innerRadius; }
    void setPieInnerRadius(qreal radius);
    // Centre as fractions of the plot area, from its bottom left (y up).
    QPointF centerAnchor() const { return m_centerAnchor; }
    void setCenterAnchor(const QPointF& anchor);
    qreal startAngle() const { return m_startAngle; }
    void setStartAngle(qreal radians);
    Direction sliceDirection() const { return m_direction; }
    void setSliceDirection(Direction direction);
    qreal labelOffset() const { return m_labelOffset; } // points beyond the rim
    void setLabelOffset(qreal offset);
    bool labelRotationRelativeToRadius() const { return m_labelsAlongRadius; }
    void setLabelRotationRelativeToRadius(bool along);
    std::optional<Shadow> labelShadow() const { return m_labelShadow; }
    void setLabelShadow(const std::optional<Shadow>& shadow);
    std::optional<Fill> overlayFill() const { return m_overlayFill; } // painted over every slice
    void setOverlayFill(const std::optional<Fill>& fill);
    std::optional<LineStyle> borderLineStyle() const { return m_borderLineStyle; }
    void setBorderLineStyle(const std::optional<LineStyle>& style);
    // Lays the labels out larger slices first and leaves out each label that would overlap one
    // placed before it or reach outside the plot area; its slice stays as it is. The label of a
    // slice wide enough to hold a line of text beside it first tries, at its size and then a
    // little smaller, standing upright and on two lines; when none of those finds room, it keeps
    // its start (at least four characters), elided at its end.
    bool labelsKeptApart() const { return m_labelsKeptApart; }
    void setLabelsKeptApart(bool apart);

    void reloadData() override;
    int numberOfRecords() const override { return static_cast<int>(m_slices.size()); }
    // The slice between the inner radius and the radius (plus its radial offset), by angle.
    int recordIndexAtGraphPoint(const QPointF& graphPoint) const override;
    void recordWasSelected(int recordIndex) override;
    void recordTouchDown(int recordIndex) override;

    // The pie's centre in graph coordinates, within a million points of the origin.
    QPointF centerInGraph() const;

    struct Slice {
        double value = 0.0; // 0 for a record without a finite positive value
        double startFraction = 0.0; // of the full turn, from the start angle in the slice direction
        double fraction = 0.0;
        qreal radialOffset = 0.0;
        std::optional<Fill> fill;
        std::optional<DataLabel> label;
        // The label's size on one line, and the label drawn upright as it was last placed (the
        // pie's painter fills them in and keeps them while the label stays the same).
        mutable QSizeF labelSize;
        mutable QImage labelImage;
        mutable DataLabel labelImageOf;
    };
    const QList<Slice>& slices() const { return m_slices; }

    struct LabelPlacement {
        int recordIndex = -1;
        LabelBox box; // the text as drawn, in graph coordinates (its shadow not included)
        DataLabel label; // as drawn: the slice's, or on two lines or smaller to find room
    };
    // The labels the pie draws with its present size, angle and data, in record order.
    QList<LabelPlacement> labelPlacements() const;
    // The default fill of a slice the data source gives none for.
    static Fill defaultSliceFill(int recordIndex);

protected:
    PlotItem* createItem() override;

private:
    qreal m_radius = 40.0;
    qreal m_innerRadius = 0.0;
    QPointF m_centerAnchor { 0.5, 0.5 };
    qreal m_startAngle = 1.5707963267948966;
    Direction m_direction = Direction::Clockwise;
    qreal m_labelOffset = 10.0;
    bool m_labelsAlongRadius = false;
    std::optional<Shadow> m_labelShadow;
    std::optional<Fill> m_overlayFill;
    std::optional<LineStyle> m_borderLineStyle;
    bool m_labelsKeptApart = false;
    QList<Slice> m_slices;
};

} // namespace chart
