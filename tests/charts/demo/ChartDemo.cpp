// Three charts on the chart layer, for the end-to-end check under a real X server: a line
// with an area fill and symbols (two years of months), bars with varying bases and a pie in
// the mouse-tracking host. A click on a symbol, a bar or a slice opens the value popup, as
// the chart screens do. The program prints what the script cannot see from outside: where to
// click and where the popup should point ("target <kind> <index> <x> <y> <anchor x> <anchor y>",
// screen coordinates) and each popup's texts and
// anchor ("popup <amount>|<caption> <x> <y>").
#include "charts/common/ChartNotifications.h"
#include "charts/common/RedavidGraphHost.h"
#include "charts/common/ValuePopup.h"
#include "charts/kit/Axis.h"
#include "charts/kit/BarPlot.h"
#include "charts/kit/PieChart.h"
#include "charts/kit/PlotSpace.h"
#include "charts/kit/ScatterPlot.h"
#include "platform/NotificationCenter.h"
#include "platform/YUpGeometry.h"
#include "uikit/popover/PKPopoverController.h"

#include <QApplication>
#include <QDate>
#include <QLabel>
#include <QLocale>
#include <QStyleFactory>
#include <QTimer>

#include <array>
#include <cmath>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;
using namespace chart;

namespace {

constexpr int kMonths = 24; // January 2024 to December 2025
constexpr std::array<double, 6> kBarBases { 0, 120, 80, 200, 150, 260 };
constexpr std::array<double, 6> kBarTips { 120, 80, 200, 150, 260, 310 };
constexpr std::array<double, 4> kSlices { 40, 30, 20, 10 };
const std::array<QString, 4> kSliceNames { u"Cash"_s, u"Home"_s, u"Funds"_s, u"Car"_s };

double monthValue(int index)
{
    return 1000.0 + index * 50.0 + 200.0 * std::sin(index / 3.0);
}

QString money(double value)
{
    return QLocale(QLocale::English, QLocale::UnitedStates).toCurrencyString(value, u"$"_s, 0);
}

class ChartDemo : public QWidget, PlotDataSource, PlotDelegate {
public:
    ChartDemo()
    {
        setWindowTitle(u"Mervane Chart Demo"_s);
        setFixedSize(1200, 800);
        setAutoFillBackground(true);
        m_lineHost = new GraphHostingView(this);
        m_lineHost->setGeometry(0, 0, 1200, 400);
        m_barHost = new GraphHostingView(this);
        m_barHost->setGeometry(0, 400, 600, 400);
        m_pieHost = new RedavidGraphHost(this);
        m_pieHost->setGeometry(600, 400, 600, 400);
        buildLineChart();
        buildBarChart();
        buildPieChart();
        platform::NotificationCenter::defaultCenter().addObserver(
            this, notifications::redavidMouseHit,
            [this](const platform::Notification& hit) {
                m_lastPieMouse = QPointF(hit.userInfo.value(notifications::mouseHitXKey).toDouble(),
                    hit.userInfo.value(notifications::mouseHitYKey).toDouble());
            },
            QVariant::fromValue<QObject*>(m_pieHost));
    }

    // Where to click each kind of element, once the window is on the screen.
    void printTargets()
    {
        // The point to click, then the point the popup should point at.
        const auto print = [](const char* kind, int index, const QPoint& click, const QPoint& anchor) {
            std::printf(
                "target %s %d %d %d %d %d\n", kind, index, click.x(), click.y(), anchor.x(), anchor.y());
        };
        const PlotSpace* lineSpace = m_lineHost->hostedGraph()->defaultPlotSpace();
        const QPointF symbol = lineSpace->graphPointForPlotPoint(kSymbolIndex, monthValue(kSymbolIndex));
        const QPoint symbolOnScreen = m_lineHost->mapToGlobal(symbol.toPoint());
        print("symbol", kSymbolIndex, symbolOnScreen, symbolOnScreen);
        const QRectF bar = m_bars->barRect(kBarIndex);
        print("bar", kBarIndex, m_barHost->mapToGlobal(bar.center().toPoint()),
            m_barHost->mapToGlobal(QPointF(bar.center().x(), bar.top()).toPoint()));
        // The middle of the second slice, halfway out.
        const double middle = M_PI / 2 - 2 * M_PI * (0.4 + 0.15);
        const QPointF slice = m_pie->centerInGraph()
            + QPointF(std::cos(middle), -std::sin(middle)) * m_pie->pieRadius() * 0.6;
        const QPoint sliceOnScreen = m_pieHost->mapToGlobal(slice.toPoint());
        print("slice", 1, sliceOnScreen, sliceOnScreen);
        std::fflush(stdout);
    }

private:
    static constexpr int kSymbolIndex = 17; // June 2025
    static constexpr int kBarIndex = 3;

