#include "app/alerts/MessagePopover.h"
#include "charts/common/BarChartGeometry.h"
#include "charts/common/DrawnLabelContrast.h"
#include "charts/common/PrintSession.h"
#include "charts/compare/CompareViewController.h"
#include "charts/compare/StatisticsChartView.h"
#include "charts/kit/Axis.h"
#include "charts/kit/Graph.h"
#include "charts/kit/GraphHostingView.h"
#include "charts/kit/PlotSpace.h"
#include "platform/Appearance.h"
#include "platform/UserDefaults.h"
#include "support/Appearances.h"
#include "support/RecordBuilders.h"
#include "support/SharedStoreTest.h"
#include "uikit/popover/PKPopoverController.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <limits>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;
using CompareStatistics::Group;

namespace {

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

class StatisticsChartsTest : public SharedStoreTest {
protected:
    void SetUp() override
    {
        SharedStoreTest::SetUp();
        auto model = MVX_Model::makeEmpty();
        model->setBaseCurrency(u"USD"_s);
        model->setNwLogArray(MVX_NWLogList { recordWith(2026, 1, { { u"H"_s, 250000 } }) });
        store().setAppData(model);
    }

    static void show(CompareViewController& screen)
    {
        screen.resize(1200, 900);
        screen.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&screen));
        QApplication::processEvents();
    }

    static void enter(QLineEdit* field, const QString& text)
    {
        field->selectAll();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }

    static QStringList rateTexts(CompareViewController& screen)
    {
        QStringList texts;
        for (Group group : { Group::Country, Group::Age, Group::Percentile, Group::Education })
            texts.append(screen.exchangeRateField(group)->text());
        return texts;
    }

    static QList<double> tips(StatisticsChartView* chart)
    {
        QList<double> result;
        for (const auto& bar : chart->barPlot()->bars())
            result.append(bar.tip);
        return result;
    }

    static void click(StatisticsChartView* chart, int slot)
    {
        QWidget* viewport = chart->hostView()->viewport();
        const QPointF at = chart->barPlot()->barRect(slot).center();
        for (auto [type, buttons] :
            { std::pair { QEvent::MouseButtonPress, Qt::MouseButtons(Qt::LeftButton) },
                std::pair { QEvent::MouseButtonRelease, Qt::MouseButtons(Qt::NoButton) } }) {
            QMouseEvent event(type, at, viewport->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
            QApplication::sendEvent(viewport, &event);
        }
    }

    static QString popupText(PKPopoverController* popover, const QString& name)
    {
        auto* label = popover->contentViewController()->findChild<QLabel*>(name);
        return label ? label->text() : QString();
    }
};

TEST_F(StatisticsChartsTest, EightChartsOfTheirTablesWithTheUsersBarFirstAndOrange)
{
    CompareViewController screen;
    show(screen);
    screen.setMyCurrentNW(300000);
    screen.redrawCountryComparison();
    const int expectedBars[] = { 9, 9, 7, 7, 7, 7, 5, 5 };
    for (int index = 0; index < 8; ++index) {
        StatisticsChartView* chart = screen.chartView(index);
        EXPECT_EQ(chart->barPlot()->bars().size(), expectedBars[index]) << index;
        EXPECT_EQ(chart->barPlot()->bars().at(0).tip, 300000) << index;
        ASSERT_TRUE(chart->barPlot()->bars().at(0).fill) << index;
        EXPECT_FALSE(chart->barPlot()->bars().at(1).fill) << index;
        EXPECT_EQ(chart->hostView()->hostedGraph()->title(),
            QString::fromLatin1(CompareStatistics::charts()[std::size_t(index)].title));
    }
    StatisticsChartView* country = screen.chartView(0);
    EXPECT_EQ(tips(country).mid(0, 3), (QList<double> { 300000, 388585, 259271 }));
    const chart::Axis* x = country->hostView()->hostedGraph()->axisSet()->xAxis();
    ASSERT_EQ(x->axisLabels().size(), 9);
    EXPECT_EQ(x->axisLabels().at(0).text, u"You"_s);
    EXPECT_EQ(x->axisLabels().at(3).text, u"AUS"_s);
    // Switzerland's 537,599 is the top: amounts every 100,000 up to 500,000.
    const auto yLabels = country->hostView()->hostedGraph()->axisSet()->yAxis()->axisLabels();
    ASSERT_EQ(yLabels.size(), 5);
    EXPECT_EQ(yLabels.first().text, u"$100,000"_s);
    EXPECT_EQ(yLabels.last().text, u"$500,000"_s);
    EXPECT_DOUBLE_EQ(country->hostView()->hostedGraph()->defaultPlotSpace()->yRange().location, -60000);

    // A negative net worth reaches below the axis.
    screen.setMyCurrentNW(-20000);
    screen.redrawCountryComparison();
    EXPECT_EQ(country->minNWValue(), -20000);
    EXPECT_DOUBLE_EQ(country->hostView()->hostedGraph()->defaultPlotSpace()->yRange().location, -24000);
}

