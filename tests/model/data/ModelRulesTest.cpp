#include "model/data/ModelRules.h"

#include "support/RecordBuilders.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double most = std::numeric_limits<double>::max();
const double beyondAmount = std::nextafter(ModelRules::largestAmount, inf);
const double beyondTotal = std::nextafter(ModelRules::largestTotal, inf);

// Two sound categories and two sound records (2020-04, 2020-05), to be spoilt by a case.
std::shared_ptr<MVX_Model> soundModel()
{
    auto model = MVX_Model::makeEmpty();
    model->setAssetscat(MVX_CategoryList { category(u"A"_s, u"Bank"_s) });
    model->setLiabilitycat(MVX_CategoryList { category(u"L"_s, u"Loan"_s) });
    model->setNwLogArray(MVX_NWLogList {
        recordWith(2020, 4, { { u"A"_s, 10 } }, { { u"L"_s, 4 } }),
        recordWith(2020, 5, { { u"A"_s, 12 } }, { { u"L"_s, 3 } }),
    });
    return model;
}

MVX_NWLog& second(MVX_Model& model)
{
    return *model.nwLogArray()->at(1);
}

struct RecordCase {
    const char* name;
    std::function<void(MVX_NWLog&)> spoil;
    QString breach;
};

TEST(ModelRulesTest, EachRuleOfARecordNamesTheRecordAndTheRule)
{
    const QString prefix = u"record 2 (year 2020, month 5): "_s;
    const RecordCase cases[] = {
        { "month 0", [](MVX_NWLog& r) { r.setMonth(0); },
            u"record 2 (year 2020, month 0): the month is not from 1 to 12"_s },
        { "month 13", [](MVX_NWLog& r) { r.setMonth(13); },
            u"record 2 (year 2020, month 13): the month is not from 1 to 12"_s },
        { "no month", [](MVX_NWLog& r) { r.setMonth(std::nullopt); },
            u"record 2 (year 2020, month none): the month is not from 1 to 12"_s },
        { "year 0", [](MVX_NWLog& r) { r.setYear(0); },
            u"record 2 (year 0, month 5): the year is not from 1900 to 9999"_s },
        { "year 1899", [](MVX_NWLog& r) { r.setYear(1899); },
            u"record 2 (year 1899, month 5): the year is not from 1900 to 9999"_s },
        { "year 10000", [](MVX_NWLog& r) { r.setYear(10000); },
            u"record 2 (year 10000, month 5): the year is not from 1900 to 9999"_s },
        { "clamped year", [](MVX_NWLog& r) { r.setYear(std::numeric_limits<int>::max()); },
            u"record 2 (year 2147483647, month 5): the year is not from 1900 to 9999"_s },
        { "no year", [](MVX_NWLog& r) { r.setYear(std::nullopt); },
            u"record 2 (year none, month 5): the year is not from 1900 to 9999"_s },
        { "repeated month", [](MVX_NWLog& r) { r.setMonth(4); },
            u"record 2 (year 2020, month 4): record 1 (year 2020, month 4) is for the same month"_s },
        { "NaN total", [](MVX_NWLog& r) { r.setNw(nan); }, prefix + u"\"nw\" is not a finite number"_s },
        { "infinite gold", [](MVX_NWLog& r) { r.setGold(-inf); },
            prefix + u"\"gold\" is not a finite number"_s },
        { "infinite value", [](MVX_NWLog& r) { r.liabilityLogs()->at(0)->setValue(inf); },
            prefix + u"the value of category ID \"L\" is not a finite number"_s },
        { "NaN foreign value", [](MVX_NWLog& r) { r.assetLogs()->at(0)->setForeignValue(nan); },
            prefix + u"the value of category ID \"A\" is not a finite number"_s },
        // Amounts whose sums the screens could not show.
        { "lowest value", [](MVX_NWLog& r) { r.liabilityLogs()->at(0)->setValue(-most); },
            prefix + u"the value of category ID \"L\" is not from -1e+250 to 1e+250"_s },
        { "foreign value just beyond",
            [](MVX_NWLog& r) { r.assetLogs()->at(0)->setForeignValue(beyondAmount); },
            prefix + u"the value of category ID \"A\" is not from -1e+250 to 1e+250"_s },
        { "largest total", [](MVX_NWLog& r) { r.setAssets(most); },
            prefix + u"\"assets\" is not from -1e+260 to 1e+260"_s },
        { "net worth just beyond", [](MVX_NWLog& r) { r.setNw(-beyondTotal); },
            prefix + u"\"nw\" is not from -1e+260 to 1e+260"_s },
        { "rate 0", [](MVX_NWLog& r) { r.assetLogs()->at(0)->setExchangeRate(0.0); },
            prefix
                + u"the exchange rate of the value of category ID \"A\" is not a finite number above 0"_s },
        { "negative rate", [](MVX_NWLog& r) { r.assetLogs()->at(0)->setExchangeRate(-1.2); },
            prefix
                + u"the exchange rate of the value of category ID \"A\" is not a finite number above 0"_s },
        { "infinite rate", [](MVX_NWLog& r) { r.assetLogs()->at(0)->setExchangeRate(inf); },
            prefix
                + u"the exchange rate of the value of category ID \"A\" is not a finite number above 0"_s },
    };
    for (const RecordCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto model = soundModel();
        c.spoil(second(*model));
        const ModelRules::Report report = ModelRules::check(*model);
        EXPECT_EQ(report.records, QList<qsizetype> { 1 });
        EXPECT_TRUE(report.assetCategories.isEmpty() && report.liabilityCategories.isEmpty());
        EXPECT_EQ(report.first, c.breach);
        EXPECT_EQ(report.summary(), c.breach);
    }
}

