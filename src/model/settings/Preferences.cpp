#include "model/settings/Preferences.h"

#include "platform/UserDefaults.h"

#include <algorithm>

namespace Preferences {

namespace {

int withinYears(qint64 years)
{
    return static_cast<int>(std::clamp<qint64>(years, fewestAnnualYears, mostAnnualYears));
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
    return static_cast<int>(
        platform::UserDefaults::standard().integer(maxExchangeRateDecimalsKey, defaultExchangeRateDecimals));
}

void setExchangeRateDecimals(int decimals)
{
    platform::UserDefaults::standard().setValueAndSynchronize(maxExchangeRateDecimalsKey, decimals);
}

} // namespace Preferences
