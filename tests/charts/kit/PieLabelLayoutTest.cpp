#include "charts/kit/PieLabelLayout.h"
#include "ChartKitTestSupport.h"

#include <gtest/gtest.h>

#include <QPainterPath>
#include <QRandomGenerator>

#include <cmath>

using namespace chart;
using namespace charttest;

namespace {

// Overlap as the painter sees it, independent of the layout's own test: the two outlines, each
// grown (or shrunk) by `margin`, share area.
bool pathsShareArea(const LabelBox& a, const LabelBox& b, qreal margin)
{
    QPainterPath first;
    first.addPolygon(a.grown(margin).outline());
    first.closeSubpath();
    QPainterPath second;
    second.addPolygon(b.grown(margin).outline());
    second.closeSubpath();
    return first.intersects(second);
}

// Fails for every two placements that share area, or that reach outside `pane`.
void expectApartAndWithin(const QList<PieChart::LabelPlacement>& placements, const QRectF& pane)
{
    for (qsizetype i = 0; i < placements.size(); ++i) {
        const QRectF bounds = placements[i].box.outline().boundingRect();
        EXPECT_TRUE(pane.adjusted(-1e-6, -1e-6, 1e-6, 1e-6).contains(bounds))
            << "label " << placements[i].recordIndex << " reaches out of its pane";
        for (qsizetype j = i + 1; j < placements.size(); ++j)
            EXPECT_FALSE(pathsShareArea(placements[i].box, placements[j].box, -0.01))
                << "labels " << placements[i].recordIndex << " and " << placements[j].recordIndex
                << " overlap";
    }
}

// Slices of given values, each labelled "<index>: <text>".
class LabelledSlices : public PlotDataSource {
public:
    QList<double> values;
    QString text = QStringLiteral("$25,134-Category");
    QColor labelColor = QColor(0, 200, 0);

    int numberOfRecordsForPlot(Plot*) override { return int(values.size()); }
    std::optional<double> numberForPlot(Plot*, PlotField, int index) override { return values.value(index); }
    std::optional<DataLabel> dataLabelForPlot(Plot*, int index) override
    {
        return DataLabel { QStringLiteral("%1 %2").arg(text).arg(index),
            TextStyle { labelColor, QStringLiteral("Arial Narrow"), 12.0 } };
    }
    std::optional<Fill> sliceFillForPieChart(PieChart*, int index) override
    {
        return Fill(QColor::fromHsv(index * 7 % 360, 200, 200));
    }
};

struct LabelledPie {
    explicit LabelledPie(QList<double> values, bool apart)
    {
        source.values = std::move(values);
        graph.setAxisSet(nullptr);
        graph.setPaddings(QMarginsF(40, 40, 40, 40));
        pie->setPieRadius(90);
        pie->setLabelOffset(5);
        pie->setLabelRotationRelativeToRadius(true);
        pie->setLabelShadow(Shadow { QPointF(1, -1), 0.0, QColor(255, 255, 255, 64) });
        pie->setLabelsKeptApart(apart);
        pie->setDataSource(&source);
        pie->setDelegate(&delegate);
        graph.addPlot(pie);
    }
    // A point in the middle of slice `index`'s ring.
    QPointF pointOn(int index) const
    {
        const PieChart::Slice& slice = pie->slices()[index];
        const double angle = pie->startAngle() - (slice.startFraction + slice.fraction / 2) * 2 * M_PI;
        return pie->centerInGraph() + QPointF(std::cos(angle), -std::sin(angle)) * (pie->pieRadius() - 10);
    }

    LabelledSlices source;
    RecordingDelegate delegate;
    Graph graph { QRectF(0, 0, 560, 420) };
    PieChart* pie = new PieChart;
};

QList<double> equalValues(int count)
{
    return QList<double>(count, 1.0);
}

} // namespace