    int numberOfRecordsForPlot(Plot* plot) override
    {
        if (plot == m_pie)
            return static_cast<int>(kSlices.size());
        return plot == m_bars ? static_cast<int>(kBarTips.size()) : kMonths;
    }

    std::optional<double> numberForPlot(Plot* plot, PlotField field, int index) override
    {
        if (plot == m_pie)
            return kSlices[index];
        if (plot == m_bars) {
            if (field == PlotField::BarLocation)
                return index + 1;
            return field == PlotField::BarBase ? kBarBases[index] : kBarTips[index];
        }
        return field == PlotField::X ? index : monthValue(index);
    }

    std::optional<DataLabel> dataLabelForPlot(Plot* plot, int index) override
    {
        if (plot != m_pie)
            return std::nullopt;
        TextStyle style;
        style.color = QColor(0x33, 0x33, 0x33);
        style.fontName = u"Helvetica Neue"_s;
        style.fontSize = 12;
        return DataLabel { kSliceNames[index], style };
    }

    std::optional<Fill> sliceFillForPieChart(PieChart*, int index) override
    {
        const QColor color = QColor::fromHsv(90 + index * 60, 150, 220);
        return Fill(Gradient::withColors(color, color.darker(125), -30));
    }

    void plotSymbolWasSelected(ScatterPlot*, int index) override
    {
        const QPointF view
            = m_lineHost->hostedGraph()->defaultPlotSpace()->graphPointForPlotPoint(index, monthValue(index));
        const QDate month = QDate(2024, 1, 1).addMonths(index);
        showPopup(m_lineHost->mapTo(this, view),
            ValuePopup::MonthPoint {
                money(monthValue(index)), month.year(), month.month(), QColor(0x1E, 0x88, 0xE5) });
    }

    void barWasSelected(BarPlot*, int index) override
    {
        const QRectF bar = m_bars->barRect(index);
        showPopup(m_barHost->mapTo(this, QPointF(bar.center().x(), bar.top())),
            ValuePopup::Texts { money(kBarTips[index] - kBarBases[index]), u"Step %1"_s.arg(index + 1),
                QString(), QColor(0x43, 0xA0, 0x47) });
    }

    void sliceWasSelected(PieChart*, int index) override
    {
        const QPointF view = m_pieHost->viewPointFromPlotArea(m_lastPieMouse);
        showPopup(m_pieHost->mapTo(this, view),
            ValuePopup::Texts {
                u"%1%"_s.arg(kSlices[index]), kSliceNames[index], QString(), QColor(0xE5, 0x39, 0x35) });
    }

    template <typename Values> void showPopup(const QPointF& anchorInDemo, const Values& values)
    {
        const QPointF anchorYUp = platform::toYUp(anchorInDemo, height());
        PKPopoverController* popover = ValuePopup::show(m_popover, this, anchorYUp, values, false);
        QTimer::singleShot(0, this, [this, popover, anchorInDemo] {
            if (!popover || popover != m_popover)
                return;
            const QList<QLabel*> labels = popover->contentViewController()->findChildren<QLabel*>();
            QStringList texts;
            for (const QLabel* label : labels)
                texts << label->text();
            const QPoint global = mapToGlobal(anchorInDemo.toPoint());
            std::printf("popup %s %d %d\n", qPrintable(texts.join(u'|')), global.x(), global.y());
            std::fflush(stdout);
        });
    }

