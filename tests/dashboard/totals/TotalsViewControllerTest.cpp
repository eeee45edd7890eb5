#include "dashboard/totals/TotalsViewController.h"
#include "app/alerts/ExternalLinks.h"
#include "app/alerts/MessagePopover.h"
#include "app/alerts/NWTrackedHyperlinkView.h"
#include "charts/common/BarChartGeometry.h"
#include "charts/common/ChartNotifications.h"
#include "charts/common/DrawnLabelContrast.h"
#include "charts/common/RedavidGraphHost.h"
#include "charts/history/settings/HistoryChartSettings.h"
#include "charts/kit/BarPlot.h"
#include "charts/kit/Graph.h"
#include "charts/kit/PieChart.h"
#include "charts/kit/PlotSpace.h"
#include "dashboard/common/DashboardNotifications.h"
#include "dashboard/common/PieChartSettings.h"
#include "dashboard/totals/TotalsLine.h"
#include "dashboard/totals/TotalsLineField.h"
#include "dashboard/totals/WelcomeView.h"
#include "dashboard/totals/YearEndBarsStackPlot.h"
#include "model/ModelNotifications.h"
#include "model/data/MVX_Category.h"
#include "model/data/MVX_CategoryLog.h"
#include "model/queries/ModelBuilders.h"
#include "model/settings/Preferences.h"
#include "platform/Appearance.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"
#include "support/Appearances.h"
#include "support/Contrast.h"
#include "support/Eventually.h"
#include "support/FailingDevices.h"
#include "support/SharedStoreTest.h"
#include "uikit/popover/APPopover.h"
#include "uikit/popover/PKPopoverController.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTest>
#include <QToolButton>

#include <limits>
#include <numbers>
#include <vector>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

std::shared_ptr<MVX_NWLog> record(int year, int month, double cash, double house, double loan)
{
    auto log = std::make_shared<MVX_NWLog>();
    log->setYear(year);
    log->setMonth(month);
    log->setAssets(cash + house);
    log->setLiabilities(loan);
    log->setNw(cash + house - loan);
    log->setAssetLogs(MVX_CategoryLogList {
        makeLog(u"CASH"_s, year, month, cash), makeLog(u"HOUSE"_s, year, month, house) });
    log->setLiabilityLogs(MVX_CategoryLogList { makeLog(u"LOAN"_s, year, month, loan) });
    return log;
}

class TotalsViewControllerTest : public SharedStoreTest {
protected:
    void SetUp() override
    {
        SharedStoreTest::SetUp();
        // Most cases are not about the welcome panel.
        Preferences::setShowStartForm(false);
    }

    static std::shared_ptr<MVX_Model> household(double cash, double house, double loan)
    {
        auto model = MVX_Model::makeEmpty();
        model->setBaseCurrency(u"USD"_s);
        model->setAssetscat(
            MVX_CategoryList { makeCategory(u"CASH"_s, u"Cash"_s), makeCategory(u"HOUSE"_s, u"House"_s) });
        model->setLiabilitycat(MVX_CategoryList { makeCategory(u"LOAN"_s, u"Loan"_s) });
        model->setNwLogArray(MVX_NWLogList { record(2024, 3, cash, house, loan),
            record(2023, 12, 1000, 5000, 2000), record(2022, 12, 900, 4000, 2000) });
        return model;
    }

    static void show(QWidget& widget)
    {
        widget.resize(1100, 290);
        widget.show();
        QApplication::processEvents();
    }

    static void mouse(QWidget* viewport, QEvent::Type type, const QPointF& at, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, at, viewport->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    }

    /// Clicks the middle of `plot`'s bar in `slot` and gives the value popup's amount and caption.
    static std::pair<QString, QString> clickBar(TotalsViewController& totals, chart::Plot* plot, int slot)
    {
        return clickAt(totals, static_cast<chart::BarPlot*>(plot)->barRect(slot));
    }

    /// Clicks the middle of `bar` (graph coordinates) and gives the popup's amount and caption.
    static std::pair<QString, QString> clickAt(TotalsViewController& totals, const QRectF& bar)
    {
        EXPECT_FALSE(bar.isEmpty());
        QWidget* viewport = totals.hostViewB()->viewport();
        mouse(viewport, QEvent::MouseButtonPress, bar.center(), Qt::LeftButton);
        mouse(viewport, QEvent::MouseButtonRelease, bar.center(), Qt::NoButton);
        PKPopoverController* popup = totals.pointAnnotationPopover();
        if (!popup)
            return {};
        const auto text = [popup](const QString& name) {
            return popup->contentViewController()->findChild<QLabel*>(name)->text();
        };
        return { text(u"amountCtl"_s), text(u"monthCtl"_s).trimmed() };
    }

    /// The category stacks, when they are the graph's only plot.
    static YearEndBarsStackPlot* stacksOf(chart::Graph* graph)
    {
        return graph->allPlots().size() == 1 ? qobject_cast<YearEndBarsStackPlot*>(graph->allPlots()[0])
                                             : nullptr;
    }

