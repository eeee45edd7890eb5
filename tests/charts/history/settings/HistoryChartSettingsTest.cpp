#include "charts/history/settings/HistoryChartSettings.h"
#include "platform/UserDefaults.h"
#include "support/TempHomeTest.h"

#include <gtest/gtest.h>

#include <limits>

using namespace HistoryChartSettings;

namespace {

class HistoryChartSettingsTest : public mervane::test::TempHomeTest { };

TEST_F(HistoryChartSettingsTest, AbsentKeysReadAsTheirFallbacks)
{
    EXPECT_EQ(chartType(), ChartType::NetWorth);
    EXPECT_TRUE(assetCategory().isNull());
    EXPECT_FALSE(displayChanges());
    EXPECT_TRUE(showSymbols());
    EXPECT_TRUE(showArea());
    EXPECT_EQ(lineWidth(), 2.0);
    EXPECT_EQ(goalType(), GoalType::Suggested);
    EXPECT_FALSE(goal(std::nullopt));
}

TEST_F(HistoryChartSettingsTest, TheModelGoalWinsThenTheChosenKindOfGoal)
{
    setGoalAmount(500000.0);
    setSuggestedGoal(320000.0);
    EXPECT_EQ(goal(std::nullopt), 320000.0);
    setGoalType(GoalType::Fixed);
    EXPECT_EQ(goal(std::nullopt), 500000.0);
    EXPECT_EQ(goal(750000.0), 750000.0);
    setGoalAmount(std::nullopt);
    EXPECT_FALSE(goal(std::nullopt)) << "a cleared goal is no goal, not 0";
}

TEST_F(HistoryChartSettingsTest, ValuesOutOfRangeOrNotNumbersAreNotTakenForSettings)
{
    auto& defaults = platform::UserDefaults::standard();
    defaults.setValue(chartTypeKey, 9);
    defaults.setValue(lineWidthKey, -3);
    defaults.setValue(goalAmountKey, QStringLiteral("lots"));
    defaults.setValue(annualIncomeKey, std::numeric_limits<double>::infinity());
    EXPECT_EQ(chartType(), ChartType::Tags);
    EXPECT_EQ(lineWidthIndex(), 0);
    EXPECT_FALSE(goalAmount());
    EXPECT_FALSE(annualIncome());
    setGoalAmount(std::numeric_limits<double>::quiet_NaN());
    EXPECT_FALSE(defaults.contains(goalAmountKey));
}

} // namespace
