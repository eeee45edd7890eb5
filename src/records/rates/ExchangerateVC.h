#pragma once

#include "model/settings/Preferences.h"

#include <QPointer>
#include <QWidget>

class ExchangeRatesModel;
class QLabel;
class QListView;
class QPushButton;
class TableRowHost;

/// The content of the exchange-rate popover: the local currency's English name over one
/// row per other currency of the table (flag, name, symbol and the price of one unit in the
/// local currency). Made anew for every opening; the decimals and the order are fixed when
/// it is made, the rates are read from the store as rows are drawn. It observes nothing.
class ExchangerateVC : public QWidget {
    Q_OBJECT
public:
    explicit ExchangerateVC(QWidget* parent = nullptr);
    ~ExchangerateVC() override;

    /// The rate as a plain number in the current locale: its decimal separator, no grouping,
    /// at most `decimals` fraction digits (none below 1, at most the settings' most, 10), no
    /// trailing zeros.
    static QString toDecimalExchRateString(double rate, int decimals);

    int maxDecimalPlaces() const { return m_maxDecimalPlaces; }

    QSize sizeHint() const override { return QSize(360, 420); }

private:
    void closeAction();

    int m_maxDecimalPlaces = Preferences::defaultExchangeRateDecimals;
    ExchangeRatesModel* m_sortedCurrency = nullptr;
    QPointer<QListView> m_tableView;
    TableRowHost* m_rowHost = nullptr;
    QPointer<QLabel> m_hostCurrencyLbl;
    QPointer<QPushButton> m_closeButton;
};
