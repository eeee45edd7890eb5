#include "dashboard/bigpie/BigPieChartViewController.h"
#include "charts/common/RedavidGraphHost.h"
#include "charts/kit/Graph.h"
#include "charts/kit/PieChart.h"
#include "support/RecordBuilders.h"
#include "dashboard/common/BigPieChartView.h"
#include "dashboard/common/DashboardNotifications.h"
#include "dashboard/common/PieChartSettings.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"
#include "support/SharedStoreTest.h"
#include "uikit/controls/buttons/SegmentedControl.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include <numbers>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;
using Kind = BigPieChartViewController::PieKind;

namespace {

constexpr double pi = std::numbers::pi;

QStringList labels(const PieSlices::Pie& pie)
{
    QStringList result;
    for (const auto& slice : pie.slices)
        result.append(slice.label);
    return result;
}

class BigPieChartViewControllerTest : public SharedStoreTest {
protected:
    void install(double loan)
    {
        auto model = MVX_Model::makeEmpty();
        model->setBaseCurrency(u"USD"_s);
        model->setAssetscat(
            MVX_CategoryList { category(u"CASH"_s, u"Cash"_s), category(u"HOME"_s, u"House"_s) });
        model->setLiabilitycat(
            MVX_CategoryList { category(u"LOAN"_s, u"Loan"_s), category(u"CARD"_s, u"Card"_s) });
        model->setNwLogArray(MVX_NWLogList { recordWith(2024, 3, { { u"CASH"_s, 250 }, { u"HOME"_s, 750 } },
                                                 { { u"LOAN"_s, loan }, { u"CARD"_s, 100 } }),
            recordWith(2024, 2, { { u"CASH"_s, 1 } }, {}) });
        store().setAppData(model);
    }

    void show(BigPieChartViewController& screen)
    {
        screen.resize(1200, 600);
        screen.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&screen));
        QApplication::processEvents();
    }

    // A point on the ring of the pie of `kind`, at `angle` (y up) from its centre, in the viewport.
    static QPointF ringPoint(BigPieChartViewController& screen, Kind kind, double angle)
    {
        chart::PieChart* pie = screen.pieChart(kind);
        RedavidGraphHost* host = screen.hostView(kind);
        const QSizeF area = host->hostedGraph()->plotAreaRect().size();
        const double r = (pie->pieRadius() + pie->pieInnerRadius()) / 2;
        const QPointF centre(area.width() / 2 + r * std::cos(angle), area.height() / 2 + r * std::sin(angle));
        return host->viewPointFromPlotArea(centre);
    }

    static void mouse(RedavidGraphHost* host, QEvent::Type type, const QPointF& at, Qt::MouseButtons buttons)
    {
        QWidget* viewport = host->viewport();
        QMouseEvent event(type, at, viewport->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    }

    static void drag(RedavidGraphHost* host, const QPointF& from, const QPointF& to)
    {
        mouse(host, QEvent::MouseButtonPress, from, Qt::LeftButton);
        mouse(host, QEvent::MouseMove, (from + to) / 2 + (to - from) / 4, Qt::LeftButton);
        mouse(host, QEvent::MouseMove, to, Qt::LeftButton);
        mouse(host, QEvent::MouseButtonRelease, to, Qt::NoButton);
    }
};

} // namespace

