#include "records/list/TableBaseViewController.h"

#include "app/alerts/MessagePopover.h"
#include "model/ModelNotifications.h"
#include "model/format/NWCurrencyFormatter.h"
#include "model/store/NWData.h"
#include "platform/NotificationCenter.h"
#include "platform/Strings.h"
#include "records/RecordsNotifications.h"
#include "records/list/AskDeleteContentViewController.h"
#include "records/list/NWCellView.h"
#include "records/list/RecordListModel.h"
#include "uikit/controls/bar/CommandBar.h"
#include "uikit/controls/rows/DVGenericTableRowView.h"
#include "uikit/controls/rows/TableRowHost.h"
#include "uikit/overlay/SavingOverlay.h"
#include "uikit/popover/PKPopoverController.h"
#include "uikit/window/TBWindowButton.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

const char* const TableBaseViewController::rateWarningText
    = QT_TRANSLATE_NOOP("mervanemac", "Unable to refresh foreign currency exchange rates! (network?)");

namespace {

// The warning button stands at the bar's left; the others count from its right edge.
CommandBar::ButtonSpec warningSpec()
{
    return { u"warningButton"_s, u"WarningBtn"_s, u"WarningBtnR"_s, u"WarningBtn"_s, u"WarningBtn"_s,
        u"Application warning - click to see more!"_s, 10, 9, 23, 21 };
}

} // namespace

TableBaseViewController::TableBaseViewController(QWidget* parent)
    : QWidget(parent)
    , m_money(std::make_unique<NWCurrencyFormatter>(0, NWCurrencyFormatter::parenthesesNegativeFormat()))
{
    setObjectName(u"TableBaseViewController"_s);
    m_model = new RecordListModel(this);
    m_tableView = new QTableView(this);
    m_tableView->setObjectName(u"tableView"_s);
    m_tableView->setModel(m_model);
    m_tableView->horizontalHeader()->hide();
    m_tableView->horizontalHeader()->setStretchLastSection(true);
    m_tableView->verticalHeader()->hide();
    m_tableView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_tableView->verticalHeader()->setDefaultSectionSize(NWCellView::rowHeight);
    m_tableView->setShowGrid(false);
    m_tableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    TableRowHost::prepareView(*m_tableView, QAbstractItemView::SingleSelection);
    // The row views draw the selection; the style would fill the row behind them in the
    // highlight colour, against which the rows' green and red amounts cannot be read.
    QPalette palette = m_tableView->palette();
    palette.setColor(QPalette::Highlight, Qt::transparent);
    m_tableView->setPalette(palette);
    m_rowHost = new TableRowHost(m_tableView);
    m_rowHost->setRowFactory([this](const QModelIndex& index) { return makeRow(index.row()); });
    connect(m_tableView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        &TableBaseViewController::selectionChanged);
    connect(m_model, &QAbstractItemModel::modelReset, this, &TableBaseViewController::selectionChanged);
    connect(m_rowHost, &TableRowHost::rowDoubleClicked, this, [this](int row) {
        m_tableView->selectRow(row);
        rowEditClickHandler();
    });

    m_buttonView = new CommandBar(this);
    m_buttonView->setObjectName(u"buttonView"_s);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_tableView, 1);
    layout->addWidget(m_buttonView);

    m_messages = new MessagePopover(this);
    m_askDeletePopover = new PKPopoverController(new AskDeleteContentViewController, this);
    m_askDeletePopover->setDefaultProperties_ItemWarning();
    buildCommandBar();

    auto& center = platform::NotificationCenter::defaultCenter();
    center.addObserver(this, notifications::dataReFetched, [this](auto&&...) { nwDataReFetchedHandler(); });
    center.addObserver(this, notifications::nwRecordDelete, [this](auto&&...) { nwrecordDelete(); });
    center.addObserver(this, notifications::nwRecordSave, [this](auto&&...) { nwrecordSave(); });
    center.addObserver(this, notifications::addNewRecord, [this](auto&&...) { addNewRecordClickHandler(); });
    center.addObserver(this, notifications::exchangeRateParserDone,
        [this](auto&&...) { exchangeRateNotificationHandler(); });
    m_model->reload();
}

TableBaseViewController::~TableBaseViewController() = default;

