#pragma once

#include "model/data/MVX_NWLog.h"

#include <QString>

class NWCurrencyFormatter;

/// The texts of one row of the record list, as pure functions of the records.
namespace RecordListTexts {

/// A record's net worth: its assets less its liabilities (absent counts as 0).
double netWorth(const MVX_NWLog& record);

/// The change against the next older record: "+$53  (5.3%)", "-$20  (-2.0%)", "$0  (0.0%)".
/// Empty without an older record, when the older net worth lies within 0.001 of 0, and when
/// the change or its percentage is beyond what a number holds (only for totals beyond
/// ModelRules::largestTotal). The fraction is taken of the older net worth's magnitude, so its
/// sign always follows the change's: from -1,000 to -500 is "+$500  (50.0%)".
QString changeText(const MVX_NWLog& record, const MVX_NWLog* older, const NWCurrencyFormatter& money);

/// The fraction as a percentage with one fraction digit and no grouping: 0.053 is "5.3%".
QString percentText(double fraction);

/// The record's month abbreviated in upper case in the current locale ("JAN"); empty
/// without a valid month.
QString monthText(const MVX_NWLog& record);

} // namespace RecordListTexts
