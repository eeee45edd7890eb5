// The comparison screen on the generated household (50 years, 200 categories): switching to it
// as the shell does (the newest net worth handed over, the eight statistics charts redrawn, the
// screen placed and the detailed comparison re-read) with the screen and all eight charts drawn;
// and changing one month in the header's lists, with the header drawn again.
#include "BenchData.h"
#include "ScreenBench.h"
#include "app/shell/ScreenProvider.h"
#include "charts/compare/CategoryCompareModel.h"
#include "charts/compare/CompareViewController.h"
#include "charts/compare/StatisticsChartView.h"
#include "charts/kit/Graph.h"
#include "charts/kit/GraphHostingView.h"
#include "model/data/MVX_NWLog.h"
#include "model/store/NWData.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPainter>

#include <memory>

namespace {

constexpr QSize kScreenSize(1128, 860);

double newestNetWorth()
{
    const auto& records = NWData::shared()->appData()->nwLogArray();
    return records && !records->isEmpty() ? records->first()->nw().value_or(0.0) : 0.0;
}

void BM_SwitchToTheScreenAndDrawAllCharts(benchmark::State& state)
{
    benchdata::installLargeHousehold();
    ScreenProvider screens;
    std::unique_ptr<QWidget> view(screens.createScreen(AppScreen::Compare));
    auto& screen = *qobject_cast<CompareViewController*>(view.get());
    benchscreens::showAndSettle(screen, kScreenSize);
    QImage image(kScreenSize, QImage::Format_ARGB32_Premultiplied);
    QImage chartImage(screen.chartView(0)->hostView()->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        screen.hide();
        screens.compareWithNetWorth(&screen, newestNetWorth());
        screen.show();
        screens.screenPlaced(AppScreen::Compare, &screen);
        QCoreApplication::processEvents();
        QPainter painter(&image);
        screen.render(&painter);
        for (int index = 0; index < CompareStatistics::chartCount; ++index) {
            chart::GraphHostingView* host = screen.chartView(index)->hostView();
            chartImage.fill(Qt::transparent);
            QPainter chartPainter(&chartImage);
            host->hostedGraph()->render(&chartPainter, QRectF(QPointF(0, 0), host->size()));
        }
    }
    state.counters["categories"]
        = double(screen.assetsModel()->rowCount() + screen.liabilitiesModel()->rowCount());
}

void BM_ChangeOneMonth(benchmark::State& state)
{
    benchdata::installLargeHousehold();
    CompareViewController screen;
    benchscreens::showAndSettle(screen, kScreenSize);
    QWidget* header = screen.headerField(QStringLiteral("a_1"))->parentWidget()->parentWidget();
    QImage image(header->size(), QImage::Format_ARGB32_Premultiplied);
    // A month of the generated records: its newest year.
    const int newestYear = NWData::shared()->appData()->nwLogArray()->first()->year().value_or(2000);
    screen.yearTableView1()->setCurrentRow(newestYear - screen.yearTableView1()->item(0)->text().toInt());
    screen.yearTableView2()->setCurrentRow(screen.yearTableView1()->currentRow());
    int month = 0;
    for (auto _ : state) {
        month = (month + 1) % 12;
        screen.monthTableView1()->setCurrentRow(month);
        QCoreApplication::processEvents();
        QPainter painter(&image);
        header->render(&painter);
    }
    if (screen.headerField(QStringLiteral("ad_2"))->text() == QStringLiteral("-"))
        state.SkipWithError("the compared months have no records");
}

} // namespace

BENCHMARK(BM_SwitchToTheScreenAndDrawAllCharts)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChangeOneMonth)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return benchscreens::run(argc, argv);
}