    static bool piesAnimationEnded(TotalsViewController& totals)
    {
        return std::abs(totals.pieChart()->startAngle() - std::numbers::pi / 2) < 1e-9
            && std::abs(totals.pieChart()->opacity() - 1.0) < 1e-9;
    }
};

TEST_F(TotalsViewControllerTest, TheLineShowsTheNewestTotalsAndTheGoalDistanceOnceLaidOut)
{
    installAndSave(household(4000, 6000, 2500));
    HistoryChartSettings::setShowGoal(true);
    HistoryChartSettings::setGoalType(HistoryChartSettings::GoalType::Fixed);
    HistoryChartSettings::setGoalAmount(20000.0);
    TotalsViewController totals;
    // Before the first layout the goal is never shown.
    EXPECT_EQ(totals.testText()->text(), u"Net worth:  $7,500   Assets:  $10,000   Liabilities:  $2,500"_s);
    show(totals);
    EXPECT_EQ(totals.testText()->text(),
        u"Net worth:  $7,500   Assets:  $10,000   Liabilities:  $2,500   Distance from your goal:  $12,500"_s);
    EXPECT_EQ(totals.testText()->fontSize(), 18.0f);

    // A narrower pane shrinks the line until it fits; one too narrow for 11 points keeps about 11.1.
    const double full = TotalsLine::width(totals.testText()->runs(), 18.0);
    totals.resize(int(full * 0.8), 290);
    QApplication::processEvents();
    EXPECT_LT(totals.testText()->fontSize(), 18.0f);
    EXPECT_LE(TotalsLine::width(totals.testText()->runs(), double(totals.testText()->fontSize())),
        totals.testText()->width() - TotalsLine::fieldInset);
    totals.resize(200, 290);
    QApplication::processEvents();
    EXPECT_NEAR(totals.testText()->fontSize(), 11.1f, 0.01);
    // There it keeps its start at the field's inset and is elided at its end, not cut at both.
    const QImage line = totals.testText()->grab().toImage();
    const auto inked = [&line](int from, int to) {
        for (int x = std::max(0, from); x <= std::min(to, line.width() - 1); ++x)
            for (int y = 0; y < line.height(); ++y)
                if (line.pixel(x, y) != line.pixel(0, 0))
                    return true;
        return false;
    };
    const int inset = int(TotalsLine::fieldInset / 2);
    EXPECT_FALSE(inked(0, inset - 1)) << "the line's start is cut";
    EXPECT_TRUE(inked(inset, inset + 4)) << "the line does not start at the inset";
    EXPECT_FALSE(inked(line.width() - inset, line.width() - 1)) << "the line runs past the field";

    // The show-goal switch alone redraws the line.
    HistoryChartSettings::setShowGoal(false);
    platform::NotificationCenter::defaultCenter().post(notifications::goalSettingsChange);
    EXPECT_FALSE(totals.testText()->text().contains(u"Distance"_s));
    EXPECT_FALSE(totals.savingOverlay());
}

TEST_F(TotalsViewControllerTest, ANegativeNetWorthIsRightAtTheFirstDisplay)
{
    installAndSave(household(400, 600, 1500));
    TotalsViewController totals;
    show(totals);
    EXPECT_TRUE(totals.hasNegativeNW());
    // Liabilities and assets only: no net-worth slice.
    EXPECT_EQ(totals.pieChart()->numberOfRecords(), 2);
    EXPECT_TRUE(totals.testText()->text().startsWith(u"Net worth:  ($500)"_s));
    // The bars show the newest year-ends, the newest one below 0.
    const auto& bars = totals.hostViewB()->hostedGraph()->allPlots();
    ASSERT_EQ(bars.size(), 1);
    const auto* plot = static_cast<chart::BarPlot*>(bars[0]);
    ASSERT_EQ(plot->bars().size(), 4);
    EXPECT_EQ(plot->bars()[0].tip, 2900);
    EXPECT_EQ(plot->bars()[2].tip, -500);
    EXPECT_FALSE(plot->bars()[3].valid);
}

