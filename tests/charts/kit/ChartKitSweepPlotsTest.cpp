#include "ChartKitEdgeValues.h"

#include "charts/kit/PlotSpace.h"

#include <gtest/gtest.h>

#include <functional>

using namespace chart;
using namespace charttest;

namespace {

QString tracedPlot(double value)
{
    return QString::number(value, 'g', 17);
}

// A graph of 400 x 300 points showing 0..10 on both axes, holding one plot of each kind, all
// asking `source`.
struct ThreeKinds {
    explicit ThreeKinds(EdgeDataSource& source) : graph(QRectF(0, 0, 400, 300))
    {
        graph.defaultPlotSpace()->setXRange(PlotRange::withLocation(0, 10));
        graph.defaultPlotSpace()->setYRange(PlotRange::withLocation(0, 10));
        scatter->setPlotSymbol(PlotSymbol::ellipse());
        scatter->setAreaFill(Fill(QColor(0, 0, 255, 80)));
        for (Plot* plot : plots()) {
            plot->setDataSource(&source);
            plot->setDelegate(&source);
            graph.addPlot(plot);
        }
    }
    QList<Plot*> plots() const { return { bars, scatter, pie }; }

    Graph graph;
    BarPlot* bars = BarPlot::tubularBarPlotWithColor(Qt::darkCyan, false);
    ScatterPlot* scatter = new ScatterPlot;
    PieChart* pie = new PieChart;
};

TEST(ChartKitSweep, RecordCountsFromTheDataSourceAreBounded)
{
    EdgeDataSource source;
    source.numbersByIndex = true;
    ThreeKinds kinds(source);
    for (const int count : { INT_MIN, -5, 0, 1, 600, INT_MAX }) {
        SCOPED_TRACE(count);
        source.count = count;
        kinds.graph.reloadData();
        for (Plot* plot : kinds.plots())
            EXPECT_EQ(plot->numberOfRecords(), std::clamp(count, 0, maximumRecordCount));
        EXPECT_FALSE(paintedAtSmallSize(kinds.graph).isNull());
    }
}

TEST(ChartKitSweep, PlotsDrawEveryEdgeValueTheirDataSourceOrCallerGives)
{
    QImage tile(3, 3, QImage::Format_ARGB32_Premultiplied);
    tile.fill(Qt::magenta);
    for (const double v : edgeValues()) {
        SCOPED_TRACE(tracedPlot(v).toStdString());
        EdgeDataSource source;
        source.count = 7;
        source.value = v;
        source.numbersByIndex = true;
        TextStyle style;
        style.fontSize = v;
        source.label = DataLabel { longText(), style };
        source.fill = Fill(Gradient::radial({ { v, Qt::red }, { -v, Qt::yellow } }));
        LineStyle line;
        line.lineWidth = v;
        line.dashPattern = { v, v };
        source.lineStyle = line;
        PlotSymbol symbol = PlotSymbol::ellipse();
        symbol.size = QSizeF(v, v);
        symbol.lineStyle = line;
        symbol.fill = Fill::withImage(tile, Fill::ImageMode::Stretched, v);
        source.symbol = symbol;
        source.radialOffset = v;
        ThreeKinds kinds(source);

        kinds.bars->setBarWidth(v);
        kinds.bars->setBarOffset(v);
        kinds.bars->setBarCornerRadius(v);
        kinds.bars->setLabelOffset(v);
        kinds.bars->setBaseValue(v);
        EXPECT_TRUE(std::isfinite(kinds.bars->barWidth()) && std::isfinite(kinds.bars->barOffset()));
        EXPECT_TRUE(isDrawable(kinds.bars->barCornerRadius()) && kinds.bars->barCornerRadius() >= 0);
        EXPECT_TRUE(isDrawable(kinds.bars->labelOffset()));
        kinds.scatter->setPlotSymbolMarginForHitDetection(v);
        kinds.scatter->setAreaBaseValue(v);
        kinds.scatter->setDataLineStyle(line);
        EXPECT_TRUE(isDrawable(kinds.scatter->plotSymbolMarginForHitDetection()));
        kinds.pie->setPieRadius(v);
        kinds.pie->setPieInnerRadius(v);
        kinds.pie->setCenterAnchor(QPointF(v, v));
        kinds.pie->setStartAngle(1.0);
        kinds.pie->setStartAngle(v);
        kinds.pie->setSliceDirection(static_cast<PieChart::Direction>(5));
        kinds.pie->setLabelOffset(v);
        kinds.pie->setLabelShadow(Shadow { QPointF(v, -v), v, Qt::black });
        kinds.pie->setBorderLineStyle(line);
        kinds.pie->setOverlayFill(Fill(Gradient::withColors(Qt::white, Qt::transparent, v)));
        EXPECT_TRUE(isDrawable(kinds.pie->pieRadius()) && kinds.pie->pieRadius() >= 0);
        EXPECT_TRUE(isDrawable(kinds.pie->pieInnerRadius()) && kinds.pie->pieInnerRadius() >= 0);
        EXPECT_TRUE(std::isfinite(kinds.pie->startAngle()));
        EXPECT_EQ(kinds.pie->sliceDirection(), PieChart::Direction::Clockwise);
        EXPECT_TRUE(isDrawable(kinds.pie->labelOffset()));
        EXPECT_TRUE(isDrawable(kinds.pie->centerInGraph()));
        kinds.graph.reloadData();
        for (const PieChart::Slice& slice : kinds.pie->slices()) {
            EXPECT_TRUE(isDrawable(slice.radialOffset));
            EXPECT_TRUE(slice.label && isBoundedLabel(slice.label->text));
        }
        for (const BarPlot::Bar& bar : kinds.bars->bars())
            EXPECT_TRUE(!bar.label || isBoundedLabel(bar.label->text));

        EXPECT_FALSE(paintedAtSmallSize(kinds.graph).isNull());
        EXPECT_FALSE(kinds.graph.imageOfLayer().isNull());
        kinds.bars->setBarsAreHorizontal(true);
        kinds.pie->setLabelRotationRelativeToRadius(true);
        EXPECT_FALSE(kinds.graph.imageOfLayer().isNull());

        for (const Plot* plot : kinds.plots()) {
            for (int i = -1; i <= plot->numberOfRecords(); ++i) {
                if (auto* bars = qobject_cast<const BarPlot*>(plot)) {
                    EXPECT_TRUE(isDrawable(bars->barRect(i)));
                }
            }
            for (const double at : edgeValues())
                EXPECT_GE(plot->recordIndexAtGraphPoint(QPointF(at, -at)), -1);
        }
    }
}

TEST(ChartKitSweep, OnlyRecordsAPlotHoldsReachItsDelegate)
{
    EdgeDataSource source;
    source.count = 3;
    source.numbersByIndex = true;
    ThreeKinds kinds(source);
    for (Plot* plot : kinds.plots()) {
        for (const int index : { INT_MIN, -1, 3, INT_MAX })
            plot->recordWasSelected(index);
        kinds.pie->recordTouchDown(-1);
        kinds.pie->recordTouchDown(3);
        plot->recordWasSelected(2);
    }
    EXPECT_EQ(
        source.selections, QStringList({ QStringLiteral("2"), QStringLiteral("2"), QStringLiteral("2") }));
    for (const int index : { INT_MIN, -1, 0, INT_MAX })
        EXPECT_TRUE(PieChart::defaultSliceFill(index).color()->isValid());
    EXPECT_EQ(kinds.graph.plotAtIndex(INT_MIN), nullptr);
    EXPECT_EQ(kinds.graph.plotAtIndex(3), nullptr);
    EXPECT_EQ(kinds.graph.plotAtIndex(INT_MAX), nullptr);
}

// Hundreds of slices whose labels run to ten thousand characters, once upright and once along
// the radius: the labels are cut before they are laid out, and each label image stays narrow
// enough for the raster engine to turn.
TEST(ChartKitSweep, SixHundredSlicesWithVeryLongLabelsDrawQuickly)
{
    for (const bool alongRadius : { false, true }) {
        SCOPED_TRACE(alongRadius);
        EdgeDataSource source;
        source.count = 600;
        source.numbersByIndex = true;
        source.label = DataLabel { longText(), TextStyle {} };
        Graph graph(QRectF(0, 0, 800, 600));
        graph.setAxisSet(nullptr);
        auto* pie = new PieChart;
        pie->setPieRadius(200);
        pie->setLabelRotationRelativeToRadius(alongRadius);
        pie->setLabelShadow(Shadow {});
        pie->setDataSource(&source);
        graph.addPlot(pie);
        ASSERT_EQ(pie->slices().size(), 600);
        const QImage image = graph.imageOfLayer();
        ASSERT_FALSE(image.isNull());
        for (const PieChart::Slice& slice : pie->slices()) {
            EXPECT_TRUE(slice.label->text.endsWith(QChar(0x2026)));
            EXPECT_LE(slice.labelImage.width(), maximumLabelImageSide);
        }
        // The cut labels are drawn: the pie's neighbourhood is not left blank.
        EXPECT_TRUE(containsInk(image, QRect(0, 0, 100, 100)));
    }
}

// A value missing at every third record breaks the line thousands of times; past a few hundred
// pieces the line joins them, and the plot still holds every record.
TEST(ChartKitSweep, ALineBrokenThousandsOfTimesStillDraws)
{
    EdgeDataSource source;
    source.count = INT_MAX;
    source.numbersByIndex = true;
    source.gapEvery = 3;
    Graph graph(QRectF(0, 0, 400, 300));
    graph.setAxisSet(nullptr);
    graph.defaultPlotSpace()->setXRange(PlotRange::withLocation(0, 20));
    graph.defaultPlotSpace()->setYRange(PlotRange::withLocation(0, 2));
    auto* line = new ScatterPlot;
    LineStyle style;
    style.lineWidth = 3;
    line->setDataLineStyle(style);
    line->setDataSource(&source);
    graph.addPlot(line);
    ASSERT_EQ(line->numberOfRecords(), maximumRecordCount);
    EXPECT_TRUE(std::isnan(line->records()[1].y()));
    EXPECT_EQ(line->records()[2], QPointF(2, 1));
    const QImage image = graph.imageOfLayer();
    const auto around = [&](double x) {
        const QPointF at = graph.defaultPlotSpace()->graphPointForPlotPoint(x, 1);
        return QRect(at.toPoint() - QPoint(1, 1), QSize(3, 3));
    };
    EXPECT_TRUE(containsInk(image, around(2.5)));
    EXPECT_FALSE(containsInk(image, around(1.0))) << "the gaps within the limit stay open";
}

} // namespace
