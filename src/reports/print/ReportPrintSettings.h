#pragma once

#include <QString>

#include <optional>
#include <utility>

/// The report choices the printed reports read back from the user defaults, with their
/// fallbacks. Nothing is registered: a key that was never written gives the fallback.
namespace reportsettings {

inline const QString kNameField = QStringLiteral("print_nameField");
inline const QString kIncludeName = QStringLiteral("print_includeName");
inline const QString kSelectedMonth = QStringLiteral("print_selectedMonth");
inline const QString kSelectedYear = QStringLiteral("print_selectedYear");

/// The name to print on the statement: empty unless the include-name choice is on.
QString statementName();
/// What the month and year are read as at most: a month of the year, a year the dates can
/// hold (the report choices' own limits).
inline constexpr int mostMonth = 12;
inline constexpr int mostYear = 9999;

/// The statement's chosen (month, year), within 0..12 and 0..9999; none unless both keys
/// exist.
std::optional<std::pair<int, int>> statementMonthYear();

} // namespace reportsettings
