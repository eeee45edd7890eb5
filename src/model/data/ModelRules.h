#pragma once

#include "model/data/MVX_Model.h"

#include <QList>
#include <QString>

/// The rules every whole model that comes in from outside (the data file at start-up, a
/// restored backup, a CSV import) must keep, so that no screen meets a record it cannot place
/// or a category it cannot tell from another:
///
/// - a record has a month from 1 to 12 and a year from `firstYear` to `lastYear`: day numbers
///   count from 1900-01-01, and four-digit years are all the date texts can show;
/// - no two records are for the same month (the first in list order is the month's record);
/// - a category's ID names no other category, on either side (the first in the asset list,
///   then the liability list, keeps it);
/// - every number of a record, its category values and a category is finite, and a stored
///   exchange rate of a value is above 0;
/// - an amount of a category value (in the base currency or its own) is at most
///   `largestAmount` either side of 0, a record's total at most `largestTotal`.
///
/// Other oddities that the screens take in their stride (unknown currencies, values of
/// categories that do not exist) are no breach. Nothing here changes a model except
/// `leaveOutBroken`.
class ModelRules {
public:
    static constexpr int firstYear = 1900;
    static constexpr int lastYear = 9999;
    /// The largest amount either side of 0: far beyond any household's money, and far enough
    /// below the largest double (about 1.8e308) that every sum and difference the program forms
    /// is a number, also in another currency at any rate the feed keeps (at most 10^10 between
    /// two): a record's totals over all its values, the changes between two months.
    static constexpr double largestAmount = 1e250;
    /// The largest total of a record (assets, liabilities, net worth and the like): a data file
    /// is read up to 1 GiB, so a record sums fewer than 2^30 values.
    static constexpr double largestTotal = 1e10 * largestAmount;
    static_assert(largestTotal >= 0x1p31 * largestAmount);
    /// Whether `value` is an amount a category value may hold (false for NaN and infinities).
    static constexpr bool isAmount(double value) { return value >= -largestAmount && value <= largestAmount; }

    /// What breaks the rules, in the order the model's lists hold it.
    struct Report {
        /// Positions in `nwLogArray`, `assetscat` and `liabilitycat`.
        QList<qsizetype> records;
        QList<qsizetype> assetCategories;
        QList<qsizetype> liabilityCategories;
        /// The first breach: which record or category, and which rule.
        QString first;

        bool isEmpty() const { return count() == 0; }
        qsizetype count() const
        {
            return records.size() + assetCategories.size() + liabilityCategories.size();
        }
        /// `first`, with the number of the others when there are more.
        QString summary() const;
    };

    /// Checks the model; records and categories are reported by position.
    static Report check(const MVX_Model& model);
    /// Takes the reported records and categories out of the model and returns the report
    /// (empty when the model keeps every rule).
    static Report leaveOutBroken(MVX_Model& model);
};
