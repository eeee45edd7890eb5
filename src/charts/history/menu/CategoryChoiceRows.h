#pragma once

#include "model/data/MVX_Model.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QListView;
class TableRowHost;
class TableRowView;

/// The rows of a category choice list (the history chart's settings and the report choice):
/// one `LnChartSettCellView` per category, the choice mark on the chosen category's row. Picking
/// a row (making it the view's current row) moves the mark there and takes that row's own
/// category, since two categories may share a name. Each new choice goes to the owner's
/// `store` first, then out through `chosenCategoryChanged`.
///
/// Lives as long as its view (it becomes the view's child); main thread only.
class CategoryChoiceRows : public QObject {
    Q_OBJECT
public:
    using Store = std::function<void(const QString& categoryID)>;

    /// Gives `view` (prepared for single selection) a row per category and makes the row of
    /// `storedID` current without announcing it. A stored category that is gone (or an empty
    /// one) counts as none chosen: the first category is taken and stored at once; with no
    /// categories the stored one stays and nothing is stored.
    CategoryChoiceRows(QListView* view, MVX_CategoryList categories, const QString& storedID, Store store);

    /// The chosen category's ID; the stored one when the list has none to take its place.
    const QString& chosenID() const { return m_chosenID; }
    /// The row with the mark, or -1.
    int markedRow() const { return m_markedRow; }
    TableRowHost* host() const { return m_host; }

    /// Draws the texts of made rows and of rows made later at `opacity` (see
    /// `LnChartSettCellView::setTextOpacity`), which follows palette changes. Rows keep the
    /// inherited palette until it is first called.
    void setTextOpacity(qreal opacity);
    std::optional<qreal> textOpacity() const { return m_textOpacity; }

    /// Moves the mark to `row` and takes its category; a row that holds no category changes
    /// nothing. Stores it and emits `chosenCategoryChanged` only when it was not the chosen one.
    void pick(int row);

Q_SIGNALS:
    void chosenCategoryChanged(const QString& categoryID);

private:
    TableRowView* makeRow(int row) const;

    QListView* m_view;
    TableRowHost* m_host;
    MVX_CategoryList m_categories;
    Store m_store;
    QString m_chosenID;
    int m_markedRow = -1;
    std::optional<qreal> m_textOpacity;
};
