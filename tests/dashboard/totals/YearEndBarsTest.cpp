#include "dashboard/totals/YearEndBars.h"
#include "dashboard/common/PieSlices.h"
#include "model/data/MVX_Category.h"
#include "model/data/MVX_CategoryLog.h"
#include "model/queries/ModelBuilders.h"
#include "support/SharedStoreTest.h"

#include <gtest/gtest.h>

#include <limits>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

// The values' own month is not read here: the year-end choice goes by the record's.
std::shared_ptr<MVX_CategoryLog> value(const QString& id, double amount)
{
    return makeLog(id, 0, 0, amount);
}

std::shared_ptr<MVX_NWLog> record(
    int year, int month, MVX_CategoryLogList assets, MVX_CategoryLogList liabilities = {})
{
    auto log = std::make_shared<MVX_NWLog>();
    log->setYear(year);
    log->setMonth(month);
    double a = 0;
    for (const auto& v : assets)
        a += *v->value();
    double l = 0;
    for (const auto& v : liabilities)
        l += *v->value();
    log->setAssets(a);
    log->setLiabilities(l);
    log->setNw(a - l);
    log->setAssetLogs(assets);
    log->setLiabilityLogs(liabilities);
    return log;
}

QList<int> years(const QList<YearEndBars::YearEnd>& shown)
{
    QList<int> result;
    for (const auto& yearEnd : shown)
        result.append(*yearEnd.record->year());
    return result;
}

TEST(YearEndBars, EachYearsRecordWithTheHighestMonthTheNewestFourOldestFirst)
{
    MVX_Model model;
    // Newest first, as the store keeps them; 2020 has only January, 2019 two records.
    model.setNwLogArray(MVX_NWLogList { record(2020, 1, { value(u"A"_s, 7) }),
        record(2019, 11, { value(u"A"_s, 6) }), record(2019, 12, { value(u"A"_s, 5) }),
        record(2018, 3, { value(u"A"_s, 4) }), record(2017, 12, { value(u"A"_s, 3) }),
        record(2016, 12, { value(u"A"_s, 2) }), record(2015, 12, { value(u"A"_s, 1) }) });
    const auto all = YearEndBars::yearEndRecords(*model.nwLogArray());
    ASSERT_EQ(all.size(), 6);
    EXPECT_EQ(*all[4]->month(), 12); // 2019: December, not the November record
    EXPECT_EQ(*all[4]->assets(), 5);
    EXPECT_EQ(*all[5]->month(), 1);
    EXPECT_EQ(YearEndBars::startIndex(all.size(), 4), 2);
    EXPECT_EQ(years(YearEndBars::visibleYearEnds(model)), (QList<int> { 2017, 2018, 2019, 2020 }));

    // Two years: two bars in slots 0 and 1, two year labels.
    model.setNwLogArray(
        MVX_NWLogList { record(2021, 5, { value(u"A"_s, 9) }), record(2020, 2, { value(u"A"_s, 8) }) });
    const auto two = YearEndBars::visibleYearEnds(model);
    EXPECT_EQ(years(two), (QList<int> { 2020, 2021 }));
    const auto axis = YearEndBars::yearAxis(two, 0);
    EXPECT_EQ(axis.labels, (QStringList { u"2020"_s, u"2021"_s }));
    EXPECT_EQ(axis.ticks, (QList<double> { 0, 1 }));
    EXPECT_EQ(axis.top, 9);
    EXPECT_EQ(axis.bottom, 0);

    // No records: no year-ends, no labels.
    model.setNwLogArray(std::nullopt);
    EXPECT_TRUE(YearEndBars::visibleYearEnds(model).isEmpty());
    const auto none = YearEndBars::valueAxis(YearEndBars::yearAxis({}, 0).top, 0);
    EXPECT_TRUE(none.labels.isEmpty());
    EXPECT_GT(none.range.length, 0.0);
}