TEST_F(StatisticsChartsTest, AUserInDebtKeepsEveryChartsLabelsApart)
{
    CompareViewController screen;
    show(screen);
    // Down to the largest double below 0, which the screen takes as its lowest net worth.
    for (const double netWorth :
        { -20000.0, -342361.0, -2000000.0, -4e8, -std::numeric_limits<double>::max() }) {
        screen.setMyCurrentNW(netWorth);
        screen.redrawCountryComparison();
        for (int index = 0; index < 8; ++index) {
            SCOPED_TRACE(testing::Message() << netWorth << " in chart " << index);
            StatisticsChartView* chart = screen.chartView(index);
            const chart::Graph& graph = *chart->hostView()->hostedGraph();
            // The user's bar hangs from 0 (thin beside the richest statistics).
            EXPECT_TRUE(barchartgeometry::standsOnZero(*chart->barPlot(), 0, 0.5));
            EXPECT_EQ(
                barchartgeometry::texts(barchartgeometry::drawnLabels(graph, *graph.axisSet()->xAxis())),
                CompareStatistics::labels(chart->description().group));
            EXPECT_GE(barchartgeometry::drawnLabels(graph, *graph.axisSet()->yAxis()).size(), 1);
            EXPECT_TRUE(barchartgeometry::labelsApartInside(graph));
            // "You" stands under its own bar, not on it.
            EXPECT_TRUE(barchartgeometry::labelsClearOfBars(*chart->barPlot(), *graph.axisSet()->xAxis()));
        }
    }
}

TEST_F(StatisticsChartsTest, OneRateInEveryFieldConvertsEveryStatisticsBarButTheUsersOwn)
{
    CompareViewController screen;
    show(screen);
    screen.setMyCurrentNW(250000);
    screen.redrawCountryComparison();
    EXPECT_EQ(rateTexts(screen), QStringList(4, u"1"_s));
    QList<QList<double>> before;
    for (int index = 0; index < 8; ++index)
        before.append(tips(screen.chartView(index)));

    enter(screen.exchangeRateField(Group::Age), u"2"_s);
    EXPECT_EQ(rateTexts(screen), QStringList(4, u"2"_s));
    EXPECT_EQ(screen.exchangeRate(), 2.0);
    EXPECT_EQ(platform::UserDefaults::standard().real(u"ExchangeRate"_s), 2.0);
    for (int index = 0; index < 8; ++index) {
        const QList<double> after = tips(screen.chartView(index));
        ASSERT_EQ(after.size(), before[index].size());
        EXPECT_EQ(after[0], 250000) << index;
        for (qsizetype slot = 1; slot < after.size(); ++slot)
            EXPECT_EQ(after[slot], 2 * before[index][slot]) << index << " slot " << slot;
    }
    EXPECT_EQ(screen.chartView(0)->barPlot()->bars().at(1).tip, 777170);

    // Text that is no rate above 0 changes nothing: the field shows the rate again.
    for (const QString& refused : { u"abc"_s, u"0"_s, u"-3"_s }) {
        enter(screen.exchangeRateField(Group::Education), refused);
        EXPECT_EQ(rateTexts(screen), QStringList(4, u"2"_s)) << refused.toStdString();
        EXPECT_EQ(platform::UserDefaults::standard().real(u"ExchangeRate"_s), 2.0);
        EXPECT_EQ(screen.chartView(6)->barPlot()->bars().at(1).tip, 2 * 157200);
    }

    // A new screen starts from the saved rate.
    CompareViewController again;
    EXPECT_EQ(again.exchangeRate(), 2.0);
    EXPECT_EQ(rateTexts(again), QStringList(4, u"2"_s));
}

