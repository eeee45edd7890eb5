#pragma once

#include <QString>

#include <optional>

/// The comparison screen's one setting, over the standard user defaults. Main thread only.
namespace CompareSettings {

/// "ExchangeRate" (single-precision number): base-currency units per US dollar that the
/// statistics bars are multiplied by, as the user last entered it.
inline const QString exchangeRateKey = QStringLiteral("ExchangeRate");

/// The stored rate as a single-precision number; 1.0 when absent or when what is stored is no
/// usable rate (a 0 written by an older build would otherwise flatten every bar).
double exchangeRate();
/// Stores the rate in single precision and synchronises.
void setExchangeRate(double rate);

/// The rate typed into an exchange-rate field, read in the current locale's decimal style and
/// taken in single precision; none for text that is no finite number above 0.
std::optional<double> parseRate(const QString& text);
/// The text an exchange-rate field shows for a rate.
QString rateText(double rate);

} // namespace CompareSettings