TEST_F(TotalsViewControllerTest, EveryYearEndStandsOnZeroWithItsYearAndAmountsApart)
{
    // The last four year-ends of a household in debt every year, of one that crosses 0, of one
    // always above it, and of two whose amounts are huge.
    const std::vector<std::vector<double>> households { { -342361, -520000, -910000, -1475000 },
        { 260000, -390000, -95000, 520000 }, { 530000, 610000, 700000, 790000 },
        { 6.1e20, 7.4e20, 8.6e20, 1.01e21 }, { 6.1e250, 7.4e250, 8.6e250, 1.01e251 } };
    for (const auto& ends : households) {
        auto model = household(0, 0, 0);
        MVX_NWLogList records;
        for (int i = 0; i < 4; ++i)
            records.prepend(record(2022 + i, 12, 0, 3e9, 3e9 - ends[std::size_t(i)]));
        model->setNwLogArray(records);
        installAndSave(model);
        TotalsViewController totals;
        show(totals);
        // As wide as in the default window, and wider and narrower.
        for (const QSize size : { QSize(1100, 290), QSize(680, 290), QSize(800, 200) }) {
            SCOPED_TRACE(testing::Message() << ends[1] << " at " << size.width() << " x " << size.height());
            totals.resize(size);
            QApplication::processEvents();
            const chart::Graph& graph = *totals.hostViewB()->hostedGraph();
            const auto* bars = static_cast<chart::BarPlot*>(graph.allPlots().value(0));
            ASSERT_TRUE(bars);
            for (int slot = 0; slot < 4; ++slot)
                EXPECT_TRUE(barchartgeometry::standsOnZero(*bars, slot)) << 2022 + slot;
            EXPECT_EQ(
                barchartgeometry::texts(barchartgeometry::drawnLabels(graph, *graph.axisSet()->xAxis())),
                (QStringList { u"2022"_s, u"2023"_s, u"2024"_s, u"2025"_s }));
            // Under the lowest bar, not on the bars that hang below the zero line.
            EXPECT_TRUE(barchartgeometry::labelsClearOfBars(*bars, *graph.axisSet()->xAxis()));
            EXPECT_GE(barchartgeometry::drawnLabels(graph, *graph.axisSet()->yAxis()).size(), 2);
            EXPECT_TRUE(barchartgeometry::labelsApartInside(graph));
            // The amounts stand left of the first bar.
            for (const auto& amount : barchartgeometry::drawnLabels(graph, *graph.axisSet()->yAxis()))
                EXPECT_LT(amount.rect.right(), bars->barRect(0).left()) << amount.text.toStdString();
        }
    }
}

// Year-ends of any finite size, beside losses or not, in every bar type: the pane paints, every
// year keeps its label, and the amounts are a handful, apart and inside the graph.
TEST_F(TotalsViewControllerTest, HugeYearEndsBesideLossesPaintWithAScreenfulOfLabels)
{
    constexpr double most = std::numeric_limits<double>::max();
    const std::vector<std::pair<double, double>> households { { 1e20, -500 }, { 1e300, -1e9 },
        { most, -most }, { -1, -most }, { 1e-300, -1e-300 }, { most, 0 }, { -most, 0 }, { most, 1e20 } };
    for (const auto& [newest, older] : households) {
        auto model = household(0, 0, 0);
        model->setNwLogArray(
            MVX_NWLogList { record(2020, 3, 0, std::max(newest, 0.0), -std::min(newest, 0.0)),
                record(2019, 12, 0, std::max(older, 0.0), -std::min(older, 0.0)) });
        installAndSave(model);
        for (const PieChartSettings::PieDisplayType type : { PieChartSettings::PieDisplayType::NetWorth,
                 PieChartSettings::PieDisplayType::AssetCategories }) {
            SCOPED_TRACE(testing::Message() << newest << " after " << older << ", type " << int(type));
            PieChartSettings::setPieDisplayType(type);
            TotalsViewController totals;
            show(totals);
            EXPECT_FALSE(totals.grab().toImage().isNull());
            const chart::Graph& graph = *totals.hostViewB()->hostedGraph();
            // Asset stacks stand only where there are assets.
            const bool huge = type == PieChartSettings::PieDisplayType::NetWorth
                ? std::max(std::abs(newest), std::abs(older)) >= 1e20
                : std::max(newest, older) >= 1e20;
            barchartgeometry::expectTwoYearsAndAScreenfulOfLabels(graph, huge);
        }
    }
}

// Two asset categories at the largest double, whose stack no double can reach: the stack is
// drawn as two halves standing on the zero line, under a few amounts inside the graph.
TEST_F(TotalsViewControllerTest, AStackBeyondTheLargestDoubleIsDrawnInHalvesUnderAFewAmounts)
{
    constexpr double most = std::numeric_limits<double>::max();
    auto model = household(0, 0, 0);
    auto newest = record(2020, 3, most, most, 0);
    // A data file holds no infinity: the record's totals stop at the largest double.
    newest->setAssets(most);
    newest->setNw(most);
    model->setNwLogArray(MVX_NWLogList { newest, record(2019, 12, 1000, 5000, 0) });
    installAndSave(model);
    PieChartSettings::setPieDisplayType(PieChartSettings::PieDisplayType::AssetCategories);
    TotalsViewController totals;
    show(totals);
    const chart::Graph& graph = *totals.hostViewB()->hostedGraph();
    barchartgeometry::expectTwoYearsAndAScreenfulOfLabels(graph, true);
    YearEndBarsStackPlot* stacks = stacksOf(totals.hostViewB()->hostedGraph());
    ASSERT_NE(stacks, nullptr);
    const QRectF area = graph.plotAreaRect();
    const QRectF cash = stacks->segmentRect(0, 1).intersected(area);
    const QRectF house = stacks->segmentRect(1, 1).intersected(area);
    EXPECT_GT(cash.height(), 10) << "the lower half";
    EXPECT_GT(house.height(), 10) << "the upper half";
    EXPECT_NEAR(cash.bottom(), graph.defaultPlotSpace()->graphYForPlotY(0), 1.0);
    EXPECT_NEAR(house.bottom(), stacks->segmentRect(0, 1).top(), 1.0);
    EXPECT_NEAR(stacks->segmentRect(0, 1).height(), stacks->segmentRect(1, 1).height(), 1.0);
    EXPECT_GE(stacks->segmentRect(1, 1).top(), area.top() - 1) << "the stack's top is out of view";
    // A click on the upper half tells its amount and its half of the stack.
    const auto [amount, caption] = clickAt(totals, house);
    EXPECT_TRUE(amount.startsWith(u"$179,769,313,486,231,57"_s)) << amount.toStdString();
    EXPECT_TRUE(amount.endsWith(u"(50%)"_s)) << amount.toStdString();
    EXPECT_TRUE(barchartgeometry::readsAsAmount(amount));
    EXPECT_EQ(caption, u"House"_s);
}

