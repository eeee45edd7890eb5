#include "charts/history/line/LineChartViewController.h"
#include "categories/CategoriesNotifications.h"
#include "charts/common/ChartNotifications.h"
#include "charts/common/DrawnLabelContrast.h"
#include "charts/history/line/LineChartColors.h"
#include "charts/history/series/HistoryTestModel.h"
#include "charts/history/settings/HistoryChartSettings.h"
#include "charts/kit/Axis.h"
#include "charts/kit/GraphHostingView.h"
#include "charts/kit/PlotSpace.h"
#include "charts/kit/ScatterPlot.h"
#include "model/ModelNotifications.h"
#include "model/format/NWCurrencyFormatter.h"
#include "model/values/NWDetailRecordInfo.h"
#include "platform/Appearance.h"
#include "platform/Clock.h"
#include "platform/NotificationCenter.h"
#include "records/editor/RecordEditorPopover.h"
#include "support/Appearances.h"
#include "support/Eventually.h"
#include "support/SharedStoreTest.h"
#include "uikit/popover/PKPopoverController.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>

#include <limits>

using namespace historyseries;
using namespace historytest;
using namespace Qt::Literals::StringLiterals;

namespace {

class LineChartTest : public mervane::test::SharedStoreTest {
protected:
    void SetUp() override
    {
        SharedStoreTest::SetUp();
        PKPopoverController::closeAllShownPopovers();
        install(household(rising2023()));
    }
    void TearDown() override
    {
        PKPopoverController::closeAllShownPopovers();
        SharedStoreTest::TearDown();
    }

    static void show(LineChartViewController& chart)
    {
        chart.resize(900, 500);
        chart.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
        chart.refreshView();
    }

