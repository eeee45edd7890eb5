#include "records/list/RecordListTexts.h"

#include "model/format/NWCurrencyFormatter.h"

#include <QLocale>

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace RecordListTexts {

double netWorth(const MVX_NWLog& record)
{
    return record.assets().value_or(0) - record.liabilities().value_or(0);
}

QString percentText(double fraction)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(fraction * 100.0, 'f', 1) + locale.percent();
}

QString changeText(const MVX_NWLog& record, const MVX_NWLog* older, const NWCurrencyFormatter& money)
{
    if (!older)
        return QString();
    const double previous = netWorth(*older);
    if (!(std::abs(previous) > 0.001))
        return QString();
    const double change = netWorth(record) - previous;
    const double fraction = change / std::abs(previous);
    // As against nothing: a change beyond what a number holds, or a fraction of an older net
    // worth too small for it, has no figure to show.
    if (!std::isfinite(fraction * 100.0))
        return QString();
    return (change > 0 ? u"+%1  (%2)"_s : u"%1  (%2)"_s)
        .arg(money.stringFromNumber(change), percentText(fraction));
}

QString monthText(const MVX_NWLog& record)
{
    const int month = record.month().value_or(0);
    if (month < 1 || month > 12)
        return QString();
    return QLocale().monthName(month, QLocale::ShortFormat).toUpper();
}

} // namespace RecordListTexts