// As drawn, in the appearance the dashboard opened in and in the one it changes to: every run of
// the totals line (its size falls below large text in a narrow window) and the year-end bars'
// labels read at 4.5:1 on the window.
TEST_F(TotalsViewControllerTest, TheTotalsLineAndTheBarLabelsReadInBothAppearances)
{
    installAndSave(household(4000, 6000, 2500));
    HistoryChartSettings::setShowGoal(true);
    HistoryChartSettings::setGoalType(HistoryChartSettings::GoalType::Fixed);
    HistoryChartSettings::setGoalAmount(95000.0);
    const mervane::test::AppearanceRestorer restorer;
    platform::AppearanceController::instance().setAppearance(platform::Appearance::Light);
    TotalsViewController totals;
    show(totals);
    using platform::Appearance;
    mervane::test::inAppearances({ Appearance::Light, Appearance::Dark, Appearance::Light }, [&](bool) {
        TotalsLineField& line = *totals.testText();
        const QImage drawn = line.grab().toImage();
        const double size = double(line.fontSize());
        double x = (line.width() - TotalsLine::width(line.runs(), size)) / 2.0;
        int measured = 0;
        for (const TotalsLine::Run& run : line.runs()) {
            const double advance
                = QFontMetricsF(TotalsLine::font(run.kind, size)).horizontalAdvance(run.text);
            if (run.kind != TotalsLine::Run::Kind::Gap) {
                SCOPED_TRACE(run.text.toStdString());
                EXPECT_GE(
                    mervane::test::drawnContrast(drawn, QRectF(x, 0, advance, line.height()).toRect()), 4.5);
                ++measured;
            }
            x += advance;
        }
        EXPECT_EQ(measured, 8);
        int labels = 0;
        QString worst;
        EXPECT_GE(drawnlabelcontrast::lowestLabelContrast(*totals.hostViewB(), totals, &labels, &worst), 4.5)
            << worst.toStdString();
        EXPECT_GE(labels, 4);
    });
}

TEST_F(TotalsViewControllerTest, TheGoalIsSavedThroughTheStoreAndAFailedSaveIsShown)
{
    installAndSave(household(4000, 6000, 2500));
    TotalsViewController totals;
    show(totals);
    auto& center = platform::NotificationCenter::defaultCenter();

    store().appData()->setRidIrevuGoal(250000.0);
    center.post(notifications::goalSettingsChange, 250000.0);
    EXPECT_TRUE(totals.savingOverlay());
    EXPECT_EVENTUALLY(!totals.savingOverlay());
    EXPECT_TRUE(modelIsTheDataFile());
    EXPECT_TRUE(dataFileBytes().contains("250000"));
    EXPECT_FALSE(totals.messages()->isShown());

    // The disk fails: the message says so, and the goal is the file's again.
    store().writer().setDeviceFactoryForTesting(failingDevices(failsAfterBytes(10)));
    store().appData()->setRidIrevuGoal(99000.0);
    center.post(notifications::goalSettingsChange, 99000.0);
    EXPECT_EVENTUALLY(totals.messages()->isShown());
    EXPECT_TRUE(totals.messages()->text().startsWith(u"The goal could not be saved: "_s))
        << totals.messages()->text().toStdString();
    EXPECT_EQ(store().appData()->ridIrevuGoal(), 250000.0);
    EXPECT_TRUE(modelIsTheDataFile());
}

