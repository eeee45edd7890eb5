#include "model/values/NWChartLog.h"
#include "model/data/MVX_CategoryLog.h"
#include "model/data/MVX_NWLog.h"
#include "model/values/EntryCategoryValue.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

TEST(NWChartLog, RecordPointsTakeNetWorthFromTheTotals)
{
    MVX_NWLog record;
    record.setYear(2021);
    record.setMonth(3);
    record.setAssets(1000);
    record.setLiabilities(400);
    record.setNw(999);
    const NWChartLog point = NWChartLog::initWithNWLog(record);
    EXPECT_EQ(point.year(), 2021);
    EXPECT_EQ(point.month(), 3);
    EXPECT_EQ(point.assets(), 1000);
    EXPECT_EQ(point.liabilities(), 400);
    EXPECT_EQ(point.nw(), 600);

    EXPECT_EQ(NWChartLog::initWithNWLog(MVX_NWLog()), NWChartLog());
}

TEST(NWChartLog, CategoryPointsCarryTheValueAsNetWorth)
{
    MVX_CategoryLog log;
    log.setYear(2021);
    log.setMonth(3);
    log.setValue(250);
    NWChartLog expected;
    expected.setYear(2021);
    expected.setMonth(3);
    expected.setNw(250);
    EXPECT_EQ(NWChartLog::initWithAssetLog(log), expected);
    EXPECT_EQ(NWChartLog::initWithLiabilityLog(log), expected);
    EXPECT_EQ(NWChartLog::initWithAssetLog(MVX_CategoryLog()), NWChartLog());
}

TEST(EntryCategoryValue, ConstructorFillsTheFieldsInOrder)
{
    const EntryCategoryValue row(u"Car"_s, 1500, true, u"ID-1"_s, true, u"GBP"_s, 1000.0, 1.5);
    EXPECT_EQ(row.categoryName(), u"Car"_s);
    EXPECT_EQ(row.categoryValue(), 1500);
    EXPECT_TRUE(row.prePopulated());
    EXPECT_EQ(row.categoryID(), u"ID-1"_s);
    EXPECT_TRUE(row.isForeignCurrency());
    EXPECT_EQ(row.currencyName(), u"GBP"_s);
    EXPECT_EQ(row.foreignValue(), 1000.0);
    EXPECT_EQ(row.exchangeRate(), 1.5);
}

} // namespace
