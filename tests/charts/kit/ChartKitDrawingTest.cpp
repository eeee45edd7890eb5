#include "ChartKitTestSupport.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace chart;
using namespace charttest;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// A 400 x 300 graph with 20-point paddings and ranges 0..10 on both axes.
std::unique_ptr<Graph> makeGraph()
{
    auto graph = std::make_unique<Graph>(QRectF(0, 0, 400, 300));
    graph->defaultPlotSpace()->setXRange(PlotRange::withLocation(0, 10));
    graph->defaultPlotSpace()->setYRange(PlotRange::withLocation(0, 10));
    return graph;
}

ScatterPlot* addSymbols(
    Graph& graph, TableDataSource& source, const QColor& color, const QList<QList<double>>& points)
{
    auto* plot = new ScatterPlot;
    PlotSymbol symbol = PlotSymbol::ellipse();
    symbol.size = QSizeF(12, 12);
    symbol.fill = Fill(color);
    symbol.lineStyle.reset();
    plot->setPlotSymbol(symbol);
    plot->setDataLineStyle(std::nullopt);
    source.rows[plot] = points;
    plot->setDataSource(&source);
    graph.addPlot(plot);
    return plot;
}

TEST(ChartKitDrawing, CallerLabelsAppearAtTheirTickLocationsOnly)
{
    auto graph = makeGraph();
    Axis* x = graph->axisSet()->xAxis();
    x->setTickDirection(TickDirection::Negative);
    TextStyle red;
    red.color = QColor(255, 0, 0);
    red.fontSize = 14;
    QList<AxisLabel> labels;
    for (double location : { 2.0, 8.0 }) {
        AxisLabel label { QStringLiteral("WW"), red, location, 4.0, Alignment::Center, std::nullopt };
        labels << label;
    }
    x->setAxisLabels(labels);
    x->setMajorTickLocations({ 2.0, 8.0 });
    const QImage image = graph->imageOfLayer();
    ASSERT_EQ(image.size(), QSize(400, 300));
    ASSERT_EQ(image.format(), QImage::Format_ARGB32_Premultiplied);
    // The x axis crosses at y = 0: the plot area's bottom edge, 280; labels hang below it.
    const QRectF area = graph->plotAreaRect();
    const int axisY = qRound(area.bottom());
    const auto band = [&](double location) {
        const int cx = qRound(graph->defaultPlotSpace()->graphXForPlotX(location));
        return QRect(cx - 8, axisY + 3, 16, 18);
    };
    EXPECT_TRUE(containsColor(image, band(2), red.color));
    EXPECT_TRUE(containsColor(image, band(8), red.color));
    EXPECT_FALSE(containsColor(image, band(5), red.color));
    EXPECT_FALSE(containsColor(image, QRect(0, 0, 400, axisY - 1), red.color))
        << "labels belong below the axis";
}

TEST(ChartKitDrawing, OnePointAndEqualValuesScaleToAVisibleRange)
{
    for (const QList<QList<double>>& points :
        { QList<QList<double>> { { 5, 100 } }, QList<QList<double>> { { 1, 7 }, { 2, 7 }, { 3, 7 } } }) {
        auto graph = makeGraph();
        TableDataSource source;
        ScatterPlot* plot = addSymbols(*graph, source, QColor(0, 0, 255), points);
        graph->defaultPlotSpace()->scaleToFitPlots({ plot });
        const PlotRange x = graph->defaultPlotSpace()->xRange();
        const PlotRange y = graph->defaultPlotSpace()->yRange();
        EXPECT_GT(y.length, 0.0);
        EXPECT_GT(x.length, 0.0);
        EXPECT_TRUE(y.contains(points.first()[1]));
        const QImage image = graph->imageOfLayer();
        for (const QList<double>& point : points) {
            const QPointF at = graph->defaultPlotSpace()->graphPointForPlotPoint(point[0], point[1]);
            EXPECT_TRUE(
                containsColor(image, QRect(at.toPoint() - QPoint(2, 2), QSize(5, 5)), QColor(0, 0, 255)))
                << point[0] << "," << point[1];
        }
    }
}

