#pragma once

#include <QString>

#include <atomic>

/// One row of the currency table. The rate per euro may be replaced by the exchange-rate
/// feed while screens read it, hence atomic.
class MVX_Currency {
public:
    /// Rates per euro outside this range are no real currency's: divided into one another
    /// they would turn amounts into 0 or infinity, so they are never stored.
    static constexpr double minimumRatePerEuro = 1e-4;
    static constexpr double maximumRatePerEuro = 1e6;
    static constexpr bool isPlausibleRatePerEuro(double rate)
    {
        return rate >= minimumRatePerEuro && rate <= maximumRatePerEuro; // false for NaN
    }

    MVX_Currency(const QString& symbol, const QString& shortName, const QString& fullName,
        const QString& imageName, double exchangeRate, const QString& localeID)
        : m_ShortName(shortName)
        , m_FullName(fullName)
        , m_Symbol(symbol)
        , m_ImageName(imageName)
        , m_exchangeRate(exchangeRate)
        , m_localeID(localeID)
    {
    }

    /// ISO 4217 code.
    const QString& ShortName() const { return m_ShortName; }
    void setShortName(const QString& code) { m_ShortName = code; }
    /// English name.
    const QString& FullName() const { return m_FullName; }
    void setFullName(const QString& name) { m_FullName = name; }
    const QString& Symbol() const { return m_Symbol; }
    void setSymbol(const QString& symbol) { m_Symbol = symbol; }
    const QString& ImageName() const { return m_ImageName; }
    void setImageName(const QString& name) { m_ImageName = name; }
    /// Units of this currency per one euro.
    double exchangeRate() const { return m_exchangeRate.load(); }
    /// Keeps the rate only when it is plausible; returns whether it was kept.
    bool setExchangeRate(double rate)
    {
        if (!isPlausibleRatePerEuro(rate))
            return false;
        m_exchangeRate.store(rate);
        return true;
    }
    /// Locale identifier ("en-us", "zh-hk"; empty for the root locale).
    const QString& localeID() const { return m_localeID; }
    void setLocaleID(const QString& localeID) { m_localeID = localeID; }

private:
    QString m_ShortName;
    QString m_FullName;
    QString m_Symbol;
    QString m_ImageName;
    std::atomic<double> m_exchangeRate;
    QString m_localeID;
};
