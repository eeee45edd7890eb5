#include "charts/compare/CompareFigures.h"
#include "model/data/MVX_NWLog.h"
#include "model/data/ModelRules.h"
#include "support/RecordBuilders.h"
#include "support/SharedStoreTest.h"

#include <gtest/gtest.h>

#include <limits>

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
    // A base too small for the change, as one of nothing.
    EXPECT_EQ(CompareFigures::percentText(1e20, std::numeric_limits<double>::denorm_min()), u"  0.00%"_s);
    EXPECT_EQ(CompareFigures::percentText(-1000, 1e-307), u"  0.00%"_s);
    EXPECT_EQ(CompareFigures::percentText(std::numeric_limits<double>::max(), 0.5), u"  0.00%"_s);
}

TEST_F(CompareFiguresTest, TheLargestTotalsShowTheirChangesAndSumsBeyondANumberShowNone)
{
    constexpr double total = ModelRules::largestTotal;
    const auto owing = recordWithTotals(2026, 1, 0, total);
    const auto owning = recordWithTotals(2026, 2, total, 0);
    const auto header = CompareFigures::header(owing.get(), owning.get());
    EXPECT_EQ(header.netWorth1, CompareFigures::amountText(-total));
    EXPECT_TRUE(header.netWorthChange.startsWith(u"$199,999,999,"_s)) << header.netWorthChange.toStdString();
    EXPECT_EQ(header.netWorthChange, CompareFigures::amountText(2 * total));
    EXPECT_EQ(header.netWorthPercent, u"200.00%"_s);
    EXPECT_EQ(header.liabilitiesPercent, u"-100.00%"_s);

    // Totals beyond the model's rules whose sums are no number: no figure, rather than one
    // that reads "inf" or "nan".
    constexpr double most = std::numeric_limits<double>::max();
    const auto deepest = recordWithTotals(2026, 1, 1e20, most);
    const auto highest = recordWithTotals(2026, 2, most, 0);
    const auto beyond = CompareFigures::header(deepest.get(), highest.get());
    EXPECT_EQ(beyond.netWorthChange, u"-"_s);
    EXPECT_EQ(beyond.netWorthPercent, u"-"_s);
    EXPECT_EQ(beyond.liabilitiesChange, CompareFigures::amountText(-most));
    EXPECT_EQ(beyond.liabilitiesPercent, u"-100.00%"_s);
    const auto both = recordWithTotals(2026, 3, most, -most);
    EXPECT_EQ(CompareFigures::header(both.get(), both.get()).netWorth1, u"-"_s);
    EXPECT_EQ(CompareFigures::totals(both.get(), deepest.get(), false).difference, u"-"_s);
    for (const QString& text :
        { beyond.assetsChange, beyond.assetsPercent, beyond.netWorth1, beyond.netWorth2 }) {
        EXPECT_FALSE(text.contains(u"inf"_s, Qt::CaseInsensitive)
            || text.contains(u"nan"_s, Qt::CaseInsensitive) || text.contains(QChar(0x221E)))
            << text.toStdString();
    }
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