TEST_F(StatisticsChartsTest, AnAbsurdRateIsRefusedWithAMessageAndAStoredOneIsIgnored)
{
    CompareViewController screen;
    show(screen);
    screen.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&screen));
    screen.setMyCurrentNW(250000);
    enter(screen.exchangeRateField(Group::Country), u"2"_s);
    ASSERT_EQ(screen.exchangeRate(), 2.0);
    const auto keptTwo = [&] {
        EXPECT_EQ(rateTexts(screen), QStringList(4, u"2"_s));
        EXPECT_EQ(screen.exchangeRate(), 2.0);
        EXPECT_EQ(platform::UserDefaults::standard().real(u"ExchangeRate"_s), 2.0);
        EXPECT_EQ(screen.chartView(0)->barPlot()->bars().at(1).tip, 777170);
    };

    // Leaving the field by a click elsewhere refuses the rate too, and the message outlives
    // that click.
    QLineEdit* country = screen.exchangeRateField(Group::Country);
    country->setFocus();
    country->selectAll();
    QTest::keyClicks(country, u"1e-40"_s);
    QTest::mouseClick(screen.exchangeRateField(Group::Age), Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_TRUE(screen.messages());
    EXPECT_TRUE(screen.messages()->isShown());
    EXPECT_TRUE(screen.messages()->text().contains(u"1e-40"_s));
    keptTwo();

    // Return: each refused with what was typed and the bounds in the message.
    for (const QString& absurd : { u"3.4e38"_s, u"99999999999"_s }) {
        SCOPED_TRACE(absurd.toStdString());
        enter(screen.exchangeRateField(Group::Percentile), absurd);
        // The message shows on a later turn of the event loop.
        QApplication::processEvents();
        EXPECT_TRUE(screen.messages()->isShown());
        EXPECT_TRUE(screen.messages()->text().contains(absurd));
        EXPECT_TRUE(screen.messages()->text().contains(u"0.0001"_s));
        keptTwo();
    }

    // A valid rate after a refusal is taken.
    enter(screen.exchangeRateField(Group::Education), u"0.5"_s);
    EXPECT_EQ(screen.exchangeRate(), 0.5);
    EXPECT_EQ(platform::UserDefaults::standard().real(u"ExchangeRate"_s), 0.5);

    // What an older build stored beyond the bounds reads as no rate: the screen starts from 1.
    platform::UserDefaults::standard().setValue(u"ExchangeRate"_s, 99999997952.0);
    CompareViewController fresh;
    EXPECT_EQ(fresh.exchangeRate(), 1.0);
    EXPECT_EQ(rateTexts(fresh), QStringList(4, u"1"_s));
}

TEST_F(StatisticsChartsTest, WithForeignCurrenciesTheRateIsTheStoresDollarRate)
{
    platform::UserDefaults::standard().setValue(u"ExchangeRate"_s, 3.5);
    store().setSupportsForeignCurrencies(true);
    CompareViewController screen;
    // The base currency is the dollar, which has no rate of its own: 1.
    EXPECT_EQ(screen.exchangeRate(), 1.0);
    EXPECT_EQ(rateTexts(screen), QStringList(4, u"1"_s));
    store().setSupportsForeignCurrencies(false);
    CompareViewController saved;
    EXPECT_EQ(saved.exchangeRate(), 3.5);
}

TEST_F(StatisticsChartsTest, ClickingABarShowsItsAmountAndWhatItStandsFor)
{
    CompareViewController screen;
    show(screen);
    screen.setMyCurrentNW(250000);
    screen.redrawCountryComparison();
    // The country charts are at the top of the scrolled statistics.
    click(screen.chartView(0), 1);
    PKPopoverController* first = screen.pointAnnotationPopover();
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->shown());
    EXPECT_EQ(popupText(first, u"amountCtl"_s), u"$388,585 "_s);
    EXPECT_EQ(popupText(first, u"monthCtl"_s), u"United States "_s);

    click(screen.chartView(2), 0);
    PKPopoverController* age = screen.pointAnnotationPopover();
    ASSERT_TRUE(age);
    EXPECT_NE(age, first);
    EXPECT_EQ(popupText(age, u"amountCtl"_s), u"$250,000 "_s);
    EXPECT_EQ(popupText(age, u"monthCtl"_s), u"Your Net Worth "_s);
    click(screen.chartView(4), 0);
    EXPECT_EQ(popupText(screen.pointAnnotationPopover(), u"monthCtl"_s), u"Percentile of income: You "_s);
    click(screen.chartView(7), 0);
    EXPECT_EQ(popupText(screen.pointAnnotationPopover(), u"monthCtl"_s), u"You "_s);
}

