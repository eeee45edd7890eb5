#pragma once

#include "model/data/MVX_Category.h"
#include "model/data/MVX_CategoryLog.h"
#include "model/data/MVX_Model.h"
#include "model/data/MVX_NWLog.h"

#include <QString>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace mervane::test {

/// Model builders for tests: categories, category values and records whose totals add up.

/// A category value of `categoryID` (empty for a value without category).
inline std::shared_ptr<MVX_CategoryLog> categoryValue(const QString& categoryID, std::optional<double> value)
{
    auto log = std::make_shared<MVX_CategoryLog>();
    log->setCategoryID(categoryID);
    log->setValue(value);
    return log;
}

inline std::shared_ptr<MVX_Category> category(const QString& ID, const QString& name)
{
    auto result = std::make_shared<MVX_Category>();
    result->setID(ID);
    result->setCategoryName(name);
    return result;
}

/// A record whose totals are the sums of the values given.
inline std::shared_ptr<MVX_NWLog> recordWith(int year, int month,
    const std::vector<std::pair<QString, double>>& assets,
    const std::vector<std::pair<QString, double>>& liabilities = {})
{
    auto log = std::make_shared<MVX_NWLog>();
    log->setYear(year);
    log->setMonth(month);
    MVX_CategoryLogList assetLogs;
    MVX_CategoryLogList liabilityLogs;
    double assetTotal = 0.0;
    double liabilityTotal = 0.0;
    for (const auto& [ID, value] : assets) {
        assetLogs.append(categoryValue(ID, value));
        assetTotal += value;
    }
    for (const auto& [ID, value] : liabilities) {
        liabilityLogs.append(categoryValue(ID, value));
        liabilityTotal += value;
    }
    log->setAssetLogs(assetLogs);
    log->setLiabilityLogs(liabilityLogs);
    log->setAssets(assetTotal);
    log->setLiabilities(liabilityTotal);
    log->setNw(assetTotal - liabilityTotal);
    return log;
}

/// A record with its totals only (no category values).
inline std::shared_ptr<MVX_NWLog> recordWithTotals(int year, int month, double assets, double liabilities)
{
    auto log = std::make_shared<MVX_NWLog>();
    log->setYear(year);
    log->setMonth(month);
    log->setAssets(assets);
    log->setLiabilities(liabilities);
    log->setNw(assets - liabilities);
    log->setAssetLogs(MVX_CategoryLogList());
    log->setLiabilityLogs(MVX_CategoryLogList());
    return log;
}

} // namespace mervane::test
