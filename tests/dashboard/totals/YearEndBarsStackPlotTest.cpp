// The stacked year-end bars drawn by one plot against the same stacks drawn as one bar plot per
// category, stacked through `YearEndBars::segment` as the dashboard drew them before: the same
// segments, the same pixels, the same segment under every click.
#include "dashboard/totals/YearEndBarsStackPlot.h"

#include "charts/kit/BarPlot.h"
#include "charts/kit/Graph.h"
#include "charts/kit/PlotDataSource.h"
#include "charts/kit/PlotSpace.h"
#include "dashboard/totals/YearEndBars.h"
#include "model/data/MVX_Category.h"
#include "model/data/MVX_CategoryLog.h"
#include "model/queries/ModelBuilders.h"
#include "support/RecordBuilders.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

// Five asset categories and two liabilities over three year-ends: values stored out of list
// order, a category without a value one year, a value of a category deleted since, a category
// with two values in one record (the first counts), a sliver of a value and one below zero.
std::shared_ptr<MVX_Model> household()
{
    auto model = MVX_Model::makeEmpty();
    model->setBaseCurrency(u"USD"_s);
    MVX_CategoryList assets;
    for (const QString& id : { u"CASH"_s, u"HOUSE"_s, u"CAR"_s, u"FUND"_s, u"COINS"_s })
        assets.append(makeCategory(id, id.toLower()));
    model->setAssetscat(assets);
    model->setLiabilitycat(
        MVX_CategoryList { makeCategory(u"LOAN"_s, u"Loan"_s), makeCategory(u"CARD"_s, u"Card"_s) });
    model->setNwLogArray(MVX_NWLogList {
        recordWith(2024, 12,
            { { u"FUND"_s, 3000 }, { u"CASH"_s, 1200 }, { u"HOUSE"_s, 9000 }, { u"COINS"_s, 3 } },
            { { u"CARD"_s, 900 }, { u"LOAN"_s, 7000 } }),
        recordWith(2023, 12,
            { { u"CASH"_s, 800 }, { u"GONE"_s, 1500 }, { u"HOUSE"_s, 8500 }, { u"CAR"_s, 2000 },
                { u"CAR"_s, 9999 } },
            { { u"LOAN"_s, 7500 }, { u"OLD"_s, 300 } }),
        recordWith(2022, 12, { { u"HOUSE"_s, 8000 }, { u"CAR"_s, -400 }, { u"CASH"_s, 500 } },
            { { u"LOAN"_s, 8000 } }),
    });
    return model;
}

QStringList identifiersOf(
    const MVX_CategoryList& categories, const QList<YearEndBars::YearEnd>& shown, int type)
{
    QStringList identifiers;
    for (const auto& category : categories)
        identifiers.append(category->ID());
    for (const auto& end : shown)
        if (type == 1 ? end.hasUnknownAssets : end.hasUnknownLiabilities) {
            identifiers.append(YearEndBars::unknownCategoryIdentifier);
            break;
        }
    return identifiers;
}

QColor colorOf(qsizetype category)
{
    return QColor::fromHsv(int(category * 47 % 360), 180, 200);
}

const chart::LineStyle outline { 1.0, QColor::fromRgbF(0.6f, 0.6f, 0.6f, 0.5f), {} };

// One bar plot per category, each asking `segment` for its bars; records beyond the year-ends
// are 0 in every field.
class PerCategorySource : public chart::PlotDataSource {
public:
    PerCategorySource(const QList<YearEndBars::YearEnd>& shown, int type) : m_shown(shown), m_type(type) { }
    int numberOfRecordsForPlot(chart::Plot*) override { return YearEndBars::visibleBars; }
    std::optional<double> numberForPlot(chart::Plot* plot, chart::PlotField field, int index) override
    {
        if (index >= m_shown.size())
            return 0.0;
        const auto bars = static_cast<chart::BarPlot*>(plot);
        const auto segment
            = YearEndBars::segment(m_shown[index], m_type, plot->identifier(), bars->barBasesVary());
        switch (field) {
        case chart::PlotField::BarLocation:
            return double(index);
        case chart::PlotField::BarTip:
            return segment.tip;
        case chart::PlotField::BarBase:
            return segment.base;
        }
        return 0.0;
    }

private:
    QList<YearEndBars::YearEnd> m_shown;
    int m_type;
};

void frame(chart::Graph& graph, double low, double high)
{
    graph.setPaddings(QMarginsF(10, 10, 10, 10));
    graph.setAxisSet(nullptr);
    graph.defaultPlotSpace()->setXRange(YearEndBars::slotRange());
    graph.defaultPlotSpace()->setYRange(chart::PlotRange::withLocation(low, high - low));
}

