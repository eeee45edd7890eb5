#include "records/rates/ExchangeRatesModel.h"

#include "records/rates/ExchangerateVC.h"

#include "model/format/Flags.h"
#include "model/store/NWData.h"

#include <QSize>

#include <algorithm>

ExchangeRatesModel::ExchangeRatesModel(const NWData& store, int maxDecimalPlaces, QObject* parent)
    : QAbstractListModel(parent), m_store(store), m_maxDecimalPlaces(maxDecimalPlaces)
{
    if (store.exchangeRates().isEmpty())
        return;
    const QString local = store.localCurrency() ? store.localCurrency()->ShortName() : QString();
    m_codes = sortedCurrencyCodes(store);
    m_codes.removeAll(local);
}

QStringList ExchangeRatesModel::sortedCurrencyCodes(const NWData& store)
{
    const MVX_CurrencyTable& table = store.supportedCurrencies();
    QStringList codes = table.keys();
    std::stable_sort(codes.begin(), codes.end(), [&table](const QString& a, const QString& b) {
        return table.value(a)->FullName().compare(table.value(b)->FullName(), Qt::CaseSensitive) < 0;
    });
    return codes;
}

int ExchangeRatesModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_codes.size());
}

QVariant ExchangeRatesModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const QString& code = m_codes.at(index.row());
    const auto currency = m_store.currencyFromCode(code);
    if (!currency)
        return {};
    switch (role) {
    case CodeRole:
        return code;
    case NameRole:
        return currency->FullName();
    case SymbolRole:
        return currency->Symbol();
    case FlagRole:
        // The flag of the country or union the code's first two letters name.
        return Flags::flagEmoji(code.left(2));
    case RateTextRole: {
        const auto rate = m_store.exchangeRates().value(code);
        if (!rate)
            return QString();
        const QString localSymbol = m_store.localCurrency() ? m_store.localCurrency()->Symbol() : QString();
        return QString(
            localSymbol + ExchangerateVC::toDecimalExchRateString(rate->exchangeRate(), m_maxDecimalPlaces));
    }
    case Qt::SizeHintRole:
        return QSize(0, rowHeight);
    default:
        return {};
    }
}

QHash<int, QByteArray> ExchangeRatesModel::roleNames() const
{
    return { { CodeRole, "code" }, { NameRole, "name" }, { SymbolRole, "symbol" }, { FlagRole, "flag" },
        { RateTextRole, "rateText" } };
}
