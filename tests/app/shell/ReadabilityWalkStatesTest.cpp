// Every text of the states a household reaches only now and then, as drawn: the warning
// popovers of a household without categories and of rates that could not be refreshed, the
// lock panel while the keychain is slow and after it failed, and the value popups of every
// chart's slices, bars and points. Each made in one appearance, switched live to the other,
// enabled and disabled.

#include "ReadabilityWalk.h"

#include "charts/annual/AnnualViewController.h"
#include "charts/common/ChartNotifications.h"
#include "charts/common/RedavidGraphHost.h"
#include "charts/history/line/LineChartViewController.h"
#include "charts/history/settings/HistoryChartSettings.h"
#include "charts/kit/BarPlot.h"
#include "charts/kit/Graph.h"
#include "charts/kit/GraphHostingView.h"
#include "charts/kit/PieChart.h"
#include "charts/kit/PlotSpace.h"
#include "charts/kit/ScatterPlot.h"
#include "dashboard/bigpie/BigPieChartViewController.h"
#include "dashboard/common/PieChartSettings.h"
#include "dashboard/totals/TotalsViewController.h"
#include "model/ModelNotifications.h"
#include "model/store/NWData.h"
#include "platform/NotificationCenter.h"
#include "records/RecordsNotifications.h"

#include <cmath>
#include <numbers>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

class ReadabilityWalkWithoutCategories : public ReadabilityWalkProgram {
protected:
    QByteArray document() const override { return R"({"version": "2.1", "base_currency": "USD"})"; }
};

// The middle of slice `index` of `pie`'s ring, in `host`'s viewport: the slices run clockwise
// from the start angle, in the plot area's y-up coordinates.
QPointF sliceMiddle(const chart::PieChart& pie, const chart::GraphHostingView& host, int index)
{
    const chart::PieChart::Slice& slice = pie.slices()[index];
    const double angle = pie.startAngle() - (slice.startFraction + slice.fraction / 2) * 2 * std::numbers::pi;
    const QSizeF area = host.hostedGraph()->plotAreaRect().size();
    const double radius = (pie.pieRadius() + pie.pieInnerRadius()) / 2;
    const QPointF centre(area.width() * pie.centerAnchor().x(), area.height() * pie.centerAnchor().y());
    return host.viewPointFromPlotArea(centre + QPointF(radius * std::cos(angle), radius * std::sin(angle)));
}

class ReadabilityWalkStates : public ReadabilityWalkProgram {
protected:
    // The value popup of each slice of `pie`.
    static int walkSlicePopups(
        bool madeDark, chart::PieChart* pie, chart::GraphHostingView* host, const std::string& name)
    {
        EXPECT_TRUE(pie && host) << name;
        if (!pie || !host)
            return 0;
        int measured = 0;
        for (int index = 0; index < pie->slices().size(); ++index) {
            if (pie->slices()[index].fraction <= 0)
                continue;
            measured += walkPopoverOpenedBy(
                madeDark, [&] { clickAt(host->viewport(), sliceMiddle(*pie, *host, index)); },
                name + " slice " + std::to_string(index));
        }
        return measured;
    }

    // The value popup of the newest point of each line of a history chart.
    static int walkPointPopups(bool madeDark, LineChartViewController* chart, const std::string& name)
    {
        EXPECT_TRUE(chart) << name;
        if (!chart)
            return 0;
        chart::GraphHostingView* host = chart->hostView();
        int measured = 0;
        for (chart::Plot* plot : chart->graph()->allPlots()) {
            auto* line = qobject_cast<chart::ScatterPlot*>(plot);
            if (!line || line->isHidden() || line->records().isEmpty())
                continue;
            const QPointF point = line->records().back();
            if (!std::isfinite(point.y()))
                continue;
            const QPointF at = host->viewPointFromPlotArea(
                chart->graph()->defaultPlotSpace()->plotAreaViewPointForPlotPoint(point));
            measured += walkPopoverOpenedBy(
                madeDark, [&] { clickAt(host->viewport(), at); },
                name + " point of " + line->identifier().toStdString());
        }
        return measured;
    }
};

