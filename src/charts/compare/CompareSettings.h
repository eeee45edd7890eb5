#pragma once

#include "platform/Expected.h"

#include <QString>

#include <optional>

/// The comparison screen's one setting, over the standard user defaults. Main thread only.
namespace CompareSettings {

/// "ExchangeRate" (single-precision number): base-currency units per US dollar that the
/// statistics bars are multiplied by, as the user last entered it.
inline const QString exchangeRateKey = QStringLiteral("ExchangeRate");

/// The stored rate as a single-precision number; none when absent or when what is stored is no
/// rate the field takes (a 0 written by an older build would flatten every bar, a huge one
/// would make the axis meaningless).
std::optional<double> exchangeRate();
/// Stores the rate in single precision and synchronises.
void setExchangeRate(double rate);

/// The rate typed into an exchange-rate field, read in the current locale's decimal style and
/// taken in single precision. A number outside the bounds the rate download keeps a currency's
/// rate in (`MVX_Currency`'s plausible rates per euro) is refused, as is text that is no
/// number: the error is the message for the user.
platform::Expected<double> parseRate(const QString& text);
/// The text an exchange-rate field shows for a rate.
QString rateText(double rate);

} // namespace CompareSettings