TEST_F(TotalsViewControllerTest, ADragTurnsOnlyThisPieAndPostsOnlyItsHostsMouseEvents)
{
    installAndSave(household(4000, 6000, 2500));
    TotalsViewController totals;
    show(totals);
    EXPECT_EVENTUALLY(piesAnimationEnded(totals));
    const double before = totals.pieChart()->startAngle();

    QObject listener;
    QList<platform::Notification> posted;
    auto& center = platform::NotificationCenter::defaultCenter();
    center.addObserver(&listener, {}, [&posted](const platform::Notification& n) { posted.append(n); });

    // From right of the centre to straight above it: a quarter turn counter-clockwise.
    QWidget* viewport = totals.hostView()->viewport();
    const QPointF centre = QRectF(viewport->rect()).center();
    mouse(viewport, QEvent::MouseButtonPress, centre + QPointF(60, 0), Qt::LeftButton);
    mouse(viewport, QEvent::MouseMove, centre + QPointF(0, -60), Qt::LeftButton);
    mouse(viewport, QEvent::MouseButtonRelease, centre + QPointF(0, -60), Qt::NoButton);
    EXPECT_NEAR(totals.pieChart()->startAngle() - before, std::numbers::pi / 2, 0.05);
    ASSERT_GE(posted.size(), 3);
    for (const auto& n : posted) {
        EXPECT_EQ(n.name, notifications::redavidMouseHit);
        EXPECT_EQ(n.object.value<QObject*>(), totals.hostView());
    }

    // Names in the labels: the pie is 0.275 of the host's height; a split resize makes it 0.3 with a
    // hole of a third.
    const double height = totals.hostView()->height();
    EXPECT_NEAR(totals.pieChart()->pieRadius(), height * double(0.55f) * 0.5, 1e-6);
    totals.resizedSplit();
    EXPECT_NEAR(totals.pieChart()->pieRadius(), height * 0.3, 1e-6);
    EXPECT_NEAR(totals.pieChart()->pieInnerRadius(), height * 0.1, 1e-6);

    // Another pie's host reports a drag: this pie stays where it is.
    const double turned = totals.pieChart()->startAngle();
    RedavidGraphHost other;
    const QVariant otherHost = QVariant::fromValue<QObject*>(&other);
    center.post(notifications::redavidMouseHit, otherHost,
        { { notifications::mouseHitTypeKey, u"mouseDown"_s }, { notifications::mouseHitXKey, 200.0 },
            { notifications::mouseHitYKey, 100.0 } });
    center.post(notifications::redavidMouseHit, otherHost,
        { { notifications::mouseHitTypeKey, u"mouseDragged"_s }, { notifications::mouseHitXKey, 100.0 },
            { notifications::mouseHitYKey, 200.0 } });
    EXPECT_EQ(totals.pieChart()->startAngle(), turned);

    // A rotate gesture of 90 degrees behind the dashboard pie turns it a quarter.
    center.post(notifications::pieRotation, 90.0);
    EXPECT_NEAR(totals.pieChart()->startAngle() - turned, std::numbers::pi / 2, 1e-9);
    center.post(notifications::pieRotationA, 90.0);
    EXPECT_NEAR(totals.pieChart()->startAngle() - turned, std::numbers::pi / 2, 1e-9);
}

TEST_F(TotalsViewControllerTest, TheHoleGrowsToAThirdOfThePieItEndsUpAs)
{
    // The window lays the pane out in passing sizes first: the hole follows the last one.
    installAndSave(household(4000, 6000, 2500));
    TotalsViewController totals;
    totals.resize(600, 60);
    totals.show();
    QApplication::processEvents();
    totals.resize(1100, 290);
    EXPECT_EVENTUALLY(piesAnimationEnded(totals));
    EXPECT_EVENTUALLY(
        std::abs(totals.pieChart()->pieInnerRadius() - totals.pieChart()->pieRadius() / 3) < 1e-6);
}

TEST_F(TotalsViewControllerTest, ThePieLeavesItsLabelsRoomInsideItsHost)
{
    // Percentages with names stand far out from the rim; in a low pane they must not be cut.
    installAndSave(household(4000, 96000, 2500));
    PieChartSettings::setPieDisplayType(PieChartSettings::PieDisplayType::AssetCategories);
    PieChartSettings::setPieLabelType(PieChartSettings::PieLabelType::Percentage);
    TotalsViewController totals;
    totals.resize(1100, 290);
    totals.show();
    QApplication::processEvents();
    chart::GraphHostingView* host = totals.hostView();
    chart::PlotDataSource* source = totals.pieChart()->dataSource();
    ASSERT_NE(source, nullptr);
    double widest = 0;
    for (int slice = 0; slice < 3; ++slice)
        if (const auto label = source->dataLabelForPlot(totals.pieChart(), slice))
            widest = std::max(widest, QFontMetricsF(label->style.font()).horizontalAdvance(label->text));
    ASSERT_GT(widest, 0.0);
    const double room = std::min(host->width(), host->height()) / 2.0;
    EXPECT_LE(totals.pieChart()->pieRadius() + 5 + widest, room);
    EXPECT_GT(totals.pieChart()->pieRadius(), host->height() * 0.55 * 0.25);
}

