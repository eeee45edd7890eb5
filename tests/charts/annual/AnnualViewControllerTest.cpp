#include "charts/annual/AnnualViewController.h"
#include "charts/annual/AnnualChartData.h"
#include "charts/annual/AnnualChartSettings.h"
#include "charts/common/BarChartGeometry.h"
#include "charts/common/ChartNotifications.h"
#include "charts/common/DrawnLabelContrast.h"
#include "charts/common/PrintedChart.h"
#include "charts/history/settings/HistoryChartSettings.h"
#include "charts/kit/Axis.h"
#include "charts/kit/BarPlot.h"
#include "charts/kit/GraphHostingView.h"
#include "charts/kit/PlotSpace.h"
#include "charts/kit/ScatterPlot.h"
#include "model/ModelNotifications.h"
#include "model/data/MVX_NWLog.h"
#include "model/settings/Preferences.h"
#include "platform/Appearance.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"
#include "support/Appearances.h"
#include "support/RecordBuilders.h"
#include "support/SharedStoreTest.h"
#include "uikit/popover/PKPopoverController.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <limits>
#include <memory>
#include <vector>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

QStringList texts(const QList<chart::AxisLabel>& labels)
{
    QStringList result;
    for (const auto& label : labels)
        result.append(label.text);
    return result;
}

class AnnualViewControllerTest : public SharedStoreTest {
protected:
    // Year-ends 10,000 / 20,000 / 30,000 (2015, 2017, 2018), each after an earlier month.
    void install()
    {
        auto model = MVX_Model::makeEmpty();
        model->setBaseCurrency(u"USD"_s);
        model->setNwLogArray(MVX_NWLogList { recordWithTotals(2018, 12, 32000, 2000),
            recordWithTotals(2018, 6, 90000, 0), recordWithTotals(2017, 9, 20000, 0),
            recordWithTotals(2015, 12, 10000, 0), recordWithTotals(2015, 2, 70000, 0) });
        store().setAppData(model);
    }

    void show(AnnualViewController& screen)
    {
        screen.resize(900, 500);
        screen.show();
        QApplication::processEvents();
    }

