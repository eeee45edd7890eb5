// Printing one chart page to PDF through the shared print settings' file seam: the history
// chart's case, 50 years of monthly net worth as a line with an area under it, landscape
// with the margins every chart passes.
#include "ScreenBench.h"
#include "charts/common/NWPrintViewController.h"
#include "charts/common/PrintSession.h"
#include "charts/kit/Graph.h"
#include "charts/kit/GraphHostingView.h"
#include "charts/kit/PlotDataSource.h"
#include "charts/kit/PlotSpace.h"
#include "charts/kit/ScatterPlot.h"

#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kMonths = 50 * 12;

class MonthlyNetWorth : public chart::PlotDataSource {
public:
    int numberOfRecordsForPlot(chart::Plot*) override { return kMonths; }
    std::optional<double> numberForPlot(chart::Plot*, chart::PlotField field, int recordIndex) override
    {
        if (field == chart::PlotField::X)
            return recordIndex;
        return 20000.0 + 350.0 * recordIndex + 9000.0 * std::sin(recordIndex / 7.0);
    }
};

void BM_PrintChartPageToPdf(benchmark::State& state)
{
    MonthlyNetWorth source;
    chart::GraphHostingView host;
    auto* graph = new chart::Graph;
    graph->setFill(chart::Fill(QColor(250, 250, 250)));
    auto* line = new chart::ScatterPlot;
    line->setDataLineStyle(chart::LineStyle { 2.0, QColor(28, 132, 250), {} });
    // Translucent and fading out downwards, as the history chart's net-worth area.
    line->setAreaFill(
        chart::Fill(chart::Gradient::withColors(QColor(84, 245, 255, 64), QColor(84, 245, 255, 0), -90)));
    line->setDataSource(&source);
    graph->addPlot(line);
    graph->defaultPlotSpace()->setXRange(chart::PlotRange::withLocation(0, kMonths));
    graph->defaultPlotSpace()->setYRange(chart::PlotRange::withLocation(0, 250000));
    host.setHostedGraph(graph);
    benchscreens::showAndSettle(host, QSize(900, 600));
    PrintSession::printer().setPageSize(QPageSize(QPageSize::Letter));

    QTemporaryDir dir;
    const QString pdf = dir.filePath(u"chart.pdf"_s);
    for (auto _ : state) {
        PrintSession::setNextOutputFile(pdf);
        NWPrintViewController::GenericPrint(&host, 40, 200, 10, 10, true, u"Chart"_s);
    }
    state.counters["pdf_bytes"] = double(QFileInfo(pdf).size());
}

} // namespace

BENCHMARK(BM_PrintChartPageToPdf)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return benchscreens::run(argc, argv);
}