TEST(ChartKitDrawing, ReloadAsksTheDataSourceAgain)
{
    auto graph = makeGraph();
    TableDataSource source;
    ScatterPlot* plot = addSymbols(*graph, source, QColor(0, 160, 0), { { 2, 2 } });
    const int asked = source.countQuestions;
    const QImage before = graph->imageOfLayer();
    source.rows[plot] = { { 8, 8 } };
    graph->reloadData();
    EXPECT_GT(source.countQuestions, asked);
    const QImage after = graph->imageOfLayer();
    EXPECT_NE(before, after);
    const QPointF old = graph->defaultPlotSpace()->graphPointForPlotPoint(2, 2);
    const QPointF now = graph->defaultPlotSpace()->graphPointForPlotPoint(8, 8);
    EXPECT_FALSE(containsColor(after, QRect(old.toPoint() - QPoint(2, 2), QSize(5, 5)), QColor(0, 160, 0)));
    EXPECT_TRUE(containsColor(after, QRect(now.toPoint() - QPoint(2, 2), QSize(5, 5)), QColor(0, 160, 0)));
}

TEST(ChartKitDrawing, LinesAndBarsDrawWhereThePlotSpacePutsThem)
{
    auto graph = makeGraph();
    TableDataSource source;
    auto* line = new ScatterPlot;
    LineStyle style;
    style.lineColor = QColor(255, 0, 255);
    style.lineWidth = 4;
    line->setDataLineStyle(style);
    source.rows[line] = { { 0, 5 }, { 10, 5 } };
    line->setDataSource(&source);
    BarPlot* bars = BarPlot::tubularBarPlotWithColor(QColor(0, 200, 200), false);
    bars->setFill(Fill(QColor(0, 200, 200)));
    bars->setBarWidth(1.0);
    bars->setBarBasesVary(true);
    source.rows[bars] = { { 3, 8, 6 } };
    bars->setDataSource(&source);
    graph->addPlot(bars);
    graph->addPlot(line);
    const QImage image = graph->imageOfLayer();
    PlotSpace* space = graph->defaultPlotSpace();
    EXPECT_TRUE(containsColor(image,
        QRect(space->graphPointForPlotPoint(5, 5).toPoint() - QPoint(1, 1), QSize(3, 3)), style.lineColor));
    EXPECT_TRUE(containsColor(
        image, QRect(space->graphPointForPlotPoint(3, 7).toPoint(), QSize(1, 1)), QColor(0, 200, 200)));
    // Below the varying base there is no bar.
    EXPECT_FALSE(containsColor(
        image, QRect(space->graphPointForPlotPoint(3, 4).toPoint(), QSize(1, 1)), QColor(0, 200, 200)));

    // Near the largest double, where a value's distance from the range's lower end is no double:
    // the line from 0 to the largest double runs through the middle of its way up, and the
    // largest double maps above the plot area by as much as it lies beyond the range.
    constexpr double most = std::numeric_limits<double>::max();
    space->setYRange(PlotRange::withLocation(-most / 8, most * 0.9));
    source.rows[line] = { { 0, 0 }, { 10, most } };
    source.rows[bars] = {};
    graph->reloadData();
    const QRectF area = graph->plotAreaRect();
    EXPECT_NEAR(space->graphYForPlotY(most), area.bottom() - (1.125 / 0.9) * area.height(), 1e-6);
    const QImage huge = graph->imageOfLayer();
    EXPECT_TRUE(containsColor(huge,
        QRect(space->graphPointForPlotPoint(5, most / 2).toPoint() - QPoint(2, 2), QSize(5, 5)),
        style.lineColor))
        << "no line towards the largest double";
}

