#pragma once

#include <QString>

/// The settings popover's keys with their types and fallbacks, over the standard user
/// defaults. Every setter writes its key and synchronises. ("SelectedAppearance" is the
/// shell's: AppSettings.)
namespace Preferences {

/// "ShowStartForm" (boolean, absent: true): the welcome form is shown on the dashboard.
inline const QString showStartFormKey = QStringLiteral("ShowStartForm");
/// "MaxAnnualYears" (integer, absent: 10): the years of the annual chart, 5 to 49.
inline const QString maxAnnualYearsKey = QStringLiteral("MaxAnnualYears");
/// "MaxExchangeRateDecimals" (integer, absent: 5): fraction digits of shown exchange rates.
inline const QString maxExchangeRateDecimalsKey = QStringLiteral("MaxExchangeRateDecimals");

inline constexpr int fewestAnnualYears = 5;
inline constexpr int mostAnnualYears = 49;
inline constexpr int defaultAnnualYears = 10;
inline constexpr int defaultExchangeRateDecimals = 5;

bool showStartForm();
void setShowStartForm(bool show);

/// The stored years, brought into 5..49.
int annualYears();
/// Stores `years` brought into 5..49.
void setAnnualYears(int years);

int exchangeRateDecimals();
void setExchangeRateDecimals(int decimals);

} // namespace Preferences
