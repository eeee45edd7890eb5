#pragma once

#include <QString>

#include <optional>

/// Settings that more than one subsystem reads, with their types, fallbacks and ranges, over
/// the standard user defaults. Every key is declared here once; every setter writes its key
/// and synchronises. ("SelectedAppearance" is the shell's: AppSettings.)
namespace Preferences {

/// "ShowStartForm" (boolean, absent: true): the welcome form is shown on the dashboard.
inline const QString showStartFormKey = QStringLiteral("ShowStartForm");
/// "MaxAnnualYears" (integer, absent: 10): the years of the annual chart, 5 to 49.
inline const QString maxAnnualYearsKey = QStringLiteral("MaxAnnualYears");
/// "MaxExchangeRateDecimals" (integer, absent: 5): fraction digits of shown exchange rates,
/// 1 to 10 (the settings' choices).
inline const QString maxExchangeRateDecimalsKey = QStringLiteral("MaxExchangeRateDecimals");
/// "nwGoalAmount" (number, absent: no goal): the history chart's fixed goal, which loading a
/// data file that holds a goal sets as well.
inline const QString goalAmountKey = QStringLiteral("nwGoalAmount");

inline constexpr int fewestAnnualYears = 5;
inline constexpr int mostAnnualYears = 49;
inline constexpr int defaultAnnualYears = 10;
inline constexpr int fewestExchangeRateDecimals = 1;
inline constexpr int mostExchangeRateDecimals = 10;
inline constexpr int defaultExchangeRateDecimals = 5;

bool showStartForm();
void setShowStartForm(bool show);

/// The stored years, brought into 5..49.
int annualYears();
/// Stores `years` brought into 5..49.
void setAnnualYears(int years);

/// The stored decimals, brought into 1..10.
int exchangeRateDecimals();
/// Stores `decimals` brought into 1..10.
void setExchangeRateDecimals(int decimals);

/// The goal: none while absent or not a finite number.
std::optional<double> goalAmount();
/// Stores the goal; none (or a number that is not finite) removes the key.
void setGoalAmount(std::optional<double> amount);

} // namespace Preferences