TEST(ChartKitDrawing, NonFiniteValuesAndTicksDrawNothingAndDoNotHang)
{
    auto graph = makeGraph();
    TableDataSource source;
    ScatterPlot* plot
        = addSymbols(*graph, source, QColor(0, 0, 255), { { 1, kNaN }, { kInf, 3 }, { 5, 5 }, { 6, -kInf } });
    BarPlot* bars = BarPlot::tubularBarPlotWithColor(QColor(200, 0, 0), false);
    source.rows[bars] = { { kNaN, 1 }, { 2, kInf } };
    bars->setDataSource(&source);
    graph->addPlot(bars);
    auto* pie = new PieChart;
    source.rows[pie] = { { kNaN }, { -3 }, { kInf } };
    pie->setDataSource(&source);
    graph->addPlot(pie);
    Axis* y = graph->axisSet()->yAxis();
    y->setMajorIntervalLength(0);
    y->setMajorGridLineStyle(LineStyle {});
    y->setMajorTickLocations({ kNaN, kInf, 1e300, -1e308, 5 });
    TextStyle style;
    y->setAxisLabels({ AxisLabel { QStringLiteral("x"), style, kInf, 0, Alignment::Center, std::nullopt },
        AxisLabel { QStringLiteral("y"), style, 1e300, kNaN, Alignment::Bottom, kNaN } });
    EXPECT_EQ(plot->plotRangeForCoordinate(Plot::Coordinate::X), PlotRange::withLocation(5, 0));
    EXPECT_FALSE(bars->plotRangeEnclosingBars().has_value());
    EXPECT_FALSE(graph->imageOfLayer().isNull());

    // A plot space of non-finite or empty ranges draws nothing rather than failing.
    graph->defaultPlotSpace()->setXRange(PlotRange::withLocation(kNaN, 1));
    graph->defaultPlotSpace()->setYRange(PlotRange::withLocation(0, 0));
    EXPECT_FALSE(graph->imageOfLayer().isNull());
    EXPECT_EQ(bars->recordIndexAtGraphPoint(QPointF(100, 100)), -1);
    // Only finite data is fitted; nothing finite leaves the ranges as they were.
    source.rows[plot] = { { kNaN, kNaN } };
    graph->reloadData();
    graph->defaultPlotSpace()->setXRange(PlotRange::withLocation(0, 10));
    graph->defaultPlotSpace()->scaleToFitPlots({ plot, bars });
    EXPECT_EQ(graph->defaultPlotSpace()->xRange(), PlotRange::withLocation(0, 10));
}

TEST(ChartKitDrawing, RenderDrawsAtTheTargetSizeAndRestoresTheBounds)
{
    auto graph = makeGraph();
    TableDataSource source;
    addSymbols(*graph, source, QColor(0, 0, 255), { { 10, 10 } });
    QImage page(800, 600, QImage::Format_ARGB32_Premultiplied);
    page.fill(Qt::white);
    QPainter painter(&page);
    graph->render(&painter, QRectF(0, 0, 800, 600));
    painter.end();
    EXPECT_EQ(graph->bounds(), QRectF(0, 0, 400, 300));
    // At 800 x 600 the top-right data corner lies at (780, 20), not at its 400 x 300 place.
    EXPECT_TRUE(containsColor(page, QRect(776, 16, 8, 8), QColor(0, 0, 255)));
}

// Red and blue slices, with a green label on the first.
class TwoSliceSource : public TableDataSource {
public:
    std::optional<Fill> sliceFillForPieChart(PieChart*, int index) override
    {
        return Fill(index == 0 ? QColor(255, 0, 0) : QColor(0, 0, 255));
    }
    std::optional<DataLabel> dataLabelForPlot(Plot*, int index) override
    {
        TextStyle style;
        style.color = labelColor;
        style.fontSize = 16;
        return index == 0 ? std::optional<DataLabel>(DataLabel { QStringLiteral("WWW"), style })
                          : std::nullopt;
    }
    QColor labelColor = QColor(0, 200, 0);
};