TEST(YearEndBars, AmountLabelsFollowTheLeadingDigitRule)
{
    EXPECT_EQ(YearEndBars::labelInterval(12345), 2000);
    const auto axis = YearEndBars::valueAxis(12345, 0);
    EXPECT_EQ(axis.labels, (QList<double> { 2000, 4000, 6000, 8000, 10000, 12000 }));
    EXPECT_NEAR(axis.range.location, -240, 1e-6);
    EXPECT_NEAR(axis.range.end(), 14814, 1e-6);

    // A year-end at −3,000 and a top of 50,000: no label down there, the range reaches −3,600.
    const auto negative = YearEndBars::valueAxis(50000, -3000);
    EXPECT_EQ(negative.labels, (QList<double> { 10000, 20000, 30000, 40000, 50000 }));
    EXPECT_NEAR(negative.range.location, -3600, 1e-6);
    EXPECT_NEAR(negative.range.end(), 60000, 1e-6);
    EXPECT_EQ(YearEndBars::valueLabelText(-10000), u"($10,000)"_s);

    // Every bar below 0: labels by the depth's interval down to the lowest, and 0 stays in view
    // a tenth of the interval below the top.
    const auto below = YearEndBars::valueAxis(-3000, -5000);
    EXPECT_EQ(below.labels, (QList<double> { -1000, -2000, -3000, -4000, -5000 }));
    EXPECT_NEAR(below.range.location, -6000, 1e-6);
    EXPECT_NEAR(below.range.end(), 120, 1e-6);
}

TEST(YearEndBars, TickWalksEndForSmallHugeAndNonFiniteValues)
{
    // T between 1 and 9 has a tenth of 0: the labels are T's multiples.
    EXPECT_EQ(YearEndBars::labelInterval(20), 4);
    EXPECT_EQ(YearEndBars::valueAxis(20, 0).labels, (QList<double> { 4, 8, 12, 16, 20 }));
    EXPECT_TRUE(YearEndBars::valueAxis(4, 0).labels.isEmpty());
    for (double top : { std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN() }) {
        const auto axis = YearEndBars::valueAxis(top, 0);
        EXPECT_TRUE(axis.labels.isEmpty()) << top;
        EXPECT_TRUE(std::isfinite(axis.range.location) && std::isfinite(axis.range.length)) << top;
    }
    // Huge finite year-ends, also beside one below 0, get a handful of finite labels and a range
    // that holds 0.
    for (const auto& [top, bottom] : std::initializer_list<std::pair<double, double>> { { 1e300, 0 },
             { std::numeric_limits<double>::max(), 0 }, { 1e20, -500 }, { 1e300, -1e9 },
             { std::numeric_limits<double>::max(), -std::numeric_limits<double>::max() } }) {
        SCOPED_TRACE(testing::Message() << top << " over " << bottom);
        const auto axis = YearEndBars::valueAxis(top, bottom);
        EXPECT_GE(axis.labels.size(), 4);
        EXPECT_LE(axis.labels.size(), 40);
        for (double label : axis.labels)
            EXPECT_TRUE(std::isfinite(label));
        EXPECT_TRUE(axis.range.isFinite());
        EXPECT_TRUE(axis.range.contains(0));
    }
    EXPECT_EQ(YearEndBars::valueAxis(1e20, -500).labels, (QList<double> { 2e19, 4e19, 6e19, 8e19, 1e20 }));
    // A small top over a deep loss: the labels below 0 are thinned to a handful.
    const auto deep = YearEndBars::valueAxis(100, -1e15);
    EXPECT_LE(deep.labels.size(), 40);
    EXPECT_TRUE(YearEndBars::valueAxis(100, -std::numeric_limits<double>::infinity()).labels.size() < 40);
}

class YearEndStacks : public SharedStoreTest {
protected:
    void SetUp() override
    {
        SharedStoreTest::SetUp();
        m_model = MVX_Model::makeEmpty();
        m_model->setBaseCurrency(u"USD"_s);
        m_model->setAssetscat(MVX_CategoryList { makeCategory(u"CASH"_s, u"Cash"_s),
            makeCategory(u"HOUSE"_s, u"A house with a very long name to be cut in two"_s),
            makeCategory(u"CAR"_s, u"Car"_s) });
        m_model->setLiabilitycat(MVX_CategoryList { makeCategory(u"LOAN"_s, u"Loan"_s) });
        // The record stores its values in another order than the list; GONE is no category now.
        m_model->setNwLogArray(MVX_NWLogList {
            record(2022, 12, { value(u"HOUSE"_s, 6000), value(u"GONE"_s, 500), value(u"CASH"_s, 1500) },
                { value(u"LOAN"_s, 0) }),
        });
        store().setAppData(m_model);
    }
    std::shared_ptr<MVX_Model> m_model;
};

