#include "records/list/RecordListTexts.h"
#include "model/data/MVX_NWLog.h"
#include "model/format/NWCurrencyFormatter.h"
#include "model/store/NWData.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

std::shared_ptr<MVX_NWLog> record(double assets, double liabilities, int month = 1)
{
    auto result = std::make_shared<MVX_NWLog>();
    result->setYear(2024);
    result->setMonth(month);
    result->setAssets(assets);
    result->setLiabilities(liabilities);
    return result;
}

struct ChangeCase {
    double previousAssets;
    double previousLiabilities;
    double assets;
    double liabilities;
    const char* expected;
};

class ChangeTextTest : public ::testing::TestWithParam<ChangeCase> {
protected:
    void SetUp() override
    {
        auto model = MVX_Model::makeEmpty();
        model->setBaseCurrency(u"USD"_s);
        NWData::shared()->setAppData(model);
        NWData::shared()->setExchangeRates();
    }
};

TEST_P(ChangeTextTest, IsTheChangeWithItsFractionOfTheOlderNetWorth)
{
    const ChangeCase& c = GetParam();
    const NWCurrencyFormatter money(0, NWCurrencyFormatter::parenthesesNegativeFormat());
    const auto older = record(c.previousAssets, c.previousLiabilities);
    EXPECT_EQ(RecordListTexts::changeText(*record(c.assets, c.liabilities, 2), older.get(), money),
        QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, ChangeTextTest,
    ::testing::Values(ChangeCase { 1000, 0, 1053, 0, "+$53  (5.3%)" },
        // A gain from a debt reads as a gain.
        ChangeCase { 0, 1000, 0, 500, "+$500  (50.0%)" }, ChangeCase { 1000, 0, 980, 0, "($20)  (-2.0%)" },
        ChangeCase { 1000, 0, 1000, 0, "$0  (0.0%)" }, ChangeCase { 0, 1000, 0, 1500, "($500)  (-50.0%)" },
        ChangeCase { 10, 0, 2010, 0, "+$2,000  (20000.0%)" },
        // An older net worth within 0.001 of nothing has no fraction to give.
        ChangeCase { 0.0005, 0, 100, 0, "" }, ChangeCase { 0, 0.0005, 100, 0, "" }));

TEST(RecordListTextsTest, NoOlderRecordNoChangeAndMonthsInCapitals)
{
    const NWCurrencyFormatter money(0, NWCurrencyFormatter::parenthesesNegativeFormat());
    EXPECT_EQ(RecordListTexts::changeText(*record(5, 0), nullptr, money), QString());
    const auto small = record(0.002, 0);
    EXPECT_FALSE(RecordListTexts::changeText(*record(5, 0), small.get(), money).isEmpty());
    EXPECT_EQ(RecordListTexts::monthText(*record(0, 0, 1)), u"JAN"_s);
    EXPECT_EQ(RecordListTexts::monthText(*record(0, 0, 12)), u"DEC"_s);
    EXPECT_EQ(RecordListTexts::monthText(MVX_NWLog()), QString());
    EXPECT_EQ(RecordListTexts::netWorth(*record(1000, 250.5)), 749.5);
}

} // namespace
