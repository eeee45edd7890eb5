#include "dashboard/bigpie/BigPieChartViewController.h"
#include "charts/common/RedavidGraphHost.h"
#include "charts/kit/Graph.h"
#include "charts/kit/GraphHostingView.h"
#include "charts/kit/PieChart.h"
#include "dashboard/common/BigPieChartView.h"
#include "dashboard/common/DashboardNotifications.h"
#include "dashboard/common/PieChartSettings.h"
#include "platform/Appearance.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"
#include "support/Contrast.h"
#include "support/Eventually.h"
#include "support/RecordBuilders.h"
#include "support/SharedStoreTest.h"
#include "uikit/controls/buttons/SegmentedControl.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainterPath>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include <limits>
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

// Fails for every two labels of `pie` that share area and for every label that reaches out of
// its plot area.
void expectLabelsApartAndInPane(const chart::PieChart& pie, const QRectF& pane, const char* when)
{
    const QList<chart::PieChart::LabelPlacement> placements = pie.labelPlacements();
    QList<QPainterPath> outlines;
    for (const auto& placement : placements) {
        EXPECT_TRUE(pane.adjusted(-1e-6, -1e-6, 1e-6, 1e-6).contains(placement.box.outline().boundingRect()))
            << when << ": label " << placement.recordIndex << " reaches out of its pane";
        QPainterPath outline;
        outline.addPolygon(placement.box.grown(-0.01).outline());
        outline.closeSubpath();
        outlines.append(outline);
    }
    for (qsizetype i = 0; i < outlines.size(); ++i)
        for (qsizetype j = i + 1; j < outlines.size(); ++j)
            EXPECT_FALSE(outlines[i].intersects(outlines[j]))
                << when << ": labels " << placements[i].recordIndex << " and " << placements[j].recordIndex
                << " overlap";
}

// Whether `pie`'s ring is painted all round in `host`: at twelve angles the middle of the ring
// stands out from the host's background.
bool ringDrawnAllRound(chart::GraphHostingView& host, const chart::PieChart& pie)
{
    const QImage image = host.viewport()->grab().toImage();
    const QSizeF area = host.hostedGraph()->plotAreaRect().size();
    const double r = (pie.pieRadius() + pie.pieInnerRadius()) / 2;
    const QColor background = image.pixelColor(2, 2);
    for (int k = 0; k < 12; ++k) {
        const double angle = 0.1 + k * pi / 6;
        const QPoint at = host.viewPointFromPlotArea(QPointF(area.width() / 2 + r * std::cos(angle),
                                                         area.height() / 2 + r * std::sin(angle)))
                              .toPoint();
        const QColor seen = image.pixelColor(at);
        if (std::abs(seen.red() - background.red()) + std::abs(seen.green() - background.green())
                + std::abs(seen.blue() - background.blue())
            < 30)
            return false;
    }
    return true;
}

class BigPieChartViewControllerTest : public SharedStoreTest {
protected:
    // Asset categories "Asset 1", "Asset 2", ... with these values, and one loan.
    void installAssets(const std::vector<double>& values)
    {
        auto model = MVX_Model::makeEmpty();
        model->setBaseCurrency(u"USD"_s);
        MVX_CategoryList assets;
        std::vector<std::pair<QString, double>> logs;
        for (std::size_t i = 0; i < values.size(); ++i) {
            const QString id = u"A%1"_s.arg(i);
            assets.append(category(id, u"Asset %1"_s.arg(i + 1)));
            logs.emplace_back(id, values[i]);
        }
        model->setAssetscat(assets);
        model->setLiabilitycat(MVX_CategoryList { category(u"LOAN"_s, u"Loan"_s) });
        model->setNwLogArray(MVX_NWLogList { recordWith(2025, 12, logs, { { u"LOAN"_s, 120000 } }) });
        store().setAppData(model);
    }

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
            const QRectF pane = screen.hostView(kind)->hostedGraph()->plotAreaRect();
            const double side = std::min(pane.width(), pane.height());
            const std::string when
                = "pie " + std::to_string(int(kind)) + " at width " + std::to_string(width);
            // The labels drawn stand beyond the rim, inside the pane; the pie keeps half of it.
            expectLabelsApartAndInPane(*pie, pane, when.c_str());
            EXPECT_FALSE(pie->labelPlacements().isEmpty()) << when;
            EXPECT_GE(pie->pieRadius(), side / 4) << when;
        }
    }
    // The long labels made the asset pie smaller than the design's 0.375 of its side.
    const QSizeF area = screen.hostView(Kind::Assets)->hostedGraph()->plotAreaRect().size();
    EXPECT_LT(screen.pieChart(Kind::Assets)->pieRadius(), std::min(area.width(), area.height()) * 0.375);
}