TEST(PieLabelLayout, TurnedBoxesOverlapOnlyWhereTheyShareArea)
{
    const LabelBox flat { QPointF(0, 0), 0.0, QSizeF(100, 10) };
    EXPECT_TRUE(labelBoxesOverlap(flat, LabelBox { QPointF(0, 0), 90.0, QSizeF(100, 10) }));
    EXPECT_FALSE(labelBoxesOverlap(flat, LabelBox { QPointF(0, 10), 0.0, QSizeF(100, 10) })) << "touching";
    EXPECT_TRUE(labelBoxesOverlap(flat, LabelBox { QPointF(0, 9.9), 0.0, QSizeF(100, 10) }));
    // Two long boxes along the diagonal: their bounds overlap wherever they are, the boxes only
    // when they lie closer than their height.
    const LabelBox diagonal { QPointF(0, 0), 45.0, QSizeF(100, 4) };
    const QPointF across(-std::sqrt(0.5), std::sqrt(0.5));
    EXPECT_FALSE(labelBoxesOverlap(diagonal, LabelBox { across * 6, 45.0, QSizeF(100, 4) }));
    EXPECT_TRUE(labelBoxesOverlap(diagonal, LabelBox { across * 3, 45.0, QSizeF(100, 4) }));

    // Random boxes against the painter's own geometry.
    QRandomGenerator random(46);
    int overlapping = 0;
    for (int i = 0; i < 3000; ++i) {
        const auto box = [&random] {
            return LabelBox { QPointF(random.bounded(100.0), random.bounded(100.0)), random.bounded(360.0),
                QSizeF(1 + random.bounded(80.0), 1 + random.bounded(14.0)) };
        };
        const LabelBox a = box();
        const LabelBox b = box();
        const bool overlap = labelBoxesOverlap(a, b);
        overlapping += overlap ? 1 : 0;
        if (overlap)
            EXPECT_TRUE(pathsShareArea(a, b, 0.05)) << i;
        else
            EXPECT_FALSE(pathsShareArea(a, b, -0.05)) << i;
    }
    EXPECT_GT(overlapping, 300);
    EXPECT_LT(overlapping, 2700);
}

TEST(PieLabelLayout, ASpaceTakesEveryBoxThatFitsAndNoOther)
{
    const QRectF pane(10, 20, 300, 200);
    LabelSpace space(pane);
    const LabelBox first { QPointF(100, 100), 30.0, QSizeF(80, 12) };
    EXPECT_TRUE(space.fits(first));
    EXPECT_FALSE(space.fits(LabelBox { QPointF(300, 100), 0.0, QSizeF(40, 12) })) << "past the right edge";
    EXPECT_FALSE(space.fits(LabelBox { QPointF(100, 20), 0.0, QSizeF(40, 12) })) << "past the top";
    space.place(first);
    EXPECT_FALSE(space.fits(first));
    EXPECT_TRUE(space.fits(LabelBox { QPointF(100, 150), 30.0, QSizeF(80, 12) }));
    EXPECT_FALSE(LabelSpace(QRectF(0, 0, 0, 100)).fits(LabelBox { QPointF(0, 50), 0.0, QSizeF(1, 1) }));

    // Thousands of boxes, first come first placed: those kept are apart, and every box within the
    // pane that was turned away overlaps one kept (no neighbour was overlooked).
    QRandomGenerator random(7);
    QList<LabelBox> boxes;
    for (int i = 0; i < 4000; ++i)
        boxes.append(LabelBox { QPointF(random.bounded(320.0), random.bounded(240.0)), random.bounded(360.0),
            QSizeF(2 + random.bounded(90.0), 4 + random.bounded(10.0)) });
    LabelSpace many(pane);
    QList<LabelBox> kept;
    QList<LabelBox> refused;
    for (const LabelBox& box : boxes) {
        if (many.fits(box)) {
            many.place(box);
            kept.append(box);
        } else {
            refused.append(box);
        }
    }
    ASSERT_GT(kept.size(), 20);
    for (qsizetype i = 0; i < kept.size(); ++i) {
        EXPECT_TRUE(pane.adjusted(-1e-6, -1e-6, 1e-6, 1e-6).contains(kept[i].outline().boundingRect()));
        for (qsizetype j = i + 1; j < kept.size(); ++j)
            EXPECT_FALSE(pathsShareArea(kept[i], kept[j], -0.05));
    }
    for (const LabelBox& box : refused) {
        if (!pane.contains(box.outline().boundingRect()))
            continue;
        EXPECT_TRUE(std::any_of(kept.begin(), kept.end(),
            [&box](const LabelBox& other) { return labelBoxesOverlap(box, other); }));
    }
}

