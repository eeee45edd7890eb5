#pragma once

#include "model/data/MVX_NWLog.h"
#include "model/format/NWCurrencyFormatter.h"

#include <QAbstractListModel>

class MVX_Category;
class NWData;

/// The rows of a category's value history: one per log, in the order given (the store's,
/// newest first), each with its month ("MMMM yyyy" in the current locale) and its amount
/// (no fraction digits, negatives in parentheses). No display text of its own: the row
/// widgets show the two texts.
class CategoryLogsModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role { MonthTextRole = Qt::UserRole + 1, AmountTextRole };
    static constexpr int rowHeight = 26;

    explicit CategoryLogsModel(QObject* parent = nullptr);

    /// The category's logs from `store`, newest first, leaving out those without a value
    /// (nothing to show in the table or the chart) and, with `hideZeroValues`, those within
    /// 0.00001 of zero.
    static MVX_CategoryLogList logsFor(
        const NWData& store, const MVX_Category& category, bool isAsset, bool hideZeroValues);
    /// The month of a log as its row shows it; a null text when the log has no year or month.
    static QString monthText(const MVX_CategoryLog& log);

    const MVX_CategoryLogList& logs() const { return m_logs; }
    /// Replaces every row (a model reset). Null logs are refused: an assertion in debug
    /// builds, left out in release builds.
    void setLogs(MVX_CategoryLogList logs);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    MVX_CategoryLogList m_logs;
    NWCurrencyFormatter m_currencyFormatter;
};
