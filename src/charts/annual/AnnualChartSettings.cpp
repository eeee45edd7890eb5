#include "charts/annual/AnnualChartSettings.h"

#include "platform/UserDefaults.h"

#include <limits>

namespace AnnualChartSettings {

namespace {

platform::UserDefaults& defaults()
{
    return platform::UserDefaults::standard();
}

int integer(const QString& key)
{
    // A count of years is not negative, and one far outside int must not wrap into a
    // plausible one.
    return int(defaults().integer(key, defaultTrendPeriod, 0, std::numeric_limits<int>::max() / 2));
}

} // namespace

bool trendLine()
{
    return defaults().boolean(trendLineKey, false);
}

void setTrendLine(bool on)
{
    defaults().setValueAndSynchronize(trendLineKey, on);
}

int trendPeriod()
{
    return integer(trendPeriodKey);
}

void setTrendPeriod(int years)
{
    defaults().setValueAndSynchronize(trendPeriodKey, years);
}

int trendPeriodPre()
{
    return integer(trendPeriodPreKey);
}

void setTrendPeriodPre(int years)
{
    defaults().setValueAndSynchronize(trendPeriodPreKey, years);
}

ComboChoice comboChoice(int count, int itemCount)
{
    if (count < fewestTrendYears)
        return { 0, count };
    if (count - fewestTrendYears >= itemCount)
        return { 0, fewestTrendYears };
    return { count - fewestTrendYears, count };
}

} // namespace AnnualChartSettings