TEST_F(StatisticsChartsTest, PrintsOnALandscapePageInsideTheMarginsAndCopiesAPicture)
{
    CompareViewController screen;
    show(screen);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // The shared paper, as the printer or the locale gives it, turned to landscape.
    const QSizeF paper = PrintSession::printer().pageLayout().pageSize().size(QPageSize::Point).transposed();
    const QString pdf = dir.filePath(u"chart.pdf"_s);
    PrintSession::setNextOutputFile(pdf);
    screen.chartView(2)->printButton()->click();

    const QString info = run(u"pdfinfo"_s, { pdf });
    const QRegularExpressionMatch size
        = QRegularExpression(u"Page size:\\s+([\\d.]+) x ([\\d.]+) pts"_s).match(info);
    ASSERT_TRUE(size.hasMatch()) << info.toStdString();
    EXPECT_NEAR(size.captured(1).toDouble(), paper.width(), 0.5);
    EXPECT_NEAR(size.captured(2).toDouble(), paper.height(), 0.5);
    EXPECT_TRUE(info.contains(QRegularExpression(u"Pages:\\s+1\\b"_s)));

    // Every mark of the chart lies inside the margins (left 10, top 40, right 10, bottom 200),
    // and the user's orange bar is among them.
    const QString prefix = dir.filePath(u"page"_s);
    run(u"pdftoppm"_s, { u"-r"_s, u"72"_s, u"-png"_s, u"-singlefile"_s, pdf, prefix });
    const QImage page(prefix + u".png"_s);
    ASSERT_NEAR(page.width(), paper.width(), 1);
    ASSERT_NEAR(page.height(), paper.height(), 1);
    const QRect inside = QRectF(10, 40, paper.width() - 20, paper.height() - 240).toAlignedRect();
    int outside = 0;
    int orange = 0;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            const QColor pixel = page.pixelColor(x, y);
            if (pixel.lightness() < 250 && !inside.adjusted(-1, -1, 1, 1).contains(x, y))
                ++outside;
            if (pixel.red() > 240 && pixel.green() > 150 && pixel.green() < 215 && pixel.blue() < 140)
                ++orange;
        }
    }
    EXPECT_EQ(outside, 0);
    EXPECT_GT(orange, 100);

    EXPECT_TRUE(screen.chartView(5)->copyChartToClipboard());
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(),
        screen.chartView(5)->hostView()->hostedGraph()->imageOfLayer().size());
}

} // namespace

namespace {

TEST_F(StatisticsChartsTest, ChartsFollowTheAppearanceAndKeepTheirBars)
{
    auto& appearance = platform::AppearanceController::instance();
    appearance.setAppearance(platform::Appearance::Light);
    CompareViewController screen;
    screen.setMyCurrentNW(1000);
    screen.redrawCountryComparison();
    StatisticsChartView* chart = screen.chartView(3);
    const QColor lightTitle = chart->hostView()->hostedGraph()->titleTextStyle().color;
    const QColor lightBox = chart->backgroundColor();

    appearance.setAppearance(platform::Appearance::Dark);
    const QColor darkTitle = chart->hostView()->hostedGraph()->titleTextStyle().color;
    EXPECT_NE(darkTitle, lightTitle);
    EXPECT_GT(darkTitle.lightness(), lightTitle.lightness());
    EXPECT_NE(chart->backgroundColor(), lightBox);
    EXPECT_EQ(chart->hostView()->hostedGraph()->axisSet()->xAxis()->labelTextStyle().color, darkTitle);
    EXPECT_EQ(chart->barPlot()->bars().at(0).tip, 1000);
    EXPECT_EQ(chart->barPlot()->bars().at(1).tip, 11100);
    appearance.setAppearance(platform::Appearance::Light);
    EXPECT_EQ(chart->hostView()->hostedGraph()->titleTextStyle().color, lightTitle);
}

// Every chart's title and axis labels, as drawn on its box, read at 4.5:1 in both appearances
// (the title shrinks below large text in a narrow box).
TEST_F(StatisticsChartsTest, TitlesAndLabelsReadOnTheirBoxesInBothAppearances)
{
    const mervane::test::AppearanceRestorer restorer;
    using platform::Appearance;
    mervane::test::inAppearances({ Appearance::Light, Appearance::Dark }, [&](bool) {
        CompareViewController screen;
        screen.setMyCurrentNW(250000);
        screen.redrawCountryComparison();
        show(screen);
        for (int index : { 0, 3, 7 }) {
            SCOPED_TRACE(index);
            StatisticsChartView* chart = screen.chartView(index);
            int labels = 0;
            QString worst;
            EXPECT_GE(
                drawnlabelcontrast::lowestLabelContrast(*chart->hostView(), *chart, &labels, &worst), 4.5)
                << worst.toStdString();
            EXPECT_GT(labels, 3);
            EXPECT_GE(drawnlabelcontrast::titleContrast(*chart->hostView(), *chart), 4.5);
        }
    });
}

} // namespace
