#pragma once

#include <QString>
#include <QStringList>

#include <optional>

/// An asset or liability category; its side follows from the list that holds it.
class MVX_Category {
public:
    MVX_Category() = default;
    MVX_Category(const MVX_Category&) = default;
    MVX_Category& operator=(const MVX_Category&) = default;
    virtual ~MVX_Category() = default;

    const QString& ID() const { return m_ID; }
    void setID(const QString& ID) { m_ID = ID; }
    const QString& categoryName() const { return m_categoryName; }
    void setCategoryName(const QString& categoryName) { m_categoryName = categoryName; }
    const QString& desc() const { return m_desc; }
    void setDesc(const QString& desc) { m_desc = desc; }
    bool isForeignCurrency() const { return m_isForeignCurrency; }
    void setIsForeignCurrency(bool isForeignCurrency) { m_isForeignCurrency = isForeignCurrency; }
    /// ISO 4217 code of the category's own currency.
    const QString& currency() const { return m_currency; }
    void setCurrency(const QString& currency) { m_currency = currency; }
    /// IDs of the tags the category carries; none when absent. Edit in place through the
    /// non-const overload.
    const std::optional<QStringList>& tags() const { return m_tags; }
    std::optional<QStringList>& tags() { return m_tags; }
    void setTags(std::optional<QStringList> tags) { m_tags = std::move(tags); }
    bool isDepreciable() const { return m_isDepreciable; }
    void setIsDepreciable(bool isDepreciable) { m_isDepreciable = isDepreciable; }
    /// A fraction, not a percentage.
    std::optional<double> depreciationRate() const { return m_depreciationRate; }
    void setDepreciationRate(std::optional<double> rate) { m_depreciationRate = rate; }
    qint32 sortOrder() const { return m_sortOrder; }
    void setSortOrder(qint32 sortOrder) { m_sortOrder = sortOrder; }
    bool isHidden() const { return m_isHidden; }
    void setIsHidden(bool isHidden) { m_isHidden = isHidden; }

    bool operator==(const MVX_Category&) const = default;

private:
    QString m_ID;
    QString m_categoryName;
    QString m_desc;
    bool m_isForeignCurrency = false;
    QString m_currency;
    std::optional<QStringList> m_tags;
    bool m_isDepreciable = false;
    std::optional<double> m_depreciationRate;
    qint32 m_sortOrder = 0;
    bool m_isHidden = false;
};
