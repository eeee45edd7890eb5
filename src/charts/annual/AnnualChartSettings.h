#pragma once

#include <QString>

/// The annual chart's own settings with their fallbacks, over the standard user defaults.
/// The years of the chart are the settings popover's (`Preferences::annualYears`), the goal
/// the history chart's (`HistoryChartSettings`). Every setter writes and synchronises.
/// Main thread only.
namespace AnnualChartSettings {

inline const QString trendLineKey = QStringLiteral("TrendLine");
inline const QString trendPeriodKey = QStringLiteral("TrendPeriod");
inline const QString trendPeriodPreKey = QStringLiteral("TrendPeriodPreKey");

inline constexpr int defaultTrendPeriod = 3;
/// Item i of either trend combo box stands for the count i + 3.
inline constexpr int fewestTrendYears = 3;
inline constexpr int mostTrendYears = 10;
inline constexpr int trendComboItemCount = mostTrendYears - fewestTrendYears + 1;

bool trendLine(); // absent false
void setTrendLine(bool on);
/// Projected years ("TrendPeriod") and fitted year-end values ("TrendPeriodPreKey"), absent 3.
/// What is stored is returned as it is, but never below 0 (nor beyond half the int range);
/// `comboChoice` brings it to what a combo box can show.
int trendPeriod();
void setTrendPeriod(int years);
int trendPeriodPre();
void setTrendPeriodPre(int years);

/// The combo item shown for a stored count, and the count then in force: a count below 3
/// shows item 0 and stays; one beyond the last item becomes 3.
struct ComboChoice {
    int index = 0;
    int count = defaultTrendPeriod;
    bool operator==(const ComboChoice&) const = default;
};
ComboChoice comboChoice(int count, int itemCount = trendComboItemCount);

} // namespace AnnualChartSettings
