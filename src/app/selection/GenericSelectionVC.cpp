#include "app/selection/GenericSelectionVC.h"

#include "app/AppNotifications.h"
#include "app/selection/GenericSelBgView.h"
#include "app/selection/GenericSelCellView.h"
#include "app/selection/SelectionSearch.h"

#include "platform/NotificationCenter.h"
#include "platform/Strings.h"
#include "uikit/controls/rows/DVGenericTableRowView.h"
#include "uikit/controls/rows/TableRowHost.h"

#include <QAbstractListModel>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace selection_detail {

/// One row per shown record: the positions of the matching records, in the caller's order.
class RowsModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    void setShown(QList<int> shown)
    {
        beginResetModel();
        m_shown = std::move(shown);
        endResetModel();
    }
    int recordIndex(int row) const { return row >= 0 && row < m_shown.size() ? m_shown.at(row) : -1; }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_shown.size());
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role == Qt::SizeHintRole && index.isValid())
            return QSize(0, GenericSelCellView::rowHeight);
        return {};
    }

private:
    QList<int> m_shown;
};

} // namespace selection_detail

GenericSelectionVC::GenericSelectionVC(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"GenericSelectionVC"_s);
    resize(320, 420);

    auto* background = new GenericSelBgView(this);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(background);

    m_titleLabel = new QLabel(background);
    m_titleLabel->setObjectName(u"titleLabel"_s);
    m_titleLabel->setTextFormat(Qt::PlainText);
    m_titleLabel->setAlignment(Qt::AlignCenter);
    QFont titleFont = m_titleLabel->font();
    titleFont.setBold(true);
    m_titleLabel->setFont(titleFont);

    m_searchField = new QLineEdit(background);
    m_searchField->setObjectName(u"searchField"_s);
    m_searchField->setPlaceholderText(platform::Strings::tr("Search"));
    m_searchField->setClearButtonEnabled(true);
    connect(m_searchField, &QLineEdit::textChanged, this, &GenericSelectionVC::searchAction);

    m_mainTableView = new QListView(background);
    m_mainTableView->setObjectName(u"mainTableView"_s);
    m_rows = new selection_detail::RowsModel(m_mainTableView);
    m_mainTableView->setModel(m_rows);
    m_mainTableView->setUniformItemSizes(true);
    TableRowHost::prepareView(*m_mainTableView, QAbstractItemView::SingleSelection);
    m_rowHost = new TableRowHost(m_mainTableView);
    m_rowHost->setRowFactory([this](const QModelIndex& index) { return makeRow(index.row()); });
    connect(m_mainTableView->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const QModelIndexList selected = m_mainTableView->selectionModel()->selectedRows();
        if (!selected.isEmpty())
            handleNewContactSelection(selected.first().row());
    });
    connect(m_rowHost, &TableRowHost::rowDoubleClicked, this, &GenericSelectionVC::handleNewContactSelection);

    const auto closeClick
        = [this] { postLater(notifications::genericSelectClosed, QVariant::fromValue<QObject*>(this)); };
    m_closeBtn = new QPushButton(platform::Strings::tr("Cancel"), background);
    m_closeBtn->setObjectName(u"closeBtn"_s);
    connect(m_closeBtn, &QPushButton::clicked, this, closeClick);
    m_selectBtn = new QPushButton(platform::Strings::tr("Select"), background);
    m_selectBtn->setObjectName(u"selectBtn"_s);
    m_selectBtn->setDefault(true);
    connect(m_selectBtn, &QPushButton::clicked, this, &GenericSelectionVC::selectAndClose);
    m_closeBtn2 = new QPushButton(platform::Strings::tr("Close"), background);
    m_closeBtn2->setObjectName(u"closeBtn2"_s);
    connect(m_closeBtn2, &QPushButton::clicked, this, closeClick);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_closeBtn2);
    buttons->addWidget(m_closeBtn);
    buttons->addWidget(m_selectBtn);

    auto* layout = new QVBoxLayout(background);
    layout->setContentsMargins(12, 10, 12, 10);
    layout->setSpacing(8);
    layout->addWidget(m_titleLabel);
    layout->addWidget(m_searchField);
    layout->addWidget(m_mainTableView, 1);
    layout->addLayout(buttons);

    reloadData();
}

