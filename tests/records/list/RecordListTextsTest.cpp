#include "records/list/RecordListTexts.h"
#include "model/data/MVX_NWLog.h"
#include "model/data/ModelRules.h"
#include "model/format/NWCurrencyFormatter.h"
#include "model/store/NWData.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>

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

// The store holds an empty household in US dollars.
class DollarStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto model = MVX_Model::makeEmpty();
        model->setBaseCurrency(u"USD"_s);
        NWData::shared()->setAppData(model);
        NWData::shared()->setExchangeRates();
    }
};

class ChangeTextTest : public DollarStoreTest, public ::testing::WithParamInterface<ChangeCase> { };

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

// Texts a number that is not one would leave.
bool readsAsNoNumber(const QString& text)
{
    return text.contains(u"inf"_s, Qt::CaseInsensitive) || text.contains(u"nan"_s, Qt::CaseInsensitive)
        || text.contains(QChar(0x221E));
}

using HugeChangeTextTest = DollarStoreTest;

TEST_F(HugeChangeTextTest, ShowsTheirFigureOrNoneButNeverOneThatIsNoNumber)
{
    const NWCurrencyFormatter money(0, NWCurrencyFormatter::parenthesesNegativeFormat());
    constexpr double most = std::numeric_limits<double>::max();
    constexpr double total = ModelRules::largestTotal;
    const auto change = [&](double olderAssets, double olderLiabilities, double assets, double liabilities) {
        return RecordListTexts::changeText(
            *record(assets, liabilities, 2), record(olderAssets, olderLiabilities).get(), money);
    };
    // The largest totals the data may hold, either way: their change shows whole.
    const QString rise = change(0, total, total, 0);
    EXPECT_TRUE(rise.startsWith(u"+$199,999,999,"_s)) << rise.toStdString();
    EXPECT_EQ(rise, u"+%1  (200.0%)"_s.arg(money.stringFromNumber(2 * total)));
    const QString fall = change(total, 0, 0, total);
    EXPECT_EQ(fall, u"%1  (-200.0%)"_s.arg(money.stringFromNumber(-2 * total)));
    // From a net worth just above nothing to the largest: the fraction is a figure still.
    const QString fromLittle = change(0.002, 0, total, 0);
    EXPECT_TRUE(fromLittle.startsWith(u"+$99,999,999,"_s) && fromLittle.endsWith(u".0%)"_s))
        << fromLittle.toStdString();
    for (const QString& shown : { rise, fall, fromLittle })
        EXPECT_FALSE(readsAsNoNumber(shown)) << shown.toStdString();

    // Beyond what the data may hold: a change or a fraction beyond what a number holds has
    // no figure, as a change from nothing.
    for (const auto& [olderAssets, olderLiabilities, assets, liabilities] :
        { std::tuple(0.0, most, most, 0.0), std::tuple(most, 0.0, 0.0, most),
            std::tuple(0.002, 0.0, most, 0.0), std::tuple(0.0, 0.002, 0.0, most) }) {
        const QString shown = change(olderAssets, olderLiabilities, assets, liabilities);
        EXPECT_FALSE(readsAsNoNumber(shown)) << shown.toStdString();
        EXPECT_EQ(shown, QString()) << shown.toStdString();
    }
    // The largest double less the largest double is no change at all.
    EXPECT_EQ(change(most, 0, most, 0), u"$0  (0.0%)"_s);
}

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