    void buildLineChart()
    {
        auto* graph = new Graph(QRectF(0, 0, 1200, 400));
        graph->setPaddings(QMarginsF(60, 20, 20, 40));
        graph->defaultPlotSpace()->setXRange(PlotRange::withLocation(-0.5, kMonths));
        graph->defaultPlotSpace()->setYRange(PlotRange::withLocation(0, 2500));
        auto* line = new ScatterPlot;
        line->setDataLineStyle(LineStyle { 2.0, QColor(0x1E, 0x88, 0xE5), {} });
        line->setAreaFill(
            Fill(Gradient::withColors(QColor(0x1E, 0x88, 0xE5, 110), QColor(0x1E, 0x88, 0xE5, 10), -90)));
        line->setAreaBaseValue(0);
        PlotSymbol symbol = PlotSymbol::ellipse();
        symbol.size = QSizeF(10, 10);
        symbol.fill = Fill(QColor(Qt::white));
        symbol.lineStyle = LineStyle { 2.0, QColor(0x1E, 0x88, 0xE5), {} };
        line->setPlotSymbol(symbol);
        line->setPlotSymbolMarginForHitDetection(5);
        line->setDataSource(this);
        line->setDelegate(this);
        graph->addPlot(line);
        QList<AxisLabel> months;
        QList<double> ticks;
        TextStyle labelStyle;
        labelStyle.color = QColor(0x66, 0x66, 0x66);
        labelStyle.fontName = u"Helvetica Neue"_s;
        labelStyle.fontSize = 11;
        for (int index = 0; index < kMonths; index += 6) {
            const QDate month = QDate(2024, 1, 1).addMonths(index);
            months << AxisLabel { QLocale(QLocale::English).toString(month, u"MMM yyyy"_s), labelStyle,
                double(index), 6.0, Alignment::Center, std::nullopt };
            ticks << index;
        }
        Axis* x = graph->axisSet()->xAxis();
        x->setTickDirection(TickDirection::Negative);
        x->setAxisLabels(months);
        x->setMajorTickLocations(ticks);
        QList<AxisLabel> amounts;
        QList<double> levels;
        for (int amount = 0; amount <= 2500; amount += 500) {
            amounts << AxisLabel { money(amount), labelStyle, double(amount), 12.0, Alignment::Right,
                std::nullopt };
            levels << amount;
        }
        Axis* y = graph->axisSet()->yAxis();
        y->setTickDirection(TickDirection::Negative);
        y->setAxisLabels(amounts);
        y->setMajorTickLocations(levels);
        y->setMajorGridLineStyle(LineStyle { 0.5, QColor(0, 0, 0, 40), {} });
        m_lineHost->setHostedGraph(graph);
    }

    void buildBarChart()
    {
        auto* graph = new Graph(QRectF(0, 0, 600, 400));
        graph->setPaddings(QMarginsF(20, 20, 20, 20));
        graph->setAxisSet(nullptr);
        graph->defaultPlotSpace()->setXRange(PlotRange::withLocation(0, 7));
        graph->defaultPlotSpace()->setYRange(PlotRange::withLocation(0, 350));
        m_bars = BarPlot::tubularBarPlotWithColor(QColor(0x43, 0xA0, 0x47), false);
        m_bars->setBarWidth(0.6);
        m_bars->setBarCornerRadius(3);
        m_bars->setBarBasesVary(true);
        m_bars->setDataSource(this);
        m_bars->setDelegate(this);
        graph->addPlot(m_bars);
        m_barHost->setHostedGraph(graph);
    }

    void buildPieChart()
    {
        auto* graph = new Graph(QRectF(0, 0, 600, 400));
        graph->setAxisSet(nullptr);
        m_pie = new PieChart;
        m_pie->setPieRadius(130);
        m_pie->setPieInnerRadius(40);
        m_pie->setLabelOffset(6);
        m_pie->setLabelRotationRelativeToRadius(true);
        m_pie->setLabelShadow(Shadow { QPointF(1, -1), 0, QColor(255, 255, 255, 64) });
        m_pie->setOverlayFill(
            Fill(Gradient::radial({ { 0.97, QColor(0, 0, 0, 0) }, { 1.0, QColor(0, 0, 0, 77) } })));
        m_pie->setDataSource(this);
        m_pie->setDelegate(this);
        graph->addPlot(m_pie);
        m_pieHost->setHostedGraph(graph);
    }

    GraphHostingView* m_lineHost = nullptr;
    GraphHostingView* m_barHost = nullptr;
    RedavidGraphHost* m_pieHost = nullptr;
    BarPlot* m_bars = nullptr;
    PieChart* m_pie = nullptr;
    QPointF m_lastPieMouse;
    QPointer<PKPopoverController> m_popover;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(u"Fusion"_s));
    ChartDemo demo;
    demo.move(100, 50);
    demo.show();
    QTimer::singleShot(300, &demo, [&demo] { demo.printTargets(); });
    return app.exec();
}
