#pragma once

#include <QString>
#include <QStringList>

#include <compare>
#include <optional>

/// The report choices the report choice popover writes and the shell's print dispatch and the
/// print views read back: every key with its type and fallback (no defaults are registered).
/// Writers synchronise the user defaults before they announce anything.
namespace ReportChoiceSettings {

inline const QString nameFieldKey = QStringLiteral("print_nameField");
inline const QString includeNameKey = QStringLiteral("print_includeName");
inline const QString includeNWGoalKey = QStringLiteral("print_includeNWGoal");
inline const QString selectedMonthKey = QStringLiteral("print_selectedMonth");
inline const QString selectedYearKey = QStringLiteral("print_selectedYear");
inline const QString fromMonthKey = QStringLiteral("print_fromMonth");
inline const QString fromYearKey = QStringLiteral("print_fromYear");
inline const QString toMonthKey = QStringLiteral("print_toMonth");
inline const QString toYearKey = QStringLiteral("print_toYear");
inline const QString assetCategoryKey = QStringLiteral("ReportAssetCategoryKey");
inline const QString liabilityCategoryKey = QStringLiteral("ReportLiabilityCategoryKey");
/// "ReportTagIDsKey"; the store defines it (`NWData::reportTagIDsKey`).
QString tagIDsKey();

/// The number "PrintNotification" carries, equal to the popover's tab index.
enum class ReportKind { Statement = 0, Assets = 1, Liabilities = 2, Tags = 3 };

/// The years the month and year menus offer.
inline constexpr int firstYear = 1974;
inline constexpr int lastYear = 2054;
/// What the month and year keys are read as at most (0 stands for absent): a month of the
/// year, and a year the dates can hold.
inline constexpr int mostMonth = 12;
inline constexpr int mostYear = 9999;

struct MonthYear {
    int month = 0;
    int year = 0;
    auto operator<=>(const MonthYear& other) const
    {
        if (const auto byYear = year <=> other.year; byYear != 0)
            return byYear;
        return month <=> other.month;
    }
    bool operator==(const MonthYear&) const = default;
};

/// A report period: From is the newer end, To the older; both ends are included.
struct Period {
    MonthYear from;
    MonthYear to;
    bool operator==(const Period&) const = default;
};

/// The period with its ends in order: a From older than its To is swapped.
Period orderedPeriod(Period period);

/// The stored period, each integer 0 when absent (months within 0..12, years 0..9999), put in
/// order.
Period period();
/// Writes the four period keys (not synchronised).
void setPeriod(const Period& period);

/// The statement's month and year (within 0..12 and 0..9999), when both keys exist.
std::optional<MonthYear> selectedMonth();

/// The stored category ID; null when the key is absent or holds no text.
QString assetCategory();
QString liabilityCategory();
/// Write and synchronise.
void setAssetCategory(const QString& categoryID);
void setLiabilityCategory(const QString& categoryID);

/// The chosen tags; empty when absent.
QStringList tagIDs();
/// Writes and synchronises.
void setTagIDs(const QStringList& ids);

/// The name line: its text (empty when absent) and whether it is printed (false when absent).
QString nameField();
bool includeName();
bool includeNWGoal();

} // namespace ReportChoiceSettings