    static void click(LineChartViewController& chart, int index)
    {
        chart::GraphHostingView* host = chart.hostView();
        const NWChartLog& point = chart.series().dataArray[index];
        const QPointF inPlotArea = chart.graph()->defaultPlotSpace()->plotAreaViewPointForPlotPoint(
            QPointF(monthIndex(point), point.nw()));
        const QPoint at = host->viewPointFromPlotArea(inPlotArea).toPoint();
        for (QEvent::Type type : { QEvent::MouseButtonPress, QEvent::MouseButtonRelease }) {
            QMouseEvent event(type, at, host->viewport()->mapToGlobal(at), Qt::LeftButton,
                type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(host->viewport(), &event);
        }
    }

    static QString label(PKPopoverController* popover, const QString& name)
    {
        auto* found = popover->contentViewController()->findChild<QLabel*>(name);
        return found ? found->text() : QString();
    }

    static int shownEditors()
    {
        int count = 0;
        for (PKPopoverController* popover : PKPopoverController::shownPopovers())
            count += recordEditorOf(popover) ? 1 : 0;
        return count;
    }

    static void askForDetails(int year, int month)
    {
        NWDetailRecordInfo info;
        info.setYear(year);
        info.setMonth(month);
        platform::NotificationCenter::defaultCenter().post(
            notifications::showDetails, QVariant::fromValue(info));
    }
};

// The title and the axis labels read at 4.5:1 as drawn, in the appearance the chart opened in
// and in the one it changes to.
// A net worth of 1e20 after one below 0, and the largest doubles on both sides of 0: the chart
// paints with a screenful of value labels over a range that holds every point it can. The labels
// it draws lie inside the plot area, each the start of its amount, and the line runs towards the
// newest point however large, in the chart's pane and in the dashboard's narrower one.
TEST_F(LineChartTest, HugeValuesBesideLossesPaintWithAScreenfulOfLabels)
{
    constexpr double most = std::numeric_limits<double>::max();
    const NWCurrencyFormatter money(0, NWCurrencyFormatter::parenthesesNegativeFormat());
    for (const auto& [older, newest] : std::initializer_list<std::pair<double, double>> {
             { -500, 1e20 }, { -1e9, 1e300 }, { -most, most }, { 0, most }, { 0, -most }, { 1e20, most } }) {
        install(household({ Month { 2019, 12, std::max(older, 0.0), 0, -std::min(older, 0.0) },
            Month { 2020, 3, 0, std::max(newest, 0.0), -std::min(newest, 0.0) } }));
        LineChartViewController chart;
        show(chart);
        // The line fades in.
        EXPECT_EVENTUALLY(chart.scatterPlot(PlotId::NetWorth)->opacity() == 1.0);
        for (const QSize size : { QSize(900, 500), QSize(560, 330) }) {
            SCOPED_TRACE(testing::Message() << older << " then " << newest << " at " << size.width());
            chart.resize(size);
            QApplication::processEvents();
            const QImage picture = chart.grab().toImage();
            ASSERT_FALSE(picture.isNull());
            const chart::Graph& graph = *chart.graph();
            const chart::Axis* y = graph.axisSet()->yAxis();
            EXPECT_LE(y->axisLabels().size(), 30);
            const QRectF area = graph.plotAreaRect();
            int inside = 0;
            for (const chart::AxisLabel& label : y->axisLabels()) {
                const auto rect = chart::axisLabelRect(graph, *y, label);
                if (!rect)
                    continue;
                EXPECT_GE(rect->left(), area.left()) << label.text.toStdString();
                EXPECT_LE(rect->right(), area.right()) << label.text.toStdString();
                EXPECT_TRUE(graph.bounds().contains(*rect)) << label.text.toStdString();
                QString start = label.text;
                if (start.endsWith(QChar(0x2026)))
                    start.chop(1);
                EXPECT_FALSE(start.isEmpty());
                EXPECT_TRUE(money.stringFromNumber(label.tickLocation).startsWith(start))
                    << label.text.toStdString();
                inside += 1;
            }
            EXPECT_GE(inside, 2);
            const chart::PlotRange range = graph.defaultPlotSpace()->yRange();
            EXPECT_TRUE(range.isFinite());
            EXPECT_TRUE(range.contains(0));
            if (newest == 1e20) {
                EXPECT_TRUE(range.contains(older) && range.contains(newest));
            }
            // The line leaves the lower half of the plot area on its way to the newest point.
            if (std::abs(newest) >= 1e300) {
                const QRectF half = newest > 0
                    ? QRectF(area.left(), area.top(), area.width(), area.height() / 2)
                    : QRectF(area.left(), area.center().y(), area.width(), area.height() / 2);
                const QPoint at = chart.hostView()->viewport()->mapTo(&chart, half.topLeft().toPoint());
                const QRect pixels = QRect(at, half.size().toSize()).intersected(picture.rect());
                const QColor line = linechartcolors::netWorth();
                bool drawn = false;
                for (int py = pixels.top(); py <= pixels.bottom() && !drawn; ++py) {
                    for (int px = pixels.left(); px <= pixels.right() && !drawn; ++px) {
                        const QColor c = picture.pixelColor(px, py);
                        drawn = std::abs(c.red() - line.red()) + std::abs(c.green() - line.green())
                                + std::abs(c.blue() - line.blue())
                            < 40;
                    }
                }
                EXPECT_TRUE(drawn) << "no line towards " << newest;
            }
        }
    }
}

TEST_F(LineChartTest, TitleAndLabelsReadInBothAppearances)
{
    const mervane::test::AppearanceRestorer restorer;
    platform::AppearanceController::instance().setAppearance(platform::Appearance::Light);
    LineChartViewController chart;
    show(chart);
    using platform::Appearance;
    mervane::test::inAppearances({ Appearance::Light, Appearance::Dark, Appearance::Light }, [&](bool) {
        int labels = 0;
        QString worst;
        EXPECT_GE(drawnlabelcontrast::lowestLabelContrast(*chart.hostView(), chart, &labels, &worst), 4.5)
            << worst.toStdString();
        EXPECT_GT(labels, 3);
        EXPECT_GE(drawnlabelcontrast::titleContrast(*chart.hostView(), chart), 4.5);
        // The chosen span's button: white on blue.
        int checked = 0;
        for (QToolButton* button : chart.findChildren<QToolButton*>()) {
            if (!button->isChecked() || button->text().isEmpty())
                continue;
            ++checked;
            EXPECT_GE(
                mervane::test::drawnContrast(button->grab().toImage(), button->rect().adjusted(2, 2, -2, -2)),
                4.5)
                << button->text().toStdString();
        }
        EXPECT_EQ(checked, 1);
    });
}

TEST_F(LineChartTest, AClickOnAPointOpensTheMonthsPopupAndAClickBesideClosesIt)
{
    LineChartViewController chart;
    show(chart);
    ASSERT_EQ(chart.series().dataArray.size(), 12);
    EXPECT_EQ(chart.graph()->title(), u"Net Worth History"_s);

    click(chart, 5);
    PKPopoverController* popover = chart.pointAnnotationPopover();
    ASSERT_NE(popover, nullptr);
    EXPECT_TRUE(popover->shown());
    EXPECT_EQ(chart.selectedIndex(), 5);
    EXPECT_EVENTUALLY_EQ(label(popover, u"amountCtl"_s), u"$6,000 "_s);
    EXPECT_EQ(label(popover, u"monthCtl"_s), u"Jun 2023"_s);
    // The clicked point is drawn with the selected symbol.
    const chart::PlotSymbol* selected = chart.scatterPlot(PlotId::NetWorth)->symbolForRecord(5);
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(selected->size, QSizeF(11, 11));

    click(chart, 11);
    EXPECT_EQ(chart.selectedIndex(), 11);
    ASSERT_NE(chart.pointAnnotationPopover(), nullptr);
    EXPECT_EVENTUALLY_EQ(label(chart.pointAnnotationPopover(), u"amountCtl"_s), u"$13,500 "_s);
    EXPECT_EQ(label(chart.pointAnnotationPopover(), u"monthCtl"_s), u"Dec 2023"_s);

    // A settings change closes the popup.
    HistoryChartSettings::setDisplayChanges(true);
    HistoryChartSettings::setDisplayPercent(true);
    platform::NotificationCenter::defaultCenter().post(notifications::lineChartSettingsChange);
    EXPECT_EQ(chart.pointAnnotationPopover(), nullptr);
    EXPECT_EQ(chart.selectedIndex(), -1);
    // In percent mode the popup shows the change against the month before.
    click(chart, 1);
    ASSERT_NE(chart.pointAnnotationPopover(), nullptr);
    EXPECT_EVENTUALLY_EQ(label(chart.pointAnnotationPopover(), u"amountCtl"_s), u"100.00%"_s);
}

TEST_F(LineChartTest, OnlyTheChartOnScreenOpensOneEditorForTheMonth)
{
    LineChartViewController hidden;
    hidden.resize(900, 500);
    hidden.refreshView();
    LineChartViewController onScreen;
    show(onScreen);

    askForDetails(2023, 6);
    EXPECT_EQ(hidden.editRecordPopover(), nullptr);
    PKPopoverController* editor = onScreen.editRecordPopover();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->shown());
    EXPECT_EQ(shownEditors(), 1);
    // Escape closes it; leaving the application does not.
    EXPECT_TRUE(editor->closesWhenEscapeKeyPressed());
    EXPECT_FALSE(editor->closesWhenApplicationBecomesInactive());
    EXPECT_FALSE(editor->closesWhenPopoverResignsKey());

