#include "charts/compare/CompareSettings.h"

#include "platform/UserDefaults.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace CompareSettings {

namespace {

bool usable(double rate)
{
    return std::isfinite(rate) && rate > 0.0;
}

double singlePrecision(double value)
{
    return double(float(value));
}

} // namespace

double exchangeRate()
{
    const auto& defaults = platform::UserDefaults::standard();
    if (!defaults.contains(exchangeRateKey))
        return 1.0;
    // Within single precision before it is narrowed to it.
    const double stored
        = singlePrecision(defaults.real(exchangeRateKey, 1.0, 0.0, std::numeric_limits<float>::max()));
    return usable(stored) ? stored : 1.0;
}

void setExchangeRate(double rate)
{
    platform::UserDefaults::standard().setValueAndSynchronize(exchangeRateKey, singlePrecision(rate));
}

std::optional<double> parseRate(const QString& text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    double value = QLocale().toDouble(trimmed, &ok);
    if (!ok)
        value = QLocale::c().toDouble(trimmed, &ok);
    if (!ok)
        return std::nullopt;
    // Very large rates overflow single precision into infinity.
    value = singlePrecision(value);
    if (!usable(value))
        return std::nullopt;
    return value;
}

QString rateText(double rate)
{
    return QLocale().toString(rate, 'g', 7);
}

} // namespace CompareSettings
