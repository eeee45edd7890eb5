#pragma once

#include "model/mapping/MAPModel.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <optional>

/// An asset or liability category; its side follows from the list that holds it.
class MVX_Category : public MAPModelSubclass<MVX_Category> {
    Q_GADGET
    Q_PROPERTY(QString ID READ ID WRITE setID)
    Q_PROPERTY(QString categoryName READ categoryName WRITE setCategoryName)
    Q_PROPERTY(QString desc READ desc WRITE setDesc)
    Q_PROPERTY(bool isForeignCurrency READ isForeignCurrency WRITE setIsForeignCurrency)
    Q_PROPERTY(QString currency READ currency WRITE setCurrency)
    Q_PROPERTY(std::optional<QStringList> tags READ tags WRITE setTags)
    Q_PROPERTY(bool isDepreciable READ isDepreciable WRITE setIsDepreciable)
    Q_PROPERTY(std::optional<double> depreciationRate READ depreciationRate WRITE setDepreciationRate)
    Q_PROPERTY(qint32 sortOrder READ sortOrder WRITE setSortOrder)
    Q_PROPERTY(bool isHidden READ isHidden WRITE setIsHidden)

public:
    MVX_Category();
    /// Property key to JSON key, for the mapping layer.
    static QVariantMap JSONKeyPathsByPropertyKey();

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

    /// Field by field.
    bool operator==(const MVX_Category& other) const;

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
