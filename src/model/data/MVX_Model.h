#pragma once

#include "model/data/MVX_Category.h"
#include "model/data/MVX_NWLog.h"
#include "model/data/MVX_Tags.h"
#include "model/mapping/MAPValueTransformer.h"

#include <QList>
#include <QString>
#include <QVariantMap>

#include <memory>
#include <optional>

using MVX_CategoryList = QList<std::shared_ptr<MVX_Category>>;
using MVX_NWLogList = QList<std::shared_ptr<MVX_NWLog>>;
using MVX_TagsList = QList<std::shared_ptr<MVX_Tags>>;

/// The root of a household's data. Model objects are shared: the store's two record
/// lists hold the same records, and screens change them in place.
class MVX_Model : public MAPModelSubclass<MVX_Model> {
    Q_GADGET
    Q_PROPERTY(QString version READ version WRITE setVersion)
    Q_PROPERTY(std::optional<MVX_CategoryList> assetscat READ assetscat WRITE setAssetscat)
    Q_PROPERTY(std::optional<MVX_CategoryList> liabilitycat READ liabilitycat WRITE setLiabilitycat)
    Q_PROPERTY(std::optional<MVX_NWLogList> nwLogArray READ nwLogArray WRITE setNwLogArray)
    Q_PROPERTY(std::optional<MVX_TagsList> tags READ tags WRITE setTags)
    Q_PROPERTY(QString baseCurrency READ baseCurrency WRITE setBaseCurrency)
    Q_PROPERTY(std::optional<double> ridIrevuGoal READ ridIrevuGoal WRITE setRidIrevuGoal)

public:
    MVX_Model();
    /// Property key to JSON key, for the mapping layer.
    static QVariantMap JSONKeyPathsByPropertyKey();
    Q_INVOKABLE static MAPValueTransformerPtr assetscatJSONTransformer();
    Q_INVOKABLE static MAPValueTransformerPtr liabilitycatJSONTransformer();
    Q_INVOKABLE static MAPValueTransformerPtr nwLogArrayJSONTransformer();
    Q_INVOKABLE static MAPValueTransformerPtr tagsJSONTransformer();

    /// The application's short version string, from the build.
    static QString applicationShortVersion();
    /// A model with the application's version and four empty lists, no base currency
    /// and no goal.
    static std::shared_ptr<MVX_Model> makeEmpty();

    const QString& version() const { return m_version; }
    void setVersion(const QString& version) { m_version = version; }
    const std::optional<MVX_CategoryList>& assetscat() const { return m_assetscat; }
    std::optional<MVX_CategoryList>& assetscat() { return m_assetscat; }
    void setAssetscat(std::optional<MVX_CategoryList> list) { m_assetscat = std::move(list); }
    const std::optional<MVX_CategoryList>& liabilitycat() const { return m_liabilitycat; }
    std::optional<MVX_CategoryList>& liabilitycat() { return m_liabilitycat; }
    void setLiabilitycat(std::optional<MVX_CategoryList> list) { m_liabilitycat = std::move(list); }
    /// Newest first while the store holds the model.
    const std::optional<MVX_NWLogList>& nwLogArray() const { return m_nwLogArray; }
    std::optional<MVX_NWLogList>& nwLogArray() { return m_nwLogArray; }
    void setNwLogArray(std::optional<MVX_NWLogList> list) { m_nwLogArray = std::move(list); }
    const std::optional<MVX_TagsList>& tags() const { return m_tags; }
    std::optional<MVX_TagsList>& tags() { return m_tags; }
    void setTags(std::optional<MVX_TagsList> list) { m_tags = std::move(list); }
    /// ISO 4217 code; null while none was chosen.
    const QString& baseCurrency() const { return m_baseCurrency; }
    void setBaseCurrency(const QString& code) { m_baseCurrency = code; }
    std::optional<double> ridIrevuGoal() const { return m_ridIrevuGoal; }
    void setRidIrevuGoal(std::optional<double> goal) { m_ridIrevuGoal = goal; }

    /// The first record of `nwLogArray` (the newest in the store's order), or null.
    std::shared_ptr<MVX_NWLog> currentLog() const;

    /// Field by field; lists compare their objects by content.
    bool operator==(const MVX_Model& other) const;

private:
    QString m_version;
    std::optional<MVX_CategoryList> m_assetscat;
    std::optional<MVX_CategoryList> m_liabilitycat;
    std::optional<MVX_NWLogList> m_nwLogArray;
    std::optional<MVX_TagsList> m_tags;
    QString m_baseCurrency;
    std::optional<double> m_ridIrevuGoal;
};