TEST(ModelRulesTest, TheBoundsAndWhatIsNoBreachAreAccepted)
{
    const auto model = soundModel();
    second(*model).setYear(9999);
    second(*model).setMonth(12);
    model->nwLogArray()->append(recordWith(1900, 1, {}));
    // Absent numbers, a value of a category that does not exist, an unknown currency and
    // a positive rate are all taken as they are.
    auto odd = recordWith(2021, 1, { { u"GONE"_s, 3 } });
    odd->setAssets(std::nullopt);
    odd->assetLogs()->at(0)->setExchangeRate(1e-9);
    odd->assetLogs()->at(0)->setValue(std::nullopt);
    model->nwLogArray()->append(odd);
    // The largest amounts and totals either side of 0.
    auto largest = recordWith(
        2021, 2, { { u"A"_s, ModelRules::largestAmount } }, { { u"L"_s, -ModelRules::largestAmount } });
    largest->assetLogs()->at(0)->setForeignValue(-ModelRules::largestAmount);
    largest->setAssets(ModelRules::largestTotal);
    largest->setLiabilities(-ModelRules::largestTotal);
    largest->setNw(ModelRules::largestTotal);
    largest->setGold(-ModelRules::largestTotal);
    model->nwLogArray()->append(largest);
    model->assetscat()->at(0)->setCurrency(u"XYZ"_s);
    model->assetscat()->at(0)->setDepreciationRate(0.5);
    // The same month in another year, and one ID in upper and lower case, are different.
    model->nwLogArray()->append(recordWith(2021, 5, {}));
    model->liabilitycat()->append(category(u"a"_s, u"Other"_s));
    EXPECT_TRUE(ModelRules::check(*model).isEmpty()) << ModelRules::check(*model).first.toStdString();
    EXPECT_TRUE(ModelRules::check(*MVX_Model::makeEmpty()).isEmpty());
    EXPECT_TRUE(ModelRules::check(MVX_Model()).isEmpty()); // no lists at all
}

TEST(ModelRulesTest, CategoriesKeepTheirIDToThemselvesOnEitherSide)
{
    struct Case {
        const char* name;
        std::function<void(MVX_Model&)> spoil;
        QList<qsizetype> assets;
        QList<qsizetype> liabilities;
        QString first;
    };
    const Case cases[] = {
        { "repeated asset row", [](MVX_Model& m) { m.assetscat()->append(category(u"A"_s, u"Bank"_s)); },
            { 1 }, {},
            u"asset category \"Bank\" (ID \"A\"): the ID is also that of the asset category \"Bank\" (ID \"A\")"_s },
        { "one ID on both sides", [](MVX_Model& m) { m.liabilitycat()->append(category(u"A"_s, u"Card"_s)); },
            {}, { 1 },
            u"liability category \"Card\" (ID \"A\"): the ID is also that of the asset category \"Bank\" (ID \"A\")"_s },
        { "infinite depreciation rate",
            [](MVX_Model& m) { m.liabilitycat()->at(0)->setDepreciationRate(inf); }, {}, { 0 },
            u"liability category \"Loan\" (ID \"L\"): the depreciation rate is not a finite number"_s },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto model = soundModel();
        c.spoil(*model);
        const ModelRules::Report report = ModelRules::check(*model);
        EXPECT_EQ(report.assetCategories, c.assets);
        EXPECT_EQ(report.liabilityCategories, c.liabilities);
        EXPECT_TRUE(report.records.isEmpty());
        EXPECT_EQ(report.first, c.first);
    }
}

TEST(ModelRulesTest, LeavingOutKeepsTheFirstOfTwinsAndEverySoundPart)
{
    const auto model = soundModel();
    const auto firstRecord = model->nwLogArray()->at(0);
    const auto bank = model->assetscat()->at(0);
    // A broken record does not take its month: the sound one after it keeps it.
    auto broken = recordWith(2020, 6, {});
    broken->setNw(nan);
    auto june = recordWith(2020, 6, {});
    model->nwLogArray()->append({ recordWith(2020, 13, {}), broken, june, recordWith(2020, 4, {}) });
    model->assetscat()->append({ category(u"L"_s, u"Twin of the loan"_s), category(u"B"_s, u"Cash"_s) });
    model->liabilitycat()->append(category(u"B"_s, u"Twin of the cash"_s));

    const ModelRules::Report report = ModelRules::leaveOutBroken(*model);
    // Categories are reported before records, as the files hold them.
    EXPECT_EQ(report.first,
        u"liability category \"Loan\" (ID \"L\"): the ID is also that of the asset category \"Twin of the loan\" (ID \"L\")"_s);
    EXPECT_EQ(report.count(), 5);
    EXPECT_EQ(report.summary(), report.first + u" (others that break the model's rules: 4)"_s);
    EXPECT_EQ(report.records, (QList<qsizetype> { 2, 3, 5 }));

    ASSERT_EQ(model->nwLogArray()->size(), 3);
    EXPECT_EQ(model->nwLogArray()->at(0), firstRecord);
    EXPECT_EQ(model->nwLogArray()->at(2), june);
    ASSERT_EQ(model->assetscat()->size(), 3);
    EXPECT_EQ(model->assetscat()->at(0), bank);
    EXPECT_EQ(model->liabilitycat()->size(), 0);
    EXPECT_TRUE(ModelRules::check(*model).isEmpty());
    EXPECT_TRUE(ModelRules::leaveOutBroken(*model).isEmpty());
}

} // namespace