TEST_F(YearEndStacks, SegmentsStackInListOrderAndKeepValuesOfCategoriesThatAreGone)
{
    const auto shown = YearEndBars::visibleYearEnds(*m_model);
    ASSERT_EQ(shown.size(), 1);
    const auto& yearEnd = shown[0];
    ASSERT_EQ(yearEnd.assetValues.size(), 2);
    EXPECT_EQ(yearEnd.assetValues[0]->categoryID(), u"CASH"_s);
    EXPECT_TRUE(yearEnd.hasUnknownAssets);
    EXPECT_EQ(yearEnd.unknownAssets, 500);

    const auto cash = YearEndBars::segment(yearEnd, 1, u"CASH"_s, false);
    EXPECT_EQ(cash.base, 0);
    EXPECT_EQ(cash.tip, 1500);
    const auto house = YearEndBars::segment(yearEnd, 1, u"HOUSE"_s, true);
    EXPECT_EQ(house.base, 1500);
    EXPECT_EQ(house.tip, 7500);
    // No value of the car this year: a zero-height segment on top of the stack.
    const auto car = YearEndBars::segment(yearEnd, 1, u"CAR"_s, true);
    EXPECT_FALSE(car.value);
    EXPECT_EQ(car.base, 7500);
    EXPECT_EQ(car.tip, 7500);
    const auto gone = YearEndBars::segment(yearEnd, 1, YearEndBars::unknownCategoryIdentifier, true);
    EXPECT_EQ(gone.base, 7500);
    EXPECT_EQ(gone.tip, 8000);
    EXPECT_EQ(YearEndBars::barValue(*yearEnd.record, 1), 8000);
    EXPECT_EQ(YearEndBars::barValue(*yearEnd.record, 0), 8000);
}

TEST_F(YearEndStacks, ThePopupGivesAmountShareAndShortNameOrTheNetWorthAndYear)
{
    const auto yearEnd = YearEndBars::visibleYearEnds(*m_model).at(0);
    const auto house = YearEndBars::barPopup(
        yearEnd, 1, u"HOUSE"_s, true, m_model.get(), PieChartSettings::PieLabelType::Amount);
    EXPECT_EQ(house.amount, u"$6,000 (75%)"_s);
    EXPECT_EQ(house.caption, u"A house with a very long..."_s); // 24 characters and "..."
    EXPECT_EQ(house.pointValue, 7500);
    // With labels that show no value the name may be five characters longer.
    EXPECT_EQ(YearEndBars::barPopup(
                  yearEnd, 1, u"HOUSE"_s, true, m_model.get(), PieChartSettings::PieLabelType::None)
                  .caption,
        u"A house with a very long name..."_s);
    const auto gone = YearEndBars::barPopup(yearEnd, 1, YearEndBars::unknownCategoryIdentifier, true,
        m_model.get(), PieChartSettings::PieLabelType::Amount);
    EXPECT_EQ(gone.caption, u"(unknown category)"_s);
    const auto car = YearEndBars::barPopup(
        yearEnd, 1, u"CAR"_s, true, m_model.get(), PieChartSettings::PieLabelType::Amount);
    EXPECT_TRUE(car.amount.isEmpty());
    EXPECT_TRUE(car.caption.isEmpty());
    // Liabilities that total 0: no share can be given.
    const auto loan = YearEndBars::barPopup(
        yearEnd, 2, u"LOAN"_s, false, m_model.get(), PieChartSettings::PieLabelType::Amount);
    EXPECT_EQ(loan.amount, u"$0 (%1)"_s.arg(PieSlices::emptyTotalCaption()));
    const auto netWorth = YearEndBars::barPopup(
        yearEnd, 0, u"NW_BAR_PLOT"_s, false, m_model.get(), PieChartSettings::PieLabelType::Amount);
    EXPECT_EQ(netWorth.amount, u"$8,000 "_s);
    EXPECT_EQ(netWorth.caption, u"2022"_s);
}

