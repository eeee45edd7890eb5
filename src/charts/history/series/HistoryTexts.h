#pragma once

#include <QString>

class NWCurrencyFormatter;

/// The texts of the history chart's value popup and axes.
namespace historyseries {

/// A percentage with two fraction digits and "%" ("12.50%", "-3.25%").
QString percentText(double percent);
/// The value popup's amount: the percentage in percent mode, else the base-currency amount
/// with no fraction digits (negatives in parentheses) and a trailing blank.
QString popupAmountText(double amount, bool percent);
/// A y label: a percentage, negatives in parentheses ("(3.00%)"), or `money`'s text.
QString axisLabelText(double value, bool percent, const NWCurrencyFormatter& money);
/// The month's abbreviated name in the process's locale ("Mar").
QString monthName(int year, int month);

} // namespace historyseries
