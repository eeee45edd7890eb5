#pragma once

#include "model/mapping/MAPModel.h"

#include <QString>
#include <QVariantMap>

#include <optional>

/// The value of one category in one month. Every field may be absent.
class MVX_CategoryLog : public MAPModelSubclass<MVX_CategoryLog> {
    Q_GADGET
    Q_PROPERTY(QString categoryID READ categoryID WRITE setCategoryID)
    Q_PROPERTY(std::optional<int> year READ year WRITE setYear)
    Q_PROPERTY(std::optional<int> month READ month WRITE setMonth)
    Q_PROPERTY(std::optional<double> value READ value WRITE setValue)
    Q_PROPERTY(std::optional<double> exchangeRate READ exchangeRate WRITE setExchangeRate)
    Q_PROPERTY(std::optional<double> foreignValue READ foreignValue WRITE setForeignValue)

public:
    MVX_CategoryLog();
    /// Property key to JSON key, for the mapping layer.
    static QVariantMap JSONKeyPathsByPropertyKey();

    const QString& categoryID() const { return m_categoryID; }
    void setCategoryID(const QString& categoryID) { m_categoryID = categoryID; }
    std::optional<int> year() const { return m_year; }
    void setYear(std::optional<int> year) { m_year = year; }
    std::optional<int> month() const { return m_month; }
    void setMonth(std::optional<int> month) { m_month = month; }
    /// Value in the base currency.
    std::optional<double> value() const { return m_value; }
    void setValue(std::optional<double> value) { m_value = value; }
    /// Base-currency units per one unit of the category's currency when the value was entered.
    std::optional<double> exchangeRate() const { return m_exchangeRate; }
    void setExchangeRate(std::optional<double> exchangeRate) { m_exchangeRate = exchangeRate; }
    /// Value in the category's own currency.
    std::optional<double> foreignValue() const { return m_foreignValue; }
    void setForeignValue(std::optional<double> foreignValue) { m_foreignValue = foreignValue; }

    /// Field by field.
    bool operator==(const MVX_CategoryLog& other) const;

private:
    QString m_categoryID;
    std::optional<int> m_year;
    std::optional<int> m_month;
    std::optional<double> m_value;
    std::optional<double> m_exchangeRate;
    std::optional<double> m_foreignValue;
};
