#pragma once

#include "model/data/MVX_Category.h"
#include "model/data/MVX_CategoryLog.h"
#include "model/data/MVX_Model.h"
#include "model/data/MVX_NWLog.h"

#include <QString>

#include <initializer_list>
#include <memory>
#include <utility>

namespace mervane::test {

inline std::shared_ptr<MVX_Category> compareCategory(const QString& id, const QString& name)
{
    auto category = std::make_shared<MVX_Category>();
    category->setID(id);
    category->setCategoryName(name);
    return category;
}

/// A record whose totals are the sums of its category values.
inline std::shared_ptr<MVX_NWLog> compareRecord(int year, int month,
    std::initializer_list<std::pair<QString, double>> assets,
    std::initializer_list<std::pair<QString, double>> liabilities = {})
{
    auto record = std::make_shared<MVX_NWLog>();
    record->setYear(year);
    record->setMonth(month);
    auto values = [&](std::initializer_list<std::pair<QString, double>> list, double& sum) {
        MVX_CategoryLogList result;
        for (const auto& [id, amount] : list) {
            auto value = std::make_shared<MVX_CategoryLog>();
            value->setCategoryID(id);
            value->setYear(year);
            value->setMonth(month);
            value->setValue(amount);
            result.append(value);
            sum += amount;
        }
        return result;
    };
    double a = 0;
    double l = 0;
    record->setAssetLogs(values(assets, a));
    record->setLiabilityLogs(values(liabilities, l));
    record->setAssets(a);
    record->setLiabilities(l);
    record->setNw(a - l);
    return record;
}

} // namespace mervane::test
