#include "reports/settings/ReportChoiceSettings.h"

#include "model/store/NWData.h"
#include "platform/UserDefaults.h"

#include <QMetaType>

#include <utility>

namespace ReportChoiceSettings {

namespace {

platform::UserDefaults& defaults()
{
    return platform::UserDefaults::standard();
}

int month(const QString& key)
{
    return static_cast<int>(defaults().integer(key, 0, 0, mostMonth));
}

int year(const QString& key)
{
    return static_cast<int>(defaults().integer(key, 0, 0, mostYear));
}

QString storedText(const QString& key)
{
    const QVariant value = defaults().value(key);
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

} // namespace

QString tagIDsKey()
{
    return NWData::reportTagIDsKey;
}

Period orderedPeriod(Period period)
{
    if (period.from < period.to)
        std::swap(period.from, period.to);
    return period;
}

Period period()
{
    return orderedPeriod(
        { { month(fromMonthKey), year(fromYearKey) }, { month(toMonthKey), year(toYearKey) } });
}

void setPeriod(const Period& period)
{
    defaults().setValue(fromMonthKey, period.from.month);
    defaults().setValue(fromYearKey, period.from.year);
    defaults().setValue(toMonthKey, period.to.month);
    defaults().setValue(toYearKey, period.to.year);
}

std::optional<MonthYear> selectedMonth()
{
    if (!defaults().contains(selectedMonthKey) || !defaults().contains(selectedYearKey))
        return std::nullopt;
    return MonthYear { month(selectedMonthKey), year(selectedYearKey) };
}

QString assetCategory()
{
    return storedText(assetCategoryKey);
}

QString liabilityCategory()
{
    return storedText(liabilityCategoryKey);
}

void setAssetCategory(const QString& categoryID)
{
    defaults().setValueAndSynchronize(assetCategoryKey, categoryID);
}

void setLiabilityCategory(const QString& categoryID)
{
    defaults().setValueAndSynchronize(liabilityCategoryKey, categoryID);
}

QStringList tagIDs()
{
    return defaults().stringList(tagIDsKey());
}

void setTagIDs(const QStringList& ids)
{
    defaults().setValueAndSynchronize(tagIDsKey(), ids);
}

QString nameField()
{
    return defaults().string(nameFieldKey);
}

bool includeName()
{
    return defaults().boolean(includeNameKey, false);
}

bool includeNWGoal()
{
    return defaults().boolean(includeNWGoalKey, false);
}

} // namespace ReportChoiceSettings
