#include "ChartKitEdgeValues.h"

#include "charts/kit/Axis.h"
#include "charts/kit/GraphHostingView.h"
#include "charts/kit/PlotSpace.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace chart;
using namespace charttest;

namespace {

QString traced(double value)
{
    return QString::number(value, 'g', 17);
}

TEST(ChartKitSweep, AGraphKeepsItsGeometryDrawableForEveryEdgeValue)
{
    QImage tile(4, 4, QImage::Format_ARGB32_Premultiplied);
    tile.fill(Qt::darkGreen);
    for (const double v : edgeValues()) {
        SCOPED_TRACE(traced(v).toStdString());
        Graph graph(QRectF(v, v, v, v));
        EXPECT_TRUE(isDrawable(graph.bounds()));
        graph.setBounds(QRectF(0, 0, v, v));
        EXPECT_TRUE(isDrawable(graph.bounds()));
        graph.setPaddings(QMarginsF(v, v, v, v));
        graph.setPlotAreaFramePaddings(QMarginsF(v, -v, v, -v));
        EXPECT_TRUE(isDrawable(graph.plotAreaFrameRect()));
        EXPECT_TRUE(isDrawable(graph.plotAreaRect()));
        graph.setTitleDisplacement(QPointF(v, -v));
        EXPECT_TRUE(isDrawable(graph.titleDisplacement()));

        TextStyle style;
        style.fontSize = v;
        EXPECT_GE(style.font().pixelSize(), 1);
        EXPECT_LE(style.font().pixelSize(), maximumFontSize);
        graph.setTitleTextStyle(style);
        for (const QString& text : edgeTexts()) {
            graph.setTitle(text);
            EXPECT_TRUE(isBoundedLabel(graph.title()));
            TextStyle named = style;
            named.fontName = text;
            graph.setTitleTextStyle(named);
            EXPECT_FALSE(paintedAtSmallSize(graph).isNull());
        }
        EXPECT_TRUE(graph.title().startsWith(longText().left(100)));
        graph.setTitlePlotAreaFrameAnchor(RectAnchor::BottomRight);
        graph.setTitlePlotAreaFrameAnchor(static_cast<RectAnchor>(99));
        graph.setTitlePlotAreaFrameAnchor(static_cast<RectAnchor>(-1));
        EXPECT_EQ(graph.titlePlotAreaFrameAnchor(), RectAnchor::BottomRight);

        LineStyle border;
        border.lineWidth = v;
        border.dashPattern = { v, 1e-9, v };
        EXPECT_LE(border.pen().widthF(), maximumLineWidth);
        graph.setPlotAreaFrameBorderLineStyle(border);
        graph.setFill(Fill(Gradient::withColors(Qt::red, Qt::blue, v).addColorStop(Qt::green, v)));
        graph.setPlotAreaFrameFill(Fill::withImage(tile, Fill::ImageMode::Tiled, v));

        const QRectF bounds = graph.bounds();
        const QImage small = paintedAtSmallSize(graph);
        EXPECT_EQ(small.size(), QSize(320, 240));
        EXPECT_EQ(graph.bounds(), bounds) << "the graph takes its own size again";
        const QImage sized = graph.imageOfLayer(QSizeF(v, v), v);
        EXPECT_LE(qint64(sized.width()) * sized.height(), maximumImagePixels);
        QImage page(200, 100, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&page);
        graph.render(&painter, QRectF(v, v, v, v));
        EXPECT_EQ(graph.bounds(), bounds);
    }
}

TEST(ChartKitSweep, ConversionsBetweenDataGraphAndViewGiveValuesThatFitAnInt)
{
    GraphHostingView view;
    view.resize(400, 300);
    auto* graph = new Graph;
    view.setHostedGraph(graph);
    PlotSpace* space = graph->defaultPlotSpace();
    for (const double range : edgeValues()) {
        SCOPED_TRACE(traced(range).toStdString());
        space->setXRange(PlotRange::withLocation(0, 10));
        space->setXRange(PlotRange::withLocation(range, range));
        space->setYRange(PlotRange::withLocation(range, -range));
        space->setGlobalXRange(PlotRange::withLocation(-range, range));
        space->displaceBy(QPointF(range, range));
        EXPECT_TRUE(space->xRange().isFinite());
        EXPECT_TRUE(space->yRange().isFinite());
        for (const double v : edgeValues()) {
            SCOPED_TRACE(traced(v).toStdString());
            const QPointF point(v, -v);
            EXPECT_TRUE(isDrawable(space->graphXForPlotX(v)));
            EXPECT_TRUE(isDrawable(space->graphYForPlotY(v)));
            EXPECT_TRUE(isDrawable(space->graphPointForPlotPoint(v, v)));
            EXPECT_TRUE(isDrawable(space->plotAreaViewPointForPlotPoint(point)));
            const QPointF data = space->plotPointForPlotAreaViewPoint(point);
            EXPECT_TRUE(std::isfinite(data.x()) && std::isfinite(data.y()));
            // Casts as the screens make them, for the sanitizer to see.
            EXPECT_TRUE(isDrawable(QPointF(view.plotAreaPointFromView(point).toPoint())));
            EXPECT_TRUE(isDrawable(QPointF(view.viewPointFromPlotArea(point).toPoint())));
        }
        space->setGlobalXRange(std::nullopt);
    }
    // Ranges that end beyond the largest double are refused; the previous range stays.
    space->setXRange(PlotRange::withLocation(0, 10));
    space->setXRange(PlotRange::withLocation(DBL_MAX, DBL_MAX));
    EXPECT_EQ(space->xRange(), PlotRange::withLocation(0, 10));
    // Rounding at the edge of a huge global range must not trip the standard library's checks.
    for (const double a : edgeValues()) {
        for (const double b : edgeValues())
            (void)PlotRange::withLocation(a, b).constrainedTo(PlotRange::withLocation(b, a - b));
    }
}

TEST(ChartKitSweep, AxesTakeEveryEdgeValueAndBoundTheirLabels)
{
    AxisLabel label;
    label.text = longText();
    QList<AxisLabel> manyLabels(maximumAxisLabels + 500, label);
    for (qsizetype i = 0; i < manyLabels.size(); ++i)
        manyLabels[i].tickLocation = double(i); // eleven in view
    for (const double v : edgeValues()) {
        SCOPED_TRACE(traced(v).toStdString());
        Graph graph(QRectF(0, 0, 400, 300));
        graph.defaultPlotSpace()->setXRange(PlotRange::withLocation(0, 10));
        graph.defaultPlotSpace()->setYRange(PlotRange::withLocation(0, 10));
        for (Axis* axis : { graph.axisSet()->xAxis(), graph.axisSet()->yAxis() }) {
            axis->setTitle(longText());
            axis->setTitleOffset(v);
            axis->setMajorTickLength(v);
            axis->setMinorTickLength(v);
            axis->setLabelOffset(v);
            axis->setTickDirection(TickDirection::Positive);
            axis->setTickDirection(static_cast<TickDirection>(7));
            LineStyle style;
            style.lineWidth = v;
            style.dashPattern = { v };
            axis->setAxisLineStyle(style);
            axis->setMajorTickLineStyle(style);
            axis->setMinorTickLineStyle(style);
            axis->setMajorGridLineStyle(style);
            axis->setMinorGridLineStyle(style);
            axis->setVisibleRange(PlotRange::withLocation(v, v));
            axis->setLabelShadow(Shadow { QPointF(v, v), v, Qt::gray });
            QList<AxisLabel> labels = manyLabels;
            for (qsizetype i = 0; i < 20; ++i) {
                labels[i].offset = v;
                labels[i].rotation = v;
                labels[i].alignment = static_cast<Alignment>(42);
                if (i < 3) // large type takes its time; three labels show it is bounded
                    labels[i].textStyle.fontSize = v;
            }
            labels[3].tickLocation = v;
            axis->setAxisLabels(labels);
            axis->setMajorTickLocations(QList<double>(maximumAxisLocations + 10, v) + QList<double> { 1, 2 });
            axis->setMinorTickLocations(edgeValues());
            if (axis == graph.axisSet()->xAxis())
                axis->setConstraintWithLowerOffset(v);
            else
                axis->setOrthogonalPosition(v);

            EXPECT_TRUE(isDrawable(axis->titleOffset()));
            EXPECT_TRUE(isDrawable(axis->majorTickLength()) && axis->majorTickLength() >= 0);
            EXPECT_TRUE(isDrawable(axis->minorTickLength()) && axis->minorTickLength() >= 0);
            EXPECT_TRUE(isDrawable(axis->labelOffset()));
            EXPECT_TRUE(isDrawable(axis->labelShadow()->offset));
            EXPECT_EQ(axis->tickDirection(), TickDirection::Positive);
            EXPECT_TRUE(!axis->visibleRange() || axis->visibleRange()->isFinite());
            EXPECT_TRUE(isBoundedLabel(axis->title()));
            EXPECT_EQ(axis->axisLabels().size(), maximumAxisLabels);
            EXPECT_EQ(axis->majorTickLocations().size(), maximumAxisLocations);
            for (const AxisLabel& kept : axis->axisLabels().first(20)) {
                EXPECT_TRUE(isBoundedLabel(kept.text));
                EXPECT_TRUE(isDrawable(kept.offset));
                EXPECT_TRUE(!kept.rotation || std::isfinite(*kept.rotation));
                EXPECT_EQ(kept.alignment, Alignment::Center);
            }
            if (const auto offset = axis->lowerOffset()) {
                EXPECT_TRUE(isDrawable(*offset));
            }
        }
        EXPECT_FALSE(graph.imageOfLayer().isNull());
    }
}

} // namespace
