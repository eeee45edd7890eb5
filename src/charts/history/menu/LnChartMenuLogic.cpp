#include "charts/history/menu/LnChartMenuLogic.h"

#include "model/format/NWCurrencyFormatter.h"
#include "model/store/NWData.h"
#include "platform/Strings.h"
#include "platform/UserDefaults.h"

#include <QLocale>

#include <cmath>

namespace LnChartMenu {

namespace {

// Ages the settings read back as ages (beyond that they read as absent).
constexpr double greatestAge = 1000.0;

std::optional<double> decimalNumber(const QString& text)
{
    bool ok = false;
    double number = QLocale().toDouble(text, &ok);
    if (!ok)
        number = QLocale::c().toDouble(text, &ok);
    return ok ? std::optional(number) : std::nullopt;
}

} // namespace

std::optional<double> calculateSuggestedNW(std::optional<int> age, std::optional<double> income)
{
    if (!age || !income)
        return std::nullopt;
    return static_cast<double>(*age) * *income / 10.0;
}

platform::Expected<std::optional<double>> readAmount(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::optional<double>();
    std::optional<double> number = NWCurrencyFormatter().numberFromString(trimmed);
    if (!number)
        number = decimalNumber(trimmed);
    if (!number || !std::isfinite(*number))
        return platform::Unexpected(platform::Strings::tr("Enter an amount, or nothing."));
    return number;
}

platform::Expected<std::optional<int>> readAge(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::optional<int>();
    const std::optional<double> number = decimalNumber(trimmed);
    if (!number || !std::isfinite(*number) || std::abs(*number) > greatestAge)
        return platform::Unexpected(platform::Strings::tr("Enter your age in years, or nothing."));
    return std::optional(static_cast<int>(*number));
}

QString chosenCategoryOrFirst(const QString& chosen, const MVX_CategoryList& categories)
{
    if (rowOfCategory(chosen, categories) >= 0)
        return chosen;
    for (const auto& category : categories) {
        if (category)
            return category->ID();
    }
    return {};
}

int rowOfCategory(const QString& categoryID, const MVX_CategoryList& categories)
{
    if (categoryID.isEmpty())
        return -1;
    for (qsizetype row = 0; row < categories.size(); ++row) {
        if (categories.at(row) && categories.at(row)->ID() == categoryID)
            return static_cast<int>(row);
    }
    return -1;
}

FormState formState(HistoryChartSettings::ChartType type, bool displayChanges, bool showGoal,
    HistoryChartSettings::GoalType goalType)
{
    using HistoryChartSettings::ChartType;
    FormState state;
    const bool netWorthValues = type == ChartType::NetWorth && !displayChanges;
    state.stackedVisible = netWorthValues;
    state.goalGroupEnabled = netWorthValues;
    state.goalActive = netWorthValues && showGoal;
    state.fixedGoalShown = goalType == HistoryChartSettings::GoalType::Fixed;
    switch (type) {
    case ChartType::NetWorth:
    case ChartType::AssetsAndLiabilities:
        state.assetTableEnabled = false;
        state.liabilityTableEnabled = false;
        break;
    case ChartType::AssetCategory:
        state.assetTableEnabled = true;
        state.liabilityTableEnabled = false;
        break;
    case ChartType::LiabilityCategory:
        state.assetTableEnabled = false;
        state.liabilityTableEnabled = true;
        break;
    case ChartType::Tags:
        break;
    }
    constexpr qreal dimmed = 0.2;
    const bool tags = type == ChartType::Tags;
    state.assetRowsOpacity = tags || type == ChartType::AssetCategory ? 1.0 : dimmed;
    state.liabilityRowsOpacity = tags || type == ChartType::LiabilityCategory ? 1.0 : dimmed;
    state.percentControlOpacity = displayChanges ? 1.0 : dimmed;
    return state;
}

} // namespace LnChartMenu