TEST_F(TotalsViewControllerTest, TheBarsHoldOnlyTheCurrentTypesPlotsAcrossSettingsAndReloads)
{
    installAndSave(household(4000, 6000, 2500));
    TotalsViewController totals;
    show(totals);
    chart::Graph* bars = totals.hostViewB()->hostedGraph();
    auto& center = platform::NotificationCenter::defaultCenter();

    PieChartSettings::setPieDisplayType(PieChartSettings::PieDisplayType::AssetCategories);
    center.post(notifications::pieChartSettingsChange);
    const YearEndBarsStackPlot* assets = stacksOf(bars);
    ASSERT_TRUE(assets);
    EXPECT_EQ(assets->identifiers(), (QStringList { u"CASH"_s, u"HOUSE"_s }));
    ASSERT_EQ(assets->yearEndCount(), 3);
    EXPECT_EQ(assets->segment(1, 2)->base, 4000);
    EXPECT_EQ(assets->segment(1, 2)->tip, 10000);
    // The pie shows the asset categories.
    EXPECT_EQ(totals.pie().slices.size(), 2);

    PieChartSettings::setPieDisplayType(PieChartSettings::PieDisplayType::LiabilityCategories);
    center.post(notifications::pieChartSettingsChange);
    ASSERT_TRUE(stacksOf(bars));
    EXPECT_EQ(stacksOf(bars)->identifiers(), QStringList { u"LOAN"_s });

    PieChartSettings::setPieDisplayType(PieChartSettings::PieDisplayType::NetWorth);
    center.post(notifications::pieChartSettingsChange);
    for (int i = 0; i < 3; ++i)
        center.post(notifications::dataReFetched);
    center.post(notifications::colorSchemaSettingsChange);
    ASSERT_EQ(bars->allPlots().size(), 1);
    EXPECT_EQ(bars->allPlots()[0]->identifier(), u"NW_BAR_PLOT"_s);
    EXPECT_EQ(totals.pieChart()->numberOfRecords(), 3);

    // A new newest record after a reload.
    store().appData()->currentLog()->setAssets(20000);
    center.post(notifications::dataReFetched);
    EXPECT_TRUE(totals.testText()->text().startsWith(u"Net worth:  $17,500"_s));
}

TEST_F(TotalsViewControllerTest, AClickedBarTellsWhatItDrawsAndValuesOfDeletedCategoriesStayInTheStacks)
{
    // The newest year-end: house 6,000 and cash 2,000 against a loan of 4,000, under a stored net
    // worth an old edit left stale. The 2023 year-end holds 500 of a category deleted since.
    auto model = household(2000, 6000, 4000);
    const auto& logs = *model->nwLogArray();
    logs[0]->setNw(1234);
    logs[1]->assetLogs()->append(makeLog(u"GONE"_s, 2023, 12, 500));
    logs[1]->setAssets(*logs[1]->assets() + 500);
    installAndSave(model);
    TotalsViewController totals;
    show(totals);
    chart::Graph* bars = totals.hostViewB()->hostedGraph();

    // Net worth: the popup gives the bar's own height, assets − liabilities.
    ASSERT_EQ(bars->allPlots().size(), 1);
    EXPECT_EQ(static_cast<chart::BarPlot*>(bars->allPlots()[0])->bars()[2].tip, 4000);
    EXPECT_EQ(clickBar(totals, bars->allPlots()[0], 2), std::pair(u"$4,000 "_s, u"2024"_s));

    // Asset categories: a segment's share is of the assets (8,000), not of the net worth (4,000).
    PieChartSettings::setPieDisplayType(PieChartSettings::PieDisplayType::AssetCategories);
    platform::NotificationCenter::defaultCenter().post(notifications::pieChartSettingsChange);
    const YearEndBarsStackPlot* stacks = stacksOf(bars);
    ASSERT_TRUE(stacks);
    const int house = int(stacks->identifiers().indexOf(u"HOUSE"_s));
    ASSERT_EQ(house, 1);
    EXPECT_EQ(clickAt(totals, stacks->segmentRect(house, 2)), std::pair(u"$6,000 (75%)"_s, u"House"_s));

    // The deleted category's 500 stay on top of the 2023 stack, under their own name.
    const int gone = int(stacks->identifiers().indexOf(YearEndBars::unknownCategoryIdentifier));
    ASSERT_EQ(gone, 2) << "the values of the deleted category were dropped from the stacks";
    EXPECT_EQ(stacks->segment(gone, 1)->base, 6000);
    EXPECT_EQ(stacks->segment(gone, 1)->tip, 6500);
    EXPECT_EQ(
        clickAt(totals, stacks->segmentRect(gone, 1)), std::pair(u"$500 (8%)"_s, u"(unknown category)"_s));
}

// Hundreds of categories: the stacks stay one plot, so the bar graph's scene holds no more items
// than for two categories, and the top segment of a stack still opens its category's popup.
TEST_F(TotalsViewControllerTest, ManyCategoriesStackInOnePlotWhoseSegmentsStillOpenTheirPopups)
{
    PieChartSettings::setPieDisplayType(PieChartSettings::PieDisplayType::AssetCategories);
    installAndSave(household(4000, 6000, 2500));
    qsizetype fewItems = 0;
    {
        TotalsViewController few;
        show(few);
        fewItems = few.hostViewB()->hostedGraph()->scene()->items().size();
    }

    auto model = household(0, 0, 0);
    MVX_CategoryList assets;
    MVX_NWLogList records;
    for (const int year : { 2024, 2023 }) {
        MVX_CategoryLogList values;
        double total = 0;
        for (int i = 0; i < 400; ++i) {
            const QString id = u"A%1"_s.arg(i);
            if (year == 2024)
                assets.append(makeCategory(id, u"Account %1"_s.arg(i + 1)));
            values.append(makeLog(id, year, 12, 100.0 + i));
            total += 100.0 + i;
        }
        auto log = record(year, 12, 0, 0, 0);
        log->setAssets(total);
        log->setNw(total);
        log->setAssetLogs(values);
        records.append(log);
    }
    model->setAssetscat(assets);
    model->setNwLogArray(records);
    installAndSave(model);
    TotalsViewController totals;
    show(totals);
    chart::Graph* bars = totals.hostViewB()->hostedGraph();
    const YearEndBarsStackPlot* stacks = stacksOf(bars);
    ASSERT_TRUE(stacks) << bars->allPlots().size() << " plots";
    EXPECT_EQ(bars->scene()->items().size(), fewItems);
    ASSERT_EQ(stacks->identifiers().size(), 400);
    const auto top = stacks->segment(399, 1);
    ASSERT_TRUE(top);
    EXPECT_EQ(top->tip, *records[0]->assets());
    // The topmost segment is under a point tall at this size, and its middle still hits it.
    EXPECT_EQ(clickAt(totals, stacks->segmentRect(399, 1)), std::pair(u"$499 (0%)"_s, u"Account 400"_s));
}