void TableBaseViewController::buildCommandBar()
{
    m_deleteButton = m_buttonView->addButton(
        CommandBar::deleteSpec(platform::Strings::tr("Delete selected net worth record"), -73));
    m_addButton = m_buttonView->addButton(
        CommandBar::addSpec(platform::Strings::tr("Add a new net worth record"), -118));
    m_editButton = m_buttonView->addButton(
        CommandBar::editSpec(platform::Strings::tr("Edit selected net worth record"), -163));
    m_warningButton = m_buttonView->addButton(warningSpec());
    connect(m_deleteButton, &QAbstractButton::clicked, this,
        &TableBaseViewController::deleteNewRecordClickHandler);
    connect(m_addButton, &QAbstractButton::clicked, this, &TableBaseViewController::addNewRecordClickHandler);
    connect(m_editButton, &QAbstractButton::clicked, this, &TableBaseViewController::rowEditClickHandler);
    connect(m_warningButton, &QAbstractButton::clicked, this, &TableBaseViewController::warningClickHandler);
    m_deleteButton->setEnabled(false);
    m_editButton->setEnabled(false);
    m_warningButton->setVisible(m_showWarning);
}

TableRowView* TableBaseViewController::makeRow(int row)
{
    const std::shared_ptr<MVX_NWLog> record = m_model->record(row);
    if (!record)
        return nullptr;
    auto* rowView = new DVGenericTableRowView;
    rowView->setSelectionBorderWidth(1.5f);
    auto* cell = new NWCellView(rowView);
    auto* layout = new QHBoxLayout(rowView);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(cell);
    const std::shared_ptr<MVX_NWLog> older = m_model->record(row + 1);
    cell->setRecord(*record, older.get(), *m_money);
    return rowView;
}

void TableBaseViewController::nwDataReFetchedHandler()
{
    m_model->reload();
}

void TableBaseViewController::selectionChanged()
{
    const bool selected = m_tableView->selectionModel() && m_tableView->selectionModel()->hasSelection();
    m_hasSelectedRecord = selected;
    m_deleteButton->setEnabled(selected);
    m_editButton->setEnabled(selected);
}

std::shared_ptr<MVX_NWLog> TableBaseViewController::getSelectedNWLogItem(int* row) const
{
    const QModelIndexList rows = m_tableView->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return nullptr;
    const int selected = rows.first().row();
    std::shared_ptr<MVX_NWLog> record = m_model->record(selected);
    if (record && row)
        *row = selected;
    return record;
}

void TableBaseViewController::rowEditClickHandler()
{
    editTheNWLogRecord(getSelectedNWLogItem());
}

void TableBaseViewController::deleteNewRecordClickHandler()
{
    if (!getSelectedNWLogItem())
        return;
    if (m_askDeletePopover->shown()) {
        m_askDeletePopover->close();
        return;
    }
    m_askDeletePopover->showRelativeToRect(
        QRectF(m_deleteButton->rect()), m_deleteButton, platform::RectEdge::MinY);
}

void TableBaseViewController::nwrecordDelete()
{
    const std::shared_ptr<MVX_NWLog> record = getSelectedNWLogItem();
    if (!record || m_deleting)
        return;
    if (m_askDeletePopover->shown())
        m_askDeletePopover->close();
    NWData* store = NWData::shared();
    if (!store->deleteNWLog(record))
        return;
    m_model->reload();
    m_deleting = true;
    SavingOverlay::saveStore(this, [this](const platform::MaybeError& error) {
        m_deleting = false;
        if (!error) {
            platform::NotificationCenter::defaultCenter().post(notifications::dataReFetched);
            return;
        }
        // The store has put the file's model back, record included, and the list has reloaded.
        showMessage(platform::Strings::tr("The record could not be deleted: %1").arg(*error), m_deleteButton);
    });
}

void TableBaseViewController::nwrecordSave()
{
    if (m_editRecordPopover && m_editRecordPopover->shown())
        m_editRecordPopover->close();
}

void TableBaseViewController::exchangeRateNotificationHandler()
{
    if (NWData::shared()->exchangeRateIsUpToDate()) {
        m_showWarning = false;
        m_warningMessage.clear();
    } else {
        m_showWarning = true;
        m_warningMessage = platform::localized(rateWarningText);
    }
    m_warningButton->setVisible(m_showWarning);
}

void TableBaseViewController::warningClickHandler()
{
    if (m_messages->isShown()) {
        m_messages->close();
        return;
    }
    showMessage(m_warningMessage, m_warningButton);
    m_showWarning = false;
    m_warningButton->hide();
}

void TableBaseViewController::showMessage(const QString& text, QWidget* anchor)
{
    m_messages->showMessage(text, anchor, false, platform::RectEdge::MinY);
}
