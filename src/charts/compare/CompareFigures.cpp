#include "charts/compare/CompareFigures.h"

#include "model/format/NWCurrencyFormatter.h"

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace CompareFigures {

namespace {

const QString kNoChange = u"-"_s;

double assetsOf(const MVX_NWLog& record)
{
    return record.assets().value_or(0.0);
}

double liabilitiesOf(const MVX_NWLog& record)
{
    return record.liabilities().value_or(0.0);
}

} // namespace

std::shared_ptr<MVX_NWLog> nwLogWithYear(const MVX_NWLogList& records, int year, int month)
{
    for (const auto& record : records) {
        if (record && record->year() == year && record->month() == month)
            return record;
    }
    return nullptr;
}

QString amountText(double amount)
{
    // A sum beyond what a number holds (only of amounts beyond the model's rules) is no figure.
    if (!std::isfinite(amount))
        return kNoChange;
    return NWCurrencyFormatter::currencyFormattedString(amount, false);
}

QString percentText(double change, double base)
{
    const double divisor = std::abs(base);
    double percent = divisor == 0.0 ? 0.0 : 100.0 * (change / divisor);
    // A base too small for the change is shown as one of nothing.
    if (!std::isfinite(percent))
        percent = 0.0;
    // Not "-0.00%" for a change of nothing.
    return QString::asprintf("%6.2f%%", percent == 0.0 ? 0.0 : percent);
}

Header header(const MVX_NWLog* first, const MVX_NWLog* second)
{
    Header result;
    if (first) {
        result.assets1 = amountText(assetsOf(*first));
        result.liabilities1 = amountText(liabilitiesOf(*first));
        result.netWorth1 = amountText(assetsOf(*first) - liabilitiesOf(*first));
    }
    if (second) {
        result.assets2 = amountText(assetsOf(*second));
        result.liabilities2 = amountText(liabilitiesOf(*second));
        result.netWorth2 = amountText(assetsOf(*second) - liabilitiesOf(*second));
    }
    if (!first || !second) {
        for (QString* change : { &result.assetsChange, &result.liabilitiesChange, &result.netWorthChange,
                 &result.assetsPercent, &result.liabilitiesPercent, &result.netWorthPercent })
            *change = kNoChange;
        return result;
    }
    const double a1 = assetsOf(*first);
    const double l1 = liabilitiesOf(*first);
    const double a2 = assetsOf(*second);
    const double l2 = liabilitiesOf(*second);
    const double assetsChange = a2 - a1;
    const double liabilitiesChange = l2 - l1;
    const double netWorthChange = (a2 - l2) - (a1 - l1);
    const auto change = [](QString& amount, QString& percent, double by, double base) {
        amount = amountText(by);
        percent = std::isfinite(by) ? percentText(by, base) : kNoChange;
    };
    change(result.assetsChange, result.assetsPercent, assetsChange, a1);
    change(result.liabilitiesChange, result.liabilitiesPercent, liabilitiesChange, l1);
    change(result.netWorthChange, result.netWorthPercent, netWorthChange, a1 - l1);
    return result;
}

double categoryValue(const MVX_NWLog* record, const QString& id, bool asset)
{
    if (!record)
        return 0.0;
    const auto& values = asset ? record->assetLogs() : record->liabilityLogs();
    if (!values)
        return 0.0;
    for (const auto& value : *values) {
        if (value && value->categoryID() == id)
            return value->value().value_or(0.0);
    }
    return 0.0;
}

Totals totals(const MVX_NWLog* first, const MVX_NWLog* second, bool assets)
{
    auto amount = [assets](const MVX_NWLog* record) {
        return record ? (assets ? assetsOf(*record) : liabilitiesOf(*record)) : 0.0;
    };
    Totals result;
    result.first = first ? amountText(amount(first)) : kNoChange;
    result.second = second ? amountText(amount(second)) : kNoChange;
    result.difference = first || second ? amountText(amount(first) - amount(second)) : kNoChange;
    return result;
}

} // namespace CompareFigures