TEST_F(TotalsViewControllerTest, TheMenuButtonOpensAndClosesThePieSettings)
{
    installAndSave(household(4000, 6000, 2500));
    TotalsViewController totals;
    int made = 0;
    totals.setMenuContentFactory([&made] {
        ++made;
        return new QWidget;
    });
    show(totals);
    totals.menuButton()->click();
    ASSERT_TRUE(totals.menuPopover());
    EXPECT_TRUE(totals.menuPopover()->shown());
    totals.menuButton()->click();
    EXPECT_FALSE(totals.menuPopover());
    totals.menuButton()->click();
    EXPECT_TRUE(totals.menuPopover());
    EXPECT_EQ(made, 2); // a new popover at each opening
}

TEST_F(TotalsViewControllerTest, EscapeClosesTheWelcomePanelAsEveryMessage)
{
    installAndSave(household(4000, 6000, 2500));
    platform::UserDefaults::standard().remove(Preferences::showStartFormKey);
    TotalsViewController totals;
    show(totals);
    EXPECT_EVENTUALLY(totals.firstStartSFBPopover() && totals.firstStartSFBPopover()->isVisible());
    // Pressed where the panel's keyboard is: on its check box.
    QTest::keyClick(totals.startupView()->showOnStartCheckBox(), Qt::Key_Escape);
    EXPECT_EVENTUALLY(!totals.firstStartSFBPopover()->isVisible());
    // Closing is no answer to the check box.
    EXPECT_TRUE(Preferences::showStartForm());
}

TEST_F(TotalsViewControllerTest, AWelcomeLinkNoBrowserOpenedIsToldOnTheDashboard)
{
    installAndSave(household(4000, 6000, 2500));
    platform::UserDefaults::standard().remove(Preferences::showStartFormKey);
    TotalsViewController totals;
    show(totals);
    EXPECT_EVENTUALLY(totals.firstStartSFBPopover() && totals.firstStartSFBPopover()->isVisible());
    ExternalLinks::setOpenerForTesting([](const QUrl&) { return false; });
    const QUrl page = ExternalLinks::productPage();
    Q_EMIT totals.startupView()->dravelHyperlink()->linkActivated(page.toString());
    ExternalLinks::setOpenerForTesting({});
    // Not in the panel, which goes as the message takes the keyboard.
    ASSERT_TRUE(totals.messages()->isShown());
    EXPECT_EQ(totals.messages()->popover()->positionView(), totals.testText());
    EXPECT_TRUE(totals.messages()->text().split(u'\n').contains(page.toString()))
        << totals.messages()->text().toStdString();
}

TEST_F(TotalsViewControllerTest, TheWelcomeLinkReadsOnThePanelInItsBlueInBothAppearances)
{
    installAndSave(household(4000, 6000, 2500));
    auto& appearance = platform::AppearanceController::instance();
    const platform::Appearance before = appearance.appearance();
    const QColor blue(0x0A, 0x60, 0xFF);
    for (const auto choice : { platform::Appearance::Light, platform::Appearance::Dark }) {
        SCOPED_TRACE(int(choice));
        appearance.setAppearance(choice);
        platform::UserDefaults::standard().remove(Preferences::showStartFormKey);
        TotalsViewController totals;
        show(totals);
        EXPECT_EVENTUALLY(totals.firstStartSFBPopover() && totals.firstStartSFBPopover()->isVisible());
        // The link as drawn on the panel's ground, the window colour.
        const QColor ground = totals.palette().color(QPalette::Window);
        QWidget* link = totals.startupView()->dravelHyperlink();
        QImage drawn(link->size(), QImage::Format_RGB32);
        drawn.fill(ground);
        QPainter(&drawn).drawPixmap(0, 0, link->grab());
        QHash<QRgb, int> counts;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                if (drawn.pixel(x, y) != ground.rgb())
                    ++counts[drawn.pixel(x, y)];
        ASSERT_FALSE(counts.isEmpty());
        QRgb most = counts.begin().key();
        for (auto it = counts.cbegin(); it != counts.cend(); ++it)
            if (it.value() > counts.value(most))
                most = it.key();
        const QColor color(most);
        EXPECT_GE(contrast(color, ground), 4.5) << color.name().toStdString();
        EXPECT_NEAR(color.hslHueF(), blue.hslHueF(), 0.01) << color.name().toStdString();
    }
    appearance.setAppearance(before);
}