// The crowded pies of a household: twenty assets whose small and large values alternate, a
// hundred and fifty, and one of 1e15 beside nineteen ordinary ones. With amounts and with
// percentages, at two window sizes, no label is drawn over another or out of its pane, and the
// pie keeps half its pane.
TEST_F(BigPieChartViewControllerTest, CrowdedPiesDrawNoLabelOverAnotherNorOutOfTheirPane)
{
    std::vector<double> twenty;
    for (int i = 0; i < 20; ++i)
        twenty.push_back(i % 2 == 0 ? 1297.0 + 37 * i : 25134.0 - 211 * i);
    const std::vector<double> hundredFifty(150, 2500.0);
    std::vector<double> huge { 1e15 };
    for (int i = 1; i < 20; ++i)
        huge.push_back(1000.0 * i);
    for (const auto& [name, values] :
        { std::pair { "twenty", twenty }, std::pair { "150", hundredFifty }, std::pair { "1e15", huge } }) {
        installAssets(values);
        BigPieChartViewController screen;
        show(screen);
        for (const int segment : { 1, 2 }) {
            screen.amountDisplayMOdeCtl()->findChild<QAbstractButton*>(u"segment%1"_s.arg(segment))->click();
            for (const QSize size : { QSize(1200, 700), QSize(900, 560) }) {
                screen.resize(size);
                QApplication::processEvents();
                platform::NotificationCenter::defaultCenter().post(notifications::bigPieChartViewResized);
                const std::string when = std::string(name) + " with label type " + std::to_string(segment)
                    + " at " + std::to_string(size.width());
                chart::PieChart* pie = screen.pieChart(Kind::Assets);
                const QRectF pane = screen.hostView(Kind::Assets)->hostedGraph()->plotAreaRect();
                expectLabelsApartAndInPane(*pie, pane, when.c_str());
                EXPECT_FALSE(pie->labelPlacements().isEmpty()) << when;
                EXPECT_GE(pie->pieRadius(), std::min(pane.width(), pane.height()) / 4) << when;
                EXPECT_EQ(pie->slices().size(), qsizetype(values.size())) << when;
            }
        }
    }
}

// A slice whose label is left out keeps its colour, its click and its popup.
TEST_F(BigPieChartViewControllerTest, ASliceWithoutItsLabelKeepsItsFillAndPopup)
{
    installAssets(std::vector<double>(150, 2500.0));
    BigPieChartViewController screen;
    show(screen);
    chart::PieChart* pie = screen.pieChart(Kind::Assets);
    const QList<chart::PieChart::LabelPlacement> placements = pie->labelPlacements();
    ASSERT_LT(placements.size(), 150);
    int leftOut = 0;
    while (std::any_of(placements.begin(), placements.end(),
        [leftOut](const auto& placement) { return placement.recordIndex == leftOut; }))
        ++leftOut;
    const auto& slice = pie->slices()[leftOut];
    ASSERT_TRUE(slice.fill.has_value());
    EXPECT_EQ(*slice.fill, *screen.slices(Kind::Assets).slices[leftOut].fill);
    EXPECT_FALSE(slice.fill->isClear());

    // The middle of that slice's ring, clicked.
    const double middle = pie->startAngle() - (slice.startFraction + slice.fraction / 2) * 2 * pi;
    const QPointF at = ringPoint(screen, Kind::Assets, middle);
    mouse(screen.hostView(Kind::Assets), QEvent::MouseButtonPress, at, Qt::LeftButton);
    mouse(screen.hostView(Kind::Assets), QEvent::MouseButtonRelease, at, Qt::NoButton);
    PKPopoverController* popup = screen.pointAnnotationPopover();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->contentViewController()->findChild<QLabel*>(u"amountCtl"_s)->text(), u"$2,500 (1%)"_s);
    EXPECT_EQ(popup->contentViewController()->findChild<QLabel*>(u"monthCtl"_s)->text().trimmed(),
        u"Asset %1"_s.arg(leftOut + 1));
}