TEST_F(ReadabilityWalkWithoutCategories, TheWarningThatARecordNeedsACategoryReadsAfterALiveSwitch)
{
    AppearanceRestorer restore;
    for (const bool madeDark : { false, true }) {
        SCOPED_TRACE(madeDark ? "made dark, shown light" : "made light, shown dark");
        startProgram(madeDark);
        QWidget* dashboard = showScreen(AppScreen::Dashboard);
        ASSERT_TRUE(dashboard);
        QAbstractButton* add = buttonWithToolTip(dashboard, u"Add a new net worth record"_s);
        EXPECT_GE(walkPopoverOpenedBy(
                      madeDark, [add] { click(add); }, "no categories warning"),
            4);
        // The new-record command shows the same warning.
        EXPECT_GE(walkPopoverOpenedBy(
                      madeDark,
                      [] { platform::NotificationCenter::defaultCenter().post(notifications::addNewRecord); },
                      "no categories warning of the command"),
            4);
    }
}

TEST_F(ReadabilityWalkStates, TheRateWarningAndItsMessageReadAfterALiveSwitch)
{
    AppearanceRestorer restore;
    const bool upToDate = NWData::shared()->exchangeRateIsUpToDate();
    for (const bool madeDark : { false, true }) {
        SCOPED_TRACE(madeDark ? "made dark, shown light" : "made light, shown dark");
        startProgram(madeDark);
        QWidget* dashboard = showScreen(AppScreen::Dashboard);
        ASSERT_TRUE(dashboard);
        NWData::shared()->setExchangeRateIsUpToDate(false);
        platform::NotificationCenter::defaultCenter().post(notifications::exchangeRateParserDone);
        QCoreApplication::processEvents();
        auto* warning = dashboard->findChild<QAbstractButton*>(u"warningButton"_s);
        ASSERT_TRUE(warning && warning->isVisible());
        setAppearance(!madeDark);
        int measured
            = walkEnabledAndDisabled(*m_delegate->windowWidget(), *dashboard, "dashboard with the warning");
        measured += walkPopoverOpenedBy(
            madeDark, [warning] { click(warning); }, "rate warning");
        EXPECT_FALSE(warning->isVisible());
        EXPECT_GE(measured, 30);
    }
    NWData::shared()->setExchangeRateIsUpToDate(upToDate);
}

TEST_F(ReadabilityWalkStates, TheLockPanelWaitingForTheKeychainAndAfterItFailedReadsAfterALiveSwitch)
{
    AppearanceRestorer restore;
    ASSERT_NO_FATAL_FAILURE(storePassword(u"s3cret"_s, u"pet"_s));
    using State = PasswordOverlayWindowController::KeychainState;
    for (const bool madeDark : { false, true }) {
        SCOPED_TRACE(madeDark ? "made dark, shown light" : "made light, shown dark");
        startProgram(madeDark);
        m_keychain->setAnswering(platform::InMemoryKeychain::Answering::WhenReleased);
        PasswordOverlayWindowController* overlay = lockWithButton();
        ASSERT_TRUE(overlay);
        EXPECT_EQ(overlay->keychainState(), State::Waiting);
        EXPECT_GE(walkLockOverlay(madeDark, "lock panel waiting for the keychain"), 4);

        m_keychain->failReads(PasswordStore::passwordAccount, u"The keychain is locked."_s);
        m_keychain->answerHeld();
        ASSERT_TRUE(QTest::qWaitFor([overlay] { return overlay->keychainState() == State::Failed; }));
        EXPECT_TRUE(overlay->tryAgainButton()->isVisible());
        EXPECT_GE(walkLockOverlay(madeDark, "lock panel after the keychain failed"), 6);

        // "Try again" waits once more.
        click(overlay->tryAgainButton());
        EXPECT_EQ(overlay->keychainState(), State::Waiting);
        m_keychain->stopFailing();
        m_keychain->setAnswering(platform::InMemoryKeychain::Answering::Soon);
        m_keychain->answerHeld();
        ASSERT_TRUE(QTest::qWaitFor([overlay] { return overlay->keychainState() == State::Ready; }));
    }
}