GenericSelectionVC::~GenericSelectionVC() = default;

void GenericSelectionVC::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Each opening starts with typing a name; the focus goes with the popover's window when
    // that becomes the active one.
    m_searchField->setFocus(Qt::OtherFocusReason);
}

void GenericSelectionVC::setSelectionRecords(QList<GenericSelectionRecord> records)
{
    m_selectionRecords = std::move(records);
    m_foldedNames.clear();
    m_foldedNames.reserve(m_selectionRecords.size());
    for (const GenericSelectionRecord& record : std::as_const(m_selectionRecords))
        m_foldedNames.append(SelectionSearch::folded(record.name()));
}

void GenericSelectionVC::reloadData()
{
    m_selectBtn->setVisible(m_multiSelect);
    m_closeBtn->setVisible(m_multiSelect);
    m_closeBtn2->setVisible(!m_multiSelect);
    m_titleLabel->setText(m_viewTitle);
    m_rows->setShown(SelectionSearch::matches(m_foldedNames, m_incSearchText));
}

void GenericSelectionVC::searchAction(const QString& text)
{
    if (m_searchField->text() != text) {
        const QSignalBlocker quiet(m_searchField);
        m_searchField->setText(text);
    }
    m_incSearchText = text;
    reloadData();
}

int GenericSelectionVC::recordIndexOfRow(int row) const
{
    const int index = m_rows->recordIndex(row);
    return index < m_selectionRecords.size() ? index : -1;
}

TableRowView* GenericSelectionVC::makeRow(int row)
{
    auto* rowView = new DVGenericTableRowView;
    auto* cell = new GenericSelCellView(rowView);
    auto* layout = new QHBoxLayout(rowView);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(cell);
    const int index = recordIndexOfRow(row);
    if (index < 0)
        return rowView;
    cell->setRecord(m_selectionRecords.at(index), m_unknownImageName, m_multiSelect);
    connect(cell->selectCtl(), &QCheckBox::toggled, this,
        [this, index](bool checked) { selectionCheckBoxHandler(index, checked); });
    return rowView;
}

void GenericSelectionVC::handleNewContactSelection(int row)
{
    const int index = recordIndexOfRow(row);
    if (index < 0)
        return;
    GenericSelectionRecord& record = m_selectionRecords[index];
    if (m_multiSelect) {
        record.setIsSelected(!record.isSelected());
        if (TableRowView* rowView = m_rowHost->rowView(row)) {
            if (auto* cell = rowView->findChild<GenericSelCellView*>())
                cell->selectCtl()->setChecked(record.isSelected());
        }
        return;
    }
    record.setIsSelected(true);
    // Only this choice: an owner reading the first entry gets the row just chosen.
    postLater(notifications::genericSelectSelected, QVariantList { QVariant::fromValue(record) });
}

void GenericSelectionVC::selectionCheckBoxHandler(int recordIndex, bool checked)
{
    if (!m_multiSelect || recordIndex < 0 || recordIndex >= m_selectionRecords.size())
        return;
    m_selectionRecords[recordIndex].setIsSelected(checked);
}

void GenericSelectionVC::selectAndClose()
{
    // Every checked record, also those the search hides.
    QVariantList chosen;
    for (const GenericSelectionRecord& record : std::as_const(m_selectionRecords)) {
        if (record.isSelected())
            chosen.append(QVariant::fromValue(record));
    }
    postLater(notifications::genericSelectSelected, chosen);
}

void GenericSelectionVC::postLater(const QString& name, const QVariant& object)
{
    QMetaObject::invokeMethod(
        this, [name, object] { platform::NotificationCenter::defaultCenter().post(name, object); },
        Qt::QueuedConnection);
}
