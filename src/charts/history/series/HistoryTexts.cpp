#include "charts/history/series/HistoryTexts.h"

#include "model/format/NWCurrencyFormatter.h"

#include <QDate>
#include <QLocale>

#include <cmath>

namespace historyseries {

namespace {

QString unsignedPercent(double percent)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(std::abs(percent), 'f', 2) + QLatin1Char('%');
}

} // namespace

QString percentText(double percent)
{
    return percent < 0 ? QString(QLatin1Char('-') + unsignedPercent(percent)) : unsignedPercent(percent);
}

QString popupAmountText(double amount, bool percent)
{
    if (percent)
        return percentText(amount);
    return NWCurrencyFormatter::currencyFormattedString(amount, false) + QLatin1Char(' ');
}

QString axisLabelText(double value, bool percent, const NWCurrencyFormatter& money)
{
    if (!percent)
        return money.stringFromNumber(value);
    return value < 0 ? QStringLiteral("(%1)").arg(unsignedPercent(value)) : unsignedPercent(value);
}

QString monthName(int year, int month)
{
    return QLocale().toString(QDate(year, month, 1), QStringLiteral("MMM"));
}

} // namespace historyseries