TEST_F(ReadabilityWalkStates, TheValuePopupsOfEverySliceBarAndPointReadAfterALiveSwitch)
{
    AppearanceRestorer restore;
    using Kind = BigPieChartViewController::PieKind;
    using HistoryChartSettings::ChartType;
    for (const bool madeDark : { false, true }) {
        SCOPED_TRACE(madeDark ? "made dark, shown light" : "made light, shown dark");
        startProgram(madeDark);
        int measured = 0;

        QWidget* dashboard = showScreen(AppScreen::Dashboard);
        auto* totals = dashboard->findChild<TotalsViewController*>();
        ASSERT_TRUE(totals);
        measured += walkSlicePopups(madeDark, totals->pieChart(), totals->hostView(), "dashboard pie");
        for (const auto& [type, name] :
            { std::pair { PieChartSettings::PieDisplayType::AssetCategories, "dashboard asset pie" },
                std::pair {
                    PieChartSettings::PieDisplayType::LiabilityCategories, "dashboard liability pie" } }) {
            PieChartSettings::setPieDisplayType(type);
            platform::NotificationCenter::defaultCenter().post(notifications::pieChartSettingsChange);
            QCoreApplication::processEvents();
            measured += walkSlicePopups(madeDark, totals->pieChart(), totals->hostView(), name);
        }
        PieChartSettings::setPieDisplayType(PieChartSettings::PieDisplayType::NetWorth);
        measured += walkPointPopups(
            madeDark, dashboard->findChild<LineChartViewController*>(), "dashboard history");

        auto* pies = qobject_cast<BigPieChartViewController*>(showScreen(AppScreen::PieChart));
        ASSERT_TRUE(pies);
        for (const auto& [kind, name] : { std::pair { Kind::NetWorth, "net worth pie" },
                 std::pair { Kind::Assets, "asset pie" }, std::pair { Kind::Liabilities, "liability pie" } })
            measured += walkSlicePopups(madeDark, pies->pieChart(kind), pies->hostView(kind), name);

        auto* annual = qobject_cast<AnnualViewController*>(showScreen(AppScreen::Annual));
        ASSERT_TRUE(annual && annual->barPlotNW());
        for (int bar = 0; bar < annual->barPlotNW()->numberOfRecords(); ++bar) {
            const QRectF rect = annual->barPlotNW()->barRect(bar);
            if (rect.isEmpty())
                continue;
            measured += walkPopoverOpenedBy(
                madeDark, [&] { clickAt(annual->hostView()->viewport(), rect.center()); },
                "annual bar " + std::to_string(bar));
        }

        // The history chart shows each kind of line in its own colour.
        auto* history = qobject_cast<LineChartViewController*>(showScreen(AppScreen::LineChart));
        measured += walkPointPopups(madeDark, history, "history");
        HistoryChartSettings::setAssetCategory(u"CASH"_s);
        HistoryChartSettings::setLiabilityCategory(u"LOAN"_s);
        for (const auto& [type, name] : { std::pair { ChartType::AssetsAndLiabilities, "history of both" },
                 std::pair { ChartType::AssetCategory, "history of an asset category" },
                 std::pair { ChartType::LiabilityCategory, "history of a liability category" } }) {
            HistoryChartSettings::setChartType(type);
            platform::NotificationCenter::defaultCenter().post(notifications::lineChartSettingsChange);
            QCoreApplication::processEvents();
            measured += walkPointPopups(madeDark, history, name);
        }
        HistoryChartSettings::setChartType(ChartType::NetWorth);
        // Two texts of each popup, enabled and disabled, for 3 + 2 + 1 + 3 + 2 + 1 slices, 2 bars
        // and at least 2 + 2 + 1 + 1 history points.
        EXPECT_GE(measured, 4 * 20);
    }
}

} // namespace
