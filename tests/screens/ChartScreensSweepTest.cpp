#include "charts/annual/AnnualChartSettings.h"
#include "charts/annual/AnnualViewController.h"
#include "charts/common/CurveFit.h"
#include "charts/common/NSPLotPointAnnotationController.h"
#include "charts/common/ValuePopup.h"
#include "charts/compare/CompareStatistics.h"
#include "charts/compare/CompareViewController.h"
#include "charts/compare/StatisticsChartView.h"
#include "charts/history/line/LineChartViewController.h"
#include "charts/history/menu/LnChartMenuViewController.h"
#include "charts/history/menu/LnChartSettCellView.h"
#include "screens/SweepSupport.h"
#include "uikit/popover/PKPopoverController.h"

#include "charts/kit/Axis.h"
#include "charts/kit/BarPlot.h"
#include "charts/kit/GraphHostingView.h"
#include "model/settings/Preferences.h"

#include <QCheckBox>
#include <QComboBox>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace mervane::test;
using namespace mervane::test::sweep;

namespace {

using ChartScreensSweep = ScreenSweepTest;

TEST_F(ChartScreensSweep, historyChartAndItsMenuTakeEveryModelSizeAndIndex)
{
    forEachModel([] {
        auto chart = std::make_unique<LineChartViewController>();
        chart->setMenuContentFactory([] { return new LnChartMenuViewController; });
        showInHost(*chart);
        chart->refreshView();
        for (int value : edgeInts) {
            chart->timeScaleChanged(value);
            chart->setTopMenuButtonConstraint(value);
            EXPECT_GE(chart->timeScale(), 0);
            EXPECT_LE(chart->timeScale(), 3);
            EXPECT_EQ(LineChartViewController::getSelectedNWLogItemFromYear(value, value), nullptr);
        }
        chart->setTopMenuButtonConstraint(10);
        chart->timeScaleChanged(0);
        resizeAndPaint(*chart);
        chart->editTheNWLogRecord(nullptr);
        chart->closeChartInfoView(true);

        LnChartMenuViewController menu;
        showInHost(menu);
        for (int value : edgeInts) {
            menu.tabChanged(value);
            menu.displayValueChanged(value);
            menu.displayCurrencyChanged(value);
            menu.nwTypeGoalChanged(value);
            menu.lineWidthChanged(value);
            menu.assetCategoryPicked(value);
            menu.liabilityCategoryPicked(value);
            menu.tagRowCheckHandler(value, true);
            menu.tagRowCheckHandler(value, false);
        }
        resizeAndPaint(menu, popoverSizes);
    });
}

/// The years of the store's records, ascending.
QList<int> recordYears()
{
    QList<int> years;
    const auto& model = NWData::shared()->appData();
    if (model && model->nwLogArray()) {
        for (const auto& record : *model->nwLogArray()) {
            if (record && record->year() && !years.contains(*record->year()))
                years.append(*record->year());
        }
    }
    std::sort(years.begin(), years.end());
    return years;
}

/// The annual chart against the store: a slot per chosen year and per projected year, the
/// newest years' year-ends in the first slots with their ticks, then the projection; a bar
/// drawn for every point whose value is finite and for nothing else.
void expectAnnualChartOfTheStore(const AnnualViewController& chart, int projected)
{
    const QList<int> years = recordYears();
    const int slotTotal = Preferences::annualYears() + projected;
    const auto& points = chart.visibleDataArray();
    QList<int> yearEndYears;
    qsizetype trendPoints = 0;
    for (const NWAnnualLog& point : points) {
        if (point.isTrendPoint())
            ++trendPoints;
        else
            yearEndYears.append(point.year());
    }
    EXPECT_EQ(trendPoints, years.isEmpty() ? 0 : projected);
    EXPECT_EQ(yearEndYears, years.mid(std::max<qsizetype>(0, years.size() - (slotTotal - trendPoints))));

    const auto& bars = chart.barPlotNW()->bars();
    ASSERT_EQ(bars.size(), slotTotal);
    for (qsizetype slot = 0; slot < bars.size(); ++slot) {
        const bool drawable
            = slot < points.size() && std::isfinite(points[slot].assets() - points[slot].liabilities());
        EXPECT_EQ(bars[slot].valid, drawable) << "slot " << slot;
    }
    const chart::Axis* x = chart.hostView()->hostedGraph()->axisSet()->xAxis();
    EXPECT_EQ(x->majorTickLocations().size(), points.size());
    if (!yearEndYears.isEmpty()) {
        QStringList labels;
        for (const auto& label : x->axisLabels())
            labels.append(label.text);
        EXPECT_TRUE(labels.contains(QString::number(yearEndYears.last())));
    }
}

TEST_F(ChartScreensSweep, annualChartTakesEveryModelAndPeriodChoice)
{
    forEachModel([] {
        AnnualViewController chart;
        showInHost(chart);
        chart.updateChart();
        // The choices of the previous model are kept in the settings; start without the trend.
        if (chart.anualTrendCtl()->isChecked())
            chart.anualTrendCtl()->click();
        expectAnnualChartOfTheStore(chart, 0);

        chart.anualTrendCtl()->click();
        int projected = chart.futurePeriodCtl()->currentIndex() + AnnualChartSettings::fewestTrendYears;
        expectAnnualChartOfTheStore(chart, projected);
        for (QComboBox* box : { chart.futurePeriodCtl(), chart.pastPeriodCtl() }) {
            for (int index = -1; index < box->count(); ++index) {
                box->setCurrentIndex(index);
                // As a choice in the list does; "no item" is never activated.
                if (index >= 0)
                    Q_EMIT box->activated(index);
                if (index >= 0 && box == chart.futurePeriodCtl())
                    projected = index + AnnualChartSettings::fewestTrendYears;
                expectAnnualChartOfTheStore(chart, projected);
            }
        }
        resizeAndPaint(chart);
        chart.anualTrendCtl()->click();
        expectAnnualChartOfTheStore(chart, 0);
        chart.updateChart();
        QCoreApplication::processEvents();
        expectAnnualChartOfTheStore(chart, 0);
    });
}

TEST_F(ChartScreensSweep, comparisonTakesEdgeMonthsNetWorthsAndChartIndexes)
{
    forEachModel([] {
        CompareViewController compare;
        showInHost(compare);
        compare.viewDidAppear();
        for (int value : edgeInts)
            compare.showComparisonOfMonth(value, value, value / 2, -(value / 2));
        for (double netWorth : edgeNumbers) {
            compare.setMyCurrentNW(netWorth);
            compare.redrawCountryComparison();
            QCoreApplication::processEvents();
        }
        for (int index : edgeInts)
            EXPECT_EQ(
                compare.chartView(index) != nullptr, index >= 0 && index < CompareStatistics::chartCount);
        compare.compareDateChangeMenuHandler();
        resizeAndPaint(compare);
    });
}

TEST_F(ChartScreensSweep, statisticsChartDrawsEdgeNetWorthsAndRates)
{
    StatisticsChartView chart(CompareStatistics::charts().front());
    showInHost(chart);
    for (double netWorth : edgeNumbers) {
        for (double rate : edgeNumbers) {
            chart.redraw(netWorth, rate);
            EXPECT_FALSE(std::isnan(chart.minNWValue()));
            EXPECT_FALSE(std::isnan(chart.maxNWValue()));
        }
        chart.hostView()->repaint();
    }
    for (int slot : edgeInts) {
        if (slot < 0 || slot > 1000) {
            EXPECT_FALSE(chart.barValue(slot).has_value()) << slot;
        }
    }
    resizeAndPaint(chart);
}

TEST_F(ChartScreensSweep, valuePopupRefusesNoViewAndPointsAtEdgeAnchors)
{
    auto view = std::make_unique<QWidget>();
    view->resize(400, 300);
    view->show();
    QPointer<PKPopoverController> slot;
    for (double x : edgeNumbers) {
        const QRectF anchor = ValuePopup::anchorRect(QPointF(x, -x));
        EXPECT_TRUE(std::isfinite(anchor.x()) && std::isfinite(anchor.y())) << x;
        for (const QString& text : edgeTexts()) {
            PKPopoverController* shown = ValuePopup::show(
                slot, view.get(), QPointF(x, x), ValuePopup::Texts { text, text, text, QColor() }, true);
            ASSERT_EQ(shown, slot.data());
        }
        QCoreApplication::processEvents();
    }
    for (int value : edgeInts)
        ValuePopup::show(slot, view.get(), QPointF(value, 10),
            ValuePopup::MonthPoint { QString(), value, value, Qt::red }, false);

    // Without a view nothing is shown and the popover in the slot stays.
    QPointer<PKPopoverController> last = slot;
    EXPECT_DEATH(ValuePopup::show(slot, nullptr, QPointF(), ValuePopup::Texts {}, false), "ASSERT");
    settle();
    EXPECT_TRUE(last);
    // The popover dies with its view while it is shown.
    view.reset();
    settle();
    EXPECT_FALSE(slot);
}

TEST_F(ChartScreensSweep, pointAnnotationTakesEdgeTextsAndDates)
{
    NSPLotPointAnnotationController popup;
    popup.setShowInfoButton(true);
    showInHost(popup);
    for (const QString& text : edgeTexts()) {
        for (int value : edgeInts) {
            popup.setValuesWithIntAmount(text, value, value, QColor());
            popup.setValuesWithAmount(text, text, text, QColor(Qt::red));
        }
        paintCorners(popup);
    }
    resizeAndPaint(popup);

    LnChartSettCellView cell;
    for (double opacity : edgeNumbers) {
        cell.setTextOpacity(opacity);
        EXPECT_GE(cell.textOpacity(), 0.0);
        EXPECT_LE(cell.textOpacity(), 1.0);
    }
    resizeAndPaint(cell);
}

TEST_F(ChartScreensSweep, trendLineTakesEdgeSamples)
{
    CurveFit fit;
    for (int from : edgeInts) {
        fit.calculateTrend({}, {}, from);
        fit.calculateTrend({ 1, 2, 3 }, { 1 }, from);
        fit.calculateTrend({ 1, edgeNaN, edgeInf }, { -edgeInf, 2, 1e300 }, from);
        fit.calculateTrend(edgeNumbers, edgeNumbers, from);
        EXPECT_FALSE(std::isnan(fit.getYValueForX(1.0)));
    }
}

} // namespace