// No channel of any pixel further apart than antialiasing's rounding.
testing::AssertionResult alike(const QImage& old, const QImage& now)
{
    if (old.isNull() || old.size() != now.size())
        return testing::AssertionFailure() << "sizes differ";
    int differing = 0;
    int worst = 0;
    for (int y = 0; y < old.height(); ++y)
        for (int x = 0; x < old.width(); ++x) {
            const QRgb a = old.pixel(x, y);
            const QRgb b = now.pixel(x, y);
            const int d = std::max({ std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b)) });
            worst = std::max(worst, d);
            differing += d > 0 ? 1 : 0;
        }
    if (worst > 4)
        return testing::AssertionFailure() << differing << " pixels differ, by up to " << worst;
    return testing::AssertionSuccess();
}

QImage scaledRender(chart::Graph& graph)
{
    QImage image((graph.bounds().size() * 1.5).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHints(chart::Graph::renderHints);
    painter.scale(1.5, 1.5);
    graph.render(&painter, graph.bounds());
    return image;
}

TEST(YearEndBarsStackPlot, DrawsAndHitsEverySegmentAsOneBarPlotPerCategoryDid)
{
    const auto model = household();
    const auto shown = YearEndBars::visibleYearEnds(*model);
    ASSERT_EQ(shown.size(), 3);
    for (const int type : { 1, 2 }) {
        SCOPED_TRACE(type == 1 ? "assets" : "liabilities");
        const QStringList identifiers
            = identifiersOf(type == 1 ? *model->assetscat() : *model->liabilitycat(), shown, type);
        QList<QColor> colors;
        for (qsizetype i = 0; i < identifiers.size(); ++i)
            colors.append(colorOf(i));
        const double high = 18000;
        const double low = -1000;

        chart::Graph before(QRectF(0, 0, 420, 260));
        frame(before, low, high);
        PerCategorySource source(shown, type);
        for (qsizetype i = 0; i < identifiers.size(); ++i) {
            auto* plot = chart::BarPlot::tubularBarPlotWithColor(Qt::gray, false);
            plot->setIdentifier(identifiers[i]);
            plot->setFill(chart::Fill(colors[i]));
            plot->setLineStyle(outline);
            plot->setBarWidth(YearEndBars::barWidth);
            plot->setBarCornerRadius(0);
            plot->setBaseValue(0);
            plot->setBarBasesVary(i > 0);
            plot->setDataSource(&source);
            before.addPlot(plot);
        }

        chart::Graph after(QRectF(0, 0, 420, 260));
        frame(after, low, high);
        auto* stacks = new YearEndBarsStackPlot(identifiers, colors,
            [&shown, type](const QStringList& ids) { return YearEndBars::stacks(shown, type, ids); });
        stacks->setLineStyle(outline);
        stacks->setBarWidth(YearEndBars::barWidth);
        after.addPlot(stacks);
        ASSERT_EQ(stacks->yearEndCount(), 3);

        // The same numbers for every segment.
        for (qsizetype i = 0; i < identifiers.size(); ++i) {
            const auto& bars = static_cast<chart::BarPlot*>(before.allPlots()[i])->bars();
            for (int slot = 0; slot < 3; ++slot) {
                SCOPED_TRACE(identifiers[i].toStdString() + " in slot " + std::to_string(slot));
                const auto segment = stacks->segment(int(i), slot);
                ASSERT_TRUE(segment);
                EXPECT_EQ(segment->base, bars[slot].base);
                EXPECT_EQ(segment->tip, bars[slot].tip);
                EXPECT_EQ(stacks->segmentRect(int(i), slot),
                    static_cast<chart::BarPlot*>(before.allPlots()[i])->barRect(slot));
            }
        }

        // The same picture, up to the rounding of antialiased edges: on the screen's pixels, at
        // twice them as printed, and through a painter that scales.
        EXPECT_TRUE(alike(before.imageOfLayer(), after.imageOfLayer()));
        EXPECT_TRUE(alike(before.imageOfLayer(before.bounds().size(), 2.0),
            after.imageOfLayer(after.bounds().size(), 2.0)));
        EXPECT_TRUE(alike(scaledRender(before), scaledRender(after)));

        // Every point of the plot area hits the segment the topmost bar plot had there.
        int hits = 0;
        for (int y = 0; y < 260; y += 2)
            for (int x = 0; x < 420; x += 3) {
                const QPointF point(x + 0.5, y + 0.5);
                QString oldId;
                int oldSlot = -1;
                const auto plots = before.allPlots();
                for (auto it = plots.crbegin(); it != plots.crend() && oldSlot < 0; ++it) {
                    oldSlot = (*it)->recordIndexAtGraphPoint(point);
                    oldId = (*it)->identifier();
                }
                const int record = stacks->recordIndexAtGraphPoint(point);
                if (oldSlot < 0) {
                    EXPECT_EQ(record, -1) << x << ", " << y;
                    continue;
                }
                ++hits;
                ASSERT_GE(record, 0) << x << ", " << y;
                EXPECT_EQ(identifiers.value(record / stacks->yearEndCount()), oldId) << x << ", " << y;
                EXPECT_EQ(record % stacks->yearEndCount(), oldSlot) << x << ", " << y;
            }
        EXPECT_GT(hits, 100);
    }
}

TEST(YearEndBarsStackPlot, ASelectedSegmentIsToldByCategoryAndSlot)
{
    const auto model = household();
    const auto shown = YearEndBars::visibleYearEnds(*model);
    const QStringList identifiers { u"CASH"_s, u"HOUSE"_s };
    chart::Graph graph(QRectF(0, 0, 420, 260));
    frame(graph, -1000, 18000);
    auto* stacks = new YearEndBarsStackPlot(identifiers, { Qt::red, Qt::blue },
        [&shown](const QStringList& ids) { return YearEndBars::stacks(shown, 1, ids); });
    graph.addPlot(stacks);
    QList<std::pair<int, int>> told;
    QObject::connect(stacks, &YearEndBarsStackPlot::segmentSelected, [&told](int category, int slot) {
        told.append({ category, slot });
    });
    const int house2023 = stacks->recordIndexAtGraphPoint(stacks->segmentRect(1, 1).center());
    EXPECT_EQ(house2023, 1 * 3 + 1);
    stacks->recordWasSelected(house2023);
    stacks->recordWasSelected(6); // beyond the segments
    EXPECT_EQ(told, (QList<std::pair<int, int>> { { 1, 1 } }));
    EXPECT_FALSE(stacks->segment(2, 0));
    EXPECT_FALSE(stacks->segment(0, 3));
    EXPECT_TRUE(stacks->segmentRect(0, 3).isEmpty());

    // Narrowed, the house's segments reach past the top of the plot area: a click in the margin
    // above it hits nothing, one just inside the area still hits it.
    graph.defaultPlotSpace()->setYRange(chart::PlotRange::withLocation(-1000, 5000));
    const QRectF area = graph.plotAreaRect();
    const QRectF house = stacks->segmentRect(1, 1);
    ASSERT_LT(house.top(), area.top() - 5);
    EXPECT_EQ(stacks->recordIndexAtGraphPoint(QPointF(house.center().x(), area.top() - 3)), -1);
    EXPECT_EQ(stacks->recordIndexAtGraphPoint(QPointF(house.center().x(), area.top() + 3)), house2023);
}

// What is drawn follows new data, a new value range and a new size, as a new plot draws them.
TEST(YearEndBarsStackPlot, RedrawsWhatChangedAsANewPlotDrawsIt)
{
    const auto model = household();
    QList<YearEndBars::YearEnd> shown = YearEndBars::visibleYearEnds(*model);
    const QStringList identifiers { u"CASH"_s, u"HOUSE"_s, u"CAR"_s };
    const QList<QColor> colors { Qt::red, Qt::blue, Qt::green };
    const auto source = [&shown](const QStringList& ids) { return YearEndBars::stacks(shown, 1, ids); };
    const auto fresh = [&](double high, QSizeF size) {
        chart::Graph graph(QRectF(QPointF(), size));
        frame(graph, -1000, high);
        graph.addPlot(new YearEndBarsStackPlot(identifiers, colors, source));
        return graph.imageOfLayer();
    };
    chart::Graph graph(QRectF(0, 0, 420, 260));
    frame(graph, -1000, 18000);
    auto* stacks = new YearEndBarsStackPlot(identifiers, colors, source);
    graph.addPlot(stacks);
    const QImage first = graph.imageOfLayer();
    EXPECT_EQ(first, fresh(18000, QSizeF(420, 260)));

    shown.removeLast();
    stacks->reloadData();
    const QImage fewer = graph.imageOfLayer();
    EXPECT_NE(fewer, first);
    EXPECT_EQ(fewer, fresh(18000, QSizeF(420, 260)));

    graph.defaultPlotSpace()->setYRange(chart::PlotRange::withLocation(-1000, 31000));
    EXPECT_EQ(graph.imageOfLayer(), fresh(30000, QSizeF(420, 260)));
    graph.setBounds(QRectF(0, 0, 300, 200));
    EXPECT_EQ(graph.imageOfLayer(), fresh(30000, QSizeF(300, 200)));
}

} // namespace