    static void click(AnnualViewController& screen, const QPointF& at)
    {
        QWidget* viewport = screen.hostView()->viewport();
        for (auto [type, buttons] :
            { std::pair { QEvent::MouseButtonPress, Qt::MouseButtons(Qt::LeftButton) },
                std::pair { QEvent::MouseButtonRelease, Qt::MouseButtons(Qt::NoButton) } }) {
            QMouseEvent event(type, at, viewport->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
            QApplication::sendEvent(viewport, &event);
        }
    }

    static QString label(PKPopoverController* popover, const QString& name)
    {
        return popover->contentViewController()->findChild<QLabel*>(name)->text();
    }
};

TEST_F(AnnualViewControllerTest, BarsAxesAndTrendFollowTheStoreAndSettings)
{
    install();
    Preferences::setAnnualYears(5);
    HistoryChartSettings::setShowGoal(true);
    HistoryChartSettings::setGoalAmount(95000.0);
    AnnualViewController screen;
    show(screen);

    EXPECT_FALSE(screen.futurePeriodCtl()->isVisible());
    EXPECT_FALSE(screen.trendLabel3()->isVisible());
    const auto& bars = screen.barPlotNW()->bars();
    ASSERT_EQ(bars.size(), 5);
    EXPECT_EQ(bars[0].tip, 10000);
    EXPECT_EQ(bars[2].tip, 30000);
    EXPECT_FALSE(bars[3].valid);
    chart::Graph* graph = screen.hostView()->hostedGraph();
    EXPECT_EQ(
        texts(graph->axisSet()->xAxis()->axisLabels()), (QStringList { u"2015"_s, u"2017"_s, u"2018"_s }));
    // The goal (95,000) is the top: labels every 10,000 up to 104,500.
    EXPECT_EQ(texts(graph->axisSet()->yAxis()->axisLabels()).mid(0, 2),
        (QStringList { u"$10,000"_s, u"$20,000"_s }));
    EXPECT_EQ(graph->axisSet()->yAxis()->axisLabels().size(), 10);
    EXPECT_NEAR(graph->defaultPlotSpace()->yRange().end(), double(1.2f) * 95000, 1e-6);
    EXPECT_FALSE(screen.goalPlot()->isHidden());
    EXPECT_EQ(screen.goalPlot()->numberOfRecords(), 5);

    // Turning the trend on projects 40,000, 50,000, 60,000 into three more slots, and stays.
    screen.anualTrendCtl()->click();
    EXPECT_TRUE(screen.futurePeriodCtl()->isVisible());
    const auto& projected = screen.barPlotNW()->bars();
    ASSERT_EQ(projected.size(), 8);
    EXPECT_EQ(projected[3].tip, 40000);
    EXPECT_EQ(projected[5].tip, 60000);
    EXPECT_TRUE(projected[5].fill.has_value());
    EXPECT_FALSE(projected[2].fill.has_value());
    EXPECT_EQ(texts(screen.hostView()->hostedGraph()->axisSet()->xAxis()->axisLabels()).last(), u"2021"_s);
    EXPECT_TRUE(platform::UserDefaults::standard().boolean(u"TrendLine"_s));

    // The settings popover's years, brought into 5..49 however they were stored.
    platform::UserDefaults::standard().setValue(Preferences::maxAnnualYearsKey, 400);
    platform::NotificationCenter::defaultCenter().post(notifications::annualNotificationChanged);
    EXPECT_EQ(screen.barPlotNW()->bars().size(), 49 + 3);
    // 52 slots are narrower than a year label: every few years keep one, the newest among them.
    const auto crowded = screen.hostView()->hostedGraph()->axisSet()->xAxis()->axisLabels();
    EXPECT_LT(crowded.size(), 4);
    EXPECT_GT(crowded.size(), 1);
    EXPECT_TRUE(texts(crowded).contains(u"2018"_s));
    platform::UserDefaults::standard().setValue(Preferences::maxAnnualYearsKey, 0);
    platform::NotificationCenter::defaultCenter().post(notifications::annualNotificationChanged);
    EXPECT_EQ(screen.barPlotNW()->bars().size(), 5 + 3);

    // New data shows after "dataReFetched".
    store().appData()->nwLogArray()->prepend(recordWithTotals(2019, 12, 5000, 0));
    platform::NotificationCenter::defaultCenter().post(notifications::dataReFetched);
    EXPECT_EQ(screen.barPlotNW()->bars()[3].tip, 5000);
}

TEST_F(AnnualViewControllerTest, EveryYearStandsOnZeroWithItsLabelsAboveOrBelowZeroAlike)
{
    // Year-end net worth: a household in debt every year (2021 the smallest loss), one that
    // crosses 0 back and forth, one always above it.
    const std::vector<std::vector<double>> households {
        { -1850000, -1620000, -1400000, -1050000, -700000, -342361, -520000, -910000, -1300000, -1475000 },
        { -450000, -310000, -120000, 40000, 180000, -60000, 260000, 390000, -95000, 520000 },
        { 120000, 180000, 240000, 310000, 380000, 450000, 530000, 610000, 700000, 790000 },
    };
    const QStringList years { u"2016"_s, u"2017"_s, u"2018"_s, u"2019"_s, u"2020"_s, u"2021"_s, u"2022"_s,
        u"2023"_s, u"2024"_s, u"2025"_s };
    for (const auto& ends : households) {
        auto model = MVX_Model::makeEmpty();
        model->setBaseCurrency(u"USD"_s);
        MVX_NWLogList records;
        for (int i = 0; i < 10; ++i)
            records.prepend(recordWithTotals(2016 + i, 12, 500000, 500000 - ends[std::size_t(i)]));
        model->setNwLogArray(records);
        store().setAppData(model);
        AnnualViewController screen;
        show(screen);
        // The screen's size and a small window.
        for (const QSize size : { QSize(900, 500), QSize(640, 260) }) {
            SCOPED_TRACE(
                testing::Message() << ends.front() << " at " << size.width() << " x " << size.height());
            screen.resize(size);
            QApplication::processEvents();
            const chart::Graph& graph = *screen.hostView()->hostedGraph();
            for (int slot = 0; slot < 10; ++slot)
                EXPECT_TRUE(barchartgeometry::standsOnZero(*screen.barPlotNW(), slot))
                    << years[slot].toStdString();
            EXPECT_EQ(
                barchartgeometry::texts(barchartgeometry::drawnLabels(graph, *graph.axisSet()->xAxis())),
                years);
            // Under the lowest bar, not on the bars that hang below the zero line.
            EXPECT_TRUE(barchartgeometry::labelsClearOfBars(*screen.barPlotNW(), *graph.axisSet()->xAxis()));
            const auto amounts = barchartgeometry::drawnLabels(graph, *graph.axisSet()->yAxis());
            EXPECT_GE(amounts.size(), 2);
            // Amounts in parentheses where the bars go below 0.
            EXPECT_EQ(std::any_of(amounts.cbegin(), amounts.cend(),
                          [](const auto& label) { return label.text.startsWith(u'('); }),
                ends.front() < -400000);
            EXPECT_TRUE(barchartgeometry::labelsApartInside(graph));
            // The amounts stand left of the first bar.
            for (const auto& amount : amounts)
                EXPECT_LT(amount.rect.right(), screen.barPlotNW()->barRect(0).left())
                    << amount.text.toStdString();
        }
    }
}

// Year-ends of any finite size, beside losses or not: the screen paints, every year keeps its
// label, and the amounts are a handful, apart and inside the graph, each the start of its amount;
// with the trend on too.
TEST_F(AnnualViewControllerTest, HugeYearEndsBesideLossesPaintWithAScreenfulOfLabels)
{
    constexpr double most = std::numeric_limits<double>::max();
    const std::vector<std::pair<double, double>> households { { 1e20, -500 }, { 1e300, -1e9 },
        { most, -most }, { -1, -most }, { 1e-300, -1e-300 }, { 0, 0 }, { most, 0 }, { -most, 0 },
        { most, 1e20 } };
    for (const auto& [newest, older] : households) {
        auto model = MVX_Model::makeEmpty();
        model->setBaseCurrency(u"USD"_s);
        model->setNwLogArray(
            MVX_NWLogList { recordWithTotals(2020, 3, std::max(newest, 0.0), -std::min(newest, 0.0)),
                recordWithTotals(2019, 12, std::max(older, 0.0), -std::min(older, 0.0)) });
        store().setAppData(model);
        for (const bool trend : { false, true }) {
            SCOPED_TRACE(testing::Message() << newest << " after " << older << (trend ? ", trend" : ""));
            AnnualChartSettings::setTrendLine(trend);
            AnnualViewController screen;
            show(screen);
            const QImage picture = screen.grab().toImage();
            EXPECT_FALSE(picture.isNull());
            const chart::Graph& graph = *screen.hostView()->hostedGraph();
            const bool huge = std::max(std::abs(newest), std::abs(older)) >= 1e20;
            const auto amounts = barchartgeometry::drawnLabels(graph, *graph.axisSet()->yAxis());
            if (!trend) {
                barchartgeometry::expectTwoYearsAndAScreenfulOfLabels(graph, huge);
            } else {
                EXPECT_GE(amounts.size(), huge ? 2 : 0);
                EXPECT_TRUE(barchartgeometry::labelsApartInside(graph));
            }
            const QList<chart::AxisLabel> labels = graph.axisSet()->yAxis()->axisLabels();
            for (const auto& amount : amounts) {
                QString start = amount.text;
                if (start.endsWith(QChar(0x2026)))
                    start.chop(1);
                const chart::AxisLabel* label = nullptr;
                for (const chart::AxisLabel& candidate : labels)
                    label = candidate.text == amount.text ? &candidate : label;
                ASSERT_NE(label, nullptr);
                EXPECT_TRUE(AnnualChartData::valueLabelText(label->tickLocation).startsWith(start))
                    << amount.text.toStdString();
            }
            // The newest year-end's bar is drawn, up or down from the zero line.
            if (newest != 0 && std::abs(newest) > 1) {
                EXPECT_TRUE(barchartgeometry::standsOnZero(*screen.barPlotNW(), 1));
            }
        }
    }
    AnnualChartSettings::setTrendLine(false);
}

// The year and amount labels read at 4.5:1 on screen, in the appearance the chart was made in
// and in the one it changes to.
TEST_F(AnnualViewControllerTest, LabelsReadInBothAppearances)
{
    install();
    const mervane::test::AppearanceRestorer restorer;
    platform::AppearanceController::instance().setAppearance(platform::Appearance::Light);
    AnnualViewController screen;
    show(screen);
    using platform::Appearance;
    mervane::test::inAppearances({ Appearance::Light, Appearance::Dark, Appearance::Light }, [&](bool) {
        int labels = 0;
        QString worst;
        EXPECT_GE(drawnlabelcontrast::lowestLabelContrast(*screen.hostView(), screen, &labels, &worst), 4.5)
            << worst.toStdString();
        EXPECT_GT(labels, 4);
    });
}

TEST_F(AnnualViewControllerTest, StoredTrendCountsPickTheirComboItems)
{
    install();
    platform::UserDefaults::standard().setValue(u"TrendLine"_s, true);
    platform::UserDefaults::standard().setValue(u"TrendPeriod"_s, 2);
    platform::UserDefaults::standard().setValue(u"TrendPeriodPreKey"_s, 44);
    AnnualViewController screen;
    show(screen);
    EXPECT_EQ(screen.futurePeriodCtl()->currentIndex(), 0);
    EXPECT_EQ(screen.trendLinePeriod(), 2);
    EXPECT_EQ(screen.pastPeriodCtl()->currentIndex(), 0);
    EXPECT_EQ(screen.trendLinePeriodPre(), 3);
    EXPECT_EQ(screen.barPlotNW()->bars().size(), 10 + 2);
    EXPECT_TRUE(screen.anualTrendCtl()->isChecked());
}

TEST_F(AnnualViewControllerTest, ClickOnABarOpensThePopupAtItsTip)
{
    install();
    platform::UserDefaults::standard().setValue(u"TrendLine"_s, true);
    AnnualViewController screen;
    show(screen);

    click(screen, screen.barPlotNW()->barRect(2).center());
    QPointer<PKPopoverController> first = screen.pointAnnotationPopover();
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->shown());
    EXPECT_EQ(label(first, u"amountCtl"_s), u"$30,000 "_s);
    EXPECT_EQ(label(first, u"monthCtl"_s), u" 2018"_s);
    auto* amount = first->contentViewController()->findChild<QLabel*>(u"amountCtl"_s);
    // In the bars' hue, darker where the light popup needs it.
    EXPECT_NEAR(amount->palette().color(QPalette::WindowText).hslHueF(),
        QColor::fromRgbF(0.28f, 0.66f, 0.99f, 1.0f).hslHueF(), 0.01);
    const QRectF bar = screen.barPlotNW()->barRect(2);
    const QPointF tip = screen.hostView()->mapTo(&screen, QPointF(bar.center().x(), bar.top()));
    EXPECT_NEAR(first->viewRect().center().x(), tip.x(), 1.0);
    // The popover points at the 10 x 10 square just above the tip.
    EXPECT_NEAR(first->viewRect().bottom(), tip.y() - 5, 1.0);

