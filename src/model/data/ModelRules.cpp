#include "model/data/ModelRules.h"

#include "platform/Strings.h"

#include <QHash>
#include <QSet>

#include <cmath>
#include <optional>

using namespace Qt::Literals::StringLiterals;
using platform::Strings;

namespace {

bool finite(const std::optional<double>& value)
{
    return !value || std::isfinite(*value);
}

bool within(const std::optional<double>& value, double largest)
{
    return !value || std::abs(*value) <= largest;
}

QString limitText(double largest)
{
    return QString::number(largest, 'g', 3);
}

QString numberText(const std::optional<int>& value)
{
    return value ? QString::number(*value) : Strings::tr("none");
}

QString recordName(const MVX_NWLog& record, qsizetype position)
{
    return Strings::tr("record %1 (year %2, month %3)")
        .arg(position + 1)
        .arg(numberText(record.year()), numberText(record.month()));
}

QString categoryName(const MVX_Category& category, bool asset)
{
    return (asset ? Strings::tr("asset category \"%1\" (ID \"%2\")")
                  : Strings::tr("liability category \"%1\" (ID \"%2\")"))
        .arg(category.categoryName(), category.ID());
}

// Why the record's numbers break the rules, or an empty text.
QString valueBreach(const MVX_NWLog& record)
{
    const std::pair<const char*, std::optional<double>> totals[]
        = { { "assets", record.assets() }, { "liabilities", record.liabilities() }, { "nw", record.nw() },
              { "gold", record.gold() }, { "bitcoin", record.bitcoin() } };
    for (const auto& [name, value] : totals) {
        if (!finite(value))
            return Strings::tr("\"%1\" is not a finite number").arg(QString::fromLatin1(name));
        if (!within(value, ModelRules::largestTotal))
            return Strings::tr("\"%1\" is not from -%2 to %2")
                .arg(QString::fromLatin1(name), limitText(ModelRules::largestTotal));
    }
    for (const auto* logs : { &record.assetLogs(), &record.liabilityLogs() }) {
        for (const auto& log : logs->value_or(MVX_CategoryLogList())) {
            if (!log)
                continue;
            if (!finite(log->value()) || !finite(log->foreignValue()))
                return Strings::tr("the value of category ID \"%1\" is not a finite number")
                    .arg(log->categoryID());
            if (!within(log->value(), ModelRules::largestAmount)
                || !within(log->foreignValue(), ModelRules::largestAmount))
                return Strings::tr("the value of category ID \"%1\" is not from -%2 to %2")
                    .arg(log->categoryID(), limitText(ModelRules::largestAmount));
            const std::optional<double> rate = log->exchangeRate();
            if (rate && !(std::isfinite(*rate) && *rate > 0))
                return Strings::tr("the exchange rate of the value of category ID \"%1\" is not a "
                                   "finite number above 0")
                    .arg(log->categoryID());
        }
    }
    return QString();
}

QString recordBreach(const MVX_NWLog& record)
{
    const int month = record.month().value_or(0);
    if (month < 1 || month > 12)
        return Strings::tr("the month is not from 1 to 12");
    const int year = record.year().value_or(0);
    if (year < ModelRules::firstYear || year > ModelRules::lastYear)
        return Strings::tr("the year is not from %1 to %2")
            .arg(ModelRules::firstYear)
            .arg(ModelRules::lastYear);
    return valueBreach(record);
}

template <typename T> void removePositions(QList<std::shared_ptr<T>>& list, const QList<qsizetype>& positions)
{
    // Highest first, so that the positions still to go keep their meaning.
    for (auto it = positions.crbegin(); it != positions.crend(); ++it)
        list.removeAt(*it);
}

} // namespace

QString ModelRules::Report::summary() const
{
    if (count() <= 1)
        return first;
    return Strings::tr("%1 (others that break the model's rules: %2)").arg(first).arg(count() - 1);
}

ModelRules::Report ModelRules::check(const MVX_Model& model)
{
    Report report;
    const auto note = [&report](const QString& name, const QString& breach) {
        if (report.first.isEmpty())
            report.first = name + u": "_s + breach;
    };

    // Category ID to the name of the category that holds it.
    QHash<QString, QString> owners;
    for (const bool asset : { true, false }) {
        const std::optional<MVX_CategoryList>& list = asset ? model.assetscat() : model.liabilitycat();
        QList<qsizetype>& broken = asset ? report.assetCategories : report.liabilityCategories;
        const MVX_CategoryList categories = list.value_or(MVX_CategoryList());
        for (qsizetype i = 0; i < categories.size(); ++i) {
            const std::shared_ptr<MVX_Category>& category = categories.at(i);
            if (!category)
                continue;
            const QString name = categoryName(*category, asset);
            QString breach;
            if (const auto owner = owners.constFind(category->ID()); owner != owners.cend())
                breach = Strings::tr("the ID is also that of the %1").arg(*owner);
            else if (!finite(category->depreciationRate()))
                breach = Strings::tr("the depreciation rate is not a finite number");
            if (breach.isEmpty()) {
                owners.insert(category->ID(), name);
                continue;
            }
            broken.append(i);
            note(name, breach);
        }
    }

    // Year and month of the records that keep the rules, to the record's position.
    QHash<qint64, qsizetype> months;
    const MVX_NWLogList records = model.nwLogArray().value_or(MVX_NWLogList());
    for (qsizetype i = 0; i < records.size(); ++i) {
        const std::shared_ptr<MVX_NWLog>& record = records.at(i);
        if (!record)
            continue;
        QString breach = recordBreach(*record);
        if (breach.isEmpty()) {
            const qint64 key = qint64(*record->year()) * 12 + *record->month();
            if (const auto earlier = months.constFind(key); earlier != months.cend())
                breach = Strings::tr("%1 is for the same month")
                             .arg(recordName(*records.at(*earlier), *earlier));
            else
                months.insert(key, i);
        }
        if (breach.isEmpty())
            continue;
        report.records.append(i);
        note(recordName(*record, i), breach);
    }
    return report;
}

ModelRules::Report ModelRules::leaveOutBroken(MVX_Model& model)
{
    Report report = check(model);
    if (model.assetscat())
        removePositions(*model.assetscat(), report.assetCategories);
    if (model.liabilitycat())
        removePositions(*model.liabilitycat(), report.liabilityCategories);
    if (model.nwLogArray())
        removePositions(*model.nwLogArray(), report.records);
    return report;
}
