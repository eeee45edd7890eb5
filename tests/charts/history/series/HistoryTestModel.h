#pragma once

// A household for the history chart's tests: asset categories "CASH" and "HOME", liability
// "LOAN", tag "T1" on CASH and LOAN, records with these categories' values.
#include "model/data/MVX_Model.h"
#include "model/store/NWData.h"

#include <QString>

#include <memory>

namespace historytest {

struct Month {
    int year;
    int month;
    double cash;
    double home;
    double loan;
};

inline std::shared_ptr<MVX_CategoryLog> categoryLog(const QString& id, const Month& m, double value)
{
    auto log = std::make_shared<MVX_CategoryLog>();
    log->setCategoryID(id);
    log->setYear(m.year);
    log->setMonth(m.month);
    log->setValue(value);
    return log;
}

inline std::shared_ptr<MVX_Category> category(const QString& id, const QString& name, const QStringList& tags)
{
    auto c = std::make_shared<MVX_Category>();
    c->setID(id);
    c->setCategoryName(name);
    c->setTags(tags);
    return c;
}

inline std::shared_ptr<MVX_Model> household(const QList<Month>& months)
{
    auto model = MVX_Model::makeEmpty();
    model->setBaseCurrency(QStringLiteral("USD"));
    model->assetscat()->append(
        category(QStringLiteral("CASH"), QStringLiteral("Cash"), { QStringLiteral("T1") }));
    model->assetscat()->append(category(QStringLiteral("HOME"), QStringLiteral("Home"), {}));
    model->liabilitycat()->append(
        category(QStringLiteral("LOAN"), QStringLiteral("Loan"), { QStringLiteral("T1") }));
    auto tag = std::make_shared<MVX_Tags>();
    tag->setID(QStringLiteral("T1"));
    tag->setName(QStringLiteral("Liquid"));
    model->setTags(MVX_TagsList { tag });
    for (const Month& m : months) {
        auto record = std::make_shared<MVX_NWLog>();
        record->setYear(m.year);
        record->setMonth(m.month);
        record->setAssets(m.cash + m.home);
        record->setLiabilities(m.loan);
        record->setNw(m.cash + m.home - m.loan);
        record->setAssetLogs(MVX_CategoryLogList {
            categoryLog(QStringLiteral("CASH"), m, m.cash), categoryLog(QStringLiteral("HOME"), m, m.home) });
        record->setLiabilityLogs(MVX_CategoryLogList { categoryLog(QStringLiteral("LOAN"), m, m.loan) });
        model->nwLogArray()->append(record);
    }
    return model;
}

/// Makes the model the store's, records in chart order, without writing a file.
inline void install(const std::shared_ptr<MVX_Model>& model)
{
    NWData::shared()->setAppData(model);
    NWData::shared()->sortNWArray(model->nwLogArray().value_or(MVX_NWLogList()));
}

/// Twelve months of 2023 whose net worth rises from 1,000 by 1,000 a month, then 13,500 in December.
inline QList<Month> rising2023()
{
    QList<Month> months;
    for (int month = 1; month <= 12; ++month) {
        const double nw = month == 12 ? 13500 : month * 1000.0;
        months.append(Month { 2023, month, nw / 2, nw, nw / 2 });
    }
    return months;
}

} // namespace historytest
