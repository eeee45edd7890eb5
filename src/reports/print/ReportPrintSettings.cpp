#include "reports/print/ReportPrintSettings.h"

#include "platform/UserDefaults.h"

namespace reportsettings {

QString statementName()
{
    const platform::UserDefaults& defaults = platform::UserDefaults::standard();
    if (!defaults.boolean(kIncludeName, false))
        return {};
    return defaults.string(kNameField, {});
}

std::optional<std::pair<int, int>> statementMonthYear()
{
    const platform::UserDefaults& defaults = platform::UserDefaults::standard();
    if (!defaults.contains(kSelectedMonth) || !defaults.contains(kSelectedYear))
        return std::nullopt;
    return std::pair { int(defaults.integer(kSelectedMonth, 0, 0, mostMonth)),
        int(defaults.integer(kSelectedYear, 0, 0, mostYear)) };
}

} // namespace reportsettings