// The labels and titles read at 4.5:1 against the window in both appearances. In the dark one the pale
// slices stand out from the window at 3:1 or more; in the light one they keep the shading by
// transparency they have always had.
TEST_F(BigPieChartViewControllerTest, LabelsReadAndPaleSlicesShowInBothAppearances)
{
    std::vector<double> twenty;
    for (int i = 0; i < 20; ++i)
        twenty.push_back(1000.0 + 250 * i);
    installAssets(twenty);
    auto& appearance = platform::AppearanceController::instance();
    const platform::Appearance before = appearance.appearance();
    BigPieChartViewController screen;
    show(screen);
    for (const auto choice : { platform::Appearance::Light, platform::Appearance::Dark }) {
        appearance.setAppearance(choice);
        const bool dark = choice == platform::Appearance::Dark;
        const QColor window = QApplication::palette().color(QPalette::Window);
        for (const Kind kind : { Kind::NetWorth, Kind::Assets, Kind::Liabilities }) {
            const auto& label = screen.pieChart(kind)->slices().first().label;
            ASSERT_TRUE(label.has_value());
            EXPECT_GE(contrast(label->style.color, window), 4.5) << "pie " << int(kind) << " dark " << dark;
            EXPECT_GE(contrast(screen.hostView(kind)->hostedGraph()->titleTextStyle().color, window), 4.5)
                << "title " << int(kind) << " dark " << dark;
        }
        const auto& slices = screen.pieChart(Kind::Assets)->slices();
        ASSERT_EQ(slices.size(), 20);
        for (qsizetype k = 0; k < slices.size(); ++k) {
            ASSERT_TRUE(slices[k].fill && slices[k].fill->gradient());
            for (const auto& [position, color] : slices[k].fill->gradient()->stops()) {
                if (dark) {
                    EXPECT_GE(contrast(color, window), 3.0) << "slice " << k;
                } else {
                    EXPECT_NEAR(color.alphaF(), (k + 1) * 0.9 / 20 + 0.1, 1.0 / 255) << "slice " << k;
                }
            }
        }
        if (dark) {
            for (const auto& [position, color] :
                screen.pieChart(Kind::Liabilities)->slices()[0].fill->gradient()->stops())
                EXPECT_GE(contrast(color, window), 3.0);
        }
    }
    appearance.setAppearance(before);
}

