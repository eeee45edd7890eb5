#pragma once

#include "model/data/MVX_CategoryLog.h"
#include "model/mapping/MAPValueTransformer.h"

#include <QList>
#include <QString>
#include <QVariantMap>

#include <memory>
#include <optional>

using MVX_CategoryLogList = QList<std::shared_ptr<MVX_CategoryLog>>;

/// One monthly net-worth record. Every field may be absent. The lists are edited in
/// place through the non-const overloads.
class MVX_NWLog : public MAPModelSubclass<MVX_NWLog> {
    Q_GADGET
    Q_PROPERTY(std::optional<int> year READ year WRITE setYear)
    Q_PROPERTY(std::optional<int> month READ month WRITE setMonth)
    Q_PROPERTY(std::optional<qint64> TS READ TS WRITE setTS)
    Q_PROPERTY(QString note READ note WRITE setNote)
    Q_PROPERTY(std::optional<double> assets READ assets WRITE setAssets)
    Q_PROPERTY(std::optional<double> liabilities READ liabilities WRITE setLiabilities)
    Q_PROPERTY(std::optional<double> nw READ nw WRITE setNw)
    Q_PROPERTY(std::optional<MVX_CategoryLogList> assetLogs READ assetLogs WRITE setAssetLogs)
    Q_PROPERTY(std::optional<MVX_CategoryLogList> liabilityLogs READ liabilityLogs WRITE setLiabilityLogs)
    Q_PROPERTY(std::optional<double> gold READ gold WRITE setGold)
    Q_PROPERTY(std::optional<double> bitcoin READ bitcoin WRITE setBitcoin)

public:
    MVX_NWLog();
    /// Property key to JSON key, for the mapping layer.
    static QVariantMap JSONKeyPathsByPropertyKey();
    Q_INVOKABLE static MAPValueTransformerPtr assetLogsJSONTransformer();
    Q_INVOKABLE static MAPValueTransformerPtr liabilityLogsJSONTransformer();

    std::optional<int> year() const { return m_year; }
    void setYear(std::optional<int> year) { m_year = year; }
    /// 1 to 12.
    std::optional<int> month() const { return m_month; }
    void setMonth(std::optional<int> month) { m_month = month; }
    /// Whole days from 1900-01-01 to the first day of the record's month.
    std::optional<qint64> TS() const { return m_TS; }
    void setTS(std::optional<qint64> TS) { m_TS = TS; }
    const QString& note() const { return m_note; }
    void setNote(const QString& note) { m_note = note; }
    std::optional<double> assets() const { return m_assets; }
    void setAssets(std::optional<double> assets) { m_assets = assets; }
    std::optional<double> liabilities() const { return m_liabilities; }
    void setLiabilities(std::optional<double> liabilities) { m_liabilities = liabilities; }
    std::optional<double> nw() const { return m_nw; }
    void setNw(std::optional<double> nw) { m_nw = nw; }
    const std::optional<MVX_CategoryLogList>& assetLogs() const { return m_assetLogs; }
    std::optional<MVX_CategoryLogList>& assetLogs() { return m_assetLogs; }
    void setAssetLogs(std::optional<MVX_CategoryLogList> logs) { m_assetLogs = std::move(logs); }
    const std::optional<MVX_CategoryLogList>& liabilityLogs() const { return m_liabilityLogs; }
    std::optional<MVX_CategoryLogList>& liabilityLogs() { return m_liabilityLogs; }
    void setLiabilityLogs(std::optional<MVX_CategoryLogList> logs) { m_liabilityLogs = std::move(logs); }
    /// Read and written with the record; nothing else uses them.
    std::optional<double> gold() const { return m_gold; }
    void setGold(std::optional<double> gold) { m_gold = gold; }
    std::optional<double> bitcoin() const { return m_bitcoin; }
    void setBitcoin(std::optional<double> bitcoin) { m_bitcoin = bitcoin; }

    /// Field by field; the category values compare by content.
    bool operator==(const MVX_NWLog& other) const;

private:
    std::optional<int> m_year;
    std::optional<int> m_month;
    std::optional<qint64> m_TS;
    QString m_note;
    std::optional<double> m_assets;
    std::optional<double> m_liabilities;
    std::optional<double> m_nw;
    std::optional<MVX_CategoryLogList> m_assetLogs;
    std::optional<MVX_CategoryLogList> m_liabilityLogs;
    std::optional<double> m_gold;
    std::optional<double> m_bitcoin;
};