// A hundred and fifty equal slices, and one of 1e15 beside nineteen small ones: the labels that
// would overlap another or reach past the plot area are left out; their slices keep their fill
// and their click.
TEST(PieLabelLayout, APieLeavesOutTheLabelsThatWouldCollide)
{
    for (const bool apart : { false, true }) {
        SCOPED_TRACE(apart);
        LabelledPie crowded(equalValues(150), apart);
        const QList<PieChart::LabelPlacement> placements = crowded.pie->labelPlacements();
        if (!apart) {
            // As the pie draws without the rule: every label, one over the other.
            EXPECT_EQ(placements.size(), 150);
            EXPECT_TRUE(pathsShareArea(placements[0].box, placements[1].box, 0));
            continue;
        }
        expectApartAndWithin(placements, crowded.graph.plotAreaRect());
        EXPECT_GT(placements.size(), 5);
        EXPECT_LT(placements.size(), 60);
        ASSERT_EQ(crowded.pie->slices().size(), 150);
        int leftOut = 0;
        while (std::any_of(placements.begin(), placements.end(),
            [leftOut](const auto& placement) { return placement.recordIndex == leftOut; }))
            ++leftOut;
        EXPECT_TRUE(crowded.pie->slices()[leftOut].fill.has_value());
        EXPECT_TRUE(crowded.pie->slices()[leftOut].label.has_value());
        const QPointF on = crowded.pointOn(leftOut);
        EXPECT_EQ(crowded.pie->recordIndexAtGraphPoint(on), leftOut);
        crowded.pie->recordWasSelected(crowded.pie->recordIndexAtGraphPoint(on));
        EXPECT_EQ(crowded.delegate.events, QStringList { QStringLiteral("slice:%1").arg(leftOut) });
    }

    QList<double> values { 1e15 };
    for (int i = 1; i < 20; ++i)
        values.append(1000.0 + 100 * i);
    LabelledPie blob(values, true);
    blob.pie->setStartAngle(0); // the small slices to the right, where their labels have room
    const QList<PieChart::LabelPlacement> placements = blob.pie->labelPlacements();
    expectApartAndWithin(placements, blob.graph.plotAreaRect());
    ASSERT_GE(placements.size(), 2);
    EXPECT_EQ(placements[0].recordIndex, 0) << "the largest slice keeps its label";
    // The nineteen small ones share one point of the rim: one label among them.
    EXPECT_EQ(placements.size(), 2);
}

// What is drawn is what was laid out: with the rule no label ink falls outside the plot area.
TEST(PieLabelLayout, NoLabelIsDrawnOutsideThePlotArea)
{
    for (const bool apart : { false, true }) {
        SCOPED_TRACE(apart);
        // The labels have room beside the pie, not above or below it.
        LabelledPie pie(equalValues(12), apart);
        const QImage image = pie.graph.imageOfLayer();
        const QRectF area = pie.graph.plotAreaRect();
        bool outside = false;
        for (const QRect& band :
            { QRect(0, 0, 560, int(area.top())), QRect(0, int(area.bottom()) + 1, 560, 60),
                QRect(0, 0, int(area.left()), 420), QRect(int(area.right()) + 1, 0, 60, 420) })
            outside = outside || containsColor(image, band, pie.source.labelColor);
        EXPECT_EQ(outside, !apart);
        EXPECT_TRUE(containsColor(image, area.toRect(), pie.source.labelColor));
    }
}