TEST_F(YearEndStacks, AShareIsOfItsOwnSideAndTheNetWorthPopupSaysWhatTheBarDraws)
{
    // With a loan the net worth (4,000) is no longer the assets' total (8,000): the house is 75%
    // of the assets, not 150% of the net worth.
    auto year
        = record(2023, 12, { value(u"HOUSE"_s, 6000), value(u"CASH"_s, 2000) }, { value(u"LOAN"_s, 4000) });
    // A stored net worth left stale by an old edit; the bar is drawn from assets − liabilities.
    year->setNw(1234);
    m_model->setNwLogArray(MVX_NWLogList { year });
    const auto yearEnd = YearEndBars::visibleYearEnds(*m_model).at(0);

    const auto house = YearEndBars::barPopup(
        yearEnd, 1, u"HOUSE"_s, true, m_model.get(), PieChartSettings::PieLabelType::Amount);
    EXPECT_EQ(house.amount, u"$6,000 (75%)"_s);
    const auto cash = YearEndBars::barPopup(
        yearEnd, 1, u"CASH"_s, false, m_model.get(), PieChartSettings::PieLabelType::Amount);
    EXPECT_EQ(cash.amount, u"$2,000 (25%)"_s);
    const auto loan = YearEndBars::barPopup(
        yearEnd, 2, u"LOAN"_s, false, m_model.get(), PieChartSettings::PieLabelType::Amount);
    EXPECT_EQ(loan.amount, u"$4,000 (100%)"_s);

    const auto netWorth = YearEndBars::barPopup(
        yearEnd, 0, u"NW_BAR_PLOT"_s, false, m_model.get(), PieChartSettings::PieLabelType::Amount);
    EXPECT_EQ(YearEndBars::barValue(*yearEnd.record, 0), 4000);
    EXPECT_EQ(netWorth.amount, u"$4,000 "_s);
    EXPECT_EQ(netWorth.pointValue, 4000);
}

} // namespace

namespace {

TEST(YearEndBars, TheFirstBarStartsClearOfTheValueLabels)
{
    // Four slots widened by 1.4 run from -1.09 to 4.09; over 300 points the first bar's edge
    // (-0.35) would stand 43 points in, under labels that end 52 points in.
    const chart::PlotRange plain = YearEndBars::slotRange(4);
    EXPECT_NEAR(plain.location, -1.09, 1e-9);
    const chart::PlotRange narrow = YearEndBars::slotRangeClearOf(4, 52, 300);
    const double high = narrow.location + narrow.length;
    EXPECT_NEAR(high, 4.09, 1e-9);
    EXPECT_NEAR((-0.35 - narrow.location) / narrow.length * 300, 52, 1e-9);
    // A wide plot leaves room already; no usable width keeps the plain range.
    for (const chart::PlotRange& same : { YearEndBars::slotRangeClearOf(4, 52, 1000),
             YearEndBars::slotRangeClearOf(4, 52, 0), YearEndBars::slotRangeClearOf(4, 52, qQNaN()) }) {
        EXPECT_DOUBLE_EQ(same.location, plain.location);
        EXPECT_DOUBLE_EQ(same.length, plain.length);
    }
    // Labels that reach no further than the most leave each slot the points asked for, and
    // none in a plot too narrow for the slots alone.
    const double most = YearEndBars::mostClearLeft(4, 40, 300);
    EXPECT_NEAR(most, 300 - 4.44 * 40, 1e-9);
    const chart::PlotRange kept = YearEndBars::slotRangeClearOf(4, most, 300);
    EXPECT_NEAR(300 / kept.length, 40, 1e-9);
    EXPECT_EQ(YearEndBars::mostClearLeft(4, 40, 150), 0.0);
}

} // namespace
