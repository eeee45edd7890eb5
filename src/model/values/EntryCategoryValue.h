#pragma once

#include <QString>

#include <optional>

/// One row of the record editor: one category's value in the record being edited.
class EntryCategoryValue {
public:
    EntryCategoryValue() = default;
    EntryCategoryValue(const QString& name, double categoryValue, bool prePopulated, const QString& ID,
        bool isForeignCurrency, const QString& currencyName, std::optional<double> foreignValue,
        std::optional<double> exchangeRate)
        : m_categoryName(name)
        , m_categoryID(ID)
        , m_categoryValue(categoryValue)
        , m_foreignValue(foreignValue)
        , m_prePopulated(prePopulated)
        , m_currencyName(currencyName)
        , m_exchangeRate(exchangeRate)
        , m_isForeignCurrency(isForeignCurrency)
    {
    }

    const QString& categoryName() const { return m_categoryName; }
    void setCategoryName(const QString& name) { m_categoryName = name; }
    const QString& categoryID() const { return m_categoryID; }
    void setCategoryID(const QString& ID) { m_categoryID = ID; }
    /// In the base currency.
    double categoryValue() const { return m_categoryValue; }
    void setCategoryValue(double value) { m_categoryValue = value; }
    /// The amount in the category's own currency.
    std::optional<double> foreignValue() const { return m_foreignValue; }
    void setForeignValue(std::optional<double> value) { m_foreignValue = value; }
    /// Copied from the newest record rather than typed.
    bool prePopulated() const { return m_prePopulated; }
    void setPrePopulated(bool prePopulated) { m_prePopulated = prePopulated; }
    /// The currency code of a foreign-currency category.
    const QString& currencyName() const { return m_currencyName; }
    void setCurrencyName(const QString& code) { m_currencyName = code; }
    /// Base-currency units per unit of that currency.
    std::optional<double> exchangeRate() const { return m_exchangeRate; }
    void setExchangeRate(std::optional<double> rate) { m_exchangeRate = rate; }
    bool isForeignCurrency() const { return m_isForeignCurrency; }
    void setIsForeignCurrency(bool foreign) { m_isForeignCurrency = foreign; }

    bool operator==(const EntryCategoryValue&) const = default;

private:
    QString m_categoryName;
    QString m_categoryID;
    double m_categoryValue = 0;
    std::optional<double> m_foreignValue;
    bool m_prePopulated = false;
    QString m_currencyName;
    std::optional<double> m_exchangeRate;
    bool m_isForeignCurrency = false;
};