    // A second request keeps the open editor, and what is typed in it.
    askForDetails(2023, 6);
    askForDetails(2023, 2);
    EXPECT_EQ(onScreen.editRecordPopover(), editor);
    EXPECT_TRUE(editor->shown());
    EXPECT_EQ(shownEditors(), 1);

    // Months without a record, and objects of another kind, open nothing.
    editor->forceClosePopover();
    EXPECT_EVENTUALLY(shownEditors() == 0);
    askForDetails(2019, 1);
    platform::NotificationCenter::defaultCenter().post(notifications::showDetails, u"2023-06"_s);
    EXPECT_EQ(shownEditors(), 0);

    // Hidden again, the chart no longer answers.
    onScreen.hide();
    askForDetails(2023, 6);
    EXPECT_EQ(shownEditors(), 0);
}

TEST_F(LineChartTest, ChoosingATagRedrawsTheTaggedSeries)
{
    // Cash and Loan carry the tag, Home does not: the tagged series is cash minus loan.
    install(household({ { 2023, 1, 300, 1000, 100 }, { 2023, 2, 500, 1000, 200 } }));
    HistoryChartSettings::setChartType(HistoryChartSettings::ChartType::Tags);
    LineChartViewController chart;
    show(chart);
    const auto values = [&] {
        QList<double> nws;
        for (const NWChartLog& point : chart.series().dataArray)
            nws << point.nw();
        return nws;
    };
    const QList<double> tagged { 200, 300 };
    EXPECT_NE(values(), tagged);

    NWData::shared()->setSelectedTagIDs({ u"T1"_s });
    platform::NotificationCenter::defaultCenter().post(notifications::tagFilterChanged);
    EXPECT_EQ(values(), tagged);
    EXPECT_EQ(chart.graph()->title(), u"Tags history: (Liquid)"_s);

    NWData::shared()->setSelectedTagIDs({});
    platform::NotificationCenter::defaultCenter().post(notifications::tagFilterChanged);
    EXPECT_NE(values(), tagged);
}

TEST_F(LineChartTest, ADeletedCategoryFallsBackToTheFirstAndIsRemembered)
{
    HistoryChartSettings::setChartType(HistoryChartSettings::ChartType::AssetCategory);
    HistoryChartSettings::setAssetCategory(u"GONE"_s);
    LineChartViewController chart;
    show(chart);
    EXPECT_EQ(chart.settings().assetCategoryID, u"CASH"_s);
    EXPECT_EQ(HistoryChartSettings::assetCategory(), u"CASH"_s);
    EXPECT_EQ(chart.graph()->title(), u"Asset Category History - Cash"_s);
    EXPECT_FALSE(chart.scatterPlot(PlotId::Assets)->isHidden());
    EXPECT_TRUE(chart.scatterPlot(PlotId::NetWorth)->isHidden());

    HistoryChartSettings::setChartType(HistoryChartSettings::ChartType::LiabilityCategory);
    HistoryChartSettings::setLiabilityCategory(u"ALSO GONE"_s);
    platform::NotificationCenter::defaultCenter().post(notifications::lineChartSettingsChange);
    EXPECT_EQ(HistoryChartSettings::liabilityCategory(), u"LOAN"_s);
    EXPECT_EQ(chart.graph()->title(), u"Liability Category History - Loan"_s);
}

TEST_F(LineChartTest, OneRecordGetsAVisibleOneMonthWindowAndPanningStaysNearTheRecords)
{
    install(household({ { 2024, 5, 1000, 0, 0 } }));
    LineChartViewController chart;
    show(chart);
    chart::PlotSpace* space = chart.graph()->defaultPlotSpace();
    const double month = 2024 * 12 + 5;
    EXPECT_TRUE(space->xRange().contains(month));
    EXPECT_GE(space->xRange().length, 1.0);
    EXPECT_TRUE(space->yRange().contains(1000));

    install(household(rising2023()));
    platform::NotificationCenter::defaultCenter().post(notifications::dataReFetched);
    platform::Clock::setOverride(QDateTime(QDate(2024, 3, 10), QTime(12, 0)));
    struct ClockBack {
        ~ClockBack() { platform::Clock::setOverride(std::nullopt); }
    } clockBack;
    chart.timeScaleChanged(3); // year to date in March: a three-month window
    const auto drag = [&](int dx) {
        QWidget* viewport = chart.hostView()->viewport();
        const QPoint from = viewport->rect().center();
        const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
            QMouseEvent event(type, at, viewport->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
            QApplication::sendEvent(viewport, &event);
        };
        send(QEvent::MouseButtonPress, from, Qt::LeftButton);
        for (int step = 1; step <= 10; ++step)
            send(QEvent::MouseMove, from + QPoint(dx * step / 10, 0), Qt::LeftButton);
        send(QEvent::MouseButtonRelease, from + QPoint(dx, 0), Qt::NoButton);
    };
    const double firstMonth = 2023 * 12 + 1;
    const double lastMonth = 2023 * 12 + 12;
    const chart::PlotRange yBefore = space->yRange();
    for (int i = 0; i < 10; ++i)
        drag(800);
    // Stopped just before the first month (within the window's 3 % margin), never far beyond.
    EXPECT_LT(space->xRange().location, firstMonth);
    EXPECT_GT(space->xRange().location, firstMonth - 0.5);
    EXPECT_EQ(space->yRange(), yBefore);
    for (int i = 0; i < 10; ++i)
        drag(-800);
    EXPECT_GT(space->xRange().end(), lastMonth);
    EXPECT_LT(space->xRange().end(), lastMonth + 0.5);
}

TEST_F(LineChartTest, YearLabelsFollowTheWidthTheChartGetsAfterItWasFilled)
{
    // As on the dashboard, whose pane is laid out after the chart has read the records.
    QList<Month> tenYears;
    for (int year = 2016; year <= 2025; ++year)
        for (int month = 1; month <= 12; ++month)
            tenYears.append({ year, month, 1000.0 * (year - 2000) + month, 0, 0 });
    install(household(tenYears));
    LineChartViewController chart;
    chart.resize(160, 400);
    chart.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
    chart.refreshView();
    const qsizetype narrow = chart.graph()->axisSet()->xAxis()->axisLabels().size();
    chart.resize(1200, 500);
    EXPECT_EVENTUALLY(chart.graph()->axisSet()->xAxis()->axisLabels().size() == 10);
    EXPECT_LT(narrow, 10);
}

// A household in debt with a record or two a year: the month after a year's first record is
// a few points from it over ten years, and records of December and January put two years side
// by side. At every date range and at the sizes the dashboard and the chart screen give it, no
// drawn x label overlaps another, and each year with a label keeps it.
TEST_F(LineChartTest, MonthAndYearLabelsOfAFewRecordsOverManyYearsStandApart)
{
    QList<Month> sparse;
    double loan = 180000;
    for (int year = 2017; year <= 2026; ++year) {
        const QList<int> months = year == 2017 || year == 2019 || year == 2021 || year == 2026
            ? QList<int> { 11, 12 }
            : year == 2023 ? QList<int> { 1 }
                           : QList<int> { 12 };
        for (const int month : months)
            sparse.append({ year, month, 0, 0, loan -= 1500 });
    }
    install(household(sparse));
    LineChartViewController chart;
    show(chart);
    for (const QSize size : { QSize(850, 420), QSize(1300, 800), QSize(500, 300) }) {
        chart.resize(size);
        QApplication::processEvents();
        for (const int range : { 0, 1, 2, 3 }) {
            SCOPED_TRACE(testing::Message() << size.width() << " x " << size.height() << ", range " << range);
            chart.timeScaleChanged(range);
            QApplication::processEvents();
            const chart::Graph& graph = *chart.graph();
            const chart::Axis& x = *graph.axisSet()->xAxis();
            QList<std::pair<QString, QRectF>> drawn;
            for (const chart::AxisLabel& label : x.axisLabels())
                if (const auto rect = chart::axisLabelRect(graph, x, label))
                    drawn.append({ label.text, *rect });
            for (qsizetype i = 0; i < drawn.size(); ++i)
                for (qsizetype j = i + 1; j < drawn.size(); ++j)
                    EXPECT_FALSE(drawn[i].second.intersects(drawn[j].second))
                        << drawn[i].first.toStdString() << " and " << drawn[j].first.toStdString();
            if (range == 0 && size.width() >= 850) {
                QStringList years;
                for (const auto& [text, rect] : drawn)
                    if (text.size() == 4 && text.front().isDigit())
                        years.append(text);
                EXPECT_GE(years.size(), 5) << years.join(u' ').toStdString();
            }
        }
    }
}

} // namespace