TEST(ChartKitDrawing, APieRedrawsWhenItsAnglesDataOrLabelsChange)
{
    Graph graph(QRectF(0, 0, 400, 300));
    graph.setAxisSet(nullptr);
    TwoSliceSource source;
    auto* pie = new PieChart;
    pie->setPieRadius(100);
    pie->setLabelOffset(4);
    source.rows[pie] = { { 1 }, { 1 } };
    pie->setDataSource(&source);
    graph.addPlot(pie);
    const QPointF center = pie->centerInGraph();
    const auto colorAt = [&](const QImage& image, double dx, double dy) {
        return image.pixelColor((center + QPointF(dx, dy)).toPoint());
    };
    const QRect rightOfPie = QRectF(center.x() + 100, center.y() - 20, 90, 40).toRect();

    // From twelve o'clock clockwise: the first slice is the right half, its label beyond it.
    QImage image = graph.imageOfLayer();
    EXPECT_EQ(colorAt(image, 50, 0), QColor(255, 0, 0));
    EXPECT_EQ(colorAt(image, -50, 0), QColor(0, 0, 255));
    EXPECT_TRUE(containsColor(image, rightOfPie, QColor(0, 200, 0)));

    // Starting at six o'clock the halves swap, and so does the label's side.
    pie->setStartAngle(-M_PI / 2);
    image = graph.imageOfLayer();
    EXPECT_EQ(colorAt(image, 50, 0), QColor(0, 0, 255));
    EXPECT_FALSE(containsColor(image, rightOfPie, QColor(0, 200, 0)));

    // Three quarters for the first slice after a reload, and its label in its new colour.
    pie->setStartAngle(M_PI / 2);
    source.rows[pie] = { { 3 }, { 1 } };
    source.labelColor = QColor(200, 0, 200);
    graph.reloadData();
    image = graph.imageOfLayer();
    EXPECT_EQ(colorAt(image, -40, 40), QColor(255, 0, 0));
    EXPECT_EQ(colorAt(image, -40, -40), QColor(0, 0, 255));
    EXPECT_FALSE(containsColor(image, QRect(0, 0, 400, 300), QColor(0, 200, 0)));
    EXPECT_TRUE(containsColor(image, QRect(0, 0, 400, 300), QColor(200, 0, 200)));

    // Two slices of the largest double, whose sum is no double, still halve the pie.
    constexpr double most = std::numeric_limits<double>::max();
    source.rows[pie] = { { most }, { most } };
    graph.reloadData();
    EXPECT_EQ(pie->slices()[0].fraction, 0.5);
    EXPECT_EQ(pie->slices()[1].startFraction, 0.5);
    image = graph.imageOfLayer();
    EXPECT_EQ(colorAt(image, 50, 0), QColor(255, 0, 0));
    EXPECT_EQ(colorAt(image, -50, 0), QColor(0, 0, 255));
}

// Three thousand slices far thinner than a pixel, a thousand red, a thousand green (with a
// gradient of one colour to another), a thousand blue: each third shows its own colour all the
// way round, with no background showing between the thin slices.
TEST(ChartKitDrawing, ThousandsOfThinSlicesKeepTheirColours)
{
    class ThinSlices : public TableDataSource {
    public:
        std::optional<Fill> sliceFillForPieChart(PieChart*, int index) override
        {
            if (index < 1000)
                return Fill(QColor(255, 0, 0));
            if (index < 2000)
                return Fill(Gradient::withColors(QColor(0, 160, 0), QColor(0, 200, 0), -30));
            return Fill(QColor(0, 0, 255));
        }
    };
    Graph graph(QRectF(0, 0, 400, 300));
    graph.setAxisSet(nullptr);
    ThinSlices source;
    auto* pie = new PieChart;
    pie->setPieRadius(100);
    pie->setStartAngle(M_PI / 2);
    source.rows[pie] = QList<QList<double>>(3000, QList<double> { 1.0 });
    pie->setDataSource(&source);
    graph.addPlot(pie);
    const QImage image = graph.imageOfLayer();
    const QPointF center = pie->centerInGraph();
    for (int step = 1; step < 120; ++step) {
        if (step % 40 == 0)
            continue; // the borders between the thirds
        // Clockwise from twelve o'clock, at three radii.
        const double angle = M_PI / 2 - step * 2 * M_PI / 120;
        const QColor expected = step < 40 ? QColor(255, 0, 0)
            : step < 80                   ? QColor(0, 180, 0)
                                          : QColor(0, 0, 255);
        for (const double r : { 30.0, 60.0, 95.0 }) {
            const QPoint at = (center + QPointF(std::cos(angle), -std::sin(angle)) * r).toPoint();
            EXPECT_TRUE(isNear(image.pixelColor(at), expected, 45))
                << step << " at " << r << ": " << image.pixelColor(at).name().toStdString();
        }
    }
}

} // namespace
