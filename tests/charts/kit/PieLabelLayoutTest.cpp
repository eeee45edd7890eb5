#include "charts/kit/PieLabelLayout.h"
#include "ChartKitTestSupport.h"

#include <gtest/gtest.h>

#include <QPainterPath>
#include <QRandomGenerator>

#include <cmath>
#include <memory>

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
    QStringList texts; // the labels as they are, in place of "<text> <index>"
    QColor labelColor = QColor(0, 200, 0);

    int numberOfRecordsForPlot(Plot*) override { return int(values.size()); }
    std::optional<double> numberForPlot(Plot*, PlotField, int index) override { return values.value(index); }
    std::optional<DataLabel> dataLabelForPlot(Plot*, int index) override
    {
        return DataLabel { texts.isEmpty() ? QStringLiteral("%1 %2").arg(text).arg(index)
                                           : texts.value(index),
            TextStyle { labelColor, QStringLiteral("Arial Narrow"), 12.0 } };
    }
    std::optional<Fill> sliceFillForPieChart(PieChart*, int index) override
    {
        return Fill(QColor::fromHsv(index * 7 % 360, 200, 200));
    }
};

struct LabelledPie {
    explicit LabelledPie(QList<double> values, bool apart, const QSizeF& size = QSizeF(560, 420))
        : graph(QRectF(QPointF(), size))
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
    Graph graph;
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

TEST(PieLabelLayout, ALabelBreaksOntoTwoEvenLinesWhereTextAllowsIt)
{
    EXPECT_EQ(labelOnTwoLines(QStringLiteral("$7,189,577-Brokerag...")),
        QStringLiteral("$7,189,577-\nBrokerag..."));
    EXPECT_EQ(labelOnTwoLines(QStringLiteral("$1,000,000,000,038,000")),
        QStringLiteral("$1,000,000,\n000,038,000"));
    EXPECT_EQ(labelOnTwoLines(QStringLiteral("($999,999,999,788,000)")),
        QStringLiteral("($999,999,\n999,788,000)"));
    EXPECT_EQ(labelOnTwoLines(QStringLiteral("25%-Savings account")), QStringLiteral("25%-Savings\naccount"));
    EXPECT_EQ(
        labelOnTwoLines(QStringLiteral("1.000.000\u00a0\u20ac")), QStringLiteral("1.000.\n000\u00a0\u20ac"));
    EXPECT_EQ(labelOnTwoLines(QStringLiteral("1\u202f000\u202f000\u00a0CHF")),
        QStringLiteral("1\u202f000\u202f\n000\u00a0CHF"));
    for (const QString& whole : { QStringLiteral("25%"), QStringLiteral("Brokerag..."), QStringLiteral("-5"),
             QStringLiteral("a  b"), QStringLiteral("two\nlines"), QString() })
        EXPECT_TRUE(labelOnTwoLines(whole).isNull()) << whole.toStdString();
}

// A pie of one slice, a slice of nearly the whole pie beside a crumb, and a net-worth split of
// 1e15 in a pane too small for their labels along the radius: the labels of the large slices are
// drawn, upright, on two lines or smaller, whole, inside the pane and apart.
TEST(PieLabelLayout, TheLargestSlicesKeepTheirLabelsInAnotherFormWhereTheirOwnFindsNoRoom)
{
    struct Case {
        const char* name;
        QList<double> values;
        QStringList texts;
        QSizeF size;
        qreal startAngle;
        QList<int> kept;
    };
    const QString huge = QStringLiteral("$1,000,000,000,038,000");
    const QList<Case> cases {
        // The dashboard's asset pie with every category merged: a placeholder and "All other".
        { "one slice below", { 0, 60000 }, { QString(), QStringLiteral("$60,000-All other") },
            QSizeF(400, 220), M_PI / 2, { 1 } },
        { "one slice bottom left", { 52000 }, { QStringLiteral("$52,000-Checking account") },
            QSizeF(300, 300), M_PI / 4, { 0 } },
        { "one slice in a narrow pane", { 52000 }, { QStringLiteral("$52,000-Checking account") },
            QSizeF(250, 500), 0, { 0 } },
        { "nearly all of it", { 7189577, 8028 },
            { QStringLiteral("$7,189,577-Brokerag..."), QStringLiteral("$8,028-All other") },
            QSizeF(400, 220), M_PI / 2, { 0 } },
        { "net worth of 1e15", { 250000, 1e15 + 38000, 1e15 - 212000 },
            { QStringLiteral("$250,000"), huge, QStringLiteral("$999,999,999,788,000") }, QSizeF(290, 480),
            M_PI / 2, { 1, 2 } },
        { "net worth of 1e15 turned", { 250000, 1e15 + 38000, 1e15 - 212000 },
            { QStringLiteral("$250,000"), huge, QStringLiteral("$999,999,999,788,000") }, QSizeF(290, 480), 0,
            { 1, 2 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LabelledPie pie(c.values, true, c.size);
        pie.source.texts = c.texts;
        pie.graph.setPaddings(QMarginsF(0, 0, 0, 0));
        const QRectF pane = pie.graph.plotAreaRect();
        // As the screens fit them: the pie keeps a quarter of the shorter side, the labels 8 points.
        pie.pie->setPieRadius(std::min(pane.width(), pane.height()) / 4);
        pie.pie->setStartAngle(c.startAngle);
        pie.graph.reloadData();
        const QList<PieChart::LabelPlacement> placements = pie.pie->labelPlacements();
        expectApartAndWithin(placements, pane);
        for (const int kept : c.kept) {
            const auto placement = std::find_if(placements.begin(), placements.end(),
                [kept](const auto& placed) { return placed.recordIndex == kept; });
            if (placement == placements.end()) {
                ADD_FAILURE() << "the label of slice " << kept << " is left out";
                continue;
            }
            // The whole text, on one line or two.
            EXPECT_TRUE(placement->label.text == c.texts[kept]
                || placement->label.text == labelOnTwoLines(c.texts[kept]))
                << placement->label.text.toStdString();
            EXPECT_GE(placement->label.style.fontSize, 7.0);
            EXPECT_LE(placement->label.style.fontSize, 12.0);
        }
    }
}

// A pane resized so that the label takes another form, and back: the pie draws what a pie made
// at that size draws, its label's image drawn anew rather than the one kept from the old form.
TEST(PieLabelLayout, AResizedPieDrawsItsLabelInItsNewForm)
{
    const auto fit = [](LabelledPie& pie, const QSizeF& size) {
        pie.graph.setBounds(QRectF(QPointF(), size));
        pie.pie->setPieRadius(std::min(size.width(), size.height()) / 4);
    };
    const auto make = [&fit](const QSizeF& size) {
        auto pie = std::make_unique<LabelledPie>(QList<double> { 52000 }, true, size);
        pie->source.texts = QStringList { QStringLiteral("$52,000-Checking account") };
        pie->graph.setPaddings(QMarginsF());
        pie->pie->setStartAngle(0);
        fit(*pie, size);
        pie->graph.reloadData();
        return pie;
    };
    const QSizeF wide(600, 500);
    const QSizeF narrow(250, 500);
    const auto pie = make(wide);
    QList<DataLabel> forms;
    for (const QSizeF& size : { wide, narrow, wide }) {
        SCOPED_TRACE(size.width());
        fit(*pie, size);
        const QImage drawn = pie->graph.imageOfLayer();
        const QList<PieChart::LabelPlacement> placements = pie->pie->labelPlacements();
        ASSERT_EQ(placements.size(), 1);
        forms.append(placements[0].label);
        EXPECT_TRUE(drawn == make(size)->graph.imageOfLayer())
            << "drawn unlike a new pie, its label \"" << forms.last().text.toStdString() << "\" at "
            << forms.last().style.fontSize << " points";
    }
    EXPECT_TRUE(forms[0] == forms[2]);
    EXPECT_FALSE(forms[0] == forms[1]) << "the narrow pane's label is on two lines or smaller";
}

// Labels of unequal slices compete: a hundred and fifty slices of one value and six a little
// larger, turned so that every label has room along the radius to the sides. Each larger slice
// keeps its label, whatever the neighbours' labels would have taken.
TEST(PieLabelLayout, LargerSlicesAreLabelledFirst)
{
    for (const qreal turn : { 0.0, 0.01, 0.02, 0.03 }) {
        SCOPED_TRACE(turn);
        QList<double> values = equalValues(150);
        // At the right and the left of the pie (slice k's middle lies (k + 0.5) / 150 of a turn
        // clockwise from the top).
        const QList<int> larger { 30, 37, 44, 105, 112, 119 };
        for (const int k : larger)
            values[k] = 1.02;
        LabelledPie pie(values, true);
        pie.pie->setStartAngle(M_PI / 2 + turn);
        const QList<PieChart::LabelPlacement> placements = pie.pie->labelPlacements();
        expectApartAndWithin(placements, pie.graph.plotAreaRect());
        for (const int k : larger)
            EXPECT_TRUE(std::any_of(placements.begin(), placements.end(),
                [k](const auto& placement) { return placement.recordIndex == k; }))
                << "slice " << k << " lost its label";
        // The crowd keeps the size and direction of its labels.
        for (const auto& placement : placements)
            EXPECT_EQ(placement.label, *pie.pie->slices()[placement.recordIndex].label);
    }
}
