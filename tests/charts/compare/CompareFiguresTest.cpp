#include "charts/compare/CompareFigures.h"
#include "model/data/MVX_NWLog.h"
#include "support/RecordBuilders.h"
#include "support/SharedStoreTest.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

// The amounts format in the base currency, which the store holds.
class CompareFiguresTest : public SharedStoreTest {
protected:
    void SetUp() override
    {
        SharedStoreTest::SetUp();
        auto model = MVX_Model::makeEmpty();
        model->setBaseCurrency(u"USD"_s);
        store().setAppData(model);
    }
};

TEST_F(CompareFiguresTest, HeaderShowsBothMonthsAndTheChangesFromTheFirstToTheSecond)
{
    const auto january = recordWithTotals(2026, 1, 200000, 40000);
    const auto february = recordWithTotals(2026, 2, 150000, 50000);
    const auto header = CompareFigures::header(january.get(), february.get());
    EXPECT_EQ(header.assets1, u"$200,000"_s);
    EXPECT_EQ(header.liabilities1, u"$40,000"_s);
    EXPECT_EQ(header.netWorth1, u"$160,000"_s);
    EXPECT_EQ(header.netWorth2, u"$100,000"_s);
    EXPECT_EQ(header.assetsChange, u"($50,000)"_s);
    EXPECT_EQ(header.assetsPercent, u"-25.00%"_s);
    EXPECT_EQ(header.liabilitiesChange, u"$10,000"_s);
    EXPECT_EQ(header.liabilitiesPercent, u" 25.00%"_s);
    EXPECT_EQ(header.netWorthChange, u"($60,000)"_s);
    EXPECT_EQ(header.netWorthPercent, u"-37.50%"_s);
}

TEST_F(CompareFiguresTest, PercentagesOfNothingAreZeroAndOfANegativeAmountKeepTheDirection)
{
    // Assets from 0 to 5,000: the change shows, its percentage of nothing is 0.
    const auto empty = recordWithTotals(2026, 1, 0, 0);
    const auto some = recordWithTotals(2026, 2, 5000, 0);
    const auto fromNothing = CompareFigures::header(empty.get(), some.get());
    EXPECT_EQ(fromNothing.assetsChange, u"$5,000"_s);
    EXPECT_EQ(fromNothing.assetsPercent, u"  0.00%"_s);
    EXPECT_EQ(fromNothing.liabilitiesPercent, u"  0.00%"_s);
    EXPECT_EQ(fromNothing.netWorthPercent, u"  0.00%"_s);
    EXPECT_EQ(fromNothing.liabilitiesChange, u"$0"_s);

    // Net worth from -10,000 to -5,000 is a rise by half, not a fall.
    const auto deep = recordWithTotals(2026, 1, 10000, 20000);
    const auto better = recordWithTotals(2026, 2, 15000, 20000);
    const auto rise = CompareFigures::header(deep.get(), better.get());
    EXPECT_EQ(rise.netWorth1, u"($10,000)"_s);
    EXPECT_EQ(rise.netWorthChange, u"$5,000"_s);
    EXPECT_EQ(rise.netWorthPercent, u" 50.00%"_s);
    // And from -10,000 to -15,000 a fall.
    const auto worse = recordWithTotals(2026, 2, 5000, 20000);
    EXPECT_EQ(CompareFigures::header(deep.get(), worse.get()).netWorthPercent, u"-50.00%"_s);

    EXPECT_EQ(CompareFigures::percentText(1, 3), u" 33.33%"_s);
    EXPECT_EQ(CompareFigures::percentText(-0.0, 7), u"  0.00%"_s);
    EXPECT_EQ(CompareFigures::percentText(300, 1), u"30000.00%"_s);
}

TEST_F(CompareFiguresTest, AMonthWithoutARecordEmptiesItsFiguresAndShowsNoChange)
{
    const auto january = recordWithTotals(2026, 1, 200000, 40000);
    for (const auto& header :
        { CompareFigures::header(january.get(), nullptr), CompareFigures::header(nullptr, january.get()) }) {
        for (const QString& change : { header.assetsChange, header.liabilitiesChange, header.netWorthChange,
                 header.assetsPercent, header.liabilitiesPercent, header.netWorthPercent })
            EXPECT_EQ(change, u"-"_s);
    }
    const auto firstOnly = CompareFigures::header(january.get(), nullptr);
    EXPECT_EQ(firstOnly.assets1, u"$200,000"_s);
    EXPECT_TRUE(firstOnly.assets2.isEmpty());
    EXPECT_TRUE(firstOnly.netWorth2.isEmpty());
    const auto secondOnly = CompareFigures::header(nullptr, january.get());
    EXPECT_TRUE(secondOnly.liabilities1.isEmpty());
    EXPECT_EQ(secondOnly.liabilities2, u"$40,000"_s);
}

TEST_F(CompareFiguresTest, RecordsAreFoundByMonthAndTotalsCountAMissingRecordAsZero)
{
    auto older = recordWithTotals(2025, 12, 1000, 300);
    auto newer = recordWithTotals(2026, 1, 1500, 200);
    auto duplicate = recordWithTotals(2026, 1, 9, 9);
    const MVX_NWLogList records { newer, duplicate, older };
    EXPECT_EQ(CompareFigures::nwLogWithYear(records, 2026, 1), newer);
    EXPECT_EQ(CompareFigures::nwLogWithYear(records, 2025, 12), older);
    EXPECT_EQ(CompareFigures::nwLogWithYear(records, 2026, 12), nullptr);
    EXPECT_EQ(CompareFigures::nwLogWithYear(records, 2026, 0), nullptr);

    const auto assets = CompareFigures::totals(newer.get(), older.get(), true);
    EXPECT_EQ(assets.first, u"$1,500"_s);
    EXPECT_EQ(assets.second, u"$1,000"_s);
    EXPECT_EQ(assets.difference, u"$500"_s);
    const auto liabilities = CompareFigures::totals(nullptr, older.get(), false);
    EXPECT_EQ(liabilities.first, u"-"_s);
    EXPECT_EQ(liabilities.second, u"$300"_s);
    EXPECT_EQ(liabilities.difference, u"($300)"_s);
    const auto none = CompareFigures::totals(nullptr, nullptr, true);
    EXPECT_EQ(none.first, u"-"_s);
    EXPECT_EQ(none.second, u"-"_s);
    EXPECT_EQ(none.difference, u"-"_s);
}

} // namespace