TEST_F(BigPieChartViewControllerTest, ShowsTheNewestRecordAndFollowsSettingsAndData)
{
    install(400);
    BigPieChartViewController screen;
    show(screen);

    const auto& netWorth = screen.slices(Kind::NetWorth);
    ASSERT_EQ(netWorth.slices.size(), 3);
    EXPECT_EQ(netWorth.slices[2].label, u"$500"_s);
    EXPECT_EQ(screen.pieChart(Kind::NetWorth)->numberOfRecords(), 3);
    EXPECT_EQ(labels(screen.slices(Kind::Assets)), (QStringList { u"$250-Cash"_s, u"$750-House"_s }));
    EXPECT_EQ(screen.pieChart(Kind::Liabilities)->slices().size(), 2);
    EXPECT_EQ(screen.pieChart(Kind::Assets)->slices()[1].label->text, u"$750-House"_s);

    // The label-type control writes its key and relabels the category pies.
    screen.amountDisplayMOdeCtl()->findChild<QAbstractButton*>(u"segment2"_s)->click();
    EXPECT_EQ(
        platform::UserDefaults(platform::UserDefaults::standardFilePath()).real(u"PieLabelType2"_s), 2.0);
    EXPECT_EQ(labels(screen.slices(Kind::Assets)), (QStringList { u"25%-Cash"_s, u"75%-House"_s }));
    EXPECT_EQ(labels(screen.slices(Kind::Liabilities)), (QStringList { u"80%-Loan"_s, u"20%-Card"_s }));

    PieChartSettings::setNameInLabel(false);
    platform::NotificationCenter::defaultCenter().post(notifications::pieChartSettingsChange);
    EXPECT_EQ(screen.pieChart(Kind::Assets)->slices()[0].label->text, u"25%"_s);

    // A new newest record with a negative net worth: two slices, at once.
    install(4000);
    platform::NotificationCenter::defaultCenter().post(notifications::dataReFetched);
    EXPECT_TRUE(screen.hasNegativeNW());
    EXPECT_EQ(screen.pieChart(Kind::NetWorth)->numberOfRecords(), 2);
    EXPECT_EQ(screen.slices(Kind::Liabilities).slices[0].label, u"98%"_s);

    // Radii follow the hosts on "BigPieChartViewResized".
    screen.resize(1200, 800);
    QApplication::processEvents();
    platform::NotificationCenter::defaultCenter().post(notifications::bigPieChartViewResized);
    const QSizeF area = screen.hostView(Kind::Assets)->hostedGraph()->plotAreaRect().size();
    const double side = std::min(area.width(), area.height());
    EXPECT_GT(side, 300);
    EXPECT_DOUBLE_EQ(screen.pieChart(Kind::Assets)->pieRadius(), side * 0.375);
    EXPECT_DOUBLE_EQ(screen.pieChart(Kind::Assets)->pieInnerRadius(), side * 0.375 / 2.5);
}

TEST_F(BigPieChartViewControllerTest, DragTurnsOnlyThePressedPie)
{
    install(400);
    BigPieChartViewController screen;
    show(screen);
    const double assets = screen.pieChart(Kind::Assets)->startAngle();
    const double liabilities = screen.pieChart(Kind::Liabilities)->startAngle();

    // From right of the centre to straight above it: a quarter turn.
    drag(screen.hostView(Kind::Assets), ringPoint(screen, Kind::Assets, 0),
        ringPoint(screen, Kind::Assets, pi / 2));
    EXPECT_NEAR(screen.pieChart(Kind::Assets)->startAngle(), assets + pi / 2, 1e-6);
    EXPECT_EQ(screen.pieChart(Kind::Liabilities)->startAngle(), liabilities);
    EXPECT_EQ(screen.currentPlot(), nullptr);

    // A drag over another screen's pie host turns none of these.
    RedavidGraphHost other;
    other.resize(screen.hostView(Kind::Assets)->size());
    auto* graph = new chart::Graph;
    graph->setPaddings(QMarginsF());
    other.setHostedGraph(graph);
    other.show();
    QApplication::processEvents();
    const double turned = screen.pieChart(Kind::Assets)->startAngle();
    drag(&other, ringPoint(screen, Kind::Assets, 0), ringPoint(screen, Kind::Assets, pi / 2));
    EXPECT_EQ(screen.pieChart(Kind::Assets)->startAngle(), turned);
    EXPECT_EQ(screen.pieChart(Kind::Liabilities)->startAngle(), liabilities);

    // A drag that starts in the hole turns nothing.
    const QPointF centre
        = screen.hostView(Kind::Liabilities)
              ->viewPointFromPlotArea(
                  QPointF(screen.hostView(Kind::Liabilities)->hostedGraph()->plotAreaRect().width() / 2,
                      screen.hostView(Kind::Liabilities)->hostedGraph()->plotAreaRect().height() / 2));
    drag(screen.hostView(Kind::Liabilities), centre, ringPoint(screen, Kind::Liabilities, pi / 2));
    EXPECT_EQ(screen.pieChart(Kind::Liabilities)->startAngle(), liabilities);
}

