#include "charts/history/menu/CategoryChoiceRows.h"

#include "charts/history/menu/LnChartMenuLogic.h"
#include "charts/history/menu/LnChartSettCellView.h"
#include "uikit/controls/rows/DVGenericTableRowView.h"
#include "uikit/controls/rows/FixedRowsModel.h"
#include "uikit/controls/rows/TableRowHost.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QSignalBlocker>

#include <utility>

namespace {

LnChartSettCellView* cellOf(TableRowView* row)
{
    return row ? row->findChild<LnChartSettCellView*>() : nullptr;
}

} // namespace

CategoryChoiceRows::CategoryChoiceRows(
    QListView* view, MVX_CategoryList categories, const QString& storedID, Store store)
    : QObject(view), m_view(view), m_categories(std::move(categories)), m_store(std::move(store))
{
    const QString chosen = LnChartMenu::chosenCategoryOrFirst(storedID, m_categories);
    if (!chosen.isNull() && chosen != storedID)
        m_store(chosen);
    m_chosenID = chosen.isNull() ? storedID : chosen;
    m_markedRow = LnChartMenu::rowOfCategory(m_chosenID, m_categories);
    view->setModel(
        new FixedRowsModel(static_cast<int>(m_categories.size()), LnChartSettCellView::rowHeight, view));
    m_host = new TableRowHost(view);
    m_host->setRowFactory([this](const QModelIndex& index) { return makeRow(index.row()); });
    // The chosen row starts selected, so that the mark and the highlight agree.
    if (m_markedRow >= 0) {
        const QSignalBlocker quiet(view->selectionModel());
        view->setCurrentIndex(view->model()->index(m_markedRow, 0));
    }
    connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        [this](const QModelIndex& current) { pick(current.row()); });
}

void CategoryChoiceRows::setTextOpacity(qreal opacity)
{
    m_textOpacity = opacity;
    for (int row = 0; row < m_view->model()->rowCount(); ++row) {
        if (LnChartSettCellView* cell = cellOf(m_host->rowView(row)))
            cell->setTextOpacity(opacity);
    }
}

void CategoryChoiceRows::pick(int row)
{
    if (row < 0 || row >= m_categories.size() || !m_categories.at(row))
        return;
    if (m_markedRow >= 0) {
        if (LnChartSettCellView* previous = cellOf(m_host->rowView(m_markedRow)))
            previous->setMarked(false);
    }
    if (LnChartSettCellView* picked = cellOf(m_host->ensureRowView(row)))
        picked->setMarked(true);
    m_markedRow = row;
    const QString id = m_categories.at(row)->ID();
    if (id == m_chosenID)
        return;
    m_chosenID = id;
    m_store(id);
    Q_EMIT chosenCategoryChanged(id);
}

TableRowView* CategoryChoiceRows::makeRow(int row) const
{
    auto* rowView = new DVGenericTableRowView;
    auto* cell = new LnChartSettCellView(rowView);
    auto* layout = new QHBoxLayout(rowView);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(cell);
    if (row >= 0 && row < m_categories.size() && m_categories.at(row))
        cell->categoryNameLabel()->setText(m_categories.at(row)->categoryName());
    cell->setMarked(row == m_markedRow);
    if (m_textOpacity)
        cell->setTextOpacity(*m_textOpacity);
    return rowView;
}
