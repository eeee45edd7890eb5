#include "records/editor/NWEntryViewController.h"

#include "records/cells/HoverTableView.h"
#include "records/cells/NSCategoryLogRowView.h"
#include "records/cells/NWCategoryLogCellView.h"
#include "records/cells/NWDateCellView.h"
#include "records/cells/NWTableTextField.h"

#include "model/format/Flags.h"
#include "platform/Appearance.h"
#include "uikit/controls/KitDrawing.h"
#include "uikit/controls/rows/DVGenericTableRowView.h"
#include "uikit/controls/rows/TableRowHost.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::Literals::StringLiterals;

TableRowView* NWEntryViewController::makeDateRow(const QString& text) const
{
    auto* row = new DVGenericTableRowView;
    row->setSelectionBorderWidth(1.5f);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* cell = new NWDateCellView(row);
    cell->valueLabel()->setText(text);
    layout->addWidget(cell);
    return row;
}

TableRowView* NWEntryViewController::makeValueRow(EntrySide side, int row)
{
    auto* rowView = new NSCategoryLogRowView;
    const bool dark = platform::isDarkAppearance();
    rowView->setRowTrackingBgColor(DVGenericTableRowView::namedRowColor(u"RowTracking"_s, dark));
    rowView->setRectStrokeColor(DVGenericTableRowView::namedRowColor(u"RowSelectedStroke"_s, dark));
    rowView->setRectFillColor(DVGenericTableRowView::namedRowColor(u"RowSelectedBg"_s, dark));
    rowView->setSeparatorColor(QColor::fromRgbF(0.5f, 0.5f, 0.5f, 0.45f));
    auto* cell = new NWCategoryLogCellView;
    configureCell(*cell, side, row);
    rowView->setCell(cell);
    return rowView;
}

void NWEntryViewController::configureCell(NWCategoryLogCellView& cell, EntrySide side, int row)
{
    cell.setAsAsset(side == EntrySide::Assets);
    cell.exchangeRateField()->setEnabled(false);
    cell.setEntryMessage({});
    if (row < 0 || row >= m_logic.records(side).size()) {
        cell.categoryLabel()->clear();
        cell.valueLabel()->setText(NWEntryLogic::toCurrencyString(0.0));
        cell.exchangeRateField()->clear();
        cell.currencyFlag()->clear();
        return;
    }
    const EntryCategoryValue& entry = m_logic.records(side).at(row);
    cell.categoryLabel()->setText(entry.categoryName());
    cell.setPrepulated(entry.prePopulated());
    if (m_logic.isForeignRow(entry)) {
        const EntryCategoryValue& rated = entry.foreignValue() ? m_logic.ensureRate(side, row) : entry;
        cell.currencyFlag()->setText(
            KitDrawing::drawableEmoji(Flags::flagEmoji(rated.currencyName().left(2))));
        cell.currencyFlag()->setToolTip(rated.currencyName());
        cell.exchangeRateField()->setEnabled(bool(rated.foreignValue()));
        cell.exchangeRateField()->setText(m_logic.rateText(rated));
        cell.valueLabel()->setText(m_logic.valueText(rated));
    } else {
        cell.currencyFlag()->clear();
        cell.exchangeRateField()->clear();
        cell.valueLabel()->setText(m_logic.valueText(entry));
    }
}

NWCategoryLogCellView* NWEntryViewController::cellAt(EntrySide side, int row) const
{
    HoverEditTableView* table = tableOf(side);
    auto* rowView = table ? qobject_cast<NSCategoryLogRowView*>(table->rowHost().rowView(row)) : nullptr;
    return rowView ? rowView->cell() : nullptr;
}