TEST_F(BigPieChartViewControllerTest, GesturesSliderPopupAndMenu)
{
    install(400);
    BigPieChartViewController screen;
    show(screen);
    const double netWorth = screen.pieChart(Kind::NetWorth)->startAngle();
    const double assets = screen.pieChart(Kind::Assets)->startAngle();
    const double liabilities = screen.pieChart(Kind::Liabilities)->startAngle();

    auto& center = platform::NotificationCenter::defaultCenter();
    center.post(notifications::pieRotationL, 90.0);
    EXPECT_NEAR(screen.pieChart(Kind::Liabilities)->startAngle(), liabilities + pi / 2, 1e-12);
    EXPECT_EQ(screen.pieChart(Kind::Assets)->startAngle(), assets);
    center.post(notifications::pieRotationA);
    EXPECT_EQ(screen.pieChart(Kind::Assets)->startAngle(), assets);
    // The dashboard's notification turns none of the full-window pies.
    center.post(notifications::pieRotation, 30.0);
    EXPECT_EQ(screen.pieChart(Kind::Assets)->startAngle(), assets);
    center.post(notifications::pieRotationNW, -45.0);
    EXPECT_NEAR(screen.pieChart(Kind::NetWorth)->startAngle(), netWorth - pi / 4, 1e-6);

    screen.rotationSliderCtl()->setValue(90);
    EXPECT_NEAR(screen.pieChart(Kind::Assets)->startAngle(), pi / 2, 1e-12);
    EXPECT_NEAR(screen.pieChart(Kind::Liabilities)->startAngle(), pi / 2, 1e-12);

    // A click on a slice shows its amount, share and name.
    const QPointF at = ringPoint(screen, Kind::Assets, pi / 2 - 0.05);
    mouse(screen.hostView(Kind::Assets), QEvent::MouseButtonPress, at, Qt::LeftButton);
    mouse(screen.hostView(Kind::Assets), QEvent::MouseButtonRelease, at, Qt::NoButton);
    PKPopoverController* popup = screen.pointAnnotationPopover();
    ASSERT_NE(popup, nullptr);
    const QString amount = popup->contentViewController()->findChild<QLabel*>(u"amountCtl"_s)->text();
    EXPECT_TRUE(amount == u"$250 (25%)"_s || amount == u"$750 (75%)"_s) << amount.toStdString();

    screen.menuButton()->click();
    ASSERT_NE(screen.menuPopover(), nullptr);
    EXPECT_TRUE(screen.menuPopover()->shown());
    screen.menuButton()->click();
    EXPECT_EQ(screen.menuPopover(), nullptr);
}

TEST_F(BigPieChartViewControllerTest, LabelsStayInsideTheirPaneAndThePieShrinksForThem)
{
    // Twenty categories with long names, seven-digit amounts: the household's own pie at the
    // window's default size.
    auto model = MVX_Model::makeEmpty();
    model->setBaseCurrency(u"USD"_s);
    MVX_CategoryList assets;
    std::vector<std::pair<QString, double>> values;
    for (int i = 0; i < 20; ++i) {
        const QString id = u"A%1"_s.arg(i);
        assets.append(category(id, u"Retirement account %1"_s.arg(i + 1)));
        values.emplace_back(id, 150000.0 + 10000.0 * i);
    }
    model->setAssetscat(assets);
    model->setLiabilitycat(MVX_CategoryList { category(u"LOAN"_s, u"Loan"_s) });
    model->setNwLogArray(MVX_NWLogList { recordWith(2025, 12, values, { { u"LOAN"_s, 280938 } }) });
    store().setAppData(model);

    BigPieChartViewController screen;
    show(screen);
    for (const int width : { 1200, 900 }) {
        screen.resize(width, 700);
        QApplication::processEvents();
        platform::NotificationCenter::defaultCenter().post(notifications::bigPieChartViewResized);
        for (const Kind kind : { Kind::NetWorth, Kind::Assets, Kind::Liabilities }) {
            chart::PieChart* pie = screen.pieChart(kind);
            const QSizeF area = screen.hostView(kind)->hostedGraph()->plotAreaRect().size();
            const double side = std::min(area.width(), area.height());
            const QFontMetricsF metrics(pie->slices().isEmpty() || !pie->slices()[0].label
                    ? QFont()
                    : pie->slices()[0].label->style.font());
            double widest = 0;
            for (const auto& slice : pie->slices())
                if (slice.label)
                    widest = std::max(widest, metrics.horizontalAdvance(slice.label->text));
            // A label runs outward along the radius from just beyond the rim.
            EXPECT_LE(pie->pieRadius() + pie->labelOffset() + widest, side / 2)
                << "pie " << int(kind) << " at width " << width;
            EXPECT_GE(pie->pieRadius(), side * 0.375 / 4) << "the pie keeps a quarter of its size";
        }
    }
    // The long labels made the asset pie smaller than the design's 0.375 of its side.
    const QSizeF area = screen.hostView(Kind::Assets)->hostedGraph()->plotAreaRect().size();
    EXPECT_LT(screen.pieChart(Kind::Assets)->pieRadius(), std::min(area.width(), area.height()) * 0.375);
}
