#include "app/shell/ScreenProvider.h"

#include "app/shell/DashboardController.h"
#include "app/shell/ScreenPlaceholder.h"
#include "categories/screen/CategoryViewController.h"
#include "categories/tags/TagsViewController.h"
#include "charts/annual/AnnualViewController.h"
#include "charts/compare/CompareViewController.h"
#include "charts/history/line/LineChartViewController.h"
#include "charts/history/menu/LnChartMenuViewController.h"
#include "dashboard/bigpie/BigPieChartViewController.h"
#include "dashboard/settings/PieChartMenuViewController.h"
#include "dashboard/totals/TotalsViewController.h"
#include "platform/Strings.h"
#include "records/list/TableBaseViewController.h"

#include <type_traits>

namespace {

LineChartViewController* newLineChart()
{
    auto* chart = new LineChartViewController;
    chart->setMenuContentFactory([] { return new LnChartMenuViewController; });
    return chart;
}

} // namespace

QWidget* ScreenProvider::createScreen(AppScreen screen)
{
    // A value outside the sidebar's screens has no entry to read: it gets an empty screen.
    if (!isAppScreen(screen))
        return new ScreenPlaceholder(QString());
    const AppScreenInfo& info = appScreenInfo(screen);
    QWidget* view = nullptr;
    if (screen == AppScreen::Dashboard) {
        // The dashboard's lower pane is a second history chart, its menu button higher up.
        LineChartViewController* lineChart = newLineChart();
        lineChart->setTopMenuButtonConstraint(10);
        lineChart->setPrintNamePattern(platform::Strings::tr("Dashboard - %1"));
        auto* totals = new TotalsViewController;
        totals->setMenuContentFactory([] { return new PieChartMenuViewController; });
        auto* dashboard = new DashboardController(new TableBaseViewController, totals, lineChart);
        QObject::connect(dashboard->dashboardContentViewController(),
            &DashboardContentViewController::splitResized, totals, &TotalsViewController::resizedSplit);
        view = dashboard;
    } else if (screen == AppScreen::Category) {
        view = new CategoryViewController;
    } else if (screen == AppScreen::Tags) {
        view = new TagsViewController;
    } else if (screen == AppScreen::LineChart) {
        view = newLineChart();
    } else if (screen == AppScreen::PieChart) {
        view = new BigPieChartViewController;
    } else if (screen == AppScreen::Annual) {
        view = new AnnualViewController;
    } else if (screen == AppScreen::Compare) {
        view = new CompareViewController;
    } else {
        view = new ScreenPlaceholder(platform::localized(info.tooltip));
    }
    view->setObjectName(QString::fromLatin1(info.className));
    return view;
}

void ScreenProvider::screenPlaced(AppScreen screen, QWidget* view)
{
    if (screen == AppScreen::LineChart) {
        if (auto* chart = qobject_cast<LineChartViewController*>(view))
            chart->refreshView();
    } else if (screen == AppScreen::Annual) {
        if (auto* chart = qobject_cast<AnnualViewController*>(view))
            chart->updateChart();
    } else if (screen == AppScreen::Compare) {
        if (auto* compare = qobject_cast<CompareViewController*>(view))
            compare->viewDidAppear();
    } else if (screen == AppScreen::Dashboard) {
        auto* dashboard = qobject_cast<DashboardController*>(view);
        auto* content = dashboard ? dashboard->dashboardContentViewController() : nullptr;
        if (auto* chart = content ? qobject_cast<LineChartViewController*>(content->lineChartVC()) : nullptr)
            chart->refreshView();
        if (auto* totals = content ? qobject_cast<TotalsViewController*>(content->totalsVC()) : nullptr)
            totals->refreshView();
    }
}

void ScreenProvider::compareWithNetWorth(QWidget* view, double netWorth)
{
    if (auto* compare = qobject_cast<CompareViewController*>(view)) {
        compare->setMyCurrentNW(netWorth);
        compare->redrawCountryComparison();
    }
}
