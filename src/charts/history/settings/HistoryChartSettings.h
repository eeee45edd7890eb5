#pragma once

#include "model/settings/Preferences.h"

#include <QString>

#include <optional>

/// The history chart's settings with their types and fallbacks, over the standard user
/// defaults. Nothing is registered: each reader below applies the fallback. Every setter
/// writes its key and synchronises the user defaults, so a notification posted after it
/// finds the new value. Main thread only.
namespace HistoryChartSettings {

inline const QString chartTypeKey = QStringLiteral("LnChartType");
inline const QString assetCategoryKey = QStringLiteral("LnChartAssetCategory");
inline const QString liabilityCategoryKey = QStringLiteral("LnChartLiabilityCategory");
inline const QString displayChangesKey = QStringLiteral("LnDisplayChanges");
inline const QString displayPercentKey = QStringLiteral("LnDisplayPercent");
inline const QString stackedChartKey = QStringLiteral("nwStackedChart");
inline const QString showGoalKey = QStringLiteral("nwShowGoal");
inline const QString goalTypeKey = QStringLiteral("NWGoalTypeKey");
// The fixed goal is the store's too: one key, declared with the shared settings.
using Preferences::goalAmountKey;
inline const QString ageKey = QStringLiteral("nwAge");
inline const QString annualIncomeKey = QStringLiteral("nwAnnualIncome");
inline const QString suggestedGoalKey = QStringLiteral("nwGoalAgeAmount");
inline const QString showSymbolsKey = QStringLiteral("nwShowSymbols");
inline const QString showAreaKey = QStringLiteral("nwShowArea");
inline const QString lineWidthKey = QStringLiteral("nwLineWidth");
inline const QString dateRangeKey = QStringLiteral("dateRange");

/// What the chart shows ("LnChartType", absent 0, kept within 0..4).
enum class ChartType {
    NetWorth = 0,
    AssetsAndLiabilities = 1,
    AssetCategory = 2,
    LiabilityCategory = 3,
    Tags = 4
};
ChartType chartType();
void setChartType(ChartType type);

/// The category IDs of types 2 and 3; a null string while none was chosen.
QString assetCategory();
void setAssetCategory(const QString& categoryID);
QString liabilityCategory();
void setLiabilityCategory(const QString& categoryID);

bool displayChanges(); // absent false
void setDisplayChanges(bool changes);
bool displayPercent(); // absent false
void setDisplayPercent(bool percent);
bool stackedChart(); // absent false
void setStackedChart(bool stacked);

bool showGoal(); // absent false
void setShowGoal(bool show);
/// 0 the suggested goal counts, 1 the fixed one (absent 0).
enum class GoalType { Suggested = 0, Fixed = 1 };
GoalType goalType();
void setGoalType(GoalType type);
/// The fixed goal, the age, the annual income and the suggested goal: none while absent (or
/// not a finite number); setting none removes the key.
using Preferences::goalAmount;
using Preferences::setGoalAmount;
std::optional<int> age();
void setAge(std::optional<int> years);
std::optional<double> annualIncome();
void setAnnualIncome(std::optional<double> income);
std::optional<double> suggestedGoal();
void setSuggestedGoal(std::optional<double> goal);

/// The goal the charts draw: the model's goal when it has one, else the fixed goal when that
/// kind is chosen, else the suggested goal.
std::optional<double> goal(std::optional<double> modelGoal);

bool showSymbols(); // absent true
void setShowSymbols(bool show);
bool showArea(); // absent true
void setShowArea(bool show);
/// "nwLineWidth": the line width control's index (absent 1, kept within 0..4); the line is
/// that many points plus one wide.
int lineWidthIndex();
void setLineWidthIndex(int index);
qreal lineWidth();

/// The line chart's date range: 0 all, 1 five years, 2 twelve months, 3 year to date
/// ("dateRange", absent 0, kept within 0..3).
int dateRange();
void setDateRange(int range);

} // namespace HistoryChartSettings