    // A trend bar: its amount in orange; the first popup closes.
    click(screen, screen.barPlotNW()->barRect(4).center());
    PKPopoverController* second = screen.pointAnnotationPopover();
    ASSERT_TRUE(second);
    EXPECT_NE(second, first.data());
    EXPECT_TRUE(!first || !first->shown());
    EXPECT_EQ(label(second, u"amountCtl"_s), u"$50,000 "_s);
    EXPECT_EQ(label(second, u"monthCtl"_s), u" 2020"_s);
    EXPECT_NEAR(second->contentViewController()
                    ->findChild<QLabel*>(u"amountCtl"_s)
                    ->palette()
                    .color(QPalette::WindowText)
                    .hslHueF(),
        QColor::fromRgbF(1.0f, 0.5f, 0.0f, 0.9f).hslHueF(), 0.01);

    // An empty slot answers no bar and ignores the click.
    const double emptySlot = screen.hostView()->hostedGraph()->defaultPlotSpace()->graphXForPlotX(8);
    click(screen, QPointF(emptySlot, screen.barPlotNW()->barRect(0).center().y()));
    EXPECT_EQ(screen.pointAnnotationPopover(), second);
}

TEST_F(AnnualViewControllerTest, ThePrintedChartLooksLikeTheScreen)
{
    install();
    Preferences::setAnnualYears(5);
    HistoryChartSettings::setShowGoal(true);
    HistoryChartSettings::setGoalAmount(45000.0);
    AnnualViewController screen;
    show(screen);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&screen));
    // With the trend on, the projected bars have fills of their own.
    screen.anualTrendCtl()->click();
    ASSERT_EQ(screen.barPlotNW()->bars().size(), 8);

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    chart::GraphHostingView& host = *screen.hostView();
    const QImage shown = printedchart::onScreen(host);
    const QImage page = printedchart::printed(host, dir.filePath(u"annual.pdf"_s), true);
    ASSERT_FALSE(page.isNull());
    EXPECT_LE(printedchart::meanDifference(page, shown), 3.0);
    // A year-end bar and a projected one.
    for (const int bar : { 2, 5 }) {
        const QPoint at = screen.barPlotNW()->barRect(bar).center().toPoint();
        EXPECT_LE(printedchart::colorDistance(
                      printedchart::colorAround(page, at), printedchart::colorAround(shown, at)),
            12)
            << "bar " << bar;
    }
}

} // namespace