TEST_F(TotalsViewControllerTest, TheWelcomePanelShowsOncePerRunUntilItsBoxIsUnchecked)
{
    installAndSave(household(4000, 6000, 2500));
    platform::UserDefaults::standard().remove(Preferences::showStartFormKey);
    EXPECT_TRUE(WelcomeView::shouldShow(false));
    EXPECT_FALSE(WelcomeView::shouldShow(true));
    {
        TotalsViewController totals;
        show(totals);
        EXPECT_EVENTUALLY(totals.firstStartSFBPopover() && totals.firstStartSFBPopover()->isVisible());
        APPopover* first = totals.firstStartSFBPopover();
        // As tall as its lines, not a window's default height with the lines spread over it.
        WelcomeView* panel = totals.startupView();
        EXPECT_LE(panel->height(), panel->layout()->totalHeightForWidth(panel->width()));
        // Once per controller: hiding and showing the pane brings no second panel.
        totals.hide();
        totals.show();
        QApplication::processEvents();
        EXPECT_EQ(totals.firstStartSFBPopover(), first);
        QCheckBox* box = totals.startupView()->showOnStartCheckBox();
        EXPECT_TRUE(box->isChecked());
        box->click();
        EXPECT_FALSE(Preferences::showStartForm());
        totals.startupView()->closeButton()->click();
        EXPECT_EVENTUALLY(!totals.firstStartSFBPopover()->isVisible());
    }
    // The next run.
    TotalsViewController again;
    show(again);
    QApplication::processEvents();
    EXPECT_FALSE(again.firstStartSFBPopover());
    EXPECT_TRUE(again.welcomeScreenAlreadyShown());
}

} // namespace

// Forty-eight assets of about 2.1% each: none is merged into "All other", and their labels with
// percentages and names would crowd the rim of the low dashboard pie. No label is drawn over
// another or out of the pie's pane, the pie keeps half of it, and the labels read at 4.5:1 in
// both appearances.
TEST_F(TotalsViewControllerTest, CrowdedPieLabelsStayApartInsideTheirPane)
{
    auto model = MVX_Model::makeEmpty();
    model->setBaseCurrency(u"USD"_s);
    MVX_CategoryList assets;
    MVX_CategoryLogList values;
    double total = 0;
    for (int i = 0; i < 48; ++i) {
        const QString id = u"A%1"_s.arg(i);
        assets.append(makeCategory(id, u"Savings account %1"_s.arg(i + 1)));
        const double value = 3000.0 + 2 * i;
        values.append(makeLog(id, 2024, 3, value));
        total += value;
    }
    model->setAssetscat(assets);
    model->setLiabilitycat(MVX_CategoryList { makeCategory(u"LOAN"_s, u"Loan"_s) });
    auto newest = std::make_shared<MVX_NWLog>();
    newest->setYear(2024);
    newest->setMonth(3);
    newest->setAssets(total);
    newest->setLiabilities(0.0);
    newest->setNw(total);
    newest->setAssetLogs(values);
    newest->setLiabilityLogs(MVX_CategoryLogList {});
    model->setNwLogArray(MVX_NWLogList { newest });
    installAndSave(model);
    PieChartSettings::setPieDisplayType(PieChartSettings::PieDisplayType::AssetCategories);
    PieChartSettings::setPieLabelType(PieChartSettings::PieLabelType::Percentage);
    auto& appearance = platform::AppearanceController::instance();
    const platform::Appearance before = appearance.appearance();
    TotalsViewController totals;
    show(totals);
    ASSERT_EQ(totals.pie().slices.size(), 48);
    for (const auto choice : { platform::Appearance::Light, platform::Appearance::Dark }) {
        appearance.setAppearance(choice);
        SCOPED_TRACE(choice == platform::Appearance::Dark ? "dark" : "light");
        chart::PieChart* pie = totals.pieChart();
        const QRectF pane = totals.hostView()->hostedGraph()->plotAreaRect();
        const QList<chart::PieChart::LabelPlacement> placements = pie->labelPlacements();
        ASSERT_FALSE(placements.isEmpty());
        EXPECT_LT(placements.size(), 48) << "some labels find no room";
        QList<QPainterPath> outlines;
        for (const auto& placement : placements) {
            EXPECT_TRUE(pane.contains(placement.box.outline().boundingRect())) << placement.recordIndex;
            QPainterPath outline;
            outline.addPolygon(placement.box.grown(-0.01).outline());
            outline.closeSubpath();
            for (const QPainterPath& other : outlines)
                EXPECT_FALSE(other.intersects(outline)) << placement.recordIndex;
            outlines.append(outline);
        }
        EXPECT_GE(pie->pieRadius(), std::min(pane.width(), pane.height()) / 4);
        EXPECT_EQ(pie->slices().size(), 48);
        const QColor label = pie->slices()[placements.first().recordIndex].label->style.color;
        EXPECT_GE(contrast(label, QApplication::palette().color(QPalette::Window)), 4.5);
    }
    appearance.setAppearance(before);
}
