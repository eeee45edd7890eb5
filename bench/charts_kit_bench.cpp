// Costs of the chart layer: building, reloading and drawing line charts and pies, and hit testing.
#include "charts/kit/Graph.h"
#include "charts/kit/PieChart.h"
#include "charts/kit/PlotDataSource.h"
#include "charts/kit/PlotSpace.h"
#include "charts/kit/ScatterPlot.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cmath>

using namespace chart;

namespace {

// 600 months of three series that wander; `phase` changes the data.
class MonthlySource : public PlotDataSource {
public:
    double phase = 0.0;
    int numberOfRecordsForPlot(Plot*) override { return 600; }
    std::optional<double> numberForPlot(Plot* plot, PlotField field, int index) override
    {
        if (field == PlotField::X)
            return index;
        const double series = plot->identifier().toDouble();
        return 1000.0 * series + 500.0 * std::sin(index / 20.0 + phase + series) + index * 3.0;
    }
};

Graph* buildLineChart(MonthlySource& source)
{
    auto* graph = new Graph(QRectF(0, 0, 1200, 700));
    for (int series = 0; series < 3; ++series) {
        auto* plot = new ScatterPlot;
        plot->setIdentifier(QString::number(series));
        LineStyle line;
        line.lineWidth = 2;
        line.lineColor = QColor::fromHsv(series * 100, 200, 220);
        plot->setDataLineStyle(line);
        if (series == 0) {
            plot->setAreaFill(
                Fill(Gradient::withColors(QColor(80, 240, 255, 64), QColor(80, 240, 255, 0), -90)));
            plot->setAreaBaseValue(0);
        }
        plot->setDataSource(&source);
        graph->addPlot(plot);
    }
    graph->defaultPlotSpace()->scaleToFitPlots(graph->allPlots());
    QList<AxisLabel> labels;
    TextStyle style;
    for (int year = 0; year < 50; ++year)
        labels << AxisLabel { QString::number(1980 + year), style, year * 12.0, 4.0, Alignment::Center,
            std::nullopt };
    graph->axisSet()->xAxis()->setAxisLabels(labels);
    return graph;
}

void BM_LineChartBuildAndDraw(benchmark::State& state)
{
    MonthlySource source;
    QImage image(1200, 700, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        std::unique_ptr<Graph> graph(buildLineChart(source));
        image.fill(Qt::white);
        QPainter painter(&image);
        graph->render(&painter, QRectF(0, 0, 1200, 700));
    }
}
BENCHMARK(BM_LineChartBuildAndDraw)->Unit(benchmark::kMillisecond);

void BM_LineChartReloadAndRedraw(benchmark::State& state)
{
    MonthlySource source;
    std::unique_ptr<Graph> graph(buildLineChart(source));
    QImage image(1200, 700, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        source.phase += 0.1;
        graph->reloadData();
        image.fill(Qt::white);
        QPainter painter(&image);
        graph->render(&painter, QRectF(0, 0, 1200, 700));
    }
}
BENCHMARK(BM_LineChartReloadAndRedraw)->Unit(benchmark::kMillisecond);

// Slices with a two-colour gradient each (the full-window category pies), or with a gradient
// from a colour to itself (the dashboard pie's category colours).
class SliceSource : public PlotDataSource {
public:
    bool twoColours = true;
    int generation = 0; // part of every label, so that a new generation has new labels
    int numberOfRecordsForPlot(Plot*) override { return 200; }
    std::optional<double> numberForPlot(Plot*, PlotField, int index) override { return 1.0 + index % 7; }
    std::optional<DataLabel> dataLabelForPlot(Plot*, int index) override
    {
        return DataLabel { QStringLiteral("%1%-Category %2").arg(index).arg(generation), TextStyle {} };
    }
    std::optional<Fill> sliceFillForPieChart(PieChart*, int index) override
    {
        const QColor color = QColor::fromHsv(index * 37 % 360, 180, 230);
        return Fill(Gradient::withColors(color, twoColours ? color.darker(130) : color, -30));
    }
};

void BM_PieOf200LabelledSlices(benchmark::State& state)
{
    SliceSource source;
    source.twoColours = state.range(0) == 2;
    const bool newLabels = state.range(1) == 1;
    Graph graph(QRectF(0, 0, 900, 700));
    graph.setAxisSet(nullptr);
    auto* pie = new PieChart;
    pie->setPieRadius(250);
    pie->setPieInnerRadius(80);
    pie->setLabelRotationRelativeToRadius(true);
    pie->setLabelShadow(Shadow { QPointF(1, -1), 0, QColor(255, 255, 255, 64) });
    pie->setOverlayFill(
        Fill(Gradient::radial({ { 0.97, QColor(0, 0, 0, 0) }, { 1.0, QColor(0, 0, 0, 77) } })));
    pie->setDataSource(&source);
    graph.addPlot(pie);
    QImage image(900, 700, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        source.generation += newLabels ? 1 : 0;
        graph.reloadData();
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        graph.render(&painter, QRectF(0, 0, 900, 700));
    }
}
// The pie's painting runs on a pool thread while the caller waits: wall time is what counts.
BENCHMARK(BM_PieOf200LabelledSlices)
    ->ArgsProduct({ { 2, 1 }, { 0, 1 } })
    ->ArgNames({ "gradientColours", "newLabels" })
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

void BM_HitTest600Symbols(benchmark::State& state)
{
    MonthlySource source;
    Graph graph(QRectF(0, 0, 1200, 700));
    auto* plot = new ScatterPlot;
    PlotSymbol symbol = PlotSymbol::ellipse();
    symbol.size = QSizeF(7, 7);
    plot->setPlotSymbol(symbol);
    plot->setPlotSymbolMarginForHitDetection(10);
    plot->setIdentifier(QStringLiteral("1"));
    plot->setDataSource(&source);
    graph.addPlot(plot);
    graph.defaultPlotSpace()->scaleToFitPlots({ plot });
    const QPointF target = graph.defaultPlotSpace()->graphPointForPlotPoint(300, plot->records().at(300).y());
    for (auto _ : state)
        benchmark::DoNotOptimize(plot->recordIndexAtGraphPoint(target + QPointF(2, 1)));
}
BENCHMARK(BM_HitTest600Symbols)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
