#pragma once

#include <QAbstractListModel>
#include <QStringList>

class NWData;

/// The rows of the exchange-rate viewer: every currency of the store's table but the local
/// one, sorted by English name. The list is fixed when made, so the rows keep their order
/// whenever and in whatever order the view asks for them; the rates are read from the store
/// at each ask. No display text of its own: the row widgets show the roles' texts.
class ExchangeRatesModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role { CodeRole = Qt::UserRole + 1, NameRole, SymbolRole, FlagRole, RateTextRole };
    static constexpr int rowHeight = 30;

    /// Reads the table and the local currency of `store` (which must outlive the model) now;
    /// rates are written with at most `maxDecimalPlaces` fraction digits.
    ExchangeRatesModel(const NWData& store, int maxDecimalPlaces, QObject* parent = nullptr);

    /// Every code of the currency table, by English name (plain case-sensitive comparison).
    static QStringList sortedCurrencyCodes(const NWData& store);

    /// The codes shown, in row order; empty when the store has no exchange rates.
    const QStringList& codes() const { return m_codes; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    const NWData& m_store;
    int m_maxDecimalPlaces;
    QStringList m_codes;
};
