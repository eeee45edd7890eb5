#include "model/settings/Preferences.h"

#include "platform/UserDefaults.h"

#include <algorithm>

namespace Preferences {

namespace {

void store(const QString& key, const QVariant& value)
{
    auto& defaults = platform::UserDefaults::standard();
    defaults.setValue(key, value);
    defaults.synchronize();
}

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
    store(showStartFormKey, show);
}

int annualYears()
{
    return withinYears(platform::UserDefaults::standard().integer(maxAnnualYearsKey, defaultAnnualYears));
}

void setAnnualYears(int years)
{
    store(maxAnnualYearsKey, withinYears(years));
}

int exchangeRateDecimals()
{
    return static_cast<int>(
        platform::UserDefaults::standard().integer(maxExchangeRateDecimalsKey, defaultExchangeRateDecimals));
}

void setExchangeRateDecimals(int decimals)
{
    store(maxExchangeRateDecimalsKey, decimals);
}

} // namespace Preferences
