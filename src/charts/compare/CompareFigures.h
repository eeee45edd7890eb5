#pragma once

#include "model/data/MVX_Model.h"

#include <QString>

#include <memory>

/// The numbers and texts of the two-month comparison: the header's figures and changes, the
/// category values of the detailed comparison and its totals. Pure functions of the records;
/// amounts in the base currency without fraction digits, negatives in parentheses.
namespace CompareFigures {

/// The first record of `records` for that month; none when there is none.
std::shared_ptr<MVX_NWLog> nwLogWithYear(const MVX_NWLogList& records, int year, int month);

/// The amount as every field of the comparison shows it; "-" for one that is not finite.
QString amountText(double amount);

/// "%6.2f%%" of the change as a percentage of the magnitude of `base`, so that a rise shows as a
/// rise also from a negative amount; 0 when `base` is 0 or the percentage is not finite.
QString percentText(double change, double base);

/// The header: each month's assets, liabilities and net worth (empty without its record) and
/// the changes from the first month to the second (amounts and percentages; "-" unless both
/// months have a record, and for a change that is not finite).
struct Header {
    QString assets1, liabilities1, netWorth1;
    QString assets2, liabilities2, netWorth2;
    QString assetsChange, liabilitiesChange, netWorthChange;
    QString assetsPercent, liabilitiesPercent, netWorthPercent;
};
Header header(const MVX_NWLog* first, const MVX_NWLog* second);

/// The value of the category `id` in the record's asset (or liability) values; 0 when the
/// record is none or holds no value of it.
double categoryValue(const MVX_NWLog* record, const QString& id, bool asset);

/// The totals under a category table: each record's assets (or liabilities), "-" without the
/// record, and the first minus the second with a missing record counting 0 ("-" when both
/// are missing).
struct Totals {
    QString first, second, difference;
};
Totals totals(const MVX_NWLog* first, const MVX_NWLog* second, bool assets);

} // namespace CompareFigures
