#include "charts/history/menu/LnChartMenuLogic.h"

#include "model/queries/ModelBuilders.h"
#include "support/TempHomeTest.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace LnChartMenu;
using HistoryChartSettings::ChartType;
using HistoryChartSettings::GoalType;

namespace {

TEST(LnChartMenuLogic, SuggestedGoalIsAgeTimesIncomeOverTenAndNoneWithoutEither)
{
    EXPECT_EQ(calculateSuggestedNW(40, 60000.0), 240000.0);
    EXPECT_EQ(calculateSuggestedNW(0, 60000.0), 0.0);
    EXPECT_EQ(calculateSuggestedNW(35, 52500.5), 35 * 52500.5 / 10.0);
    EXPECT_FALSE(calculateSuggestedNW(std::nullopt, 60000.0));
    EXPECT_FALSE(calculateSuggestedNW(40, std::nullopt));
}

class LnChartMenuReading : public mervane::test::TempHomeTest { };

TEST_F(LnChartMenuReading, AmountsAreCurrencyOrPlainNumbersAndEmptyIsNone)
{
    EXPECT_EQ(*readAmount(u"$240,000"_s), 240000.0);
    EXPECT_EQ(*readAmount(u" 60000 "_s), 60000.0);
    EXPECT_EQ(*readAmount(u"1250.75"_s), 1250.75);
    const auto empty = readAmount(u"   "_s);
    ASSERT_TRUE(empty);
    EXPECT_FALSE(*empty) << "an empty field is no amount, not 0";
    for (const QString& text : { u"lots"_s, u"inf"_s, u"nan"_s, u"1e400"_s })
        EXPECT_FALSE(readAmount(text)) << text.toStdString();
    EXPECT_FALSE(readAmount(u"x"_s).error().isEmpty());
}

TEST_F(LnChartMenuReading, AgesAreWholeYearsAndNoNumberIsRefused)
{
    EXPECT_EQ(*readAge(u"40"_s), 40);
    EXPECT_EQ(*readAge(u"40.9"_s), 40);
    EXPECT_FALSE(*readAge(u""_s));
    for (const QString& text : { u"forty"_s, u"inf"_s, u"nan"_s, u"5000"_s })
        EXPECT_FALSE(readAge(text)) << text.toStdString();
}

TEST(LnChartMenuLogic, AChosenCategoryThatIsGoneGivesWayToTheFirst)
{
    using mervane::test::makeCategory;
    const MVX_CategoryList list { nullptr, makeCategory(u"A"_s, u"House"_s), makeCategory(u"B"_s, u"Car"_s) };
    EXPECT_EQ(chosenCategoryOrFirst(u"B"_s, list), u"B"_s);
    EXPECT_EQ(chosenCategoryOrFirst(u"GONE"_s, list), u"A"_s);
    EXPECT_EQ(chosenCategoryOrFirst(QString(), list), u"A"_s);
    EXPECT_TRUE(chosenCategoryOrFirst(u"B"_s, {}).isNull());
    EXPECT_EQ(rowOfCategory(u"B"_s, list), 2);
    EXPECT_EQ(rowOfCategory(u"GONE"_s, list), -1);
}

TEST(LnChartMenuLogic, FormFollowsChartTypeValuesAndGoalSwitch)
{
    const FormState netWorth = formState(ChartType::NetWorth, false, true, GoalType::Fixed);
    EXPECT_TRUE(netWorth.stackedVisible);
    EXPECT_TRUE(netWorth.goalActive);
    EXPECT_TRUE(netWorth.fixedGoalShown);
    EXPECT_EQ(netWorth.assetTableEnabled, false);
    EXPECT_EQ(netWorth.percentControlOpacity, 0.2);

    const FormState changes = formState(ChartType::NetWorth, true, true, GoalType::Suggested);
    EXPECT_FALSE(changes.stackedVisible);
    EXPECT_FALSE(changes.goalGroupEnabled);
    EXPECT_FALSE(changes.goalActive);
    EXPECT_EQ(changes.percentControlOpacity, 1.0);

    EXPECT_FALSE(formState(ChartType::NetWorth, false, false, GoalType::Suggested).goalActive);
    EXPECT_FALSE(
        formState(ChartType::AssetsAndLiabilities, false, true, GoalType::Suggested).goalGroupEnabled);

    const FormState liability = formState(ChartType::LiabilityCategory, false, false, GoalType::Suggested);
    EXPECT_EQ(liability.assetTableEnabled, false);
    EXPECT_EQ(liability.liabilityTableEnabled, true);
    EXPECT_EQ(liability.assetRowsOpacity, 0.2);
    EXPECT_EQ(liability.liabilityRowsOpacity, 1.0);

    const FormState tags = formState(ChartType::Tags, false, false, GoalType::Suggested);
    EXPECT_FALSE(tags.assetTableEnabled.has_value()) << "type 4 leaves the tables as they are";
    EXPECT_EQ(tags.assetRowsOpacity, 1.0);
}

} // namespace
