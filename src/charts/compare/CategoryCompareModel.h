#pragma once

#include "model/data/MVX_Model.h"

#include <QAbstractTableModel>
#include <QList>

/// One table of the detailed comparison: a row per category (hidden ones included), with its
/// value in each of the two records and their difference (first minus second). It holds texts
/// made when the comparison is set, so that scrolling formats nothing. Main thread only.
class CategoryCompareModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { NameColumn = 0, FirstColumn, SecondColumn, DifferenceColumn, ColumnCount };

    explicit CategoryCompareModel(bool assets, QObject* parent = nullptr);

    /// Replaces the rows: the categories in their order, each with its values in `first` and
    /// `second` (0 without a record or a value).
    void setComparison(const MVX_CategoryList& categories, const MVX_NWLog* first, const MVX_NWLog* second);

    bool isAssets() const { return m_assets; }
    /// The three numbers of a row (first, second, difference); for tests and totals.
    struct Values {
        double first = 0.0;
        double second = 0.0;
        double difference() const { return first - second; }
    };
    Values values(int row) const { return m_rows.value(row).values; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    struct Row {
        QString name;
        Values values;
        QString texts[3];
    };
    bool m_assets;
    QList<Row> m_rows;
};
