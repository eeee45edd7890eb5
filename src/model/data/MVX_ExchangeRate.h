#pragma once

#include <QString>

#include <atomic>

/// The rate of one currency against the local currency.
class MVX_ExchangeRate {
public:
    MVX_ExchangeRate(const QString& shortName, double exchangeRate)
        : m_ShortName(shortName), m_exchangeRate(exchangeRate)
    {
    }

    const QString& ShortName() const { return m_ShortName; }
    void setShortName(const QString& code) { m_ShortName = code; }
    /// Local-currency units per one unit of this currency.
    double exchangeRate() const { return m_exchangeRate.load(); }
    void setExchangeRate(double rate) { m_exchangeRate.store(rate); }

private:
    QString m_ShortName;
    std::atomic<double> m_exchangeRate;
};
