#include "model/settings/Preferences.h"

#include "platform/UserDefaults.h"

#include <algorithm>
#include <cmath>

namespace Preferences {

namespace {

int withinYears(qint64 years)
{
    return static_cast<int>(std::clamp<qint64>(years, fewestAnnualYears, mostAnnualYears));
}

int withinDecimals(qint64 decimals)
{
    return static_cast<int>(
        std::clamp<qint64>(decimals, fewestExchangeRateDecimals, mostExchangeRateDecimals));
}

} // namespace

bool showStartForm()
{
    return platform::UserDefaults::standard().boolean(showStartFormKey, true);
}

void setShowStartForm(bool show)
{
    platform::UserDefaults::standard().setValueAndSynchronize(showStartFormKey, show);
}

int annualYears()
{
    return withinYears(platform::UserDefaults::standard().integer(maxAnnualYearsKey, defaultAnnualYears));
}

void setAnnualYears(int years)
{
    platform::UserDefaults::standard().setValueAndSynchronize(maxAnnualYearsKey, withinYears(years));
}

int exchangeRateDecimals()
{
    return withinDecimals(
        platform::UserDefaults::standard().integer(maxExchangeRateDecimalsKey, defaultExchangeRateDecimals));
}

void setExchangeRateDecimals(int decimals)
{
    platform::UserDefaults::standard().setValueAndSynchronize(
        maxExchangeRateDecimalsKey, withinDecimals(decimals));
}

std::optional<double> goalAmount()
{
    const QVariant value = platform::UserDefaults::standard().value(goalAmountKey);
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!value.isValid() || !ok || !std::isfinite(number))
        return std::nullopt;
    return number;
}

void setGoalAmount(std::optional<double> amount)
{
    platform::UserDefaults::standard().setValueAndSynchronize(
        goalAmountKey, amount && std::isfinite(*amount) ? QVariant(*amount) : QVariant());
}

} // namespace Preferences
