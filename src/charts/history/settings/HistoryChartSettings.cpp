#include "charts/history/settings/HistoryChartSettings.h"

#include "platform/UserDefaults.h"

#include <algorithm>
#include <cmath>

namespace HistoryChartSettings {

namespace {

platform::UserDefaults& defaults()
{
    return platform::UserDefaults::standard();
}

std::optional<double> finite(const QString& key)
{
    const QVariant value = defaults().value(key);
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!value.isValid() || !ok || !std::isfinite(number))
        return std::nullopt;
    return number;
}

void storeFinite(const QString& key, std::optional<double> value)
{
    defaults().setValueAndSynchronize(key, value && std::isfinite(*value) ? QVariant(*value) : QVariant());
}

} // namespace

ChartType chartType()
{
    return static_cast<ChartType>(std::clamp<qint64>(defaults().integer(chartTypeKey, 0), 0, 4));
}

void setChartType(ChartType type)
{
    defaults().setValueAndSynchronize(chartTypeKey, static_cast<int>(type));
}

QString assetCategory()
{
    return defaults().contains(assetCategoryKey) ? defaults().string(assetCategoryKey) : QString();
}

void setAssetCategory(const QString& categoryID)
{
    defaults().setValueAndSynchronize(
        assetCategoryKey, categoryID.isNull() ? QVariant() : QVariant(categoryID));
}

QString liabilityCategory()
{
    return defaults().contains(liabilityCategoryKey) ? defaults().string(liabilityCategoryKey) : QString();
}

void setLiabilityCategory(const QString& categoryID)
{
    defaults().setValueAndSynchronize(
        liabilityCategoryKey, categoryID.isNull() ? QVariant() : QVariant(categoryID));
}

bool displayChanges()
{
    return defaults().boolean(displayChangesKey, false);
}

void setDisplayChanges(bool changes)
{
    defaults().setValueAndSynchronize(displayChangesKey, changes);
}

bool displayPercent()
{
    return defaults().boolean(displayPercentKey, false);
}

void setDisplayPercent(bool percent)
{
    defaults().setValueAndSynchronize(displayPercentKey, percent);
}

bool stackedChart()
{
    return defaults().boolean(stackedChartKey, false);
}

void setStackedChart(bool stacked)
{
    defaults().setValueAndSynchronize(stackedChartKey, stacked);
}

bool showGoal()
{
    return defaults().boolean(showGoalKey, false);
}

void setShowGoal(bool show)
{
    defaults().setValueAndSynchronize(showGoalKey, show);
}

GoalType goalType()
{
    return defaults().integer(goalTypeKey, 0) == 1 ? GoalType::Fixed : GoalType::Suggested;
}

void setGoalType(GoalType type)
{
    defaults().setValueAndSynchronize(goalTypeKey, static_cast<int>(type));
}

std::optional<int> age()
{
    const std::optional<double> years = finite(ageKey);
    if (!years || std::abs(*years) > 1000)
        return std::nullopt;
    return static_cast<int>(*years);
}

void setAge(std::optional<int> years)
{
    defaults().setValueAndSynchronize(ageKey, years ? QVariant(*years) : QVariant());
}

std::optional<double> annualIncome()
{
    return finite(annualIncomeKey);
}

void setAnnualIncome(std::optional<double> income)
{
    storeFinite(annualIncomeKey, income);
}

std::optional<double> suggestedGoal()
{
    return finite(suggestedGoalKey);
}

void setSuggestedGoal(std::optional<double> goal)
{
    storeFinite(suggestedGoalKey, goal);
}

std::optional<double> goal(std::optional<double> modelGoal)
{
    if (modelGoal && std::isfinite(*modelGoal))
        return modelGoal;
    return goalType() == GoalType::Fixed ? goalAmount() : suggestedGoal();
}

bool showSymbols()
{
    return defaults().boolean(showSymbolsKey, true);
}

void setShowSymbols(bool show)
{
    defaults().setValueAndSynchronize(showSymbolsKey, show);
}

bool showArea()
{
    return defaults().boolean(showAreaKey, true);
}

void setShowArea(bool show)
{
    defaults().setValueAndSynchronize(showAreaKey, show);
}

int lineWidthIndex()
{
    return static_cast<int>(std::clamp<qint64>(defaults().integer(lineWidthKey, 1), 0, 4));
}

void setLineWidthIndex(int index)
{
    defaults().setValueAndSynchronize(lineWidthKey, std::clamp(index, 0, 4));
}

qreal lineWidth()
{
    return lineWidthIndex() + 1;
}

int dateRange()
{
    return static_cast<int>(std::clamp<qint64>(defaults().integer(dateRangeKey, 0), 0, 3));
}

void setDateRange(int range)
{
    defaults().setValueAndSynchronize(dateRangeKey, std::clamp(range, 0, 3));
}

} // namespace HistoryChartSettings
