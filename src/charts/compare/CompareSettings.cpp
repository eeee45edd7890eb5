#include "charts/compare/CompareSettings.h"

#include "model/data/MVX_Currency.h"
#include "platform/Strings.h"
#include "platform/UserDefaults.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace CompareSettings {

namespace {

double singlePrecision(double value)
{
    return double(float(value));
}

// A stored rate went through single precision: the bounds are compared in it too, so that a
// rate typed at a bound reads back.
bool storable(double rate)
{
    const float narrowed = float(rate);
    return narrowed >= float(MVX_Currency::minimumRatePerEuro)
        && narrowed <= float(MVX_Currency::maximumRatePerEuro); // false for NaN
}

QString boundText(double bound)
{
    return QLocale().toString(bound, 'f', QLocale::FloatingPointShortest);
}

// What the user typed, cut where it would fill the message.
QString quoted(const QString& text)
{
    constexpr qsizetype kLongest = 40;
    return text.size() > kLongest ? text.left(kLongest - 1) + QChar(0x2026) : text;
}

} // namespace

std::optional<double> exchangeRate()
{
    const auto& defaults = platform::UserDefaults::standard();
    if (!defaults.contains(exchangeRateKey))
        return std::nullopt;
    const double stored = defaults.real(exchangeRateKey, std::numeric_limits<double>::quiet_NaN());
    if (!storable(stored))
        return std::nullopt;
    return singlePrecision(stored);
}

void setExchangeRate(double rate)
{
    platform::UserDefaults::standard().setValueAndSynchronize(exchangeRateKey, singlePrecision(rate));
}

platform::Expected<double> parseRate(const QString& text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    double value = QLocale().toDouble(trimmed, &ok);
    if (!ok)
        value = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !MVX_Currency::isPlausibleRatePerEuro(value))
        return platform::Unexpected(
            platform::Strings::tr("\"%1\" is no exchange rate the charts can use. Enter a number from %2 to "
                                  "%3 (base currency units per US dollar).")
                .arg(quoted(trimmed), boundText(MVX_Currency::minimumRatePerEuro),
                    boundText(MVX_Currency::maximumRatePerEuro)));
    return singlePrecision(value);
}

QString rateText(double rate)
{
    return QLocale().toString(rate, 'g', 7);
}

} // namespace CompareSettings