// A household of one asset category, and one of 1e15 (and of 1e250, whose amount is too long for
// any room) beside nineteen: at the window's sizes and turned to each of eight directions, the
// pies keep the labels of their largest slices (the asset and liability pies' one slice, the
// large one; the net-worth pie's two halves), apart and in their panes.
TEST_F(BigPieChartViewControllerTest, TheLargestSlicesKeepTheirLabelsWhereverTheyPoint)
{
    std::vector<double> huge { 1e15 };
    for (int i = 1; i < 20; ++i)
        huge.push_back(1000.0 + 100 * i);
    std::vector<double> huger = huge;
    huger[0] = 1e250;
    for (const auto& [name, values] : { std::pair { "one category", std::vector<double> { 152000 } },
             std::pair { "1e15", huge }, std::pair { "1e250", huger } }) {
        installAssets(values);
        BigPieChartViewController screen;
        show(screen);
        chart::PieChart* netWorth = screen.pieChart(Kind::NetWorth);
        EXPECT_EVENTUALLY(std::abs(netWorth->startAngle() - pi / 2) < 1e-9);
        const bool one = values.size() == 1;
        const QList<std::pair<Kind, QList<int>>> kept { { Kind::Assets, { 0 } }, { Kind::Liabilities, { 0 } },
            { Kind::NetWorth, one ? QList<int> { 0, 1, 2 } : QList<int> { 1, 2 } } };
        for (const QSize size : { QSize(1200, 700), QSize(930, 600), QSize(730, 450) }) {
            screen.resize(size);
            QApplication::processEvents();
            platform::NotificationCenter::defaultCenter().post(notifications::bigPieChartViewResized);
            for (const auto& [kind, slices] : kept) {
                chart::PieChart* pie = screen.pieChart(kind);
                const QRectF pane = screen.hostView(kind)->hostedGraph()->plotAreaRect();
                for (int eighth = 0; eighth < 8; ++eighth) {
                    pie->setStartAngle(eighth * pi / 4);
                    const std::string when = std::string(name) + ", pie " + std::to_string(int(kind)) + " at "
                        + std::to_string(size.width()) + " turned " + std::to_string(eighth) + "/8";
                    expectLabelsApartAndInPane(*pie, pane, when.c_str());
                    const QList<chart::PieChart::LabelPlacement> placements = pie->labelPlacements();
                    for (const int slice : slices)
                        EXPECT_TRUE(std::any_of(placements.begin(), placements.end(),
                            [slice](const auto& placement) { return placement.recordIndex == slice; }))
                            << when << ": the label of slice " << slice << " is left out";
                }
            }
        }
    }
}

// Asset categories at the largest double, one beside a small one and two of them, whose sums are
// no double: every pie is drawn all round its ring, its slices in proportion, and no label reads
// as infinity or not-a-number, with amounts and with percentages.
TEST_F(BigPieChartViewControllerTest, PiesOfTheLargestDoubleAreDrawnAllRound)
{
    constexpr double most = std::numeric_limits<double>::max();
    for (const std::vector<double>& values :
        { std::vector<double> { most, 2500 }, std::vector<double> { most, most } }) {
        installAssets(values);
        // A data file holds no infinity: the totals stop at the largest double.
        const auto& record = store().appData()->nwLogArray()->first();
        record->setAssets(most);
        record->setNw(most);
        for (const auto style :
            { PieChartSettings::PieLabelType::Amount, PieChartSettings::PieLabelType::Percentage }) {
            SCOPED_TRACE(testing::Message() << values[1] << ", labels " << int(style));
            PieChartSettings::setBigPieLabelType(style);
            BigPieChartViewController screen;
            show(screen);
            EXPECT_EVENTUALLY(std::abs(screen.pieChart(Kind::NetWorth)->startAngle() - pi / 2) < 1e-9);
            for (const Kind kind : { Kind::NetWorth, Kind::Assets }) {
                SCOPED_TRACE(int(kind));
                const auto& slices = screen.pieChart(kind)->slices();
                double whole = 0.0;
                for (const auto& slice : slices)
                    whole += slice.fraction;
                EXPECT_NEAR(whole, 1.0, 1e-9);
                for (const auto& slice : screen.slices(kind).slices) {
                    EXPECT_FALSE(slice.label.contains(u"inf"_s, Qt::CaseInsensitive))
                        << slice.label.toStdString();
                    EXPECT_FALSE(slice.label.contains(u"nan"_s, Qt::CaseInsensitive))
                        << slice.label.toStdString();
                }
                EXPECT_EVENTUALLY(ringDrawnAllRound(*screen.hostView(kind), *screen.pieChart(kind)));
            }
            // Two slices of the largest double are halves, and say so.
            if (values[1] == most) {
                EXPECT_EQ(screen.pieChart(Kind::Assets)->slices()[0].fraction, 0.5);
                EXPECT_EQ(screen.slices(Kind::Assets).slices[0].percent, 50.0);
                EXPECT_EQ(screen.slices(Kind::Assets).slices[1].percent, 50.0);
            }
        }
    }
}
