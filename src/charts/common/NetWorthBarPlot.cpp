#include "charts/common/NetWorthBarPlot.h"

#include "charts/kit/BarPlot.h"

chart::BarPlot* newNetWorthBarPlot(const QString& identifier, double barWidth)
{
    chart::BarPlot* plot = chart::BarPlot::tubularBarPlotWithColor(Qt::blue, false);
    plot->setIdentifier(identifier);
    plot->setLineStyle(chart::LineStyle { 2.0, QColor::fromRgbF(0.28f, 0.66f, 0.99f, 0.5f), {} });
    plot->setFill(chart::Fill(QColor::fromRgbF(0.35f, 0.81f, 0.99f, 0.6f)));
    plot->setBarBasesVary(false);
    plot->setBaseValue(0);
    plot->setBarWidth(barWidth);
    plot->setBarCornerRadius(2);
    plot->setBarsAreHorizontal(false);
    return plot;
}
